#pragma once
// The editor's one-line command entry: a plain edit field or a combo box
// with a history list, a prompt to its left, Enter reported to the program,
// and the operations a program uses on it.

#include <string>

#include "toolkit/editors/editor_record.h"

namespace tk {

inline constexpr int kEditorHistoryLimit = 100;

// Makes the command line (and the empty prompt) in the frame.
void EditorCommandLine(win::HWND frame, EditorWindowRecord& record, bool history);
// The subclass procedure of the command line's edit field.
win::LRESULT EditorCommandLineProc(win::HWND edit, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
// Places prompt and command line along the bottom edge of a rectangle and
// answers the height they take.
int editorCommandLineLayout(EditorWindowRecord& record, int left, int bottom, int width);

// Statuses: 0 done, 1 no editor, 2 no command line (or no history list).
void EditorSetPrompt(int& status, const std::string& text);
void EditorSetCommandText(int& status, const std::string& text, int caret);
void EditorCheckHistory(int& status);
void EditorClearHistory(int& status);
void EditorAddHistory(int index, const std::string& text);
void EditorGetHistoryEntry(int index, std::string& text);
// status 0, 2 when the text was cut to size - 1 characters, 3 no command line.
void EditorGetCommandText(int& status, std::string& text, int size);

}  // namespace tk
