// What the rich-edit control shows: the selection and the part of the text
// scrolled into view, the scroll bars that follow it, and the painting.

#include <algorithm>

#include "platform/controls/rich_edit_internal.h"
#include "platform/window/scroll_api.h"

namespace win::controls::rich {

namespace {

constexpr int kWheelLines = 3;

void notifySelection(HWND h, Rich& r) {
    if (!(r.eventMask & ENM_SELCHANGE)) return;
    SELCHANGE sc;
    sc.chrg = {toCp(r, selMin(r)), toCp(r, selMax(r))};
    sc.seltyp = selMin(r) == selMax(r) ? SEL_EMPTY : SEL_TEXT;
    notifyParent(h, EN_SELCHANGE, &sc);
}

int widest(const std::vector<Line>& lines) {
    int w = 0;
    for (const Line& l : lines)
        w = std::max(w, l.offset + l.x.back());
    return w;
}

void updateScroll(HWND h, Rich& r, const std::vector<Line>& lines) {
    RECT rc;
    GetClientRect(h, &rc);
    const int total = lines.empty() ? 0 : lines.back().y + lines.back().height;
    r.top = std::clamp(r.top, 0, std::max(0, total - static_cast<int>(rc.bottom)));
    const int wide = wraps(r) ? 0 : widest(lines) + 2 * kTextLeft;
    r.left = std::clamp(r.left, 0, std::max(0, wide - static_cast<int>(rc.right)));
    // Each bar shows while there is something to scroll.
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (r.createStyle & WS_VSCROLL) {
        si.nMax = std::max(0, total - 1);
        si.nPage = static_cast<UINT>(std::max(0, static_cast<int>(rc.bottom)));
        si.nPos = r.top;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    if (r.createStyle & WS_HSCROLL) {
        si.nMax = std::max(0, wide - 1);
        si.nPage = static_cast<UINT>(std::max(0, static_cast<int>(rc.right)));
        si.nPos = r.left;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
    }
}

int firstLineOf(const std::vector<Line>& lines, int top) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].y + lines[i].height > top) return static_cast<int>(i);
    return lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
}

}  // namespace

void updateScroll(HWND h, Rich& r) {
    updateScroll(h, r, screenLines(h, r));
}

void scrollToCaret(HWND h, Rich& r) {
    const auto lines = screenLines(h, r);
    const Line& l = lines[lineIndexOf(lines, r.caret)];
    RECT rc;
    GetClientRect(h, &rc);
    if (l.y < r.top) r.top = l.y;
    if (l.y + l.height > r.top + rc.bottom) r.top = l.y + l.height - rc.bottom;
    if (!wraps(r)) {
        const int x = kTextLeft + l.offset + l.x[std::min(r.caret - l.start, l.x.size() - 1)];
        const int width = std::max(1, static_cast<int>(rc.right) - 2 * kTextLeft);
        if (x - r.left > static_cast<int>(rc.right) - kTextLeft)
            r.left = x - kTextLeft - width + width / 4;
        if (x - r.left < kTextLeft) r.left = std::max(0, x - kTextLeft - width / 4);
    }
    updateScroll(h, r, lines);
}

int firstVisibleLine(HWND h, const Rich& r) {
    return firstLineOf(screenLines(h, r), r.top);
}

void scrollLines(HWND h, Rich& r, int count) {
    const auto lines = screenLines(h, r);
    if (lines.empty()) return;
    const int target =
        std::clamp(firstLineOf(lines, r.top) + count, 0, static_cast<int>(lines.size()) - 1);
    r.top = lines[static_cast<std::size_t>(target)].y;
    updateScroll(h, r, lines);
    InvalidateRect(h, nullptr, TRUE);
}

void scrollVertically(HWND h, Rich& r, WORD code, int thumb) {
    RECT rc;
    GetClientRect(h, &rc);
    switch (code) {
        case SB_LINEUP:
        case SB_LINEDOWN:
            if (r.eventMask & ENM_SCROLL) notifyCommand(h, EN_VSCROLL);
            scrollLines(h, r, code == SB_LINEUP ? -1 : 1);
            return;
        case SB_PAGEUP:
            r.top -= rc.bottom;
            break;
        case SB_PAGEDOWN:
            r.top += rc.bottom;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            r.top = thumb;
            break;
        case SB_TOP:
            r.top = 0;
            break;
        case SB_BOTTOM:
            r.top = 1 << 28;
            break;
        default:
            return;
    }
    if (r.eventMask & ENM_SCROLL) notifyCommand(h, EN_VSCROLL);
    updateScroll(h, r);
    InvalidateRect(h, nullptr, TRUE);
}

