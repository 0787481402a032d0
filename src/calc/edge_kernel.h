#pragma once
// The edge term written once for one station (D = double) and for a pack of
// stations side by side (D = lanes::Pack). Every lane follows exactly the
// arithmetic of the one-station evaluation; branches that depend on the lane
// are taken as selections of values computed for all lanes.
//
// Strike cases: a batch whose stations all see the same kind of strike extent
// is evaluated by the matching short form; a batch that mixes them evaluates
// every form and selects per lane.
//
// Divisions and square roots are what the term costs: the distances from the
// station to a vertex are worked once per vertex and shared by the two edges
// that meet there, the arctangent differences of an edge are one angle, and
// the quotients that go to logarithms share one division.

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

// A vertex relative to the station (X across the strike, Z down) and its
// distances from the station: R in the section, Q and S to the ends of the
// strike half-extents Y1 and Y2.
template <class D>
struct Vertex {
    D X{}, Z{};
    D R{}, Q{}, S{};
};

// R, Q and S of a point whose squared distance in the section is rr; a short
// form leaves out the distances it never reads.
template <class D, StrikeCase C>
void setDistances(Vertex<D>& v, D rr, D Y1, D Y2) {
    v.R = guardedRoot(rr);
    if constexpr (C != StrikeCase::TwoD) v.Q = guardedRoot(rr + Y1 * Y1);
    if constexpr (C == StrikeCase::Asymmetric || C == StrikeCase::Mixed)
        v.S = guardedRoot(rr + Y2 * Y2);
}

template <class D, StrikeCase C>
Vertex<D> vertexAt(D X, D Z, D Y1, D Y2) {
    Vertex<D> v;
    v.X = X;
    v.Z = Z;
    setDistances<D, C>(v, X * X + Z * Z, Y1, Y2);
    return v;
}

// n1 / d1 and n2 / d2 for one division.
template <class D>
void sharedQuotients(D n1, D d1, D n2, D d2, D& q1, D& q2) {
    const D inverse = 1.0 / (d1 * d2);
    q1 = n1 * d2 * inverse;
    q2 = n2 * d1 * inverse;
}

// n1 / d1, n2 / d2 and n3 / d3 for one division.
template <class D>
void sharedQuotients(D n1, D d1, D n2, D d2, D n3, D d3, D& q1, D& q2, D& q3) {
    const D inverse = 1.0 / (d1 * d2 * d3);
    q1 = n1 * (d2 * d3) * inverse;
    q2 = n2 * (d1 * d3) * inverse;
    q3 = n3 * (d1 * d2) * inverse;
}

// The point (1 + a1 a2, a1 - a2) for a = n / d, scaled by d1 d2 > 0: its
// angle is atan(a1) - atan(a2), and it keeps its precision where both
// arctangents lie near a right angle.
template <class D>
struct Point {
    D x, y;
};
template <class D>
[[gnu::always_inline]] inline Point<D> differencePoint(D n1, D d1, D n2, D d2) {
    return {d1 * d2 + n1 * n2, n1 * d2 - n2 * d1};
}

// atan(a1) - atan(a2): one arctangent and one division.
template <class D>
[[gnu::always_inline]] inline D atanDifference(D n1, D d1, D n2, D d2) {
    const Point<D> p = differencePoint(n1, d1, n2, d2);
    return angleOf(p.y, p.x);
}

// atan(a1) - atan(a2) + atan(b1) - atan(b2) for a = n / d and b = m / e, for
// one arctangent: the sum is the angle of the product of the two difference
// points, turned by a full circle where both turn the same way and together
// pass a half turn.
template <class D>
[[gnu::always_inline]] inline D atanDifferenceSum(D n1, D d1, D n2, D d2, D m1, D e1, D m2, D e2) {
    constexpr double kFullTurn = 0x1.921fb54442d18p+2;
    const D zero = splat<D>(0.0);
    const Point<D> a = differencePoint(n1, d1, n2, d2);
    const Point<D> b = differencePoint(m1, e1, m2, e2);
    const D angle = angleOf(a.x * b.y + b.x * a.y, a.x * b.x - a.y * b.y);
    const auto wraps = mOr(mAnd(mAnd(a.y > zero, b.y > zero), angle < zero),
                           mAnd(mAnd(a.y < zero, b.y < zero), angle > zero));
    const D turn = fromBits(bitsOf(splat<D>(kFullTurn)) | (bitsOf(a.y) & kSignBit));
    return angle + select(wraps, turn, zero);
}

