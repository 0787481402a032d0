#pragma once
// The current cell and the selected block of a grid, and the FieldChanged
// reports that selections, pastes and clears write for the application.

#include "platform/win_types.h"
#include "toolkit/dialogs/grid_record.h"

namespace tk {

// Moves the current cell: stores and closes the editor, opens it on the new
// cell; with extend the block from the anchor (or the old cell) is selected.
// Answers false when the editor's number refused the move.
bool GridMoveCurrentCell(GridRecord& grid, int column, int row, bool takeFocus, bool extend);
// Rows and columns 0-based and inclusive; not checked.
void GridSetSelection(GridRecord& grid, int firstRow, int lastRow, int firstColumn, int lastColumn);
void GridSelectionClear(GridRecord& grid);
// Whether a cell is painted as selected: inside the block of an enabled grid
// that holds the focus.
bool gridSelectionShown(const GridRecord& grid, int column, int row);
// The visible part of the selected block in cell-area pixels; false when empty.
bool GridSelectionRect(const GridRecord& grid, int cellAreaHeight, win::RECT& rect);
// Writes a FieldChanged event of the grid's own dialog into the pending
// event (sub-code 1 change, 2 selection) unless the type is disabled. A
// selection leaves an undelivered pending event alone; a change (paste,
// clear) replaces it.
void GridWriteFieldChanged(const GridRecord& grid, int subCode, int firstRef, int lastRef);

// Whether the editor's number may be left (the numeric edit's validation);
// bound by the window side, true without one.
bool gridEditorValueAcceptable(GridRecord& grid);

}  // namespace tk
