// The rectangle: filled by the devices, or outlined and hatched by the
// toolkit with line families anchored on a global grid so that the hatching
// of neighbouring rectangles lines up.

#include <algorithm>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"

namespace tk {

namespace {

struct DeviceRect {
    float minX, minY, maxX, maxY;
    int minXi, minYi, maxXi, maxYi;
};

void risingFamily(const DeviceRect& r, const HatchLayout& h) {
    const int w = r.maxXi - r.minXi;
    for (float y = static_cast<float>(GridStart(r.minYi - w, h.gridY)) + h.spacingY; y <= r.maxY;
         y += h.spacingY)
        DrawLineDevice(r.minX, y, r.maxX, y + static_cast<float>(w));
}

void fallingFamily(const DeviceRect& r, const HatchLayout& h) {
    const int w = r.maxXi - r.minXi;
    const float end = r.maxY + static_cast<float>(w);
    for (float y = static_cast<float>(GridStart(r.minYi, h.gridY)) + h.spacingY; y <= end;
         y += h.spacingY)
        DrawLineDevice(r.minX, y, r.maxX, y - static_cast<float>(w));
}

// Diagonal families are clipped by an area shrunk to the rectangle.
void diagonalFamily(const DeviceRect& r, const HatchLayout& h, int family) {
    const GraphicsState& g = graphicsState();
    SaveRestoreGraphicsState(2);
    ApplyGraphicsArea(std::max(r.minX, g.devX1) + h.inset, std::max(r.minY, g.devY1) + h.inset,
                      std::min(r.maxX, g.devX2) - h.inset, std::min(r.maxY, g.devY2) - h.inset);
    if (family == 1)
        risingFamily(r, h);
    else
        fallingFamily(r, h);
    SaveRestoreGraphicsState(3);
}

void horizontalRun(const DeviceRect& r, const HatchLayout& h, float y) {
    HatchLineRun line{h.alternate};
    const float left = r.minX + h.inset, right = r.maxX - h.inset;
    for (y = std::max(y, r.minY); y < r.maxY; y += h.spacingY)
        line(right, y, left, y);
}

void horizontalFamily(const DeviceRect& r, const HatchLayout& h, int pass) {
    const float start = static_cast<float>(GridStart(r.minYi, h.gridY));
    horizontalRun(r, h, start + h.spacingY);
    int step = 1;
    SecondColourPass(pass, step);
    if (step != 2) return;
    horizontalRun(r, h, start + 1.5f * h.spacingY);
    SecondColourPass(pass, step);
}

void verticalFamily(const DeviceRect& r, const HatchLayout& h) {
    HatchLineRun line{h.alternate};
    const float low = r.minY + h.inset, high = r.maxY - h.inset;
    float x = std::max(static_cast<float>(GridStart(r.minXi, h.gridX)) + h.spacingX, r.minX);
    for (; x < r.maxX; x += h.spacingX)
        line(x, high, x, low);
}

void drawPass(const DeviceRect& r, int pass, bool outline, int style, int angle) {
    if (outline) RectangleOutline(r.minX, r.minY, r.maxX, r.maxY);
    if (style != 1 && style != 2) return;
    const HatchLayout h = HatchSpacing(pass, graphicsState().fillDensity);
    if (h.spacingX < 0 || h.spacingY <= 0) return;  // a target without size has no hatch
    std::vector<int> families;
    if (style == 1)
        families = {angle};
    else
        families = angle <= 2 ? std::vector<int>{1, 2} : std::vector<int>{3, 4};
    for (int family : families) {
        if (family == 1 || family == 2)
            diagonalFamily(r, h, family);
        else if (family == 3)
            horizontalFamily(r, h, pass);
        else if (family == 4 && h.spacingX > 0)
            verticalFamily(r, h);
    }
}

void rectangleDevice(float x1, float y1, float x2, float y2) {
    const GraphicsState& g = graphicsState();
    DeviceRect r{
        std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), 0, 0, 0, 0};
    r.minXi = static_cast<int>(r.minX), r.minYi = static_cast<int>(r.minY);
    r.maxXi = static_cast<int>(r.maxX), r.maxYi = static_cast<int>(r.maxY);
    if (r.maxYi < g.devIY1 || r.minYi > g.devIY2 || r.minXi > g.devIX2 || r.maxXi < g.devIX1)
        return;
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = r.minX, b.fy[1] = r.minY, b.fx[2] = r.maxX, b.fy[2] = r.maxY;
    b.pixX[1] = std::clamp(r.minXi, g.devIX1, g.devIX2);
    b.pixY[1] = std::clamp(r.minYi, g.devIY1, g.devIY2);
    b.pixX[2] = std::clamp(r.maxXi, g.devIX1, g.devIX2);
    b.pixY[2] = std::clamp(r.maxYi, g.devIY1, g.devIY2);
    ShapeCourse course;
    course.halftoneCode = 9;
    course.solidCode = 10;
    course.drawPass = [&r](int pass, bool outline, int style, int angle) {
        drawPass(r, pass, outline, style, angle);
    };
    RunShapeCourse(course);
}

void rectangleUnits(float x1, float y1, float x2, float y2) {
    if (x1 == x2 || y1 == y2) {
        ReportLibraryError(22, "GrRectangle");
        return;
    }
    float dx1 = 0, dy1 = 0, dx2 = 0, dy2 = 0;
    WorldToDevice(x1, y1, dx1, dy1);
    WorldToDevice(x2, y2, dx2, dy2);
    rectangleDevice(dx1, dy1, dx2, dy2);
    MoveToUnits(x1, y1);
}

}  // namespace

void GrRectangle(float x1, float y1, float x2, float y2) {
    rectangleUnits(x1, y1, x2, y2);
}

void RectangleRelative(float width, float height) {
    const float x = graphicsState().currentX, y = graphicsState().currentY;
    rectangleUnits(x, y, x + width, y + height);
}

void RectangleInDeviceUnits(float x1, float y1, float x2, float y2) {
    rectangleDevice(x1, y1, x2, y2);
}

}  // namespace tk
