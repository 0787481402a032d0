// SysHeader32: column titles; a click on a title and a drag of a divider
// are reported to the parent (the drag may be refused at its start).

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"

namespace win::controls {
namespace {

constexpr int kDividerSlack = 4;

struct Column {
    std::string text;
    int width = 50;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
};

struct Header {
    std::vector<Column> columns;
    HFONT font = nullptr;
    int pressed = -1;   // the title held down
    int tracking = -1;  // the column whose divider is dragged
    int trackStartX = 0, trackStartWidth = 0, trackWidth = 0;
};

Records<Header>& records() {
    static Records<Header> r;
    return r;
}

RECT itemRect(HWND h, const Header& hd, int i) {
    RECT rc;
    GetClientRect(h, &rc);
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += hd.columns[static_cast<std::size_t>(k)].width;
    return {x, 0, x + hd.columns[static_cast<std::size_t>(i)].width, rc.bottom};
}

HDHITTESTINFO hitTest(HWND h, const Header& hd, POINT p) {
    HDHITTESTINFO info;
    info.pt = p;
    info.flags = HHT_NOWHERE;
    for (int i = 0; i < static_cast<int>(hd.columns.size()); ++i) {
        const RECT r = itemRect(h, hd, i);
        if (std::abs(p.x - r.right) <= kDividerSlack) {
            info.flags = HHT_ONDIVIDER;
            info.iItem = i;
            return info;
        }
        if (p.x >= r.left && p.x < r.right) {
            info.flags = HHT_ONHEADER;
            info.iItem = i;
        }
    }
    return info;
}

LRESULT notify(HWND h, UINT code, int item, HDITEMA* pitem) {
    NMHEADERA nm;
    nm.iItem = item;
    nm.iButton = 0;
    nm.pitem = pitem;
    return notifyParent(h, code, &nm);
}

void paint(HWND h, const Header& hd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    SelectObject(dc, fontOrDefault(hd.font));
    for (int i = 0; i < static_cast<int>(hd.columns.size()); ++i) {
        const Column& c = hd.columns[static_cast<std::size_t>(i)];
        const RECT r = itemRect(h, hd, i);
        if (i == hd.pressed)
            drawThinEdge(dc, r, false);
        else
            drawEdge(dc, r, true);
        const UINT align = (c.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                           : (c.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                     : DT_LEFT;
        const int shift = i == hd.pressed ? 1 : 0;
        drawLabel(dc, c.text,
                  {r.left + 6 + shift, r.top + shift, r.right - 6 + shift, r.bottom + shift},
                  align | DT_VCENTER | DT_SINGLELINE, GetSysColor(COLOR_BTNTEXT), true);
    }
    EndPaint(h, &ps);
}

void takeItem(Column& c, const HDITEMA* it) {
    if (it->mask & HDI_WIDTH) c.width = std::max(0, it->cxy);
    if ((it->mask & HDI_TEXT) && it->pszText) c.text = it->pszText;
    if (it->mask & HDI_FORMAT) c.fmt = it->fmt;
    if (it->mask & HDI_LPARAM) c.param = it->lParam;
}

void fillItem(const Column& c, HDITEMA* it) {
    if (it->mask & HDI_WIDTH) it->cxy = c.width;
    if ((it->mask & HDI_TEXT) && it->pszText && it->cchTextMax > 0) {
        const std::size_t n =
            std::min<std::size_t>(static_cast<std::size_t>(it->cchTextMax) - 1, c.text.size());
        std::memcpy(it->pszText, c.text.data(), n);
        it->pszText[n] = 0;
    }
    if (it->mask & HDI_FORMAT) it->fmt = c.fmt;
    if (it->mask & HDI_LPARAM) it->lParam = c.param;
}

// A change asked by a message or a drag: the parent may refuse it first.
bool change(HWND h, Header& hd, int i, const HDITEMA* it) {
    HDITEMA copy = *it;
    if (notify(h, HDN_ITEMCHANGINGA, i, &copy)) return false;
    takeItem(hd.columns[static_cast<std::size_t>(i)], it);
    InvalidateRect(h, nullptr, TRUE);
    notify(h, HDN_ITEMCHANGEDA, i, &copy);
    return true;
}

LRESULT headerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Header* p = records().forMessage(h, msg);
    if (!p) return DefWindowProcA(h, msg, wp, lp);
    Header& hd = *p;
    const int count = static_cast<int>(hd.columns.size());
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, hd);
            return 0;
        case WM_SETFONT:
            hd.font = reinterpret_cast<HFONT>(wp);
            if (lp) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(hd.font);
        case WM_SETCURSOR: {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(h, &pt);
            if (hd.tracking >= 0 || hitTest(h, hd, pt).flags == HHT_ONDIVIDER) {
                SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            return DefWindowProcA(h, msg, wp, lp);
        }
        case WM_LBUTTONDOWN: {
            const HDHITTESTINFO info = hitTest(h, hd, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (info.flags == HHT_ONDIVIDER) {
                HDITEMA it;
                it.mask = HDI_WIDTH;
                it.cxy = hd.columns[static_cast<std::size_t>(info.iItem)].width;
                if (notify(h, HDN_BEGINTRACKA, info.iItem, &it)) return 0;
                hd.tracking = info.iItem;
                hd.trackStartX = GET_X_LPARAM(lp);
                hd.trackStartWidth = hd.trackWidth = it.cxy;
                SetCapture(h);
            } else if (info.flags == HHT_ONHEADER && (GetWindowLongA(h, GWL_STYLE) & HDS_BUTTONS)) {
                hd.pressed = info.iItem;
                SetCapture(h);
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        }
        case WM_MOUSEMOVE:
            if (hd.tracking >= 0) {
                HDITEMA it;
                it.mask = HDI_WIDTH;
                it.cxy = std::max(0, hd.trackStartWidth + GET_X_LPARAM(lp) - hd.trackStartX);
                if (!notify(h, HDN_TRACKA, hd.tracking, &it)) {
                    hd.trackWidth = it.cxy;
                    hd.columns[static_cast<std::size_t>(hd.tracking)].width = it.cxy;
                    InvalidateRect(h, nullptr, TRUE);
                }
            }
            return 0;
        case WM_LBUTTONUP: {
            if (hd.tracking >= 0) {
                const int i = hd.tracking;
                hd.tracking = -1;
                ReleaseCapture();
                HDITEMA it;
                it.mask = HDI_WIDTH;
                it.cxy = hd.trackWidth;
                notify(h, HDN_ENDTRACKA, i, &it);
                hd.columns[static_cast<std::size_t>(i)].width = hd.trackStartWidth;
                change(h, hd, i, &it);
            } else if (hd.pressed >= 0) {
                const int i = hd.pressed;
                hd.pressed = -1;
                ReleaseCapture();
                InvalidateRect(h, nullptr, TRUE);
                if (hitTest(h, hd, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}).iItem == i)
                    notify(h, HDN_ITEMCLICKA, i, nullptr);
            }
            return 0;
        }
        case WM_LBUTTONDBLCLK: {
            const HDHITTESTINFO info = hitTest(h, hd, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (info.flags == HHT_ONDIVIDER)
                notify(h, HDN_DIVIDERDBLCLICKA, info.iItem, nullptr);
            else if (info.flags == HHT_ONHEADER)
                notify(h, HDN_ITEMDBLCLICKA, info.iItem, nullptr);
            return 0;
        }
        case WM_CAPTURECHANGED:
            hd.pressed = -1;
            return 0;
        case HDM_GETITEMCOUNT:
            return count;
        case HDM_INSERTITEMA: {
            if (!lp) return -1;
            const int i = std::clamp(static_cast<int>(wp), 0, count);
            Column c;
            takeItem(c, reinterpret_cast<const HDITEMA*>(lp));
            hd.columns.insert(hd.columns.begin() + i, c);
            InvalidateRect(h, nullptr, TRUE);
            return i;
        }
        case HDM_DELETEITEM:
            if (static_cast<int>(wp) >= count) return FALSE;
            hd.columns.erase(hd.columns.begin() + static_cast<long>(wp));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case HDM_GETITEMA:
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            fillItem(hd.columns[wp], reinterpret_cast<HDITEMA*>(lp));
            return TRUE;
        case HDM_SETITEMA:
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            return change(h, hd, static_cast<int>(wp), reinterpret_cast<const HDITEMA*>(lp))
                       ? TRUE
                       : FALSE;
        case HDM_GETITEMRECT:
            if (static_cast<int>(wp) >= count || !lp) return FALSE;
            *reinterpret_cast<RECT*>(lp) = itemRect(h, hd, static_cast<int>(wp));
            return TRUE;
        case HDM_HITTEST: {
            auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
            if (!info) return -1;
            *info = hitTest(h, hd, info->pt);
            return info->iItem;
        }
        case HDM_LAYOUT: {
            // The header takes a row at the top of the rectangle given.
            auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
            if (!layout || !layout->prc || !layout->pwpos) return FALSE;
            const int height = lineHeight(hd.font) + 8;
            RECT& r = *layout->prc;
            *layout->pwpos =
                WINDOWPOS{h, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER};
            r.top += height;
            return TRUE;
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerHeaderClass() {
    registerClass(WC_HEADERA, headerProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
