#include "shell/edit_dialog_commands.h"

#include <tuple>

#include "files/text_lines.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/session_state.h"
#include "shell/body_editor.h"
#include "shell/colour_dialog.h"
#include "shell/data_editor.h"
#include "shell/model_parameter_editor.h"
#include "shell/new_profile_dialogs.h"
#include "shell/profile_editors.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_properties_check.h"
#include "shell/window_views.h"
#include "toolkit/core/window_api.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

bool fromProfileWindow(int window) {
    return window == profileWindow() && profileWindowOpen();
}

void rescaleAndRedrawProfile() {
    views::DATARESCALEPL(workingProfile());
    refreshProfileWindow();
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
    t.set(CMD_EDITBODY, editBodyCommand);
    t.set(CMD_EDITBODYPOPUP, editBodyPopupCommand);
    t.set(CMD_MODELPARAMETERS, modelParametersCommand);
    t.set(CMD_EDITREGIONAL, editRegionalCommand);
    t.set(CMD_EDITGEOMETRY, editGeometryCommand);
    t.set(CMD_EDITBACKGROUND, editBackgroundCommand);
    t.set(CMD_COLORS, colorsCommand);
    t.set(CMD_PROPERTIES, viewPropertiesCommand);
    t.set(CMD_COLORFILLPROPERTIES, colourFillPropertiesCommand);
}

void editDataCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    GRAVEDIT(workingProfile(), status);
    if (status != 0) return;
    // The stations' surface is the model's topography: a body may cross it now.
    model::sessionState().BadModel = model::LBADMODEL(workingProfile().MODEL);
    workingProfile().LSYN = false;
    profileEdited();
    rescaleMap();
    refreshMap();
    // The stations changed: the profile window shows them too.
    refreshProfileWindow();
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
    rescaleMap();
    refreshProfileWindow();
}

void editBodyCommand(int window) {
    // Edit > Body asks: the body of a pop-up closed earlier (or one since
    // deleted) is not the user's choice now.
    shellSession().PopupBody = 0;
    editBodyPopupCommand(window);
}

void editBodyPopupCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::PolygonModel& m = workingProfile().MODEL;
    const int n = m.NBOD;
    const int popupBody = shellSession().PopupBody;
    int body = 1;
    if (n == 0) return;
    if (n > 1 && popupBody >= 1 && popupBody <= n) {
        body = popupBody;
    } else if (n > 1) {
        int status = 0;
        INUMINDLG("Enter number of body to edit (1:" + files::rightAligned(n, 3) + "):", body,
                  status);
        if (status != 0 || body < 1 || body > n) return;
    }
    shellSession().PopupBody = 0;
    int status = 0;
    BODYEDIT(m, body, workingProfileIsGravity(), m.LAYER(body), status);
    if (status != 0) return;
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
    // The editor refused crossings: the model is legal again.
    model::sessionState().BadModel = model::LBADMODEL(m);
    profileEdited();
    refreshProfileWindow();
}

void modelParametersCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::PolygonModel& m = workingProfile().MODEL;
    int status = 0;
    if (m.NBOD == 0)
        BKGREDIT(m, workingProfileIsGravity(), status);
    else
        MODELPAREDIT(m, workingProfileIsGravity(), status);
    if (status != 0) return;
    profileEdited();
    rescaleAndRedrawProfile();
}

void editRegionalCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    REGIONALEDIT(workingProfile(), status);
    if (status != 0) return;
    profileEdited();
    rescaleAndRedrawProfile();
}

void editGeometryCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::ProfileLine& w = workingProfile();
    const model::PolygonModel& m = w.MODEL;
    const auto geometry = [&] {
        return std::tuple{m.AZIM, m.TIEPRF, m.TIEEAS, m.TIENOR, m.STRIKE, m.BASELN, m.GRIDROT,
                          m.ICOORD, w.LSYN};
    };
    const auto before = geometry();
    int status = 0;
    GEOMEDIT(w, w.MODEL, status);
    if (status != 0) {
        // The geometry derived from the stations stays after Cancel: the
        // profile window shows it; the map, drawn from the stored profiles,
        // is left alone.
        if (geometry() != before) rescaleAndRedrawProfile();
        return;
    }
    profileEdited();
    mainLoop().MapAxisBackup = mainLoop().MapAxis;
    rescaleMap();
    refreshMap();
    database().LDBSAV = false;
    rescaleAndRedrawProfile();
}

void editBackgroundCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    BKGREDIT(workingProfile().MODEL, workingProfileIsGravity(), status);
    if (status != 0) return;
    profileEdited();
    refreshProfileWindow();
}

void colorsCommand(int window) {
    int status = 0;
    COLORDLG(status);
    // Redrawn whatever the answer: the window was under the dialog. Both
    // windows draw with the same colours, so both are redrawn.
    if (window != 0 && !fromProfileWindow(window)) return;
    refreshBothWindows();
}

void colourFillPropertiesCommand(int window) {
    if (!fromProfileWindow(window)) return;
    int status = 0;
    COLORFILLDLG(workingProfile().MODEL, status);
    if (status == 0) refreshProfileWindow();
}

}  // namespace shell
