#include "toolkit/output/hpgl_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/device_model_names.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hpgl_commands.h"
#include "toolkit/output/pen_plotter.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {

struct PlotterModel {
    std::string_view name;
    char family;
    int unitsPerInch, leftMargin, limitX, limitY, pens;
};

constexpr std::array<PlotterModel, 10> kModels = {{
    {"Generic HP-GL 4-pen plotter", 'U', 1016, 400, 10870, 7480, 4},
    {"HP 7475A A4 paper (6 pens) ", 'H', 1021, 400, 11040, 7721, 6},
    {"HP 7475A A3 paper (6 pens) ", 'H', 1021, 400, 16158, 11040, 6},
    {"Epson HI80/HP ROM (4 pens) ", 'E', 1016, 400, 10900, 7650, 4},
    {"Facit 4550 A4     (6 pens) ", 'F', 1016, 400, 10880, 7640, 6},
    {"HP 7440A A4 paper (8 pens) ", 'H', 1016, 0, 10880, 7640, 8},
    {"HP 7550A A4 paper (8 pens) ", 'H', 1016, 0, 10869, 7600, 8},
    {"HP 7550A A3 paper (8 pens) ", 'H', 1016, 0, 15970, 10870, 8},
    {"Facit 4551 A4     (6 pens) ", 'F', 1016, 400, 10960, 7480, 6},
    {"Facit 4551 A3     (6 pens) ", 'F', 1016, 400, 15880, 10960, 6},
}};

struct PlotterFamily {
    const char* capabilities;
    int nativeFillMask;
    const char* lineStyle1;
};

// By the position of the family letter in "UEFH".
constexpr std::array<PlotterFamily, 4> kFamilies = {{
    {"00000100000000000010000000010", 0, "1 .3"},
    {"00000100000000000010000000000", 0, "1 .3"},
    {"00000100000010000010000000010", 40, "1 1 "},
    {"00000100000011100010001001010", 126, "1 .3"},
}};

constexpr std::array<int, 8> kPenOrder = {0, 2, 4, 1, 5, 3, 6, 7};
constexpr std::array<float, 3> kWidthFactors = {1.0f, 1.007f, 1.007f};
constexpr std::array<float, 3> kHeightFactors = {1.0f, 1.211f, 1.211f};
// The polygon buffer of the plotters that fill holds 127 points.
constexpr int kNativePolygonPoints = 127;

int modelNumber() {
    return selectedDeviceModel(PenPlotterKind);
}

const PlotterModel& model() {
    return kModels[static_cast<std::size_t>(modelNumber() - 1)];
}

class HpglFileDriver final : public PenPlotterDriver {
  public:
    HpglFileDriver() : PenPlotterDriver(hc::HpglDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override {
        if (hardcopyOptions()[hc::HpglPlotterControl] != 0) HpglWriteCommand("\x1b.Z");
        PlotFileClose(kPlotUnit);
    }

    void line(const DeviceParameterBlock& b) override {
        selectPen();
        penUpTo(b.fx[1], b.fy[1]);
        penDownTo(b.fx[2], b.fy[2]);
    }
    void point(const DeviceParameterBlock& b) override {
        selectPen();
        penUpTo(b.fx[1], b.fy[1]);
        penDownTo(b.fx[1], b.fy[1]);
    }
    void polyline(const DeviceParameterBlock& b) override;
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock&) override { HpglArc(34, kPlotterScale); }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest request, DeviceParameterBlock&) override {
        if (!native_) HpglWriteShapeRecord(shapeKind(request), true, -1, 0, 0);
    }

    void endPage(const DeviceParameterBlock& b) override {
        HpglWriteShapeRecord(3, true, b.value, 0, 0);
        const int m = modelNumber();
        HpglWriteCommand(m == 7 || m == 8 ? "PU;SP0 ;PG;" : "PU;SP0 ;");
        penAway_ = true;
    }
    void colour() override;
    void palette() override {}
    void font() override {
        const GraphicsState& g = graphicsState();
        HpglWriteShapeRecord(10, true, g.effectiveFontKind, g.fontStyle, g.textMode);
        sizePending = true;
    }
    void direction() override { labelDirection(); }
    void clip() override { inputWindow(); }
    void lineStyle() override {
        lineType({"    ", family().lineStyle1, "2 2 ", "4 3 ", "6 2 ", "5 3 ", "3 1 ", "6 4 "});
    }
    void lineWidth() override {
        if (hardcopyOptions()[hc::HpglShapeRecords] == 0) return;
        const float w = std::clamp(
            static_cast<float>(hardcopyOptions()[hc::LineWidthOption]) * 0.4f / unitsPerPoint,
            0.1f, 5.0f);
        HpglWriteCommand("PW" + FixedField(w, 5, 3));
    }

  private:
    const PlotterFamily& family() const;
    // A pen put away at a page end is taken up again by the next drawing.
    void selectPen() {
        if (!penAway_) return;
        HpglWriteCommand(std::string("SP") + pen_);
        penAway_ = false;
    }
    bool nativeFill(DeviceRequest request) const;
    void softwareFill(DeviceRequest request, const DeviceParameterBlock& b);
    void ellipse(const DeviceParameterBlock& b) override;
    void shapeArc() override { HpglArc(13, kPlotterScale); }
    void polygonMoves(int count) override {
        const DevicePointArrays& p = devicePointArrays();
        for (std::size_t k = 1; k < static_cast<std::size_t>(count); ++k)
            HpglWriteCommandXY("PD", p.x[k], p.y[k]);
    }

    char pen_ = ' ';
    bool penAway_ = false;
    bool native_ = false;
    float fillThickness_ = -1.0f;
};

