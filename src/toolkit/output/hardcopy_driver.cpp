#include "toolkit/output/hardcopy_driver.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {

namespace {

constexpr int kProbe = -999;

bool filledShape(DeviceRequest code) {
    return code >= 5 && code <= 15 && code % 2 == 1;
}

}  // namespace

void HardcopyDriver::request(DeviceRequest code) {
    DeviceParameterBlock& b = deviceBlock();
    if (code < 1 || code > 40) return;
    if (code == 1) {
        if (b.count == kProbe)
            b.count = number_;
        else
            initialise(b);
        return;
    }
    if (code == 18) return begin(b);
    if (!documentOpen()) return;
    switch (code) {
        case 2:
        case 22:
        case 26:
        case 32:
        case 34:
        case 40:
            hardcopyDeviceState().pageDirty = true;
            return drawingRequest(code, b);
        case 38:
            return image(b);
        case 19:
            return end();
        case 20:
            hardcopyDeviceState().pageDirty = false;
            return endPage(b);
        default:
            break;
    }
    if (!filledShape(code)) return attributeRequest(code, b);
    if (b.value == -1) return fillEnd(code, b);
    hardcopyDeviceState().pageDirty = true;
    fill(code, b);
}

void HardcopyDriver::drawingRequest(DeviceRequest code, DeviceParameterBlock& b) {
    switch (code) {
        case 2:
            return line(b);
        case 22:
            return text(b);
        case 26:
            return point(b);
        case 32:
            return polyline(b);
        case 34:
            return arc(b);
        default:
            return gradient();
    }
}

void HardcopyDriver::attributeRequest(DeviceRequest code, DeviceParameterBlock& b) {
    switch (code) {
        case 3:
            return colour();
        case 35:
            return palette();
        case 21:
            return font();
        case 33:
            return direction();
        case 24:
            return clip();
        case 25:
            return textExtent(b);
        case 28:
            return paletteColour(b);
        case 29:
            return lineStyle();
        case 30:
            return lineWidth();
        case 36:
            return lineJoin();
        case 37:
            return lineCap();
        default:
            return;
    }
}

void HardcopyDriver::image(DeviceParameterBlock& b) {
    AnswerImageNotAvailable(b);
}

void AnswerImageNotAvailable(DeviceParameterBlock& b) {
    b.value = kImageNotAvailable;
    b.count = 0;
}

bool OpenPlotFileOrStop() {
    ToolkitState& t = toolkitState();
    const int kept = t.LastErrorNumber;
    t.LastErrorNumber = 0;
    PlotFileOpen(kPlotUnit);
    if (t.LastErrorNumber != 0) {
        graphicsState().hardcopyDriver = 0;
        return false;
    }
    t.LastErrorNumber = kept;
    return true;
}

void CurrentColourComponents(int& red, int& green, int& blue) {
    const GraphicsState& g = graphicsState();
    ColourNumberComponents(g.colourMode == 1 ? g.colourNumber : g.rgb, red, green, blue);
}

void PreviousColourComponents(int& red, int& green, int& blue) {
    const GraphicsState& g = graphicsState();
    ColourNumberComponents(g.colourMode == 1 ? g.previousColourNumber : g.previousRgb, red, green,
                           blue);
}

void FillColourComponents(int& red, int& green, int& blue) {
    CurrentColourComponents(red, green, blue);
    if (graphicsState().fillStyle != 3) return;
    int r = 0, g = 0, b = 0;
    PreviousColourComponents(r, g, b);
    red = (red + r) / 2, green = (green + g) / 2, blue = (blue + b) / 2;
}

void ApplyColourHandling(int handling, int& red, int& green, int& blue) {
    const bool nearBlack = red < 10 && green < 10 && blue < 10;
    const bool nearWhite = red > 245 && green > 245 && blue > 245;
    if (handling == 1 || (handling == 2 && (nearBlack || nearWhite))) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
}

bool OpaqueRequestText() {
    const GraphicsState& g = graphicsState();
    return (g.fontStyle & 8) != 0 && g.textStacking == 0 && g.textMode != 1;
}

std::string_view RequestText(int count) {
    const base::FixedString<260>& text = deviceTextBuffer();
    const int n = std::clamp(count, 0, static_cast<int>(text.size()));
    return std::string_view(text.data(), static_cast<std::size_t>(n));
}

int BufferPointCount(int count) {
    return std::clamp(count, 0, static_cast<int>(devicePointArrays().x.size()));
}

int PageUnitsX(float x) {
    return static_cast<int>(graphicsState().hardcopyScaleX * x);
}

int PageUnitsDownY(float y) {
    const GraphicsState& g = graphicsState();
    return static_cast<int>((g.plotExtentY - y) * g.hardcopyScaleY);
}

win::POINT PageUnitsDown(float x, float y) {
    return win::POINT{PageUnitsX(x), PageUnitsDownY(y)};
}

std::vector<win::POINT> BufferPointsDown(int count) {
    const DevicePointArrays& p = devicePointArrays();
    std::vector<win::POINT> points(static_cast<std::size_t>(BufferPointCount(count)));
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = PageUnitsDown(p.x[i], p.y[i]);
    return points;
}

void SectorEndsDown(const DeviceParameterBlock& b, win::POINT& start, win::POINT& end) {
    const float cx = b.fx[1], cy = b.fy[1], rx = b.fx[2], ry = b.fy[2];
    start = PageUnitsDown(cx + rx * std::cos(b.fx[3]), cy + ry * std::sin(b.fx[3]));
    end = PageUnitsDown(cx + rx * std::cos(b.fy[3]), cy + ry * std::sin(b.fy[3]));
    if (start.x != end.x || start.y != end.y || std::fabs(b.fy[4]) > 10.0f) return;
    float a = std::fmod(b.fx[4], 360.0f);
    if (a < 0) a += 360.0f;
    if (a < 90)
        end.x -= 1, end.y -= 1;
    else if (a < 180)
        end.x -= 1, end.y += 1;
    else if (a < 270)
        end.x += 1, end.y += 1;
    else
        end.x += 1, end.y -= 1;
}

void SetRotatedHardcopyScales() {
    GraphicsState& g = graphicsState();
    const bool quarter = g.pageRotation == 90 || g.pageRotation == 270;
    g.rotHardcopyScaleX = quarter ? g.hardcopyScaleY : g.hardcopyScaleX;
    g.rotHardcopyScaleY = quarter ? g.hardcopyScaleX : g.hardcopyScaleY;
}

float PageScale(float pageSize, float plotExtent) {
    const float scale = plotExtent > 0 ? pageSize / plotExtent : 0.0f;
    return std::isfinite(scale) ? scale : 0.0f;
}

void PrepareGradientPolygon(int mode, const std::function<win::POINT(float x, float y)>& convert,
                            int clipX1, int clipY1, int clipX2, int clipY2,
                            const GradientPixelOperation& pixel,
                            const GradientTriangleOperation& triangles) {
    const DevicePointArrays& a = devicePointArrays();
    GradientPolygon& polygon = gradientPolygon();
    const int n =
        std::min({polygon.vertexCount, static_cast<int>(a.x.size()), kMaxGradientVertices});
    polygon.vertexCount = std::max(n, 0);
    for (std::size_t k = 0; k < static_cast<std::size_t>(polygon.vertexCount); ++k) {
        const win::POINT p = convert(a.x[k], a.y[k]);
        polygon.x[k] = p.x;
        polygon.y[k] = p.y;
    }
    GradientPolygonPrepare(mode, clipX1, clipY1, clipX2, clipY2, pixel, triangles);
}

}  // namespace tk
