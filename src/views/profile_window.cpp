#include "views/profile_window.h"

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/text_state.h"
#include "util/axis_copy.h"
#include "util/pen_plotter.h"
#include "views/data_graph.h"
#include "views/grid_lines.h"
#include "views/model_section.h"
#include "views/profile_layout.h"
#include "views/view_state.h"

namespace views {

namespace {

void setLineWidth(int width) {
    tk::SetLineThickness(width, 5 * width);
}

void menuStates(const model::ProfileLine& p, const model::PolygonModel& m) {
    const files::ViewSettings& v = files::viewSettings();
    const files::SessionState& s = files::sessionState();
    struct Item {
        int id, kind;
        bool on;
    };
    const Item items[] = {
        {40045, 1, m.NBOD >= 1},           {40120, 1, p.NREG >= 1},  {40062, 2, v.LCALCDET},
        {40063, 2, v.LCALCMOVE},           {40077, 2, v.LCOLFILL},   {40080, 2, s.LVLabels},
        {40068, 2, viewState().ShowLocks}, {40078, 2, v.LVIEWFREE},  {40004, 2, v.LVIEWVERT},
        {40122, 2, v.LSHOWDATA},           {40127, 2, v.LSHOWMODEL},
    };
    for (const Item& it : items)
        tk::MenuSetState(it.id, it.kind, it.on ? 1 : 0);
}

}  // namespace

void REFRESHPL(model::ProfileLine& profile) {
    util::PLOTXY(0.0f, 0.0f, 1);
    tk::GrTextFont(102, 1, 0.013f, 0.04f);
    REDISPLAY(profile, profile.MODEL, profile.AXES[0], profile.AXES[2], profile.AXES[4]);
    tk::WindowTitle("Profile: [" + profile.PNAME.str() + "]");
}

void REDISPLAY(model::ProfileLine& p, model::PolygonModel& m, util::AxisRecord& data,
               util::AxisRecord& modelGraph, util::AxisRecord& section) {
    const files::ViewSettings& v = files::viewSettings();
    const files::SessionState& s = files::sessionState();
    tk::OutputWindowSelect(model::sessionState().ProfileWindow);
    tk::WindowFillRectangle();
    menuStates(p, m);
    util::PLOTXY(0.0f, 0.0f, 1);
    section.clipXMin = section.clipYMin = -0.01f;
    modelGraph.clipXMin = modelGraph.clipYMin = -0.01f;
    layoutWidth(data, v.LCOLFILL);
    layoutWidth(section, v.LCOLFILL);
    if (v.LCOLFILL) viewState().ColourBarTitle = v.AxisLabels(p.DTYPE == "Gravity Data" ? 2 : 1);
    if (v.LSHOWDATA) {
        layoutDataGraph(data, v.LSHOWMODEL, v.LCOLFILL);
        PLOT_PROF(data, p, true);
        setLineWidth(1);
        DRAWGRID(data, s.LGRIDJPD, s.LGRIDNPD ? 13 : 0);
        setLineWidth(v.LineWidth);
    }
    if (v.LSHOWMODEL) {
        layoutSection(section, v.LSHOWDATA, v.LCOLFILL);
        util::COPYXAXIS(section, data);
        PLOTBODIES(section, m, p.LABELS, 0, p.XUNIT.view(), p.ZUNIT.view());
        drawElevationsAndKeepScale(p, section);
        setLineWidth(1);
        DRAWGRID(section, s.LGRIDJPM, s.LGRIDNPM ? 13 : 0);
        setLineWidth(v.LineWidth);
    }
}

}  // namespace views
