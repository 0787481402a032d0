// The grid as windows on the headless desktop: painting, the in-place editor
// and its keys, the mouse, scrolling and the clipboard, driven by the robot.

#include <gtest/gtest.h>

#include <filesystem>

#include "core_test_support.h"
#include "platform/controls/controls_api.h"
#include "platform/gdi/gdi.h"
#include "platform/robot/robot.h"
#include "platform/robot/screenshot.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/clock.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "platform/window/window_system.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_check_glyph.h"
#include "toolkit/dialogs/grid_clipboard.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_print_defaults.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/grid_rows.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_sort.h"
#include "toolkit/dialogs/grid_template.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/dialogs/numeric_edit.h"

namespace tk::test {
namespace {

using namespace win;

constexpr int kGridId = 100;

LRESULT hostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

std::string clipboard() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE d = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(d));
            GlobalUnlock(d);
        }
        CloseClipboard();
    }
    return text;
}

void setClipboard(const std::string& text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

class GridWindowTest : public ::testing::Test {
  protected:
    FakeClock clock;
    HWND host = nullptr;
    HWND gridWindow = nullptr;
    GridRecord* g = nullptr;

    void SetUp() override {
        resetWindowSystem();
        robot::stop();
        setClock(&clock);
        toolkitState().reset();
        resetEventQueue();
        gridLookupReset();
        GridRedrawEnabled() = 1;
        GridClassRegister(nullptr);
        WNDCLASSA wc;
        wc.lpfnWndProc = hostProc;
        wc.lpszClassName = "GRIDHOST";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_BTNFACE + 1));
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "GRIDHOST", "Grid",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 420, 300,
                               nullptr, nullptr, nullptr, nullptr);
        toolkitState().CurrentDialogNumber = 1;
    }
    void TearDown() override {
        EXPECT_EQ(robot::stop(), 0u) << "robot steps were never played";
        if (host) DestroyWindow(host);
        gridLookupReset();
        resetWindowSystem();
        setClock(nullptr);
    }

    void makeGrid(int style, int rows = 20) {
        gridWindow = CreateWindowExA(
            0, "VORARIZ", "",
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | static_cast<DWORD>(style), 10, 10, 380,
            200, host, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kGridId)), nullptr,
            nullptr);
        ASSERT_TRUE(gridWindow);
        std::vector<GridColumnSpec> specs(4);
        specs[0].kind = KindText;
        specs[0].width = 90;
        specs[0].settings.label = "Name";
        specs[1].kind = KindInteger;
        specs[1].width = 70;
        specs[1].settings.label = "Count";
        specs[1].settings.alignment = 2;
        specs[2].kind = KindCheckBox;
        specs[2].width = 50;
        specs[2].settings.label = "Free?";
        specs[3].kind = KindMenu;
        specs[3].width = 90;
        specs[3].settings.label = "Colour";
        specs[3].settings.options = {"Red", "Green", "Blue"};
        GridDefineColumnsInWindow(gridWindow, specs, rows, 40);
        g = gridRecordOfWindow(gridWindow);
        ASSERT_TRUE(g);
        gridLookupRegister(1, kGridId, g);
    }
    HWND editor() const { return g->editor ? g->editor->window() : nullptr; }
    void pump() {
        MSG m;
        for (;;) {
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
            if (!robot::step()) break;
        }
    }
    std::string cell(int column, int row) {
        std::string text(30, ' ');
        GrdGetCellString(kGridId, column, row, text);
        return trimmed(text);
    }
    // A client point of the cell area over a cell (0-based, visible).
    POINT cellPoint(int column, int row) {
        int x = 1;
        for (int c = g->firstColumn; c < column; ++c)
            x += g->columns[static_cast<std::size_t>(c)].width - 1;
        POINT p{x + 5, (row - g->firstRow) * (g->rowHeight - 1) + 4};
        return p;
    }
};

