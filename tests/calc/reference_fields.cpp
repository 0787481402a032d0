#include "reference_fields.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace calc::test {

namespace {

// ln(r + a) without cancellation when a is negative and close to -r.
double logRPlus(double a, double r, double rest2) {
    if (a >= 0.0) return std::log(r + a);
    return std::log(rest2 / (r - a));
}

struct GaussLegendre {
    std::vector<double> x, w;
};

GaussLegendre gaussLegendre(int n) {
    GaussLegendre g;
    g.x.resize(static_cast<std::size_t>(n));
    g.w.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double t = std::cos(std::numbers::pi * (i + 0.75) / (n + 0.5));
        double dp = 0.0;
        for (int iter = 0; iter < 100; ++iter) {
            double p0 = 1.0, p1 = t;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2.0 * k - 1.0) * t * p1 - (k - 1.0) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = n * (t * p1 - p0) / (t * t - 1.0);
            const double step = p1 / dp;
            t -= step;
            if (std::fabs(step) < 1e-16) break;
        }
        g.x[static_cast<std::size_t>(i)] = t;
        g.w[static_cast<std::size_t>(i)] = 2.0 / ((1.0 - t * t) * dp * dp);
    }
    return g;
}

// Dipole field integrated along the strike from ya to yb for a source line at
// (x, z): closed forms of the integrals of 1/R^3, 1/R^5, y/R^5, y^2/R^5.
Vec3 lineField(double x, double z, double ya, double yb, const Vec3& m, bool infinite) {
    const double rho2 = x * x + z * z;
    double i3 = 0, i50 = 0, i51 = 0, i52 = 0;
    if (infinite) {
        i3 = 2.0 / rho2;
        i50 = 4.0 / (3.0 * rho2 * rho2);
        i51 = 0.0;
        i52 = 2.0 / (3.0 * rho2);
    } else {
        auto prim = [&](double y, double& f3, double& f50, double& f51, double& f52) {
            const double R2 = rho2 + y * y;
            const double R = std::sqrt(R2);
            const double R3 = R2 * R;
            f3 = y / (rho2 * R);
            f50 = y / (3.0 * rho2 * R3) + 2.0 * y / (3.0 * rho2 * rho2 * R);
            f51 = -1.0 / (3.0 * R3);
            f52 = y * y * y / (3.0 * rho2 * R3);
        };
        double a3, a50, a51, a52, b3, b50, b51, b52;
        prim(ya, a3, a50, a51, a52);
        prim(yb, b3, b50, b51, b52);
        i3 = b3 - a3;
        i50 = b50 - a50;
        i51 = b51 - a51;
        i52 = b52 - a52;
    }
    const double a = m[0] * x + m[2] * z;
    return {3.0 * x * (a * i50 + m[1] * i51) - m[0] * i3, 3.0 * (a * i51 + m[1] * i52) - m[1] * i3,
            3.0 * z * (a * i50 + m[1] * i51) - m[2] * i3};
}

Vec3 integrateSection(double x1, double x2, double z1, double z2, int order, auto&& field) {
    const GaussLegendre g = gaussLegendre(order);
    Vec3 sum{0, 0, 0};
    const double hx = 0.5 * (x2 - x1), cx = 0.5 * (x2 + x1);
    const double hz = 0.5 * (z2 - z1), cz = 0.5 * (z2 + z1);
    for (std::size_t i = 0; i < g.x.size(); ++i) {
        for (std::size_t j = 0; j < g.x.size(); ++j) {
            const Vec3 b = field(cx + hx * g.x[i], cz + hz * g.x[j]);
            const double w = g.w[i] * g.w[j] * hx * hz;
            for (int c = 0; c < 3; ++c)
                sum[c] += w * b[c];
        }
    }
    return sum;
}

}  // namespace

double prismGravity(const Prism& p) {
    const double xs[2] = {p.x1, p.x2}, ys[2] = {p.y1, p.y2}, zs[2] = {p.z1, p.z2};
    double sum = 0.0;
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            for (int k = 0; k < 2; ++k) {
                const double x = xs[i], y = ys[j], z = zs[k];
                const double r = std::sqrt(x * x + y * y + z * z);
                const double sign = ((i + j + k) % 2 == 0) ? -1.0 : 1.0;
                const double term = z * std::atan(x * y / (z * r)) -
                                    x * logRPlus(y, r, x * x + z * z) -
                                    y * logRPlus(x, r, y * y + z * z);
                sum += sign * term;
            }
        }
    }
    return sum;
}

double rectangleGravity2D(double x1, double x2, double z1, double z2) {
    // 2 x the integral of z / (x^2 + z^2) over the rectangle, in closed form.
    auto F = [](double x, double z) {
        return x * std::log(x * x + z * z) * 0.5 + z * std::atan2(x, z);
    };
    return 2.0 * ((F(x2, z2) - F(x1, z2)) - (F(x2, z1) - F(x1, z1)));
}

Vec3 prismMagnetic(const Prism& p, const Vec3& m, int order) {
    return integrateSection(p.x1, p.x2, p.z1, p.z2, order, [&](double x, double z) {
        return lineField(x, z, p.y1, p.y2, m, false);
    });
}

Vec3 rectangleMagnetic2D(double x1, double x2, double z1, double z2, const Vec3& m, int order) {
    return integrateSection(x1, x2, z1, z2, order,
                            [&](double x, double z) { return lineField(x, z, 0, 0, m, true); });
}

}  // namespace calc::test
