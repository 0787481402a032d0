// The cell area (REZODUZIVOVUV): painting of lines, cells, check marks,
// selection and colours; mouse presses; the editor's notifications and
// colours; the context menu. Also the subclass of the header controls.

#include <algorithm>
#include <map>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_clipboard.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

GridRecord* gridOfCellArea(win::HWND cellArea) {
    return gridRecordOfWindow(win::GetParent(cellArea));
}

win::COLORREF sysColour(int index) {
    return static_cast<win::COLORREF>(win::GetSysColor(index));
}

int drawnRowCount(const GridRecord& g) {
    return g.firstRow + g.visibleRows < g.rowCount ? g.drawnRows
                                                   : std::min(g.visibleRows, g.rowCount);
}

int lastDrawnColumn(const GridRecord& g) {
    return std::min(g.lastColumn + 1, g.columnCount - 1);
}

// The colours of a cell as painted.
void cellColours(const GridRecord& g, int column, int row, bool selected, win::COLORREF& fg,
                 win::COLORREF& bg) {
    const GridColumnRecord& c = gridColumn(g, column);
    const bool locked = (c.flags[rowIndex(row)] & CellLocked) != 0;
    if (!g.enabled) {
        fg = sysColour(win::COLOR_GRAYTEXT);
        bg = sysColour(win::COLOR_BTNFACE);
    } else if (selected) {
        fg = sysColour(win::COLOR_HIGHLIGHTTEXT);
        bg = sysColour(win::COLOR_HIGHLIGHT);
    } else if ((!g.readOnly() && !locked) || (g.style & GRS_COLOURLOCKED)) {
        int fi = -1, bi = -1;
        gridCellColourOf(g, column, row, fi, bi);
        fg = fi >= 0 ? static_cast<win::COLORREF>(fi) : sysColour(win::COLOR_WINDOWTEXT);
        bg = bi >= 0 ? static_cast<win::COLORREF>(bi)
                     : sysColour(g.readOnly() || locked ? win::COLOR_BTNFACE : win::COLOR_WINDOW);
    } else {
        fg = sysColour(win::COLOR_WINDOWTEXT);
        bg = sysColour(win::COLOR_BTNFACE);
    }
}

// A check box of 13 pixels at the cell's left, ticked when checked.
void drawCheckGlyph(win::HDC dc, const win::RECT& cell, bool checked, win::COLORREF fg,
                    win::COLORREF bg) {
    win::HBRUSH back = win::CreateSolidBrush(bg);
    win::FillRect(dc, &cell, back);
    win::DeleteObject(back);
    const int size = std::min<int>(13, cell.bottom - cell.top - 2);
    const int x = cell.left + 2, y = cell.top + (cell.bottom - cell.top - size) / 2;
    win::HPEN pen = win::CreatePen(win::PS_SOLID, 1, fg);
    win::HGDIOBJ old = win::SelectObject(dc, pen);
    win::HBRUSH box = win::CreateSolidBrush(sysColour(win::COLOR_WINDOW));
    win::HGDIOBJ oldBrush = win::SelectObject(dc, box);
    win::Rectangle(dc, x, y, x + size, y + size);
    if (checked) {
        for (int d = 0; d < 2; ++d) {
            win::MoveToEx(dc, x + 3, y + size / 2 + d - 1, nullptr);
            win::LineTo(dc, x + size / 2 - 1, y + size - 4 + d);
            win::LineTo(dc, x + size - 3, y + 2 + d);
        }
    }
    win::SelectObject(dc, oldBrush);
    win::SelectObject(dc, old);
    win::DeleteObject(box);
    win::DeleteObject(pen);
}

void drawCellText(win::HDC dc, const GridRecord& g, int column, const win::RECT& cell,
                  const std::string& text, win::COLORREF fg, win::COLORREF bg) {
    const GridColumnRecord& c = gridColumn(g, column);
    win::HBRUSH back = win::CreateSolidBrush(bg);
    win::FillRect(dc, &cell, back);
    win::DeleteObject(back);
    win::SetTextColor(dc, fg);
    int x = cell.left + 3;
    if (c.kind != KindMenu && c.settings.alignment != 0) {
        win::SIZE size{};
        win::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const int room = cell.right - cell.left - 6;
        x = cell.left + 3 + (c.settings.alignment == 2 ? room - size.cx : (room - size.cx) / 2);
    }
    win::ExtTextOutA(dc, x, cell.top + 2, win::ETO_CLIPPED, &cell, text.c_str(),
                     static_cast<win::UINT>(text.size()), nullptr);
}

