// The editor as a real control over the current cell.

#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

std::function<bool(win::HWND)>& gridNumericValidator() {
    static std::function<bool(win::HWND)> validator;
    return validator;
}

bool gridEditorValueAcceptable(GridRecord& g) {
    if (!g.editor || !g.editor->window() || !gridNumericValidator()) return true;
    return gridNumericValidator()(g.editor->window());
}

void GridCreateCellEditor(GridRecord& g) {
    if (!g.cellArea || g.columnCount == 0 || g.rowCount == 0 || !g.enabled || g.editor) return;
}

}  // namespace tk
