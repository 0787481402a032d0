#pragma once
// The six window classes for typing numbers: INTEGEREDIT, REALEDIT and
// DOUBLEEDIT, and the same with an up-down control at their right edge
// (INTEGERSPIN, REALSPIN, DOUBLESPIN). They are superclasses of the
// platform's EDIT control that keep their number in the field's
// FieldRecord, let through only characters that can make up a number,
// refuse to lose the focus while their number lies outside the field's
// range, and rewrite their text when the focus leaves.

#include <array>
#include <string_view>

#include "platform/controls/common_controls_api.h"
#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace tk {

enum class NumberKind { Integer, Real, Double };

// The classes in the order they are registered.
inline constexpr std::array<std::string_view, 6> kNumericEditClassNames{
    "INTEGEREDIT", "INTEGERSPIN", "REALEDIT", "REALSPIN", "DOUBLEEDIT", "DOUBLESPIN"};

struct NumericEditClasses {
    win::ATOM editAtom = 0;
    win::WNDPROC editProcedure = nullptr;
    std::array<win::ATOM, 6> atoms{};
    // The up-down class's own procedure, learnt from the first spin field.
    win::WNDPROC upDownProcedure = nullptr;
};
NumericEditClasses& numericEditClasses();

// Registers the six classes once per process (later calls do nothing).
void NumericEditClassesRegister();

// Index 0-5 of the control's class in kNumericEditClassNames, or -1.
int numericClassIndex(win::HWND control);
inline bool isNumericField(win::HWND control) {
    return numericClassIndex(control) >= 0;
}
inline bool isSpinClass(int index) {
    return index % 2 == 1;
}
inline NumberKind numberKindOf(int index) {
    return index < 2 ? NumberKind::Integer : index < 4 ? NumberKind::Real : NumberKind::Double;
}

win::LRESULT IntegerEditProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT IntegerSpinProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT RealEditProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT RealSpinProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT DoubleEditProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
win::LRESULT DoubleSpinProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

// Creation, focus gain, key-down and focus loss shared by the six classes;
// handled is false for any other message.
win::LRESULT NumericEditCommon(win::HWND field, win::UINT message, win::WPARAM wp, win::LPARAM lp,
                               bool& handled);

// The check made when the focus leaves a numeric field: true when the field
// refuses to let it go (the focus has then been given back).
bool NumericFieldValidate(win::HWND field, win::HWND newFocus, int force);
// Gives the focus back to a refused field with its whole text selected and
// shows which button Enter would press.
void NumericFieldRefocus(win::HWND target, win::HWND field, int leftByTab);
// Presses the default push button of the dialog holding the control.
void DialogPressDefaultButton(win::HWND control);

// The subclass procedure of a spin field's up-down control.
win::LRESULT SpinButtonProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
// Creates and attaches the up-down control of a spin field being created.
void SpinButtonCreate(win::HWND field, int classIndex, win::DWORD fieldStyle,
                      std::string_view initialText);
// An arrow of a spin field's up-down control was pressed: a typed text is
// taken first, the number moves by the small (delta 1) or large (delta 5)
// step within the field's range and is written back; the control's own
// delta becomes 0.
void SpinFieldStep(win::HWND buddy, win::NMUPDOWN& step);

// Set by the grid while it lays out its windows: validation lets every
// focus change through meanwhile.
bool& gridLayoutBusy();

// Binds the dialog manager's hooks to these classes.
void NumericEditHooksBind();

}  // namespace tk
