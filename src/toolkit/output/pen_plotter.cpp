#include "toolkit/output/pen_plotter.h"

#include <cmath>

#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hpgl_commands.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {

std::string frameFields(int a, int b, int c, int d) {
    return " " + IntegerField(a, 7) + " " + IntegerField(b, 7) + " " + IntegerField(c, 7) + " " +
           IntegerField(d, 7);
}

}  // namespace

DeviceInfo PenPlotterDriver::plotterDevice(const char* capabilities, int colours,
                                           int lineStyles, int textBox) {
    return DeviceInfo{.capabilities = capabilities,
                      .gradientFillAvailable = 0,
                      .trueColour = 0,
                      .styledVadiLines = 2,
                      .textAngleCapability = 360,
                      .lineStyleCount = lineStyles,
                      .deviceTextThreshold = 1.7e38f,
                      .hardcopyColourCount = colours,
                      .hardcopyTextLayout = 0,
                      .hardcopyTextBox = textBox};
}

bool PenPlotterDriver::openPlotter(const DeviceParameterBlock& b) {
    GraphicsState& g = graphicsState();
    g.hardcopyScaleX = PageScale(32760.0f, g.plotExtentX);
    g.hardcopyScaleY = PageScale(32760.0f, g.plotExtentY);
    if (b.value <= 0) {
        HpglWriteCommand(kPlotterScale);
        return false;
    }
    if (!OpenPlotFileOrStop()) return false;
    const HardcopyOptions& o = hardcopyOptions();
    hardcopyDeviceState().hpglLinePrefix = o[hc::HpglBlankPrefix] != 0 ? 1 : 2;
    terminator = static_cast<char>(o[hc::LabelTerminator]);
    const float u = unitsPerPoint;
    p1x = TruncatedInt(o[hc::PageOffsetX] * u);
    p1y = TruncatedInt(o[hc::PageOffsetY] * u);
    p2x = TruncatedInt((o[hc::PageOffsetX] + o[hc::PageWidth]) * u);
    p2y = TruncatedInt((o[hc::PageOffsetY] + o[hc::PageHeight]) * u);
    return true;
}

void PenPlotterDriver::writeFrame(bool turned) {
    const std::string frame = frameFields(p1x, p1y, p2x, p2y);
    HpglWriteCommand("IN; IP" + frame);
    HpglWriteCommand((turned ? "RO 90; IP" : "RO  0; IP") + frame);
    HpglWriteCommand(std::string("DT") + terminator);
    HpglWriteCommand("DI1. 0.");
}

int PenPlotterDriver::shapeKind(DeviceRequest request) {
    switch (request) {
        case 5:
            return 5;
        case 7:
            return 8;
        case 9:
            return 6;
        case 11:
            return 7;
        case 13:
            return 4;
        default:
            return 11;
    }
}

void PenPlotterDriver::plotEllipse(const DeviceParameterBlock& b, bool solid,
                                   std::string_view record) {
    if (!ellipseCrossesArea(b)) return;
    HpglWriteCommandXY("PU", b.fx[1], b.fy[1]);
    if (!solid && !record.empty()) WritePlotLine(record);
    const IsotropicScale scale = HpglIsotropicScale(HpglAxisRatio(b.fx[3]));
    HpglWriteCommand(scale.command);
    if (solid) HpglWriteCommand("PM0");
    HpglWriteCommandXY("CI", b.fx[2] * scale.radius, 0.0f);
    if (solid) HpglWriteCommand("PM2;FP");
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = b.fx[1];
    d.lastPenY = b.fy[1];
    HpglWriteCommand(kPlotterScale);
}

void PenPlotterDriver::fillPolygon(float x, float y, const std::function<void()>& body) {
    HpglWriteCommandXY("PU", x, y);
    HpglWriteCommand("PM0");
    body();
    HpglWriteCommand("PM2;FP");
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = x;
    d.lastPenY = y;
}

void PenPlotterDriver::fillCorners(const DeviceParameterBlock& b, int n) {
    fillPolygon(b.fx[1], b.fy[1], [&] {
        for (int k = 2; k <= n; ++k)
            HpglWriteCommandXY("PD", b.fx[k], b.fy[k]);
    });
}

void PenPlotterDriver::plotShape(DeviceRequest request, const DeviceParameterBlock& b) {
    switch (request) {
        case 5:
            return ellipse(b);
        case 7:
            return fillCorners(b, 4);
        case 9:
            return fillRectangle(b);
        case 11:
            return fillCorners(b, 3);
        case 13:
            return shapeArc();
        default: {
            const DevicePointArrays& p = devicePointArrays();
            const int n = BufferPointCount(b.count);
            if (n > 0) fillPolygon(p.x[0], p.y[0], [this, n] { polygonMoves(n); });
        }
    }
}

