#pragma once
// Which body lies inside which: nesting levels and parents, the body under a
// point, the body owning a vertex and a vertex's neighbours in its body.

#include <span>
#include <utility>
#include <vector>

#include "model/polygon_model.h"
#include "util/plane_geometry.h"

namespace model {

struct ProfileLine;

// The body containing (x, z), deepest level first and, within a level, the
// lowest number; 0 inside the model outline but in no body; -1 outside the
// outline or without topography.
int ICRBOD(float x, float z, const PolygonModel& model);

// The body ICRBOD finds at (x, z), or 0 when no body holds the point.
int bodyAt(float x, float z, const PolygonModel& model);

// ICRBOD's answer outside every body (0 under the topography, -1 above it or
// without one) for the points of one row z, each point in a few steps: the
// row's crossings with the topography are found once. Points within a hair of
// the surface are decided by the full winding test, so every answer is
// ICRBOD's own.
class SurfaceRow {
  public:
    SurfaceRow(const PolygonModel& model, float z);
    int regionAt(float x) const;

  private:
    friend class SurfaceRows;
    struct Crossing {
        float x;
        int dir;
    };
    // Empty, for the surface's pieces to be met one by one and then finished.
    SurfaceRow(const PolygonModel& model, float z, bool exactOnly);
    void meet(float x0, float z0, float x1, float z1);
    void finish();

    const PolygonModel& model_;
    float z_;
    bool exactOnly_ = false;            // a NaN in the surface: always the full test
    std::vector<Crossing> found_;       // while meeting the pieces
    std::vector<std::pair<float, float>> touches_;
    std::vector<float> crossings_;      // sorted
    std::vector<int> windingRight_;     // crossing directions summed from k to the end
    std::vector<float> touchLo_, touchHi_;  // where the surface meets the row, sorted by lo
};

// The SurfaceRow of each height of a grid, from one pass over the surface:
// each piece of it goes to the rows within its heights alone, so a long
// surface costs a grid of many rows no more than one row.
class SurfaceRows {
  public:
    SurfaceRows(const PolygonModel& model, std::span<const float> z);
    const SurfaceRow& operator[](std::size_t j) const { return rows_[j]; }

  private:
    std::vector<SurfaceRow> rows_;
};

// The box of body b as the winding tests see it: a point beyond it is
// outside the body.
util::PolygonBox bodyBox(const PolygonModel& model, int b);

// Recomputes every body's level (1 + the bodies enclosing it) and then every
// parent (the enclosing body of highest level, the highest-numbered among
// equals), so the result does not depend on levels left from earlier edits.
// changed is true when a parent changed.
void BOLEVL(PolygonModel& model, bool& changed);

// Winding tests of the whole model (the nesting, the legality checks) are
// shared out over the threads when each thread gets at least this many
// vertex-to-edge angles: fewer cost less than waking a helper.
inline constexpr long kAnglesPerThread = 2000;

// The body whose range holds vertex iv and iv's position in it; both 0 when
// no body holds it.
void FINDIB(int iv, int& iloc, int& ib, const PolygonModel& model);

// The vertices before and after iv in its body, cyclically. ib is iv's body;
// it is looked up when it does not hold iv.
void CNRDEF(int& iprev, int iv, int& inext, int& ib, const PolygonModel& model);

// Plotting extents of a profile: the station span across, and the elevations
// of the topography, the station eastings and the body vertices (a layer's
// closing vertices left out) up and down.
struct ProfileExtents {
    float xmin = 0, xmax = 0, zmin = 0, zmax = 0;
};
ProfileExtents NAREA(const ProfileLine& profile);

}  // namespace model