// Gravity (Mag false) or magnetic (Mag true) term of the edge v1 to v2 with
// strike half-extents Y1, Y2, in one strike case other than Mixed. For
// magnetics the edge field goes to `field` and the result is its projection on
// the inducing direction.
template <class D, StrikeCase C, bool Mag>
[[gnu::always_inline]] inline D caseEdgeTerm(Vertex<D> v1, Vertex<D> v2, D Y1, D Y2,
                                             const Magnetisation& mag, EdgeField<D>& field) {
    static_assert(C != StrikeCase::Mixed);
    constexpr bool hasExtent = C != StrikeCase::TwoD;
    constexpr bool asymmetric = C == StrikeCase::Asymmetric;
    const D zero = splat<D>(0.0);
    const D X1 = v1.X, Z1 = v1.Z, X2 = v2.X, Z2 = v2.Z;

    const D dx = X1 - X2;
    const D dz = Z1 - Z2;
    const D h = dx * dx + dz * dz;
    const auto degenerate = h <= splat<D>(1.0E-28);
    const D inverseLength = 1.0 / guardedRoot(h);
    const D inverseH = inverseLength * inverseLength;
    const D cx = dx * inverseLength;
    const D cz = dz * inverseLength;

    const D u1 = cx * X1 + cz * Z1;
    const D u2 = cx * X2 + cz * Z2;
    D w = cx * Z2 - cz * X2;
    const auto onLine = absOf(w) < splat<D>(kMinNormal);
    w = select(onLine, splat<D>(kMinNormal), w);
    // A station within the floor of the edge's line sees the edge moved off
    // the line to the floor: its distances are worked from u and w instead.
    if (anyOf(onLine)) {
        Vertex<D> f1, f2;
        setDistances<D, C>(f1, u1 * u1 + w * w, Y1, Y2);
        setDistances<D, C>(f2, u2 * u2 + w * w, Y1, Y2);
        const auto take = [&](Vertex<D>& v, const Vertex<D>& f) {
            v.R = select(onLine, f.R, v.R);
            v.Q = select(onLine, f.Q, v.Q);
            v.S = select(onLine, f.S, v.S);
        };
        take(v1, f1);
        take(v2, f2);
    }
    const D R1 = v1.R, R2 = v2.R, Q1 = v1.Q, Q2 = v2.Q, S1 = v1.S, S2 = v2.S;

    // The angle: atan(a1) - atan(a2) for a = u Y1 / (w Q), u / w without
    // extent, plus the same with Y2 and S when the extents differ.
    D A{};
    if constexpr (asymmetric) {
        A = atanDifferenceSum(u1 * Y1, w * Q1, u2 * Y1, w * Q2, u1 * Y2, w * S1, u2 * Y2, w * S2);
    } else if constexpr (hasExtent) {
        A = atanDifference(u1 * Y1, w * Q1, u2 * Y1, w * Q2);
    } else {
        A = atanDifference(u1, w, u2, w);
    }

    // The logarithm's argument P, and for gravity with extent the ratios of
    // the end terms.
    D Pn = R1, Pd = R2;
    if constexpr (hasExtent) {
        Pn = (Q2 + Y1) * R1;
        Pd = (Q1 + Y1) * R2;
    }
    if constexpr (asymmetric) {
        Pn = Pn * ((S2 + Y2) * R1);
        Pd = Pd * ((S1 + Y2) * R2);
    }

    if constexpr (!Mag) {
        (void)field;
        (void)mag;
        D P{}, r1{}, r2{};
        if constexpr (asymmetric) {
            sharedQuotients(Pn, Pd, u1 + Q1, u2 + Q2, u1 + S1, u2 + S2, P, r1, r2);
        } else if constexpr (hasExtent) {
            sharedQuotients(Pn, Pd, u1 + Q1, u2 + Q2, P, r1);
        } else {
            P = Pn / Pd;
        }
        const D Lg = select(P > zero, logOf(P), zero);
        const D G0 = (X2 * Z1 - Z2 * X1) * inverseH;
        D E = zero;
        if constexpr (hasExtent) {
            const D t1 = cx * Y1;
            E = select(mAnd(t1 != zero, r1 > zero), t1 * logOf(r1), zero);
        }
        if constexpr (asymmetric) {
            const D t2 = cx * Y2;
            E = select(mAnd(t2 != zero, r2 > zero), E + t2 * logOf(r2), E);
        }
        return select(degenerate, zero, G0 * (dx * A + dz * Lg) + E);
    } else {
        const double Mx = mag.Mx, My = mag.My, Mz = mag.Mz;
        // With unequal extents also q = q2 / q1, q1 = a1 / b1 from Q and
        // q2 = a2 / b2 from S.
        D P{}, q{}, a1{}, a2{};
        if constexpr (asymmetric) {
            a1 = (Q1 - u1) * (Q2 + u2);
            a2 = (S1 - u1) * (S2 + u2);
            const D b1 = (Q2 - u2) * (Q1 + u1), b2 = (S2 - u2) * (S1 + u1);
            sharedQuotients(Pn, Pd, a2 * b1, b2 * a1, P, q);
        } else {
            P = Pn / Pd;
        }
        const D Lg = select(P > zero, -logOf(P), zero);
        const D s = (dz * Mx - dx * Mz) * A + (dx * Mx + dz * Mz) * Lg;
        D Bz = -s * dx * inverseH;
        D Bx = s * dz * inverseH;
        D By = -A * My;
        if constexpr (asymmetric) {
            const D K =
                select(mAnd(mAnd(a1 != zero, a2 != zero), q > zero), 0.5 * logOf(q), zero);
            Bx = Bx - cz * My * K;
            Bz = Bz + cx * My * K;
            By = -(A * My + (cz * Mx - cx * Mz) * K);
        }
        field.Bx = select(degenerate, zero, Bx);
        field.By = select(degenerate, zero, By);
        field.Bz = select(degenerate, zero, Bz);
        return select(degenerate, zero, field.Bx * mag.Fx + field.By * mag.Fy + field.Bz * mag.Fz);
    }
}

