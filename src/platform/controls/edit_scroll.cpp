// Scrolling of the EDIT control: the top line and the horizontal offset, the
// window's scroll bars that follow them, the scroll-bar and wheel messages,
// and keeping the caret in view.

#include <algorithm>

#include "platform/controls/edit_internal.h"
#include "platform/window/scroll_api.h"

namespace win::controls::edit {

namespace {

constexpr int kWheelLines = 3;  // lines per notch of the wheel

int lastFirstLine(HWND h, const Edit& e) {
    const int count = static_cast<int>(layoutLines(h, e).size());
    return std::max(0, count - visibleLines(h, e));
}

int averageCharWidth(const Edit& e) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, fontOrDefault(e.font));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max(1, static_cast<int>(tm.tmAveCharWidth));
}

}  // namespace

void redraw(HWND h) {
    InvalidateRect(h, nullptr, TRUE);
}

void updateScrollBars(HWND h, Edit& e) {
    const DWORD style = styleOf(h);
    if (!multiLine(h) || !(style & (WS_VSCROLL | WS_HSCROLL))) return;
    // The bars stay (greyed when there is nothing to scroll), so that the
    // width the text wraps at does not change with the text.
    if (style & WS_VSCROLL) {
        const int count = static_cast<int>(layoutLines(h, e).size());
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max(0, count - 1);
        si.nPage = static_cast<UINT>(visibleLines(h, e));
        si.nPos = e.firstLine;
        SetScrollInfo(h, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        const RECT fr = formatRect(h, e);
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = std::max(0, widestLine(h, e) - 1);
        si.nPage = static_cast<UINT>(std::max(0, static_cast<int>(fr.right - fr.left)));
        si.nPos = e.scrollX;
        SetScrollInfo(h, SB_HORZ, &si, TRUE);
    }
}

int scrollLines(HWND h, Edit& e, int lines) {
    if (!multiLine(h)) return 0;
    const int before = e.firstLine;
    e.firstLine = std::clamp(e.firstLine + lines, 0, lastFirstLine(h, e));
    if (e.firstLine != before) {
        updateScrollBars(h, e);
        redraw(h);
    }
    return e.firstLine - before;
}

void scrollColumns(HWND h, Edit& e, int pixels) {
    if (wraps(h) || (styleOf(h) & 3) != ES_LEFT) return;
    const RECT fr = formatRect(h, e);
    const int most = std::max(0, widestLine(h, e) - static_cast<int>(fr.right - fr.left));
    const int before = e.scrollX;
    e.scrollX = std::clamp(e.scrollX + pixels, 0, std::max(most, e.scrollX));
    if (e.scrollX != before) {
        updateScrollBars(h, e);
        redraw(h);
    }
}

LRESULT verticalScroll(HWND h, Edit& e, WORD code, int thumb, bool notify) {
    if (!multiLine(h)) return 0;
    const int page = visibleLines(h, e);
    int delta = 0;
    switch (code) {
        case SB_LINEUP:
            delta = -1;
            break;
        case SB_LINEDOWN:
            delta = 1;
            break;
        case SB_PAGEUP:
            delta = -page;
            break;
        case SB_PAGEDOWN:
            delta = page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            delta = thumb - e.firstLine;
            break;
        case SB_TOP:
            delta = -e.firstLine;
            break;
        case SB_BOTTOM:
            delta = lastFirstLine(h, e) - e.firstLine;
            break;
        default:
            return 0;
    }
    if (notify) notifyCommand(h, EN_VSCROLL);
    return scrollLines(h, e, delta);
}

void horizontalScroll(HWND h, Edit& e, WORD code, int thumb) {
    if (!multiLine(h)) return;
    const RECT fr = formatRect(h, e);
    const int page = std::max(1, static_cast<int>(fr.right - fr.left));
    const int column = averageCharWidth(e);
    int delta = 0;
    switch (code) {
        case SB_LINELEFT:
            delta = -column;
            break;
        case SB_LINERIGHT:
            delta = column;
            break;
        case SB_PAGELEFT:
            delta = -page;
            break;
        case SB_PAGERIGHT:
            delta = page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            delta = thumb - e.scrollX;
            break;
        case SB_LEFT:
            delta = -e.scrollX;
            break;
        case SB_RIGHT:
            delta = widestLine(h, e);
            break;
        default:
            return;
    }
    notifyCommand(h, EN_HSCROLL);
    scrollColumns(h, e, delta);
}

void wheelScroll(HWND h, Edit& e, int delta) {
    if (!multiLine(h)) return;
    e.wheel += delta;
    const int notches = e.wheel / WHEEL_DELTA;
    if (notches == 0) return;
    e.wheel -= notches * WHEEL_DELTA;
    notifyCommand(h, EN_VSCROLL);
    scrollLines(h, e, -notches * kWheelLines);
}

void scrollCaretIntoView(HWND h, Edit& e) {
    const RECT fr = formatRect(h, e);
    Dc d(h, e);
    const auto lines = layoutLines(h, e, d.dc);
    const int line = lineIndexOf(lines, e.caret);
    if (multiLine(h)) {
        const int visible = visibleLines(h, e);
        if (line < e.firstLine) e.firstLine = line;
        if (line >= e.firstLine + visible) e.firstLine = line - visible + 1;
        e.firstLine =
            std::clamp(e.firstLine, 0, std::max(0, static_cast<int>(lines.size()) - visible));
    }
    if ((styleOf(h) & 3) == ES_LEFT && !wraps(h)) {
        const std::size_t s = lines[static_cast<std::size_t>(line)].start;
        const int x = widthOf(d.dc, e, e.text.substr(s, e.caret - s));
        const int width = fr.right - fr.left;
        if (x - e.scrollX > width - 1) e.scrollX = x - width + width / 4;
        if (x - e.scrollX < 0) e.scrollX = std::max(0, x - width / 4);
    } else {
        e.scrollX = 0;
    }
    updateScrollBars(h, e);
}

}  // namespace win::controls::edit
