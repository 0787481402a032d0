#pragma once
// Shared by the toolkit core tests: a fresh temporary folder that is also the
// current directory while it lives, and a clean toolkit between cases.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/message_box.h"
#include "toolkit/core/debug_log.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"

namespace tk::test {

class TempDir {
  public:
    TempDir() {
        std::string base = (std::filesystem::temp_directory_path() / "pelk-tk-XXXXXX").string();
        path_ = ::mkdtemp(base.data());
        char cwd[PATH_MAX];
        oldCwd_ = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        std::filesystem::current_path(path_);
    }
    ~TempDir() {
        std::filesystem::current_path(oldCwd_);
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
    std::string oldCwd_;
};

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }
    static void resetAll() {
        toolkitState().reset();
        seams() = ToolkitSeams{};
        win::testing::resetMessageBoxes();
        testing::resetDebugLog();
    }
};

}  // namespace tk::test

namespace tk::test {

// Sets (or unsets, for a null value) an environment variable for the life of
// the guard.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (had_)
            ::setenv(name_.c_str(), old_.c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }

  private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

template <std::size_t N>
std::string text(const char (&buf)[N]) {
    return std::string(buf, N);
}

inline std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

}  // namespace tk::test
