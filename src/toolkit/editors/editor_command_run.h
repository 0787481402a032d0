#pragma once
// What the editor does with its commands, changes of the text, the close
// request and the popup menus about to open.

#include "toolkit/editors/editor_record.h"

namespace tk {

// Runs a menu, key or button command; commands the program must see are
// reported to it as MenuSelect events.
void editorRunCommand(win::HWND frame, EditorWindowRecord& record, int id);
void editorTextChanged(win::HWND frame, EditorWindowRecord& record);
void editorCloseRequest(win::HWND frame, EditorWindowRecord& record);
// The save questions of every modified file, the shown one first; false
// when one was cancelled (the file last asked about stays shown).
bool editorPaneCloseCheck(win::HWND frame, EditorWindowRecord& record);
void editorInitPopup(const EditorWindowRecord& record, win::HMENU popup);
// Whether the selection holds protected text.
bool editorSelectionProtected(const EditorWindowRecord& record);

}  // namespace tk
