#include "shell/event_loop.h"

#include "model/profile_database.h"
#include "shell/command_table.h"
#include "shell/database_commands.h"
#include "shell/digitising.h"
#include "shell/import_commands.h"
#include "shell/interaction.h"
#include "shell/lock_dialogs.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/program.h"
#include "shell/resources/resource_ids.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "views/profile_window.h"

namespace shell {

void hideHint() {
    if (!mainLoop().HintShown) return;
    tk::DlgSelect(ID_HINTDIALOG);
    tk::DlgHide();
    tk::DlgUnload();
    mainLoop().HintShown = false;
}

namespace {

void redraw(int type, int window) {
    // A window told its size that it was drawn at already keeps its picture.
    const bool ours = window == 0 || window == profileWindow();
    const bool unchanged = ours && type == tk::Resize && drawnAtThisSize(window);
    if (window == 0) {
        if (!unchanged) {
            eraseRubberBands();
            refreshMap();
        }
        // The parts are the main window's own, whichever window drew last.
        if (type == tk::Resize) {
            tk::OutputWindowSelect(0);
            tk::StatusBarParts(5, kStatusBarWidths);
        }
    } else if (window == profileWindow()) {
        if (!unchanged) {
            eraseRubberBands();
            refreshProfileWindow();
        }
        // Its parts follow its width, as the main window's do.
        if (type == tk::Resize) {
            tk::OutputWindowSelect(window);
            views::divideProfileStatusBar();
        }
    }
}

void closeRequest(int window) {
    eraseRubberBands();
    if (window == 0)
        closeRequestMain();
    else if (window == profileWindow())
        closeProfileWindowRequest();
    else if (window > 0)
        tk::WindowCloseChild(window);
}

}  // namespace

void dispatchCommand(int window, int command) {
    if (window != profileWindow() && clickModeRunning()) return;
    hideHint();
    // A command may leave the window as it is: a rubber shape it left would
    // stay behind, so it is erased rather than forgotten.
    eraseRubberBands();
    shellSession().LastWindow = window;
    tk::OutputWindowSelect(window);
    pointerState().PressButton = 0;
    if (CommandHandler h = commandTable().find(command)) h(window);
}

void handleEvent(int type, const tk::EventRecord& event) {
    MainLoopState& m = mainLoop();
    m.CurrentEventType = type;
    m.CurrentEvent = event;
    m.CommandStatus = 0;
    const int window = event[0];
    if (type == tk::MouseButtonDown) eraseRubberBands(shellSession().MapLineMode);
    switch (type) {
        case tk::MenuSelect:
            dispatchCommand(window, event[1]);
            break;
        case tk::Expose:
        case tk::Resize:
            redraw(type, window);
            break;
        case tk::CloseRequest:
            closeRequest(window);
            break;
        case tk::KeyDown:
            handleKeyDown(event);
            break;
        case tk::PushButton:
            handlePushButton(event);
            break;
        case tk::FieldChanged:
            handleFieldChanged(event);
            break;
        case tk::MouseButtonDown:
            handleMouseButtonDown(event);
            break;
        case tk::MouseButtonUp:
            handleMouseButtonUp(event);
            break;
        case tk::MouseMove:
            handleMouseMove(event);
            break;
        default:
            break;
    }
}

void runEventLoop() {
    while (!mainLoop().Finished) {
        int type = 0;
        tk::EventRecord event{};
        tk::EventWait(type, event);
        handleEvent(type, event);
    }
}

// Both ways out ask every question before anything is closed: a question
// cancelled leaves the program as it was, the profile window still showing
// the current profile (the exit sequence closes it).
void closeRequestMain() {
    if (currentProfile() > 0 && !offerProfileSave()) return;
    if (!offerDatabaseSave()) return;
    if (currentProfile() > 0) CLOSEPFLINE(workingProfile());
    exitSequence();
}

void exitCommandMain() {
    tk::OutputWindowSelect(0);
    if (currentProfile() > 0 && !workingProfile().LSAVED && !offerProfileSave()) return;
    if (!offerDatabaseSave()) return;
    exitSequence();
}

void closeProfileWindowRequest() {
    if (currentProfile() > 0) {
        if (!offerProfileSave()) return;
        unmarkCurrentProfile();
        CLOSEPFLINE(workingProfile());
    }
    closeProfileWindow();
    SETMENUSTATESWITHPL(1);
    currentProfile() = 0;
    SHOWLISTS(database(), shellSession().ListDialog);
}

}  // namespace shell
