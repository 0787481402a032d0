// Comma-separated text files and the HTML export of grids.

#include "grid_test_support.h"
#include "toolkit/dialogs/grid_csv.h"
#include "toolkit/dialogs/grid_html.h"
#include "toolkit/dialogs/grid_rows.h"

namespace tk::test {
namespace {

class GridFilesTest : public GridTest {
  protected:
    TempDir dir;

    void putText(int column, int row, std::string_view text) {
        int f = kField;
        GridCellPut(f, column - 1, row - 1, 0.0, text, "");
    }
    void fillTwoRows() {
        putText(1, 1, "a,\"b\"");
        GrdPutCellInteger(kField, 2, 1, 12);
        GrdPutCellReal(kField, 3, 1, 2.5f, "(F5.1)");
        GrdPutCellCheckBox(kField, 5, 1, 1);
        GrdPutCellOption(kField, 6, 1, 2);
        putText(1, 2, "<x&y>");
        GrdPutCellOption(kField, 6, 2, 0);
        GrdLabelColumn(kField, 0, "No.");
        GrdLabelRow(kField, 1, "first");
        GrdLabelRow(kField, 2, "second");
    }
};

TEST_F(GridFilesTest, CsvWritesQuotedFieldsAndReadsThemBack) {
    fillTwoRows();
    GrdSave(kField, dir.file("t.csv"), {}, {}, 1, 2, 2);
    EXPECT_EQ(readFile(dir.file("t.csv")),
              "\"No.\",\"Name\",\"Count\",\"Value\",\"Depth\",\"Free?\",\"Colour\"\r\n"
              "\"first\",\"a,\"\"b\"\"\",12,2.5,,Yes,\"Green\"\r\n"
              "\"second\",\"<x&y>\",,,,No,\r\n");
    // Loaded into a fresh grid with the labels, everything comes back.
    GridClearAll(grid, false);
    GrdLabelColumn(kField, 0, "");
    GrdLabelRow(kField, 2, "");
    putText(1, 4, "stale");
    clearError();
    GrdLoad(kField, dir.file("t.csv"), {}, 2);
    EXPECT_EQ(cellString(1, 1), "a,\"b\"");
    EXPECT_EQ(cellString(2, 1), "12");
    EXPECT_EQ(cellString(3, 1), "2.5");
    int state = 0, option = 0;
    GrdGetCellCheckBox(kField, 5, 1, state);
    GrdGetCellMenu(kField, 6, 1, option);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(option, 2);
    EXPECT_EQ(GridRowLabelGet(kField, 1), "second");
    EXPECT_EQ(GridColumnLabelGet(kField, 0), "No.");
    EXPECT_EQ(cellString(1, 4), "");  // rows the file did not reach are emptied
    EXPECT_EQ(lastError(), 1055);     // a menu field without option matches none
}

TEST_F(GridFilesTest, CsvLoadEdgeCases) {
    writeFile(dir.file("in.csv"),
              "x,1,3,4.5,yes,blue,extra\n"
              "\"q,\"\"r\"\"\",oops,, 2, YES,Purple\r\n"
              "short\n"
              "lost");
    clearError();
    GrdLoad(kField, dir.file("in.csv"));
    EXPECT_EQ(cellString(1, 1), "x");
    EXPECT_EQ(cellString(4, 1), "4.5000");
    int state = 0, option = 0;
    GrdGetCellCheckBox(kField, 5, 1, state);
    EXPECT_EQ(state, 1);
    GrdGetCellMenu(kField, 6, 1, option);
    EXPECT_EQ(option, 3);
    EXPECT_EQ(cellString(1, 2), "q,\"r\"");
    EXPECT_EQ(cellString(2, 2), "");  // not a number: emptied
    GrdGetCellCheckBox(kField, 5, 2, state);
    EXPECT_EQ(state, 0);  // a leading blank is no "YES"
    GrdGetCellMenu(kField, 6, 2, option);
    EXPECT_EQ(option, 1);
    EXPECT_EQ(lastError(), 1055);
    EXPECT_EQ(cellString(1, 3), "short");
    EXPECT_EQ(cellString(1, 4), "");  // the last line had no line feed

    // More lines than rows: growing takes them up to the capacity.
    std::string many;
    for (int i = 1; i <= 12; ++i)
        many += std::to_string(i) + "\r\n";
    writeFile(dir.file("many.csv"), many);
    clearError();
    GrdLoad(kField, dir.file("many.csv"), 1);
    EXPECT_EQ(grid.rowCount, 10);
    EXPECT_EQ(cellString(1, 10), "10");
    EXPECT_EQ(lastError(), 1054);
}

TEST_F(GridFilesTest, QuoteHelpers) {
    char text[16] = "a\"b\"";
    CsvQuoteDouble(text);
    EXPECT_STREQ(text, "a\"\"b\"\"");
    char field[10] = {'x', '"', '"', 'y', ' ', ' ', ' ', ' ', ' ', ' '};
    CsvFieldUnquote(field);
    EXPECT_EQ(std::string(field, 10), "x\"y       ");
}

TEST_F(GridFilesTest, HtmlTableEscapesTextsAndColours) {
    fillTwoRows();
    grid.columns[1].settings.alignment = 2;
    const int red[3] = {255, 0, 0}, none[3] = {-1, 0, 0};
    int f = kField;
    GridCellColourSet(f, 0, 1, none, red);
    GrdSaveHTML(kField, dir.file("t.html"), 1, 2, 1, 2, 0, "A <b>", -3, 255);
    const std::string html = readFile(dir.file("t.html"));
    const std::string expected =
        "<html>\r\n<head>\r\n<title>A &lt;b&gt;</title>\r\n</head>\r\n<body bgcolor=#ff0000>\r\n"
        "<h2>A &lt;b&gt;</h2>\r\n<table border=0 cellpadding=5>\r\n"
        "<tr>\r\n<td></td>\r\n<td align=center>\r\nName\r\n</td>\r\n<td "
        "align=center>\r\nCount\r\n</td>\r\n</tr>\r\n"
        "<tr>\r\n<td align=left>\r\nfirst\r\n</td>\r\n<td "
        "align=left>\r\na,&quot;b&quot;\r\n</td>\r\n"
        "<td align=right>\r\n12\r\n</td>\r\n</tr>\r\n"
        "<tr>\r\n<td align=left>\r\nsecond\r\n</td>\r\n<td align=left "
        "bgcolor=#ff0000>\r\n&lt;x&amp;y&gt;\r\n</td>\r\n"
        "<td align=right>\r\n\r\n</td>\r\n</tr>\r\n"
        "</table>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(html, expected);

    // Table only, check boxes and menus, no colours.
    GrdSaveHTML(kField, dir.file("u.html"), 5, 6, 1, 2, 1 | 8, "  ");
    const std::string table = readFile(dir.file("u.html"));
    EXPECT_EQ(table.rfind("<table border=0 cellpadding=5>\r\n", 0), 0u);
    EXPECT_NE(table.find("<font face=\"Symbol\">&middot;</font>\r\n"), std::string::npos);
    EXPECT_NE(table.find("&nbsp;\r\n"), std::string::npos);
    EXPECT_NE(table.find(">\r\n \r\n</td>"), std::string::npos);  // no option: one blank
    EXPECT_EQ(table.find("bgcolor"), std::string::npos);
    EXPECT_EQ(table.find("<h2>"), std::string::npos);
    GrdSaveHTML(kField, dir.file("v.html"), 5, 5, 1, 2, 1 | 4);
    EXPECT_NE(readFile(dir.file("v.html")).find("\r\nY\r\n"), std::string::npos);

    clearError();
    GrdSaveHTML(kField, dir.file("missing/x.html"));
    EXPECT_EQ(lastError(), 1);
}

}  // namespace
}  // namespace tk::test
