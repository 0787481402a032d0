#include "toolkit/dialogs/grid_clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/message_box.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/text_args.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

// The clipboard's text, when it has some.
bool clipboardText(std::string& text, win::HWND owner) {
    if (!win::OpenClipboard(owner)) return false;
    win::HANDLE data = win::GetClipboardData(win::CF_TEXT);
    bool ok = false;
    if (data) {
        const char* p = static_cast<const char*>(win::GlobalLock(data));
        if (p) {
            text.assign(p, strnlen(p, win::GlobalSize(data)));
            win::GlobalUnlock(data);
            ok = true;
        }
    }
    win::CloseClipboard();
    return ok;
}

bool blockLocked(const GridRecord& g, int c0, int r0, int c1, int r1) {
    if (g.readOnly()) return true;
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r)
            if (gridColumn(g, c).flags[rowIndex(r)] & CellLocked) return true;
    return false;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The first option that begins with the piece, case-insensitively; -1 none.
int optionStartingWith(const GridColumnRecord& c, std::string_view piece) {
    for (std::size_t i = 0; i < c.settings.options.size(); ++i) {
        const std::string& o = c.settings.options[i];
        if (o.size() >= piece.size() &&
            sameNoCase(std::string_view(o).substr(0, piece.size()), piece))
            return static_cast<int>(i);
    }
    return -1;
}

void notifyChange(GridRecord& g, int firstRef, int lastRef) {
    if (g.style & GRS_CHANGEEVENTS) GridWriteFieldChanged(g, 1, firstRef, lastRef);
    g.changedFlagA = g.changedFlagB = 1;
}

// A pasted piece as a number: false when it is not one or lies out of range.
bool pieceNumber(GridRecord& g, int column, std::string& piece, double& value) {
    const GridColumnRecord& c = gridColumn(g, column);
    if (c.kind == KindInteger || c.kind == KindReal)
        std::replace_if(
            piece.begin(), piece.end(), [](char ch) { return ch == 'D' || ch == 'd'; }, 'E');
    if (c.kind == KindInteger) {
        if (piece.find_first_of("Ee") != std::string::npos) return false;
        piece = piece.substr(0, piece.find('.'));
    }
    if (isBlankText(piece)) {
        value = 0.0;
        return true;
    }
    int ok = 0;
    TextToDoubleChecked(value, ok, piece);
    if (!ok) return false;
    const GridColumnSettings& s = c.settings;
    return !(s.minimum <= s.maximum && (value < s.minimum || value > s.maximum));
}

void pasteCell(GridRecord& g, int column, int row, std::string piece) {
    GridColumnRecord& c = gridColumn(g, column);
    const std::size_t r = rowIndex(row);
    GridCellEditor* e = g.editorAt(column, row);
    switch (c.kind) {
        case KindText:
            piece = piece.substr(0, static_cast<std::size_t>(c.textLength));
            c.texts[r] = piece;
            if (e) {
                e->setText(piece);
                e->setModified(false);
            }
            break;
        case KindCheckBox:
            c.integers[r] = sameNoCase(piece, "Yes") ? 1 : 0;
            if (e) e->setCheckState(c.integers[r]);
            break;
        case KindMenu: {
            int index = optionStartingWith(c, piece);
            if (index >= 0) {
                c.integers[r] = index;
                if (e) e->setSelection(index);
            }
            break;
        }
        default: {
            double v = 0.0;
            if (!pieceNumber(g, column, piece, v)) break;
            const bool blank = isBlankText(piece);
            if (c.kind == KindInteger)
                c.integers[r] = TruncateToInteger(v);
            else if (c.kind == KindReal)
                c.reals[r] = static_cast<float>(v);
            else
                c.doubles[r] = v;
            if (blank)
                c.flags[r] = static_cast<std::uint8_t>(c.flags[r] & ~CellHasValue);
            else
                c.flags[r] |= CellHasValue | CellEntered;
            if (e) {
                e->setText(blank ? std::string() : gridFormatNumber(c, v));
                if (!blank) e->setValueSet(1);
                e->setValue(v);
                e->setModified(false);
            }
            break;
        }
    }
    GridInvalidateCell(g, column, row, false);
}

}  // namespace

int gridClipboardShapeOf(const char* text) {
    if (!text) return 0;
    std::string_view t(text);
    return t.find('\t') != std::string_view::npos || t.find("\r\n") != std::string_view::npos ? 2
                                                                                              : 1;
}

int GridClipboardShape() {
    std::string text;
    if (!clipboardText(text, nullptr)) return 0;
    return gridClipboardShapeOf(text.c_str());
}

void GridClipboardSize(int& rows, int& columns) {
    rows = columns = 1;
    std::string text;
    if (!clipboardText(text, nullptr)) return;
    int cells = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') {
            columns = std::max(columns, ++cells);
        } else if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            cells = 1;
            if (i + 1 < text.size()) ++rows;
        }
    }
}

