#include "toolkit/dialogs/field_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {
namespace {

constexpr int kGridReadOnly = 0x800;

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

void setStyle(win::HWND h, win::DWORD style) {
    win::SetWindowLongPtrA(h, win::GWL_STYLE, static_cast<win::LONG_PTR>(style));
}

std::string_view fieldTrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

bool blank(std::string_view s) {
    return s.find_first_not_of(" \0", 0, 2) == std::string_view::npos;
}

// Checks the current dialog and finds the field; reports 1005 / 1006.
win::HWND fieldOrReport(int field, std::string_view routine) {
    if (toolkitState().CurrentDialogNumber == 0 || !currentDialog()) {
        ReportLibraryError(1005, routine);
        return nullptr;
    }
    win::HWND h = currentField(field);
    if (!h) ReportLibraryError(1006, routine);
    return h;
}

bool noDialog(std::string_view routine) {
    if (toolkitState().CurrentDialogNumber != 0 && currentDialog()) return false;
    ReportLibraryError(1005, routine);
    return true;
}

void setupEdit(win::HWND c, FieldRecord& r) {
    const bool multi = (styleOf(c) & win::ES_MULTILINE) != 0;
    r.maximumLength = multi ? kMultiLineTextLimit : kEditTextLimit;
    win::SendMessageA(c, win::EM_LIMITTEXT, static_cast<win::WPARAM>(r.maximumLength), 0);
}

void loadButtonImage(win::HWND c, win::DWORD& style) {
    const int id = win::GetDlgCtrlID(c);
    const auto name = win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
    win::HANDLE image = nullptr;
    win::UINT kind = 0;
    if (style & win::BS_BITMAP) {
        image = win::LoadImageA(nullptr, name, win::IMAGE_BITMAP, 0, 0,
                                win::LR_LOADMAP3DCOLORS | win::LR_LOADTRANSPARENT);
        kind = win::IMAGE_BITMAP;
    } else if (style & win::BS_ICON) {
        image = win::LoadIconA(nullptr, name);
        kind = win::IMAGE_ICON;
    } else {
        return;
    }
    if (!image) {
        style &= ~(win::BS_BITMAP | win::BS_ICON);
        return;
    }
    auto old = reinterpret_cast<win::HANDLE>(
        win::SendMessageA(c, win::BM_SETIMAGE, kind, reinterpret_cast<win::LPARAM>(image)));
    FieldImageDestroy(old, kind == win::IMAGE_BITMAP ? 1 : 2);
}

void loadStaticImage(win::HWND c, win::DWORD style) {
    const int id = win::GetDlgCtrlID(c);
    const auto name = win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
    const win::DWORD type = style & win::SS_TYPEMASK;
    if (type == win::SS_BITMAP || type == win::SS_ICON) {
        const win::UINT kind = type == win::SS_BITMAP ? win::IMAGE_BITMAP : win::IMAGE_ICON;
        if (win::SendMessageA(c, win::STM_GETIMAGE, kind, 0)) return;
        win::HANDLE image = kind == win::IMAGE_BITMAP
                                ? win::LoadImageA(nullptr, name, win::IMAGE_BITMAP, 0, 0, 0)
                                : reinterpret_cast<win::HANDLE>(win::LoadIconA(nullptr, name));
        if (image)
            win::SendMessageA(c, win::STM_SETIMAGE, kind, reinterpret_cast<win::LPARAM>(image));
    } else if (type == win::SS_ENHMETAFILE) {
        FieldPutMetafileResource(c, id);
    }
}

void setupControl(win::HWND c) {
    if (numericFieldType(c) == 0 || !fieldRecordOf(c)) FieldRecordCreate(c);
    FieldRecord& r = *fieldRecordOf(c);
    win::DWORD style = styleOf(c);
    const ControlClassAtoms& a = controlClassAtoms();
    win::WNDPROC special = nullptr;
    switch (controlClassOf(c)) {
        case ControlClass::Edit:
            setupEdit(c, r);
            special = EditSubclassProcedure;
            break;
        case ControlClass::Button: {
            const win::DWORD type = style & win::BS_TYPEMASK;
            if (type == win::BS_CHECKBOX || type == win::BS_3STATE || type == win::BS_AUTO3STATE)
                style = (style & ~win::BS_TYPEMASK) | win::BS_AUTOCHECKBOX;
            else if (type == win::BS_RADIOBUTTON)
                style = (style & ~win::BS_TYPEMASK) | win::BS_AUTORADIOBUTTON;
            loadButtonImage(c, style);
            special = a.buttonProcedure ? ButtonSubclassProcedure : nullptr;
            break;
        }
        case ControlClass::Static:
            loadStaticImage(c, style);
            special = a.staticProcedure ? StaticSubclassProcedure : nullptr;
            break;
        case ControlClass::Trackbar:
            special = a.trackbarProcedure ? TrackbarSubclassProcedure : nullptr;
            break;
        case ControlClass::Tab:
            win::SendMessageA(c, win::TCM_SETITEMEXTRA, sizeof(TabItemExtra), 0);
            special = a.tabProcedure ? TabSubclassProcedure : nullptr;
            break;
        case ControlClass::TreeView:
            style |= win::TVS_HASBUTTONS | win::TVS_HASLINES | win::TVS_LINESATROOT |
                     win::TVS_DISABLEDRAGDROP | win::TVS_SHOWSELALWAYS;
            special = a.treeViewProcedure ? TreeViewSubclassProcedure : nullptr;
            break;
        default:
            break;
    }
    if (special)
        win::SetWindowLongPtrA(c, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(special));
    setStyle(c, style);
    win::LONG_PTR ex = win::GetWindowLongPtrA(c, win::GWL_EXSTYLE) & ~win::WS_EX_NOPARENTNOTIFY;
    const win::DWORD staticType = style & win::SS_TYPEMASK;
    const bool frame = controlClassIs(c, ControlClass::Static) &&
                       (staticType == win::SS_BLACKFRAME || staticType == win::SS_GRAYFRAME ||
                        staticType == win::SS_WHITEFRAME || staticType == win::SS_ETCHEDFRAME);
    if (FieldTypeQuery(c) == FieldGroupBox || frame) ex |= win::WS_EX_TRANSPARENT;
    win::SetWindowLongPtrA(c, win::GWL_EXSTYLE, ex);
    r.previousProcedure =
        reinterpret_cast<win::WNDPROC>(win::GetWindowLongPtrA(c, win::GWL_WNDPROC));
    win::SetWindowLongPtrA(c, win::GWL_WNDPROC,
                           reinterpret_cast<win::LONG_PTR>(FieldSubclassProcedure));
}

bool anyStretchAround(win::HWND dialog) {
    for (win::HWND d = dialog; d; d = win::GetParent(d)) {
        if (DialogHasStretchField(d)) return true;
        if (!isChildStyle(d)) break;
    }
    return false;
}

bool insideClient(win::HWND dialog, win::HWND control) {
    win::RECT c{}, r{};
    win::GetClientRect(dialog, &c);
    win::GetWindowRect(control, &r);
    win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&r), 2);
    return r.left >= c.left && r.top >= c.top && r.right <= c.right && r.bottom <= c.bottom;
}

