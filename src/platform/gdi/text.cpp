// Text output and measurement.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"

namespace win {
namespace gdi {
namespace {

struct Scales {
    double x = 1, y = 1;
};

Scales textScales(const DeviceContext& dc) {
    const Affine m = dc.fullTransform();
    return {std::max(1e-9, std::hypot(m.m11, m.m12)), std::max(1e-9, std::hypot(m.m21, m.m22))};
}

std::shared_ptr<FontInstance> dcFont(const DeviceContext& dc) {
    LOGFONTA lf = dc.st.font->lf;
    const Scales s = textScales(dc);
    lf.lfHeight = static_cast<LONG>(std::lround(lf.lfHeight * s.y));
    if (dc.st.font->lf.lfHeight != 0 && lf.lfHeight == 0)
        lf.lfHeight = dc.st.font->lf.lfHeight < 0 ? -1 : 1;
    lf.lfWidth = static_cast<LONG>(std::lround(lf.lfWidth * s.x));
    return realizeFont(lf);
}

int logicalX(const DeviceContext& dc, int v) {
    return static_cast<int>(std::lround(v / textScales(dc).x));
}
int logicalY(const DeviceContext& dc, int v) {
    return static_cast<int>(std::lround(v / textScales(dc).y));
}

struct Layout {
    std::vector<double> offsets;  // pen offset of each byte along the baseline, device pixels
    double width = 0;
};

Layout layout(const DeviceContext& dc, FontInstance& font, const unsigned char* s, int n,
              const INT* dx) {
    Layout l;
    const double sx = textScales(dc).x;
    for (int i = 0; i < n; ++i) {
        l.offsets.push_back(l.width);
        l.width += dx ? dx[i] * sx : font.advance(s[i]);
    }
    return l;
}

void fillQuad(DeviceContext& dc, const PointD q[4], COLORREF color, const Region* limit) {
    if (VectorDevice* v = vectorOf(dc)) {
        v->clip(deviceClip(dc));
        v->fill({q[0], q[1], q[2], q[3]}, {4}, false, resolveColor(dc, color));
        return;
    }
    RasterTarget t;
    if (!beginRaster(dc, t)) return;
    if (limit) t.clip = Region::combine(t.clip, *limit, Region::Op::And);
    const CoverageWindow window(rasterWindow(dc));
    Coverage c;
    polygonCoverage({q[0], q[1], q[2], q[3]}, {4}, false, c);
    paintCoverage(t, c, solidPaint(dc, color, R2_COPYPEN));
    endRaster(dc);
}

}  // namespace
}  // namespace gdi

using namespace gdi;

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return FALSE;
    if (!text) count = 0;
    if (dc->meta) dc->meta->text(x, y, options, rect, text, static_cast<int>(count), dx);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const int n = static_cast<int>(count);
    const std::shared_ptr<FontInstance> font = dcFont(*dc);

