// COMBOBOX: a field (an edit control, or a drawn selection for the
// drop-down list kind) with a list that is always shown (simple) or drops
// down from a button. Owner-drawn combo boxes let their parent measure and
// draw the items of the list and the selection in the field.

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/list_box_internal.h"

namespace win::controls {
namespace {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;

struct Combo {
    HWND edit = nullptr;
    HWND list = nullptr;
    HFONT font = nullptr;
    bool focus = false;
    bool dropped = false;
    int droppedHeight = 100;  // the height asked for at creation: field and list
    int selectionWhenDropped = -1;
    int fieldItemHeight = 0;  // owner-drawn: the selection field's item, as measured
};

Records<Combo>& records() {
    static Records<Combo> r;
    return r;
}

DWORD kind(HWND h) {
    return styleOf(h) & 3;
}
bool ownerDrawn(HWND h) {
    return (styleOf(h) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}
int fieldHeight(const Combo& c) {
    return c.fieldItemHeight > 0 ? c.fieldItemHeight + 6 : lineHeight(c.font) + 8;
}
int buttonWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

void redraw(HWND h) {
    InvalidateRect(h, nullptr, TRUE);
}

int current(const Combo& c) {
    return static_cast<int>(SendMessageA(c.list, LB_GETCURSEL, 0, 0));
}

std::string itemText(const Combo& c, int i) {
    if (!(styleOf(c.list) & LBS_HASSTRINGS)) return {};  // owner-drawn items without text
    const LRESULT n = SendMessageA(c.list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n < 0) return {};
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    SendMessageA(c.list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(n));
    return s;
}

// The field shows the selected item.
void showSelection(HWND h, Combo& c) {
    const int i = current(c);
    if (c.edit) {
        const std::string t = i >= 0 ? itemText(c, i) : std::string();
        SendMessageA(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
        if (c.focus) SendMessageA(c.edit, EM_SETSEL, 0, -1);
    }
    redraw(h);
}

void placeList(HWND h, Combo& c) {
    RECT rc;
    GetWindowRect(h, &rc);
    const int listHeight = std::max(lineHeight(c.font) + 2, c.droppedHeight - fieldHeight(c));
    SetWindowPos(c.list, HWND_TOP, rc.left, rc.bottom, rc.right - rc.left, listHeight,
                 SWP_NOACTIVATE);
}

void dropDown(HWND h, Combo& c) {
    if (c.dropped || kind(h) == CBS_SIMPLE) return;
    notifyCommand(h, CBN_DROPDOWN);
    c.selectionWhenDropped = current(c);
    placeList(h, c);
    ShowWindow(c.list, SW_SHOWNA);
    c.dropped = true;
    if (c.edit)
        SetFocus(c.edit);
    else if (GetFocus() != h)
        SetFocus(h);
    SetCapture(c.list);
    redraw(h);
}

void closeUp(HWND h, Combo& c, bool accepted) {
    if (!c.dropped) return;
    c.dropped = false;
    if (GetCapture() == c.list) ReleaseCapture();
    if (!accepted)
        SendMessageA(c.list, LB_SETCURSEL, static_cast<WPARAM>(c.selectionWhenDropped), 0);
    notifyCommand(h, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
    ShowWindow(c.list, SW_HIDE);
    notifyCommand(h, CBN_CLOSEUP);
    if (accepted && current(c) != c.selectionWhenDropped) {
        showSelection(h, c);
        notifyCommand(h, CBN_SELCHANGE);
    }
    redraw(h);
}

// The owner draws the selection in the field of a drop-down list.
void drawField(HWND h, Combo& c, HDC dc, const RECT& r, bool enabled) {
    const int i = current(c);
    DRAWITEMSTRUCT d;
    d.CtlType = ODT_COMBOBOX;
    d.CtlID = static_cast<UINT>(controlId(h));
    d.itemID = static_cast<UINT>(i);
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = ODS_COMBOBOXEDIT;
    if (c.focus && !c.dropped) d.itemState |= ODS_SELECTED | ODS_FOCUS;
    if (!enabled) d.itemState |= ODS_DISABLED;
    d.hwndItem = h;
    d.hDC = dc;
    d.rcItem = r;
    d.itemData = i >= 0 ? static_cast<ULONG_PTR>(
                              SendMessageA(c.list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0))
                        : 0;
    SelectObject(dc, fontOrDefault(c.font));
    SendMessageA(GetParent(h), WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
}

void paint(HWND h, Combo& c) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    const bool enabled = IsWindowEnabled(h);
    if (kind(h) == CBS_SIMPLE) {
        FillRect(dc, &rc, controlColour(h, dc, WM_CTLCOLORSTATIC));
        EndPaint(h, &ps);
        return;
    }
    HBRUSH bg = controlColour(h, dc, WM_CTLCOLOREDIT);
    const COLORREF textColour = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    const RECT field{0, 0, rc.right, fieldHeight(c)};
    FillRect(dc, &field, enabled ? bg : sysBrush(COLOR_BTNFACE));
    drawEdge(dc, field, false);
    const int bw = buttonWidth();
    const RECT button{field.right - 2 - bw, 2, field.right - 2, field.bottom - 2};
    fillSolid(dc, button, GetSysColor(COLOR_BTNFACE));
    if (c.dropped)
        FrameRect(dc, &button, sysBrush(COLOR_BTNSHADOW));
    else
        drawEdge(dc, button, true);
    drawArrow(dc, button, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (kind(h) == CBS_DROPDOWNLIST && ownerDrawn(h)) {
        drawField(h, c, dc, {3, 3, button.left - 1, field.bottom - 3}, enabled);
    } else if (kind(h) == CBS_DROPDOWNLIST) {
        const RECT text{3, 3, button.left - 1, field.bottom - 3};
        const int i = current(c);
        if (c.focus && !c.dropped) fillSolid(dc, text, GetSysColor(COLOR_HIGHLIGHT));
        SelectObject(dc, fontOrDefault(c.font));
        if (i >= 0)
            drawLabel(dc, itemText(c, i), {text.left + 2, text.top, text.right, text.bottom},
                      DT_SINGLELINE | DT_VCENTER,
                      (c.focus && !c.dropped) ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour,
                      true);
        if (c.focus && !c.dropped) drawFocus(dc, text);
    }
    EndPaint(h, &ps);
}

WNDPROC editClassProc = nullptr;
LRESULT comboEditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// The owner's height for the selection field (item -1).
int measureField(HWND h) {
    MEASUREITEMSTRUCT m;
    m.CtlType = ODT_COMBOBOX;
    m.CtlID = static_cast<UINT>(controlId(h));
    m.itemID = static_cast<UINT>(-1);
    m.itemHeight = static_cast<UINT>(lineHeight(nullptr));
    SendMessageA(GetParent(h), WM_MEASUREITEM, m.CtlID, reinterpret_cast<LPARAM>(&m));
    return std::clamp(static_cast<int>(m.itemHeight), 1, 255);
}

void create(HWND h, Combo& c, const CREATESTRUCTA* cs) {
    c.droppedHeight = cs->cy;
    if (ownerDrawn(h)) c.fieldItemHeight = measureField(h);
    // The scroll bar a combo box is given belongs to its list.
    const LONG_PTR style = GetWindowLongA(h, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) {
        SetWindowLongA(h, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(h, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    const DWORD k = kind(h);
    RECT rc;
    GetClientRect(h, &rc);
    const int fh = fieldHeight(c);
    if (k != CBS_DROPDOWNLIST) {
        const int right = k == CBS_SIMPLE ? rc.right : rc.right - buttonWidth() - 2;
        DWORD es = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        if (k == CBS_SIMPLE) es |= WS_BORDER;
        if (styleOf(h) & CBS_UPPERCASE) es |= ES_UPPERCASE;
        if (styleOf(h) & CBS_LOWERCASE) es |= ES_LOWERCASE;
        c.edit = CreateWindowExA(
            k == CBS_SIMPLE ? WS_EX_CLIENTEDGE : 0, "Edit", "", es & ~static_cast<DWORD>(WS_BORDER),
            k == CBS_SIMPLE ? 0 : 3, k == CBS_SIMPLE ? 0 : 3, right - (k == CBS_SIMPLE ? 0 : 3),
            k == CBS_SIMPLE ? fh : fh - 6, h,
            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kEditId)), cs->hInstance, nullptr);
        if (c.edit && k == CBS_DROPDOWN) {
            editClassProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(c.edit, GWLP_WNDPROC));
            SetWindowLongPtrA(c.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(comboEditProc));
        }
    }
    DWORD ls = WS_VSCROLL | LBS_NOTIFY;
    if (!ownerDrawn(h) || (styleOf(h) & CBS_HASSTRINGS)) ls |= LBS_HASSTRINGS;
    if (styleOf(h) & CBS_OWNERDRAWFIXED) ls |= LBS_OWNERDRAWFIXED;
    if (styleOf(h) & CBS_OWNERDRAWVARIABLE) ls |= LBS_OWNERDRAWVARIABLE;
    if (styleOf(h) & CBS_SORT) ls |= LBS_SORT;
    if (styleOf(h) & CBS_DISABLENOSCROLL) ls |= LBS_DISABLENOSCROLL;
    if (k == CBS_SIMPLE) {
        c.list = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE | ls, 0, fh,
                                 rc.right, std::max(0, static_cast<int>(rc.bottom) - fh), h,
                                 reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kListId)),
                                 cs->hInstance, nullptr);
        setListCombo(c.list, h);
        SendMessageA(c.list, LB_GETITEMHEIGHT, 0, 0);
    } else {
        HWND top = GetAncestor(h, GA_ROOT);
        c.list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kComboListClass, "",
                                 WS_POPUP | WS_BORDER | ls, 0, 0, rc.right, 100, top, nullptr,
                                 cs->hInstance, nullptr);
        attachListToCombo(c.list, h);
        setListCombo(c.list, h);
        SendMessageA(c.list, LB_GETITEMHEIGHT, 0, 0);  // the owner measures the items now
        // The closed combo box is as tall as its field.
        SetWindowPos(h, nullptr, 0, 0, cs->cx, fh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Keys of the field: arrows move the selection (in the open list, only the
// highlight), F4 and Alt+Down open or close the list, Enter and Escape close it.
bool key(HWND h, Combo& c, WPARAM vk) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) {
        if (c.dropped)
            closeUp(h, c, true);
        else
            dropDown(h, c);
        return true;
    }
    if (c.dropped && (vk == VK_RETURN || vk == VK_ESCAPE)) {
        closeUp(h, c, vk == VK_RETURN);
        return true;
    }
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_HOME ||
        vk == VK_END) {
        if (c.edit && (vk == VK_HOME || vk == VK_END)) return false;
        const int before = current(c);
        if (before < 0 && (vk == VK_DOWN || vk == VK_UP))
            SendMessageA(c.list, LB_SETCURSEL, 0, 0);
        else
            listBoxKey(c.list, vk, false);
        if (!c.dropped && current(c) != before) {
            showSelection(h, c);
            notifyCommand(h, CBN_SELCHANGE);
        } else if (c.dropped) {
            redraw(h);
        }
        return true;
    }
    return false;
}

// The field of a drop-down combo box passes the list's keys to the combo box.
LRESULT comboEditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    HWND combo = GetParent(h);
    Combo* c = records().get(combo);
    if (c && msg == WM_KEYDOWN && key(combo, *c, wp)) return 0;
    if (c && msg == WM_GETDLGCODE) {
        LRESULT code = CallWindowProcA(editClassProc, h, msg, wp, lp);
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (c->dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    return CallWindowProcA(editClassProc, h, msg, wp, lp);
}

LRESULT forwardToList(Combo& c, UINT lbMsg, WPARAM wp, LPARAM lp) {
    return SendMessageA(c.list, lbMsg, wp, lp);
}

LRESULT comboProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Combo* p = records().forMessage(h, msg);
    if (!p) return DefWindowProcA(h, msg, wp, lp);
    Combo& c = *p;
    switch (msg) {
        case WM_CREATE:
            create(h, c, reinterpret_cast<const CREATESTRUCTA*>(lp));
            return 0;
        case WM_DESTROY:
            if (c.list && kind(h) != CBS_SIMPLE) DestroyWindow(c.list);
            c.list = nullptr;
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
            const auto* m = reinterpret_cast<const MSG*>(lp);
            if (c.dropped && m && m->message == WM_KEYDOWN &&
                (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, c);
            return 0;
        case WM_SETFONT:
            c.font = reinterpret_cast<HFONT>(wp);
            if (c.edit) SendMessageA(c.edit, WM_SETFONT, wp, lp);
            if (c.list) SendMessageA(c.list, WM_SETFONT, wp, lp);
            if (kind(h) != CBS_SIMPLE) {
                RECT wr;
                GetWindowRect(h, &wr);
                SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left, fieldHeight(c),
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                if (c.edit)
                    MoveWindow(c.edit, 3, 3, wr.right - wr.left - buttonWidth() - 5,
                               fieldHeight(c) - 6, TRUE);
            } else {
                RECT rc;
                GetClientRect(h, &rc);
                MoveWindow(c.edit, 0, 0, rc.right, fieldHeight(c), TRUE);
                MoveWindow(c.list, 0, fieldHeight(c), rc.right,
                           std::max(0, static_cast<int>(rc.bottom) - fieldHeight(c)), TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(c.font);
        case WM_SETTEXT:
            if (c.edit) return SendMessageA(c.edit, WM_SETTEXT, wp, lp);
            return CB_ERR;
        case WM_GETTEXT:
            if (c.edit) return SendMessageA(c.edit, WM_GETTEXT, wp, lp);
            if (wp && lp) {
                const std::string t = current(c) >= 0 ? itemText(c, current(c)) : std::string();
                const std::size_t n = std::min<std::size_t>(wp - 1, t.size());
                std::memcpy(reinterpret_cast<char*>(lp), t.data(), n);
                reinterpret_cast<char*>(lp)[n] = 0;
                return static_cast<LRESULT>(n);
            }
            return 0;
        case WM_GETTEXTLENGTH:
            if (c.edit) return SendMessageA(c.edit, WM_GETTEXTLENGTH, 0, 0);
            return current(c) >= 0 ? static_cast<LRESULT>(itemText(c, current(c)).size()) : 0;
        case WM_ENABLE:
            if (c.edit) EnableWindow(c.edit, static_cast<BOOL>(wp));
            if (kind(h) == CBS_SIMPLE) EnableWindow(c.list, static_cast<BOOL>(wp));
            redraw(h);
            return 0;
        case WM_SETFOCUS:
            if (c.edit) {
                SetFocus(c.edit);
                return 0;
            }
            c.focus = true;
            redraw(h);
            notifyCommand(h, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS: {
            const HWND to = reinterpret_cast<HWND>(wp);
            if (c.edit && to == c.edit) return 0;
            if (c.dropped) closeUp(h, c, false);
            c.focus = false;
            redraw(h);
            notifyCommand(h, CBN_KILLFOCUS);
            return 0;
        }
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lp);
            const WORD code = HIWORD(wp);
            if (from == c.edit) {
                if (code == EN_SETFOCUS) {
                    if (!c.focus) {
                        c.focus = true;
                        SendMessageA(c.edit, EM_SETSEL, 0, -1);
                        notifyCommand(h, CBN_SETFOCUS);
                    }
                } else if (code == EN_KILLFOCUS) {
                    const HWND now = GetFocus();
                    if (now != h && now != c.list) {
                        if (c.dropped) closeUp(h, c, false);
                        c.focus = false;
                        notifyCommand(h, CBN_KILLFOCUS);
                    }
                } else if (code == EN_CHANGE) {
                    notifyCommand(h, CBN_EDITCHANGE);
                } else if (code == EN_UPDATE) {
                    notifyCommand(h, CBN_EDITUPDATE);
                }
            } else if (from == c.list && kind(h) == CBS_SIMPLE) {
                if (code == LBN_SELCHANGE) {
                    showSelection(h, c);
                    notifyCommand(h, CBN_SELCHANGE);
                } else if (code == LBN_DBLCLK) {
                    notifyCommand(h, CBN_DBLCLK);
                }
            }
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (kind(h) == CBS_SIMPLE) return 0;
            RECT rc;
            GetClientRect(h, &rc);
            const bool onButton = GET_X_LPARAM(lp) >= rc.right - buttonWidth() - 2;
            if (kind(h) == CBS_DROPDOWN && !onButton) return 0;
            if (c.dropped)
                closeUp(h, c, true);
            else {
                if (GetFocus() != h && !c.edit) SetFocus(h);
                dropDown(h, c);
            }
            return 0;
        }
        case WM_KEYDOWN:
            if (!key(h, c, wp)) return DefWindowProcA(h, msg, wp, lp);
            return 0;
        case WM_CHAR: {
            if (c.edit || wp < 32) return 0;
            const char s[2] = {static_cast<char>(wp), 0};
            const int i = listBoxFind(c.list, s, current(c), false);
            if (i >= 0 && i != current(c)) {
                SendMessageA(c.list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
                showSelection(h, c);
                if (!c.dropped) notifyCommand(h, CBN_SELCHANGE);
            }
            return 0;
        }
        case CB_ADDSTRING:
            return forwardToList(c, LB_ADDSTRING, wp, lp);
        case CB_INSERTSTRING:
            return forwardToList(c, LB_INSERTSTRING, wp, lp);
        case CB_DELETESTRING:
            return forwardToList(c, LB_DELETESTRING, wp, lp);
        case CB_GETCOUNT:
            return forwardToList(c, LB_GETCOUNT, wp, lp);
        case CB_GETLBTEXT:
            return forwardToList(c, LB_GETTEXT, wp, lp);
        case CB_GETLBTEXTLEN:
            return forwardToList(c, LB_GETTEXTLEN, wp, lp);
        case CB_GETITEMDATA:
            return forwardToList(c, LB_GETITEMDATA, wp, lp);
        case CB_SETITEMDATA:
            return forwardToList(c, LB_SETITEMDATA, wp, lp);
        case CB_FINDSTRING:
            return forwardToList(c, LB_FINDSTRING, wp, lp);
        case CB_FINDSTRINGEXACT:
            return forwardToList(c, LB_FINDSTRINGEXACT, wp, lp);
        case CB_GETITEMHEIGHT:
            if (static_cast<int>(static_cast<std::intptr_t>(wp)) == -1)
                return c.fieldItemHeight > 0 ? c.fieldItemHeight : lineHeight(c.font);
            return forwardToList(c, LB_GETITEMHEIGHT, wp, 0);
        case CB_SETITEMHEIGHT:
            if (static_cast<int>(static_cast<std::intptr_t>(wp)) == -1) {
                const int height = LOWORD(static_cast<std::uintptr_t>(lp));
                if (height <= 0 || height > 255) return CB_ERR;
                c.fieldItemHeight = height;
                RECT wr;
                GetWindowRect(h, &wr);
                if (kind(h) != CBS_SIMPLE)
                    SetWindowPos(h, nullptr, 0, 0, wr.right - wr.left, fieldHeight(c),
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                redraw(h);
                return CB_OKAY;
            }
            return forwardToList(c, LB_SETITEMHEIGHT, wp, lp);
        case CB_DIR:
            return forwardToList(c, LB_DIR, wp, lp);
        case CB_RESETCONTENT:
            forwardToList(c, LB_RESETCONTENT, 0, 0);
            if (c.edit) SendMessageA(c.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            redraw(h);
            return CB_OKAY;
        case CB_GETCURSEL:
            return current(c);
        case CB_SETCURSEL: {
            const LRESULT r = forwardToList(c, LB_SETCURSEL, wp, 0);
            showSelection(h, c);
            return r;
        }
        case CB_SELECTSTRING: {
            const LRESULT r = forwardToList(c, LB_SELECTSTRING, wp, lp);
            if (r >= 0) showSelection(h, c);
            return r;
        }
        case CB_LIMITTEXT:
            if (!c.edit) return FALSE;
            SendMessageA(c.edit, EM_LIMITTEXT, wp, 0);
            return TRUE;
        case CB_SETEDITSEL:
            if (!c.edit) return CB_ERR;
            SendMessageA(
                c.edit, EM_SETSEL,
                static_cast<WPARAM>(static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lp)))),
                static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lp))));
            return TRUE;
        case CB_GETEDITSEL:
            if (!c.edit) return CB_ERR;
            return SendMessageA(c.edit, EM_GETSEL, wp, lp);
        case CB_SHOWDROPDOWN:
            if (wp)
                dropDown(h, c);
            else
                closeUp(h, c, false);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return c.dropped ? TRUE : FALSE;
        case CB_GETDROPPEDCONTROLRECT:
            if (lp) {
                RECT r;
                GetWindowRect(h, &r);
                r.bottom = r.top + c.droppedHeight;
                *reinterpret_cast<RECT*>(lp) = r;
            }
            return TRUE;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void comboListClosed(HWND combo, bool accepted) {
    if (Combo* c = records().get(combo)) closeUp(combo, *c, accepted);
}

void registerComboBoxClasses() {
    registerClass("ComboBox", comboProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
