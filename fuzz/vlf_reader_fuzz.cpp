// Feeds an arbitrary file to the VLF survey reader. Whatever the file holds,
// reading must end without a memory error or an undefined operation, and a
// profile it fills must hold its stations within its arrays.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "files/vlf_reader.h"
#include "import_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    static const std::string path = "/tmp/pelk-vlf-fuzz-" + std::to_string(::getpid()) + ".wad";
    if (!base::writeFile(path, std::vector<std::uint8_t>(data, data + size))) std::abort();
    model::ProfileLine profile;
    int status = 0;
    files::readVlfFile(profile, files::chosenFile(path), status);
    if (status == 0 && profile.NSTA > 0 &&
        (profile.STAT.size() < profile.NSTA || profile.EAST.size() < profile.NSTA))
        std::abort();
    return 0;
}
