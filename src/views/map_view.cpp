#include "views/map_view.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/map_transforms.h"
#include "model/session_state.h"
#include "model/strike_fold.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/text_state.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/graph_frame.h"
#include "util/pen_plotter.h"
#include "util/plotter_text.h"
#include "views/grid_lines.h"
#include "views/map_scaling.h"
#include "views/plot_page.h"
#include "views/view_state.h"

namespace views {

namespace {

void selectPlotFont() {
    tk::GrTextFont(102, 1, 0.013f, 0.04f);
}

void setLineWidth(int width) {
    tk::SetLineThickness(width, 5 * width);
}

float lengthX(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountX) * a.divLengthX;
}
float lengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

}  // namespace

std::string mapTitle(std::string_view title, bool kilometres) {
    std::string t(title.substr(0, std::min<std::size_t>(title.size(), 40)));
    if (kilometres) {
        const std::size_t p = t.find("m)");
        if (p != std::string::npos) t.replace(p, 2, "km)");
    }
    t.resize(std::min<std::size_t>(t.size(), 40));
    const std::size_t end = t.find_last_not_of(' ');
    t.resize(end == std::string::npos ? 0 : end + 1);
    return t;
}

void REFRESH(model::ProfileDatabase& db, util::AxisRecord& axis) {
    // A redraw of the screen starts from a clean page: no mark stands.
    if (drawingOnScreen()) viewState().MarkedProfile = 0;
    if (db.NPROF <= 0) return;
    tk::OutputWindowSelect(0);
    selectPlotFont();
    layoutMap(axis, tk::WindowInfoQuery(1), tk::WindowInfoQuery(2));
    startPage();
    PLOT_MAP(db, axis);
    const files::ViewSettings& v = files::viewSettings();
    const files::SessionState& s = files::sessionState();
    setLineWidth(1);
    DRAWGRID(axis, s.LGRIDJMP, s.LGRIDNMP ? 13 : 0);
    setLineWidth(v.LineWidth);
    // Hardcopy has no exclusive-or: the mark would be a plain stroke over the
    // current profile's line and hide it, so paper shows the line as drawn.
    if (drawingOnScreen()) showProfileMark(db, axis, model::sessionState().CurrentProfile);
    tk::WindowTitle("Varendal 2-D Data Inversion [" + db.DBNAME.str() + "]");
}

void PLOT_MAP(model::ProfileDatabase& db, util::AxisRecord& axis) {
    const files::ViewSettings& v = files::viewSettings();
    util::PLOTXY(axis.originX, axis.originY, -3, axis);
    setLineWidth(v.LineWidth);
    util::FINDAS(axis);
    axis.tickLengthSwitch = true;
    axis.tickLength = 0.1f;

    // Kilometre display: the frame alone is labelled in thousands.
    const bool km = axis.stepX >= 1000.0f || axis.stepY >= 1000.0f;
    const util::AxisRecord kept = axis;
    if (km) {
        axis.stepX *= 0.001f;
        axis.stepY *= 0.001f;
        axis.startX *= 0.001f;
        axis.startY *= 0.001f;
    }
    util::SETPEN(v.K_GRID);
    selectPlotFont();
    util::GNGRID(axis);
    if (km) {
        axis.stepX = kept.stepX;
        axis.stepY = kept.stepY;
        axis.startX = kept.startX;
        axis.startY = kept.startY;
    }
    const float lx = lengthX(axis), ly = lengthY(axis);

    const std::string name = db.DBNAME.str();
    util::SYMBOL(0.0f, ly + 0.75f * v.HICNAME, v.HICNAME, name, 0.0f,
                 static_cast<int>(name.size()));
    {
        const std::string t = mapTitle(v.AxisLabels(7).view(), km);  // northing
        const int n = static_cast<int>(t.size());
        if (n > 0) {
            const float h = std::min(v.HIMAPV, ly / (0.5f * static_cast<float>(n)));
            // Half a height clear of the labels, as the profile window's
            // titles: a title centred closer reaches into labels drawn at
            // their full width.
            util::CENTSY(axis.extentLeft - 0.5f * h + v.OFFMAPV - util::screenTextGrowth(h),
                         ly / 2.0f, h, t, 90.0f, n);
        }
    }
    {
        const std::string t = mapTitle(v.AxisLabels(6).view(), km);  // easting
        const int n = static_cast<int>(t.size());
        if (n > 0) {
            const float h = std::min(v.HIMAPH, lx / (0.5f * static_cast<float>(n)));
            util::CENTSY(lx / 2.0f,
                         axis.extentLabelY - 0.8f * h + v.OFFMAPH - util::screenTextGrowth(h), h, t,
                         0.0f, n);
        }
    }
    util::SETPEN(v.K_PNTS);
    axis.noTurningBreaks = true;
    for (int i = 1; i <= db.NPROF; ++i) {
        const model::ProfileLine& p = db.profile(i);
        if (p.NSTA <= 0 || !p.EAST.allocated() || !p.NORT.allocated()) continue;
        util::GNPLOT(std::span<const float>(p.EAST.values()),
                     std::span<const float>(p.NORT.values()), p.NSTA, false, axis);
    }
    // A model baseline leaves its own pen behind: every line takes the
    // profile lines' pen again.
    // On paper the lines take a pen that reads on white; the screen and
    // pictures of it keep theirs.
    const int linePen = util::DrawsOnPaper() ? util::PaperPen(v.K_PLIN) : v.K_PLIN;
    for (int i = 1; i <= db.NPROF; ++i) {
        util::SETPEN(linePen);
        PLOTPLINEONMAP(db.profile(i), axis);
    }
    axis.noTurningBreaks = false;
    util::SETPEN(v.K_GRID);
}

