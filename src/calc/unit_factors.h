#pragma once
// Length-unit factors and vectors from length, inclination and declination.

#include "base/fixed_string.h"
#include "model/strike_fold.h"

namespace calc {

// The strike fold lives with the coordinate transforms, which need it too.
using model::STRK180;

// Kilometres per unit of the 8-character unit name, which is cleaned, set to
// "M" when blank and upper-cased in place. An unknown name shows
// "INVALID UNIT IN FCTFND" and gives 0.0.
float FCTFND(base::FixedString<8>& unit);

// Components of the vector of length A, inclination I and declination D
// (degrees): X = A cos I sin D, Y = A cos I cos D, Z = A sin I.
void RES3D(const float& A, const float& I, const float& D, double& X, double& Y, double& Z);

}  // namespace calc