void putNumber(int field, double value, std::string_view text, std::string_view format,
               std::string_view routine) {
    if (noDialog(routine)) return;
    win::HWND h = currentField(field);
    if (h && !FieldRangeCheck(h, value)) return ReportLibraryError(1009, routine);
    int f = field;
    FieldTextPut(f, value, text, format);
    if (f == -1) ReportLibraryError(1006, routine);
}

}  // namespace

std::string windowText(win::HWND h, std::size_t limit) {
    const int n = win::GetWindowTextLengthA(h);
    std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
    win::GetWindowTextA(h, s.data(), static_cast<int>(s.size()));
    s.resize(std::strlen(s.c_str()));
    if (s.size() > limit) s.resize(limit);
    return s;
}

void DialogInitFields(win::HWND dialog) {
    std::vector<win::HWND> children;
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT))
        children.push_back(c);
    for (win::HWND c : children)
        setupControl(c);
}

int FieldTypeQuery(win::HWND c) {
    const win::DWORD style = styleOf(c);
    switch (controlClassOf(c)) {
        case ControlClass::Static: {
            const win::DWORD t = style & win::SS_TYPEMASK;
            return t == win::SS_LEFT || t == win::SS_CENTER || t == win::SS_LEFTNOWORDWRAP
                       ? FieldLabel
                       : FieldOtherStatic;
        }
        case ControlClass::Button:
            if ((style & 7) == 7) return FieldGroupBox;
            if ((style & 3) == 3) return FieldCheckBox;
            if ((style & 9) == 9) return FieldRadioButton;
            return FieldPushButton;
        case ControlClass::Edit:
            return FieldString;
        case ControlClass::NumericEdit:
            return numericFieldType(c);
        case ControlClass::ComboBox:
            return FieldComboBox;
        case ControlClass::ListBox:
            return FieldListBox;
        case ControlClass::Tab:
            return FieldTab;
        case ControlClass::Progress:
            return FieldProgressBar;
        case ControlClass::Grid:
            return FieldGrid;
        case ControlClass::Trackbar:
            return FieldTrackbar;
        case ControlClass::TreeView:
            return FieldTreeView;
        default:
            return FieldOther;
    }
}

