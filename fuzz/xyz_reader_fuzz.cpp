// Feeds arbitrary text to the XYZ reader under columns chosen by the first
// bytes. Whatever the text, reading must end without a memory error or an
// undefined operation, and every profile stored must hold the arrays its
// counts promise.

#include <cstdlib>
#include <memory>
#include <string_view>

#include "files/column_chooser.h"
#include "files/view_settings.h"
#include "files/xyz_import.h"
#include "import_fuzz_support.h"
#include "model/profile_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    static auto db = [] {
        auto d = std::make_unique<model::ProfileDatabase>();
        model::allocateDatabase(*d);
        return d;
    }();
    auto& vs = files::viewSettings();
    vs.EastingColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.NorthingColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.ElevationColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.PDistColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.DataColumn = fuzz_support::takeByte(data, size) % 8 - 1;
    vs.ColumnIncrement = fuzz_support::takeByte(data, size) % 8 - 1;
    const bool twoComponents = fuzz_support::takeByte(data, size) & 1;
    // Most runs start with room for a few profiles; some with a full database.
    db->NPROF = fuzz_support::takeByte(data, size) % 4 == 0 ? 98 : 0;
    const int first = db->NPROF + 1;

    const auto lines = files::splitTextLines(
        std::string_view(reinterpret_cast<const char*>(data), size), files::kImportLineLimit);
    const files::ChosenFile file = files::chosenFile("fuzz.xyz");
    (void)files::readXyzLines(*db, lines, file, twoComponents ? "GMag" : "Grav");

    for (int k = first; k <= db->NPROF; ++k) {
        const auto& p = db->profile(k);
        if (p.NSTA < 2 || p.EAST.size() != p.NSTA || p.DAT.rows() != p.NSTA ||
            p.DAT.cols() != p.NCOMP || p.MODEL.ZTOPO.size() < p.NSTA + 4)
            std::abort();
    }
    if (db->NPROF > 100) std::abort();
    return 0;
}
