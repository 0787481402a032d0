#include "util/plane_geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace util {

namespace {
constexpr float kMissing = 1.0e20f;

float clampCoordinate(float v) {
    if (std::fabs(v) > 1.0e8f) return v < 0.0f ? -1.0e8f : 1.0e8f;
    return v;
}
}  // namespace

int INSIDE(float x0, float z0, std::span<const float> x, std::span<const float> z, int n) {
    n = static_cast<int>(
        std::min<std::size_t>({static_cast<std::size_t>(std::max(n, 0)), x.size(), z.size()}));
    if (n == 0) return 0;
    x0 = clampCoordinate(x0);
    z0 = clampCoordinate(z0);
    float px = clampCoordinate(x[n - 1]);
    float pz = clampCoordinate(z[n - 1]);
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const float cx = clampCoordinate(x[i]);
        const float cz = clampCoordinate(z[i]);
        if (cx == px && cz == pz) continue;
        const float ax = cx - x0, az = cz - z0;
        const float bx = px - x0, bz = pz - z0;
        const float t = (ax * ax + az * az) * (bx * bx + bz * bz);
        if (t <= 0.0f) return -1;
        const float v = (cz - z0) * (px - cx) - (cx - x0) * (pz - cz);
        if (std::isnan(t)) return 0;
        const float dot = ax * bx + az * bz;
        const float c = std::clamp(dot / std::sqrt(std::fabs(t) + 1.0e-30f), -1.0f, 1.0f);
        const float angle = std::acos(c);
        if (v == 0.0f) {
            // In line with the edge: on it only between its end points, where
            // the two end points lie in opposite directions. Beyond either end
            // the edge subtends no angle at all.
            if (dot < 0.0f) return -1;
        } else if (angle != 0.0f) {
            sum += v > 0.0f ? angle : -angle;
        }
        px = cx;
        pz = cz;
    }
    return static_cast<int>(std::fabs(sum / 6.28319) + 0.5);
}

PolygonBox polygonBox(std::span<const float> x, std::span<const float> z, int n) {
    n = static_cast<int>(
        std::min<std::size_t>({static_cast<std::size_t>(std::max(n, 0)), x.size(), z.size()}));
    PolygonBox box;
    if (n == 0) return box;
    box.xmin = box.xmax = clampCoordinate(x[0]);
    box.zmin = box.zmax = clampCoordinate(z[0]);
    for (int i = 0; i < n; ++i) {
        const float cx = clampCoordinate(x[i]), cz = clampCoordinate(z[i]);
        if (std::isnan(cx) || std::isnan(cz)) return PolygonBox{};
        box.xmin = std::min(box.xmin, cx);
        box.xmax = std::max(box.xmax, cx);
        box.zmin = std::min(box.zmin, cz);
        box.zmax = std::max(box.zmax, cz);
    }
    box.usable = true;
    return box;
}

bool PolygonBox::beyond(float x0, float z0) const {
    x0 = clampCoordinate(x0);
    z0 = clampCoordinate(z0);
    return usable && (x0 < xmin || x0 > xmax || z0 < zmin || z0 > zmax);
}

bool PolygonBox::apart(const PolygonBox& o) const {
    return usable && o.usable && (xmax < o.xmin || o.xmax < xmin || zmax < o.zmin || o.zmax < zmin);
}

bool LNLYEQ(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return false;
    if (a == b) return true;
    if (a == 0.0f) return std::fabs(b) < 1.0e-6f;
    if (b == 0.0f) return std::fabs(a) < 1.0e-6f;
    if (a == -b) return false;
    return std::fabs(2.0f * (a - b) / (a + b)) <= 1.0e-6f;
}

bool LEQNAN(float x) {
    return std::isnan(x);
}

bool LEQNANQ(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto low = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    const auto high = std::bit_cast<float>(static_cast<std::uint32_t>(bits >> 32));
    return std::isnan(low) || std::isnan(high);
}

namespace {
// Where the line through A along (dx, dz) meets the normal (nx, nz) through
// the point; g = 0 means the two do not meet.
void meet(float x0, float z0, float xa, float za, float dx, float dz, float nx, float nz, float& xi,
          float& zi) {
    const float d = x0 * nz - z0 * nx;
    const float f = dz * xa - za * dx;
    const float g = dx * nz - dz * nx;
    if (g == 0.0f || std::isnan(g)) {
        xi = kMissing;
        zi = kMissing;
        return;
    }
    xi = (dx * d - nx * f) / g;
    zi = (dz * d - nz * f) / g;
}
}  // namespace

void XISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi) {
    const float dx = xb - xa, dz = zb - za;
    const float e = 0.1f * dx;
    float nx = 0.0f, nz = e;
    if (dx != 0.0f && std::fabs(dz / dx) > 0.001f) {
        nx = e;
        nz = -e / (dz / dx);
    }
    meet(x0, z0, xa, za, dx, dz, nx, nz, xi, zi);
}

void YISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi) {
    // The same construction with the roles of x and z exchanged.
    const float dx = xb - xa, dz = zb - za;
    const float e = 0.1f * dz;
    float nx = e, nz = 0.0f;
    if (dz != 0.0f && std::fabs(dx / dz) > 0.001f) {
        nx = -e / (dx / dz);
        nz = e;
    }
    meet(z0, x0, za, xa, dz, dx, nz, nx, zi, xi);
}

void ISECT(float x0, float z0, float xa, float za, float xb, float zb, float& xi, float& zi) {
    if (xa == xb && za == zb) {
        xi = kMissing;
        zi = kMissing;
        return;
    }
    if (std::fabs(xb - xa) > std::fabs(zb - za)) {
        XISECT(x0, z0, xa, za, xb, zb, xi, zi);
        if (xi < std::min(xa, xb) || xi > std::max(xa, xb)) zi = kMissing;
    } else {
        YISECT(x0, z0, xa, za, xb, zb, xi, zi);
        if (zi < std::min(za, zb) || zi > std::max(za, zb)) xi = kMissing;
    }
}

}  // namespace util
