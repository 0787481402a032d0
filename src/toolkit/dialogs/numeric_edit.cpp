// Registration of the numeric edit classes, their window procedures and the
// behaviour they share: creation, characters, focus gain and loss, Enter.

#include "toolkit/dialogs/numeric_edit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/controls_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {
namespace {

constexpr int kTextRead = 255;  // at most 254 characters and the NUL

std::string windowText(win::HWND h, int limit = kTextRead) {
    std::string buffer(static_cast<std::size_t>(limit), '\0');
    const int n = win::GetWindowTextA(h, buffer.data(), limit);
    buffer.resize(static_cast<std::size_t>(std::max(n, 0)));
    return buffer;
}

char decimalCharacter() {
    char c = '.';
    if (windowSystem().DecimalInputLocale) LocaleDecimalSeparator(c);
    return c;
}

bool keyHeld(int vk) {
    return win::GetKeyState(vk) < 0;
}

// Which characters a field of the kind lets through.
bool accepted(NumberKind kind, char c) {
    if (c >= '0' && c <= '9') return true;
    switch (c) {
        case '+':
        case '-':
        case 1:
        case 3:
        case 8:
        case 9:
        case 13:
        case 22:
        case 24:
        case 26:
        case 27:
            return true;
        default:
            break;
    }
    if (kind == NumberKind::Integer) return false;
    if (c == 'E' || c == 'e' || c == decimalCharacter()) return true;
    return kind == NumberKind::Double && (c == 'D' || c == 'd');
}

// Rewrites the text in its canonical form and takes its number.
void reformat(win::HWND field, FieldRecord& rec, NumberKind kind) {
    if (kind != NumberKind::Integer && !win::SendMessageA(field, win::EM_GETMODIFY, 0, 0)) return;
    const std::string text = windowText(field);
    if (text.find_first_not_of(' ') == std::string::npos) {
        rec.value = 0.0;
    } else {
        TextToDoubleQuiet(rec.value, text);
        rec.valueSet = 1;
        std::array<char, 256> buffer{};
        std::copy(text.begin(), text.end(), buffer.begin());
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(text.size()), buffer.end(), ' ');
        const std::string_view format =
            rec.formatText.empty() ? kDefaultRealFormat : std::string_view(rec.formatText);
        if (kind == NumberKind::Integer)
            IntegerTextReformat(buffer);
        else if (kind == NumberKind::Real)
            RealTextReformat(buffer, format);
        else
            DoubleTextReformat(buffer, format);
        buffer.back() = '\0';
        win::SetWindowTextA(field, buffer.data());
    }
    win::SendMessageA(field, win::EM_SETMODIFY, 0, 0);
}

win::LRESULT onCreate(win::HWND field, win::WPARAM wp, win::LPARAM lp) {
    const int index = numericClassIndex(field);
    FieldRecord* rec = FieldRecordCreate(field);
    rec->smallStep = 1.0;
    rec->largeStep = 5.0;
    const win::LRESULT result =
        win::CallWindowProcA(numericEditClasses().editProcedure, field, win::WM_CREATE, wp, lp);
    std::string text = windowText(field);
    if (windowSystem().DecimalInputLocale)
        std::replace(text.begin(), text.end(), '.', decimalCharacter());
    win::SetWindowTextA(field, text.c_str());
    TextToDoubleQuiet(rec->value, text);
    rec->valueSet = text.empty() ? 0 : 1;
    win::SendMessageA(field, win::EM_SETMODIFY, 0, 0);
    if (numberKindOf(index) == NumberKind::Integer) {
        rec->maximumLength = 11;
        win::SendMessageA(field, win::EM_LIMITTEXT, 11, 0);
    }
    if (isSpinClass(index)) {
        const auto* cs = reinterpret_cast<const win::CREATESTRUCTA*>(lp);
        SpinButtonCreate(field, index, cs ? static_cast<win::DWORD>(cs->style) : 0, text);
    }
    return result;
}

void onFocusGained(win::HWND field, FieldRecord& rec) {
    FieldValidationState& v = fieldValidation();
    if (v.saveOnNextFocus == 1) {
        v.saveOnNextFocus = 0;
        v.savedFieldText = windowText(field);
        v.savedFieldValue = rec.value;
    }
    rec.leftByTab = 0;
    win::SendMessageA(field, win::EM_SETMODIFY, 0, 0);
}

win::LRESULT classProcedure(int index, win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    const win::WNDPROC edit = numericEditClasses().editProcedure;
    if (msg == win::WM_CHAR) {
        const NumberKind kind = numberKindOf(index);
        const char c = static_cast<char>(wp);
        if (!accepted(kind, c)) {
            BeepIfEnabled();
            return 0;
        }
        if (c == 1) {
            win::SendMessageA(h, win::EM_SETSEL, 0, -1);
            win::SendMessageA(h, win::EM_SCROLLCARET, 0, 0);
            return 0;
        }
        if (c == 'e' || (c == 'd' && kind == NumberKind::Double))
            wp = static_cast<win::WPARAM>(c - 'a' + 'A');
        return win::CallWindowProcA(edit, h, msg, wp, lp);
    }
    bool handled = false;
    const win::LRESULT r = NumericEditCommon(h, msg, wp, lp, handled);
    if (handled) return r;
    if (msg == win::WM_NCDESTROY) {
        const win::LRESULT done = win::CallWindowProcA(edit, h, msg, wp, lp);
        FieldRecordFree(h);
        return done;
    }
    return win::CallWindowProcA(edit, h, msg, wp, lp);
}

}  // namespace

