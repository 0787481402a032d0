// Focus, labels and scroll bars of grids that are windows. A grid without a
// window (no cell area) has nothing to do here.

#include <algorithm>
#include <cstring>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

bool classIs(win::HWND h, const char* name) {
    char buffer[32] = {};
    win::GetClassNameA(h, buffer, sizeof buffer);
    return strcasecmp(buffer, name) == 0;
}

void setHeaderItem(win::HWND header, int item, const std::string& text, int width, int format) {
    win::HDITEMA hi{};
    hi.mask = win::HDI_TEXT | win::HDI_WIDTH | win::HDI_FORMAT;
    std::string copy = text;
    hi.pszText = copy.data();
    hi.cxy = width;
    hi.fmt = format;
    if (win::SendMessageA(header, win::HDM_SETITEMA, static_cast<win::WPARAM>(item),
                          reinterpret_cast<win::LPARAM>(&hi)) == 0)
        win::SendMessageA(header, win::HDM_INSERTITEMA, static_cast<win::WPARAM>(item),
                          reinterpret_cast<win::LPARAM>(&hi));
}

}  // namespace

GridFocusState& gridFocusState() {
    static GridFocusState state;
    return state;
}

bool gridFocusInside(const GridRecord& g) {
    if (!g.window) return false;
    win::HWND f = win::GetFocus();
    return f && (f == g.window || win::IsChild(g.window, f));
}

void gridTakeFocus(GridRecord& g) {
    if (g.window) win::SetFocus(g.window);
}

void gridSendCellChange(GridRecord& g) {
    if (!g.window || gridCellChangeMessage() == 0) return;
    win::SendMessageA(win::GetParent(g.window), gridCellChangeMessage(),
                      static_cast<win::WPARAM>(g.fieldId),
                      GridCellRef(g.currentColumn + 1, g.currentRow + 1));
}

void gridRemoveFocusTextSelection() {
    win::HWND f = win::GetFocus();
    if (f && !classIs(f, "BUTTON") && !classIs(f, "COMBOBOX"))
        win::SendMessageA(f, win::EM_SETSEL, static_cast<win::WPARAM>(-1), -1);
}

void gridRepaintEditor(GridRecord& g) {
    if (g.editor && g.editor->window()) win::InvalidateRect(g.editor->window(), nullptr, 1);
}

bool gridParentActive(const GridRecord& g) {
    if (!g.window) return false;
    win::HWND p = win::GetParent(g.window);
    return p && win::IsWindowVisible(p) && win::IsWindowEnabled(p);
}

void gridFocusParent(GridRecord& g) {
    if (g.window) win::SetFocus(win::GetParent(g.window));
}

void gridFocusEditorCaret(GridRecord& g, int caret) {
    if (!g.window) return;
    win::SetFocus(g.window);
    win::HWND f = win::GetFocus();
    if (caret >= 0 && f && g.editor && f == g.editor->window() &&
        gridColumn(g, g.currentColumn).kind <= KindDouble) {
        win::SendMessageA(f, win::EM_SETSEL, static_cast<win::WPARAM>(caret), caret);
        win::SendMessageA(f, win::EM_SCROLLCARET, 0, 0);
    }
}

bool gridEditorHasFocus(const GridRecord& g) {
    return g.editor && g.editor->window() && win::GetFocus() == g.editor->window();
}

void gridUpdateLastCellRef(GridRecord& g) {
    const int ref = GridCellRef(g.currentColumn + 1, g.currentRow + 1);
    DialogRecord* dialog = g.window ? dialogRecordOf(win::GetParent(g.window)) : nullptr;
    if (dialog && dialog->changedField() == g.fieldId)
        dialog->lastGridCell() = ref;
    else
        g.lastCellRef = ref;
}

void gridRowLabelVisibility(GridRecord& g, int oldRowCount) {
    const int n = static_cast<int>(g.rowLabelControls.size());
    if (g.rowCount > oldRowCount && g.visibleRows >= oldRowCount) {
        int upTo = std::min({g.rowCount, g.rowCapacity, g.visibleRows + 1});
        for (int i = oldRowCount; i < upTo && i < n; ++i)
            win::ShowWindow(g.rowLabelControls[rowIndex(i)], win::SW_SHOWNA);
    }
    int bound = std::min(g.drawnRows, g.rowCapacity);
    for (int i = g.rowCount; i < bound && i < n; ++i)
        win::ShowWindow(g.rowLabelControls[rowIndex(i)], win::SW_HIDE);
}

void gridUpdateScrollInfo(GridRecord& g) {
    int running = std::max(g.rowCount, 1);
    g.scrollScale = 1;
    // The scroll bar counts in units of scrollScale rows, at most 65536 of them.
    while (running > 65536) {
        running /= 2;
        g.scrollScale *= 2;
    }
    if (!g.window || !(win::GetWindowLongA(g.window, win::GWL_STYLE) & win::WS_VSCROLL)) return;
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS | win::SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = running - 1;
    si.nPage = static_cast<win::UINT>(g.visibleRows / g.scrollScale);
    si.nPos = g.firstRow / g.scrollScale;
    win::SetScrollInfo(g.window, win::SB_VERT, &si, 1);
}

void gridHeaderItemsRefresh(GridRecord& g) {
    if (!g.header) return;
    for (int k = 0; k < static_cast<int>(g.headerLabels.size()); ++k) {
        int width = k == 0                  ? g.rowLabelWidth + 1
                    : k - 1 < g.firstColumn ? 0
                                            : gridColumn(g, k - 1).width - 1;
        setHeaderItem(g.header, k, g.headerLabels[rowIndex(k)], width,
                      k == 0 ? win::HDF_LEFT : win::HDF_CENTER);
    }
}

void GridRowLabelsRefresh(GridRecord& g) {
    if (g.rowLabelControls.empty()) return;
    const int drawn =
        g.firstRow + g.visibleRows < g.rowCount ? g.drawnRows : std::min(g.visibleRows, g.rowCount);
    for (int i = 0; i < drawn && i < static_cast<int>(g.rowLabelControls.size()); ++i) {
        win::HWND h = g.rowLabelControls[rowIndex(i)];
        int row = g.firstRow + i;
        std::string label =
            row < static_cast<int>(g.rowLabels.size()) ? g.rowLabels[rowIndex(row)] : std::string();
        setHeaderItem(h, 0, label, g.rowLabelWidth + 1, win::HDF_LEFT);
        if (row < g.rowCount) win::ShowWindow(h, win::SW_SHOWNA);
        win::UpdateWindow(h);
    }
    // Below the last row the partly visible label would repeat a stale
    // label: it shows only while rows follow.
    for (int i = std::max(drawn, g.visibleRows); i < static_cast<int>(g.rowLabelControls.size());
         ++i)
        win::ShowWindow(g.rowLabelControls[rowIndex(i)], win::SW_HIDE);
}

void gridEditorSettingsChanged(GridRecord& g, int column) {
    if (g.editor && g.currentColumn == column)
        g.editor->settingsChanged(gridColumn(g, column).settings);
}

}  // namespace tk