namespace {

// The line and baseline; the baseline in BASELINEPEN.
void profileLineOnMap(model::ProfileLine& p, util::AxisRecord& axis, int baselinePen) {
    if (p.NSTA <= 0) return;
    util::GN_MOVE(p.EFIRST, p.NFIRST, axis);
    util::GN_DRAW(p.ELAST, p.NLAST, axis);
    model::PolygonModel& m = p.MODEL;
    float folded = m.STRIKE;
    model::STRK180(m.STRIKE, m.AZIM, folded);
    m.STRIKE = folded;
    const float off = std::fmod(m.AZIM - folded, 360.0f);
    if (std::fabs(off - 90.0f) <= 0.1f) return;  // strike perpendicular: no baseline
    util::SETPEN(baselinePen);
    float e = 0.0f, n = 0.0f;
    model::MAPSET(m);
    model::MAPP2G(m.BASELN, 0.0f, e, n);
    BASELINE(e, n, folded + 90.0f - m.GRIDROT, axis);
}

// Exclusive-or with black (pen 0) leaves every pixel as it is, so the mark
// would never show; white inverts, which shows black on the white map and
// still vanishes when drawn again.
int visibleXorPen(int pen) {
    return pen == 0 ? 15 : pen;
}

}  // namespace

void PLOTPLINEONMAP(model::ProfileLine& p, util::AxisRecord& axis) {
    profileLineOnMap(p, axis, 0);
}

void BASELINE(float e, float n, float azimuth, util::AxisRecord& axis) {
    float sn = std::sin(azimuth / 57.296f), cs = std::cos(azimuth / 57.296f);
    if (!std::isfinite(sn) || !std::isfinite(cs)) {
        sn = 0.0f;
        cs = 1.0f;
    }
    if (std::fabs(sn) <= std::fabs(cs)) {
        const float r = static_cast<float>(axis.divCountY) * axis.stepY;
        const float n1 = axis.startY - 0.05f * r, n2 = axis.startY + 1.05f * r;
        util::GN_MOVE(e + (n1 - n) / cs * sn, n1, axis);
        util::GN_DRAW(e + (n2 - n) / cs * sn, n2, axis);
    } else {
        const float r = static_cast<float>(axis.divCountX) * axis.stepX;
        const float e1 = axis.startX - 0.05f * r, e2 = axis.startX + 1.05f * r;
        util::GN_MOVE(e1, n + (e1 - e) / sn * cs, axis);
        util::GN_DRAW(e2, n + (e2 - e) / sn * cs, axis);
    }
}

void MARKPFLONMAP(model::ProfileLine& profile, util::AxisRecord& axis, int pen) {
    tk::OutputWindowSelect(0);
    util::PLOTXY(axis.originX, axis.originY, -3, axis);
    util::SETPEN(visibleXorPen(pen));
    util::SAVEXOR();
    util::XORON();
    profileLineOnMap(profile, axis, visibleXorPen(0));
    util::RESTOREXOR();
}

void showProfileMark(model::ProfileDatabase& db, util::AxisRecord& axis, int profile) {
    int& marked = viewState().MarkedProfile;
    if (marked == profile) return;
    hideProfileMark(db, axis);
    if (profile < 1 || profile > db.NPROF) return;
    MARKPFLONMAP(db.profile(profile), axis, 0);
    marked = profile;
}

void hideProfileMark(model::ProfileDatabase& db, util::AxisRecord& axis) {
    int& marked = viewState().MarkedProfile;
    if (marked >= 1 && marked <= db.NPROF) MARKPFLONMAP(db.profile(marked), axis, 0);
    marked = 0;
}

}  // namespace views
