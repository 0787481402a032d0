#include "platform/kernel/processes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <string>
#include <vector>

#include "platform/kernel/environment.h"
#include "platform/kernel/errors.h"
#include "platform/message_box.h"
#include "platform/window/clock.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "platform/window/window_system.h"

namespace win {
namespace {

// The show values are declared once, with the window constants.
static_assert(SW_HIDE == 0 && SW_SHOWNORMAL == 1 && SW_SHOWMAXIMIZED == 3);

TEST(Processes, CommandLinesBecomeArgumentVectors) {
    struct Case {
        std::string line;
        std::vector<std::string> argv;
    };
    const Case cases[] = {
        {"prog a  b", {"prog", "a", "b"}},
        {"\"C:\\Program Files\\x.exe\" \"two words\"", {"C:\\Program Files\\x.exe", "two words"}},
        {"p a\\\\b \"q\\\"r\"", {"p", "a\\\\b", "q\"r"}},
        {"p \"\"", {"p", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandLineToArguments(c.line), c.argv) << c.line;
}

TEST(Processes, ArgumentVectorsSurviveTheCommandLine) {
    const std::vector<std::string> argv{"xdg-email",  "plain",     "two words", "",
                                        "say \"hi\"", "C:\\dir\\", "a\\\"b",    "tab\there"};
    const std::string line = argumentsToCommandLine(argv);
    EXPECT_EQ(commandLineToArguments(line), argv) << line;
}

TEST(Processes, ExitCodesAreAwaited) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;
    std::string line = "cmd.exe /c exit 7";
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);

    line = "sleep 5";
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_TRUE(TerminateProcess(info.hProcess, 3));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 1000), WAIT_OBJECT_0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);

    line = "no-such-program-pelk";
    EXPECT_FALSE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &info));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec("no-such-program-pelk", SW_SHOWNORMAL), 2u);
}

// Children of this process that ended and were never reaped.
int zombieChildren() {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        std::ifstream status(e.path() / "status");
        std::string line, state;
        int parent = -1;
        while (std::getline(status, line)) {
            if (line.rfind("State:", 0) == 0) state = line;
            if (line.rfind("PPid:", 0) == 0) parent = std::stoi(line.substr(5));
        }
        if (parent == ::getpid() && state.find('Z') != std::string::npos) ++n;
    }
    return n;
}

// A viewer that failed at once is reaped while the program waits, not only
// when the next one starts.
TEST(Processes, ADetachedChildThatEndedIsReapedWhileTheProgramWaits) {
    win::resetWindowSystem();
    win::FakeClock clock;
    win::setClock(&clock);
    ASSERT_EQ(win::spawnDetached({"false"}), 0);
    for (int i = 0; i < 100 && zombieChildren() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(zombieChildren(), 1);
    win::SetTimer(nullptr, 0, 50, nullptr);
    win::MSG m{};
    EXPECT_TRUE(win::GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, win::WM_TIMER);
    EXPECT_EQ(zombieChildren(), 0);
    win::setClock(nullptr);
    win::resetWindowSystem();
}

TEST(Environment, VariablesAndBuffers) {
    ASSERT_TRUE(SetEnvironmentVariableA("PELK_PLATFORM_TEST", "abc"));
    char buf[8];
    EXPECT_EQ(GetEnvironmentVariableA("PELK_PLATFORM_TEST", buf, sizeof buf), 3u);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(GetEnvironmentVariableA("PELK_PLATFORM_TEST", buf, 3), 4u);
    ASSERT_TRUE(SetEnvironmentVariableA("PELK_PLATFORM_TEST", nullptr));
    EXPECT_EQ(GetEnvironmentVariableA("PELK_PLATFORM_TEST", buf, sizeof buf), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);

    char tiny[2];
    DWORD size = sizeof tiny;
    EXPECT_FALSE(GetUserNameA(tiny, &size) && size > 2);
    char decimal[4];
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 4), 2);
    EXPECT_STREQ(decimal, ".");
    setTickCountSource([] { return DWORD{1234}; });
    EXPECT_EQ(GetTickCount(), 1234u);
    setTickCountSource(nullptr);
    DWORD a = GetTickCount(), b = GetTickCount();
    EXPECT_LE(a, b);
    testing::setCommandLine("prog x");
    EXPECT_STREQ(GetCommandLineA(), "prog x");
    testing::setCommandLine("");
}

TEST(HeadlessMessageBox, QueuedAnswersThenDefaultButtons) {
    testing::resetMessageBoxes();
    testing::queueMessageBoxAnswer(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "t", nullptr, MB_OK), IDOK);
    ASSERT_EQ(testing::messageBoxes().size(), 4u);
    EXPECT_EQ(testing::messageBoxes()[0].answer, IDNO);
    EXPECT_EQ(testing::lastMessageBox()->caption, "Error");
    MessageBeep(0);
    EXPECT_EQ(testing::beepCount(), 1);
    testing::resetMessageBoxes();
    EXPECT_FALSE(testing::lastMessageBox());
}

}  // namespace
}  // namespace win
