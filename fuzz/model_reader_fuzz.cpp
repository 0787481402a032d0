// Feeds arbitrary text to the ASCII model reader. Whatever the text, reading
// must end without a memory error or an undefined operation; a model it
// accepts must hold its bodies and locks within its arrays, and must be
// written into a file that reads again to the same bodies and vertices.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/messages.h"
#include "files/model_file.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkShape(const model::PolygonModel& m) {
    check(m.NBOD >= 0 && m.NBOD <= m.NBCAP && m.IV1.size() >= m.NBOD);
    const int nv = m.vertexCount();
    check(nv <= m.XVRT.size() && nv <= m.IPOINT.size());
    int next = 1;
    for (int b = 1; b <= m.NBOD; ++b) {
        check(m.IV1(b) == next && m.IV2(b) >= m.IV1(b));
        next = m.IV2(b) + 1;
    }
    for (int v = 1; v <= nv; ++v)
        check(m.IPOINT(v) >= 1 && m.IPOINT(v) <= nv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        files::messageBoxes() = {[](std::string_view) {}, [](std::string_view) {}};
        return true;
    }();
    (void)quiet;

    model::PolygonModel m;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!files::readModelText(text, m)) return 0;
    checkShape(m);

    model::ProfileLine profile;
    profile.DTYPE.assign("Magnetics Data");
    std::string again;
    for (const std::string& line : files::modelFileLines(profile, m))
        again += line + "\r\n";
    model::PolygonModel second;
    check(files::readModelText(again, second));
    checkShape(second);
    check(second.NBOD == m.NBOD && second.vertexCount() == m.vertexCount());
    for (int v = 1; v <= m.vertexCount(); ++v)
        check(second.IPOINT(v) == m.IPOINT(v));
    return 0;
}
