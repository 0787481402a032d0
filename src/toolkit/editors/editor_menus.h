#pragma once
// The editor's popup menus and menu bar, and its accelerator tables.

#include "toolkit/editors/editor_record.h"

namespace tk {

// The rich-edit version the toolkit found at start-up (1 or 2).
int editorRichEditVersion();

// Builds the File, Edit, Search, Format and View popups into the record
// (each item only when the editor allows its command).
void editorBuildPopups(EditorWindowRecord& record);
// Inserts the popups into the bar at positions 0 to 4 with their
// identifiers 32100, 32120, 32140, 32160 and 32180.
void editorInsertPopups(const EditorWindowRecord& record, win::HMENU bar);
// The editor's key table (always made) and the edit keys of an editor in a
// splitter pane.
win::HACCEL editorBuildAccelerators(const EditorWindowRecord& record);
win::HACCEL editorBuildPaneAccelerators(const EditorWindowRecord& record);

}  // namespace tk
