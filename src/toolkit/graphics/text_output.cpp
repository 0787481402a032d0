#include "toolkit/graphics/text_output.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_font_builtin.h"
#include "toolkit/graphics/text_state.h"

namespace tk {

namespace {

constexpr float kNoThreshold = 1.7e38f;
constexpr float kItalicSlant = 0.4663f;

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

const DeviceInfo& sideInfo(int side) {
    return side == 1 ? hardcopyDeviceInfo() : screenDeviceInfo();
}

// One character of the text as a one-character string (blank beyond its end).
std::string_view characterAt(std::string_view text, int k) {
    static constexpr std::string_view blank = " ";
    return k >= 0 && k < static_cast<int>(text.size()) ? text.substr(static_cast<std::size_t>(k), 1)
                                                       : blank;
}

std::string_view charactersFrom(std::string_view text, int first, int count) {
    if (first >= static_cast<int>(text.size())) return {};
    return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
}

float widthOf(std::string_view text, int k) {
    return StringWidthInUnits(characterAt(text, k), 1);
}

// The geometry of one pass.
struct Layout {
    float W = 0, H = 0, Wn = 0, Hn = 0;
    Vec S, E1, E2, Q;
    Vec advance() const {
        const GraphicsState& g = graphicsState();
        return {g.advanceX, g.advanceY};
    }
};

// The whole call: the string, the side being drawn and what must be restored.
struct TextCall {
    std::string_view text;
    int n = 0;
    Vec P;
    float jf = 0;
    int driver = 0;  // the hardcopy driver number at entry
    int d = 0;
    bool strokePass = false;
    int substitution = -1;  // -1 none, 0 for the screen side, 1 for the hardcopy side
    bool firstPass = false;
};

void setUpPass(TextCall& c, Layout& L) {
    GraphicsState& g = graphicsState();
    L.Wn = g.charWidthFraction * g.rotDevSpanX;
    L.Hn = g.charHeightFraction * g.rotDevSpanY;
    if (!c.strokePass && c.d != 1 && g.charScaleX != 0.0f && g.charScaleY != 0.0f) {
        L.W = g.rotPlotExtentX / g.charScaleX;
        L.H = g.rotPlotExtentY / g.charScaleY;
    } else {
        L.W = L.Wn;
        L.H = L.Hn;
    }
    g.advanceX = L.W * g.dirCos;
    g.advanceY = L.W * g.dirSinA;
    g.heightX = L.H * g.dirSinOverA;
    g.heightY = L.H * g.dirCos;
    const Vec e{g.dirCos, g.dirSinA};
    const float n = static_cast<float>(c.n);
    if (g.textStacking == 0) {
        const float lw = g.textMode == 0 ? n : StringWidthInUnits(c.text, c.n);
        L.S = c.P - (c.jf * lw) * L.advance();
        L.E1 = c.P + ((1.0f - c.jf) * lw * L.Wn) * e;
        L.E2 = L.S + lw * L.advance();
        L.Q = c.P + ((1.0f - c.jf) * lw * L.Wn + c.jf * L.Wn) * e;
    } else {
        L.S = c.P + (c.jf * n * L.H) * Vec{-g.dirSinOverA, g.dirCos};
        L.Q = {c.P.x + ((1.0f - c.jf) * n * L.Wn + c.jf * L.Hn) * g.dirSinOverA,
               c.P.y - ((1.0f - c.jf) * n * L.Wn - c.jf * L.Hn) * g.dirCos};
    }
    if (g.lineStyle != 0 && (c.strokePass || ((g.fontStyle & 4) != 0 && g.textStacking == 0)))
        SetLineStyle(0);
    if ((g.screenOutput == 0 && c.d > 0) || c.firstPass) {
        float x = 0, y = 0;
        DeviceToWorld(L.Q.x, L.Q.y, x, y);
        MoveToUnits(x, y);
    }
}

void installSubstitute(int kind) {
    switch (kind) {
        case 1:
            SelectFixedStrokeFont();
            break;
        case 2:
            SelectSwissStrokeFont();
            break;
        case 3:
            SelectRomanStrokeFont();
            break;
        default:
            StrokeFontSymbol();
            break;
    }
}

void strokePass(TextCall& c, const Layout& L) {
    GraphicsState& g = graphicsState();
    const float keptSlant = g.textSlant;
    if (c.substitution >= 0) g.textSlant = (g.fontStyle & 2) != 0 ? kItalicSlant : 0.0f;
    const int keptScreen = g.screenOutput, keptDriver = g.hardcopyDriver;
    if (c.substitution == 1) g.screenOutput = 0;
    if (c.substitution == 0) g.hardcopyDriver = 0;
    if ((g.fontStyle & 8) != 0)
        DrawTextBackground(L.S.x, L.S.y, c.text, c.n, 1, g.screenOutput, g.hardcopyDriver);
    DrawStrokeText(L.S.x, L.S.y, c.text, c.n, L.W, L.H);
    g.screenOutput = keptScreen;
    g.hardcopyDriver = keptDriver;
    if (c.substitution >= 0) {
        FontStateSaveRestore(false);
        g.textSlant = keptSlant;
    }
}

// Runs `draw` with output limited to device side d.
template <typename F>
void onSide(int d, F&& draw) {
    GraphicsState& g = graphicsState();
    const int keptScreen = g.screenOutput, keptDriver = g.hardcopyDriver;
    if (d == 0)
        g.hardcopyDriver = 0;
    else
        g.screenOutput = 0;
    draw();
    g.screenOutput = keptScreen;
    g.hardcopyDriver = keptDriver;
}

void sendText(int d) {
    if (d == 1)
        SendHardcopyRequest(22);
    else
        SendScreenRequest(22);
}

// The characters of the string that fall inside the clipping rectangle.
struct Visible {
    int first = 0, last = -1;
    Vec anchor;  // leading edge of the first visible character (bottom left when stacked)
    Vec topCentre;
    Vec S1, E1, E2;
    int count() const { return last - first + 1; }
};

bool bothInside(Vec p, Vec half) {
    const Vec a = p + half, b = p - half;
    return PointInClipRect(a.x, a.y) && PointInClipRect(b.x, b.y);
}

bool clipAlongBaseline(const TextCall& c, const Layout& L, Visible& v) {
    const GraphicsState& g = graphicsState();
    const Vec adv = L.advance();
    const Vec halfUp = 0.5f * Vec{-g.heightX, g.heightY};
    Vec a = v.S1;
    v.first = -1;
    for (int k = 0; k < c.n; ++k) {
        if (bothInside(a, halfUp)) {
            v.first = k;
            break;
        }
        a = a + widthOf(c.text, k) * adv;
    }
    if (v.first < 0) return false;
    v.anchor = a;
    Vec t = v.S1 + StringWidthInUnits(c.text, c.n) * adv;
    for (int k = c.n - 1; k >= v.first; --k) {
        if (bothInside(t, halfUp)) {
            v.last = k;
            return true;
        }
        const Vec back = widthOf(c.text, k) * adv;
        t = t - back;
        v.E1 = v.E1 - back;
        v.E2 = v.E2 - back;
    }
    return false;
}

bool clipStacked(const TextCall& c, const Layout& L, Visible& v) {
    const GraphicsState& g = graphicsState();
    const Vec halfAdv = 0.5f * L.advance();
    const Vec down{g.heightX, -g.heightY};
    v.first = -1;
    for (int k = 0; k < c.n; ++k) {
        if (bothInside(v.S1 + static_cast<float>(k) * down, halfAdv)) {
            v.first = k;
            break;
        }
    }
    if (v.first < 0) return false;
    v.topCentre = v.S1 + static_cast<float>(v.first) * down;
    v.anchor = v.topCentre + down - halfAdv;
    for (int k = c.n - 1; k >= v.first; --k) {
        if (bothInside(v.S1 + static_cast<float>(k + 1) * down, halfAdv)) {
            v.last = k;
            return true;
        }
    }
    return false;
}

void fillRequestText(std::string_view characters) {
    deviceTextBuffer().assign(characters.substr(0, std::min<std::size_t>(characters.size(), 260)));
}

void setPosition(int k, int first, int last) {
    deviceBlock().pixX[2] = k == first ? 1 : (k == last ? 2 : 0);
}

// The advance of each visible character in cell widths: on the screen the
// width the screen font draws it at (characters advance by their own width at
// the size they are drawn), elsewhere the layout table's width.
std::vector<float> characterWidths(const TextCall& c, const Visible& v, int d, float cellWidth) {
    std::vector<float> widths;
    DeviceParameterBlock& b = deviceBlock();
    const Vec kept{b.fx[1], b.fy[1]};
    for (int k = v.first; k <= v.last; ++k) {
        float w = StringWidthInUnits(characterAt(c.text, k), 1, 1);
        if (d == 0 && cellWidth > 0.0f) {
            fillRequestText(characterAt(c.text, k));
            b.value = 1;
            b.count = 0;
            SendScreenRequest(25);
            if (b.count != 0) w = b.fx[1] / cellWidth;
        }
        widths.push_back(w);
    }
    b.fx[1] = kept.x, b.fy[1] = kept.y;
    return widths;
}

// Requests along the baseline; true when the underline is still ours.
bool baselineRequests(const TextCall& c, const Visible& v, int d, float cellWidth) {
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    const bool layout = hardcopyDeviceInfo().hardcopyTextLayout != 0;
    const bool perCharacter =
        d == 1 ? (g.textMode == 1 || (g.textMode == 2 && !layout)) : g.textMode == 1;
    if (!perCharacter) {
        b.pixX[1] = v.count();
        if (d == 1) b.pixX[2] = 3;
        b.pixX[4] = 1;
        sendText(d);
        return b.pixX[4] == 1;
    }
    const float yScale = d == 1 && g.aspectRatio != 0.0f ? g.pageAspect / g.aspectRatio : 1.0f;
    const std::vector<float> widths = characterWidths(c, v, d, cellWidth);
    if (d == 0) {
        // The string is placed by the widths of the layout table; the screen
        // font draws its characters narrower or wider, so the justification
        // is applied again to the width actually drawn.
        float table = 0, drawn = 0;
        for (int k = v.first; k <= v.last; ++k) {
            table += widthOf(c.text, k);
            drawn += widths[static_cast<std::size_t>(k - v.first)];
        }
        b.fx[1] += c.jf * (table - drawn) * g.advanceX;
        b.fy[1] += c.jf * (table - drawn) * g.advanceY;
    }
    for (int k = v.first; k <= v.last; ++k) {
        b.pixX[1] = 1;
        if (d == 1) setPosition(k, v.first, v.last);
        b.pixX[4] = 1;
        fillRequestText(characterAt(c.text, k));
        sendText(d);
        const float w = widths[static_cast<std::size_t>(k - v.first)];
        b.fx[1] += w * g.advanceX;
        b.fy[1] += w * g.advanceY * yScale;
    }
    return true;
}

void stackedHardcopyRequests(const TextCall& c, const Visible& v) {
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    const bool layout = hardcopyDeviceInfo().hardcopyTextLayout != 0;
    const int keptJustification = g.textJustification, keptMode = g.textMode;
    const bool override = g.textMode != 0 && layout;
    if (override) g.textJustification = 1, g.textMode = 2;
    const float yScale = g.aspectRatio != 0.0f ? g.pageAspect / g.aspectRatio : 1.0f;
    const Vec along{g.advanceX, g.advanceY * yScale};
    const Vec down{g.heightX, -g.heightY};
    for (int k = v.first; k <= v.last; ++k) {
        Vec at = v.anchor + static_cast<float>(k - v.first) * down;
        if (keptMode != 0) {
            const float w = charWidths()[static_cast<std::size_t>(
                MapCharacterCode(static_cast<unsigned char>(characterAt(c.text, k)[0])))];
            at = at + (layout ? 0.5f : 0.5f * (1.0f - w)) * along;
        }
        b.fx[1] = at.x, b.fy[1] = at.y;
        b.fx[3] = at.x + g.dirCos, b.fy[3] = at.y + g.dirSinA;
        b.pixX[1] = 1;
        setPosition(k, v.first, v.last);
        deviceTextBuffer()[0] = characterAt(c.text, k)[0];
        SendHardcopyRequest(22);
    }
    if (override) g.textJustification = keptJustification, g.textMode = keptMode;
}

void underline(const TextCall& c, const Layout& L, const Visible& v, int d) {
    const GraphicsState& g = graphicsState();
    const float lv =
        StringWidthInUnits(charactersFrom(c.text, v.first, v.count()), v.count()) * L.W;
    const float k =
        d == 1 && g.aspectRatio != 0.0f ? g.dirSinA * g.pageAspect / g.aspectRatio : g.dirSinA;
    const Vec dir{g.dirCos, k};
    const Vec o = (0.45f * L.H) * Vec{g.dirSinOverA, -g.dirCos};
    Vec from;
    switch (g.textJustification) {
        case 0:
            from = v.S1 + o;
            break;
        case 1:
            from = 0.5f * (v.S1 + v.E1) - (0.5f * lv) * dir + o;
            break;
        default:
            from = v.E1 + o - lv * dir;
            break;
    }
    const Vec to = from + lv * dir;
    onSide(d, [&] { DrawLineDevice(from.x, from.y, to.x, to.y); });
}

// Device text for side d; false when no character is visible.
bool deviceText(const TextCall& c, const Layout& L, int d) {
    GraphicsState& g = graphicsState();
    const bool stacked = g.textStacking != 0;
    Visible v;
    v.S1 = L.S, v.E1 = L.E1, v.E2 = L.E2;
    if (g.textMode != 0 && !stacked) {
        const Vec adv = L.advance();
        const float f1 = 0.14f * widthOf(c.text, 0), f2 = 0.14f * widthOf(c.text, c.n - 1);
        v.S1 = L.S + f1 * adv;
        v.E1 = L.E1 - f2 * adv;
        v.E2 = L.E2 - f2 * adv;
    }
    if (!(stacked ? clipStacked(c, L, v) : clipAlongBaseline(c, L, v))) return false;
    const std::string_view visible = charactersFrom(c.text, v.first, v.count());
    const int screenFlag = d == 0 ? 1 : 0;
    const int driverFlag = d == 1 ? c.driver : 0;
    if ((g.fontStyle & 8) != 0) {
        if (g.textStacking == 1)
            DrawTextBackground(v.topCentre.x, v.topCentre.y, visible, v.count(), 1, screenFlag,
                               driverFlag);
        else if (!stacked &&
                 (g.textMode == 1 || (d == 1 && hardcopyDeviceInfo().hardcopyTextBox == 0)))
            DrawTextBackground(v.anchor.x, v.anchor.y, visible, v.count(), 1, screenFlag,
                               driverFlag);
    }
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = v.anchor.x, b.fy[1] = v.anchor.y;
    b.fx[2] = L.W, b.fy[2] = L.H;
    if (!stacked) b.fx[3] = v.E1.x, b.fy[3] = v.E1.y, b.fx[4] = v.E2.x, b.fy[4] = v.E2.y;
    fillRequestText(visible);
    bool underlineOurs = false;
    if (!stacked) {
        underlineOurs = baselineRequests(c, v, d, L.W);
    } else if (d == 1) {
        stackedHardcopyRequests(c, v);
    } else {
        b.pixX[1] = v.count();
        b.pixX[4] = 1;
        SendScreenRequest(22);
    }
    if (!stacked && (g.fontStyle & 4) != 0 && underlineOurs) underline(c, L, v, d);
    return true;
}

}  // namespace

bool ChooseTextRendering(int side, float W, float H) {
    const GraphicsState& g = graphicsState();
    const DeviceInfo& info = sideInfo(side);
    float rx = 1, ry = 1, a = W, b = H;
    if (side == 1) {
        a = W * g.hardcopyScaleX;
        b = H * g.hardcopyScaleY;
    } else {
        rx = g.charScaleX * g.charWidthFraction * g.areaSpanX;
        ry = g.charScaleY * g.charHeightFraction * g.areaSpanY;
    }
    const bool check = g.textSizeCheck[side == 1 ? 1 : 0] != 0;
    const bool misfit = check && (rx > 1.3f || ry > 1.3f || rx < 0.8f || ry < 0.8f);
    const bool rotation = info.textAngleCapability == 0 ||
                          (info.textAngleCapability == 1 && std::fabs(g.deviceTextAngle) > 1.0f);
    if (g.textMode != 0) return info.capabilities[26] == '0' || misfit || rotation;
    const float t = info.deviceTextThreshold;
    if (t < 0.0f) return misfit || rotation;
    return (check && a > t && b > t) || rotation;
}

void DrawTextAt(std::optional<float> x, std::optional<float> y, std::string_view text, int n) {
    GraphicsState& g = graphicsState();
    TextCall c;
    c.text = text;
    c.n = n;
    WorldToDevice(x.value_or(g.currentX), y.value_or(g.currentY), c.P.x, c.P.y);
    c.jf = 0.5f * static_cast<float>(g.textJustification);
    const int entryLineStyle = g.lineStyle;
    c.driver = g.hardcopyDriver;
    c.d = g.screenOutput ? 0 : (g.hardcopyDriver > 0 ? 1 : 0);
    c.strokePass = g.strokeFontSelected == 1;
    c.firstPass = g.screenOutput != 0;
    Layout L;
    bool setUp = true;
    for (;;) {
        if (setUp) setUpPass(c, L);
        setUp = true;
        if (c.strokePass) {
            strokePass(c, L);
            if (c.substitution != 0 || g.hardcopyDriver == 0) break;
            // The screen got stroke text; the hardcopy side now gets its own
            // device pass with this pass's layout and size.
            c.d = 1;
            c.substitution = -1;
            c.strokePass = false;
            c.firstPass = false;
            setUp = false;
            continue;
        }
        if (sideInfo(c.d).deviceTextThreshold < kNoThreshold &&
            ChooseTextRendering(c.d, L.W, L.H)) {
            FontStateSaveRestore(true);
            installSubstitute(g.effectiveFontKind);
            g.strokeFontSelected = 1;
            c.substitution = c.d == 0 ? 0 : 1;
            c.strokePass = true;
            continue;
        }
        if (!deviceText(c, L, c.d)) break;
        if (c.d == 0 && g.hardcopyDriver > 0) {
            c.d = 1;
            c.firstPass = false;
            continue;
        }
        break;
    }
    if (g.lineStyle != entryLineStyle) SetLineStyle(entryLineStyle);
}

void DrawTextBackground(float x, float y, std::string_view text, int n, int tableOnly,
                        int screenFlag, int hardcopyFlag) {
    GraphicsState& g = graphicsState();
    const int side = screenFlag == 0 ? 2 : (hardcopyFlag == 0 ? 1 : 0);
    const int number = g.colourNumber, rgb = g.rgb, device = g.deviceColour;
    const int keptFill = g.fillStyle;
    const int keptScreen = g.screenOutput, keptDriver = g.hardcopyDriver;
    SetCurrentColour(g.previousColourNumber, g.previousRgb, g.previousDeviceColour, side);
    g.fillStyle = 4;
    g.screenOutput = screenFlag;
    g.hardcopyDriver = hardcopyFlag;
    const Vec adv{g.advanceX, g.advanceY};
    const Vec up{-g.heightX, g.heightY};
    Vec c[5];
    if (g.textStacking == 0) {
        const float lw = StringWidthInUnits(text, n, tableOnly);
        c[0] = Vec{x, y} - 0.5f * up;
        c[1] = c[0] + lw * adv;
        c[2] = c[1] + up;
        c[3] = c[0] + up;
    } else {
        float wm = 1.0f;
        if (g.textMode != 0) {
            wm = 0.0f;
            for (int k = 0; k < n; ++k)
                wm = std::max(wm, charWidths()[static_cast<std::size_t>(MapCharacterCode(
                                      static_cast<unsigned char>(characterAt(text, k)[0])))]);
        }
        c[0] = Vec{x, y} - (0.5f * wm) * adv;
        c[1] = c[0] + wm * adv;
        c[2] = c[1] - static_cast<float>(n) * up;
        c[3] = c[0] - static_cast<float>(n) * up;
    }
    c[4] = c[0];
    float xs[5], ys[5];
    for (int i = 0; i < 5; ++i)
        xs[i] = c[i].x, ys[i] = c[i].y;
    YYPLYGON(xs, ys, 5, true);
    g.screenOutput = keptScreen;
    g.hardcopyDriver = keptDriver;
    const int previous = g.colourNumber, previousRgb = g.rgb, previousDevice = g.deviceColour;
    SetCurrentColour(previous, previousRgb, previousDevice, side);
    SetCurrentColour(number, rgb, device, side);
    g.fillStyle = keptFill;
}

}  // namespace tk
