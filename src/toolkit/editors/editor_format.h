#pragma once
// The formatting commands of a rich-text editor (bold, italic, underline,
// alignment, bullets, the font dialog), the editor's fonts, and pasting.

#include "toolkit/editors/editor_record.h"

namespace tk {

// Bold, Italic or Underline (the command identifier): a style the whole
// selection shares is inverted, a mixed one set; an empty selection formats
// the word at the caret.
void EditorToggleCharStyle(EditorWindowRecord& record, int command);
// Align Left, Centre or Right (the command identifier) for the selected
// paragraphs.
void EditorSetAlignment(EditorWindowRecord& record, int command);
// Bullets off when every selected paragraph has them, else on.
void EditorToggleBullet(EditorWindowRecord& record);
// The system font dialog started from the selection's format.
void EditorChooseFont(win::HWND frame, EditorWindowRecord& record);
win::UINT_PTR EditorFontDialogHook(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
// Rich-text editors paste normally, plain ones only the clipboard's text.
void EditorPaste(EditorWindowRecord& record);

// Makes the editor font of a font number and size (points) into the record.
void EditorCreateFont(EditorWindowRecord& record, int fontNumber, int size);
// The font of the current window's editor; -1 keeps the present number or
// size. status 1 when the current window is no editor.
void EditorSetFont(int& status, int fontNumber, int size);

}  // namespace tk
