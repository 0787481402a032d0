// Writes the seed corpus of the database reader: files made from the
// fixtures of the file-layer tests, whole and cut short.

#include <cstdio>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "database_fixtures.h"
#include "files/database_image.h"

namespace {

void put(const std::string& folder, const std::string& name,
         const std::vector<std::uint8_t>& bytes) {
    if (!base::writeFile(folder + "/" + name, bytes)) {
        std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_database_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    auto rich = files::databaseFileBytes(files_test::richDatabase(), files_test::sampleAxis(1.0f),
                                         1, "RICH");
    put(folder, "rich.tqm", rich);
    put(folder, "empty.tqm",
        files::databaseFileBytes(files_test::emptyDatabase("EMPTY"), {}, 0, "EMPTY"));
    put(folder, "rich-half.tqm",
        std::vector<std::uint8_t>(rich.begin(), rich.begin() + rich.size() / 2));

    using files_test::FileBuilder;
    FileBuilder older;
    older.start(2);
    older.section("PFLHEAD ", files_test::profileHead("OLD", 2, 2, 284));
    older.section("PLINSTAT", files_test::reals({0, 50}));
    older.section("PCREG   ", files_test::reals({1, 2, 3, 4}));
    older.section("NBOD    ", files_test::integers({1}));
    older.section("IV1     ", files_test::integers({1}));
    older.section("IV2     ", files_test::integers({3}));
    older.section("CMODL   ", std::vector<std::uint8_t>(120, 'a'));
    older.section("ENDPLINE", {});
    older.section("PFLHEAD ", files_test::profileHead("NEW", 1, 1), 2);
    older.section("MYSTERY ", files_test::integers({7}));
    older.section("ENDPLINE", {});
    older.end();
    put(folder, "older.tqm", older.bytes());
    return 0;
}
