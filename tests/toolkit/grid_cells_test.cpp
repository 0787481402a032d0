// Cell storage and the public cell and column routines of the grid.

#include <array>
#include <functional>

#include "grid_test_support.h"

namespace tk::test {
namespace {

TEST_F(GridTest, SingleCellsRoundTripPerColumnType) {
    GrdPutCellInteger(kField, 2, 1, -42);
    GrdPutCellReal(kField, 3, 2, 2.5f);
    GrdPutCellDouble(kField, 4, 3, 1234.5678901);
    GrdPutCellCheckBox(kField, 5, 4, 1);
    GrdPutCellOption(kField, 6, 5, 3);
    int i = 0, state = 0, option = 0;
    double d = 0.0;
    GrdGetCellInteger(kField, 2, 1, i);
    GrdGetCellDouble(kField, 4, 3, d);
    GrdGetCellCheckBox(kField, 5, 4, state);
    GrdGetCellMenu(kField, 6, 5, option);
    EXPECT_EQ(lastError(), 0);
    EXPECT_EQ(i, -42);
    EXPECT_FLOAT_EQ(real(3, 2), 2.5f);
    EXPECT_DOUBLE_EQ(d, 1234.5678901);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(option, 3);
    EXPECT_EQ(cellString(2, 1), "-42");
    EXPECT_EQ(cellString(3, 2), "2.5000");
    // A number put into a text column is stored as its text.
    GrdPutCellInteger(kField, 1, 1, 77);
    EXPECT_EQ(cellString(1, 1), "77");
    // Texts of menu and check-box cells are not read as strings.
    clearError();
    cellString(6, 5);
    EXPECT_EQ(lastError(), 1017);
}

TEST_F(GridTest, ErrorsOfTheCellRoutines) {
    struct Case {
        const char* what;
        std::function<void()> call;
        int error;
        const char* routine;
    };
    float v = 0.0f;
    int state = 9;
    const Case cases[] = {
        {"no dialog",
         [&] {
             toolkitState().CurrentDialogNumber = 0;
             GrdPutCellReal(kField, 3, 1, 1.0f);
         },
         1005, "GrdPutCellReal"},
        {"not a grid", [&] { GrdPutCellInteger(7, 2, 1, 1); }, 1006, "GrdPutCellInteger"},
        {"out of range value", [&] { GrdPutCellReal(kField, 3, 1, 11.0f); }, 1009,
         "GrdPutCellReal"},
        {"bad column", [&] { GrdClearCell(kField, 7, 1); }, 1017, "GrdClearCell"},
        {"row beyond rows in use", [&] { GrdPutCellCheckBox(kField, 5, 6, 1); }, 1017,
         "GrdPutCellCheckBox"},
        {"option into a text column", [&] { GrdPutCellOption(kField, 1, 1, 1); }, 1017,
         "GrdPutCellOption"},
        {"empty numeric cell", [&] { GrdGetCellReal(kField, 3, 1, v); }, 1010, "GrdGetCellReal"},
        {"real read of a check box", [&] { GrdGetCellReal(kField, 5, 1, v); }, 1017,
         "GrdGetCellReal"},
        {"clear of a menu cell", [&] { GrdClearCell(kField, 6, 1); }, 1017, "GrdClearCell"},
        {"label column beyond", [&] { GrdLabelColumn(kField, 7, "X"); }, 1017, "GrdLabelColumn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        toolkitState().CurrentDialogNumber = 1;
        clearError();
        c.call();
        EXPECT_EQ(lastError(), c.error);
        EXPECT_EQ(toolkitState().LastErrorRoutine, c.routine);
    }
    // The empty read gave the undefined value; the menu cell kept its option.
    EXPECT_EQ(v, -999.0f);
    int option = 0;
    GrdGetCellMenu(kField, 6, 1, option);
    EXPECT_EQ(option, 1);
    // A check-box read of a text column writes nothing and reports nothing.
    clearError();
    GrdGetCellCheckBox(kField, 1, 1, state);
    EXPECT_EQ(state, 9);
    EXPECT_EQ(lastError(), 0);
}

TEST_F(GridTest, ColumnPutsCutToTheRowsAndEmptyTheRest) {
    const std::array<float, 7> values{1, 2, 3, 4, 5, 6, 7};
    GrdPutReal(kField, 3, values, 7);
    EXPECT_EQ(lastError(), 1018);
    float out[7] = {};
    int n = 7;
    GridColumnGetReal(kField, 3, out, n);
    EXPECT_EQ(n, 5);
    EXPECT_FLOAT_EQ(out[4], 5.0f);

    clearError();
    GrdPutReal(kField, 3, values, 2);
    EXPECT_EQ(lastError(), 0);
    EXPECT_FLOAT_EQ(real(3, 2), 2.0f);
    EXPECT_EQ(real(3, 3), -999.0f);
    EXPECT_EQ(lastError(), 1010);

    // Integers are limited by the capacity, not the rows in use.
    const std::array<int, 12> ints{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    clearError();
    GrdPutInteger(kField, 2, ints, 8);
    EXPECT_EQ(lastError(), 0);
    GrdPutInteger(kField, 2, ints, 12);
    EXPECT_EQ(lastError(), 1018);
    GrdRows(kField, 10);
    EXPECT_EQ(cellString(2, 5), "5");
    EXPECT_EQ(cellString(2, 6), "");  // dropped beyond the rows in use, then emptied

    const std::array<int, 2> states{1, 0};
    GrdPutCheckBox(kField, 5, states, 2);
    int got[10] = {};
    n = 10;
    GridColumnGetCheckBox(kField, 5, got, n);
    EXPECT_EQ(n, 10);
    EXPECT_EQ(got[0], 1);
    EXPECT_EQ(got[1], 0);
}

TEST_F(GridTest, MenuColumnGetsOptionsAndSelections) {
    const std::array<std::string_view, 2> texts{"Sand    ", "Clay"};
    const std::array<int, 2> options{2, 1};
    GrdPutMenu(kField, 6, texts, 2, options, 2);
    EXPECT_EQ(GridMenuOptionText(kField, 5, 1), "Sand");
    int got[5] = {};
    int n = 5;
    GridColumnGetMenu(kField, 6, got, n);
    EXPECT_EQ(got[0], 2);
    EXPECT_EQ(got[1], 1);
    EXPECT_EQ(got[2], 0);  // later rows without option
    clearError();
    GrdPutMenu(kField, 1, texts, 2, options, 2);
    EXPECT_EQ(lastError(), 1006);
}

TEST_F(GridTest, RowCountLimits) {
    GrdRows(kField, 20);
    EXPECT_EQ(lastError(), 1018);
    EXPECT_EQ(GridInfo(kField, 3), 10);
    clearError();
    GrdRows(kField, 0);
    EXPECT_EQ(lastError(), 1018);
    EXPECT_EQ(GridInfo(kField, 3), 10);
    GrdSetCell(kField, 2, 9);
    GrdRows(kField, 4);
    EXPECT_EQ(GridInfo(kField, 3), 4);
    EXPECT_EQ(GridInfo(kField, 5), 4);  // the current cell followed to the last row
    EXPECT_EQ(grid.lastCellRef, GridCellRef(2, 4));
}

TEST_F(GridTest, RealPutWithFormatReformatsTheColumn) {
    GrdPutCellReal(kField, 3, 1, 1.0f);
    GrdPutCellReal(kField, 3, 2, 3.14159f, "(F8.2)");
    EXPECT_EQ(cellString(3, 1), "1.00");
    EXPECT_EQ(cellString(3, 2), "3.14");
    GrdPutCellInteger(kField, 2, 1, 5);  // the integer entry keeps the column formats
    EXPECT_EQ(GridColumnFormatGet(kField, 2), "(F8.2)");
}

TEST_F(GridTest, CellPutStoresNumbersByKind) {
    struct Case {
        int column;
        double value;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {{1, 2.9, "2.9", "2"},
                          {1, -2.9, "x", "-2"},
                          {1, 0.0, "12", "12"},
                          {3, 0.0, " 7.5 ", "7.5000"}};
    for (const Case& c : cases) {
        int f = kField;
        GridCellPut(f, c.column, 0, c.value, c.text, "");
        EXPECT_EQ(f, kField);
        std::string t;
        GridCellTextGet(f, c.column, 0, t);
        EXPECT_EQ(t, c.shown) << c.text;
    }
    // An empty text leaves the cell without a value.
    int f = kField;
    GridCellPut(f, 1, 0, 5.0, "", "");
    double v = 0.0;
    GridCellNumberGet(f, 1, 0, v);
    EXPECT_EQ(f, kNoValue);
    // Texts are cut to the column's length.
    f = kField;
    GridCellPut(f, 0, 0, 0.0, "abcdefghijk", "");
    EXPECT_EQ(cellString(1, 1), "abcdefgh");
    EXPECT_EQ(GridInfo(kField, 6), 0);  // changed
}

TEST_F(GridTest, ClearModesAndOptionsByText) {
    int f = kField;
    GridClearCellInternal(f, 5, 7, 1);
    EXPECT_EQ(f, kBadIndex);
    f = kField;
    GridOptionPut(f, 5, 7, 3);
    EXPECT_EQ(f, kBadIndex);  // beyond the rows in use
    f = kField;
    GrdPutCellOption(kField, 6, 2, 3);
    GridClearCellInternal(f, 5, 1, 2);
    int option = 0;
    GrdGetCellMenu(kField, 6, 2, option);
    EXPECT_EQ(option, 1);
    GrdPutCellOption(kField, 6, 2, 0);
    GrdGetCellMenu(kField, 6, 2, option);
    EXPECT_EQ(option, 0);
    int notFound = -1;
    GridOptionPutByText(f, 5, 2, notFound, "GREEN");
    GrdGetCellMenu(kField, 6, 3, option);
    EXPECT_EQ(notFound, 0);
    EXPECT_EQ(option, 2);
    GridOptionPutByText(f, 5, 2, notFound, "Purple");
    GrdGetCellMenu(kField, 6, 3, option);
    EXPECT_EQ(notFound, 1);
    EXPECT_EQ(option, 1);
    // Clearing everything with options leaves menus without options; locks stay.
    GridCellLockSet(f, 0, 1, 0);
    GridClearAll(grid, true);
    EXPECT_TRUE(grid.columns[5].settings.options.empty());
    EXPECT_TRUE(grid.columns[0].flags[1] & CellLocked);
}

TEST_F(GridTest, InformationAndReferences) {
    int column = 0, row = 0;
    GridCellRefSplit(0x40001, column, row);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 1);
    GridCellRefSplit(GridCellRef(300, 70000), column, row);
    EXPECT_EQ(column, 300);
    EXPECT_EQ(row, 70000);
    EXPECT_EQ(InfoGridCell(kField, 4, 1, 2), 7);
    EXPECT_EQ(InfoGridCell(kField, 6, 1, 2), 11);
    EXPECT_EQ(InfoGridCell(kField, 3, 1, 1), 0);
    GrdPutCellReal(kField, 3, 1, 0.0f);
    EXPECT_EQ(InfoGridCell(kField, 3, 1, 1), 1);
    EXPECT_EQ(GridInfo(kField, 6), 0);
    EXPECT_EQ(GridInfo(kField, 10), 0);  // no selection
    int f = kField;
    GridSelectRange(f, 1, 1, 2, 3);
    EXPECT_EQ(GridInfo(kField, 10), 2);
    EXPECT_EQ(GridInfo(kField, 13), 4);
    GrdLabelColumn(kField, 0, "Row  ");
    EXPECT_EQ(GridColumnLabelGet(kField, 0), "Row");
    EXPECT_EQ(GridColumnLabelGet(kField, 5), "Free?");
}

TEST_F(GridTest, ColoursFallBackAndReset) {
    grid.columns[1].settings.textColour = 0x0000FF;
    grid.backgroundColour = 0x00FF00;
    int fg[3], bg[3];
    GridCellColourGet(kField, 1, 0, fg, bg);
    EXPECT_EQ(fg[0], 255);
    EXPECT_EQ(bg[1], 255);
    const int blue[3] = {0, 0, 255}, keep[3] = {-1, 0, 0}, reset[3] = {256, 0, 0};
    int f = kField;
    GridCellColourSet(f, 1, 0, blue, keep);
    GridCellColourGet(kField, 1, 0, fg, bg);
    EXPECT_EQ(fg[2], 255);
    GridCellColourSet(f, 1, 0, reset, keep);
    GridCellColourGet(kField, 1, 0, fg, bg);
    EXPECT_EQ(fg[0], -1);  // unset in the cell, and the grid has no colour
    EXPECT_EQ(bg[1], 255);
    int range = kField;
    GridValueRangeCheck(range, 3, 1.0e6);  // no range on the double column
    EXPECT_EQ(range, kField);
}

}  // namespace
}  // namespace tk::test
