#pragma once
// How the presentation plots read the caller's grids: values stored column
// by column with the caller's first dimension as stride, node positions from
// the caller's X and Y arrays or from the plot's data ranges, and the check
// that the arrays really hold the plot's nx x ny nodes.

#include <cmath>
#include <cstddef>
#include <span>

#include "toolkit/graphics/presentation_plot.h"

namespace tk {

// Node (i, j), counted from 1, of an array of nx x ny nodes stored with the
// stride nxDim: position (j - 1) nxDim + i.
template <typename T>
struct GridArray {
    std::span<const T> data;
    int stride = 0;

    bool covers(int nx, int ny) const {
        return nx >= 1 && ny >= 1 && stride >= nx &&
               static_cast<std::size_t>(ny - 1) * static_cast<std::size_t>(stride) +
                       static_cast<std::size_t>(nx) <=
                   data.size();
    }
    T operator()(int i, int j) const {
        return data[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(stride) +
                    static_cast<std::size_t>(i - 1)];
    }
};

// Node positions in data units: the given X (Y) array, or nodes evenly
// spread from xMin (yMin) over the plot's range.
struct GridAxes {
    std::span<const float> xs, ys;

    // False when a given array is shorter than the plot's node count.
    bool fits(int nx, int ny) const {
        return (xs.empty() || xs.size() >= static_cast<std::size_t>(nx)) &&
               (ys.empty() || ys.size() >= static_cast<std::size_t>(ny));
    }
    // Position of grid coordinate g (node i at g = i, between nodes linear).
    static float evenX(float g) {
        const PresentationPlotSettings& p = presentationPlotSettings();
        return p.xMin + (g - 1.0f) * (std::abs(p.xSpan) / p.columnStepsReal);
    }
    static float evenY(float g) {
        const PresentationPlotSettings& p = presentationPlotSettings();
        return p.yMin + (g - 1.0f) * (std::abs(p.ySpan) / p.rowStepsReal);
    }
    float x(int i) const {
        return xs.empty() ? evenX(static_cast<float>(i)) : xs[static_cast<std::size_t>(i - 1)];
    }
    float y(int j) const {
        return ys.empty() ? evenY(static_cast<float>(j)) : ys[static_cast<std::size_t>(j - 1)];
    }
};

}  // namespace tk
