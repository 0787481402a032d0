#pragma once
// Blocks of cells through the clipboard as text: cells separated by tabs,
// rows ended by CR LF.

#include "toolkit/dialogs/grid_record.h"

namespace tk {

// 0 no text, 1 a single cell, 2 several cells.
int GridClipboardShape();
void GridClipboardSize(int& rows, int& columns);
bool GridSelectionEditable(const GridRecord& grid);
bool GridPasteTargetEditable(const GridRecord& grid);
bool GridCopySelection(GridRecord& grid);
void GridPasteClipboard(GridRecord& grid);
void GridClearSelection(GridRecord& grid);

// The clipboard text split into rows of cells, as the paste reads it.
int gridClipboardShapeOf(const char* text);

}  // namespace tk
