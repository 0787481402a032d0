// The geometry of shaded surfaces: the oblique projection of the grid box
// into the plot frame, and the intersection of two lines.

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/presentation_plot.h"
#include "toolkit/graphics/shaded_surface.h"

namespace tk {

void SetShadedGridOptions(int outlineColour, std::optional<int> outlineEmptyCells,
                          std::optional<int> columnStep, std::optional<int> rowStep) {
    PresentationPlotSettings& p = presentationPlotSettings();
    p.outlineColour = outlineColour;
    if (outlineEmptyCells) p.outlineEmptyCells = *outlineEmptyCells;
    if (columnStep) p.outlineColumnStep = *columnStep;
    if (rowStep) p.outlineRowStep = *rowStep;
}

void ShadedGridProjection(float& p, float& q, float& r, float& s, float& zScale, float& xOffset,
                          float& yOffset) {
    const PresentationPlotSettings& g = presentationPlotSettings();
    constexpr float k = 1.4142f;
    const float T = g.tiltFraction, cm = g.rotationCosMinus45, cp = g.rotationCosPlus45;
    const float v = g.viewAspect, Cs = g.columnStepsReal, Rs = g.rowStepsReal;
    zScale = (g.ySpan / 2.0f) / g.zSpan;
    p = cm * k * v * g.xSpan / Cs;
    q = cp * k * (1.0f - v) * g.xSpan / Rs;
    r = cm * k * (((g.yLast + g.yFirst) / 2.0f) - (1.0f - T) * g.ySpan / 2.0f - g.yFirst) / Rs;
    s = cp * k * (T * g.ySpan / 2.0f) / Cs;
    // The box fits the frame's width.
    const float D = q * Rs, E = p * Cs;
    const float width = std::max({D, E, D + E, 0.0f}) - std::min({D, E, D + E, 0.0f});
    if (g.xSpan < width) {
        const float f = g.xSpan / width;
        p *= f, q *= f, r *= f, s *= f;
    }
    xOffset = (g.xSpan - Cs * p - Rs * q) / 2.0f + g.xFirst;
    // And stands centred in its height.
    const float R = Rs * r, U = Cs * s;
    const float V = std::min({-R, U - R, U, 0.0f}), S = std::max({-R, U - R, U});
    yOffset = g.yFirst - V;
    const float H = g.ySpan / 2.0f + std::max(S, 0.0f) - V;
    if (g.ySpan > H) yOffset += (g.ySpan - H) / 2.0f;
}

void IntersectLines(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                    float& x, float& y, int& code) {
    const float A1 = y1 - y2, B1 = x2 - x1, Q1 = x1 * y2 - x2 * y1;
    const float A2 = y3 - y4, B2 = x4 - x3, Q2 = x3 * y4 - x4 * y3;
    const float det = A2 * B1 - A1 * B2;
    if (std::fabs(det) <= (std::fabs(A1 * B2) + std::fabs(A2 * B1)) / 2000000.0f) {
        x = y = 0.0f;
        const float tolerance = (std::fabs(Q1 * B2) + std::fabs(B1 * Q2)) / 2000000.0f;
        const bool same =
            std::fabs(Q1 * B2 - B1 * Q2) <= tolerance && std::fabs(Q1 * A2 - Q2 * A1) <= tolerance;
        code = same ? 0 : 1;
        return;
    }
    x = (B2 * Q1 - B1 * Q2) / det;
    y = (A1 * Q2 - A2 * Q1) / det;
    auto onSegment = [&](float ax, float ay, float bx, float by) {
        const float mx = std::max(std::fabs(ax), std::fabs(bx)) / 1000000.0f;
        const float my = std::max(std::fabs(ay), std::fabs(by)) / 1000000.0f;
        return x >= std::min(ax, bx) - mx && x <= std::max(ax, bx) + mx &&
               y >= std::min(ay, by) - my && y <= std::max(ay, by) + my;
    };
    code = 2 + (onSegment(x1, y1, x2, y2) ? 1 : 0) + (onSegment(x3, y3, x4, y4) ? 2 : 0);
}

}  // namespace tk
