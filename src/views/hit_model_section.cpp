#include "views/hit_model_section.h"

#include <cmath>
#include <cstdio>

#include "model/body_nesting.h"
#include "model/picking.h"
#include "model/vertex_locks.h"
#include "util/axis_scaling.h"
#include "util/message_boxes.h"

namespace views {
namespace {

constexpr int kArrowCursor = 0;
constexpr int kPointCursor = 3;
constexpr int kEdgeCursor = 11;
constexpr float kDistanceGuard = 1.0E-30f;
constexpr float kInsidePreference = 0.99f;
constexpr float kLockPenalty = 1.02f;

float inchDistance(float xi, float zi, float px, float pz) {
    return std::sqrt((zi - pz) * (zi - pz) + (xi - px) * (xi - px) + kDistanceGuard);
}

std::string_view bodyWord(const model::PolygonModel& m, int body) {
    return m.LAYER(body) ? " Layer: " : " Body: ";
}

int vertexCount(const model::PolygonModel& m, int body) {
    return m.IV2(body) - m.IV1(body) + 1;
}

// The label, a blank and the value; blank when the value is not shown.
StatusText propertyText(const SectionHoverState& state, float value) {
    StatusText t;
    if (!(std::fabs(value) < kPropertyDisplayLimit)) return t;
    std::array<char, 12> buf;
    t.add(trimRight(state.PropertyLabel.view())).add(" ").add(valueText(value, buf));
    return t.collapse();
}

StatusText coordinateText(float value, std::string_view unit) {
    std::array<char, 12> buf;
    StatusText t;
    t.add(valueText(value, buf)).add(" ").add(trimRight(unit));
    return t.leftJustify();
}

void findVertexOrPivot(float xi, float zi, const model::PolygonModel& m,
                       const util::AxisRecord& axis, bool showPivots, ModelHits& hits) {
    float best = kVertexPickRadius;
    for (int j = 1; j <= m.NBOD; ++j) {
        const bool lockedOut = model::LOCKSTOOUTSIDE(m, j);
        for (int v = m.IV1(j); v <= m.IV2(j); ++v) {
            float d =
                inchDistance(xi, zi, util::PLOFX(m.XVRT(v), axis), util::PLOFY(m.ZVRT(v), axis));
            if (j == hits.HitRegion) d *= kInsidePreference;
            if (lockedOut) d *= kLockPenalty;
            if (m.IPOINT(v) != v) d *= kLockPenalty;
            if (d < best) {
                best = d;
                hits.HitBody = j;
                hits.HitVertex = v;
                hits.HitVertexBase = m.IV1(j) - 1;
                hits.HitPivot = 0;
            }
        }
        if (!showPivots || m.XPIVOT(j) >= model::kNotSet || m.ZPIVOT(j) >= model::kNotSet) continue;
        const float d =
            inchDistance(xi, zi, util::PLOFX(m.XPIVOT(j), axis), util::PLOFY(m.ZPIVOT(j), axis));
        if (d < best) {
            best = d;
            hits.HitPivot = j;
            hits.HitBody = j;
            hits.HitVertex = 0;
        }
    }
}

void showPivot(const model::PolygonModel& m, const ModelHits& hits, HoverOutput& out) {
    StatusText part1;
    part1.add(bodyWord(m, hits.HitPivot)).addInt(hits.HitPivot, 5);
    out.statusText(1, part1.view());
    out.statusText(2, "Pivot Point");
    out.statusText(3, " ");
    out.statusText(4, " ");
    out.cursorShape(kPointCursor);
}

void showVertex(const model::PolygonModel& m, ModelHits& hits, const SectionHoverState& state,
                HoverOutput& out) {
    hits.PopupProperty = m.DENS(hits.HitBody);
    std::array<char, 12> buf;
    StatusText p1, p2, p3, p4;
    p1.add(bodyWord(m, hits.HitBody)).addInt(hits.HitBody, 5).collapse();
    p2.add(" Vrtx: ").addInt(hits.HitVertex - hits.HitVertexBase, 5).add(" of ");
    p2.addInt(vertexCount(m, hits.HitBody), 5).collapse();
    p3.add(" Dist: ").add(valueText(m.XVRT(hits.HitVertex), buf)).collapse();
    p4.add(" Elev: ").add(valueText(m.ZVRT(hits.HitVertex), buf)).collapse();
    out.statusText(1, p1.view());
    out.statusText(2, p2.view());
    out.statusText(3, p3.view());
    out.statusText(4, p4.view());
    out.statusText(5, propertyText(state, hits.PopupProperty).view());
    out.cursorShape(kPointCursor);
}

void showRegion(const model::PolygonModel& m, const ModelHits& hits, const SectionHoverState& state,
                HoverOutput& out) {
    StatusText p4;
    if (hits.HitRegion == 0) {
        p4.add("Background");
    } else if (hits.HitRegion > 0) {
        p4.add(bodyWord(m, hits.HitRegion)).addInt(hits.HitRegion, 5).add(", ");
        p4.addInt(vertexCount(m, hits.HitRegion), 5).add(" Vertices").collapse();
    }
    out.statusText(4, p4.view().empty() ? " " : p4.view());
    const StatusText p5 = propertyText(state, hits.PopupProperty);
    out.statusText(5, p5.view().empty() ? " " : p5.view());
    out.cursorShape(kArrowCursor);
}

void showEdge(const model::PolygonModel& m, ModelHits& hits, const SectionHoverState& state,
              HoverOutput& out) {
    const int body = hits.HitEdgeBody;
    hits.HitVertexBase = m.IV1(body) - 1;
    StatusText p3 = propertyText(state, hits.PopupProperty);
    p3.add(m.LVFIX(body) ? " Free" : " Fixed");
    const int first = hits.HitEdgeVertex - hits.HitVertexBase;
    const int second = hits.HitEdgeVertex == m.IV2(body) ? 1 : first + 1;
    StatusText p4;
    p4.add("Vertices: ").addInt(first, 5).add(", ").addInt(second, 5).collapse();
    out.statusText(3, p3.view());
    out.statusText(4, p4.view());
    out.statusText(5, " ");
    out.cursorShape(kEdgeCursor);
}

}  // namespace

void PMODELODOM(float x, float y, const model::PolygonModel& m, const util::AxisRecord& axis,
                ModelHits& hits, const SectionHoverState& state, HoverOutput& out) {
    if (state.DragPivot || state.DragEdge || state.DragBody || state.DragVertex) return;
    const float xi = x * 10.0f / 10000.0f - axis.originX;
    const float zi = (10000.0f - y) * 8.0f / 10000.0f - axis.originY;
    const float gx = util::XOFPL(xi + axis.originX, axis);
    const float gz = util::YOFPL(zi + axis.originY, axis);

    hits.HitBody = 0;
    hits.HitVertex = 0;
    hits.HitPivot = 0;
    hits.HitRegion = model::ICRBOD(gx, gz, m);
    findVertexOrPivot(xi, zi, m, axis, state.LVIEWPIVOT, hits);

    if (hits.HitRegion == 0)
        hits.PopupProperty = m.DBKG;
    else if (hits.HitRegion > 0)
        hits.PopupProperty = m.DENS(hits.HitRegion);
    else
        hits.PopupProperty = kNoProperty;

    float ex = gx, ez = gz, dist = 0.0f;
    const float ratio = std::fabs(state.SectionUnitsPerInchX / state.SectionUnitsPerInchY);
    model::NEARDG(ex, ez, hits.HitEdgeBody, hits.HitEdgeVertex, ratio, dist, m);

    if (hits.HitPivot > 0) {
        showPivot(m, hits, out);
        return;
    }
    if (hits.HitBody > 0) {
        showVertex(m, hits, state, out);
        return;
    }
    out.statusText(1, coordinateText(gx, state.ViewXUnit.view()).view());
    out.statusText(2, coordinateText(gz, state.ViewZUnit.view()).view());
    if (hits.HitEdgeBody <= 0)
        showRegion(m, hits, state, out);
    else
        showEdge(m, hits, state, out);
}

namespace {

void appendFixed(std::string& s, float value, int width, int decimals) {
    char tmp[64];
    const int n =
        std::snprintf(tmp, sizeof tmp, "%*.*f", width, decimals, static_cast<double>(value));
    if (n < 0 || n > width || !std::isfinite(value))
        s.append(static_cast<std::size_t>(width), '*');
    else
        s.append(tmp, static_cast<std::size_t>(n));
}

void appendInt(std::string& s, long value, int width) {
    char tmp[32];
    const int n = std::snprintf(tmp, sizeof tmp, "%*ld", width, value);
    if (n > width)
        s.append(static_cast<std::size_t>(width), '*');
    else
        s.append(tmp, static_cast<std::size_t>(n));
}

// Replaces the marker characters: ';' by a line break, the others by YES/NO.
std::string expandMarkers(std::string_view text,
                          const std::array<std::pair<char, bool>, 4>& flags) {
    std::string out;
    for (const char c : text) {
        if (c == ';') {
            out += "\r\n";
            continue;
        }
        bool replaced = false;
        for (const auto& [marker, yes] : flags)
            if (c == marker) {
                out += yes ? "YES" : "NO";
                replaced = true;
            }
        if (!replaced) out += c;
    }
    return out;
}

}  // namespace

std::string vertexReadout(model::PolygonModel& m, int body, int vertex, int base, bool magnetic) {
    if (vertex <= 0 || body > m.NBOD || body <= 0) return {};
    if (m.IPOINT(vertex) < 1) m.IPOINT(vertex) = vertex;
    std::string s = m.LAYER(body) ? "Layer: " : "Body: ";
    appendInt(s, body, 7);
    s += " Vertex: ";
    appendInt(s, vertex - base, 7);
    s += " Position: ";
    appendFixed(s, m.XVRT(vertex), 9, 1);
    s += "  Elevation: ";
    appendFixed(s, m.ZVRT(vertex), 9, 1);
    // The property in significant digits: one decimal would hide most densities.
    s += magnetic ? ";Susceptibility: " : ";Density: ";
    std::array<char, 12> buf;
    s += valueText(m.DENS(body), buf);
    s += "  Free: \\  Free in X: /  Free in Z: |  Lock: _";
    return expandMarkers(s, {{{'\\', bool(m.LVFIX(body))},
                              {'/', bool(m.LXFIX(vertex))},
                              {'|', bool(m.LZFIX(vertex))},
                              {'_', m.IPOINT(vertex) != vertex}}});
}

void SHOWPOINTPG(model::PolygonModel& m, int body, int vertex, int base, bool magnetic,
                 HoverOutput& out) {
    const std::string text = vertexReadout(m, body, vertex, base, magnetic);
    if (text.empty()) return;
    util::WINMSG(text);
    out.cursorShape(kArrowCursor);
}

}  // namespace views
