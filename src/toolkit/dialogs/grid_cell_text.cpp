// The text forms of cells: what the grid paints, copies and writes to files.

#include <array>
#include <cmath>

#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

std::string upToNul(const char* s, std::size_t capacity) {
    std::size_t n = 0;
    while (n < capacity && s[n] != '\0')
        ++n;
    std::string out(s, n);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

}  // namespace

std::string gridColumnFormat(const GridColumnRecord& column) {
    if ((column.kind == KindReal || column.kind == KindDouble) && !column.settings.format.empty())
        return column.settings.format;
    return std::string(kDefaultRealFormat);
}

std::string gridFormatNumber(const GridColumnRecord& column, double value) {
    std::array<char, 51> buffer{};
    switch (column.kind) {
        case KindInteger: {
            std::array<char, 12> b{};
            yyint2st(TruncateToInteger(value), b);
            return upToNul(b.data(), b.size());
        }
        case KindReal:
            yyrea2st(static_cast<float>(value), buffer, gridColumnFormat(column));
            break;
        default:
            yydbl2st(value, buffer, gridColumnFormat(column));
            break;
    }
    return upToNul(buffer.data(), buffer.size());
}

std::string GridCellText(const GridRecord& g, int column, int row, int mode) {
    const GridColumnRecord& c = gridColumn(g, column);
    const std::size_t r = rowIndex(row);
    if (GridCellEditor* e = g.editorAt(column, row)) {
        switch (c.kind) {
            case KindText:
                return e->text().substr(0, static_cast<std::size_t>(c.textLength));
            case KindInteger:
                return e->text().substr(0, 11);
            case KindReal:
            case KindDouble:
                return e->text().substr(0, 50);
            case KindCheckBox:
                return mode == 0 ? (e->checkState() ? "Yes" : "No")
                                 : std::string(1, e->checkState() ? '\xFC' : '\xFB');
            default: {
                int s = e->selection();
                return s >= 0 && s < static_cast<int>(c.settings.options.size())
                           ? c.settings.options[rowIndex(s)]
                           : std::string();
            }
        }
    }
    switch (c.kind) {
        case KindText:
            return c.texts[r];
        case KindInteger:
            return (c.flags[r] & CellHasValue) ? gridFormatNumber(c, c.integers[r]) : std::string();
        case KindReal:
            return (c.flags[r] & CellHasValue) ? gridFormatNumber(c, c.reals[r]) : std::string();
        case KindDouble:
            return (c.flags[r] & CellHasValue) ? gridFormatNumber(c, c.doubles[r]) : std::string();
        case KindCheckBox:
            return mode == 0 ? (c.integers[r] ? "Yes" : "No")
                             : std::string(1, c.integers[r] ? '\xFC' : '\xFB');
        default: {
            int s = c.integers[r];
            return s >= 0 && s < static_cast<int>(c.settings.options.size())
                       ? c.settings.options[rowIndex(s)]
                       : std::string();
        }
    }
}

}  // namespace tk