int FieldStateQuery(win::HWND c) {
    const win::DWORD style = styleOf(c);
    if (!(style & win::WS_VISIBLE)) return StateHidden;
    if (style & win::WS_DISABLED) return StateDisabled;
    const ControlClass cls = controlClassOf(c);
    if ((cls == ControlClass::Edit || cls == ControlClass::NumericEdit ||
         cls == ControlClass::Grid) &&
        (style & win::ES_READONLY))
        return StateReadOnly;
    return StateEnabled;
}

void FieldTextPut(int& field, double value, std::string_view text, std::string_view format) {
    win::HWND h = currentField(field);
    FieldRecord* r = fieldRecordOf(h);
    if (!h) {
        field = -1;
        return;
    }
    const int savedTyping = r ? r->reportTyping : 0;
    if (r) r->reportTyping = 0;
    std::string t(fieldTrimRight(text));
    if (!win::SetWindowTextA(h, t.c_str())) {
        if (r) r->reportTyping = savedTyping;
        field = -1;
        return;
    }
    if (r) {
        r->value = value;
        if (value == 0.0) {
            double read = 0.0;
            int ok = 0;
            TextToDoubleChecked(read, ok, t);
            if (ok) r->value = read;
        }
        r->valueSet = blank(t) ? 0 : 1;
        r->formatText = std::string(fieldTrimRight(format));
    }
    if (isEditLike(h)) win::SendMessageA(h, win::EM_SETMODIFY, win::FALSE, 0);
    win::UpdateWindow(h);
    if (r) r->reportTyping = savedTyping;
}

void DlgPutInteger(int field, int value) {
    std::array<char, 101> text{};
    yyint2st(value, std::span<char>(text.data(), 100));
    putNumber(field, value, text.data(), "", "DlgPutInteger");
}

void DlgPutReal(int field, float value, std::optional<std::string_view> format) {
    if (noDialog("DlgPutReal")) return;
    std::string fmt;
    if (format && !blank(*format)) {
        fmt = std::string(fieldTrimRight(*format));
    } else {
        win::HWND h = currentField(field);
        FieldRecord* r = fieldRecordOf(h);
        const int t = h ? numericFieldType(h) : 0;
        const bool plainEdit = t != 0 && !isSpinField(h);
        if (r && plainEdit && (t == FieldReal || t == FieldDouble) && !r->formatText.empty())
            fmt = r->formatText;
        else
            fmt = std::string(kDefaultRealFormat);
    }
    std::array<char, 101> text{};
    yyrea2st(value, std::span<char>(text.data(), 100), fmt);
    putNumber(field, static_cast<double>(value), text.data(), fmt, "DlgPutReal");
}

void DlgPutString(int field, std::string_view text) {
    if (noDialog("DlgPutString")) return;
    int f = field;
    FieldTextPut(f, 0.0, fieldTrimRight(text), "");
    if (f == -1) ReportLibraryError(1006, "DlgPutString");
}

