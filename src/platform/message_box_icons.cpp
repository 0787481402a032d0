// The system icons: a white cross on a red disc (error), a question mark on
// a blue disc, an exclamation mark on a yellow triangle (warning), an "i" on
// a blue disc (information), and a small window (application). Each pixel
// is sampled 4 x 4 times, so edges inside the sign are smooth; the outline
// against the background is opaque or not, as icon masks are.

#include "platform/message_box_icons.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "platform/window/image_api.h"

namespace win {
namespace {

using Painter = std::function<std::optional<std::uint32_t>(double x, double y)>;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

bool inDisc(double x, double y, double cx, double cy, double r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool inBox(double x, double y, double left, double top, double right, double bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// A disc of 15 pixels' radius with a darker rim, and a sign on it.
std::optional<std::uint32_t> badge(double x, double y, std::uint32_t fill, std::uint32_t rim,
                                   bool sign) {
    if (!inDisc(x, y, 16, 16, 15)) return std::nullopt;
    if (!inDisc(x, y, 16, 16, 13.8)) return rim;
    return sign ? kWhite : fill;
}

bool crossAt(double x, double y) {
    const double dx = x - 16, dy = y - 16, r2 = std::sqrt(2.0);
    const bool bar1 = std::abs(dx - dy) / r2 <= 2.1 && std::abs(dx + dy) / r2 <= 7.6;
    const bool bar2 = std::abs(dx + dy) / r2 <= 2.1 && std::abs(dx - dy) / r2 <= 7.6;
    return bar1 || bar2;
}

bool questionAt(double x, double y) {
    // The hook: a ring open at its lower left, then the stem and the dot.
    const double dx = x - 16, dy = y - 12.2;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double angle = std::atan2(dy, dx) * 180.0 / 3.14159265358979;
    const bool ring = r >= 3.1 && r <= 6.3 && !(angle > 90 && angle < 165);
    const bool stem = inBox(x, y, 14.4, 15.5, 17.6, 20.4);
    return ring || stem || inDisc(x, y, 16, 24.3, 2.1);
}

bool informationAt(double x, double y) {
    return inDisc(x, y, 16, 8.4, 2.3) || inBox(x, y, 14.2, 12.4, 17.8, 23.6) ||
           inBox(x, y, 12.2, 12.4, 17.8, 14.2) || inBox(x, y, 12.2, 22, 19.8, 24);
}

// Distances of a point inside the triangle to its three edges; negative outside.
double insideTriangle(double x, double y) {
    const double ax = 16, ay = 1.5, bx = 30.5, by = 28.5, cx = 1.5, cy = 28.5;
    auto side = [&](double x1, double y1, double x2, double y2) {
        const double ex = x2 - x1, ey = y2 - y1, len = std::sqrt(ex * ex + ey * ey);
        return ((x - x1) * ey - (y - y1) * ex) / len * -1.0;
    };
    return std::min({side(ax, ay, bx, by), side(bx, by, cx, cy), side(cx, cy, ax, ay)});
}

std::optional<std::uint32_t> warning(double x, double y) {
    const double d = insideTriangle(x, y);
    if (d < 0) return std::nullopt;
    if (d < 1.3) return 0x6E5A00;
    const double half = 2.0 - (y - 9.5) * 0.06;
    if (inBox(x, y, 16 - half, 9.5, 16 + half, 20.2) || inDisc(x, y, 16, 24, 1.9)) return kBlack;
    return 0xFFD21E;
}

std::optional<std::uint32_t> application(double x, double y) {
    if (!inBox(x, y, 2, 4, 30, 28)) return std::nullopt;
    if (x < 3 || x >= 29 || y < 5 || y >= 27) return kBlack;
    return y < 9 ? 0x0A246A : kWhite;
}

Painter painterFor(WORD id) {
    switch (id) {
        case IDI_HAND_ID:
            return
                [](double x, double y) { return badge(x, y, 0xD81E1E, 0x7A0E0E, crossAt(x, y)); };
        case IDI_QUESTION_ID:
            return [](double x, double y) {
                return badge(x, y, 0x2160C8, 0x0E2F6E, questionAt(x, y));
            };
        case IDI_EXCLAMATION_ID:
            return warning;
        case IDI_ASTERISK_ID:
            return [](double x, double y) {
                return badge(x, y, 0x2160C8, 0x0E2F6E, informationAt(x, y));
            };
        case IDI_APPLICATION_ID:
            return application;
        default:
            return nullptr;
    }
}

}  // namespace

IconPicture systemIconPicture(WORD id) {
    IconPicture p;
    const Painter paint = painterFor(id);
    if (!paint) return p;
    constexpr int n = IconPicture::kSize, samples = 4;
    p.colour.assign(n * n, 0);
    p.alpha.assign(n * n, 0);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int covered = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    const auto c = paint(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    if (!c) continue;
                    ++covered;
                    r += static_cast<int>(*c >> 16 & 0xFF);
                    g += static_cast<int>(*c >> 8 & 0xFF);
                    b += static_cast<int>(*c & 0xFF);
                }
            if (!covered) continue;
            const auto i = static_cast<std::size_t>(y * n + x);
            p.colour[i] = static_cast<std::uint32_t>((r / covered) << 16 | (g / covered) << 8 |
                                                     (b / covered));
            p.alpha[i] = static_cast<std::uint8_t>(covered * 255 / (samples * samples));
        }
    return p;
}

}  // namespace win
