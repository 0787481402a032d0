#include "files/toolkit_services.h"

#include <array>

#include "toolkit/core/file_services.h"

namespace files {

namespace {
ToolkitServices defaultServices() {
    ToolkitServices s;
    s.currentFolder = [] {
        std::array<char, 4096> field;
        tk::OsDirName(field);
        std::string folder(field.data(), field.size());
        return folder.substr(0, folder.find_last_not_of(' ') + 1);
    };
    s.changeFolder = [](const std::string& folder) { tk::OsDirChange(folder); };
    // Until the toolkit's file selector is bound here, every choice is cancelled.
    s.selectFile = [](const FileSelection&) { return std::optional<std::string>(); };
    return s;
}
}  // namespace

ToolkitServices& toolkitServices() {
    static ToolkitServices services = defaultServices();
    return services;
}

void resetToolkitServices() {
    toolkitServices() = defaultServices();
}

}  // namespace files
