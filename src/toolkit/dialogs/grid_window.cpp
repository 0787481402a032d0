// The grid window (VORARIZ): creation, fonts, sizing, scrolling, header
// notifications, the private messages and the fitting of a grid window.

#include "toolkit/dialogs/grid_window.h"

#include <algorithm>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_clipboard.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_print_defaults.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_template.h"
#include "toolkit/dialogs/numeric_edit.h"

namespace tk {

namespace {

win::HINSTANCE& gridInstance() {
    static win::HINSTANCE instance = nullptr;
    return instance;
}

int clientHeight(win::HWND h) {
    win::RECT r{};
    win::GetClientRect(h, &r);
    return r.bottom - r.top;
}

int clientWidth(win::HWND h) {
    win::RECT r{};
    win::GetClientRect(h, &r);
    return r.right - r.left;
}

// The height of a drop-down-list combo box in the font, minus one.
int probeRowHeight(win::HWND grid, win::HFONT font) {
    win::HWND probe = win::CreateWindowExA(0, "COMBOBOX", "", win::WS_CHILD | win::CBS_DROPDOWNLIST,
                                           0, 0, 50, 200, grid, nullptr, gridInstance(), nullptr);
    if (!probe) return 20;
    // A combo box takes the height of its selection field when it gets its font.
    win::SendMessageA(probe, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(font), 0);
    win::RECT r{};
    win::GetWindowRect(probe, &r);
    win::DestroyWindow(probe);
    return std::max<int>(r.bottom - r.top - 1, 4);
}

void fitHeight(GridRecord& g) {
    if (g.style & GRS_KEEPHEIGHT) return;
    win::RECT r{};
    win::GetWindowRect(g.window, &r);
    int height = (g.rowHeight - 1) * g.visibleRows + g.frameHeight + 1 + (g.hasHeader() ? 2 : 0);
    win::SetWindowPos(g.window, nullptr, 0, 0, r.right - r.left, height,
                      win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

win::HWND makeHeader(GridRecord& g, int x, int y, int width, int height, int id) {
    win::HWND h = win::CreateWindowExA(
        win::WS_EX_NOPARENTNOTIFY, "SysHeader32", "",
        win::WS_CHILD | win::WS_VISIBLE | win::HDS_BUTTONS, x, y, width, height, g.window,
        reinterpret_cast<win::HMENU>(static_cast<std::intptr_t>(id)), gridInstance(), nullptr);
    if (h && g.font)
        win::SendMessageA(h, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(g.font), 0);
    if (h) gridHeaderSubclass(h);
    return h;
}

// Column x offsets from firstColumn: the last column that fits wholly.
void recomputeColumns(GridRecord& g) {
    const int area = g.cellArea ? clientWidth(g.cellArea) : 0;
    int sum = 1;
    g.lastFirstColumn = 0;
    for (int c = g.columnCount - 1; c >= 0; --c) {
        sum += gridColumn(g, c).width - 1;
        if (sum > area) {
            g.lastFirstColumn = std::min(c + 1, g.columnCount - 1);
            break;
        }
    }
    sum = 1;
    g.lastColumn = g.firstColumn;
    for (int c = g.firstColumn; c < g.columnCount; ++c) {
        sum += gridColumn(g, c).width - 1;
        if (sum > area) break;
        g.lastColumn = c;
    }
}

void updateHorizontalScroll(GridRecord& g) {
    if (!(win::GetWindowLongA(g.window, win::GWL_STYLE) & win::WS_HSCROLL)) return;
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    si.nMax = std::max(g.columnCount - 1, 0);
    si.nPage = static_cast<win::UINT>(g.columnCount - g.lastFirstColumn);
    si.nPos = g.firstColumn;
    win::SetScrollInfo(g.window, win::SB_HORZ, &si, 1);
}

// Message 1027: scroll scale, scroll bars, lastFirstColumn and lastColumn.
void recomputeScrolling(GridRecord& g) {
    gridUpdateScrollInfo(g);
    recomputeColumns(g);
    updateHorizontalScroll(g);
}

void layoutChildren(GridRecord& g) {
    const int width = clientWidth(g.window), height = clientHeight(g.window);
    if (g.header)
        win::SetWindowPos(g.header, nullptr, 0, 0, width, g.rowHeight + 1,
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    int widest = 0;
    for (const GridColumnRecord& c : g.columns)
        widest = std::max(widest, c.width);
    if (g.cellArea)
        win::SetWindowPos(g.cellArea, nullptr, g.rowLabelWidth, g.headerHeight,
                          std::max(width - g.rowLabelWidth, widest),
                          std::max(height - g.headerHeight, g.rowHeight),
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

// The leftmost first column from which the columns up to `last` fit.
int firstColumnShowing(const GridRecord& g, int last) {
    const int area = g.cellArea ? clientWidth(g.cellArea) : 0;
    int sum = 1, first = last;
    for (int c = last; c >= 0; --c) {
        sum += gridColumn(g, c).width - 1;
        if (sum > area) break;
        first = c;
    }
    return first;
}

void keepCurrentColumnInView(GridRecord& g) {
    if (g.currentColumn > g.lastColumn)
        GridScrollTo(g, win::WM_HSCROLL, firstColumnShowing(g, g.currentColumn));
    else if (g.lastFirstColumn < g.firstColumn)
        GridScrollTo(g, win::WM_HSCROLL, g.lastFirstColumn);
}

void createRowLabelControls(GridRecord& g, int from, int to) {
    for (int i = from; i < to; ++i) {
        int y = (g.rowHeight - 1) * i + (g.hasHeader() ? g.rowHeight + 2 : 1) - (i == 0 ? 1 : 0);
        win::HWND h = makeHeader(g, 0, y, g.rowLabelWidth, g.rowHeight - (i > 0 ? 1 : 0), i);
        if (!h) break;
        if (i >= g.rowCount) win::ShowWindow(h, win::SW_HIDE);
        g.rowLabelControls.push_back(h);
    }
}

}  // namespace

// The cell area changed size: whole visible rows and row-label controls.
void gridCellAreaResized(GridRecord& g) {
    if (!g.columnsDefined || !g.cellArea || g.rowHeight < 2) return;
    gridLayoutBusy() = true;
    const int a = std::max((clientHeight(g.cellArea) - g.rowHeight) / (g.rowHeight - 1) + 1, 1);
    const int d = std::min(a + 1, g.rowCapacity);
    const bool changed = d != g.rowLabelCount;
    if (d < g.rowLabelCount) {
        if (g.currentRow - g.firstRow >= d - 1)
            GridScrollTo(g, win::WM_VSCROLL, g.currentRow - a + 1);
        while (static_cast<int>(g.rowLabelControls.size()) > d) {
            win::DestroyWindow(g.rowLabelControls.back());
            g.rowLabelControls.pop_back();
        }
        g.visibleRows = a;
        g.rowLabelCount = d;
        g.drawnRows = std::min(d, g.drawnRows);
    } else if (d > g.rowLabelCount) {
        if (g.firstRow + d > g.rowCount && g.firstRow > 0)
            GridScrollTo(g, win::WM_VSCROLL, std::max(g.rowCount - d, 0));
        if (g.hasRowLabels() && g.rowLabelWidth > 0)
            createRowLabelControls(g, static_cast<int>(g.rowLabelControls.size()), d);
        g.rowLabelCount = g.drawnRows = d;
        g.visibleRows = a;
        GridRowLabelsRefresh(g);
    } else {
        g.visibleRows = a;
    }
    recomputeScrolling(g);
    gridLayoutBusy() = false;
    if (changed && !g.displayOnly && gridFocusInside(g)) gridTakeFocus(g);
}

namespace {

void defaultFont(GridRecord& g) {
    win::HWND parent = win::GetParent(g.window);
    g.font = parent ? reinterpret_cast<win::HFONT>(win::SendMessageA(parent, win::WM_GETFONT, 0, 0))
                    : nullptr;
}

win::LRESULT onCreate(win::HWND h, const win::CREATESTRUCTA* cs) {
    auto* g = new GridRecord;
    win::SetWindowLongPtrA(h, 0, reinterpret_cast<win::LONG_PTR>(g));
    g->window = h;
    g->style = static_cast<int>(cs->style);
    // The grid's own background never paints over its cells and labels.
    win::SetWindowLongA(h, win::GWL_STYLE,
                        cs->style | static_cast<win::LONG>(win::WS_CLIPCHILDREN));
    g->fieldId = static_cast<int>(win::GetDlgCtrlID(h));
    g->dialogId = toolkitState().CurrentDialogNumber;
    g->enabled = !(cs->style & win::WS_DISABLED);
    defaultFont(*g);
    g->rowHeight = probeRowHeight(h, g->font);
    const int client = clientHeight(h);
    g->visibleRows = std::max((client - 1) / (g->rowHeight - 1), 1);
    g->createClientHeight = client;
    win::RECT r{};
    win::GetWindowRect(h, &r);
    g->frameHeight = (r.bottom - r.top) - client;
    fitHeight(*g);
    if (g->hasHeader()) {
        g->header = makeHeader(*g, 0, 0, r.right - r.left, g->rowHeight + 1, 0);
        if (!g->header) return -1;
        g->headerHeight = g->rowHeight + 1;
        g->visibleRows = std::max(g->visibleRows - 1, 1);
    }
    return 0;
}

void onDestroy(win::HWND h, GridRecord* g) {
    if (g->editor) g->editor->windowGoesWithGrid();
    GridCloseCellEditor(*g, true);
    gridLookupUnregister(g);
    win::SetWindowLongPtrA(h, 0, 0);
    delete g;
}

void onSetFont(GridRecord& g, win::HFONT font) {
    g.font = font;
    g.rowHeight = probeRowHeight(g.window, font);
    g.visibleRows = std::max((g.createClientHeight - 1) / (g.rowHeight - 1), 1);
    if (!g.displayOnly) fitHeight(g);
    if (g.header) {
        win::SendMessageA(g.header, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(font), 0);
        g.headerHeight = g.rowHeight + 1;
        g.visibleRows = std::max(g.visibleRows - 1, 1);
    }
}

int lineDelta(const GridRecord& g, int code, int thumb) {
    switch (code) {
        case win::SB_LINEUP:
            return -1;
        case win::SB_LINEDOWN:
            return 1;
        case win::SB_PAGEUP:
            return -g.visibleRows;
        case win::SB_PAGEDOWN:
            return g.visibleRows;
        case win::SB_THUMBTRACK:
        case win::SB_THUMBPOSITION:
            return thumb - g.firstRow;
        default:
            return 0;
    }
}

// Moves the drawn cells and the children (editor, spin buddy) with the
// scroll, so that an editor whose cell stays current stays over it; what
// scrolled in is repainted. A hidden cell area moves its children by hand.
void scrollContents(GridRecord& g, int dx, int dy) {
    if (!g.cellArea) return;
    if (win::IsWindowVisible(g.cellArea)) {
        win::ScrollWindowEx(g.cellArea, dx, dy, nullptr, nullptr, nullptr, nullptr,
                            win::SW_SCROLLCHILDREN | win::SW_INVALIDATE | win::SW_ERASE);
        return;
    }
    for (win::HWND c = win::GetWindow(g.cellArea, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        win::RECT r{};
        win::GetWindowRect(c, &r);
        win::POINT p{r.left, r.top};
        win::ScreenToClient(g.cellArea, &p);
        win::SetWindowPos(c, nullptr, p.x + dx, p.y + dy, 0, 0,
                          win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
}

void afterScroll(GridRecord& g, int column, int row) {
    const bool inside = gridFocusInside(g);
    GridMoveCurrentCell(g, column, row, false, false);
    if (inside && g.editor && g.editor->window()) win::SetFocus(g.editor->window());
    GridRowLabelsRefresh(g);
    GridRepaintCellArea(g);
}

void scrollVertically(GridRecord& g, int code, int thumb) {
    if (gridEditorHasFocus(g) && !gridEditorValueAcceptable(g)) return;
    if (code == win::SB_THUMBTRACK || code == win::SB_THUMBPOSITION) {
        if (g.pendingThumbRow != 0) {
            thumb = g.pendingThumbRow;
            g.pendingThumbRow = 0;
        } else {
            thumb *= g.scrollScale;
        }
    }
    int delta = std::max(lineDelta(g, code, thumb), -g.firstRow);
    const int limit = g.rowCount - g.visibleRows - g.firstRow;
    if (delta > 0) delta = limit < 1 ? 0 : std::min(delta, limit);
    if (delta == 0) return;
    const int a = g.changedFlagA, b = g.changedFlagB;
    GridSelectionClear(g);
    GridStoreEditorValue(g);
    g.firstRow += delta;
    gridUpdateScrollInfo(g);
    scrollContents(g, 0, -delta * (g.rowHeight - 1));
    afterScroll(g, g.currentColumn,
                std::clamp(g.currentRow, g.firstRow, g.firstRow + g.visibleRows - 1));
    g.changedFlagA = a;
    g.changedFlagB = b;
}

void scrollHorizontally(GridRecord& g, int code, int thumb) {
    if (gridEditorHasFocus(g) && !gridEditorValueAcceptable(g)) return;
    int delta = 0;
    switch (code) {
        case win::SB_LINELEFT:
            delta = -1;
            break;
        case win::SB_LINERIGHT:
            delta = 1;
            break;
        case win::SB_PAGELEFT:
            delta = firstColumnShowing(g, std::max(g.firstColumn - 1, 0)) - g.firstColumn;
            break;
        case win::SB_PAGERIGHT:
            delta = g.lastColumn - g.firstColumn;
            break;
        case win::SB_THUMBTRACK:
        case win::SB_THUMBPOSITION:
            delta = thumb - g.firstColumn;
            break;
        default:
            break;
    }
    delta = std::clamp(delta, -g.firstColumn,
                       std::max(g.lastFirstColumn - g.firstColumn, -g.firstColumn));
    if (delta == 0) return;
    GridSelectionClear(g);
    int shift = 0;
    for (int c = std::min(g.firstColumn, g.firstColumn + delta);
         c < std::max(g.firstColumn, g.firstColumn + delta); ++c)
        shift += gridColumn(g, c).width - 1;
    g.firstColumn += delta;
    recomputeScrolling(g);
    gridHeaderItemsRefresh(g);
    scrollContents(g, delta > 0 ? -shift : shift, 0);
    afterScroll(g,
                std::clamp(g.currentColumn, g.firstColumn, std::max(g.lastColumn, g.firstColumn)),
                g.currentRow);
    if (g.header) win::InvalidateRect(g.header, nullptr, 1);
}

void onHeaderClick(GridRecord& g, win::HWND from, int item) {
    const bool shift = win::GetKeyState(win::VK_SHIFT) < 0;
    gridFocusState().focusByGrid = 1;
    if (from == g.header) {
        if (item == 0) {
            GridSetSelection(g, 0, g.rowCount - 1, 0, g.columnCount - 1);
        } else {
            const int c = item - 1;
            if (shift) {
                GridSetSelection(g, 0, g.rowCount - 1, std::min(c, g.currentColumn),
                                 std::max(c, g.currentColumn));
            } else {
                GridMoveCurrentCell(g, c, g.firstRow, true, false);
                GridSetSelection(g, 0, g.rowCount - 1, c, c);
            }
        }
    } else {
        const int r = static_cast<int>(win::GetDlgCtrlID(from)) + g.firstRow;
        if (r < g.rowCount) {
            if (shift) {
                GridSetSelection(g, std::min(r, g.currentRow), std::max(r, g.currentRow), 0,
                                 g.columnCount - 1);
            } else {
                GridMoveCurrentCell(g, g.firstColumn, r, true, false);
                GridSetSelection(g, r, r, 0, g.columnCount - 1);
            }
        }
    }
    gridFocusState().focusByGrid = 0;
}

win::LRESULT onNotify(GridRecord& g, const win::NMHDR* hdr) {
    const auto* nm = reinterpret_cast<const win::NMHEADERA*>(hdr);
    switch (hdr->code) {
        case win::HDN_ITEMCLICKA:
            onHeaderClick(g, hdr->hwndFrom, nm->iItem);
            return 0;
        case win::HDN_BEGINTRACKA:
            return (g.style & GRS_RESIZECOLUMNS) && hdr->hwndFrom == g.header &&
                           nm->iItem > g.firstColumn
                       ? 0
                       : 1;
        case win::HDN_TRACKA:
            if (hdr->hwndFrom == g.header && nm->iItem > 0 && nm->pitem)
                GridTrackColumn(g, nm->iItem - 1, nm->pitem->cxy + 1);
            return 0;
        case win::HDN_ENDTRACKA:
            keepCurrentColumnInView(g);
            return 0;
        default:
            return 0;
    }
}

void onFocus(GridRecord& g, win::HWND from) {
    if (!g.columnsDefined) return;
    if (g.currentColumn > g.lastColumn || g.currentColumn < g.firstColumn)
        GridScrollTo(g, win::WM_HSCROLL,
                     std::min(firstColumnShowing(g, g.currentColumn), g.currentColumn));
    if (g.currentRow < g.firstRow)
        GridScrollTo(g, win::WM_VSCROLL, g.currentRow);
    else if (g.currentRow >= g.firstRow + g.visibleRows)
        GridScrollTo(g, win::WM_VSCROLL, g.currentRow - g.visibleRows + 1);
    if (g.editor && g.editor->window()) {
        win::SetFocus(g.editor->window());
        if (gridColumn(g, g.currentColumn).kind <= KindDouble && from == g.cellArea) {
            win::SendMessageA(g.editor->window(), win::EM_SETSEL, 0, -1);
            win::SendMessageA(g.editor->window(), win::EM_SCROLLCARET, 0, 0);
        }
    }
}

win::LRESULT privateMessage(GridRecord& g, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    switch (msg) {
        case 1027:
            recomputeScrolling(g);
            return 0;
        case 1028: {
            const int rows = static_cast<int>(wp);
            g.rowCount = g.rowCapacity = rows;
            g.columnCount = static_cast<int>(lp);
            g.rowLabelCount = g.drawnRows = std::min(rows, g.visibleRows + 1);
            return 0;
        }
        case 1029:
            g.columnsDefined = 1;
            g.displayOnly = 1;
            return 0;
        case 1030:
            gridHeaderItemsRefresh(g);
            return 0;
        default:
            return 0;
    }
}

win::LRESULT CALLBACK_GridWindowProcedure(win::HWND h, win::UINT msg, win::WPARAM wp,
                                          win::LPARAM lp) {
    if (msg == win::WM_CREATE) return onCreate(h, reinterpret_cast<const win::CREATESTRUCTA*>(lp));
    GridRecord* g = gridRecordOfWindow(h);
    if (!g) return win::DefWindowProcA(h, msg, wp, lp);
    switch (msg) {
        case win::WM_DESTROY:
            onDestroy(h, g);
            return 0;
        case win::WM_SETFONT:
            onSetFont(*g, reinterpret_cast<win::HFONT>(wp));
            return 0;
        case win::WM_GETFONT:
            return reinterpret_cast<win::LRESULT>(g->font);
        case win::WM_ENABLE:
            g->enabled = wp != 0;
            if (g->enabled)
                GridCreateCellEditor(*g);
            else
                GridCloseCellEditor(*g, true);
            GridRepaintCellArea(*g);
            return 0;
        case win::WM_SIZE:
            if (g->columnsDefined) {
                const int oldLast = g->lastColumn;
                layoutChildren(*g);
                recomputeScrolling(*g);
                if (oldLast != g->lastColumn) GridRepaintCellArea(*g);
                keepCurrentColumnInView(*g);
                gridLayoutBusy() = false;
            }
            return 0;
        case win::WM_SETFOCUS:
            onFocus(*g, reinterpret_cast<win::HWND>(wp));
            return 0;
        case win::WM_VSCROLL:
            if (lp == 0)
                scrollVertically(*g, win::LOWORD(static_cast<win::DWORD>(wp)),
                                 static_cast<short>(win::HIWORD(static_cast<win::DWORD>(wp))));
            return 0;
        case win::WM_HSCROLL:
            scrollHorizontally(*g, win::LOWORD(static_cast<win::DWORD>(wp)),
                               static_cast<short>(win::HIWORD(static_cast<win::DWORD>(wp))));
            return 0;
        case win::WM_MOUSEWHEEL: {
            const int delta = static_cast<short>(win::HIWORD(static_cast<win::DWORD>(wp)));
            g->wheelDelta += delta;
            while (delta < 0 && g->wheelDelta < -119) {
                scrollVertically(*g, win::SB_LINEDOWN, 0);
                g->wheelDelta += 120;
            }
            while (delta > 0 && g->wheelDelta > 119) {
                scrollVertically(*g, win::SB_LINEUP, 0);
                g->wheelDelta -= 120;
            }
            return 0;
        }
        case win::WM_NOTIFY:
            return onNotify(*g, reinterpret_cast<const win::NMHDR*>(lp));
        case win::WM_STYLECHANGED:
            if (wp == static_cast<win::WPARAM>(win::GWL_STYLE)) {
                const auto* ss = reinterpret_cast<const win::STYLESTRUCT*>(lp);
                const bool wasReadOnly = (g->style & GRS_READONLY) != 0;
                g->style = static_cast<int>(ss->styleNew);
                if (wasReadOnly != g->readOnly() && g->editor) {
                    const auto& c = gridColumn(*g, g->currentColumn);
                    g->editor->setReadOnly(
                        g->readOnly() || (c.flags[rowIndex(g->currentRow)] & CellLocked), true);
                }
            }
            return 0;
        case win::WM_COMMAND:
            GridContextCommand(*g, win::LOWORD(static_cast<win::DWORD>(wp)));
            return win::DefWindowProcA(h, msg, wp, lp);
        default:
            if (msg >= 1025 && msg <= 1030) return privateMessage(*g, msg, wp, lp);
            return win::DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

GridRecord* gridRecordOfWindow(win::HWND h) {
    if (!h) return nullptr;
    char name[16] = {};
    win::GetClassNameA(h, name, sizeof name);
    if (std::string_view(name) != "VORARIZ") return nullptr;
    return reinterpret_cast<GridRecord*>(win::GetWindowLongPtrA(h, 0));
}

win::UINT gridCellChangeMessage() {
    static const win::UINT message = win::RegisterWindowMessageA("GM_CELLCHANGE");
    return message;
}

void GridClassRegister(win::HINSTANCE instance) {
    gridInstance() = instance;
    win::WNDCLASSA wc{};
    if (win::GetClassInfoA(instance, "VORARIZ", &wc)) return;
    wc.style = win::CS_PARENTDC;
    wc.hCursor = win::LoadCursorA(nullptr, win::IDC_ARROW);
    wc.hbrBackground =
        reinterpret_cast<win::HBRUSH>(static_cast<std::intptr_t>(win::COLOR_BTNFACE + 1));
    wc.hInstance = instance;
    wc.lpfnWndProc = CALLBACK_GridWindowProcedure;
    wc.cbWndExtra = static_cast<int>(sizeof(void*));
    wc.lpszClassName = "VORARIZ";
    win::RegisterClassA(&wc);
    wc.lpfnWndProc = GridClientProcedure;
    wc.cbWndExtra = 0;
    wc.lpszClassName = "REZODUZIVOVUV";
    win::RegisterClassA(&wc);
    gridCellChangeMessage();  // registers GM_CELLCHANGE
    gridPrintDefaultsRead() = 0;
}

void GridDialogHooksBind() {
    DialogPartHooks& h = dialogPartHooks();
    if (!h.gridClassRegister) h.gridClassRegister = [] { GridClassRegister(nullptr); };
    if (!h.gridDefineFromTemplate)
        h.gridDefineFromTemplate = [](win::HWND grid, std::string_view rest) {
            return GridDefineFromTemplate(grid, rest);
        };
    if (!h.gridCopy) h.gridCopy = [](win::HWND to, win::HWND from) { GridCopyState(to, from); };
    if (!h.gridClearAll)
        h.gridClearAll = [](win::HWND grid) {
            if (GridRecord* g = gridRecordOfWindow(grid)) GridClearAll(*g, true);
        };
}

void GridDefineColumnsInWindow(win::HWND window, const std::vector<GridColumnSpec>& specs,
                               int rowCapacity, int rowLabelWidth) {
    GridRecord* g = gridRecordOfWindow(window);
    if (!g) return;
    const int visible = g->visibleRows;
    GridDefineColumns(*g, specs, rowCapacity);
    g->visibleRows = visible;
    g->rowLabelCount = g->drawnRows = std::min(g->rowCapacity, g->visibleRows + 1);
    const int gridWidth = clientWidth(window);
    for (GridColumnRecord& c : g->columns)
        c.width = std::min(c.width, gridWidth);
    g->rowLabelWidth = g->hasRowLabels() ? rowLabelWidth : 0;
    if (!g->cellArea) {
        g->cellArea = win::CreateWindowExA(
            0, "REZODUZIVOVUV", "", win::WS_CHILD | win::WS_VISIBLE, g->rowLabelWidth,
            g->headerHeight, gridWidth - g->rowLabelWidth, clientHeight(window) - g->headerHeight,
            window, nullptr, gridInstance(), nullptr);
    }
    if (g->hasRowLabels() && g->rowLabelWidth > 0) createRowLabelControls(*g, 0, g->rowLabelCount);
    gridCellAreaResized(*g);
    gridHeaderItemsRefresh(*g);
    GridRowLabelsRefresh(*g);
    recomputeScrolling(*g);
    if (g->enabled) GridCreateCellEditor(*g);
    GridRepaintCellArea(*g);
}

void GridScrollTo(GridRecord& g, win::UINT message, int position) {
    if (message == win::WM_VSCROLL) {
        // A pending row of 0 reads the thumb position 0: the first row.
        g.pendingThumbRow = position;
        scrollVertically(g, win::SB_THUMBTRACK, 0);
        g.pendingThumbRow = 0;
    } else {
        scrollHorizontally(g, win::SB_THUMBTRACK, position);
    }
}

void GridTrackColumn(GridRecord& g, int column, int width) {
    const auto& c = gridColumn(g, column);
    int minimum = 14;
    if (c.kind == KindMenu || c.settings.hasSpinBuddy)
        minimum += win::GetSystemMetrics(win::SM_CXVSCROLL);
    width =
        std::clamp(width, minimum, std::max(minimum, g.cellArea ? clientWidth(g.cellArea) : width));
    if (width == c.width) return;
    gridColumn(g, column).width = width;
    recomputeScrolling(g);
    if (g.editor && g.editor->window()) {
        GridCloseCellEditor(g, true);
        GridCreateCellEditor(g);
    }
    gridHeaderItemsRefresh(g);
    GridRepaintCellArea(g);
}

namespace {

bool isToolkitFrame(win::HWND h) {
    const int n = WindowSlotOfHandle(h);
    return n >= 0 && windowSystem().slots[static_cast<std::size_t>(n)].frame == h;
}

}  // namespace

win::HWND GridWindowFrameSize(const GridRecord& g, int columnPixels, int rows, win::SIZE& size) {
    if (!g.window) return nullptr;
    // The toolkit window whose frame the grid fills (an inside-parent window
    // has parents of its own that must keep their size).
    win::HWND frame = win::GetParent(g.window);
    while (frame && !isToolkitFrame(frame) && win::GetParent(frame))
        frame = win::GetParent(frame);
    if (!frame) return nullptr;
    win::RECT need{0, 0, g.rowLabelWidth + 1 + std::min(columnPixels, 10000),
                   g.headerHeight + std::min((g.rowHeight - 1) * rows, 10000) + 1};
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(g.window, win::GWL_STYLE));
    win::AdjustWindowRectEx(
        &need, style, 0, static_cast<win::DWORD>(win::GetWindowLongA(g.window, win::GWL_EXSTYLE)));
    if (style & win::WS_VSCROLL) need.right += win::GetSystemMetrics(win::SM_CXVSCROLL);
    if (style & win::WS_HSCROLL) need.bottom += win::GetSystemMetrics(win::SM_CYHSCROLL);
    // Everything around the grid (the frame, its bars) keeps its size.
    win::RECT frameRect{}, gridRect{};
    win::GetWindowRect(frame, &frameRect);
    win::GetWindowRect(g.window, &gridRect);
    size.cx = (need.right - need.left) + (frameRect.right - frameRect.left) -
              (gridRect.right - gridRect.left);
    size.cy = (need.bottom - need.top) + (frameRect.bottom - frameRect.top) -
              (gridRect.bottom - gridRect.top);
    return frame;
}

void GridWindowFitSize(GridRecord& g) {
    int columns = 0;
    for (const GridColumnRecord& c : g.columns)
        columns += c.width - 1;
    win::SIZE need{};
    win::HWND frame = GridWindowFrameSize(g, columns, g.rowCount, need);
    if (!frame) return;
    win::RECT frameRect{};
    win::GetWindowRect(frame, &frameRect);
    const int curW = frameRect.right - frameRect.left, curH = frameRect.bottom - frameRect.top;
    const bool wFits = need.cx <= curW, hFits = need.cy <= curH;
    if (!wFits && !hFits) return;
    win::SetWindowPos(frame, nullptr, 0, 0, wFits ? need.cx : curW, hFits ? need.cy : curH,
                      win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

}  // namespace tk
