#include "util/dialog_wrappers.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_record.h"

namespace util {
namespace {

// A windowless grid of one real column over five rows, field 100 of the
// current dialog 1.
class GridWrappersTest : public ::testing::Test {
  protected:
    static constexpr int kGrid = 100;
    tk::GridRecord grid;

    void SetUp() override {
        tk::toolkitState().reset();
        tk::gridLookupReset();
        tk::GridRedrawEnabled() = 1;
        tk::toolkitState().CurrentDialogNumber = 1;
        tk::GridColumnSpec real;
        real.kind = tk::KindReal;
        real.settings.label = "Value";
        real.settings.className = "REALEDIT";
        grid.fieldId = kGrid;
        grid.dialogId = 1;
        tk::GridDefineColumns(grid, {real}, 5);
        grid.rowCount = 5;
        tk::gridLookupRegister(1, kGrid, &grid);
    }
    void TearDown() override {
        tk::gridLookupReset();
        tk::toolkitState().reset();
    }
    bool filled(int row) { return tk::InfoGridCell(kGrid, 1, row, 1) > 0; }
    std::string text(int row) {
        std::array<char, 20> t{};
        t.fill(' ');
        tk::GrdGetCellString(kGrid, 1, row, t);
        std::string s(t.data(), t.size());
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
};

TEST_F(GridWrappersTest, MissingValuesStayEmptyAndReadBackAsMissing) {
    const std::vector<float> full{4.0f, 5.0f, 6.0f, 7.0f, 8.0f};
    VRGRIDPUTREAL(kGrid, 1, full, 5);
    const std::vector<float> gaps{1.0f, kMissingValue, 2.0f};
    // Row by row: the rows after n keep what they held.
    VRGRIDPUTREAL(kGrid, 1, gaps, 3);
    EXPECT_TRUE(filled(1));
    EXPECT_FALSE(filled(2));
    EXPECT_TRUE(filled(3));
    EXPECT_TRUE(filled(4));
    std::vector<float> back(5, 0.0f);
    VRGRIDGETREAL(kGrid, 1, back, 5);
    EXPECT_EQ(back, (std::vector<float>{1.0f, kMissingValue, 2.0f, 7.0f, 8.0f}));
    EXPECT_EQ(tk::toolkitState().LastErrorNumber, 0);  // the empty cell is no error
    // At once: the rows after n are emptied.
    VRGRIDPUTREALF(kGrid, 1, full, 2, "(F8.2)");
    EXPECT_EQ(text(2), "5.00");
    EXPECT_FALSE(filled(3));
    EXPECT_FALSE(filled(5));
}

TEST_F(GridWrappersTest, LastFilledRowFromTheTopAndFromTheBottom) {
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, false), 0);
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, true), 0);
    VRGRIDPUTREAL(kGrid, 1, std::vector<float>{1.0f, kMissingValue, 3.0f}, 3);
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, false), 1);
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, true), 3);
    VRGRIDPUTREAL(kGrid, 1, std::vector<float>{1.0f, 2.0f, 3.0f}, 3);
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, false), 3);
    EXPECT_EQ(VRINFOGRIDCELLS(kGrid, 1, 5, true), 3);
}

TEST_F(GridWrappersTest, CellsByMagnitude) {
    VRGRIDPUTREALG(kGrid, 1, std::vector<float>{10000.0f, kMissingValue, -0.05f}, 3);
    float v = 0.0f;
    VRGRIDGETCELLREAL(kGrid, 1, 1, v);
    EXPECT_FLOAT_EQ(v, 10000.0f);
    VRGRIDGETCELLREAL(kGrid, 1, 2, v);
    EXPECT_EQ(v, kMissingValue);
    VRGRIDGETCELLREAL(kGrid, 1, 3, v);
    EXPECT_FLOAT_EQ(v, -0.05f);
}

TEST_F(GridWrappersTest, OneCellIsWrittenInTheFormatOfItsMagnitude) {
    struct Case {
        float v;
        std::string text;
    };
    const Case cases[] = {
        {10000.0f, "10000.0"},
        {12345.0f, "12345."},
        {50.0f, "50.000"},
        {-0.05f, "-5.0E-02"},
    };
    for (const Case& c : cases) {
        VRGRIDPUTCELLREAL(kGrid, 1, 2, c.v);
        EXPECT_EQ(text(2), c.text) << c.v;
    }
    EXPECT_FALSE(filled(1));  // only the one cell
}

TEST(RealFormats, ByMagnitudeInCellsAndFields) {
    struct Case {
        float v;
        std::string_view cell, field;
    };
    const Case cases[] = {
        {0.0f, "(F8.0)", "(F9.0)"},         {100000.0f, "(F8.0)", "(F9.0)"},
        {99999.0f, "(F8.0)", "(F8.0)"},     {10000.5f, "(F8.0)", "(F8.0)"},
        {10000.0f, "(F8.1)", "(F8.0)"},     {-1000.0f, "(F8.2)", "(F8.1)"},
        {100.0f, "(F8.3)", "(F8.2)"},       {10.0f, "(F8.4)", "(F8.3)"},
        {1.0f, "(F8.5)", "(F8.4)"},         {0.1f, "(1PE8.1)", "(F8.5)"},
        {-0.05f, "(1PE8.1)", "(1PE8.1)"},   {-1.0E20f, "(F8.0)", "(F9.0)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellRealFormat(c.v), c.cell) << c.v;
        EXPECT_EQ(fieldRealFormat(c.v), c.field) << c.v;
    }
}

TEST(PutDialogString, PutsTheFirstCharactersOrOneBlank) {
    std::map<int, std::string> fields;
    const FieldPut put = [&](int f, std::string_view t) { fields[f] = std::string(t); };
    PUTDLGSTRING(1043, "line one\r\nline two", 8, put);
    EXPECT_EQ(fields[1043], "line one");
    PUTDLGSTRING(1043, "anything", 0, put);
    EXPECT_EQ(fields[1043], " ");
}

}  // namespace
}  // namespace util
