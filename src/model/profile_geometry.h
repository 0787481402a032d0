#pragma once
// Small operations on a profile: its direction, strike and tie point from
// the stations, deleting a station, and turning synthetics into data.

#include <cstdint>

#include "model/profile_line.h"

namespace model {

// Direction from the first to the last station, strike perpendicular to it
// and the tie point at station 1; the profile becomes unsaved with invalid
// synthetics. Nothing happens without stations.
void SETGEOMETRY(ProfileLine& profile);

// Removes station ista from every station array (synthetics and regional
// included, which are then no longer valid); ista is 0 on return.
void DELETEPOINT(ProfileLine& profile, int& ista);

// Observed data := synthetics scattered by pct per cent of Gaussian noise;
// two deviates are drawn per station whatever the component count.
void XFER(ProfileLine& profile, float pct);

// The noise seed kept between transfers for the whole run.
std::int16_t& xferSeed();

}  // namespace model
