#pragma once
// The graph package's one working record: the segment clipper, the working
// values of a frame drawing, a saved copy of one axis record's scaling, the
// label buffer, the pens of series plotting and of the cross-hair cursor,
// and the last zoom rectangle.

#include <cstdint>

#include "base/fixed_string.h"

namespace util {

// The scaling fields of an axis record (division lengths, starts, steps,
// offsets, scales, division counts and first decades) as GTODPL saves them.
struct SavedScaling {
    float divLengthX = 0.0f, divLengthY = 0.0f;
    float startX = 0.0f, startY = 0.0f;
    float stepX = 0.0f, stepY = 0.0f;
    float offsetX = 0.0f, offsetY = 0.0f;
    float scaleX = 0.0f, scaleY = 0.0f;
    std::int32_t divCountX = 0, divCountY = 0;
    std::int32_t firstDecadeX = 0, firstDecadeY = 0;
};

struct GraphPackageState {
    // Segment clipper: its window, whether it clips, whether the window is
    // unlimited, and the last point it was given.
    float clipXMin = 0.0f, clipXMax = 0.0f, clipYMin = 0.0f, clipYMax = 0.0f;
    bool clipping = false;
    bool noWindow = false;
    float lastX = 0.0f, lastY = 0.0f;
    bool lastInside = false;

    // Working values of a frame drawing.
    float tickLength = 0.0f;
    float extentLeft = 0.0f, extentRight = 0.0f, extentLabelY = 0.0f;
    bool tickLengthSwitch = false;

    SavedScaling saved;
    base::FixedString<20> label;

    // Series plotting.
    std::int32_t savedPen = 0;
    std::int32_t alternatePen = 0;
    bool alternatePenOn = false;

    // Cross-hair cursor.
    std::int32_t cursorPen = 0;
    float cursorHalfWidth = 0.3f;
    float cursorHalfHeight = 0.3f;

    // Corners of the last zoom rectangle.
    float zoomX1 = 0.0f, zoomY1 = 0.0f, zoomX2 = 0.0f, zoomY2 = 0.0f;
};

GraphPackageState& graphPackageState();
void resetGraphPackageState();

}  // namespace util
