#include "model/body_area.h"

#include <algorithm>
#include <cstddef>

namespace model {

float PGAREA(std::span<const float> x, std::span<const float> z, int n) {
    const std::size_t count =
        std::min({static_cast<std::size_t>(std::max(n, 0)), x.size(), z.size()});
    float sum = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t j = (i + 1 == count) ? 0 : i + 1;
        sum += x[j] * z[i] - x[i] * z[j];
    }
    return 0.5f * sum;
}

void FDAREA(PolygonModel& m) {
    for (int k = 1; k <= m.NBOD; ++k) {
        const int first = m.IV1(k);
        const int count = std::max(m.IV2(k) - first + 1, 0);
        if (count == 0 || !m.XVRT.has(first)) {
            m.AREAS(k) = 0.0f;
            continue;
        }
        const auto at = static_cast<std::size_t>(first - 1);
        std::span<const float> xs(m.XVRT.values()), zs(m.ZVRT.values());
        m.AREAS(k) = PGAREA(xs.subspan(at), zs.subspan(at), count);
    }
}

}  // namespace model
