#include "toolkit/dialogs/grid_public.h"

#include <algorithm>
#include <array>
#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/core/string_conversion.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

enum GridError {
    kNoDialog = 1005,
    kInvalidField = 1006,
    kOutOfRangeValue = 1009,
    kUndefinedValue = 1010,
    kBadCell = 1017,
    kTooManyRows = 1018
};

bool noDialog(int field) {
    return field != 0 && toolkitState().CurrentDialogNumber == 0;
}

// Reports a failed internal operation: -1 not a grid, -2 bad index or kind.
bool failed(int result, std::string_view name) {
    if (result == kNotAGrid)
        ReportLibraryError(kInvalidField, name);
    else if (result == kBadIndex)
        ReportLibraryError(kBadCell, name);
    else
        return false;
    return true;
}

int info(int field, int item, int fallback) {
    int value = fallback;
    GridInfoQuery(field, item, value);
    return field < 0 ? fallback : value;
}

enum class NumberEntry { Integer, Real, Double };

std::string displayText(double value, NumberEntry entry, std::string_view format) {
    std::array<char, 100> buffer{};
    switch (entry) {
        case NumberEntry::Integer:
            IntegerToString(static_cast<int>(value), buffer, "(I100)");
            break;
        case NumberEntry::Real:
            RealToStr(static_cast<float>(value), buffer, format);
            break;
        case NumberEntry::Double:
            DoubleToStr(value, buffer, format);
            break;
    }
    JustifyString(buffer, "L");
    return std::string(trimRight(std::string_view(buffer.data(), buffer.size())));
}

void putNumber(int field, int column, int row, double value, NumberEntry entry,
               std::string_view format, std::string_view name) {
    std::string fmt;
    if (entry != NumberEntry::Integer) {
        std::string_view given = format.substr(0, std::min<std::size_t>(format.find('\0'), 50));
        fmt = isBlankText(given) ? GridColumnFormatGet(field, column - 1)
                                 : std::string(trimRight(given));
    }
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    int first = 0;
    GridInfoQuery(f, 9, first);
    if (failed(f, name)) return;
    int shown = 0;
    GridInfoQuery(f, 101, shown);
    int type = 0;
    GridColumnType(f, column - 1, type);
    std::string text;
    if ((row >= first && row < first + shown) || (f >= 0 && type == CellText))
        text = displayText(value, entry, fmt);
    else
        text = entry == NumberEntry::Integer ? "0" : "0.0";
    f = field;
    GridValueRangeCheck(f, column - 1, value);
    if (f == kNoValue) {
        ReportLibraryError(kOutOfRangeValue, name);
        return;
    }
    if (failed(f, name)) return;
    f = field;
    GridCellPut(f, column - 1, row - 1, value, text, fmt);
}

template <typename PutOne, typename T>
void putColumn(int field, int column, std::span<const T> values, int n, int limitItem,
               std::string_view name, PutOne putOne, bool clearRest) {
    int limit = info(field, limitItem, -1);
    if (limit < 0) limit = n;
    int m = n;
    if (n > limit) {
        ReportLibraryError(kTooManyRows, name);
        m = limit;
    }
    m = std::clamp(m, 0, static_cast<int>(values.size()));
    GridRedrawOff();
    for (int i = 1; i <= m; ++i)
        putOne(i, values[static_cast<std::size_t>(i - 1)]);
    for (int i = m + 1; i <= limit; ++i) {
        if (clearRest) {
            int f = field;
            GridClearCellInternal(f, column - 1, i - 1, 1);
        } else {
            GrdPutCellOption(field, column, i, 0);
        }
    }
    GridRedrawOn(field);
}

template <typename T, typename Get>
void getColumn(int field, std::span<T> values, int& n, Get getOne) {
    int rows = info(field, 3, n);
    n = std::min({n, rows, static_cast<int>(values.size())});
    for (int i = 1; i <= n; ++i)
        getOne(i, values[static_cast<std::size_t>(i - 1)]);
}

enum class Read { Value, Empty, Failed };

