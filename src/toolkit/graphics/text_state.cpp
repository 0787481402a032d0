#include "toolkit/graphics/text_state.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_font_builtin.h"

namespace tk {

namespace {

constexpr float kDefaultCharWidth = 0.01333333f;
constexpr float kDefaultCharHeight = 0.04f;
constexpr float kItalicSlant = 0.4663f;

int deviceTextMode(const GraphicsState& g) {
    return g.deviceFontKind == 1 ? 0 : 2;
}

void computeEffectiveFontKind(GraphicsState& g) {
    g.effectiveFontKind = g.deviceFontKind != 0 ? g.deviceFontKind : (g.textMode != 0 ? 2 : 1);
}

// Kind argument of GrTextFont; true when it changes the device font.
bool applyFontKind(GraphicsState& g, int kind) {
    switch (kind) {
        case 1:
            g.strokeFontSelected = 1;
            g.textMode = installedStrokeFont().preferredTextMode;
            return false;
        case 2:
            g.strokeFontSelected = 0;
            g.textMode = deviceTextMode(g);
            return false;
        case 100:
        case 102:
        case 103:
        case 104:
            g.deviceFontKind = kind - 100;
            g.strokeFontSelected = 0;
            g.textMode = 2;
            return true;
        case 101:
            g.deviceFontKind = 1;
            g.strokeFontSelected = 0;
            g.textMode = 0;
            return true;
        default:
            return false;
    }
}

// A filled stroke font follows the bold bit by installing its family's
// bold or plain member.
void followBoldVariant(const GraphicsState& g) {
    const StrokeFontGlyphs& font = installedStrokeFont();
    if (!g.strokeFontSelected || font.drawnAsStrokes != 0) return;
    if (font.installedFontBold == g.fontStyle % 2) return;
    const std::string_view family = font.fontName.view().substr(0, 5);
    if (family == "fixed")
        SelectFixedStrokeFont();
    else if (family == "swiss")
        SelectSwissStrokeFont();
    else if (family == "roman")
        SelectRomanStrokeFont();
}

void applyPitch(GraphicsState& g, int pitch) {
    switch (pitch) {
        case 0:
            g.textMode =
                g.strokeFontSelected ? installedStrokeFont().preferredTextMode : deviceTextMode(g);
            break;
        case 1:
            if (g.deviceFontKind == 0 || g.strokeFontSelected) g.textMode = 0;
            break;
        case 2:
            if (g.deviceFontKind != 1 || g.strokeFontSelected) g.textMode = 1;
            break;
        default:
            break;
    }
}

float ratio(float a, float b) {
    return b != 0.0f ? a / b : 1.0f;
}

}  // namespace

int MapCharacterCode(int code) {
    const StrokeFontGlyphs& font = installedStrokeFont();
    if (code >= 32 && code <= 126) return code;
    if (code == 128) return font.hasCode127 ? 127 : 32;
    if (code >= 161 && code <= 255) return font.charsetCode == 7 ? 32 : code;
    return 32;
}

void GrTextFont(std::optional<int> kind, std::optional<int> style, std::optional<float> width,
                std::optional<float> height, std::optional<std::string_view> name,
                std::optional<int> pitch) {
    GraphicsState& g = graphicsState();
    bool changed = false;
    if (kind) changed = applyFontKind(g, *kind);
    if (width) {
        if (*width > 0.0f) g.charWidthFraction = *width;
        changed = true;
    }
    if (height) {
        if (*height > 0.0f) g.charHeightFraction = *height;
        changed = true;
    }
    if (style) {
        if (!g.strokeFontSelected && (*style & 7) != (g.fontStyle & 7)) changed = true;
        g.fontStyle = *style;
    }
    followBoldVariant(g);
    if ((kind || style) && g.strokeFontSelected)
        g.textSlant = (g.fontStyle & 2) != 0 ? kItalicSlant : 0.0f;
    if (pitch) {
        const int old = g.textMode;
        applyPitch(g, *pitch);
        if (!g.strokeFontSelected && g.textMode != old) changed = true;
    }
    if (name) {
        if (g.deviceFontKind == 0) g.textFontName.assign(*name);
        changed = true;
    }
    if (g.deviceFontKind == 0 && !g.strokeFontSelected && g.textFontName.blank()) {
        ReportLibraryError(1058, "GrTextFont");
        g.effectiveFontKind = g.textMode != 0 ? 2 : 1;
    }
    if (changed) UpdateCharacterScale();
}

void SelectFontNumber(int k) {
    GraphicsState& g = graphicsState();
    if (g.textMode == 0) {
        g.deviceFontKind = 1;
    } else if (k >= 1 && k <= 12) {
        g.deviceFontKind = k <= 4 ? 2 : (k <= 8 ? 3 : 4);
    }
    const int bold = ((k + 1) / 2) % 2 == 0 ? 1 : 0;
    const int italic = k % 2 == 0 ? 2 : 0;
    g.fontStyle = (g.fontStyle & 4) + bold + italic;
    UpdateCharacterScale();
}

void SetTextModeLetter(std::string_view letter) {
    GraphicsState& g = graphicsState();
    const char c = letter.empty() ? ' ' : letter.front();
    if (c == 'H' || c == 'h' || c == 'P' || c == 'p') {
        g.textMode = (c == 'H' || c == 'h') ? 2 : 1;
        if (g.deviceFontKind == 1) g.deviceFontKind = 2;
    } else {
        g.textMode = 0;
        g.deviceFontKind = 1;
    }
    UpdateCharacterScale();
}

void SetCharacterSize(float width, float height) {
    GraphicsState& g = graphicsState();
    g.charWidthFraction = width > 0.0f ? width : kDefaultCharWidth;
    g.charHeightFraction = height > 0.0f ? height : kDefaultCharHeight;
    UpdateCharacterScale();
}

void UpdateCharacterScale() {
    GraphicsState& g = graphicsState();
    computeEffectiveFontKind(g);
    SendHardcopyRequest(21);
    if (g.screenOutput == 0) {
        if (g.rotDevSpanX > 0.0f && g.rotDevSpanY > 0.0f) {
            g.charScaleX = g.rotPlotExtentX / (g.charWidthFraction * g.rotDevSpanX);
            g.charScaleY = g.rotPlotExtentY / (g.charHeightFraction * g.rotDevSpanY);
        }
    } else if (!g.strokeFontSelected) {
        SendScreenRequest(21);
    }
}

void SetCharacterDirection(float angle) {
    GraphicsState& g = graphicsState();
    const double k = std::trunc(std::fabs(static_cast<double>(angle)) / 360.0) + 1.0;
    g.textAngle = static_cast<float>(std::fmod(static_cast<double>(angle) + 360.0 * k, 360.0));
    g.deviceTextAngle = static_cast<float>(
        std::fmod(static_cast<double>(g.textAngle) + static_cast<double>(g.pageRotation), 360.0));
    const float r =
        g.pageRotation % 180 == 0
            ? ratio(static_cast<float>(g.targetWidth), static_cast<float>(g.targetHeight))
            : ratio(static_cast<float>(g.targetHeight), static_cast<float>(g.targetWidth));
    float a = r * ratio(g.rotDevSpanY, g.rotDevSpanX) * ratio(g.areaSpanX, g.areaSpanY);
    if (!(a > 0.0f) || !std::isfinite(a)) a = 1.0f;
    const float phi = g.deviceTextAngle * 0.017453292f;
    g.dirCos = std::cos(phi);
    g.dirSinA = a * std::sin(phi);
    g.dirSinOverA = std::sin(phi) / a;
    SendScreenRequest(33);
    SendHardcopyRequest(33);
}

void SetTextAttributes(std::optional<int> justification, std::optional<float> angle,
                       std::optional<int> stacking, std::optional<int> spare) {
    GraphicsState& g = graphicsState();
    if (justification && *justification >= 0 && *justification <= 2)
        g.textJustification = *justification;
    if (angle) SetCharacterDirection(*angle);
    if (stacking) g.textStacking = *stacking;
    if (spare && *spare >= 0 && *spare <= 2) g.textSpare = *spare;
}

void SetTextJustification(int code) {
    if (code >= 1 && code <= 12) graphicsState().textJustification = (code - 1) / 4;
}

float StringWidthInUnits(std::string_view text, int n, std::optional<int> tableOnly) {
    GraphicsState& g = graphicsState();
    auto charAt = [&](int i) {
        return i < static_cast<int>(text.size()) ? static_cast<unsigned char>(text[i]) : ' ';
    };
    if (tableOnly.value_or(0) == 0 && g.textMode != 1 && !g.strokeFontSelected) {
        DeviceParameterBlock& b = deviceBlock();
        b.count = 0;
        b.value = std::clamp(n, 0, 260);
        std::string request(static_cast<std::size_t>(b.value), ' ');
        for (int i = 0; i < b.value; ++i)
            request[static_cast<std::size_t>(i)] = static_cast<char>(charAt(i));
        deviceTextBuffer().assign(request);
        if (g.screenOutput)
            SendScreenRequest(25);
        else
            SendHardcopyRequest(25);
        if (b.count != 0 && g.rotPlotExtentX != 0.0f)
            return b.fx[1] * g.charScaleX / g.rotPlotExtentX;
    }
    if (g.textMode == 0) return static_cast<float>(n);
    float sum = 0.0f;
    for (int i = 0; i < n; ++i)
        sum += charWidths()[static_cast<std::size_t>(MapCharacterCode(charAt(i)))];
    return sum;
}

int FontWidthFittedToTable(int width, int lettersDrawn, float cellWidth) {
    const float wanted = StringWidthInUnits(kMeasuredLetters, 52, 1) * cellWidth;
    if (lettersDrawn <= 0 || wanted <= 0.0f) return width;
    const float fitted = static_cast<float>(width) * wanted / static_cast<float>(lettersDrawn);
    return std::max(1, static_cast<int>(fitted + 0.5f));
}

void ResetTextState() {
    GraphicsState& g = graphicsState();
    const GraphicsState fresh;
    g.textSizeCheck[0] = g.textSizeCheck[1] = 1;
    g.textSpare = fresh.textSpare;
    g.textSlant = 0.0f;
    UpdateCharacterScale();
    YYCHSPACE(0);
    DefaultStrokeFont(0);
}

void RefreshCharacterState() {
    SetCharacterDirection(graphicsState().textAngle);
    UpdateCharacterScale();
}

}  // namespace tk
