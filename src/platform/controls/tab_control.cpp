// SysTabControl32: a row of tabs; choosing one asks the parent first
// (TCN_SELCHANGING, which may refuse) and then tells it (TCN_SELCHANGE).

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"

namespace win::controls {
namespace {

struct Tab {
    std::string text;
    std::vector<BYTE> data;  // the caller's bytes kept with the item (an LPARAM by default)
    int image = -1;
    DWORD state = 0;
};

struct TabControl {
    std::vector<Tab> items;
    int current = -1;
    int focusItem = -1;
    bool focus = false;
    HFONT font = nullptr;
    int fixedWidth = 0, fixedHeight = 0;
    std::size_t extra = sizeof(LPARAM);
};

Records<TabControl>& records() {
    static Records<TabControl> r;
    return r;
}

int rowHeight(const TabControl& t) {
    return t.fixedHeight ? t.fixedHeight : lineHeight(t.font) + 6;
}

std::vector<RECT> layout(HWND h, const TabControl& t) {
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
    std::vector<RECT> out;
    int x = 2;
    for (const Tab& tab : t.items) {
        std::string shown;
        for (std::size_t i = 0; i < tab.text.size(); ++i)
            if (tab.text[i] != '&' || (i + 1 < tab.text.size() && tab.text[i + 1] == '&'))
                shown += tab.text[i];
        const int w = t.fixedWidth ? t.fixedWidth : std::max(40, textWidth(dc, shown) + 12);
        out.push_back({x, 2, x + w, 2 + rowHeight(t)});
        x += w;
    }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return out;
}

void paint(HWND h, TabControl& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, controlColour(h, dc, WM_CTLCOLORSTATIC));
    const int top = 2 + rowHeight(t);
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW),
                   dk = GetSysColor(COLOR_3DDKSHADOW);
    // The page frame below the tabs.
    drawLine(dc, rc.left, top, rc.left, rc.bottom - 1, hi);
    drawLine(dc, rc.left, top, rc.right - 1, top, hi);
    drawLine(dc, rc.right - 1, top, rc.right - 1, rc.bottom, dk);
    drawLine(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, dk);
    drawLine(dc, rc.right - 2, top + 1, rc.right - 2, rc.bottom - 1, sh);
    drawLine(dc, rc.left + 1, rc.bottom - 2, rc.right - 1, rc.bottom - 2, sh);
    SelectObject(dc, fontOrDefault(t.font));
    const auto rects = layout(h, t);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        RECT r = rects[i];
        const bool sel = static_cast<int>(i) == t.current;
        if (sel) r = {r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};
        fillSolid(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom}, GetSysColor(COLOR_BTNFACE));
        drawLine(dc, r.left, r.bottom - 1, r.left, r.top + 2, hi);
        drawLine(dc, r.left, r.top + 2, r.left + 2, r.top, hi);
        drawLine(dc, r.left + 2, r.top, r.right - 2, r.top, hi);
        drawLine(dc, r.right - 2, r.top + 1, r.right - 2, r.bottom, sh);
        drawLine(dc, r.right - 1, r.top + 2, r.right - 1, r.bottom, dk);
        drawLabel(dc, t.items[i].text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        if (sel && t.focus) drawFocus(dc, {r.left + 3, r.top + 3, r.right - 3, r.bottom - 2});
    }
    EndPaint(h, &ps);
}

// The user's choice: the parent may refuse it.
void choose(HWND h, TabControl& t, int i) {
    if (i < 0 || i >= static_cast<int>(t.items.size()) || i == t.current) return;
    if (notifyParent(h, TCN_SELCHANGING)) return;
    t.current = i;
    t.focusItem = i;
    InvalidateRect(h, nullptr, TRUE);
    notifyParent(h, TCN_SELCHANGE);
}

