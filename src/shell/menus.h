#pragma once
// The menus of the main and profile windows: loading the main menu, the Zoom
// check mark, the items that the database commands grey, and greying every
// menu, toolbar button and the profile list while a click mode waits for the
// mouse. Also the shell's operations that do nothing.

#include "model/profile_line.h"

namespace shell {

void SETMENU();
void SETMENUSTATES();
void SETMENUSTATESPL(const model::ProfileLine& profile);
void SETMENUSTATESWITHPL(int state);
void MENUSOFF();
void MENUSON();

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