bool GridSelectionEditable(const GridRecord& g) {
    if (!g.hasSelection()) return !g.readOnly();
    return !blockLocked(g, g.selFirstColumn, g.selFirstRow, g.selLastColumn, g.selLastRow);
}

bool GridPasteTargetEditable(const GridRecord& g) {
    int rows = 1, columns = 1;
    GridClipboardSize(rows, columns);
    const int c1 = std::min(g.currentColumn + columns, g.columnCount) - 1;
    const int r1 = std::min(g.currentRow + rows, g.rowCount) - 1;
    return !blockLocked(g, g.currentColumn, g.currentRow, c1, r1);
}

bool GridCopySelection(GridRecord& g) {
    std::string text;
    for (int r = g.selFirstRow; r <= g.selLastRow && g.hasSelection(); ++r) {
        for (int c = g.selFirstColumn; c <= g.selLastColumn; ++c) {
            text += GridCellText(g, c, r, 0);
            text += c == g.selLastColumn ? "\r\n" : "\t";
        }
    }
    bool ok = false;
    if (win::OpenClipboard(g.window)) {
        win::EmptyClipboard();
        win::HGLOBAL block =
            win::GlobalAlloc(win::GMEM_MOVEABLE | win::GMEM_DDESHARE, text.size() + 1);
        if (void* p = block ? win::GlobalLock(block) : nullptr) {
            std::memcpy(p, text.c_str(), text.size() + 1);
            win::GlobalUnlock(block);
            ok = win::SetClipboardData(win::CF_TEXT, block) != nullptr;
        }
        win::CloseClipboard();
    }
    if (!ok)
        win::MessageBoxA(g.window,
                         "Either the clipboard is in use by another application or there is\r"
                         "insufficient memory available for the amount of data being copied",
                         "Unable to Copy Data to Clipboard", win::MB_TASKMODAL | win::MB_ICONERROR);
    return ok;
}

void GridPasteClipboard(GridRecord& g) {
    std::string text;
    if (!clipboardText(text, g.window)) return;
    const int c0 = g.currentColumn, r0 = g.currentRow;
    int lastColumn = c0, lastRow = r0;
    GridSelectionClear(g);
    int column = c0, row = r0;
    std::size_t pos = 0;
    while (pos < text.size() && !(column >= g.columnCount && row >= g.rowCount)) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\t' &&
               !(text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'))
            ++end;
        std::string piece = text.substr(pos, std::min<std::size_t>(end - pos, 32767));
        if (row < g.rowCount && column < g.columnCount) {
            pasteCell(g, column, row, piece);
            lastColumn = std::max(lastColumn, column);
            lastRow = std::max(lastRow, row);
        }
        if (end >= text.size()) break;
        if (text[end] == '\t') {
            ++column;
            pos = end + 1;
        } else {
            column = c0;
            ++row;
            pos = end + 2;
        }
    }
    if (GridRedrawEnabled() && g.cellArea) win::UpdateWindow(g.cellArea);
    notifyChange(g, GridCellRef(c0 + 1, r0 + 1), GridCellRef(lastColumn + 1, lastRow + 1));
}

void GridClearSelection(GridRecord& g) {
    if (!g.hasSelection()) return;
    const int c0 = g.selFirstColumn, c1 = g.selLastColumn, r0 = g.selFirstRow, r1 = g.selLastRow;
    for (int c = c0; c <= c1; ++c) {
        GridColumnRecord& col = gridColumn(g, c);
        for (int r = r0; r <= r1; ++r) {
            const std::size_t i = rowIndex(r);
            switch (col.kind) {
                case KindText:
                    col.texts[i].clear();
                    break;
                case KindReal:
                    col.reals[i] = 0.0f;
                    break;
                case KindDouble:
                    col.doubles[i] = 0.0;
                    break;
                default:
                    col.integers[i] = 0;
                    break;
            }
            col.flags[i] = static_cast<std::uint8_t>(col.flags[i] & ~CellHasValue);
        }
    }
    GridSelectionClear(g);
    if (g.editor && g.currentColumn >= c0 && g.currentColumn <= c1 && g.currentRow >= r0 &&
        g.currentRow <= r1) {
        const int kind = gridColumn(g, g.currentColumn).kind;
        if (kind == KindCheckBox)
            g.editor->setCheckState(0);
        else if (kind == KindMenu)
            g.editor->setSelection(0);
        else {
            g.editor->setText("");
            g.editor->setValue(0.0);
        }
    }
    GridRepaintCellArea(g);
    notifyChange(g, GridCellRef(c0 + 1, r0 + 1), GridCellRef(c1 + 1, r1 + 1));
}

}  // namespace tk
