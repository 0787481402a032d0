#include "toolkit/graphics/graphics_state.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/text_state.h"

namespace tk {

GraphicsState& graphicsState() {
    static GraphicsState state;
    return state;
}

namespace {

bool validStart(float v) {
    return v >= 0.0f && v < 1.0f;
}
bool validEnd(float v) {
    return v > 0.0f && v <= 1.0f;
}

// Stores a valid fraction pair or 0..1 with error 44.
void storeAreaPair(float lo, float hi, float& outLo, float& outHi) {
    if (validStart(lo) && validEnd(hi) && lo < hi) {
        outLo = lo;
        outHi = hi;
    } else {
        outLo = 0.0f;
        outHi = 1.0f;
        ReportLibraryError(44, "GrArea");
    }
}

void storeUnitsPair(float lo, float hi, float& outLo, float& outHi) {
    if (lo < hi) {
        outLo = lo;
        outHi = hi;
    } else {
        outLo = 0.0f;
        outHi = 1.0f;
        ReportLibraryError(16, "GrUnits");
    }
}

int pixelOf(float v) {
    return v >= 0.0f ? static_cast<int>(v) : static_cast<int>(v - 0.999f);
}

}  // namespace

void GrArea(float x1, float y1, float x2, float y2) {
    GraphicsState& g = graphicsState();
    storeAreaPair(x1, x2, g.areaX1, g.areaX2);
    storeAreaPair(y1, y2, g.areaY1, g.areaY2);
    const float w = static_cast<float>(g.targetWidth), h = static_cast<float>(g.targetHeight);
    ApplyGraphicsArea(w * g.areaX1, h * g.areaY1, w * g.areaX2, h * g.areaY2);
    if (!g.temporaryWindowSwitch) SendHardcopyRequest(24);
    if (!g.keepingUnits) {
        g.areaSpanX = g.areaX2 - g.areaX1;
        g.areaSpanY = g.areaY2 - g.areaY1;
        ApplyPageOrientation();
    }
}

void ApplyGraphicsArea(float x1, float y1, float x2, float y2) {
    GraphicsState& g = graphicsState();
    const float a = (x1 < 0.0f || std::isnan(x1)) ? 0.0f : x1;
    const float b = (y1 < 0.0f || std::isnan(y1)) ? 0.0f : y1;
    const float d = std::min(static_cast<float>(g.targetWidth) - 0.01f, x2);
    const float e = std::min(static_cast<float>(g.targetHeight) - 0.01f, y2);
    g.clipX1 = a - 0.001f;
    g.clipY1 = b - 0.001f;
    g.clipX2 = d + 0.001f;
    g.clipY2 = e + 0.001f;
    g.devIX1 = static_cast<int>(a);
    g.devIY1 = static_cast<int>(b);
    g.devIX2 = static_cast<int>(d);
    g.devIY2 = static_cast<int>(e);
    g.devIWidth = g.devIX2 - g.devIX1 + 1;
    g.devIHeight = g.devIY2 - g.devIY1 + 1;
    g.devX1 = a;
    g.devX2 = d;
    g.devSpanX = d - a;
    g.devY1 = b;
    g.devY2 = e;
    g.devSpanY = e - b;
    SendScreenRequest(24);
}

void GrUnits(float x1, float y1, float x2, float y2) {
    GraphicsState& g = graphicsState();
    storeUnitsPair(x1, x2, g.unitsX1, g.unitsX2);
    storeUnitsPair(y1, y2, g.unitsY1, g.unitsY2);
    g.unitsSpanX = g.unitsX2 - g.unitsX1;
    g.unitsSpanY = g.unitsY2 - g.unitsY1;
    if (!g.keepingUnits) {
        g.appUnitsSpanX = g.unitsSpanX;
        g.appUnitsSpanY = g.unitsSpanY;
    }
}

void WorldToDevice(float x, float y, float& dx, float& dy) {
    WorldToDevice(graphicsState(), x, y, dx, dy);
}

void DeviceToWorld(float dx, float dy, float& x, float& y) {
    const GraphicsState& g = graphicsState();
    const float sx = g.devSpanX, sy = g.devSpanY, ux = g.unitsSpanX, uy = g.unitsSpanY;
    switch (g.pageRotation) {
        case 0:
            x = g.unitsX1 + (dx - g.devX1) * ux / sx;
            y = g.unitsY1 + (dy - g.devY1) * uy / sy;
            break;
        case 90:
            x = g.unitsX1 + (dy - g.devY1) * ux / sy;
            y = g.unitsY2 - (dx - g.devX1) * uy / sx;
            break;
        case 180:
            x = g.unitsX2 - (dx - g.devX1) * ux / sx;
            y = g.unitsY2 - (dy - g.devY1) * uy / sy;
            break;
        case 270:
            x = g.unitsX2 - (dy - g.devY1) * ux / sy;
            y = g.unitsY1 + (dx - g.devX1) * uy / sx;
            break;
        default:
            break;
    }
}

void WorldToPixels(float x, float y, int& px, int& py) {
    float dx = 0, dy = 0;
    WorldToDevice(x, y, dx, dy);
    px = pixelOf(dx);
    py = pixelOf(dy);
}

void PixelsToWorld(int px, int py, float& x, float& y) {
    DeviceToWorld(static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f, x, y);
}

void WindowPixelsToWorld(float px, float py, float& x, float& y, int window) {
    const GraphicsState& g = graphicsState();
    auto& info = graphicsServices().bitmapViewerInfo;
    if (!info) return;
    const float w = static_cast<float>(info(101, window));
    const float h = static_cast<float>(info(102, window));
    const float offX = static_cast<float>(info(4, window));
    const float offY = static_cast<float>(info(103, window));
    x = g.unitsX1 + (offX + px - w * g.areaX1) / (w * g.areaSpanX / (g.unitsX2 - g.unitsX1));
    y = g.unitsY1 + ((h - offY) + py - h * g.areaY1) / (h * g.areaSpanY / (g.unitsY2 - g.unitsY1));
}

void SetAreaKeepingUnits(float x1, float y1, float x2, float y2) {
    GraphicsState& g = graphicsState();
    const float fx1 = g.areaX1, fx2 = g.areaX2, fy1 = g.areaY1, fy2 = g.areaY2;
    const float ux1 = g.unitsX1, ux2 = g.unitsX2, uy1 = g.unitsY1, uy2 = g.unitsY2;
    const float ux = g.unitsSpanX, uy = g.unitsSpanY;
    float kx = 0, ky = 0;
    switch (g.pageRotation) {
        case 0:
            kx = ux1 * fx2 - ux2 * fx1;
            ky = uy1 * fy2 - uy2 * fy1;
            break;
        case 90:
            kx = fx2 * uy2 - uy1 * fx1;
            ky = ux1 * fy2 - ux2 * fy1;
            break;
        case 180:
            kx = ux2 * fx2 - ux1 * fx1;
            ky = uy2 * fy2 - fy1 * uy1;
            break;
        case 270:
            kx = fx2 * uy1 - fx1 * uy2;
            ky = ux2 * fy2 - fy1 * ux1;
            break;
        default:
            break;
    }
    const float dx = fx2 - fx1, dy = fy2 - fy1;
    g.keepingUnits = 1;
    GrArea(x1, y1, x2, y2);
    const float nx1 = g.areaX1, nx2 = g.areaX2, ny1 = g.areaY1, ny2 = g.areaY2;
    float a = 0, b = 0, c = 0, d = 0;  // new units x1, y1, x2, y2
    switch (g.pageRotation) {
        case 0:
            a = (kx + nx1 * ux) / dx, c = (kx + nx2 * ux) / dx;
            b = (ky + ny1 * uy) / dy, d = (ky + ny2 * uy) / dy;
            break;
        case 90:
            a = (ky + ux * ny1) / dy, b = (kx - uy * nx2) / dx;
            c = (ky + ux * ny2) / dy, d = (kx - nx1 * uy) / dx;
            break;
        case 180:
            a = (kx - ux * nx2) / dx, b = (ky - uy * ny2) / dy;
            c = (kx - nx1 * ux) / dx, d = (ky - ny1 * uy) / dy;
            break;
        case 270:
            a = (ky - ux * ny2) / dy, b = (kx + nx1 * uy) / dx;
            c = (ky - ux * ny1) / dy, d = (kx + uy * nx2) / dx;
            break;
        default:
            g.keepingUnits = 0;
            return;
    }
    GrUnits(a, b, c, d);
    g.keepingUnits = 0;
}

void SetPlotFrameFractions(float xStart, float yStart, float xEnd, float yEnd) {
    GraphicsState& g = graphicsState();
    if (validStart(xStart)) g.frameXStart = xStart;
    if (validStart(yStart)) g.frameYStart = yStart;
    if (validEnd(xEnd)) g.frameXEnd = xEnd;
    if (validEnd(yEnd)) g.frameYEnd = yEnd;
}

void MoveToUnits(float x, float y) {
    graphicsState().currentX = x;
    graphicsState().currentY = y;
}

void MoveByUnits(float dx, float dy) {
    graphicsState().currentX += dx;
    graphicsState().currentY += dy;
}

void LineBetweenUnits(float x1, float y1, float x2, float y2) {
    DrawLineUnits(x1, y1, x2, y2);
    MoveToUnits(x2, y2);
}

void LineToUnits(float x, float y) {
    LineBetweenUnits(graphicsState().currentX, graphicsState().currentY, x, y);
}

void LineByUnits(float dx, float dy) {
    const float x = graphicsState().currentX, y = graphicsState().currentY;
    LineBetweenUnits(x, y, x + dx, y + dy);
}

void LineFromByUnits(float x, float y, float dx, float dy) {
    LineBetweenUnits(x, y, x + dx, y + dy);
}

void GraphicsTargetResized(int targetType, int targetId, int width, int height) {
    GraphicsState& g = graphicsState();
    if (targetType != g.targetType || targetId != g.targetId) return;
    g.targetWidth = width;
    g.targetHeight = height;
    g.plotExtentX = static_cast<float>(width) - 0.01f;
    g.plotExtentY = static_cast<float>(height) - 0.01f;
    deviceBlock().value = -1;
    SendHardcopyRequest(18);
    g.keepingUnits = 0;
    GrArea(g.areaX1, g.areaY1, g.areaX2, g.areaY2);
}

void ApplyPageOrientation() {
    GraphicsState& g = graphicsState();
    const float w = static_cast<float>(g.targetWidth), h = static_cast<float>(g.targetHeight);
    if (g.pageRotation % 180 == 0) {
        g.rotPlotExtentX = g.plotExtentX, g.rotPlotExtentY = g.plotExtentY;
        g.rotHardcopyScaleX = g.hardcopyScaleX, g.rotHardcopyScaleY = g.hardcopyScaleY;
        g.rotDevSpanX = g.devSpanX, g.rotDevSpanY = g.devSpanY;
        if (h != 0.0f) g.aspectRatio = w / h;
    } else {
        g.rotPlotExtentX = g.plotExtentY, g.rotPlotExtentY = g.plotExtentX;
        g.rotHardcopyScaleX = g.hardcopyScaleY, g.rotHardcopyScaleY = g.hardcopyScaleX;
        g.rotDevSpanX = g.devSpanY, g.rotDevSpanY = g.devSpanX;
        if (w != 0.0f) g.aspectRatio = h / w;
    }
    if (g.screenOutput == 0) g.aspectRatio = g.pageAspect;
    RefreshCharacterState();
}

void PageAspectRatio() {
    GraphicsState& g = graphicsState();
    float width = 0, height = 0;
    if (auto& size = graphicsServices().hardcopyPageSize) size(width, height);
    if (width <= 0.0f || height <= 0.0f) return;
    g.pageAspect = g.pageRotation % 180 == 0 ? width / height : height / width;
}

float GraphicsInfoReal(int code) {
    const GraphicsState& g = graphicsState();
    switch (code) {
        case 1:
            return g.currentX;
        case 2:
            return g.currentY;
        case 3:
            return g.appUnitsSpanX * g.charWidthFraction;
        case 4:
            return g.appUnitsSpanY * g.charHeightFraction;
        case 7:
            return g.areaX1;
        case 8:
            return g.areaY1;
        case 9:
            return g.areaX2;
        case 10:
            return g.areaY2;
        case 11:
            return g.unitsX1;
        case 12:
            return g.unitsY1;
        case 13:
            return g.unitsX2;
        case 14:
            return g.unitsY2;
        case 15:
            return g.textAngle;
        default:
            return 0.0f;  // no value is defined for other codes
    }
}

int GraphicsInfoValue(int code) {
    const GraphicsState& g = graphicsState();
    const DeviceInfo& screen = screenDeviceInfo();
    const bool palette = g.colourMode == 1;
    const GraphicsServices& s = graphicsServices();
    if (code >= 1 && code <= 29) return screen.capability(code);
    switch (code) {
        case 30:
            return g.deviceColourCount;
        case 31:
            return g.screenColourCount;
        case 32:
            return static_cast<int>(100.0f * g.aspectRatio);
        case 33:
            return 5;
        case 34:
            return palette ? g.previousColourNumber : g.previousRgb;
        case 35:
            return palette ? g.colourNumber : g.rgb;
        case 36:
            return g.lineStyle;
        case 37:
            return g.drawingMode;
        case 38:
            return screen.lineStyleCount;
        case 39:
            return installedStrokeFont().charsetCode;
        case 40:
            return screen.textAngleCapability;
        case 41:
            return screen.styledVadiLines;
        case 42:
            return screen.trueColour;
        case 43:
            return g.targetType;
        case 44:
            return g.targetId;
        case 45:
        case 46:
            return s.systemWindowColour ? s.systemWindowColour(code) : 0;
        case 49:
            return screen.gradientFillAvailable;
        default:
            return 0;
    }
}

bool OptionLetterPresent(std::string_view options, char letter) {
    if (options.find(letter) != std::string_view::npos) return true;
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    return options.find(lower) != std::string_view::npos;
}

int CharacterCode(std::string_view text) {
    return text.empty() ? 32 : static_cast<unsigned char>(text.front());
}

}  // namespace tk
