#include "model/profile_geometry.h"

#include <cmath>

#include "model/model_services.h"
#include "model/strike_fold.h"

namespace model {

void SETGEOMETRY(ProfileLine& p) {
    // Whatever the stations allow, the synthetics no longer fit the geometry
    // and the profile has changed.
    p.LSYN = false;
    p.LSAVED = false;
    const int n = p.NSTA;
    if (n < 1 || !p.EAST.has(n) || !p.NORT.has(n) || !p.STAT.has(1)) return;
    const float dn = p.NORT(n) - p.NORT(1);
    const float de = p.EAST(n) - p.EAST(1);
    auto& m = p.MODEL;
    m.AZIM = std::atan2(de, dn) * kDegreesPerRadian;
    m.STRIKE = m.AZIM - 90.0f;
    m.TIEPRF = p.STAT(1);
    m.TIEEAS = p.EAST(1);
    m.TIENOR = p.NORT(1);
    m.BASELN = p.STAT(1);
}

namespace {

template <typename A>
void removeRow(A& a, int ista, int n) {
    for (int i = ista; i < n; ++i) {
        if (a.has(i + 1)) a(i) = a(i + 1);
    }
}

template <typename T>
void removeRow2(Array2<T>& a, int ista, int n) {
    for (int k = 1; k <= a.cols(); ++k) {
        for (int i = ista; i < n; ++i) {
            if (a.has(i + 1, k)) a(i, k) = a(i + 1, k);
        }
    }
}

}  // namespace

void DELETEPOINT(ProfileLine& p, int& ista) {
    const int n = p.NSTA;
    if (ista >= 1 && ista <= n) {
        removeRow(p.EAST, ista, n);
        removeRow(p.NORT, ista, n);
        removeRow(p.STAT, ista, n);
        removeRow(p.ELEV, ista, n);
        removeRow2(p.DAT, ista, n);
        removeRow2(p.MASK, ista, n);
        // The synthetics and a stored regional stay with their stations; the
        // synthetics no longer answer the model for the stations left.
        removeRow2(p.SYN, ista, n);
        removeRow(p.REG, ista, n);
        p.NSTA = n - 1;
        p.LSYN = false;
    }
    ista = 0;
}

std::int16_t& xferSeed() {
    static std::int16_t seed = 0;
    return seed;
}

void XFER(ProfileLine& p, float pct) {
    const float f = pct / 100.0f;
    auto& deviate = modelServices().gaussianDeviate;
    auto draw = [&] { return deviate ? deviate(xferSeed()) : 0.0f; };
    for (int i = 1; i <= p.NSTA; ++i) {
        const float g1 = draw();
        const float g2 = draw();
        if (p.DAT.has(i, 1) && p.SYN.has(i, 1)) p.DAT(i, 1) = (1.0f + f * g1) * p.SYN(i, 1);
        if (p.NCOMP > 1 && p.DAT.has(i, 2) && p.SYN.has(i, 2)) {
            p.DAT(i, 2) = (1.0f + f * g2) * p.SYN(i, 2);
        }
    }
    p.LSYN = false;
    p.LSAVED = false;
}

}  // namespace model
