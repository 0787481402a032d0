#include "toolkit/output/hpgl2_driver.h"

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

constexpr float kUnitsPerPoint = 1016.0f / 72.0f;
constexpr int kDesignJet = 4;

struct Hpgl2Device {
    int resolution, limitX, limitY, pens;
};

constexpr std::array<Hpgl2Device, 5> kDevices = {{
    {300, 10860, 7918, 2},     // HP LaserJet III
    {300, 10860, 7918, 256},   // HP DJet 1200C/1600C, Color LJet
    {600, 10860, 7918, 2},     // HP LaserJet 4/5
    {600, 15836, 10860, 256},  // HP DesignJet
    {600, 10860, 7918, 256},   // HP Color LaserJet 4500/8500
}};

constexpr const char* kTwoPenCapabilities = "00000100000011100010001001110";
constexpr const char* kColourCapabilities = "00000100011111100010011011110";

constexpr std::array<float, 3> kWidthFactors = {1.0f, 0.932f, 1.06f};
constexpr std::array<float, 3> kHeightFactors = {1.0f, 1.211f, 1.211f};

// The LaserJet III's replacements for the label characters 161 to 255.
constexpr std::array<unsigned char, 95> kRoman8 = {
    184, 191, 175, 186, 188, 124, 189, 171, 99,  249, 251, 32,  246, 82,  176,  // 161-175
    179, 254, 50,  51,  168, 243, 244, 242, 44,  49,  250, 253, 247, 248, 245, 185,
    161, 224, 162, 225, 216, 208, 211, 180, 163, 220, 164, 165, 230, 229, 166, 167,
    227, 182, 232, 231, 223, 233, 218, 120, 210, 173, 237, 174, 219, 177, 240, 222,
    200, 196, 192, 226, 204, 212, 215, 181, 201, 197, 193, 205, 217, 213, 209, 221,
    228, 183, 202, 198, 194, 234, 206, 32,  214, 203, 199, 195, 207, 178, 241, 239};

int deviceNumber() {
    return selectedDeviceModel(Hpgl2PrinterKind);
}

const Hpgl2Device& device() {
    return kDevices[static_cast<std::size_t>(deviceNumber() - 1)];
}

// One line as it stands (with the blank prefix when asked).
void Hpgl2FlushBuffer(std::string_view text) {
    WritePlotLine(text);
}

// A comment record: CO and the fields in quotation marks, one blank apart;
// the first field is a one-character field (a record number below 10) or a
// two-character one (a shape kind) that keeps its leading blank. The ";"
// ends the comment for readers that would otherwise take the commands after
// it as part of it.
std::string commentText(int first, std::initializer_list<std::string> fields,
                        bool kindField = false) {
    std::string text = "CO\"" + IntegerField(first, kindField || first >= 10 ? 2 : 1);
    for (const std::string& f : fields)
        text += " " + f;
    return HpglSqueeze(text + "\";");
}

void comment(int first, std::initializer_list<std::string> fields, bool kindField = false) {
    WritePlotLine(commentText(first, fields, kindField));
}

// The record of a fill: its kind (record 4 and 5 are written with one
// character) and fill style, density, angle and pattern flag.
std::string fillCommentText(int kind, bool kindField) {
    const GraphicsState& g = graphicsState();
    return commentText(kind,
                       {IntegerField(g.fillStyle, 1), IntegerField(g.fillDensity, 1),
                        IntegerField(g.fillAngle, 1), IntegerField(g.fillOutline, 1)},
                       kindField);
}

std::string penText(int pen) {
    return IntegerField(pen, 3);
}

void Hpgl2PenColour(int n, int red, int green, int blue) {
    ApplyColourHandling(hardcopyOptions()[hc::ColourHandling], red, green, blue);
    HpglWriteCommand("PC" + IntegerField(n, 4) + " " + IntegerField(red, 3) + " " +
                     IntegerField(green, 3) + " " + IntegerField(blue, 3));
}

