#include "views/label_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "files/view_settings.h"
#include "toolkit/graphics/text_state.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "util/plotter_text.h"
#include "util/text_clean.h"
#include "views/label_set.h"

namespace views {

namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i - 1);
}

bool isPointLabel(const model::LabelSet& s, int i) {
    return std::fabs(s.XARRO[at(i)] - s.XCLAB[at(i)]) < 0.0001f &&
           std::fabs(s.YARRO[at(i)] - s.YCLAB[at(i)]) < 0.0001f;
}

void outline(float xl, float yl, float hw, float hh) {
    util::PLOTXY(xl - hw, yl - hh, 3);
    util::PLOTXY(xl + hw, yl - hh, 2);
    util::PLOTXY(xl + hw, yl + hh, 2);
    util::PLOTXY(xl - hw, yl + hh, 2);
    util::PLOTXY(xl - hw, yl - hh, 2);
}

// Next free entry K of the set; the size of a new label of GRAPH.
void newLabelSize(model::LabelSet& s, int k, int graph, const util::AxisRecord& axis) {
    if (k == 1) {
        s.WDLAB[0] = 0.75f * std::fabs(axis.stepX);
        s.HILAB[0] = 0.2f * std::fabs(axis.stepY);
    } else {
        s.WDLAB[at(k)] = s.WDLAB[at(k - 1)];
        s.HILAB[at(k)] = s.HILAB[at(k - 1)];
    }
    for (int j = k - 1; j >= 1; --j) {
        if (s.IWINDOW[at(j)] != graph) continue;
        if (s.HILAB[at(j)] != 0.0f || s.WDLAB[at(j)] > 0.0f) {
            s.WDLAB[at(k)] = s.WDLAB[at(j)];
            s.HILAB[at(k)] = s.HILAB[at(j)];
        }
    }
}

}  // namespace

void DRAWLABELS(model::LabelSet& labels, int graph, util::AxisRecord& axis) {
    util::SETPEN(files::viewSettings().K_LABL);
    labels.NLAB = std::min(labels.NLAB, model::kLabelLimit);
    for (int i = 1; i <= labels.NLAB; ++i)
        if (labels.IWINDOW[at(i)] == graph) DRAWLABEL(labels, i, false, axis);
}

void DRAWLABEL(model::LabelSet& s, int i, bool xorMode, util::AxisRecord& axis) {
    if (i < 1 || i > model::kLabelLimit) return;
    const std::size_t k = at(i);
    s.HILAB[k] = std::fabs(s.HILAB[k]);
    float h = std::fabs(s.HILAB[k] * axis.scaleY);
    const float w = s.WDLAB[k] * axis.scaleX;
    const float hw = std::fabs(w) / 2.0f;
    const float xl = util::PLOFX(s.XCLAB[k], axis);
    const float yl = util::PLOFY(s.YCLAB[k], axis);

    base::FixedString<50> text = s.CMODL[k];
    util::CHR_CHK(std::span<char>(text.data(), 50), 50);
    const std::string t = text.str();
    const int n = static_cast<int>(t.size());
    const float S = n > 0 ? tk::StringWidthInUnits(t, n) : 0.0f;
    const float fit = S > 0.0f ? w / (0.5f * S) : 0.0f;

    float start = 0.0f, textWidth = 0.0f;
    if (xorMode) {
        util::SETPEN(15);
        util::XORON();
        util::PLOTXY(axis.originX, axis.originY, -3, axis);
        outline(xl, yl, hw, h / 2.0f);
        util::XOROFF();
        start = xl - hw;
    } else {
        if (n >= 1 && h > 0.0f && hw > 0.0f) {
            std::int32_t pen = 0;
            util::GETPEN(pen);
            util::PLOTFILLRECT(xl - hw, yl - h / 2.0f, xl + hw, yl + h / 2.0f, 2.0f * hw, 15);
            util::SETPEN(pen);
        }
        if (fit < h) h = fit;
        textWidth = 0.43f * h * S;
        if (isPointLabel(s, i))
            start = xl - textWidth / 2.0f;
        else if (s.XARRO[k] < s.XCLAB[k])
            start = xl - hw;
        else
            start = xl + hw - textWidth - 0.1f * h;
        if (n >= 1 && h > 0.0f) util::SYMBOL(start, yl - h / 2.0f, h, t, 0.0f, n);
    }
    if (isPointLabel(s, i)) return;
    if (xorMode) util::XORON();
    float s0 = 0.0f, s1 = 0.0f;
    if (s.XARRO[k] > s.XCLAB[k]) {
        s0 = xorMode ? xl + hw + 0.15f * h : start + textWidth + 0.15f * h;
        s1 = s0 + h / 2.0f;
    } else {
        s0 = start;
        s1 = s0 - h / 2.0f;
    }
    util::PLOTXY(s0, yl, 3);
    util::PLOTXY(s1, yl, 2);
    util::PLOTXY(util::PLOFX(s.XARRO[k], axis), util::PLOFY(s.YARRO[k], axis), 2);
    if (xorMode) util::XOROFF();
}

void MANVLABEL(model::LabelSet& s, int graph, float value, int cx, int cy,
               const util::AxisRecord& axis, std::string_view unit) {
    if (s.NLAB >= model::kLabelLimit) {
        util::WINMSG("Too many labels");
        return;
    }
    const float x = util::XOFPL(static_cast<float>(cx) * 10.0f / 10000.0f, axis);
    const float y = util::YOFPL(static_cast<float>(10000 - cy) * 8.0f / 10000.0f, axis);
    const int k = ++s.NLAB;
    newLabelSize(s, k, graph, axis);
    s.XCLAB[at(k)] = s.XARRO[at(k)] = x;
    s.YCLAB[at(k)] = s.YARRO[at(k)] = y;
    s.IWINDOW[at(k)] = graph;
    s.IPARAM[at(k)] = 1;
    s.CMODL[at(k)].assign(valueLabelText(value, unit));
}

void MANDLABL(model::LabelSet& s, int graph, int /*cx*/, int cy, float xvalue,
              const util::AxisRecord& axis) {
    if (s.NLAB >= model::kLabelLimit) {
        util::WINMSG("Too many labels");
        return;
    }
    const float y = util::YOFPL(static_cast<float>(10000 - cy) * 8.0f / 10000.0f, axis);
    const int k = ++s.NLAB;
    newLabelSize(s, k, graph, axis);
    s.XCLAB[at(k)] = s.XARRO[at(k)] = xvalue;
    s.YCLAB[at(k)] = s.YARRO[at(k)] = y;
    s.IWINDOW[at(k)] = graph;
    s.IPARAM[at(k)] = 2;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%5.1f", static_cast<double>(xvalue));
    s.CMODL[at(k)].assign(std::string(buf).size() > 5 ? std::string("*****") : std::string(buf));
}

}  // namespace views
