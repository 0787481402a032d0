#pragma once
// The View menu of an editor that keeps several files: one item per open
// file, "&" with the file number (1-9, then A-K), a tab and the name.

#include <string>

#include "toolkit/editors/editor_record.h"

namespace tk {

// The text of file n's item ("Untitled" for an empty name).
std::string editorViewItemText(int file, const std::string& name);
// Renames file n's item when the editor has a View menu.
void editorViewItemSet(const EditorWindowRecord& record, int file, const std::string& name);
// Appends file n's item with a check mark.
void editorViewItemAppend(const EditorWindowRecord& record, int file, const std::string& name);
// Moves the check mark from one file's item to another's.
void editorViewItemCheck(const EditorWindowRecord& record, int file, bool checked);

}  // namespace tk
