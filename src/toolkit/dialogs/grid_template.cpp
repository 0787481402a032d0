// Defining a grid from its [Grids] line: the column template dialog (never
// shown) gives one column per control, the control's class its kind; an
// optional block of lines gives the row-label width and the labels.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_settings.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_template.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

bool isNumericClass(std::string_view name) {
    static constexpr std::string_view names[] = {"INTEGEREDIT", "INTEGERSPIN", "REALEDIT",
                                                 "REALSPIN",    "DOUBLEEDIT",  "DOUBLESPIN"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string classOf(win::HWND h) {
    char name[18] = {};
    win::GetClassNameA(h, name, sizeof name);
    return name;
}

std::string textOf(win::HWND h) {
    char text[256] = {};
    win::GetWindowTextA(h, text, sizeof text);
    return text;
}

// The kind of a column by its template control's class; other classes make
// text columns.
int kindOf(const std::string& cls, win::LONG_PTR style) {
    const std::string u = upper(cls);
    if (u == "INTEGEREDIT" || u == "INTEGERSPIN") return KindInteger;
    if (u == "REALEDIT" || u == "REALSPIN") return KindReal;
    if (u == "DOUBLEEDIT" || u == "DOUBLESPIN") return KindDouble;
    if (u == "BUTTON" && (style & 0xF) == win::BS_AUTOCHECKBOX) return KindCheckBox;
    if (u == "COMBOBOX") return KindMenu;
    return KindText;
}

std::string comboItem(win::HWND h, int index) {
    const auto n = win::SendMessageA(h, win::CB_GETLBTEXTLEN, static_cast<win::WPARAM>(index), 0);
    if (n < 0) return {};
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    win::SendMessageA(h, win::CB_GETLBTEXT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

GridColumnSpec specOf(win::HWND control, int gridWidth) {
    GridColumnSpec s;
    const win::LONG_PTR style = win::GetWindowLongA(control, win::GWL_STYLE);
    s.settings.className = classOf(control);
    s.kind = kindOf(s.settings.className, style);
    win::RECT r{};
    win::GetWindowRect(control, &r);
    const FieldRecord* rec = fieldRecordOf(control);
    if (rec && rec->buddy) {
        win::RECT b{};
        win::GetWindowRect(rec->buddy, &b);
        r.right = std::max(r.right, b.right);
        s.settings.hasSpinBuddy = true;
    }
    s.width = std::min<int>(r.right - r.left, gridWidth);
    if (rec) {
        s.settings.minimum = rec->minimum;
        s.settings.maximum = rec->maximum;
        s.settings.smallStep = rec->smallStep;
        s.settings.largeStep = rec->largeStep;
        s.settings.spinBase = rec->spinBase;
        s.settings.maxLength = rec->maximumLength;
        s.settings.format = rec->formatText;
        s.settings.textColour = rec->textColour;
        s.settings.backgroundColour = rec->backgroundColour;
    }
    if (s.kind <= KindDouble) {
        s.settings.readOnly = (style & win::ES_READONLY) != 0;
        s.settings.alignment = (style & win::ES_RIGHT) ? 2 : (style & win::ES_CENTER) ? 1 : 0;
    }
    if (s.kind == KindMenu) {
        const int count = static_cast<int>(win::SendMessageA(control, win::CB_GETCOUNT, 0, 0));
        s.settings.label = count > 0 ? comboItem(control, 0) : std::string();
        for (int i = 1; i < count; ++i)
            s.settings.options.push_back(comboItem(control, i));
        s.settings.selectedOption =
            static_cast<int>(win::SendMessageA(control, win::CB_GETCURSEL, 0, 0));
    } else {
        s.settings.label = textOf(control);
    }
    return s;
}

// The template's controls in order; a spin field's buddy is skipped. With a
// position list, column k takes the positions[k]-th control.
std::vector<win::HWND> templateControls(win::HWND dialog, const std::vector<int>& positions) {
    std::vector<win::HWND> all;
    for (win::HWND h = win::GetWindow(dialog, win::GW_CHILD); h;
         h = win::GetWindow(h, win::GW_HWNDNEXT)) {
        all.push_back(h);
        const FieldRecord* rec = fieldRecordOf(h);
        if (rec && rec->buddy) {
            win::HWND next = win::GetWindow(h, win::GW_HWNDNEXT);
            if (next == rec->buddy) h = next;
        }
    }
    if (positions.empty()) return all;
    std::vector<win::HWND> chosen;
    for (int p : positions)
        if (p >= 1 && p <= static_cast<int>(all.size()))
            chosen.push_back(all[static_cast<std::size_t>(p - 1)]);
    return chosen;
}

win::INT_PTR templateProcedure(win::HWND dialog, win::UINT msg, win::WPARAM, win::LPARAM lp) {
    if (msg == win::WM_INITDIALOG) {
        for (win::HWND h = win::GetWindow(dialog, win::GW_CHILD); h;
             h = win::GetWindow(h, win::GW_HWNDNEXT))
            if (!isNumericClass(upper(classOf(h))) && !fieldRecordOf(h)) FieldRecordCreate(h);
        DialogApplySettings(dialog, static_cast<int>(lp), -1);
    } else if (msg == win::WM_DESTROY) {
        for (win::HWND h = win::GetWindow(dialog, win::GW_CHILD); h;
             h = win::GetWindow(h, win::GW_HWNDNEXT))
            if (!isNumericClass(upper(classOf(h)))) FieldRecordFree(h);
    }
    return 0;
}

int number(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = pos < text.size() && text[pos] == '-';
    if (negative) ++pos;
    int v = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        v = v * 10 + (text[pos] - '0');
        if (v > 100000000) v = 100000000;
        ++pos;
    }
    while (pos < text.size() && text[pos] != ' ' && text[pos] != '\n' && text[pos] != '\r')
        ++pos;
    return negative ? -v : v;
}

// The row-label block after the [Grids] line: the width in dialog units and
// one label per row. Answers the width in pixels and fills the labels.
int readRowLabels(GridRecord& g, std::string_view text, std::size_t& pos,
                  std::vector<std::string>& labels, int rows) {
    while (pos < text.size() && text[pos] != '\n')
        ++pos;
    while (pos < text.size() && (text[pos] == '\n' || text[pos] == '\r' || text[pos] == ' '))
        ++pos;
    const int units = number(text, pos);
    win::RECT r{0, 0, units, 0};
    DialogUnitsToPixels(g.window, r);
    while (pos < text.size() && text[pos] != '\n')
        ++pos;
    if (pos < text.size()) ++pos;
    labels.assign(static_cast<std::size_t>(rows), std::string());
    if (g.style & GRS_NOROWLABELTEXT) return r.right;
    for (int i = 0; i < rows && pos < text.size(); ++i) {
        std::string label;
        while (pos < text.size() && text[pos] != '\n') {
            if (text[pos] != '\r' && label.size() < 50) label += text[pos];
            ++pos;
        }
        if (pos < text.size()) ++pos;
        while (!label.empty() && label.back() == ' ')
            label.pop_back();
        labels[static_cast<std::size_t>(i)] = label;
    }
    return r.right;
}

// A grid defined again: the storage follows the line's rows.
void resizeStorage(GridRecord& g, int rows) {
    for (GridColumnRecord& c : g.columns) {
        const auto n = static_cast<std::size_t>(rows);
        if (c.kind == KindText)
            c.texts.resize(n);
        else if (c.kind == KindReal)
            c.reals.resize(n, 0.0f);
        else if (c.kind == KindDouble)
            c.doubles.resize(n, 0.0);
        else
            c.integers.resize(n, 0);
        c.flags.resize(n, 0);
        if (!c.colours.empty()) c.colours.resize(n);
    }
    if (!g.rowLabels.empty()) g.rowLabels.resize(static_cast<std::size_t>(rows));
}

}  // namespace

void DialogUnitsToPixels(win::HWND window, win::RECT& r) {
    win::HDC dc = win::GetDC(window);
    auto font = reinterpret_cast<win::HGDIOBJ>(win::SendMessageA(window, win::WM_GETFONT, 0, 0));
    win::HGDIOBJ old = font ? win::SelectObject(dc, font) : nullptr;
    win::TEXTMETRICA tm{};
    win::GetTextMetricsA(dc, &tm);
    if (old) win::SelectObject(dc, old);
    win::ReleaseDC(window, dc);
    r.left = r.left * tm.tmAveCharWidth / 4;
    r.right = r.right * tm.tmAveCharWidth / 4;
    r.top = r.top * tm.tmHeight / 8;
    r.bottom = r.bottom * tm.tmHeight / 8;
}

win::INT_PTR GridTemplateProcedure(win::HWND dialog, win::UINT msg, win::WPARAM wp,
                                   win::LPARAM lp) {
    return templateProcedure(dialog, msg, wp, lp);
}

bool GridDefineColumnsFromDialog(win::HWND grid, win::HWND templateDialog,
                                 const std::vector<int>& positions, int rows, int rowLabelWidth) {
    GridRecord* g = gridRecordOfWindow(grid);
    if (!g || !templateDialog) return false;
    win::RECT client{};
    win::GetClientRect(grid, &client);
    std::vector<GridColumnSpec> specs;
    for (win::HWND h : templateControls(templateDialog, positions))
        specs.push_back(specOf(h, client.right));
    GridDefineColumnsInWindow(grid, specs, rows, rowLabelWidth);
    for (int c = 0; c < g->columnCount; ++c) {
        const GridColumnSettings& s = gridColumn(*g, c).settings;
        if (s.selectedOption >= 0 && gridColumn(*g, c).kind == KindMenu)
            for (auto& v : gridColumn(*g, c).integers)
                v = s.selectedOption;
    }
    return true;
}

int GridDefineFromTemplate(win::HWND grid, std::string_view text) {
    GridRecord* g = gridRecordOfWindow(grid);
    if (!g) return 0;
    std::size_t pos = 0;
    const int columns = number(text, pos);
    const int rows = std::max(number(text, pos), 1);
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    const std::size_t templateStart = pos;
    const int templateId = number(text, pos);
    if (g->columnsDefined) {
        // Defined before: only the row counts follow the line; the storage is
        // resized with them so that no cell lies outside it.
        GridCloseCellEditor(*g, true);
        resizeStorage(*g, rows);
        g->rowCount = g->rowCapacity = rows;
        g->definedColumnCount = columns;
        g->currentRow = std::min(g->currentRow, rows - 1);
        g->firstRow = std::min(g->firstRow, rows - 1);
        g->rowLabelCount = g->drawnRows = std::min(rows, g->visibleRows + 1);
        GridCreateCellEditor(*g);
        GridRepaintCellArea(*g);
        return static_cast<int>(templateStart);
    }
    win::HWND dialog =
        win::CreateDialogParamA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(templateId)),
                                nullptr, GridTemplateProcedure, templateId);
    std::vector<std::string> labels;
    int labelWidth = 0;
    if (g->style & GRS_ROWLABELS) labelWidth = readRowLabels(*g, text, pos, labels, rows);
    // The line's column count takes that many template controls in order;
    // the template may hold more.
    std::vector<int> positions;
    for (int k = 1; k <= columns; ++k)
        positions.push_back(k);
    const bool ok =
        columns > 0 && GridDefineColumnsFromDialog(grid, dialog, positions, rows, labelWidth);
    if (dialog) win::DestroyWindow(dialog);
    if (!ok || g->columnCount == 0) {
        win::DestroyWindow(grid);
        return static_cast<int>(pos);
    }
    g->definedColumnCount = columns;
    g->templateDialogId = templateId;
    for (std::size_t i = 0; i < labels.size() && i < g->rowLabels.size(); ++i)
        g->rowLabels[i] = labels[i];
    GridRowLabelsRefresh(*g);
    return static_cast<int>(pos);
}

