// Speed of dragging a vertex while the synthetics follow it: the real program
// on the headless screen with a 2000-station profile under 50 bodies and
// AutoCalculate While Moving on, one vertex dragged across 200 mouse moves by
// the robot. Prints the mean and the worst time per move, from the event to
// the finished redraw of the profile window, and what the time goes to: the
// forward calculation, the drawing of the data graph and the model section,
// and the presentation (what the X11 presenter does before it sends pixels:
// each visible window's surface compared with what the desktop shows, for
// the rectangles that changed). The press that begins the drag (which
// readies the pictures the moves put back) is timed the same way and shown
// beside the moves, with the page faults of each (fresh memory is costly to
// touch on some machines). A second drag of the same vertex follows; its
// press and worst move are shown too.
//
// Goal: mean under 5 ms and worst under 10 ms.

#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "bench_survey.h"
#include "files/view_settings.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "platform/kernel/environment.h"
#include "platform/robot/finder.h"
#include "platform/robot/robot.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/surface.h"
#include "platform/window/user_api.h"
#include "platform/x11/shown_pixels.h"
#include "shell/model_drag.h"
#include "shell/program.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_table.h"
#include "util/axis_scaling.h"
#include "views/profile_scaling.h"
#include "util/memory_reuse.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kStations = 2000;
constexpr int kBodies = 50;
constexpr int kBodyVertices = 8;
constexpr int kMoves = 200;
constexpr float kLength = 20000.0f;  // metres

// Body b: an octagon 300 m across, its centre 400 m further along than the last.
void octagon(int b, int k, float& x, float& z) {
    const double t = 2.0 * 3.141592653589793 * k / kBodyVertices;
    x = static_cast<float>(200.0 + 400.0 * b + 150.0 * std::cos(t));
    z = static_cast<float>(-600.0 + 150.0 * std::sin(t));
}

void makeProfile(model::ProfileLine& p) {
    bench::fillProfile(p, "Long Line", kStations, 500000.0f, 6000000.0f, kLength,
                       kBodies * kBodyVertices, kBodies);
    model::PolygonModel& m = p.MODEL;
    m.NBOD = m.NBCAP = kBodies;
    m.NVCAP = kBodies * kBodyVertices;
    int v = 0;
    for (int b = 1; b <= kBodies; ++b) {
        m.IV1(b) = v + 1;
        for (int k = 0; k < kBodyVertices; ++k) {
            ++v;
            octagon(b - 1, k, m.XVRT(v), m.ZVRT(v));
            m.IPOINT(v) = v;
        }
        m.IV2(b) = v;
        m.DENS(b) = 0.2f;
    }
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
    views::DATARESCALEPL(p);
    views::SCALE_BY(p.AXES[4], m, p);
}

bool writeDatabase() {
    return bench::writeDatabase("BENCH", 1, [](int, model::ProfileLine& p) { makeProfile(p); });
}

// A point of the model section on the screen, found when the step plays.
win::POINT onSection(float x, float z) {
    const model::ProfileLine& w = shell::workingProfile();
    const util::AxisRecord& a = w.AXES[4];
    const win::HWND client = tk::windowSystem().slots[shell::profileWindow()].client;
    win::RECT r{};
    win::GetClientRect(client, &r);
    const float xin = util::PLOFX(x, a) + a.originX, yin = util::PLOFY(z, a) + a.originY;
    win::POINT p{static_cast<int>(std::lround(xin * 1000.0f * r.right / 9999.0f - 0.5f)),
                 static_cast<int>(std::lround((10000.0f - yin * 1250.0f) * r.bottom / 9999.0f -
                                              0.5f))};
    win::ClientToScreen(client, &p);
    return p;
}

// The X11 presenter's work for one presentation, less the sending.
void presentWindows() {
    static std::map<win::HWND, win::x11::ShownPixels> shown;
    for (win::HWND h = win::GetTopWindow(nullptr); h; h = win::GetWindow(h, win::GW_HWNDNEXT))
        if (const win::Surface* s = win::topLevelSurface(h)) shown[h].takeDamage(*s);
}

