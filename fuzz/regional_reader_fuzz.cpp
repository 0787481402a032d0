// Feeds arbitrary text to the reader of regional-field control points, with
// the columns of the program's own export and with others. Whatever it
// reads is at most five points; a text without any leaves the profile as it
// was.

#include <cstdlib>
#include <string_view>

#include "files/regional_file.h"
#include "files/text_lines.h"
#include "import_fuzz_support.h"
#include "model/profile_line.h"

namespace {

void readWith(const std::vector<std::string>& lines, int station, int regional, int skip) {
    model::ProfileLine profile = model::profileTemplate();
    int status = 0;
    files::readRegionalLines(profile, lines, station, regional, skip, status);
    if (status == 0) {
        if (profile.NREG < 1 || profile.NREG > 5) std::abort();
    } else if (!(profile == model::profileTemplate())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    const auto lines =
        files::splitTextLines(std::string_view(reinterpret_cast<const char*>(data), size), 1024);
    readWith(lines, 2, 3, 0);
    readWith(lines, 1, 2, 3);
    readWith(lines, 7, 0, 1);
    return 0;
}
