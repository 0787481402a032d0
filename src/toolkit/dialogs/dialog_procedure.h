#pragma once
// The one dialog procedure of every toolkit dialog (loaded or modal
// instance): it turns control notifications into toolkit events, keeps the
// dialog record's bookkeeping, steps spin fields, switches tab pages, paints
// field colours and lays out resizable dialogs.

#include "platform/win_types.h"

namespace tk {

win::INT_PTR DialogProcedure(win::HWND dialog, win::UINT message, win::WPARAM wParam,
                             win::LPARAM lParam);
win::INT_PTR DialogControlColour(win::HWND dialog, win::UINT message, win::HDC dc,
                                 win::HWND control);
// The running modal instance and every child-style window below it.
bool DialogIsModalCopy(win::HWND window);
bool DialogHasStretchField(win::HWND window);
void DialogAddSizeGrip(win::HWND dialog);
void DialogFocusRemember(win::HWND dialog, win::HWND control);
void DialogFocusFirstTabStop(win::HWND fallback, win::HWND page, bool setFocus);
// The loaded dialog whose modal instance contains the window (for the
// bookkeeping of a modal instance), or the window's own dialog.
win::HWND dialogOfControl(win::HWND control);
// The record that bookkeeping of this dialog goes to: the loaded dialog's
// for a modal instance, else the dialog's own.
struct DialogRecord;
DialogRecord* bookkeepingRecord(win::HWND dialog);
// Lays out a dialog with a stretch field for a new client size.
void DialogLayoutFields(win::HWND dialog, int width, int height);
// The grid's registered cell-change message (defined with the grid window,
// grid_window.h).
win::UINT gridCellChangeMessage();

}  // namespace tk
