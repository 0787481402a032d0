#include "platform/controls/control_support.h"

#include <algorithm>

namespace win::controls {

void notifyCommand(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(controlId(control)), code),
                 reinterpret_cast<LPARAM>(control));
}

namespace {
struct Header {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
}  // namespace

LRESULT notifyParent(HWND control, UINT code, void* header) {
    auto* h = static_cast<Header*>(header);
    h->hwndFrom = control;
    h->idFrom = static_cast<UINT_PTR>(controlId(control));
    h->code = code;
    HWND parent = GetParent(control);
    if (!parent) return 0;
    return SendMessageA(parent, WM_NOTIFY, h->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT notifyParent(HWND control, UINT code) {
    Header h{};
    return notifyParent(control, code, &h);
}

HBRUSH controlColour(HWND control, HDC dc, UINT message) {
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_BTNFACE));
    HBRUSH fallback = sysBrush(field ? COLOR_WINDOW : COLOR_BTNFACE);
    HWND parent = GetParent(control);
    if (!parent) return fallback;
    const LRESULT r = SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(control));
    return r ? reinterpret_cast<HBRUSH>(r) : fallback;
}

bool fontOrEraseMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp, HFONT& font, LRESULT& result) {
    switch (msg) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_SETFONT:
            font = reinterpret_cast<HFONT>(wp);
            if (lp) InvalidateRect(h, nullptr, TRUE);
            result = 0;
            return true;
        case WM_GETFONT:
            result = reinterpret_cast<LRESULT>(font);
            return true;
        default:
            return false;
    }
}

void commonFocusChange(HWND h, UINT msg, bool& focus) {
    focus = msg == WM_SETFOCUS;
    InvalidateRect(h, nullptr, TRUE);
    notifyParent(h, focus ? 0u - 7u : 0u - 8u);  // NM_SETFOCUS, NM_KILLFOCUS
}

HFONT defaultFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
HFONT fontOrDefault(HFONT font) {
    return font ? font : defaultFont();
}
DWORD styleOf(HWND h) {
    return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
}
int controlId(HWND h) {
    return GetDlgCtrlID(h);
}

HBRUSH sysBrush(int index) {
    return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(index + 1));
}

void fillSolid(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH b = CreateSolidBrush(colour);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void drawLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

namespace {
void box(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    drawLine(dc, r.left, r.bottom - 1, r.left, r.top, topLeft);
    drawLine(dc, r.left, r.top, r.right - 1, r.top, topLeft);
    drawLine(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
    drawLine(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, bottomRight);
}
}  // namespace

void drawEdge(HDC dc, const RECT& r, bool raised) {
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), light = GetSysColor(COLOR_3DLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (raised) {
        box(dc, r, hi, dark);
        box(dc, inner, light, shadow);
    } else {
        box(dc, r, shadow, hi);
        box(dc, inner, dark, light);
    }
}

void drawThinEdge(HDC dc, const RECT& r, bool raised) {
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    box(dc, r, raised ? hi : shadow, raised ? shadow : hi);
}

void drawEtchedFrame(HDC dc, const RECT& r) {
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    box(dc, {r.left + 1, r.top + 1, r.right, r.bottom}, hi, hi);
    box(dc, {r.left, r.top, r.right - 1, r.bottom - 1}, shadow, shadow);
}

void drawFocus(HDC dc, const RECT& r) {
    // A dotted rectangle, every other pixel, as Windows draws the focus.
    const COLORREF c = GetSysColor(COLOR_BTNTEXT);
    for (int x = r.left; x < r.right; x += 2) {
        SetPixelV(dc, x, r.top, c);
        SetPixelV(dc, x, r.bottom - 1, c);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        SetPixelV(dc, r.left, y, c);
        SetPixelV(dc, r.right - 1, y, c);
    }
}

int textWidth(HDC dc, const std::string& text) {
    SIZE s;
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
}

int lineHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(font));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

void drawLabel(HDC dc, const std::string& text, RECT r, UINT format, COLORREF colour,
               bool noPrefix) {
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              format | (noPrefix ? DT_NOPREFIX : 0));
    if (noPrefix || (format & DT_CALCRECT)) return;
    // Underline the mnemonic of a single-line label.
    std::string shown;
    int mark = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && mark < 0) mark = static_cast<int>(shown.size());
        }
        shown += text[i];
    }
    if (mark < 0 || shown.find_first_of("\r\n") != std::string::npos) return;
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int w = textWidth(dc, shown);
    // A label that wraps is drawn on several lines: no single place to mark.
    if (!(format & DT_SINGLELINE) && w > r.right - r.left) return;
    int x = r.left;
    if (format & DT_CENTER)
        x = r.left + (r.right - r.left - w) / 2;
    else if (format & DT_RIGHT)
        x = r.right - w;
    int y = r.top;
    if (format & DT_VCENTER)
        y = r.top + (r.bottom - r.top - tm.tmHeight) / 2;
    else if (format & DT_BOTTOM)
        y = r.bottom - tm.tmHeight;
    const int x0 = x + textWidth(dc, shown.substr(0, static_cast<std::size_t>(mark)));
    const int x1 = x + textWidth(dc, shown.substr(0, static_cast<std::size_t>(mark) + 1));
    drawLine(dc, x0, y + tm.tmAscent + 1, x1, y + tm.tmAscent + 1, colour);
}

void drawArrow(HDC dc, const RECT& r, int direction, COLORREF colour) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int size = std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4);
    for (int i = 0; i < size; ++i) {
        switch (direction) {
            case 0:
                drawLine(dc, cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i, colour);
                break;
            case 1:
                drawLine(dc, cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i, colour);
                break;
            case 2:
                drawLine(dc, cx - size / 2 + i, cy - i, cx - size / 2 + i, cy + i + 1, colour);
                break;
            default:
                drawLine(dc, cx + size / 2 - i, cy - i, cx + size / 2 - i, cy + i + 1, colour);
                break;
        }
    }
}

void registerClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor, int background) {
    WNDCLASSA wc;
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    wc.style = style | CS_GLOBALCLASS;
    wc.hCursor = cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background >= 0 ? sysBrush(background) : nullptr;
    RegisterClassA(&wc);
}

}  // namespace win::controls
