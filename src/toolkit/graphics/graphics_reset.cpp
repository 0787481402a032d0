// Resetting the whole drawing state, saving and restoring parts of it, and
// starting a new page.

#include <cstddef>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/presentation_plot.h"
#include "toolkit/graphics/text_state.h"

namespace tk {

namespace {

void resetAttributes(GraphicsState& g) {
    g.areaX1 = g.areaY1 = 0.0f;
    g.areaX2 = g.areaY2 = 1.0f;
    g.areaSpanX = g.areaSpanY = 1.0f;
    g.unitsSpanX = g.unitsSpanY = 1.0f;
    g.pageRotation = 0;
    // The text defaults.
    const GraphicsState fresh;
    g.charHeightFraction = fresh.charHeightFraction;
    g.charWidthFraction = fresh.charWidthFraction;
    g.textAngle = g.deviceTextAngle = 0.0f;
    g.dirCos = 1.0f, g.dirSinA = g.dirSinOverA = 0.0f;
    g.textMode = fresh.textMode;
    g.deviceFontKind = fresh.deviceFontKind;
    g.effectiveFontKind = fresh.effectiveFontKind;
    g.textJustification = fresh.textJustification;
    g.textStacking = fresh.textStacking;
    g.strokeFontSelected = fresh.strokeFontSelected;
    g.textSlant = fresh.textSlant;
    g.fontStyle = fresh.fontStyle;
    g.textFontName.assign("");
    g.drawingMode = 0;
    g.colourMode = 1;
    g.previousColourNumber = 0;
    g.colourNumber = 223;
    g.previousRgb = 16777215;
    g.rgb = 0;
    g.lineStyle = 0;
    g.lineWidthScreen = 1;
    g.lineWidthMetafile = 5;
}

void resetHardcopySide(GraphicsState& g, bool keepPageOptions) {
    g.pageOpen = 0;
    if (auto& end = graphicsServices().hardcopyEndOutput) end();
    g.hardcopyDriver = 0;
    if (auto& reset = graphicsServices().hardcopyReset) {
        reset(keepPageOptions && HardcopyDriverNumber() != 0);
        return;
    }
    deviceBlock().value = 0;
    HardcopyDriverRequest(1);
}

}  // namespace

void ResetGraphicsState(std::string_view options) {
    GraphicsState& g = graphicsState();
    resetAttributes(g);
    g.screenOutput = OptionLetterPresent(options, 'H') ? 0 : 1;
    if (g.screenOutput) SendScreenRequest(18);
    GrSelect(WindowTarget, g.graphicsWindow);
    if (g.screenOutput) {
        g.deviceColourCount = g.outputColourCount = g.screenColourCount;
        // The previous colour goes first so that both reach the device in order.
        const int previous = g.colourMode == 1 ? g.previousColourNumber : g.previousRgb;
        const int current = g.colourMode == 1 ? g.colourNumber : g.rgb;
        GrColourN(previous);
        GrColourN(current);
        for (int code : {27, 29, 30, 21})
            SendScreenRequest(code);
    }
    ResetTextState();
    resetHardcopySide(g, OptionLetterPresent(options, 'P'));
    deviceBlock().value = 0;
    GrUnits(0.0f, 0.0f, 1.0f, 1.0f);
    MoveToUnits(0.0f, 0.0f);
    g.fillStyle = 0;
    g.fillOutline = 1;
    g.lineFillScreen = g.lineFillHardcopy = g.textFill = 0;
    g.frameXStart = g.frameYStart = 0.1f;
    g.frameXEnd = g.frameYEnd = 0.9f;
    ResetPresentationPlot();
}

namespace {

struct SavedAttributes {
    int previousColourNumber = 0, previousRgb = 0, previousDeviceColour = 0;
    int colourNumber = 0, rgb = 0, deviceColour = 0;
    int lineStyle = 0, textStacking = 0, fillStyle = 0;
    int fillAngle = 0, fillDensity = 0;
};

struct SavedArea {
    float x1 = 0, y1 = 0, x2 = 1, y2 = 1;
};

SavedAttributes savedAttributes;
SavedArea savedArea;

void saveAttributes(const GraphicsState& g) {
    savedAttributes = {
        g.previousColourNumber, g.previousRgb, g.previousDeviceColour, g.colourNumber, g.rgb,
        g.deviceColour,         g.lineStyle,   g.textStacking,         g.fillStyle,    g.fillAngle,
        g.fillDensity};
}

void restoreAttributes(GraphicsState& g) {
    const SavedAttributes& s = savedAttributes;
    SetCurrentColour(s.previousColourNumber, s.previousRgb, s.previousDeviceColour, 0);
    SetCurrentColour(s.colourNumber, s.rgb, s.deviceColour, 0);
    if (s.lineStyle != g.lineStyle) SetLineStyle(s.lineStyle);
    g.textStacking = s.textStacking;
    g.fillStyle = s.fillStyle;
    g.fillAngle = s.fillAngle;
    g.fillDensity = s.fillDensity;
}

}  // namespace

void SaveRestoreGraphicsState(int mode) {
    GraphicsState& g = graphicsState();
    const float w = static_cast<float>(g.targetWidth), h = static_cast<float>(g.targetHeight);
    switch (mode) {
        case 0:
            saveAttributes(g);
            break;
        case 1:
            restoreAttributes(g);
            break;
        case 2:
        case 4:
            savedArea = {g.areaX1, g.areaY1, g.areaX2, g.areaY2};
            if (mode == 4 && (g.devIX2 < g.targetWidth - 1 || g.devIX1 > 0 || g.devIY1 > 0 ||
                              g.devIY2 < g.targetHeight - 1))
                ApplyGraphicsArea(0.0f, 0.0f, w, h);
            break;
        case 3:
            ApplyGraphicsArea(w * savedArea.x1, h * savedArea.y1, w * savedArea.x2,
                              h * savedArea.y2);
            break;
        default:
            break;
    }
}

void NewGraphicsPage(std::string_view options) {
    std::size_t first = options.find_first_not_of(' ');
    DeviceParameterBlock& block = deviceBlock();
    block.count = 0;
    block.value = first == std::string_view::npos ? ' ' : CharacterCode(options.substr(first));
    SendHardcopyRequest(20);
    if (OptionLetterPresent(options, 'P')) return;
    SaveRestoreGraphicsState(4);
    ClearGraphicsArea();
    SaveRestoreGraphicsState(3);
}

}  // namespace tk
