#pragma once
// The grid's windows: the grid window (VORARIZ), its cell area
// (REZODUZIVOVUV), the header and row-label controls, and the focus
// bookkeeping shared by all grids of the process. A grid without windows
// (no cell area) skips every step here.

#include <vector>

#include "platform/win_types.h"
#include "toolkit/dialogs/grid_record.h"

namespace tk {

// The registered GM_CELLCHANGE message, which grids send their dialog.
win::UINT gridCellChangeMessage();

// Focus bookkeeping of all grids.
struct GridFocusState {
    int focusByGrid = 0;
    int focusFromOutside = 0;
    int focusReturned = 0;
    int dragStartColumn = -1;
    int dragStartRow = -1;
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
// The grid record of a grid window (class VORARIZ), else null.
GridRecord* gridRecordOfWindow(win::HWND window);
// Registers the grid classes and GM_CELLCHANGE once per process (the root
// window's opening calls it) and marks the print defaults unread.
void GridClassRegister(win::HINSTANCE instance);
// Binds the dialog manager's grid hooks to the grid.
void GridDialogHooksBind();
// Defines the columns of a grid window: storage, cell area, header items,
// row-label controls (rowLabelWidth pixels wide) and the editor.
void GridDefineColumnsInWindow(win::HWND window, const std::vector<GridColumnSpec>& specs,
                               int rowCapacity, int rowLabelWidth);
// The cell area changed size: visible rows and row-label controls follow.
void gridCellAreaResized(GridRecord& grid);
// Scrolls to a first row (WM_VSCROLL) or first column (WM_HSCROLL).
void GridScrollTo(GridRecord& grid, win::UINT message, int position);
// A header divider dragged: the column's new width, within its limits.
void GridTrackColumn(GridRecord& grid, int column, int width);
win::LRESULT GridClientProcedure(win::HWND window, win::UINT message, win::WPARAM wParam,
                                 win::LPARAM lParam);
void gridHeaderSubclass(win::HWND header);
// The drawn cell under a point of the cell area; false when none.
bool GridCellAtPoint(const GridRecord& grid, int x, int y, int& column, int& row);
void gridRepaintSelection(GridRecord& grid);
// The grid fills a toolkit window (its parent is a toolkit client area).
bool gridFillsToolkitWindow(const GridRecord& grid);
// The context menu's commands.
void GridContextCommand(GridRecord& grid, int id);
// The colours the editor was given (-1 default); 0 without a window editor.
int gridEditorColours(const GridRecord& grid, int& textColour, int& backgroundColour);
// Shrinks the toolkit window that the grid fills towards the grid's size.
void GridWindowFitSize(GridRecord& grid);
// The frame size of the toolkit window the grid fills that shows columns of
// the given pixel width (each column counted less its shared line) and the
// rows; answers the frame, null when the grid fills none.
win::HWND GridWindowFrameSize(const GridRecord& grid, int columnPixels, int rows, win::SIZE& size);

}  // namespace tk
