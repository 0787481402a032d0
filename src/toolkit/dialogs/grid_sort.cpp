// A quicksort over the grid's own storage: keys are read from the cells at
// every comparison and rows are exchanged one pair at a time, so the editor
// over the current cell stays consistent with its row.

#include "toolkit/dialogs/grid_sort.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <string>

#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

// The sort's parameters for the duration of one sort.
struct SortState {
    int field = 0;
    int column = 0;  // 0-based
    int type = 0;
    bool descending = false;
    bool ignoreCase = false;
    bool moveLabels = false;
};

SortState& sortState() {
    static SortState state;
    return state;
}

struct SortKey {
    std::string text;
    std::int32_t integer = 0;
    float real = 0.0f;
    double number = 0.0;
};

SortKey GridSortKeyFetch(int row) {
    const SortState& s = sortState();
    SortKey k;
    int f = s.field;
    double v = 0.0;
    switch (s.type) {
        case CellText:
            GridCellTextGet(f, s.column, row, k.text);
            k.text = k.text.substr(0, k.text.find('\0'));
            if (k.text.empty())
                k.text = s.descending ? " " : "\xFF";
            else if (s.ignoreCase)
                for (char& c : k.text)
                    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            break;
        case CellCheckBox:
            GridCheckBoxGet(f, s.column, row, k.integer);
            break;
        case CellMenu:
            GridOptionGet(f, s.column, row, k.integer);
            break;
        default:
            GridCellNumberGet(f, s.column, row, v);
            if (f == kNoValue) {
                k.integer = s.descending ? -INT_MAX : INT_MAX;
                k.real = s.descending ? -FLT_MAX : FLT_MAX;
                k.number = s.descending ? -DBL_MAX : DBL_MAX;
            } else {
                k.integer = TruncateToInteger(v);
                k.real = static_cast<float>(v);
                k.number = v;
            }
            break;
    }
    return k;
}

// Negative, zero or positive as a sorts before, with or after b ascending.
int compareKeys(const SortKey& a, const SortKey& b) {
    switch (sortState().type) {
        case CellText: {
            std::size_t n = std::max(a.text.size(), b.text.size());
            for (std::size_t i = 0; i < n; ++i) {
                auto ca = static_cast<unsigned char>(i < a.text.size() ? a.text[i] : ' ');
                auto cb = static_cast<unsigned char>(i < b.text.size() ? b.text[i] : ' ');
                if (ca != cb) return ca < cb ? -1 : 1;
            }
            return 0;
        }
        case CellReal:
            return a.real < b.real ? -1 : a.real > b.real ? 1 : 0;
        case CellDouble:
            return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
        default:
            return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
    }
}

// Ordered distance: positive when a belongs after b in the sort's direction.
int ordered(const SortKey& a, const SortKey& b) {
    int c = compareKeys(a, b);
    return sortState().descending ? -c : c;
}

void swapRows(int a, int b) {
    GridSwapRows(sortState().field, a - 1, b - 1, sortState().moveLabels);
}

void exchangeSort(int lo, int hi) {
    for (int i = lo; i < hi; ++i) {
        SortKey ki = GridSortKeyFetch(i - 1);
        for (int j = i + 1; j <= hi; ++j) {
            SortKey kj = GridSortKeyFetch(j - 1);
            if (ordered(ki, kj) > 0) {
                swapRows(i, j);
                ki = GridSortKeyFetch(i - 1);
            }
        }
    }
}

// Rows from 1. The smaller part recurses, the larger one loops, so the depth
// stays logarithmic even for an ordered column.
void GridSortRange(int lo, int hi) {
    while (hi > lo) {
        if (hi < lo + 6) {
            exchangeSort(lo, hi);
            return;
        }
        const SortKey pivot = GridSortKeyFetch(lo - 1);
        int i = lo - 1, j = hi + 1;
        for (;;) {
            do
                ++i;
            while (ordered(GridSortKeyFetch(i - 1), pivot) < 0);
            do
                --j;
            while (ordered(GridSortKeyFetch(j - 1), pivot) > 0);
            if (i >= j) break;
            if (compareKeys(GridSortKeyFetch(i - 1), GridSortKeyFetch(j - 1)) != 0) swapRows(i, j);
        }
        const int next = i == j ? i + 1 : i;
        if (j - lo < hi - next) {
            if (lo < j) GridSortRange(lo, j);
            lo = next;
        } else {
            if (next < hi) GridSortRange(next, hi);
            hi = j;
        }
    }
}

double editorNumber(const GridCellEditor& e, int kind) {
    if (!e.modified()) return kind == KindInteger ? TruncateToInteger(e.value()) : e.value();
    std::string t = e.text();
    if (kind == KindInteger) {
        int v = 0;
        TextToIntegerQuiet(v, t.substr(0, 11));
        return v;
    }
    if (kind == KindReal) {
        float v = 0.0f;
        TextToRealQuiet(v, t.substr(0, 254));
        return v;
    }
    double v = 0.0;
    TextToDoubleQuiet(v, t.substr(0, 254));
    return v;
}

double storedNumber(const GridColumnRecord& c, std::size_t r) {
    return c.kind == KindInteger ? c.integers[r] : c.kind == KindReal ? c.reals[r] : c.doubles[r];
}