TEST_F(GridWindowTest, TypingAndMovingKeysCommitTheEditor) {
    makeGrid(GRS_HEADER | GRS_ROWLABELS | GRS_TABCELLS | GRS_WRAP);
    robot::Script s;
    s.check([&] { SetFocus(gridWindow); });
    s.text("hello").key(VK_TAB).text("42").key(VK_DOWN);
    s.check([&] {
        EXPECT_EQ(cell(1, 1), "hello");
        EXPECT_EQ(cell(2, 1), "42");
        EXPECT_EQ(GridInfo(kGridId, 4), 2);
        EXPECT_EQ(GridInfo(kGridId, 5), 2);
        EXPECT_EQ(GetFocus(), editor());
    });
    // Tab at the last column wraps to the next row; Shift+Tab goes back.
    s.key(VK_TAB).key(VK_TAB).key(VK_TAB);
    s.check([&] {
        EXPECT_EQ(GridInfo(kGridId, 4), 1);
        EXPECT_EQ(GridInfo(kGridId, 5), 3);
    });
    s.chord({VK_SHIFT, VK_TAB});
    s.check([&] {
        EXPECT_EQ(GridInfo(kGridId, 4), 4);
        EXPECT_EQ(GridInfo(kGridId, 5), 2);
    });
    // Shift+Down extends a selection; Shift+Up back to the anchor removes it.
    s.chord({VK_SHIFT, VK_DOWN}).chord({VK_SHIFT, VK_DOWN});
    s.check([&] {
        EXPECT_EQ(GridInfo(kGridId, 11), 2);
        EXPECT_EQ(GridInfo(kGridId, 13), 4);
        EXPECT_EQ(GridInfo(kGridId, 10), 4);
    });
    s.chord({VK_SHIFT, VK_UP}).chord({VK_SHIFT, VK_UP});
    s.check([&] { EXPECT_EQ(GridInfo(kGridId, 10), 0); });
    // Space toggles the check box of the current cell.
    s.key(VK_LEFT).key(VK_SPACE).key(VK_UP);
    s.check([&] {
        int state = 0;
        GrdGetCellCheckBox(kGridId, 3, 2, state);
        EXPECT_EQ(state, 1);
    });
    robot::play(std::move(s));
    pump();
    EXPECT_FALSE(robot::playing());
}

TEST_F(GridWindowTest, PutsReachTheOpenEditorAndReadsSeeItsText) {
    makeGrid(GRS_HEADER);
    GrdPutCellInteger(kGridId, 1, 1, 7);  // a number into the text column, under the editor
    EXPECT_EQ(g->editor->text(), "7");
    SetFocus(gridWindow);
    SendMessageA(editor(), EM_SETSEL, 1, 1);
    SendMessageA(editor(), WM_CHAR, 'x', 0);
    EXPECT_EQ(cell(1, 1), "7x");  // the live editor text, before it is stored
    GrdSetCell(kGridId, 2, 3);
    EXPECT_EQ(g->columns[0].texts[0], "7x");
    SendMessageA(editor(), WM_CHAR, '5', 0);
    int v = 0;
    GrdGetCellInteger(kGridId, 2, 3, v);
    EXPECT_EQ(v, 5);
    // Sorting the rows keeps the typed, unstored number with its row.
    GrdPutCellInteger(kGridId, 2, 1, 9);
    GrdSort(kGridId, 2, 1);
    GrdGetCellInteger(kGridId, 2, 1, v);
    EXPECT_EQ(v, 9);
    GrdGetCellInteger(kGridId, 2, 2, v);
    EXPECT_EQ(v, 5);
}

