#pragma once
// Folding a strike by half-turns towards the perpendicular of the profile.
// The coordinate transforms, the forward calculation and the map view all use
// the same fold.

namespace model {

// Degrees per radian used by every angle conversion of the model and the
// calculation.
inline constexpr float kDegreesPerRadian = 57.296f;

// RESULT := STRIKE turned by whole steps of 180 degrees until it lies within
// 150 degrees of the perpendicular to AZIM (or within 30 of it). An infinite
// strike is left as it is.
void STRK180(const float& strike, const float& azim, float& result);

}  // namespace model
