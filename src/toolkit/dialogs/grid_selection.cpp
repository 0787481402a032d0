#include "toolkit/dialogs/grid_selection.h"

#include <algorithm>

#include "platform/window/user_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

void repaintSelection(GridRecord& g) {
    if (!g.cellArea) return;
    win::RECT rc{};
    win::RECT client{};
    win::GetClientRect(g.cellArea, &client);
    if (GridSelectionRect(g, client.bottom, rc)) win::InvalidateRect(g.cellArea, &rc, 0);
}

}  // namespace

void GridWriteFieldChanged(const GridRecord& g, int subCode, int firstRef, int lastRef) {
    int enabled = 0;
    EventTypeSetting(FieldChanged, enabled);
    EventQueueState& q = eventQueue();
    const bool pending = q.current.type == FieldChanged && q.waitState == 0;
    if (!enabled || (pending && subCode == 2)) return;
    StoredEvent& e = q.current;
    e.type = FieldChanged;
    e.time = static_cast<int>(win::GetMessageTime());
    // The dialog that holds the grid now, not the one current at its creation.
    DialogRecord* d = g.window ? dialogRecordOf(win::GetParent(g.window)) : nullptr;
    e.window = d ? d->identifier() : -1;
    e.values = {g.fieldId, g.fieldId, subCode, -1};
    e.x = firstRef;
    e.y = lastRef;
    q.waitState = 0;
}

void GridSetSelection(GridRecord& g, int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (g.selFirstRow == firstRow && g.selLastRow == lastRow && g.selFirstColumn == firstColumn &&
        g.selLastColumn == lastColumn)
        return;
    gridRemoveFocusTextSelection();
    repaintSelection(g);
    g.selFirstRow = firstRow;
    g.selLastRow = lastRow;
    g.selFirstColumn = firstColumn;
    g.selLastColumn = lastColumn;
    repaintSelection(g);
    if (g.cellArea) win::UpdateWindow(g.cellArea);
    if (g.style & GRS_SELECTEVENTS)
        GridWriteFieldChanged(g, 2, GridCellRef(firstColumn + 1, firstRow + 1),
                              GridCellRef(lastColumn + 1, lastRow + 1));
}

void GridSelectionClear(GridRecord& g) {
    if (g.hasSelection()) {
        repaintSelection(g);
        if (g.editor) gridRepaintEditor(g);
        g.selFirstRow = g.selLastRow = g.selFirstColumn = g.selLastColumn = -1;
        if (g.style & GRS_SELECTEVENTS) GridWriteFieldChanged(g, 2, 0, 0);
    }
    g.anchorColumn = g.anchorRow = -1;
}

bool GridSelectionRect(const GridRecord& g, int cellAreaHeight, win::RECT& rc) {
    if (!g.hasSelection() || g.selLastRow < g.firstRow ||
        g.selFirstRow >= g.firstRow + g.drawnRows || g.selLastColumn < g.firstColumn ||
        g.selFirstColumn > g.lastColumn + 1)
        return false;
    rc.top = std::max(0, (g.selFirstRow - g.firstRow) * (g.rowHeight - 1));
    rc.bottom = std::min(cellAreaHeight, (g.selLastRow - g.firstRow + 1) * (g.rowHeight - 1));
    int x = 0;
    rc.left = rc.right = 0;
    for (int c = g.firstColumn; c < g.columnCount && c <= g.selLastColumn; ++c) {
        if (c == g.selFirstColumn) rc.left = x;
        x += gridColumn(g, c).width - 1;
    }
    if (g.selFirstColumn < g.firstColumn) rc.left = 0;
    rc.right = x + 1;
    return rc.top < rc.bottom && rc.left < rc.right;
}

bool GridMoveCurrentCell(GridRecord& g, int column, int row, bool takeFocus, bool extend) {
    const bool same = g.isCurrent(column, row);
    if (same && !gridFocusFromOutside() && g.editor) return true;
    if (!same && g.editor && !gridEditorValueAcceptable(g)) return false;
    const int oldColumn = g.currentColumn, oldRow = g.currentRow;
    const int anchorColumn = g.anchorColumn, anchorRow = g.anchorRow;
    GridCloseCellEditor(g, true);
    g.currentColumn = column;
    g.currentRow = row;
    GridCreateCellEditor(g);
    if (takeFocus)
        gridTakeFocus(g);
    else if (gridFocusInside(g))
        gridSendCellChange(g);
    if (!extend) {
        GridSelectionClear(g);
        return true;
    }
    if (anchorColumn < 0) {
        GridSetSelection(g, std::min(oldRow, row), std::max(oldRow, row),
                         std::min(oldColumn, column), std::max(oldColumn, column));
        g.anchorColumn = oldColumn;
        g.anchorRow = oldRow;
    } else if (anchorColumn == column && anchorRow == row) {
        GridSelectionClear(g);
    } else {
        GridSetSelection(g, std::min(anchorRow, row), std::max(anchorRow, row),
                         std::min(anchorColumn, column), std::max(anchorColumn, column));
        g.anchorColumn = anchorColumn;
        g.anchorRow = anchorRow;
    }
    return true;
}

bool gridSelectionShown(const GridRecord& g, int column, int row) {
    return g.enabled && gridFocusInside(g) && g.hasSelection() && column >= g.selFirstColumn &&
           column <= g.selLastColumn && row >= g.selFirstRow && row <= g.selLastRow;
}

}  // namespace tk
