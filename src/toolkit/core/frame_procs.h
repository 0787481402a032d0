#pragma once
// The window procedures of the toolkit's frames, client windows and splitter
// bars: they lay out the bars around the client window and turn messages
// into toolkit events.

#include "platform/window/user_api.h"

namespace tk {

win::LRESULT FrameWindowProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
win::LRESULT ClientWindowProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
win::LRESULT SplitterProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);

// Offers a message to the accelerators of the window with the menu,
// translated for the frame of the message's window; true when taken.
bool WindowAcceleratorTranslate(int messageWindow, int menuWindow, win::MSG& msg);
// From a child frame up to the top-level frame that contains it: that
// window's number when it has a menu, else 0.
int MenuWindowSlot(win::HWND window);
// The status bar that shows a window's menu help: its own, else that of the
// window containing it.
win::HWND StatusBarOfWindow(int window);

}  // namespace tk
