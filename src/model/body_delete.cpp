#include "model/body_delete.h"

#include <span>

#include "model/vertex_edit.h"
#include "util/array_routines.h"

namespace model {

namespace {

// Entries body..nb move one place towards the start; the last becomes empty.
template <typename T, std::ptrdiff_t L>
void closeGap(Array<T, L>& a, int body, int nb) {
    if (!a.has(nb)) return;
    std::span<T> run(a.values().data() + (body - L), static_cast<std::size_t>(nb - body + 1));
    util::shiftArray<T>(run, nb - body + 1, -1, T{});
}

}  // namespace

void DELETEBODY(PolygonModel& m, int body) {
    const int first = m.IV1(body), last = m.IV2(body);
    for (int v = last; v >= first; --v)
        removeVertex(m, body, v);
    const int nb = m.NBOD;
    if (body < nb) {
        closeGap(m.DENS, body, nb);
        closeGap(m.XTENT1, body, nb);
        closeGap(m.XTENT2, body, nb);
        closeGap(m.REMS, body, nb);
        closeGap(m.DECS, body, nb);
        closeGap(m.DIPS, body, nb);
        closeGap(m.IV1, body, nb);
        closeGap(m.IV2, body, nb);
        closeGap(m.LAYER, body, nb);
        closeGap(m.LVFIX, body, nb);
        closeGap(m.LHIDE, body, nb);
        closeGap(m.AREAS, body, nb);
        closeGap(m.XPIVOT, body, nb);
        closeGap(m.ZPIVOT, body, nb);
    }
    m.NBOD = nb - 1;
}

}  // namespace model
