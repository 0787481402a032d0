#include "toolkit/output/dxf_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {

namespace {

constexpr const char* kCapabilities = "00000100000011000010000000010";

struct LineType {
    const char* name;
    const char* description;
    const char* elements;
    const char* total;
    std::array<const char*, 6> dashes;
};

const std::array<LineType, 7> kLineTypes = {{
    {"DOT", "..............................................", "2", "0.25", {"0", "-0.25"}},
    {"DASHED", "__ __ __ __ __ __ __ __ __ __ __ __ __ __ __  ", "2", "0.75", {"0.5", "-0.25"}},
    {"DASHDOT",
     "__ . __ . __ . __ . __ . __ . __ . __ . __ .  ",
     "4",
     "1",
     {"0.5", "-0.25", "0", "-0.25"}},
    {"DIVIDE",
     "__ . . __ . . __ . . __ . . __ . . __ . . __  ",
     "6",
     "1.25",
     {"0.5", "-0.25", "0", "-0.25", "0", "-0.25"}},
    {"CENTER",
     "____ _ ____ _ ____ _ ____ _ ____ _ ____ _ ____",
     "4",
     "2",
     {"1.25", "-0.25", "0.25", "-0.25"}},
    {"HIDDEN", "_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ ", "2", "0.25", {"0.12", "-0.12"}},
    {"PHANTOM",
     "____ _ _ ____ _ _ ____ _ _ ____ _ _ ____ _ _ _",
     "6",
     "2.5",
     {"1.25", "-0.25", "0.25", "-0.25", "0.25", "-0.25"}},
}};

// The 16-colour groups of colour depth 4, by colour number div 16.
constexpr int kSixteenColours[16] = {8, 1, 9, 2, 2, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8};

struct DxfState {
    int colour = 7;
    int cachedRgb = -1;
    int cachedIndex = 7;
};

DxfState& dxf() {
    static DxfState s;
    return s;
}

int colourDepth() {
    return hardcopyOptions()[hc::ColourDepth];
}

float lineThickness() {
    return static_cast<float>(hardcopyOptions()[hc::LineWidthOption]) / 720.0f;
}

void lineTypeGroup() {
    const int style = graphicsState().lineStyle;
    if (style >= 1 && style <= 7)
        DxfWriteGroup("6", kLineTypes[static_cast<std::size_t>(style - 1)].name);
}

void initialiseDevice() {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageOffsetX] = o[hc::PageOffsetY] = o[hc::Orientation] = 0;
    o[hc::PageWidth] = 756;
    o[hc::PageHeight] = 540;
    o[hc::FillPenSpacing] = 80;
    o[hc::ColourDepth] = 8;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.printCommandAllowed = 0;
    d.colourCount = d.colourLimit = 255;
    d.resolutionX = d.resolutionY = 90;
    DeviceInfo& info = hardcopyDeviceInfo();
    info.gradientFillAvailable = 0;
    info.trueColour = 1;
    info.textAngleCapability = 360;
    info.hardcopyTextLayout = 0;
    info.hardcopyTextBox = 1;
    info.lineStyleCount = 8;
    info.deviceTextThreshold = 0.222f;
    info.hardcopyColourCount = d.colourCount;
    info.capabilities.assign(kCapabilities);
    SetDefaultFileExtension(".dxf");
    d.activeDriver = hc::DxfDriverNumber;
}

void writeHeader() {
    const HardcopyOptions& o = hardcopyOptions();
    const float w = static_cast<float>(o[hc::PageWidth]) / 72.0f;
    const float h = static_cast<float>(o[hc::PageHeight]) / 72.0f;
    DxfWriteGroup("0", "SECTION");
    DxfWriteGroup("2", "HEADER");
    DxfWriteGroup("9", "$EXTMIN");
    DxfWriteGroup("10", "0.0");
    DxfWriteGroup("20", "0.0");
    DxfWriteGroup("9", "$EXTMAX");
    DxfWriteReal("10", w);
    DxfWriteReal("20", h);
    DxfWriteGroup("9", "$CECOLOR");
    DxfWriteGroup("62", "7");
    DxfWriteGroup("9", "$CELTYPE");
    DxfWriteGroup("6", "DASHDOT");
    DxfWriteGroup("9", "$VIEWCTR");
    DxfWriteReal("10", w * 0.5f);
    DxfWriteReal("20", h * 0.5f);
    DxfWriteGroup("9", "$LIMMIN");
    DxfWriteGroup("10", "0.0");
    DxfWriteGroup("20", "0.0");
    DxfWriteGroup("9", "$LIMMAX");
    DxfWriteReal("10", w);
    DxfWriteReal("20", h);
    DxfWriteGroup("0", "ENDSEC");
}

