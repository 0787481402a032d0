#include "toolkit/graphics/lines.h"

#include <algorithm>
#include <string_view>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/polygon_fill.h"

namespace tk {

void DrawLineUnits(float x1, float y1, float x2, float y2) {
    float dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0;
    WorldToDevice(x1, y1, dx1, dy1);
    WorldToDevice(x2, y2, dx2, dy2);
    DrawLineDevice(dx1, dy1, dx2, dy2);
}

void DrawLineDevice(float x1, float y1, float x2, float y2) {
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = x1, b.fy[1] = y1, b.fx[2] = x2, b.fy[2] = y2;
    bool visible = false;
    ClipSegment(b.fx[1], b.fy[1], b.fx[2], b.fy[2], visible);
    if (!visible) return;
    const GraphicsState& g = graphicsState();
    if (g.screenOutput) {
        b.pixX[1] = static_cast<int>(b.fx[1]);
        b.pixY[1] = static_cast<int>(b.fy[1]);
        b.pixX[2] = static_cast<int>(b.fx[2]);
        b.pixY[2] = static_cast<int>(b.fy[2]);
        SendScreenRequest(2);
    }
    SendHardcopyRequest(2);
}

namespace {

constexpr int kExclusiveOrMode = 3;

}  // namespace

void DrawConnectedLinesUnits(const float* x, const float* y, int n) {
    if (n < 2) return;
    const GraphicsState& g = graphicsState();
    if (g.lineStyle == 0 && g.drawingMode != kExclusiveOrMode) {
        PolylineClipped(x, y, n, false);
        return;
    }
    for (int i = 1; i < n; ++i)
        LineBetweenUnits(x[i - 1], y[i - 1], x[i], y[i]);
}

namespace {

// The clip rectangle is the device area widened by 0.001 so that a point on
// an edge counts as inside; the edge points themselves lie on the area.
struct Clipper {
    const GraphicsState& g;
    float &x1, &y1, &x2, &y2;

