#pragma once
// The pen plotter: a page of 10 x 8 plot units over the toolkit graphics,
// with a movable origin, a scale factor, 16 numbered pens, exclusive-or and
// erase modes and filled areas. Every drawing of the views and of the graph
// package goes through it, so the same calls reach the screen and hardcopy.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "util/axis_record.h"

namespace util {

struct PlotterState {
    float originX = 0.0f, originY = 0.0f;  // added to every coordinate before the factor
    float factorX = 1.0f, factorY = 1.0f;
    float lastX = 0.0f, lastY = 0.0f;  // last point moved or drawn to, page units
    std::int32_t currentPen = 15;
    bool palettePending = true;
    bool eraseMode = false;
    bool xorMode = false;
    bool savedXorMode = false;
    float pixelScaleX = 0.0f, pixelScaleY = 0.0f;
    bool pixelScaleOn = false;
    float boxValue = 0.0f;  // marker size factor of the graph package; 0 = not set
    float penWidth1 = 0.0f, penWidth2 = 0.0f;
};

PlotterState& plotterState();
void resetPlotterState();

// What the plotter needs of the hardcopy output, which lives above the
// graphics: starting output with a file name and a title. Unbound = nothing.
struct PlotterServices {
    std::function<void(std::string_view name, std::string_view title)> hardcopySwitch;
};
PlotterServices& plotterServices();

// The pen: 3 move, 2 draw, 1 or 16 initialise the page (X > 0: palette and a
// white window; Y > 0: reset for hardcopy and start it); a negative code
// first makes (X, Y) the origin, reported in ORIG.
void PLOTXY(float x, float y, std::int32_t ipen, float& origX, float& origY);
// The views pass the graph's axis record, whose first two words are its origin.
void PLOTXY(float x, float y, std::int32_t ipen, AxisRecord& orig);
void PLOTXY(float x, float y, std::int32_t ipen);
void PLOTFACTOR(float fx, float fy);
// Draws on through each point of X/Y in turn, as PLOTXY with pen 2 at each:
// a curve hands over a run of points in one call.
void drawThrough(std::span<const float> x, std::span<const float> y);

// While a PenRun lives, the pen's connected draws are gathered and handed to
// the toolkit as one polyline per run (at the next move, pen or mode change,
// fill, or when the outermost PenRun ends), which the screen draws far faster
// than the same run line by line. Open one around loops of plotter calls that
// make no toolkit drawing calls of their own in between.
class PenRun {
public:
    PenRun();
    ~PenRun();
    PenRun(const PenRun&) = delete;
    PenRun& operator=(const PenRun&) = delete;
};
void GETPEN(std::int32_t& ipen);
void SETPEN(std::int32_t ipen);
// The pen that reads on white paper in place of PEN: a light pen of the
// palette (yellow, cyan) gives way to the darker pen of its hue; every
// other pen is itself.
std::int32_t PaperPen(std::int32_t pen);
void PLOTDUMMY1();
void PLOTDUMMY2();

void PLOTFILLRECT(float x1, float y1, float x2, float y2, float w, std::int32_t icol);
// Converts X/Y(1:N) in place to page units, then fills them.
void PLOTFILLPOLY(std::span<float> x, std::span<float> y, int n, std::int32_t icol);
void PLOTFILLTRIANGLE(float x1, float y1, float x2, float y2, float x3, float y3,
                      std::int32_t icol);
void PLOTERASERECT(float x1, float y1, float x2, float y2, float w);

void ERASEON();
void ERASEOFF();
void XORON();
void XOROFF();
void SAVEXOR();
void RESTOREXOR();
bool L_XOR();
bool L_ERASE();
void SET_BOX(float v);
float GET_BOX();
// The last point relative to the origin; F := 1.
void WHERE(float& x, float& y, float& f);
float PENWTH();
bool LRASTR();
bool LINTERACTER();

// Pixels.
void SET_SCL(float sx, float sy);
void IPIXXY(float x, float y, int& px, int& py);
void XYIPIX(float& x, float& y, int px, int py);
void IPIXXY2(float x, float y, int& px, int& py);
void FILSCR(int px1, int py1, int px2, int py2, std::int32_t icol, bool lxor);

// The page point of a plot point (origin, then factor).
void pageOf(float x, float y, float& px, float& py);
// Window units (0..10000, y down) to plot units of the page.
float plotXOfWindow(int mx);
float plotYOfWindow(int my);

}  // namespace util
