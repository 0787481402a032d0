// Feeds arbitrary text to the reader of the sibling product's ASCII data
// file. A profile it reads must be consistent; a refused file changes nothing.

#include <cstdlib>
#include <string_view>

#include "files/mog_import.h"
#include "files/text_lines.h"
#include "import_fuzz_support.h"
#include "model/profile_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    const auto lines =
        files::splitTextLines(std::string_view(reinterpret_cast<const char*>(data), size), 4096);
    model::ProfileLine profile = model::profileTemplate();
    int status = 0;
    files::readMogLines(profile, lines, status);
    if (status == 0) {
        const int n = profile.NSTA;
        if (n < 1 || n > files::kMogStationLimit || profile.MODEL.NTOPO != n ||
            profile.MODEL.XTOPO(n + 4) != -1.0E16f)
            std::abort();
    } else if (!(profile == model::profileTemplate())) {
        std::abort();
    }
    return 0;
}
