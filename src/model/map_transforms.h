#pragma once
// The transforms between the map (easting, northing), the profile (distance
// along the line P, offset to its left Q) and the model (X across the strike
// from the baseline, Y along it). MAPSET derives them from one model; the
// point routines then apply the set that was derived last.

#include <array>
#include <span>

#include "model/polygon_model.h"

namespace model {

// A 2x3 affine matrix in column order: x' = A1 x + A3 y + A5, y' = A2 x + A4 y + A6.
using Affine = std::array<float, 6>;
// A one-dimensional pair: v' = scale v + offset.
using Linear1 = std::array<float, 2>;

struct MapTransforms {
    Affine mapToModel{};
    Affine modelToMap{};
    Affine mapToProfile{};
    Affine profileToMap{};
    Affine modelToProfile{};
    Affine profileToModel{};
    Linear1 modelXToProfileP{};
    Linear1 profilePToModelX{};
};

MapTransforms& mapTransforms();
void resetMapTransforms();

// A strike closer to the profile direction than this cosine of its deviation
// from the perpendicular cannot be projected: the model would collapse.
inline constexpr float kParallelStrikeCosine = 1.0E-3f;

// Cosine of the deviation of the folded strike from the perpendicular of the
// profile; the factor that shortens profile distances into model X.
float strikeDeviationCosine(const ModelHeader& model);

// Rebuilds every transform from the model's geometry. A strike (nearly)
// parallel to the profile is refused: the transforms are left unchanged and
// false is returned, so no caller goes on with a division by almost zero.
bool MAPSET(const ModelHeader& model);

void MAPBLD(float xp, float yp, float x0, float y0, float angle, Affine& a);
void MAPG2M(float e, float n, float& x, float& y);
void MAPM2G(float x, float y, float& e, float& n);
void MAPG2P(float e, float n, float& p, float& q);
void MAPP2G(float p, float q, float& e, float& n);
void MAPM2P(float x, float y, float& p, float& q);
void MAPP2M(float p, float q, float& x, float& y);
void PRJP2M(float p, float& x);
void PRJM2P(float x, float& p);
void MAPPNT(const Affine& a, float x, float y, float& xo, float& yo);
void MAPVEC(const Affine& a, float x, float y, float& xo, float& yo);
// C := A after B.
void MAPCMP(const Affine& a, const Affine& b, Affine& c);

// Cumulative distance along the stations: D(1) = 0, then each step adds the
// straight distance to the previous station.
void PDISTGEN(std::span<const float> e, std::span<const float> n, std::span<float> d, int nsta);

}  // namespace model
