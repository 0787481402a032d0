// Feeds arbitrary bytes to the rich-edit control's RTF reader. What it reads
// must be consistent (one format and one paragraph layout per character,
// formats that exist), and writing it out and reading it again must give the
// same text.

#include <cstdlib>
#include <string>

#include "platform/controls/rtf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace win::controls;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const RichText t = readRtf(input, RichFormat{});
    if (t.fmt.size() != t.text.size() || t.para.size() != t.text.size()) std::abort();
    for (int f : t.fmt)
        if (f < 0 || static_cast<std::size_t>(f) >= t.formats.size()) std::abort();
    const RichText again = readRtf(writeRtf(t), RichFormat{});
    if (again.text != t.text) std::abort();
    return 0;
}