void storeNumber(GridColumnRecord& c, std::size_t r, double v) {
    if (c.kind == KindInteger)
        c.integers[r] = TruncateToInteger(v);
    else if (c.kind == KindReal)
        c.reals[r] = static_cast<float>(v);
    else
        c.doubles[r] = v;
}

void swapNumbers(GridRecord& g, int column, int a, int b) {
    GridColumnRecord& c = gridColumn(g, column);
    const std::size_t ra = rowIndex(a), rb = rowIndex(b);
    double va = storedNumber(c, ra), vb = storedNumber(c, rb);
    std::uint8_t fa = c.flags[ra], fb = c.flags[rb];
    auto fromEditor = [&](int row, double& v, std::uint8_t& f) {
        if (GridCellEditor* e = g.editorAt(column, row)) {
            v = editorNumber(*e, c.kind);
            f = static_cast<std::uint8_t>((f & CellLocked) |
                                          (e->valueSet() ? CellHasValue | CellEntered : 0));
        }
    };
    fromEditor(a, va, fa);
    fromEditor(b, vb, fb);
    storeNumber(c, ra, vb);
    storeNumber(c, rb, va);
    c.flags[ra] = fb;
    c.flags[rb] = fa;
    for (int row : {a, b}) {
        if (GridCellEditor* e = g.editorAt(column, row)) {
            const std::size_t r = rowIndex(row);
            const bool shown = (c.flags[r] & CellEntered) != 0;
            double v = storedNumber(c, r);
            e->setText(shown ? gridFormatNumber(c, v) : std::string());
            e->setValue(v);
            e->setValueSet(shown ? 1 : 0);
        }
    }
}

void swapColumn(GridRecord& g, int column, int a, int b) {
    GridColumnRecord& c = gridColumn(g, column);
    const std::size_t ra = rowIndex(a), rb = rowIndex(b);
    GridCellEditor* ea = g.editorAt(column, a);
    GridCellEditor* eb = g.editorAt(column, b);
    GridCellEditor* e = ea ? ea : eb;
    switch (c.kind) {
        case KindText: {
            std::string ta = ea ? ea->text() : c.texts[ra];
            std::string tb = eb ? eb->text() : c.texts[rb];
            c.texts[ra] = tb.substr(0, static_cast<std::size_t>(c.textLength));
            c.texts[rb] = ta.substr(0, static_cast<std::size_t>(c.textLength));
            if (e) e->setText(ea ? c.texts[ra] : c.texts[rb]);
            break;
        }
        case KindCheckBox:
        case KindMenu: {
            auto get = [&](GridCellEditor* ed, std::size_t r) {
                return ed ? (c.kind == KindCheckBox ? ed->checkState() : ed->selection())
                          : c.integers[r];
            };
            int va = get(ea, ra), vb = get(eb, rb);
            c.integers[ra] = vb;
            c.integers[rb] = va;
            if (e) {
                int v = ea ? vb : va;
                if (c.kind == KindCheckBox)
                    e->setCheckState(v);
                else
                    e->setSelection(v);
            }
            break;
        }
        default:
            swapNumbers(g, column, a, b);
            break;
    }
    GridInvalidateCell(g, column, a, false);
    GridInvalidateCell(g, column, b, false);
}

}  // namespace

void GridSwapRows(int field, int a, int b, bool swapLabels) {
    GridRecord* g = gridOfField(field);
    if (!g || a < 0 || b < 0 || a >= g->rowCapacity || b >= g->rowCapacity || a == b) return;
    GridSelectionClear(*g);
    if (swapLabels && g->hasRowLabels() && !g->rowLabels.empty()) {
        std::swap(g->rowLabels[rowIndex(a)], g->rowLabels[rowIndex(b)]);
        GridRowLabelsRefresh(*g);
    }
    for (int c = 0; c < g->columnCount; ++c)
        swapColumn(*g, c, a, b);
    if (GridRedrawEnabled() && g->cellArea) win::UpdateWindow(g->cellArea);
    g->changedFlagA = g->changedFlagB = 1;
}

void GrdSort(int field, int column, std::optional<int> flags, std::optional<int> startRow,
             std::optional<int> endRow) {
    static constexpr std::string_view name = "GrdSort";
    if (toolkitState().CurrentDialogNumber == 0) {
        ReportLibraryError(1005, name);
        return;
    }
    int f = field;
    int rows = 0, columns = 0;
    GridInfoQuery(f, 3, rows);
    if (f < 0) {
        ReportLibraryError(1006, name);
        return;
    }
    GridInfoQuery(f, 1, columns);
    if (column < 1 || column > columns) {
        ReportLibraryError(1017, name);
        return;
    }
    SortState& s = sortState();
    s.field = field;
    s.column = column - 1;
    GridColumnType(f, column - 1, s.type);
    const int bits = flags.value_or(0);
    s.descending = (bits & 1) != 0;
    s.ignoreCase = (bits & 2) != 0;
    s.moveLabels = (bits & 4) != 0;
    // Rows outside the rows in use are not sorted.
    const int lo = std::max(startRow.value_or(1), 1);
    const int hi = std::min(endRow.value_or(rows), rows);
    GridRedrawOff();
    GridSortRange(lo, hi);
    GridRedrawOn(field);
}

}  // namespace tk
