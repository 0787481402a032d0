// Layout of the rich-edit control's text: lines broken at blanks to fit a
// width, each character's place on its line, paragraph alignment and bullets.

#include <algorithm>

#include "platform/controls/rich_edit_internal.h"

namespace win::controls::rich {

Fonts::~Fonts() {
    for (auto& [k, f] : fonts_)
        DeleteObject(f);
}

HFONT Fonts::of(int index) {
    auto it = fonts_.find(index);
    if (it != fonts_.end()) return it->second;
    const RichFormat& f = rich_.formats[static_cast<std::size_t>(index)];
    const int px = -std::max(1, static_cast<int>((f.height * dpi_ + 720) / 1440));
    HFONT font = CreateFontA(px, 0, 0, 0, (f.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL,
                             (f.effects & CFE_ITALIC) ? 1 : 0, (f.effects & CFE_UNDERLINE) ? 1 : 0,
                             (f.effects & CFE_STRIKEOUT) ? 1 : 0, 0, 0, 0, 0, 0, f.face.c_str());
    fonts_[index] = font;
    return font;
}

Fonts::Measures& Fonts::measures(HDC dc, int index) {
    auto it = measures_.find(index);
    if (it != measures_.end()) return it->second;
    Measures m;
    m.widths.assign(256, -1);
    SelectObject(dc, of(index));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    return measures_.emplace(index, std::move(m)).first->second;
}

int Fonts::width(HDC dc, int index, char c) {
    Measures& m = measures(dc, index);
    int& w = m.widths[static_cast<unsigned char>(c)];
    if (w < 0) {
        SelectObject(dc, of(index));
        SIZE s{0, 0};
        GetTextExtentPoint32A(dc, &c, 1, &s);
        w = s.cx;
    }
    return w;
}

void Fonts::metrics(HDC dc, int index, int& height, int& ascent) {
    const Measures& m = measures(dc, index);
    height = m.height;
    ascent = m.ascent;
}

std::vector<Line> layout(const Rich& r, HDC dc, Fonts& fonts, int width, int alignWidth,
                         std::size_t from, std::size_t to) {
    std::vector<Line> lines;
    int y = 0;
    std::size_t i = from;
    to = std::min(to, r.text.size());
    auto metrics = [&](int f, int& h, int& a) { fonts.metrics(dc, f, h, a); };
    do {
        Line line;
        line.start = i;
        line.y = y;
        const BYTE para = paraAt(r, i);
        const int indent = (para & kBullet) ? kBulletIndent : 0;
        line.bullet = (para & kBullet) && (i == 0 || r.text[i - 1] == '\r');
        const int usable = std::max(1, width - indent);
        int x = 0;
        std::size_t lastSpace = std::string::npos;
        std::vector<int> xs;
        while (i < to && r.text[i] != '\r') {
            SIZE s{0, 0};
            if (r.text[i] == '\t')
                s.cx = 48 - x % 48;
            else
                s.cx = fonts.width(dc, formatAt(r, i), r.text[i]);
            if (x + s.cx > usable && i > line.start) {
                if (lastSpace != std::string::npos && lastSpace > line.start) {
                    xs.resize(lastSpace + 1 - line.start);
                    i = lastSpace + 1;
                }
                break;
            }
            if (r.text[i] == ' ') lastSpace = i;
            xs.push_back(x);
            x += s.cx;
            ++i;
        }
        line.end = i;
        xs.push_back(xs.empty() ? 0 : x);
        // The right edge after a break at a space is where the space ended.
        if (line.end > line.start && xs.size() == line.end - line.start + 1 && line.end < to &&
            r.text[line.end] != '\r') {
            xs.back() = xs[xs.size() - 2] +
                        fonts.width(dc, formatAt(r, line.end - 1), r.text[line.end - 1]);
        }
        line.x = xs;
        const int used = line.x.back();
        line.offset = indent;
        const int room = std::max(1, alignWidth - indent);
        if ((para & kAlignMask) == PFA_CENTER) line.offset = indent + (room - used) / 2;
        if ((para & kAlignMask) == PFA_RIGHT) line.offset = indent + room - used;
        line.offset = std::max(indent, line.offset);
        int h = 0, a = 0;
        metrics(
            formatAt(r, line.start < line.end ? line.start : (line.start > 0 ? line.start - 1 : 0)),
            h, a);
        for (std::size_t k = line.start; k < line.end; ++k) {
            int hk = 0, ak = 0;
            metrics(formatAt(r, k), hk, ak);
            h = std::max(h, hk);
            a = std::max(a, ak);
        }
        line.height = h;
        line.ascent = a;
        y += h;
        lines.push_back(line);
        if (i < to && r.text[i] == '\r') {
            ++i;
            if (i == to && to == r.text.size()) {
                // An empty last line after the final paragraph mark.
                Line last;
                last.start = last.end = i;
                last.y = y;
                last.x = {0};
                last.height = h;
                last.ascent = a;
                lines.push_back(last);
                break;
            }
        }
    } while (i < to);
    return lines;
}

int clientWidth(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.right) - 2 * kTextLeft);
}

