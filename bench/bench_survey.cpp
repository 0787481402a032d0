#include "bench_survey.h"

#include <cmath>

#include "files/database_file.h"
#include "model/profile_database.h"
#include "model/profile_geometry.h"
#include "model/session_state.h"
#include "util/axis_record.h"
#include "views/map_scaling.h"
#include "views/profile_scaling.h"

namespace bench {

void fillProfile(model::ProfileLine& p, const std::string& name, int stations, float east,
                 float north, float length, int vertices, int bodies) {
    p.PNAME.assign(name);
    p.DTYPE.assign("Gravity Data");
    p.DUNIT[0].assign("mgal");
    p.XUNIT.assign("M");
    p.ZUNIT.assign("M");
    p.NSTA = stations;
    p.NCOMP = p.NDGRAF = p.NLGRAF = p.IELEV = p.IDENUN = p.ISUSUN = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= stations; ++i) {
        const float x = length * static_cast<float>(i - 1) / static_cast<float>(stations - 1);
        p.EAST(i) = east + x;
        p.NORT(i) = north;
        p.STAT(i) = x;
        p.ELEV(i) = 0.0f;
        p.DAT(i, 1) = 1.0f + std::sin(x / 3000.0f);
        p.MASK(i, 1) = false;
    }
    model::SETGEOMETRY(p);
    model::PolygonModel& m = p.MODEL;
    m.NTOPO = stations;
    model::ALLOCPG(m, vertices, bodies);
    for (int i = 1; i <= stations; ++i) {
        m.XTOPO(i) = p.STAT(i);
        m.ZTOPO(i) = 0.0f;
    }
    model::closeTopography(m);
}

bool writeDatabase(const std::string& name, int profiles,
                   const std::function<void(int, model::ProfileLine&)>& make) {
    model::ProfileDatabase db;
    if (!model::allocateDatabase(db)) return false;
    for (int k = 1; k <= profiles; ++k) {
        make(k, db.profile(k));
        db.name(k) = model::listName(db.profile(k).PNAME);
    }
    db.NPROF = profiles;
    db.DBNAME.assign(name);
    util::AxisRecord axis{};
    views::DATARESCALE(db, axis);
    model::sessionState().CurrentProfile = 1;
    int status = 0;
    files::BIOPELK(db, axis, "SAVE", "", status);
    model::CLEARDB(db);
    return status == 0;
}

bool writeSurvey(const std::string& name, int profiles, int stations) {
    return writeDatabase(name, profiles, [stations](int k, model::ProfileLine& p) {
        fillProfile(p, std::string("Line ").append(std::to_string(k)), stations, 500000.0f,
                    6000000.0f + 1000.0f * static_cast<float>(k), 20000.0f);
        views::DATARESCALEPL(p);
    });
}

}  // namespace bench
