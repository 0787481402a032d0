// The EDIT control's layout: where each shown line starts and ends (word
// wrap at the formatting rectangle, soft breaks kept out of the text), where
// a character is drawn and which character lies under a point.

#include <algorithm>
#include <cstring>

#include "platform/controls/edit_internal.h"

namespace win::controls::edit {

Dc::Dc(HWND h, const Edit& e) : hwnd(h), dc(GetDC(h)) {
    old = SelectObject(dc, fontOrDefault(e.font));
}
Dc::~Dc() {
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
}

std::string shown(const Edit& e, const std::string& s) {
    return e.password ? std::string(s.size(), e.password) : s;
}

namespace {

// The next tab stop after x: the stops set (dialog units, four to an
// average character), one set value repeating, or every 32 units.
int nextTabStop(const Edit& e, int x, int averageWidth) {
    const int unit = std::max(1, averageWidth);
    for (int stop : e.tabStops)
        if (e.tabStops.size() > 1 && stop * unit / 4 > x) return stop * unit / 4;
    const int step = std::max(1, (e.tabStops.size() == 1 ? e.tabStops[0] : 32) * unit / 4);
    return (x / step + 1) * step;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where a line of the text breaks: `end` when the rest fits; else after the
// last blank that still fits (the blanks after it hang past the edge), else
// inside the word at the last character that fits, but never before one
// character. Probes grow from the start so a long paragraph costs little.
std::size_t breakAt(HDC dc, const Edit& e, const std::string& t, std::size_t from, std::size_t end,
                    int width) {
    auto fits = [&](std::size_t to) { return widthOf(dc, e, t.substr(from, to - from)) <= width; };
    if (!fits(from + 1)) return from + 1;
    std::size_t lo = from + 1, hi = end;  // lo fits; the longest fitting end is <= hi
    for (std::size_t step = 32;; step *= 2) {
        const std::size_t probe = std::min(end, from + step);
        if (!fits(probe)) {
            hi = probe - 1;
            break;
        }
        lo = probe;
        if (probe == end) return end;
    }
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    std::size_t fit = lo;
    if (isBlank(t[fit])) {
        while (fit < end && isBlank(t[fit]))
            ++fit;
        return fit;
    }
    for (std::size_t k = fit; k > from + 1; --k)
        if (isBlank(t[k - 1])) return k;
    return fit;
}

}  // namespace

int widthOf(HDC dc, const Edit& e, const std::string& s) {
    std::string t = shown(e, s);
    if (t.find('\t') == std::string::npos) return textWidth(dc, t);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    int x = 0;
    std::string run;
    for (char c : t) {
        if (c == '\t') {
            x = nextTabStop(e, x + textWidth(dc, run), tm.tmAveCharWidth);
            run.clear();
        } else {
            run += c;
        }
    }
    return x + textWidth(dc, run);
}

RECT formatRect(HWND h, const Edit& e) {
    if (e.rectSet) return e.rect;
    RECT rc;
    GetClientRect(h, &rc);
    return {rc.left + kMargin, rc.top + (multiLine(h) ? 0 : 1), rc.right - kMargin, rc.bottom};
}

std::vector<VisualLine> layoutLines(HWND h, const Edit& e, HDC dc) {
    const std::string& t = e.text;
    if (!multiLine(h)) return {VisualLine{0, t.size(), t.size()}};
    const bool wrap = wraps(h);
    const RECT fr = formatRect(h, e);
    const int width = std::max(1, static_cast<int>(fr.right - fr.left));
    LayoutCache& c = e.cache;
    LOGFONTA font{};
    GetObjectA(fontOrDefault(e.font), sizeof font, &font);
    if (c.valid && c.wrap == wrap && (!wrap || c.width == width) &&
        std::memcmp(&c.font, &font, sizeof font) == 0 && c.password == e.password &&
        c.tabStops == e.tabStops && c.text == t)
        return c.lines;
    std::vector<VisualLine> lines;
    std::size_t s = 0;
    for (;;) {
        const std::size_t lf = t.find('\n', s);
        std::size_t end = lf == std::string::npos ? t.size() : lf;
        const std::size_t next = lf == std::string::npos ? t.size() : lf + 1;
        if (end > s && t[end - 1] == '\r') --end;
        std::size_t from = s;
        while (wrap && end > from) {
            const std::size_t brk = breakAt(dc, e, t, from, end, width);
            if (brk >= end) break;  // the rest fits, or only blanks hang over
            lines.push_back({from, brk, brk});
            from = brk;
        }
        lines.push_back({from, end, next});
        if (lf == std::string::npos) break;
        s = next;
    }
    c = LayoutCache{true, t, width, wrap, font, e.password, e.tabStops, lines};
    return lines;
}

std::vector<VisualLine> layoutLines(HWND h, const Edit& e) {
    Dc d(h, e);
    return layoutLines(h, e, d.dc);
}

int lineIndexOf(const std::vector<VisualLine>& lines, std::size_t pos) {
    int line = 0;  // the starts only grow
    for (std::size_t i = 0; i < lines.size() && lines[i].start <= pos; ++i)
        line = static_cast<int>(i);
    return line;
}

int lineX(HWND h, HDC dc, const Edit& e, const std::string& line) {
    const RECT fr = formatRect(h, e);
    const DWORD align = styleOf(h) & 3;
    const int w = widthOf(dc, e, line);
    if (align == ES_CENTER) return fr.left + (fr.right - fr.left - w) / 2;
    if (align == ES_RIGHT) return fr.right - w - 1;
    return fr.left - e.scrollX;
}

POINT posFromChar(HWND h, const Edit& e, std::size_t pos) {
    Dc d(h, e);
    const int lh = lineHeight(e.font);
    const RECT fr = formatRect(h, e);
    const auto lines = layoutLines(h, e, d.dc);
    const int li = lineIndexOf(lines, pos);
    const VisualLine& l = lines[static_cast<std::size_t>(li)];
    const std::size_t at = std::min(pos, l.end);
    const int x = lineX(h, d.dc, e, e.text.substr(l.start, l.end - l.start)) +
                  widthOf(d.dc, e, e.text.substr(l.start, at - l.start));
    return {x, fr.top + (li - e.firstLine) * lh};
}

std::size_t charOnLine(HWND h, const Edit& e, int line, int x) {
    Dc d(h, e);
    const auto lines = layoutLines(h, e, d.dc);
    line = std::clamp(line, 0, static_cast<int>(lines.size()) - 1);
    const VisualLine& l = lines[static_cast<std::size_t>(line)];
    const int x0 = lineX(h, d.dc, e, e.text.substr(l.start, l.end - l.start));
    int a = 0;
    for (std::size_t i = l.start; i < l.end; ++i) {
        const int b = widthOf(d.dc, e, e.text.substr(l.start, i + 1 - l.start));
        if (x < x0 + (a + b) / 2) return i;
        a = b;
    }
    return l.end;
}

std::size_t charFromPos(HWND h, const Edit& e, POINT p) {
    const int lh = std::max(1, lineHeight(e.font));
    const int y = p.y - formatRect(h, e).top;
    return charOnLine(h, e, e.firstLine + (y < 0 ? -1 - (-y - 1) / lh : y / lh), p.x);
}

int visibleLines(HWND h, const Edit& e) {
    const RECT fr = formatRect(h, e);
    return std::max(1, static_cast<int>(fr.bottom - fr.top) / std::max(1, lineHeight(e.font)));
}

int widestLine(HWND h, const Edit& e) {
    Dc d(h, e);
    int widest = 0;
    for (const VisualLine& l : layoutLines(h, e, d.dc))
        widest = std::max(widest, widthOf(d.dc, e, e.text.substr(l.start, l.end - l.start)));
    return widest;
}

}  // namespace win::controls::edit
