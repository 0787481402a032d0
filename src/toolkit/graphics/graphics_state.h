#pragma once
// The one drawing state shared by every graphics routine and every driver,
// and the operations that tie its three coordinate systems together: user
// units (what the application draws in), area fractions of the drawing
// target, and device units (the target's pixels as reals, origin at the
// lower-left corner, y up).

#include <string_view>

#include "base/fixed_string.h"
#include "toolkit/graphics/device_protocol.h"

namespace tk {

struct GraphicsState {
    // Position and user units.
    float currentX = 0, currentY = 0;
    float unitsX1 = 0, unitsY1 = 0, unitsX2 = 1, unitsY2 = 1;
    float unitsSpanX = 1, unitsSpanY = 1;
    float appUnitsSpanX = 1, appUnitsSpanY = 1;

    // Graphics area.
    float areaX1 = 0, areaY1 = 0, areaX2 = 1, areaY2 = 1;
    float areaSpanX = 1, areaSpanY = 1;
    int keepingUnits = 0;
    float devX1 = 0, devY1 = 0, devX2 = 0, devY2 = 0;
    float devSpanX = 0, devSpanY = 0;
    float clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;
    int devIX1 = 0, devIY1 = 0, devIX2 = 0, devIY2 = 0;
    int devIWidth = 0, devIHeight = 0;

    // Target geometry and page orientation.
    int targetWidth = 0, targetHeight = 0;
    float plotExtentX = 0, plotExtentY = 0;
    int pageRotation = 0;
    float rotPlotExtentX = 0, rotPlotExtentY = 0;
    float rotDevSpanX = 0, rotDevSpanY = 0;
    float hardcopyScaleX = 1, hardcopyScaleY = 1;
    float rotHardcopyScaleX = 1, rotHardcopyScaleY = 1;
    float aspectRatio = 1.32f;
    float pageAspect = 1.32f;
    int temporaryWindowSwitch = 0;

    // Colours (1 palette mode: colour numbers; 2 RGB mode: packed RGB).
    int colourMode = 1;
    int previousColourNumber = 0, colourNumber = 223;
    int previousRgb = 16777215, rgb = 0;
    int previousDeviceColour = 0, deviceColour = 0;
    int screenColourCount = 256, deviceColourCount = 256, outputColourCount = 256;

    // Line attributes.
    int lineStyle = 0;
    int lineWidthScreen = 1;
    int lineWidthMetafile = 5;
    int drawingMode = 0;  // 0 copy, 1 OR, 2 AND, 3 exclusive-or

    // Fill pattern and the line-fill answers of the drivers.
    int fillStyle = 0;
    int fillOutline = 1;
    int fillDensity = 0;  // 1 coarsest .. 5 finest; 0 until first set
    int fillAngle = 0;    // 1 rising, 2 falling, 3 horizontal, 4 vertical
    int lineFillScreen = 0, lineFillHardcopy = 0;
    float lineFillSpacing = 100.0f;
    int textFill = 0;

    // Text state.
    int textMode = 0;
    int deviceFontKind = 1;
    int effectiveFontKind = 1;
    int fontStyle = 0;
    int textJustification = 1;
    int textStacking = 0;
    int strokeFontSelected = 0;
    float textSlant = 0;
    float charHeightFraction = 0.04f;
    float charWidthFraction = 0.01333333f;
    float textAngle = 0;
    float deviceTextAngle = 0;
    base::FixedString<100> textFontName;
    float charScaleX = 1, charScaleY = 1;
    float dirCos = 1, dirSinA = 0, dirSinOverA = 0;
    float advanceX = 0, advanceY = 0;
    float heightX = 0, heightY = 0;
    // The size tests of the text rendering choice, per side (0 screen, 1 hardcopy).
    int textSizeCheck[2] = {1, 1};
    int textSpare = 2;  // stored by SetTextAttributes, read by nothing

    // Presentation-graphics frame inside the graphics area.
    float frameXStart = 0.1f, frameYStart = 0.1f, frameXEnd = 0.9f, frameYEnd = 0.9f;

    // Drawing target.
    int targetType = 1;
    int targetId = 0;
    int targetDialog = 0;
    int memoryCgmTarget = 0;
    int screenOutput = 1;
    int hardcopyDriver = 0;  // the driver number while hardcopy output is on, else 0
    int pageOpen = 0;

    // The window recorded as graphics output window and its client size.
    int graphicsWindow = 0;
    int graphicsWindowWidth = 0, graphicsWindowHeight = 0;

    void reset() { *this = GraphicsState{}; }
};

GraphicsState& graphicsState();

void GrArea(float x1, float y1, float x2, float y2);
void GrUnits(float x1, float y1, float x2, float y2);
void ApplyGraphicsArea(float x1, float y1, float x2, float y2);
void SetAreaKeepingUnits(float x1, float y1, float x2, float y2);
void SetPlotFrameFractions(float xStart, float yStart, float xEnd, float yEnd);

void WorldToDevice(float x, float y, float& dx, float& dy);
// The same with the state at hand, inline: a curve maps thousands of points.
inline void WorldToDevice(const GraphicsState& g, float x, float y, float& dx, float& dy) {
    const float sx = g.devSpanX, sy = g.devSpanY, ux = g.unitsSpanX, uy = g.unitsSpanY;
    switch (g.pageRotation) {
        case 0:
            dx = g.devX1 + (x - g.unitsX1) * sx / ux;
            dy = g.devY1 + (y - g.unitsY1) * sy / uy;
            break;
        case 90:
            dx = g.devX2 - (y - g.unitsY1) * sx / uy;
            dy = g.devY1 + (x - g.unitsX1) * sy / ux;
            break;
        case 180:
            dx = g.devX2 - (x - g.unitsX1) * sx / ux;
            dy = g.devY2 - (y - g.unitsY1) * sy / uy;
            break;
        case 270:
            dx = g.devX1 + (y - g.unitsY1) * sx / uy;
            dy = g.devY2 - (x - g.unitsX1) * sy / ux;
            break;
        default:
            break;
    }
}
// Whether a device point lies in the clipping rectangle of the state.
inline bool InClipRect(const GraphicsState& g, float x, float y) {
    return g.clipX1 <= x && x <= g.clipX2 && g.clipY1 <= y && y <= g.clipY2;
}
void DeviceToWorld(float dx, float dy, float& x, float& y);
void WorldToPixels(float x, float y, int& px, int& py);
void PixelsToWorld(int px, int py, float& x, float& y);
void WindowPixelsToWorld(float px, float py, float& x, float& y, int window);

void MoveToUnits(float x, float y);
void MoveByUnits(float dx, float dy);
void LineToUnits(float x, float y);
void LineByUnits(float dx, float dy);
void LineBetweenUnits(float x1, float y1, float x2, float y2);
void LineFromByUnits(float x, float y, float dx, float dy);

void GraphicsTargetResized(int targetType, int targetId, int width, int height);
void ApplyPageOrientation();
void PageAspectRatio();

float GraphicsInfoReal(int code);
int GraphicsInfoValue(int code);

void ResetGraphicsState(std::string_view options = {});
void SaveRestoreGraphicsState(int mode);
void NewGraphicsPage(std::string_view options = {});
bool OptionLetterPresent(std::string_view options, char letter);
int CharacterCode(std::string_view text);

}  // namespace tk
