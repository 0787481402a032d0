#pragma once
// The grid's windows: the grid window (VORARIZ), its cell area
// (REZODUZIVOVUV), the header and row-label controls, and the focus
// bookkeeping shared by all grids of the process. A grid without windows
// (no cell area) skips every step here.

#include <functional>

#include "platform/win_types.h"
#include "toolkit/dialogs/grid_record.h"

namespace tk {

// The registered GM_CELLCHANGE message (defined with the dialog procedure,
// which receives it).
win::UINT gridCellChangeMessage();

// Focus bookkeeping of all grids.
struct GridFocusState {
    int focusByGrid = 0;
    int focusFromOutside = 0;
    int focusReturned = 0;
    int dragStartColumn = -1;
    int dragStartRow = -1;
    int layoutBusy = 0;
};
GridFocusState& gridFocusState();
inline bool gridFocusFromOutside() {
    return gridFocusState().focusFromOutside != 0;
}

bool gridFocusInside(const GridRecord& grid);
void gridTakeFocus(GridRecord& grid);
// GM_CELLCHANGE with the current cell to the grid's parent.
void gridSendCellChange(GridRecord& grid);
// The focused window's text selection is removed unless it is a button or a
// combo box.
void gridRemoveFocusTextSelection();
void gridRepaintEditor(GridRecord& grid);
// The grid's parent is visible and enabled.
bool gridParentActive(const GridRecord& grid);
void gridFocusParent(GridRecord& grid);
// Focus to the grid; with a caret position >= 0 an edit-type editor puts its
// caret there.
void gridFocusEditorCaret(GridRecord& grid, int caretPosition);
bool gridEditorHasFocus(const GridRecord& grid);
// The last-cell reference of the dialog (or of the grid window) follows the
// current cell.
void gridUpdateLastCellRef(GridRecord& grid);
// After the row count changed: row-label controls shown or hidden.
void gridRowLabelVisibility(GridRecord& grid, int oldRowCount);
// scrollScale and the vertical scroll bar from the row count.
void gridUpdateScrollInfo(GridRecord& grid);
// The header items' texts from the grid's labels.
void gridHeaderItemsRefresh(GridRecord& grid);
void GridRowLabelsRefresh(GridRecord& grid);
// A column's range or steps changed: the editor follows.
void gridEditorSettingsChanged(GridRecord& grid, int column);
// The numeric edit's check of an editor's number before the cell is left
// (beeps and keeps the focus when it refuses); unbound, every number passes.
std::function<bool(win::HWND)>& gridNumericValidator();
// Shrinks the toolkit window that the grid fills towards the grid's size.
void GridWindowFitSize(GridRecord& grid);

}  // namespace tk
