#include "shell/view_properties_check.h"

#include <array>
#include <string_view>

#include "files/view_settings.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "util/message_boxes.h"
#include "views/view_properties.h"

namespace shell {

namespace {

constexpr int kDistanceTitle = 5, kElevationTitle = 4, kEastingTitle = 6, kNorthingTitle = 7;
constexpr int kGravityTitle = 22, kMagneticsTitle = 21, kVlfTitle = 15;
constexpr int kModelSectionAxis = 4;  // the first elevation record

struct ViewDialogState {
    int ViewDialogWindow = 0;  // the window that opened the dialog
    views::AxisPair ViewAxisCopy{};
};

ViewDialogState& state() {
    static ViewDialogState s;
    return s;
}

// The title of the data axis by the data type's name; 0 for a type the
// graphs do not know.
int dataTitleEntry(std::string_view dtype) {
    constexpr std::string_view gravity[] = {"Gravity Data", "Microgravity Data", "Gravity Gradient",
                                            "Gravity/Mag Data"};
    constexpr std::string_view magnetics[] = {
        "Magnetics Data",     "Magnetics Total Fld", "Magnetics Vert Grad",
        "Magnetics X-Comp.",  "Magnetics Y-Ccomp",   "Magnetics Z-Comp",
        "Magnetics X-V Grad", "Magnetics Y-V Grad",  "Magnetics Z-V Grad"};
    const std::size_t end = dtype.find_last_not_of(' ');
    const std::string_view t = end == std::string_view::npos ? "" : dtype.substr(0, end + 1);
    if (t == "VLF In-Phase/Quad") return kVlfTitle;
    for (std::string_view g : gravity)
        if (t == g) return kGravityTitle;
    for (std::string_view m : magnetics)
        if (t == m) return kMagneticsTitle;
    return 0;
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
    int status = 1;
    if (s.ViewDialogWindow == 0) {
        views::VIEWPROPCHECK(type, event, mainLoop().MapAxis, mapTitles(), status);
        if (type == tk::PushButton && status == 0) refreshMap();
        return;
    }
    model::ProfileLine& w = workingProfile();
    const int entry = dataTitleEntry(w.DTYPE.view());
    if (entry == 0) {
        util::WINWRN("UNKNOWN GRAPH TYPE IN SUBROUTINE PLOT_Prof");
        return;
    }
    views::VIEWPROPCHECK3(type, event, s.ViewAxisCopy, profileTitles(entry), status);
    if (type != tk::PushButton || status != 0) return;
    w.AXES[0] = s.ViewAxisCopy[0];
    w.AXES[kModelSectionAxis] = s.ViewAxisCopy[1];
    w.LSAVED = false;  // the axes are stored with the profile
    refreshProfileWindow();
}

void resetViewProperties() {
    state() = ViewDialogState{};
    views::viewPropertiesState().reset();
}

}  // namespace shell
