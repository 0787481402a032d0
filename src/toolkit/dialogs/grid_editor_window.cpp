// The editor as a real control over the current cell: an EDIT (or the
// column's numeric class when it is registered), an automatic check box or
// a drop-down list, subclassed so that movement, selection and clipboard
// keys act on the grid.

#include <algorithm>
#include <map>
#include <string>

#include "platform/controls/controls_api.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/grid_check_glyph.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_clipboard.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

struct EditorLink {
    GridRecord* grid;
    win::WNDPROC previous;
};

std::map<win::HWND, EditorLink>& editorLinks() {
    static std::map<win::HWND, EditorLink> links;
    return links;
}

win::LRESULT editorProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);

// The editor's settings, value and colours live in its field record (its
// user data), as in any dialog field: the numeric classes read their range,
// steps and format from it.
class WindowCellEditor : public GridCellEditor {
  public:
    WindowCellEditor(win::HWND h, int kind, const GridColumnSettings& settings)
        : h_(h), kind_(kind) {
        rec_ = fieldRecordOf(h);
        if (!rec_) rec_ = FieldRecordCreate(h);
        loadSettings(settings);
        rec_->textColour = settings.textColour;
        rec_->backgroundColour = settings.backgroundColour;
    }
    ~WindowCellEditor() override {
        auto it = editorLinks().find(h_);
        if (it != editorLinks().end()) {
            win::SetWindowLongPtrA(h_, win::GWLP_WNDPROC,
                                   reinterpret_cast<win::LONG_PTR>(it->second.previous));
            editorLinks().erase(it);
        }
        // A spin field's up-down control belongs to the editor and goes with it.
        const FieldRecord* rec = fieldRecordOf(h_);
        win::HWND buddy = rec ? rec->buddy : nullptr;
        FieldRecordFree(h_);
        if (owned_) {
            if (buddy) win::DestroyWindow(buddy);
            win::DestroyWindow(h_);
        }
    }
    std::string text() const override {
        int n = static_cast<int>(win::GetWindowTextLengthA(h_));
        std::string s(static_cast<std::size_t>(n) + 1, '\0');
        win::GetWindowTextA(h_, s.data(), n + 1);
        s.resize(static_cast<std::size_t>(std::max(n, 0)));
        return s.substr(0, s.find('\0'));
    }
    void setText(std::string_view text) override {
        std::string s(text);
        filling_ = true;
        win::SetWindowTextA(h_, s.c_str());
        filling_ = false;
    }
    bool filling() const override { return filling_; }
    bool modified() const override {
        return edit() && win::SendMessageA(h_, win::EM_GETMODIFY, 0, 0) != 0;
    }
    void setModified(bool m) override {
        if (edit()) win::SendMessageA(h_, win::EM_SETMODIFY, m ? 1 : 0, 0);
    }
    double value() const override { return rec_->value; }
    void setValue(double v) override { rec_->value = v; }
    // Typing into a plain edit decides whether it shows a value; the numeric
    // classes keep the word themselves.
    int valueSet() const override {
        if (edit() && modified() && !numericClass())
            return text().find_first_not_of(' ') != std::string::npos ? 1 : 0;
        return rec_->valueSet;
    }
    void setValueSet(int v) override { rec_->valueSet = v; }
    int checkState() const override {
        return static_cast<int>(win::SendMessageA(h_, win::BM_GETCHECK, 0, 0));
    }
    void setCheckState(int s) override {
        win::SendMessageA(h_, win::BM_SETCHECK, static_cast<win::WPARAM>(s), 0);
    }
    int selection() const override {
        return static_cast<int>(win::SendMessageA(h_, win::CB_GETCURSEL, 0, 0));
    }
    void setSelection(int i) override {
        win::SendMessageA(h_, win::CB_SETCURSEL, static_cast<win::WPARAM>(i), 0);
    }
    void clearOptions() override { win::SendMessageA(h_, win::CB_RESETCONTENT, 0, 0); }
    void addOption(std::string_view text) override {
        std::string s(text);
        win::SendMessageA(h_, win::CB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(s.c_str()));
    }
    void setColours(int fg, int bg) override {
        if (fg != -2) rec_->textColour = fg;
        if (bg != -2) rec_->backgroundColour = bg;
        win::InvalidateRect(h_, nullptr, 1);
    }
    void setReadOnly(bool readOnly, bool repaintNow) override {
        if (edit()) {
            win::SendMessageA(h_, win::EM_SETREADONLY, readOnly ? 1 : 0, 0);
            if (rec_->buddy) win::EnableWindow(rec_->buddy, readOnly ? 0 : 1);
        } else if (kind_ == KindCheckBox) {
            win::SendMessageA(h_, win::BM_SETSTYLE,
                              readOnly ? win::BS_CHECKBOX : win::BS_AUTOCHECKBOX, repaintNow);
        }
        if (repaintNow) win::UpdateWindow(h_);
    }
    win::HWND window() const override { return h_; }
    void windowGoesWithGrid() override { owned_ = false; }
    void settingsChanged(const GridColumnSettings& settings) override { loadSettings(settings); }