const PlotterFamily& HpglFileDriver::family() const {
    const std::size_t at = std::string_view("UEFH").find(model().family);
    return kFamilies[at == std::string_view::npos ? 0 : at];
}

void HpglFileDriver::initialise(DeviceParameterBlock&) {
    HardcopyDriverDefaults();
    const PlotterModel& m = model();
    unitsPerPoint = static_cast<float>(m.unitsPerInch) / 72.0f;
    HardcopyOptions& o = hardcopyOptions();
    const float u = unitsPerPoint;
    o[hc::PageOffsetX] = TruncatedInt(m.leftMargin / u);
    o[hc::PageOffsetY] = 0;
    o[hc::PageWidth] = TruncatedInt(m.limitX / u - o[hc::PageOffsetX]);
    o[hc::PageHeight] = TruncatedInt(m.limitY / u);
    o[hc::Orientation] = 1;
    o[hc::FillPenSpacing] = 80;
    o[hc::HpglShapeRecords] = 1;
    o[hc::LabelTerminator] = 4;
    o[hc::HpglPlotterControl] = 0;
    o[hc::HpglNativeFill] = 0;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.colourCount = d.penCount = m.pens;
    d.colourLimit = 9;
    d.printCommandAllowed = 1;
    d.resolutionX = d.resolutionY = 90;
    hardcopyDeviceInfo() = plotterDevice(family().capabilities, m.pens, 7, 0);
    sizePending = true;
    SetDefaultFileExtension(".plt");
    d.activeDriver = hc::HpglDriverNumber;
}

void HpglFileDriver::begin(DeviceParameterBlock& b) {
    if (!openPlotter(b)) return;
    pen_ = ' ';
    penAway_ = native_ = false;
    fillThickness_ = -1.0f;
    sizePending = true;
    lastTextMode = 0;
    lastFontStyle = -1;
    const HardcopyOptions& o = hardcopyOptions();
    if (o[hc::HpglPlotterControl] != 0) HpglWriteCommand("\x1b.Y");
    writeFrame(o[hc::Orientation] == 0);
    HpglWriteShapeRecord(2, false, 9, 0, 0);
    HpglWriteShapeRecord(13, false, modelNumber(), 0, 0);
    HpglWriteCommand(kPlotterScale);
}

void HpglFileDriver::polyline(const DeviceParameterBlock& b) {
    const DevicePointArrays& p = devicePointArrays();
    const std::size_t n = static_cast<std::size_t>(BufferPointCount(b.count));
    if (n == 0) return;
    selectPen();
    penUpTo(p.x[0], p.y[0]);
    for (std::size_t k = 1; k < n; ++k)
        penDownTo(p.x[k], p.y[k]);
}

void HpglFileDriver::colour() {
    const GraphicsState& g = graphicsState();
    int r = 0, gr = 0, bl = 0;
    CurrentColourComponents(r, gr, bl);
    // White is the paper: no pen draws it (a white fill would come out in
    // the first pen's ink).
    const bool white = r > 245 && gr > 245 && bl > 245;
    const char pen = white ? '0' : HpglPenFromColour(g.colourNumber, hardcopyDeviceState().penCount);
    if (pen != pen_) {
        pen_ = pen;
        HpglWriteCommand(std::string("PU;SP") + pen);
        penAway_ = false;
    }
    if (g.lineFillHardcopy != 0) return;
    HpglWriteShapeRecord(1, true, bl * 65536 + gr * 256 + r, 0, 0);
}