void paintCells(GridRecord& g, win::HDC dc, const win::RECT& update) {
    const int rows = drawnRowCount(g), last = lastDrawnColumn(g);
    const int step = g.rowHeight - 1;
    int right = 0;
    for (int c = g.firstColumn; c <= last; ++c)
        right += gridColumn(g, c).width - 1;
    win::MoveToEx(dc, 0, 0, nullptr);
    win::LineTo(dc, 0, rows * step + 1);
    int x = 0;
    for (int c = g.firstColumn; c <= last; ++c) {
        x += gridColumn(g, c).width - 1;
        win::MoveToEx(dc, x, 0, nullptr);
        win::LineTo(dc, x, rows * step + 1);
    }
    for (int r = 0; r <= rows; ++r) {
        win::MoveToEx(dc, 0, r * step, nullptr);
        win::LineTo(dc, right + 1, r * step);
    }
    if (g.font) win::SelectObject(dc, g.font);
    win::SetBkMode(dc, win::TRANSPARENT);
    int x0 = 1;
    for (int c = g.firstColumn; c <= last; ++c) {
        const GridColumnRecord& col = gridColumn(g, c);
        const int x1 = x0 + col.width - 2;
        if (col.width > 1 && x1 >= update.left && x0 <= update.right) {
            for (int i = 0; i < rows; ++i) {
                const int r = g.firstRow + i, y0 = i * step + 1;
                const win::RECT cell{x0, y0, x1, y0 + g.rowHeight - 2};
                if (cell.bottom < update.top || cell.top > update.bottom) continue;
                win::COLORREF fg, bg;
                const bool selected = gridSelectionShown(g, c, r);
                cellColours(g, c, r, selected, fg, bg);
                if (col.kind == KindCheckBox)
                    drawCheckGlyph(dc, cell, col.integers[rowIndex(r)] == 1, fg, bg);
                else
                    drawCellText(dc, g, c, cell, GridCellText(g, c, r, 1), fg, bg);
            }
        }
        x0 += col.width - 1;
    }
}

void onPaint(win::HWND h, GridRecord* g) {
    win::PAINTSTRUCT ps{};
    win::HDC dc = win::BeginPaint(h, &ps);
    if (g && g->columnsDefined && g->columnCount > 0) paintCells(*g, dc, ps.rcPaint);
    win::EndPaint(h, &ps);
}

void onMousePress(GridRecord& g, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_RBUTTONDOWN && g.hasSelection()) return;
    const int px = static_cast<short>(win::LOWORD(static_cast<win::DWORD>(lp)));
    const int py = static_cast<short>(win::HIWORD(static_cast<win::DWORD>(lp)));
    int column = -1, row = -1;
    if (!GridCellAtPoint(g, px, py, column, row)) return;
    if (msg == win::WM_LBUTTONDOWN && (wp & win::MK_SHIFT)) {
        if (g.isCurrent(column, row))
            GridSelectionClear(g);
        else
            GridSetSelection(g, std::min(row, g.currentRow), std::max(row, g.currentRow),
                             std::min(column, g.currentColumn), std::max(column, g.currentColumn));
        return;
    }
    GridFocusState& f = gridFocusState();
    GridMoveCurrentCell(g, column, row, false, false);
    f.dragStartColumn = column;
    f.dragStartRow = row;
    if (column > g.lastColumn && column > g.firstColumn) {
        GridScrollTo(g, win::WM_HSCROLL,
                     std::min(g.firstColumn + (column - g.lastColumn), g.lastFirstColumn));
        f.dragStartColumn = column + 1;
    }
    if (row >= g.firstRow + g.visibleRows) {
        win::SendMessageA(g.window, win::WM_VSCROLL, win::SB_LINEDOWN, 0);
        f.dragStartRow = row + 1;
    }
    if (g.editor && g.editor->window()) {
        win::HWND e = g.editor->window();
        win::POINT p{px, py};
        win::MapWindowPoints(g.cellArea, e, &p, 1);
        f.focusByGrid = 1;
        win::SetFocus(e);
        win::SendMessageA(
            e, msg, wp, win::MAKELPARAM(static_cast<win::WORD>(p.x), static_cast<win::WORD>(p.y)));
        if (msg == win::WM_LBUTTONDOWN)
            win::SendMessageA(
                e, win::WM_LBUTTONUP, 0,
                win::MAKELPARAM(static_cast<win::WORD>(p.x), static_cast<win::WORD>(p.y)));
        f.focusByGrid = 0;
    }
}

