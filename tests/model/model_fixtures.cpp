#include "model_fixtures.h"

namespace model_test {

model::PolygonModel makeModel(const std::vector<Outline>& bodies, bool withTopography) {
    model::PolygonModel m;
    int nv = 0;
    for (const auto& b : bodies)
        nv += static_cast<int>(b.size());
    const int nb = static_cast<int>(bodies.size());
    m.NTOPO = withTopography ? 2 : 0;
    model::ALLOCPG(m, nv, nb);
    if (withTopography) {
        m.XTOPO(1) = -1000.0f;
        m.ZTOPO(1) = 100.0f;
        m.XTOPO(2) = 1000.0f;
        m.ZTOPO(2) = 100.0f;
        m.ZTOPO(3) = 100.0f;
        m.ZTOPO(6) = 100.0f;
    }
    m.NBOD = nb;
    m.NVCAP = nv;
    m.NBCAP = nb;
    putOutlines(m, bodies);
    for (int b = 1; b <= nb; ++b) {
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
