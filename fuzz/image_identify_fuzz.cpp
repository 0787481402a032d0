// Feeds an arbitrary file to the graphics file identification with every
// entry wanted, so the header tests, the text parsing of plotter,
// PostScript, DXF and SVG files and the CGM and picture-file counters all
// run on it. Whatever the file holds, the call must end without a memory
// error or an undefined operation and answer a known kind.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "toolkit/output/image_file_identify.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/pelk-identify-fuzz-" + std::to_string(::getpid());
    if (!base::writeFile(path, std::vector<std::uint8_t>(data, data + size))) std::abort();
    tk::ImageFileInfo info;
    tk::ImageFileIdentify(path, info, 6);
    if (info[1] < tk::ImageUnreadable || info[1] > tk::ImageSvg) std::abort();
    if (size < 4 && info[1] != tk::ImageUnreadable) std::abort();
    return 0;
}
