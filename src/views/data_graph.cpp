#include "views/data_graph.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "toolkit/graphics/text_state.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/graph_frame.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "util/plotter_text.h"
#include "views/drag_picture.h"
#include "views/label_drawing.h"
#include "views/profile_layout.h"
#include "views/view_state.h"

namespace views {

namespace {

constexpr int kMagneticsTitle = 21, kGravityTitle = 22;

std::string trimmed(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

float lengthX(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountX) * a.divLengthX;
}
float lengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

std::span<const float> component(const model::Array2<float>& a, int comp, int n) {
    const std::size_t first =
        static_cast<std::size_t>(comp - 1) * static_cast<std::size_t>(a.rows());
    if (n <= 0 || first + static_cast<std::size_t>(n) > a.values().size()) return {};
    return std::span<const float>(a.values()).subspan(first, static_cast<std::size_t>(n));
}

// A type without titles is said once a run: a warning on every redraw
// would stand between the user and every command.
void unknownType(std::string_view dtype) {
    std::vector<std::string>& warned = viewState().WarnedDataTypes;
    const std::string name = trimmed(dtype);
    if (std::find(warned.begin(), warned.end(), name) != warned.end()) return;
    warned.push_back(name);
    util::WINWRN("UNKNOWN GRAPH TYPE IN SUBROUTINE PLOT_Prof: \"" + name + "\"");
}

// The gravity and magnetic types of the new-profile dialogs that the title
// table does not name: their own name and unit in place of the family's.
bool ownTitle(std::string_view dtype) {
    const std::string t = trimmed(dtype);
    return t != "Gravity Data" && t != "Magnetics Data" && t != "Magnetics Total Fld" &&
           t != "Gravity/Mag Data";
}

void verticalTitle(int entry, const model::ProfileLine& p, float x, float y) {
    const files::ViewSettings& v = files::viewSettings();
    if (entry == 0) {
        unknownType(p.DTYPE.view());
        return;
    }
    std::string t = trimmed(v.AxisLabels(static_cast<std::size_t>(entry)).view());
    if ((entry == kMagneticsTitle || entry == kGravityTitle) && ownTitle(p.DTYPE.view())) {
        std::string unit = unitText(p.DUNIT[0].view());
        if (unit.empty()) unit = entry == kGravityTitle ? "mgal" : "nT";
        t = trimmed(p.DTYPE.view()) + " (" + unit + ")";
    }
    util::CENTSY(x, y, v.HIDATV, t, 90.0f, static_cast<int>(t.size()));
}

void drawFrameAndTitles(model::ProfileLine& p, int panel, util::AxisRecord& a, float ly1) {
    const files::ViewSettings& v = files::viewSettings();
    a.tickLengthSwitch = true;
    a.tickLength = 0.12f;
    a.extentLeft = a.extentRight = a.extentLabelY = 0.0f;
    util::SETPEN(v.K_GRID);
    util::GNGRID(a);
    if (panel == 1) {
        const std::string name = p.PNAME.str();
        util::SYMBOL(0.0f, ly1 + 0.75f * v.HICNAME, v.HICNAME, name, 0.0f,
                     static_cast<int>(name.size()));
    }
    util::FINDAS(a);
    const float lx = lengthX(a), ly = lengthY(a);
    const DataTitles titles = dataTitles(p.DTYPE.view(), panel, p.NDGRAF);
    if (a.yLabelsLeft)
        verticalTitle(titles.left, p,
                      a.extentLeft - 0.5f * v.HIDATV + v.OFFDATV - util::screenTextGrowth(v.HIDATV),
                      ly / 2.0f);
    if (a.yLabelsRight)
        verticalTitle(titles.right, p,
                      a.extentRight + 0.5f * v.HIDATV + util::screenTextGrowth(v.HIDATV),
                      ly / 2.0f - v.OFFDATV);
    if (a.xLabelsBelow) {
        const std::string t = distanceTitle(v.AxisLabels(5).view(), p.XUNIT.view());
        util::CENTSY(
            lx / 2.0f,
            a.extentLabelY - 1.5f * v.HIDATH + v.OFFDATH - util::screenTextGrowth(v.HIDATH),
            v.HIDATH, t, 0.0f, static_cast<int>(t.size()));
    }
}

}  // namespace

DataTitles dataTitles(std::string_view dtype, int panel, int graphs) {
    // Every type the program itself makes (the importers, the new-profile
    // dialogs) has its titles: gravity in milligals, magnetics in nanotesla.
    static constexpr std::string_view gravity[] = {"Gravity Data", "Microgravity Data",
                                                   "Gravity Gradient"};
    static constexpr std::string_view magnetics[] = {
        "Magnetics Data",     "Magnetics Total Fld", "Magnetics Vert Grad",
        "Magnetics X-Comp.",  "Magnetics Y-Ccomp",   "Magnetics Z-Comp",
        "Magnetics X-V Grad", "Magnetics Y-V Grad",  "Magnetics Z-V Grad"};
    const std::string t = trimmed(dtype);
    if (t == "VLF In-Phase/Quad") return {15, 15};
    if (std::find(std::begin(gravity), std::end(gravity), t) != std::end(gravity)) return {22, 22};
    if (std::find(std::begin(magnetics), std::end(magnetics), t) != std::end(magnetics))
        return {21, 21};
    if (t == "Gravity/Mag Data") return {(panel == 1 || graphs == 1) ? 22 : 21, 21};
    return {0, 0};
}

std::string unitText(std::string_view field) {
    std::string t;
    for (char c : field)
        if (c != '\0') t += c;
    const std::size_t first = t.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : trimmed(t.substr(first));
}

std::string distanceTitle(std::string_view table5, std::string_view unit) {
    std::string t = trimmed(table5);
    const std::size_t p = t.find("(m)");
    const std::string shown = unitText(unit);
    if (p != std::string::npos && !shown.empty()) t.replace(p, 3, "(" + shown + ")");
    return t.substr(0, 40);
}

void PLOT_PROF(util::AxisRecord& axis1, model::ProfileLine& p, bool full) {
    if (p.NSTA <= 0) return;
    const files::ViewSettings& v = files::viewSettings();
    util::SETPEN(15);
    util::PLOTXY(axis1.originX, axis1.originY, -3, axis1);
    float x1 = 0.02f, y1 = 0.02f, x2 = lengthX(axis1) - 0.02f, y2 = lengthY(axis1) - 0.02f, w = 0;
    util::GNFILL(x1, y1, x2, y2, w, 15, axis1);
    tk::GrTextFont(102, 1, 0.013f, 0.04f);
    const float ly1 = lengthY(axis1);
    const int n = p.NSTA;
    const std::span<const float> stat(
        p.STAT.values().data(),
        std::min<std::size_t>(p.STAT.values().size(), static_cast<std::size_t>(n)));
    const int panels = std::clamp(p.NDGRAF, 0, 2);
    for (int i = 1; i <= panels; ++i) {
        util::AxisRecord& a = p.AXES[static_cast<std::size_t>(i - 1)];
        util::PLOTXY(a.originX, a.originY, -3, a);
        if (full) drawFrameAndTitles(p, i, a, ly1);
        const int comp = std::min(i, std::max(p.NCOMP, 1));

        util::SETPEN(v.K_DATA);
        std::span<const float> dat = component(p.DAT, comp, n);
        if (!dat.empty() && static_cast<int>(stat.size()) >= n) {
            std::unique_ptr<bool[]> masked(new bool[static_cast<std::size_t>(n)]);
            for (int s = 1; s <= n; ++s)
                masked[static_cast<std::size_t>(s - 1)] = p.MASK.has(s, comp) && p.MASK(s, comp);
            const std::span<const bool> flags(masked.get(), static_cast<std::size_t>(n));
            // One panel lies under nothing but its own synthetics: its
            // observed values may come from the drag's kept picture.
            if (panels == 1 && !full && &a == &axis1)
                drawObservedValues(p, stat.first(static_cast<std::size_t>(n)), dat, flags, a, x1,
                                   y1, x2, y2);
            else
                util::GNPLTM(stat, dat, n, flags, a);
        }
        util::SETPEN(model::sessionState().BadModel ? v.K_BADB : v.K_SYNT);
        std::span<const float> syn = component(p.SYN, comp, n);
        if (p.LSYN && !syn.empty()) util::GNPLOT(stat, syn, n, false, a);

        if (v.LVIEWREG && p.NREG >= 1) {
            util::SETPEN(v.K_REG);
            if (p.LSYN && p.REG.allocated() && static_cast<int>(p.REG.values().size()) >= n)
                util::GNPLOT(stat, std::span<const float>(p.REG.values()), n, false, a);
            // With the stored regional array in use the five control points
            // still mark where it was last edited.
            const int k = std::min(p.NREG, 5);
            util::GNPLOT(std::span<const float>(p.XREG), std::span<const float>(p.YREG), k, true,
                         a);
        }
        a.markerType = 0;
        if (files::sessionState().LVLabels) DRAWLABELS(p.LABELS, i, axis1);
    }
}

void REFRESHDATA(model::ProfileLine& profile, util::AxisRecord& axis) {
    if (!files::viewSettings().LSHOWDATA) return;
    layoutDataGraph(axis, files::viewSettings().LSHOWMODEL, files::viewSettings().LCOLFILL);
    PLOT_PROF(axis, profile, false);
}

}  // namespace views