    std::optional<Region> limit;
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        const PointI a = toDeviceI(*dc, rect->left, rect->top);
        const PointI b = toDeviceI(*dc, rect->right, rect->bottom);
        const Region r = Region::rect(a.x, a.y, b.x, b.y);
        if (options & ETO_OPAQUE) {
            const PointD q[4] = {{double(std::min(a.x, b.x)), double(std::min(a.y, b.y))},
                                 {double(std::max(a.x, b.x)), double(std::min(a.y, b.y))},
                                 {double(std::max(a.x, b.x)), double(std::max(a.y, b.y))},
                                 {double(std::min(a.x, b.x)), double(std::max(a.y, b.y))}};
            fillQuad(*dc, q, dc->st.bkColor, nullptr);
        }
        if (options & ETO_CLIPPED) limit = r;
    }
    if (n <= 0) return TRUE;

    const UINT align = dc->st.textAlign;
    const POINT ref = (align & TA_UPDATECP) ? dc->st.current : POINT{x, y};
    const PointD origin = toDevice(*dc, ref.x, ref.y);
    const double angle = font->request.lfEscapement * std::numbers::pi / 1800.0;
    const PointD dir{std::cos(angle), -std::sin(angle)};
    const PointD up{-std::sin(angle), -std::cos(angle)};
    const Layout l = layout(*dc, *font, bytes, n, dx);

    double along = 0;
    switch (align & TA_CENTER) {
        case TA_CENTER:
            along = -l.width / 2;
            break;
        case TA_RIGHT:
            along = -l.width;
            break;
        default:
            break;
    }
    double above = 0;  // baseline offset along "up"
    switch (align & TA_BASELINE) {
        case TA_BASELINE:
            above = 0;
            break;
        case TA_BOTTOM:
            above = font->descent;
            break;
        default:
            above = -font->ascent;
            break;
    }
    const PointD start{origin.x + dir.x * along + up.x * above,
                       origin.y + dir.y * along + up.y * above};
    auto at = [&](double a, double u) {
        return PointD{start.x + dir.x * a + up.x * u, start.y + dir.y * a + up.y * u};
    };

    if (dc->st.bkMode == OPAQUE) {
        const PointD q[4] = {at(0, font->ascent), at(l.width, font->ascent),
                             at(l.width, -font->descent), at(0, -font->descent)};
        fillQuad(*dc, q, dc->st.bkColor, limit ? &*limit : nullptr);
    }

    GlyphRun run;
    run.font = font;
    run.angle = angle;
    run.color = resolveColor(*dc, dc->st.textColor);
    for (int i = 0; i < n; ++i) {
        run.bytes.push_back(bytes[i]);
        run.origins.push_back(at(l.offsets[static_cast<std::size_t>(i)], 0));
    }
    if (VectorDevice* v = vectorOf(*dc)) {
        std::optional<Region> c = deviceClip(*dc);
        if (limit) c = c ? Region::combine(*c, *limit, Region::Op::And) : *limit;
        v->clip(c);
        v->glyphs(run);
    } else {
        RasterTarget t;
        if (beginRaster(*dc, t)) {
            if (limit) t.clip = Region::combine(t.clip, *limit, Region::Op::And);
            const Paint ink = solidPaint(*dc, dc->st.textColor, R2_COPYPEN);
            for (int i = 0; i < n; ++i) {
                const GlyphImage& g = font->glyph(bytes[i]);
                const PointD& o = run.origins[static_cast<std::size_t>(i)];
                const int gx = static_cast<int>(std::lround(o.x)) + g.left;
                const int gy = static_cast<int>(std::lround(o.y)) - g.top;
                for (int r = 0; r < g.height; ++r)
                    for (int c = 0; c < g.width; ++c)
                        if (g.bits[static_cast<std::size_t>(r) * g.width + c])
                            paintPixel(t, gx + c, gy + r, ink);
            }
            endRaster(*dc);
        }
    }
    auto bar = [&](double offsetUp, int thickness) {
        const double h0 = offsetUp, h1 = offsetUp - thickness;
        const PointD q[4] = {at(0, h0), at(l.width, h0), at(l.width, h1), at(0, h1)};
        fillQuad(*dc, q, dc->st.textColor, limit ? &*limit : nullptr);
    };
    if (font->request.lfUnderline) bar(-font->underlinePosition + 0.5, font->underlineThickness);
    if (font->request.lfStrikeOut) bar(font->strikeoutPosition, font->underlineThickness);

    if (align & TA_UPDATECP) {
        // The current position moves to the far end of the text.
        const double endAlong = (align & TA_CENTER) == TA_RIGHT    ? -l.width
                                : (align & TA_CENTER) == TA_CENTER ? 0
                                                                   : l.width;
        const PointD endDev{origin.x + dir.x * endAlong, origin.y + dir.y * endAlong};
        double lx, ly;
        dc->fullTransform().inverse().apply(endDev.x, endDev.y, lx, ly);
        if ((align & TA_CENTER) != TA_CENTER)
            dc->st.current = {static_cast<LONG>(std::lround(lx)),
                              static_cast<LONG>(std::lround(ly))};
    }
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    if (count < 0) return FALSE;
    return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !tm) return FALSE;
    const std::shared_ptr<FontInstance> f = dcFont(*dc);
    *tm = TEXTMETRICA{};
    tm->tmAscent = logicalY(*dc, f->ascent);
    tm->tmDescent = logicalY(*dc, f->descent);
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmInternalLeading = logicalY(*dc, f->internalLeading);
    tm->tmExternalLeading = logicalY(*dc, f->externalLeading);
    tm->tmAveCharWidth = logicalX(*dc, f->avgCharWidth);
    tm->tmMaxCharWidth = logicalX(*dc, f->maxCharWidth);
    tm->tmWeight = f->request.lfWeight ? f->request.lfWeight : FW_NORMAL;
    tm->tmDigitizedAspectX = dc->info.dpiX;
    tm->tmDigitizedAspectY = dc->info.dpiY;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = f->request.lfItalic;
    tm->tmUnderlined = f->request.lfUnderline;
    tm->tmStruckOut = f->request.lfStrikeOut;
    // Low bit set means variable pitch (the inverse of the name); TrueType bit 4.
    const bool fixed = (f->request.lfPitchAndFamily & 3) == FIXED_PITCH ||
                       (f->request.lfPitchAndFamily & 0xF0) == FF_MODERN;
    tm->tmPitchAndFamily =
        static_cast<BYTE>((f->request.lfPitchAndFamily & 0xF0) | (fixed ? 0 : 1) | 4);
    tm->tmCharSet = f->request.lfCharSet;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, SIZE* size) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
    const std::shared_ptr<FontInstance> f = dcFont(*dc);
    const Layout l = layout(*dc, *f, reinterpret_cast<const unsigned char*>(text), count, nullptr);
    size->cx = logicalX(*dc, static_cast<int>(std::lround(l.width)));
    size->cy = logicalY(*dc, f->height());
    return TRUE;
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !widths || last < first || last > 255) return FALSE;
    const std::shared_ptr<FontInstance> f = dcFont(*dc);
    for (UINT c = first; c <= last; ++c)
        widths[c - first] = logicalX(*dc, f->advance(static_cast<unsigned char>(c)));
    return TRUE;
}

