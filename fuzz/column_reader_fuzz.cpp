// Feeds arbitrary text to the column-file reader under columns chosen by the
// first bytes. A profile it makes must hold the arrays its count promises;
// a refused file must leave the profile alone.

#include <cstdlib>
#include <string_view>

#include "files/column_chooser.h"
#include "files/column_import.h"
#include "files/view_settings.h"
#include "import_fuzz_support.h"
#include "model/profile_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    auto& vs = files::viewSettings();
    vs.EastingColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.NorthingColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.ElevationColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.PDistColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.DataColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.TimeColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    model::ProfileLine profile = model::profileTemplate();
    profile.IELEV = fuzz_support::takeByte(data, size) % 5;

    const auto lines = files::splitTextLines(
        std::string_view(reinterpret_cast<const char*>(data), size), files::kImportLineLimit);
    const model::ProfileLine before = profile;
    int status = 0;
    files::readColumnLines(profile, lines, "fuzz.dat", status);
    if (status == 0) {
        if (profile.NSTA < 2 || profile.STAT.size() != profile.NSTA ||
            profile.DAT.rows() != profile.NSTA)
            std::abort();
    } else if (!(profile == before)) {
        std::abort();
    }
    return 0;
}
