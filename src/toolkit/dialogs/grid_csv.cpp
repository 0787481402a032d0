#include "toolkit/dialogs/grid_csv.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/binary_file_io.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/string_conversion.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_window.h"

namespace tk {

namespace {

constexpr std::size_t kFieldBuffer = 32768;
constexpr int kReadBuffer = 65000;

std::string textField(std::string_view text, bool quotes) {
    std::vector<char> buffer(kFieldBuffer, ' ');
    std::size_t n = std::min(text.size(), kFieldBuffer / 2 - 1);
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    CsvQuoteDouble(buffer);
    std::string out = quotes ? "\"" : "";
    out += buffer.data();
    if (quotes) out += '"';
    return out;
}

struct CsvWriter {
    FileHandle handle;
    bool ok = true;

    void put(std::string field, bool last) {
        if (!ok) return;
        field += last ? "\r\n" : ",";
        int written = 0;
        WriteCharsEntry1(handle, field.data(), static_cast<int>(field.size()), written);
        ok = written == static_cast<int>(field.size());
    }
};

std::string cellField(int field, int column, int row, int type, bool quotes) {
    int f = field;
    if (type == CellCheckBox) {
        int state = 0;
        GridCheckBoxGet(f, column - 1, row - 1, state);
        return state == 1 ? "Yes" : "No";
    }
    if (type == CellMenu) {
        int option = 0;
        GridOptionGet(f, column - 1, row - 1, option);
        return option == 0 ? std::string()
                           : textField(GridMenuOptionText(field, column - 1, option), quotes);
    }
    std::string text;
    GridCellTextGet(f, column - 1, row - 1, text);
    text = text.substr(0, text.find('\0'));
    return type == CellText ? textField(text, quotes) : text.substr(0, 50);
}

std::vector<int> columnTypes(int field, int columns) {
    std::vector<int> types(static_cast<std::size_t>(columns) + 1, 0);
    for (int c = 1; c <= columns; ++c) {
        int f = field;
        GridColumnType(f, c - 1, types[static_cast<std::size_t>(c)]);
    }
    return types;
}

// What GrdLoad keeps while it reads.
struct Loader {
    int field;
    bool grow;
    int rowCount;
    int columnCount;
    int capacity;
    int rowCounter;
    int columnStart;
    int columnCounter;
    std::vector<int> types;
    std::vector<std::string> formats;
    bool grown = false;

    bool raiseRows(int counter) {
        if (!grow || counter < rowCount || counter >= capacity) return counter < rowCount;
        // A grid window is fitted once the file is read: fitted to each row
        // as it comes, it would shrink to the first rows and never grow back.
        int f = field;
        if (GridRecord* g = gridFind(f)) GridSetRowCount(*g, counter + 1);
        rowCount = gridInfoItem(field, 3);
        grown = true;
        return counter < rowCount;
    }

    void storeNumber(int column, int row, const std::string& text) {
        ToolkitState& s = toolkitState();
        const int saved = s.LastErrorNumber;
        s.LastErrorNumber = 0;
        const int type = types[static_cast<std::size_t>(column)];
        if (type == CellInteger) {
            int v = 0;
            StrToInteger(text, v);
            if (s.LastErrorNumber == 0) GrdPutCellInteger(field, column, row, v);
        } else if (type == CellReal) {
            float v = 0.0f;
            TextToRealSingle(text, v);
            if (s.LastErrorNumber == 0)
                GrdPutCellReal(field, column, row, v, formats[static_cast<std::size_t>(column)]);
        } else {
            double v = 0.0;
            StrToReal(text, v);
            if (s.LastErrorNumber == 0)
                GrdPutCellDouble(field, column, row, v, formats[static_cast<std::size_t>(column)]);
        }
        if (s.LastErrorNumber != 0) {
            const int error = s.LastErrorNumber;
            GrdClearCell(field, column, row);
            s.LastErrorNumber = error;
        } else {
            s.LastErrorNumber = saved;
        }
    }

