// Texts from the grid are escaped for HTML (& < > "), so that a cell holding
// markup characters shows them instead of breaking the table.

#include "toolkit/dialogs/grid_html.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"

namespace tk {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::string hexColour(int red, int green, int blue) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02x%02x%02x", red & 0xFF, green & 0xFF, blue & 0xFF);
    return buffer;
}

class HtmlFile {
  public:
    explicit HtmlFile(std::FILE* file) : file_(file) {}
    // HtmlLineWrite: one line ended by CR LF unless a line failed before.
    void line(std::string_view text) {
        if (status_ != 0) return;
        if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() ||
            std::fputs("\r\n", file_) < 0)
            status_ = errno != 0 ? errno : 5;
    }
    int status() const { return status_; }
    // A failed line ends the export with error 2; the lines so far stay.
    bool failedReported() {
        if (status_ == 0) return false;
        toolkitState().ErrorCategory = 1;
        toolkitState().FileOsErrorCode = status_;
        std::fclose(file_);
        ReportLibraryError(2, "GrdSaveHTML");
        return true;
    }
    void close() {
        if (std::fclose(file_) != 0 && status_ == 0) status_ = errno;
        if (status_ != 0) {
            toolkitState().ErrorCategory = 1;
            toolkitState().FileOsErrorCode = status_;
        }
    }

  private:
    std::FILE* file_;
    int status_ = 0;
};

std::string cellContent(int field, int column, int row, int kind, bool letters) {
    int f = field;
    if (kind == KindCheckBox) {
        int state = 0;
        GridCheckBoxGet(f, column, row, state);
        if (letters) return state == 1 ? "Y" : "N";
        return state == 1 ? "<font face=\"Symbol\">&middot;</font>" : "&nbsp;";
    }
    if (kind == KindMenu) {
        int option = 0;
        GridOptionGet(f, column, row, option);
        return option == 0 ? " " : escaped(GridMenuOptionText(field, column, option));
    }
    std::string text;
    GridCellTextGet(f, column, row, text);
    return escaped(text.substr(0, std::min<std::size_t>(text.find('\0'), 1023)));
}

}  // namespace

void GrdSaveHTML(int field, std::string_view fileName, std::optional<int> startColumn,
                 std::optional<int> endColumn, std::optional<int> startRow,
                 std::optional<int> endRow, std::optional<int> flags,
                 std::optional<std::string_view> title, std::optional<int> border,
                 std::optional<int> background) {
    static constexpr std::string_view name = "GrdSaveHTML";
    if (field != 0 && toolkitState().CurrentDialogNumber == 0) {
        ReportLibraryError(1005, name);
        return;
    }
    int lookup = field;
    GridRecord* g = gridFind(lookup);
    if (!g) {
        ReportLibraryError(1006, name);
        return;
    }
    const int columns = g->columnCount, rows = g->rowCount;
    const int c0 = std::max(startColumn.value_or(1), 1),
              c1 = std::min(endColumn.value_or(columns), columns);
    const int r0 = std::max(startRow.value_or(1), 1), r1 = std::min(endRow.value_or(rows), rows);
    const int bits = flags.value_or(0);
    errno = 0;
    std::FILE* file = std::fopen(osText(fileName).c_str(), "wb");
    if (!file) {
        toolkitState().ErrorCategory = 1;
        toolkitState().FileOsErrorCode = errno;
        ReportLibraryError(1, name);
        return;
    }
    HtmlFile out(file);
    const std::string titleText = title ? escaped(trimRight(*title)) : std::string();
    if (!(bits & 1)) {
        out.line("<html>");
        out.line("<head>");
        if (title) out.line("<title>" + titleText + "</title>");
        out.line("</head>");
        if (background)
            out.line("<body bgcolor=#" +
                     hexColour(*background, *background >> 8, *background >> 16) + ">");
        else
            out.line("<body>");
    }
    if (bits & 2) out.line("<center>");
    if (title && !titleText.empty()) out.line("<h2>" + titleText + "</h2>");
    out.line("<table border=" + std::to_string(std::max(border.value_or(0), 0)) +
             " cellpadding=5>");
    if (out.failedReported()) return;
    static constexpr const char* alignWords[] = {"left", "center", "right"};
    std::vector<int> align(static_cast<std::size_t>(columns) + 1, 0);
    for (int c = c0; c <= c1; ++c)
        GridColumnAlignment(field, c - 1, align[static_cast<std::size_t>(c)]);
    int hasHeader = 0, rowLabelWidth = 0;
    GridLabelsInfo(field, hasHeader, rowLabelWidth);
    if (hasHeader) {
        out.line("<tr>");
        if (rowLabelWidth) out.line("<td></td>");
        for (int c = c0; c <= c1; ++c) {
            out.line("<td align=center>");
            out.line(escaped(GridColumnLabelGet(field, c).substr(0, 1023)));
            out.line("</td>");
        }
        out.line("</tr>");
        if (out.failedReported()) return;
    }
    for (int r = r0; r <= r1; ++r) {
        out.line("<tr>");
        if (rowLabelWidth) {
            out.line("<td align=left>");
            out.line(escaped(GridRowLabelGet(field, r - 1)));
            out.line("</td>");
        }
        for (int c = c0; c <= c1; ++c) {
            std::string cell = "<td align=";
            cell += alignWords[std::clamp(align[static_cast<std::size_t>(c)], 0, 2)];
            int fg[3] = {-1, -1, -1}, bg[3] = {-1, -1, -1};
            if (!(bits & 8)) GridCellColourGet(field, c - 1, r - 1, fg, bg);
            if (bg[0] >= 0) cell += " bgcolor=#" + hexColour(bg[0], bg[1], bg[2]);
            out.line(cell + ">");
            if (fg[0] >= 0) out.line("<font color=#" + hexColour(fg[0], fg[1], fg[2]) + ">");
            out.line(cellContent(field, c - 1, r - 1, gridColumn(*g, c - 1).kind, (bits & 4) != 0));
            if (fg[0] >= 0) out.line("</font>");
            out.line("</td>");
        }
        out.line("</tr>");
        if (out.failedReported()) return;
    }
    out.line("</table>");
    if (bits & 2) out.line("</center>");
    if (!(bits & 1)) {
        out.line("</body>");
        out.line("</html>");
    }
    out.close();
}

}  // namespace tk
