#pragma once
// The grid editor's built-in keys, pop-up menus, toolbar and help texts.

#include <string>

#include "toolkit/editors/grid_editor_record.h"

namespace tk {

// The key table of the commands the editor allows; null when none applies.
win::HACCEL gridEditorBuildAccelerators(const GridEditorRecord& record);
// The File, Edit and Search pop-ups into the record.
void gridEditorBuildPopups(GridEditorRecord& record);
// The built-in toolbar (control identifier 1001).
win::HWND gridEditorBuildToolbar(GridEditorRecord& record, win::HWND frame);
// The status-bar help of a command or pop-up; empty when none.
std::string gridEditorHelpText(int id);
// The tool tip of a toolbar button; empty when none.
std::string gridEditorTipText(int id);

}  // namespace tk
