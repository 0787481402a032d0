// A user's journey through the grid editor window: open a comma-separated
// file, sort it, insert and delete rows, save it as CSV and as HTML, print
// it to the PDF printer, and the save question when the window closes.

#include "grid_editor_test_support.h"
#include "toolkit/editors/grid_editor_commands.h"
#include "toolkit/editors/grid_editor_files.h"

namespace tk::test {
namespace {

class GridEditorJourney : public GridEditorTest {};

TEST_F(GridEditorJourney, OpenSortInsertDeleteSaveCsvAndHtmlAndPrint) {
    const std::string csv = writeFile("stations.csv",
                                      "\"Kiruna\",12,\"north & cold\"\r\n"
                                      "\"Abisko\",7,\"<lake>\"\r\n"
                                      "\"Narvik\",30,\"say \"\"hej\"\"\"\r\n");
    GridEditorRecord* r = create(kGridEditorRowsFollow);
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(r->grid);
    Script s;
    s.chord({win::VK_CONTROL, 'O'});
    chooseFile(s, "Select File", csv);
    s.check([&] {
        OutputWindowSelect(window);
        EXPECT_EQ(GridInfo(0, 3), 3);
        EXPECT_EQ(column(1), (Column{"Kiruna", "Abisko", "Narvik"}));
        EXPECT_EQ(win::robot::windowText(frame), "Stations - [" + csv + "]");
    });
    // Sort by the first column through the Sort dialog.
    s.clickMenuBar(frame, "Edit").clickMenuItem("Sort");
    s.check([] { ASSERT_TRUE(dialogTitled("Sort")); });
    s.key(win::VK_RETURN);
    s.check([&] {
        OutputWindowSelect(window);
        EXPECT_EQ(column(1), (Column{"Abisko", "Kiruna", "Narvik"}));
        EXPECT_EQ(column(2), (Column{"7", "12", "30"}));
    });
    // A row before the current one (the first), then delete the second.
    s.check([&] { win::SetFocus(r->grid); });
    s.chord({win::VK_CONTROL, 'I'});
    s.check([&] {
        OutputWindowSelect(window);
        EXPECT_EQ(column(1), (Column{"", "Abisko", "Kiruna", "Narvik"}));
    });
    s.key(win::VK_DOWN).key(win::VK_DOWN).chord({win::VK_CONTROL, 'E'});
    s.check([&] {
        OutputWindowSelect(window);
        EXPECT_EQ(column(1), (Column{"", "Abisko", "Narvik"}));
        EXPECT_EQ(gridRecordOfWindow(r->grid)->changedFlagA, 1);
    });
    // Save As CSV, then as HTML through its dialog.
    const std::string saved = path("saved.csv");
    s.key(win::VK_F12);
    chooseFile(s, "Select File", saved);
    s.clickMenuBar(frame, "File").clickMenuItem("Save As HTML");
    s.check([&] {
        ASSERT_TRUE(dialogTitled("Save As HTML"));
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(dialogTitled("Save As HTML"), 1002)),
                  path("saved.htm"));
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save As HTML"), win::IDOK); });
    // Print with the print dialog's OK.
    s.chord({win::VK_CONTROL, 'P'});
    s.check([] { ASSERT_TRUE(dialogTitled("Print Grid")); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Print Grid"), win::IDOK); });
    play(std::move(s));

    EXPECT_EQ(r->fileName, saved);
    EXPECT_EQ(readFile("saved.csv"),
              "\"\",,\"\"\r\n\"Abisko\",7,\"<lake>\"\r\n\"Narvik\",30,\"say \"\"hej\"\"\"\r\n");
    EXPECT_EQ(readFile("stations.csv").substr(0, 8), "\"Kiruna\"");
    const std::string html = readFile("saved.htm");
    EXPECT_NE(html.find("&lt;lake&gt;"), std::string::npos) << html;
    EXPECT_NE(html.find("say &quot;hej&quot;"), std::string::npos) << html;
    EXPECT_EQ(html.find("<lake>"), std::string::npos);
    EXPECT_NE(commandOutput("xmllint --html --noout '" + path("saved.htm") + "' 2>&1; echo rc=$?").find("rc=0"),
              std::string::npos);
    // Both files read back: the CSV into the grid again.
    OutputWindowSelect(window);
    int status = 0;
    std::string name = saved;
    GridEditorLoadCsv(window, 0, 1, status, r->filterIndex, 0, name, "");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(column(1), (Column{"", "Abisko", "Narvik"}));
    EXPECT_EQ(column(3), (Column{"", "<lake>", "say \"hej\""}));

    // Every command of the journey reaches the program after the editor did it.
    std::vector<int> reported;
    for (const EventRecord& e : eventsOf(MenuSelect))
        reported.push_back(e[1]);
    EXPECT_EQ(reported, (std::vector<int>{kGridCmdOpen, kGridCmdSort, kGridCmdInsertBefore,
                                          kGridCmdDeleteRow, kGridCmdSaveAs, kGridCmdSaveHtml,
                                          kGridCmdPrint}));
    const std::string printed = printedText();
    EXPECT_NE(printed.find("Abisko"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Narvik"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Count"), std::string::npos) << printed;
    win::UpdateWindow(frame);
    screenshot(frame, "grid_editor.png");
    EXPECT_GT(pixelsOf(r->grid, win::RGB(0, 0, 0)), 100);
}

TEST_F(GridEditorJourney, ClosingWithChangesAsksAndAFailedSaveKeepsTheOldFile) {
    const std::string csv = writeFile("a.csv", "\"x\",1,\"y\"\r\n");
    GridEditorRecord* r = create(kGridEditorRowsFollow, csv);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->fileName, csv);
    Script s;
    s.check([&] { win::SetFocus(r->grid); });
    s.chord({win::VK_CONTROL, 'I'});
    s.answerMessageBox(win::IDCANCEL);
    s.check([&] { win::SendMessageA(frame, win::WM_CLOSE, 0, 0); });
    s.check([&] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Do you want to save changes to " + csv + "?");
        EXPECT_EQ(win::testing::lastMessageBox()->caption, "Veraziderad Grid Editor");
        EXPECT_TRUE(win::IsWindow(frame));
    });
    play(std::move(s));
    // The new file cannot be made beside the old one: the old one stays.
    std::filesystem::create_directory(csv + ".pelk-saving");
    Script t;
    t.answerMessageBox(win::IDOK);
    t.check([&] { win::SendMessageA(frame, win::WM_COMMAND, kGridCmdSave, 0); });
    play(std::move(t));
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Error opening file");
    EXPECT_EQ(readFile("a.csv"), "\"x\",1,\"y\"\r\n");
    EXPECT_EQ(gridRecordOfWindow(r->grid)->changedFlagA, 1);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

TEST_F(GridEditorJourney, FindFindNextAndGotoMoveTheCurrentCell) {
    const std::string csv = writeFile("towns.csv",
                                      "\"Kiruna\",12,\"north\"\r\n"
                                      "\"Narvik\",30,\"coast\"\r\n"
                                      "\"Abisko\",7,\"narrow\"\r\n");
    GridEditorRecord* r = create(kGridEditorRowsFollow, csv);
    ASSERT_NE(r, nullptr);
    auto current = [&] {
        OutputWindowSelect(window);
        return std::pair{GridInfo(0, 4), GridInfo(0, 5)};
    };
    Script s;
    s.check([&] { win::SetFocus(r->grid); });
    // Case does not matter unless asked: "NAR" finds Narvik, then "narrow".
    s.chord({win::VK_CONTROL, 'F'});
    s.check([] { ASSERT_TRUE(dialogTitled("Find")); });
    s.text("NAR").key(win::VK_RETURN);
    s.check([&] {
        EXPECT_FALSE(dialogTitled("Find"));
        EXPECT_EQ(current(), std::pair(1, 2));
    });
    s.key(win::VK_F1 + 2);
    s.check([&] { EXPECT_EQ(current(), std::pair(3, 3)); });
    s.answerMessageBox(win::IDOK);
    s.key(win::VK_F1 + 2);
    s.check([&] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "End of grid reached");
    });
    // Goto Cell takes a column and a row; Goto Row only a row.
    s.clickMenuBar(frame, "Search").clickMenuItem("Goto Cell");
    s.check([] { ASSERT_TRUE(dialogTitled("Goto Cell")); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Goto Cell"), 1002); });
    s.chord({win::VK_CONTROL, 'A'}).text("2").key(win::VK_TAB).text("1").key(win::VK_RETURN);
    s.check([&] { EXPECT_EQ(current(), std::pair(2, 1)); });
    s.clickMenuBar(frame, "Search").clickMenuItem("Goto Row");
    s.check([] { ASSERT_TRUE(dialogTitled("Goto Row")); });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Goto Row"), 1002); });
    s.chord({win::VK_CONTROL, 'A'}).text("3").key(win::VK_RETURN);
    s.check([&] { EXPECT_EQ(current(), std::pair(2, 3)); });
    play(std::move(s));
    // Searching and moving are the editor's own business.
    EXPECT_TRUE(eventsOf(MenuSelect).empty());
    // The window keeps the search text and the file for the program.
    std::string text = "untouched";
    GridEditorText(window, 1, text, 100);
    EXPECT_EQ(text, "NAR");
    GridEditorText(window, 3, text, 100);
    EXPECT_EQ(text, csv);
    GridEditorText(window, 3, text, 4);
    EXPECT_EQ(text, csv.substr(0, 4));
    text = "untouched";
    GridEditorText(window, 4, text, 100);
    EXPECT_EQ(text, "untouched");
}

}  // namespace
}  // namespace tk::test
