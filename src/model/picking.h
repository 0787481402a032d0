#pragma once
// Deciding which edge, vertex or body the user points at in the model
// section. Ties are broken for the body under the cursor and against locked
// vertices by weighing squared distances with fixed factors.

#include <string_view>

#include "base/fixed_string.h"
#include "model/polygon_model.h"

namespace model {

// Pick tolerances in X and Z and the clamp of all scaled coordinates, set by
// the model view whenever it draws the section.
struct PickSettings {
    float W1 = 0.0f, W2 = 0.0f, W3 = 0.0f;
};
PickSettings& pickSettings();
void SETWNEAR(float w1, float w2, float w3);

// The body edge nearest to (x, z) within the pick tolerance: its body ib and
// first vertex ie (0, 0 when none) and its weighted squared distance; x and z
// become the foot of the perpendicular on it.
void NEARDG(float& x, float& z, int& ib, int& ie, float xscale, float& dist,
            const PolygonModel& model);
// The same measured to edge midpoints.
void NEARCN(float& x, float& z, int& ib, int& ie, float xscale, float& dist,
            const PolygonModel& model);

// The nearest qualifying vertex other than iv (iv when none); dbest is its
// weighted squared distance, 1.0E30 when none. ib > 0 leaves body ib out,
// ib < 0 searches only body -ib, ib = 0 searches all.
int NEARST(float x, float z, int ib, int iv, float xscale, float& dbest, const PolygonModel& model);
// Only vertices that are their own leader.
int NEARSTOWNLEADER(float x, float z, int ib, int iv, float xscale, float& dbest,
                    const PolygonModel& model);
// Leaves out vertices that others follow; free vertices weigh 0.99.
int NEARSTUNFOLLOWED(float x, float z, int ib, int iv, float xscale, float& dbest,
                     const PolygonModel& model);
// Only followers.
int NEARSTFOLLOWER(float x, float z, int ib, int iv, float xscale, float& dbest,
                   const PolygonModel& model);
// Only body ib (nothing when ib <= 0).
int NEARSTINBODY(float x, float z, int ib, int iv, float xscale, float& dbest,
                 const PolygonModel& model);
// Leaves out vertices stacked on iv.
int NEARSTUNSTACKED(float x, float z, int ib, int iv, float xscale, float& dbest,
                    const PolygonModel& model);

// The property of the body at (x, z) as label text with the unit appended;
// "0.0" outside the model outline (value then unchanged).
void BODYPROPERTY(float x, float z, base::FixedString<50>& text, const PolygonModel& model,
                  float& value, std::string_view unit);

}  // namespace model
