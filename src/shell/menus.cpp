#include "shell/menus.h"

#include <array>

#include "calc/inversion_iterations.h"
#include "files/session_state.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "util/abort_poll.h"

namespace shell {

namespace {

// The main window's submenus and every toolbar button.
constexpr std::array kMainItems{CMD_FILE,       CMD_EDIT,       CMD_VIEW,       CMD_HELPMENU,
                                CMD_NEWPROFILE, CMD_OPEN,       CMD_IMPORTDATA, CMD_SAVE,
                                CMD_PRINT,      CMD_ZOOM,       CMD_LASTZOOM,   CMD_UNZOOM,
                                CMD_COLORS,     CMD_PROPERTIES, CMD_HELP};
// The profile window's submenus and the commands of its toolbar.
constexpr std::array kProfileItems{
    CMD_FILE,   CMD_EDIT,       CMD_VIEW,    CMD_CALCULATE,  CMD_HELPMENU,   CMD_SAVE,
    CMD_PRINT,  CMD_EDITDATA,   CMD_ZOOM,    CMD_LASTZOOM,   CMD_UNZOOMDATA, CMD_UNZOOMMODEL,
    CMD_COLORS, CMD_PROPERTIES, CMD_FORWARD, CMD_SINGLEITER, CMD_MULTIITER,  CMD_HELP};

void setItems(int state) {
    tk::OutputWindowSelect(0);
    for (int id : kMainItems)
        tk::MenuSetState(id, tk::MenuStateEnabled, state);
    if (profileWindowOpen()) {
        tk::OutputWindowSelect(profileWindow());
        for (int id : kProfileItems)
            tk::MenuSetState(id, tk::MenuStateEnabled, state);
    }
    if (tk::DialogSlotFind(IDD_PROFILELIST) > 0) {
        tk::DlgSelect(IDD_PROFILELIST);
        tk::DlgFieldState(IDC_PROFILELIST, state);
    }
}

// The pop-up opens where the event says; a toolbar button's event carries
// no position, which puts it at the top left of the client area, beneath the
// toolbar.
void importDataCommand(int window) {
    if (window != 0) return;
    const tk::EventRecord& e = mainLoop().CurrentEvent;
    tk::OutputWindowSelect(0);
    tk::MenuFloating(IDM_IMPORTPOPUP, e[5], e[6]);
}

}  // namespace

void addMenuCommands(CommandTable& t) {
    t.set(CMD_IMPORTDATA, importDataCommand);
}

void BATCHCLEANUP(int, int, int dialog) {
    int type = -1;
    util::EventWords record{};
    util::LKILLMSG(true, type, record);
    tk::DlgSelect(dialog);
    calc::DialogPlace& place = calc::inversionDialogPlace();
    place.x = tk::DialogInfoQuery(6);
    place.y = tk::DialogInfoQuery(7);
    tk::DlgHide();
}

void SETMENU() {
    tk::MenuAttach(IDM_MAIN, 0);
}

void SETMENUSTATES() {
    tk::MenuSetState(CMD_ZOOM, tk::MenuStateChecked, files::sessionState().LZOOM ? 1 : 0);
}

void SETMENUSTATESPL(const model::ProfileLine&) {
    if (profileWindowOpen()) SETMENUSTATES();
}

void SETMENUSTATESWITHPL(int state) {
    tk::OutputWindowSelect(0);
    tk::MenuSetState(CMD_NEW, tk::MenuStateEnabled, state);
    tk::MenuSetState(CMD_OPEN, tk::MenuStateEnabled, state);
    tk::MenuSetState(CMD_ASCIIDATA, tk::MenuStateEnabled, state);
}

void MENUSOFF() {
    setItems(0);
}

void MENUSON() {
    setItems(1);
}

void CLOSEPFLINE(model::ProfileLine&) {}
void BATCHEDITDLG() {}
void BATCHPREP() {}
void CALCGRAVMAG() {}
void PROFILEPREP() {}
void SAVEPFLINE() {}
void XYZINGRAV() {}
void XYZINMAG() {}
void XYZINVLF() {}
void XYZOUTDLG() {}

}  // namespace shell