    int textColour() const { return rec_->textColour; }
    int backgroundColour() const { return rec_->backgroundColour; }

  private:
    void loadSettings(const GridColumnSettings& s) {
        rec_->minimum = s.minimum;
        rec_->maximum = s.maximum;
        rec_->smallStep = s.smallStep;
        rec_->largeStep = s.largeStep;
        rec_->spinBase = s.spinBase;
        rec_->maximumLength = s.maxLength;
        rec_->formatText = s.format;
    }
    bool edit() const { return kind_ <= KindDouble; }
    bool numericClass() const {
        char name[18] = {};
        win::GetClassNameA(h_, name, sizeof name);
        return std::string_view(name) != "Edit" && std::string_view(name) != "EDIT";
    }
    win::HWND h_;
    int kind_;
    FieldRecord* rec_ = nullptr;
    bool owned_ = true;
    bool filling_ = false;
};

const char* editorClass(const GridColumnRecord& c) {
    win::WNDCLASSA wc{};
    if (!c.settings.className.empty() &&
        win::GetClassInfoA(nullptr, c.settings.className.c_str(), &wc))
        return c.settings.className.c_str();
    switch (c.kind) {
        case KindCheckBox:
            return "BUTTON";
        case KindMenu:
            return "COMBOBOX";
        default:
            return "EDIT";
    }
}

win::DWORD editorStyle(const GridRecord& g, const GridColumnRecord& c) {
    win::DWORD style = win::WS_CHILD | win::WS_VISIBLE | win::WS_BORDER;
    switch (c.kind) {
        case KindCheckBox:
            return style | (g.readOnly() ? win::BS_CHECKBOX : win::BS_AUTOCHECKBOX);
        case KindMenu:
            return style | win::CBS_DROPDOWNLIST | win::WS_VSCROLL;
        default:
            style |= win::ES_AUTOHSCROLL | (c.settings.alignment == 2   ? win::ES_RIGHT
                                            : c.settings.alignment == 1 ? win::ES_CENTER
                                                                        : 0);
            return g.readOnly() ? style | win::ES_READONLY : style;
    }
}

bool shiftHeld() {
    return win::GetKeyState(win::VK_SHIFT) < 0;
}

bool ctrlHeld() {
    return win::GetKeyState(win::VK_CONTROL) < 0;
}

void moveTo(GridRecord& g, int column, int row, bool extend) {
    GridMoveCurrentCell(g, column, row, true, extend);
}

void scrollExtend(GridRecord& g, win::UINT message, int code, bool extend) {
    const int oldColumn = g.currentColumn, oldRow = g.currentRow;
    int anchorColumn = g.anchorColumn, anchorRow = g.anchorRow;
    win::SendMessageA(g.window, message, static_cast<win::WPARAM>(code), 0);
    if (!extend) return;
    if (anchorColumn < 0) {
        anchorColumn = oldColumn;
        anchorRow = oldRow;
    }
    if (anchorColumn == g.currentColumn && anchorRow == g.currentRow) {
        GridSelectionClear(g);
        return;
    }
    GridSetSelection(g, std::min(anchorRow, g.currentRow), std::max(anchorRow, g.currentRow),
                     std::min(anchorColumn, g.currentColumn),
                     std::max(anchorColumn, g.currentColumn));
    g.anchorColumn = anchorColumn;
    g.anchorRow = anchorRow;
}

