#include "shell/window_views.h"

#include "files/view_settings.h"
#include "shell/click_modes.h"
#include "shell/menus.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/view_commands.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "views/hit_data_graph.h"
#include "views/hit_output.h"
#include "views/map_scaling.h"
#include "views/map_view.h"
#include "views/profile_scaling.h"
#include "views/profile_window.h"

namespace shell {

namespace {

ShellSession::DrawnSize clientSize(int window) {
    win::RECT r{};
    win::GetClientRect(tk::windowSystem().slots[static_cast<std::size_t>(window)].client, &r);
    return {r.right - r.left, r.bottom - r.top};
}

ShellSession::DrawnSize& drawnSize(int window) {
    return window == 0 ? shellSession().MapDrawnSize : shellSession().ProfileDrawnSize;
}

// A window just drawn whole needs no paint for what was uncovered before:
// the picture is all there.
void drawnWhole(int window) {
    win::ValidateRect(tk::windowSystem().slots[static_cast<std::size_t>(window)].client, nullptr);
    drawnSize(window) = clientSize(window);
}

// A graph without divisions (a file written before its graphs were ever
// scaled) would draw nothing at all; it is fitted to its values first.
bool unscaled(const util::AxisRecord& a) {
    return a.divCountX <= 0 || a.divCountY <= 0 || a.stepX == 0.0f || a.stepY == 0.0f;
}

void fitUnscaledGraphs(model::ProfileLine& p) {
    if (unscaled(p.AXES[0])) views::DATARESCALEPL(p);
    if (unscaled(p.AXES[4])) views::SCALE_BY(p.AXES[4], p.MODEL, p);
}

}  // namespace

void refreshMap() {
    if (unscaled(mainLoop().MapAxis)) rescaleMap();
    tk::OutputWindowSelect(0);
    // The view draws nothing for an empty database; a map of profiles that
    // are gone must not stay on the screen.
    if (database().NPROF <= 0) tk::WindowFillRectangle();
    views::REFRESH(database(), mainLoop().MapAxis);
    windowRedrawn(0);
    drawnWhole(0);
    ++shellSession().MapDrawings;
}

void rescaleMap() {
    views::DATARESCALE(database(), mainLoop().MapAxis);
}

void markCurrentProfile() {
    views::showProfileMark(database(), mainLoop().MapAxis, currentProfile());
}

void unmarkCurrentProfile() {
    views::hideProfileMark(database(), mainLoop().MapAxis);
}

bool drawnAtThisSize(int window) {
    return drawnSize(window) == clientSize(window);
}

void openProfileWindow() {
    // A new window has nothing drawn in it yet.
    shellSession().ProfileDrawnSize = {};
    const files::WindowPlacement& p = files::viewSettings().ProfileWindowPlacement;
    views::WINDOWPFL(profileWindow(), mainLoop().ProfileWindowSpec, p.x, p.y, p.width, p.height,
                     p.state, workingProfile().PNAME.view());
    SETMENUSTATESPL(workingProfile());
    showViewSwitches(profileWindow());
}

void refreshProfileWindow() {
    if (!profileWindowOpen()) return;
    fitUnscaledGraphs(workingProfile());
    tk::OutputWindowSelect(profileWindow());
    views::REFRESHPL(workingProfile());
    windowRedrawn(profileWindow());
    drawnWhole(profileWindow());
    ++shellSession().ProfileDrawings;
    views::profileSummary(workingProfile(), views::toolkitHoverOutput());
}

SharedLook sharedLook() {
    const files::ViewSettings& v = files::viewSettings();
    return {v.LineWidth, v.HICNAME};
}

void refreshBothWindows() {
    refreshMap();
    refreshProfileWindow();
}

void refreshAfterSettings(int window, const SharedLook& before) {
    if (sharedLook() != before)
        refreshBothWindows();
    else if (window == 0)
        refreshMap();
    else
        refreshProfileWindow();
}

void closeProfileWindow() {
    // No click mode may outlive the window it waits in: the main window
    // would ignore the user for good.
    if (profileWindowOpen()) leaveWorkingProfile();
    views::CLOSEIPLWIN();
}

}  // namespace shell