void Hpgl2FillPattern(std::uint32_t pattern) {
    const std::uint32_t q = ~pattern;
    for (int line = 0; line < 2; ++line) {
        std::string text;
        for (int i = 0; i < 16; ++i)
            text += std::string((q >> (16 * line + i) & 1u) != 0 ? "1" : "0") + ",";
        if (line == 1) text.back() = ';';
        Hpgl2FlushBuffer(text);
    }
}

// Relative moves from point to point as HP-GL/2 encoded polylines (7-bit).
void Hpgl2Polyline(int count) {
    const DevicePointArrays& p = devicePointArrays();
    const GraphicsState& g = graphicsState();
    const std::size_t n = static_cast<std::size_t>(BufferPointCount(count));
    std::string line = "PE7";
    const auto encode = [&line](long long d) {
        long long v = d >= 0 ? 2 * d : 2 * -d + 1;
        while (v >= 32) {
            line += static_cast<char>(v % 32 + 63);
            v /= 32;
        }
        line += static_cast<char>(v + 95);
    };
    for (std::size_t k = 1; k < n; ++k) {
        if (line.size() > 246) {
            Hpgl2FlushBuffer(line + ";");
            line = "PE7";
        }
        encode(static_cast<long long>(TruncatedInt(g.hardcopyScaleX * p.x[k])) -
               TruncatedInt(g.hardcopyScaleX * p.x[k - 1]));
        encode(static_cast<long long>(TruncatedInt(g.hardcopyScaleY * p.y[k])) -
               TruncatedInt(g.hardcopyScaleY * p.y[k - 1]));
    }
    Hpgl2FlushBuffer(line + ";");
}

class Hpgl2FileDriver final : public PenPlotterDriver {
  public:
    Hpgl2FileDriver() : PenPlotterDriver(hc::Hpgl2DriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override {
        if (deviceNumber() != kDesignJet) HpglWriteCommand("\x1b%0A");
        PlotFileClose(kPlotUnit);
    }

    void line(const DeviceParameterBlock& b) override {
        penUpTo(b.fx[1], b.fy[1]);
        penDownTo(b.fx[2], b.fy[2]);
    }
    void point(const DeviceParameterBlock& b) override {
        penUpTo(b.fx[1], b.fy[1]);
        penDownTo(b.fx[1], b.fy[1]);
    }
    void polyline(const DeviceParameterBlock& b) override {
        const DevicePointArrays& p = devicePointArrays();
        const int n = BufferPointCount(b.count);
        if (n == 0) return;
        penUpTo(p.x[0], p.y[0]);
        Hpgl2Polyline(n);
        HardcopyDeviceState& d = hardcopyDeviceState();
        d.lastPenX = p.x[static_cast<std::size_t>(n - 1)];
        d.lastPenY = p.y[static_cast<std::size_t>(n - 1)];
    }
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock&) override { hpgl2Arc(34); }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest request, DeviceParameterBlock&) override {
        const int kind = shapeKind(request);
        if (graphicsState().fillStyle >= 3 || kind == 4 || kind == 5) comment(kind, {"-1"}, true);
        if (!fillPen_.empty() && fillPen_ != pen_) HpglWriteCommand("PU;SP" + pen_);
    }

    void endPage(const DeviceParameterBlock& b) override;
    void colour() override;
    void paletteColour(const DeviceParameterBlock& b) override {
        int r = 0, g = 0, bl = 0;
        SplitRgbColour(b.pixX[1], &r, &g, &bl);
        Hpgl2PenColour(b.count, r, g, bl);
        if (b.count >= 0 && b.count < 256) defined_[static_cast<std::size_t>(b.count)] = true;
    }
    void font() override { sizePending = true; }
    void direction() override { labelDirection(); }
    void clip() override { inputWindow(); }
    void lineStyle() override {
        lineType({"    ", "1 .3", "2 2 ", "4 3 ", "7 2 ", "5 3 ", "3 1 ", "6 3 "});
    }
    void lineWidth() override {
        const float w = std::clamp(
            static_cast<float>(hardcopyOptions()[hc::LineWidthOption]) * 0.4f / kUnitsPerPoint,
            0.0284f, 5.0f);
        HpglWriteCommand("PW" + FixedField(w, 5, 3));
    }
    void lineJoin() override {
        static constexpr std::array<const char*, 3> kJoins = {"1", "4", "5"};
        HpglWriteCommand(std::string("LA2 ") +
                         kJoins[static_cast<std::size_t>(
                             std::clamp(hardcopyOptions()[hc::LineJoinOption], 0, 2))]);
    }
    void lineCap() override {
        static constexpr std::array<const char*, 3> kCaps = {"1", "4", "2"};
        HpglWriteCommand(std::string("LA1 ") +
                         kCaps[static_cast<std::size_t>(
                             std::clamp(hardcopyOptions()[hc::LineCapOption], 0, 2))]);
    }

  private:
    bool twoPens() const { return hardcopyDeviceState().penCount <= 2; }
    void selectPen(const std::string& pen) {
        if (pen == pen_) return;
        pen_ = pen;
        HpglWriteCommand("PU;SP" + pen_);
    }
    void rasterFill();
    void colourFill();
    void ellipse(const DeviceParameterBlock& b) override;
    void shapeArc() override { hpgl2Arc(13); }
    void polygonMoves(int count) override { Hpgl2Polyline(count); }
    void hpgl2Arc(int request) {
        const GraphicsState& g = graphicsState();
        const bool outline = g.fillStyle == 1 || g.fillStyle == 2;
        HpglArc(request, kPlotterScale, "PD;", outline ? fillCommentText(4, false) : "");
    }
    void defineFont();

    std::string pen_, fillPen_;
    std::array<bool, 256> defined_{};
    int lastFillType_ = -1;
    int greyColour_ = -1;
    int mixedPrevious_ = -1, mixedCurrent_ = -1;
    int lastFont_ = -1;
    int labelOrigin_ = -1;
    float widthFactor_ = 1.5f;
    char fontLetter_ = 'S';
};