TEST_F(GridWindowTest, ClickMovesTheCurrentCellAndShiftClickSelects) {
    makeGrid(GRS_HEADER | GRS_SELECTEVENTS);
    EventTypeEnable(FieldChanged, 1);
    const POINT p = cellPoint(1, 2);
    SendMessageA(g->cellArea, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    SendMessageA(g->cellArea, WM_LBUTTONUP, 0,
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    EXPECT_EQ(GridInfo(kGridId, 4), 2);
    EXPECT_EQ(GridInfo(kGridId, 5), 3);
    EXPECT_EQ(GetFocus(), editor());
    const POINT q = cellPoint(3, 4);
    SendMessageA(g->cellArea, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT,
                 MAKELPARAM(static_cast<WORD>(q.x), static_cast<WORD>(q.y)));
    EXPECT_EQ(GridInfo(kGridId, 10), 2);
    EXPECT_EQ(GridInfo(kGridId, 12), 4);
    EXPECT_EQ(GridInfo(kGridId, 13), 5);
    // The selection was reported as a FieldChanged event with sub-code 2.
    const StoredEvent& e = eventQueue().current;
    EXPECT_EQ(e.type, FieldChanged);
    EXPECT_EQ(e.values[2], 2);
    EXPECT_EQ(e.x, GridCellRef(2, 3));
    EXPECT_EQ(e.y, GridCellRef(4, 5));
}

TEST_F(GridWindowTest, ScrollingKeepsTheCurrentCellVisible) {
    makeGrid(GRS_HEADER, 100);
    const int visible = g->visibleRows;
    ASSERT_GT(visible, 2);
    SendMessageA(gridWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(GridInfo(kGridId, 9), visible + 1);
    EXPECT_EQ(GridInfo(kGridId, 5), visible + 1);
    SendMessageA(gridWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(GridInfo(kGridId, 9), visible + 3);
    SendMessageA(gridWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    SendMessageA(gridWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(GridInfo(kGridId, 9), visible + 4);
    for (int i = 0; i < 20; ++i)
        SendMessageA(gridWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(GridInfo(kGridId, 9), 100 - visible + 1);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(gridWindow, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 100 - visible);
    EXPECT_EQ(si.nMax, 99);
}

TEST_F(GridWindowTest, CopyAndPasteBlocksAsTabSeparatedText) {
    makeGrid(GRS_HEADER | GRS_CHANGEEVENTS);
    int f = kGridId;
    GridCellPut(f, 0, 0, 0.0, "a", "");
    GrdPutCellInteger(kGridId, 2, 1, 12);
    GrdPutCellCheckBox(kGridId, 3, 1, 1);
    GridCellPut(f, 0, 1, 0.0, "b", "");
    GridSelectRange(f, 0, 0, 2, 1);
    SetFocus(gridWindow);
    SendMessageA(editor(), WM_CHAR, 3, 0);  // Ctrl+C
    EXPECT_EQ(clipboard(), "a\t12\tYes\r\nb\t\tNo\r\n");

    GrdSetCell(kGridId, 3, 4);
    setClipboard("yes\tRe\textra\r\nY\r\n");
    EventTypeEnable(FieldChanged, 1);
    SendMessageA(editor(), WM_CHAR, 22, 0);  // Ctrl+V
    int state = 0, option = 0;
    GrdGetCellCheckBox(kGridId, 3, 4, state);
    GrdGetCellMenu(kGridId, 4, 4, option);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(option, 1);
    GrdGetCellCheckBox(kGridId, 3, 5, state);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(eventQueue().current.values[2], 1);
    EXPECT_EQ(eventQueue().current.y, GridCellRef(4, 5));

    // Numbers are checked: 2.5E1 is no integer, 7.9 stores 7.
    GrdSetCell(kGridId, 2, 6);
    setClipboard("7.9\r\n2.5E1\r\n");
    SendMessageA(editor(), WM_CHAR, 22, 0);
    EXPECT_EQ(cell(2, 6), "7");
    EXPECT_EQ(cell(2, 7), "");
    // Delete clears a selected block; Ctrl+X cuts it.
    GridSelectRange(f, 1, 5, 1, 5);
    SendMessageA(editor(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(cell(2, 6), "");
}

TEST_F(GridWindowTest, PaintedGridShowsLinesTextAndSelection) {
    makeGrid(GRS_HEADER | GRS_ROWLABELS);
    int f = kGridId;
    GridCellPut(f, 0, 0, 0.0, "Alpha", "");
    GrdPutCellInteger(kGridId, 2, 2, 1234);
    GrdPutCellCheckBox(kGridId, 3, 2, 1);
    GrdPutCellOption(kGridId, 4, 3, 2);
    GrdLabelRow(kGridId, 1, "one");
    GrdSetCell(kGridId, 1, 4);
    SetFocus(gridWindow);
    GridSelectRange(f, 1, 4, 2, 5);
    pump();
    HDC dc = GetDC(g->cellArea);
    EXPECT_EQ(GetPixel(dc, 0, 5), RGB(0, 0, 0));                  // the left grid line
    EXPECT_EQ(GetPixel(dc, 30, g->rowHeight - 1), RGB(0, 0, 0));  // the line under row 1
    const POINT sel = cellPoint(2, 4);
    EXPECT_EQ(GetPixel(dc, sel.x + 40, sel.y + 8), GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(g->cellArea, dc);
    TempDir dir;
    ASSERT_TRUE(robot::saveWindowPng(host, dir.file("grid.png")));
    EXPECT_GT(std::filesystem::file_size(dir.file("grid.png")), 500u);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, PrintDefaultsAreReadOnceUntilTheClassesAreRegisteredAgain) {
    gridPrintDefaultsRead() = 0;
    GridPrintDefaults();
    auto& records = gridPageSetupRecords();
    EXPECT_EQ(gridPrintDefaultsRead(), 1);
    for (const PageSetupRecord& r : records) {
        EXPECT_EQ(r.scalePercent, 100);
        EXPECT_EQ(r.pageSetup.lStructSize, 84u);
        EXPECT_EQ(r.printSwitches[0] + r.printSwitches[1] + r.printSwitches[2], 3);
        EXPECT_EQ(r.printSwitches[3], records[0].printSwitches[3]);
        EXPECT_TRUE(r.marginUnits == 4 || r.marginUnits == 8 || r.marginUnits == 0);
    }
    records[1].scalePercent = 50;
    GridPrintDefaults();
    EXPECT_EQ(records[1].scalePercent, 50);  // not asked again
    UnregisterClassA("VORARIZ", nullptr);
    UnregisterClassA("REZODUZIVOVUV", nullptr);
    GridClassRegister(nullptr);
    EXPECT_EQ(gridPrintDefaultsRead(), 0);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, ColumnsComeFromTheTemplateDialogAndTheGridsLine) {
    gridWindow = CreateWindowExA(
        0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | WS_BORDER | GRS_HEADER | GRS_ROWLABELS, 10, 10,
        380, 200, host, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kGridId)), nullptr,
        nullptr);
    const std::string_view line = "4 8 3401\n 30\nfirst\n  second  \n";
    EXPECT_EQ(GridDefineFromTemplate(gridWindow, line), static_cast<int>(line.size()));
    g = gridRecordOfWindow(gridWindow);
    ASSERT_TRUE(g);
    gridLookupRegister(1, kGridId, g);
    EXPECT_EQ(GridInfo(kGridId, 1), 4);
    EXPECT_EQ(GridInfo(kGridId, 2), 8);
    EXPECT_EQ(InfoGridCell(kGridId, 1, 1, 2), 4);
    EXPECT_EQ(InfoGridCell(kGridId, 2, 1, 2), 9);
    EXPECT_EQ(InfoGridCell(kGridId, 3, 1, 2), 11);
    EXPECT_EQ(GridColumnLabelGet(kGridId, 2), "Free?");
    EXPECT_EQ(GridColumnLabelGet(kGridId, 3), "Color");  // the combo's first item
    EXPECT_EQ(GridMenuOptionText(kGridId, 2, 2), "Green");
    EXPECT_EQ(GridRowLabelGet(kGridId, 1), "  second");  // trailing blanks go, leading ones stay
    EXPECT_GT(g->rowLabelWidth, 0);
    // The text column keeps four characters; the read-only template locks its column.
    int f = kGridId;
    GridCellPut(f, 0, 0, 0.0, "abcdefg", "");
    EXPECT_EQ(g->columns[0].texts[0], "abcd");
    EXPECT_TRUE(g->columns[3].flags[5] & CellLocked);
    int alignment = 0;
    GridColumnAlignment(kGridId, 3, alignment);
    EXPECT_EQ(alignment, 2);
    // Applied again, the line only changes the rows, and the storage with them.
    GridDefineFromTemplate(gridWindow, "4 12 3401");
    EXPECT_EQ(GridInfo(kGridId, 2), 12);
    GrdPutCellCheckBox(kGridId, 2, 12, 1);
    EXPECT_EQ(g->columns[1].integers.size(), 12u);
}

TEST_F(GridWindowTest, TheGridsLineColumnCountTakesThatManyTemplateControls) {
    gridWindow = CreateWindowExA(
        0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | WS_BORDER | GRS_HEADER, 10, 10, 380, 200, host,
        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kGridId)), nullptr, nullptr);
    GridDefineFromTemplate(gridWindow, "2 6 3401");
    g = gridRecordOfWindow(gridWindow);
    ASSERT_TRUE(g);
    gridLookupRegister(1, kGridId, g);
    EXPECT_EQ(GridInfo(kGridId, 1), 2);
    EXPECT_EQ(GridColumnLabelGet(kGridId, 2), "Free?");
}

TEST_F(GridWindowTest, AModalCopyTakesTheGridAndGivesItBack) {
    makeGrid(GRS_HEADER);
    int f = kGridId;
    GridCellPut(f, 0, 2, 0.0, "kept", "");
    HWND copy = CreateWindowExA(0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | GRS_HEADER, 10, 10, 380,
                                200, host, nullptr, nullptr, nullptr);
    GridCopyState(copy, gridWindow);
    GridRecord* c = gridRecordOfWindow(copy);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->columnCount, 4);
    EXPECT_EQ(c->columns[0].texts[2], "kept");
    c->columns[0].texts[2] = "edited";
    GridCopyState(gridWindow, copy);
    EXPECT_EQ(cell(1, 3), "edited");
    DestroyWindow(copy);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, RedefiningTakesTheChosenTemplateControls) {
    gridWindow = CreateWindowExA(
        0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | WS_BORDER | GRS_HEADER, 10, 10, 380, 200, host,
        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kGridId)), nullptr, nullptr);
    GridDefineFromTemplate(gridWindow, "4 6 3401");
    g = gridRecordOfWindow(gridWindow);
    ASSERT_TRUE(g);
    gridLookupRegister(1, kGridId, g);
    GrdRows(kGridId, 5);
    GrdSetCell(kGridId, 2, 4);
    int f = kGridId;
    GridRedefineColumns(f, 2, {3, 2});
    EXPECT_EQ(f, kGridId);
    EXPECT_EQ(GridInfo(kGridId, 1), 2);
    EXPECT_EQ(GridInfo(kGridId, 3), 5);
    EXPECT_EQ(GridInfo(kGridId, 4), 1);
    EXPECT_EQ(GridInfo(kGridId, 5), 1);
    EXPECT_EQ(InfoGridCell(kGridId, 1, 1, 2), 11);
    EXPECT_EQ(InfoGridCell(kGridId, 2, 1, 2), 9);
    EXPECT_EQ(GridColumnLabelGet(kGridId, 1), "Color");
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, ContextMenuCopiesTheSelectedBlock) {
    makeGrid(GRS_HEADER);
    int f = kGridId;
    GridCellPut(f, 0, 0, 0.0, "x", "");
    GridCellPut(f, 0, 1, 0.0, "y", "");
    SetFocus(gridWindow);
    GridSelectRange(f, 0, 0, 0, 1);
    robot::Script s;
    s.clickMenuItem("Copy");
    robot::play(std::move(s));
    POINT p{40, 40};
    ClientToScreen(g->cellArea, &p);
    SendMessageA(g->cellArea, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor()),
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    pump();
    EXPECT_EQ(clipboard(), "x\r\ny\r\n");
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, ANumericColumnEditsThroughTheNumericEditClass) {
    NumericEditClassesRegister();
    gridWindow = CreateWindowExA(
        0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | WS_BORDER | GRS_HEADER, 10, 10, 380, 200, host,
        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kGridId)), nullptr, nullptr);
    std::vector<GridColumnSpec> specs(2);
    specs[0].kind = KindReal;
    specs[0].width = 100;
    specs[0].settings.className = "REALEDIT";
    specs[0].settings.format = "(F6.2)";
    specs[1].kind = KindText;
    specs[1].width = 100;
    GridDefineColumnsInWindow(gridWindow, specs, 6, 0);
    g = gridRecordOfWindow(gridWindow);
    ASSERT_TRUE(g);
    gridLookupRegister(1, kGridId, g);
    char name[16] = {};
    GetClassNameA(editor(), name, sizeof name);
    EXPECT_STREQ(name, "REALEDIT");
    robot::Script s;
    s.check([&] { SetFocus(gridWindow); });
    s.text("2.5").key(VK_DOWN);
    s.check([&] {
        float v = 0.0f;
        GrdGetCellReal(kGridId, 1, 1, v);
        EXPECT_FLOAT_EQ(v, 2.5f);
        EXPECT_EQ(cell(1, 1), "2.50");
        EXPECT_EQ(GridInfo(kGridId, 5), 2);
    });
    robot::play(std::move(s));
    pump();
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, AGridIsFoundAsAFieldOfTheCurrentDialog) {
    makeGrid(GRS_HEADER);
    gridLookupReset();  // no registration: the dialog table finds the grid
    DialogTable& t = dialogTable();
    t.slots[1] = host;
    t.count = 1;
    t.currentSlot = 1;
    GrdPutCellInteger(kGridId, 2, 2, 31);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_EQ(g->columns[1].integers[1], 31);
    GrdPutCellInteger(kGridId + 1, 2, 2, 31);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1006);
    resetDialogTable();
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, CheckGlyphMasksTurnOnlyTheButtonFaceIntoTheHighlight) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF kept[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(200, 30, 30),
                             GetSysColor(COLOR_WINDOW)};
    HDC screen = GetDC(nullptr);
    HBITMAP glyph = CreateCompatibleBitmap(screen, 8, 2);
    HBITMAP highlighted = CreateCompatibleBitmap(screen, 8, 2);
    HBITMAP work = CreateBitmap(8, 2, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, glyph);
    // Row 0 alternates the face with the other colours; row 1 is all face.
    for (int x = 0; x < 8; ++x) {
        SetPixel(dc, x, 0, x % 2 ? kept[x / 2] : face);
        SetPixel(dc, x, 1, face);
    }
    SelectObject(dc, old);
    GridCheckGlyphMasks(glyph, highlighted, work);
    old = SelectObject(dc, highlighted);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(GetPixel(dc, x, 0), x % 2 ? kept[x / 2] : light) << x;
        EXPECT_EQ(GetPixel(dc, x, 1), light) << x;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    for (HBITMAP b : {glyph, highlighted, work})
        DeleteObject(b);
    ReleaseDC(nullptr, screen);
}

