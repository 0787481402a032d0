#include "toolkit/dialogs/grid_record.h"

#include <algorithm>
#include <map>
#include <utility>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

GridLookup& boundLookup() {
    static GridLookup lookup;
    return lookup;
}

std::map<std::pair<int, int>, GridRecord*>& registered() {
    static std::map<std::pair<int, int>, GridRecord*> grids;
    return grids;
}

void allocateColumn(GridColumnRecord& c, int rows) {
    auto n = static_cast<std::size_t>(rows);
    switch (c.kind) {
        case KindText:
            c.texts.assign(n, std::string());
            break;
        case KindReal:
            c.reals.assign(n, 0.0f);
            break;
        case KindDouble:
            c.doubles.assign(n, 0.0);
            break;
        default:
            c.integers.assign(n, 0);
            break;
    }
    c.flags.assign(n, 0);
    c.colours.clear();
}

// Field 0: the grid that fills the current toolkit window, named by word 5
// of the window's frame record.
GridRecord* gridOfCurrentWindow() {
    const WindowSystem& ws = windowSystem();
    if (ws.CurrentSlot < 0 || ws.CurrentSlot >= kWindowSlots) return nullptr;
    const FrameUserRecord* record =
        frameRecord(ws.slots[static_cast<std::size_t>(ws.CurrentSlot)].frame);
    return record && record->kind() == KindGridEditor ? gridRecordOfWindow(record->handle(5))
                                                      : nullptr;
}

}  // namespace

int cellTypeOfKind(int kind) {
    static constexpr int codes[] = {CellText,   CellInteger,  CellReal,
                                    CellDouble, CellCheckBox, CellMenu};
    return kind >= 0 && kind <= KindMenu ? codes[kind] : 0;
}

void GridDefineColumns(GridRecord& grid, const std::vector<GridColumnSpec>& specs,
                       int rowCapacity) {
    grid.columns.clear();
    grid.columnCount = static_cast<int>(specs.size());
    grid.definedColumnCount = grid.columnCount;
    grid.rowCapacity = std::max(rowCapacity, 0);
    grid.rowCount = grid.rowCapacity;
    for (const GridColumnSpec& spec : specs) {
        GridColumnRecord c;
        c.kind = spec.kind;
        c.width = spec.width;
        c.settings = spec.settings;
        if (c.kind == KindText) {
            if (c.settings.maxLength == 0) c.settings.maxLength = 1024;
            c.textLength = c.settings.maxLength;
        } else if (c.kind == KindInteger) {
            c.settings.maxLength = 11;
            c.textLength = 11;
        }
        allocateColumn(c, grid.rowCapacity);
        if (c.kind <= KindDouble && c.settings.readOnly)
            std::fill(c.flags.begin(), c.flags.end(), CellLocked);
        grid.columns.push_back(std::move(c));
    }
    grid.headerLabels.clear();
    if (grid.hasHeader()) {
        grid.headerLabels.emplace_back();
        for (const GridColumnSpec& spec : specs)
            grid.headerLabels.push_back(spec.settings.label);
    }
    grid.rowLabels.clear();
    if (grid.hasRowLabels())
        grid.rowLabels.assign(static_cast<std::size_t>(grid.rowCapacity), std::string());
    grid.columnsDefined = 1;
    grid.currentColumn = grid.currentRow = 0;
    grid.firstColumn = grid.firstRow = 0;
    grid.selFirstRow = grid.selLastRow = grid.selFirstColumn = grid.selLastColumn = -1;
    grid.anchorColumn = grid.anchorRow = -1;
    if (grid.visibleRows <= 0) grid.visibleRows = grid.rowCapacity;
    grid.rowLabelCount = grid.drawnRows = std::min(grid.rowCapacity, grid.visibleRows + 1);
    grid.lastColumn = std::max(grid.columnCount - 1, 0);
}

void setGridLookup(GridLookup lookup) {
    boundLookup() = std::move(lookup);
}

void gridLookupRegister(int dialogId, int field, GridRecord* grid) {
    registered()[{field == 0 ? 0 : dialogId, field}] = grid;
}

