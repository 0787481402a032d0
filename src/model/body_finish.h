#pragma once
// Turning digitised points into model geometry: appending a finished body or
// layer, and pulling the newest point of an outline back until its edge no
// longer crosses anything.

#include <span>

#include "model/polygon_model.h"

namespace model {

// Appends the n points as a new body (or a layer, closed by four far
// vertices) after every existing body and vertex. The new body gets the
// property, no remanence, no extents, no pivot, area 0 and level 0 (the caller
// recomputes areas and levels). When storage cannot be had the model is left
// as it was and false is returned.
bool BODYFINISH(PolygonModel& model, std::span<const float> x, std::span<const float> z, int n,
                std::span<const bool> freeX, std::span<const bool> freeZ, float property,
                std::span<const int> leaders, bool isLayer);

// The older twin of BODYFINISH for bodies only; does nothing for n <= 0.
bool NOTUSED(PolygonModel& model, std::span<const float> x, std::span<const float> z, int n,
             std::span<const bool> freeX, std::span<const bool> freeZ, float property,
             std::span<const int> leaders);

// Moves the last point of the digitising buffer back towards the point before
// it by bisection until the new edge crosses neither a body edge nor the
// outline itself. `status` is true when the final edge still crosses.
void SHORTENEDGE(const PolygonModel& model, bool& status);

}  // namespace model
