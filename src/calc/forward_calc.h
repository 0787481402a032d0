#pragma once
// The forward calculation of one profile: the gravity or magnetic anomaly of
// its polygon model at every station, the regional field, the levelling of
// the synthetics against the data and the misfit.

#include "calc/body_terms.h"
#include "calc/station_sums.h"
#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace calc {

// IBODY 0 (or any value beyond the body count) computes all bodies; +k adds
// the anomaly of body k to the synthetics already held, -k subtracts it.
void CALC(model::ProfileLine& PROFILE, int IBODY);

// Root-mean-square misfit of the data against the synthetics into both misfit
// fields; the synthetics become valid and the profile unsaved. The second
// argument is not read.
void CALC_ER(model::ProfileLine& PROFILE, int unused = 0);

// Moves the four closing vertices of every layer far out (+-1.0E15) and marks
// the model's layers as extended.
void EXTENDLAYERS(model::ProfileLine& PROFILE);

// The older twin of CALC: magnetics only for "Magnetics Data      ", and a
// profile direction too close to the strike is turned to the perpendicular of
// the folded strike with a warning.
void RECALC(model::ProfileLine& PROFILE, int IBODY);

// Extends the layers and closes the topography only to a finite distance:
// 1000 times the model's horizontal span (10 times the station span when the
// model has no span), sets the layers-extended flag.
void CNTRCI(model::ProfileLine& PROFILE);

// Difference of two directions in degrees, 0..180.
float AZDIF(float A, float B);

// Signed area of the closed polygon X/Z(1..N) from the cross products of its
// consecutive vertices taken about (X0, Z0); positive counter-clockwise.
float BODCRS(float X0, float Z0, const float* X, const float* Z, int N);

}  // namespace calc
