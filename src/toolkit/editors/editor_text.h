#pragma once
// Small steps on the editor's edit control shared by the file, window and
// command code: emptying it, inserting text, the modified state, and the
// Undo and Redo buttons.

#include <string>
#include <string_view>

#include "toolkit/editors/editor_record.h"

namespace tk {

// Empties the control without an undo step.
void editorClearText(const EditorWindowRecord& record);
// Inserts text at a control position without an undo step.
void editorInsertText(const EditorWindowRecord& record, long position, std::string_view text);
// Caret to the start, scrolled into view.
void editorCaretToStart(const EditorWindowRecord& record);
// Empties the undo buffer and disables the Undo and Redo buttons.
void editorEmptyUndo(const EditorWindowRecord& record);
// The Undo and Redo buttons follow what the control can undo and redo, on
// the editor's toolbar and the window's top toolbar.
void editorSyncUndoButtons(const EditorWindowRecord& record);
// Sets the control's modified flag.
void editorSetModified(const EditorWindowRecord& record, bool modified);
bool editorIsModified(const EditorWindowRecord& record);
// The whole text as the control hands it out.
std::string editorControlText(const EditorWindowRecord& record);
// The text between two control positions, one character per position.
std::string editorControlRange(const EditorWindowRecord& record, long from, long to);

}  // namespace tk

namespace tk {

// 1 for a "RICHEDIT" control, 2 for "RichEdit20A", 0 without a control.
int editorControlVersion(const EditorWindowRecord& record);
// The text's length in control positions (a line break counts as one
// position from rich-edit 2 on).
long editorControlEnd(const EditorWindowRecord& record);
// The formatting buttons (bold, italic, underline, alignment, bullets)
// follow the character and paragraph format at the selection.
void editorSyncFormatButtons(const EditorWindowRecord& record);

}  // namespace tk