void Hpgl2FileDriver::initialise(DeviceParameterBlock&) {
    HardcopyDriverDefaults();
    const Hpgl2Device& dev = device();
    unitsPerPoint = kUnitsPerPoint;
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageOffsetX] = o[hc::PageOffsetY] = 0;
    o[hc::PageWidth] = TruncatedInt(dev.limitX / kUnitsPerPoint);
    o[hc::PageHeight] = TruncatedInt(dev.limitY / kUnitsPerPoint);
    o[hc::HpglShapeRecords] = 0;
    o[hc::Orientation] = 1;
    o[hc::LabelTerminator] = 4;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.penCount = dev.pens;
    d.resolutionX = d.resolutionY = dev.resolution;
    const bool two = dev.pens <= 2;
    d.colourCount = two ? 2 : 256;
    d.colourLimit = 256;
    d.printCommandAllowed = 1;
    widthFactor_ = two && deviceNumber() == 1 ? 1.5f : 1.2f;
    fontLetter_ = two && deviceNumber() == 1 ? 'S' : 'A';
    hardcopyDeviceInfo() =
        plotterDevice(two ? kTwoPenCapabilities : kColourCapabilities, d.colourCount, 8, 1);
    sizePending = true;
    SetDefaultFileExtension(".plt");
    d.activeDriver = hc::Hpgl2DriverNumber;
}

