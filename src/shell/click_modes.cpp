#include "shell/click_modes.h"

#include "shell/digitising.h"
#include "shell/interaction.h"
#include "shell/lock_dialogs.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"

namespace shell {

namespace {

void endClickModes() {
    const bool running = clickModeRunning();
    EditState& e = editState();
    if (e.PairRubberLine || shellSession().RubberLineShown) eraseRubberLine();
    closeClickModeDialogs();
    MainLoopState& m = mainLoop();
    m.PairLockMode = m.LeaderLockMode = m.FollowerLockMode = false;
    e.PairRubberLine = false;
    e.PairExpectFollower = true;
    e.PairFollower = e.LockFollower = e.LockLeader = 0;
    e.SplitBody = e.SplitFirstVertex = 0;
    shellSession().SplitBodyMode = false;
    cancelDigitising();
    if (running) MENUSON();
}

// What the hover tests and the pop-ups recorded about the working profile.
void forgetTargets() {
    PointerState& p = pointerState();
    p.model = views::ModelHits{};
    p.label = views::LabelHits{};
    p.HighlightedLabel = 0;
    p.HitDataPoint = 0;
    p.PressOnVertex = false;
    p.PressBody = p.PressEdgeBody = p.PressEdgeVertex = p.PressLabel = 0;
    p.PopupVertex = p.PopupEdgeVertex = p.PopupLabel = p.PopupPoint = 0;
    p.PopupMenu = 0;
    shellSession().PopupBody = 0;
}

}  // namespace

bool clickModeRunning() {
    const MainLoopState& m = mainLoop();
    return m.PairLockMode || shellSession().SplitBodyMode || m.LeaderLockMode ||
           m.FollowerLockMode || m.DigitisingBody;
}

void leaveWorkingProfile() {
    cancelGesture();
    endClickModes();
    forgetTargets();
}

}  // namespace shell
