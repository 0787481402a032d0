#include "util/ini_file_name.h"

#include <array>
#include <string>

#include "toolkit/core/binary_file_io.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/file_services.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"

namespace util {
namespace {

std::string text(std::span<char> field) {
    return std::string(tk::trimRight(std::string_view(field.data(), field.size())));
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The toolkit's routines report what they find; these trials are silent and
// leave the last error as it was.
class Quietly {
  public:
    Quietly()
        : mode_(tk::toolkitState().ErrorReportMode), last_(tk::toolkitState().LastErrorNumber) {
        tk::toolkitState().ErrorReportMode = 0;
    }
    ~Quietly() {
        tk::toolkitState().ErrorReportMode = mode_;
        tk::toolkitState().LastErrorNumber = last_;
    }

  private:
    int mode_, last_;
};

// The file exists and may be opened for reading and writing.
bool usable(const std::string& name) {
    Quietly quiet;
    tk::FileHandle h = -1;
    tk::BinFileOpen(name, tk::OpenReadWrite, h);
    if (h == -1) return false;
    tk::FileHandleClose(h);
    return true;
}

std::string environment(const char* name) {
    std::array<char, 255> value;
    tk::OsVariable(name, value);
    return text(value);
}

// The folders that may hold the user's own settings, in the order tried.
std::array<std::string, 3> userFolders(const std::string& programName) {
    std::array<char, 80> user;
    tk::OsUserName(user);
    std::string u = text(user);
    if (!programName.empty() && (programName[0] == 'C' || programName[0] == 'c'))
        return {"C:\\Users\\" + u, "C:\\Documents and Settings\\" + u, "C:\\" + u};
    // A Linux program path: the user's home folder.
    return {environment("HOME"), "/home/" + u, ""};
}

}  // namespace

void INIFILENAME(std::span<char> name) {
    std::array<char, 255> program;
    tk::CommandLineArgument(0, program);
    std::string path = upper(text(program));
    std::size_t exe = path.rfind(".EXE");
    if (exe != std::string::npos)
        path.replace(exe, 4, ".INI");
    else
        path += ".INI";  // Linux programs carry no extension
    if (usable(path)) {
        tk::putText(name, path);
        return;
    }
    std::size_t cut = path.find_last_of("\\/");
    std::string filePart = cut == std::string::npos ? path : path.substr(cut + 1);
    for (const std::string& folder : userFolders(path)) {
        if (folder.empty()) continue;
        Quietly quiet;
        if (!tk::DirectoryExists(folder)) continue;
        std::string sep = folder.find('\\') != std::string::npos ? "\\" : "/";
        std::string own = folder + sep + "Varendal";
        if (!tk::DirectoryExists(own)) tk::OsDirMake(own);
        path = own + sep + filePart;
        break;
    }
    tk::putText(name, path);
}

}  // namespace util