bool caretAt(win::HWND h, bool end) {
    win::DWORD start = 0, stop = 0;
    win::SendMessageA(h, win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                      reinterpret_cast<win::LPARAM>(&stop));
    if (start != stop) return false;
    return end ? static_cast<int>(start) >= static_cast<int>(win::GetWindowTextLengthA(h))
               : start == 0;
}

// Keys that act on the grid; false lets the control handle the key.
bool onKeyDown(GridRecord& g, win::HWND h, int key) {
    const int kind = gridColumn(g, g.currentColumn).kind;
    const bool editType = kind <= KindDouble;
    const bool shift = shiftHeld(), ctrl = ctrlHeld();
    const bool dropped = g.droppedCombo == h;
    const int lastColumn = g.columnCount - 1, lastRow = g.rowCount - 1;
    switch (key) {
        case win::VK_TAB:
            if (g.style & GRS_TABCELLS) {
                if (!shift && g.currentColumn < lastColumn)
                    moveTo(g, g.currentColumn + 1, g.currentRow, false);
                else if (shift && g.currentColumn > 0)
                    moveTo(g, g.currentColumn - 1, g.currentRow, false);
                else if ((g.style & GRS_WRAP) && !shift && g.currentRow < lastRow)
                    moveTo(g, 0, g.currentRow + 1, false);
                else if ((g.style & GRS_WRAP) && shift && g.currentRow > 0)
                    moveTo(g, lastColumn, g.currentRow - 1, false);
                else
                    BeepIfEnabled();
                return true;
            }
            if (!editType) {
                win::SendMessageA(win::GetParent(g.window), win::WM_NEXTDLGCTL, shift ? 1 : 0, 0);
                return true;
            }
            return false;
        case win::VK_RETURN:
            if (!(g.style & GRS_ENTERDOWN)) return false;
            [[fallthrough]];
        case win::VK_DOWN:
            if (dropped) return false;
            if (g.currentRow < lastRow)
                moveTo(g, g.currentColumn, g.currentRow + 1, shift);
            else
                BeepIfEnabled();
            return true;
        case win::VK_UP:
            if (dropped) return false;
            if (g.currentRow > 0)
                moveTo(g, g.currentColumn, g.currentRow - 1, shift);
            else
                BeepIfEnabled();
            return true;
        case win::VK_PRIOR:
        case win::VK_NEXT:
            if (dropped) return false;
            if (ctrl)
                moveTo(g, g.currentColumn, key == win::VK_PRIOR ? 0 : lastRow, shift);
            else if (key == win::VK_PRIOR || g.visibleRows < g.rowCount)
                scrollExtend(g, win::WM_VSCROLL,
                             key == win::VK_PRIOR ? win::SB_PAGEUP : win::SB_PAGEDOWN, shift);
            return true;
        case win::VK_HOME:
        case win::VK_END:
            if (!ctrl) return false;
            moveTo(g, key == win::VK_HOME ? 0 : lastColumn, g.currentRow, shift);
            return true;
        case win::VK_LEFT:
            if (editType && !caretAt(h, false) && g.anchorColumn < 0) return false;
            if (ctrl)
                scrollExtend(g, win::WM_HSCROLL, win::SB_PAGELEFT, shift);
            else if (g.currentColumn > 0)
                moveTo(g, g.currentColumn - 1, g.currentRow, shift);
            else if ((g.style & GRS_WRAP) && g.currentRow > 0)
                moveTo(g, lastColumn, g.currentRow - 1, shift);
            else
                BeepIfEnabled();
            return true;
        case win::VK_RIGHT:
            if (editType && !caretAt(h, true)) return false;
            if (ctrl)
                scrollExtend(g, win::WM_HSCROLL, win::SB_PAGERIGHT, shift);
            else if (g.currentColumn < lastColumn)
                moveTo(g, g.currentColumn + 1, g.currentRow, shift);
            else if ((g.style & GRS_WRAP) && g.currentRow < lastRow)
                moveTo(g, 0, g.currentRow + 1, shift);
            else
                BeepIfEnabled();
            return true;
        case win::VK_ESCAPE:
            // The grid takes every key of its dialog, so a text cell too
            // passes Escape on as the dialog's Cancel; an open list closes.
            if (dropped || gridFillsToolkitWindow(g)) return false;
            win::PostMessageA(win::GetParent(g.window), win::WM_CLOSE, 0, 0);
            return true;
        case win::VK_INSERT:
            if (!shift || GridClipboardShape() != 2) return false;
            if (GridPasteTargetEditable(g)) GridPasteClipboard(g);
            return true;
        case win::VK_DELETE:
            if (!g.hasSelection()) return false;
            if (GridSelectionEditable(g) && (!shift || GridCopySelection(g))) GridClearSelection(g);
            return true;
        default:
            return false;
    }
}