// The number of a cell as a double; failures are reported.
Read numberOf(int field, int column, int row, double& value, std::string_view name) {
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return Read::Failed;
    }
    int f = field;
    GridCellNumberGet(f, column - 1, row - 1, value);
    if (f == kNoValue) {
        ReportLibraryError(kUndefinedValue, name);
        return Read::Empty;
    }
    return failed(f, name) ? Read::Failed : Read::Value;
}

}  // namespace

void GrdRows(int field, int rows) {
    static constexpr std::string_view name = "GrdRows";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    int capacity = 0;
    GridInfoQuery(f, 2, capacity);
    if (failed(f, name)) return;
    if (rows > capacity) {
        GridRowsSet(f, capacity);
        ReportLibraryError(kTooManyRows, name);
    } else if (rows <= 0) {
        ReportLibraryError(kTooManyRows, name);
    } else {
        GridRowsSet(f, rows);
    }
}

void GrdLabelColumn(int field, int column, std::string_view label) {
    static constexpr std::string_view name = "GrdLabelColumn";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    int columns = 0;
    GridInfoQuery(f, 1, columns);
    if (failed(f, name)) return;
    if (column < 0 || column > columns) {
        ReportLibraryError(kBadCell, name);
        return;
    }
    GridColumnLabelSet(field, column, trimRight(label));
}

void GrdSetCell(int field, int column, int row, std::optional<int> caretPosition) {
    static constexpr std::string_view name = "GrdSetCell";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridSetCurrentCell(f, column - 1, row - 1, caretPosition ? *caretPosition - 1 : -1);
    failed(f, name);
}

void GrdClearCell(int field, int column, int row) {
    static constexpr std::string_view name = "GrdClearCell";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridClearCellInternal(f, column - 1, row - 1, 0);
    failed(f, name);
}

void GrdPutCellInteger(int field, int column, int row, int value) {
    putNumber(field, column, row, value, NumberEntry::Integer, {}, "GrdPutCellInteger");
}

void GrdPutCellReal(int field, int column, int row, float value, std::string_view format) {
    putNumber(field, column, row, value, NumberEntry::Real, format, "GrdPutCellReal");
}

void GrdPutCellDouble(int field, int column, int row, double value, std::string_view format) {
    putNumber(field, column, row, value, NumberEntry::Double, format, "GrdPutCellDouble");
}

void GrdPutCellCheckBox(int field, int column, int row, int state) {
    static constexpr std::string_view name = "GrdPutCellCheckBox";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridCheckBoxPut(f, column - 1, row - 1, state);
    failed(f, name);
}

void GrdPutCellOption(int field, int column, int row, int option) {
    static constexpr std::string_view name = "GrdPutCellOption";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridOptionPut(f, column - 1, row - 1, option);
    failed(f, name);
}

void GrdGetCellString(int field, int column, int row, TextOut text) {
    static constexpr std::string_view name = "GrdGetCellString";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    std::string cell;
    GridCellTextGet(f, column - 1, row - 1, cell);
    if (failed(f, name)) return;
    std::size_t nul = cell.find('\0');
    putText(text, std::string_view(cell).substr(0, nul));
}

void GrdGetCellInteger(int field, int column, int row, int& value) {
    double v = 0.0;
    Read r = numberOf(field, column, row, v, "GrdGetCellInteger");
    if (r != Read::Failed) value = r == Read::Value ? TruncateToInteger(v) : kUndefinedInteger;
}

void GrdGetCellReal(int field, int column, int row, float& value) {
    double v = 0.0;
    Read r = numberOf(field, column, row, v, "GrdGetCellReal");
    if (r != Read::Failed) value = r == Read::Value ? static_cast<float>(v) : kUndefinedReal;
}

void GrdGetCellDouble(int field, int column, int row, double& value) {
    double v = 0.0;
    Read r = numberOf(field, column, row, v, "GrdGetCellDouble");
    if (r != Read::Failed) value = r == Read::Value ? v : kUndefinedDouble;
}

void GrdGetCellCheckBox(int field, int column, int row, int& state) {
    static constexpr std::string_view name = "GrdGetCellCheckBox";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridCheckBoxGet(f, column - 1, row - 1, state);
    failed(f, name);
}

