#include "shell/label_commands.h"

#include <cmath>
#include <span>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/picking.h"
#include "shell/model_drag.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "util/graph_zoom.h"
#include "util/message_boxes.h"
#include "views/label_drawing.h"
#include "views/label_set.h"

namespace shell {

namespace {

constexpr int kDataGraph = 1;
constexpr int kSectionGraph = 3;
constexpr int kValueLabel = 1;
constexpr int kTextLabel = 0;

std::size_t at(int i) {
    return static_cast<std::size_t>(i - 1);
}

model::LabelSet& labels() {
    return workingProfile().LABELS;
}

bool popupLabelValid() {
    const int i = pointerState().PopupLabel;
    return i >= 1 && i <= labels().NLAB;
}

void labelsChanged() {
    files::sessionState().LVLabels = true;
    markProfileChanged();
    refreshProfileWindow();
}

// The graph at the pop-up's position that takes a new label: the data
// graph, else the model section; null for neither.
const util::AxisRecord* labelGraph(int& graph) {
    const PointerState& p = pointerState();
    const files::ViewSettings& v = files::viewSettings();
    const int x = p.PopupCursorX, y = p.PopupCursorY;
    if (v.LSHOWDATA && util::LINGRAPH(graphX(x, dataAxis()), graphY(y, dataAxis()), dataAxis())) {
        graph = kDataGraph;
        return &dataAxis();
    }
    if (v.LSHOWMODEL &&
        util::LINGRAPH(graphX(x, sectionAxis()), graphY(y, sectionAxis()), sectionAxis())) {
        graph = kSectionGraph;
        return &sectionAxis();
    }
    return nullptr;
}

void newLabelCommand(int window) {
    if (window != profileWindow()) return;
    model::LabelSet& s = labels();
    PointerState& p = pointerState();
    if (s.NLAB >= model::kLabelLimit) {
        util::WINMSG("Too many labels");
        markProfileChanged();
        return;
    }
    int graph = 0;
    const util::AxisRecord* axis = labelGraph(graph);
    if (!axis) return;
    const float x = graphX(p.PopupCursorX, *axis), y = graphY(p.PopupCursorY, *axis);
    const int k = ++s.NLAB;
    const std::size_t i = at(k);
    s.IWINDOW[i] = graph;
    s.IPARAM[i] = kTextLabel;
    p.label.LabelAxisCopy = *axis;
    s.XCLAB[i] = s.XARRO[i] = x;
    s.YCLAB[i] = s.YARRO[i] = y;
    s.HILAB[i] = 0.2f * std::fabs(axis->stepY);
    s.WDLAB[i] = std::fabs(axis->stepX);
    // The lowest-numbered earlier label of the graph with a size decides it.
    for (int j = k - 1; j >= 1; --j) {
        const std::size_t e = at(j);
        if (s.IWINDOW[e] != graph || (s.HILAB[e] == 0.0f && !(s.WDLAB[e] > 0.0f))) continue;
        s.WDLAB[i] = s.WDLAB[e];
        s.HILAB[i] = s.HILAB[e];
    }
    s.CMODL[i].assign("");
    int status = 0;
    STRINGINDLG("Label Text:", std::span<char>(s.CMODL[i].data(), 50), status);
    labelsChanged();
}

void editLabelCommand(int window) {
    PointerState& p = pointerState();
    if (window != profileWindow()) return;
    if (popupLabelValid()) editLabelText(p.PopupLabel);
    p.PopupLabel = 0;
    markProfileChanged();
}

void deleteLabelCommand(int window) {
    PointerState& p = pointerState();
    if (window != profileWindow() || !popupLabelValid()) return;
    views::DELETELABEL(labels(), p.PopupLabel);
    p.PopupLabel = 0;
    markProfileChanged();
    refreshProfileWindow();
}

// Moves the arrow point of the pop-up's label; a property label shows the
// property at its new arrow point.
void setArrow(bool add) {
    PointerState& p = pointerState();
    model::LabelSet& s = labels();
    if (popupLabelValid()) {
        const std::size_t i = at(p.PopupLabel);
        s.XARRO[i] = add ? s.XCLAB[i] - 0.75f * s.WDLAB[i] : s.XCLAB[i];
        s.YARRO[i] = add ? s.YCLAB[i] - 0.5f * s.HILAB[i] : s.YCLAB[i];
        if (s.IPARAM[i] == kValueLabel && files::viewSettings().LSHOWMODEL) {
            float value = 0.0f;
            model::BODYPROPERTY(s.XARRO[i], s.YARRO[i], s.CMODL[i], workingModel(), value,
                                workingProfile().DUNIT[0].view());
        }
        refreshProfileWindow();
    }
    p.PopupLabel = 0;
    markProfileChanged();
}

// 40140 is Add Arrow in the label pop-up and Cancel in every other one.
void addArrowCommand(int window) {
    if (window != profileWindow() || pointerState().PopupMenu != IDM_LABEL) return;
    setArrow(true);
}

void deleteArrowCommand(int window) {
    if (window == profileWindow()) setArrow(false);
}

void deleteAllLabelsCommand(int window) {
    if (window != profileWindow()) return;
    int status = 0;
    PROCEEDDLG("Delete all labels - are you sure?", status);
    if (status != 0) return;
    labels().NLAB = 0;
    markProfileChanged();
    refreshProfileWindow();
}

void propertyLabelCommand(int window) {
    PointerState& p = pointerState();
    if (window != profileWindow()) return;
    p.label.LabelAxisCopy = sectionAxis();
    if (p.PopupProperty < 1.0E10f)
        views::MANVLABEL(labels(), kSectionGraph, p.PopupProperty, p.PopupCursorX,
                         p.PopupCursorY, sectionAxis(), workingProfile().DUNIT[0].view());
    else
        util::WINMSG("Must be inside layer, body or topography to label property");
    labelsChanged();
}

}  // namespace

void addLabelCommands(CommandTable& t) {
    t.set(CMD_NEWLABEL, newLabelCommand);
    t.set(CMD_EDITLABEL, editLabelCommand);
    t.set(CMD_DELETELABEL, deleteLabelCommand);
    t.set(CMD_ADDARROW, addArrowCommand);
    t.set(CMD_DELETEARROW, deleteArrowCommand);
    t.set(CMD_DELETEALLLABELS, deleteAllLabelsCommand);
    t.set(CMD_LABELBODY, propertyLabelCommand);
    t.set(CMD_LABELBACKGROUND, propertyLabelCommand);
}

}  // namespace shell