void gridLookupUnregister(GridRecord* grid) {
    auto& grids = registered();
    for (auto it = grids.begin(); it != grids.end();)
        it = it->second == grid ? grids.erase(it) : std::next(it);
}

void gridLookupReset() {
    registered().clear();
    boundLookup() = nullptr;
}

GridRecord* gridOfField(int field) {
    if (boundLookup()) return boundLookup()(field);
    if (field != 0) {
        if (GridRecord* g = gridRecordOfWindow(currentField(field))) return g;
    } else if (GridRecord* g = gridOfCurrentWindow()) {
        return g;
    }
    int dialog = field == 0 ? 0 : toolkitState().CurrentDialogNumber;
    auto it = registered().find({dialog, field});
    return it == registered().end() ? nullptr : it->second;
}

GridRecord* gridFind(int& field) {
    GridRecord* grid = gridOfField(field);
    if (!grid) field = kNotAGrid;
    return grid;
}

GridEditorWindowFlags& gridEditorWindowFlags() {
    static GridEditorWindowFlags flags;
    return flags;
}

GridEditorTextSource& gridEditorTextSource() {
    static GridEditorTextSource source;
    return source;
}

void GridEditorText(int slot, int item, std::string& text, int maximum) {
    if (item < 1 || item > 3) return;
    std::string value;
    if (slot == -1) {
        const GridEditorWindowFlags& f = gridEditorWindowFlags();
        value = item == 1 ? f.findText : item == 2 ? f.replaceText : f.fileName;
    } else if (!gridEditorTextSource() || !gridEditorTextSource()(slot, item, value)) {
        return;
    }
    text = value.substr(0, static_cast<std::size_t>(std::max(maximum, 0)));
}

int gridInfoItem(int field, int item) {
    int v = 0;
    GridInfoQuery(field, item, v);
    return v;
}

bool gridFieldChecked(int field, std::string_view routine) {
    if (field != 0 && toolkitState().CurrentDialogNumber == 0) {
        ReportLibraryError(1005, routine);
        return false;
    }
    int f = field, v = 0;
    GridInfoQuery(f, 3, v);
    if (f < 0) {
        ReportLibraryError(1006, routine);
        return false;
    }
    return true;
}

void GridInfoQuery(int& field, int item, int& value) {
    if (field == -2) {
        if (item == 6)
            value = 1 - gridEditorWindowFlags().changedA;
        else if (item == 7)
            value = gridEditorWindowFlags().changedB;
        return;
    }
    GridRecord* g = gridFind(field);
    if (!g) return;
    switch (item) {
        case 1:
            value = g->columnCount;
            break;
        case 2:
            value = g->rowCapacity;
            break;
        case 3:
            value = g->rowCount;
            break;
        case 4:
            value = g->currentColumn + 1;
            break;
        case 5:
            value = g->currentRow + 1;
            break;
        case 6:
            value = 1 - g->changedFlagA;
            break;
        case 7:
            value = g->changedFlagB;
            break;
        case 8:
            value = g->firstColumn + 1;
            break;
        case 9:
            value = g->firstRow + 1;
            break;
        case 10:
            value = g->selFirstColumn + 1;
            break;
        case 11:
            value = g->selFirstRow + 1;
            break;
        case 12:
            value = g->selLastColumn + 1;
            break;
        case 13:
            value = g->selLastRow + 1;
            break;
        case 101:
            value = g->drawnRows;
            break;
        case 102:
            value = g->definedColumnCount;
            break;
        default:
            break;
    }
}

void GridColumnType(int& field, int column, int& type) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount) {
        field = kBadIndex;
        return;
    }
    type = cellTypeOfKind(g->columns[static_cast<std::size_t>(column)].kind);
}

void GridTextColumnWidth(int& field, int column, int& length) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount ||
        g->columns[static_cast<std::size_t>(column)].kind != KindText) {
        field = kBadIndex;
        return;
    }
    length = g->columns[static_cast<std::size_t>(column)].textLength + 1;
}

}  // namespace tk
