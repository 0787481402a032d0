#pragma once
// Where the dialog manager reaches the parts of the dialog layer that are
// built beside it: the numeric edit and spin fields and the grid. Each hook
// is bound by the part that provides it; unbound, the dialog manager behaves
// as if no field of that kind exists.

#include <functional>
#include <string_view>

#include "platform/win_types.h"

namespace tk {

struct DialogPartHooks {
    // Registers the numeric edit classes and the grid class when the root
    // window opens (before the control atoms are learnt).
    std::function<void()> numericEditClassesRegister;
    std::function<void()> gridClassRegister;
    // NumericFieldValidate(control, new focus, force): true when the numeric
    // edit refuses its content.
    std::function<bool(win::HWND control, win::HWND newFocus, int force)> numericFieldRefuses;
    // DialogPressDefaultButton, from a field of the dialog.
    std::function<void(win::HWND field)> pressDefaultButton;
    // NumericFieldRefocus(button, invalid field, mode).
    std::function<void(win::HWND button, win::HWND invalid, int mode)> numericFieldRefocus;
    // GridDefineFromTemplate: the rest of a [Grids] line; answers the
    // number of characters it consumed.
    std::function<int(win::HWND grid, std::string_view rest)> gridDefineFromTemplate;
    // GridClearAll.
    std::function<void(win::HWND grid)> gridClearAll;
    // The grid copies itself into the modal instance's grid and back.
    std::function<void(win::HWND to, win::HWND from)> gridCopy;
};

DialogPartHooks& dialogPartHooks();

}  // namespace tk
