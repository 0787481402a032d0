// Whether a numeric field lets the focus go, giving the focus back to a
// refused field, and pressing a dialog's default button from a field.

#include <cctype>
#include <string>

#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/numeric_edit.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {
namespace {

bool classIs(win::HWND h, const char* wanted) {
    if (!h) return false;
    char name[64] = {};
    win::GetClassNameA(h, name, sizeof name);
    for (const char* a = name; *a || *wanted; ++a, ++wanted)
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*wanted)))
            return false;
    return true;
}

bool isButton(win::HWND h) {
    return classIs(h, "BUTTON");
}
bool isTabControl(win::HWND h) {
    return classIs(h, "SysTabControl32");
}
bool isDialog(win::HWND h) {
    return classIs(h, "#32770");
}

bool isPushButton(win::HWND h) {
    if (!isButton(h)) return false;
    const auto type = win::GetWindowLongA(h, win::GWL_STYLE) & 0xF;
    return type == win::BS_PUSHBUTTON || type == win::BS_DEFPUSHBUTTON;
}

bool isRootWindow(win::HWND h) {
    const WindowSlot& root = windowSystem().slots[0];
    return h && (h == root.frame || h == root.client);
}

void setButtonStyle(win::HWND button, win::DWORD style) {
    win::SendMessageA(button, win::BM_SETSTYLE, style, win::TRUE);
}

bool refuses(win::HWND field, win::HWND newFocus, int force, const FieldRecord& rec) {
    char buffer[256] = {};
    win::GetWindowTextA(field, buffer, sizeof buffer);
    const std::string text = buffer;
    if (text.empty()) return rec.valueSet == 1 && rec.hasRange();
    double v = 0.0;
    int ok = 0;
    TextToDoubleChecked(v, ok, text);
    if (ok) return rec.hasRange() && (v < rec.minimum || v > rec.maximum);
    return newFocus != field || force == 1;
}

bool validationBusy = false;

}  // namespace

bool NumericFieldValidate(win::HWND field, win::HWND newFocus, int force) {
    if (validationBusy || gridLayoutBusy()) return false;
    if (!isNumericField(field)) return false;
    if (isRootWindow(newFocus)) return false;
    // A field the user cannot see (its dialog hidden by Cancel or Escape)
    // cannot be corrected, so it lets the focus go.
    if (!win::IsWindowVisible(field)) return false;
    FieldRecord* rec = fieldRecordOf(field);
    if (!rec) return false;
    FieldValidationState& v = fieldValidation();
    v.tabInvalidField = nullptr;
    if (newFocus != field) {
        v.invalidField = nullptr;
        if (rec->leftByTab == 0 && isButton(newFocus)) {
            if (isPushButton(newFocus) && win::GetDlgCtrlID(newFocus) != win::IDOK)
                v.invalidField = field;
        } else if (isTabControl(newFocus)) {
            v.tabInvalidField = field;
        }
    }
    const bool refused = refuses(field, newFocus, force, *rec);
    // A push button's click settles the refusal itself: the focus may go to
    // the button, and the field stays remembered until the click.
    const bool rejected = refused && !v.invalidField;
    if (rejected) {
        validationBusy = true;
        NumericFieldRefocus(newFocus, field, rec->leftByTab);
        validationBusy = false;
    }
    if (!refused && newFocus != field) {
        v.invalidField = nullptr;
        v.tabInvalidField = nullptr;
        v.saveOnNextFocus = 1;
    }
    return rejected;
}

void NumericFieldRefocus(win::HWND target, win::HWND field, int leftByTab) {
    // Taking the focus into a hidden dialog would activate it behind the
    // window the user is in, which takes the focus back: the two would pass
    // it to and fro for ever.
    if (!win::IsWindowVisible(field)) return;
    if (target != field) BeepIfEnabled();
    win::SetFocus(field);
    win::SendMessageA(field, win::EM_SETSEL, 0, -1);
    if (!isPushButton(target)) return;
    const auto answer = win::SendMessageA(win::GetParent(target), win::DM_GETDEFID, 0, 0);
    const int d = win::LOWORD(static_cast<win::DWORD>(answer));
    if (d == win::GetDlgCtrlID(target)) return;
    // Show which button Enter presses while the focus stays in the field.
    setButtonStyle(target, leftByTab == 1 ? win::BS_DEFPUSHBUTTON : win::BS_PUSHBUTTON);
    if (d != 0)
        if (win::HWND other = win::GetDlgItem(win::GetParent(target), d))
            setButtonStyle(other, leftByTab == 1 ? win::BS_PUSHBUTTON : win::BS_DEFPUSHBUTTON);
}

void DialogPressDefaultButton(win::HWND control) {
    win::HWND d = win::GetParent(control);
    while (d && !isDialog(d))
        d = win::GetParent(d);
    if (!d) return;
    const auto answer = static_cast<win::DWORD>(win::SendMessageA(d, win::DM_GETDEFID, 0, 0));
    int id = win::HIWORD(answer) == win::DC_HASDEFID ? win::LOWORD(answer) : win::IDOK;
    // Nested dialogs (tab pages, embedded dialogs) send to the outermost.
    while ((win::GetWindowLongA(d, win::GWL_STYLE) & win::WS_CHILD) && isDialog(win::GetParent(d)))
        d = win::GetParent(d);
    win::HWND button = win::GetDlgItem(d, id & 0xFFFF);
    if (button && !win::IsWindowEnabled(button)) return;
    win::SendMessageA(d, win::WM_COMMAND, win::MAKEWPARAM(static_cast<win::WORD>(id & 0xFFFF), 0),
                      reinterpret_cast<win::LPARAM>(button));
}

void NumericEditHooksBind() {
    DialogPartHooks& h = dialogPartHooks();
    h.numericEditClassesRegister = NumericEditClassesRegister;
    h.numericFieldRefuses = NumericFieldValidate;
    h.pressDefaultButton = DialogPressDefaultButton;
    h.numericFieldRefocus = NumericFieldRefocus;
}

}  // namespace tk
