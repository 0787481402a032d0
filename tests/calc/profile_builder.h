#pragma once
// Small profiles and models made by the tests: stations along an east-going
// profile (distance = easting, northing 0, elevation 0), units in km, density
// and susceptibility in the first unit, bodies given by corners in elevation.

#include <vector>

#include "model/body_area.h"
#include "model/polygon_model.h"
#include "model/profile_line.h"

namespace calc::test {

struct BodySpec {
    std::vector<float> x, z;  // profile distance and elevation of each vertex
    float property = 1.0f;
    float xtent1 = 0.0f, xtent2 = 0.0f;
    bool layer = false;
    int parent = 0;
    float kRatio = 0.0f, inclination = 0.0f, declination = 0.0f;
};

inline model::ProfileLine makeProfile(const std::vector<float>& distances,
                                      const char* type = "Gravity Data") {
    model::ProfileLine p;
    p.DTYPE.assign(type);
    p.NSTA = static_cast<int>(distances.size());
    p.NCOMP = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= p.NSTA; ++i) {
        const float d = distances[static_cast<std::size_t>(i - 1)];
        p.EAST(i) = d;
        p.NORT(i) = 0.0f;
        p.STAT(i) = d;
        p.ELEV(i) = 0.0f;
        p.DAT(i, 1) = 1.0E20f;
        p.MASK(i, 1) = false;
        p.SYN(i, 1) = 0.0f;
    }
    p.XUNIT.assign("KM");
    p.ZUNIT.assign("KM");
    p.IDENUN = 1;
    p.ISUSUN = 1;
    p.FIELD = 50000.0f;
    p.FINCL = 90.0f;
    p.FDECL = 0.0f;
    p.MODEL.AZIM = 90.0f;
    p.MODEL.STRIKE = 0.0f;
    return p;
}

inline void setBodies(model::ProfileLine& p, const std::vector<BodySpec>& bodies) {
    model::PolygonModel& m = p.MODEL;
    int nv = 0;
    for (const BodySpec& b : bodies)
        nv += static_cast<int>(b.x.size());
    const int nb = static_cast<int>(bodies.size());
    model::DEALLOCPG(m);
    model::ALLOCPG(m, nv, nb);
    m.NBOD = nb;
    m.LEXTND = false;
    int v = 0;
    for (int k = 1; k <= nb; ++k) {
        const BodySpec& b = bodies[static_cast<std::size_t>(k - 1)];
        m.IV1(k) = v + 1;
        for (std::size_t j = 0; j < b.x.size(); ++j) {
            ++v;
            m.XVRT(v) = b.x[j];
            m.ZVRT(v) = b.z[j];
            m.IPOINT(v) = v;
        }
        m.IV2(k) = v;
        m.DENS(k) = b.property;
        m.REMS(k) = b.kRatio;
        m.DIPS(k) = b.inclination;
        m.DECS(k) = b.declination;
        m.XTENT1(k) = b.xtent1;
        m.XTENT2(k) = b.xtent2;
        m.LAYER(k) = b.layer;
        m.INCLBD(k) = b.parent;
        m.ILEVL(k) = 1;
    }
    model::FDAREA(m);
}

// The rectangle x1..x2 in distance, elevations top..bottom (top > bottom).
inline BodySpec box(float x1, float x2, float top, float bottom, float property = 1.0f) {
    BodySpec b;
    b.x = {x1, x2, x2, x1};
    b.z = {top, top, bottom, bottom};
    b.property = property;
    return b;
}

}  // namespace calc::test
