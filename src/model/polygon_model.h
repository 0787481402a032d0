#pragma once
// The 2.5-D polygon model beneath one profile: bodies and layers sharing one
// vertex list, their properties, the topography and the geometry tying the
// model to the profile and the map. Every array is owned by the record, so a
// copy is always deep.

#include <array>
#include <cstdint>

#include "model/model_array.h"

namespace model {

inline constexpr float kNotSet = 1.0E20f;   // pivot or value not set
inline constexpr float kFarAway = 1.0E16f;  // closing points of outlines

// The 128-byte head of the model, as the database file stores it. Reserved
// words are carried exactly as held.
struct ModelHeader {
    std::int32_t NBOD = 0;   // bodies 1..NBOD in use
    std::int32_t NTOPO = 0;  // topography points 1..NTOPO in use
    std::int32_t NVCAP = 0;  // vertex capacity the arrays were created for
    std::int32_t NBCAP = 0;  // body capacity the arrays were created for
    std::uint32_t reserved16 = 0;
    float DBKG = 0.0f;   // background property
    float BKRAT = 0.0f;  // background remanence K-ratio
    float BKINC = 0.0f;  // background remanence inclination
    float BKDEC = 0.0f;  // background remanence declination
    float BKXT1 = 0.0f;  // background strike extents, carried only
    float BKXT2 = 0.0f;
    std::array<std::uint32_t, 2> reserved44{};
    bool LEXTND = false;          // layers extended to the far closing positions
    std::array<float, 4> SGEO{};  // values of the sibling product, carried
    std::array<std::uint32_t, 2> reserved72{};
    float AZIM = 0.0f;     // profile direction, degrees clockwise from true north
    float TIEPRF = 0.0f;   // tie point along the profile
    float DECREF = 0.0f;   // strike as last folded by the calculation
    float TIEEAS = 0.0f;   // tie point easting
    float TIENOR = 0.0f;   // tie point northing
    float STRIKE = 0.0f;   // strike of the bodies, degrees clockwise from true north
    float BASELN = 0.0f;   // profile coordinate of the model baseline
    float GRIDROT = 0.0f;  // grid north relative to true north, degrees
    std::array<std::uint32_t, 2> reserved112{};
    std::int32_t ICOORD = 0;  // 2 or more: east/north place the stations
    std::uint32_t reserved124 = 0;

    bool operator==(const ModelHeader&) const = default;
};

struct PolygonModel : ModelHeader {
    // A word kept in memory after the head; copied with the model, never filed.
    std::uint32_t trailingWord = 0;

    RealArray XTOPO, ZTOPO;            // NTOPO + 4
    RealArray XPIVOT, ZPIVOT;          // per body; kNotSet = no pivot
    RealArray DENS, REMS, DIPS, DECS;  // per body
    RealArray XVRT, ZVRT;              // per vertex
    RealArray XTENT1, XTENT2, AREAS;   // per body
    IntArray IV1, IV2, ILEVL, INCLBD;  // per body
    IntArray IPOINT;                   // per vertex: leader, itself when free
    LogicalArray LAYER;                // per body
    Array<Logical, 0> LVFIX;           // 0..NBOD, entry 0 the background
    LogicalArray LXFIX, LZFIX;         // per vertex
    LogicalArray LHIDE;                // per body: hidden by the shell

    // Number of vertices in use: IV2(NBOD), 0 without bodies.
    int vertexCount() const;

    bool operator==(const PolygonModel&) const = default;
};

// Allocates every array for nv vertices and nb bodies (topography for NTOPO + 4
// points, keeping the surface points it already holds) and presets the closing
// points, pivots and hidden flags. Counts and capacities are not changed. On an
// allocation failure the model is left empty (NBOD = 0, body and vertex arrays
// released) and false is returned.
bool ALLOCPG(PolygonModel& model, int nv, int nb);

// Sets the four points after the NTOPO surface points that close the
// topography polygon: far to the right at the last point's height, far down
// on both sides, far to the left at the first point's height. The arrays
// must hold NTOPO + 4 points.
void closeTopography(PolygonModel& model);

// Releases every body and vertex array; the topography stays.
void DEALLOCPG(PolygonModel& model);

// Makes dest a copy of src's head and bodies (the topography is the caller's).
void COPYPG(PolygonModel& dest, const PolygonModel& src);

// Resizes the five vertex arrays after body ib's run changed length: the
// vertices before the body keep their places, those after it follow the new
// ranges. oldEnd is the body's old last vertex, oldTotal the old vertex count.
bool REALLOCPG(PolygonModel& model, int ib, int oldEnd, int oldTotal);

// Resizes the five vertex arrays to n entries keeping the first
// min(n, vertex capacity) of them.
void POLYGON_SIZE(int n, PolygonModel& model);

}  // namespace model
