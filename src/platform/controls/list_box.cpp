// LISTBOX: lists with single, multiple or extended selection, sorting, tab
// stops and a vertical scroll bar; also the drop-down list of combo boxes.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/list_box_internal.h"
#include "platform/window/scroll_api.h"

namespace win::controls {
namespace {

struct Item {
    std::string text;
    LPARAM data = 0;
    bool selected = false;
};

struct ListBox {
    std::vector<Item> items;
    int caret = -1;   // the item with the focus rectangle (the selection of a single list)
    int anchor = -1;  // the start of a Shift range
    int top = 0;
    HFONT font = nullptr;
    bool focus = false;
    bool tracking = false;
    std::vector<int> tabStops;  // dialog units
    HWND combo = nullptr;       // set for the drop-down list of a combo box
};

Records<ListBox>& records() {
    static Records<ListBox> r;
    return r;
}

bool multiple(HWND h) {
    return (styleOf(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}
bool extended(HWND h) {
    return (styleOf(h) & LBS_EXTENDEDSEL) != 0;
}
int itemHeight(const ListBox& lb) {
    return std::max(1, lineHeight(lb.font));
}
int count(const ListBox& lb) {
    return static_cast<int>(lb.items.size());
}

int visibleRows(HWND h, const ListBox& lb) {
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.bottom / itemHeight(lb)));
}

void updateScroll(HWND h, ListBox& lb) {
    const int rows = visibleRows(h, lb);
    lb.top = std::clamp(lb.top, 0, std::max(0, count(lb) - rows));
    if (!(styleOf(h) & WS_VSCROLL)) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS |
               ((styleOf(h) & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
    si.nMin = 0;
    si.nMax = std::max(0, count(lb) - 1);
    si.nPage = static_cast<UINT>(rows);
    si.nPos = lb.top;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
}

void redraw(HWND h) {
    InvalidateRect(h, nullptr, TRUE);
}

void changed(HWND h, ListBox& lb) {
    updateScroll(h, lb);
    redraw(h);
}

void ensureVisible(HWND h, ListBox& lb, int index) {
    if (index < 0) return;
    const int rows = visibleRows(h, lb);
    if (index < lb.top) lb.top = index;
    if (index >= lb.top + rows) lb.top = index - rows + 1;
    changed(h, lb);
}

void notify(HWND h, const ListBox& lb, WORD code) {
    if (lb.combo) return;
    if (styleOf(h) & LBS_NOTIFY) notifyCommand(h, code);
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int findItem(const ListBox& lb, const char* text, int after, bool exact) {
    const int n = count(lb);
    if (n == 0 || !text) return -1;
    const std::string key = upper(text);
    const int start = (after < -1 || after >= n) ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        const std::string t = upper(lb.items[static_cast<std::size_t>(i)].text);
        if (exact ? t == key : t.compare(0, key.size(), key) == 0) return i;
    }
    return -1;
}

int insertAt(HWND h, ListBox& lb, int index, const char* text, bool sorted) {
    Item it;
    it.text = text ? text : "";
    if (sorted) {
        const std::string key = upper(it.text);
        index = 0;
        while (index < count(lb) && upper(lb.items[static_cast<std::size_t>(index)].text) <= key)
            ++index;
    } else if (index < 0 || index > count(lb)) {
        index = count(lb);
    }
    lb.items.insert(lb.items.begin() + index, std::move(it));
    if (lb.caret >= index) ++lb.caret;
    if (lb.anchor >= index) ++lb.anchor;
    changed(h, lb);
    return index;
}

// Selects one item only (or none with -1).
void selectOnly(ListBox& lb, int index) {
    for (Item& it : lb.items)
        it.selected = false;
    if (index >= 0 && index < count(lb)) lb.items[static_cast<std::size_t>(index)].selected = true;
    lb.caret = index;
}

void selectRange(ListBox& lb, int a, int b, bool on) {
    if (a > b) std::swap(a, b);
    for (int i = std::max(0, a); i <= b && i < count(lb); ++i)
        lb.items[static_cast<std::size_t>(i)].selected = on;
}

int itemAt(HWND h, const ListBox& lb, POINT p) {
    RECT rc;
    GetClientRect(h, &rc);
    if (p.x < 0 || p.x >= rc.right || p.y < 0 || p.y >= rc.bottom) return -1;
    const int i = lb.top + p.y / itemHeight(lb);
    return i < count(lb) ? i : -1;
}

// A click on an item with the modifier keys: what each selection mode does.
void clickItem(HWND h, ListBox& lb, int i, bool shift, bool ctrl) {
    if (i < 0) return;
    if (!multiple(h)) {
        selectOnly(lb, i);
    } else if (!extended(h)) {
        lb.items[static_cast<std::size_t>(i)].selected =
            !lb.items[static_cast<std::size_t>(i)].selected;
        lb.caret = i;
        lb.anchor = i;
    } else if (shift && lb.anchor >= 0) {
        if (!ctrl) selectOnly(lb, -1);
        selectRange(lb, lb.anchor, i, true);
        lb.caret = i;
    } else if (ctrl) {
        lb.items[static_cast<std::size_t>(i)].selected =
            !lb.items[static_cast<std::size_t>(i)].selected;
        lb.caret = i;
        lb.anchor = i;
    } else {
        selectOnly(lb, i);
        lb.anchor = i;
    }
    ensureVisible(h, lb, i);
}

void keyMove(HWND h, ListBox& lb, WPARAM vk, bool notifyChange) {
    const int n = count(lb);
    if (n == 0) return;
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    int i = lb.caret;
    const int rows = visibleRows(h, lb);
    switch (vk) {
        case VK_UP:
            i = i < 0 ? 0 : i - 1;
            break;
        case VK_DOWN:
            i = i < 0 ? 0 : i + 1;
            break;
        case VK_LEFT:
            i = i < 0 ? 0 : i - 1;
            break;
        case VK_RIGHT:
            i = i < 0 ? 0 : i + 1;
            break;
        case VK_PRIOR:
            i = i < 0 ? 0 : i - (rows - 1);
            break;
        case VK_NEXT:
            i = i < 0 ? 0 : i + (rows - 1);
            break;
        case VK_HOME:
            i = 0;
            break;
        case VK_END:
            i = n - 1;
            break;
        case VK_SPACE:
            if (multiple(h) && lb.caret >= 0) {
                clickItem(h, lb, lb.caret, false, false);
                redraw(h);
                if (notifyChange) notify(h, lb, LBN_SELCHANGE);
            }
            return;
        default:
            return;
    }
    i = std::clamp(i, 0, n - 1);
    const int before = lb.caret;
    const bool selectedBefore = before >= 0 && lb.items[static_cast<std::size_t>(before)].selected;
    if (!multiple(h)) {
        selectOnly(lb, i);
    } else if (extended(h)) {
        if (shift && lb.anchor >= 0) {
            selectOnly(lb, -1);
            selectRange(lb, lb.anchor, i, true);
            lb.caret = i;
        } else if (ctrl) {
            lb.caret = i;
        } else {
            selectOnly(lb, i);
            lb.anchor = i;
        }
    } else {
        lb.caret = i;  // multiple selection: the caret moves, Space toggles
    }
    ensureVisible(h, lb, i);
    if (notifyChange && (before != i || !selectedBefore) && !(multiple(h) && !extended(h)))
        notify(h, lb, LBN_SELCHANGE);
}

void expandTabs(HDC dc, const ListBox& lb, HWND h, const std::string& text, int x, int y) {
    if (!(styleOf(h) & LBS_USETABSTOPS) || text.find('\t') == std::string::npos) {
        TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
        return;
    }
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int unit = std::max(1, tm.tmAveCharWidth);  // four dialog units to a character
    auto stopAfter = [&](int pos) {
        for (int t : lb.tabStops)
            if (t * unit / 4 > pos) return t * unit / 4;
        const int step = (lb.tabStops.size() == 1 ? lb.tabStops[0] : 32) * unit / 4;
        return (pos / std::max(1, step) + 1) * std::max(1, step);
    };
    int pos = 0;
    std::size_t k = 0;
    while (k <= text.size()) {
        const std::size_t t = text.find('\t', k);
        const std::size_t stop = t == std::string::npos ? text.size() : t;
        TextOutA(dc, x + pos, y, text.data() + k, static_cast<int>(stop - k));
        if (t == std::string::npos) break;
        pos = stopAfter(pos + textWidth(dc, text.substr(k, stop - k)));
        k = stop + 1;
    }
}

void paint(HWND h, ListBox& lb) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    HBRUSH bg = controlColour(h, dc, WM_CTLCOLORLISTBOX);
    const COLORREF textColour = IsWindowEnabled(h) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    FillRect(dc, &rc, bg);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(lb.font));
    SetBkMode(dc, TRANSPARENT);
    const int ih = itemHeight(lb);
    for (int i = lb.top; i < count(lb); ++i) {
        const int y = (i - lb.top) * ih;
        if (y >= rc.bottom) break;
        const Item& it = lb.items[static_cast<std::size_t>(i)];
        const RECT row{0, y, rc.right, y + ih};
        if (it.selected) fillSolid(dc, row, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, it.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
        expandTabs(dc, lb, h, it.text, 2, y);
        if (i == lb.caret && lb.focus && !lb.combo) drawFocus(dc, row);
    }
    SelectObject(dc, old);
    EndPaint(h, &ps);
}

LRESULT getText(const ListBox& lb, WPARAM index, LPARAM buffer) {
    if (index >= lb.items.size()) return LB_ERR;
    const std::string& t = lb.items[index].text;
    if (buffer) std::memcpy(reinterpret_cast<char*>(buffer), t.c_str(), t.size() + 1);
    return static_cast<LRESULT>(t.size());
}

void vscroll(HWND h, ListBox& lb, WORD code, int thumb) {
    const int rows = visibleRows(h, lb);
    switch (code) {
        case SB_LINEUP:
            --lb.top;
            break;
        case SB_LINEDOWN:
            ++lb.top;
            break;
        case SB_PAGEUP:
            lb.top -= rows;
            break;
        case SB_PAGEDOWN:
            lb.top += rows;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            lb.top = thumb;
            break;
        case SB_TOP:
            lb.top = 0;
            break;
        case SB_BOTTOM:
            lb.top = count(lb);
            break;
        default:
            return;
    }
    changed(h, lb);
}

LRESULT mouse(HWND h, ListBox& lb, UINT msg, WPARAM wp, LPARAM lp) {
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int i = itemAt(h, lb, p);
    if (lb.combo) {
        // The drop-down list: the pointer highlights, a click chooses, a
        // click outside closes without choosing.
        if (msg == WM_MOUSEMOVE && i >= 0 && i != lb.caret) {
            selectOnly(lb, i);
            redraw(h);
        }
        if (msg == WM_LBUTTONDOWN && i < 0)
            comboListClosed(lb.combo, false);
        else if (msg == WM_LBUTTONUP && i >= 0)
            comboListClosed(lb.combo, true);
        return 0;
    }
    switch (msg) {
        case WM_LBUTTONDOWN: {
            if (GetFocus() != h) SetFocus(h);
            if (i < 0) return 0;
            clickItem(h, lb, i, (wp & MK_SHIFT) != 0, (wp & MK_CONTROL) != 0);
            lb.tracking = !multiple(h) || extended(h);
            if (lb.tracking) SetCapture(h);
            redraw(h);
            notify(h, lb, LBN_SELCHANGE);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (lb.tracking && i >= 0 && i != lb.caret) {
                if (extended(h)) {
                    selectOnly(lb, -1);
                    selectRange(lb, lb.anchor, i, true);
                    lb.caret = i;
                } else {
                    selectOnly(lb, i);
                }
                ensureVisible(h, lb, i);
                notify(h, lb, LBN_SELCHANGE);
            }
            return 0;
        case WM_LBUTTONUP:
            if (lb.tracking) {
                lb.tracking = false;
                ReleaseCapture();
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (i >= 0) notify(h, lb, LBN_DBLCLK);
            return 0;
        default:
            return 0;
    }
}

LRESULT listProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ListBox* p = records().forMessage(h, msg);
    if (!p) return DefWindowProcA(h, msg, wp, lp);
    ListBox& lb = *p;
    switch (msg) {
        case WM_CREATE:
            updateScroll(h, lb);
            return 0;
        case WM_SIZE:
            updateScroll(h, lb);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_MOUSEACTIVATE:
            if (lb.combo) return MA_NOACTIVATE;
            return DefWindowProcA(h, msg, wp, lp);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, lb);
            return 0;
        case WM_SETFONT:
            lb.font = reinterpret_cast<HFONT>(wp);
            updateScroll(h, lb);
            if (lp) redraw(h);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(lb.font);
        case WM_SETFOCUS:
            lb.focus = true;
            if (lb.caret < 0 && count(lb) > 0 && multiple(h)) lb.caret = 0;
            redraw(h);
            notify(h, lb, LBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            lb.focus = false;
            redraw(h);
            notify(h, lb, LBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            return mouse(h, lb, msg, wp, lp);
        case WM_CAPTURECHANGED:
            lb.tracking = false;
            return 0;
        case WM_VSCROLL:
            vscroll(h, lb, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_MOUSEWHEEL:
            vscroll(h, lb, static_cast<SHORT>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            return 0;
        case WM_KEYDOWN:
            keyMove(h, lb, wp, true);
            return 0;
        case WM_CHAR: {
            if (wp < 32) return 0;
            const char s[2] = {static_cast<char>(wp), 0};
            const int i = findItem(lb, s, lb.caret, false);
            if (i < 0) return 0;
            if (!multiple(h))
                selectOnly(lb, i);
            else
                lb.caret = i;
            ensureVisible(h, lb, i);
            notify(h, lb, LBN_SELCHANGE);
            return 0;
        }
        case LB_ADDSTRING:
            return insertAt(h, lb, -1, reinterpret_cast<const char*>(lp),
                            (styleOf(h) & LBS_SORT) != 0);
        case LB_INSERTSTRING:
            return insertAt(h, lb, static_cast<int>(static_cast<std::intptr_t>(wp)),
                            reinterpret_cast<const char*>(lp), false);
        case LB_DELETESTRING: {
            if (wp >= lb.items.size()) return LB_ERR;
            const int i = static_cast<int>(wp);
            lb.items.erase(lb.items.begin() + i);
            if (lb.caret == i)
                lb.caret = -1;
            else if (lb.caret > i)
                --lb.caret;
            if (lb.anchor >= count(lb)) lb.anchor = -1;
            changed(h, lb);
            return count(lb);
        }
        case LB_RESETCONTENT:
            lb.items.clear();
            lb.caret = lb.anchor = -1;
            lb.top = 0;
            changed(h, lb);
            return 0;
        case LB_GETCOUNT:
            return count(lb);
        case LB_GETTEXT:
            return getText(lb, wp, lp);
        case LB_GETTEXTLEN:
            return wp < lb.items.size() ? static_cast<LRESULT>(lb.items[wp].text.size()) : LB_ERR;
        case LB_GETITEMDATA:
            return wp < lb.items.size() ? lb.items[wp].data : LB_ERR;
        case LB_SETITEMDATA:
            if (wp >= lb.items.size()) return LB_ERR;
            lb.items[wp].data = lp;
            return 0;
        case LB_SETCURSEL: {
            if (multiple(h)) return LB_ERR;
            const auto i = static_cast<int>(static_cast<std::intptr_t>(wp));
            if (i < 0 || i >= count(lb)) {
                selectOnly(lb, -1);
                redraw(h);
                return LB_ERR;  // -1 (no selection) answers LB_ERR as well
            }
            selectOnly(lb, i);
            ensureVisible(h, lb, i);
            return i;
        }
        case LB_GETCURSEL:
            if (multiple(h)) return lb.caret;
            return (lb.caret >= 0 && lb.caret < count(lb) &&
                    lb.items[static_cast<std::size_t>(lb.caret)].selected)
                       ? lb.caret
                       : LB_ERR;
        case LB_SETSEL: {
            if (!multiple(h)) return LB_ERR;
            const auto i = static_cast<int>(static_cast<std::intptr_t>(lp));
            if (i == -1)
                selectRange(lb, 0, count(lb) - 1, wp != 0);
            else if (i >= 0 && i < count(lb))
                lb.items[static_cast<std::size_t>(i)].selected = wp != 0;
            else
                return LB_ERR;
            if (i >= 0) lb.caret = i;
            redraw(h);
            return 0;
        }
        case LB_GETSEL:
            if (wp >= lb.items.size()) return LB_ERR;
            return lb.items[wp].selected ? 1 : 0;
        case LB_SELITEMRANGE:
            if (!multiple(h)) return LB_ERR;
            selectRange(lb, LOWORD(static_cast<std::uintptr_t>(lp)),
                        HIWORD(static_cast<std::uintptr_t>(lp)), wp != 0);
            redraw(h);
            return 0;
        case LB_GETSELCOUNT: {
            if (!multiple(h)) return LB_ERR;
            return std::count_if(lb.items.begin(), lb.items.end(),
                                 [](const Item& it) { return it.selected; });
        }
        case LB_GETSELITEMS: {
            if (!multiple(h)) return LB_ERR;
            int* out = reinterpret_cast<int*>(lp);
            int n = 0;
            for (int i = 0; i < count(lb) && n < static_cast<int>(wp); ++i)
                if (lb.items[static_cast<std::size_t>(i)].selected) out[n++] = i;
            return n;
        }
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return findItem(lb, reinterpret_cast<const char*>(lp),
                            static_cast<int>(static_cast<std::intptr_t>(wp)),
                            msg == LB_FINDSTRINGEXACT);
        case LB_SELECTSTRING: {
            if (multiple(h)) return LB_ERR;
            const int i = findItem(lb, reinterpret_cast<const char*>(lp),
                                   static_cast<int>(static_cast<std::intptr_t>(wp)), false);
            if (i < 0) return LB_ERR;
            selectOnly(lb, i);
            ensureVisible(h, lb, i);
            return i;
        }
        case LB_SETTABSTOPS:
            lb.tabStops.assign(reinterpret_cast<const int*>(lp),
                               reinterpret_cast<const int*>(lp) + (lp ? wp : 0));
            redraw(h);
            return TRUE;
        case LB_GETTOPINDEX:
            return lb.top;
        case LB_SETTOPINDEX:
            lb.top = static_cast<int>(wp);
            changed(h, lb);
            return 0;
        case LB_GETCARETINDEX:
            return lb.caret;
        case LB_SETCARETINDEX:
            if (wp >= lb.items.size()) return LB_ERR;
            lb.caret = static_cast<int>(wp);
            ensureVisible(h, lb, lb.caret);
            return 0;
        case LB_GETANCHORINDEX:
            return lb.anchor;
        case LB_SETANCHORINDEX:
            lb.anchor = static_cast<int>(wp);
            return 0;
        case LB_GETITEMHEIGHT:
            return itemHeight(lb);
        case LB_GETITEMRECT: {
            if (wp >= lb.items.size() || !lp) return LB_ERR;
            RECT rc;
            GetClientRect(h, &rc);
            const int y = (static_cast<int>(wp) - lb.top) * itemHeight(lb);
            *reinterpret_cast<RECT*>(lp) = {0, y, rc.right, y + itemHeight(lb)};
            return 0;
        }
        case LB_ITEMFROMPOINT: {
            const int i = lb.top + GET_Y_LPARAM(lp) / itemHeight(lb);
            return MAKELONG(static_cast<WORD>(std::clamp(i, 0, std::max(0, count(lb) - 1))),
                            i >= count(lb) ? 1 : 0);
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void attachListToCombo(HWND list, HWND combo) {
    if (ListBox* lb = records().get(list)) lb->combo = combo;
}

void listBoxKey(HWND list, WPARAM vk, bool notifyChange) {
    if (ListBox* lb = records().get(list)) keyMove(list, *lb, vk, notifyChange);
}

int listBoxFind(HWND list, const char* text, int after, bool exact) {
    ListBox* lb = records().get(list);
    return lb ? findItem(*lb, text, after, exact) : -1;
}

void registerListBoxClass() {
    registerClass("ListBox", listProc, CS_DBLCLKS, nullptr, -1);
    registerClass(kComboListClass, listProc, CS_DBLCLKS | CS_SAVEBITS, nullptr, -1);
}

}  // namespace win::controls