// The term in any strike case; lanes of mixed cases take each their own
// case's form, so every lane has the bits of its station evaluated alone.
template <class D, StrikeCase C, bool Mag>
D edgeTerm(const Vertex<D>& v1, const Vertex<D>& v2, D Y1, D Y2, const Magnetisation& mag,
           EdgeField<D>& field) {
    if constexpr (C != StrikeCase::Mixed) {
        return caseEdgeTerm<D, C, Mag>(v1, v2, Y1, Y2, mag, field);
    } else {
        const D zero = splat<D>(0.0);
        const auto twoD = mAnd(Y1 == zero, Y2 == zero);
        const auto asymmetric = Y1 != Y2;
        EdgeField<D> ft{}, fs{}, fa{};
        const D t = caseEdgeTerm<D, StrikeCase::TwoD, Mag>(v1, v2, Y1, Y2, mag, ft);
        const D s = caseEdgeTerm<D, StrikeCase::Symmetric, Mag>(v1, v2, Y1, Y2, mag, fs);
        const D a = caseEdgeTerm<D, StrikeCase::Asymmetric, Mag>(v1, v2, Y1, Y2, mag, fa);
        const auto pick = [&](D ofTwoD, D ofSymmetric, D ofAsymmetric) {
            return select(twoD, ofTwoD, select(asymmetric, ofAsymmetric, ofSymmetric));
        };
        field = {pick(ft.Bx, fs.Bx, fa.Bx), pick(ft.By, fs.By, fa.By), pick(ft.Bz, fs.Bz, fa.Bz)};
        return pick(t, s, a);
    }
}

}  // namespace
}  // namespace calc::lanes

#pragma GCC diagnostic pop