void Hpgl2FileDriver::begin(DeviceParameterBlock& b) {
    if (!openPlotter(b)) return;
    pen_.clear();
    fillPen_.clear();
    defined_.fill(false);
    lastFillType_ = greyColour_ = mixedPrevious_ = mixedCurrent_ = -1;
    sizePending = true;
    lastTextMode = 0;
    lastFontStyle = lastFont_ = labelOrigin_ = -1;
    const HardcopyOptions& o = hardcopyOptions();
    const int dev = deviceNumber();
    if (dev != kDesignJet) HpglWriteCommand("\x1b%0B");
    if (b.pixX[1] != 0) {
        // A quoted comment; the colon marks it as the title.
        std::string title(o.title.trimmed());
        std::replace(title.begin(), title.end(), '"', '\'');
        Hpgl2FlushBuffer("CO\": " + title.substr(0, std::min<std::size_t>(title.size(), 44)) +
                         "\";");
    }
    writeFrame(dev == kDesignJet ? o[hc::Orientation] == 0 : o[hc::Orientation] != 0);
    HpglWriteCommand("TR0");
    if (dev != 1) HpglWriteCommand("AD1,14;SA");
    if (device().pens > 2) HpglWriteCommand("NP256");
    comment(13, {IntegerField(dev, 2), FixedField(widthFactor_, 3, 1), "9"});
    comment(2, {IntegerField(std::clamp(o[hc::ColourHandling], 0, 9), 1)});
    HpglWriteCommand(kPlotterScale);
}

void Hpgl2FileDriver::endPage(const DeviceParameterBlock& b) {
    comment(3, {IntegerField(b.value, 3)});
    if (deviceNumber() == kDesignJet) return HpglWriteCommand("PG");
    const int copies = std::clamp(hardcopyOptions()[hc::Copies], 1, 99);
    const std::string two = (copies < 10 ? "0" : "") + std::to_string(copies);
    Hpgl2FlushBuffer("\x1b%1A\x1b&l" + two + "X\f\x1b%0B");
}

void Hpgl2FileDriver::colour() {
    const GraphicsState& g = graphicsState();
    const int c = g.colourNumber;
    if (!twoPens()) {
        if (c >= 0 && c < 256 && !defined_[static_cast<std::size_t>(c)]) {
            int rgb = 0, r = 0, gr = 0, bl = 0;
            ColourNumberRgb(c, rgb);
            SplitRgbColour(rgb, &r, &gr, &bl);
            Hpgl2PenColour(c, r, gr, bl);
            defined_[static_cast<std::size_t>(c)] = true;
        }
        selectPen(penText(c));
    } else {
        const int white = hardcopyOptions()[hc::ColourHandling] != 0 ? 223 : 0;
        selectPen(c == white ? "0" : "1");
    }
    if (g.lineFillHardcopy != 0) return;
    int r = 0, gr = 0, bl = 0;
    CurrentColourComponents(r, gr, bl);
    comment(1, {IntegerField(bl * 65536 + gr * 256 + r, 8)});
}

void Hpgl2FileDriver::rasterFill() {
    GraphicsState& g = graphicsState();
    if (g.textFill != 0) {
        HpglWriteCommand("FT2");
        lastFillType_ = -1;
        return;
    }
    if (g.fillStyle == 4 || g.previousColourNumber == g.colourNumber) {
        if (g.colourNumber != greyColour_) {
            HpglWriteCommand("RF1,8,4,");
            Hpgl2FillPattern(ColourToGreyDither(1).first);
            greyColour_ = g.colourNumber;
        }
        if (lastFillType_ != 1) HpglWriteCommand("FT11 1");
        lastFillType_ = 1;
        return;
    }
    if (g.previousColourNumber != mixedPrevious_ || g.colourNumber != mixedCurrent_) {
        const int current = g.colourNumber;
        g.colourNumber = g.previousColourNumber;
        const std::uint32_t a = ColourToGreyDither(1).first;
        g.colourNumber = current;
        const std::uint32_t b = ColourToGreyDither(1).first;
        HpglWriteCommand("RF2,8,4,");
        Hpgl2FillPattern((b & 0x55AA55AAu) + (a & 0xAA55AA55u));
        mixedPrevious_ = g.previousColourNumber;
        mixedCurrent_ = current;
    }
    if (lastFillType_ != 2) HpglWriteCommand("FT11 2");
    lastFillType_ = 2;
}

