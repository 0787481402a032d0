#pragma once
// Modal instances (a temporary second window of a loaded dialog that takes
// its state when it opens and gives it back when it closes), disabling the
// other toolkit windows around modal and semi-modeless dialogs, and frozen
// window contents while a modal loop runs.

#include "platform/win_types.h"

namespace tk {

void DialogCopyState(win::HWND to, win::HWND from);
// exceptWindow may be null; includeWindows adds the visible toolkit frames.
void ModalDisableOthers(win::HWND exceptWindow, bool includeWindows);
// After a box has closed: the window that was active takes the activation
// back and the window that had the keyboard takes it back, where nothing
// else has, and no capture stays with a window that is gone from view; so
// the next key and click go where the user aims them.
void ModalHandBack(win::HWND wasActive, win::HWND hadFocus);
void ModalEnableOthers(win::HWND exceptWindow, bool includeWindows);
// mode 1 freezes, 0 releases one level; result is always 0.
void FreezeWindowContents(int mode, int exceptWindowNumber, int& result);
bool DialogHasGraphics(win::HWND dialog);
// The modal instance's WM_INITDIALOG and its close by a push button.
void ModalInstanceOpen(win::HWND instance);
void ModalInstanceClose(win::HWND instance, int button);

}  // namespace tk
