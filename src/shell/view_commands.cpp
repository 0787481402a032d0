#include "shell/view_commands.h"

#include <algorithm>
#include <array>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "shell/menus.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "views/colour_ramp.h"
#include "views/profile_scaling.h"
#include "views/view_state.h"

namespace shell {

namespace {

// The view switches of the View menu by command.
bool* viewSwitch(int command) {
    files::ViewSettings& v = files::viewSettings();
    switch (command) {
        case CMD_VIEWLABELS:
            return &files::sessionState().LVLabels;
        case CMD_VIEWLOCKS:
            return &views::viewState().ShowLocks;
        case CMD_VIEWFREE:
            return &v.LVIEWFREE;
        case CMD_VIEWVERTICES:
            return &v.LVIEWVERT;
        case CMD_VIEWPIVOTS:
            return &v.LVIEWPIVOT;
        case CMD_VIEWREGIONAL:
            return &v.LVIEWREG;
        case CMD_COLORFILL:
            return &v.LCOLFILL;
        default:
            return nullptr;
    }
}

constexpr std::array kViewSwitches{CMD_VIEWLOCKS,  CMD_VIEWFREE,     CMD_VIEWVERTICES,
                                   CMD_VIEWPIVOTS, CMD_VIEWREGIONAL, CMD_COLORFILL};

void check(int command, bool on) {
    tk::MenuSetState(command, tk::MenuStateChecked, on ? 1 : 0);
}

bool fromProfileWindow(int window) {
    return window == profileWindow();
}

// A grid pair: the major and minor switches with their items.
struct GridPair {
    bool& major;
    bool& minor;
    int majorItem, minorItem;
    bool onMap;
};

GridPair gridPair(int command) {
    files::SessionState& s = files::sessionState();
    switch (command) {
        case CMD_GRIDMAJORDATA:
        case CMD_GRIDMINORDATA:
            return {s.LGRIDJPD, s.LGRIDNPD, CMD_GRIDMAJORDATA, CMD_GRIDMINORDATA, false};
        case CMD_GRIDMAJORMODEL:
        case CMD_GRIDMINORMODEL:
            return {s.LGRIDJPM, s.LGRIDNPM, CMD_GRIDMAJORMODEL, CMD_GRIDMINORMODEL, false};
        default:
            return {s.LGRIDJMP, s.LGRIDNMP, CMD_GRIDMAJORMAP, CMD_GRIDMINORMAP, true};
    }
}

// Minor lines are never drawn without major ones: a major switch turned off
// takes its minor one along, a minor switch turned on its major one.
void switchGrid(int command) {
    GridPair g = gridPair(command);
    if (command == g.majorItem) {
        g.major = !g.major;
        if (!g.major) g.minor = false;
    } else {
        g.minor = !g.minor;
        if (g.minor) g.major = true;
    }
    const int window = g.onMap ? 0 : profileWindow();
    if (window < 0) return;
    tk::OutputWindowSelect(window);
    check(g.majorItem, g.major);
    check(g.minorItem, g.minor);
}

void zoomCommand(int) {
    bool& zoom = files::sessionState().LZOOM;
    zoom = !zoom;
    tk::OutputWindowSelect(0);
    SETMENUSTATES();
    if (profileWindowOpen()) {
        tk::OutputWindowSelect(profileWindow());
        SETMENUSTATESPL(workingProfile());
    }
}

void backUpProfileAxes(int first, int last) {
    for (int k = first; k <= last; ++k)
        mainLoop().ProfileAxisBackup[static_cast<std::size_t>(k)] =
            workingProfile().AXES[static_cast<std::size_t>(k)];
}

void profileChanged() {
    workingProfile().LSAVED = false;
    refreshProfileWindow();
}

void unzoomCommand(int window) {
    if (window == 0) {
        mainLoop().MapAxisBackup = mainLoop().MapAxis;
        rescaleMap();
        refreshMap();
        database().LDBSAV = false;
    } else if (fromProfileWindow(window)) {
        model::ProfileLine& w = workingProfile();
        backUpProfileAxes(0, 5);
        views::DATARESCALEPL(w);
        views::SCALE_BY(w.AXES[4], w.MODEL, w);
        profileChanged();
    }
}

void unzoomDataCommand(int window) {
    if (!fromProfileWindow(window)) return;
    backUpProfileAxes(0, 1);
    views::DATARESCALEPL(workingProfile());
    profileChanged();
}

void unzoomModelCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::ProfileLine& w = workingProfile();
    backUpProfileAxes(2, 5);
    views::SCALE_BY(w.AXES[4], w.MODEL, w);
    profileChanged();
}

// Before any rescale the backups hold empty records: there is no earlier
// view to go back to, and drawing empty graphs would show nothing.
void lastZoomCommand(int window) {
    MainLoopState& m = mainLoop();
    if (window == 0) {
        if (m.MapAxisBackup == util::AxisRecord{}) return;
        m.MapAxis = m.MapAxisBackup;
        refreshMap();
        database().LDBSAV = false;
    } else if (fromProfileWindow(window)) {
        const auto& backup = m.ProfileAxisBackup;
        if (std::all_of(backup.begin(), backup.end(),
                        [](const util::AxisRecord& a) { return a == util::AxisRecord{}; }))
            return;
        for (std::size_t k = 0; k < backup.size(); ++k)
            if (!(backup[k] == util::AxisRecord{})) workingProfile().AXES[k] = backup[k];
        profileChanged();
    }
}

// From the main window the range covers the models of every profile (the
// last one alone would leave the others' properties off the scale).
void autoscaleFillCommand(int window) {
    files::ViewSettings& v = files::viewSettings();
    if (window == 0) {
        model::ProfileDatabase& db = database();
        if (db.NPROF <= 0) return;
        float lo = 0.0f, hi = 0.0f;
        for (int i = 1; i <= db.NPROF; ++i) {
            float fmin = 0.0f, fmax = 0.0f;
            views::SCALECOLORS(db.profile(i).MODEL, fmin, fmax);
            lo = i == 1 ? fmin : std::min(lo, fmin);
            hi = i == 1 ? fmax : std::max(hi, fmax);
        }
        v.FILL_MIN = lo;
        v.FILL_MAX = hi;
        if (currentProfile() > 0) refreshProfileWindow();
    } else if (fromProfileWindow(window)) {
        views::SCALECOLORS(workingProfile().MODEL);
        refreshProfileWindow();
    }
}

// Switching one graph off when the other is off already brings that one back.
void showGraphCommand(int window, bool& shown, bool& other) {
    if (!fromProfileWindow(window)) return;
    shown = !shown;
    if (!shown) other = true;
    SETMENUSTATESPL(workingProfile());
    refreshProfileWindow();
}

void showDataCommand(int window) {
    files::ViewSettings& v = files::viewSettings();
    showGraphCommand(window, v.LSHOWDATA, v.LSHOWMODEL);
}

void showModelCommand(int window) {
    files::ViewSettings& v = files::viewSettings();
    showGraphCommand(window, v.LSHOWMODEL, v.LSHOWDATA);
}

template <int Command>
void viewSwitchHandler(int) {
    toggleViewSwitch(Command);
}

void profileGridCommand(int window, int command) {
    if (!fromProfileWindow(window)) return;
    switchGrid(command);
    SETMENUSTATESPL(workingProfile());
    refreshProfileWindow();
}

template <int Command>
void profileGridHandler(int window) {
    profileGridCommand(window, Command);
}

template <int Command>
void mapGridHandler(int) {
    switchGrid(Command);
    refreshMap();
}

}  // namespace

