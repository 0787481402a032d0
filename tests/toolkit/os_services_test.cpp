#include "toolkit/core/os_services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <string>

#include "core_test_support.h"
#include "platform/kernel/environment.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/os_wrappers.h"

namespace tk {
namespace {

using test::EnvVar;
using test::trimmed;

class OsServicesTest : public test::CoreTest {
  protected:
    void TearDown() override {
        win::testing::setCommandLine("");
        win::setTickCountSource(nullptr);
        CoreTest::TearDown();
    }
    std::string argument(int n, std::size_t width = 40) {
        std::string buf(width, '?');
        CommandLineArgument(n, TextOut(buf.data(), buf.size()));
        return trimmed(buf);
    }
    static std::string programPath() {
        char buf[4096];
        ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
        return std::string(buf, static_cast<std::size_t>(n));
    }
};

TEST_F(OsServicesTest, CommandLineSplitter) {
    struct Case {
        std::string line;
        std::vector<std::string> arguments;  // 1, 2, ...
    };
    const Case cases[] = {
        {"prog   a   \"b c\"   d", {"a", "b c", "d"}},
        {"\"C:\\Program Files\\pelk.exe\" site.tqm", {"site.tqm"}},
        {"prog a \"\" b", {"a", "b"}},
        {"prog a \"rest of  the line", {"a", "rest of  the line"}},
        {"prog a \"   ", {"a"}},
        {"prog", {}},
    };
    for (const auto& c : cases) {
        toolkitState().reset();
        win::testing::setCommandLine(c.line);
        EXPECT_EQ(argument(0, 4096), programPath());
        for (std::size_t i = 0; i < c.arguments.size(); ++i)
            EXPECT_EQ(argument(static_cast<int>(i + 1)), c.arguments[i]) << c.line;
        EXPECT_EQ(argument(static_cast<int>(c.arguments.size()) + 1), "") << c.line;
        EXPECT_EQ(argument(-1), "");
        EXPECT_EQ(SystemInfoValue(2), static_cast<int>(c.arguments.size())) << c.line;
    }
}

TEST_F(OsServicesTest, CommandLineIsCopiedOnce) {
    win::testing::setCommandLine("prog first");
    EXPECT_EQ(argument(1), "first");
    win::testing::setCommandLine("prog second");
    EXPECT_EQ(argument(1), "first");
}

TEST_F(OsServicesTest, EnvironmentVariables) {
    EnvVar unset("PELK_TEST_UNSET", nullptr);
    EnvVar exact("PELK_TEST_EXACT", "12345");
    char value[5];
    OsVariable("PELK_TEST_UNSET  ", value);
    EXPECT_EQ(test::text(value), "     ");
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    OsVariable("PELK_TEST_EXACT", value);
    EXPECT_EQ(test::text(value), "12345");
    char small[4];
    OsVariable("PELK_TEST_EXACT", small);
    EXPECT_EQ(test::text(small), "    ");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1023);
    EXPECT_EQ(toolkitState().LastErrorRoutine, "OsVariable");
}

TEST_F(OsServicesTest, UserName) {
    char name[80];
    OsUserName(name);
    EXPECT_FALSE(trimmed(test::text(name)).empty());
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    if (trimmed(test::text(name)).size() > 1) {
        char one[1];
        OsUserName(one);
        EXPECT_EQ(one[0], ' ');
        EXPECT_EQ(toolkitState().LastErrorNumber, 1023);
    }
}

TEST_F(OsServicesTest, BeepSwitchReadsThreeLetters) {
    BeepSwitch("off");
    BeepSwitch("x");
    EXPECT_EQ(win::testing::beepCount(), 0);
    BeepSwitch("On");
    EXPECT_TRUE(toolkitState().BeepEnabled);
    BeepSwitch("ONE");  // not "ON" followed by a blank: only a beep
    EXPECT_TRUE(toolkitState().BeepEnabled);
    EXPECT_EQ(win::testing::beepCount(), 1);
    BeepSwitch("OFF");
    EXPECT_FALSE(toolkitState().BeepEnabled);
}

TEST_F(OsServicesTest, TemporaryDirectoryOrder) {
    EnvVar tmpdir("TMPDIR", nullptr);
    EnvVar temp("TEMP", "D:\\TMP");
    EnvVar tmp("TMP", "/var/tmp");
    EXPECT_EQ(InfoFilenameText(TemporaryDirectoryName), "D:\\TMP\\");
    {
        EnvVar noTemp("TEMP", nullptr);
        EXPECT_EQ(InfoFilenameText(TemporaryDirectoryName), "/var/tmp/");
        EnvVar noTmp("TMP", nullptr);
        EXPECT_EQ(InfoFilenameText(TemporaryDirectoryName), "/tmp/");
    }
    EnvVar first("TMPDIR", "/scratch");
    EXPECT_EQ(InfoFilenameText(TemporaryDirectoryName), "/scratch/");
}

TEST_F(OsServicesTest, StoredNamesAndNewTemporaryFiles) {
    test::TempDir dir;
    EnvVar tmpdir("TMPDIR", dir.path().c_str());
    win::setTickCountSource([] { return win::DWORD{0x80000000u + 42u}; });
    test::writeFile(dir.file("xx0000000042.tmp"), "");
    EXPECT_EQ(InfoFilenameText(NewTemporaryFile), dir.path() + "/xx0000000043.tmp");
    std::string cut(dir.path().size() + 3, '?');
    InfoFilename(NewTemporaryFile, TextOut(cut.data(), cut.size()));
    EXPECT_EQ(cut, dir.path() + "/xx");  // as much as fits, and no report
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_EQ(InfoFilenameText(4), "");
    EXPECT_EQ(InfoFilenameText(99), "");
    EXPECT_EQ(InfoFilenameText(StrokeFontFile), "");
    toolkitState().CharsetFileName = "standard.chr";
    char small[8];
    InfoFilename(CharsetFile, small);
    EXPECT_EQ(test::text(small), "standard");
    EXPECT_EQ(toolkitState().LastErrorNumber, 1023);
}

TEST_F(OsServicesTest, ToolkitDirectorySources) {
    {
        EnvVar rudoru("RUDORU", "C:\\ZIRE");
        ToolkitDirectoryInit();
        EXPECT_EQ(toolkitState().ToolkitDirectory, "C:\\ZIRE\\");
    }
    EnvVar noRudoru("RUDORU", nullptr);
    {
        EnvVar vadi("VADI", "D:\\Tools\\vadi\\bin");
        ToolkitDirectoryInit();
        EXPECT_EQ(toolkitState().ToolkitDirectory, "D:\\Tools\\");
    }
    EnvVar noVadi("VADI", nullptr);
    ToolkitDirectoryInit();
    std::string exe = programPath();
    EXPECT_EQ(toolkitState().ToolkitDirectory, exe.substr(0, exe.find_last_of('/') + 1));
    EXPECT_EQ(toolkitState().DecimalSeparator, '.');
    EXPECT_EQ(toolkitState().GeneralFileUnit, 40);
}

TEST_F(OsServicesTest, TemporaryFileNamesSkipExistingOnes) {
    test::TempDir dir;
    EnvVar tmpdir("TMPDIR", dir.path().c_str());
    test::writeFile(dir.file("zaz$$00.plt"), "");
    TemporaryFileNamesInit();
    EXPECT_EQ(toolkitState().TemporaryPlotFileName, dir.path() + "/zaz$$01.plt");
    EXPECT_EQ(toolkitState().TemporaryDumpFileName, dir.path() + "/zaz$$00.dmp");
}

TEST_F(OsServicesTest, SystemInformation) {
    EXPECT_EQ(SystemInfoValue(1), 6);
    EXPECT_EQ(SystemInfoValue(3), 501);
    EXPECT_EQ(SystemInfoValue(6), 92);
    EXPECT_EQ(SystemInfoValue(16), 4);
    EXPECT_EQ(SystemInfoValue(18), 1);
    EXPECT_EQ(SystemInfoValue(20), '.');
    EXPECT_EQ(SystemInfoValue('C'), 2);
    EXPECT_EQ(SystemInfoValue('Q'), 0);
    EXPECT_NE(SystemInfoValue(100 + 'C'), 0);
    EXPECT_EQ(SystemInfoQuery(10), 0);
    EXPECT_GT(SystemInfoQuery(17), 0);
    EXPECT_GE(SystemInfoValue(21), SystemInfoQuery(17) >> 20);
    win::setTickCountSource([] { return win::DWORD{0xFFFFFFFFu}; });
    EXPECT_EQ(SystemInfoValue(15), 0x7FFFFFFF);
}

TEST_F(OsServicesTest, ProcessesRunAndAreAwaited) {
    test::TempDir dir;
    int result = 0;
    Win32RunProcess("/bin/sh -c \"sleep 0.1; echo done > ran.txt\"", 1, 1, 10, result);
    EXPECT_EQ(result, 32);
    EXPECT_EQ(test::readFile(dir.file("ran.txt")), "done\n");

    int paints = 0;
    seams().dispatchPaint = [&] { ++paints; };
    Win32RunProcess("cmd.exe /c echo hi > \"out file.txt\"", 1, 1, -1, result);
    EXPECT_EQ(result, 32);
    EXPECT_GE(paints, 1);
    EXPECT_EQ(test::readFile(dir.file("out file.txt")), "hi\n");

    Win32RunProcess("sleep 0.3", 1, 1, 0, result);
    EXPECT_EQ(result, -1);
    Win32RunProcess("no-such-program-pelk", 1, 1, 1, result);
    EXPECT_EQ(result, 2);
    Win32ProgramStart(result, "true");
    EXPECT_GE(result, 32);
}

TEST_F(OsServicesTest, OsExecuteNeedsAProgram) {
    OsExecute("   ");
    EXPECT_EQ(toolkitState().LastErrorNumber, 23);
    EXPECT_EXIT(OsExecute("true"), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(OsExecute("no-such-program-pelk"), ::testing::ExitedWithCode(2), "");
}

// Registry values go to a small file in the user's configuration folder
// and come back from it, with the sizes, types and codes of the registry.
TEST_F(OsServicesTest, RegistryValuesLiveInTheConfigurationFolder) {
    test::TempDir dir;
    test::EnvVar config("XDG_CONFIG_HOME", dir.path().c_str());
    const int user = static_cast<int>(0x80000001u);
    int result = -1;
    Win32RegistryValueWrite(user, 1, result, "Software\\Pelk\\Paths", "Data", "C:\\DATA", 8);
    EXPECT_EQ(result, 0);
    const std::string file = test::readFile(dir.file("pelk-gm/registry"));
    EXPECT_NE(file.find("[HKCU\\Software\\Pelk\\Paths]"), std::string::npos) << file;

    // The size first, then too little room, then the value (names in any case).
    int type = 0, size = 0;
    std::array<char, 16> data{};
    Win32RegistryValueRead(user, type, size, "SOFTWARE\\pelk\\paths", "data", data.data());
    EXPECT_EQ(type, 1);
    EXPECT_EQ(size, 8);
    size = 3;
    Win32RegistryValueRead(user, type, size, "Software\\Pelk\\Paths", "Data", data.data());
    EXPECT_EQ(size, 8);  // more data: the size needed
    EXPECT_EQ(data[0], 0);
    size = 16;
    Win32RegistryValueRead(user, type, size, "Software\\Pelk\\Paths", "Data", data.data());
    EXPECT_EQ(size, 8);
    EXPECT_STREQ(data.data(), "C:\\DATA");  // with its NUL

    // Missing keys and values.
    size = 16;
    Win32RegistryValueRead(user, type, size, "Software\\Nothing", "Data", data.data());
    EXPECT_EQ(type, -2);
    EXPECT_EQ(size, 0);
    Win32RegistryValueDelete(user, result, "Software\\Nothing", "Data");
    EXPECT_EQ(result, 2);

    // A key with a subkey stays; without it, it goes.
    Win32RegistryKeyDelete(user, result, "Software\\Pelk");
    EXPECT_EQ(result, 5);
    Win32RegistryValueDelete(user, result, "Software\\Pelk\\Paths", "Data");
    EXPECT_EQ(result, 0);
    size = 16;
    Win32RegistryValueRead(user, type, size, "Software\\Pelk\\Paths", "Data", data.data());
    EXPECT_EQ(type, -2);
    Win32RegistryKeyDelete(user, result, "Software\\Pelk\\Paths");
    EXPECT_EQ(result, 0);
    Win32RegistryKeyDelete(user, result, "Software\\Pelk");
    EXPECT_EQ(result, 0);
    Win32RegistryKeyDelete(user, result, "Software\\Pelk");
    EXPECT_EQ(result, 2);
    // An unknown root is no key at all.
    Win32RegistryValueWrite(7, 1, result, "Software", "X", "x", 1);
    EXPECT_EQ(result, 6);
}

}  // namespace
}  // namespace tk
