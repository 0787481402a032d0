#pragma once
// What the text and grid editors do when their window is a pane of a split
// window: the menu bar handed to the split levels, the pane named for menu
// commands and keys, and the other panes spared a repaint while the editor
// is made.

#include <vector>

#include "platform/win_types.h"

namespace tk {

// The frame that holds a pane: up through the split containers to the first
// frame that is no pane; null when the frame is no pane.
win::HWND editorSplitTop(win::HWND frame);
// The drawing windows inside a frame that have nothing to repaint now, so
// that they can be validated again once the editor is made.
std::vector<win::HWND> editorQuietClients(win::HWND top);
// The split levels between the pane (window n) and the given split window
// take the editor's menu where they have none, and name the pane for its
// commands and keys; false when the split window holds no such pane.
bool editorJoinSplit(int window, win::HMENU menu, int splitWindow);
// The editor pane became the one the user works in: every split level up
// the chain names it for commands and the top frame shows its menu.
void editorPaneActivated(int window);

}  // namespace tk
