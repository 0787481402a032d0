#include "shell/view_calls.h"

#include "files/view_settings.h"
#include "shell/resources/resource_ids.h"
#include "shell/rubber_feedback.h"
#include "shell/shell_state.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "views/map_scaling.h"
#include "views/map_view.h"
#include "views/profile_window.h"

namespace shell {

namespace {

// Window flags of the profile window: system menu, minimise and maximise
// boxes, status bar.
constexpr int kProfileWindowFlags = 39;

void clearWindow(int window) {
    tk::OutputWindowSelect(window);
    tk::WindowFillRectangle();
}

void openProfileWindow(const std::string& title) {
    if (profileWindowOpen()) {
        tk::OutputWindowSelect(profileWindow());
        tk::WindowTitle(title);
        return;
    }
    const files::WindowPlacement& p = files::viewSettings().ProfileWindowPlacement;
    tk::WindowOpenChildArgs a;
    a.flags = kProfileWindowFlags;
    a.x = p.x;
    a.y = p.y;
    a.width = p.width;
    a.height = p.height;
    a.menuId = IDM_PROFILE;
    a.title = title;
    int window = 0;
    tk::WindowOpenChild(window, a);
    if (window <= 0) return;
    profileWindow() = window;
    // Five equal parts for the read-outs of the mouse.
    constexpr int kPartWidths[] = {2000, 2000, 2000, 2000, 2000};
    tk::OutputWindowSelect(window);
    tk::StatusBarParts(5, kPartWidths);
}

void closeProfileWindow() {
    if (!profileWindowOpen()) return;
    tk::WindowCloseChild(profileWindow());
    profileWindow() = -1;
}

ViewCalls standIns() {
    ViewCalls v;
    v.DATARESCALE = [](model::ProfileDatabase& db, util::AxisRecord& axis) {
        views::DATARESCALE(db, axis);
    };
    v.REFRESH = [](model::ProfileDatabase& db, util::AxisRecord& axis) {
        clearWindow(0);
        views::REFRESH(db, axis);
        windowRedrawn(0);
    };
    v.MARKPFLONMAP = [](model::ProfileDatabase& db, int profile, int colour) {
        if (profile >= 1 && profile <= db.NPROF)
            views::MARKPFLONMAP(db.profile(profile), mainLoop().MapAxis, colour);
    };
    v.REFRESHPL = [](model::ProfileLine& working) {
        if (!profileWindowOpen()) return;
        views::REFRESHPL(working);
        windowRedrawn(profileWindow());
    };
    v.WINDOWPFL = openProfileWindow;
    v.CLOSEIPLWIN = closeProfileWindow;
    return v;
}

}  // namespace

ViewCalls& viewCalls() {
    static ViewCalls calls = standIns();
    return calls;
}

void resetViewCalls() {
    viewCalls() = standIns();
}

}  // namespace shell
