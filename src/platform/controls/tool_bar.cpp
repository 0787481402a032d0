// ToolbarWindow32: a row of picture buttons (plain, check and check-group
// buttons, separators) along the top of a window, with tool tips whose text
// the parent gives through TTN_NEEDTEXTA. Pictures come from an image list
// (the tool bar's own, filled by TB_ADDBITMAP and TB_LOADIMAGES, or one the
// caller sets); labels from a pool of strings or from the buttons themselves,
// below the pictures or, with TBSTYLE_LIST, to their right.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/standard_images.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"

namespace win::controls {
namespace {

constexpr UINT_PTR kTipTimer = 7;
constexpr UINT kTipDelay = 500;
constexpr int kSeparator = 8;

struct Button : TBBUTTON {
    Button() = default;
    explicit Button(const TBBUTTON& b) : TBBUTTON(b) {}
    std::string text;  // the label given as a pointer, copied
    bool ownText = false;
};

struct ToolBar {
    std::vector<Button> buttons;
    HIMAGELIST own = nullptr;          // filled by TB_ADDBITMAP and TB_LOADIMAGES
    HIMAGELIST given = nullptr;        // set by TB_SETIMAGELIST, not ours to destroy
    int images = 0;                    // pictures added so far (the next index)
    std::vector<std::string> strings;  // TB_ADDSTRINGA's pool
    HFONT font = nullptr;
    int textRows = 1;
    SIZE bitmapSize{16, 15};
    SIZE buttonSize{23, 22};
    bool buttonSizeSet = false;
    int rows = 1;
    int pressed = -1;  // index held down by the mouse
    int hot = -1;      // index under the pointer
    int tipFor = -1;   // index the tip shows, or waits for
    HWND tip = nullptr;
};

Records<ToolBar>& records() {
    static Records<ToolBar> r;
    return r;
}

int indexOf(const ToolBar& t, int command) {
    for (std::size_t i = 0; i < t.buttons.size(); ++i)
        if (t.buttons[i].idCommand == command && !(t.buttons[i].fsStyle & TBSTYLE_SEP))
            return static_cast<int>(i);
    return -1;
}

bool listStyle(HWND h) {
    return (styleOf(h) & TBSTYLE_LIST) != 0;
}

// A button's label: its own copy, or an entry of the string pool.
const std::string* labelOf(const ToolBar& t, const Button& b) {
    if (t.textRows <= 0 || (b.fsStyle & TBSTYLE_SEP)) return nullptr;
    if (b.ownText) return &b.text;
    if (b.iString >= 0 && b.iString < static_cast<INT_PTR>(t.strings.size()))
        return &t.strings[static_cast<std::size_t>(b.iString)];
    return nullptr;
}

int widestLabel(HWND h, const ToolBar& t, bool& any) {
    any = false;
    int widest = 0;
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(t.font));
    for (const Button& b : t.buttons)
        if (const std::string* s = labelOf(t, b)) {
            any = true;
            widest = std::max(widest, textWidth(dc, *s));
        }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return widest;
}

// Every button is as big as the largest of: the size set, the picture with
// its margins, and the picture with the widest label below or beside it.
SIZE buttonSize(HWND h, const ToolBar& t) {
    bool any = false;
    const int widest = widestLabel(h, t, any);
    // Unless set, the size follows the pictures.
    SIZE s = t.buttonSizeSet ? t.buttonSize : SIZE{t.bitmapSize.cx + 7, t.bitmapSize.cy + 7};
    if (!any) return s;
    const int th = lineHeight(t.font);
    if (listStyle(h)) {
        s.cx = std::max(s.cx, t.bitmapSize.cx + widest + 14);
        s.cy = std::max(s.cy, std::max(t.bitmapSize.cy, th) + 7);
    } else {
        s.cx = std::max(s.cx, widest + 8);
        s.cy = std::max(s.cy, t.bitmapSize.cy + th + 8);
    }
    return s;
}

std::vector<RECT> layout(HWND h, const ToolBar& t) {
    std::vector<RECT> out;
    const SIZE size = buttonSize(h, t);
    const int perRow =
        t.rows > 1 ? static_cast<int>((t.buttons.size() + t.rows - 1) / t.rows) : 1 << 30;
    int x = 2, y = 2, inRow = 0;
    for (const Button& b : t.buttons) {
        if (b.fsState & TBSTATE_HIDDEN) {
            out.push_back({x, y, x, y});
            continue;
        }
        if (inRow >= perRow) {
            x = 2;
            y += size.cy + 2;
            inRow = 0;
        }
        const int w =
            (b.fsStyle & TBSTYLE_SEP) ? (b.iBitmap > 0 ? b.iBitmap : kSeparator) : size.cx;
        out.push_back({x, y, x + w, y + size.cy});
        x += w;
        ++inRow;
        if (b.fsState & TBSTATE_WRAP) {
            x = 2;
            y += size.cy + 2;
            inRow = 0;
        }
    }
    return out;
}

int hitTest(HWND h, const ToolBar& t, POINT p) {
    const auto rects = layout(h, t);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (!(t.buttons[i].fsStyle & TBSTYLE_SEP) && p.x >= r.left && p.x < r.right &&
            p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

HIMAGELIST pictures(const ToolBar& t) {
    return t.given ? t.given : t.own;
}

void drawImage(HDC dc, const ToolBar& t, int image, int x, int y, bool enabled) {
    if (!ImageList_Draw(pictures(t), image, dc, x, y, ILD_TRANSPARENT)) return;
    if (!enabled) {
        // Greyed: every other pixel in the button face.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int yy = 0; yy < t.bitmapSize.cy; ++yy)
            for (int xx = (yy & 1); xx < t.bitmapSize.cx; xx += 2)
                SetPixelV(dc, x + xx, y + yy, face);
    }
}

void paint(HWND h, ToolBar& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
    if (!(styleOf(h) & CCS_NODIVIDER)) {
        drawLine(dc, 0, 0, rc.right, 0, GetSysColor(COLOR_BTNSHADOW));
        drawLine(dc, 0, 1, rc.right, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    const bool flat = (styleOf(h) & TBSTYLE_FLAT) != 0;
    const auto rects = layout(h, t);
    SelectObject(dc, fontOrDefault(t.font));
    for (std::size_t i = 0; i < t.buttons.size(); ++i) {
        const Button& b = t.buttons[i];
        const RECT& r = rects[i];
        if (b.fsState & TBSTATE_HIDDEN) continue;
        if (b.fsStyle & TBSTYLE_SEP) {
            if (flat) {
                const int x = (r.left + r.right) / 2;
                drawLine(dc, x - 1, r.top + 2, x - 1, r.bottom - 2, GetSysColor(COLOR_BTNSHADOW));
                drawLine(dc, x, r.top + 2, x, r.bottom - 2, GetSysColor(COLOR_BTNHIGHLIGHT));
            }
            continue;
        }
        const bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
        const bool down =
            (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) || static_cast<int>(i) == t.pressed;
        if (down) {
            if (b.fsState & TBSTATE_CHECKED)
                fillSolid(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                          GetSysColor(COLOR_3DLIGHT));
            drawThinEdge(dc, r, false);
        } else if (!flat || (static_cast<int>(i) == t.hot && enabled)) {
            if (flat)
                drawThinEdge(dc, r, true);
            else
                drawEdge(dc, r, true);
        }
        const int shift = down ? 1 : 0;
        const std::string* label = labelOf(t, b);
        const COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        if (!label) {
            drawImage(dc, t, b.iBitmap, (r.left + r.right - t.bitmapSize.cx) / 2 + shift,
                      (r.top + r.bottom - t.bitmapSize.cy) / 2 + shift, enabled);
        } else if (listStyle(h)) {
            const int x = r.left + 4 + shift;
            drawImage(dc, t, b.iBitmap, x, (r.top + r.bottom - t.bitmapSize.cy) / 2 + shift,
                      enabled);
            drawLabel(dc, *label,
                      {x + t.bitmapSize.cx + 4, r.top + shift, r.right - 2, r.bottom + shift},
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT, ink, true);
        } else {
            const int y = r.top + 3 + shift;
            drawImage(dc, t, b.iBitmap, (r.left + r.right - t.bitmapSize.cx) / 2 + shift, y,
                      enabled);
            drawLabel(dc, *label,
                      {r.left + 1 + shift, y + t.bitmapSize.cy + 1, r.right - 1 + shift,
                       r.bottom - 2 + shift},
                      DT_SINGLELINE | DT_CENTER | DT_TOP, ink, true);
        }
    }
    EndPaint(h, &ps);
}

void autoSize(HWND h, const ToolBar& t) {
    if (styleOf(h) & (CCS_NORESIZE | CCS_NOPARENTALIGN)) return;
    RECT pc;
    GetClientRect(GetParent(h), &pc);
    int bottom = 0;
    for (const RECT& r : layout(h, t))
        bottom = std::max(bottom, static_cast<int>(r.bottom));
    const int height = std::max(static_cast<int>(buttonSize(h, t).cy), bottom) + 4;
    if ((styleOf(h) & CCS_BOTTOM) == CCS_BOTTOM)
        MoveWindow(h, 0, pc.bottom - height, pc.right, height, TRUE);
    else
        MoveWindow(h, 0, 0, pc.right, height, TRUE);
}

void hideTip(HWND h, ToolBar& t) {
    KillTimer(h, kTipTimer);
    if (t.tip && IsWindowVisible(t.tip)) {
        ShowWindow(t.tip, SW_HIDE);
        notifyParent(h, TTN_POP);
    }
    t.tipFor = -1;
}

// Asks the parent for the tip's text and shows it below the pointer.
void showTip(HWND h, ToolBar& t) {
    if (t.tipFor < 0 || t.tipFor >= static_cast<int>(t.buttons.size()) || !t.tip) return;
    NMTTDISPINFOA info;
    info.hdr.hwndFrom = t.tip;
    info.hdr.idFrom =
        static_cast<UINT_PTR>(t.buttons[static_cast<std::size_t>(t.tipFor)].idCommand);
    info.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(GetParent(h), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    std::string text;
    if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
        char buf[256];
        if (LoadStringA(info.hinst,
                        static_cast<UINT>(reinterpret_cast<std::uintptr_t>(info.lpszText)), buf,
                        sizeof buf))
            text = buf;
    } else if (info.lpszText) {
        text = info.lpszText;
    } else {
        text = info.szText;
    }
    if (text.empty()) return;
    SetWindowTextA(t.tip, text.c_str());
    HDC dc = GetDC(t.tip);
    HGDIOBJ old = SelectObject(dc, defaultFont());
    const int w = textWidth(dc, text) + 8, ht = lineHeight(nullptr) + 4;
    SelectObject(dc, old);
    ReleaseDC(t.tip, dc);
    POINT p;
    GetCursorPos(&p);
    SetWindowPos(t.tip, HWND_TOP, p.x, p.y + 20, w, ht, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    notifyParent(h, TTN_SHOW);
}

void click(HWND h, ToolBar& t, int i) {
    Button& b = t.buttons[static_cast<std::size_t>(i)];
    if ((b.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) {
        // A check group: the buttons next to each other with the style.
        int first = i, last = i;
        while (first > 0 && (t.buttons[static_cast<std::size_t>(first - 1)].fsStyle &
                             TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
            --first;
        while (last + 1 < static_cast<int>(t.buttons.size()) &&
               (t.buttons[static_cast<std::size_t>(last + 1)].fsStyle & TBSTYLE_CHECKGROUP) ==
                   TBSTYLE_CHECKGROUP)
            ++last;
        for (int k = first; k <= last; ++k)
            t.buttons[static_cast<std::size_t>(k)].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
        b.fsState |= TBSTATE_CHECKED;
    } else if (b.fsStyle & TBSTYLE_CHECK) {
        b.fsState ^= TBSTATE_CHECKED;
    }
    InvalidateRect(h, nullptr, TRUE);
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), BN_CLICKED),
                 reinterpret_cast<LPARAM>(h));
}

LRESULT setState(HWND h, ToolBar& t, WPARAM command, BYTE flag, bool on) {
    const int i = indexOf(t, static_cast<int>(command));
    if (i < 0) return FALSE;
    BYTE& s = t.buttons[static_cast<std::size_t>(i)].fsState;
    s = on ? static_cast<BYTE>(s | flag) : static_cast<BYTE>(s & ~flag);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

// The tool bar's own image list, made at the picture size on first use (and
// made again while still empty, should the size change).
HIMAGELIST ownList(ToolBar& t) {
    if (t.own && ImageList_GetImageCount(t.own) == 0) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(t.own, &cx, &cy);
        if (cx != t.bitmapSize.cx || cy != t.bitmapSize.cy) {
            ImageList_Destroy(t.own);
            t.own = nullptr;
        }
    }
    if (!t.own)
        t.own = ImageList_Create(std::max(1, static_cast<int>(t.bitmapSize.cx)),
                                 std::max(1, static_cast<int>(t.bitmapSize.cy)),
                                 ILC_COLOR24 | ILC_MASK, 16, 16);
    t.images = ImageList_GetImageCount(t.own);
    return t.own;
}

// A standard strip adds all its pictures whatever count is asked (callers ask
// for fewer and still use the later ones); into an empty tool bar it also
// sets the picture size.
LRESULT addStandard(HWND h, ToolBar& t, UINT_PTR which) {
    const StandardStrip strip = makeStandardStrip(which);
    if (!strip.bitmap) return -1;
    if (t.images == 0) t.bitmapSize = {strip.cx, strip.cy};
    HIMAGELIST list = ownList(t);
    const int first = ImageList_AddMasked(list, strip.bitmap, kStandardClear);
    DeleteObject(strip.bitmap);
    t.images = ImageList_GetImageCount(list);
    InvalidateRect(h, nullptr, TRUE);
    return first;
}

LRESULT addBitmap(HWND h, ToolBar& t, WPARAM count, const TBADDBITMAP* add) {
    if (!add) return -1;
    if (add->hInst == HINST_COMMCTRL) return addStandard(h, t, add->nID);
    HBITMAP bitmap = nullptr;
    if (add->hInst)
        bitmap = static_cast<HBITMAP>(LoadImageA(add->hInst,
                                                 MAKEINTRESOURCEA(static_cast<WORD>(add->nID)),
                                                 IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    else
        bitmap = reinterpret_cast<HBITMAP>(add->nID);
    if (!bitmap) return -1;
    HIMAGELIST list = ownList(t);
    const int first = t.images;
    const int added = ImageList_Add(list, bitmap, nullptr);
    if (add->hInst) DeleteObject(bitmap);
    if (added < 0) return -1;
    // Exactly `count` pictures count: the indices of later strips follow them
    // (extra pictures are dropped, missing ones left clear).
    const int want = first + static_cast<int>(count);
    while (ImageList_GetImageCount(list) > want)
        ImageList_Remove(list, ImageList_GetImageCount(list) - 1);
    if (const int missing = want - ImageList_GetImageCount(list); missing > 0) {
        const int w = missing * t.bitmapSize.cx, ht = t.bitmapSize.cy;
        const std::vector<BYTE> ones(static_cast<std::size_t>((w + 15) / 16 * 2 * ht), 0xFF);
        HBITMAP blank = CreateBitmap(w, ht, 1, 32, nullptr);
        HBITMAP clear = CreateBitmap(w, ht, 1, 1, ones.data());
        ImageList_Add(list, blank, clear);
        DeleteObject(blank);
        DeleteObject(clear);
    }
    t.images = ImageList_GetImageCount(list);
    InvalidateRect(h, nullptr, TRUE);
    return first;
}

// TB_ADDSTRINGA: a string resource (several labels when its first character
// also ends it and separates them, as in "|New|Open|") or a list of strings
// each ended by a zero, the list by a second zero.
LRESULT addStrings(HWND h, ToolBar& t, WPARAM instance, LPARAM text) {
    const int first = static_cast<int>(t.strings.size());
    if (instance) {
        char buf[1024];
        const int n = LoadStringA(reinterpret_cast<HINSTANCE>(instance), static_cast<UINT>(text),
                                  buf, sizeof buf);
        if (n <= 0) return -1;
        const std::string s(buf, static_cast<std::size_t>(n));
        const char sep = s[0];
        if (s.size() > 1 && s.back() == sep && !std::isalnum(static_cast<unsigned char>(sep))) {
            std::size_t k = 1;
            while (k < s.size()) {
                const std::size_t e = s.find(sep, k);
                t.strings.push_back(s.substr(k, e - k));
                k = e + 1;
            }
        } else {
            t.strings.push_back(s);
        }
    } else {
        const char* p = reinterpret_cast<const char*>(text);
        if (!p) return -1;
        for (; *p; p += std::strlen(p) + 1)
            t.strings.emplace_back(p);
    }
    InvalidateRect(h, nullptr, TRUE);
    return first;
}

// iString is an index of the pool when small, else a text to copy; -1 none.
Button makeButton(const TBBUTTON& b) {
    Button out(b);
    if (b.iString != -1 && (static_cast<std::uintptr_t>(b.iString) >> 16) != 0) {
        out.text = reinterpret_cast<const char*>(b.iString);
        out.ownText = true;
    }
    return out;
}

LRESULT buttonText(const ToolBar& t, WPARAM command, LPARAM buffer) {
    const int i = indexOf(t, static_cast<int>(command));
    if (i < 0) return -1;
    const std::string* s = labelOf(t, t.buttons[static_cast<std::size_t>(i)]);
    if (!s) return -1;
    if (buffer) std::memcpy(reinterpret_cast<char*>(buffer), s->c_str(), s->size() + 1);
    return static_cast<LRESULT>(s->size());
}

LRESULT toolProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ToolBar* tp = records().forMessage(h, msg);
    if (!tp) return DefWindowProcA(h, msg, wp, lp);
    ToolBar& t = *tp;
    switch (msg) {
        case WM_CREATE:
            if (styleOf(h) & TBSTYLE_TOOLTIPS)
                t.tip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, "",
                                        WS_POPUP | WS_BORDER, 0, 0, 10, 10, GetAncestor(h, GA_ROOT),
                                        nullptr, nullptr, nullptr);
            return 0;
        case WM_DESTROY:
            if (t.tip) DestroyWindow(t.tip);
            t.tip = nullptr;
            if (t.own) ImageList_Destroy(t.own);
            t.own = nullptr;
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, t);
            return 0;
        case WM_SIZE:
            return 0;
        case WM_MOUSEMOVE: {
            const int i = hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i != t.hot) {
                t.hot = i;
                InvalidateRect(h, nullptr, TRUE);
                hideTip(h, t);
                if (i >= 0 && t.tip) {
                    t.tipFor = i;
                    SetTimer(h, kTipTimer, kTipDelay, nullptr);
                }
            }
            if (t.pressed >= 0 && GetCapture() == h) InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_TIMER:
            if (wp == kTipTimer) {
                KillTimer(h, kTipTimer);
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(h, &p);
                if (hitTest(h, t, p) == t.tipFor) showTip(h, t);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            hideTip(h, t);
            const int i = hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i < 0 || !(t.buttons[static_cast<std::size_t>(i)].fsState & TBSTATE_ENABLED))
                return 0;
            t.pressed = i;
            SetCapture(h);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_LBUTTONUP:
            if (t.pressed >= 0) {
                const int i = t.pressed;
                t.pressed = -1;
                ReleaseCapture();
                InvalidateRect(h, nullptr, TRUE);
                if (hitTest(h, t, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) == i) click(h, t, i);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (t.pressed >= 0) {
                t.pressed = -1;
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case TB_BUTTONSTRUCTSIZE:
            return 0;
        case TB_SETBITMAPSIZE:
            t.bitmapSize = {LOWORD(static_cast<std::uintptr_t>(lp)),
                            HIWORD(static_cast<std::uintptr_t>(lp))};
            return TRUE;
        case TB_SETBUTTONSIZE:
            t.buttonSize = {LOWORD(static_cast<std::uintptr_t>(lp)),
                            HIWORD(static_cast<std::uintptr_t>(lp))};
            t.buttonSizeSet = true;
            return TRUE;
        case TB_ADDBITMAP:
            return addBitmap(h, t, wp, reinterpret_cast<const TBADDBITMAP*>(lp));
        case TB_LOADIMAGES:
            if (reinterpret_cast<HINSTANCE>(lp) != HINST_COMMCTRL) return 0;
            addStandard(h, t, wp);
            return ImageList_GetImageCount(t.own);
        case TB_SETIMAGELIST: {
            HIMAGELIST before = t.given;
            t.given = reinterpret_cast<HIMAGELIST>(lp);
            if (t.given) {
                int cx = 0, cy = 0;
                ImageList_GetIconSize(t.given, &cx, &cy);
                t.bitmapSize = {cx, cy};
            }
            InvalidateRect(h, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(before);
        }
        case TB_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(pictures(t));
        case TB_ADDSTRINGA:
            return addStrings(h, t, wp, lp);
        case TB_GETBUTTONTEXTA:
            return buttonText(t, wp, lp);
        case TB_GETBUTTONSIZE: {
            const SIZE s = buttonSize(h, t);
            return MAKELONG(static_cast<WORD>(s.cx), static_cast<WORD>(s.cy));
        }
        case TB_SETMAXTEXTROWS:
            t.textRows = static_cast<int>(wp);
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case WM_SETFONT:
            t.font = reinterpret_cast<HFONT>(wp);
            if (lp) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(t.font);
        case TB_ADDBUTTONSA:
        case TB_INSERTBUTTONA: {
            if (!lp) return FALSE;
            const auto* b = reinterpret_cast<const TBBUTTON*>(lp);
            if (msg == TB_ADDBUTTONSA) {
                for (WPARAM k = 0; k < wp; ++k)
                    t.buttons.push_back(makeButton(b[k]));
            } else {
                const std::size_t at = std::min<std::size_t>(wp, t.buttons.size());
                t.buttons.insert(t.buttons.begin() + static_cast<long>(at), makeButton(*b));
            }
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TB_DELETEBUTTON:
            if (wp >= t.buttons.size()) return FALSE;
            t.buttons.erase(t.buttons.begin() + static_cast<long>(wp));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case TB_GETBUTTON:
            if (wp >= t.buttons.size() || !lp) return FALSE;
            *reinterpret_cast<TBBUTTON*>(lp) = static_cast<const TBBUTTON&>(t.buttons[wp]);
            return TRUE;
        case TB_BUTTONCOUNT:
            return static_cast<LRESULT>(t.buttons.size());
        case TB_COMMANDTOINDEX:
            return indexOf(t, static_cast<int>(wp));
        case TB_GETITEMRECT: {
            if (wp >= t.buttons.size() || !lp) return FALSE;
            *reinterpret_cast<RECT*>(lp) = layout(h, t)[wp];
            return TRUE;
        }
        case TB_ENABLEBUTTON:
            return setState(h, t, wp, TBSTATE_ENABLED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_CHECKBUTTON:
            return setState(h, t, wp, TBSTATE_CHECKED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_PRESSBUTTON:
            return setState(h, t, wp, TBSTATE_PRESSED,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_HIDEBUTTON:
            return setState(h, t, wp, TBSTATE_HIDDEN, LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_INDETERMINATE:
            return setState(h, t, wp, TBSTATE_INDETERMINATE,
                            LOWORD(static_cast<std::uintptr_t>(lp)) != 0);
        case TB_ISBUTTONENABLED:
        case TB_ISBUTTONCHECKED:
        case TB_ISBUTTONPRESSED: {
            const int i = indexOf(t, static_cast<int>(wp));
            if (i < 0) return FALSE;
            const BYTE flag = msg == TB_ISBUTTONENABLED   ? TBSTATE_ENABLED
                              : msg == TB_ISBUTTONCHECKED ? TBSTATE_CHECKED
                                                          : TBSTATE_PRESSED;
            return (t.buttons[static_cast<std::size_t>(i)].fsState & flag) ? TRUE : FALSE;
        }
        case TB_GETSTATE: {
            const int i = indexOf(t, static_cast<int>(wp));
            return i < 0 ? -1 : t.buttons[static_cast<std::size_t>(i)].fsState;
        }
        case TB_SETSTATE: {
            const int i = indexOf(t, static_cast<int>(wp));
            if (i < 0) return FALSE;
            t.buttons[static_cast<std::size_t>(i)].fsState =
                static_cast<BYTE>(LOWORD(static_cast<std::uintptr_t>(lp)));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        }
        case TB_AUTOSIZE:
            autoSize(h, t);
            return 0;
        case TB_SETROWS:
            t.rows = std::max(1, static_cast<int>(LOWORD(wp)));
            if (lp) {
                int bottom = 0, right = 0;
                for (const RECT& r : layout(h, t)) {
                    bottom = std::max(bottom, static_cast<int>(r.bottom));
                    right = std::max(right, static_cast<int>(r.right));
                }
                *reinterpret_cast<RECT*>(lp) = {0, 0, right + 2, bottom + 2};
            }
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case TB_GETROWS:
            return t.rows;
        case TB_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(t.tip);
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

// The tip window: the text on the information colours.
LRESULT tipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (msg != WM_PAINT) return DefWindowProcA(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, GetSysColor(COLOR_INFOBK));
    char text[256];
    GetWindowTextA(h, text, sizeof text);
    SelectObject(dc, defaultFont());
    drawLabel(dc, text, {rc.left + 3, rc.top, rc.right, rc.bottom}, DT_SINGLELINE | DT_VCENTER,
              GetSysColor(COLOR_INFOTEXT), true);
    EndPaint(h, &ps);
    return 0;
}

}  // namespace

void registerToolBarClasses() {
    registerClass(TOOLBARCLASSNAMEA, toolProc, CS_DBLCLKS, nullptr, -1);
    registerClass(TOOLTIPS_CLASSA, tipProc, CS_SAVEBITS, nullptr, -1);
}

}  // namespace win::controls
