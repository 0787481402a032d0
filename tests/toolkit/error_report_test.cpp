#include "toolkit/core/error_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/kernel/errors.h"
#include "toolkit/core/message_box.h"

namespace tk {
namespace {

using test::CoreTest;

class ErrorReportTest : public CoreTest {
  protected:
    // The text that mode 3 hands to the status bar: the composed report.
    std::string reportText(int code, std::string_view name) {
        std::vector<std::string> shown;
        seams().rootStatusText = [&](std::string_view t) { shown.emplace_back(t); };
        SetErrorReportMode(3);
        ReportLibraryError(code, name);
        seams().rootStatusText = nullptr;
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? std::string() : shown.front();
    }
};

TEST_F(ErrorReportTest, SilentModeOnlyRecordsTheNumber) {
    ReportLibraryError(1003, "WindowCloseChild");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
    EXPECT_TRUE(win::testing::messageBoxes().empty());
}

TEST_F(ErrorReportTest, ComposesPrefixNumberAndText) {
    struct Case {
        int code;
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {1003, "WindowCloseChild", "Routine:WindowCloseChild Error=1003:Invalid window handle"},
        {10, "yyFind", "Internal routine:yyFind Error=  10:No substring found"},
        {10, "XXWIN", "Internal routine:XXWIN Error=  10:No substring found"},
        {10, "Yyfind", "Routine:Yyfind Error=  10:No substring found"},
        {0, "StrToReal", "Routine:StrToReal Error=   0:"},
        {6, "StrToReal", "Routine:StrToReal Error=   6:"},
        {12345, "Big", "Routine:Big Error=****:"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reportText(c.code, c.name), c.expected) << c.name;
}

TEST_F(ErrorReportTest, FileErrorsGetTheSystemTextOnlyInCategoryTwo) {
    toolkitState().FileOsErrorCode = static_cast<int>(win::ERROR_ACCESS_DENIED);
    toolkitState().ErrorCategory = 1;
    EXPECT_EQ(reportText(2, "BinFileRead"),
              "Routine:BinFileRead Error=   2:Error reading/writing file or device");
    toolkitState().ErrorCategory = 2;
    EXPECT_EQ(reportText(2, "BinFileRead"),
              "Routine:BinFileRead Error=   2:Error reading/writing file or device: " +
                  win::systemErrorText(win::ERROR_ACCESS_DENIED));
    EXPECT_FALSE(win::systemErrorText(win::ERROR_ACCESS_DENIED).empty());
}

TEST_F(ErrorReportTest, OsAndZlibDetails) {
    toolkitState().OsErrorCode = -3;
    EXPECT_EQ(reportText(1044, "MemUncompress"),
              "Routine:MemUncompress Error=1044:Zlib compression/decompression error: data error");
    toolkitState().OsErrorCode = static_cast<int>(win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reportText(13, "OsDeleteFile"),
              "Routine:OsDeleteFile Error=  13:Operating system error: " +
                  win::systemErrorText(win::ERROR_FILE_NOT_FOUND));
}

TEST_F(ErrorReportTest, LongNamesAreCutToTheField) {
    std::string name(250, 'n');
    std::string text = reportText(1, name);
    EXPECT_EQ(text, "Routine:" + std::string(192, 'n'));
}

TEST_F(ErrorReportTest, ConsoleModeWritesOneIndentedLine) {
    SetErrorReportMode(1);
    ::testing::internal::CaptureStdout();
    ReportLibraryError(1003, "WindowCloseChild");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              " Routine:WindowCloseChild Error=1003:Invalid window handle\n");
    EXPECT_EQ(toolkitState().ErrorReportMode, 1);
}

TEST_F(ErrorReportTest, DebugModeAppendsLinesToTheDebugFileInTheStateFolder) {
    test::TempDir dir;
    test::EnvVar state("XDG_STATE_HOME", dir.file("state").c_str());
    SetErrorReportMode(2);
    ReportLibraryError(1005, "DlgShow");
    ReportLibraryError(23, "OsExecute");
    testing::resetDebugLog();
    EXPECT_EQ(test::readFile(dir.file("state/pelk-gm/debug")),
              "Routine:DlgShow Error=1005:No dialog currently selected\r\n"
              "Routine:OsExecute Error=  23:No program name specified to OsExecute\r\n");
    // The current folder is the user's: nothing is written there.
    EXPECT_FALSE(std::filesystem::exists(dir.file("debug")));
}

TEST_F(ErrorReportTest, DebugFileFallsBackToTheNextName) {
    test::TempDir dir;
    test::EnvVar state("XDG_STATE_HOME", dir.path().c_str());
    std::filesystem::create_directories(dir.file("pelk-gm/debug"));
    ErrorTextShow("first line   ");
    testing::resetDebugLog();
    EXPECT_EQ(test::readFile(dir.file("pelk-gm/debug.txt")), "first line\r\n");
}

TEST_F(ErrorReportTest, BoxModeShowsThreeLinesAndContinuesOnOk) {
    SetErrorReportMode(4);
    toolkitState().MessageBoxResult = 7;
    win::testing::queueMessageBoxAnswer(win::IDOK);
    ReportLibraryError(1003, "WindowCloseChild");
    auto box = win::testing::lastMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Library Error");
    EXPECT_EQ(box->text, "Routine:WindowCloseChild\rError=1003\rInvalid window handle");
    EXPECT_EQ(box->style, win::MB_OKCANCEL | win::MB_ICONEXCLAMATION);
    EXPECT_EQ(toolkitState().ErrorReportMode, 4);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
}

TEST_F(ErrorReportTest, BoxThatCannotBeShownDoesNotEndTheProgram) {
    SetErrorReportMode(4);
    win::testing::queueMessageBoxAnswer(0);
    ReportLibraryError(1003, "WindowCloseChild");
    EXPECT_EQ(toolkitState().MessageBoxResult, -1);
    // The box's own failure is not reported over the original error.
    EXPECT_EQ(toolkitState().LastErrorNumber, 1003);
    EXPECT_EQ(win::testing::messageBoxes().size(), 1u);
}

TEST_F(ErrorReportTest, CancelInTheBoxEndsTheProgramWithAFailureCode) {
    EXPECT_EXIT(
        {
            SetErrorReportMode(4);
            win::testing::queueMessageBoxAnswer(win::IDCANCEL);
            ReportLibraryError(1003, "WindowCloseChild");
            std::exit(0);
        },
        ::testing::ExitedWithCode(FatalExitCode), "");
}

TEST_F(ErrorReportTest, ReportModeOutsideTheRangeIsIgnored) {
    SetErrorReportMode(2);
    SetErrorReportMode(5);
    SetErrorReportMode(-1);
    EXPECT_EQ(toolkitState().ErrorReportMode, 2);
}

TEST_F(ErrorReportTest, TextLookupByMode) {
    char text[12];
    ErrorTextLookup(1003, text);
    EXPECT_EQ(std::string(text, 12), "Invalid wind");
    ErrorTextLookup(-5, text, 3);
    EXPECT_EQ(std::string(text, 12), "buffer error");
    ErrorTextLookup(0, text, 2);
    EXPECT_EQ(std::string(text, 12), std::string(12, ' '));
    ErrorTextLookup(1003, text, 9);  // untouched
    EXPECT_EQ(std::string(text, 12), std::string(12, ' '));
    ErrorTextLookup(65, text);
    EXPECT_EQ(std::string(text, 12), std::string(12, ' '));
}

}  // namespace
}  // namespace tk
