#include "toolkit/output/hpgl_commands.h"

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {

constexpr std::size_t kCommandLength = 50;

// Fields are joined with a blank, so two full fields never run together.
std::string fields(std::initializer_list<std::string> values) {
    std::string text;
    for (const std::string& v : values)
        text += " " + v;
    return text;
}

std::string plotterX(float x) {
    return IntegerField(TruncatedInt(graphicsState().hardcopyScaleX * x), 6);
}

std::string plotterY(float y) {
    return IntegerField(TruncatedInt(graphicsState().hardcopyScaleY * y), 6);
}

bool shapeRecordsOn() {
    return hardcopyOptions()[hc::HpglShapeRecords] != 0;
}

// The squeeze without the command length: shape records may run past it and
// are written whole.
std::string squeezeWhole(std::string_view command) {
    std::string line(command.substr(0, std::min<std::size_t>(command.size(), 2)));
    line.resize(2, ' ');
    bool blank = false;
    for (char c : command.substr(std::min<std::size_t>(command.size(), 2))) {
        if (c == ' ') {
            blank = true;
            continue;
        }
        if (blank && line.size() > 2) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

}  // namespace

std::string HpglSqueeze(std::string_view command) {
    return squeezeWhole(command.substr(0, std::min(command.size(), kCommandLength)));
}

void HpglWriteCommand(std::string_view command) {
    WritePlotLine(HpglSqueeze(command));
}

void HpglWriteCommandXY(std::string_view mnemonic, float x, float y) {
    HpglWriteCommand(std::string(mnemonic) + fields({plotterX(x), plotterY(y)}));
}

void HpglWriteLine(std::string_view text) {
    const bool prefix = hardcopyDeviceState().hpglLinePrefix == 1;
    PlotFileWriteLine(kPlotUnit, (prefix ? " LB" : "LB") + std::string(text));
}

void HpglWriteShapePoint(float x, float y) {
    if (shapeRecordsOn()) HpglWriteCommand("SC-9" + fields({plotterX(x), plotterY(y), "0"}));
}

void HpglWriteShapeReals(float first, float second) {
    if (shapeRecordsOn())
        HpglWriteCommand("SC-9" + fields({FixedField(first, 10, 4), FixedField(second, 10, 4), "0"}));
}

std::string HpglShapeRecordText(int kind, bool closing, int first, int second, int third) {
    if (!shapeRecordsOn()) return {};
    std::string record = "SC-" + IntegerField(kind, kind < 10 ? 1 : 2) +
                         fields({IntegerField(first, kind == 1 ? 9 : 6), IntegerField(second, 6),
                                 IntegerField(static_cast<long long>(third) + 32760, 6)});
    if (closing) record += " ;" + std::string(kPlotterScale);
    return squeezeWhole(record);
}

void HpglWriteShapeRecord(int kind, bool closing, int first, int second, int third) {
    const std::string record = HpglShapeRecordText(kind, closing, first, second, third);
    if (!record.empty()) WritePlotLine(record);
}

IsotropicScale HpglIsotropicScale(int q) {
    IsotropicScale s;
    q = std::max(q, 1);
    if (q > 32760) {
        const int quotient = static_cast<int>(1073217600LL / q);
        s.command = "SC0 " + IntegerField(quotient, 5) + " 0 32760";
        s.centreX = static_cast<float>(quotient) / 32760.0f;
        s.radius = 32760.0f / static_cast<float>(q);
    } else {
        s.command = "SC0 32760 0 " + IntegerField(q, 5);
        s.centreY = static_cast<float>(q) / 32760.0f;
    }
    return s;
}

int HpglAxisRatio(float ratio) {
    const GraphicsState& g = graphicsState();
    const double w = g.areaSpanX, h = g.areaSpanY, aspect = g.pageAspect;
    const double q = g.pageRotation % 180 == 0 ? 32760.0 * h / (w * aspect * ratio)
                                               : h * aspect * 32760.0 * ratio / w;
    return TruncatedInt(q);
}

void HpglArc(int request, std::string_view restore, std::string_view arcPenDown,
             std::string_view beforeScale) {
    const DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    const bool open = g.fillStyle == 0 && g.fillDensity > 2 && request != 13;
    if (!open) HpglWriteCommandXY("PU", b.fx[1], b.fy[1]);
    if (!beforeScale.empty()) WritePlotLine(beforeScale);
    const IsotropicScale scale = HpglIsotropicScale(HpglAxisRatio());
    HpglWriteCommand(scale.command);
    const float cx = b.fx[1] * scale.centreX * g.hardcopyScaleX;
    const float cy = b.fy[1] * scale.centreY * g.hardcopyScaleY;
    const float r = b.fx[2] * scale.radius * g.hardcopyScaleX;
    HardcopyDeviceState& d = hardcopyDeviceState();
    if (!open) {
        HpglWriteCommand(std::string(request == 13 ? "WG" : "EW") +
                         fields({IntegerField(TruncatedInt(r), 6), FixedField(b.fx[4], 7, 1),
                                 FixedField(b.fy[4], 7, 1)}));
        d.lastPenX = b.fx[1];
        d.lastPenY = b.fy[1];
    } else {
        HpglWriteCommand("PU" + fields({IntegerField(TruncatedInt(cx + r * std::cos(b.fx[3])), 6),
                                        IntegerField(TruncatedInt(cy + r * std::sin(b.fx[3])), 6)}));
        HpglWriteCommand(arcPenDown);
        HpglWriteCommand("AA" + fields({IntegerField(TruncatedInt(cx), 6),
                                        IntegerField(TruncatedInt(cy), 6),
                                        FixedField(b.fy[4], 7, 1)}));
        d.lastPenX = b.fx[1] + b.fx[2] * std::cos(b.fx[3] + b.fy[3]);
        d.lastPenY = b.fy[1] + b.fx[2] * std::sin(b.fx[3] + b.fy[3]);
    }
    HpglWriteCommand(restore);
}

}  // namespace tk
