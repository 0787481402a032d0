#pragma once
// The grid's internal cell operations: put, read and clear cells by column
// kind, menu options, check boxes, locks, labels, colours, ranges, the row
// count, the current cell and the selection. Columns and rows count from 0.
// Operations that take a field id write -1 (not a grid), -2 (index or kind)
// or -3 (no value, out of range) into it on failure and leave it otherwise.
//
// The current cell's editor holds the newest value of that cell, so every
// read of the current cell consults it and every write updates it.

#include <string>
#include <string_view>

#include "toolkit/dialogs/grid_record.h"

namespace tk {

// 1 at start: changed cells are repainted at once; 0: only marked.
int& GridRedrawEnabled();
void GridRedrawOff();
void GridRedrawOn(int field);

void GridCellPut(int& field, int column, int row, double value, std::string_view text,
                 std::string_view format);
void GridCheckBoxPut(int& field, int column, int row, int state);
void GridOptionPut(int& field, int column, int row, int option);
void GridOptionPutByText(int& field, int column, int row, int& notFound, std::string_view text);
void GridMenuAddOption(int& field, int column, int row, std::string_view text);
void GridMenuClearOptions(int& field, int column, int row);
std::string GridMenuOptionText(int field, int column, int option);
// Mode 0: rows in use, menu refused; 1: allocated rows, menu refused;
// 2: allocated rows, menu cells get the first option.
void GridClearCellInternal(int& field, int column, int row, int mode);
void GridClearAll(GridRecord& grid, bool withOptions);
void GridCellTextGet(int& field, int column, int row, std::string& text);
void GridCellNumberGet(int& field, int column, int row, double& value);
void GridCheckBoxGet(int& field, int column, int row, int& state);
void GridOptionGet(int& field, int column, int row, int& option);
std::string GridColumnFormatGet(int field, int column);

void GridColumnLabelSet(int field, int item, std::string_view text);
std::string GridColumnLabelGet(int field, int item);
void GridRowLabelSet(int field, int row, std::string_view text);
std::string GridRowLabelGet(int field, int row);
void GridLabelsInfo(int field, int& hasHeader, int& rowLabelWidth);
void GridColumnAlignment(int field, int column, int& alignment);

// A cell's packed colours (the cell's, else the column's, else the grid's);
// -1 for a default colour.
void gridCellColourOf(const GridRecord& grid, int column, int row, int& textColour,
                      int& backgroundColour);
// Colours as red, green, blue; -1 for a default colour.
void GridCellColourGet(int field, int column, int row, int fg[3], int bg[3]);
// Red 256 returns a colour to the default, red -1 leaves it.
void GridCellColourSet(int& field, int column, int row, const int fg[3], const int bg[3]);
void GridColumnColourSet(int& field, int column, const int fg[3], const int bg[3]);
// State 1 unlocks the cell, any other value locks it.
void GridCellLockSet(int& field, int column, int row, int state);

void GridSetCurrentCell(int& field, int column, int row, int caretPosition);
void GridSelectRange(int& field, int firstColumn, int firstRow, int lastColumn, int lastRow);
void GridSelectionRemove(int& field);
void GridRowsSet(int& field, int rows);
void GridSetRowCount(GridRecord& grid, int rows);
void GridValueRangeCheck(int& field, int column, double value);
void GridColumnRangeSet(int& field, int column, double minimum, double maximum);
void GridIntegerSpinSet(int& field, int column, int smallStep, int largeStep, int base);
void GridRealSpinSet(int& field, int column, float smallStep, float largeStep);
void GridDoubleSpinSet(int& field, int column, double smallStep, double largeStep);

// Repaint bookkeeping; nothing happens for a grid without windows.
void GridInvalidateCell(GridRecord& grid, int column, int row, bool now);
void GridRepaintCellArea(GridRecord& grid);
void GridRepaintColumn(GridRecord& grid, int column);

// The cell's text form: mode 0 for the clipboard and files, 1 for display
// (check boxes as the symbol font's check mark 0xFC and cross 0xFB).
std::string GridCellText(const GridRecord& grid, int column, int row, int mode);
// A stored number in the column's display form.
std::string gridFormatNumber(const GridColumnRecord& column, double value);
std::string gridColumnFormat(const GridColumnRecord& column);

// The column of a grid by 0-based index (unchecked).
inline GridColumnRecord& gridColumn(GridRecord& g, int column) {
    return g.columns[static_cast<std::size_t>(column)];
}
inline const GridColumnRecord& gridColumn(const GridRecord& g, int column) {
    return g.columns[static_cast<std::size_t>(column)];
}
inline std::size_t rowIndex(int row) {
    return static_cast<std::size_t>(row);
}

}  // namespace tk