bool onChar(GridRecord& g, win::HWND h, int ch) {
    const int kind = gridColumn(g, g.currentColumn).kind;
    switch (ch) {
        case 1:
            if (kind > KindDouble) return false;
            win::SendMessageA(h, win::EM_SETSEL, 0, -1);
            win::SendMessageA(h, win::EM_SCROLLCARET, 0, 0);
            return true;
        case 3:
            if (!g.hasSelection()) return false;
            GridCopySelection(g);
            return true;
        case 22:
            if (GridClipboardShape() != 2) return false;
            if (GridPasteTargetEditable(g)) GridPasteClipboard(g);
            return true;
        case 24:
            if (!g.hasSelection()) return false;
            if (GridSelectionEditable(g) && GridCopySelection(g)) GridClearSelection(g);
            return true;
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

void onMouseDrag(GridRecord& g, win::HWND h, win::LPARAM lp) {
    win::POINT p{static_cast<short>(win::LOWORD(static_cast<win::DWORD>(lp))),
                 static_cast<short>(win::HIWORD(static_cast<win::DWORD>(lp)))};
    win::MapWindowPoints(h, g.cellArea, &p, 1);
    int column = -1, row = -1;
    if (!GridCellAtPoint(g, p.x, p.y, column, row)) return;
    GridFocusState& f = gridFocusState();
    if (column == f.dragStartColumn && row == f.dragStartRow) return;
    f.dragStartColumn = f.dragStartRow = -1;
    if (g.isCurrent(column, row))
        GridSelectionClear(g);
    else
        GridSetSelection(g, std::min(row, g.currentRow), std::max(row, g.currentRow),
                         std::min(column, g.currentColumn), std::max(column, g.currentColumn));
}

void onFocusGained(GridRecord& g, win::HWND from) {
    GridFocusState& f = gridFocusState();
    const bool inside =
        from && (from == g.window || from == g.cellArea || win::IsChild(g.cellArea, from));
    if (inside) {
        f.focusFromOutside = 0;
        if (f.focusReturned == 1)
            gridRepaintSelection(g);
        else
            f.focusReturned = 1;
    } else {
        f.focusFromOutside = 1;
    }
    if (!f.focusByGrid || f.focusFromOutside) gridSendCellChange(g);
}

void onFocusLost(GridRecord& g, win::HWND to) {
    GridFocusState& f = gridFocusState();
    if (to && (to == g.window || to == win::GetParent(g.window)) &&
        (to == g.window || gridFillsToolkitWindow(g))) {
        f.focusReturned = 0;
    } else {
        f.focusReturned = 1;
        gridRepaintSelection(g);
    }
}

// A check box over a current cell inside the selected block of a focused
// grid shows the selection's colour in place of the button face.
bool checkEditorHighlighted(const GridRecord& g) {
    return gridColumn(g, g.currentColumn).kind == KindCheckBox &&
           gridSelectionShown(g, g.currentColumn, g.currentRow);
}

win::LRESULT editorProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    auto it = editorLinks().find(h);
    if (it == editorLinks().end()) return win::DefWindowProcA(h, msg, wp, lp);
    GridRecord& g = *it->second.grid;
    const win::WNDPROC previous = it->second.previous;
    switch (msg) {
        case win::WM_KEYDOWN:
            if (onKeyDown(g, h, static_cast<int>(wp))) return 0;
            break;
        case win::WM_CHAR:
            if (onChar(g, h, static_cast<int>(wp))) return 0;
            break;
        case win::WM_GETDLGCODE: {
            win::LRESULT code = win::CallWindowProcA(previous, h, msg, wp, lp);
            if (g.style & GRS_ENTERDOWN) return code | win::DLGC_WANTALLKEYS;
            code |= win::DLGC_WANTARROWS | win::DLGC_WANTCHARS;
            return (g.style & GRS_TABCELLS) ? code | win::DLGC_WANTTAB : code;
        }
        case win::WM_MOUSEMOVE:
            if (wp & win::MK_LBUTTON) onMouseDrag(g, h, lp);
            break;
        case win::WM_CONTEXTMENU:
            if (!g.hasSelection()) {
                win::SetFocus(h);
                return win::SendMessageA(g.cellArea, msg, wp, lp);
            }
            break;
        case win::WM_NCHITTEST:
            if (g.displayOnly) return win::HTTRANSPARENT;
            break;
        case win::WM_SETFOCUS: {
            win::LRESULT r = win::CallWindowProcA(previous, h, msg, wp, lp);
            onFocusGained(g, reinterpret_cast<win::HWND>(wp));
            return r;
        }
        case win::WM_KILLFOCUS: {
            win::LRESULT r = win::CallWindowProcA(previous, h, msg, wp, lp);
            onFocusLost(g, reinterpret_cast<win::HWND>(wp));
            return r;
        }
        case win::WM_SETTEXT: {
            win::LRESULT r = win::CallWindowProcA(previous, h, msg, wp, lp);
            win::UpdateWindow(h);
            return r;
        }
        case win::WM_PAINT: {
            win::LRESULT r = win::CallWindowProcA(previous, h, msg, wp, lp);
            if (checkEditorHighlighted(g)) gridHighlightCheckEditor(h);
            return r;
        }
        default:
            break;
    }
    return win::CallWindowProcA(previous, h, msg, wp, lp);
}

}  // namespace

