// Speed of the forward calculation: one body of 1000 edges under 10 000
// stations, two-dimensional and 2.5-D, gravity and total field, on one
// thread and on every processor.
//
// With --write-gmt=DIR the program writes the 2.5-D gravity model in the
// form gmt talwani2d reads (body.txt, stations.txt) and our synthetics of it
// (ours.txt), for bench/compare_gmt.sh.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calc/forward_calc.h"
#include "calc/station_sums.h"
#include "model/body_area.h"
#include "model/profile_line.h"
#include "util/memory_reuse.h"

namespace {

constexpr int kStations = 10000;
constexpr int kVertices = 1000;
constexpr float kDensity = 0.3f;  // g/cc
constexpr float kXtent1 = 10.0f, kXtent2 = 20.0f;

float stationDistance(int i) {
    return -50.0f + static_cast<float>(i) * (100.0f / (kStations - 1));
}

// A wavy ring 5 km down, 6 km across.
void vertex(int j, float& x, float& depth) {
    const double t = 2.0 * 3.141592653589793 * j / kVertices;
    const double r = 3.0 + 0.5 * std::sin(7.0 * t);
    x = static_cast<float>(r * std::cos(t));
    depth = static_cast<float>(5.0 + 0.6 * r * std::sin(t));
}

model::ProfileLine makeProfile(bool strikeExtent, bool magnetic) {
    model::ProfileLine p;
    p.DTYPE.assign(magnetic ? "Magnetics Data" : "Gravity Data");
    p.NSTA = kStations;
    p.NCOMP = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= kStations; ++i) {
        p.STAT(i) = stationDistance(i - 1);
        p.EAST(i) = p.STAT(i);
        p.NORT(i) = 0.0f;
        p.ELEV(i) = 0.0f;
        p.DAT(i, 1) = 1.0E20f;
        p.MASK(i, 1) = false;
    }
    p.XUNIT.assign("KM");
    p.ZUNIT.assign("KM");
    p.IDENUN = 1;
    p.ISUSUN = 1;
    p.FIELD = 50000.0f;
    p.FINCL = 60.0f;
    p.FDECL = 10.0f;
    model::PolygonModel& m = p.MODEL;
    m.AZIM = 90.0f;
    m.STRIKE = 0.0f;
    model::ALLOCPG(m, kVertices, 1);
    m.NBOD = 1;
    m.IV1(1) = 1;
    m.IV2(1) = kVertices;
    for (int j = 1; j <= kVertices; ++j) {
        float x, depth;
        vertex(j - 1, x, depth);
        m.XVRT(j) = x;
        m.ZVRT(j) = -depth;
        m.IPOINT(j) = j;
    }
    m.DENS(1) = magnetic ? 0.01f : kDensity;
    m.XTENT1(1) = strikeExtent ? kXtent1 : 0.0f;
    m.XTENT2(1) = strikeExtent ? kXtent2 : 0.0f;
    m.LAYER(1) = false;
    m.INCLBD(1) = 0;
    model::FDAREA(m);
    return p;
}

void benchCalc(benchmark::State& state, bool strikeExtent, bool magnetic) {
    calc::setCalcThreadCount(static_cast<int>(state.range(0)));
    model::ProfileLine p = makeProfile(strikeExtent, magnetic);
    for (auto _ : state) {
        calc::CALC(p, 0);
        benchmark::DoNotOptimize(p.SYN(1, 1));
    }
    state.counters["stations"] = kStations;
    state.counters["edge_terms/s"] = benchmark::Counter(
        static_cast<double>(kStations) * kVertices, benchmark::Counter::kIsIterationInvariantRate);
    calc::setCalcThreadCount(0);
}

bool writeGmtModel(const std::string& dir) {
    model::ProfileLine p = makeProfile(true, false);
    calc::setCalcThreadCount(1);
    calc::CALC(p, 0);
    FILE* body = std::fopen((dir + "/body.txt").c_str(), "w");
    FILE* stations = std::fopen((dir + "/stations.txt").c_str(), "w");
    FILE* ours = std::fopen((dir + "/ours.txt").c_str(), "w");
    if (!body || !stations || !ours) return false;
    std::fprintf(body, "> %g\n", kDensity * 1000.0);
    for (int j = 0; j < kVertices; ++j) {
        float x, depth;
        vertex(j, x, depth);
        std::fprintf(body, "%.9g %.9g\n", x, depth);
    }
    for (int i = 1; i <= kStations; ++i) {
        std::fprintf(stations, "%.9g\n", p.STAT(i));
        std::fprintf(ours, "%.9g %.9g\n", p.STAT(i), p.SYN(i, 1));
    }
    std::fclose(body);
    std::fclose(stations);
    std::fclose(ours);
    // The strike extent in metres, towards -y and +y, for gmt's -Z option.
    std::printf("%g %g\n", kXtent1 * 1000.0, kXtent2 * 1000.0);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    util::keepFreedMemoryForReuse();  // as the program does
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-gmt=", 12) == 0)
            return writeGmtModel(argv[i] + 12) ? 0 : 1;
    }
    struct Case {
        const char* name;
        bool strikeExtent, magnetic;
    } cases[] = {{"CALC/2-D/gravity", false, false},
                 {"CALC/2.5-D/gravity", true, false},
                 {"CALC/2-D/total_field", false, true},
                 {"CALC/2.5-D/total_field", true, true}};
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name, benchCalc, c.strikeExtent, c.magnetic)
            ->ArgName("threads")
            ->Arg(1)
            ->Arg(0)  // one per processor
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