bool HpglFileDriver::nativeFill(DeviceRequest request) const {
    const GraphicsState& g = graphicsState();
    const bool allowed = (family().nativeFillMask >> (request / 2 - 1) & 1) != 0 &&
                         hardcopyOptions()[hc::HpglNativeFill] != 0;
    const bool solid = g.fillStyle == 4 ||
                       (g.fillStyle == 3 && g.previousColourNumber == g.colourNumber);
    if (request == 15 && deviceBlock().count > kNativePolygonPoints) return false;
    return allowed && solid;
}

void HpglFileDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    selectPen();
    native_ = nativeFill(request);
    if (native_) {
        const float t = std::clamp(
            static_cast<float>(hardcopyOptions()[hc::FillPenSpacing]) * 25.4f / 7200.0f, 0.1f,
            5.0f);
        if (t != fillThickness_) {
            HpglWriteCommand("FT2;PT" + FixedField(t, 4, 2));
            fillThickness_ = t;
        }
        return plotShape(request, b);
    }
    softwareFill(request, b);
}

void HpglFileDriver::softwareFill(DeviceRequest request, const DeviceParameterBlock& b) {
    GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    g.lineFillHardcopy = 2;
    float spacing = static_cast<float>(o[hc::FillPenSpacing]) / 100.0f * g.plotExtentY /
                    static_cast<float>(std::max(o[hc::PageHeight], 1));
    if (g.fillStyle == 3) spacing *= 2.0f;
    g.lineFillSpacing = hardcopyDeviceState().fillSpacing = spacing;
    if (request == 5) return ellipse(b);
    HpglWriteShapeRecord(shapeKind(request), false, g.fillStyle, g.fillDensity,
                         g.fillOutline * 10 + g.fillAngle);
    switch (request) {
        case 7:
        case 11:
            for (int k = 1; k <= (request == 7 ? 4 : 3); ++k)
                HpglWriteShapePoint(b.fx[k], b.fy[k]);
            break;
        case 9:
            HpglWriteShapePoint(b.fx[1], b.fy[1]);
            HpglWriteShapePoint(b.fx[2], b.fy[2]);
            break;
        case 13:
            HpglWriteShapePoint(b.fx[1], b.fy[1]);
            HpglWriteShapePoint(b.fx[2], b.fy[2]);
            HpglWriteShapeReals(b.fx[3], b.fy[3]);
            break;
        default: {
            const DevicePointArrays& p = devicePointArrays();
            const int n = BufferPointCount(b.count);
            HpglWriteShapeRecord(12, false, n, 0, 0);
            for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
                HpglWriteShapePoint(p.x[k], p.y[k]);
        }
    }
    HpglWriteCommand(kPlotterScale);
}

void HpglFileDriver::ellipse(const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    plotEllipse(b, native_,
                HpglShapeRecordText(5, false, g.fillStyle, g.fillDensity, g.fillAngle));
}

void HpglFileDriver::text(DeviceParameterBlock& b) {
    selectPen();
    const GraphicsState& g = graphicsState();
    if (sizePending) characterSize(kWidthFactors, kHeightFactors, 1.5f);
    if (g.textMode != lastTextMode || g.fontStyle != lastFontStyle) {
        HpglWriteCommand((g.fontStyle & 2) != 0 ? "SL.2" : "SL0.");
        lastTextMode = g.textMode;
        lastFontStyle = g.fontStyle;
    }
    float x = 0, y = 0;
    labelStart(b.fx[1], b.fy[1], x, y);
    HpglWriteCommandXY("PU", x, y);
    writeLabel(RequestText(b.pixX[1]));
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = d.lastPenY = -9999.0f;
}

}  // namespace

char HpglPenFromColour(int colourNumber, int pens) {
    const int band = (((colourNumber + 16) / 32) % 8 + 8) % 8;
    return static_cast<char>('1' + kPenOrder[static_cast<std::size_t>(band)] % std::max(pens, 1));
}

HpglModelFacts HpglModel(int number) {
    const PlotterModel& m =
        kModels[static_cast<std::size_t>(number >= 1 && number <= 10 ? number - 1 : 0)];
    return HpglModelFacts{m.unitsPerInch, m.pens};
}

void HpglDriver(DeviceRequest request) {
    static HpglFileDriver driver;
    driver.request(request);
}

}  // namespace tk
