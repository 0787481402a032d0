// LISTBOX: lists with single, multiple or extended selection, sorting, tab
// stops and a vertical scroll bar; several columns scrolled sideways; items
// measured and drawn by the owner (of fixed or varying height, with or
// without strings); also the drop-down list of combo boxes.

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
    int height = 0;  // lists of varying height: as the owner measured it
};

struct ListBox {
    std::vector<Item> items;
    int caret = -1;   // the item with the focus rectangle (the selection of a single list)
    int anchor = -1;  // the start of a Shift range
    int top = 0;      // the first item shown (of several columns: the first of a column)
    HFONT font = nullptr;
    bool focus = false;
    bool tracking = false;
    std::vector<int> tabStops;  // dialog units
    HWND combo = nullptr;       // set for the drop-down list of a combo box
    HWND ownerCombo = nullptr;  // the combo box of any list that belongs to one
    int fixedHeight = 0;        // from LB_SETITEMHEIGHT or the owner; 0: the font's
    bool measured = false;      // a fixed owner-drawn list asks its owner once
    int columnWidth = 0;        // several columns: 0 until set
    bool incremental = false;   // owner-drawn: selection and focus drawn item by item
    bool mayMeasure = false;    // not before a combo box has claimed its list
    DWORD scrollBars = 0;       // WS_VSCROLL, WS_HSCROLL as created: shown when needed
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
bool ownerDrawn(HWND h) {
    return (styleOf(h) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
bool variable(HWND h) {
    return (styleOf(h) & LBS_OWNERDRAWVARIABLE) != 0;
}
bool columns(HWND h) {
    return (styleOf(h) & LBS_MULTICOLUMN) && !variable(h);
}
bool hasStrings(HWND h) {
    return !ownerDrawn(h) || (styleOf(h) & LBS_HASSTRINGS);
}
int count(const ListBox& lb) {
    return static_cast<int>(lb.items.size());
}
Item& at(ListBox& lb, int i) {
    return lb.items[static_cast<std::size_t>(i)];
}

// Who hears of the items: the parent, or for the list of a combo box the
// combo box's parent, told that the combo box is the control.
struct Owner {
    HWND window;
    UINT type;
    UINT id;
    HWND control;
};
Owner ownerOf(HWND h, const ListBox& lb) {
    if (lb.ownerCombo)
        return {GetParent(lb.ownerCombo), ODT_COMBOBOX, static_cast<UINT>(controlId(lb.ownerCombo)),
                lb.ownerCombo};
    return {GetParent(h), ODT_LISTBOX, static_cast<UINT>(controlId(h)), h};
}

int fontHeight(const ListBox& lb) {
    return std::max(1, lineHeight(lb.font));
}

int measure(HWND h, const ListBox& lb, UINT itemId, LPARAM data) {
    const Owner o = ownerOf(h, lb);
    MEASUREITEMSTRUCT m;
    m.CtlType = o.type;
    m.CtlID = o.id;
    m.itemID = itemId;
    RECT rc;
    GetClientRect(h, &rc);
    m.itemWidth = static_cast<UINT>(rc.right);
    m.itemHeight = static_cast<UINT>(fontHeight(lb));
    m.itemData = static_cast<ULONG_PTR>(data);
    SendMessageA(o.window, WM_MEASUREITEM, o.id, reinterpret_cast<LPARAM>(&m));
    return std::clamp(static_cast<int>(m.itemHeight), 1, 255);
}

// The height of every item of a list that is not of varying height.
int itemHeight(HWND h, ListBox& lb) {
    if (lb.fixedHeight > 0) return lb.fixedHeight;
    if ((styleOf(h) & LBS_OWNERDRAWFIXED) && !lb.measured && lb.mayMeasure) {
        lb.measured = true;
        lb.fixedHeight = measure(h, lb, 0, 0);
        return lb.fixedHeight;
    }
    return fontHeight(lb);
}
int heightOf(HWND h, ListBox& lb, int i) {
    if (variable(h) && i >= 0 && i < count(lb)) return std::max(1, at(lb, i).height);
    return itemHeight(h, lb);
}

RECT client(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return rc;
}

int rowsPerColumn(HWND h, ListBox& lb) {
    return std::max(1, static_cast<int>(client(h).bottom) / itemHeight(h, lb));
}
int columnWidth(HWND h, ListBox& lb) {
    if (lb.columnWidth > 0) return lb.columnWidth;
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(lb.font));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return std::max(1, 15 * static_cast<int>(tm.tmAveCharWidth));
}
int visibleColumns(HWND h, ListBox& lb) {
    return std::max(1, static_cast<int>(client(h).right) / columnWidth(h, lb));
}

// How many items fit wholly from `from` on (at least one).
int fitFrom(HWND h, ListBox& lb, int from) {
    if (columns(h)) return rowsPerColumn(h, lb) * visibleColumns(h, lb);
    const int height = client(h).bottom;
    if (!variable(h)) return std::max(1, height / itemHeight(h, lb));
    int used = 0, n = 0;
    for (int i = std::max(0, from); i < count(lb); ++i) {
        used += heightOf(h, lb, i);
        if (used > height) break;
        ++n;
    }
    if (from + n >= count(lb)) {
        // Past the end, rows of the first item's height.
        n += std::max(0, height - used) / std::max(1, heightOf(h, lb, std::max(0, from)));
    }
    return std::max(1, n);
}

// The top that shows the last item at the bottom.
int lastTop(HWND h, ListBox& lb) {
    if (columns(h)) {
        const int r = rowsPerColumn(h, lb);
        const int cols = (count(lb) + r - 1) / r;
        return std::max(0, cols - visibleColumns(h, lb)) * r;
    }
    if (!variable(h)) return std::max(0, count(lb) - fitFrom(h, lb, 0));
    int used = 0, top = count(lb);
    while (top > 0 && used + heightOf(h, lb, top - 1) <= client(h).bottom)
        used += heightOf(h, lb, --top);
    return std::min(top, std::max(0, count(lb) - 1));
}

RECT itemRect(HWND h, ListBox& lb, int i) {
    const RECT rc = client(h);
    if (columns(h)) {
        const int r = rowsPerColumn(h, lb), w = columnWidth(h, lb), ih = itemHeight(h, lb);
        const int x = (i / r - lb.top / r) * w, y = (i % r) * ih;
        return {x, y, x + w, y + ih};
    }
    int y = 0;
    if (variable(h)) {
        for (int k = lb.top; k < i; ++k)
            y += heightOf(h, lb, k);
        for (int k = i; k < lb.top; ++k)
            y -= heightOf(h, lb, k);
    } else {
        y = (i - lb.top) * itemHeight(h, lb);
    }
    return {0, y, rc.right, y + heightOf(h, lb, i)};
}

bool shown(HWND h, ListBox& lb, int i) {
    const RECT rc = client(h), r = itemRect(h, lb, i);
    return r.bottom > 0 && r.top < rc.bottom && r.right > 0 && r.left < rc.right;
}

int itemAt(HWND h, ListBox& lb, POINT p) {
    const RECT rc = client(h);
    if (p.x < 0 || p.x >= rc.right || p.y < 0 || p.y >= rc.bottom) return -1;
    int i = -1;
    if (columns(h)) {
        const int r = rowsPerColumn(h, lb), row = p.y / itemHeight(h, lb);
        if (row >= r) return -1;
        i = lb.top + (p.x / columnWidth(h, lb)) * r + row;
    } else if (variable(h)) {
        int y = 0;
        for (int k = lb.top; k < count(lb); ++k) {
            y += heightOf(h, lb, k);
            if (p.y < y) return k;
        }
        return -1;
    } else {
        i = lb.top + p.y / itemHeight(h, lb);
    }
    return i < count(lb) ? i : -1;
}

void updateScroll(HWND h, ListBox& lb) {
    lb.top = std::clamp(lb.top, 0, lastTop(h, lb));
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS |
               ((styleOf(h) & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0);
    si.nMin = 0;
    if (columns(h)) {
        if (!(lb.scrollBars & WS_HSCROLL)) return;
        const int r = rowsPerColumn(h, lb);
        si.nMax = std::max(0, (count(lb) + r - 1) / r - 1);
        si.nPage = static_cast<UINT>(visibleColumns(h, lb));
        si.nPos = lb.top / r;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
        return;
    }
    if (!(lb.scrollBars & WS_VSCROLL)) return;
    si.nMax = std::max(0, count(lb) - 1);
    si.nPage = static_cast<UINT>(fitFrom(h, lb, lb.top));
    si.nPos = lb.top;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
}

// A change of selection or focus. Owner-drawn lists then draw only the items
// that changed (see drawChanges); others repaint.
void redraw(HWND h) {
    const ListBox* lb = records().get(h);
    if (lb && lb->incremental) return;
    InvalidateRect(h, nullptr, TRUE);
}

// A change of the items or of what is shown: everything is drawn again.
void changed(HWND h, ListBox& lb) {
    updateScroll(h, lb);
    InvalidateRect(h, nullptr, TRUE);
}

void ensureVisible(HWND h, ListBox& lb, int index) {
    if (index < 0) return;
    const int before = lb.top;
    if (columns(h)) {
        const int r = rowsPerColumn(h, lb), col = index / r, vis = visibleColumns(h, lb);
        int first = lb.top / r;
        if (col < first) first = col;
        if (col >= first + vis) first = col - vis + 1;
        lb.top = first * r;
    } else if (index < lb.top) {
        lb.top = index;
    } else {
        while (lb.top < index && index >= lb.top + fitFrom(h, lb, lb.top))
            ++lb.top;
    }
    if (lb.top != before) {
        changed(h, lb);
    } else {
        updateScroll(h, lb);
        redraw(h);
    }
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

// By text (case-insensitive, a prefix unless exact); in a list without
// strings by the item data, which the text argument then is.
int findItem(HWND h, const ListBox& lb, LPARAM key, int after, bool exact) {
    const int n = count(lb);
    if (n == 0) return -1;
    const int start = (after < -1 || after >= n) ? 0 : after + 1;
    if (!hasStrings(h)) {
        for (int k = 0; k < n; ++k) {
            const int i = (start + k) % n;
            if (lb.items[static_cast<std::size_t>(i)].data == key) return i;
        }
        return -1;
    }
    const char* text = reinterpret_cast<const char*>(key);
    if (!text) return -1;
    const std::string wanted = upper(text);
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        const std::string t = upper(lb.items[static_cast<std::size_t>(i)].text);
        if (exact ? t == wanted : t.compare(0, wanted.size(), wanted) == 0) return i;
    }
    return -1;
}

// The owner's order of a new item (data) against item `i`: below zero when
// the new one goes first.
int compareWithOwner(HWND h, ListBox& lb, LPARAM data, int i) {
    const Owner o = ownerOf(h, lb);
    COMPAREITEMSTRUCT c;
    c.CtlType = o.type;
    c.CtlID = o.id;
    c.hwndItem = o.control;
    c.itemID1 = static_cast<UINT>(-1);
    c.itemData1 = static_cast<ULONG_PTR>(data);
    c.itemID2 = static_cast<UINT>(i);
    c.itemData2 = static_cast<ULONG_PTR>(at(lb, i).data);
    return static_cast<int>(
        SendMessageA(o.window, WM_COMPAREITEM, o.id, reinterpret_cast<LPARAM>(&c)));
}

int sortedPlace(HWND h, ListBox& lb, const Item& it) {
    if (!hasStrings(h)) {
        // After the last item that does not come after it (a binary search).
        int lo = 0, hi = count(lb);
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (compareWithOwner(h, lb, it.data, mid) < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    }
    const std::string key = upper(it.text);
    int index = 0;
    while (index < count(lb) && upper(at(lb, index).text) <= key)
        ++index;
    return index;
}

int insertAt(HWND h, ListBox& lb, int index, LPARAM value, bool sorted) {
    Item it;
    if (hasStrings(h)) {
        const char* text = reinterpret_cast<const char*>(value);
        it.text = text ? text : "";
    } else {
        it.data = value;
    }
    if (sorted)
        index = sortedPlace(h, lb, it);
    else if (index < 0 || index > count(lb))
        index = count(lb);
    if (variable(h)) it.height = measure(h, lb, static_cast<UINT>(index), it.data);
    lb.items.insert(lb.items.begin() + index, std::move(it));
    if (lb.caret >= index) ++lb.caret;
    if (lb.anchor >= index) ++lb.anchor;
    changed(h, lb);
    return index;
}

// The owner of an owner-drawn list hears of every item that goes.
void deleted(HWND h, const ListBox& lb, int i) {
    if (!ownerDrawn(h)) return;
    const Owner o = ownerOf(h, lb);
    DELETEITEMSTRUCT d;
    d.CtlType = o.type;
    d.CtlID = o.id;
    d.itemID = static_cast<UINT>(i);
    d.hwndItem = o.control;
    d.itemData = static_cast<ULONG_PTR>(lb.items[static_cast<std::size_t>(i)].data);
    SendMessageA(o.window, WM_DELETEITEM, o.id, reinterpret_cast<LPARAM>(&d));
}

void deleteAll(HWND h, ListBox& lb) {
    for (int i = count(lb) - 1; i >= 0; --i)
        deleted(h, lb, i);
    lb.items.clear();
    lb.caret = lb.anchor = -1;
    lb.top = 0;
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
    const int page = std::max(1, fitFrom(h, lb, lb.top) - (columns(h) ? 0 : 1));
    // Of several columns, left and right go a column.
    const int across = columns(h) ? rowsPerColumn(h, lb) : 1;
    switch (vk) {
        case VK_UP:
            i = i < 0 ? 0 : i - 1;
            break;
        case VK_DOWN:
            i = i < 0 ? 0 : i + 1;
            break;
        case VK_LEFT:
            i = i < 0 ? 0 : i - across;
            break;
        case VK_RIGHT:
            i = i < 0 ? 0 : i + across;
            break;
        case VK_PRIOR:
            i = i < 0 ? 0 : i - page;
            break;
        case VK_NEXT:
            i = i < 0 ? 0 : i + page;
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

UINT itemState(HWND h, const ListBox& lb, int i) {
    UINT s = 0;
    if (lb.items[static_cast<std::size_t>(i)].selected) s |= ODS_SELECTED;
    if (i == lb.caret && lb.focus && !lb.combo) s |= ODS_FOCUS;
    if (!IsWindowEnabled(h)) s |= ODS_DISABLED;
    return s;
}

// WM_DRAWITEM to the owner for one item, on `dc`.
void ownerDraw(HWND h, ListBox& lb, HDC dc, int i, UINT action) {
    const Owner o = ownerOf(h, lb);
    DRAWITEMSTRUCT d;
    d.CtlType = o.type;
    d.CtlID = o.id;
    d.itemID = static_cast<UINT>(i);
    d.itemAction = action;
    d.itemState = itemState(h, lb, i);
    d.hwndItem = o.control;
    d.hDC = dc;
    d.rcItem = itemRect(h, lb, i);
    d.itemData = static_cast<ULONG_PTR>(at(lb, i).data);
    SelectObject(dc, fontOrDefault(lb.font));
    SendMessageA(o.window, WM_DRAWITEM, o.id, reinterpret_cast<LPARAM>(&d));
}

// Drawn at once, outside WM_PAINT, as a change of selection or focus is.
void drawNow(HWND h, ListBox& lb, int i, UINT action) {
    if (i < 0 || i >= count(lb) || !shown(h, lb, i)) return;
    HDC dc = GetDC(h);
    ownerDraw(h, lb, dc, i, action);
    ReleaseDC(h, dc);
}

void paintItem(HWND h, ListBox& lb, HDC dc, int i, COLORREF textColour) {
    const Item& it = at(lb, i);
    const RECT row = itemRect(h, lb, i);
    const bool clip = columns(h);
    if (clip) {
        SaveDC(dc);
        IntersectClipRect(dc, row.left, row.top, row.right, row.bottom);
    }
    if (it.selected) fillSolid(dc, row, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, it.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
    expandTabs(dc, lb, h, it.text, row.left + 2, row.top);
    if (i == lb.caret && lb.focus && !lb.combo) drawFocus(dc, row);
    if (clip) RestoreDC(dc, -1);
}

void paint(HWND h, ListBox& lb) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    const RECT rc = client(h);
    HBRUSH bg = controlColour(h, dc, WM_CTLCOLORLISTBOX);
    const COLORREF textColour = IsWindowEnabled(h) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    FillRect(dc, &rc, bg);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(lb.font));
    SetBkMode(dc, TRANSPARENT);
    for (int i = lb.top; i < count(lb); ++i) {
        const RECT r = itemRect(h, lb, i);
        if (r.top >= rc.bottom && !columns(h)) break;
        if (r.left >= rc.right) break;
        if (ownerDrawn(h))
            ownerDraw(h, lb, dc, i, ODA_DRAWENTIRE);
        else
            paintItem(h, lb, dc, i, textColour);
    }
    SelectObject(dc, old);
    EndPaint(h, &ps);
}

// LB_GETTEXT: the text, or in a list without strings the item data.
LRESULT getText(HWND h, const ListBox& lb, WPARAM index, LPARAM buffer) {
    if (index >= lb.items.size()) return LB_ERR;
    if (!hasStrings(h)) {
        if (buffer)
            std::memcpy(reinterpret_cast<void*>(buffer), &lb.items[index].data, sizeof(LPARAM));
        return sizeof(LPARAM);
    }
    const std::string& t = lb.items[index].text;
    if (buffer) std::memcpy(reinterpret_cast<char*>(buffer), t.c_str(), t.size() + 1);
    return static_cast<LRESULT>(t.size());
}

// Scrolling: by items, or of several columns by columns.
void scroll(HWND h, ListBox& lb, WORD code, int thumb) {
    const int step = columns(h) ? rowsPerColumn(h, lb) : 1;
    const int page = columns(h) ? step * visibleColumns(h, lb) : fitFrom(h, lb, lb.top);
    switch (code) {
        case SB_LINEUP:
            lb.top -= step;
            break;
        case SB_LINEDOWN:
            lb.top += step;
            break;
        case SB_PAGEUP:
            lb.top -= page;
            break;
        case SB_PAGEDOWN:
            lb.top += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            lb.top = thumb * step;
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
    if (columns(h)) lb.top = std::max(0, lb.top) / step * step;
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

LRESULT setItemHeight(HWND h, ListBox& lb, WPARAM index, LPARAM lp) {
    const int height = LOWORD(static_cast<std::uintptr_t>(lp));
    if (height <= 0 || height > 255) return LB_ERR;
    if (variable(h)) {
        if (index >= lb.items.size()) return LB_ERR;
        lb.items[index].height = height;
    } else {
        lb.fixedHeight = height;
        lb.measured = true;
    }
    changed(h, lb);
    return LB_OKAY;
}

LRESULT itemFromPoint(HWND h, ListBox& lb, LPARAM lp) {
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (count(lb) == 0) return MAKELONG(0, 1);
    const int i = itemAt(h, lb, p);
    if (i >= 0) return MAKELONG(static_cast<WORD>(i), 0);
    if (!columns(h) && !variable(h)) {
        const int k = lb.top + p.y / itemHeight(h, lb);
        return MAKELONG(static_cast<WORD>(std::clamp(k, 0, count(lb) - 1)), 1);
    }
    return MAKELONG(static_cast<WORD>(p.y < 0 ? lb.top : count(lb) - 1), 1);
}

LRESULT handle(HWND h, ListBox& lb, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: {
            // A list of a combo box is measured once the combo box has claimed it.
            char parentClass[32] = {};
            GetClassNameA(GetParent(h), parentClass, sizeof parentClass);
            // The scroll bars asked for come and go with the need (the style
            // bits alone would forget them once hidden).
            lb.scrollBars = styleOf(h) & (WS_VSCROLL | WS_HSCROLL);
            lb.mayMeasure = !(styleOf(h) & WS_POPUP) && std::strcmp(parentClass, "ComboBox") != 0;
            itemHeight(h, lb);
            updateScroll(h, lb);
            return 0;
        }
        case WM_DESTROY:
            deleteAll(h, lb);
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
            if (lp) InvalidateRect(h, nullptr, TRUE);
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
        case WM_HSCROLL:
            // Sideways only by columns; a single column scrolls up and down.
            if ((msg == WM_HSCROLL) == columns(h))
                scroll(h, lb, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_MOUSEWHEEL:
            scroll(h, lb, static_cast<SHORT>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            return 0;
        case WM_KEYDOWN:
            // F1 is the window's help key, not the control's.
            if (wp == VK_F1) return DefWindowProcA(h, msg, wp, lp);
            keyMove(h, lb, wp, true);
            return 0;
        case WM_CHAR: {
            if (wp < 32 || !hasStrings(h)) return 0;
            const char s[2] = {static_cast<char>(wp), 0};
            const int i = findItem(h, lb, reinterpret_cast<LPARAM>(s), lb.caret, false);
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
            return insertAt(h, lb, -1, lp, (styleOf(h) & LBS_SORT) != 0);
        case LB_INSERTSTRING:
            return insertAt(h, lb, static_cast<int>(static_cast<std::intptr_t>(wp)), lp, false);
        case LB_DELETESTRING: {
            if (wp >= lb.items.size()) return LB_ERR;
            const int i = static_cast<int>(wp);
            deleted(h, lb, i);
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
            deleteAll(h, lb);
            changed(h, lb);
            return 0;
        case LB_GETCOUNT:
            return count(lb);
        case LB_GETTEXT:
            return getText(h, lb, wp, lp);
        case LB_GETTEXTLEN:
            if (wp >= lb.items.size()) return LB_ERR;
            return hasStrings(h) ? static_cast<LRESULT>(lb.items[wp].text.size())
                                 : static_cast<LRESULT>(sizeof(LPARAM));
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
            return findItem(h, lb, lp, static_cast<int>(static_cast<std::intptr_t>(wp)),
                            msg == LB_FINDSTRINGEXACT);
        case LB_SELECTSTRING: {
            if (multiple(h)) return LB_ERR;
            const int i =
                findItem(h, lb, lp, static_cast<int>(static_cast<std::intptr_t>(wp)), false);
            if (i < 0) return LB_ERR;
            selectOnly(lb, i);
            ensureVisible(h, lb, i);
            return i;
        }
        case LB_SETTABSTOPS:
            lb.tabStops.assign(reinterpret_cast<const int*>(lp),
                               reinterpret_cast<const int*>(lp) + (lp ? wp : 0));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case LB_GETTOPINDEX:
            return lb.top;
        case LB_SETTOPINDEX:
            lb.top = static_cast<int>(wp);
            if (columns(h)) lb.top -= lb.top % rowsPerColumn(h, lb);
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
            return variable(h)
                       ? (wp < lb.items.size() ? heightOf(h, lb, static_cast<int>(wp)) : LB_ERR)
                       : itemHeight(h, lb);
        case LB_SETITEMHEIGHT:
            return setItemHeight(h, lb, wp, lp);
        case LB_SETCOLUMNWIDTH:
            lb.columnWidth = std::max(1, static_cast<int>(wp));
            changed(h, lb);
            return 0;
        case LB_GETITEMRECT: {
            if (wp >= lb.items.size() || !lp) return LB_ERR;
            *reinterpret_cast<RECT*>(lp) = itemRect(h, lb, static_cast<int>(wp));
            return 0;
        }
        case LB_ITEMFROMPOINT:
            return itemFromPoint(h, lb, lp);
        case LB_DIR:
            return listDirectory(h, static_cast<UINT>(wp), reinterpret_cast<const char*>(lp));
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

// What an owner-drawn list shows of its selection and focus, before a message.
struct Shown {
    std::vector<bool> selected;
    int focusItem;
    int top;
};
Shown shownState(const ListBox& lb) {
    Shown s;
    for (const Item& it : lb.items)
        s.selected.push_back(it.selected);
    s.focusItem = lb.focus && !lb.combo ? lb.caret : -1;
    s.top = lb.top;
    return s;
}

// The owner draws what changed: the item losing the focus, each item whose
// selection changed, then the item gaining the focus.
void drawChanges(HWND h, ListBox& lb, const Shown& before) {
    const Shown after = shownState(lb);
    if (after.selected.size() != before.selected.size()) return;  // repainted whole
    if (before.focusItem != after.focusItem) drawNow(h, lb, before.focusItem, ODA_FOCUS);
    for (std::size_t i = 0; i < after.selected.size(); ++i)
        if (after.selected[i] != before.selected[i])
            drawNow(h, lb, static_cast<int>(i), ODA_SELECT);
    if (before.focusItem != after.focusItem) drawNow(h, lb, after.focusItem, ODA_FOCUS);
}

bool changesSelectionOrFocus(UINT msg) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case LB_SETCURSEL:
        case LB_SETSEL:
        case LB_SELITEMRANGE:
        case LB_SELECTSTRING:
        case LB_SETCARETINDEX:
            return true;
        default:
            return false;
    }
}

LRESULT listProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ListBox* p = records().forMessage(h, msg);
    if (!p) return DefWindowProcA(h, msg, wp, lp);
    // Only the outermost message draws the changes (a click sets the focus too).
    if (!ownerDrawn(h) || !changesSelectionOrFocus(msg) || p->incremental)
        return handle(h, *p, msg, wp, lp);
    const Shown before = shownState(*p);
    p->incremental = true;
    const LRESULT r = handle(h, *p, msg, wp, lp);
    if (records().get(h) != p) return r;  // destroyed meanwhile
    p->incremental = false;
    drawChanges(h, *p, before);
    return r;
}

}  // namespace

void attachListToCombo(HWND list, HWND combo) {
    if (ListBox* lb = records().get(list)) lb->combo = combo;
}

void setListCombo(HWND list, HWND combo) {
    if (ListBox* lb = records().get(list)) {
        lb->ownerCombo = combo;
        lb->mayMeasure = true;
    }
}

void listBoxKey(HWND list, WPARAM vk, bool notifyChange) {
    if (ListBox* lb = records().get(list)) keyMove(list, *lb, vk, notifyChange);
}

int listBoxFind(HWND list, const char* text, int after, bool exact) {
    ListBox* lb = records().get(list);
    return lb ? findItem(list, *lb, reinterpret_cast<LPARAM>(text), after, exact) : -1;
}

void registerListBoxClass() {
    registerClass("ListBox", listProc, CS_DBLCLKS, nullptr, -1);
    registerClass(kComboListClass, listProc, CS_DBLCLKS | CS_SAVEBITS, nullptr, -1);
}

}  // namespace win::controls
