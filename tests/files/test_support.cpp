#include "test_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/little_endian.h"

namespace files_test {

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/pelk-files-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

MessageLog::MessageLog() {
    files::messageBoxes() = {[this](std::string_view t) { information.emplace_back(t); },
                             [this](std::string_view t) { warnings.emplace_back(t); },
                             [this](std::string_view t) {
                                 questions.emplace_back(t);
                                 return answer;
                             }};
}

MessageLog::~MessageLog() {
    files::resetMessageBoxes();
}

std::vector<std::string> MessageLog::all() const {
    std::vector<std::string> v = information;
    v.insert(v.end(), warnings.begin(), warnings.end());
    return v;
}

FakeToolkit::FakeToolkit() {
    auto& s = files::toolkitServices();
    s.currentFolder = [this] { return folder; };
    s.changeFolder = [this](const std::string& f) { folderChanges.push_back(f); };
    s.selectFile = [this](const files::FileSelection& request) {
        selectorCalls.push_back(request);
        return selection;
    };
}

FakeToolkit::~FakeToolkit() {
    files::resetToolkitServices();
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    base::ByteBuffer bytes;
    if (!base::readFile(path, bytes)) throw std::runtime_error("cannot read " + path);
    return {bytes.begin(), bytes.end()};
}

std::string readText(const std::string& path) {
    auto bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (!base::writeFile(path, bytes)) throw std::runtime_error("cannot write " + path);
}

void writeText(const std::string& path, std::string_view text) {
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string goldenPath(std::string_view name) {
    return std::string(PELK_SOURCE_DIR) + "/tests/files/golden/" + std::string(name);
}

}  // namespace files_test