void onEditorCommand(GridRecord& g, int code, win::HWND from) {
    switch (code) {
        case win::CBN_DROPDOWN:
            g.droppedCombo = from;
            return;
        case win::CBN_CLOSEUP:
            g.droppedCombo = nullptr;
            return;
        case win::EN_CHANGE: {
            // The grid filling its editor is no change by the user.
            if (g.editor && g.editor->filling()) return;
            g.changedFlagA = g.changedFlagB = 1;
            GridSelectionClear(g);
            // Typing is reported only when the grid's field asks for it.
            const FieldRecord* own = fieldRecordOf(g.window);
            if (!own || !own->reportTyping) return;
            [[fallthrough]];
        }
        case win::BN_CLICKED:
        case win::CBN_SELCHANGE: {
            g.changedFlagA = g.changedFlagB = 1;
            const GridColumnRecord& c = gridColumn(g, g.currentColumn);
            const bool locked = g.readOnly() || (c.flags[rowIndex(g.currentRow)] & CellLocked);
            if (locked) {
                if (code == win::CBN_SELCHANGE && g.editor)
                    g.editor->setSelection(c.integers[rowIndex(g.currentRow)]);
                return;
            }
            gridSendCellChange(g);
            GridSelectionClear(g);
            return;
        }
        default:
            return;
    }
}

win::LRESULT editorColours(GridRecord& g, win::HDC dc, win::HWND control, bool staticColours) {
    static win::HBRUSH brush = nullptr;
    if (!g.editor || control != g.editor->window()) return 0;
    if (brush) {
        win::DeleteObject(brush);
        brush = nullptr;
    }
    const bool highlight = gridFocusInside(g) && gridSelectionShown(g, g.currentColumn, g.currentRow);
    if (staticColours && !highlight && !((g.readOnly()) && (g.style & GRS_COLOURLOCKED))) return 0;
    if (highlight) {
        win::SetTextColor(dc, sysColour(win::COLOR_HIGHLIGHTTEXT));
        win::SetBkColor(dc, sysColour(win::COLOR_HIGHLIGHT));
        brush = win::CreateSolidBrush(sysColour(win::COLOR_HIGHLIGHT));
        return reinterpret_cast<win::LRESULT>(brush);
    }
    int fg = -1, bg = -1;
    gridEditorColours(g, fg, bg);
    if (fg < 0) fg = g.textColour;
    if (bg < 0) bg = g.backgroundColour;
    if (fg < 0 && bg < 0) return 0;
    win::SetTextColor(dc,
                      fg >= 0 ? static_cast<win::COLORREF>(fg) : sysColour(win::COLOR_WINDOWTEXT));
    const win::COLORREF back =
        bg >= 0 ? static_cast<win::COLORREF>(bg) : sysColour(win::COLOR_WINDOW);
    win::SetBkColor(dc, back);
    brush = win::CreateSolidBrush(back);
    return reinterpret_cast<win::LRESULT>(brush);
}

// An edit-type editor asks for the default button on Enter: the dialog's
// default button is pressed when it is enabled.
win::LRESULT pressDefaultButton(GridRecord& g) {
    win::HWND dialog = win::GetParent(g.window);
    const win::LRESULT answer = win::SendMessageA(dialog, win::DM_GETDEFID, 0, 0);
    const auto bits = static_cast<win::DWORD>(answer);
    if (win::HIWORD(bits) == win::DC_HASDEFID) {
        win::HWND button = win::GetDlgItem(dialog, win::LOWORD(bits));
        if (button && win::IsWindowEnabled(button))
            win::SendMessageA(dialog, win::WM_COMMAND,
                              win::MAKEWPARAM(win::LOWORD(bits), win::BN_CLICKED),
                              reinterpret_cast<win::LPARAM>(button));
    }
    return answer;
}

