#include "shell/view_properties_check.h"

#include <array>
#include <string_view>

#include "files/view_settings.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "util/message_boxes.h"
#include "views/data_graph.h"
#include "views/view_properties.h"

namespace shell {

namespace {

constexpr int kDistanceTitle = 5, kElevationTitle = 4, kEastingTitle = 6, kNorthingTitle = 7;
constexpr int kModelSectionAxis = 4;  // the first elevation record

struct ViewDialogState {
    int ViewDialogWindow = 0;  // the window that opened the dialog
    views::AxisPair ViewAxisCopy{};
};

ViewDialogState& state() {
    static ViewDialogState s;
    return s;
}

// The title of the data axis by the data type's name (the data graph's
// left title); 0 for a type the graphs do not know.
int dataTitleEntry(std::string_view dtype) {
    return views::dataTitles(dtype, 1, 1).left;
}

views::MapTitles mapTitles() {
    files::ViewSettings& v = files::viewSettings();
    return {v.AxisLabels(kEastingTitle),
            v.AxisLabels(kNorthingTitle),
            v.HIMAPH,
            v.OFFMAPH,
            v.HIMAPV,
            v.OFFMAPV};
}

views::ProfileTitles profileTitles(int dataEntry) {
    files::ViewSettings& v = files::viewSettings();
    return {v.AxisLabels(kDistanceTitle),
            v.AxisLabels(static_cast<std::size_t>(dataEntry)),
            v.AxisLabels(kElevationTitle),
            v.HIDATH,
            v.OFFDATH,
            v.HIDATV,
            v.OFFDATV,
            v.HIMODV,
            v.OFFMODV};
}

}  // namespace

void viewPropertiesCommand(int window) {
    ViewDialogState& s = state();
    s.ViewDialogWindow = window;
    if (window == 0) {
        views::VIEWPROPSETUP(mainLoop().MapAxis, mapTitles(), "Easting", "Northing");
    } else if (window == profileWindow() && profileWindowOpen()) {
        model::ProfileLine& w = workingProfile();
        const int entry = dataTitleEntry(w.DTYPE.view());
        if (entry == 0) {
            util::WINWRN("Unknown graph type in ViewPropSetup3 CALL");
        } else {
            s.ViewAxisCopy = {w.AXES[0], w.AXES[kModelSectionAxis]};
            views::VIEWPROPSETUP3(s.ViewAxisCopy, profileTitles(entry), "Distance", "Data",
                                  "Elevation");
            shellSession().ActiveLockDialog = IDD_PROFILEPROPERTIES;
        }
    }
    refreshProfileWindow();
}

void checkViewProperties(int type, const tk::EventRecord& event) {
    if (!views::viewPropertiesState().ViewDialogOpen || !views::isViewPropertiesEvent(event))
        return;
    ViewDialogState& s = state();
    // The name size changes as its field does, and both windows draw it.
    const SharedLook before = sharedLook();
    int status = 1;
    if (s.ViewDialogWindow == 0) {
        views::VIEWPROPCHECK(type, event, mainLoop().MapAxis, mapTitles(), status);
        if ((type == tk::PushButton && status == 0) || sharedLook() != before)
            refreshAfterSettings(0, before);
        return;
    }
    model::ProfileLine& w = workingProfile();
    const int entry = dataTitleEntry(w.DTYPE.view());
    if (entry == 0) {
        util::WINWRN("UNKNOWN GRAPH TYPE IN SUBROUTINE PLOT_Prof");
        return;
    }
    views::VIEWPROPCHECK3(type, event, s.ViewAxisCopy, profileTitles(entry), status);
    if (type != tk::PushButton || status != 0) {
        if (sharedLook() != before) refreshBothWindows();
        return;
    }
    w.AXES[0] = s.ViewAxisCopy[0];
    w.AXES[kModelSectionAxis] = s.ViewAxisCopy[1];
    w.LSAVED = false;  // the axes are stored with the profile
    refreshAfterSettings(profileWindow(), before);
}

void resetViewProperties() {
    state() = ViewDialogState{};
    views::viewPropertiesState().reset();
}

}  // namespace shell
