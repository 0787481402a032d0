#include "toolkit/core/help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"

namespace tk {
namespace {

class HelpTest : public test::CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        seams().openDocument = [this](const std::string& document) {
            opened.push_back(document);
            return viewerResult;
        };
    }
    test::TempDir dir;
    std::vector<std::string> opened;
    int viewerResult = 0;
};

TEST_F(HelpTest, OldHelpNamesOpenTheirWebPage) {
    test::writeFile("PELK-GM.html", "<html></html>");
    HelpTopicShow("PELK-GM.HLP");
    HelpTopicShow("pelk-gm.hlp", 5);
    // Without a contents file the help opens at its index.
    EXPECT_EQ(opened, (std::vector<std::string>{"file://" + dir.path() + "/PELK-GM.html#index",
                                                "file://" + dir.path() + "/PELK-GM.html#5"}));
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_TRUE(HelpFileExists("pelk-gm.HLP"));
    EXPECT_FALSE(HelpFileExists("other.hlp"));
}

TEST_F(HelpTest, ContentsPopUpsKeywordsAndHtmlHelpReferencesKeepTheirTopic) {
    test::writeFile("guide.html", "");
    test::writeFile("guide.cnt", "");
    HelpTopicShow("guide.hlp");                      // a contents file: the contents
    HelpTopicShow("guide.hlp", 12, 1);               // a pop-up topic shows in the page
    HelpFile("guide.hlp", -1, "Colour Fill", 0, 0);  // a keyword
    HelpTopicShow("guide.chm", 40);
    HelpFile("ms-its:guide.chm::/views/model.htm", -1, "-1", 0, 1);
    HelpFile("ms-its:GUIDE.CHM::/start.htm#keys", -1, "-1", 0, 1);
    const std::string page = "file://" + dir.path() + "/guide.html";
    EXPECT_EQ(opened,
              (std::vector<std::string>{page + "#contents", page + "#12", page + "#colour-fill",
                                        page + "#40", page + "#model", page + "#keys"}));
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(HelpTest, OldHelpFileItselfWhenNoPageExists) {
    test::writeFile("old.hlp", "x");
    HelpTopicShow("OLD.HLP", 3);
    EXPECT_EQ(opened, std::vector<std::string>{dir.path() + "/old.hlp"});
}

TEST_F(HelpTest, MissingFilesTakeTheNotFoundPath) {
    HelpTopicShow("absent.hlp");
    HelpTopicShow("absent.html");
    HelpTopicShow("absent.pdf");
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "HelpFile");
}

TEST_F(HelpTest, KindsAndAnchors) {
    test::writeFile("guide.htm", "");
    test::writeFile("manual.pdf", "");
    HelpFile("  guide.htm  ", 0, "0", 0, 1);  // topic 0 adds no anchor
    HelpFile("file://guide.htm", 7, "intro", 0, 1);
    HelpFile("MANUAL.PDF", -1, "", 0, 1);
    HelpFile("http://example.org/help", 5, "5", 0, 1);
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "file://" + dir.path() + "/guide.htm",
                          "file://" + dir.path() + "/guide.htm#intro",
                          dir.path() + "/manual.pdf",
                          "http://example.org/help#5",
                      }));
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(HelpTest, UnknownKindsAndViewerFailures) {
    test::writeFile("notes.txt", "");
    HelpTopicShow("notes.txt");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1031);
    EXPECT_TRUE(opened.empty());
    viewerResult = 2;
    test::writeFile("g.html", "");
    HelpTopicShow("g.html");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1030);
    toolkitState().LastErrorNumber = 0;
    HelpTopicShow("   ");  // closes help; nothing is opened
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HelpTest, FoundBesideTheProgram) {
    std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string beside = program.substr(0, program.find_last_of('/') + 1) + "pelk-help-beside.pdf";
    test::writeFile(beside, "%PDF");
    HelpTopicShow("pelk-help-beside.pdf");
    std::filesystem::remove(beside);
    EXPECT_EQ(opened, std::vector<std::string>{beside});
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(HelpTest, FullPathnames) {
    char full[200];
    OsFullPathname("a\\b.txt", full);
    EXPECT_EQ(test::trimmed(test::text(full)), dir.path() + "/a/b.txt");
    OsFullPathname("   ", full);
    EXPECT_EQ(test::trimmed(test::text(full)), "");
}

}  // namespace
}  // namespace tk
