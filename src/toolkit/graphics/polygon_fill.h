#pragma once
// Closed polygons of any number of vertices (outline, hatch or fill) and
// open polylines clipped to the graphics area. Hatching and line fills come
// from a scan-line pass over an edge table, so any polygon, self-intersecting
// ones included, is filled by the even-odd rule.

namespace tk {

void YYPLYGON(const float* x, const float* y, int n, bool deviceUnits);
void PolygonUserUnits(const float* x, const float* y, int n);
void PolylineClipped(const float* x, const float* y, int n, bool deviceUnits);
bool PointInClipRect(float x, float y);
bool PointOnSegmentInClip(float x, float y, float xa, float ya, float xb, float yb);
void LineCoefficients(float xa, float ya, float xb, float yb, float& a, float& b, float& d);

}  // namespace tk