struct Move {
    double total = 0, calculation = 0, drawing = 0, presentation = 0;
    long faults = 0;
};

// Page faults of the process so far (every thread's).
long pageFaults() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt + u.ru_majflt;
}

// When the press or move being timed was made, and the faults until then.
struct Started {
    Clock::time_point at;
    long faults = 0;
    void now() {
        faults = pageFaults();
        at = Clock::now();
    }
};

// One drag of vertex 1 of body 25 (at x0, z0): the press, the moves and
// the release. `moves` gets the press first, then each move.
void addDrag(win::robot::Script& s, std::vector<Move>& moves, float x0, float z0) {
    auto started = std::make_shared<Started>();
    s.check([=] {
        const win::POINT p = onSection(x0, z0);
        win::injectMouseMove(p.x, p.y);
        started->now();
        win::injectMouseButton(p.x, p.y, static_cast<int>(win::robot::Button::Left), true);
    });
    // Each step ends the press or move before it (the program is idle
    // again, its windows drawn), presents the windows as the X11 presenter
    // would, and makes the next move.
    for (int i = 0; i <= kMoves; ++i) {
        s.check([&moves, started, i, x0, z0] {
            Move m;
            m.total = std::chrono::duration<double>(Clock::now() - started->at).count();
            const Clock::time_point presenting = Clock::now();
            presentWindows();
            m.presentation = std::chrono::duration<double>(Clock::now() - presenting).count();
            m.total += m.presentation;
            m.faults = pageFaults() - started->faults;
            const shell::DragStepTimes& t = shell::dragStepTimes();
            m.calculation = t.calculation;
            m.drawing = t.drawing;
            moves.push_back(m);
            shell::dragStepTimes() = {};
            if (i == kMoves) return;
            // Back and forth over 40 m, clear of the neighbours.
            const float dx = 40.0f * std::sin(2.0f * 3.14159265f * static_cast<float>(i) / 50.0f);
            const win::POINT p = onSection(x0 + dx, z0 - 20.0f * static_cast<float>(i % 7));
            started->now();
            win::injectMouseMove(p.x, p.y);
        });
    }
    s.wait(400);
    // The vertex goes back to where the drag began.
    s.releaseAt([=] { return onSection(x0, z0); });
}

// The robot's script: the hint goes, two drags of one vertex (the second
// finds the window as the first left it), and Exit without storing the
// changes.
win::robot::Script dragScript(std::vector<Move> (&drags)[2]) {
    using win::robot::Script;
    Script s;
    s.clickAt(win::robot::clientPoint(
        [] { return tk::windowSystem().slots[shell::profileWindow()].client; }, 4, 4));
    float x0 = 0, z0 = 0;
    octagon(24, 0, x0, z0);
    s.moveTo([=] { return onSection(x0, z0); });
    // Windows uncovered by the hint are drawn again, and presented, before
    // the drag begins.
    for (int i = 0; i < 5; ++i)
        s.check([] { presentWindows(); });
    addDrag(s, drags[0], x0, z0);
    for (int i = 0; i < 5; ++i)
        s.check([] { presentWindows(); });
    addDrag(s, drags[1], x0, z0);
    s.clickAt([] {
        win::RECT r{};
        win::robot::menuBarItemRect(tk::windowSystem().slots[0].frame, "File", r);
        return win::robot::centreOf(r);
    });
    s.clickMenuItem("Exit");
    s.clickOn([] {
        return win::GetDlgItem(win::robot::findTopLevelByTitle("Save Changes Dialog"), 7);
    });
    return s;
}

double ms(double seconds) {
    return seconds * 1000.0;
}

// The worst of the moves.
const Move& worstOf(const std::vector<Move>& moves) {
    return *std::max_element(moves.begin(), moves.end(),
                             [](const Move& a, const Move& b) { return a.total < b.total; });
}

