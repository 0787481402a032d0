#pragma once
// The in-place editor over the current cell: created when a cell becomes
// current, loaded from the cell, stored back before it goes.

#include "toolkit/dialogs/grid_record.h"

namespace tk {

void GridCreateCellEditor(GridRecord& grid);
void GridLoadEditorValue(GridRecord& grid);
void GridStoreEditorValue(GridRecord& grid);
void GridCloseCellEditor(GridRecord& grid, bool store);

}  // namespace tk
