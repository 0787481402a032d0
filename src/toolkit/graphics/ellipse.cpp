#include "toolkit/graphics/ellipse.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"

namespace tk {

namespace {

struct EllipseShape {
    float cx, cy;
    float rx, ry;    // radii of the pass being drawn
    float y1c, y2c;  // the y range clipped to the graphics area
    float x1c, x2c;

    void clipRanges() {
        const GraphicsState& g = graphicsState();
        y1c = std::max(cy - ry, g.devY1), y2c = std::min(cy + ry, g.devY2);
        x1c = std::max(cx - rx, g.devX1), x2c = std::min(cx + rx, g.devX2);
    }

    void outlineByLines() const {
        const int n = 75 * static_cast<int>(rx) / std::max(1, graphicsState().targetWidth) + 25;
        const float step = 3.1415927f / static_cast<float>(n);
        for (float side : {-1.0f, 1.0f}) {
            float px = cx, py = cy + ry;
            for (float t = step; t <= 3.1416926f; t += step) {
                const float qx = cx + side * rx * std::sin(t), qy = cy + ry * std::cos(t);
                DrawLineDevice(px, py, qx, qy);
                px = qx, py = qy;
            }
        }
    }

    // Half the chord at offset d from the centre along an axis of radius a,
    // across the other radius b.
    static float halfChord(float d, float a, float b, bool screen) {
        const float t = d / a;
        const float half = b * std::sqrt(std::max(0.0f, 1.0f - t * t));
        return screen ? std::trunc(half) : half;
    }

    void horizontalRun(const HatchLayout& h, float y, bool screen) const {
        bool forward = false;
        for (; y < y2c; y += h.spacingY) {
            const float half = halfChord(y - cy, ry, rx, screen) - h.inset;
            float a = cx - half, b = cx + half;
            if (h.alternate && (forward = !forward)) std::swap(a, b);
            DrawLineDevice(a, y, b, y);
        }
    }

    void horizontal(const HatchLayout& h, int pass) const {
        const int grid = std::max(1, h.gridY);
        float start = static_cast<float>(static_cast<int>(y1c) / grid * grid) + h.spacingY;
        while (start < y1c)
            start += h.spacingY;
        horizontalRun(h, start, pass == 1);
        int step = 1;
        SecondColourPass(pass, step);
        if (step != 2) return;
        horizontalRun(h, start + 0.5f * h.spacingY, pass == 1);
        SecondColourPass(pass, step);
    }

    void vertical(const HatchLayout& h, int pass) const {
        const int grid = std::max(1, h.gridX);
        float x = static_cast<float>(static_cast<int>(x1c) / grid * grid) + h.spacingX;
        while (x < x1c)
            x += h.spacingX;
        bool forward = false;
        for (; x < x2c; x += h.spacingX) {
            const float half = halfChord(x - cx, rx, ry, pass == 1) - h.inset;
            float a = cy - half, b = cy + half;
            if (h.alternate && (forward = !forward)) std::swap(a, b);
            DrawLineDevice(x, a, x, b);
        }
    }

    void hatch(int pass, int style, int angle) const {
        if (style != 1 && style != 2) return;
        const HatchLayout h = HatchSpacing(pass, graphicsState().fillDensity);
        if ((style == 2 || angle != 4) && h.spacingY > 0) horizontal(h, pass);
        if ((style == 2 || angle == 4) && h.spacingX > 0) vertical(h, pass);
    }
};

}  // namespace

void YYELIP(float x, float y, float r, float ratio) {
    if (!(r > 0.0f) || !(ratio > 0.0f)) {
        ReportLibraryError(20, "YYELIP");
        return;
    }
    GraphicsState& g = graphicsState();
    EllipseShape e{};
    WorldToDevice(x, y, e.cx, e.cy);
    const float q = r * ratio * g.rotDevSpanY / g.appUnitsSpanX;
    float rxS = 0, ryS = 0, rxH = 0, ryH = 0;
    if (g.pageRotation % 180 == 0) {
        rxS = rxH = r * g.devSpanX / g.unitsSpanX;
        ryS = q * g.aspectRatio;
        ryH = q * g.pageAspect;
    } else {
        ryS = ryH = r * g.devSpanY / g.unitsSpanX;
        rxS = q * g.aspectRatio;
        rxH = q * g.pageAspect;
    }
    const bool hidden = e.cy + ryS < g.devY1 || e.cy - ryS > g.devY2 || e.cx - rxS > g.devX2 ||
                        e.cx + rxS < g.devX1;
    if (!hidden) {
        e.rx = rxS, e.ry = ryS;
        e.clipRanges();
        DeviceParameterBlock& b = deviceBlock();
        b.fx[1] = e.cx, b.fy[1] = e.cy, b.fx[2] = rxS, b.fy[2] = ryS;
        b.fx[3] = ratio, b.fx[4] = r, b.fy[3] = e.y1c, b.fy[4] = e.y2c;
        b.pixX[1] = static_cast<int>(e.cx), b.pixY[1] = static_cast<int>(e.cy);
        b.pixX[2] = static_cast<int>(rxS), b.pixY[2] = static_cast<int>(ryS);
        b.pixY[3] = static_cast<int>(e.y1c), b.pixY[4] = static_cast<int>(e.y2c);
        const int style = g.fillStyle;
        const bool filled = style == 3 || style == 4;
        bool proceed = true;
        if (filled) {
            int code = style == 3 ? 5 : 6;
            HalftoneRequestCode(6, code);
            SendScreenRequest(code);
            proceed = g.lineFillScreen != 0 || g.hardcopyDriver > 0;
        }
        if (proceed) {
            bool hardcopyOutlineByLines = false;
            if (g.hardcopyDriver > 0) {
                b.fx[2] = rxH, b.fy[2] = ryH, b.value = 1;
                g.lineFillSpacing = 100.0f;
                SendHardcopyRequest(5);
                hardcopyOutlineByLines = b.value == -1;
            }
            const int screen = g.screenOutput, hardcopy = g.hardcopyDriver;
            const bool outline = g.fillOutline != 0;
            const int passStyle = filled ? 1 : style, passAngle = filled ? 3 : g.fillAngle;
            if (screen && (!filled || g.lineFillScreen != 0)) {
                g.hardcopyDriver = 0;
                if (outline && !filled) SendScreenRequest(4);
                e.hatch(1, passStyle, passAngle);
                g.hardcopyDriver = hardcopy;
            }
            g.lineFillScreen = 0;
            if (hardcopy > 0 && (!filled || g.lineFillHardcopy != 0)) {
                g.screenOutput = 0;
                e.rx = rxH, e.ry = ryH;
                e.clipRanges();
                if (outline && hardcopyOutlineByLines) e.outlineByLines();
                e.hatch(2, passStyle, passAngle);
                g.screenOutput = screen;
            }
            g.lineFillHardcopy = 0;
            b.value = -1;
            SendHardcopyRequest(5);
        }
    }
    MoveToUnits(x, y);
}

void CircleAt(float x, float y, float r) {
    YYELIP(x, y, r, 1.0f);
}

void CircleAtCurrent(float r) {
    YYELIP(graphicsState().currentX, graphicsState().currentY, r, 1.0f);
}

}  // namespace tk
