#pragma once
// The file side of the text editor: loading plain text or RTF into the edit
// control, saving with an optional ".bak" copy, the save prompt, and the
// file handle each loaded file keeps open with write sharing denied.

#include <functional>

#include "platform/win_types.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

// 1 loaded, 0 failed. Quiet with the quiet-open-errors option shows no box
// when the file cannot be opened.
int EditorLoadFile(win::HWND frame, int quiet);
// 1 saved, 0 not saved; the save dialog runs when saveAs is 1 or the file
// is untitled.
int EditorSaveFile(win::HWND frame, int saveAs);
// 1 go on, 0 cancelled.
int EditorSavePrompt(win::HWND frame, EditorWindowRecord& record);
// Closes the kept handle of the current file.
void EditorCloseFileHandle(win::HWND frame);
// Closes every kept handle (the window goes away).
void editorCloseAllFileHandles(EditorWindowRecord& record);

// Whether a file name ends in ".rtf" (ignoring case) in a rich-text editor.
bool editorFileIsRtf(const EditorWindowRecord& record, const std::string& name);

// How the editor reads a whole file (ReadFile's shape); tests put a reader
// that fails in its place. Empty = the platform's ReadFile.
using EditorFileReader = std::function<win::BOOL(win::HANDLE, void*, win::DWORD, win::DWORD*)>;
EditorFileReader& editorFileReader();

}  // namespace tk
