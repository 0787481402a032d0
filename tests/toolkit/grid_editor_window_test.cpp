// The grid editor window: its status bar, its size around the grid, spin
// cells, the menus each grid and option set gives, FieldChanged reports,
// the modal loop, and an editor in a pane of a split window.

#include <cstdlib>

#include "grid_editor_test_support.h"
#include "platform/controls/common_controls_api.h"
#include "platform/window/menu_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/window_split.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_record.h"

namespace tk::test {
namespace {

class GridEditorWindowTest : public GridEditorTest {
  protected:
    static std::string statusText(win::HWND bar, int part) {
        char text[128] = {};
        win::SendMessageA(bar, win::SB_GETTEXTA, static_cast<win::WPARAM>(part),
                          reinterpret_cast<win::LPARAM>(text));
        return text;
    }
    static std::vector<int> statusEdges(win::HWND bar) {
        int edges[8] = {};
        const auto n = win::SendMessageA(bar, win::SB_GETPARTS, 8, reinterpret_cast<win::LPARAM>(edges));
        return std::vector<int>(edges, edges + n);
    }
    static win::SIZE clientSize(win::HWND h) {
        win::RECT r{};
        win::GetClientRect(h, &r);
        return {r.right, r.bottom};
    }
    GridRecord& grid(const GridEditorRecord& r) { return *gridRecordOfWindow(r.grid); }
    // Whole rows and columns of the grid in its cell area, in pixels.
    static win::SIZE gridPixels(const GridRecord& g, int rows) {
        int width = 1;
        for (const GridColumnRecord& c : g.columns)
            width += c.width - 1;
        return {width, (g.rowHeight - 1) * rows + 1};
    }
    static std::vector<std::string> items(win::HMENU menu) {
        std::vector<std::string> out;
        for (int i = 0; i < win::GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            win::GetMenuStringA(menu, static_cast<win::UINT>(i), text, sizeof text, win::MF_BYPOSITION);
            std::string t = text[0] ? text : "-";
            if (win::GetMenuState(menu, static_cast<win::UINT>(i), win::MF_BYPOSITION) & win::MF_GRAYED)
                t += " (off)";
            out.push_back(t);
        }
        return out;
    }
    const std::string threeRows = "\"a\",1,\"x\"\r\n\"b\",2,\"y\"\r\n\"c\",3,\"z\"\r\n";
};

using Items = std::vector<std::string>;

TEST_F(GridEditorWindowTest, StatusBarFollowsTheCurrentCellAndKeepsItsPartsOnResize) {
    GridEditorRecord* r = create(kGridEditorRowsFollow, writeFile("s.csv", threeRows));
    ASSERT_TRUE(r && r->statusBar);
    EXPECT_EQ(statusEdges(r->statusBar), (std::vector<int>{30, 90, 140, 200}));
    EXPECT_EQ(statusText(r->statusBar, 0), "Row");
    EXPECT_EQ(statusText(r->statusBar, 1), "\t\t1");
    EXPECT_EQ(statusText(r->statusBar, 2), "\tColumn");
    EventTypeEnable(FieldChanged, 1);
    Script s;
    s.check([&] { win::SetFocus(r->grid); });
    s.key(win::VK_DOWN).key(win::VK_DOWN).key(win::VK_TAB);
    s.check([&] {
        EXPECT_EQ(statusText(r->statusBar, 1), "\t\t3");
        EXPECT_EQ(statusText(r->statusBar, 3), "\t\t2");
        // The frame lays out its bars again; the parts stay.
        win::RECT f = win::robot::screenRect(frame);
        win::SetWindowPos(frame, nullptr, 0, 0, f.right - f.left + 60, f.bottom - f.top + 40,
                          win::SWP_NOMOVE | win::SWP_NOZORDER);
        EXPECT_EQ(statusEdges(r->statusBar), (std::vector<int>{30, 90, 140, 200}));
        EXPECT_EQ(statusText(r->statusBar, 1), "\t\t3");
    });
    play(std::move(s));
    // Each move is reported with the cell the program saw before it.
    const std::vector<EventRecord> moves = eventsOf(FieldChanged);
    ASSERT_EQ(moves.size(), 3u);
    const int cells[] = {0x40001, 0x40002, 0x40003, 0x80003};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        EXPECT_EQ(moves[i][0], window);
        EXPECT_EQ(moves[i][5], cells[i]);
        EXPECT_EQ(moves[i][6], cells[i + 1]);
    }
}

TEST_F(GridEditorWindowTest, TheWindowFitsTheLoadedRowsAndMaximisesToTheWholeGrid) {
    GridEditorRecord* r = create(kGridEditorRowsFollow, writeFile("s.csv", threeRows));
    ASSERT_NE(r, nullptr);
    const GridRecord& g = grid(*r);
    ASSERT_EQ(g.rowCount, 3);
    // Loading grew the grid row by row; the window shows every row.
    EXPECT_EQ(clientSize(g.cellArea).cy, gridPixels(g, 3).cy);
    EXPECT_EQ(g.visibleRows, 3);
    // Maximised, it is as large as the whole grid and no larger.
    OutputWindowSelect(window);
    GrdRows(0, 4);
    win::ShowWindow(frame, win::SW_MAXIMIZE);
    EXPECT_EQ(clientSize(g.cellArea).cy, gridPixels(g, 4).cy);
    EXPECT_EQ(clientSize(g.cellArea).cx, gridPixels(g, 4).cx);
    win::ShowWindow(frame, win::SW_RESTORE);
    // The least tracking size shows one row and the widest column.
    win::MINMAXINFO info{};
    info.ptMaxSize = {4000, 4000};
    win::SendMessageA(frame, win::WM_GETMINMAXINFO, 0, reinterpret_cast<win::LPARAM>(&info));
    win::SetWindowPos(frame, nullptr, 0, 0, info.ptMinTrackSize.x, info.ptMinTrackSize.y,
                      win::SWP_NOMOVE | win::SWP_NOZORDER);
    EXPECT_EQ(clientSize(g.cellArea).cy, g.rowHeight);
    EXPECT_EQ(info.ptMaxTrackSize.x, info.ptMaxSize.x);
    // A proposal smaller than the grid in one direction keeps that side.
    win::MINMAXINFO narrow{};
    narrow.ptMaxSize = {100, 4000};
    win::SendMessageA(frame, win::WM_GETMINMAXINFO, 0, reinterpret_cast<win::LPARAM>(&narrow));
    EXPECT_EQ(narrow.ptMaxSize.x, 100);
    EXPECT_EQ(narrow.ptMaxSize.y, info.ptMaxSize.y);
}

TEST_F(GridEditorWindowTest, SpinCellArrowsStepWithinTheColumnsRange) {
    DlgLoad(IDD_GESPINHOST);
    int field = IDC_GESPINGRID;
    GridIntegerSpinSet(field, 0, 2, 4, 1);
    GridColumnRangeSet(field, 0, 0, 6);
    GridRealSpinSet(field, 1, 0.25f, 1.0f);
    GrdPutCellInteger(IDC_GESPINGRID, 1, 1, 3);
    GridEditorCreateArgs args;
    args.templateField = IDC_GESPINGRID;
    GridEditorRecord* r = make(IDD_GESPINHOST, args);
    ASSERT_NE(r, nullptr);
    GridRecord& g = grid(*r);
    const auto editor = [&] { return g.editor ? g.editor->window() : nullptr; };
    const auto arrow = [&](bool up) {
        return win::robot::clientPoint(
            [&] {
                const FieldRecord* f = fieldRecordOf(editor());
                return f ? f->buddy : nullptr;
            },
            4, up ? 2 : 10);
    };
    Script s;
    // 3 + 2 = 5 (base 1 and steps of 2); then 7 is held at the maximum 6;
    // 6 - 2 = 4 is snapped back onto the steps from the base: 3.
    s.check([&] { ASSERT_TRUE(editor()); });
    s.clickAt(arrow(true));
    s.check([&] { EXPECT_EQ(win::robot::windowText(editor()), "5"); });
    s.clickAt(arrow(true));
    s.check([&] { EXPECT_EQ(win::robot::windowText(editor()), "6"); });
    s.clickAt(arrow(false));
    s.check([&] { EXPECT_EQ(win::robot::windowText(editor()), "3"); });
    // A typed number is taken before the step.
    s.key(win::VK_TAB);
    s.check([&] { ASSERT_TRUE(editor()); });
    s.chord({win::VK_CONTROL, 'A'}).text("2");
    s.clickAt(arrow(true));
    s.check([&] { EXPECT_DOUBLE_EQ(std::atof(win::robot::windowText(editor()).c_str()), 2.25); });
    play(std::move(s));
}

TEST_F(GridEditorWindowTest, MenusFollowTheOptionsAndTheReadOnlyGrid) {
    struct Case {
        int options;
        bool readOnly;
        Items file, edit, search;
        bool keys;
    };
    const Case cases[] = {
        {0, false,
         {"&New\tCtrl+N", "&Open\tCtrl+O", "&Save\tCtrl+S", "Save &As\tF12", "Save S&election",
          "Save As &HTML", "-", "&Print\tCtrl+P", "Prin&t Selection", "-", "E&xit"},
         {"Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&Delete\tDel", "-", "Select &All", "-",
          "&Sort", "&Insert Row Before Current\tCtrl+I", "&Insert Row After Current\tCtrl+Shift+I",
          "D&elete Row\tCtrl+E"},
         {"&Find\tCtrl+F", "Find &Next\tF3", "-", "&Goto Cell", "Goto Ro&w", "Goto &Column"},
         true},
        // A read-only grid keeps Open, Save As, Save As HTML, Copy and Find.
        {0, true,
         {"&Open\tCtrl+O", "Save &As\tF12", "Save S&election", "Save As &HTML", "-", "&Print\tCtrl+P",
          "Prin&t Selection", "-", "E&xit"},
         {"&Copy\tCtrl+C", "-", "Select &All"},
         {"&Find\tCtrl+F", "Find &Next\tF3", "-", "&Goto Cell", "Goto Ro&w", "Goto &Column"},
         true},
        // Nothing with a key: no key table and no key texts.
        {kGridEditorNoNewOpen | kGridEditorNoSaving | kGridEditorNoPrint | kGridEditorNoFind |
             kGridEditorNoRowCommands,
         false,
         {"E&xit"},
         {"Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&Delete\tDel", "-", "Select &All", "-",
          "&Sort"},
         {"&Goto Cell", "Goto Ro&w", "Goto &Column"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options + (c.readOnly ? 1 : 0));
        DlgLoad(IDD_GEHOST);
        win::HWND templ = currentField(IDC_GEGRID);
        const auto style = win::GetWindowLongA(templ, win::GWL_STYLE);
        win::SetWindowLongA(templ, win::GWL_STYLE, c.readOnly ? style | GRS_READONLY : style & ~GRS_READONLY);
        GridEditorCreateArgs args;
        args.templateField = IDC_GEGRID;
        args.options = c.options;
        GridEditorRecord* r = make(IDD_GEHOST, args);
        ASSERT_NE(r, nullptr);
        // Items are greyed only when their popup opens.
        std::vector<std::string> file = items(r->filePopup);
        for (std::string& t : file)
            t = t.substr(0, t.find(" (off)"));
        EXPECT_EQ(file, c.file);
        std::vector<std::string> edit = items(r->editPopup);
        for (std::string& t : edit)
            t = t.substr(0, t.find(" (off)"));
        EXPECT_EQ(edit, c.edit);
        EXPECT_EQ(items(r->searchPopup), c.search);
        EXPECT_EQ(r->editorAccelerators != nullptr, c.keys);
        win::DestroyWindow(frame);
        window = 0;
    }
}

TEST_F(GridEditorWindowTest, RowItemsAreGreyedWhereARowCannotGo) {
    struct Case {
        int options;
        int rows;  // rows in use of the four the spin grid holds
        int currentRow;
        bool after, before;
    };
    const Case cases[] = {
        {0, 3, 3, false, true},                      // last row, rows do not follow
        {kGridEditorRowsFollow, 3, 3, true, true},   // last row, rows follow
        {kGridEditorRowsFollow, 4, 4, false, true},  // the last row the grid can hold
        {0, 3, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.currentRow + 10 * c.rows);
        GridEditorCreateArgs args;
        args.templateField = IDC_GESPINGRID;
        args.options = c.options;
        GridEditorRecord* r = make(IDD_GESPINHOST, args);
        ASSERT_NE(r, nullptr);
        GrdRows(0, c.rows);
        GrdSetCell(0, 1, c.currentRow);
        win::SendMessageA(frame, win::WM_INITMENUPOPUP, reinterpret_cast<win::WPARAM>(r->editPopup), 1);
        const auto on = [&](int id) {
            return !(win::GetMenuState(r->editPopup, static_cast<win::UINT>(id), win::MF_BYCOMMAND) &
                     win::MF_GRAYED);
        };
        EXPECT_EQ(on(kGridCmdInsertAfter), c.after);
        EXPECT_EQ(on(kGridCmdInsertBefore), c.before);
        EXPECT_FALSE(on(kGridCmdCut));  // nothing selected
        win::DestroyWindow(frame);
        window = 0;
    }
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridEditorWindowTest, PrintOptionsAndPageValuesKeepWhatIsSetPerRecord) {
    struct Options {
        int o[5];
        int scale;
    };
    // Only 1 switches an option on; a scale below 1 keeps the last one.
    const struct {
        Options set, read;
    } cases[] = {
        {{{1, 0, 1, 0, 1}, 150}, {{1, 0, 1, 0, 1}, 150}},
        {{{2, 1, -1, 1, 0}, 0}, {{0, 1, 0, 1, 0}, 150}},
    };
    for (const auto& c : cases) {
        GridPrintOptionsSet(c.set.o[0], c.set.o[1], c.set.o[2], c.set.o[3], c.set.o[4],
                            c.set.scale, 1);
        Options got{};
        GridPrintOptionsGet(got.o[0], got.o[1], got.o[2], got.o[3], got.o[4], got.scale, 1);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(got.o[i], c.read.o[i]) << i;
        EXPECT_EQ(got.scale, c.read.scale);
    }
    // The other record keeps its own options.
    Options other{};
    GridPrintOptionsGet(other.o[0], other.o[1], other.o[2], other.o[3], other.o[4], other.scale, 0);
    EXPECT_NE(other.scale, 150);
    // Margins and the text area in points (multiples of 18 survive the units).
    const int values[][2] = {{3, 72}, {4, 36}, {1, 396}, {2, 540}};
    for (const auto& [item, points] : values)
        GridPageSetupSet(item, points, 1);
    for (const auto& [item, points] : values) {
        int got = -1;
        GridPageSetupGet(item, got, 1);
        EXPECT_EQ(got, points) << item;
    }
    // Landscape with 3 turns the text area so that its wider side follows the paper.
    int orientation = -1;
    GridPageSetupSet(5, 3, 1);
    GridPageSetupGet(5, orientation, 1);
    EXPECT_EQ(orientation, 1);
    int width = 0, height = 0;
    GridPageSetupGet(1, width, 1);
    GridPageSetupGet(2, height, 1);
    EXPECT_EQ(width, 540);
    EXPECT_EQ(height, 396);
    GridPageSetupSet(5, 0, 1);
    GridPageSetupGet(5, orientation, 1);
    EXPECT_EQ(orientation, 0);
}

}  // namespace
}  // namespace tk::test
