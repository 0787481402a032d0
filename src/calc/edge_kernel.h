#pragma once
// The edge term written once for one station (D = double) and for a pack of
// stations side by side (D = lanes::Pack). Every lane follows exactly the
// arithmetic of the one-station evaluation; branches that depend on the lane
// are taken as selections of values computed for all lanes.
//
// Strike cases: a batch whose stations all see the same kind of strike extent
// is evaluated by the matching short form; a batch that mixes them computes
// every form and selects per lane.

#include "calc/lane_math.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace calc::lanes {
namespace {

enum class StrikeCase {
    TwoD,        // both half-extents 0
    Symmetric,   // equal half-extents, not 0
    Asymmetric,  // unequal half-extents
    Mixed,       // lanes of more than one case
};

template <class D>
struct EdgeField {
    D Bx, By, Bz;
};

// Magnetisation and inducing direction of the body being summed.
struct Magnetisation {
    double Mx = 0, My = 0, Mz = 0;
    double Fx = 0, Fy = 0, Fz = 0;
};

inline constexpr double kMinNormal = static_cast<double>(1.0E-4f);
inline constexpr double kRootGuard = 1.0E-30;

template <class D>
D guardedRoot(D v) {
    return sqrtOf(absOf(v) + kRootGuard);
}

// atan(a) - atan(b) from one arctangent, the dearest function of the term:
// the difference is the angle whose tangent is (a - b) / (1 + a b), beyond
// a right angle (1 + a b < 0) turned by pi towards the sign of a - b. It
// also keeps its precision where both arctangents lie near a right angle.
template <class D>
[[gnu::always_inline]] inline D atanDifference(D a, D b) {
    constexpr double kPi = 0x1.921fb54442d18p+1;
    const D y = a - b;
    const D x = 1.0 + a * b;
    const D turn = fromBits(bitsOf(splat<D>(kPi)) | (bitsOf(y) & kSignBit));
    return atanOf(y / x) + select(x < splat<D>(0.0), turn, splat<D>(0.0));
}

// Gravity (Mag false) or magnetic (Mag true) term of the edge (X1, Z1) to
// (X2, Z2) with strike half-extents Y1, Y2. For magnetics the edge field goes
// to `field` and the result is its projection on the inducing direction.
template <class D, StrikeCase C, bool Mag>
D edgeTerm(D X1, D Z1, D X2, D Z2, D Y1, D Y2, const Magnetisation& mag, EdgeField<D>& field) {
    constexpr bool mayBeTwoD = C == StrikeCase::TwoD || C == StrikeCase::Mixed;
    constexpr bool mayHaveExtent = C != StrikeCase::TwoD;
    constexpr bool mayBeAsymmetric = C == StrikeCase::Asymmetric || C == StrikeCase::Mixed;
    const D zero = splat<D>(0.0);

    const D dx = X1 - X2;
    const D dz = Z1 - Z2;
    const D h = dx * dx + dz * dz;
    const auto degenerate = h <= splat<D>(1.0E-28);
    const D len = sqrtOf(absOf(h) + kRootGuard);
    const D cx = dx / len;
    const D cz = dz / len;

    const D u1 = cx * X1 + cz * Z1;
    const D u2 = cx * X2 + cz * Z2;
    D w = cx * Z2 - cz * X2;
    w = select(absOf(w) < splat<D>(kMinNormal), splat<D>(kMinNormal), w);

    const D R1 = guardedRoot(u1 * u1 + w * w);
    const D R2 = guardedRoot(u2 * u2 + w * w);

    // Lane masks of the strike cases (constant in the short forms).
    MaskOf<D> twoD{}, asymmetric{};
    if constexpr (C == StrikeCase::Mixed) {
        twoD = mAnd(Y1 == zero, Y2 == zero);
        asymmetric = Y1 != Y2;
    }

    D P{}, a1{}, a2{}, b1{}, b2{}, Q1{}, Q2{}, S1{}, S2{};
    if constexpr (mayHaveExtent) {
        Q1 = guardedRoot(R1 * R1 + Y1 * Y1);
        Q2 = guardedRoot(R2 * R2 + Y1 * Y1);
        a1 = u1 * Y1 / (w * Q1);
        a2 = u2 * Y1 / (w * Q2);
        P = (Q2 + Y1) / (Q1 + Y1) * R1 / R2;
    }
    if constexpr (mayBeTwoD) {
        const D P2 = R1 / R2;
        const D a12 = u1 / w;
        const D a22 = u2 / w;
        if constexpr (C == StrikeCase::TwoD) {
            P = P2;
            a1 = a12;
            a2 = a22;
        } else {
            P = select(twoD, P2, P);
            a1 = select(twoD, a12, a1);
            a2 = select(twoD, a22, a2);
        }
    }
    if constexpr (mayBeAsymmetric) {
        S1 = guardedRoot(R1 * R1 + Y2 * Y2);
        S2 = guardedRoot(R2 * R2 + Y2 * Y2);
        b1 = u1 * Y2 / (w * S1);
        b2 = u2 * Y2 / (w * S2);
        const D Pboth = P * (S2 + Y2) / (S1 + Y2) * R1 / R2;
        if constexpr (C == StrikeCase::Asymmetric) {
            P = Pboth;
        } else {
            P = select(asymmetric, Pboth, P);
        }
    }

    D A = atanDifference(a1, a2);
    if constexpr (mayBeAsymmetric) {
        const D Aboth = A + atanDifference(b1, b2);
        if constexpr (C == StrikeCase::Asymmetric) {
            A = Aboth;
        } else {
            A = select(asymmetric, Aboth, A);
        }
    }
    const D logP = logOf(P);
    const D Lg = select(P > zero, Mag ? -logP : logP, zero);

    if constexpr (!Mag) {
        (void)field;
        (void)mag;
        const D G0 = (X2 * Z1 - Z2 * X1) / h;
        D E = zero;
        if constexpr (mayHaveExtent) {
            const D t1 = cx * Y1;
            const D r1 = (u1 + Q1) / (u2 + Q2);
            E = select(mAnd(t1 != zero, r1 > zero), t1 * logOf(r1), zero);
            if constexpr (mayBeAsymmetric) {
                const D t2 = cx * Y2;
                const D r2 = (u1 + S1) / (u2 + S2);
                auto take = mAnd(t2 != zero, r2 > zero);
                if constexpr (C == StrikeCase::Mixed) take = mAnd(take, asymmetric);
                E = select(take, E + t2 * logOf(r2), E);
            }
            if constexpr (C == StrikeCase::Mixed) E = select(twoD, zero, E);
        }
        return select(degenerate, zero, G0 * (dx * A + dz * Lg) + E);
    } else {
        const double Mx = mag.Mx, My = mag.My, Mz = mag.Mz;
        const D s = (dz * Mx - dx * Mz) * A + (dx * Mx + dz * Mz) * Lg;
        D Bz = -s * dx / h;
        D Bx = s * dz / h;
        D By = -A * My;
        if constexpr (mayBeAsymmetric) {
            const D q1 = (Q1 - u1) * (Q2 + u2) / ((Q2 - u2) * (Q1 + u1));
            const D q2 = (S1 - u1) * (S2 + u2) / ((S2 - u2) * (S1 + u1));
            const D q = q2 / q1;
            const D K = select(mAnd(mAnd(q1 != zero, q2 != zero), q > zero), 0.5 * logOf(q), zero);
            const D BxBoth = Bx - cz * My * K;
            const D BzBoth = Bz + cx * My * K;
            const D ByBoth = -(A * My + (cz * Mx - cx * Mz) * K);
            if constexpr (C == StrikeCase::Asymmetric) {
                Bx = BxBoth;
                By = ByBoth;
                Bz = BzBoth;
            } else {
                Bx = select(asymmetric, BxBoth, Bx);
                By = select(asymmetric, ByBoth, By);
                Bz = select(asymmetric, BzBoth, Bz);
            }
        }
        field.Bx = select(degenerate, zero, Bx);
        field.By = select(degenerate, zero, By);
        field.Bz = select(degenerate, zero, Bz);
        return select(degenerate, zero, field.Bx * mag.Fx + field.By * mag.Fy + field.Bz * mag.Fz);
    }
}

}  // namespace
}  // namespace calc::lanes

#pragma GCC diagnostic pop
