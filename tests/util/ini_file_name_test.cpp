#include "util/ini_file_name.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "toolkit/core/toolkit_state.h"

namespace util {
namespace {

namespace fs = std::filesystem;

std::string programPath() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    return std::string(buf, static_cast<std::size_t>(n));
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string chosen() {
    std::string name(255, '?');
    INIFILENAME(name);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

class IniFileNameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::toolkitState().reset();
        std::string base = (fs::temp_directory_path() / "pelk-home-XXXXXX").string();
        home_ = ::mkdtemp(base.data());
        if (const char* h = std::getenv("HOME")) oldHome_ = h;
        ::setenv("HOME", home_.c_str(), 1);
    }
    void TearDown() override {
        ::setenv("HOME", oldHome_.c_str(), 1);
        fs::remove_all(home_);
    }
    std::string home_, oldHome_;
};

// One test for both cases: the file beside the program is shared by every
// test process that runs at the same time.
TEST_F(IniFileNameTest, BesideTheProgramElseInTheUserFolder) {
    std::string program = programPath();
    std::string file = upper(program.substr(program.find_last_of('/') + 1)) + ".INI";
    EXPECT_EQ(chosen(), home_ + "/Varendal/" + file);
    EXPECT_TRUE(fs::is_directory(home_ + "/Varendal"));
    EXPECT_EQ(tk::toolkitState().LastErrorNumber, 0);

    fs::remove_all(home_ + "/Varendal");
    std::string beside = program + ".ini";
    std::ofstream(beside) << "[Files]\n";
    std::string name = chosen();
    fs::remove(beside);
    EXPECT_EQ(name, upper(program) + ".INI");
    EXPECT_FALSE(fs::exists(home_ + "/Varendal"));
}

}  // namespace
}  // namespace util
