#include "toolkit/graphics/stroke_font.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/stroke_font_builtin.h"
#include "toolkit/graphics/text_state.h"

namespace tk {

namespace {

// Proportional widths, sixteen codes a row: 32-127, then 161-255.
constexpr float kLowerWidths[96] = {
    0.7f,  0.56f, 0.69f, 0.84f, 0.84f, 1.39f, 1.3f,  0.56f, 0.56f, 0.56f, 0.84f, 0.94f,
    0.42f, 0.56f, 0.42f, 0.47f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f, 0.84f,
    0.84f, 0.84f, 0.47f, 0.47f, 0.94f, 0.94f, 0.94f, 0.74f, 1.54f, 1.11f, 1.11f, 1.11f,
    1.2f,  1.02f, 0.93f, 1.2f,  1.05f, 0.56f, 0.65f, 1.2f,  0.98f, 1.3f,  1.2f,  1.2f,
    0.93f, 1.2f,  1.11f, 0.93f, 1.02f, 1.11f, 1.02f, 1.5f,  1.2f,  1.2f,  1.02f, 0.56f,
    0.47f, 0.56f, 0.78f, 0.84f, 0.56f, 0.74f, 0.84f, 0.74f, 0.84f, 0.74f, 0.56f, 0.84f,
    0.84f, 0.46f, 0.46f, 0.84f, 0.46f, 1.3f,  0.84f, 0.84f, 0.84f, 0.84f, 0.56f, 0.65f,
    0.5f,  0.84f, 0.84f, 1.2f,  0.84f, 0.84f, 0.74f, 0.8f,  0.33f, 0.8f,  0.9f,  0.74f};
constexpr float kUpperWidths[95] = {
    0.55f, 0.83f, 0.83f, 0.83f, 0.83f, 0.33f, 0.83f, 0.55f, 1.27f, 0.46f, 0.83f, 0.94f,
    0.55f, 1.27f, 0.55f, 0.67f, 0.94f, 0.5f,  0.5f,  0.55f, 0.83f, 0.75f, 0.42f, 0.55f,
    0.5f,  0.52f, 0.83f, 1.25f, 1.25f, 1.25f, 0.74f, 1.2f,  1.2f,  1.2f,  1.2f,  1.2f,
    1.2f,  1.49f, 1.11f, 1.02f, 1.02f, 1.02f, 1.02f, 0.55f, 0.55f, 0.55f, 0.55f, 1.2f,
    1.2f,  1.2f,  1.2f,  1.2f,  1.2f,  1.2f,  0.94f, 1.2f,  1.2f,  1.2f,  1.2f,  1.2f,
    1.2f,  0.93f, 0.83f, 0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 0.74f, 1.11f, 0.74f, 0.74f,
    0.74f, 0.74f, 0.74f, 0.46f, 0.46f, 0.46f, 0.46f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f,
    0.83f, 0.83f, 0.94f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f, 0.83f};

// Copies a font's description into a record, as the installation does.
void fillFont(StrokeFontGlyphs& f, float cellWidth, float cellHeight, float glyphWidth,
              float glyphHeight, int charsetCode, int flags, int preferredTextMode,
              std::string_view name, std::string_view glyphs, std::span<const int> lower,
              std::span<const int> upper) {
    f.cellWidth = cellWidth;
    f.cellHeight = cellHeight;
    f.glyphWidth = glyphWidth;
    f.glyphHeight = glyphHeight;
    f.charsetCode = charsetCode;
    f.drawnAsStrokes = flags & 1;
    f.hasCode127 = (flags >> 1) & 1;
    f.preferredTextMode = preferredTextMode;
    f.fontName.assign(name);
    // Glyph text beyond the record's size is cut rather than overrunning it.
    const std::size_t length = std::min<std::size_t>(glyphs.size(), kGlyphTextSize);
    std::copy_n(glyphs.begin(), length, f.glyphText.begin());
    const std::size_t lowerCount = std::min<std::size_t>(lower.size(), f.hasCode127 ? 96 : 95);
    std::copy_n(lower.begin(), lowerCount, f.lowerStarts.begin());
    std::copy_n(upper.begin(), std::min<std::size_t>(upper.size(), 96), f.upperStarts.begin());
    f.installedFontBold = 0;
}

StrokeFontGlyphs builtinFont(std::string_view name) {
    StrokeFontGlyphs f;
    if (const BuiltinStrokeFont* b = FindBuiltinStrokeFont(name))
        fillFont(f, b->cellWidth, b->cellHeight, b->glyphWidth, b->glyphHeight, 8, b->flags,
                 b->preferredTextMode, b->name, b->glyphs, b->lowerStarts, b->upperStarts);
    return f;
}

struct SavedFont {
    StrokeFontGlyphs font;
    int strokeFontSelected = 0;
    bool holds = false;
};

struct FontSlots {
    StrokeFontGlyphs alternate;
    SavedFont saved;
    bool symbolFontFlag = false;
    // The symbol font is installed by SymbolFontSelect and not yet restored.
    bool symbolFontOurs = false;
};

FontSlots& slots() {
    static FontSlots s;
    return s;
}

std::array<float, 256> defaultWidths() {
    std::array<float, 256> w{};
    for (int c = 32; c <= 127; ++c)
        w[static_cast<std::size_t>(c)] = kLowerWidths[c - 32];
    for (int c = 161; c <= 255; ++c)
        w[static_cast<std::size_t>(c)] = kUpperWidths[c - 161];
    return w;
}

}  // namespace

StrokeFontGlyphs& installedStrokeFont() {
    static StrokeFontGlyphs font = builtinFont("standard.chr");
    return font;
}

int GlyphCoordinate(char c) {
    const std::size_t at = kGlyphAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::vector<GlyphRun> GlyphRuns(std::string_view glyph) {
    std::vector<GlyphRun> runs;
    const std::size_t z = glyph.size();
    std::size_t p = 0;
    auto point = [&](std::size_t at) {
        return GlyphPoint{GlyphCoordinate(glyph[at]), GlyphCoordinate(glyph[at + 1])};
    };
    while (p + 1 < z) {
        GlyphRun run{point(p)};
        p += 2;
        // A run has at least two points; a run cut short by the end of the
        // glyph is dropped with its single point.
        while (p + 1 < z) {
            run.push_back(point(p));
            p += 2;
            if (p + 1 >= z || GlyphCoordinate(glyph[p]) < 0) break;
        }
        if (run.size() >= 2) runs.push_back(std::move(run));
        if (p + 1 >= z) break;
        ++p;  // the separator
    }
    return runs;
}

std::string_view GlyphOfCode(int q) {
    const StrokeFontGlyphs& f = installedStrokeFont();
    int b = 0, e = 0;
    if (q > 32 && q <= 127) {
        b = f.lowerStarts[static_cast<std::size_t>(q - 33)];
        e = f.lowerStarts[static_cast<std::size_t>(q - 32)];
    } else if (q >= 161 && q <= 255) {
        b = f.upperStarts[static_cast<std::size_t>(q - 161)];
        e = f.upperStarts[static_cast<std::size_t>(q - 160)];
    }
    // Start tables are data; positions outside the glyph text give no glyph.
    if (b < 1 || e <= b || e - 1 > kGlyphTextSize) return {};
    return std::string_view(f.glyphText)
        .substr(static_cast<std::size_t>(b - 1), static_cast<std::size_t>(e - b));
}

void InstallStrokeFont(float cellWidth, float cellHeight, float glyphWidth, float glyphHeight,
                       int charsetCode, int flags, int preferredTextMode, int slot,
                       std::string_view name, std::string_view glyphs,
                       std::span<const int> lowerStarts, std::span<const int> upperStarts) {
    StrokeFontGlyphs* target = nullptr;
    if (slot == 0)
        target = &installedStrokeFont();
    else if (slot == 1)
        target = &slots().alternate;
    if (!target) return;
    fillFont(*target, cellWidth, cellHeight, glyphWidth, glyphHeight, charsetCode, flags,
             preferredTextMode, name, glyphs, lowerStarts, upperStarts);
}

std::array<float, 256>& charWidths() {
    static std::array<float, 256> widths = defaultWidths();
    return widths;
}

float DefaultCharWidth(int code) {
    static const std::array<float, 256> widths = defaultWidths();
    return code >= 0 && code <= 255 ? widths[static_cast<std::size_t>(code)] : 0.0f;
}

void YYCHSPACE(int code) {
    auto& widths = charWidths();
    if (code == 0) {
        widths = defaultWidths();
    } else if ((code >= 32 && code <= 126) || (code >= 161 && code <= 255) || code == 128) {
        const int entry = code == 128 ? 127 : code;
        widths[static_cast<std::size_t>(entry)] = DefaultCharWidth(entry);
    } else {
        ReportLibraryError(66, "YYCHSPACE");
    }
}

namespace {

void selectFamily(void (*bold)(), void (*plain)()) {
    const int style = graphicsState().fontStyle;
    if (style & 1)
        bold();
    else
        plain();
    installedStrokeFont().installedFontBold = style % 2 != 0 ? 1 : 0;
}

}  // namespace

void SelectFixedStrokeFont() {
    selectFamily(StrokeFontFixedBold, StrokeFontFixed);
}
void SelectSwissStrokeFont() {
    selectFamily(StrokeFontSwissBold, StrokeFontSwiss);
}
void SelectRomanStrokeFont() {
    selectFamily(StrokeFontRomanBold, StrokeFontRoman);
}

void FontStateSaveRestore(bool save) {
    SavedFont& saved = slots().saved;
    GraphicsState& g = graphicsState();
    if (save) {
        saved.font = installedStrokeFont();
        saved.strokeFontSelected = g.strokeFontSelected;
        saved.holds = true;
    } else if (saved.holds) {
        // Nothing saved yet: keep the installed font rather than installing
        // an empty record.
        installedStrokeFont() = saved.font;
        g.strokeFontSelected = saved.strokeFontSelected;
    }
}

void SymbolFontSelect(int on) {
    FontSlots& s = slots();
    GraphicsState& g = graphicsState();
    if (on == 1) {
        if (installedStrokeFont().fontName == "symbols.chr" && g.strokeFontSelected == 1) {
            // The application's own choice of the symbol font is not undone
            // later; a repeated call keeps the font saved by the first one.
            if (!s.symbolFontOurs) s.symbolFontFlag = false;
            return;
        }
        s.symbolFontFlag = true;
        s.symbolFontOurs = true;
        FontStateSaveRestore(true);
        StrokeFontSymbols(0);
        g.strokeFontSelected = 1;
    } else if (s.symbolFontFlag) {
        FontStateSaveRestore(false);
        s.symbolFontOurs = false;
    }
}

void ResetStrokeFontState() {
    installedStrokeFont() = builtinFont("standard.chr");
    slots() = FontSlots{};
    charWidths() = defaultWidths();
}

namespace {

struct Vec {
    float x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
Vec operator*(float k, Vec a) {
    return {k * a.x, k * a.y};
}

// Where glyph points land: scales, shear and the text direction.
struct GlyphFrame {
    float sx = 1, sy = 1, shear = 0;
    float cosA = 1, sinA = 0, sinOverA = 0;
    Vec map(Vec origin, GlyphPoint p) const {
        const float v = static_cast<float>(p.y) * sy;
        const float t = static_cast<float>(p.x) * sx + shear * v;
        return {origin.x + t * cosA - v * sinOverA, origin.y + t * sinA + v * cosA};
    }
};

void drawGlyph(std::string_view glyph, Vec origin, const GlyphFrame& frame, bool strokes) {
    std::vector<float> xs, ys;
    for (const GlyphRun& run : GlyphRuns(glyph)) {
        xs.clear();
        ys.clear();
        for (const GlyphPoint& p : run) {
            const Vec v = frame.map(origin, p);
            xs.push_back(v.x);
            ys.push_back(v.y);
        }
        const int m = static_cast<int>(xs.size());
        if (!strokes)
            YYPLYGON(xs.data(), ys.data(), m, true);
        else if (m == 2)
            DrawLineDevice(xs[0], ys[0], xs[1], ys[1]);
        else
            PolylineClipped(xs.data(), ys.data(), m, true);
    }
}

// Bold stroke text draws with doubled line widths on both sides.
struct BoldWidths {
    int screen = 0;
    std::optional<int> hardcopy;
    void apply(int factorScreen, std::optional<int> hardcopyWidth) {
        GraphicsState& g = graphicsState();
        g.lineWidthScreen = factorScreen;
        SendScreenRequest(30);
        auto& set = graphicsServices().setHardcopyLineWidth;
        if (hardcopyWidth && set) set(*hardcopyWidth);
        SendHardcopyRequest(30);
    }
};

}  // namespace

void DrawStrokeText(float x, float y, std::string_view text, int n, float W, float H) {
    GraphicsState& g = graphicsState();
    const StrokeFontGlyphs& font = installedStrokeFont();
    if (font.cellWidth <= 0.0f || font.cellHeight <= 0.0f) return;
    GlyphFrame frame;
    frame.sx = W / font.cellWidth;
    frame.sy = H / font.cellHeight;
    if (g.textMode != 0 && font.glyphWidth < 8.0f) frame.sx *= 0.75f;
    frame.shear = H != 0.0f ? g.textSlant * W / H : 0.0f;
    frame.cosA = g.dirCos;
    frame.sinA = g.dirSinA;
    frame.sinOverA = g.dirSinOverA;
    const float lw = StringWidthInUnits(text, n, 1);

    const bool strokes = font.drawnAsStrokes != 0;
    const int keptFillStyle = g.fillStyle;
    const bool bold = strokes && (g.fontStyle & 1) != 0;
    BoldWidths kept;
    if (!strokes) {
        g.fillStyle = 4;
        g.textFill = 1;
    } else if (bold) {
        kept.screen = g.lineWidthScreen;
        auto& get = graphicsServices().hardcopyLineWidth;
        if (get) kept.hardcopy = get();
        kept.apply(2 * kept.screen,
                   kept.hardcopy ? std::optional<int>(2 * *kept.hardcopy) : std::nullopt);
    }

    const Vec e{g.dirCos, g.dirSinA}, u{-g.dirSinOverA, g.dirCos};
    const Vec advance{g.advanceX, g.advanceY};
    const Vec start{x, y};
    const float boxWidth = font.glyphWidth * frame.sx;
    Vec G;
    for (int k = 0; k < n; ++k) {
        const int code =
            k < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[k]) : 32;
        const int q = MapCharacterCode(code);
        Vec a = advance, d;
        if (g.textMode != 0) {
            const float w = charWidths()[static_cast<std::size_t>(q)];
            a = w * advance;
            if (g.textStacking == 0) d = (0.5f * (1.0f - w)) * advance;
        }
        if (k == 0) {
            if (g.textStacking == 0)
                G = start + d + 0.5f * (a - boxWidth * e) - (0.5f * H) * u;
            else
                G = start - (0.5f * boxWidth) * e - (0.5f * (H + font.glyphHeight * frame.sy)) * u;
        }
        if (g.textStacking == 0 && g.textMode != 0) G = G - d;
        if (q > 32) drawGlyph(GlyphOfCode(q), G, frame, strokes);
        if (g.textStacking == 0)
            G = G + a + d;
        else
            G = G + Vec{g.heightX, -g.heightY};
    }

    if ((g.fontStyle & 4) != 0 && g.textStacking == 0) {
        const Vec from = start + 0.45f * Vec{g.heightX, -g.heightY};
        const Vec to = from + lw * advance;
        DrawLineDevice(from.x, from.y, to.x, to.y);
    }

    if (!strokes) {
        g.fillStyle = keptFillStyle;
        g.textFill = 0;
    } else if (bold) {
        kept.apply(kept.screen, kept.hardcopy);
    }
}

}  // namespace tk
