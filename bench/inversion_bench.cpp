// Cost of the inversion: a profile of 2000 stations over 20 bodies with 30
// free parameters (the 20 densities and the depth of one vertex of each of
// the first 10 bodies). Prints the time of one forward calculation, of one
// inversion step and their ratio, and the time of 10 steps on one
// processor and on every processor.
//
// The machine may be busy with other work: every figure is the best of its
// repetitions, and the one-core column counts the processor time the
// program was given (it runs on one thread), not the time it waited for a
// processor. The all-core column is wall time.
//
// Goal: the step under 2 forward calculations on one core, under 3 on every
// core.
//
// Usage: bench_inversion [--steps=N] [--repeat=N] [--one-core=1] [--all-cores=1]
// (--one-core=1 measures the one-core column alone, for counting
// instructions under callgrind, where the helper threads' work would not be
// the step's; --all-cores=1 the all-core column alone, for a profile of
// the threads' waits).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "calc/forward_calc.h"
#include "calc/inversion_host.h"
#include "calc/inversion_iterations.h"
#include "calc/inversion_step.h"
#include "calc/station_sums.h"
#include "model/body_area.h"
#include "model/profile_line.h"
#include "util/abort_poll.h"
#include "util/axis_record.h"
#include "util/memory_reuse.h"

namespace {

constexpr int kStations = 2000;
constexpr int kBodies = 20;
constexpr int kSides = 8;
constexpr float kProfileLength = 40.0f;  // km
constexpr float kBackground = 2.67f;

float trueDensity(int b) {
    return kBackground + 0.1f + 0.02f * static_cast<float>(b % 7);
}

// Octagons 1.2 km across, 1 to 2 km down, side by side along the profile.
void octagon(int b, int side, float& x, float& z) {
    const double centre = 1.0 + 2.0 * b;
    const double depth = 1.5 + 0.3 * std::sin(b);
    const double a = 2.0 * 3.141592653589793 * side / kSides;
    x = static_cast<float>(centre + 0.6 * std::cos(a));
    z = static_cast<float>(-depth - 0.5 * std::sin(a));
}

model::ProfileLine makeProfile() {
    model::ProfileLine p;
    p.DTYPE.assign("Gravity Data");
    p.NSTA = kStations;
    p.NCOMP = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= kStations; ++i) {
        p.STAT(i) = kProfileLength * static_cast<float>(i - 1) / (kStations - 1);
        p.EAST(i) = p.STAT(i);
        p.NORT(i) = 0.0f;
        p.ELEV(i) = 0.0f;
        p.MASK(i, 1) = false;
    }
    p.XUNIT.assign("KM");
    p.ZUNIT.assign("KM");
    p.IDENUN = 1;
    model::PolygonModel& m = p.MODEL;
    m.AZIM = 90.0f;
    m.STRIKE = 0.0f;
    m.DBKG = kBackground;
    model::ALLOCPG(m, kBodies * kSides, kBodies);
    m.NBOD = kBodies;
    int v = 0;
    for (int b = 1; b <= kBodies; ++b) {
        m.IV1(b) = v + 1;
        for (int s = 0; s < kSides; ++s) {
            ++v;
            octagon(b - 1, s, m.XVRT(v), m.ZVRT(v));
            m.IPOINT(v) = v;
        }
        m.IV2(b) = v;
        m.DENS(b) = trueDensity(b);
        m.XTENT1(b) = 5.0f;
        m.XTENT2(b) = 8.0f;
        m.ILEVL(b) = 1;
    }
    model::FDAREA(m);
    calc::CALC(p, 0);
    for (int i = 1; i <= kStations; ++i)
        p.DAT(i, 1) = p.SYN(i, 1);
    // The start model: densities and depths off, those parameters free.
    for (int b = 1; b <= kBodies; ++b) {
        m.DENS(b) = trueDensity(b) - 0.05f + 0.01f * static_cast<float>(b % 5);
        m.LVFIX(b) = true;
        if (b <= 10) {
            const int bottom = m.IV1(b) + 6;  // the deepest vertex
            m.ZVRT(bottom) -= 0.2f;
            m.LZFIX(bottom) = true;
        }
    }
    model::FDAREA(m);
    calc::CALC(p, 0);
    return p;
}