void Hpgl2FileDriver::colourFill() {
    const GraphicsState& g = graphicsState();
    const bool different = g.colourMode == 1 ? g.previousColourNumber != g.colourNumber
                                             : g.previousRgb != g.rgb;
    if (g.fillStyle != 3 || !different) return;
    const int p = 255 - std::clamp(g.colourNumber, 0, 255);
    int r = 0, gr = 0, bl = 0, pr = 0, pg = 0, pb = 0;
    CurrentColourComponents(r, gr, bl);
    PreviousColourComponents(pr, pg, pb);
    Hpgl2PenColour(p, (r + pr) / 2, (gr + pg) / 2, (bl + pb) / 2);
    defined_[static_cast<std::size_t>(p)] = false;
    fillPen_ = penText(p);
    HpglWriteCommand("PU;SP" + fillPen_);
}

void Hpgl2FileDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    fillPen_.clear();
    if (g.fillStyle < 3) {
        if (request == 5) ellipse(b);
        return;
    }
    if (twoPens())
        rasterFill();
    else
        colourFill();
    WritePlotLine(fillCommentText(shapeKind(request), true));
    plotShape(request, b);
}

void Hpgl2FileDriver::ellipse(const DeviceParameterBlock& b) {
    plotEllipse(b, graphicsState().fillStyle >= 3, fillCommentText(5, false));
}

void Hpgl2FileDriver::defineFont() {
    const GraphicsState& g = graphicsState();
    const int font = g.effectiveFontKind;
    if (font == lastFont_ && g.fontStyle == lastFontStyle && g.textMode == lastTextMode) return;
    const bool bold = (g.fontStyle & 1) != 0;
    std::string line = (g.fontStyle & 2) != 0 ? "SL.2" : "SL0.";
    const std::string w2 = bold ? "3" : "0";
    std::string tail;
    switch (font) {
        case 1:
            tail = std::string("0 6 ") + (bold ? "5" : "0");
            break;
        case 2:
            tail = "1 6 " + w2 + " 7 4148";
            break;
        case 3:
            tail = "1 6 " + w2 + " 7 4101";
            break;
        case 4:
            tail = "1 6 " + w2 + " 7 4101 1 173";
            break;
        default:
            break;
    }
    // A font number without a definition keeps the font as it is.
    if (!tail.empty()) line += std::string(";") + fontLetter_ + "D 2 " + tail;
    HpglWriteCommand(line);
    lastFont_ = font;
    lastFontStyle = g.fontStyle;
    lastTextMode = g.textMode;
}

void Hpgl2FileDriver::text(DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    if (sizePending) {
        if (g.textMode != lastTextMode) comment(10, {IntegerField(std::clamp(g.textMode, 0, 2), 1)});
        characterSize(kWidthFactors, kHeightFactors, widthFactor_);
    }
    defineFont();
    std::string text(RequestText(b.pixX[1]));
    if (deviceNumber() == 1 && (g.effectiveFontKind != 4 || g.textMode == 0)) {
        for (char& c : text) {
            const unsigned char code = static_cast<unsigned char>(c);
            if (code >= 161) c = static_cast<char>(kRoman8[code - 161]);
        }
    }
    float x = 0, y = 0;
    labelStart(b.fx[1], b.fy[1], x, y);
    int origin = 0;
    if (g.textMode == 1) {
        origin = std::clamp(g.textJustification, 0, 2);
        float x3 = 0, y3 = 0;
        labelStart(b.fx[3], b.fy[3], x3, y3);
        if (origin == 1) x = (x + x3) / 2, y = (y + y3) / 2;
        if (origin == 2) x = x3, y = y3;
    }
    if (origin != labelOrigin_) {
        static constexpr std::array<const char*, 3> kOrigins = {"LO1", "LO4", "LO7"};
        HpglWriteCommand(kOrigins[static_cast<std::size_t>(origin)]);
        labelOrigin_ = origin;
    }
    HpglWriteCommandXY("PU", x, y);
    writeLabel(text);
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = d.lastPenY = -9999.0f;
}

}  // namespace

int Hpgl2DevicePens(int number) {
    return kDevices[static_cast<std::size_t>(number >= 1 && number <= 5 ? number - 1 : 0)].pens;
}

void Hpgl2Driver(DeviceRequest request) {
    static Hpgl2FileDriver driver;
    driver.request(request);
}

}  // namespace tk