void FieldNumberGet(int& field, double& value) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    std::string text = windowText(h, 255);
    if (blank(text)) {
        field = -2;
        return;
    }
    FieldRecord* r = fieldRecordOf(h);
    if (r && numericFieldType(h) != 0 && !win::SendMessageA(h, win::EM_GETMODIFY, 0, 0)) {
        value = r->value;
        return;
    }
    TextToDoubleQuiet(value, text);
}

void DlgGetInteger(int field, int& value) {
    if (noDialog("DlgGetInteger")) return;
    int f = field;
    double v = 0.0;
    FieldNumberGet(f, v);
    if (f == -1) return ReportLibraryError(1006, "DlgGetInteger");
    if (f == -2) {
        value = kUndefinedInteger;
        return ReportLibraryError(1010, "DlgGetInteger");
    }
    const double t = std::trunc(v);
    value = t >= 2147483647.0    ? 2147483647
            : t <= -2147483648.0 ? -2147483647 - 1
                                 : static_cast<int>(t);
}

void DlgGetReal(int field, float& value) {
    if (noDialog("DlgGetReal")) return;
    int f = field;
    double v = 0.0;
    FieldNumberGet(f, v);
    if (f == -1) return ReportLibraryError(1006, "DlgGetReal");
    if (f == -2) {
        value = kUndefinedReal;
        return ReportLibraryError(1010, "DlgGetReal");
    }
    value = static_cast<float>(v);
}

void FieldTextGet(int& field, std::string& text) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    text = windowText(h);
}

void DlgGetString(int field, std::span<char> text) {
    if (noDialog("DlgGetString")) return;
    std::fill(text.begin(), text.end(), ' ');
    int f = field;
    std::string s;
    FieldTextGet(f, s);
    if (f == -1) return ReportLibraryError(1006, "DlgGetString");
    std::copy_n(s.begin(), std::min(s.size(), text.size()), text.begin());
}

void FieldTextLength(int& field, int& length) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    length = win::GetWindowTextLengthA(h);
}

void DlgGetStringLength(int field, int& length) {
    if (noDialog("DlgGetStringLength")) return;
    int f = field;
    FieldTextLength(f, length);
    if (f == -1) ReportLibraryError(1006, "DlgGetStringLength");
}

namespace {
bool autoCheckOrRadio(win::HWND h) {
    if (!controlClassIs(h, ControlClass::Button)) return false;
    const win::DWORD t = styleOf(h) & win::BS_TYPEMASK;
    return t == win::BS_AUTOCHECKBOX || t == win::BS_AUTORADIOBUTTON;
}
bool autoRadio(win::HWND h) {
    return controlClassIs(h, ControlClass::Button) &&
           (styleOf(h) & win::BS_TYPEMASK) == win::BS_AUTORADIOBUTTON;
}
}  // namespace

void DlgPutCheckBox(int field, int state) {
    win::HWND h = fieldOrReport(field, "DlgPutCheckBox");
    if (!h) return;
    if (!autoCheckOrRadio(h)) return ReportLibraryError(1006, "DlgPutCheckBox");
    win::SendMessageA(h, win::BM_SETCHECK, static_cast<win::WPARAM>(state), 0);
}

void DlgGetCheckBox(int field, int& state) {
    win::HWND h = fieldOrReport(field, "DlgGetCheckBox");
    if (!h) return;
    if (!autoCheckOrRadio(h)) return ReportLibraryError(1006, "DlgGetCheckBox");
    state = static_cast<int>(win::SendMessageA(h, win::BM_GETCHECK, 0, 0));
}

void RadioGroupBounds(win::HWND field, win::HWND& first, win::HWND& last) {
    const ControlClass cls = controlClassOf(field);
    auto sameClass = [cls](win::HWND h) { return controlClassOf(h) == cls; };
    auto group = [](win::HWND h) { return (styleOf(h) & win::WS_GROUP) != 0; };
    first = field;
    win::HWND h = field;
    while (h && !group(h) && sameClass(h)) {
        first = h;
        h = win::GetWindow(h, win::GW_HWNDPREV);
    }
    if (h && sameClass(h)) first = h;
    last = first;
    for (win::HWND n = win::GetWindow(first, win::GW_HWNDNEXT); n && !group(n) && sameClass(n);
         n = win::GetWindow(n, win::GW_HWNDNEXT))
        last = n;
    // A field after `last` (it had WS_GROUP but is not the first) still
    // belongs with itself.
    if (field != first && group(field)) first = last = field;
}

