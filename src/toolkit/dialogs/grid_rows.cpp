#include "toolkit/dialogs/grid_rows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"

namespace tk {

namespace {

void upper(std::string& s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// Copies the cell of row s into row t of one column (rows from 1).
void copyCell(int field, int column, int type, int s, int t) {
    if (type == CellText) {
        int f = field;
        std::string text;
        GridCellTextGet(f, column - 1, s - 1, text);
        f = field;
        GridCellPut(f, column - 1, t - 1, 0.0, text, "");
        return;
    }
    if (type == CellCheckBox || type == CellMenu) {
        int v = 0;
        if (type == CellCheckBox) {
            GrdGetCellCheckBox(field, column, s, v);
            GrdPutCellCheckBox(field, column, t, v);
        } else {
            GrdGetCellMenu(field, column, s, v);
            GrdPutCellOption(field, column, t, v);
        }
        return;
    }
    char shown[50];
    GrdGetCellString(field, column, s, shown);
    if (isBlankText(std::string_view(shown, sizeof shown))) {
        GrdClearCell(field, column, t);
    } else if (type == CellInteger) {
        int v = 0;
        GrdGetCellInteger(field, column, s, v);
        GrdPutCellInteger(field, column, t, v);
    } else if (type == CellReal) {
        float v = 0.0f;
        GrdGetCellReal(field, column, s, v);
        GrdPutCellReal(field, column, t, v);
    } else {
        double v = 0.0;
        GrdGetCellDouble(field, column, s, v);
        GrdPutCellDouble(field, column, t, v);
    }
}

void emptyRow(int field, int columns, const std::vector<int>& types, int row, bool labels) {
    for (int c = 1; c <= columns; ++c) {
        if (types[static_cast<std::size_t>(c - 1)] == CellMenu)
            GrdPutCellOption(field, c, row, 1);
        else
            GrdClearCell(field, c, row);
    }
    if (labels) GrdLabelRow(field, row, "");
}

std::vector<int> columnTypes(int field, int columns) {
    std::vector<int> types(static_cast<std::size_t>(columns), 0);
    for (int c = 0; c < columns; ++c) {
        int f = field;
        GridColumnType(f, c, types[static_cast<std::size_t>(c)]);
    }
    return types;
}

}  // namespace

void GridFindInColumn(int field, int column, std::string_view text, int firstRow, int lastRow,
                      int cellLength, bool ignoreCase, int& foundRow) {
    foundRow = -1;
    std::string wanted(text);
    if (ignoreCase) upper(wanted);
    std::string cell(static_cast<std::size_t>(cellLength), ' ');
    for (int row = firstRow; row <= lastRow; ++row) {
        std::fill(cell.begin(), cell.end(), ' ');
        GrdGetCellString(field, column, row, cell);
        if (ignoreCase) upper(cell);
        if (wanted.size() <= cell.size() && cell.find(wanted) != std::string::npos) {
            foundRow = row;
            return;
        }
    }
}

void GrdFind(int field, std::string_view text, std::optional<int> flags, bool* found,
             std::optional<int> startColumn, std::optional<int> endColumn,
             std::optional<int> startRow, std::optional<int> endRow) {
    static constexpr std::string_view name = "GrdFind";
    if (!gridFieldChecked(field, name)) return;
    const int columns = gridInfoItem(field, 1), rows = gridInfoItem(field, 3);
    const int bits = flags.value_or(0);
    const int firstColumn = std::max(startColumn.value_or(1), 1);
    const int lastColumn = std::min(endColumn.value_or(columns), columns);
    const int firstRow = std::max(startRow.value_or(1), 1);
    const int lastRow = std::min(endRow.value_or(rows), rows);
    int column = firstColumn;
    int rowStart = firstRow;
    if (bits & 1) {
        int current = gridInfoItem(field, 4);
        if (current >= firstColumn) {
            column = current;
            rowStart = std::max(firstRow, gridInfoItem(field, 5) + 1);
        }
    }
    for (; column <= lastColumn; ++column, rowStart = firstRow) {
        int f = field;
        int type = 0;
        GridColumnType(f, column - 1, type);
        int length = 0;
        if (type == CellText) {
            GridTextColumnWidth(f, column - 1, length);
        } else if ((bits & 4) && type == CellInteger) {
            length = 11;
        } else if ((bits & 4) && (type == CellReal || type == CellDouble)) {
            length = 50;
        } else {
            continue;
        }
        int row = -1;
        GridFindInColumn(field, column, text, rowStart, lastRow, length, (bits & 2) != 0, row);
        if (row > 0) {
            GrdSetCell(field, column, row);
            if (found) *found = true;
            return;
        }
    }
    if (found) *found = false;
}

void GrdLabelRow(int field, int row, std::string_view label) {
    static constexpr std::string_view name = "GrdLabelRow";
    if (!gridFieldChecked(field, name)) return;
    if (row < 1 || row > gridInfoItem(field, 2)) {
        ReportLibraryError(1017, name);
        return;
    }
    GridRowLabelSet(field, row - 1, trimRight(label));
}

void GrdDeleteRows(int field, int row, std::optional<int> count, std::optional<int> shrink,
                   std::optional<int> moveLabels) {
    static constexpr std::string_view name = "GrdDeleteRows";
    if (!gridFieldChecked(field, name)) return;
    const int rows = gridInfoItem(field, 3), columns = gridInfoItem(field, 1);
    if (row < 1 || row > rows) {
        ReportLibraryError(1017, name);
        return;
    }
    // A count below 1 removes nothing.
    const int n = std::clamp(count.value_or(1), 0, rows - row + 1);
    if (n == 0) return;
    const bool labels = moveLabels.value_or(0) == 1;
    const std::vector<int> types = columnTypes(field, columns);
    GridRedrawOff();
    for (int c = 1; c <= columns; ++c)
        for (int t = row; t <= rows - n; ++t)
            copyCell(field, c, types[static_cast<std::size_t>(c - 1)], t + n, t);
    if (labels)
        for (int t = row; t <= rows - n; ++t)
            GrdLabelRow(field, t, GridRowLabelGet(field, t + n - 1));
    if (shrink.value_or(0) == 1) {
        GrdRows(field, rows - n);
    } else {
        for (int t = rows - n + 1; t <= rows; ++t)
            emptyRow(field, columns, types, t, labels);
    }
    GridRedrawOn(field);
}

void GrdInsertRows(int field, int row, std::optional<int> count, std::optional<int> grow,
                   std::optional<int> moveLabels) {
    static constexpr std::string_view name = "GrdInsertRows";
    if (!gridFieldChecked(field, name)) return;
    const int columns = gridInfoItem(field, 1);
    int rows = gridInfoItem(field, 3);
    if (row < 1 || row > rows) {
        ReportLibraryError(1017, name);
        return;
    }
    const int wanted = std::max(count.value_or(1), 0);
    if (wanted == 0) return;
    if (grow.value_or(0) == 1) {
        GrdRows(field, std::min(gridInfoItem(field, 2), rows + wanted));
        rows = gridInfoItem(field, 3);
    }
    const int n = std::min(wanted, rows - row + 1);
    const bool labels = moveLabels.value_or(0) == 1;
    const std::vector<int> types = columnTypes(field, columns);
    GridRedrawOff();
    for (int c = 1; c <= columns; ++c)
        for (int t = rows; t >= row + n; --t)
            copyCell(field, c, types[static_cast<std::size_t>(c - 1)], t - n, t);
    if (labels)
        for (int t = rows; t >= row + n; --t)
            GrdLabelRow(field, t, GridRowLabelGet(field, t - n - 1));
    for (int t = row; t < row + n; ++t)
        emptyRow(field, columns, types, t, labels);
    GridRedrawOn(field);
}

}  // namespace tk
