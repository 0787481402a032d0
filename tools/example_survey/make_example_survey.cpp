// Builds the example survey shipped in examples/: five parallel east-west
// profiles across a sedimentary basin of two layers with a dense, magnetic
// intrusion beneath it, under gentle topography. Gravity and total-field data
// are the program's own forward calculation of that model plus a regional
// gradient and a little noise from a fixed seed, so every run writes the same
// files.
//
//   make_example_survey FOLDER
//
// writes BASIN.TQM (ten profiles with their models), BASIN-GRAVITY.XYZ and
// BASIN-MAGNETICS.XYZ (five survey lines each), LINE3-GRAVITY.DAT (one line
// as a column file), LINE3-REGIONAL.DAT (its regional control points) and
// LINE3-GRAVITY.MDL (its model as an ASCII model file).

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <span>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/fortran_format.h"
#include "calc/forward_calc.h"
#include "calc/random_deviates.h"
#include "files/database_file.h"
#include "files/model_file.h"
#include "files/regional_file.h"
#include "model/body_area.h"
#include "model/body_finish.h"
#include "model/body_nesting.h"
#include "model/profile_database.h"
#include "model/session_state.h"
#include "views/map_scaling.h"
#include "views/profile_scaling.h"

namespace {

constexpr int kLines = 5;
constexpr int kStations = 81;       // every 100 m over 8 km
constexpr float kSpacing = 100.0f;  // metres
constexpr float kWestEasting = 20000.0f;
constexpr float kSouthNorthing = 41000.0f;
constexpr float kLineSpacing = 1000.0f;
constexpr float kCentre = 4000.0f;  // basin axis, metres along each line
constexpr float kFieldStrength = 52000.0f, kInclination = 68.0f, kDeclination = 4.0f;

struct Rock {
    float density;         // g/cc
    float susceptibility;  // cgs
};
constexpr Rock kUpperSediments{2.20f, 0.0f};
constexpr Rock kLowerSediments{2.42f, 0.00002f};
constexpr Rock kBasement{2.67f, 0.0008f};
constexpr Rock kIntrusion{2.95f, 0.0045f};

// Line k (1..5) lies at northing kSouthNorthing + (k - 1) kLineSpacing; the
// basin deepens and the intrusion's top rises towards the middle line.
float across(int line) {
    return static_cast<float>(line - 3) / 2.0f;  // -1 .. 1
}

float topography(float x, int line) {
    return 135.0f + 18.0f * std::sin(x / 1300.0f + 0.7f * static_cast<float>(line)) -
           0.004f * (x - kCentre) + 6.0f * across(line);
}

float gaussian(float x, float width) {
    return std::exp(-(x - kCentre) * (x - kCentre) / (width * width));
}

float sedimentContact(float x, int line) {
    return 60.0f - (560.0f - 60.0f * std::fabs(across(line))) * gaussian(x, 1500.0f);
}

float basementTop(float x, int line) {
    return 45.0f - (1350.0f - 150.0f * std::fabs(across(line))) * gaussian(x, 1850.0f);
}

// Along-strike position of a line relative to the intrusion's middle.
float northOfIntrusion(int line) {
    return static_cast<float>(line - 3) * kLineSpacing + 400.0f;
}

// Every vertex of the example is free to move in an inversion.
std::span<const bool> noneFixed(std::size_t n) {
    static const std::array<bool, 64> none{};
    return std::span<const bool>(none.data(), std::min(n, none.size()));
}

std::string profileName(int line, bool gravity) {
    return "L" + std::to_string(line) + (gravity ? "-Gravity" : "-Magnetics");
}

void addLayer(model::PolygonModel& m, int line, float (*top)(float, int), float property) {
    std::vector<float> x, z;
    for (float d = -2000.0f; d <= 10000.0f; d += 500.0f) {
        x.push_back(d);
        z.push_back(top(d, line));
    }
    const std::span<const bool> fixed = noneFixed(x.size());
    std::vector<int> leaders(x.size());
    for (std::size_t i = 0; i < leaders.size(); ++i)
        leaders[i] = m.vertexCount() + static_cast<int>(i) + 1;
    model::BODYFINISH(m, x, z, static_cast<int>(x.size()), fixed, fixed, property, leaders, true);
}

void addIntrusion(model::PolygonModel& m, int line, float property) {
    // On the eastern flank of the basin, its top just below the basement's.
    const float top = -560.0f - 80.0f * std::fabs(across(line));
    const std::vector<float> x = {5700.0f, 6350.0f, 6800.0f, 7050.0f, 6900.0f, 6200.0f, 5700.0f};
    const std::vector<float> z = {top - 40.0f,   top,           top - 260.0f, top - 900.0f,
                                  top - 1500.0f, top - 1600.0f, top - 800.0f};
    const std::span<const bool> fixed = noneFixed(x.size());
    std::vector<int> leaders(x.size());
    for (std::size_t i = 0; i < leaders.size(); ++i)
        leaders[i] = m.vertexCount() + static_cast<int>(i) + 1;
    model::BODYFINISH(m, x, z, static_cast<int>(x.size()), fixed, fixed, property, leaders, false);
    const int k = m.NBOD;
    // The intrusion is 5 km long along strike, centred a little north of line
    // 3: the extents are its lengths south and north of the line.
    m.XTENT1(k) = 2500.0f + northOfIntrusion(line);
    m.XTENT2(k) = 2500.0f - northOfIntrusion(line);
}

model::ProfileLine makeProfile(int line, bool gravity) {
    model::ProfileLine p;
    p.PNAME.assign(profileName(line, gravity));
    p.DTYPE.assign(gravity ? "Gravity Data" : "Magnetics Total Fld ");
    p.DUNIT[0].assign(gravity ? "mgal" : "nT");
    p.XUNIT.assign("M");
    p.ZUNIT.assign("M");
    p.IDENUN = 1;
    p.ISUSUN = 1;
    p.IELEV = 4;  // measured from sea level
    p.FIELD = kFieldStrength;
    p.FINCL = kInclination;
    p.FDECL = kDeclination;
    p.NSTA = kStations;
    p.NCOMP = 1;
    p.NDGRAF = 1;
    p.NLGRAF = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    const float north = kSouthNorthing + static_cast<float>(line - 1) * kLineSpacing;
    for (int i = 1; i <= kStations; ++i) {
        const float d = static_cast<float>(i - 1) * kSpacing;
        p.STAT(i) = d;
        p.EAST(i) = kWestEasting + d;
        p.NORT(i) = north;
        // The magnetometer was carried 2 m above the ground.
        p.ELEV(i) = topography(d, line) + (gravity ? 0.0f : 2.0f);
        p.DAT(i, 1) = 0.0f;
        p.SYN(i, 1) = 0.0f;
        p.MASK(i, 1) = false;
    }
    // The map draws the profile's line, and marks the open one, between these.
    p.EFIRST = p.EAST(1);
    p.NFIRST = p.NORT(1);
    p.ELAST = p.EAST(kStations);
    p.NLAST = p.NORT(kStations);
    model::PolygonModel& m = p.MODEL;
    m.AZIM = 90.0f;
    m.STRIKE = 0.0f;
    m.TIEPRF = 0.0f;
    m.TIEEAS = kWestEasting;
    m.TIENOR = north;
    m.BASELN = 0.0f;
    m.NTOPO = kStations;
    model::ALLOCPG(m, 10, 1);
    for (int i = 1; i <= kStations; ++i) {
        m.XTOPO(i) = p.STAT(i);
        m.ZTOPO(i) = topography(p.STAT(i), line);
    }
    m.ZTOPO(kStations + 1) = m.ZTOPO(kStations);
    m.ZTOPO(kStations + 4) = m.ZTOPO(1);
    const auto property = [gravity](const Rock& r) {
        return gravity ? r.density : r.susceptibility;
    };
    m.DBKG = property(kUpperSediments);
    addLayer(m, line, sedimentContact, property(kLowerSediments));
    addLayer(m, line, basementTop, property(kBasement));
    addIntrusion(m, line, property(kIntrusion));
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
    // A regional field falling gently to the east.
    p.NREG = 2;
    p.XREG = {0.0f, 8000.0f, 0.0f, 0.0f, 0.0f};
    p.YREG = gravity ? std::array<float, 5>{4.0f, -2.5f, 0.0f, 0.0f, 0.0f}
                     : std::array<float, 5>{35.0f, -20.0f, 0.0f, 0.0f, 0.0f};
    return p;
}

// Observed = the model's field with the regional, plus noise; the synthetics
// are then calculated again against those data.
void observe(model::ProfileLine& p, bool gravity, std::int16_t& seed) {
    calc::CALC(p, 0);
    const float sigma = gravity ? 0.04f : 1.5f;
    for (int i = 1; i <= p.NSTA; ++i) p.DAT(i, 1) = p.SYN(i, 1) + sigma * calc::GASDEV(seed);
    calc::CALC(p, 0);
}

std::string fixed(float v, const char* format) {
    auto text = base::formatReal(v, format);
    return text ? *text : std::string("*");
}

// One station record in the import's default column order: easting,
// northing, elevation, distance, value.
std::string record(const model::ProfileLine& p, int i) {
    return fixed(p.EAST(i), "F10.1") + fixed(p.NORT(i), "F11.1") + fixed(p.ELEV(i), "F9.2") +
           fixed(p.STAT(i), "F9.1") + fixed(p.DAT(i, 1), "F12.3");
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
}

std::vector<std::string> xyzHeader(const model::ProfileLine& p) {
    return {"/ Example survey of Pelk-GM: basin and intrusion, five east-west lines",
            "/ INDUCING FIELD : " + fixed(p.FIELD, "F12.3"),
            "/ INCLINATION    : " + fixed(p.FINCL, "F12.3"),
            "/ DECLINATION    : " + fixed(p.FDECL, "F12.3"),
            "/ TYPE OF DATA   : " + std::string(p.DTYPE.trimmed()),
            "/ DISTANCE UNITS : M",
            "/ COLUMNS: EASTING NORTHING ELEVATION DISTANCE " +
                std::string(p.DUNIT[0].trimmed() == "nT" ? "TOTAL-FIELD(nT)" : "GRAVITY(mGal)")};
}

void writeXyz(const std::string& path, const model::ProfileDatabase& db, bool gravity) {
    std::vector<std::string> lines = xyzHeader(db.profile(gravity ? 1 : kLines + 1));
    for (int line = 1; line <= kLines; ++line) {
        const model::ProfileLine& p = db.profile(gravity ? line : kLines + line);
        lines.push_back("LINE " + std::string(p.PNAME.trimmed()));
        for (int i = 1; i <= p.NSTA; ++i) lines.push_back(record(p, i));
    }
    writeLines(path, lines);
}

void writeColumnFile(const std::string& path, const model::ProfileLine& p) {
    std::vector<std::string> lines = {
        "   EASTING   NORTHING     ELEV     DIST     GRAVITY"};
    for (int i = 1; i <= p.NSTA; ++i) lines.push_back(record(p, i));
    writeLines(path, lines);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_example_survey FOLDER\n");
        return 2;
    }
    if (::chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    model::ProfileDatabase db;
    if (!model::allocateDatabase(db)) return 1;
    std::int16_t seed = -1937;
    for (int kind = 0; kind < 2; ++kind) {
        const bool gravity = kind == 0;
        for (int line = 1; line <= kLines; ++line) {
            const int slot = kind * kLines + line;
            db.profile(slot) = makeProfile(line, gravity);
            model::ProfileLine& p = db.profile(slot);
            observe(p, gravity, seed);
            views::DATARESCALEPL(p);
            views::SCALE_BY(p.AXES[4], p.MODEL, p);
            p.LSAVED = true;
            db.name(slot) = model::listName(p.PNAME);
        }
    }
    db.NPROF = 2 * kLines;
    db.DBNAME.assign("BASIN");
    // The database opens on the middle gravity line.
    model::sessionState().CurrentProfile = 3;
    util::AxisRecord mapAxis{};
    views::rescaleMap(db, mapAxis, 800, 560);
    int status = 0;
    files::BIOPELK(db, mapAxis, "SAVE", "", status);
    if (status != 0) return 1;

    writeXyz("BASIN-GRAVITY.XYZ", db, true);
    writeXyz("BASIN-MAGNETICS.XYZ", db, false);
    model::ProfileLine& line3 = db.profile(3);
    writeColumnFile("LINE3-GRAVITY.DAT", line3);
    files::REGIONALOUT(line3, "LINE3-REGIONAL.DAT");
    std::string modelName = "LINE3-GRAVITY.MDL";
    files::MODAIO(line3, line3.MODEL, 'W', modelName, status);
    return status == 0 ? 0 : 1;
}
