#include "model_fixtures.h"

namespace model_test {

model::PolygonModel makeModel(const std::vector<Outline>& bodies, bool withTopography) {
    model::PolygonModel m;
    allocateOutlines(m, bodies, withTopography ? flatSurface(100.0f) : Outline{});
    for (int b = 1; b <= m.NBOD; ++b) {
        m.DENS(b) = static_cast<float>(b);
        m.ILEVL(b) = 1;
        m.INCLBD(b) = 0;
    }
    return m;
}

Outline square(float x0, float z0, float size) {
    return {{x0, z0}, {x0, z0 + size}, {x0 + size, z0 + size}, {x0 + size, z0}};
}

}  // namespace model_test
