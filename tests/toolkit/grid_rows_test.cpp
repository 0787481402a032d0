// Find, row labels, row insertion and deletion, and sorting of grids.

#include <array>

#include "grid_test_support.h"
#include "toolkit/dialogs/grid_rows.h"
#include "toolkit/dialogs/grid_sort.h"

namespace tk::test {
namespace {

class GridRowsTest : public GridTest {
  protected:
    // Rows 1-5: names a-e, counts 10-50, check boxes alternating, options 1-3.
    void fill() {
        const char* names[] = {"a", "b", "c", "d", "e"};
        for (int r = 1; r <= 5; ++r) {
            int f = kField;
            GridCellPut(f, 0, r - 1, 0.0, names[r - 1], "");
            GrdPutCellInteger(kField, 2, r, 10 * r);
            GrdPutCellCheckBox(kField, 5, r, r % 2);
            GrdPutCellOption(kField, 6, r, (r - 1) % 3 + 1);
            GrdLabelRow(kField, r, std::string("row") + names[r - 1]);
        }
    }
    std::string column(int c) {
        std::string out;
        for (int r = 1; r <= grid.rowCount; ++r)
            out += (r > 1 ? "," : "") + cellString(c, r);
        return out;
    }
    std::string labels() {
        std::string out;
        for (int r = 0; r < grid.rowCount; ++r)
            out += (r ? "," : "") + GridRowLabelGet(kField, r);
        return out;
    }
};

TEST_F(GridRowsTest, DeleteAndInsertKeepValuesAndLabels) {
    fill();
    GrdDeleteRows(kField, 2, 2, 0, 1);
    EXPECT_EQ(column(1), "a,d,e,,");
    EXPECT_EQ(column(2), "10,40,50,,");
    EXPECT_EQ(labels(), "rowa,rowd,rowe,,");
    int option = 0;
    GrdGetCellMenu(kField, 6, 5, option);
    EXPECT_EQ(option, 1);  // vacated menu cells get the first option

    GrdInsertRows(kField, 2, 1, 1, 1);
    EXPECT_EQ(grid.rowCount, 6);
    EXPECT_EQ(column(1), "a,,d,e,,");
    EXPECT_EQ(labels(), "rowa,,rowd,rowe,,");
    // A block beyond the last row is cut; shrink lowers the rows in use.
    GrdDeleteRows(kField, 5, 5, 1);
    EXPECT_EQ(grid.rowCount, 4);
    clearError();
    GrdInsertRows(kField, 5);
    EXPECT_EQ(lastError(), 1017);
}

TEST_F(GridRowsTest, FindWalksColumnsAndMovesTheCurrentCell) {
    fill();
    GrdPutCellReal(kField, 3, 4, 1.5f, "(F8.2)");
    struct Case {
        const char* text;
        int flags;
        bool found;
        int column, row;
    };
    const Case cases[] = {
        {"d", 0, true, 1, 4},      {"D", 0, false, 1, 4}, {"D", 2, true, 1, 4},
        {"40", 0, false, 1, 4},    {"40", 4, true, 2, 4}, {"1.50", 4, true, 3, 4},
        {"1.500", 4, false, 3, 4}, {"", 0, true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool found = !c.found;
        GrdFind(kField, c.text, c.flags, &found);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(GridInfo(kField, 4), c.column);
        EXPECT_EQ(GridInfo(kField, 5), c.row);
    }
    // Continuing from the last row moves to the next column.
    GrdSetCell(kField, 1, 5);
    bool found = false;
    GrdFind(kField, "", 1 | 4, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(GridInfo(kField, 4), 2);
    EXPECT_EQ(GridInfo(kField, 5), 1);
}

TEST_F(GridRowsTest, SortOrdersTextsNumbersAndKeepsEmptiesLast) {
    const char* texts[] = {"B", "", "a", "A", " "};
    const int counts[] = {3, 0, 1, 2147483647, -5};
    for (int r = 0; r < 5; ++r) {
        int f = kField;
        GridCellPut(f, 0, r, 0.0, texts[r], "");
        if (r != 1) GrdPutCellInteger(kField, 2, r + 1, counts[r]);
        GrdLabelRow(kField, r + 1, std::string("L") + std::to_string(r + 1));
    }
    GrdSort(kField, 1, 4);
    EXPECT_EQ(column(1), ",A,B,a,");  // blank text first, byte order, empty last
    EXPECT_EQ(labels(), "L5,L4,L1,L3,L2");
    EXPECT_EQ(column(2), "-5,2147483647,3,1,");  // rows travel whole
    GrdSort(kField, 1, 1 | 2);
    EXPECT_EQ(column(1).substr(0, 3), "B,A");
    EXPECT_EQ(column(1).back(), ',');  // the empty text stays last descending
    GrdSort(kField, 2);
    EXPECT_EQ(column(2).substr(0, 5), "-5,1,");
    // A range sort leaves the other rows alone.
    GrdSort(kField, 2, 1, 3, 5);
    EXPECT_EQ(column(2).substr(0, 5), "-5,1,");
}

TEST_F(GridRowsTest, SortOfManyRowsMatchesAnOrderedCopy) {
    define(0, 300, 300);
    std::vector<double> values;
    unsigned seed = 12345;
    for (int r = 1; r <= 300; ++r) {
        seed = seed * 1103515245u + 12345u;
        double v = static_cast<double>((seed >> 8) % 1000) / 10.0;
        values.push_back(v);
        GrdPutCellDouble(kField, 4, r, v);
        GrdPutCellInteger(kField, 2, r, r);
    }
    GrdSort(kField, 4, 1);
    std::sort(values.begin(), values.end(), std::greater<>());
    for (int r = 1; r <= 300; ++r) {
        double v = 0.0;
        GrdGetCellDouble(kField, 4, r, v);
        ASSERT_EQ(v, values[static_cast<std::size_t>(r - 1)]) << r;
    }
    // Already ordered input sorts without trouble too.
    GrdSort(kField, 4);
    double first = 0.0;
    GrdGetCellDouble(kField, 4, 1, first);
    EXPECT_EQ(first, values.back());
}

TEST_F(GridRowsTest, SortChecksAndCheckBoxOrder) {
    fill();
    GrdSort(kField, 5);
    EXPECT_EQ(column(1).substr(0, 3), "b,d");
    clearError();
    GrdSort(kField, 7);
    EXPECT_EQ(lastError(), 1017);
    toolkitState().CurrentDialogNumber = 0;
    GrdSort(0, 1);
    EXPECT_EQ(lastError(), 1005);
}

}  // namespace
}  // namespace tk::test
