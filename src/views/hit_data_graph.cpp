#include "views/hit_data_graph.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "files/ascii_export.h"
#include "util/axis_scaling.h"
#include "util/message_boxes.h"
#include "util/number_text.h"
#include "views/data_graph.h"
#include "views/rubber_band.h"

namespace views {
namespace {

constexpr int kArrowCursor = 0;
constexpr int kPointCursor = 3;
constexpr float kStationGuard = 1.0E-20f;

// Whether the profile's time-unit tag selects the time and frequency read-outs.
bool timeUnits(const model::ProfileLine& p) {
    return p.TUNIT.view() == "SECS";
}

std::string_view yUnitSuffix(const model::ProfileLine& p, const util::AxisRecord& axis) {
    const std::string_view type = p.DTYPE.view();
    if (timeUnits(p)) {
        if (type == "Central Loop TEM    " || type == "Coincident Loop TEM " ||
            type == "Fixed Loop TEM      ")
            return " mSec";
        if (type == "Magnetotelluric Data" || type == "Vertical Coaxial    " ||
            type == "Horizontal Coplanar " || type == "Vertical Coplanar   ")
            return " Hz";
        return " m";
    }
    if (axis.logY) return " ohm-m";
    return {};
}

// Part 2: the cursor's value with the unit its graph shows.
StatusText valuePart(float y, const model::ProfileLine& p, const util::AxisRecord& axis) {
    std::array<char, 12> buf;
    buf.fill(' ');
    std::int32_t nch = 0;
    util::FMTFN(buf, y, nch);
    StatusText t;
    t.add({buf.data(), buf.size()}).leftJustify();
    const std::string_view suffix = yUnitSuffix(p, axis);
    if (!suffix.empty()) return t.add(suffix);
    t.add(" ").add(p.DUNIT[0].view());
    return t.replaceWithin(20, " (", " ").replaceWithin(20, ") ", " ");
}

void stationParts(int i, const model::ProfileLine& p, const DataGraphHoverState& state,
                  HoverOutput& out) {
    std::array<char, 12> buf;
    StatusText p3, p4, p5;
    p3.addInt(i, 7).add(" Point");
    p4.add(valueText(p.STAT(i), buf, true)).add(" ").add(trimRight(state.ViewXUnit.view()));
    p5.add(valueText(p.DAT(i, 1), buf, true)).add(" ").add(trimRight(p.DUNIT[0].view()));
    out.statusText(3, p3.view());
    out.statusText(4, p4.view());
    out.statusText(5, p5.view());
    out.cursorShape(kPointCursor);
}

void boxParts(float x, float y, const util::AxisRecord& axis, const DataGraphHoverState& state,
              HoverOutput& out) {
    StatusText p3, p4;
    p3.addFixed(std::fabs(x - util::XOFPL(inchesAcross(state.AnchorX), axis)), 9, 1).add(" Vadi");
    p4.addFixed(std::fabs(y - util::YOFPL(inchesUp(state.AnchorY), axis)), 9, 1).add(" High");
    out.statusText(3, p3.view());
    out.statusText(4, p4.view());
    out.statusText(5, " ");
}

}  // namespace

void PLINEODOM(float xin, float yin, const model::ProfileLine& p, const util::AxisRecord& axis,
               int& hitDataPoint, DataGraphHoverState& state, HoverOutput& out) {
    const float x = util::XOFPL(xin, axis);
    const float y = util::YOFPL(yin, axis);
    hitDataPoint = 0;
    float best = kStationPickRadius;
    const int n = files::stationsWritten(p, false);
    for (int i = 1; i <= n; ++i) {
        const float dy = yin - (util::PLOFY(p.DAT(i, 1), axis) + axis.originY);
        const float dx = xin - (util::PLOFX(p.STAT(i), axis) + axis.originX);
        const float d = std::sqrt(dy * dy + dx * dx + kStationGuard);
        if (d < best) {
            best = d;
            hitDataPoint = i;
        }
    }
    if (state.RubberBoxShown) {
        boxParts(x, y, axis, state, out);
    } else if (hitDataPoint > 0 && hitDataPoint != state.LastShownPoint) {
        stationParts(hitDataPoint, p, state, out);
        state.LastShownPoint = hitDataPoint;
    } else if (hitDataPoint == 0) {
        out.statusText(3, " ");
        out.statusText(4, " ");
        out.statusText(5, " ");
        state.LastShownPoint = 0;
        out.cursorShape(kArrowCursor);
    }
    StatusText p1;
    p1.addFixed(x, 8, 1).add(" ").add(trimRight(state.ViewXUnit.view())).leftJustify();
    out.statusText(1, p1.view());
    out.statusText(2, valuePart(y, p, axis).view());
}

void profileSummary(const model::ProfileLine& p, HoverOutput& out) {
    std::array<char, 12> buf;
    StatusText p1, p2;
    p1.addInt(p.NSTA, 5).add(" Points").leftJustify();
    // Three digits of the misfit leave room for its unit in a fifth of the
    // status bar of a window of the default size.
    // A profile never calculated has no misfit to show.
    if (p.LSYN)
        p2.add("Err: ").add(shortValueText(p.RMSERR, buf)).add(" ").add(unitText(p.DUNIT[0].view()));
    else
        p2.add(" ");
    p2.collapse().leftJustify();
    out.cursorShape(kArrowCursor);
    out.statusText(1, p1.view());
    out.statusText(2, p2.view());
    // What the last hover, drag or zoom read out is no longer under the pointer.
    for (int part = 3; part <= 5; ++part) out.statusText(part, " ");
}

namespace {

void appendFixed(std::string& s, float value) {
    char tmp[64];
    const int n = std::snprintf(tmp, sizeof tmp, "%9.1f", static_cast<double>(value));
    if (n < 0 || n > 9 || !std::isfinite(value))
        s.append(9, '*');
    else
        s.append(tmp, static_cast<std::size_t>(n));
}

}  // namespace

std::string stationReadout(const model::ProfileLine& p, int i) {
    if (i <= 0 || i > files::stationsWritten(p, false) || !p.SYN.has(i, 1) || !p.MASK.has(i, 1))
        return {};
    std::string s = "East: ";
    appendFixed(s, p.EAST(i));
    s += " North: ";
    appendFixed(s, p.NORT(i));
    s += " Station: ";
    appendFixed(s, p.STAT(i));
    s += "  Elevation: ";
    appendFixed(s, p.ELEV(i));
    s += "\r\nData: ";
    appendFixed(s, p.DAT(i, 1));
    s += " Synthetic:";
    appendFixed(s, p.SYN(i, 1));
    s += " Mask: ";
    s += p.MASK(i, 1) ? "YES" : "NO";
    return s;
}

void SHOWPOINTPF(const model::ProfileLine& p, int i, HoverOutput& out) {
    const std::string text = stationReadout(p, i);
    if (text.empty()) return;
    util::WINMSG(text);
    out.cursorShape(kArrowCursor);
}

void TESTPOINTPLINE(const model::ProfileLine& p, int k, float anchorX, int& hit, HoverOutput& out) {
    hit = 0;
    if (p.NSTA < 1 || k < 1 || k > model::kAxisCount) return;
    const util::AxisRecord& axis = p.AXES[static_cast<std::size_t>(k - 1)];
    float best = kStationPickRadius;
    for (int i = 1; i <= p.NSTA; ++i) {
        const float d =
            std::fabs(inchesAcross(anchorX) - axis.originX - util::PLOFX(p.STAT(i), axis));
        if (d < best) {
            best = d;
            hit = i;
        }
    }
    out.cursorShape(hit > 0 ? kPointCursor : kArrowCursor);
}

}  // namespace views