void scrollHorizontally(HWND h, Rich& r, WORD code, int thumb) {
    RECT rc;
    GetClientRect(h, &rc);
    switch (code) {
        case SB_LINELEFT:
            r.left -= 16;
            break;
        case SB_LINERIGHT:
            r.left += 16;
            break;
        case SB_PAGELEFT:
            r.left -= rc.right;
            break;
        case SB_PAGERIGHT:
            r.left += rc.right;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            r.left = thumb;
            break;
        case SB_LEFT:
            r.left = 0;
            break;
        case SB_RIGHT:
            r.left = 1 << 28;
            break;
        default:
            return;
    }
    if (r.eventMask & ENM_SCROLL) notifyCommand(h, EN_HSCROLL);
    updateScroll(h, r);
    InvalidateRect(h, nullptr, TRUE);
}

void scrollWheel(HWND h, Rich& r, int delta) {
    r.wheel += delta;
    const int notches = r.wheel / WHEEL_DELTA;
    if (notches == 0) return;
    r.wheel -= notches * WHEEL_DELTA;
    scrollLines(h, r, -notches * kWheelLines);
}

void setSelection(HWND h, Rich& r, std::size_t anchor, std::size_t caret) {
    const std::size_t oldA = selMin(r), oldB = selMax(r);
    r.anchor = std::min(anchor, r.text.size());
    r.caret = std::min(caret, r.text.size());
    r.grouping = false;
    if (r.anchor == r.caret && r.caret < r.fmt.size() + 1)
        r.insertFormat =
            r.caret > 0 ? r.fmt[r.caret - 1] : (r.fmt.empty() ? r.insertFormat : r.fmt[0]);
    scrollToCaret(h, r);
    InvalidateRect(h, nullptr, TRUE);
    if (oldA != selMin(r) || oldB != selMax(r)) notifySelection(h, r);
}

void paint(HWND h, Rich& r) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, r.background);
    Fonts fonts(r, GetDeviceCaps(dc, LOGPIXELSY));
    const auto lines = screenLines(h, r, fonts, dc);
    SetBkMode(dc, TRANSPARENT);
    const bool showSel = r.focus || (styleOf(h) & ES_NOHIDESEL);
    for (const Line& l : lines) {
        const int y = l.y - r.top;
        if (y + l.height < 0) continue;
        if (y > rc.bottom) break;
        if (l.bullet) {
            SelectObject(dc, fonts.of(formatAt(r, l.start)));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            TextOutA(dc, kTextLeft + l.offset - kBulletIndent + 4 - r.left, y, "\x95", 1);
        }
        for (std::size_t i = l.start; i < l.end; ++i) {
            const bool sel = showSel && i >= selMin(r) && i < selMax(r);
            const int x0 = kTextLeft + l.offset + l.x[i - l.start] - r.left,
                      x1 = kTextLeft + l.offset + l.x[i - l.start + 1] - r.left;
            if (sel) fillSolid(dc, {x0, y, x1, y + l.height}, GetSysColor(COLOR_HIGHLIGHT));
            if (r.text[i] == '\t') continue;
            const RichFormat& f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            SelectObject(dc, fonts.of(r.fmt[i]));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                 : (f.autoColour ? GetSysColor(COLOR_WINDOWTEXT) : f.colour));
            TextOutA(dc, x0, y + l.ascent - tm.tmAscent, &r.text[i], 1);
        }
    }
    if (r.focus && selMin(r) == selMax(r)) {
        const POINT p = pointOf(r, lines, r.caret);
        const Line& l = lines[lineIndexOf(lines, r.caret)];
        drawLine(dc, p.x, p.y, p.x, p.y + l.height, GetSysColor(COLOR_WINDOWTEXT));
    }
    EndPaint(h, &ps);
}

}  // namespace win::controls::rich
