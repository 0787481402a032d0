#pragma once
// The aliased raster engine: coverage of lines, polygons, ellipses and arcs
// in device pixels, and the painting of that coverage through the binary
// raster operations. Every pixel of one primitive is painted exactly once,
// so exclusive-or drawing done twice restores the surface.

#include <cstdint>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"
#include "platform/win_types.h"

namespace win::gdi {

struct PointD {
    double x = 0;
    double y = 0;
};
struct PointI {
    int x = 0;
    int y = 0;
};

// Where pixels go: a surface, the offset of device (0, 0) in it, and the
// clip (device coordinates, already limited to the surface).
struct RasterTarget {
    Surface* surface = nullptr;
    int ox = 0;
    int oy = 0;
    Region clip;
};

// What a pixel becomes: a colour or a brush pattern, combined with the
// destination through a binary raster operation.
struct Paint {
    enum class Kind { Solid, Pattern, Hatch } kind = Kind::Solid;
    std::uint32_t color = 0;              // surface pixel format
    const Surface* pattern = nullptr;     // Pattern
    std::uint32_t fg = 0, bg = 0xFFFFFF;  // monochrome pattern and hatch colours
    int hatch = 0;
    bool opaqueBackground = true;  // hatch gaps painted with bg
    int orgX = 0, orgY = 0;        // brush origin
    int rop2 = 13;
    // The source colour at device pixel (x, y); false when nothing is painted.
    bool sourceAt(int x, int y, std::uint32_t& out) const;
};

std::uint32_t applyRop2(int rop2, std::uint32_t pen, std::uint32_t dst);
// A ternary raster operation (the high word's low byte of a ROP3 code).
std::uint32_t applyRop3(std::uint32_t rop, std::uint32_t pattern, std::uint32_t src,
                        std::uint32_t dst);

// Pixels x0 .. x1-1 of row y, already inside the clip.
void paintSpan(RasterTarget& target, int y, int x0, int x1, const Paint& paint);
void paintCoverage(RasterTarget& target, const Coverage& coverage, const Paint& paint);
void paintRegion(RasterTarget& target, const Region& region, const Paint& paint);
void paintPixel(RasterTarget& target, int x, int y, const Paint& paint);

// Polygons sampled at integer points: left and top edges in, right and bottom out.
void polygonCoverage(const std::vector<PointD>& points, const std::vector<int>& counts,
                     bool winding, Coverage& out);
// Filled ellipse inside the box [left, right) x [top, bottom).
void ellipseCoverage(int left, int top, int right, int bottom, Coverage& out);
// Outline of that ellipse, `width` pixels thick inside the box.
void ellipseOutline(int left, int top, int right, int bottom, int width, Coverage& out);

// Angles of an arc given by radial points, as the arc routines take them.
struct ArcGeometry {
    int left, top, right, bottom;
    double xStart, yStart, xEnd, yEnd;
    bool clockwise = false;
};
enum class ArcShape { Arc, Pie, Chord };
void arcOutline(const ArcGeometry& arc, ArcShape shape, int width, Coverage& out);
void arcInterior(const ArcGeometry& arc, ArcShape shape, Coverage& out);
// The point of the ellipse boundary on the ray through (x, y).
PointD arcEndPoint(const ArcGeometry& arc, double x, double y);

// A one-pixel line walk from a to b, end pixel excluded. `dashes` (pixels,
// on first) may be empty for a solid line; `phase` carries the pattern across
// segments. Pixels in the "on" parts go to `on`, the others to `off`.
void thinLine(PointI a, PointI b, const std::vector<int>& dashes, int& phase,
              std::vector<PointI>& on, std::vector<PointI>* off);

struct WidePen {
    double width = 1;
    int endCap = 0;              // PS_ENDCAP_*
    int join = 0;                // PS_JOIN_*
    std::vector<double> dashes;  // device pixels, on first; empty = solid
};
// Coverage of a wide polyline (closed when `closed`).
void widePolyline(const std::vector<PointD>& points, bool closed, const WidePen& pen,
                  Coverage& out);
// Pixels x0 .. x1-1 of row y.
struct RowSpan {
    int y = 0;
    int x0 = 0;
    int x1 = 0;
};
// A solid two-pixel pen with round ends and joins along pixel points joined
// by horizontal and vertical steps (box markers, frames, grid lines), the
// common stroke of the plots: the pixels of widePolyline without its scan, row by row and
// left to right, each once; false, leaving `out` empty, for any other pen or
// path. `path` is closed already.
bool twoPixelGridStroke(const std::vector<PointD>& path, const WidePen& pen,
                        std::vector<RowSpan>& out);
// Paints rows of pixels as twoPixelGridStroke gives them, inside the clip.
void paintRowSpans(RasterTarget& target, const std::vector<RowSpan>& rows, const Paint& paint);

}  // namespace win::gdi
