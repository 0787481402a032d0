#pragma once
// The grid operations the edit dialogs share: the current cell followed
// through the grid's field changes, column arithmetic (Add To, Multiply By)
// and inserting and deleting cells and rows. Values above 1.0E10 are missing:
// they show as empty cells and arithmetic leaves them missing.

#include <vector>

#include "toolkit/core/event_queue.h"

namespace shell {

enum class CellKind { Number, Real, Check };

// One editor's grid: its field in the current dialog, the rows it holds and
// the kind of each column (column k is kinds[k - 1]).
struct EditorGrid {
    int field = 0;
    int capacity = 0;
    std::vector<CellKind> kinds;
    int column = 2, row = 1;  // the current cell

    int columns() const { return static_cast<int>(kinds.size()); }
    CellKind kindOf(int column) const;
    // A FieldChanged event of the grid moves the current cell to the cell
    // entered; answers whether the event was the grid's.
    bool follow(const tk::EventRecord& event);
    // Puts the current cell where the grid has it when that lies in
    // columns 2..n and rows 1..lastRow, else on the first cell of column 2.
    void startAtGridCell(int lastRow);
    // The last row of the column that holds a value (a checked box for a
    // check-box column); 0 when none does.
    int lastFilledRow(int column) const;
};

// The number last added and the factor last used by one editor.
struct ColumnMathMemory {
    float added = 0.0f;
    float factor = 1.0f;
};

// Asks for the number to add or the factor, offering the last one used;
// false on Cancel. The editor's dialog is made current again.
bool askColumnNumber(int dialog, bool multiply, ColumnMathMemory& memory, float& number);
// Adds the number to (or multiplies by it) rows first..last of a real
// column and puts rows 1..count back.
void changeColumn(const EditorGrid& grid, int column, int first, int last, int count, float number,
                  bool multiply);

// Insert and Delete Cell on the current column (values, or check marks that
// move down to the last row); "No." and outside the grid are refused with a
// message. Rows from the last one on do nothing.
void insertCell(const EditorGrid& grid);
void deleteCell(const EditorGrid& grid);
// Insert and Delete Row on columns first..last.
void insertRow(const EditorGrid& grid, int first, int last);
void deleteRow(const EditorGrid& grid, int first, int last);

}  // namespace shell
