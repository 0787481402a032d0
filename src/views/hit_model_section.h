#pragma once
// What lies under the mouse in the model section: the hover test that finds
// the vertex, pivot, edge and region and fills the status bar, and the click
// read-out of one vertex.

#include <string>

#include "base/fixed_string.h"
#include "model/polygon_model.h"
#include "util/axis_record.h"
#include "views/hit_output.h"

namespace views {

// Hit fields of the pointer state written by the model-section hover test.
struct ModelHits {
    int HitBody = 0;
    int HitVertex = 0;
    int HitVertexBase = 0;
    int HitEdgeBody = 0;
    int HitEdgeVertex = 0;
    int HitRegion = 0;
    int HitPivot = 0;
    float PopupProperty = 0.0f;
};

// The shell's view state the hover test reads.
struct SectionHoverState {
    base::FixedString<6> PropertyLabel;
    base::FixedString<8> ViewXUnit;
    base::FixedString<8> ViewZUnit;
    float SectionUnitsPerInchX = 1.0f;
    float SectionUnitsPerInchY = 1.0f;
    bool LVIEWPIVOT = false;
    bool DragVertex = false;
    bool DragEdge = false;
    bool DragBody = false;
    bool DragPivot = false;
};

inline constexpr float kVertexPickRadius = 0.075f;  // plot inches
inline constexpr float kPropertyDisplayLimit = 1.0E10f;
inline constexpr float kNoProperty = 1.0E20f;

// Hover test at (x, y) in window units over the model graph of `axis`.
void PMODELODOM(float x, float y, const model::PolygonModel& model, const util::AxisRecord& axis,
                ModelHits& hits, const SectionHoverState& state, HoverOutput& out);

// Builds the click read-out of vertex `vertex` of body `body` (`base` its
// body's first vertex minus 1); empty when there is nothing to show. A leader
// link below 1 is repaired to the vertex itself.
std::string vertexReadout(model::PolygonModel& model, int body, int vertex, int base,
                          bool magnetic);
// Shows that read-out in an information box and sets the arrow cursor.
void SHOWPOINTPG(model::PolygonModel& model, int body, int vertex, int base, bool magnetic,
                 HoverOutput& out);

}  // namespace views
