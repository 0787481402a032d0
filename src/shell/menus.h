#pragma once
// The menus of the main and profile windows: loading the main menu, the Zoom
// check mark, the items that the database commands grey, and greying every
// menu, toolbar button and the profile list while a click mode waits for the
// mouse; the toolbar's Import Data pop-up. Also the shell's operations that
// do nothing.

#include "model/profile_line.h"
#include "shell/command_table.h"

namespace shell {

void SETMENU();
void SETMENUSTATES();
void SETMENUSTATESPL(const model::ProfileLine& profile);
void SETMENUSTATESWITHPL(int state);
void MENUSOFF();
void MENUSON();

// The toolbar's Import Data button (30101) opens the import pop-up menu.
void addMenuCommands(CommandTable& table);

// Puts a long computation's progress dialog away: the abort latch reset, the
// dialog's position kept for its next showing, the dialog hidden. Nothing
// calls it; the inversion's own clean-up is PROFILECLEANUP.
void BATCHCLEANUP(int a, int b, int dialog);

// Operations kept for their callers; they do nothing.
void CLOSEPFLINE(model::ProfileLine& profile);
void BATCHEDITDLG();
void BATCHPREP();
void CALCGRAVMAG();
void PROFILEPREP();
void SAVEPFLINE();
void XYZINGRAV();
void XYZINMAG();
void XYZINVLF();
void XYZOUTDLG();

}  // namespace shell
