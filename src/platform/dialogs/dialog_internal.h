#pragma once
// What the parts of the dialog manager share: each dialog's own record.

#include "platform/dialogs/dialog_api.h"

namespace win::dialogs {

struct Dialog {
    HFONT font = nullptr;
    bool ownsFont = false;
    int baseX = 6;   // average character width of the dialog font (4 dialog units)
    int baseY = 13;  // its height (8 dialog units)
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    int defaultId = 0;
    HWND savedFocus = nullptr;
};

Dialog* dialogOf(HWND dialog);
// Gives a control the focus as the keyboard does: an edit control's text is
// selected and the default push button follows the focus.
void focusControl(HWND dialog, HWND control);
// The first control the Tab key reaches.
HWND firstTabItem(HWND dialog);
// Dialog base units (average character width, height) of a font; null is
// the dialogs' default font.
SIZE baseUnitsOf(HFONT font);

}  // namespace win::dialogs
