#pragma once
// What the editor's window procedure offers the window core besides the
// procedure itself (EditorWindowProc, editor_create.h).

#include "toolkit/editors/editor_record.h"

namespace tk {

// Shows the editor's help for a highlighted menu item in the given status
// bar (a split window's, for an editor pane); false when it has none.
bool editorMenuHelp(EditorWindowRecord& record, win::HWND statusBar, win::WPARAM wp,
                    win::LPARAM lp);

}  // namespace tk