void writeTables() {
    DxfWriteGroup("0", "SECTION");
    DxfWriteGroup("2", "TABLES");
    DxfWriteGroup("0", "TABLE");
    DxfWriteGroup("2", "LTYPE");
    DxfWriteGroup("70", "9");
    for (const LineType& t : kLineTypes) {
        DxfWriteGroup("0", "LTYPE");
        DxfWriteGroup("2", t.name);
        DxfWriteGroup("70", "0");
        DxfWriteGroup("3", t.description);
        DxfWriteGroup("72", "65");
        DxfWriteGroup("73", t.elements);
        DxfWriteGroup("40", t.total);
        for (const char* dash : t.dashes)
            if (dash) DxfWriteGroup("49", dash);
    }
    DxfWriteGroup("0", "ENDTAB");
    for (auto [code, value] :
         std::initializer_list<std::pair<const char*, const char*>>{{"0", "TABLE"},
                                                                    {"2", "STYLE"},
                                                                    {"70", "1"},
                                                                    {"0", "STYLE"},
                                                                    {"2", "STANDARD"},
                                                                    {"70", "0"},
                                                                    {"40", "0"},
                                                                    {"41", "1"},
                                                                    {"50", "0"},
                                                                    {"71", "0"},
                                                                    {"42", "1"},
                                                                    {"3", "txt"},
                                                                    {"0", "ENDTAB"},
                                                                    {"0", "TABLE"},
                                                                    {"2", "LAYER"},
                                                                    {"70", "9"}})
        DxfWriteGroup(code, value);
    for (char layer = '1'; layer <= '9'; ++layer) {
        DxfWriteGroup("0", "LAYER");
        DxfWriteGroup("2", std::string_view(&layer, 1));
        DxfWriteGroup("70", "0");
        DxfWriteGroup("62", "7");
        DxfWriteGroup("6", "CONTINUOUS");
    }
    DxfWriteGroup("0", "ENDTAB");
    DxfWriteGroup("0", "ENDSEC");
    DxfWriteGroup("0", "SECTION");
    DxfWriteGroup("2", "ENTITIES");
}

void beginOutput() {
    DeviceParameterBlock& b = deviceBlock();
    GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    if (g.plotExtentX > 0)
        g.hardcopyScaleX = static_cast<float>(o[hc::PageWidth]) / (g.plotExtentX * 72.0f);
    if (g.plotExtentY > 0)
        g.hardcopyScaleY = static_cast<float>(o[hc::PageHeight]) / (g.plotExtentY * 72.0f);
    if (b.value <= 0 || !OpenPlotFileOrStop()) return;
    HardcopyDeviceState& d = hardcopyDeviceState();
    const int depth = colourDepth();
    d.colourCount = depth >= 8 ? 255 : depth == 4 ? 14 : 7;
    hardcopyDeviceInfo().trueColour = depth >= 8 ? 1 : 0;
    hardcopyDeviceInfo().hardcopyColourCount = d.colourCount;
    writeHeader();
    writeTables();
    dxf().cachedRgb = -1;
}

int hardcopyRgb() {
    const GraphicsState& g = graphicsState();
    if (g.colourMode != 1) return g.rgb;
    int rgb = 0;
    ColourNumberRgb(g.colourNumber, rgb);
    return rgb;
}

void colourRequest() {
    DxfState& s = dxf();
    const int number = graphicsState().colourNumber;
    switch (colourDepth()) {
        case 4:
            s.colour = kSixteenColours[std::clamp(number, 0, 255) / 16];
            break;
        case 8: {
            const int rgb = hardcopyRgb();
            if (rgb != s.cachedRgb) {
                s.cachedRgb = rgb;
                s.cachedIndex = DxfColourIndex(rgb);
            }
            s.colour = s.cachedIndex;
            break;
        }
        case 24: {
            int r = 0, gr = 0, bl = 0;
            SplitRgbColour(hardcopyRgb(), &r, &gr, &bl);
            s.colour = r * 65536 + gr * 256 + bl;
            break;
        }
        default: {
            const int v = ((number + 16) / 32) % 8;
            s.colour = v == 0 ? 7 : v;
            break;
        }
    }
}

