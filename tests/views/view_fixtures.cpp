#include "view_fixtures.h"

#include "model/outline_model.h"

namespace views_test {

model::ProfileLine makeProfile(const char* name, const std::vector<Station>& stations, bool syn) {
    model::ProfileLine p;
    p.PNAME.assign(name);
    p.DTYPE.assign("Gravity Data");
    p.XUNIT.assign("m");
    p.ZUNIT.assign("m");
    p.DUNIT[0].assign("mGal");
    p.NSTA = static_cast<int>(stations.size());
    p.NCOMP = 1;
    p.NDGRAF = 1;
    p.LSYN = syn;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= p.NSTA; ++i) {
        const Station& s = stations[static_cast<std::size_t>(i - 1)];
        p.EAST(i) = s.east;
        p.NORT(i) = s.north;
        p.STAT(i) = s.dist;
        p.ELEV(i) = s.elev;
        p.DAT(i, 1) = s.data;
        p.SYN(i, 1) = s.syn;
        p.MASK(i, 1) = model::Logical{false};
    }
    if (p.NSTA > 0) {
        p.EFIRST = p.EAST(1);
        p.NFIRST = p.NORT(1);
        p.ELAST = p.EAST(p.NSTA);
        p.NLAST = p.NORT(p.NSTA);
    }
    return p;
}

model::PolygonModel makeModel(const std::vector<Outline>& bodies, const std::vector<float>& props,
                              float background) {
    model::PolygonModel m;
    model_test::allocateOutlines(m, bodies, model_test::flatSurface(0.0f));
    const int nb = m.NBOD;
    // The surface closed deep below the section.
    const float tx[] = {-1000.0f, 1000.0f, 1000.0f, 0.0f, -1000.0f, -1000.0f};
    const float tz[] = {0.0f, 0.0f, -1.0E5f, -1.0E5f, -1.0E5f, 0.0f};
    for (int k = 1; k <= 6; ++k) {
        m.XTOPO(k) = tx[k - 1];
        m.ZTOPO(k) = tz[k - 1];
    }
    m.DBKG = background;
    for (int b = 1; b <= nb; ++b) {
        m.DENS(b) = props[static_cast<std::size_t>(b - 1)];
        m.ILEVL(b) = 1;
    }
    return m;
}

Outline rect(float x0, float z0, float x1, float z1) {
    return {{x0, z0}, {x0, z1}, {x1, z1}, {x1, z0}};
}

model::ProfileDatabase makeDatabase(const std::vector<model::ProfileLine>& profiles) {
    model::ProfileDatabase db;
    model::allocateDatabase(db);
    db.DBNAME.assign("Test Base");
    for (const auto& p : profiles) {
        ++db.NPROF;
        model::COPYPFLINE(db.profile(db.NPROF), p);
        db.name(db.NPROF) = model::listName(p.PNAME);
    }
    return db;
}

}  // namespace views_test
