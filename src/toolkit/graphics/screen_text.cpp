#include "toolkit/graphics/screen_text.h"

#include <algorithm>
#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/graphics/text_state.h"

namespace tk {

namespace {

struct FontCache {
    int width = -1, height = -1, angle = -1, face = -1, style = -1;
    std::string name;
    screen::FontMetrics metrics{-1, -1, -1};
};

struct TextDriverState {
    FontCache cache;
    int paletteBatch = 0;  // 3 while a batch of palette changes is pending
    int lastLoadMode = 0;
    int fontsCreated = 0;
};

TextDriverState& textState() {
    static TextDriverState state;
    return state;
}

win::HDC dc() {
    return drawingSurface().dc;
}

int flipped(int y) {
    return graphicsState().targetHeight - 1 - y;
}

struct FaceInfo {
    const char* name;
    win::BYTE charset;
    win::BYTE family;
};

FaceInfo faceOf(int face, const std::string& name) {
    switch (face) {
        case 1:
            return {"Courier New", win::ANSI_CHARSET, win::FF_MODERN};
        case 2:
            return {"Arial", win::ANSI_CHARSET, win::FF_SWISS};
        case 3:
            return {"Times New Roman", win::ANSI_CHARSET, win::FF_ROMAN};
        case 4:
            return {"Symbol", win::SYMBOL_CHARSET, win::FF_ROMAN};
        default:
            return {name.c_str(), win::DEFAULT_CHARSET, win::FF_DONTCARE};
    }
}

win::HFONT createFont(int width, int height, int tenths, int style, const FaceInfo& face) {
    ++textState().fontsCreated;
    return win::CreateFontA(-height, width, tenths, tenths, style & 1 ? 700 : 400,
                            style & 2 ? 1 : 0, style & 4 ? 1 : 0, 0, face.charset,
                            win::OUT_TT_PRECIS, win::CLIP_LH_ANGLES, win::DEFAULT_QUALITY,
                            win::VARIABLE_PITCH | face.family, face.name);
}

void setScreenPaletteEntry(int index, int rgb, int mode) {
    const DrawingSurface& s = drawingSurface();
    if (s.metafile || !s.palette) return;
    if (mode == 0 || mode == 1) win::UnrealizeObject(s.palette);
    int r = 0, g = 0, b = 0;
    SplitRgbColour(rgb, &r, &g, &b);
    win::PALETTEENTRY entry{static_cast<win::BYTE>(r), static_cast<win::BYTE>(g),
                            static_cast<win::BYTE>(b), 0};
    win::SetPaletteEntries(s.palette, static_cast<win::UINT>(index), 1, &entry);
    if ((mode == 0 || mode == 3) && s.dc) {
        win::SelectPalette(s.dc, s.palette, 0);
        win::RealizePalette(s.dc);
    }
}

int paletteRgb(int index) {
    int rgb = 0;
    if (graphicsState().deviceColourCount == 16)
        BaseColourRgb(index, rgb);
    else
        DevicePaletteRgb(index, rgb);
    return rgb;
}

void reapplyColours() {
    const GraphicsState& g = graphicsState();
    screen::ScreenSetColour(g.previousDeviceColour, g.previousRgb);
    screen::ScreenSetColour(g.deviceColour, g.rgb);
}

}  // namespace

namespace screen {

FontMetrics ScreenSelectFont(int width, int height, int escapement, int face, int style,
                             std::string_view name) {
    PrimitiveState& p = primitives();
    FontMetrics m;
    if (!dc()) return m;
    const std::string faceName(name);
    const FaceInfo info = faceOf(face, faceName);
    if (p.font) {
        win::SelectObject(dc(), win::GetStockObject(win::SYSTEM_FONT));
        win::DeleteObject(p.font);
        p.font = nullptr;
    }
    // The upright font gives the cell height and ascent.
    win::HFONT upright = createFont(width, height, 0, style, info);
    win::HGDIOBJ old = win::SelectObject(dc(), upright);
    win::TEXTMETRICA tm{};
    win::GetTextMetricsA(dc(), &tm);
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    win::SelectObject(dc(), old);
    win::DeleteObject(upright);
    p.font = createFont(width, height, escapement * 10, style, info);
    win::SelectObject(dc(), p.font);
    win::SIZE size{};
    win::GetTextExtentPoint32A(dc(), kMeasuredLetters, 52, &size);
    m.width52 = size.cx;
    return m;
}

void ScreenText(int x1, int y1, int x2, int y2, int alignment, bool opaque, const char* text,
                int n) {
    if (!dc() || n <= 0) return;
    const PrimitiveState& p = primitives();
    const win::COLORREF oldText = win::SetTextColor(dc(), p.current);
    const win::COLORREF oldBack = win::SetBkColor(dc(), p.previous);
    const int oldMode = win::SetBkMode(dc(), opaque ? win::OPAQUE : win::TRANSPARENT);
    win::UINT align = win::TA_BASELINE | win::TA_LEFT;
    int x = x1, y = y1;
    if (alignment == 1) {
        align = win::TA_BASELINE | win::TA_CENTER;
        x = (x1 + x2) / 2;
        y = (y1 + y2) / 2;
    } else if (alignment == 2) {
        align = win::TA_BASELINE | win::TA_RIGHT;
        x = x2;
        y = y2;
    }
    const win::UINT oldAlign = win::SetTextAlign(dc(), align);
    win::TextOutA(dc(), x, y, text, n);
    win::SetTextAlign(dc(), oldAlign);
    win::SetBkMode(dc(), oldMode);
    win::SetBkColor(dc(), oldBack);
    win::SetTextColor(dc(), oldText);
}

int ScreenTextExtent(const char* text, int n) {
    if (!dc() || n <= 0) return 0;
    win::SIZE size{};
    win::GetTextExtentPoint32A(dc(), text, n, &size);
    return size.cx;
}

int FontsCreated() {
    return textState().fontsCreated;
}

}  // namespace screen

void ScreenForgetFont() {
    const int created = textState().fontsCreated;
    textState() = TextDriverState{};
    textState().fontsCreated = created;
}

void ScreenFontRequest() {
    GraphicsState& g = graphicsState();
    if (g.rotDevSpanX <= 0.0f || g.rotDevSpanY <= 0.0f) return;
    g.charScaleX = g.rotPlotExtentX / (g.charWidthFraction * g.rotDevSpanX);
    g.charScaleY = g.rotPlotExtentY / (g.charHeightFraction * g.rotDevSpanY);
    int width = static_cast<int>(g.rotPlotExtentX / g.charScaleX);
    int height = static_cast<int>(g.rotPlotExtentY / g.charScaleY);
    const int angle = static_cast<int>(g.deviceTextAngle);
    int style = g.fontStyle;
    const int face = g.deviceFontKind;
    if (g.textMode != 0) {
        const float f = g.textMode == 1 ? 0.607f : 0.78f;
        width = static_cast<int>(static_cast<float>(width) * f * (face == 4 ? 1.38f : 1.0f));
        height = static_cast<int>(static_cast<float>(height) * 0.821f);
        if (g.textMode == 1) style &= ~4;
    }
    const std::string name(g.textFontName.trimmed());
    FontCache& c = textState().cache;
    const bool same = width == c.width && height == c.height && angle == c.angle &&
                      face == c.face && style == c.style && (face != 0 || name == c.name);
    if (!same) {
        c.width = width, c.height = height, c.angle = angle, c.face = face, c.style = style;
        c.name = name;
        screen::FontMetrics m = screen::ScreenSelectFont(width, height, angle, face, style, name);
        if (g.textMode == 1) {
            // Characters laid out one by one advance by the width the font
            // draws them at: the font takes the table's widths.
            const int fitted =
                FontWidthFittedToTable(width, m.width52, g.rotPlotExtentX / g.charScaleX);
            if (fitted != width)
                m = screen::ScreenSelectFont(fitted, height, angle, face, style, name);
        }
        c.metrics.height = m.height;
        c.metrics.ascent = m.ascent;
        if (g.textMode == 0) c.metrics.width52 = m.width52;
    }
    if (g.textMode == 0 && c.metrics.width52 > 0)
        g.charScaleX = g.rotPlotExtentX * 52.0f / static_cast<float>(c.metrics.width52);
}

void ScreenTextRequest() {
    const GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    const screen::FontMetrics& m = textState().cache.metrics;
    const float t = static_cast<float>(m.ascent) - 0.5f * static_cast<float>(m.height);
    const float x = b.fx[1] + t * g.dirSinOverA, y = b.fy[1] - t * g.dirCos;
    const char* text = deviceTextBuffer().data();
    const int n = std::clamp(b.pixX[1], 0, 260);
    if (g.textStacking == 0) {
        const float ex = b.fx[3] + t * g.dirSinOverA, ey = b.fy[3] - t * g.dirCos;
        const int alignment = g.textMode == 1 ? 0 : g.textJustification;
        const bool opaque = g.textMode != 1 && (g.fontStyle & 8) != 0;
        screen::ScreenText(static_cast<int>(x), flipped(static_cast<int>(y)), static_cast<int>(ex),
                           flipped(static_cast<int>(ey)), alignment, opaque, text, n);
        b.pixX[4] = 0;
        return;
    }
    for (int i = 0; i < n; ++i) {
        const float cx = x + static_cast<float>(i) * g.heightX;
        const float cy = y - static_cast<float>(i) * g.heightY;
        screen::ScreenText(static_cast<int>(cx), flipped(static_cast<int>(cy)),
                           static_cast<int>(cx + g.advanceX),
                           flipped(static_cast<int>(cy + g.advanceY)), 1, false, text + i, 1);
    }
}

void ScreenTextExtentRequest() {
    DeviceParameterBlock& b = deviceBlock();
    const int n = std::clamp(b.value, 0, 260);
    b.fx[1] = static_cast<float>(screen::ScreenTextExtent(deviceTextBuffer().data(), n));
    b.count = 1;
}

void ScreenPaletteColourRequest() {
    const GraphicsState& g = graphicsState();
    const DeviceParameterBlock& b = deviceBlock();
    TextDriverState& s = textState();
    if (drawingSurface().palette) {
        const int old = paletteRgb(b.value);
        if (old != b.pixX[1] || (s.paletteBatch != 0 && b.pixX[4] == 0)) {
            int mode = 0;
            if (b.pixX[4] == 0) {
                mode = s.paletteBatch != 0 ? 3 : 0;
                s.paletteBatch = 0;
            } else {
                mode = s.paletteBatch != 0 ? 2 : 1;
                s.paletteBatch = 3;
            }
            setScreenPaletteEntry(b.value, b.pixX[1], mode);
        }
    }
    if (g.colourMode == 1 && (b.value == g.previousDeviceColour || b.value == g.deviceColour))
        reapplyColours();
}

void ScreenPaletteLoadRequest() {
    GraphicsState& g = graphicsState();
    if (!drawingSurface().palette) return;
    TextDriverState& s = textState();
    const int count = g.deviceColourCount;
    for (int k = 0; k < count; ++k) {
        const int mode = k == count - 1 ? 3 : (k == 0 ? s.lastLoadMode : 2);
        setScreenPaletteEntry(k, paletteRgb(k), mode);
    }
    s.lastLoadMode = 3;
    if (g.colourMode == 1) {
        ColourNumberRgb(g.previousColourNumber, g.previousRgb);
        ColourNumberRgb(g.colourNumber, g.rgb);
        reapplyColours();
    }
}

void ScreenPrintRequest() {
    const GraphicsState& g = graphicsState();
    auto& print = graphicsServices().printPicture;
    const int result = print ? print(deviceTextBuffer().trimmed(), g.devIX1, flipped(g.devIY2),
                                     g.devIX2, flipped(g.devIY1))
                             : 1;
    if (result == 0) return;
    if (result == 1) toolkitState().ErrorCategory = 0;
    ReportLibraryError(result, "YYGAPI");
}

}  // namespace tk
