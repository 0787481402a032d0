#pragma once
// Setting a grid up from its dialog's settings text and a column template
// dialog, and copying a grid into a dialog's modal copy and back.

#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace tk {

// Applies the rest of a [Grids] line ("columns rows templateId", and with
// row labels the following width and label lines when the text holds them);
// answers the characters consumed. A grid that cannot be defined is
// destroyed.
int GridDefineFromTemplate(win::HWND grid, std::string_view text);
// Message 1025's work: the columns from the template dialog's controls (or
// the chosen positions, counted from 1).
bool GridDefineColumnsFromDialog(win::HWND grid, win::HWND templateDialog,
                                 const std::vector<int>& positions, int rows, int rowLabelWidth);
win::INT_PTR GridTemplateProcedure(win::HWND dialog, win::UINT message, win::WPARAM wParam,
                                   win::LPARAM lParam);
// The grid of a modal copy takes the loaded grid's contents, and the loaded
// grid takes them back when the copy closes.
void GridCopyState(win::HWND target, win::HWND source);
// Rebuilds the columns from the grid's template dialog: `columns` columns,
// taken from the given positions (from 1) or from the first controls. The
// current cell goes to the first cell; field := -1 on failure.
void GridRedefineColumns(int& field, int columns, const std::vector<int>& positions);
// A rectangle in dialog units to pixels with the window's font.
void DialogUnitsToPixels(win::HWND window, win::RECT& rect);

}  // namespace tk