void lineRequest() {
    const DeviceParameterBlock& b = deviceBlock();
    DxfBeginEntity("LINE");
    if (graphicsState().lineFillHardcopy == 0) lineTypeGroup();
    DxfWriteReal("39", lineThickness());
    DxfWritePoint("10", "20", b.fx[1], b.fy[1]);
    DxfWritePoint("11", "21", b.fx[2], b.fy[2]);
}

void solid(const float (&x)[4], const float (&y)[4]) {
    DxfBeginEntity("SOLID");
    const char* codes[4][2] = {{"10", "20"}, {"11", "21"}, {"12", "22"}, {"13", "23"}};
    for (int k = 0; k < 4; ++k)
        DxfWritePoint(codes[k][0], codes[k][1], x[k], y[k]);
}

void filledRequest(int request) {
    DeviceParameterBlock& b = deviceBlock();
    GraphicsState& g = graphicsState();
    const int f = g.fillStyle;
    if (request == 5 || request == 13 || request == 15 || f == 3) {
        const HardcopyOptions& o = hardcopyOptions();
        g.lineFillHardcopy = 2;
        float spacing = static_cast<float>(o[hc::FillPenSpacing]) / 100.0f * g.plotExtentY /
                        static_cast<float>(std::max(o[hc::PageHeight], 1));
        if (f == 3) spacing *= 2.0f;
        g.lineFillSpacing = hardcopyDeviceState().fillSpacing = spacing;
        if (f > 2) return;
        if (request == 5 && g.areaSpanX == g.areaSpanY && b.fx[3] == 1.0f) {
            DxfBeginEntity("CIRCLE");
            DxfWriteReal("39", lineThickness());
            DxfWritePoint("10", "20", b.fx[1], b.fy[1]);
            DxfWriteReal("40", g.hardcopyScaleX * b.fx[2]);
            return;
        }
        b.value = -1;
        return;
    }
    if (f != 4) return;
    if (request == 7) {
        solid({b.fx[1], b.fx[2], b.fx[4], b.fx[3]}, {b.fy[1], b.fy[2], b.fy[4], b.fy[3]});
    } else if (request == 9) {
        const float l = std::max(g.devX1, b.fx[1]), lo = std::max(g.devY1, b.fy[1]);
        const float r = std::min(g.devX2, b.fx[2]), t = std::min(g.devY2, b.fy[2]);
        solid({l, l, r, r}, {lo, t, lo, t});
    } else if (request == 11) {
        solid({b.fx[1], b.fx[2], b.fx[3], b.fx[3]}, {b.fy[1], b.fy[2], b.fy[3], b.fy[3]});
    }
}

void textRequest() {
    const DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    DxfBeginEntity("TEXT");
    const float pw = static_cast<float>(o[hc::PageWidth]),
                ph = static_cast<float>(o[hc::PageHeight]);
    const bool upright = g.pageRotation % 180 == 0;
    const float ex = g.plotExtentX * 72.0f, ey = g.plotExtentY * 72.0f;
    const float h = upright ? ph * g.charHeightFraction * g.rotDevSpanY / ey
                            : pw * g.charHeightFraction * g.rotDevSpanY / ex;
    const float w = upright ? pw * g.charWidthFraction * g.rotDevSpanX / ex
                            : ph * g.charWidthFraction * g.rotDevSpanX / ey;
    DxfWriteReal("40", h * (g.textMode == 0 ? 0.78f : 0.63f));
    DxfWriteReal("41", h != 0 ? w * g.pageAspect / h : 0.0f);
    DxfWriteInteger("50", static_cast<int>(g.deviceTextAngle));
    DxfWriteGroup("1", RequestText(b.pixX[1]));
    DxfWriteGroup("7", "STANDARD");
    const float x = b.fx[1] + 0.22f * g.heightX, y = b.fy[1] - 0.22f * g.heightY;
    if (g.textStacking == 0) {
        DxfWriteGroup("72", "0");
        DxfWritePoint("10", "20", x, y);
        return;
    }
    DxfWriteGroup("72", "1");
    DxfWritePoint("10", "20", x, y);
    DxfWritePoint("11", "21", x + 0.5f * b.fx[2] * g.dirCos, y + 0.5f * b.fx[2] * g.dirSinA);
}

void polylineRequest() {
    const DeviceParameterBlock& b = deviceBlock();
    const DevicePointArrays& p = devicePointArrays();
    DxfBeginEntity("POLYLINE");
    lineTypeGroup();
    DxfWriteReal("39", lineThickness());
    DxfWriteGroup("66", "1");
    DxfWriteGroup("70", "0");
    const int n = BufferPointCount(b.count);
    for (int i = 0; i < n; ++i) {
        DxfWriteGroup("0", "VERTEX");
        DxfWriteGroup("8", "1");
        DxfWritePoint("10", "20", p.x[static_cast<std::size_t>(i)],
                      p.y[static_cast<std::size_t>(i)]);
    }
    DxfWriteGroup("0", "SEQEND");
}

