#include "files/toolkit_services.h"

#include <filesystem>
#include <system_error>

#include "toolkit/core/error_report.h"

namespace files {

namespace {
constexpr int kOperatingSystemError = 13;

ToolkitServices defaultServices() {
    ToolkitServices s;
    s.currentFolder = [] {
        std::error_code ec;
        auto p = std::filesystem::current_path(ec);
        return ec ? std::string() : p.string();
    };
    s.changeFolder = [](const std::string& folder) {
        std::error_code ec;
        std::filesystem::current_path(folder, ec);
        if (ec) tk::ReportLibraryError(kOperatingSystemError, "OsDirChange");
    };
    // Without a window system there is nobody to ask: the choice is cancelled.
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