bool gridEditorValueAcceptable(GridRecord& g) {
    auto& refuses = dialogPartHooks().numericFieldRefuses;
    if (!g.editor || !g.editor->window() || !refuses) return true;
    // Leaving the cell is forced: an unreadable number is refused even though
    // the focus stays in the editor, and the refusal beeps.
    return !refuses(g.editor->window(), g.cellArea, 1);
}

int gridEditorColours(const GridRecord& g, int& textColour, int& backgroundColour) {
    const auto* e = dynamic_cast<const WindowCellEditor*>(g.editor.get());
    textColour = e ? e->textColour() : -1;
    backgroundColour = e ? e->backgroundColour() : -1;
    return e ? 1 : 0;
}

void GridCreateCellEditor(GridRecord& g) {
    if (!g.cellArea || g.columnCount == 0 || g.rowCount == 0 || !g.enabled || g.editor) return;
    const GridColumnRecord& c = gridColumn(g, g.currentColumn);
    int x = 0;
    for (int k = g.firstColumn; k < g.currentColumn; ++k)
        x += gridColumn(g, k).width - 1;
    for (int k = g.currentColumn; k < g.firstColumn; ++k)
        x -= gridColumn(g, k).width - 1;
    const int y = (g.currentRow - g.firstRow) * (g.rowHeight - 1);
    const int height = c.kind == KindMenu ? g.rowHeight * 8 : g.rowHeight;
    win::HWND h = win::CreateWindowExA(0, editorClass(c), "", editorStyle(g, c), x, y, c.width,
                                       height, g.cellArea, nullptr, nullptr, nullptr);
    if (!h) return;
    auto editor = std::make_unique<WindowCellEditor>(h, c.kind, c.settings);
    if (g.font) win::SendMessageA(h, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(g.font), 0);
    if (c.kind <= KindDouble)
        win::SendMessageA(h, win::EM_LIMITTEXT,
                          static_cast<win::WPARAM>(c.kind == KindInteger ? 11 : c.textLength), 0);
    g.editor = std::move(editor);
    GridLoadEditorValue(g);
    auto previous = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        h, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(editorProcedure)));
    editorLinks()[h] = EditorLink{&g, previous};
    win::UpdateWindow(h);
}

}  // namespace tk