void arcRequest() {
    DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    if (g.areaSpanX != g.areaSpanY) {
        b.value = 2;
        return;
    }
    DxfBeginEntity("ARC");
    lineTypeGroup();
    DxfWriteReal("39", lineThickness());
    DxfWritePoint("10", "20", b.fx[1], b.fy[1]);
    DxfWriteReal("40", g.hardcopyScaleX * b.fx[2]);
    const float s = b.fx[4], t = b.fy[4];
    DxfWriteReal("50", std::min(s, s + t));
    DxfWriteReal("51", std::max(s, s + t));
    b.value = 1;
}

}  // namespace

std::string DxfRealText(float value) {
    char field[64];
    std::snprintf(field, sizeof field, "%15.6f", static_cast<double>(value));
    std::string text(field);
    if (text.size() > 15) return std::string(15, '*');
    text.erase(0, text.find_first_not_of(' '));
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    return text;
}

void DxfWriteGroup(std::string_view code, std::string_view value) {
    PlotFileWriteLine(kPlotUnit, code);
    PlotFileWriteLine(kPlotUnit, value);
}

void DxfWriteReal(std::string_view code, float value) {
    DxfWriteGroup(code, DxfRealText(value));
}

void DxfWriteInteger(std::string_view code, int value) {
    char field[32];
    std::snprintf(field, sizeof field, "%8d", value);
    std::string text(field);
    if (text.size() > 8) text = std::string(8, '*');
    text.erase(0, text.find_first_not_of(' '));
    DxfWriteGroup(code, text);
}

void DxfWritePoint(std::string_view xCode, std::string_view yCode, float x, float y) {
    const GraphicsState& g = graphicsState();
    DxfWriteReal(xCode, g.hardcopyScaleX * x);
    DxfWriteReal(yCode, g.hardcopyScaleY * y);
}

void DxfBeginEntity(std::string_view name) {
    DxfWriteGroup("0", name);
    DxfWriteGroup("8", "1");
    DxfWriteInteger(colourDepth() == 24 ? "420" : "62", dxf().colour);
}

int DxfColourIndex(int rgb) {
    const auto cone = [](int colour, float& cx, float& cy, float& v) {
        float h = 0, s = 0;
        RgbToHsv(colour, h, s, v);
        cx = v * s * std::cos(h);
        cy = v * s * std::sin(h);
    };
    float x = 0, y = 0, v = 0;
    cone(rgb, x, y, v);
    float best = 1.0e7f;
    int answer = 7;
    for (int k = 1; k <= 255; ++k) {
        const int p = AciColourRgb(k);
        if (p == rgb) return k;
        float px = 0, py = 0, pv = 0;
        cone(p, px, py, pv);
        const float d = (v - pv) * (v - pv) + (x - px) * (x - px) + (y - py) * (y - py);
        if (d < best) {
            best = d;
            answer = k;
        }
    }
    return answer;
}

namespace {

class DxfFileDriver final : public HardcopyDriver {
  public:
    DxfFileDriver() : HardcopyDriver(hc::DxfDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock&) override { initialiseDevice(); }
    void begin(DeviceParameterBlock&) override { beginOutput(); }
    void end() override {
        DxfWriteGroup("0", "ENDSEC");
        DxfWriteGroup("0", "EOF");
        PlotFileClose(kPlotUnit);
    }
    void line(const DeviceParameterBlock&) override { lineRequest(); }
    void point(const DeviceParameterBlock& b) override {
        DxfBeginEntity("POINT");
        DxfWritePoint("10", "20", b.fx[1], b.fy[1]);
    }
    void polyline(const DeviceParameterBlock&) override { polylineRequest(); }
    void text(DeviceParameterBlock&) override { textRequest(); }
    void arc(DeviceParameterBlock&) override { arcRequest(); }
    void fill(DeviceRequest request, DeviceParameterBlock&) override { filledRequest(request); }
    void colour() override { colourRequest(); }
    // The drawing's colours are set by request 3 alone.
    void palette() override {}
};

}  // namespace

void DxfDriver(int request) {
    static DxfFileDriver driver;
    driver.request(request);
}

void ResetDxfDriver() {
    dxf() = DxfState{};
}

}  // namespace tk