    bool inside(float x, float y) const {
        return g.clipX1 <= x && x <= g.clipX2 && g.clipY1 <= y && y <= g.clipY2;
    }
    bool onSegment(float ex, float ey) const {
        return inside(ex, ey) && ex >= std::min(x1, x2) && ex <= std::max(x1, x2) &&
               ey >= std::min(y1, y2) && ey <= std::max(y1, y2);
    }
    // Shortens an axis-parallel segment along one coordinate.
    static void clamp(float& a, float& b, float lo, float hi) {
        if (b > a) {
            a = std::max(a, lo);
            b = std::min(b, hi);
        } else {
            b = std::max(b, lo);
            a = std::min(a, hi);
        }
    }
    bool run() {
        if (inside(x1, y1) && inside(x2, y2)) return true;
        if (static_cast<int>(x1) == static_cast<int>(x2)) {
            if (std::min(y1, y2) <= g.devY2 && std::max(y1, y2) >= g.devY1) {
                clamp(y1, y2, g.devY1, g.devY2);
                return inside(x1, y1);
            }
            return false;
        }
        if (static_cast<int>(y1) == static_cast<int>(y2)) {
            if (std::min(x1, x2) <= g.devX2 && std::max(x1, x2) >= g.devX1) {
                clamp(x1, x2, g.devX1, g.devX2);
                return inside(x1, y1);
            }
            return false;
        }
        return general();
    }
    bool general() {
        const float m = (y2 - y1) / (x2 - x1);
        const float o = y1 - m * x1;
        const float xt = (g.devY2 - o) / m, xb = (g.devY1 - o) / m;
        const float yr = o + m * g.devX2, yl = o + m * g.devX1;
        if (onSegment(xt, g.devY2)) {
            if (inside(x1, y1) && y2 > y1) return set2(xt, g.devY2);
            if (inside(x2, y2) && y1 > y2) return set1(xt, g.devY2);
            y1 < y2 ? (void)set2(xt, g.devY2) : (void)set1(xt, g.devY2);
        }
        if (onSegment(xb, g.devY1)) {
            if (inside(x1, y1) && y1 > y2) return set2(xb, g.devY1);
            if (inside(x2, y2) && y2 > y1) return set1(xb, g.devY1);
            y2 < y1 ? (void)set2(xb, g.devY1) : (void)set1(xb, g.devY1);
        }
        if (onSegment(g.devX2, yr)) {
            if (inside(x1, y1) && x2 > x1) return set2(g.devX2, yr);
            if (inside(x2, y2) && x1 > x2) return set1(g.devX2, yr);
            x1 < x2 ? (void)set2(g.devX2, yr) : (void)set1(g.devX2, yr);
        }
        if (onSegment(g.devX1, yl)) {
            if (inside(x1, y1)) return set2(g.devX1, yl);
            if (inside(x2, y2)) return set1(g.devX1, yl);
        }
        return false;
    }
    bool set1(float x, float y) {
        x1 = x, y1 = y;
        return true;
    }
    bool set2(float x, float y) {
        x2 = x, y2 = y;
        return true;
    }
};

bool metafileTarget() {
    return graphicsState().targetType == MetafileTarget;
}

}  // namespace

void ClipSegment(float& x1, float& y1, float& x2, float& y2, bool& visible) {
    Clipper clipper{graphicsState(), x1, y1, x2, y2};
    visible = clipper.run();
}

void SetLineStyle(std::optional<int> style) {
    const int s = style.value_or(0);
    graphicsState().lineStyle = s >= 0 && s <= 7 ? s : 0;
    SendScreenRequest(29);
    SendHardcopyRequest(29);
}

void SetLineThickness(std::optional<int> screen, std::optional<int> hardcopy,
                      std::optional<int> metafile) {
    GraphicsState& g = graphicsState();
    if (screen && *screen > 0) {
        g.lineWidthScreen = *screen;
        if (!metafileTarget()) SendScreenRequest(30);
    }
    if (hardcopy && *hardcopy > 0) {
        if (auto& option = graphicsServices().setHardcopyLineWidth) option(*hardcopy);
        SendHardcopyRequest(30);
    }
    if (metafile && *metafile > 0) {
        g.lineWidthMetafile = *metafile;
        if (metafileTarget()) SendScreenRequest(30);
    }
}

void SetPlotModeLetter(std::optional<char> letter) {
    int mode = 0;
    if (letter) {
        const std::size_t at = std::string_view("NOoAaEe").find(*letter);
        if (at != std::string_view::npos) mode = static_cast<int>(at + 1) / 2;
    }
    ApplyPlotMode(mode);
}

void ApplyPlotMode(std::optional<int> mode) {
    graphicsState().drawingMode = mode.value_or(0);
    SendScreenRequest(27);
}

void ClearGraphicsArea() {
    GraphicsState& g = graphicsState();
    if (g.devIX1 == 0 && g.devIY1 == 0 && g.devIX2 == g.targetWidth - 1 &&
        g.devIY2 == g.targetHeight - 1) {
        SendScreenRequest(17);
        return;
    }
    const int mode = g.drawingMode, number = g.colourNumber, rgb = g.rgb, device = g.deviceColour,
              fill = g.fillStyle;
    g.fillStyle = 4;
    if (mode != 0) {
        g.drawingMode = 0;
        SendScreenRequest(27);
    }
    const bool recolour = device != 0;
    if (recolour) {
        ColourNumberRgb(0, g.rgb);
        g.colourNumber = 0;
        g.deviceColour = 0;
        SendScreenRequest(3);
    }
    DeviceParameterBlock& b = deviceBlock();
    b.pixX[1] = g.devIX1, b.pixY[1] = g.devIY1, b.pixX[2] = g.devIX2, b.pixY[2] = g.devIY2;
    SendScreenRequest(10);
    g.fillStyle = fill;
    if (mode != 0) {
        g.drawingMode = mode;
        SendScreenRequest(27);
    }
    if (recolour) {
        g.colourNumber = number, g.rgb = rgb, g.deviceColour = device;
        SendScreenRequest(3);
    }
}

}  // namespace tk
