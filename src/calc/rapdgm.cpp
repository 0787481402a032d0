#include "calc/rapdgm.h"

#include <cmath>

namespace calc {

namespace {

// Floor of the normal distance of an edge's line from the station: the
// single-precision 1.0E-4 widened, as the stored constant has always been.
constexpr double kMinNormal = static_cast<double>(1.0E-4f);
// Keeps every square root defined however the rounding falls.
constexpr double kRootGuard = 1.0E-30;

double guardedRoot(double v) {
    return std::sqrt(std::fabs(v) + kRootGuard);
}

}  // namespace

double RAPDGM(double X1, double Z1, double X2, double Z2, double Y1, double Y2, bool LMAG,
              CalcCommon& common) {
    const double dx = X1 - X2;
    const double dz = Z1 - Z2;
    const double h = dx * dx + dz * dz;
    if (h <= 1.0E-28) {
        // Coincident ends: no edge, no field.
        if (LMAG) {
            common.Bx = 0.0;
            common.By = 0.0;
            common.Bz = 0.0;
        }
        return 0.0;
    }
    const double len = std::sqrt(std::fabs(h) + kRootGuard);
    const double cx = dx / len;
    const double cz = dz / len;

    // Positions of the two ends along the edge and the normal distance of its
    // line from the station.
    const double u1 = cx * X1 + cz * Z1;
    const double u2 = cx * X2 + cz * Z2;
    double w = cx * Z2 - cz * X2;
    if (std::fabs(w) < kMinNormal) w = kMinNormal;

    const double R1 = guardedRoot(u1 * u1 + w * w);
    const double R2 = guardedRoot(u2 * u2 + w * w);

    const bool twoD = Y1 == 0.0 && Y2 == 0.0;
    const bool symmetric = twoD || Y1 == Y2;

    double P = 0.0, a1 = 0.0, a2 = 0.0, b1 = 0.0, b2 = 0.0;
    double Q1 = 0.0, Q2 = 0.0, S1 = 0.0, S2 = 0.0;
    if (twoD) {
        P = R1 / R2;
        a1 = u1 / w;
        a2 = u2 / w;
    } else {
        Q1 = guardedRoot(R1 * R1 + Y1 * Y1);
        Q2 = guardedRoot(R2 * R2 + Y1 * Y1);
        a1 = u1 * Y1 / (w * Q1);
        a2 = u2 * Y1 / (w * Q2);
        P = (Q2 + Y1) / (Q1 + Y1) * R1 / R2;
        if (Y2 != Y1) {
            S1 = guardedRoot(R1 * R1 + Y2 * Y2);
            S2 = guardedRoot(R2 * R2 + Y2 * Y2);
            b1 = u1 * Y2 / (w * S1);
            b2 = u2 * Y2 / (w * S2);
            P = P * (S2 + Y2) / (S1 + Y2) * R1 / R2;
        }
    }

    const double A = symmetric ? std::atan(a1) - std::atan(a2)
                               : std::atan(b1) + std::atan(a1) - std::atan(a2) - std::atan(b2);
    double Lg = 0.0;
    if (P > 0.0) Lg = LMAG ? -std::log(P) : std::log(P);

    if (!LMAG) {
        const double G0 = (X2 * Z1 - Z2 * X1) / h;
        double E = 0.0;
        if (!twoD) {
            const double t1 = cx * Y1;
            const double r1 = (u1 + Q1) / (u2 + Q2);
            if (t1 != 0.0 && r1 > 0.0) E = t1 * std::log(r1);
            if (Y2 != Y1) {
                const double t2 = cx * Y2;
                const double r2 = (u1 + S1) / (u2 + S2);
                if (t2 != 0.0 && r2 > 0.0) E = E + t2 * std::log(r2);
            }
        }
        return G0 * (dx * A + dz * Lg) + E;
    }

    const double Mx = common.Mx, My = common.My, Mz = common.Mz;
    const double s = (dz * Mx - dx * Mz) * A + (dx * Mx + dz * Mz) * Lg;
    double Bz = -s * dx / h;
    double Bx = s * dz / h;
    double By = 0.0;
    if (symmetric) {
        By = -A * My;
    } else {
        const double q1 = (Q1 - u1) * (Q2 + u2) / ((Q2 - u2) * (Q1 + u1));
        const double q2 = (S1 - u1) * (S2 + u2) / ((S2 - u2) * (S1 + u1));
        double K = 0.0;
        if (q1 != 0.0 && q2 != 0.0) {
            const double q = q2 / q1;
            if (q > 0.0) K = 0.5 * std::log(q);
        }
        Bx = Bx - cz * My * K;
        Bz = Bz + cx * My * K;
        By = -(A * My + (cz * Mx - cx * Mz) * K);
    }
    common.Bx = Bx;
    common.By = By;
    common.Bz = Bz;
    return Bx * common.Fx + By * common.Fy + Bz * common.Fz;
}

}  // namespace calc
