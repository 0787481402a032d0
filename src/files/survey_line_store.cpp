#include "files/survey_line_store.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "files/column_chooser.h"
#include "files/messages.h"
#include "files/view_services.h"
#include "files/view_settings.h"

namespace files {

namespace {

struct KeyRow {
    std::string_view key, dtype, unit1, unit2;
    int ncomp;
};

constexpr KeyRow kKeys[] = {
    {"Grav", "Gravity Data", "mgal", "", 1},
    {"Mag ", "Magnetics Data", "nT", "", 1},
    {"GMag", "Gravity/Mag Data", "mgal", "nT", 2},
    {"VLF ", "VLF In-Phase/Quad", "ppm", "ppm", 2},
};

const KeyRow* findKey(std::string_view key) {
    for (const auto& row : kKeys)
        if (row.key == key) return &row;
    return nullptr;
}

bool allocateStations(model::ProfileLine& p, int n, int ncomp) {
    model::DEALLOCPF(p);
    return p.EAST.allocate(n) && p.NORT.allocate(n) && p.STAT.allocate(n) && p.ELEV.allocate(n) &&
           p.DAT.allocate(n, ncomp) && p.SYN.allocate(n, ncomp) && p.REG.allocate(n) &&
           p.MASK.allocate(n, ncomp);
}

}  // namespace

bool refuseWhenFull(const model::ProfileDatabase& db) {
    const int next = db.NPROF + 1;
    if (next <= ViewSettings::MAXPROFILES && next <= static_cast<int>(db.PROFS.size()) &&
        next <= static_cast<int>(db.LNAMES.size()))
        return false;
    showWarning(kTooManyProfiles);
    return true;
}

void setLineEnds(model::ProfileLine& p) {
    const int n = p.NSTA;
    if (n < 1 || !p.EAST.has(n) || !p.NORT.has(n)) return;
    p.EFIRST = p.EAST(1);
    p.NFIRST = p.NORT(1);
    p.ELAST = p.EAST(n);
    p.NLAST = p.NORT(n);
}

void SurveyLine::clear() {
    for (auto* v : {&east, &north, &elev, &dist, &data, &sixth})
        v->clear();
}

void SurveyLine::append(float e, float n, float z, float d, float v, float s) {
    east.push_back(e);
    north.push_back(n);
    elev.push_back(z);
    dist.push_back(d);
    data.push_back(v);
    sixth.push_back(s);
}

bool STOREPROFILE(model::ProfileDatabase& db, const SurveyLine& line,
                  const base::FixedString<20>& lineName, std::string_view key,
                  const base::FixedString<4>& unit) {
    if (refuseWhenFull(db)) return false;
    const KeyRow* row = findKey(key);
    if (!row) {
        showWarning("UNKNOWN CASE SELECTION IN SUBROUTINE StoreProfile: " + std::string(key));
        return false;
    }
    const int k = db.NPROF + 1;
    const int n = line.size();
    if (n < 1) return false;
    model::ProfileLine p = db.profile(k);
    base::FixedString<24> listName;
    if (lineName.blank()) {
        char untitled[16];
        std::snprintf(untitled, sizeof untitled, "Untitled%03d", k);
        p.PNAME = std::string_view(untitled);
        listName = std::string_view(untitled);
    } else {
        p.PNAME = lineName;
        listName = model::listName(lineName);
    }
    p.CUNIT =
        unit.blank() ? base::FixedString<4>("m") : base::FixedString<4>(unit.view().substr(0, 1));
    p.NSTA = n;
    p.DTYPE = row->dtype;
    p.DUNIT[0] = row->unit1;
    p.DUNIT[1] = row->unit2;
    p.NCOMP = row->ncomp;
    p.NDGRAF = row->ncomp;
    p.NLGRAF = 0;
    dataAxis(p, 1).yLabelsLeft = true;
    dataAxis(p, 1).yLabelsRight = false;
    dataAxis(p, 2).yLabelsLeft = false;
    dataAxis(p, 2).yLabelsRight = row->ncomp == 2;
    p.LSAVED = false;
    if (!allocateStations(p, n, p.NCOMP)) {
        showInformation("CANNOT ALLOCATE PROFILE DATA");
        return false;
    }
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i - 1);
        p.EAST(i) = line.east[at];
        p.NORT(i) = line.north[at];
        p.STAT(i) = line.dist[at];
        p.ELEV(i) = line.elev[at];
        p.REG(i) = kMissingValue;
        p.DAT(i, 1) = line.data[at];
        if (p.NCOMP == 2) p.DAT(i, 2) = line.sixth[at];
        for (int c = 1; c <= p.NCOMP; ++c) {
            p.SYN(i, c) = kMissingValue;
            p.MASK(i, c) = false;
        }
    }
    setLineEnds(p);
    p.MODEL.TIEPRF = line.dist.front();
    p.MODEL.TIEEAS = line.east.front();
    p.MODEL.TIENOR = line.north.front();
    p.MODEL.BASELN = line.dist.front();
    db.profile(k) = std::move(p);
    db.name(k) = listName;
    rescaleData(db.profile(k));
    return true;
}

}  // namespace files
