// Feeds arbitrary bytes to the PCX image reader (see image_reader_fuzz.h).

#include "image_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::decodeChecked(tk::DecodePcx, data, size);
}
