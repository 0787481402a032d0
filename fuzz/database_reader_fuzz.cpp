// Feeds arbitrary bytes to the database reader. Whatever the bytes, reading
// must end without a memory error, an undefined operation or an outsized
// allocation; and a database the reader accepts must be written back into a
// file that reads again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/database_image.h"
#include "files/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        files::messageBoxes() = {[](std::string_view) {}, [](std::string_view) {}};
        return true;
    }();
    (void)quiet;

    files::DatabaseImage image;
    if (!files::readDatabaseImage({data, size}, "fuzz.TQM", image)) return 0;

    auto again = files::databaseFileBytes(image.database, image.mapAxis, image.currentProfile,
                                          image.database.DBNAME);
    files::DatabaseImage second;
    if (!files::readDatabaseImage(again, "again.TQM", second)) std::abort();
    if (second.database.NPROF != image.database.NPROF) std::abort();
    return 0;
}