bool isTextTarget(win::HWND h, const GridRecord& g) {
    char name[32] = {};
    win::GetClassNameA(h, name, sizeof name);
    std::string_view n(name);
    return h != g.cellArea && n != "Button" && n != "BUTTON" && n != "ComboBox" && n != "COMBOBOX";
}

void showContextMenu(GridRecord& g, win::HWND target, win::LPARAM lp) {
    g.menuTarget = target;
    const bool text = isTextTarget(target, g);
    const int shape = GridClipboardShape();
    const bool readOnly =
        g.readOnly() || (win::GetWindowLongA(target, win::GWL_STYLE) & win::ES_READONLY);
    win::DWORD start = 0, end = 0;
    if (text)
        win::SendMessageA(target, win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                          reinterpret_cast<win::LPARAM>(&end));
    const bool textSelected = text && start != end;
    const bool block = g.hasSelection();
    auto flag = [](bool enabled) {
        return enabled ? win::MF_STRING : win::MF_STRING | win::MF_GRAYED;
    };
    win::HMENU menu = win::CreatePopupMenu();
    win::AppendMenuA(
        menu, flag(text && !block && win::SendMessageA(target, win::EM_CANUNDO, 0, 0) && !readOnly),
        32221, "&Undo");
    win::AppendMenuA(menu, win::MF_SEPARATOR, 0, nullptr);
    const bool cut = block ? GridSelectionEditable(g) : textSelected && !readOnly;
    win::AppendMenuA(menu, flag(cut), block ? 32122 : 32222, "Cu&t");
    win::AppendMenuA(menu, flag(block || textSelected), block ? 32123 : 32223, "&Copy");
    if (shape == 2)
        win::AppendMenuA(menu, flag(GridPasteTargetEditable(g)), 32124, "&Paste");
    else
        win::AppendMenuA(menu, flag(shape == 1 && text && !readOnly), 32224, "&Paste");
    win::AppendMenuA(menu, flag(cut), block ? 32125 : 32225, "&Delete");
    win::AppendMenuA(menu, win::MF_SEPARATOR, 0, nullptr);
    const int length = text ? static_cast<int>(win::GetWindowTextLengthA(target)) : 0;
    const bool all = start == 0 && static_cast<int>(end) >= length;
    win::AppendMenuA(menu, flag(!block && text && length > 0 && !all), 32226, "Select &All");
    win::TrackPopupMenu(menu, win::TPM_LEFTALIGN | win::TPM_RIGHTBUTTON,
                        static_cast<short>(win::LOWORD(static_cast<win::DWORD>(lp))),
                        static_cast<short>(win::HIWORD(static_cast<win::DWORD>(lp))), 0, g.window,
                        nullptr);
    win::DestroyMenu(menu);
}

win::LRESULT clientProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    GridRecord* g = gridOfCellArea(h);
    if (!g)
        return msg == win::WM_PAINT ? (onPaint(h, nullptr), 0)
                                    : win::DefWindowProcA(h, msg, wp, lp);
    switch (msg) {
        case win::WM_PAINT:
            onPaint(h, g);
            return 0;
        case win::WM_SIZE:
            gridCellAreaResized(*g);
            return 0;
        case win::WM_LBUTTONDOWN:
        case win::WM_RBUTTONDOWN:
            onMousePress(*g, msg, wp, lp);
            return 0;
        case win::WM_CONTEXTMENU:
            showContextMenu(*g, reinterpret_cast<win::HWND>(wp), lp);
            return 0;
        case win::WM_COMMAND:
            onEditorCommand(*g, win::HIWORD(static_cast<win::DWORD>(wp)),
                            reinterpret_cast<win::HWND>(lp));
            return 0;
        case win::WM_VSCROLL:
            if (win::LOWORD(static_cast<win::DWORD>(wp)) != win::SB_ENDSCROLL) {
                g->changedFlagA = g->changedFlagB = 1;
                gridSendCellChange(*g);
                GridSelectionClear(*g);
            }
            return 0;
        case win::WM_CTLCOLOREDIT:
        case win::WM_CTLCOLORBTN:
            return editorColours(*g, reinterpret_cast<win::HDC>(wp),
                                 reinterpret_cast<win::HWND>(lp), false);
        case win::WM_CTLCOLORSTATIC:
            return editorColours(*g, reinterpret_cast<win::HDC>(wp),
                                 reinterpret_cast<win::HWND>(lp), true);
        case win::WM_NCHITTEST:
            return g->displayOnly ? win::HTTRANSPARENT : win::DefWindowProcA(h, msg, wp, lp);
        case win::DM_GETDEFID:
            return pressDefaultButton(*g);
        case win::WM_CLOSE:
        case win::WM_NEXTDLGCTL:
        case win::WM_NOTIFY:
            return win::SendMessageA(win::GetParent(g->window), msg, wp, lp);
        default:
            return win::DefWindowProcA(h, msg, wp, lp);
    }
}