int hitTest(HWND h, const TabControl& t, POINT p) {
    const auto rects = layout(h, t);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

void fillItem(const Tab& tab, TCITEMA* item, std::size_t extra) {
    if (item->mask & TCIF_TEXT) {
        if (item->pszText && item->cchTextMax > 0) {
            const std::size_t n = std::min<std::size_t>(
                static_cast<std::size_t>(item->cchTextMax) - 1, tab.text.size());
            std::memcpy(item->pszText, tab.text.data(), n);
            item->pszText[n] = 0;
        }
    }
    // The item's bytes start where the structure's lParam is.
    if (item->mask & TCIF_PARAM)
        std::memcpy(&item->lParam, tab.data.data(), std::min(extra, tab.data.size()));
    if (item->mask & TCIF_IMAGE) item->iImage = tab.image;
    if (item->mask & TCIF_STATE) item->dwState = tab.state & item->dwStateMask;
}

void takeItem(Tab& tab, const TCITEMA* item, std::size_t extra) {
    if ((item->mask & TCIF_TEXT) && item->pszText) tab.text = item->pszText;
    tab.data.resize(extra);
    if (item->mask & TCIF_PARAM) std::memcpy(tab.data.data(), &item->lParam, extra);
    if (item->mask & TCIF_IMAGE) tab.image = item->iImage;
    if (item->mask & TCIF_STATE)
        tab.state = (tab.state & ~item->dwStateMask) | (item->dwState & item->dwStateMask);
}

LRESULT tabProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TabControl* tp = records().forMessage(h, msg);
    if (!tp) return DefWindowProcA(h, msg, wp, lp);
    TabControl& t = *tp;
    if (LRESULT r = 0; fontOrEraseMessage(h, msg, wp, lp, t.font, r)) return r;
    const int count = static_cast<int>(t.items.size());
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_PAINT:
            paint(h, t);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            commonFocusChange(h, msg, t.focus);
            return 0;
        case WM_NCHITTEST: {
            // Away from the tabs the mouse goes to the windows beneath: the
            // pages that lie in the display area.
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(h, &p);
            return hitTest(h, t, p) >= 0 ? HTCLIENT : HTTRANSPARENT;
        }
        case WM_LBUTTONDOWN: {
            const int i = hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i >= 0 && (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) && GetFocus() != h)
                SetFocus(h);
            choose(h, t, i);
            return 0;
        }
        case WM_KEYDOWN:
            if (wp == VK_LEFT)
                choose(h, t, t.current - 1);
            else if (wp == VK_RIGHT)
                choose(h, t, t.current + 1);
            else if (wp == VK_HOME)
                choose(h, t, 0);
            else if (wp == VK_END)
                choose(h, t, count - 1);
            else
                return DefWindowProcA(h, msg, wp, lp);
            return 0;
        case TCM_GETITEMCOUNT:
            return count;
        case TCM_INSERTITEMA: {
            if (!lp) return -1;
            int i = std::clamp(static_cast<int>(wp), 0, count);
            Tab tab;
            takeItem(tab, reinterpret_cast<const TCITEMA*>(lp), t.extra);
            t.items.insert(t.items.begin() + i, tab);
            if (t.current >= i) ++t.current;
            if (t.current < 0) t.current = 0;
            InvalidateRect(h, nullptr, TRUE);
            return i;
        }
        case TCM_SETITEMA:
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            takeItem(t.items[wp], reinterpret_cast<const TCITEMA*>(lp), t.extra);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TCM_GETITEMA:
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            fillItem(t.items[wp], reinterpret_cast<TCITEMA*>(lp), t.extra);
            return TRUE;
        case TCM_DELETEITEM:
            if (static_cast<int>(wp) >= count) return FALSE;
            t.items.erase(t.items.begin() + static_cast<long>(wp));
            if (t.current >= static_cast<int>(t.items.size()))
                t.current = static_cast<int>(t.items.size()) - 1;
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TCM_DELETEALLITEMS:
            t.items.clear();
            t.current = -1;
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TCM_GETCURSEL:
            return t.current;
        case TCM_SETCURSEL: {
            const int old = t.current;
            const int i = static_cast<int>(static_cast<std::intptr_t>(wp));
            if (i < 0 || i >= count) return -1;
            t.current = i;
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case TCM_GETCURFOCUS:
            return t.focusItem >= 0 ? t.focusItem : t.current;
        case TCM_SETCURFOCUS:
            choose(h, t, static_cast<int>(wp));
            return 0;
        case TCM_SETITEMEXTRA:
            // Only before the first item; the bytes follow the structure's head.
            if (count != 0 || static_cast<std::intptr_t>(wp) < 0) return FALSE;
            t.extra = wp;
            return TRUE;
        case TCM_SETITEMSIZE: {
            const LRESULT old =
                MAKELONG(static_cast<WORD>(t.fixedWidth), static_cast<WORD>(t.fixedHeight));
            t.fixedWidth = LOWORD(static_cast<std::uintptr_t>(lp));
            t.fixedHeight = HIWORD(static_cast<std::uintptr_t>(lp));
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case TCM_GETITEMRECT: {
            const auto rects = layout(h, t);
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            *reinterpret_cast<RECT*>(lp) = rects[wp];
            return TRUE;
        }
        case TCM_HITTEST: {
            auto* info = reinterpret_cast<TCHITTESTINFO*>(lp);
            if (!info) return -1;
            const int i = hitTest(h, t, info->pt);
            info->flags = i >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return i;
        }
        case TCM_ADJUSTRECT: {
            // FALSE: from the window rectangle to the page area; TRUE: back.
            auto* r = reinterpret_cast<RECT*>(lp);
            if (!r) return 0;
            const int top = 2 + rowHeight(t);
            if (wp)
                *r = {r->left - 4, r->top - top - 2, r->right + 4, r->bottom + 4};
            else
                *r = {r->left + 4, r->top + top + 2, r->right - 4, r->bottom - 4};
            return 0;
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerTabClass() {
    registerClass(WC_TABCONTROLA, tabProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