TEST_F(GridWindowTest, ACheckBoxEditorInsideTheSelectionShowsNoButtonFace) {
    makeGrid(GRS_HEADER);
    GrdPutCellCheckBox(kGridId, 3, 2, 1);
    SetFocus(gridWindow);
    GrdSetCell(kGridId, 3, 2);
    int f = kGridId;
    GridSelectRange(f, 1, 0, 3, 2);
    pump();
    ASSERT_EQ(g->currentColumn, 2);
    ASSERT_TRUE(editor());
    // A pressed box paints its well in the button face.
    SendMessageA(editor(), BM_SETSTATE, TRUE, 0);
    UpdateWindow(editor());
    RECT rc;
    GetClientRect(editor(), &rc);
    HDC dc = GetDC(editor());
    int face = 0, light = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            face += c == GetSysColor(COLOR_BTNFACE);
            light += c == GetSysColor(COLOR_HIGHLIGHT);
        }
    ReleaseDC(editor(), dc);
    EXPECT_EQ(face, 0);
    EXPECT_GT(light, (rc.right - rc.left) * (rc.bottom - rc.top) / 2);
    // Outside the selection the pressed well keeps its face colour.
    GridSelectionClear(*g);
    InvalidateRect(editor(), nullptr, TRUE);
    UpdateWindow(editor());
    dc = GetDC(editor());
    face = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            face += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNFACE);
    ReleaseDC(editor(), dc);
    EXPECT_GT(face, 50);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