std::map<win::HWND, win::WNDPROC>& headerProcs() {
    static std::map<win::HWND, win::WNDPROC> procs;
    return procs;
}

win::LRESULT headerProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    auto it = headerProcs().find(h);
    if (it == headerProcs().end()) return win::DefWindowProcA(h, msg, wp, lp);
    const win::WNDPROC previous = it->second;
    GridRecord* g = gridRecordOfWindow(win::GetParent(h));
    if (msg == win::WM_NCDESTROY) headerProcs().erase(h);
    if (g && msg == win::WM_SETCURSOR && !(g->style & GRS_RESIZECOLUMNS)) {
        win::SetCursor(win::LoadCursorA(nullptr, win::IDC_ARROW));
        return 1;
    }
    if (g && msg == win::WM_NCHITTEST && g->displayOnly) return win::HTTRANSPARENT;
    return win::CallWindowProcA(previous, h, msg, wp, lp);
}

}  // namespace

win::LRESULT GridClientProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    return clientProcedure(h, msg, wp, lp);
}

void gridHeaderSubclass(win::HWND header) {
    headerProcs()[header] = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        header, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(headerProcedure)));
}

bool GridCellAtPoint(const GridRecord& g, int px, int py, int& column, int& row) {
    const int last = lastDrawnColumn(g), rows = drawnRowCount(g);
    int x0 = 1;
    for (int c = g.firstColumn; c <= last; ++c) {
        const int width = gridColumn(g, c).width;
        if (x0 + width - 2 >= px) {
            for (int i = 0; i < rows; ++i) {
                const int y0 = i * (g.rowHeight - 1) + 1;
                if (y0 + g.rowHeight - 2 >= py) {
                    column = c;
                    row = g.firstRow + i;
                    return px >= 0 && py >= 0;
                }
            }
            return false;
        }
        x0 += width - 1;
    }
    return false;
}

void gridRepaintSelection(GridRecord& g) {
    if (!g.cellArea) return;
    win::RECT client{}, rc{};
    win::GetClientRect(g.cellArea, &client);
    if (GridSelectionRect(g, client.bottom, rc)) win::InvalidateRect(g.cellArea, &rc, 0);
    if (g.editor && g.editor->window()) win::InvalidateRect(g.editor->window(), nullptr, 1);
}

bool gridFillsToolkitWindow(const GridRecord& g) {
    if (!g.window) return false;
    char name[32] = {};
    win::GetClassNameA(win::GetParent(g.window), name, sizeof name);
    return std::string_view(name) == "VIRADERIZA";
}

void GridContextCommand(GridRecord& g, int id) {
    switch (id) {
        case 32122:
            if (GridCopySelection(g)) GridClearSelection(g);
            break;
        case 32123:
            GridCopySelection(g);
            break;
        case 32124:
            GridPasteClipboard(g);
            break;
        case 32125:
            GridClearSelection(g);
            break;
        case 32221:
            win::SendMessageA(g.menuTarget, win::WM_UNDO, 0, 0);
            break;
        case 32222:
            win::SendMessageA(g.menuTarget, win::WM_CUT, 0, 0);
            break;
        case 32223:
            win::SendMessageA(g.menuTarget, win::WM_COPY, 0, 0);
            break;
        case 32224:
            win::SendMessageA(g.menuTarget, win::WM_PASTE, 0, 0);
            break;
        case 32225:
            win::SendMessageA(g.menuTarget, win::WM_CLEAR, 0, 0);
            break;
        case 32226:
            win::SendMessageA(g.menuTarget, win::EM_SETSEL, 0, -1);
            win::SendMessageA(g.menuTarget, win::EM_SCROLLCARET, 0, 0);
            break;
        default:
            break;
    }
}

}  // namespace tk
