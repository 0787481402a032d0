#include "views/profile_window.h"

#include <array>
#include <string>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/toolbars.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/text_state.h"
#include "util/abort_poll.h"
#include "util/axis_copy.h"
#include "util/pen_plotter.h"
#include "views/data_graph.h"
#include "views/drag_picture.h"
#include "views/grid_lines.h"
#include "views/model_section.h"
#include "views/plot_page.h"
#include "views/profile_layout.h"
#include "views/view_state.h"

namespace views {

namespace {

void setLineWidth(int width) {
    tk::SetLineThickness(width, 5 * width);
}

void menuStates(const model::ProfileLine& p, const model::PolygonModel& m) {
    const files::ViewSettings& v = files::viewSettings();
    const files::SessionState& s = files::sessionState();
    struct Item {
        int id, kind;
        bool on;
    };
    const Item items[] = {
        {40045, 1, m.NBOD >= 1},           {40120, 1, p.NREG >= 1},  {40062, 2, v.LCALCDET},
        {40063, 2, v.LCALCMOVE},           {40077, 2, v.LCOLFILL},   {40080, 2, s.LVLabels},
        {40068, 2, viewState().ShowLocks}, {40078, 2, v.LVIEWFREE},  {40004, 2, v.LVIEWVERT},
        {40122, 2, v.LSHOWDATA},           {40127, 2, v.LSHOWMODEL},
    };
    for (const Item& it : items)
        tk::MenuSetState(it.id, it.kind, it.on ? 1 : 0);
}

std::string trimmedName(std::string_view name) {
    const std::size_t end = name.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : name.substr(0, end + 1));
}

// Five equal status-bar parts, in window units.
constexpr std::array<int, 5> kStatusBarWidths{2000, 2000, 2000, 2000, 2000};

}  // namespace

void WINDOWPFL(int& window, tk::WindowSettingsRecord& spec, int x, int y, int width, int height,
               int state, std::string_view profileName) {
    if (window > 0) {
        tk::OutputWindowSelect(window);
        return;
    }
    const std::string name = trimmedName(profileName);
    spec.words = {kProfileWindowFlags, x, y, width, height, kProfileMenu};
    spec.title = "Varendal Sounding Profile " + name;
    tk::WindowOpenChildArgs a;
    a.flags = kProfileWindowFlags;
    a.x = x;
    a.y = y;
    a.width = width;
    a.height = height;
    a.menuId = kProfileMenu;
    a.title = spec.title;
    a.parent = 0;
    int opened = 0;
    tk::WindowOpenChild(opened, a);
    if (opened <= 0) return;  // the toolkit has reported why
    window = opened;
    tk::WindowPlacementSet({width, height, x, y, state});
    divideProfileStatusBar();
    tk::WindowTitle("Varendal Sounding Profile: " + name);
    const int before = tk::WindowInfoQuery(2);
    tk::MenuToolbar(kProfileToolbar, window, 0);
    int& toolbar = viewState().ProfileToolbarHeight;
    if (toolbar <= 0) toolbar = before - tk::WindowInfoQuery(2);
}

void divideProfileStatusBar() {
    tk::StatusBarParts(5, kStatusBarWidths);
}

void CLOSEIPLWIN() {
    int& window = model::sessionState().ProfileWindow;
    // Reached through the database clearing with no window open: nothing to
    // store (the main window's placement must not become the profile's).
    if (window <= 0) {
        window = -1;
        return;
    }
    tk::OutputWindowSelect(window);
    files::WindowPlacement& p = files::viewSettings().ProfileWindowPlacement;
    p.state = tk::WindowInfoQuery(9);
    if (p.state == 1) {
        p.x = tk::WindowInfoQuery(5);
        p.y = tk::WindowInfoQuery(6);
        p.width = tk::WindowInfoQuery(1);
        p.height = tk::WindowInfoQuery(2) + viewState().ProfileToolbarHeight;
    }
    tk::OutputWindowSelect(0);
    tk::WindowCloseChild(window);
    window = -1;
}

void PROFILECLEANUP(model::ProfileDatabase& db, int dialog) {
    int type = -1;
    util::EventWords record{};
    util::LKILLMSG(true, type, record);
    tk::DlgSelect(dialog);
    tk::DlgHide();
    const int window = model::sessionState().ProfileWindow;
    const int current = model::sessionState().CurrentProfile;
    if (window <= 0 || current < 1 || current > db.NPROF) return;
    tk::OutputWindowSelect(window);
    REFRESHPL(db.profile(current));
}

void REFRESHPL(model::ProfileLine& profile) {
    startPage();
    tk::GrTextFont(102, 1, 0.013f, 0.04f);
    REDISPLAY(profile, profile.MODEL, profile.AXES[0], profile.AXES[2], profile.AXES[4]);
    tk::WindowTitle("Profile: [" + profile.PNAME.str() + "]");
}

void REDISPLAY(model::ProfileLine& p, model::PolygonModel& m, util::AxisRecord& data,
               util::AxisRecord& modelGraph, util::AxisRecord& section) {
    const files::ViewSettings& v = files::viewSettings();
    const files::SessionState& s = files::sessionState();
    tk::OutputWindowSelect(model::sessionState().ProfileWindow);
    tk::WindowFillRectangle();
    // What a drag keeps of the section no longer stands around it.
    forgetDragSection();
    menuStates(p, m);
    startPage();
    // The screen's own line width: output to a file leaves its own behind.
    setLineWidth(v.LineWidth);
    section.clipXMin = section.clipYMin = -0.01f;
    modelGraph.clipXMin = modelGraph.clipYMin = -0.01f;
    layoutWidth(data, v.LCOLFILL);
    layoutWidth(section, v.LCOLFILL);
    if (v.LCOLFILL) viewState().ColourBarTitle = v.AxisLabels(p.DTYPE == "Gravity Data" ? 2 : 1);
    if (v.LSHOWDATA) {
        layoutDataGraph(data, v.LSHOWMODEL, v.LCOLFILL);
        PLOT_PROF(data, p, true);
        setLineWidth(1);
        DRAWGRID(data, s.LGRIDJPD, s.LGRIDNPD ? 13 : 0);
        setLineWidth(v.LineWidth);
    }
    if (v.LSHOWMODEL) {
        layoutSection(section, v.LSHOWDATA, v.LCOLFILL);
        util::COPYXAXIS(section, data);
        PLOTBODIES(section, m, p.LABELS, 0, p.XUNIT.view(), p.ZUNIT.view());
        drawElevationsAndKeepScale(p, section);
        setLineWidth(1);
        DRAWGRID(section, s.LGRIDJPM, s.LGRIDNPM ? 13 : 0);
        setLineWidth(v.LineWidth);
    }
}

}  // namespace views
