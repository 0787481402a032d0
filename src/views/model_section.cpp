#include "views/model_section.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/picking.h"
#include "model/session_state.h"
#include "toolkit/graphics/text_state.h"
#include "util/axis_copy.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/graph_frame.h"
#include "util/pen_plotter.h"
#include "util/plotter_text.h"
#include "views/colour_fill.h"
#include "views/data_graph.h"
#include "views/drag_picture.h"
#include "views/label_drawing.h"
#include "views/profile_layout.h"
#include "views/view_state.h"

namespace views {

namespace {

float lengthX(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountX) * a.divLengthX;
}
float lengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

std::span<const float> range(const model::RealArray& a, int first, int last) {
    if (first < 1 || last < first || last > a.size()) return {};
    return std::span<const float>(a.values())
        .subspan(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

bool withinValues(float x, float z, const util::AxisRecord& a) {
    const float x2 = a.startX + static_cast<float>(a.divCountX) * a.stepX;
    const float z2 = a.startY + static_cast<float>(a.divCountY) * a.stepY;
    return x >= std::min(a.startX, x2) && x <= std::max(a.startX, x2) &&
           z >= std::min(a.startY, z2) && z <= std::max(a.startY, z2);
}

void titles(util::AxisRecord& a, std::string_view xunit, std::string_view zunit) {
    const files::ViewSettings& v = files::viewSettings();
    ViewState& s = viewState();
    const float lx = lengthX(a), ly = lengthY(a);
    std::string t = distanceTitle(v.AxisLabels(4).view(), zunit);
    s.DistanceTitle.assign(t);
    const int n = static_cast<int>(t.size());
    if (a.yLabelsLeft)
        util::CENTSY(a.extentLeft - 0.5f * v.HIMODV + v.OFFMODV - util::screenTextGrowth(v.HIMODV),
                     ly / 2.0f, v.HIMODV, t, 90.0f, n);
    if (a.yLabelsRight && !v.LCOLFILL)
        util::CENTSY(a.extentRight + 2.5f * v.HIMODV + v.OFFMODV + util::screenTextGrowth(v.HIMODV),
                     ly / 2.0f, v.HIMODV, t, 90.0f, n);
    if (a.xLabelsBelow) {
        t = distanceTitle(v.AxisLabels(5).view(), xunit);
        s.DistanceTitle.assign(t);
        util::CENTSY(
            lx / 2.0f,
            a.extentLabelY - 1.5f * v.HIDATH + v.OFFDATH - util::screenTextGrowth(v.HIDATH),
            v.HIDATH, t, 0.0f, static_cast<int>(t.size()));
    }
}

void drawBody(model::PolygonModel& m, int b, int colourCounter, int selected, util::AxisRecord& a) {
    const files::ViewSettings& v = files::viewSettings();
    const int first = m.IV1(b), last = m.IV2(b);
    if (first < 1 || last < first || last > m.XVRT.size()) return;
    if (b == selected)
        util::SETPEN(model::sessionState().BadModel ? v.K_BADB : 13);
    else
        util::SETPEN(v.K_BODY[static_cast<std::size_t>(colourCounter - 1)]);
    const std::span<const float> xs = range(m.XVRT, first, last), zs = range(m.ZVRT, first, last);
    const int n = last - first + 1;
    util::GNPLOT2(xs, zs, n, false, a);
    if (m.LAYER(b)) {
        if (a.startX < m.XVRT(first)) {
            util::GN_MOVE(a.startX, m.ZVRT(first), a);
            util::GN_DRAW(m.XVRT(first), m.ZVRT(first), a);
        }
        const int v5 = last - 4;
        const float right = a.startX + static_cast<float>(a.divCountX) * a.stepX;
        if (v5 >= first && m.XVRT(v5) < right) {
            util::GN_MOVE(right, m.ZVRT(v5), a);
            util::GN_DRAW(m.XVRT(v5), m.ZVRT(v5), a);
        }
    } else {
        util::GN_MOVE(m.XVRT(last), m.ZVRT(last), a);
        util::GN_DRAW(m.XVRT(first), m.ZVRT(first), a);
    }
    if (!viewState().dragging()) {
        if (v.LVIEWVERT) util::GNPLOT2(xs, zs, n, true, a);
        if (v.LVIEWPIVOT) DRAWPIVOT(m, b, false, a);
    }
}

}  // namespace

void PLOTBODIES(util::AxisRecord& a, model::PolygonModel& m, model::LabelSet& labels, int selected,
                std::string_view xunit, std::string_view zunit) {
    files::ViewSettings& v = files::viewSettings();
    a.tickLengthSwitch = true;
    a.tickLength = 0.12f;
    util::PLOTXY(a.originX, a.originY, -3, a);
    tk::SetTextJustification(1);
    tk::SetTextModeLetter("F");
    util::SETPEN(15);
    float x1 = 0.02f, y1 = 0.02f, x2 = lengthX(a) - 0.02f, y2 = lengthY(a) - 0.02f, w = 0.0f;
    util::GNFILL(x1, y1, x2, y2, w, 15, a);
    util::SETPEN(v.K_GRID);
    const util::AxisRecord keptClip = a;
    // During a drag what lies below the dragged body may come back from a
    // copy kept as the drag began.
    const bool underKept = sectionUnderKept(keptClip, m, selected);
    if (selected >= 1) {
        // Keep the drag away from the frame and its numbers.
        a.clipXMin += 0.15f;
        a.clipXMax -= 0.25f;
        a.clipYMin += 0.05f;
        a.clipYMax -= 0.05f;
    } else {
        a.extentLeft = a.extentRight = a.extentLabelY = 0.0f;
        tk::GrTextFont(102, 1, 0.013f, 0.04f);
        util::GNGRID(a);
        titles(a, xunit, zunit);
    }
    auto restoreClip = [&] {
        a.clipXMin = keptClip.clipXMin;
        a.clipXMax = keptClip.clipXMax;
        a.clipYMin = keptClip.clipYMin;
        a.clipYMax = keptClip.clipYMax;
    };
    if (m.NBOD <= 0 && m.NTOPO <= 0) {
        restoreClip();
        return;
    }
    if (v.FILL_MIN > v.FILL_MAX) v.LCOLFILL = false;
    if (v.LCOLFILL && selected < 1 && !viewState().dragging()) {
        int status = 0;
        BODYFILL(a, m, status);
    }
    util::FINDASX(a);
    util::FINDASY(a);
    util::PLOTXY(0.0f, 0.0f, 3);
    const bool putBack = underKept && putBackSectionUnder(m, selected, a);
    util::SETPEN(v.K_ELEV);
    if (m.NTOPO > 0 && !putBack)
        util::GNPLOT(range(m.XTOPO, 1, m.NTOPO), range(m.ZTOPO, 1, m.NTOPO), m.NTOPO, false, a);
    int k = 0;
    for (int b = 1; b <= m.NBOD; ++b) {
        k = k % 10 + 1;
        if (putBack && b < selected) continue;
        if (b == selected && !putBack) {
            // What is drawn so far reaches the window before it is kept.
            util::PLOTXY(0.0f, 0.0f, 3);
            keepSectionUnder(keptClip, m, selected, a, x1, y1, x2, y2);
        }
        drawBody(m, b, k, selected, a);
    }
    const model::NewBodyBuffer& nb = model::newBodyBuffer();
    if (nb.n > 0) {
        util::SETPEN(13);
        const int n = std::min(nb.n, model::kNewBodyCapacity);
        util::GNPLOT(std::span<const float>(nb.X), std::span<const float>(nb.Z), n, false, a);
        util::GNPLOT(std::span<const float>(nb.X), std::span<const float>(nb.Z), n, true, a);
    }
    if (viewState().ShowLocks) {
        DRAWLOCKS(m, a);
        a.markerType = 1;
    }
    if (v.LVIEWFREE) DRAWFREE(m, a);
    if (files::sessionState().LVLabels) DRAWLABELS(labels, 3, a);
    util::SETPEN(v.K_GRID);
    if (selected >= 1) restoreClip();
    util::PLOTXY(0.0f, 0.0f, 3);
}

void DRAWPIVOT(const model::PolygonModel& m, int b, bool xorMode, util::AxisRecord& a) {
    if (b < 1 || b > m.NBOD || b > m.XPIVOT.size()) return;
    const float xp = m.XPIVOT(b), zp = m.ZPIVOT(b);
    if (!(std::fabs(xp) < 1.0E10f && std::fabs(zp) < 1.0E10f)) return;  // no pivot set
    if (xorMode) {
        util::SAVEXOR();
        util::XORON();
    }
    const std::int32_t marker = a.markerType;
    util::SETPEN(13);
    a.markerType = 8;
    util::GN_BOX(xp, zp, a);
    a.markerType = marker;
    if (xorMode) util::RESTOREXOR();
}

void DRAWLOCKS(model::PolygonModel& m, util::AxisRecord& a) {
    if (viewState().dragging() || m.NBOD <= 0) return;
    const files::ViewSettings& v = files::viewSettings();
    const int last = std::min<int>(m.IV2(m.NBOD), static_cast<int>(m.IPOINT.size()));
    for (int i = 1; i <= last; ++i) {
        if (m.IPOINT(i) < 1) m.IPOINT(i) = i;
        const int lead = m.IPOINT(i);
        if (lead == i || lead > last || !withinValues(m.XVRT(i), m.ZVRT(i), a)) continue;
        util::SETPEN(v.K_LOCK);
        a.markerType = 2;
        util::GN_BOX(m.XVRT(i), m.ZVRT(i), a);
        util::GN_MOVE(m.XVRT(i), m.ZVRT(i), a);
        util::GN_DRAW(m.XVRT(lead), m.ZVRT(lead), a);
        a.markerType = 1;
        const float px = util::PLOFX(m.XVRT(lead), a), py = util::PLOFY(m.ZVRT(lead), a);
        util::BOX(px, py, 0.05f, 0.05f, false, a);
        util::SETPEN(13);
        util::BOX(px, py, 0.03f, 0.03f, false, a);
    }
}

void DRAWFREE(const model::PolygonModel& m, util::AxisRecord& a) {
    if (viewState().dragging() || m.NBOD <= 0) return;
    util::SETPEN(files::viewSettings().K_FREE);
    const int last = std::min<int>(m.IV2(m.NBOD), static_cast<int>(m.XVRT.size()));
    for (int i = 1; i <= last; ++i) {
        const bool fx = m.LXFIX.has(i) && m.LXFIX(i);
        const bool fz = m.LZFIX.has(i) && m.LZFIX(i);
        if (!fx && !fz) continue;
        const float px = util::PLOFX(m.XVRT(i), a), py = util::PLOFY(m.ZVRT(i), a);
        if (px < a.clipXMin || px > a.clipXMax || py < a.clipYMin || py > a.clipYMax) continue;
        util::BOX(px, py, fx ? 0.09f : 0.03f, fz ? 0.09f : 0.03f, false, a);
    }
}

void drawElevationsAndKeepScale(model::ProfileLine& p, util::AxisRecord& a) {
    ViewState& s = viewState();
    util::GET_WSCL(s.SectionUnitsPerInchX, s.SectionUnitsPerInchY, a);
    model::SETWNEAR(0.25f * s.SectionUnitsPerInchX, 0.25f * s.SectionUnitsPerInchY,
                    5000.0f * 0.25f * s.SectionUnitsPerInchX);
    util::SETPEN(files::viewSettings().K_ELEV);
    if (p.NSTA > 0 && p.STAT.size() >= p.NSTA && p.ELEV.size() >= p.NSTA)
        util::GNPLOT2(range(p.STAT, 1, p.NSTA), range(p.ELEV, 1, p.NSTA), p.NSTA, false, a);
}

void REFRESHMODEL(model::ProfileLine& p, model::PolygonModel& m, int selected) {
    files::ViewSettings& v = files::viewSettings();
    util::AxisRecord& section = p.AXES[4];
    for (util::AxisRecord* a : {&p.AXES[4], &p.AXES[2], &p.AXES[3]})
        a->clipXMin = a->clipYMin = -0.01f;
    if (v.FILL_MIN > v.FILL_MAX) v.LCOLFILL = false;
    layoutWidth(section, v.LCOLFILL);
    if (v.LCOLFILL) {
        const bool gravity = p.DTYPE.trimmed().find("ravi") != std::string_view::npos;
        viewState().ColourBarTitle = v.AxisLabels(gravity ? 2 : 1);
    }
    if (!v.LSHOWMODEL) return;
    layoutSection(section, v.LSHOWDATA, v.LCOLFILL);
    // The section shares the data graph's distance axis.
    util::COPYXAXIS(section, p.AXES[0]);
    PLOTBODIES(section, m, p.LABELS, selected, p.XUNIT.view(), p.ZUNIT.view());
    drawElevationsAndKeepScale(p, section);
}

}  // namespace views
