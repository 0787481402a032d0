#include "toolkit/output/postscript_writer.h"

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {

constexpr std::size_t kLineLength = 255;
// Numbers stay within what interpreters take for page coordinates.
constexpr float kLargestNumber = 99999.99f;
constexpr float kRadian = 0.0174533f;

// An F9.2 field whose two decimals are both zero loses the second one, so
// 5.00 is written 5.0 while 12.50 stays.
std::string numberField(float value) {
    std::string field = FixedField(std::clamp(value, -kLargestNumber, kLargestNumber), 9, 2);
    if (field.size() >= 3 && field.compare(field.size() - 2, 2, "00") == 0 &&
        field[field.size() - 3] == '.')
        field.back() = ' ';
    return field;
}

// One blank between the fields keeps two full fields apart.
void writeNumbers(std::initializer_list<float> values, std::string_view op) {
    std::string line;
    for (float v : values)
        line += numberField(v) + ' ';
    line += op;
    PsWriteToken(line);
}

bool writtenDiffers() {
    const PsOutputState& s = psOutputState();
    return !(s.current == s.written);
}

void writeColour(const PsColour& c) {
    PsWriteTriple(c.red, c.green, c.blue, "g");
}

// The vertical scale that makes a circle of the graphics area round on the
// page.
float arcScale() {
    const GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    const float w = static_cast<float>(o[hc::PageWidth]), h = static_cast<float>(o[hc::PageHeight]);
    const float area = g.areaSpanY != 0 ? g.areaSpanX / g.areaSpanY : 1.0f;
    const float page = g.pageRotation % 180 == 0 ? (w != 0 ? h * g.pageAspect / w : 1.0f)
                                                   : (h != 0 ? g.pageAspect * w / h : 1.0f);
    const float r = page * area;
    return r > 0 && std::isfinite(r) ? r : 1.0f;
}

}  // namespace

PsOutputState& psOutputState() {
    static PsOutputState s;
    return s;
}

std::string PsSqueeze(std::string_view text) {
    std::string line;
    bool blank = false;
    for (char c : text.substr(0, std::min(text.size(), kLineLength))) {
        if (c == ' ') {
            blank = true;
            continue;
        }
        if (blank && !line.empty()) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

void PsWriteToken(std::string_view text) {
    WritePlotLine(PsSqueeze(text));
}

void PsFlushLine(std::string_view text) {
    WritePlotLine(text.substr(0, std::min(text.size(), kLineLength)));
}

void PsWriteRealOp(float value, std::string_view op) {
    writeNumbers({value}, op);
}

void PsWritePoint(float x, float y, std::string_view op) {
    const GraphicsState& g = graphicsState();
    writeNumbers({x * g.hardcopyScaleX, y * g.hardcopyScaleY}, op);
}

void PsWritePointRotated(float a, float b, std::string_view op) {
    const GraphicsState& g = graphicsState();
    writeNumbers({a * g.hardcopyScaleY, b * g.hardcopyScaleX}, op);
}

void PsWriteTriple(float a, float b, float c, std::string_view op) {
    writeNumbers({a, b, c}, op);
}

void PsEndPath(int mode) {
    PsOutputState& s = psOutputState();
    if (s.pendingSegments == 0 && mode < 3) return;
    if (writtenDiffers()) {
        s.written = s.current;
        writeColour(s.current);
    }
    if (mode == 3) return;
    PsWriteToken(mode == 1 ? "s" : "cf");
    s.pendingSegments = 0;
}

PsColour PsColourComponents(int value) {
    if (value == -1) return PsColour{};
    int r = 0, g = 0, b = 0;
    ColourNumberComponents(value, r, g, b);
    PsColour c{static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
               static_cast<float>(b) / 255.0f};
    const int handling = hardcopyOptions()[hc::ColourHandling];
    const bool light = c.red > 0.96f && c.green > 0.96f && c.blue > 0.96f;
    const bool dark = c.red < 0.04f && c.green < 0.04f && c.blue < 0.04f;
    if (handling == 1 || (handling == 2 && (light || dark)))
        c = PsColour{1.0f - c.red, 1.0f - c.green, 1.0f - c.blue};
    return c;
}

void PsArc(int request) {
    hardcopyDeviceState().pageDirty = true;
    const DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    const float r = arcScale();
    PsWriteToken("gsave 1.0 " + FixedField(r, 8, 4) + " scale newpath");
    const bool open = g.fillStyle == 0 && g.fillDensity > 2 && request != 13;
    if (!open) PsWritePoint(b.fx[1], b.fy[1] / r, "m");
    const std::string op =
        FixedField(b.fx[3] / kRadian, 8, 1) + " " + FixedField(b.fy[3] / kRadian, 8, 1) + " arc";
    PsWriteTriple(b.fx[1] * g.hardcopyScaleX, b.fy[1] * g.hardcopyScaleY / r,
                  b.fx[2] * g.hardcopyScaleX, op);
    // Set inside gsave, so the written colour stays what it was.
    if (writtenDiffers()) writeColour(psOutputState().current);
    if (request == 13)
        PsWriteToken("cf");
    else
        PsWriteToken(g.fillStyle != 0 || g.fillDensity <= 2 ? "cs" : "s");
    PsWriteToken("grestore");
}

std::string ColourToHex(int red, int green, int blue) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (int c : {red, green, blue}) {
        c = std::clamp(c, 0, 255);
        hex += kDigits[c / 16];
        hex += kDigits[c % 16];
    }
    return hex;
}

DeviceInfo PageDescriptionDevice() {
    return DeviceInfo{.capabilities = "00000111111111100010011011110",
                      .gradientFillAvailable = 0,
                      .trueColour = 1,
                      .styledVadiLines = 2,
                      .textAngleCapability = 360,
                      .lineStyleCount = 8,
                      .deviceTextThreshold = 1.7e38f,
                      .hardcopyColourCount = 256,
                      .hardcopyTextLayout = 0,
                      .hardcopyTextBox = 1};
}

}  // namespace tk
