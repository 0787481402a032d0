#include "shell/lock_dialogs.h"

#include "files/session_state.h"
#include "files/view_settings.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/resources/editing_ids.h"
#include "shell/shell_state.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

constexpr int kModeless = 2;
constexpr int kBlackText = 0;
using files::ViewSettings;

// Which identifiers have a dialog loaded under them.
bool& loaded(int identifier) {
    auto& table = editState().LoadedDialogs;
    switch (identifier) {
        case ViewSettings::LEADERDLG_ID:
            return table[0];
        case ViewSettings::FOLLOWERDLG_ID:
            return table[1];
        case ViewSettings::PAIRDLG_ID:
            return table[2];
        case IDD_INSERTION:
            return table[3];
        default:
            return table[4];
    }
}

void storePosition() {
    ViewSettings& v = files::viewSettings();
    v.LOCKDLG_X = tk::DialogInfoQuery(6);
    v.LOCKDLG_Y = tk::DialogInfoQuery(7);
}

// Stores the position of the dialog loaded under `identifier`, hides and
// unloads it.
void close(int identifier) {
    if (!loaded(identifier)) return;
    tk::DlgSelect(identifier);
    storePosition();
    tk::DlgHide();
    tk::DlgUnload();
    loaded(identifier) = false;
    if (shellSession().ActiveLockDialog == identifier) shellSession().ActiveLockDialog = 0;
}

// Loads `resource` under `identifier` (replacing what was loaded there),
// shows it modeless at the shared position and makes it the active dialog.
void show(int resource, int identifier, int window, int x, int y) {
    close(identifier);
    tk::DlgLoad(resource, identifier, window);
    loaded(identifier) = true;
    tk::DlgSelect(identifier);
    tk::DlgShow(x, y, 0, kModeless);
    shellSession().ActiveLockDialog = identifier;
}

void showAtLockPosition(int resource, int identifier, int window) {
    const ViewSettings& v = files::viewSettings();
    show(resource, identifier, window, v.LOCKDLG_X, v.LOCKDLG_Y);
}

}  // namespace

void SNAPLOCKON(int choice, bool freeX, bool freeZ, int window) {
    showAtLockPosition(IDD_INSERTION, IDD_INSERTION, window);
    const int radios[] = {IDC_NOSNAP, IDC_SNAP, IDC_SNAPLOCK};
    tk::DlgPutRadioButton(radios[choice >= 1 && choice <= 3 ? choice - 1 : 0]);
    tk::DlgPutCheckBox(IDC_FREEX, freeX ? 1 : 0);
    tk::DlgPutCheckBox(IDC_FREEZ, freeZ ? 1 : 0);
    tk::DlgPutRadioButton(files::sessionState().Illegal < 2 ? IDC_SKIPILLEGAL : IDC_SHORTENEDGE);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    MENUSOFF();
    tk::DlgSelect(IDD_INSERTION);
    editState().InsertionDialogShown = true;
}

void SNAPLOCKOFF() {
    EditState& e = editState();
    if (e.InsertionDialogShown) close(IDD_INSERTION);
    e.InsertionDialogShown = false;
    MENUSON();
}

void LEADERON(int window) {
    showAtLockPosition(IDD_LEADER, ViewSettings::LEADERDLG_ID, window);
}

void LEADERNEW(int window) {
    close(ViewSettings::LEADERDLG_ID);
    tk::BeepSwitch(" ");
    showAtLockPosition(IDD_LEADERAGAIN, ViewSettings::LEADERDLG_ID, window);
}

void LEADEROFF() {
    if (shellSession().ActiveLockDialog == ViewSettings::LEADERDLG_ID)
        close(ViewSettings::LEADERDLG_ID);
}

void FOLLOWERON(int window) {
    showAtLockPosition(IDD_FOLLOWERS, ViewSettings::FOLLOWERDLG_ID, window);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    editState().FollowersDialogShown = true;
}

void FOLLOWERNEW(int window) {
    close(ViewSettings::FOLLOWERDLG_ID);
    tk::BeepSwitch(" ");
    showAtLockPosition(IDD_FOLLOWERSAGAIN, ViewSettings::FOLLOWERDLG_ID, window);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    editState().FollowersDialogShown = true;
}

void FOLLOWEROFF() {
    EditState& e = editState();
    if (e.FollowersDialogShown) close(ViewSettings::FOLLOWERDLG_ID);
    e.FollowersDialogShown = false;
    shellSession().ActiveLockDialog = 0;
}

void PAIRON(int window) {
    showAtLockPosition(IDD_PAIRS, ViewSettings::PAIRDLG_ID, window);
}

void PAIRLEADER() {
    if (!loaded(ViewSettings::PAIRDLG_ID)) return;
    tk::DlgSelect(ViewSettings::PAIRDLG_ID);
    tk::DlgPutString(IDC_PAIRPROMPT, "Ready to select Leader...");
}

void PAIRFOLLOWER() {
    if (!loaded(ViewSettings::PAIRDLG_ID)) return;
    tk::DlgSelect(ViewSettings::PAIRDLG_ID);
    tk::DlgPutString(IDC_PAIRPROMPT, "Ready to select Follower...");
}

void PAIROFF() {
    close(ViewSettings::PAIRDLG_ID);
    shellSession().ActiveLockDialog = 0;
}

void HIDEACTIVEDLG() {
    int& active = shellSession().ActiveLockDialog;
    if (active <= 0) return;
    tk::DlgSelect(active);
    tk::DlgHide();
    active = 0;
}

void closeClickModeDialogs() {
    EditState& e = editState();
    for (int id : {ViewSettings::LEADERDLG_ID, ViewSettings::FOLLOWERDLG_ID,
                   ViewSettings::PAIRDLG_ID, IDD_INSERTION})
        close(id);
    e.InsertionDialogShown = e.FollowersDialogShown = false;
    // The split prompt stands centred: its place is not the others'.
    if (loaded(IDD_SPLIT)) {
        tk::DlgSelect(IDD_SPLIT);
        tk::DlgHide();
        tk::DlgUnload();
        loaded(IDD_SPLIT) = false;
    }
    shellSession().ActiveLockDialog = 0;
}

void showSplitPrompt(int window) {
    show(IDD_SPLIT, IDD_SPLIT, window, -1, -1);
}

void insertionMessage(std::string_view text, int background) {
    if (!loaded(IDD_INSERTION)) return;
    tk::DlgSelect(IDD_INSERTION);
    tk::DlgPutString(IDC_INSERTIONHINT, text);
    tk::DlgColour(IDC_INSERTIONHINT, kBlackText, background);
}

void insertionEntering(std::string_view text) {
    if (!loaded(IDD_INSERTION)) return;
    tk::DlgSelect(IDD_INSERTION);
    tk::DlgPutString(IDC_ENTERING, text);
}

}  // namespace shell