// Processor time of the whole program (every thread).
double processorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Wall time, or processor time when measuring one core.
bool countProcessorTime = false;

double seconds(const std::function<void()>& work) {
    if (countProcessorTime) {
        const double t0 = processorSeconds();
        work();
        return processorSeconds() - t0;
    }
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

double forwardSeconds(const model::ProfileLine& start, int repeat) {
    model::ProfileLine p = start;
    std::vector<double> t;
    for (int r = 0; r < repeat; ++r)
        t.push_back(seconds([&] { calc::CALC(p, 0); }));
    return best(t);
}

double stepSeconds(const model::ProfileLine& start, int repeat) {
    std::vector<double> t;
    for (int r = 0; r < repeat; ++r) {
        model::ProfileLine p = start;
        util::AxisRecord axisMod{}, axisDat{};
        int status = 0;
        t.push_back(seconds([&] { calc::ONE_STEP(p, p.MODEL, status, axisMod, axisDat); }));
    }
    return best(t);
}

// Steps one after another, without the stopping rules; answers their time
// and leaves the misfit reached.
double stepsSeconds(const model::ProfileLine& start, int steps, float& rms) {
    model::ProfileLine p = start;
    util::AxisRecord axisMod{}, axisDat{};
    const double t = seconds([&] {
        for (int s = 0; s < steps; ++s) {
            int status = 0;
            calc::ONE_STEP(p, p.MODEL, status, axisMod, axisDat);
        }
    });
    rms = p.RMSERR;
    return t;
}

int option(int argc, char** argv, const char* name, int fallback) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
            return std::atoi(argv[i] + prefix.size());
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    util::keepFreedMemoryForReuse();  // as the program does
    const int steps = option(argc, argv, "steps", 10);
    const int repeat = option(argc, argv, "repeat", 5);
    const bool oneCore = option(argc, argv, "one-core", 0) != 0;
    const bool allCores = option(argc, argv, "all-cores", 0) != 0;
    const int first = allCores && !oneCore ? 1 : 0;
    const int columns = oneCore && !allCores ? 1 : 2;
    // No screen and no user: the abort poll finds no event.
    util::setEventPeek([](util::EventWords&) { return -1; });
    const model::ProfileLine start = makeProfile();
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    std::printf("inversion benchmark: %d stations, %d bodies of %d edges, 30 free parameters\n",
                kStations, kBodies, kSides);
    std::printf("start misfit %.4f mGal\n\n", static_cast<double>(start.RMSERR));
    std::printf("best of %d; 1 core: processor time, all cores: wall time\n\n", repeat);
    std::printf("%-34s %12s %12s\n", "", "1 core", std::to_string(cores).append(" cores").c_str());
    double forward[2]{}, step[2]{}, run[2]{};
    float reached[2]{};
    for (int k = first; k < columns; ++k) {
        calc::setCalcThreadCount(k == 0 ? 1 : 0);
        countProcessorTime = k == 0;
        forward[k] = forwardSeconds(start, 4 * repeat);
        step[k] = stepSeconds(start, repeat);
        run[k] = stepsSeconds(start, steps, reached[k]);
    }
    calc::setCalcThreadCount(0);
    std::printf("%-34s %9.2f ms %9.2f ms\n", "one forward calculation", forward[0] * 1e3,
                forward[1] * 1e3);
    std::printf("%-34s %9.2f ms %9.2f ms\n", "one inversion step", step[0] * 1e3, step[1] * 1e3);
    std::printf("%-34s %12.1f %12.1f   (goal < 2 and < 3)\n", "step / forward calculation",
                first == 0 ? step[0] / forward[0] : 0.0, columns > 1 ? step[1] / forward[1] : 0.0);
    std::printf("%-34s %10.3f s %10.3f s\n", (std::to_string(steps) + " steps").c_str(), run[0],
                run[1]);
    std::printf("%-34s %12.6f %12.6f\n", "misfit reached (mGal)", static_cast<double>(reached[0]),
                static_cast<double>(reached[1]));
    return 0;
}