void report(const Move& press, const std::vector<Move>& moves) {
    Move sum;
    for (const Move& m : moves) {
        sum.total += m.total;
        sum.calculation += m.calculation;
        sum.drawing += m.drawing;
        sum.presentation += m.presentation;
        sum.faults += m.faults;
    }
    const double n = static_cast<double>(moves.size());
    const double other = sum.total - sum.calculation - sum.drawing - sum.presentation;
    std::printf("drag of one vertex: %d stations, %d bodies, %zu moves\n", kStations, kBodies,
                moves.size());
    std::printf("  mean per move   %8.3f ms   (goal < 5 ms), %.1f page faults\n",
                ms(sum.total / n), static_cast<double>(sum.faults) / n);
    const Move& w = worstOf(moves);
    const std::size_t worstAt = static_cast<std::size_t>(&w - moves.data());
    std::printf("  worst move      %8.3f ms   (goal < 10 ms)\n", ms(w.total));
    std::printf("    move %zu: calculation %.3f ms, drawing %.3f ms, presentation %.3f ms, "
                "%ld page faults\n",
                worstAt + 1, ms(w.calculation), ms(w.drawing), ms(w.presentation), w.faults);
    // The press readies the copies that the moves put back.
    std::printf("  press           %8.3f ms   (drawing %.3f ms, presentation %.3f ms, %ld page "
                "faults)\n",
                ms(press.total), ms(press.drawing), ms(press.presentation), press.faults);
    for (std::size_t i = 0; i < 3 && i < moves.size(); ++i)
        std::printf("    move %zu: %.3f ms (calculation %.3f ms, drawing %.3f ms, %ld page "
                    "faults)\n",
                    i + 1, ms(moves[i].total), ms(moves[i].calculation), ms(moves[i].drawing),
                    moves[i].faults);
    std::printf("  calculation     %8.3f ms   %5.1f %%\n", ms(sum.calculation / n),
                100.0 * sum.calculation / sum.total);
    std::printf("  drawing         %8.3f ms   %5.1f %%\n", ms(sum.drawing / n),
                100.0 * sum.drawing / sum.total);
    std::printf("  presentation    %8.3f ms   %5.1f %%\n", ms(sum.presentation / n),
                100.0 * sum.presentation / sum.total);
    std::printf("  event handling  %8.3f ms   %5.1f %%\n", ms(other / n),
                100.0 * other / sum.total);
}

}  // namespace

int main() {
    util::keepFreedMemoryForReuse();  // as the program does
    std::string base = (fs::temp_directory_path() / "pelk-drag-XXXXXX").string();
    const fs::path dir = ::mkdtemp(base.data());
    fs::current_path(dir);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    files::viewSettings().ProfileWindowPlacement = {1, 560, 760, 440, 20};
    if (!writeDatabase()) {
        std::fprintf(stderr, "cannot write the benchmark's database\n");
        return 1;
    }
    files::viewSettings().reset();
    files::viewSettings().ProfileWindowPlacement = {1, 560, 760, 440, 20};
    // AutoCalculate While Moving: the synthetics follow every move.
    files::viewSettings().LCALCMOVE = true;
    win::FakeClock clock;
    win::setClock(&clock);
    std::vector<Move> drags[2];
    win::testing::setCommandLine("pelk-gm BENCH.TQM");
    win::robot::play(dragScript(drags));
    const int code = shell::PELK();
    const std::size_t unplayed = win::robot::stop();
    fs::current_path(dir.parent_path());
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (code != 0 || unplayed != 0 || drags[0].size() != static_cast<std::size_t>(kMoves) + 1 ||
        drags[1].size() != drags[0].size()) {
        std::fprintf(stderr, "the drag did not run to its end (%zu steps left)\n", unplayed);
        return 1;
    }
    report(drags[0].front(), std::vector<Move>(drags[0].begin() + 1, drags[0].end()));
    const Move& press = drags[1].front();
    const Move& worst = worstOf(std::vector<Move>(drags[1].begin() + 1, drags[1].end()));
    std::printf("a second drag: press %.3f ms (%ld page faults), worst move %.3f ms (%ld page "
                "faults)\n",
                ms(press.total), press.faults, ms(worst.total), worst.faults);
    return 0;
}
