#include "toolkit/editors/grid_editor_commands.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/gdi/printing.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_rows.h"
#include "toolkit/dialogs/grid_sort.h"
#include "toolkit/dialogs/modal_state.h"
#include "toolkit/editors/grid_editor_command_frame.h"
#include "toolkit/editors/grid_print.h"

namespace tk {
namespace {

constexpr int kOk = 1, kCancel = 2;

std::string fieldText(int field, std::size_t size) {
    std::vector<char> buffer(size, ' ');
    DlgGetString(field, buffer);
    return std::string(trimRight(std::string_view(buffer.data(), buffer.size())));
}

int checkBox(int field) {
    int state = 0;
    DlgGetCheckBox(field, state);
    return state;
}

bool radio(int field) {
    return checkBox(field) == 1;
}

// Shows the loaded dialog semi-modeless near the window and takes events
// until a push button; answers the button. `stay` may keep the dialog up
// for a button (it answers true to go on waiting).
template <typename Stay>
int waitForButton(int window, int focusField, Stay stay) {
    int freeze = 0;
    FreezeWindowContents(1, -1, freeze);
    DialogShowNearWindow(focusField, 3, window);
    int button = 0;
    for (;;) {
        int type = 0;
        EventRecord e{};
        EventWait(type, e);
        if (type != PushButton) continue;
        button = e[1];
        if (!stay(button)) break;
    }
    DlgHide();
    FreezeWindowContents(0, -1, freeze);
    return button;
}

// Empties every cell of a row (menu cells take their first option).
void emptyRow(int row, int rowLabelsMove) {
    const int columns = GridInfo(0, 1);
    for (int c = 1; c <= columns; ++c) {
        int type = 0, f = 0;
        GridColumnType(f, c, type);
        if (type == CellMenu)
            GrdPutCellOption(0, c, row, 1);
        else
            GrdClearCell(0, c, row);
    }
    if (rowLabelsMove) GrdLabelRow(0, row, "");
}

void gotoLine(int mode, int columns, int rows, int& column, int& row) {
    DlgTitle(mode == 3 ? "Goto Column" : "Goto Row");
    DlgPutString(1001, mode == 3 ? "&Column" : "&Row");
    DlgPutInteger(1002, mode == 3 ? column : row);
    DlgRangeInteger(1002, 1, mode == 3 ? columns : rows);
    DlgShow(-1, -1, 0, 1);
    if (DialogInfoQuery(1) != kOk) return;
    DlgGetInteger(1002, mode == 3 ? column : row);
}

}  // namespace

GridEditorRemembered& gridEditorRemembered() {
    static GridEditorRemembered remembered;
    return remembered;
}

void GridEditorGoto(int window, int mode) {
    GridCommandFrame frame(window);
    const int columns = GridInfo(0, 1), rows = GridInfo(0, 3);
    int column = GridInfo(0, 4), row = GridInfo(0, 5);
    if (mode == 2 || mode == 3) {
        if (!frame.loadDialog(kGridGotoLineDialog)) return;
        gotoLine(mode, columns, rows, column, row);
    } else {
        if (!frame.loadDialog(kGridGotoCellDialog)) return;
        DlgPutInteger(1002, column);
        DlgRangeInteger(1002, 1, columns);
        DlgPutInteger(1004, row);
        DlgRangeInteger(1004, 1, rows);
        DlgShow(-1, -1, 0, 1);
        if (DialogInfoQuery(1) == kOk) {
            DlgGetInteger(1002, column);
            DlgGetInteger(1004, row);
        }
    }
    GrdSetCell(0, std::clamp(column, 1, std::max(columns, 1)), std::clamp(row, 1, std::max(rows, 1)));
}

void GridEditorFind(int window, int mode, int& matchCase, int& numeric, std::string& findText) {
    GridCommandFrame frame(window);
    bool text = false, number = false;
    for (int c = 1; c <= GridInfo(0, 1); ++c) {
        int type = 0, f = 0;
        GridColumnType(f, c, type);
        text = text || type == CellText;
        number = number || type == CellInteger || type == CellReal || type == CellDouble;
    }
    if (!text && !number) {
        gridCommandBox(0, 3, "Grid contains no searchable columns", "Find");
        return;
    }
    if (!text) numeric = 1;
    if (mode == 1) {
        if (!frame.loadDialog(kGridFindDialog)) return;
        DlgPutString(1002, findText);
        DlgPutCheckBox(1003, matchCase);
        DlgPutCheckBox(1004, numeric);
        DlgFieldState(1004, text && number ? 1 : 3);
        const int button = waitForButton(window, 1002, [](int b) {
            if (b == kOk && isBlankText(fieldText(1002, 1024))) {
                BeepSwitch(" ");
                return true;
            }
            return b != kOk && b != kCancel;
        });
        if (button != kOk) return;
        findText = fieldText(1002, 1024);
        matchCase = checkBox(1003);
        if (text && number) numeric = checkBox(1004);
    }
    bool found = false;
    frame.clearError();
    GrdFind(0, findText, 1 + (matchCase ? 0 : 2) + (numeric ? 4 : 0), &found);
    if (!found) gridCommandBox(0, 4, "End of grid reached", "Find");
}

void GridEditorSort(int window, int rowLabelsMove, int& status) {
    status = 0;
    GridCommandFrame frame(window);
    const int columns = GridInfo(0, 1);
    std::vector<std::string> labels;
    for (int c = 1; c <= columns; ++c) {
        std::string label(trimBoth(GridColumnLabelGet(0, c)));
        labels.push_back(label.empty() ? "Column " + std::to_string(c) : label.substr(0, 50));
    }
    if (!frame.loadDialog(kGridSortDialog)) return;
    GridEditorRemembered& m = gridEditorRemembered();
    DlgPutMenu(1002, labels, columns, GridInfo(0, 4));
    DlgPutRadioButton(m.sortDescending ? 1005 : 1004);
    DlgPutCheckBox(1006, m.sortMatchCase);
    DlgShow(-1, -1, 0, 1);
    if (DialogInfoQuery(1) != kOk) return;
    status = 1;
    int column = 1;
    DlgGetMenu(1002, column);
    m.sortDescending = radio(1005) ? 1 : 0;
    m.sortMatchCase = checkBox(1006);
    frame.clearError();
    GrdSort(0, std::max(column, 1),
            (m.sortDescending ? 1 : 0) + (m.sortMatchCase ? 0 : 2) + (rowLabelsMove ? 4 : 0), 1,
            GridInfo(0, 3));
}

void GridEditorInsertRow(int window, int rowLabelsMove, int rowsFollow, int after) {
    GridCommandFrame frame(window);
    const int row = GridInfo(0, 5), rows = GridInfo(0, 3);
    frame.clearError();
    if (row == rows && after) {
        if (!rowsFollow) return;
        GrdRows(0, rows + 1);
        emptyRow(rows + 1, rowLabelsMove);
        return;
    }
    GrdInsertRows(0, row + after, 1, rowsFollow, rowLabelsMove);
}

void GridEditorDeleteRow(int window, int rowLabelsMove, int rowsFollow) {
    GridCommandFrame frame(window);
    frame.clearError();
    if (GridInfo(0, 3) == 1 && rowsFollow) {
        emptyRow(1, rowLabelsMove);
        return;
    }
    GrdDeleteRows(0, GridInfo(0, 5), 1, rowsFollow, rowLabelsMove);
}

void GridEditorPrint(int window, int firstRow, int lastRow, int firstColumn, int lastColumn,
                     int& status) {
    status = 0;
    GridCommandFrame frame(window);
    if (win::defaultPrinter().device.empty()) {
        gridCommandBox(0, 1, "No printer installed", "Error");
        return;
    }
    if (!frame.loadDialog(kGridPrintDialog)) return;
    std::array<int, 5> o{};
    int scale = 100;
    GridPrintOptionsGet(o[0], o[1], o[2], o[3], o[4], scale, 2);
    DlgPutCheckBox(1002, o[0]);
    DlgPutCheckBox(1003, o[1]);
    DlgPutRadioButton(o[2] ? 1006 : 1005);
    DlgPutRadioButton(o[4] ? 1010 : o[3] ? 1009 : 1008);
    DlgPutInteger(1012, scale);
    const int button = waitForButton(window, 0, [](int b) {
        if (b == 1014) {
            GridPageSetup(-1, 2);
            return true;
        }
        return b != kOk && b != kCancel;
    });
    if (button != kOk) return;
    o[0] = checkBox(1002);
    o[1] = checkBox(1003);
    o[2] = radio(1006) ? 1 : 0;
    o[3] = radio(1008) ? 0 : 1;
    o[4] = radio(1010) ? 1 : 0;
    DlgGetInteger(1012, scale);
    GridPrintOptionsSet(o[0], o[1], o[2], o[3], o[4], scale, 2);
    frame.unloadDialog();
    GridPrint(0, status, firstRow, lastRow, firstColumn, lastColumn, 2, "");
}

}  // namespace tk
