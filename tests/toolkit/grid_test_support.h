#pragma once
// A small grid without windows for the storage tests: six columns (text of
// 8 characters, integer, real with range 0-10, double, check box, menu with
// Red/Green/Blue), 10 allocated rows of which 5 are in use, field 100 of
// dialog 1, which is current.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_record.h"

namespace tk::test {

inline GridColumnSpec columnSpec(int kind, std::string label, std::string className = "") {
    GridColumnSpec s;
    s.kind = kind;
    s.settings.label = std::move(label);
    s.settings.className = std::move(className);
    return s;
}

class GridTest : public CoreTest {
  protected:
    static constexpr int kField = 100;
    GridRecord grid;

    void SetUp() override {
        CoreTest::SetUp();
        resetEventQueue();
        gridLookupReset();
        GridRedrawEnabled() = 1;
        toolkitState().CurrentDialogNumber = 1;
        define(GRS_HEADER | GRS_ROWLABELS);
    }
    void TearDown() override {
        gridLookupReset();
        CoreTest::TearDown();
    }

    void define(int style, int capacity = 10, int rows = 5) {
        grid.style = style;
        grid.fieldId = kField;
        grid.dialogId = 1;
        std::vector<GridColumnSpec> specs;
        auto text = columnSpec(KindText, "Name", "EDIT");
        text.settings.maxLength = 8;
        specs.push_back(text);
        specs.push_back(columnSpec(KindInteger, "Count", "INTEGEREDIT"));
        auto real = columnSpec(KindReal, "Value", "REALEDIT");
        real.settings.minimum = 0.0;
        real.settings.maximum = 10.0;
        specs.push_back(real);
        specs.push_back(columnSpec(KindDouble, "Depth", "DOUBLEEDIT"));
        specs.push_back(columnSpec(KindCheckBox, "Free?", "BUTTON"));
        auto menu = columnSpec(KindMenu, "Colour", "COMBOBOX");
        menu.settings.options = {"Red", "Green", "Blue"};
        specs.push_back(menu);
        GridDefineColumns(grid, specs, capacity);
        grid.rowCount = rows;
        gridLookupRegister(1, kField, &grid);
    }

    static int lastError() { return toolkitState().LastErrorNumber; }
    static void clearError() { toolkitState().LastErrorNumber = 0; }

    std::string cellString(int column, int row, std::size_t width = 20) {
        std::string buffer(width, '#');
        GrdGetCellString(kField, column, row, buffer);
        return trimmed(buffer);
    }
    float real(int column, int row) {
        float v = 12345.0f;
        GrdGetCellReal(kField, column, row, v);
        return v;
    }
};

}  // namespace tk::test
