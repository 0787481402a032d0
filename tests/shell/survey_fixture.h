#pragma once
// A survey for the command journeys: one gravity profile of 41 stations over
// one buried block whose true density is known. The data are the block's
// anomaly at its true density; the model is written with another density,
// so a fit has something to find. The block carries what the view switches
// show: a free vertex, a lock, a pivot, a label and a regional field.

#include <string>

#include "calc/forward_calc.h"
#include "model/body_area.h"
#include "model/polygon_model.h"
#include "program_test_support.h"
#include "views/profile_scaling.h"

namespace shell::test {

struct Survey {
    float trueDensity = 2.97f;
    float startDensity = 2.77f;
    bool densityFree = true;
    // A second profile, so that the map has two lines.
    bool secondProfile = true;
    // A constant regional field (0 = none) added to the data.
    float regional = 0.0f;
    // The last vertex's X is free as well.
    bool freeVertex = true;
};

inline void fillBlockModel(model::PolygonModel& m, float density, const Survey& s) {
    m.NTOPO = 2;
    model::ALLOCPG(m, 4, 1);
    const float tx[] = {-2000.0f, 4000.0f, 4000.0f, 0.0f, -2000.0f, -2000.0f};
    const float tz[] = {0.0f, 0.0f, -1.0E5f, -1.0E5f, -1.0E5f, 0.0f};
    for (int k = 1; k <= 6; ++k) {
        m.XTOPO(k) = tx[k - 1];
        m.ZTOPO(k) = tz[k - 1];
    }
    m.DBKG = 2.67f;
    m.NBOD = m.NBCAP = 1;
    m.NVCAP = 4;
    m.AZIM = 90.0f;
    m.STRIKE = 0.0f;
    const float x[] = {800.0f, 800.0f, 1200.0f, 1200.0f};
    const float z[] = {-100.0f, -300.0f, -300.0f, -100.0f};
    for (int v = 1; v <= 4; ++v) {
        m.XVRT(v) = x[v - 1];
        m.ZVRT(v) = z[v - 1];
        m.IPOINT(v) = v;
    }
    m.IV1(1) = 1;
    m.IV2(1) = 4;
    m.DENS(1) = density;
    m.LVFIX(1) = s.densityFree;
    m.ILEVL(1) = 1;
    m.XPIVOT(1) = 1000.0f;
    m.ZPIVOT(1) = -200.0f;
    m.LXFIX(4) = s.freeVertex;
    m.IPOINT(3) = 2;  // a lock to show
    model::FDAREA(m);
}

inline void fillStations(model::ProfileLine& p, float northing) {
    p.NSTA = 41;
    p.NCOMP = 1;
    p.NDGRAF = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    ASSERT_EQ(status, 0);
    for (int i = 1; i <= p.NSTA; ++i) {
        const float x = 50.0f * static_cast<float>(i - 1);
        p.EAST(i) = 10000.0f + x;
        p.NORT(i) = northing;
        p.STAT(i) = x;
        p.ELEV(i) = 0.0f;
        p.MASK(i, 1) = model::Logical{false};
    }
    p.EFIRST = p.EAST(1);
    p.NFIRST = p.NORT(1);
    p.ELAST = p.EAST(p.NSTA);
    p.NLAST = p.NORT(p.NSTA);
}

// The profile with its data computed from the true model.
inline void makeSurveyProfile(model::ProfileLine& p, const char* name, float northing,
                              const Survey& s) {
    p.PNAME.assign(name);
    p.DTYPE.assign("Gravity Data");
    p.XUNIT.assign("M");
    p.ZUNIT.assign("M");
    p.DUNIT[0].assign("mgal");
    fillStations(p, northing);
    fillBlockModel(p.MODEL, s.trueDensity, s);
    calc::CALC(p, 0);
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = p.SYN(i, 1) + s.regional;
    if (s.regional != 0.0f) {
        p.NREG = 1;
        p.YREG[0] = s.regional;
    }
    p.MODEL.DENS(1) = s.startDensity;
    p.MODEL.LEXTND = false;
    p.LSYN = false;
    // A label below the block.
    p.LABELS.NLAB = 1;
    p.LABELS.IWINDOW[0] = 3;
    p.LABELS.XCLAB[0] = p.LABELS.XARRO[0] = 1000.0f;
    p.LABELS.YCLAB[0] = p.LABELS.YARRO[0] = -450.0f;
    p.LABELS.HILAB[0] = 40.0f;
    p.LABELS.WDLAB[0] = 300.0f;
    p.LABELS.CMODL[0].assign("Block");
    views::DATARESCALEPL(p);
    views::SCALE_BY(p.AXES[4], p.MODEL, p);
}

// Writes NAME.TQM with the survey; its first profile is the current one.
inline void writeSurvey(const std::string& name, const Survey& s = {}) {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    makeSurveyProfile(db.profile(1), "Block Line", 5000.0f, s);
    db.name(1) = model::listName(db.profile(1).PNAME);
    db.NPROF = 1;
    if (s.secondProfile) {
        makeSurveyProfile(db.profile(2), "Side Line", 5600.0f, s);
        db.name(2) = model::listName(db.profile(2).PNAME);
        db.NPROF = 2;
    }
    saveDatabase(db, name);
}

inline win::HWND mainClient() {
    return tk::windowSystem().slots[0].client;
}

// Moves the profile window beside the main window and makes it large enough
// to read, as a user would before looking closely.
inline void enlargeProfileWindow(Script& s) {
    s.check([] { win::SetWindowPos(profileFrame(), nullptr, 4, 4, 630, 520, win::SWP_NOZORDER); });
}

// A copy of the window's pixels as they stand on the screen.
inline std::vector<std::uint32_t> windowPixels(win::HWND w) {
    const win::RECT r = win::robot::screenRect(w);
    const win::Surface& screen = win::robot::screen();
    std::vector<std::uint32_t> px;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, screen.height); ++y)
        for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, screen.width); ++x)
            px.push_back(screen.at(x, y) & 0xFFFFFF);
    return px;
}

}  // namespace shell::test