void GrdGetCellMenu(int field, int column, int row, int& option) {
    static constexpr std::string_view name = "GrdGetCellMenu";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return;
    }
    int f = field;
    GridOptionGet(f, column - 1, row - 1, option);
    failed(f, name);
}

void GrdPutInteger(int field, int column, std::span<const int> values, int n) {
    putColumn(
        field, column, values, n, 2, "GrdPutInteger",
        [&](int row, int v) { GrdPutCellInteger(field, column, row, v); }, true);
}

void GrdPutReal(int field, int column, std::span<const float> values, int n,
                std::string_view format) {
    putColumn(
        field, column, values, n, 3, "GrdPutReal",
        [&](int row, float v) { GrdPutCellReal(field, column, row, v, format); }, true);
}

void GrdPutCheckBox(int field, int column, std::span<const int> states, int n) {
    putColumn(
        field, column, states, n, 3, "GrdPutCheckBox",
        [&](int row, int v) { GrdPutCellCheckBox(field, column, row, v); }, true);
}

void GrdPutOption(int field, int column, std::span<const int> options, int n) {
    putColumn(
        field, column, options, n, 3, "GrdPutOption",
        [&](int row, int v) { GrdPutCellOption(field, column, row, v); }, false);
}

void GrdPutMenu(int field, int column, std::span<const std::string_view> texts, int count,
                std::span<const int> options, int n) {
    static constexpr std::string_view name = "GrdPutMenu";
    int f = field;
    int drawn = 0;
    GridInfoQuery(f, 101, drawn);
    if (f < 0 || noDialog(field)) {
        ReportLibraryError(kInvalidField, name);
        return;
    }
    const int currentRow = info(field, 5, 1) - 1;
    GridRedrawOff();
    GridMenuClearOptions(f, column - 1, currentRow);
    count = std::clamp(count, 0, static_cast<int>(texts.size()));
    for (int i = 0; i < count && f >= 0; ++i)
        GridMenuAddOption(f, column - 1, currentRow, trimRight(texts[static_cast<std::size_t>(i)]));
    GridRedrawOn(field);
    if (f < 0) {
        ReportLibraryError(kInvalidField, name);
        return;
    }
    GrdPutOption(field, column, options, n);
}

void GridColumnGetReal(int field, int column, std::span<float> values, int& n) {
    getColumn(field, values, n, [&](int row, float& v) { GrdGetCellReal(field, column, row, v); });
}

void GridColumnGetCheckBox(int field, int column, std::span<int> states, int& n) {
    getColumn(field, states, n,
              [&](int row, int& v) { GrdGetCellCheckBox(field, column, row, v); });
}

void GridColumnGetMenu(int field, int column, std::span<int> options, int& n) {
    getColumn(field, options, n, [&](int row, int& v) { GrdGetCellMenu(field, column, row, v); });
}

int GridInfo(int field, int item) {
    int f = field == -1 ? -2 : field;
    int value = 0;
    GridInfoQuery(f, item, value);
    return value;
}

int InfoGridCell(int field, int column, int row, int item) {
    static constexpr std::string_view name = "InfoGridCell";
    if (noDialog(field)) {
        ReportLibraryError(kNoDialog, name);
        return 0;
    }
    int f = field;
    int type = 0;
    GridColumnType(f, column - 1, type);
    if (failed(f, name)) return 0;
    if (item == 2) return type;
    if (item != 1) return 0;
    if (type <= CellDouble) {
        std::array<char, 100> text{};
        GrdGetCellString(field, column, row, text);
        return isBlankText(std::string_view(text.data(), text.size())) ? 0 : 1;
    }
    int state = 0;
    if (type == CellCheckBox) {
        GrdGetCellCheckBox(field, column, row, state);
        return state;
    }
    GrdGetCellMenu(field, column, row, state);
    return state > 0 ? 1 : 0;
}

void GridCellRefSplit(int reference, int& column, int& row) {
    column = (reference >> 18) & 0x3FFF;
    row = reference & 0x3FFFF;
}

}  // namespace tk