void RadioButtonPut(win::HWND field) {
    win::HWND first = nullptr, last = nullptr;
    RadioGroupBounds(field, first, last);
    for (win::HWND h = first; h; h = win::GetWindow(h, win::GW_HWNDNEXT)) {
        win::SendMessageA(h, win::BM_SETCHECK, h == field ? win::BST_CHECKED : win::BST_UNCHECKED,
                          0);
        if (h == last) break;
    }
}

int RadioGroupGet(win::HWND field) {
    win::HWND first = nullptr, last = nullptr;
    RadioGroupBounds(field, first, last);
    int position = 1;
    for (win::HWND h = first; h; h = win::GetWindow(h, win::GW_HWNDNEXT), ++position) {
        if (win::SendMessageA(h, win::BM_GETCHECK, 0, 0) == win::BST_CHECKED) return position;
        if (h == last) break;
    }
    return -2;
}

void DlgPutRadioButton(int field) {
    win::HWND h = fieldOrReport(field, "DlgPutRadioButton");
    if (!h) return;
    if (!autoRadio(h)) return ReportLibraryError(1006, "DlgPutRadioButton");
    RadioButtonPut(h);
}

void DlgGetRadioButton(int field, int& position) {
    win::HWND h = fieldOrReport(field, "DlgGetRadioButton");
    if (!h) return;
    int p = RadioGroupGet(h);
    if (p == -2) {
        position = kUndefinedInteger;
        return ReportLibraryError(1010, "DlgGetRadioButton");
    }
    position = p;
}

void FieldStateApply(win::HWND dialog, win::HWND h, int state, bool deferPaint) {
    FieldRecord* r = fieldRecordOf(h);
    if (r) r->state = state;
    if (!insideClient(dialog, h) && !anyStretchAround(dialog)) return;
    win::HWND focus = win::GetFocus();
    const bool hadFocus = focus && (focus == h || win::IsChild(h, focus));
    const ControlClass cls = controlClassOf(h);
    win::HWND buddy = r && r->buddy && win::IsWindow(r->buddy) ? r->buddy : nullptr;
    if (cls == ControlClass::Edit || cls == ControlClass::NumericEdit) {
        win::EnableWindow(h, state == 1 || state == 2);
        win::SendMessageA(h, win::EM_SETREADONLY, state == 2, 0);
        if (buddy) win::EnableWindow(buddy, state == 1);
    } else if (cls == ControlClass::Grid) {
        win::EnableWindow(h, state == 1 || state == 2);
        win::DWORD s = styleOf(h);
        setStyle(h,
                 state == 2 ? (s | kGridReadOnly) : (s & ~static_cast<win::DWORD>(kGridReadOnly)));
        win::InvalidateRect(h, nullptr, win::TRUE);
    } else {
        win::EnableWindow(h, state == 1);
        if (buddy) win::EnableWindow(buddy, state == 1);
    }
    const int show = state == 3 ? win::SW_HIDE : win::SW_SHOWNA;
    win::ShowWindow(h, show);
    if (buddy) win::ShowWindow(buddy, show);
    if (cls == ControlClass::Tab) {
        const int sel = static_cast<int>(win::SendMessageA(h, win::TCM_GETCURSEL, 0, 0));
        if (win::HWND page = dialogWindowOf(tabItemExtra(h, sel).pageId);
            page && win::GetParent(page) == dialog)
            win::ShowWindow(page, show);
    }
    if (cls == ControlClass::Static) win::InvalidateRect(h, nullptr, win::TRUE);
    if (!(deferPaint && r && r->isDrawingTarget)) win::UpdateWindow(h);
    if (hadFocus && (state == 0 || state == 3)) {
        DialogRecord* rec = dialogRecordOf(dialog);
        if (rec) rec->focusToRestore = nullptr;
        win::SetFocus(rec && rec->combinedWindow ? rec->combinedWindow : dialog);
    }
}

