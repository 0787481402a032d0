#pragma once
// The commands that change what the windows show: zoom mode, rescaling and
// the last zoom of the map and the profile window, the fill colours' range,
// which graphs the profile window shows, the view switches (also reached by
// their letter keys) and the grids.

#include "shell/command_table.h"

namespace shell {

void addViewCommands(CommandTable& table);

// The view switch of a View menu item (40080, 40068, 40078, 40004, 40026,
// 40072, 40077) inverted, its check mark set in the profile window's menu
// and the profile window redrawn.
void toggleViewSwitch(int command);

// The check marks of the view switches and grids as the switches stand, in
// the menu of `window` (0 main, else the profile window).
void showViewSwitches(int window);

}  // namespace shell
