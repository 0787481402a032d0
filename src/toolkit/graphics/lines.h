#pragma once
// Every straight line ends here: one segment in device units, clipped to the
// graphics area and sent to both device sides; and the attributes that decide
// how lines look (style, widths, drawing mode), plus clearing the area.

#include <optional>

namespace tk {

void DrawLineUnits(float x1, float y1, float x2, float y2);
void DrawLineDevice(float x1, float y1, float x2, float y2);
// The connected segments through X/Y(1:N) in user units, leaving the current
// point at the last. Solid lines drawn without exclusive-or go as polyline
// requests, which the screen covers with exactly the pixels of the separate
// segments at a fraction of the cost; dashed or exclusive-or lines go segment
// by segment, because a polyline carries its dash pattern across corners and
// inverts a shared corner once instead of twice.
void DrawConnectedLinesUnits(const float* x, const float* y, int n);
void ClipSegment(float& x1, float& y1, float& x2, float& y2, bool& visible);
void SetLineStyle(std::optional<int> style = {});
void SetLineThickness(std::optional<int> screen, std::optional<int> hardcopy = {},
                      std::optional<int> metafile = {});
void SetPlotModeLetter(std::optional<char> letter = {});
void ApplyPlotMode(std::optional<int> mode = {});
void ClearGraphicsArea();

}  // namespace tk
