#pragma once
// Hover and click read-outs of the data graphs: the station under the mouse,
// the profile summary outside every graph, one station's full record, and a
// station test along the distance axis alone.

#include <string>

#include "base/fixed_string.h"
#include "model/profile_line.h"
#include "util/axis_record.h"
#include "views/hit_output.h"

namespace views {

inline constexpr float kStationPickRadius = 0.1f;  // plot inches

// The shell's state the data-graph hover test reads, and the one value it
// keeps between calls.
struct DataGraphHoverState {
    base::FixedString<8> ViewXUnit;
    bool RubberBoxShown = false;
    float AnchorX = 0.0f, AnchorY = 0.0f;  // window units of the rubber box's anchor
    int LastShownPoint = 0;                // station whose read-out stands in parts 3-5
};

// Hover test at (xin, yin) plot inches inside the data graph of `axis`.
void PLINEODOM(float xin, float yin, const model::ProfileLine& profile,
               const util::AxisRecord& axis, int& hitDataPoint, DataGraphHoverState& state,
               HoverOutput& out);

// The status bar while the cursor is in the profile window but in no graph.
void profileSummary(const model::ProfileLine& profile, HoverOutput& out);

// Everything about station i; empty for i <= 0 or beyond the stations.
std::string stationReadout(const model::ProfileLine& profile, int i);
// Shows it in an information box and sets the arrow cursor.
void SHOWPOINTPF(const model::ProfileLine& profile, int i, HoverOutput& out);

// The station whose distance lies nearest to the anchor's x (window units)
// on data graph k, 0 when none is within the pick radius.
void TESTPOINTPLINE(const model::ProfileLine& profile, int k, float anchorX, int& hit,
                    HoverOutput& out);

}  // namespace views
