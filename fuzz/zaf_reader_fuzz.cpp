// Feeds arbitrary bytes to the reader of the sibling product's binary file.
// Every count is checked against the bytes there are, so no input may cause
// a memory error or an outsized allocation; an accepted file gives a model
// whose vertex runs and leaders stay inside its vertex list, and a refused
// one changes nothing.

#include <cstdlib>

#include "files/zaf_import.h"
#include "import_fuzz_support.h"
#include "model/profile_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::quiet();
    model::ProfileLine profile = model::profileTemplate();
    util::AxisRecord mapAxis;
    int status = 0;
    files::readZafBytes(profile, mapAxis, {data, size}, files::chosenFile("fuzz.zaf"), status);
    if (status != 0) {
        if (!(profile == model::profileTemplate())) std::abort();
        return 0;
    }
    const auto& m = profile.MODEL;
    const int nv = m.vertexCount();
    if (profile.NSTA > files::kZafStationLimit || nv > files::kZafVertexLimit) std::abort();
    for (int b = 1; b <= m.NBOD; ++b)
        if (m.IV1(b) < 1 || m.IV2(b) > nv || m.IV1(b) > m.IV2(b)) std::abort();
    for (int i = 1; i <= nv; ++i)
        if (m.IPOINT(i) < 1 || m.IPOINT(i) > nv) std::abort();
    if (profile.STAT.size() != profile.NSTA + 4) std::abort();
    return 0;
}
