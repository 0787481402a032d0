#pragma once
// Length-unit factors, the folding of the strike towards the perpendicular of
// the profile, and vectors from length, inclination and declination.

#include "base/fixed_string.h"

namespace calc {

// Angles are turned into radians with this divisor everywhere in the
// calculation and the coordinate transforms.
inline constexpr float kDegreesPerRadian = 57.296f;

// Kilometres per unit of the 8-character unit name, which is cleaned, set to
// "M" when blank and upper-cased in place. An unknown name shows
// "INVALID UNIT IN FCTFND" and gives 0.0.
float FCTFND(base::FixedString<8>& unit);

// Folds STRIKE by half-turns towards the direction perpendicular to a profile
// of azimuth AZIM (degrees).
void STRK180(const float& strike, const float& azim, float& result);

// Components of the vector of length A, inclination I and declination D
// (degrees): X = A cos I sin D, Y = A cos I cos D, Z = A sin I.
void RES3D(const float& A, const float& I, const float& D, double& X, double& Y, double& Z);

}  // namespace calc
