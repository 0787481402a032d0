// Contours of a regular grid, each followed from cell to cell so that it is
// drawn as connected pieces: a spiral search over the nodes finds a grid
// segment that a level crosses and whose crossing is not yet used (first
// along the grid's edges and next to missing values, where open contours
// start, then inside), and the tracer walks through the cells from there. A
// bitmap of segments per level marks every crossing found absent or used.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/graphics/contour_lines.h"
#include "toolkit/graphics/contour_support.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/presentation_grid.h"
#include "toolkit/graphics/text_state.h"

namespace tk {
namespace {

constexpr std::size_t kPieceCapacity = 500;

// A grid segment: from node (i, j) to (i + 1, j) for d = 0, to (i, j + 1) for d = 1.
struct Segment {
    int i, j, d;
};

class RegularTracer {
  public:
    RegularTracer(GridArray<float> z, std::span<const float> levels, ContourLevelLines& lines,
                  ContourPieceLabeller& labeller, float keptAngle)
        : z_(z),
          c_(levels),
          lines_(lines),
          labeller_(labeller),
          keptAngle_(keptAngle),
          nx_(presentationPlotSettings().valueCount),
          ny_(presentationPlotSettings().rowCount),
          bits_(
              (c_.size() * static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_) * 2 + 31) /
                  32,
              0u) {}

    // Each pass searches from node (1, 1) and, after every contour, from the
    // node where that contour ended, so the next one found lies near it.
    void run() {
        for (bool boundaryPass : {true, false}) {
            Node centre{1, 1};
            while (spiral(centre, [&](int i, int j) { return searchNode(i, j, boundaryPass); })) {
            }
        }
    }

  private:
    GridArray<float> z_;
    std::span<const float> c_;
    ContourLevelLines& lines_;
    ContourPieceLabeller& labeller_;
    float keptAngle_;
    int nx_, ny_;
    std::vector<std::uint32_t> bits_;
    ContourPiece piece_;

    float level(int k) const { return c_[static_cast<std::size_t>(k - 1)]; }

    std::size_t bitIndex(int k, const Segment& s) const {
        return ((static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(ny_) +
                 static_cast<std::size_t>(s.j - 1)) *
                    static_cast<std::size_t>(nx_) +
                static_cast<std::size_t>(s.i - 1)) *
                   2 +
               static_cast<std::size_t>(s.d);
    }
    bool marked(int k, const Segment& s) const {
        const std::size_t b = bitIndex(k, s);
        return (bits_[b / 32] >> (b % 32)) & 1u;
    }
    void mark(int k, const Segment& s) {
        const std::size_t b = bitIndex(k, s);
        bits_[b / 32] |= 1u << (b % 32);
    }

    bool present(int i, int j) const {
        return i >= 1 && i <= nx_ && j >= 1 && j <= ny_ && PgValueIsPresent(z_(i, j));
    }
    // A cell (lower-left node) inside the grid with all four nodes present.
    bool cellAvailable(int i, int j) const {
        return i >= 1 && i < nx_ && j >= 1 && j < ny_ && present(i, j) && present(i + 1, j) &&
               present(i, j + 1) && present(i + 1, j + 1);
    }

    // Whether level u crosses the segment (one end below u, the other at or
    // above it), and where, as a fraction from its first node.
    bool crossing(const Segment& s, float u, float& f) const {
        const int i2 = s.d == 0 ? s.i + 1 : s.i, j2 = s.d == 0 ? s.j : s.j + 1;
        if (!present(s.i, s.j) || !present(i2, j2)) return false;
        const float za = z_(s.i, s.j), zb = z_(i2, j2);
        if (!(std::min(za, zb) < u && u <= std::max(za, zb))) return false;
        f = (u - za) / (zb - za);
        return true;
    }

    struct Node {
        int i, j;
    };

    // Visits the nodes along a rectangular spiral around CENTRE: +i, +j, -i,
    // -j, each side one node longer than the one before, until the spiral
    // has passed the whole grid. A visit that traces a contour stops the
    // spiral with CENTRE := the node where the contour ended (true).
    template <typename Visit>
    bool spiral(Node& centre, Visit visit) {
        int i = centre.i, j = centre.j;
        std::optional<Node> ended = visit(i, j);
        const int reach = 2 * std::max(nx_, ny_) + 2;
        static constexpr int di[4] = {1, 0, -1, 0}, dj[4] = {0, 1, 0, -1};
        for (int side = 0, length = 1; !ended && length <= reach; ++side) {
            for (int step = 0; !ended && step < length; ++step) {
                i += di[side % 4];
                j += dj[side % 4];
                if (i >= 1 && i <= nx_ && j >= 1 && j <= ny_) ended = visit(i, j);
            }
            if (side % 2 == 1) ++length;
        }
        if (ended) centre = *ended;
        return ended.has_value();
    }

    // The node where a contour started at this node ended, if one did.
    std::optional<Node> searchNode(int i, int j, bool boundaryPass) {
        if (!present(i, j)) return std::nullopt;
        for (int d = 0; d <= 1; ++d) {
            if ((d == 0 && i == nx_) || (d == 1 && j == ny_)) continue;
            const bool sideA = d == 0 ? cellAvailable(i, j - 1) : cellAvailable(i - 1, j);
            const bool sideB = cellAvailable(i, j);
            if ((!sideA && !sideB) || (boundaryPass && sideA && sideB)) continue;
            const Segment s{i, j, d};
            for (int k = 1; k <= static_cast<int>(c_.size()); ++k) {
                if (marked(k, s)) continue;
                float f = 0;
                if (!crossing(s, level(k), f)) {
                    mark(k, s);
                    continue;
                }
                return trace(k, s, !sideA);
            }
        }
        return std::nullopt;
    }