void toggleViewSwitch(int command) {
    bool* on = viewSwitch(command);
    if (!on) return;
    *on = !*on;
    if (!profileWindowOpen()) return;
    tk::OutputWindowSelect(profileWindow());
    if (command != CMD_VIEWLABELS) check(command, *on);
    refreshProfileWindow();
}

void showViewSwitches(int window) {
    files::SessionState& s = files::sessionState();
    if (window == 0) {
        tk::OutputWindowSelect(0);
        check(CMD_GRIDMAJORMAP, s.LGRIDJMP);
        check(CMD_GRIDMINORMAP, s.LGRIDNMP);
        return;
    }
    if (window != profileWindow() || !profileWindowOpen()) return;
    tk::OutputWindowSelect(window);
    for (int command : kViewSwitches)
        check(command, *viewSwitch(command));
    check(CMD_GRIDMAJORDATA, s.LGRIDJPD);
    check(CMD_GRIDMINORDATA, s.LGRIDNPD);
    check(CMD_GRIDMAJORMODEL, s.LGRIDJPM);
    check(CMD_GRIDMINORMODEL, s.LGRIDNPM);
}

void addViewCommands(CommandTable& t) {
    t.set(CMD_ZOOM, zoomCommand);
    t.set(CMD_UNZOOM, unzoomCommand);
    t.set(CMD_LASTZOOM, lastZoomCommand);
    t.set(CMD_UNZOOMDATA, unzoomDataCommand);
    t.set(CMD_UNZOOMMODEL, unzoomModelCommand);
    t.set(CMD_AUTOSCALEFILL, autoscaleFillCommand);
    t.set(CMD_VIEWDATA, showDataCommand);
    t.set(CMD_VIEWMODEL, showModelCommand);
    t.set(CMD_VIEWLABELS, viewSwitchHandler<CMD_VIEWLABELS>);
    t.set(CMD_VIEWLOCKS, viewSwitchHandler<CMD_VIEWLOCKS>);
    t.set(CMD_VIEWFREE, viewSwitchHandler<CMD_VIEWFREE>);
    t.set(CMD_VIEWVERTICES, viewSwitchHandler<CMD_VIEWVERTICES>);
    t.set(CMD_VIEWPIVOTS, viewSwitchHandler<CMD_VIEWPIVOTS>);
    t.set(CMD_VIEWREGIONAL, viewSwitchHandler<CMD_VIEWREGIONAL>);
    t.set(CMD_COLORFILL, viewSwitchHandler<CMD_COLORFILL>);
    t.set(CMD_GRIDMAJORDATA, profileGridHandler<CMD_GRIDMAJORDATA>);
    t.set(CMD_GRIDMINORDATA, profileGridHandler<CMD_GRIDMINORDATA>);
    t.set(CMD_GRIDMAJORMODEL, profileGridHandler<CMD_GRIDMAJORMODEL>);
    t.set(CMD_GRIDMINORMODEL, profileGridHandler<CMD_GRIDMINORMODEL>);
    t.set(CMD_GRIDMAJORMAP, mapGridHandler<CMD_GRIDMAJORMAP>);
    t.set(CMD_GRIDMINORMAP, mapGridHandler<CMD_GRIDMINORMAP>);
}

}  // namespace shell
