// Drawing a range of the rich-edit control's text on a page (or measuring
// how much of it fits).

#include <algorithm>

#include "platform/controls/rich_edit_internal.h"

namespace win::controls::rich {

// Draws (or only measures) as much of a range as fits the page's rectangle;
// answers the first character that did not fit.
LRESULT formatRange(const Rich& r, bool render, FORMATRANGE* fr) {
    if (!fr) return 0;
    HDC dc = fr->hdc;
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    auto px = [](LONG twips, int dpi) {
        return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
    };
    const RECT area{px(fr->rc.left, dpiX), px(fr->rc.top, dpiY), px(fr->rc.right, dpiX),
                    px(fr->rc.bottom, dpiY)};
    const std::size_t from = static_cast<std::size_t>(std::max<LONG>(0, fr->chrg.cpMin));
    const std::size_t to =
        fr->chrg.cpMax < 0
            ? r.text.size()
            : std::min<std::size_t>(static_cast<std::size_t>(fr->chrg.cpMax), r.text.size());
    if (from >= to) return static_cast<LRESULT>(to);
    Fonts fonts(r, dpiY);
    const int saved = SaveDC(dc);
    const auto lines =
        layout(r, dc, fonts, area.right - area.left, area.right - area.left, from, to);
    std::size_t next = to;
    SetBkMode(dc, TRANSPARENT);
    for (const Line& l : lines) {
        if (area.top + l.y + l.height > area.bottom && l.y > 0) {
            next = l.start;
            break;
        }
        if (!render) continue;
        for (std::size_t i = l.start; i < l.end; ++i) {
            if (r.text[i] == '\t') continue;
            const RichFormat& f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            SelectObject(dc, fonts.of(r.fmt[i]));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            SetTextColor(dc, f.autoColour ? RGB(0, 0, 0) : f.colour);
            TextOutA(dc, area.left + l.offset + l.x[i - l.start],
                     area.top + l.y + l.ascent - tm.tmAscent, &r.text[i], 1);
        }
    }
    RestoreDC(dc, saved);
    return static_cast<LRESULT>(next);
}

}  // namespace win::controls::rich