NumericEditClasses& numericEditClasses() {
    static NumericEditClasses classes;
    return classes;
}

bool& gridLayoutBusy() {
    static bool busy = false;
    return busy;
}

int numericClassIndex(win::HWND control) {
    if (!control) return -1;
    const auto atom = static_cast<win::ATOM>(win::GetClassLongA(control, win::GCW_ATOM));
    if (atom == 0) return -1;
    const auto& atoms = numericEditClasses().atoms;
    const auto at = std::find(atoms.begin(), atoms.end(), atom);
    return at == atoms.end() ? -1 : static_cast<int>(at - atoms.begin());
}

void NumericEditClassesRegister() {
    // Called when the root window opens: the first numeric field to get the
    // focus keeps its content as the last valid one.
    fieldValidation().saveOnNextFocus = 1;
    win::WNDCLASSA existing;
    if (win::GetClassInfoA(nullptr, "INTEGEREDIT", &existing)) return;
    win::HWND root = windowSystem().slots[0].frame;
    win::HWND probe = win::CreateWindowExA(0, "EDIT", " ", root ? win::WS_CHILD : win::WS_POPUP, 0,
                                           0, 0, 0, root, nullptr, nullptr, nullptr);
    if (!probe) return;
    NumericEditClasses& c = numericEditClasses();
    c.editProcedure =
        reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(probe, win::GWLP_WNDPROC));
    c.editAtom = static_cast<win::ATOM>(win::GetClassLongA(probe, win::GCW_ATOM));
    win::WNDCLASSA wc;
    wc.style = static_cast<win::UINT>(win::GetClassLongA(probe, win::GCL_STYLE));
    wc.cbClsExtra = static_cast<int>(win::GetClassLongA(probe, win::GCL_CBCLSEXTRA));
    wc.cbWndExtra = static_cast<int>(win::GetClassLongA(probe, win::GCL_CBWNDEXTRA));
    wc.hIcon = reinterpret_cast<win::HICON>(win::GetClassLongPtrA(probe, win::GCLP_HICON));
    wc.hCursor = reinterpret_cast<win::HCURSOR>(win::GetClassLongPtrA(probe, win::GCLP_HCURSOR));
    wc.hbrBackground =
        reinterpret_cast<win::HBRUSH>(win::GetClassLongPtrA(probe, win::GCLP_HBRBACKGROUND));
    win::DestroyWindow(probe);
    const win::WNDPROC procedures[] = {IntegerEditProcedure, IntegerSpinProcedure,
                                       RealEditProcedure,    RealSpinProcedure,
                                       DoubleEditProcedure,  DoubleSpinProcedure};
    for (std::size_t i = 0; i < kNumericEditClassNames.size(); ++i) {
        const std::string name(kNumericEditClassNames[i]);
        wc.lpfnWndProc = procedures[i];
        wc.lpszClassName = name.c_str();
        c.atoms[i] = win::RegisterClassA(&wc);
    }
}

win::LRESULT NumericEditCommon(win::HWND field, win::UINT message, win::WPARAM wp, win::LPARAM lp,
                               bool& handled) {
    handled = true;
    const win::WNDPROC edit = numericEditClasses().editProcedure;
    if (message == win::WM_CREATE) return onCreate(field, wp, lp);
    FieldRecord* rec = fieldRecordOf(field);
    if (!rec) {
        handled = false;
        return 0;
    }
    switch (message) {
        case win::WM_SETFOCUS:
            onFocusGained(field, *rec);
            return win::CallWindowProcA(edit, field, message, wp, lp);
        case win::WM_KEYDOWN:
            if (wp == win::VK_TAB) rec->leftByTab = 1;
            if (wp == win::VK_RETURN && !keyHeld(win::VK_CONTROL) && !keyHeld(win::VK_MENU)) {
                DialogPressDefaultButton(field);
                return 0;
            }
            return win::CallWindowProcA(edit, field, message, wp, lp);
        case win::WM_KILLFOCUS: {
            if (NumericFieldValidate(field, reinterpret_cast<win::HWND>(wp), 0)) return 0;
            const win::LRESULT r = win::CallWindowProcA(edit, field, message, wp, lp);
            // Validation may have moved things on; the record is read again.
            if (FieldRecord* now = fieldRecordOf(field))
                reformat(field, *now, numberKindOf(numericClassIndex(field)));
            return r;
        }
        default:
            handled = false;
            return 0;
    }
}

win::LRESULT IntegerEditProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(0, h, m, wp, lp);
}
win::LRESULT IntegerSpinProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(1, h, m, wp, lp);
}
win::LRESULT RealEditProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(2, h, m, wp, lp);
}
win::LRESULT RealSpinProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(3, h, m, wp, lp);
}
win::LRESULT DoubleEditProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(4, h, m, wp, lp);
}
win::LRESULT DoubleSpinProcedure(win::HWND h, win::UINT m, win::WPARAM wp, win::LPARAM lp) {
    return classProcedure(5, h, m, wp, lp);
}

}  // namespace tk
