#include "toolkit/graphics/area_fill.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"

namespace tk {

namespace {

// 2 to the power k, 0 for a negative k (density 0 before any pattern).
int powerOfTwo(int k) {
    return k < 0 ? 0 : 1 << std::min(k, 20);
}

int& lineFillWord(int pass) {
    GraphicsState& g = graphicsState();
    return pass == 1 ? g.lineFillScreen : g.lineFillHardcopy;
}

// The six colour words saved by the two-colour line fill.
struct SavedColours {
    int previousNumber, previousRgb, previousDevice, number, rgb, device;
};
SavedColours savedColours{};

constexpr float kEdgeLimit = 2147480064.0f;

float limited(float v) {
    return std::fabs(v) > kEdgeLimit ? kEdgeLimit : v;
}

}  // namespace

void HatchLineRun::operator()(float ax, float ay, float bx, float by) {
    if (alternate) forward = !forward;
    if (forward)
        DrawLineDevice(bx, by, ax, ay);
    else
        DrawLineDevice(ax, ay, bx, by);
}

void SetFillPattern(int style, std::optional<int> density, std::optional<int> angle) {
    GraphicsState& g = graphicsState();
    if (style >= -2 && style <= 4) {
        g.fillStyle = std::abs(style);
        g.fillOutline = style >= 0 ? 1 : 0;
    } else {
        g.fillStyle = 0;
        g.fillOutline = 1;
    }
    g.fillDensity = density && *density >= 1 && *density <= 5 ? *density : 2;
    g.fillAngle = angle && *angle >= 1 && *angle <= 4 ? *angle : 3;
}

HatchLayout HatchSpacing(int pass, int density) {
    const GraphicsState& g = graphicsState();
    HatchLayout h;
    const bool fill = g.fillStyle >= 3;
    if (pass == 1) {
        if (!fill) {
            h.gridY = std::max(2, g.targetHeight / (20 + 10 * powerOfTwo(density - 1)));
            h.gridX = std::max(2, g.targetWidth / (10 + 10 * powerOfTwo(density)));
            h.spacingY = static_cast<float>(h.gridY);
            h.spacingX = static_cast<float>(h.gridX);
        } else {
            h.gridY = g.fillStyle == 3 && g.lineFillScreen == 2 ? 2 : 1;
            h.spacingY = static_cast<float>(h.gridY);
        }
        h.inset = g.drawingMode != 0 ? 1.0f : 0.0f;
    } else {
        if (!fill) {
            h.spacingY = g.rotPlotExtentY / static_cast<float>(20 + 10 * powerOfTwo(density - 1));
            h.spacingX = g.rotPlotExtentX / static_cast<float>(10 + 10 * powerOfTwo(density));
            h.gridX = static_cast<int>(std::max(1.0f, h.spacingX));
        } else {
            h.spacingY = g.lineFillSpacing;
        }
        h.gridY = static_cast<int>(std::max(1.0f, h.spacingY));
        h.alternate = !fill;
    }
    return h;
}

int GridStart(int v, int g) {
    if (g <= 0) return v;
    const int s = g * (v / g);
    return s > v ? s - g : s;
}

void HalftoneRequestCode(int solidCode, int& code) {
    const GraphicsState& g = graphicsState();
    if (g.fillStyle != 3) return;
    if (g.deviceColourCount > 2) {
        if (g.previousDeviceColour == g.deviceColour) code = solidCode;
        return;
    }
    const bool same =
        g.colourMode == 1 ? g.previousColourNumber == g.colourNumber : g.previousRgb == g.rgb;
    if (same) code = solidCode;
}

void SecondColourPass(int pass, int& step) {
    GraphicsState& g = graphicsState();
    if (g.fillStyle != 3 || lineFillWord(pass) != 2) return;
    const int side = pass == 1 ? 1 : 2;
    if (step == 1) {
        const int colours =
            pass == 1 ? g.deviceColourCount : hardcopyDeviceInfo().hardcopyColourCount;
        if (colours == 1) return;
        savedColours = {g.previousColourNumber, g.previousRgb, g.previousDeviceColour,
                        g.colourNumber,         g.rgb,         g.deviceColour};
        if (colours == 2 && g.colourNumber != 0)
            SetCurrentColour(0, 0, 0, side);
        else
            SetCurrentColour(savedColours.previousNumber, savedColours.previousRgb,
                             savedColours.previousDevice, side);
        step = 2;
    } else if (step == 2) {
        // With the saved previous colour current again, selecting the saved
        // current colour restores both exactly.
        g.colourNumber = savedColours.previousNumber;
        g.rgb = savedColours.previousRgb;
        g.deviceColour = savedColours.previousDevice;
        SetCurrentColour(savedColours.number, savedColours.rgb, savedColours.device, side);
        step = 3;
    }
}

void RectangleOutline(float x1, float y1, float x2, float y2) {
    GraphicsState& g = graphicsState();
    const int screen = g.screenOutput, hardcopy = g.hardcopyDriver;
    auto sides = [&](float dx, float dy) {
        DrawLineDevice(x1 + dx, y1, x2, y1);
        DrawLineDevice(x2, y1 + dy, x2, y2);
        DrawLineDevice(x2 - dx, y2, x1, y2);
        DrawLineDevice(x1, y2 - dy, x1, y1);
    };
    if (screen) {
        g.hardcopyDriver = 0;
        // Under a raster operation no corner pixel may be drawn twice.
        const bool mode = g.drawingMode != 0;
        sides(mode ? (x2 < x1 ? -1.0f : 1.0f) : 0.0f, mode ? (y2 < y1 ? -1.0f : 1.0f) : 0.0f);
        g.hardcopyDriver = hardcopy;
    }
    if (hardcopy > 0) {
        g.screenOutput = 0;
        sides(0.0f, 0.0f);
        g.screenOutput = screen;
    }
}

float EdgeXAtY(float xa, float ya, float xb, float yb, float y) {
    const float dy = yb - ya, dx = xb - xa;
    if (dy < 0) return limited(xb + (y - yb) * dx / dy);
    if (dy > 0) return limited(xa + (y - ya) * dx / dy);
    return kEdgeLimit;
}

float EdgeYAtX(float xa, float ya, float xb, float yb, float x) {
    return EdgeXAtY(ya, xa, yb, xb, x);
}

void SwapReals(float& a, float& b) {
    std::swap(a, b);
}

void RunShapeCourse(const ShapeCourse& course) {
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& block = deviceBlock();
    const int style = g.fillStyle;
    const bool filled = style == 3 || style == 4;
    if (filled) {
        int code = course.halftoneCode + (style == 4 ? 1 : 0);
        HalftoneRequestCode(course.solidCode, code);
        SendScreenRequest(code);
        if (g.lineFillScreen == 0 && g.hardcopyDriver <= 0) return;
    }
    if (g.hardcopyDriver > 0) {
        block.value = course.beginValue;
        SendHardcopyRequest(course.halftoneCode);
    }
    const int screen = g.screenOutput, hardcopy = g.hardcopyDriver;
    const bool outline = !filled && g.fillOutline != 0;
    const int passStyle = filled ? 1 : style;
    const int passAngle = filled ? 3 : g.fillAngle;
    for (int pass = 1; pass <= 2; ++pass) {
        const bool side = pass == 1 ? screen != 0 : hardcopy > 0;
        if (side && (!filled || lineFillWord(pass) != 0)) {
            g.hardcopyDriver = pass == 1 ? 0 : hardcopy;
            g.screenOutput = pass == 1 ? screen : 0;
            course.drawPass(pass, outline, passStyle, passAngle);
            g.hardcopyDriver = hardcopy;
            g.screenOutput = screen;
        }
        lineFillWord(pass) = 0;
    }
    block.value = -1;
    SendHardcopyRequest(course.halftoneCode);
}

}  // namespace tk
