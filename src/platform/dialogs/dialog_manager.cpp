// Dialogs: creation from templates, the dialog class's default procedure,
// the modal loop and the helpers on dialog items.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_internal.h"
#include "platform/dialogs/dialog_template.h"
#include "platform/gdi/gdi.h"
#include "platform/resources/resource_api.h"
#include "platform/window/menu_api.h"

namespace win::dialogs {
namespace {

controls::Records<Dialog>& records() {
    static controls::Records<Dialog> r;
    return r;
}

// Dialog base units from a font: the average width of the letters and the
// character height.
void measureFont(Dialog& d) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, controls::fontOrDefault(d.font));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SIZE s;
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(dc, letters, 52, &s);
    SelectObject(dc, old);
    DeleteDC(dc);
    d.baseX = std::max(1, static_cast<int>((s.cx / 26 + 1) / 2));
    d.baseY = std::max(1, static_cast<int>(tm.tmHeight));
}

RECT toPixels(const Dialog& d, int x, int y, int cx, int cy) {
    return {x * d.baseX / 4, y * d.baseY / 8, (x + cx) * d.baseX / 4, (y + cy) * d.baseY / 8};
}

bool isPushButton(HWND h) {
    return (SendMessageA(h, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) !=
           0;
}

void setButtonDefault(HWND button, bool isDefault) {
    if (!button || !isPushButton(button)) return;
    SendMessageA(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// Which push button looks like the default one: the focused push button, or
// else the dialog's default button.
void showDefaultButton(HWND dialog, HWND focus) {
    Dialog* d = dialogOf(dialog);
    if (!d) return;
    HWND def = d->defaultId ? GetDlgItem(dialog, d->defaultId) : nullptr;
    HWND want = (focus && IsChild(dialog, focus) && isPushButton(focus)) ? focus : def;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (isPushButton(c)) {
            const bool isDef = (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
            if (isDef != (c == want)) setButtonDefault(c, c == want);
        }
}

HFONT makeDialogFont(const DialogTemplate& t) {
    const int height = -(t.pointSize * 96 + 36) / 72;
    return CreateFontA(height, 0, 0, 0, t.weight, t.italic ? TRUE : FALSE, FALSE, FALSE, 0, 0, 0, 0,
                       0, t.face.c_str());
}

POINT placeDialog(const DialogTemplate& t, const RECT& frame, HWND parent, const Dialog& d) {
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    POINT p{t.x * d.baseX / 4, t.y * d.baseY / 8};
    if (t.style & WS_CHILD) return p;
    if (t.style & DS_CENTER) {
        const RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        p = {area.left + (area.right - area.left - w) / 2,
             area.top + (area.bottom - area.top - h) / 2};
    } else if (parent && !(t.style & DS_ABSALIGN)) {
        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        p.x += origin.x;
        p.y += origin.y;
    }
    if (!(t.style & DS_CENTER)) {
        p.x += frame.left;
        p.y += frame.top;
    }
    // Kept on the screen.
    p.x = std::clamp(static_cast<int>(p.x), 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
    p.y = std::clamp(static_cast<int>(p.y), 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - h));
    return p;
}

bool createItems(HWND dialog, const DialogTemplate& t, Dialog& d, HINSTANCE instance) {
    for (const TemplateItem& it : t.items) {
        DWORD style = it.style | WS_CHILD;
        DWORD ex = it.exStyle | WS_EX_NOPARENTNOTIFY;
        std::string cls = it.className;
        std::string upper = cls;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // Bordered fields get the sunken edge of the three-dimensional look.
        if ((upper == "EDIT" || upper == "LISTBOX") && (style & WS_BORDER)) {
            style &= ~static_cast<DWORD>(WS_BORDER);
            ex |= WS_EX_CLIENTEDGE;
        }
        const RECT r = toPixels(d, it.x, it.y, it.cx, it.cy);
        LPCSTR text = it.textIsOrdinal ? MAKEINTRESOURCEA(it.textOrdinal) : it.text.c_str();
        HWND c = CreateWindowExA(
            ex, cls.c_str(), text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(static_cast<WORD>(it.id))),
            instance, nullptr);
        if (!c) {
            if (t.style & DS_NOFAILCREATE) continue;
            return false;
        }
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
        if (!d.defaultId && upper == "BUTTON" && (it.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            d.defaultId = it.id;
    }
    return true;
}

HWND createDialog(HINSTANCE instance, const void* data, HWND parent, DLGPROC proc, LPARAM param,
                  bool modal) {
    DialogTemplate t;
    if (!parseTemplate(data, t)) return nullptr;
    Dialog probe;
    HFONT font = nullptr;
    if (t.hasFont) font = makeDialogFont(t);
    probe.font = font;
    measureFont(probe);

    DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
    DWORD ex = t.exStyle;
    if (style & DS_MODALFRAME) ex |= WS_EX_DLGMODALFRAME;
    if (style & DS_CONTROL) {
        style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
        ex |= WS_EX_CONTROLPARENT;
    }
    HMENU menu = nullptr;
    if (!(style & WS_CHILD)) {
        if (t.menuId)
            menu = LoadMenuA(instance, MAKEINTRESOURCEA(t.menuId));
        else if (!t.menuName.empty())
            menu = LoadMenuA(instance, t.menuName.c_str());
    }
    RECT frame = toPixels(probe, 0, 0, t.cx, t.cy);
    AdjustWindowRectEx(&frame, style, menu != nullptr, ex);
    const POINT at = placeDialog(t, frame, parent, probe);
    HWND owner = parent;
    if (!(style & WS_CHILD) && owner) owner = GetAncestor(owner, GA_ROOT);
    const char* cls = t.className.empty() ? kDialogClassName : t.className.c_str();
    HWND h =
        CreateWindowExA(ex, cls, t.caption.c_str(), style, at.x, at.y, frame.right - frame.left,
                        frame.bottom - frame.top, owner, menu, instance, nullptr);
    if (!h) {
        if (font) DeleteObject(font);
        return nullptr;
    }
    Dialog* d = records().get(h);
    if (!d) d = records().create(h);
    d->font = font;
    d->ownsFont = font != nullptr;
    d->baseX = probe.baseX;
    d->baseY = probe.baseY;
    d->modal = modal;
    SetWindowLongPtrA(h, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (!createItems(h, t, *d, instance)) {
        DestroyWindow(h);
        return nullptr;
    }
    if (font) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HWND first = firstTabItem(h);
    const LRESULT wantsFocus =
        SendMessageA(h, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(h)) return nullptr;
    if (wantsFocus && first) {
        if (t.style & WS_VISIBLE)
            focusControl(h, first);
        else if (Dialog* again = dialogOf(h))
            again->savedFocus = first;
    }
    showDefaultButton(h, GetFocus());
    if (t.style & WS_VISIBLE) {
        ShowWindow(h, SW_SHOWNORMAL);
        UpdateWindow(h);
    }
    return h;
}

const void* findTemplate(HINSTANCE instance, LPCSTR name) {
    HRSRC r = FindResourceA(instance, name, MAKEINTRESOURCEA(RT_DIALOG_ID));
    if (!r) return nullptr;
    return LockResource(LoadResource(instance, r));
}

void restoreFocus(HWND h, Dialog& d) {
    HWND f = d.savedFocus;
    if (!f || !IsWindow(f) || !IsChild(h, f) || !IsWindowVisible(f) || !IsWindowEnabled(f))
        f = firstTabItem(h);
    if (f) focusControl(h, f);
}

LRESULT defaultHandling(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* d = dialogOf(h);
    switch (msg) {
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(wp);
            RECT rc;
            GetClientRect(h, &rc);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            LRESULT b = SendMessageA(h, WM_CTLCOLORDLG, wp, reinterpret_cast<LPARAM>(h));
            FillRect(dc, &rc, b ? reinterpret_cast<HBRUSH>(b) : controls::sysBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            return 0;
        case WM_CLOSE: {
            HWND cancel = GetDlgItem(h, IDCANCEL);
            if (cancel && !IsWindowEnabled(cancel)) {
                MessageBeep(0);
                return 0;
            }
            PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case WM_ACTIVATE:
            if (!d) break;
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(h, f)) d->savedFocus = f;
            } else {
                restoreFocus(h, *d);
            }
            return 0;
        case WM_SETFOCUS:
            if (d) restoreFocus(h, *d);
            return 0;
        case WM_SHOWWINDOW:
            if (d && !wp) {
                HWND f = GetFocus();
                if (f && IsChild(h, f)) d->savedFocus = f;
            }
            return DefWindowProcA(h, msg, wp, lp);
        case DM_GETDEFID:
            if (d && d->defaultId) return MAKELONG(static_cast<WORD>(d->defaultId), DC_HASDEFID);
            return 0;
        case DM_SETDEFID:
            if (!d) return FALSE;
            setButtonDefault(d->defaultId ? GetDlgItem(h, d->defaultId) : nullptr, false);
            d->defaultId = static_cast<int>(wp);
            showDefaultButton(h, GetFocus());
            return TRUE;
        case WM_NEXTDLGCTL: {
            HWND target = nullptr;
            if (LOWORD(static_cast<std::uintptr_t>(lp)))
                target = reinterpret_cast<HWND>(wp);
            else
                target = GetNextDlgTabItem(h, GetFocus(), wp ? TRUE : FALSE);
            if (target) focusControl(h, target);
            return 0;
        }
        case WM_SETFONT:
            if (d) d->font = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_GETFONT:
            return d ? reinterpret_cast<LRESULT>(d->font) : 0;
        case WM_NCDESTROY:
            if (d && d->ownsFont) DeleteObject(d->font);
            records().drop(h);
            return DefWindowProcA(h, msg, wp, lp);
        default:
            break;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

bool returnsDirectly(UINT msg) {
    return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_INITDIALOG;
}

LRESULT dialogClassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) records().create(h);
    return DefDlgProcA(h, msg, wp, lp);
}

// Re-enables the owner when the modal loop leaves, also by an exception.
struct OwnerGuard {
    HWND owner = nullptr;
    bool reenable = false;
    ~OwnerGuard() {
        if (reenable && IsWindow(owner)) EnableWindow(owner, TRUE);
    }
};

INT_PTR runModal(HWND h, HWND owner) {
    OwnerGuard guard{owner, owner && IsWindowEnabled(owner)};
    if (guard.reenable) EnableWindow(owner, FALSE);
    if (!IsWindowVisible(h)) {
        ShowWindow(h, SW_SHOWNORMAL);
        UpdateWindow(h);
    }
    MSG m;
    for (;;) {
        Dialog* d = dialogOf(h);
        if (!d || d->ended) break;
        if (!GetMessageA(&m, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (!IsDialogMessageA(h, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    Dialog* d = dialogOf(h);
    const INT_PTR result = d ? d->result : -1;
    if (guard.reenable && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        guard.reenable = false;
    }
    if (IsWindow(h)) DestroyWindow(h);
    return result;
}

}  // namespace

Dialog* dialogOf(HWND dialog) {
    return records().get(dialog);
}

SIZE baseUnitsOf(HFONT font) {
    Dialog probe;
    probe.font = font;
    measureFont(probe);
    return {probe.baseX, probe.baseY};
}

HWND firstTabItem(HWND dialog) {
    return GetNextDlgTabItem(dialog, nullptr, FALSE);
}

void focusControl(HWND dialog, HWND control) {
    if (!control) return;
    if (!IsWindowVisible(dialog)) {
        if (Dialog* d = dialogOf(dialog)) d->savedFocus = control;
        return;
    }
    SetFocus(control);
    if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(control, EM_SETSEL, 0, -1);
    showDefaultButton(dialog, control);
}

void registerDialogClass() {
    WNDCLASSA wc;
    wc.lpszClassName = kDialogClassName;
    wc.lpfnWndProc = dialogClassProc;
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

}  // namespace win::dialogs

namespace win {

using namespace dialogs;

LRESULT DefDlgProcA(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(h, DWLP_DLGPROC));
    if (proc) {
        SetWindowLongPtrA(h, DWLP_MSGRESULT, 0);
        const INT_PTR r = proc(h, msg, wp, lp);
        if (!IsWindow(h)) return r;
        if (r) return returnsDirectly(msg) ? r : GetWindowLongPtrA(h, DWLP_MSGRESULT);
        if (msg == WM_INITDIALOG) return 0;
    }
    return defaultHandling(h, msg, wp, lp);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, const void* t, HWND parent, DLGPROC proc,
                                LPARAM param) {
    return createDialog(instance, t, parent, proc, param, false);
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    const void* t = findTemplate(instance, name);
    return t ? createDialog(instance, t, parent, proc, param, false) : nullptr;
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const void* t, HWND parent, DLGPROC proc,
                                LPARAM param) {
    HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    HWND h = createDialog(instance, t, owner, proc, param, true);
    if (!h) return -1;
    return runModal(h, owner);
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param) {
    const void* t = findTemplate(instance, name);
    if (!t) return -1;
    return DialogBoxIndirectParamA(instance, t, parent, proc, param);
}

BOOL EndDialog(HWND h, INT_PTR result) {
    Dialog* d = dialogOf(h);
    if (!d) return FALSE;
    d->ended = true;
    d->result = result;
    if (d->modal) {
        // The owner comes back before the dialog goes, so that it is activated.
        HWND owner = GetWindow(h, GW_OWNER);
        if (owner && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageA(h, WM_NULL, 0, 0);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND h, RECT* r) {
    Dialog* d = dialogOf(h);
    if (!d || !r) return FALSE;
    *r = {r->left * d->baseX / 4, r->top * d->baseY / 8, r->right * d->baseX / 4,
          r->bottom * d->baseY / 8};
    return TRUE;
}

LONG GetDialogBaseUnits() {
    Dialog probe;
    measureFont(probe);
    return MAKELONG(static_cast<WORD>(probe.baseX), static_cast<WORD>(probe.baseY));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wp, LPARAM lp) {
    HWND c = GetDlgItem(dialog, id);
    return c ? SendMessageA(c, msg, wp, lp) : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND c = GetDlgItem(dialog, id);
    return c ? SetWindowTextA(c, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) {
        if (buffer && size > 0) buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(c, buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char buf[32];
    if (isSigned)
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    else
        std::snprintf(buf, sizeof buf, "%u", value);
    return SetDlgItemTextA(dialog, id, buf);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    char buf[64];
    GetDlgItemTextA(dialog, id, buf, sizeof buf);
    char* end = nullptr;
    const char* p = buf;
    while (*p == ' ')
        ++p;
    const long long v = std::strtoll(p, &end, 10);
    bool ok = end != p && (*end == 0 || *end == ' ');
    if (ok && !isSigned && (v < 0 || v > 0xFFFFFFFFLL)) ok = false;
    if (ok && isSigned && (v < -2147483648LL || v > 2147483647LL)) ok = false;
    if (translated) *translated = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(v) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND c = GetDlgItem(dialog, id);
    if (!c) return FALSE;
    SendMessageA(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND c = GetDlgItem(dialog, id);
    return c ? static_cast<UINT>(SendMessageA(c, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    for (int id = first; id <= last; ++id)
        if (HWND c = GetDlgItem(dialog, id))
            SendMessageA(c, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

void registerControlClasses() {
    controls::registerButtonClass();
    controls::registerStaticClass();
    controls::registerEditClass();
    controls::registerListBoxClass();
    controls::registerComboBoxClasses();
    controls::registerUpDownClass();
    controls::registerProgressClass();
    controls::registerTabClass();
    controls::registerTrackBarClass();
    controls::registerStatusBarClass();
    controls::registerToolBarClasses();
    controls::registerScrollBarClass();
    controls::registerHeaderClass();
    controls::registerTreeViewClass();
    controls::registerRichEditClass();
    dialogs::registerDialogClass();
}

}  // namespace win
