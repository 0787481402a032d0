#pragma once
// A grid editor made in window 1 from the grid of the test dialog (three
// columns: a name, a count and a note), with helpers to read its cells and
// to answer the toolkit's file selector.

#include <string>
#include <vector>

#include "editor_journey_support.h"
#include "grid_editor_test_ids.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/editors/grid_editor_window.h"

namespace tk::test {

using win::robot::Script;

class GridEditorTest : public EditorJourney {
  protected:
    // Window 1 made a grid editor of the test dialog's grid (one row).
    GridEditorRecord* create(int options, const std::string& file = {}, int showType = 2) {
        GridEditorCreateArgs args;
        args.templateField = IDC_GEGRID;
        args.options = options;
        args.initialFile = file;
        return make(IDD_GEHOST, args, showType);
    }
    GridEditorRecord* make(int dialog, const GridEditorCreateArgs& args, int showType = 2) {
        DlgLoad(dialog);
        GrdRows(args.templateField, 1);
        if (!window) window = openEditorWindow("Stations");
        OutputWindowSelect(window);
        int status = 0;
        GridEditorCreate(status, showType, args);
        EXPECT_EQ(status, 0);
        frame = slot(window).frame;
        return gridEditorRecordOfWindow(window);
    }
    std::string cell(int column, int row) {
        std::string text(40, ' ');
        GrdGetCellString(0, column, row, text);
        return std::string(trimRight(text));
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> out;
        for (int row = 1; row <= GridInfo(0, 3); ++row)
            out.push_back(cell(c, row));
        return out;
    }
    // The toolkit's file selector takes a path.
    static void chooseFile(Script& s, const char* title, const std::string& name) {
        s.check([title] {
            win::HWND d = win::robot::findTopLevelByClass("#32770");
            ASSERT_TRUE(d);
            EXPECT_EQ(win::robot::windowText(d), title);
        });
        s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    }
    static win::HWND dialogTitled(const char* title) { return win::robot::findTopLevelByTitle(title); }
};

using Column = std::vector<std::string>;

}  // namespace tk::test
