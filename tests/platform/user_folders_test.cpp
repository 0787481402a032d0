#include "platform/kernel/user_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace win {
namespace {

namespace fs = std::filesystem;

// Sets (or, for nullopt, removes) an environment variable for one scope.
class Setting {
  public:
    Setting(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~Setting() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

TEST(UserFolders, TheStateFolderFollowsTheEnvironmentAndIsNeverRelative) {
    const std::string temporary = fs::temp_directory_path().string();
    struct Case {
        std::optional<std::string> state, home;
        std::string folder;
    } cases[] = {
        {"/srv/state", "/home/ann", "/srv/state/pelk-gm"},
        {std::nullopt, "/home/ann", "/home/ann/.local/state/pelk-gm"},
        {"", "/home/ann", "/home/ann/.local/state/pelk-gm"},
        // A relative setting would put the files in the current folder.
        {"state", "/home/ann", "/home/ann/.local/state/pelk-gm"},
        {std::nullopt, std::nullopt, (fs::path(temporary) / "pelk-gm").string()},
        {std::nullopt, "home", (fs::path(temporary) / "pelk-gm").string()},
    };
    for (const Case& c : cases) {
        Setting state("XDG_STATE_HOME", c.state);
        Setting home("HOME", c.home);
        EXPECT_EQ(userStateFolder(), c.folder) << c.state.value_or("(unset)");
    }
}

TEST(UserFolders, AStateFileHasItsFolderMadeAndNothingInTheCurrentFolder) {
    std::string base = (fs::temp_directory_path() / "pelk-state-XXXXXX").string();
    const fs::path dir = ::mkdtemp(base.data());
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    {
        Setting state("XDG_STATE_HOME", (dir / "deep" / "state").string());
        const std::string file = userStateFile("Pelk.dbg");
        EXPECT_EQ(file, (dir / "deep" / "state" / "pelk-gm" / "Pelk.dbg").string());
        EXPECT_TRUE(fs::is_directory(dir / "deep" / "state" / "pelk-gm"));
        EXPECT_FALSE(fs::exists(file));  // the caller makes the file
    }
    EXPECT_FALSE(fs::exists(dir / "Pelk.dbg"));
    fs::current_path(old);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace win
