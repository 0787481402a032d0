#include "shell/body_editor.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "model/body_area.h"
#include "model/body_finish.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "shell/editor_memory.h"
#include "shell/grid_editing.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/grid_public.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kRows = 1000;
constexpr int kX = 2, kXFree = 3, kZ = 4, kZFree = 5;
constexpr int kClosingVertices = 4;
constexpr int kEnabled = 1, kReadOnly = 2;

// The vertices typed into the grid, rows 1..n.
struct Outline {
    std::vector<float> x, z;
    std::unique_ptr<bool[]> freeX, freeZ;
    int n = 0;
};

int userVertices(const model::PolygonModel& m, int b) {
    return m.IV2(b) - m.IV1(b) + 1 - (m.LAYER(b) ? kClosingVertices : 0);
}

void putOutline(const model::PolygonModel& m, int b) {
    const int first = m.IV1(b), n = userVertices(m, b);
    std::vector<float> x, z;
    std::vector<int> fx, fz;
    for (int v = first; v < first + n; ++v) {
        x.push_back(m.XVRT(v));
        z.push_back(m.ZVRT(v));
        fx.push_back(m.LXFIX(v) ? 1 : 0);
        fz.push_back(m.LZFIX(v) ? 1 : 0);
    }
    util::VRGRIDPUTREAL(IDC_BODYGRID, kX, x, n);
    util::VRGRIDPUTREAL(IDC_BODYGRID, kZ, z, n);
    tk::GrdPutCheckBox(IDC_BODYGRID, kXFree, fx, n);
    tk::GrdPutCheckBox(IDC_BODYGRID, kZFree, fz, n);
}

std::vector<int> propertyFields(bool gravity) {
    if (gravity) return {IDC_PROPERTY, IDC_EXTENTIN, IDC_EXTENTOUT};
    return {IDC_PROPERTY, IDC_EXTENTIN,    IDC_EXTENTOUT,
            IDC_KRATIO,   IDC_INCLINATION, IDC_DECLINATION};
}

void open(int dialog, const model::PolygonModel& m, int b, bool gravity, bool layer) {
    loadDialog(dialog);
    tk::DlgPutInteger(IDC_BODYNUMBER, b);
    tk::DlgPutString(IDC_BODYKIND, layer ? "Layer" : "Body");
    std::vector<int> numbers(kRows);
    for (int i = 0; i < kRows; ++i)
        numbers[static_cast<std::size_t>(i)] = i + 1;
    tk::GrdRows(IDC_BODYGRID, kRows);
    tk::GrdPutInteger(IDC_BODYGRID, 1, numbers, kRows);
    if (b > m.NBOD) return;
    tk::DlgPutReal(IDC_PROPERTY, m.DENS(b));
    util::DLGPUTCHECKBOXL(IDC_PROPERTYFREE, m.LVFIX(b));
    if (!gravity) {
        tk::DlgPutReal(IDC_KRATIO, m.REMS(b));
        tk::DlgPutReal(IDC_INCLINATION, m.DIPS(b));
        tk::DlgPutReal(IDC_DECLINATION, m.DECS(b));
    }
    tk::DlgPutReal(IDC_EXTENTIN, m.XTENT2(b));
    tk::DlgPutReal(IDC_EXTENTOUT, m.XTENT1(b));
    if (m.vertexCount() > 0) putOutline(m, b);
}

// Delete Cell and Delete Row stay usable while the column (the X column for
// Delete Row) still holds the least vertices a body (4th row) or a layer
// (2nd row) must keep after a deletion.
void guardDeletions(const EditorGrid& g, bool layer, bool cell, bool row) {
    const int keep = layer ? 2 : 4;
    auto state = [&](int column) {
        return tk::InfoGridCell(IDC_BODYGRID, column, keep, 1) > 0 ? kEnabled : kReadOnly;
    };
    if (cell) tk::DlgFieldState(IDC_DELETECELL, state(g.column));
    if (row) tk::DlgFieldState(IDC_DELETEROW, state(kX));
}

Outline readOutline(const EditorGrid& g) {
    Outline o;
    o.n = std::max({g.lastFilledRow(kX), g.lastFilledRow(kXFree), g.lastFilledRow(kZ)});
    const auto n = static_cast<std::size_t>(o.n);
    o.x.resize(n);
    o.z.resize(n);
    util::VRGRIDGETREAL(IDC_BODYGRID, kX, o.x, o.n);
    util::VRGRIDGETREAL(IDC_BODYGRID, kZ, o.z, o.n);
    std::vector<int> fx(n, 0), fz(n, 0);
    int count = o.n;
    tk::GridColumnGetCheckBox(IDC_BODYGRID, kXFree, fx, count);
    count = o.n;
    tk::GridColumnGetCheckBox(IDC_BODYGRID, kZFree, fz, count);
    o.freeX.reset(new bool[n + 1]());
    o.freeZ.reset(new bool[n + 1]());
    for (std::size_t i = 0; i < n; ++i) {
        o.freeX[i] = fx[i] > 0;
        o.freeZ[i] = fz[i] > 0;
    }
    return o;
}