void GridCopyState(win::HWND target, win::HWND source) {
    GridRecord* t = gridRecordOfWindow(target);
    GridRecord* s = gridRecordOfWindow(source);
    if (!t || !s || t == s) return;
    if (s->editor) GridStoreEditorValue(*s);
    if (!t->columnsDefined) {
        std::vector<GridColumnSpec> specs;
        for (const GridColumnRecord& c : s->columns)
            specs.push_back(GridColumnSpec{c.kind, c.width, c.settings});
        GridDefineColumnsInWindow(target, specs, s->rowCapacity, s->rowLabelWidth);
        t->templateDialogId = s->templateDialogId;
        t->definedColumnCount = s->definedColumnCount;
    }
    GridCloseCellEditor(*t, false);
    t->columns = s->columns;
    for (GridColumnRecord& c : t->columns)
        c.control = nullptr;
    t->rowCount = s->rowCount;
    t->headerLabels = s->headerLabels;
    t->rowLabels = s->rowLabels;
    t->currentColumn = s->currentColumn;
    t->currentRow = s->currentRow;
    t->firstColumn = s->firstColumn;
    t->firstRow = std::min(s->firstRow, std::max(t->rowCount - t->visibleRows, 0));
    t->changedFlagA = s->changedFlagA;
    t->changedFlagB = s->changedFlagB;
    gridHeaderItemsRefresh(*t);
    GridRowLabelsRefresh(*t);
    gridUpdateScrollInfo(*t);
    GridCreateCellEditor(*t);
    GridRepaintCellArea(*t);
}

}  // namespace tk