void FieldStateSet(int& field, int state, bool deferPaint) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    FieldStateApply(currentDialog(), h, state, deferPaint);
}

void DlgFieldState(int field, int state) {
    if (noDialog("DlgFieldState")) return;
    int f = field;
    FieldStateSet(f, state, false);
    if (f == -1) ReportLibraryError(1006, "DlgFieldState");
}

void FieldSelectAllText(win::HWND c) {
    const ControlClass cls = controlClassOf(c);
    if (cls == ControlClass::Edit || cls == ControlClass::NumericEdit) {
        if (cls == ControlClass::Edit && (styleOf(c) & win::ES_MULTILINE))
            win::SendMessageA(c, win::EM_SETSEL, static_cast<win::WPARAM>(-1), 0);
        else
            win::SendMessageA(c, win::EM_SETSEL, 0, -1);
        win::SendMessageA(c, win::EM_SCROLLCARET, 0, 0);
    } else if (cls == ControlClass::ComboBox) {
        win::SendMessageA(c, win::CB_SETEDITSEL, 0, win::MAKELONG(0, 0xFFFF));
    }
}

void DialogFieldSetFocus(int& field, std::optional<int> caret) {
    win::HWND d = currentDialog();
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    if (!win::IsWindowVisible(d)) return;
    win::SetFocus(h);
    const ControlClass cls = controlClassOf(h);
    if (caret && (cls == ControlClass::Edit || cls == ControlClass::NumericEdit)) {
        const auto p = static_cast<win::WPARAM>(std::max(*caret - 1, 0));
        win::SendMessageA(h, win::EM_SETSEL, p, static_cast<win::LPARAM>(p));
        win::SendMessageA(h, win::EM_SCROLLCARET, 0, 0);
    } else if (caret && cls == ControlClass::ComboBox) {
        const int p = std::max(*caret - 1, 0);
        win::SendMessageA(h, win::CB_SETEDITSEL, 0, win::MAKELONG(p, p));
    } else {
        FieldSelectAllText(h);
    }
    if (DialogRecord* rec = dialogRecordOf(d)) rec->changedField() = field;
    DialogFocusRemember(d, h);
    if (isChildStyle(d)) {
        win::SetWindowPos(d, win::HWND_TOP, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
        dialogTable().activeDialog = d;
    }
}

void DlgSetField(int field, std::optional<int> caret) {
    if (noDialog("DlgSetField")) return;
    int f = field;
    DialogFieldSetFocus(f, caret);
    if (f == -1) ReportLibraryError(1006, "DlgSetField");
}

void FieldColourStore(win::HWND control, int which, int red, int green, int blue) {
    FieldRecord* r = fieldRecordOf(control);
    if (!r) return;
    const int colour = red == 256 ? -1 : (red | (green << 8) | (blue << 16));
    (which == 0 ? r->textColour : r->backgroundColour) = colour;
}

void FieldColourSet(win::HWND control, std::optional<int> text, std::optional<int> background) {
    FieldRecord* r = fieldRecordOf(control);
    if (!r) return;
    if (text) r->textColour = *text < 0 ? -1 : *text;
    if (background) r->backgroundColour = *background < 0 ? -1 : *background;
    win::RedrawWindow(control, nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_INTERNALPAINT | win::RDW_ERASE |
                          win::RDW_ALLCHILDREN | win::RDW_UPDATENOW | win::RDW_ERASENOW);
}

void DlgColour(int field, std::optional<int> textColour, std::optional<int> backgroundColour) {
    win::HWND h = fieldOrReport(field, "DlgColour");
    if (h) FieldColourSet(h, textColour, backgroundColour);
}

void FieldRangeSet(win::HWND control, double minimum, double maximum) {
    if (FieldRecord* r = fieldRecordOf(control)) {
        r->minimum = minimum;
        r->maximum = maximum;
    }
}

bool FieldRangeCheck(win::HWND control, double value) {
    FieldRecord* r = fieldRecordOf(control);
    if (!r || !r->hasRange()) return true;
    return value >= r->minimum && value <= r->maximum;
}

void DlgRangeInteger(int field, std::optional<int> lower, std::optional<int> upper) {
    win::HWND h = fieldOrReport(field, "DlgRangeInteger");
    if (!h) return;
    if (!lower && !upper) return FieldRangeSet(h, kNoRangeMinimum, kNoRangeMaximum);
    FieldRangeSet(h, lower.value_or(-2147483647), upper.value_or(2147483647));
}

void DlgFieldOptions(int field, int option, int value) {
    if (noDialog("DlgFieldOptions")) return;
    win::HWND h = nullptr;
    if (field == 0) {
        const WindowSystem& w = windowSystem();
        const FrameUserRecord* fr = frameRecord(w.slots[w.CurrentSlot].frame);
        if (fr && fr->kind() == KindGridEditor) h = fr->handle(5);
    } else {
        h = currentField(field);
    }
    if (!h) return ReportLibraryError(1006, "DlgFieldOptions");
    const ControlClass cls = controlClassOf(h);
    if (option == 1 || option == 2) {
        if (cls != ControlClass::Grid) return ReportLibraryError(1006, "DlgFieldOptions");
        const win::DWORD bit = option == 1 ? 0x1000 : 0x4000;
        const win::DWORD s = styleOf(h);
        setStyle(h, value ? (s | bit) : (s & ~bit));
    } else if (option == 3) {
        if (cls != ControlClass::Edit && cls != ControlClass::NumericEdit &&
            cls != ControlClass::ComboBox && cls != ControlClass::Grid)
            return ReportLibraryError(1006, "DlgFieldOptions");
        if (FieldRecord* r = fieldRecordOf(h)) r->reportTyping = value != 0 ? 1 : 0;
    }
}

void DialogFieldClear(int& field) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    FieldRecord* r = fieldRecordOf(h);
    const win::DWORD style = styleOf(h);
    switch (controlClassOf(h)) {
        case ControlClass::Edit:
        case ControlClass::NumericEdit:
            win::SetWindowTextA(h, "");
            win::SendMessageA(h, win::EM_SETMODIFY, win::FALSE, 0);
            break;
        case ControlClass::Static:
            win::SetWindowTextA(h, "");
            break;
        case ControlClass::Button: {
            const win::DWORD t = style & win::BS_TYPEMASK;
            if (t == 0 || t == 1 || t == 7) {
                win::SetWindowTextA(h, "");
            } else if (t == win::BS_AUTOCHECKBOX) {
                win::SendMessageA(h, win::BM_SETCHECK, win::BST_UNCHECKED, 0);
            } else if (t == win::BS_AUTORADIOBUTTON) {
                win::HWND first = nullptr, last = nullptr;
                RadioGroupBounds(h, first, last);
                for (win::HWND b = first; b; b = win::GetWindow(b, win::GW_HWNDNEXT)) {
                    win::SendMessageA(b, win::BM_SETCHECK, win::BST_UNCHECKED, 0);
                    if (b == last) break;
                }
                return;
            } else {
                field = -1;
                return;
            }
            break;
        }
        case ControlClass::ComboBox:
            win::SendMessageA(h, win::CB_RESETCONTENT, 0, 0);
            break;
        case ControlClass::ListBox:
            win::SendMessageA(h, win::LB_RESETCONTENT, 0, 0);
            break;
        case ControlClass::Progress: {
            win::PBRANGE range;
            win::SendMessageA(h, win::PBM_GETRANGE, win::TRUE,
                              reinterpret_cast<win::LPARAM>(&range));
            win::SendMessageA(h, win::PBM_SETPOS, static_cast<win::WPARAM>(range.iLow), 0);
            break;
        }
        case ControlClass::Grid:
            if (dialogPartHooks().gridClearAll) dialogPartHooks().gridClearAll(h);
            break;
        case ControlClass::Trackbar:
            if (style & win::TBS_ENABLESELRANGE)
                win::SendMessageA(h, win::TBM_CLEARSEL, win::TRUE, 0);
            break;
        case ControlClass::TreeView:
            win::SendMessageA(h, win::TVM_DELETEITEM, 0,
                              reinterpret_cast<win::LPARAM>(win::TVI_ROOT));
            break;
        default:
            field = -1;
            return;
    }
    if (r) {
        r->value = 0.0;
        r->valueSet = 0;
    }
}

}  // namespace tk
