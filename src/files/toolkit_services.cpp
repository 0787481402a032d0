#include "files/toolkit_services.h"

#include <array>

#include "toolkit/core/file_services.h"
#include "toolkit/dialogs/file_select.h"

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
    s.selectFile = [](const FileSelection& r) {
        return tk::SelectFileChoice(r.filter, r.flags, r.proposedName, r.title);
    };
    s.hostName = [](const std::string& name) { return tk::OsHostPath(name); };
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
