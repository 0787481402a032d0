#include "platform/kernel/user_folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace win {

std::string userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/pelk-gm";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/state/pelk-gm";
    std::error_code ec;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
    if (ec || !temporary.is_absolute()) temporary = "/tmp";
    return (temporary / "pelk-gm").string();
}

std::string userStateFile(std::string_view name) {
    const std::string folder = userStateFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder + "/" + std::string(name);
}

}  // namespace win
