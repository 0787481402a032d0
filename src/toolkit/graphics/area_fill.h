#pragma once
// Closed areas: each shape goes to the devices as a filled-primitive request
// when the fill style asks for a solid or half-tone fill, and is otherwise
// drawn by the toolkit as an outline and hatch lines. What every area shape
// shares lives here, with the rectangle itself.

#include <functional>
#include <optional>

namespace tk {

// Hatch line layout of one pass (1 screen side, 2 hardcopy side).
struct HatchLayout {
    float spacingX = 0, spacingY = 0;
    int gridX = 0, gridY = 0;
    float inset = 0;         // hatch lines stay this far inside the border
    bool alternate = false;  // consecutive lines in opposite directions
};

// Draws hatch lines one after another from (ax, ay) to (bx, by), or, when
// alternating, reversed before every line (so the first runs from b to a).
struct HatchLineRun {
    bool alternate = false;
    bool forward = false;
    void operator()(float ax, float ay, float bx, float by);
};

void SetFillPattern(int style, std::optional<int> density = {}, std::optional<int> angle = {});
void GrRectangle(float x1, float y1, float x2, float y2);
void RectangleRelative(float width, float height);
void RectangleInDeviceUnits(float x1, float y1, float x2, float y2);

HatchLayout HatchSpacing(int pass, int density);
void HalftoneRequestCode(int solidCode, int& code);
void SecondColourPass(int pass, int& step);
void RectangleOutline(float x1, float y1, float x2, float y2);
float EdgeXAtY(float xa, float ya, float xb, float yb, float y);
float EdgeYAtX(float xa, float ya, float xb, float yb, float x);
void SwapReals(float& a, float& b);
// First grid line at or below v: g x (v div g), one g less when above v.
int GridStart(int v, int g);

// The course every filled shape follows: the screen request for solid and
// half-tone fills, the hardcopy begin and end requests, and the two passes
// (1 screen, 2 hardcopy) in which `drawPass` draws the outline (when asked)
// and the hatch lines of `style` (1 or 2) and `angle`; for the line fill of a
// device that cannot fill, style 1 and angle 3.
struct ShapeCourse {
    int halftoneCode = 0;  // odd screen code, also the hardcopy code
    int solidCode = 0;
    int beginValue = 1;
    std::function<void(int pass, bool outline, int style, int angle)> drawPass;
};

void RunShapeCourse(const ShapeCourse& course);

}  // namespace tk
