#pragma once
// Helpers shared by the file-layer tests: a scratch folder, environment
// variables set for one test, and recorders for the message boxes and the
// file selector.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/messages.h"
#include "files/toolkit_services.h"

namespace files_test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Records every message box shown while it lives.
class MessageLog {
  public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    std::vector<std::string> information;
    std::vector<std::string> warnings;
    std::vector<std::string> questions;  // answered with `answer`
    bool answer = true;
    std::vector<std::string> all() const;
};

// Answers the toolkit's folder and selector services while it lives: the
// current folder is a fixed text, folder changes are recorded, and the
// selector answers with `selection` (cancelled when empty).
class FakeToolkit {
  public:
    FakeToolkit();
    ~FakeToolkit();
    FakeToolkit(const FakeToolkit&) = delete;
    FakeToolkit& operator=(const FakeToolkit&) = delete;
    std::string folder = "/home/geo/surveys";
    std::vector<std::string> folderChanges;
    std::optional<std::string> selection;
    std::vector<files::FileSelection> selectorCalls;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, std::string_view text);
std::string goldenPath(std::string_view name);

}  // namespace files_test
