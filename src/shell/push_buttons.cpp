#include "files/view_settings.h"
#include "shell/click_modes.h"
#include "shell/digitising.h"
#include "shell/event_loop.h"
#include "shell/interaction.h"
#include "shell/lock_dialogs.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/vertex_locking.h"
#include "shell/view_properties_check.h"
#include "shell/window_views.h"

namespace shell {

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// Cancel of the leader, insertion and split dialogs ends those click modes.
void cancelClickModes() {
    HIDEACTIVEDLG();
    MENUSON();
    LEADEROFF();
    SNAPLOCKOFF();
    HIDEACTIVEDLG();
    shellSession().RubberLineShown = false;
    shellSession().SplitBodyMode = false;
    mainLoop().FollowerLockMode = false;
    cancelDigitising();
    refreshProfileWindow();
}

void cancel(int dialog) {
    using files::ViewSettings;
    switch (dialog) {
        case ViewSettings::LEADERDLG_ID:
        case IDD_INSERTION:
        case IDD_SPLIT:
            cancelClickModes();
            break;
        // The close boxes of the followers and pairs dialogs end their modes
        // as CLOSE does; the modes could not be left otherwise.
        case ViewSettings::FOLLOWERDLG_ID:
            closeFollowersMode();
            break;
        case ViewSettings::PAIRDLG_ID:
            closePairsMode();
            break;
        // The hint's close box and Escape put it away as its OK does.
        case ID_HINTDIALOG:
            hideHint();
            break;
        default:
            break;
    }
}

}  // namespace

void handlePushButton(const tk::EventRecord& event) {
    checkViewProperties(tk::PushButton, event);
    const int dialog = event[0], button = event[1];
    switch (button) {
        case kOk:
            if (dialog == ID_HINTDIALOG) hideHint();
            // A click mode's dialog holds the mode's only way out (Cancel,
            // Finish, CLOSE) while the menus are greyed; it has no OK, and
            // Return in it, or OK of another dialog, leaves it shown.
            if (!clickModeRunning()) HIDEACTIVEDLG();
            break;
        case kCancel:
            cancel(dialog);
            break;
        case IDC_FOLLOWERSCLOSE:
            closeFollowersMode();
            break;
        case IDC_FINISH:
            finishDigitising();
            break;
        case IDC_BACKUP:
            backUpVertex();
            break;
        case IDC_PAIRSCLOSE:
            closePairsMode();
            break;
        default:
            break;
    }
}

}  // namespace shell
