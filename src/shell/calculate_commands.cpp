#include "shell/calculate_commands.h"

#include "calc/forward_calc.h"
#include "calc/inversion_host.h"
#include "calc/inversion_iterations.h"
#include "calc/inversion_step.h"
#include "files/view_settings.h"
#include "model/body_area.h"
#include "model/model_check.h"
#include "model/polygon_model.h"
#include "model/session_state.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "util/abort_poll.h"
#include "util/message_boxes.h"
#include "views/profile_window.h"

namespace shell {

namespace {

bool fromProfileWindow(int window) {
    return window == profileWindow() && profileWindowOpen();
}

void checkModelCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::BODYCHECK(false, workingProfile().MODEL);
}

void forwardCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::ProfileLine& w = workingProfile();
    model::FDAREA(w.MODEL);
    calc::CALC(w, 0);
    refreshProfileWindow();
}

// While the inversion reads events itself, no drag or hover may start.
void mouseMovesDuringInversion(bool enabled) {
    tk::EventTypeEnable(tk::MouseMove, enabled ? 1 : 0);
}

void singleIterationCommand(int window) {
    tk::OutputWindowSelect(window);
    tk::CursorShapeSet(tk::CursorHourglass);
    model::ProfileLine& w = workingProfile();
    model::FDAREA(w.MODEL);
    if (fromProfileWindow(window)) {
        mouseMovesDuringInversion(false);
        // A button pushed during an earlier run does not cancel this one.
        util::LKILL(true);
        // A step that gives up can still have changed the model: the free
        // flags of locked followers are taken off before it finds that
        // nothing is left to invert.
        const model::PolygonModel before = w.MODEL;
        int status = 0;
        calc::ONE_STEP(w, w.MODEL, status, w.AXES[4], w.AXES[0]);
        mouseMovesDuringInversion(true);
        if (status == 0 || w.MODEL != before) {
            refreshProfileWindow();
            w.LSAVED = false;
        }
    }
    tk::CursorShapeSet(tk::CursorArrow);
}

void multipleIterationsCommand(int window) {
    tk::OutputWindowSelect(window);
    tk::CursorShapeSet(tk::CursorHourglass);
    if (fromProfileWindow(window)) {
        model::ProfileLine& w = workingProfile();
        mouseMovesDuringInversion(false);
        int status = 0;
        calc::MORE_STEPS(w, w.MODEL, status, w.AXES[4], w.AXES[0], mainLoop().InversionControl);
        mouseMovesDuringInversion(true);
        views::PROFILECLEANUP(database(), calc::kProgressDialog);
        refreshProfileWindow();
        w.LSAVED = false;
    }
    tk::CursorShapeSet(tk::CursorArrow);
}

void removeRegionalCommand(int window) {
    if (!fromProfileWindow(window)) return;
    model::ProfileLine& w = workingProfile();
    if (w.NREG == 0) {
        util::WINMSG("There is no regional to remove.");
        return;
    }
    if (!w.LSYN) {
        model::FDAREA(w.MODEL);
        calc::CALC(w, 0);
    }
    // A calculation refused (an illegal model, no stations) leaves no
    // synthetics to subtract from.
    if (!w.LSYN) return;
    for (int i = 1; i <= w.NSTA; ++i) {
        w.SYN(i, 1) = w.SYN(i, 1) - w.REG(i);
        w.DAT(i, 1) = w.DAT(i, 1) - w.REG(i);
    }
    w.NREG = 0;
    refreshProfileWindow();
    w.LSAVED = false;
}

void toggle(int window, int command, bool& on) {
    on = !on;
    tk::OutputWindowSelect(window);
    tk::MenuSetState(command, tk::MenuStateChecked, on ? 1 : 0);
}

void autoCalculateOnDetachCommand(int window) {
    toggle(window, CMD_AUTOCALCDETACH, files::viewSettings().LCALCDET);
}

void autoCalculateWhileMovingCommand(int window) {
    toggle(window, CMD_AUTOCALCMOVE, files::viewSettings().LCALCMOVE);
}

void pivotMovesCommand(int window) {
    toggle(window, CMD_PIVOTROTATE, model::sessionState().PivotMovesWhileRotating);
}

}  // namespace

void addCalculateCommands(CommandTable& t) {
    t.set(CMD_CHECKMODEL, checkModelCommand);
    t.set(CMD_FORWARD, forwardCommand);
    t.set(CMD_SINGLEITER, singleIterationCommand);
    t.set(CMD_MULTIITER, multipleIterationsCommand);
    t.set(CMD_REMOVEREGIONAL, removeRegionalCommand);
    t.set(CMD_AUTOCALCDETACH, autoCalculateOnDetachCommand);
    t.set(CMD_AUTOCALCMOVE, autoCalculateWhileMovingCommand);
    t.set(CMD_PIVOTROTATE, pivotMovesCommand);
}

}  // namespace shell