    // The cell beside segment s that the trace enters, and the edge it
    // enters through (0 bottom, 1 left, 2 top, 3 right).
    static void entry(const Segment& s, bool intoB, int& ci, int& cj, int& edge) {
        ci = s.i;
        cj = s.j;
        if (s.d == 0) {
            edge = intoB ? 0 : 2;
            if (!intoB) --cj;
        } else {
            edge = intoB ? 1 : 3;
            if (!intoB) --ci;
        }
    }
    static Segment edgeSegment(int ci, int cj, int edge) {
        switch (edge) {
            case 0:
                return {ci, cj, 0};
            case 1:
                return {ci, cj, 1};
            case 2:
                return {ci, cj + 1, 0};
            default:
                return {ci + 1, cj, 1};
        }
    }

    void addPoint(const Segment& s, float f) {
        const float gx = static_cast<float>(s.i) + (s.d == 0 ? f : 0.0f);
        const float gy = static_cast<float>(s.j) + (s.d == 1 ? f : 0.0f);
        float ux = 0, uy = 0;
        PgPointToUnits(GridAxes::evenX(gx), GridAxes::evenY(gy), ux, uy);
        piece_.x.push_back(ux);
        piece_.y.push_back(uy);
    }

    void startContour(int k, float x, float y) {
        const DataSetStyle& st = dataSetStyle(k);
        if (st.param1 > 0 || (st.param1 < 0 && graphicsState().outputColourCount <= 2)) {
            SetCharacterDirection(keptAngle_);
            SetTextAttributes(1);
        }
        if (st.style != -999) lines_.apply(k, level(k));
        MoveToUnits(x, y);
    }

    // A full buffer is drawn as one piece with its own label; the next piece
    // starts at its last point, so the line stays joined.
    void continuePiece(int k) {
        labeller_.draw(piece_, k, level(k));
        const float x = piece_.x.back(), y = piece_.y.back();
        piece_ = {{x}, {y}};
        startContour(k, x, y);
    }

    // Follows level k from segment s into the cell on side B (intoB) or A;
    // the first node of the last segment crossed is where it ended.
    Node trace(int k, Segment s, bool intoB) {
        const float u = level(k);
        float f = 0;
        crossing(s, u, f);
        piece_ = {};
        mark(k, s);
        addPoint(s, f);
        startContour(k, piece_.x[0], piece_.y[0]);
        int ci = 0, cj = 0, edge = 0;
        entry(s, intoB, ci, cj, edge);
        Node end{s.i, s.j};
        for (;;) {
            std::array<float, 4> fraction{};
            std::array<bool, 4> crossed{};
            int count = 0, exit = -1;
            for (int e = 0; e < 4; ++e) {
                crossed[static_cast<std::size_t>(e)] =
                    crossing(edgeSegment(ci, cj, e), u, fraction[static_cast<std::size_t>(e)]);
                if (e != edge && crossed[static_cast<std::size_t>(e)]) {
                    ++count;
                    exit = e;
                }
            }
            if (count == 3)
                exit = fraction[0] <= fraction[2] ? ((1 - edge) % 4 + 4) % 4 : 3 - edge;
            else if (count != 1)
                break;
            const Segment out = edgeSegment(ci, cj, exit);
            addPoint(out, fraction[static_cast<std::size_t>(exit)]);
            end = {out.i, out.j};
            if (marked(k, out)) break;
            mark(k, out);
            static constexpr int ni[4] = {0, -1, 0, 1}, nj[4] = {-1, 0, 1, 0};
            const int ni2 = ci + ni[exit], nj2 = cj + nj[exit];
            if (!cellAvailable(ni2, nj2)) break;
            if (piece_.x.size() >= kPieceCapacity) continuePiece(k);
            ci = ni2;
            cj = nj2;
            edge = (exit + 2) % 4;
        }
        labeller_.draw(piece_, k, u);
        return end;
    }
};

}  // namespace

void PgContourRegular(std::span<const float> grid, int nxDim, int /*nyDim*/,
                      std::span<const float> levels) {
    const PresentationPlotSettings& p = presentationPlotSettings();
    if (p.plotType != 8 || p.threeD) return;
    const auto n = static_cast<std::size_t>(p.dataSetCount);
    const std::span<const float> c = levels.first(std::min(levels.size(), n));
    if (!contourLevelsIncrease(c, "PgContourRegular")) return;
    const GridArray<float> z{grid, nxDim};
    if (c.size() < n || !z.covers(p.valueCount, p.rowCount)) return;
    PgDrawBegin();
    GraphicsState& g = graphicsState();
    const float keptAngle = g.textAngle;
    g.textSlant = 0.0f;
    SetTextAttributes(1, std::nullopt, 0);
    ContourLevelLines lines;
    ContourPieceLabeller labeller(p.dataSetCount, p.valueCount);
    RegularTracer(z, c, lines, labeller, keptAngle).run();
    lines.finish();
    PgDrawEnd();
    SetCharacterDirection(keptAngle);
}

}  // namespace tk
