// Marking cells for repainting: a cell is repainted only while it is visible.

#include "platform/window/user_api.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

int columnLeft(const GridRecord& g, int column) {
    int x = 0;
    for (int c = g.firstColumn; c < column && c < g.columnCount; ++c)
        x += gridColumn(g, c).width - 1;
    return x;
}

}  // namespace

void GridInvalidateCell(GridRecord& g, int column, int row, bool now) {
    if (!g.cellArea || row < g.firstRow || row >= g.firstRow + g.drawnRows ||
        column < g.firstColumn || column > g.lastColumn + 1)
        return;
    win::RECT rc;
    rc.left = columnLeft(g, column);
    rc.right = rc.left + gridColumn(g, column).width;
    rc.top = (row - g.firstRow) * (g.rowHeight - 1);
    rc.bottom = rc.top + g.rowHeight;
    win::InvalidateRect(g.cellArea, &rc, 0);
    if (now) win::UpdateWindow(g.cellArea);
}

void GridRepaintCellArea(GridRecord& g) {
    if (!g.cellArea) return;
    win::InvalidateRect(g.cellArea, nullptr, 0);
    win::UpdateWindow(g.cellArea);
}

void GridRepaintColumn(GridRecord& g, int column) {
    if (!g.cellArea || column < g.firstColumn || column > g.lastColumn + 1) return;
    win::RECT client{};
    win::GetClientRect(g.cellArea, &client);
    win::RECT rc{columnLeft(g, column), 0, 0, client.bottom};
    rc.right = rc.left + gridColumn(g, column).width;
    win::InvalidateRect(g.cellArea, &rc, 0);
    win::UpdateWindow(g.cellArea);
}

}  // namespace tk
