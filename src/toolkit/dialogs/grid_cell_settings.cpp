// Labels, colours, locks, ranges, the current cell and the row count.

#include <algorithm>

#include "platform/window/user_api.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

GridRecord* columnOf(int& field, int column) {
    GridRecord* g = gridFind(field);
    if (g && (column < 0 || column >= g->columnCount)) {
        field = kBadIndex;
        return nullptr;
    }
    return g;
}

int packed(const std::uint8_t rgb[3]) {
    return rgb[0] + 256 * rgb[1] + 65536 * rgb[2];
}

void unpack(int colour, std::uint8_t rgb[3]) {
    rgb[0] = static_cast<std::uint8_t>(colour & 0xFF);
    rgb[1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    rgb[2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
}

// 256 = default (-1), -1 = unchanged (-2), else the packed colour.
int colourRequest(const int rgb[3]) {
    if (rgb[0] == 256) return -1;
    if (rgb[0] == -1) return -2;
    return (rgb[0] & 0xFF) + 256 * (rgb[1] & 0xFF) + 65536 * (rgb[2] & 0xFF);
}

void applyRequest(int& colour, int request) {
    if (request != -2) colour = request;
}

void splitColour(int colour, int out[3]) {
    if (colour < 0) {
        out[0] = out[1] = out[2] = -1;
    } else {
        out[0] = colour & 0xFF;
        out[1] = (colour >> 8) & 0xFF;
        out[2] = (colour >> 16) & 0xFF;
    }
}

}  // namespace

void GridColumnLabelSet(int field, int item, std::string_view text) {
    GridRecord* g = gridOfField(field);
    if (!g || !g->hasHeader() || item < 0 || item >= static_cast<int>(g->headerLabels.size()))
        return;
    g->headerLabels[rowIndex(item)] = std::string(text);
    gridHeaderItemsRefresh(*g);
}

std::string GridColumnLabelGet(int field, int item) {
    GridRecord* g = gridOfField(field);
    if (!g || item < 0 || item >= static_cast<int>(g->headerLabels.size())) return {};
    return g->headerLabels[rowIndex(item)];
}

void GridRowLabelSet(int field, int row, std::string_view text) {
    GridRecord* g = gridOfField(field);
    if (!g || row < 0 || row >= static_cast<int>(g->rowLabels.size())) return;
    g->rowLabels[rowIndex(row)] = std::string(text.substr(0, 50));
    if (row >= g->firstRow && row < g->firstRow + g->drawnRows) GridRowLabelsRefresh(*g);
}

std::string GridRowLabelGet(int field, int row) {
    GridRecord* g = gridOfField(field);
    if (!g || row < 0 || row >= static_cast<int>(g->rowLabels.size())) return {};
    return g->rowLabels[rowIndex(row)];
}

void GridLabelsInfo(int field, int& hasHeader, int& rowLabelWidth) {
    GridRecord* g = gridOfField(field);
    hasHeader = g && g->hasHeader() ? 1 : 0;
    rowLabelWidth = g && g->hasRowLabels() ? std::max(g->rowLabelWidth, 1) : 0;
}

void GridColumnAlignment(int field, int column, int& alignment) {
    GridRecord* g = gridOfField(field);
    alignment = 0;
    if (!g || column < 0 || column >= g->columnCount) return;
    const GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind == KindCheckBox)
        alignment = 1;
    else if (c.kind != KindMenu)
        alignment = c.settings.alignment;
}

void gridCellColourOf(const GridRecord& g, int column, int row, int& fg, int& bg) {
    fg = bg = -1;
    if (column < 0 || column >= g.columnCount || row < 0 || row >= g.rowCapacity) return;
    const GridColumnRecord& c = gridColumn(g, column);
    if (!c.colours.empty()) {
        const GridCellColour& k = c.colours[rowIndex(row)];
        fg = (k.set & 1) ? packed(k.fg) : -1;
        bg = (k.set & 2) ? packed(k.bg) : -1;
    } else {
        fg = c.settings.textColour;
        bg = c.settings.backgroundColour;
    }
    // The grid's own colours: its dialog field record when it has one.
    const FieldRecord* own = g.window ? fieldRecordOf(g.window) : nullptr;
    if (fg < 0) fg = own ? own->textColour : g.textColour;
    if (bg < 0) bg = own ? own->backgroundColour : g.backgroundColour;
}

void GridCellColourGet(int field, int column, int row, int fg[3], int bg[3]) {
    int f = -1, b = -1;
    if (GridRecord* g = gridOfField(field)) gridCellColourOf(*g, column, row, f, b);
    splitColour(f, fg);
    splitColour(b, bg);
}

