#include "shell/model_clipboard.h"

#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/session_state.h"
#include "shell/click_modes.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr char kEmpty[] =
    "The model clipboard is empty.\r\n\r\nCopy a model first (Edit > Copy Model in a profile "
    "window).";

bool fromProfileWindow(int window) {
    return window == profileWindow() && profileWindowOpen() && currentProfile() > 0;
}

bool clipboardHeld() {
    if (shellSession().ModelClipboardHeld) return true;
    util::WINMSG(kEmpty);
    return false;
}

// The bodies and their properties of the clipboard in place of those of
// `profile`; the profile keeps its topography and the geometry that ties
// its model to its line on the map. Areas and nesting follow, and the
// synthetics no longer belong to the model.
void paste(model::ProfileLine& profile) {
    model::PolygonModel& m = profile.MODEL;
    const model::ModelHeader own = m;
    model::COPYPG(m, shellSession().ModelClipboard);
    m.SGEO = own.SGEO;
    m.AZIM = own.AZIM;
    m.TIEPRF = own.TIEPRF;
    m.DECREF = own.DECREF;
    m.TIEEAS = own.TIEEAS;
    m.TIENOR = own.TIENOR;
    m.STRIKE = own.STRIKE;
    m.BASELN = own.BASELN;
    m.GRIDROT = own.GRIDROT;
    m.ICOORD = own.ICOORD;
    model::FDAREA(m);
    bool nesting = false;
    model::BOLEVL(m, nesting);
    profile.LSYN = false;
}

// The working profile takes the clipboard: nothing that named its old
// vertices or bodies stays, and the bad-model flag speaks of the new model.
void pasteIntoWorkingProfile() {
    leaveWorkingProfile();
    model::ProfileLine& w = workingProfile();
    paste(w);
    model::sessionState().BadModel = model::LBADMODEL(w.MODEL);
    refreshProfileWindow();
}

void copyModelCommand(int window) {
    if (!fromProfileWindow(window)) return;
    ShellSession& s = shellSession();
    model::DEALLOCPG(s.ModelClipboard);
    model::COPYPG(s.ModelClipboard, workingProfile().MODEL);
    s.ModelClipboardHeld = true;
}

void pasteModelCommand(int window) {
    if (!fromProfileWindow(window) || !clipboardHeld()) return;
    pasteIntoWorkingProfile();
    workingProfile().LSAVED = false;
}

void pasteModelToAllCommand(int window) {
    if (window != 0 || !clipboardHeld()) return;
    int status = 0;
    PROCEEDDLG(
        "This will replace the 2-D model in EVERY profile of thedatabase with the model in the "
        "clipboard",
        status);
    if (status != 0) return;
    model::ProfileDatabase& db = database();
    for (int i = 1; i <= db.NPROF; ++i)
        paste(db.profile(i));
    db.LDBSAV = false;
    // The open profile takes the same model as its slot: what it holds
    // beside the model stays as saved or as changed as it was.
    if (currentProfile() > 0) pasteIntoWorkingProfile();
}

}  // namespace

void addModelClipboardCommands(CommandTable& t) {
    t.set(CMD_COPYMODEL, copyModelCommand);
    t.set(CMD_PASTEMODEL, pasteModelCommand);
    t.set(CMD_PASTETOALL, pasteModelToAllCommand);
}

}  // namespace shell
