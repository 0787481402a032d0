// STATIC: labels in their alignments, filled and framed rectangles, etched
// lines and frames, and pictures (bitmap, icon, enhanced metafile).

#include <string>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/gdi/metafile.h"
#include "platform/window/image_api.h"

namespace win::controls {
namespace {

struct Static {
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

Records<Static>& records() {
    static Records<Static> r;
    return r;
}

DWORD kind(HWND h) {
    return styleOf(h) & SS_TYPEMASK;
}

void paintImage(HWND h, HDC dc, const Static& st, const RECT& rc) {
    const DWORD k = kind(h);
    if (!st.image) return;
    if (k == SS_BITMAP) {
        BITMAP bm{};
        GetObjectA(st.image, sizeof bm, &bm);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, st.image);
        int x = 0, y = 0;
        if (styleOf(h) & SS_CENTERIMAGE) {
            x = (rc.right - bm.bmWidth) / 2;
            y = (rc.bottom - bm.bmHeight) / 2;
        }
        BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    } else if (k == SS_ICON) {
        DrawIconEx(dc, 0, 0, static_cast<HICON>(st.image), rc.right, rc.bottom, 0, nullptr,
                   DI_NORMAL);
    } else if (k == SS_ENHMETAFILE) {
        PlayEnhMetaFile(dc, static_cast<HENHMETAFILE>(st.image), &rc);
    }
}

void paint(HWND h, Static& st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    const DWORD style = styleOf(h);
    const DWORD k = kind(h);
    HBRUSH bg = controlColour(h, dc, WM_CTLCOLORSTATIC);
    const COLORREF text = GetTextColor(dc);
    switch (k) {
        case SS_BLACKRECT:
            fillSolid(dc, rc, GetSysColor(COLOR_3DDKSHADOW));
            break;
        case SS_GRAYRECT:
            fillSolid(dc, rc, GetSysColor(COLOR_BTNSHADOW));
            break;
        case SS_WHITERECT:
            fillSolid(dc, rc, GetSysColor(COLOR_BTNHIGHLIGHT));
            break;
        case SS_BLACKFRAME:
            FrameRect(dc, &rc, sysBrush(COLOR_3DDKSHADOW));
            break;
        case SS_GRAYFRAME:
            FrameRect(dc, &rc, sysBrush(COLOR_BTNSHADOW));
            break;
        case SS_WHITEFRAME:
            FrameRect(dc, &rc, sysBrush(COLOR_BTNHIGHLIGHT));
            break;
        case SS_ETCHEDFRAME:
            drawEtchedFrame(dc, rc);
            break;
        case SS_ETCHEDHORZ:
            drawLine(dc, rc.left, 0, rc.right, 0, GetSysColor(COLOR_BTNSHADOW));
            drawLine(dc, rc.left, 1, rc.right, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
            break;
        case SS_ETCHEDVERT:
            drawLine(dc, 0, rc.top, 0, rc.bottom, GetSysColor(COLOR_BTNSHADOW));
            drawLine(dc, 1, rc.top, 1, rc.bottom, GetSysColor(COLOR_BTNHIGHLIGHT));
            break;
        case SS_BITMAP:
        case SS_ICON:
        case SS_ENHMETAFILE:
            FillRect(dc, &rc, bg);
            paintImage(h, dc, st, rc);
            break;
        default: {
            FillRect(dc, &rc, bg);
            char buf[1024];
            GetWindowTextA(h, buf, sizeof buf);
            SelectObject(dc, fontOrDefault(st.font));
            UINT format = DT_EXPANDTABS;
            if (k == SS_CENTER)
                format |= DT_CENTER | DT_WORDBREAK;
            else if (k == SS_RIGHT)
                format |= DT_RIGHT | DT_WORDBREAK;
            else if (k == SS_LEFT)
                format |= DT_WORDBREAK;
            else
                format |= DT_SINGLELINE;
            if (style & SS_CENTERIMAGE) format |= DT_SINGLELINE | DT_VCENTER;
            drawLabel(dc, buf, rc, format, IsWindowEnabled(h) ? text : GetSysColor(COLOR_GRAYTEXT),
                      (style & SS_NOPREFIX) != 0);
            break;
        }
    }
    if (style & SS_SUNKEN) drawThinEdge(dc, rc, false);
    EndPaint(h, &ps);
}

// An icon or bitmap static takes the size of its picture.
void fitToImage(HWND h, const Static& st) {
    const DWORD k = kind(h);
    if (!st.image || (styleOf(h) & SS_CENTERIMAGE)) return;
    int w = 0, ht = 0;
    if (k == SS_BITMAP) {
        BITMAP bm{};
        GetObjectA(st.image, sizeof bm, &bm);
        w = bm.bmWidth;
        ht = bm.bmHeight;
    } else if (k == SS_ICON) {
        w = GetSystemMetrics(SM_CXICON);
        ht = GetSystemMetrics(SM_CYICON);
    } else {
        return;
    }
    SetWindowPos(h, nullptr, 0, 0, w, ht, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT setImage(HWND h, Static& st, HANDLE image) {
    HANDLE old = st.image;
    st.image = image;
    fitToImage(h, st);
    InvalidateRect(h, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT staticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Static* st = records().forMessage(h, msg);
    if (!st) return DefWindowProcA(h, msg, wp, lp);
    const DWORD k = kind(h);
    switch (msg) {
        case WM_CREATE: {
            // A picture static names its picture in the window text.
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            if ((k == SS_ICON || k == SS_BITMAP) && cs && cs->lpszName &&
                (IS_INTRESOURCE(cs->lpszName) || *cs->lpszName)) {
                HANDLE img = k == SS_ICON
                                 ? static_cast<HANDLE>(LoadIconA(cs->hInstance, cs->lpszName))
                                 : LoadImageA(cs->hInstance, cs->lpszName, IMAGE_BITMAP, 0, 0, 0);
                if (img) setImage(h, *st, img);
            }
            return 0;
        }
        case WM_NCHITTEST:
            return (styleOf(h) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, *st);
            return 0;
        case WM_SETFONT:
            st->font = reinterpret_cast<HFONT>(wp);
            if (lp) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(st->font);
        case WM_SETTEXT: {
            if (k == SS_ICON || k == SS_BITMAP || k == SS_ENHMETAFILE) return TRUE;
            const LRESULT r = DefWindowProcA(h, msg, wp, lp);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case WM_ENABLE:
            InvalidateRect(h, nullptr, TRUE);
            if (styleOf(h) & SS_NOTIFY) notifyCommand(h, wp ? STN_ENABLE : STN_DISABLE);
            return 0;
        case WM_LBUTTONDOWN:
            if (styleOf(h) & SS_NOTIFY) notifyCommand(h, STN_CLICKED);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (styleOf(h) & SS_NOTIFY) notifyCommand(h, STN_DBLCLK);
            return 0;
        case STM_SETIMAGE:
        case STM_SETICON:
            return setImage(
                h, *st,
                reinterpret_cast<HANDLE>(msg == STM_SETICON ? wp : static_cast<WPARAM>(lp)));
        case STM_GETIMAGE:
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(st->image);
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerStaticClass() {
    registerClass("Static", staticProc, CS_DBLCLKS, nullptr, -1);
}

}  // namespace win::controls