// The editor's top-left corner in cell-area pixels.
POINT editorCorner(HWND editor, HWND cellArea) {
    RECT r;
    GetWindowRect(editor, &r);
    POINT p{r.left, r.top};
    ScreenToClient(cellArea, &p);
    return p;
}

TEST_F(GridWindowTest, ScrolledContentsCarryTheEditorWithTheirRowsAndColumns) {
    makeGrid(GRS_HEADER, 100);
    GridTrackColumn(*g, 0, 200);
    GrdSetCell(kGridId, 2, 6);
    SetFocus(gridWindow);
    pump();
    ASSERT_TRUE(editor());
    const int step = g->rowHeight - 1;
    EXPECT_EQ(editorCorner(editor(), g->cellArea).y, 5 * step);
    // The current cell stays visible: the editor goes up with its row.
    SendMessageA(gridWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    pump();
    EXPECT_EQ(g->currentRow, 5);
    EXPECT_EQ(editorCorner(editor(), g->cellArea).y, 4 * step);
    SendMessageA(gridWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(gridWindow, WM_VSCROLL, SB_LINEUP, 0);
    pump();
    EXPECT_EQ(editorCorner(editor(), g->cellArea).y, 4 * step);
    // And left with its column when the first column scrolls off.
    const int x = editorCorner(editor(), g->cellArea).x;
    EXPECT_EQ(x, 199);
    SendMessageA(gridWindow, WM_HSCROLL, SB_LINERIGHT, 0);
    pump();
    ASSERT_EQ(g->firstColumn, 1);
    EXPECT_EQ(g->currentColumn, 1);
    EXPECT_EQ(editorCorner(editor(), g->cellArea).x, 0);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridWindowTest, OnlyTheUsersTypingMarksTheGridChanged) {
    makeGrid(GRS_HEADER);
    EXPECT_EQ(GridInfo(kGridId, 6), 1);  // a fresh grid is unchanged
    EXPECT_EQ(GridInfo(kGridId, 7), 0);
    int f = kGridId;
    GridSelectRange(f, 0, 0, 1, 1);
    // The grid filling its editor again, and a modal copy given back, are
    // no change; the selection stays.
    GridLoadEditorValue(*g);
    HWND copy = CreateWindowExA(0, "VORARIZ", "", WS_CHILD | WS_VISIBLE | GRS_HEADER, 10, 10, 380,
                                200, host, nullptr, nullptr, nullptr);
    GridCopyState(copy, gridWindow);
    EXPECT_EQ(gridRecordOfWindow(copy)->changedFlagA, 0);
    GridCopyState(gridWindow, copy);
    DestroyWindow(copy);
    EXPECT_EQ(GridInfo(kGridId, 6), 1);
    EXPECT_EQ(GridInfo(kGridId, 7), 0);
    EXPECT_TRUE(g->hasSelection());
    // A typed character is.
    SetFocus(gridWindow);
    SendMessageA(editor(), WM_CHAR, 'x', 0);
    EXPECT_EQ(GridInfo(kGridId, 6), 0);
    EXPECT_EQ(GridInfo(kGridId, 7), 1);
    EXPECT_FALSE(g->hasSelection());
}

TEST_F(GridWindowTest, SelectionPasteAndClearEventsCarryTheGridsOwnDialog) {
    DialogRecord record;
    record.identifier() = 77;
    SetWindowLongPtrA(host, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    toolkitState().CurrentDialogNumber = 5;  // another dialog is current at creation
    makeGrid(GRS_HEADER | GRS_SELECTEVENTS | GRS_CHANGEEVENTS);
    toolkitState().CurrentDialogNumber = 1;
    EventTypeEnable(FieldChanged, 1);
    EventQueueState& q = eventQueue();
    int f = kGridId;
    GridSelectRange(f, 0, 0, 1, 1);
    EXPECT_EQ(q.current.type, FieldChanged);
    EXPECT_EQ(q.current.window, 77);
    EXPECT_EQ(q.current.values[2], 2);
    // An undelivered event stays before another selection, but a paste or a
    // clear replaces it.
    q.current.window = 3;
    GridSelectRange(f, 1, 1, 2, 2);
    EXPECT_EQ(q.current.window, 3);
    GrdSetCell(kGridId, 1, 3);
    setClipboard("a\t5\r\n");
    SetFocus(gridWindow);
    q.current.type = FieldChanged;
    q.current.window = 3;
    q.waitState = 0;
    SendMessageA(editor(), WM_CHAR, 22, 0);  // Ctrl+V
    EXPECT_EQ(q.current.window, 77);
    EXPECT_EQ(q.current.values[2], 1);
    EXPECT_EQ(q.current.x, GridCellRef(1, 3));
    EXPECT_EQ(q.current.y, GridCellRef(2, 3));
    q.current.window = 3;
    GridSelectRange(f, 0, 2, 0, 3);
    SendMessageA(editor(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(q.current.window, 77);
    EXPECT_EQ(q.current.values[2], 1);
    EXPECT_EQ(q.current.y, GridCellRef(1, 4));
    SetWindowLongPtrA(host, GWL_USERDATA, 0);
}

TEST_F(GridWindowTest, ScrolledToTheEndNoStaleRowLabelShowsBelowTheLastRow) {
    makeGrid(GRS_HEADER | GRS_ROWLABELS, 30);
    ASSERT_GT(g->drawnRows, g->visibleRows);
    for (int r = 1; r <= 30; ++r)
        GridRowLabelSet(kGridId, r, "Row " + std::to_string(r));
    GridRowLabelsRefresh(*g);
    HWND last = g->rowLabelControls.back();
    EXPECT_TRUE(IsWindowVisible(last));
    for (int i = 0; i < 10; ++i)
        SendMessageA(gridWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_EQ(g->firstRow + g->visibleRows, 30);
    EXPECT_FALSE(IsWindowVisible(last));
    SendMessageA(gridWindow, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_TRUE(IsWindowVisible(last));
}

}  // namespace
}  // namespace tk::test