int GetTextFaceA(HDC hdc, int count, LPSTR face) {
    DeviceContext* dc = findDc(hdc);
    if (!dc) return 0;
    const char* name = dc->st.font->lf.lfFaceName;
    const int len = static_cast<int>(strnlen(name, LF_FACESIZE));
    if (!face) return len + 1;
    if (count <= 0) return 0;
    const int n = std::min(len, count - 1);
    std::memcpy(face, name, static_cast<std::size_t>(n));
    face[n] = 0;
    return n;
}

namespace {

// The display text of a line and the position of its prefix-underlined byte.
std::string stripPrefixes(const std::string& s, UINT format) {
    if (format & DT_NOPREFIX) return s;
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&';
            ++i;
            if (i < s.size() && s[i] != '&') out += s[i];
            continue;
        }
        out += s[i];
    }
    return out;
}

int textWidth(HDC hdc, const std::string& s) {
    SIZE sz;
    GetTextExtentPoint32A(hdc, s.data(), static_cast<int>(s.size()), &sz);
    return sz.cx;
}

std::vector<std::string> splitLines(HDC hdc, const std::string& text, UINT format, int maxWidth) {
    std::vector<std::string> raw;
    if (format & DT_SINGLELINE) {
        std::string one;
        for (char c : text)
            one += (c == '\r' || c == '\n') ? ' ' : c;
        raw.push_back(one);
    } else {
        std::string cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                raw.push_back(cur);
                cur.clear();
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                cur += text[i];
            }
        }
        raw.push_back(cur);
    }
    if (format & DT_EXPANDTABS) {
        for (std::string& line : raw) {
            std::string out;
            for (char c : line)
                out += c == '\t' ? std::string(8, ' ') : std::string(1, c);
            line = out;
        }
    }
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) return raw;
    std::vector<std::string> lines;
    for (const std::string& line : raw) {
        std::string cur;
        std::size_t i = 0;
        while (i < line.size()) {
            std::size_t j = line.find(' ', i);
            if (j == std::string::npos) j = line.size();
            const std::string word = line.substr(i, j - i);
            const std::string trial = cur.empty() ? word : cur + " " + word;
            if (!cur.empty() && textWidth(hdc, stripPrefixes(trial, format)) > maxWidth) {
                lines.push_back(cur);
                cur = word;
            } else {
                cur = trial;
            }
            i = j + 1;
        }
        lines.push_back(cur);
    }
    return lines;
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int count, RECT* rect, UINT format) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || !text || !rect) return 0;
    const std::string s =
        count < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(count));
    TEXTMETRICA tm;
    GetTextMetricsA(hdc, &tm);
    const std::vector<std::string> lines = splitLines(hdc, s, format, rect->right - rect->left);
    const int lineHeight = tm.tmHeight;
    const int total = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, textWidth(hdc, stripPrefixes(line, format)));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
        return total;
    }
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect->bottom - lineHeight;
    }
    const UINT oldAlign = SetTextAlign(hdc, TA_TOP | TA_LEFT);
    for (const std::string& line : lines) {
        const std::string shown = stripPrefixes(line, format);
        const int w = textWidth(hdc, shown);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (rect->right - rect->left - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        ExtTextOutA(hdc, x, y, (format & DT_NOCLIP) ? 0 : ETO_CLIPPED, rect, shown.data(),
                    static_cast<UINT>(shown.size()), nullptr);
        y += lineHeight;
    }
    SetTextAlign(hdc, oldAlign);
    return total;
}

}  // namespace win
