#pragma once
// The fixture of the mouse-editing journeys: a database of one gravity
// profile with topography and two bodies beneath it, a fake clock so that
// presses, holds and clicks last exactly as long as the script says, and
// helpers that turn model, data and map coordinates into screen points.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calc/forward_calc.h"
#include "calc/inversion_step.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/profile_geometry.h"
#include "platform/window/clock.h"
#include "platform/window/surface.h"
#include "program_test_support.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/event_loop.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/window_views.h"
#include "toolkit/core/window_placement.h"
#include "util/axis_scaling.h"
#include "views/map_scaling.h"
#include "views/profile_scaling.h"
#include "views/view_state.h"
#include "model/outline_model.h"

namespace shell::test {

using BodyOutline = std::vector<std::pair<float, float>>;

// A rectangle from (x0, z0) to (x1, z1), clockwise on the screen.
inline BodyOutline box(float x0, float z0, float x1, float z1) {
    return {{x0, z0}, {x0, z1}, {x1, z1}, {x1, z0}};
}

// Replaces the profile's model by flat topography at its stations and the
// given bodies (density b / 10 for body b), with their areas and levels.
inline void setModel(model::ProfileLine& p, const std::vector<BodyOutline>& bodies) {
    model::PolygonModel& m = p.MODEL;
    model_test::Outline surface;
    for (int i = 1; i <= p.NSTA; ++i)
        surface.emplace_back(p.STAT(i), p.ELEV(i));
    ASSERT_TRUE(model_test::allocateOutlines(m, bodies, surface));
    for (int b = 1; b <= m.NBOD; ++b) {
        m.DENS(b) = 0.1f * static_cast<float>(b);
    }
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
}

// A gravity profile of `stations` stations from 0 to `length` metres along
// an east-west line, observed data of a bump, and the given bodies.
inline void makeProfile(model::ProfileLine& p, const std::string& name, int stations,
                        float length, const std::vector<BodyOutline>& bodies) {
    p.PNAME.assign(name);
    p.DTYPE.assign("Gravity Data");
    p.DUNIT[0].assign("mgal");
    p.XUNIT.assign("M");
    p.ZUNIT.assign("M");
    p.NSTA = stations;
    p.NCOMP = 1;
    p.NDGRAF = 1;
    p.NLGRAF = 1;
    p.IELEV = 1;
    p.IDENUN = 1;
    p.ISUSUN = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    ASSERT_EQ(status, 0);
    for (int k = 1; k <= stations; ++k) {
        const float x = length * static_cast<float>(k - 1) / static_cast<float>(stations - 1);
        p.EAST(k) = 500000.0f + x;
        p.NORT(k) = 6000000.0f;
        p.STAT(k) = x;
        p.ELEV(k) = 0.0f;
        const float d = (x - 0.5f * length) / (0.15f * length);
        p.DAT(k, 1) = 2.0f * std::exp(-d * d);
        p.MASK(k, 1) = false;
        p.SYN(k, 1) = 0.0f;
    }
    model::SETGEOMETRY(p);
    setModel(p, bodies);
    views::DATARESCALEPL(p);
    views::SCALE_BY(p.AXES[4], p.MODEL, p);
}

// The two bodies of the standard profile: one under 1000-1600 m and one
// under 2400-3000 m.
inline std::vector<BodyOutline> twoBodies() {
    return {box(1000, -800, 1600, -200), box(2400, -900, 3000, -300)};
}

// Writes a database of the given profiles (the first one current).
inline void writeProfiles(const std::string& name,
                          const std::vector<std::function<void(model::ProfileLine&)>>& makers) {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    int i = 0;
    for (const auto& make : makers) {
        model::ProfileLine& p = db.profile(++i);
        make(p);
        db.name(i) = model::listName(p.PNAME);
    }
    db.NPROF = i;
    db.DBNAME.assign(name);
    util::AxisRecord axis{};
    views::DATARESCALE(db, axis);
    model::sessionState().CurrentProfile = 1;
    int status = 0;
    files::BIOPELK(db, axis, "SAVE", "", status);
    ASSERT_EQ(status, 0);
    model::CLEARDB(db);
}

inline void writeRidgeDatabase(const std::string& name) {
    writeProfiles(name, {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f, twoBodies());
                  }});
}