std::vector<Line> screenLines(HWND h, const Rich& r, Fonts& fonts, HDC dc) {
    // Without word wrap a line ends only at its paragraph mark.
    const int width = wraps(r) ? clientWidth(h) : (1 << 28);
    const int alignWidth = clientWidth(h), dpi = GetDeviceCaps(dc, LOGPIXELSY);
    LayoutCache& c = r.cache;
    if (c.valid && c.width == width && c.alignWidth == alignWidth && c.dpi == dpi &&
        c.insertFormat == r.insertFormat && c.insertPara == r.insertPara && c.text == r.text &&
        c.fmt == r.fmt && c.para == r.para && c.formats == r.formats)
        return c.lines;
    c.lines = layout(r, dc, fonts, width, alignWidth, 0, r.text.size());
    c.valid = true;
    c.text = r.text;
    c.fmt = r.fmt;
    c.para = r.para;
    c.formats = r.formats;
    c.insertFormat = r.insertFormat;
    c.insertPara = r.insertPara;
    c.width = width;
    c.alignWidth = alignWidth;
    c.dpi = dpi;
    return c.lines;
}

std::vector<Line> screenLines(HWND h, const Rich& r) {
    Screen s(h);
    Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
    return screenLines(h, r, fonts, s.dc);
}

std::size_t lineIndexOf(const std::vector<Line>& lines, std::size_t pos) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (pos >= lines[i].start && (pos <= lines[i].end)) {
            if (pos == lines[i].end && i + 1 < lines.size() && lines[i + 1].start == pos)
                return i + 1;
            return i;
        }
    return lines.empty() ? 0 : lines.size() - 1;
}

POINT pointOf(const Rich& r, const std::vector<Line>& lines, std::size_t pos) {
    if (lines.empty()) return {kTextLeft - r.left, -r.top};
    const Line& l = lines[lineIndexOf(lines, pos)];
    const std::size_t k = std::min(pos - l.start, l.x.size() - 1);
    return {kTextLeft + l.offset + l.x[k] - r.left, l.y - r.top};
}

std::size_t charAt(const Rich& r, const std::vector<Line>& lines, POINT p) {
    if (lines.empty()) return 0;
    std::size_t li = lines.size() - 1;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (p.y + r.top < lines[i].y + lines[i].height) {
            li = i;
            break;
        }
    const Line& l = lines[li];
    const int x = p.x + r.left - kTextLeft - l.offset;
    for (std::size_t k = 0; k + 1 < l.x.size(); ++k)
        if (x < (l.x[k] + l.x[k + 1]) / 2) return l.start + k;
    return l.end;
}

}  // namespace win::controls::rich
