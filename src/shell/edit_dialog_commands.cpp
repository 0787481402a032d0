#include "shell/edit_dialog_commands.h"

#include "model/session_state.h"
#include "shell/data_editor.h"
#include "shell/new_profile_dialogs.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_calls.h"
#include "toolkit/core/window_api.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

bool fromProfileWindow(int window) {
    return window == profileWindow() && profileWindowOpen();
}

void redrawProfileWindow() {
    tk::OutputWindowSelect(profileWindow());
    viewCalls().REFRESHPL(workingProfile());
}

// An edit that changed the working profile: it differs from its slot now.
void profileEdited() {
    workingProfile().LSAVED = false;
}

}  // namespace

bool workingProfileIsGravity() {
    return workingProfile().DTYPE.view().find("ravi") != std::string_view::npos;
}

void addEditDialogCommands(CommandTable& t) {
    t.set(CMD_EDITDATA, editDataCommand);
    t.set(CMD_DATAPARAMETERS, dataParametersCommand);
    t.set(CMD_COLORFILLPROPERTIES, colourFillPropertiesCommand);
}

void editDataCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    GRAVEDIT(workingProfile(), status);
    if (status != 0) return;
    workingProfile().LSYN = false;
    profileEdited();
    viewCalls().DATARESCALE(database(), mainLoop().MapAxis);
    tk::OutputWindowSelect(0);
    viewCalls().REFRESH(database(), mainLoop().MapAxis);
    // The stations changed: the profile window shows them too.
    redrawProfileWindow();
}

void dataParametersCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::ProfileLine& w = workingProfile();
    const int oldMode = w.IELEV;
    const float oldHeight = w.SENSHT;
    int status = 0;
    if (workingProfileIsGravity())
        GETGRAVDATATYPE(w, status);
    else
        GETMAGDATATYPE(w, status);
    if (status != 0) return;
    model::sessionState().ViewXUnit = w.XUNIT.view();
    model::sessionState().ViewZUnit = w.ZUNIT.view();
    w.LSYN = false;
    // A height left over from another mode is cleared; one the user typed stays.
    if (w.IELEV != oldMode && w.IELEV == 2 && w.SENSHT == oldHeight) w.SENSHT = 0.0f;
    profileEdited();
    viewCalls().DATARESCALE(database(), mainLoop().MapAxis);
    redrawProfileWindow();
}

void colourFillPropertiesCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    COLORFILLDLG(workingProfile().MODEL, status);
    if (status == 0) redrawProfileWindow();
}

}  // namespace shell
