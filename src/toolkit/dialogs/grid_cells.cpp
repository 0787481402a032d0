// Putting, reading and clearing cells.

#include <algorithm>
#include <cmath>

#include "toolkit/core/text_args.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

// The grid and the cell's column when the indices are in range (rows up to
// rowLimit), else null with field := -1 or -2.
GridRecord* cellOf(int& field, int column, int row, int rowLimit = -1) {
    GridRecord* g = gridFind(field);
    if (!g) return nullptr;
    int rows = rowLimit < 0 ? g->rowCount : rowLimit;
    if (column < 0 || column >= g->columnCount || row < 0 || row >= rows) {
        field = kBadIndex;
        return nullptr;
    }
    return g;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

void changed(GridRecord& g) {
    g.changedFlagA = 1;
    g.changedFlagB = 1;
}

void clearEditor(GridCellEditor& e, int kind, bool menuFirstOption) {
    if (kind == KindCheckBox) {
        e.setCheckState(0);
    } else if (kind == KindMenu) {
        if (menuFirstOption) e.setSelection(0);
    } else {
        e.setText("");
        e.setModified(false);
        e.setValue(0.0);
        e.setValueSet(0);
    }
}

}  // namespace

int& GridRedrawEnabled() {
    static int enabled = 1;
    return enabled;
}

void GridRedrawOff() {
    GridRedrawEnabled() = 0;
}

void GridRedrawOn(int field) {
    GridRedrawEnabled() = 1;
    if (GridRecord* g = gridOfField(field)) GridRepaintCellArea(*g);
}

void GridCellPut(int& field, int column, int row, double value, std::string_view text,
                 std::string_view format) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind > KindDouble) {
        field = kBadIndex;
        return;
    }
    const bool nonBlank = !isBlankText(text);
    GridSelectionClear(*g);
    double number = value;
    int readOk = 0;
    if (value == 0.0 && c.kind != KindText) {
        TextToDoubleChecked(number, readOk, text);
        if (!readOk) number = 0.0;
    }
    if (GridCellEditor* e = g->editorAt(column, row)) {
        e->setText(text);
        e->setValue(number);
        e->setValueSet(nonBlank ? 1 : 0);
        e->setModified(false);
    }
    std::string_view fmt = trimRight(format);
    if (!fmt.empty() && !sameNoCase(c.settings.format, fmt)) {
        c.settings.format = std::string(fmt);
        if (c.kind == KindReal || c.kind == KindDouble) GridRepaintColumn(*g, column);
    }
    const std::size_t r = rowIndex(row);
    switch (c.kind) {
        case KindText:
            c.texts[r] = std::string(text.substr(0, static_cast<std::size_t>(c.textLength)));
            break;
        case KindInteger:
            c.integers[r] = TruncateToInteger(number);
            break;
        case KindReal:
            c.reals[r] = static_cast<float>(number);
            break;
        default:
            c.doubles[r] = number;
            break;
    }
    std::uint8_t& f = c.flags[r];
    f = static_cast<std::uint8_t>(text.empty() ? f & ~CellHasValue : f | CellHasValue);
    f = static_cast<std::uint8_t>(nonBlank ? f | CellEntered : f & ~CellEntered);
    changed(*g);
    GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridCheckBoxPut(int& field, int column, int row, int state) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind != KindCheckBox) {
        field = kBadIndex;
        return;
    }
    GridSelectionClear(*g);
    c.integers[rowIndex(row)] = state;
    changed(*g);
    if (GridCellEditor* e = g->editorAt(column, row))
        e->setCheckState(state);
    else
        GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridOptionPut(int& field, int column, int row, int option) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind != KindMenu) {
        field = kBadIndex;
        return;
    }
    GridSelectionClear(*g);
    c.integers[rowIndex(row)] = option - 1 < 0 ? -1 : option - 1;
    changed(*g);
    if (GridCellEditor* e = g->editorAt(column, row))
        e->setSelection(c.integers[rowIndex(row)]);
    else
        GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridOptionPutByText(int& field, int column, int row, int& notFound, std::string_view text) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind != KindMenu) {
        field = kBadIndex;
        return;
    }
    const auto& options = c.settings.options;
    auto it = std::find_if(options.begin(), options.end(),
                           [&](const std::string& o) { return sameNoCase(o, text); });
    notFound = it == options.end() ? 1 : 0;
    int index = notFound ? 0 : static_cast<int>(it - options.begin());
    c.integers[rowIndex(row)] = index;
    if (GridCellEditor* e = g->editorAt(column, row))
        e->setSelection(index);
    else
        GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridMenuAddOption(int& field, int column, int row, std::string_view text) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount || gridColumn(*g, column).kind != KindMenu) {
        field = kNotAGrid;
        return;
    }
    gridColumn(*g, column).settings.options.emplace_back(text);
    if (GridCellEditor* e = g->editorAt(column, row)) e->addOption(text);
}