// The first row of the outline with an empty coordinate, 0 when none.
int emptyCoordinateRow(const Outline& o) {
    for (int i = 0; i < o.n; ++i)
        if (o.x[static_cast<std::size_t>(i)] > util::kMissingAbove ||
            o.z[static_cast<std::size_t>(i)] > util::kMissingAbove)
            return i + 1;
    return 0;
}

// Gives body b the outline's vertices in place of its own. The vertices of
// the later bodies move with their ranges and their leader links are
// renumbered with them; a vertex whose leader went away leads itself.
bool replaceVertices(model::PolygonModel& m, int b, const Outline& o) {
    const int first = m.IV1(b), oldEnd = m.IV2(b), oldTotal = m.vertexCount();
    const int oldUser = userVertices(m, b);
    const bool layer = m.LAYER(b);
    const int newEnd = first + o.n - 1 + (layer ? kClosingVertices : 0);
    const int delta = newEnd - oldEnd;
    const std::vector<int> links = m.IPOINT.values();
    m.IV2(b) = newEnd;
    for (int k = b + 1; k <= m.NBOD; ++k) {
        m.IV1(k) += delta;
        m.IV2(k) += delta;
    }
    if (!model::REALLOCPG(m, b, oldEnd, oldTotal)) return false;
    const int kept = std::min(oldUser, o.n);
    auto moved = [&](int v) {
        if (v < 1) return 0;
        if (v < first) return v;
        if (v <= oldEnd) return v - first < kept ? v : 0;
        return v + delta;
    };
    auto leaderOf = [&](int oldIndex, int newIndex) {
        const int leader = oldIndex >= 1 && oldIndex <= std::ssize(links)
                               ? moved(links[static_cast<std::size_t>(oldIndex - 1)])
                               : 0;
        return leader > 0 ? leader : newIndex;
    };
    const int total = m.vertexCount();
    for (int w = 1; w <= total; ++w) {
        if (w < first)
            m.IPOINT(w) = leaderOf(w, w);
        else if (w > newEnd)
            m.IPOINT(w) = leaderOf(w - delta, w);
    }
    for (int k = 0; k < o.n; ++k) {
        const int v = first + k;
        const auto i = static_cast<std::size_t>(k);
        m.XVRT(v) = o.x[i];
        m.ZVRT(v) = o.z[i];
        m.LXFIX(v) = o.freeX[i];
        m.LZFIX(v) = o.freeZ[i];
        m.IPOINT(v) = k < kept ? leaderOf(v, v) : v;
    }
    if (layer) {
        const int v = newEnd;
        m.XVRT(v - 3) = m.XVRT(v - 2) = model::kFarAway;
        m.XVRT(v - 1) = m.XVRT(v) = -model::kFarAway;
        m.ZVRT(v - 3) = m.ZVRT(v - 4);
        m.ZVRT(v - 2) = m.ZVRT(v - 1) = -model::kFarAway;
        m.ZVRT(v) = m.ZVRT(first);
        for (int c = v - 3; c <= v; ++c) {
            m.IPOINT(c) = c;
            m.LXFIX(c) = m.LZFIX(c) = false;
        }
    }
    return true;
}

bool addBody(model::PolygonModel& m, const Outline& o, bool layer) {
    const auto n = static_cast<std::size_t>(o.n);
    std::vector<int> leaders;
    for (int i = 1; i <= o.n; ++i)
        leaders.push_back(m.vertexCount() + i);
    return model::BODYFINISH(m, o.x, o.z, o.n, {o.freeX.get(), n}, {o.freeZ.get(), n}, 0.0f,
                             leaders, layer);
}

// The first vertex of body b found crossing something, checking every second
// vertex (each checks both its edges); 0 when none crosses.
int crossingVertex(const model::PolygonModel& m, int b) {
    for (int v = m.IV1(b); v <= m.IV2(b); v += 2)
        if (model::LXCHK(v, 0, m)) return v;
    return 0;
}

