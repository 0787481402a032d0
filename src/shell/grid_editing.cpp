#include "shell/grid_editing.h"

#include <algorithm>
#include <span>

#include "shell/small_dialogs.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/grid_public.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr const char* kInsideForCells = "Must be inside data grid to insert cell";

using Values = std::vector<float>;
using States = std::vector<int>;

Values readValues(const EditorGrid& g, int column, int n) {
    Values v(static_cast<std::size_t>(std::max(n, 0)) + 1, util::kMissingValue);
    util::VRGRIDGETREAL(g.field, column, v, n);
    return v;
}

// Check states of rows 1..capacity at indices 1..capacity.
States readStates(const EditorGrid& g, int column) {
    States s(static_cast<std::size_t>(g.capacity) + 1, 0);
    int n = g.capacity;
    tk::GridColumnGetCheckBox(g.field, column, std::span<int>(s).subspan(1), n);
    return s;
}

void putStates(const EditorGrid& g, int column, const States& s) {
    tk::GrdPutCheckBox(g.field, column, std::span<const int>(s).subspan(1), g.capacity);
}

// Values of rows 1..n sit at indices 0..n-1 for the grid routines.
// Rows row..n - 1 move one row down; row `row` keeps its value.
void shiftDown(Values& v, int row, int n) {
    for (int i = n; i > row; --i)
        v[static_cast<std::size_t>(i - 1)] = v[static_cast<std::size_t>(i - 2)];
}

// Rows row + 1..m move one row up.
void shiftUp(Values& v, int row, int m) {
    for (int i = row; i < m; ++i)
        v[static_cast<std::size_t>(i - 1)] = v[static_cast<std::size_t>(i)];
}

void insertValue(const EditorGrid& g, int column, int row) {
    const int m = g.lastFilledRow(column);
    if (row > m) return;
    const int n = std::min(m + 1, g.capacity);
    Values v = readValues(g, column, n);
    shiftDown(v, row, n);
    util::VRGRIDPUTREAL(g.field, column, v, n);
}

void deleteValue(const EditorGrid& g, int column, int row) {
    const int m = g.lastFilledRow(column);
    if (row > m) return;
    Values v = readValues(g, column, m);
    shiftUp(v, row, m);
    if (m > 1) util::VRGRIDPUTREAL(g.field, column, v, m - 1);
    tk::GrdClearCell(g.field, column, m);
}

// The marks of rows row..last move one row down (the last row's mark drops
// off the grid); the mark at `row` keeps a copy or is cleared.
void insertCheck(const EditorGrid& g, int column, int row, int last, bool keepCopy) {
    States s = readStates(g, column);
    for (int i = std::min(last + 1, g.capacity); i > row; --i)
        s[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i - 1)];
    if (!keepCopy) s[static_cast<std::size_t>(row)] = 0;
    putStates(g, column, s);
}

// The marks of rows row + 1..last move one row up; row `last` is cleared.
void deleteCheck(const EditorGrid& g, int column, int row, int last) {
    States s = readStates(g, column);
    for (int i = row; i < last; ++i)
        s[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i + 1)];
    s[static_cast<std::size_t>(last)] = 0;
    putStates(g, column, s);
}

bool rowInRange(const EditorGrid& g) {
    return g.row >= 1 && g.row < g.capacity;
}

}  // namespace

CellKind EditorGrid::kindOf(int c) const {
    return c >= 1 && c <= columns() ? kinds[static_cast<std::size_t>(c - 1)] : CellKind::Number;
}

bool EditorGrid::follow(const tk::EventRecord& event) {
    if (event[2] != field) return false;
    tk::GridCellRefSplit(event[6], column, row);
    return true;
}

void EditorGrid::startAtGridCell(int lastRow) {
    column = tk::GridInfo(field, 4);
    row = tk::GridInfo(field, 5);
    if (column < 2 || column > columns()) column = 2;
    if (row < 1 || row > lastRow) row = 1;
    tk::GrdSetCell(field, column, row);
}

int EditorGrid::lastFilledRow(int c) const {
    return util::VRINFOGRIDCELLS(field, c, capacity, true);
}

bool askColumnNumber(int dialog, bool multiply, ColumnMathMemory& memory, float& number) {
    float value = multiply ? memory.factor : memory.added;
    int status = 0;
    NUMINDLG(multiply ? "Please enter number to multiply:" : "Please enter number to add:", value,
             status);
    tk::DlgSelect(dialog);
    if (status != 0) return false;
    (multiply ? memory.factor : memory.added) = value;
    number = value;
    return true;
}

void changeColumn(const EditorGrid& g, int column, int first, int last, int count, float number,
                  bool multiply) {
    if (count < 1) return;
    Values v = readValues(g, column, count);
    for (int i = std::max(first, 1); i <= std::min(last, count); ++i) {
        float& x = v[static_cast<std::size_t>(i - 1)];
        if (x > util::kMissingAbove) continue;
        x = multiply ? x * number : x + number;
    }
    util::VRGRIDPUTREAL(g.field, column, v, count);
}

void insertCell(const EditorGrid& g) {
    if (!rowInRange(g)) return;
    switch (g.kindOf(g.column)) {
        case CellKind::Real:
            insertValue(g, g.column, g.row);
            break;
        case CellKind::Check:
            insertCheck(g, g.column, g.row, g.capacity, false);
            break;
        case CellKind::Number:
            util::WINMSG(kInsideForCells);
            break;
    }
}

void deleteCell(const EditorGrid& g) {
    if (!rowInRange(g)) return;
    switch (g.kindOf(g.column)) {
        case CellKind::Real:
            deleteValue(g, g.column, g.row);
            break;
        case CellKind::Check:
            deleteCheck(g, g.column, g.row, g.capacity);
            break;
        case CellKind::Number:
            util::WINMSG(kInsideForCells);
            break;
    }
}

void insertRow(const EditorGrid& g, int first, int last) {
    if (!rowInRange(g)) return;
    for (int c = first; c <= last; ++c) {
        if (g.kindOf(c) == CellKind::Real) {
            insertValue(g, c, g.row);
        } else if (g.kindOf(c) == CellKind::Check) {
            const int m = g.lastFilledRow(c);
            if (g.row <= m) insertCheck(g, c, g.row, m, true);
        }
    }
}

void deleteRow(const EditorGrid& g, int first, int last) {
    if (!rowInRange(g)) return;
    for (int c = first; c <= last; ++c) {
        if (g.kindOf(c) == CellKind::Real) {
            deleteValue(g, c, g.row);
        } else if (g.kindOf(c) == CellKind::Check) {
            const int m = g.lastFilledRow(c);
            if (g.row <= m) deleteCheck(g, c, g.row, m);
        }
    }
}

}  // namespace shell