// Two profiles, 1500 m apart on the map.
inline void writeTwoProfiles() {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                               makeProfile(p, "North Line", 41, 4000.0f, twoBodies());
                           },
                           [](model::ProfileLine& p) {
                               makeProfile(p, "South Line", 21, 4000.0f, twoBodies());
                               for (int k = 1; k <= p.NSTA; ++k)
                                   p.NORT(k) -= 1500.0f;
                           }});
}

class EditingTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        win::setClock(&clock_);
        // A profile window large enough to aim at single vertices.
        // Whole on the 1024-pixel screen, status bar included.
        files::viewSettings().ProfileWindowPlacement = {1, 560, 760, 390, 20};
    }
    void TearDown() override {
        ProgramTest::TearDown();
        win::setClock(nullptr);
    }
    win::FakeClock clock_;
};

// A page point (plot inches) of a window's client area on the screen.
inline win::POINT screenOfInches(win::HWND client, float xin, float yin) {
    win::RECT r{};
    win::GetClientRect(client, &r);
    const float units[2] = {xin * 1000.0f, 10000.0f - yin * 1250.0f};
    const int size[2] = {r.right - r.left, r.bottom - r.top};
    win::POINT p{};
    // The inverse of the window-unit rule, to the nearest pixel.
    p.x = static_cast<int>(std::lround(units[0] * static_cast<float>(size[0]) / 9999.0f - 0.5f));
    p.y = static_cast<int>(std::lround(units[1] * static_cast<float>(size[1]) / 9999.0f - 0.5f));
    win::ClientToScreen(client, &p);
    return p;
}

// Targets of the profile window found when the step plays: a point of the
// model section and of the data graph in their own units.
inline win::robot::Target atModel(float x, float z) {
    return [x, z] {
        const util::AxisRecord& a = workingProfile().AXES[4];
        return screenOfInches(profileClient(), util::PLOFX(x, a) + a.originX,
                              util::PLOFY(z, a) + a.originY);
    };
}

inline win::robot::Target atData(float x, float value) {
    return [x, value] {
        const util::AxisRecord& a = workingProfile().AXES[0];
        return screenOfInches(profileClient(), util::PLOFX(x, a) + a.originX,
                              util::PLOFY(value, a) + a.originY);
    };
}

inline win::robot::Target atMap(float east, float north) {
    return [east, north] {
        const util::AxisRecord& a = mainLoop().MapAxis;
        return screenOfInches(tk::windowSystem().slots[0].client, util::PLOFX(east, a) + a.originX,
                              util::PLOFY(north, a) + a.originY);
    };
}

// The text of status-bar part `part` (from 1) of a window.
inline std::string statusText(int window, int part) {
    char text[256] = {};
    win::SendMessageA(tk::windowSystem().slots[window].statusBar, win::SB_GETTEXTA,
                      static_cast<win::WPARAM>(part - 1), reinterpret_cast<win::LPARAM>(text));
    return text;
}

// The pixels of a window's client area as drawn now.
inline win::Surface capture(win::HWND client) {
    const win::WindowDrawTarget t = win::windowDrawTarget(client, true);
    win::RECT r{};
    win::GetClientRect(client, &r);
    win::Surface s(r.right - r.left, r.bottom - r.top);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (t.surface->contains(t.origin.x + x, t.origin.y + y))
                s.at(x, y) = t.surface->at(t.origin.x + x, t.origin.y + y);
    return s;
}

// Pixels that differ between two captures of one window.
inline int differingPixels(const win::Surface& a, const win::Surface& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] != b.pixels[i] ? 1 : 0;
    return n;
}

// The profile window drawn afresh must look exactly as it does now: no
// exclusive-or trace is left anywhere.
inline void expectSameAsFreshRedraw() {
    const win::Surface now = capture(profileClient());
    refreshProfileWindow();
    EXPECT_EQ(differingPixels(now, capture(profileClient())), 0);
}

// A click of the left button on a neutral part of the profile window (which
// also removes the start-up hint).
inline void clickAside(Script& s) {
    s.clickAt(win::robot::clientPoint(profileClient, 4, 4));
}

// A right click that opens a pop-up menu, and the item chosen in it.
inline void popupItem(Script& s, win::robot::Target where, const std::string& item) {
    s.moveTo(where);
    s.clickAt(where, win::robot::Button::Right);
    s.clickMenuItem(item);
}

}  // namespace shell::test