void PenPlotterDriver::fillRectangle(const DeviceParameterBlock& b) {
    HpglWriteCommandXY("PU", b.fx[1], b.fy[1]);
    HpglWriteCommandXY("RA", b.fx[2], b.fy[2]);
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = b.fx[1];
    d.lastPenY = b.fy[1];
}

void PenPlotterDriver::penUpTo(float x, float y) {
    const HardcopyDeviceState& d = hardcopyDeviceState();
    if (x != d.lastPenX || y != d.lastPenY) HpglWriteCommandXY("PU", x, y);
}

void PenPlotterDriver::penDownTo(float x, float y) {
    HpglWriteCommandXY("PD", x, y);
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = x;
    d.lastPenY = y;
}

void PenPlotterDriver::inputWindow() {
    const GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    HpglWriteCommand("SC");
    const float fx = PageScale(o[hc::PageWidth] * unitsPerPoint, g.plotExtentX);
    const float fy = PageScale(o[hc::PageHeight] * unitsPerPoint, g.plotExtentY);
    HpglWriteCommand(
        "IW" + frameFields(TruncatedInt(fx * g.devX1) + p1x, TruncatedInt(fy * g.devY1) + p1y,
                           std::min(TruncatedInt(fx * g.devX2 + 0.99f) + p1x, p2x),
                           std::min(TruncatedInt(fy * g.devY2 + 0.99f) + p1y, p2y)));
    HpglWriteCommand(kPlotterScale);
}

void PenPlotterDriver::lineType(const std::array<const char*, 8>& styles) {
    const int style = std::clamp(graphicsState().lineStyle, 0, 7);
    HpglWriteCommand(std::string("LT") + styles[static_cast<std::size_t>(style)]);
}

void PenPlotterDriver::labelDirection() {
    const GraphicsState& g = graphicsState();
    HpglWriteCommand("DI" + FixedField(g.dirCos, 6, 3) + " " + FixedField(g.dirSinA, 6, 3));
}

void PenPlotterDriver::characterSize(const std::array<float, 3>& widthFactors,
                                     const std::array<float, 3>& heightFactors,
                                     float widthDivisor) {
    const GraphicsState& g = graphicsState();
    const std::size_t k = static_cast<std::size_t>(std::clamp(g.textMode, 0, 2));
    const float extentX = g.plotExtentX, extentY = g.plotExtentY;
    float width = extentX > 0 ? g.charWidthFraction * widthFactors[k] * g.rotDevSpanX * 100.0f /
                                    (extentX * widthDivisor)
                              : 0.0f;
    float height = extentY > 0 ? g.charHeightFraction * heightFactors[k] * g.rotDevSpanY *
                                     100.0f / (extentY * 2.0f)
                               : 0.0f;
    if (g.pageRotation % 180 != 0 && g.pageAspect > 0) {
        width *= g.pageAspect;
        height /= g.pageAspect;
    }
    HpglWriteCommand("SR" + FixedField(width, 8, 2) + " " + FixedField(height, 8, 2));
    sizePending = false;
}

void PenPlotterDriver::labelStart(float x, float y, float& sx, float& sy) const {
    const GraphicsState& g = graphicsState();
    const float a = g.textMode == 0 ? 0.22f : 0.0f, b = g.textMode == 0 ? 0.22f : 0.3f;
    sx = x + a * g.advanceX + b * g.heightX;
    sy = y + a * g.advanceY - b * g.heightY;
}

bool PenPlotterDriver::ellipseCrossesArea(const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const double cx = b.fx[1], cy = b.fy[1], rx = std::fabs(b.fx[2]), ry = std::fabs(b.fy[2]);
    if (!(rx > 0) || !(ry > 0) || !std::isfinite(rx) || !std::isfinite(ry)) return false;
    if (cx + rx < g.devX1 || cx - rx > g.devX2 || cy + ry < g.devY1 || cy - ry > g.devY2)
        return false;
    for (float x : {g.devX1, g.devX2})
        for (float y : {g.devY1, g.devY2}) {
            const double u = (x - cx) / rx, v = (y - cy) / ry;
            if (u * u + v * v > 1.0) return true;
        }
    return false;
}

void PenPlotterDriver::writeLabel(std::string_view text) {
    std::string label;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32) label += c;
    HpglWriteLine(label + terminator);
}

}  // namespace tk
