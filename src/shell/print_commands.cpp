#include "shell/print_commands.h"

#include "shell/print_dialog.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options_dialogs.h"
#include "toolkit/output/printer_driver.h"
#include "util/pen_plotter.h"
#include "views/printed_report.h"

namespace shell {

namespace {

constexpr int kHourglass = 1, kArrow = 0;

// The printer's page set-up; false unless confirmed.
bool printerOptionsConfirmed() {
    tk::HardcopyOptionsShow();
    return tk::hardcopyDialogResult() == 1;
}

// Output ended, the graphics state back for the screen.
void backToScreen() {
    tk::HardcopySwitch("S");
    tk::ResetGraphicsState(" ");
    util::PLOTXY(1.0f, 0.0f, 1, mainLoop().MapAxis);
}

void printMap() {
    tk::OutputWindowSelect(0);
    if (!printerOptionsConfirmed()) return;
    tk::CursorShapeSet(kHourglass);
    util::PLOTXY(0.0f, 1.0f, 1, mainLoop().MapAxis);
    refreshMap();
    backToScreen();
    tk::OutputWindowSelect(0);
    refreshMap();
    tk::CursorShapeSet(kArrow);
}

void printProfile() {
    bool tables = false, nothing = false;
    PRINTDLG(tables, false, nothing);
    if (nothing) return;
    if (!printerOptionsConfirmed()) return;
    tk::CursorShapeSet(kArrow);
    tk::OutputWindowSelect(profileWindow());
    {
        // The graph and the report's pages, each an output of its own, are
        // printed as one document.
        tk::PrinterDocument document;
        views::PRINTPROFILE(workingProfile(), tables);
    }
    backToScreen();
    tk::OutputWindowSelect(profileWindow());
    refreshProfileWindow();
    tk::CursorShapeSet(kArrow);
}

void printCommand(int window) {
    tk::HardcopySelectDriver(1, tk::hc::PrinterDriverNumber);
    if (window == 0)
        printMap();
    else if (window == profileWindow())
        printProfile();
}

}  // namespace

void addPrintCommands(CommandTable& t) {
    t.set(CMD_PRINT, printCommand);
}

}  // namespace shell