void GridCellColourSet(int& field, int column, int row, const int fg[3], const int bg[3]) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount || row < 0 || row >= g->rowCount) {
        field = kBadIndex;
        return;
    }
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.colours.empty()) {
        GridCellColour init;
        if (c.settings.textColour >= 0) {
            init.set |= 1;
            unpack(c.settings.textColour, init.fg);
        }
        if (c.settings.backgroundColour >= 0) {
            init.set |= 2;
            unpack(c.settings.backgroundColour, init.bg);
        }
        c.colours.assign(static_cast<std::size_t>(g->rowCapacity), init);
    }
    GridCellColour& k = c.colours[rowIndex(row)];
    const int fgReq = colourRequest(fg), bgReq = colourRequest(bg);
    if (fgReq == -1)
        k.set = static_cast<std::uint8_t>(k.set & ~1);
    else if (fgReq >= 0) {
        k.set |= 1;
        unpack(fgReq, k.fg);
    }
    if (bgReq == -1)
        k.set = static_cast<std::uint8_t>(k.set & ~2);
    else if (bgReq >= 0) {
        k.set |= 2;
        unpack(bgReq, k.bg);
    }
    if (GridCellEditor* e = g->editorAt(column, row)) e->setColours(fgReq, bgReq);
    GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridColumnColourSet(int& field, int column, const int fg[3], const int bg[3]) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    GridColumnRecord& c = gridColumn(*g, column);
    c.colours.clear();
    const int fgReq = colourRequest(fg), bgReq = colourRequest(bg);
    applyRequest(c.settings.textColour, fgReq);
    applyRequest(c.settings.backgroundColour, bgReq);
    if (g->editor && g->currentColumn == column) g->editor->setColours(fgReq, bgReq);
    GridRepaintColumn(*g, column);
}

void GridCellLockSet(int& field, int column, int row, int state) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    if (row < 0 || row >= g->rowCount) {
        field = kBadIndex;
        return;
    }
    std::uint8_t& f = gridColumn(*g, column).flags[rowIndex(row)];
    f = static_cast<std::uint8_t>(state == 1 ? f & ~CellLocked : f | CellLocked);
    if (GridCellEditor* e = g->editorAt(column, row))
        e->setReadOnly(state != 1 || g->readOnly(), true);
    else
        GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridSetCurrentCell(int& field, int column, int row, int caretPosition) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount || row < 0 || row >= g->rowCount) {
        field = kBadIndex;
        return;
    }
    GridSelectionClear(*g);
    const bool parentActive = gridParentActive(*g);
    if (parentActive) gridFocusParent(*g);
    GridMoveCurrentCell(*g, column, row, parentActive, false);
    if (parentActive) gridFocusEditorCaret(*g, caretPosition);
}

void GridSelectRange(int& field, int firstColumn, int firstRow, int lastColumn, int lastRow) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    auto colOk = [&](int c) { return c >= 0 && c < g->columnCount; };
    auto rowOk = [&](int r) { return r >= 0 && r < g->rowCount; };
    if (!colOk(firstColumn) || !colOk(lastColumn) || !rowOk(firstRow) || !rowOk(lastRow)) {
        field = kBadIndex;
        return;
    }
    GridSetSelection(*g, firstRow, lastRow, firstColumn, lastColumn);
}

void GridSelectionRemove(int& field) {
    if (GridRecord* g = gridFind(field)) GridSelectionClear(*g);
}

void GridRowsSet(int& field, int rows) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    GridSetRowCount(*g, rows);
    if (field == 0) GridWindowFitSize(*g);
}

void GridSetRowCount(GridRecord& g, int rows) {
    GridSelectionClear(g);
    GridStoreEditorValue(g);
    const int oldRows = g.rowCount;
    g.rowCount = std::clamp(rows, 1, std::max(g.rowCapacity, 1));
    gridRowLabelVisibility(g, oldRows);
    if (g.currentRow >= g.rowCount || g.firstRow + g.visibleRows - 1 >= g.rowCount) {
        const bool hadFocus = gridEditorHasFocus(g);
        GridCloseCellEditor(g, true);
        if (g.currentRow >= g.rowCount) {
            g.currentRow = g.rowCount - 1;
            gridUpdateLastCellRef(g);
        }
        g.firstRow = std::max(0, g.currentRow - g.visibleRows + 1);
        GridRowLabelsRefresh(g);
        GridCreateCellEditor(g);
        if (hadFocus) gridTakeFocus(g);
    }
    gridUpdateScrollInfo(g);
    GridRepaintCellArea(g);
}

void GridValueRangeCheck(int& field, int column, double value) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    const GridColumnSettings& s = gridColumn(*g, column).settings;
    if (s.minimum <= s.maximum && (value < s.minimum || value > s.maximum)) field = kNoValue;
}

void GridColumnRangeSet(int& field, int column, double minimum, double maximum) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    GridColumnSettings& s = gridColumn(*g, column).settings;
    s.minimum = minimum;
    s.maximum = maximum;
    gridEditorSettingsChanged(*g, column);
}

void GridIntegerSpinSet(int& field, int column, int smallStep, int largeStep, int base) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    GridColumnSettings& s = gridColumn(*g, column).settings;
    if (s.className != "INTEGERSPIN") {
        field = kBadIndex;
        return;
    }
    s.smallStep = smallStep;
    s.largeStep = largeStep == 0 ? smallStep : largeStep;
    s.spinBase = base;
    gridEditorSettingsChanged(*g, column);
}

void GridRealSpinSet(int& field, int column, float smallStep, float largeStep) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    GridColumnSettings& s = gridColumn(*g, column).settings;
    if (s.className != "REALSPIN") {
        field = kBadIndex;
        return;
    }
    s.smallStep = smallStep;
    s.largeStep = largeStep;
    gridEditorSettingsChanged(*g, column);
}

void GridDoubleSpinSet(int& field, int column, double smallStep, double largeStep) {
    GridRecord* g = columnOf(field, column);
    if (!g) return;
    GridColumnSettings& s = gridColumn(*g, column).settings;
    if (s.className != "DOUBLESPIN") {
        field = kBadIndex;
        return;
    }
    s.smallStep = smallStep;
    s.largeStep = largeStep;
    gridEditorSettingsChanged(*g, column);
}

}  // namespace tk
