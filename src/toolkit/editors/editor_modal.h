#pragma once
// The message loop of a modal editor window: it runs until the editor is
// closed, then frees the record and gives the other windows back.

namespace tk {

// Runs the loop of the text editor in window n.
void editorModalLoop(int window);
// After a modal editor window is gone: its window-table entry is cleared and
// the other windows are enabled again.
void editorModalWindowGone(int window);

}  // namespace tk