    void storeCell(int column, int row, const std::string& text) {
        int f = field;
        switch (types[static_cast<std::size_t>(column)]) {
            case CellText:
                GridCellPut(f, column - 1, row - 1, 0.0, text, "");
                break;
            case CellCheckBox: {
                std::string up = text;
                UpperCaseString(up, static_cast<int>(up.size()));
                GridCheckBoxPut(f, column - 1, row - 1, up == "YES" ? 1 : 0);
                break;
            }
            case CellMenu: {
                int notFound = 0;
                GridOptionPutByText(f, column - 1, row - 1, notFound, text);
                if (notFound) ReportLibraryError(1055, "GrdLoad");
                break;
            }
            default:
                storeNumber(column, row, text);
                break;
        }
    }

    void storeField(const std::string& text) {
        if (rowCounter >= 0) raiseRows(rowCounter);
        if (columnCounter >= columnCount || rowCounter >= rowCount) {
            ReportLibraryError(1054, "GrdLoad");
            return;
        }
        if (rowCounter < 0)
            GridColumnLabelSet(field, columnCounter + 1, text);
        else if (columnCounter < 0)
            GridRowLabelSet(field, rowCounter, text);
        else
            storeCell(columnCounter + 1, rowCounter + 1, text);
    }

    void endLine() {
        if (rowCounter < rowCount) {
            for (int c = columnCounter + 1; c < columnCount; ++c) {
                if (rowCounter < 0) {
                    GridColumnLabelSet(field, c + 1, "");
                } else {
                    int f = field;
                    GridClearCellInternal(f, c, rowCounter, 1);
                }
            }
        }
        ++rowCounter;
        columnCounter = columnStart;
    }
};

std::string fieldText(const char* begin, std::size_t length) {
    std::string t(begin, length);
    const bool quoted = t.find('"') != std::string::npos;
    const bool lineEnd = t.find('\r') != std::string::npos;
    if (quoted) t = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string();
    if (lineEnd && !t.empty()) t.pop_back();
    std::vector<char> buffer(t.begin(), t.end());
    CsvFieldUnquote(buffer);
    return std::string(trimRight(std::string_view(buffer.data(), buffer.size())));
}

}  // namespace

void CsvQuoteDouble(std::span<char> text) {
    std::size_t n = strnlen(text.data(), text.size());
    std::size_t quotes = static_cast<std::size_t>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), '"'));
    if (n + quotes >= text.size()) return;  // no room behind the text: left as it is
    std::size_t out = n + quotes;
    text[out] = '\0';
    for (std::size_t i = n; i-- > 0;) {
        text[--out] = text[i];
        if (text[i] == '"') text[--out] = '"';
    }
}

void CsvFieldUnquote(std::span<char> text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    std::size_t out = 0;
    for (std::size_t i = 0; i < end; ++i) {
        text[out++] = text[i];
        if (text[i] == '"' && i + 1 < end && text[i + 1] == '"') ++i;
    }
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(out), text.end(), ' ');
}

void GrdSave(int field, std::string_view fileName, std::optional<int> startColumn,
             std::optional<int> endColumn, std::optional<int> startRow, std::optional<int> endRow,
             std::optional<int> flags) {
    if (!gridFieldChecked(field, "GrdSave")) return;
    const int columns = gridInfoItem(field, 1), rows = gridInfoItem(field, 3);
    const int c0 = std::max(startColumn.value_or(1), 1),
              c1 = std::min(endColumn.value_or(columns), columns);
    const int r0 = std::max(startRow.value_or(1), 1), r1 = std::min(endRow.value_or(rows), rows);
    const int bits = flags.value_or(0);
    const bool quotes = (bits & 1) == 0;
    FileHandle h = -1;
    BinFileOpen(fileName, OpenCreate, h);
    if (h == -1) return;
    const std::vector<int> types = columnTypes(field, columns);
    int hasHeader = 0, rowLabelWidth = 0;
    if (bits & 2) GridLabelsInfo(field, hasHeader, rowLabelWidth);
    CsvWriter out{h};
    if (hasHeader) {
        if (rowLabelWidth) out.put(textField(GridColumnLabelGet(field, 0), quotes), false);
        for (int c = c0; c <= c1; ++c)
            out.put(textField(GridColumnLabelGet(field, c), quotes), c == c1);
    }
    for (int r = r0; r <= r1 && out.ok; ++r) {
        if (rowLabelWidth)
            out.put(textField(GridRowLabelGet(field, r - 1).substr(0, 50), quotes), false);
        for (int c = c0; c <= c1; ++c)
            out.put(cellField(field, c, r, types[static_cast<std::size_t>(c)], quotes), c == c1);
    }
    FileHandleClose(h);
}

