// The cell and row operations the grid editors share, on a windowless grid
// of a number column, a real column and a check-box column over ten rows.

#include "shell/grid_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_record.h"
#include "util/dialog_wrappers.h"

namespace shell {
namespace {

constexpr int kGrid = 100, kRows = 10;
constexpr int kNo = 1, kValue = 2, kCheck = 3;

tk::GridColumnSpec column(int kind, const char* label, const char* cls) {
    tk::GridColumnSpec c;
    c.kind = kind;
    c.settings.label = label;
    c.settings.className = cls;
    return c;
}

class GridEditingTest : public ::testing::Test {
  protected:
    tk::GridRecord record;
    EditorGrid grid;

    void SetUp() override {
        tk::toolkitState().reset();
        tk::gridLookupReset();
        tk::GridRedrawEnabled() = 1;
        tk::toolkitState().CurrentDialogNumber = 1;
        record.fieldId = kGrid;
        record.dialogId = 1;
        tk::GridDefineColumns(record,
                              {column(tk::KindInteger, "No.", "INTEGEREDIT"),
                               column(tk::KindReal, "Value", "REALEDIT"),
                               column(tk::KindCheckBox, "Mask?", "BUTTON")},
                              kRows);
        record.rowCount = kRows;
        tk::gridLookupRegister(1, kGrid, &record);
        grid.field = kGrid;
        grid.capacity = kRows;
        grid.kinds = {CellKind::Number, CellKind::Real, CellKind::Check};
        win::testing::resetMessageBoxes();
    }
    void TearDown() override {
        tk::gridLookupReset();
        tk::toolkitState().reset();
    }

    // Values 1..n in rows 1..n, and marks on the rows listed.
    void fill(int n, const std::vector<int>& marked = {}) {
        std::vector<float> v;
        for (int i = 1; i <= n; ++i)
            v.push_back(static_cast<float>(i));
        util::VRGRIDPUTREAL(kGrid, kValue, v, n);
        std::vector<int> states(kRows, 0);
        for (int r : marked)
            states[static_cast<std::size_t>(r - 1)] = 1;
        tk::GrdPutCheckBox(kGrid, kCheck, states, kRows);
    }
    // The value column as text, "-" for an empty cell.
    std::string values() {
        std::vector<float> v(kRows, 0.0f);
        util::VRGRIDGETREAL(kGrid, kValue, v, kRows);
        std::string out;
        for (float x : v)
            out += x > util::kMissingAbove ? "-" : std::to_string(static_cast<int>(x));
        return out;
    }
    std::string marks() {
        std::vector<int> s(kRows, 0);
        int n = kRows;
        tk::GridColumnGetCheckBox(kGrid, kCheck, s, n);
        std::string out;
        for (int x : s)
            out += x > 0 ? "x" : ".";
        return out;
    }
    void at(int c, int r) {
        grid.column = c;
        grid.row = r;
    }
};

TEST_F(GridEditingTest, CellsAndRowsMoveWithinTheFilledRows) {
    enum Op { InsertCell, DeleteCell, InsertRow, DeleteRow };
    struct Case {
        const char* what;
        Op op;
        int column, row, filled;
        std::string values, marks;
    };
    // Marks start on rows 2 and 5.
    const Case cases[] = {
        {"a cell inserted keeps a copy", InsertCell, kValue, 5, 8, "123455678-", ".x..x....."},
        {"a cell deleted closes the gap", DeleteCell, kValue, 3, 8, "1245678---", ".x..x....."},
        {"the last filled cell deleted", DeleteCell, kValue, 8, 8, "1234567---", ".x..x....."},
        {"a cell below the values", InsertCell, kValue, 9, 8, "12345678--", ".x..x....."},
        {"an inserted mark is unchecked", InsertCell, kCheck, 2, 3, "123-------", "..x..x...."},
        {"a mark deleted", DeleteCell, kCheck, 2, 3, "123-------", "...x......"},
        {"a row inserted copies both", InsertRow, 0, 2, 3, "1223------", ".xx..x...."},
        {"a row deleted", DeleteRow, 0, 2, 3, "13--------", "...x......"},
        {"the last row is left alone", InsertRow, 0, kRows, 3, "123-------", ".x..x....."},
        {"the last row is left alone", DeleteCell, kValue, kRows, 3, "123-------", ".x..x....."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(c.filled, {2, 5});
        at(c.column, c.row);
        switch (c.op) {
            case InsertCell:
                insertCell(grid);
                break;
            case DeleteCell:
                deleteCell(grid);
                break;
            case InsertRow:
                insertRow(grid, kValue, kCheck);
                break;
            case DeleteRow:
                deleteRow(grid, kValue, kCheck);
                break;
        }
        EXPECT_EQ(values(), c.values);
        EXPECT_EQ(marks(), c.marks);
    }
    EXPECT_FALSE(win::testing::lastMessageBox());
}

TEST_F(GridEditingTest, TheNumberColumnRefusesCellOperations) {
    fill(3);
    at(kNo, 2);
    win::testing::queueMessageBoxAnswer(1);
    insertCell(grid);
    ASSERT_TRUE(win::testing::lastMessageBox());
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Must be inside data grid to insert cell");
    EXPECT_EQ(values(), "123-------");
}

TEST_F(GridEditingTest, ArithmeticSkipsMissingValuesAndAnEmptyColumn) {
    changeColumn(grid, kValue, 1, kRows, grid.lastFilledRow(kValue), 2.0f, true);
    EXPECT_EQ(values(), "----------");
    util::VRGRIDPUTREAL(kGrid, kValue, std::vector<float>{1.0f, util::kMissingValue, 3.0f, 4.0f},
                        4);
    changeColumn(grid, kValue, 2, 4, 4, 10.0f, false);
    EXPECT_EQ(values(), "1-1314------");
}

}  // namespace
}  // namespace shell
