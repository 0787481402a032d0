#include <algorithm>
#include <vector>

#include "shell/editor_memory.h"
#include "shell/grid_editing.h"
#include "shell/profile_editors.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/grid_public.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kPoints = 5;
constexpr int kStation = 2, kRegional = 3;

EditorGrid regionalGrid() {
    EditorGrid g;
    g.field = IDC_REGIONALGRID;
    g.capacity = kPoints;
    g.kinds = {CellKind::Number, CellKind::Real, CellKind::Real};
    return g;
}

void open(const model::ProfileLine& p) {
    loadDialog(IDD_REGIONAL);
    const std::vector<int> numbers = {1, 2, 3, 4, 5};
    tk::GrdPutInteger(IDC_REGIONALGRID, 1, numbers, kPoints);
    const int n = std::min(p.NREG, kPoints);
    if (n <= 0) return;
    const std::vector<float> x(p.XREG.begin(), p.XREG.begin() + n);
    const std::vector<float> y(p.YREG.begin(), p.YREG.begin() + n);
    util::VRGRIDPUTREAL(IDC_REGIONALGRID, kStation, x, n);
    util::VRGRIDPUTREAL(IDC_REGIONALGRID, kRegional, y, n);
}

void columnMath(const EditorGrid& g, bool multiply) {
    if ((g.column != kStation && g.column != kRegional) || g.row < 1) {
        util::WINMSG("Must be inside data grid to add or multiply");
        return;
    }
    float number = 0.0f;
    if (!askColumnNumber(IDD_REGIONAL, multiply, editorMemory().regionalMath, number)) return;
    changeColumn(g, g.column, g.row, kPoints, kPoints, number, multiply);
}

// Stores the control points of the rows up to the last one used; false,
// with the current cell on it, when one of those rows lacks a value.
bool store(EditorGrid& g, model::ProfileLine& p) {
    const int m = std::max(g.lastFilledRow(kStation), g.lastFilledRow(kRegional));
    for (int row = 1; row <= m; ++row)
        for (int column : {kStation, kRegional})
            if (tk::InfoGridCell(g.field, column, row, 1) <= 0) {
                g.column = column;
                g.row = row;
                tk::GrdSetCell(g.field, column, row);
                util::WINMSG("Not all cells contain valid values.");
                return false;
            }
    std::vector<float> x(kPoints), y(kPoints);
    util::VRGRIDGETREAL(g.field, kStation, x, m);
    util::VRGRIDGETREAL(g.field, kRegional, y, m);
    std::copy(x.begin(), x.begin() + m, p.XREG.begin());
    std::copy(y.begin(), y.begin() + m, p.YREG.begin());
    p.NREG = m;
    return true;
}

}  // namespace

void REGIONALEDIT(model::ProfileLine& profile, int& status) {
    EditorGrid g = regionalGrid();
    open(profile);
    showSemiModeless(editorMemory().regional);
    g.startAtGridCell(kPoints);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(IDD_REGIONAL, e) == tk::FieldChanged) {
            g.follow(e);
            continue;
        }
        if (e[1] == IDC_ADDTO || e[1] == IDC_MULTIPLYBY) {
            columnMath(g, e[1] == IDC_MULTIPLYBY);
            continue;
        }
        if (e[1] != kOkButton && e[1] != kCancelButton) continue;
        rememberPosition(editorMemory().regional);
        if (e[1] == kOkButton && !store(g, profile)) continue;
        status = e[1] == kOkButton ? 0 : -1;
        closeDialog(IDD_REGIONAL);
        return;
    }
}

}  // namespace shell
