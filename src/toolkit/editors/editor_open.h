#pragma once
// Opening another file in a window that is already a text editor, and
// switching between the files of a multi-file editor.

#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

// status 12 when a multi-file editor already holds 20 files.
void editorOpenAnother(int& status, EditorWindowRecord& record, const std::string& fullName,
                       int filterIndex);
// The Open command: the open dialog, then the file added as a new file of a
// multi-file editor or in place of the shown one; reported when loaded.
bool editorOpenCommand(win::HWND frame, EditorWindowRecord& record);
// The file dialogs' request on the name buffer (the current name copied in):
// the program's filter, else the editor's defaults, at the current file's
// last choice; the flags stay the caller's.
win::OPENFILENAMEA editorFileDialogRequest(win::HWND frame, const EditorWindowRecord& record,
                                           char* name, win::DWORD size);
// Makes open file n current.
void EditorSelectFile(win::HWND frame, int file);
// Whether the editor holds one untitled, empty, unmodified file without a
// kept handle, which a newly opened file replaces.
bool editorHoldsOnlyBlank(const EditorWindowRecord& record);

}  // namespace tk
