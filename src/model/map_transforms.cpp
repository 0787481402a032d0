#include "model/map_transforms.h"

#include <algorithm>
#include <cmath>

#include "model/strike_fold.h"

namespace model {

MapTransforms& mapTransforms() {
    static MapTransforms t;
    return t;
}

void resetMapTransforms() {
    mapTransforms() = MapTransforms{};
}

namespace {

float deviation(const ModelHeader& m) {
    float folded = 0.0f;
    STRK180(m.STRIKE, m.AZIM, folded);
    return folded - (m.AZIM - 90.0f);
}

}  // namespace

float strikeDeviationCosine(const ModelHeader& m) {
    return std::cos(deviation(m) / kDegreesPerRadian);
}

void MAPBLD(float xp, float yp, float x0, float y0, float angle, Affine& a) {
    const float c = std::cos(angle / kDegreesPerRadian);
    const float s = std::sin(angle / kDegreesPerRadian);
    a = {c, -s, s, c, x0 - xp * c - yp * s, y0 + xp * s - yp * c};
}

void MAPPNT(const Affine& a, float x, float y, float& xo, float& yo) {
    xo = a[0] * x + a[2] * y + a[4];
    yo = a[1] * x + a[3] * y + a[5];
}

void MAPVEC(const Affine& a, float x, float y, float& xo, float& yo) {
    xo = a[0] * x + a[2] * y;
    yo = a[1] * x + a[3] * y;
}

void MAPCMP(const Affine& a, const Affine& b, Affine& c) {
    const Affine r = {a[0] * b[0] + a[2] * b[1],        a[1] * b[0] + a[3] * b[1],
                      a[0] * b[2] + a[2] * b[3],        a[1] * b[2] + a[3] * b[3],
                      a[0] * b[4] + a[2] * b[5] + a[4], a[1] * b[4] + a[3] * b[5] + a[5]};
    c = r;
}

bool MAPSET(const ModelHeader& m) {
    const float phi = deviation(m);
    const float c = std::cos(phi / kDegreesPerRadian);
    const float s = std::sin(phi / kDegreesPerRadian);
    if (!(std::abs(c) >= kParallelStrikeCosine)) return false;

    MapTransforms t;
    const float theta = m.GRIDROT - (m.AZIM - 90.0f);
    MAPBLD(m.TIEEAS, m.TIENOR, m.TIEPRF, 0.0f, theta, t.mapToProfile);
    MAPBLD(m.TIEPRF, 0.0f, m.TIEEAS, m.TIENOR, -theta, t.profileToMap);
    const float b = m.BASELN;
    t.modelToProfile = {c, -s, s, c, b, 0.0f};
    MAPBLD(b, 0.0f, 0.0f, 0.0f, -phi, t.profileToModel);
    MAPCMP(t.profileToModel, t.mapToProfile, t.mapToModel);
    MAPCMP(t.profileToMap, t.modelToProfile, t.modelToMap);
    t.modelXToProfileP = {1.0f / c, b};
    t.profilePToModelX = {c, -c * b};
    mapTransforms() = t;
    return true;
}

void MAPG2M(float e, float n, float& x, float& y) {
    MAPPNT(mapTransforms().mapToModel, e, n, x, y);
}
void MAPM2G(float x, float y, float& e, float& n) {
    MAPPNT(mapTransforms().modelToMap, x, y, e, n);
}
void MAPG2P(float e, float n, float& p, float& q) {
    MAPPNT(mapTransforms().mapToProfile, e, n, p, q);
}
void MAPP2G(float p, float q, float& e, float& n) {
    MAPPNT(mapTransforms().profileToMap, p, q, e, n);
}
void MAPM2P(float x, float y, float& p, float& q) {
    MAPPNT(mapTransforms().modelToProfile, x, y, p, q);
}
void MAPP2M(float p, float q, float& x, float& y) {
    MAPPNT(mapTransforms().profileToModel, p, q, x, y);
}

void PRJP2M(float p, float& x) {
    const auto& s = mapTransforms().profilePToModelX;
    x = s[0] * p + s[1];
}

void PRJM2P(float x, float& p) {
    const auto& s = mapTransforms().modelXToProfileP;
    p = s[0] * x + s[1];
}

void PDISTGEN(std::span<const float> e, std::span<const float> n, std::span<float> d, int nsta) {
    if (nsta < 1 || d.empty()) return;
    d[0] = 0.0f;
    const auto count =
        std::min<std::size_t>({static_cast<std::size_t>(nsta), e.size(), n.size(), d.size()});
    for (std::size_t i = 1; i < count; ++i) {
        const float de = e[i] - e[i - 1];
        const float dn = n[i] - n[i - 1];
        d[i] = d[i - 1] + std::sqrt(de * de + dn * dn + 1.0E-20f);
    }
}

}  // namespace model