namespace tk {

void GridRedefineColumns(int& field, int columns, const std::vector<int>& positions) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    GridSelectionClear(*g);
    const bool focusInside = gridFocusInside(*g);
    GridCloseCellEditor(*g, true);
    g->currentColumn = g->currentRow = 0;
    g->firstColumn = g->firstRow = 0;
    gridUpdateLastCellRef(*g);
    if (g->header)
        while (win::SendMessageA(g->header, win::HDM_DELETEITEM, 0, 0))
            ;
    for (win::HWND h : g->rowLabelControls)
        win::DestroyWindow(h);
    g->rowLabelControls.clear();
    const int rows = g->rowCount;
    win::HWND dialog =
        g->window ? win::CreateDialogParamA(
                        nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(g->templateDialogId)),
                        nullptr, GridTemplateProcedure, g->templateDialogId)
                  : nullptr;
    std::vector<int> chosen = positions;
    if (chosen.empty())
        for (int k = 1; k <= columns; ++k)
            chosen.push_back(k);
    chosen.resize(static_cast<std::size_t>(std::max(columns, 0)));
    const bool ok =
        GridDefineColumnsFromDialog(g->window, dialog, chosen, g->rowCapacity, g->rowLabelWidth);
    if (dialog) win::DestroyWindow(dialog);
    if (!ok) {
        field = kNotAGrid;
        return;
    }
    GridCloseCellEditor(*g, false);
    g->rowCount = rows;
    GridCreateCellEditor(*g);
    if (focusInside && win::IsWindowVisible(g->window)) gridTakeFocus(*g);
    if (field == 0) GridWindowFitSize(*g);
    GridRepaintCellArea(*g);
}

}  // namespace tk
