#pragma once
// What the text and grid editor frames share: their status-bar parts, which
// are recorded with the window so that the frame keeps them whenever it lays
// out its bars (a frame without a caption gets a last part reaching the
// right edge for the file name), and the activation of an editor inside a
// parent window when it is clicked.

#include <array>

#include "toolkit/core/window_table.h"

namespace tk {

// Parts ending at the four edges (pixels), plus the file-name part when the
// frame has no caption; style as StatusBarPart (0 without borders, else
// sunken). Answers the status bar, null when the window has none.
win::HWND editorStatusParts(int window, const std::array<int, 4>& edges, int style);

// The menu bar of an editor window: the program's menu named by menuId, or
// an empty bar. A modal editor window gets no program menu (status
// kEditorMenuRefusedModal) and a menu that cannot be loaded leaves the bar
// empty (kEditorMenuNotLoaded); the editor's own pop-ups go in front after.
inline constexpr int kEditorMenuRefusedModal = 2, kEditorMenuNotLoaded = 3;
win::HMENU editorMenuBar(int menuId, bool modal, int& status);
// Puts an editor pop-up at a position of the bar under its command number.
void editorInsertPopup(win::HMENU bar, int position, win::HMENU popup, const char* title, int id);
// The bar becomes the window's menu (shown on the frame unless the editor is
// a splitter pane), replacing and freeing the one the window had.
void editorInstallMenuBar(WindowSlot& slot, win::HMENU bar, bool pane);
// A modal editor window drops the tool bars of its window; any other editor
// remembers them, so that they come back when it closes.
void editorTakeToolbars(std::array<win::HWND, 4>& remembered, WindowSlot& slot, int showType);

// Whether the frame has a caption bar.
bool frameHasCaption(win::HWND frame);

// An editor inside a parent window comes to the top, is activated and
// gives the focus to its control unless the focus is inside it already.
void editorActivateInsideParent(win::HWND frame, win::HWND focusControl);
// Mouse activation and button presses in the frame's children.
bool editorActivationMessage(win::UINT msg, win::WPARAM wp);

}  // namespace tk
