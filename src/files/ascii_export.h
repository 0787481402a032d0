#pragma once
// The stations of a profile as a flat fixed-width text file: distance,
// coordinates, the observed data or the synthetics (optionally with noise),
// topography and sensor elevation.

#include <cstdint>
#include <string_view>

#include "model/profile_line.h"

namespace files {

// Seed of the export's noise generator: 0 at start-up, then carried on.
std::int16_t& exportNoiseSeed();

// The model's topography height under station I; a station beyond the
// topography points has none and gets 0.0.
float stationTopography(const model::ProfileLine& profile, int i);

// Stations whose coordinates and chosen values the arrays hold (at most NSTA).
int stationsWritten(const model::ProfileLine& profile, bool synthetics);

// Whether the profile's synthetics are valid (calculated for the model and
// stations as they stand); when not, says so. Every export of synthetics
// asks this first.
bool syntheticsAvailable(const model::ProfileLine& profile);

// Writes the profile; SYNTHETICS chooses the synthetics with NOISE percent of
// relative noise (nothing, after the message, when they are not valid), else
// the data. A blank name asks for one. The profile's
// unit texts are cleaned of non-printing characters.
void ASCIIOUT(model::ProfileLine& profile, float noise, std::string_view fileName, bool synthetics);

}  // namespace files