void GrdLoad(int field, std::string_view fileName, std::optional<int> grow,
             std::optional<int> flags) {
    if (!gridFieldChecked(field, "GrdLoad")) return;
    FileHandle h = -1;
    BinFileOpen(fileName, OpenRead, h);
    if (h == -1) return;
    Loader L{
        field, grow.value_or(0) == 1, gridInfoItem(field, 3), gridInfoItem(field, 1), gridInfoItem(field, 2), 0, 0, 0, {},
        {},    false};
    L.types = columnTypes(field, L.columnCount);
    L.formats.assign(L.types.size(), std::string());
    for (int c = 1; c <= L.columnCount; ++c)
        L.formats[static_cast<std::size_t>(c)] = GridColumnFormatGet(field, c - 1);
    int remaining = 0;
    BinFileSeek(h, remaining, SeekEnd);
    int start = 0;
    BinFileSeek(h, start, SeekStart);
    if (flags.value_or(0) & 2) {
        int hasHeader = 0, rowLabelWidth = 0;
        GridLabelsInfo(field, hasHeader, rowLabelWidth);
        L.rowCounter = hasHeader ? -1 : 0;
        L.columnStart = rowLabelWidth ? -1 : 0;
    }
    L.columnCounter = L.columnStart;
    GridRedrawOff();
    std::vector<char> buffer(static_cast<std::size_t>(kReadBuffer));
    int filled = 0, fieldStart = 0;
    bool finished = false;
    while (!finished) {
        if (L.rowCounter >= L.rowCount && !L.raiseRows(L.rowCounter)) {
            ReportLibraryError(1054, "GrdLoad");
            break;
        }
        int want = std::min(kReadBuffer - filled, remaining);
        int got = 0;
        ReadCharsEntry1(h, buffer.data() + filled, want, got);
        if (got < want) {
            GridRedrawOn(field);
            FileHandleClose(h);
            return;
        }
        filled += got;
        remaining -= got;
        for (;;) {
            int quotes = 0, end = -1;
            for (int p = fieldStart; p < filled; ++p) {
                char c = buffer[static_cast<std::size_t>(p)];
                if (c == '\n' || (c == ',' && quotes % 2 == 0)) {
                    end = p;
                    break;
                }
                if (c == '"') ++quotes;
            }
            if (end < 0) break;
            L.storeField(
                fieldText(buffer.data() + fieldStart, static_cast<std::size_t>(end - fieldStart)));
            fieldStart = end + 1;
            if (buffer[static_cast<std::size_t>(end)] == ',')
                ++L.columnCounter;
            else
                L.endLine();
        }
        // No field end in what is left: keep the rest and read on, unless the
        // file is done or one field fills the whole buffer.
        if (remaining == 0 || (fieldStart == 0 && filled == kReadBuffer)) {
            finished = true;
        } else {
            std::memmove(buffer.data(), buffer.data() + fieldStart,
                         static_cast<std::size_t>(filled - fieldStart));
            filled -= fieldStart;
            fieldStart = 0;
        }
    }
    const bool labels = (flags.value_or(0) & 2) && L.columnStart < 0;
    for (int r = std::max(L.rowCounter, 0); r < L.rowCount; ++r) {
        if (labels) GridRowLabelSet(field, r, "");
        for (int c = 0; c < L.columnCount; ++c) {
            int f = field;
            GridClearCellInternal(f, c, r, 2);
        }
    }
    GridRedrawOn(field);
    FileHandleClose(h);
    int f = field;
    if (GridRecord* g = field == 0 && L.grown ? gridFind(f) : nullptr) GridWindowFitSize(*g);
}

}  // namespace tk