void storeProperties(model::PolygonModel& m, int b, bool gravity) {
    util::readFieldNumber(IDC_PROPERTY, m.DENS(b));
    bool free = false;
    util::DLGGETCHECKBOXL(IDC_PROPERTYFREE, free);
    m.LVFIX(b) = free;
    if (!gravity) {
        util::readFieldNumber(IDC_KRATIO, m.REMS(b));
        util::readFieldNumber(IDC_INCLINATION, m.DIPS(b));
        util::readFieldNumber(IDC_DECLINATION, m.DECS(b));
    }
    util::readFieldNumber(IDC_EXTENTIN, m.XTENT2(b));
    util::readFieldNumber(IDC_EXTENTOUT, m.XTENT1(b));
}

void moveToRow(EditorGrid& g, int column, int row) {
    g.column = column;
    g.row = std::max(row, 1);
    tk::GrdSetCell(IDC_BODYGRID, g.column, g.row);
}

enum class Outcome { Stay, Stored };

Outcome ok(EditorGrid& g, model::PolygonModel& m, int body, bool gravity, bool layer) {
    rememberPosition(editorMemory().bodyEditor);
    const std::vector<int> fields = propertyFields(gravity);
    for (int f : fields)
        if (!util::fieldsHoldNumbers({f})) return Outcome::Stay;
    const Outline o = readOutline(g);
    if (layer && o.n < 1) {
        util::WINMSG("Layers need at least one vertex");
        return Outcome::Stay;
    }
    if (!layer && o.n < 3) {
        util::WINMSG("Bodies need at least three vertices");
        return Outcome::Stay;
    }
    if (const int row = emptyCoordinateRow(o)) {
        moveToRow(g, kX, row);
        util::WINMSG("Not all cells contain valid values");
        return Outcome::Stay;
    }
    const model::PolygonModel before = m;
    const bool added = body > m.NBOD;
    if (!(added ? addBody(m, o, layer) : replaceVertices(m, body, o))) {
        m = before;
        util::WINMSG("CANNOT ALLOCATE MODEL DATA");
        return Outcome::Stay;
    }
    const int b = added ? m.NBOD : body;
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
    if (const int v = crossingVertex(m, b)) {
        const int row = std::min(v - m.IV1(b) + 1, o.n);
        m = before;
        moveToRow(g, kX, row);
        util::WINMSG("Edges in new body overlap other bodies");
        return Outcome::Stay;
    }
    storeProperties(m, b, gravity);
    return Outcome::Stored;
}

EditorGrid bodyGrid() {
    EditorGrid g;
    g.field = IDC_BODYGRID;
    g.capacity = kRows;
    g.kinds = {CellKind::Number, CellKind::Real, CellKind::Check, CellKind::Real, CellKind::Check};
    return g;
}

void columnMath(int dialog, const EditorGrid& g, bool multiply) {
    if (g.column < 1 || g.row < 1) {
        util::WINMSG("Must be inside data grid to add or multiply");
        return;
    }
    float number = 0.0f;
    if (!askColumnNumber(dialog, multiply, editorMemory().bodyMath, number)) return;
    if (g.column != kX && g.column != kZ) return;
    const int m = g.lastFilledRow(g.column);
    changeColumn(g, g.column, g.row, m, m, number, multiply);
}

}  // namespace

void BODYEDIT(model::PolygonModel& model, int body, bool gravity, bool layer, int& status) {
    const int dialog = gravity ? IDD_BODYGRAV : IDD_BODYMAG;
    const model::PolygonModel backup = model;
    EditorGrid g = bodyGrid();
    open(dialog, model, body, gravity, layer);
    showSemiModeless(editorMemory().bodyEditor);
    g.startAtGridCell(model.vertexCount());
    guardDeletions(g, layer, true, true);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(dialog, e) == tk::FieldChanged) {
            if (g.follow(e)) guardDeletions(g, layer, true, false);
            continue;
        }
        switch (e[1]) {
            case kCancelButton:
                rememberPosition(editorMemory().bodyEditor);
                model = backup;
                status = -1;
                closeDialog(dialog);
                return;
            case kOkButton:
                if (ok(g, model, body, gravity, layer) == Outcome::Stored) {
                    status = 0;
                    closeDialog(dialog);
                    return;
                }
                break;
            case IDC_ADDTO:
            case IDC_MULTIPLYBY:
                columnMath(dialog, g, e[1] == IDC_MULTIPLYBY);
                break;
            case IDC_INSERTCELL:
                insertCell(g);
                guardDeletions(g, layer, true, false);
                break;
            case IDC_DELETECELL:
                deleteCell(g);
                guardDeletions(g, layer, true, false);
                break;
            case IDC_INSERTROW:
                insertRow(g, kX, kZFree);
                guardDeletions(g, layer, false, true);
                break;
            case IDC_DELETEROW:
                deleteRow(g, kX, kZFree);
                guardDeletions(g, layer, false, true);
                break;
            default:
                break;
        }
    }
}

}  // namespace shell