void GridMenuClearOptions(int& field, int column, int row) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    if (column < 0 || column >= g->columnCount || gridColumn(*g, column).kind != KindMenu) {
        field = kNotAGrid;
        return;
    }
    gridColumn(*g, column).settings.options.clear();
    if (GridCellEditor* e = g->editorAt(column, row)) e->clearOptions();
}

std::string GridMenuOptionText(int field, int column, int option) {
    GridRecord* g = gridOfField(field);
    if (!g || column < 0 || column >= g->columnCount) return {};
    const auto& options = gridColumn(*g, column).settings.options;
    return option >= 1 && option <= static_cast<int>(options.size()) ? options[rowIndex(option - 1)]
                                                                     : std::string();
}

void GridClearCellInternal(int& field, int column, int row, int mode) {
    GridRecord* g = gridFind(field);
    if (!g) return;
    int bound = mode == 0 ? g->rowCount : g->rowCapacity;
    if (column < 0 || column >= g->columnCount || row < 0 || row >= bound) {
        field = kBadIndex;
        return;
    }
    GridColumnRecord& c = gridColumn(*g, column);
    if (c.kind == KindMenu && mode != 2) {
        field = kBadIndex;
        return;
    }
    GridSelectionClear(*g);
    if (GridCellEditor* e = g->editorAt(column, row)) clearEditor(*e, c.kind, mode == 2);
    const std::size_t r = rowIndex(row);
    switch (c.kind) {
        case KindText:
            c.texts[r].clear();
            break;
        case KindReal:
            c.reals[r] = 0.0f;
            break;
        case KindDouble:
            c.doubles[r] = 0.0;
            break;
        default:
            c.integers[r] = 0;
            break;
    }
    if (c.kind != KindMenu) c.flags[r] = static_cast<std::uint8_t>(c.flags[r] & CellLocked);
    GridInvalidateCell(*g, column, row, GridRedrawEnabled() != 0);
}

void GridClearAll(GridRecord& g, bool withOptions) {
    GridSelectionClear(g);
    if (g.editor) {
        const GridColumnRecord& c = gridColumn(g, g.currentColumn);
        if (c.kind == KindMenu && withOptions)
            g.editor->clearOptions();
        else
            clearEditor(*g.editor, c.kind, true);
    }
    for (GridColumnRecord& c : g.columns) {
        if (withOptions && c.kind == KindMenu) c.settings.options.clear();
        for (auto& t : c.texts)
            t.clear();
        std::fill(c.integers.begin(), c.integers.end(), 0);
        std::fill(c.reals.begin(), c.reals.end(), 0.0f);
        std::fill(c.doubles.begin(), c.doubles.end(), 0.0);
        for (auto& f : c.flags)
            f = static_cast<std::uint8_t>(f & CellLocked);
    }
    GridRepaintCellArea(g);
}

void GridCellTextGet(int& field, int column, int row, std::string& text) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    if (gridColumn(*g, column).kind > KindDouble) {
        field = kBadIndex;
        return;
    }
    text = GridCellText(*g, column, row, 1);
}

void GridCellNumberGet(int& field, int column, int row, double& value) {
    GridRecord* g = cellOf(field, column, row);
    if (!g) return;
    const GridColumnRecord& c = gridColumn(*g, column);
    const std::size_t r = rowIndex(row);
    GridCellEditor* e = g->editorAt(column, row);
    if (c.kind > KindDouble) {
        field = kBadIndex;
    } else if (c.kind == KindText) {
        std::string t = e ? e->text() : c.texts[r];
        if (isBlankText(t))
            field = kNoValue;
        else
            TextToDoubleQuiet(value, t);
    } else if (e) {
        std::string t = e->text().substr(0, 255);
        if (isBlankText(t))
            field = kNoValue;
        else if (e->modified())
            TextToDoubleQuiet(value, t);
        else
            value = e->value();
    } else if (!(c.flags[r] & CellHasValue)) {
        field = kNoValue;
    } else {
        value = c.kind == KindInteger ? c.integers[r]
                : c.kind == KindReal  ? c.reals[r]
                                      : c.doubles[r];
    }
}

void GridCheckBoxGet(int& field, int column, int row, int& state) {
    GridRecord* g = cellOf(field, column, row);
    if (!g || gridColumn(*g, column).kind != KindCheckBox) return;
    GridCellEditor* e = g->editorAt(column, row);
    state = e ? e->checkState() : gridColumn(*g, column).integers[rowIndex(row)];
}

void GridOptionGet(int& field, int column, int row, int& option) {
    GridRecord* g = cellOf(field, column, row);
    if (!g || gridColumn(*g, column).kind != KindMenu) return;
    GridCellEditor* e = g->editorAt(column, row);
    int index = e ? e->selection() : gridColumn(*g, column).integers[rowIndex(row)];
    option = index < 0 ? 0 : index + 1;
}

std::string GridColumnFormatGet(int field, int column) {
    GridRecord* g = gridOfField(field);
    if (!g || column < 0 || column >= g->columnCount) return std::string(kDefaultRealFormat);
    return gridColumnFormat(gridColumn(*g, column));
}

}  // namespace tk
