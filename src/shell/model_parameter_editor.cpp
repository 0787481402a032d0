#include "shell/model_parameter_editor.h"

#include <vector>

#include "shell/editor_memory.h"
#include "shell/grid_editing.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/grid_public.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kFreeColumn = 3;

// A real column of the grid and the body array it shows.
struct RealColumn {
    int column;
    model::RealArray model::PolygonModel::*array;
};

std::vector<RealColumn> realColumns(bool gravity) {
    std::vector<RealColumn> c = {{2, &model::PolygonModel::DENS},
                                 {4, &model::PolygonModel::XTENT2},
                                 {5, &model::PolygonModel::XTENT1}};
    if (!gravity) {
        c.push_back({6, &model::PolygonModel::REMS});
        c.push_back({7, &model::PolygonModel::DIPS});
        c.push_back({8, &model::PolygonModel::DECS});
    }
    return c;
}

EditorGrid modelGrid(bool gravity, int bodies) {
    EditorGrid g;
    g.field = IDC_BODYGRID;
    g.capacity = bodies;
    g.kinds = {CellKind::Number, CellKind::Real, CellKind::Check, CellKind::Real, CellKind::Real};
    if (!gravity) g.kinds.insert(g.kinds.end(), 3, CellKind::Real);
    return g;
}

std::vector<float> bodyValues(const model::RealArray& a, int n) {
    std::vector<float> v;
    for (int b = 1; b <= n; ++b)
        v.push_back(a(b));
    return v;
}

void open(int dialog, const model::PolygonModel& m, bool gravity) {
    loadDialog(dialog);
    tk::DlgPutReal(IDC_PROPERTY, m.DBKG);
    if (!gravity) {
        tk::DlgPutReal(IDC_BACKGROUNDKRATIO, m.BKRAT);
        tk::DlgPutReal(IDC_INCLINATION, m.BKINC);
        tk::DlgPutReal(IDC_DECLINATION, m.BKDEC);
    }
    const int n = m.NBOD;
    if (n < 1) return;  // the grid keeps its empty rows
    tk::GrdRows(IDC_BODYGRID, n);
    std::vector<int> numbers, free;
    for (int b = 1; b <= n; ++b) {
        numbers.push_back(b);
        free.push_back(m.LVFIX(b) ? 1 : 0);
    }
    tk::GrdPutInteger(IDC_BODYGRID, 1, numbers, n);
    tk::GrdPutCheckBox(IDC_BODYGRID, kFreeColumn, free, n);
    for (const RealColumn& c : realColumns(gravity))
        util::VRGRIDPUTREAL(IDC_BODYGRID, c.column, bodyValues(m.*c.array, n), n);
}

// The first real cell without a value; false when every one holds one.
bool findEmptyCell(const EditorGrid& g, bool gravity, int bodies, int& column, int& row) {
    for (const RealColumn& c : realColumns(gravity))
        for (int b = 1; b <= bodies; ++b)
            if (tk::InfoGridCell(g.field, c.column, b, 1) <= 0) {
                column = c.column;
                row = b;
                return true;
            }
    return false;
}

void store(model::PolygonModel& m, bool gravity) {
    const int n = m.NBOD;
    for (const RealColumn& c : realColumns(gravity)) {
        std::vector<float> v(static_cast<std::size_t>(n));
        util::VRGRIDGETREAL(IDC_BODYGRID, c.column, v, n);
        for (int b = 1; b <= n; ++b)
            (m.*c.array)(b) = v[static_cast<std::size_t>(b - 1)];
    }
    std::vector<int> free(static_cast<std::size_t>(n), 0);
    int count = n;
    tk::GridColumnGetCheckBox(IDC_BODYGRID, kFreeColumn, free, count);
    for (int b = 1; b <= n; ++b)
        m.LVFIX(b) = free[static_cast<std::size_t>(b - 1)] > 0;
}

void columnMath(int dialog, const EditorGrid& g, int bodies, bool multiply) {
    if (bodies < 1 || g.column < 1 || g.row < 1) {
        util::WINMSG("Must be inside data grid to add or multiply");
        return;
    }
    float number = 0.0f;
    if (!askColumnNumber(dialog, multiply, editorMemory().modelMath, number)) return;
    if (g.kindOf(g.column) != CellKind::Real) return;
    changeColumn(g, g.column, g.row, bodies, bodies, number, multiply);
}

}  // namespace

void MODELPAREDIT(model::PolygonModel& model, bool gravity, int& status) {
    const int dialog = gravity ? IDD_MODELPARAMSGRAV : IDD_MODELPARAMSMAG;
    const int bodies = model.NBOD;
    EditorGrid g = modelGrid(gravity, bodies);
    open(dialog, model, gravity);
    showSemiModeless(editorMemory().modelEditor);
    g.startAtGridCell(bodies);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(dialog, e) == tk::FieldChanged) {
            g.follow(e);
            continue;
        }
        if (e[1] == IDC_ADDTO || e[1] == IDC_MULTIPLYBY) {
            columnMath(dialog, g, bodies, e[1] == IDC_MULTIPLYBY);
        } else if (e[1] == kCancelButton) {
            rememberPosition(editorMemory().modelEditor);
            status = -1;
            closeDialog(dialog);
            return;
        } else if (e[1] == kOkButton) {
            rememberPosition(editorMemory().modelEditor);
            int column = 0, row = 0;
            if (findEmptyCell(g, gravity, bodies, column, row)) {
                g.column = column;
                g.row = row;
                tk::GrdSetCell(g.field, column, row);
                util::WINMSG("Not all cells contain valid values");
                continue;
            }
            store(model, gravity);
            status = 0;
            closeDialog(dialog);
            return;
        }
    }
}

}  // namespace shell
