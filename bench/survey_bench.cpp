// Speed of start-up, loading and drawing with real surveys, on the headless
// screen:
//   - start-up: from launching the program on the example database to its
//     first wait for input (goal under 0.3 s);
//   - loading a database of 100 profiles of 10 000 stations each, written by
//     the program's own writer (goal under 0.05 s);
//   - the program started on that database, from the launch to its first
//     wait for input (goal under 150 ms), then its map and the profile window
//     of one 10 000-station profile drawn again (goal under 50 ms each).
// Each program run is a fresh program: this benchmark starts itself again
// (fork and exec) at the moment the time starts, so the run shares no memory
// with the benchmark that wrote the survey, as a launch by the user does.
// Times are the processor time the program used (a machine busy with other
// work does not stretch them); the elapsed time follows in brackets.

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_survey.h"
#include "files/database_file.h"
#include "files/view_settings.h"
#include "model/profile_database.h"
#include "platform/kernel/environment.h"
#include "platform/robot/finder.h"
#include "platform/robot/robot.h"
#include "shell/program.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_table.h"
#include "util/axis_record.h"
#include "util/memory_reuse.h"
#include "views/map_view.h"
#include "views/profile_window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kProfiles = 100;
constexpr int kStations = 10000;
constexpr int kRepeats = 5;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// Processor time of this process so far (a child's starts at its launch).
double cpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A goal of 0 is none.
void printTime(const char* what, double cpu, double elapsed, double goal) {
    std::printf("  %-32s %9.3f ms  (%9.3f ms elapsed", what, cpu, elapsed);
    if (goal > 0)
        std::printf("; goal < %g ms)%s\n", goal, cpu < goal ? "" : "  MISSED");
    else
        std::printf(")\n");
}

// The best of `repeats` runs of `work`.
void timeOf(const char* what, const std::function<void()>& work, double goal) {
    double cpu = 1e300, elapsed = 1e300;
    for (int i = 0; i < kRepeats; ++i) {
        const Clock::time_point start = Clock::now();
        const double cpuStart = cpuMs();
        work();
        cpu = std::min(cpu, cpuMs() - cpuStart);
        elapsed = std::min(elapsed, msSince(start));
    }
    printTime(what, cpu, elapsed, goal);
}

// File > Exit of the main window.
void exitSteps(win::robot::Script& s) {
    s.clickAt([] {
        win::RECT r{};
        win::robot::menuBarItemRect(tk::windowSystem().slots[0].frame, "File", r);
        return win::robot::centreOf(r);
    });
    s.clickMenuItem("Exit");
}

// The robot's steps after the first wait for input, by the name a run is
// started with: "launch" none, "redraws" the map and the profile window drawn
// again and timed.
void redrawSteps(win::robot::Script& s) {
    s.check([] {
        timeOf("map drawn", [] {
            views::REFRESH(shell::database(), shell::mainLoop().MapAxis);
        }, 50);
        if (!shell::profileWindowOpen()) {
            std::printf("  the profile window did not open\n");
            return;
        }
        timeOf("profile window drawn", [] { views::REFRESHPL(shell::workingProfile()); }, 50);
    });
}

// The run of the program in the fresh process: `launch` is the moment of the
// launch on the steady clock (nanoseconds), `goal` that of the first wait.
int programRun(const std::string& steps, const std::string& database, long long launch,
               double goal) {
    const Clock::time_point launched{Clock::duration(launch)};
    util::keepFreedMemoryForReuse();  // as the program does
    files::viewSettings().reset();
    files::viewSettings().ProfileWindowPlacement = {1, 560, 760, 440, 20};
    win::testing::setCommandLine("pelk-gm " + database);
    win::robot::Script s;
    s.check([launched, goal] {
        printTime("launch to first wait for input", cpuMs(), msSince(launched), goal);
        rusage use{};
        ::getrusage(RUSAGE_SELF, &use);
        auto ms = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
        };
        // The system's part is mostly the first touch of each page.
        std::printf("    %.0f ms in the program, %.0f ms in the system; %ld page faults, %.0f MB "
                    "resident\n",
                    ms(use.ru_utime), ms(use.ru_stime), use.ru_minflt,
                    static_cast<double>(use.ru_maxrss) / 1024.0);
    });
    if (steps == "redraws") redrawSteps(s);
    exitSteps(s);
    win::robot::play(std::move(s));
    const int code = shell::PELK();
    const std::size_t unplayed = win::robot::stop();
    std::fflush(stdout);
    return code == 0 && unplayed == 0 ? 0 : 1;
}

// Launches the program on `database` now, as a fresh process running
// programRun; false when the run failed or left steps.
bool runProgram(const std::string& database, const std::string& steps, double goal) {
    std::fflush(stdout);
    const std::string launch = std::to_string(Clock::now().time_since_epoch().count());
    const std::string goalText = std::to_string(goal);
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        const char* argv[] = {"bench_survey", "--run",         steps.c_str(), database.c_str(),
                              launch.c_str(), goalText.c_str(), nullptr};
        ::execv(self.c_str(), const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool startUp(const fs::path& examples) {
    fs::copy_file(examples / "BASIN.TQM", "BASIN.TQM", fs::copy_options::overwrite_existing);
    std::printf("start-up with the example database\n");
    return runProgram("BASIN.TQM", "launch", 300);
}

bool loading() {
    std::printf("loading %d profiles of %d stations (%.1f MB)\n", kProfiles, kStations,
                static_cast<double>(fs::file_size("SURVEY.TQM")) / 1e6);
    bool ok = true;
    timeOf("load", [&ok] {
        model::ProfileDatabase db;
        util::AxisRecord axis{};
        int status = 0;
        ok = ok && model::allocateDatabase(db);
        files::BIOPELK(db, axis, "LOAD", "SURVEY.TQM", status);
        ok = ok && status == 0 && db.NPROF == kProfiles;
        model::CLEARDB(db);
    }, 50);
    return ok;
}

bool drawing() {
    std::printf("the program on %d profiles of %d stations\n", kProfiles, kStations);
    return runProgram("SURVEY.TQM", "redraws", 150);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--run")
        return programRun(argv[2], argv[3], std::stoll(argv[4]), std::stod(argv[5]));
    // "--write" leaves the survey in the current folder, so that one run can
    // be profiled on its own: bench_survey --run redraws SURVEY.TQM 0 150
    if (argc == 2 && std::string(argv[1]) == "--write")
        return bench::writeSurvey("SURVEY", kProfiles, kStations) ? 0 : 1;
    std::string base = (fs::temp_directory_path() / "pelk-survey-XXXXXX").string();
    const fs::path dir = ::mkdtemp(base.data());
    fs::current_path(dir);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
    bool ok = startUp(PELK_EXAMPLES);
    if (!bench::writeSurvey("SURVEY", kProfiles, kStations)) {
        std::fprintf(stderr, "cannot write the benchmark's database\n");
        ok = false;
    } else {
        ok = loading() && ok;
        ok = drawing() && ok;
    }
    fs::current_path(dir.parent_path());
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (!ok) std::fprintf(stderr, "a run did not come to its end\n");
    return ok ? 0 : 1;
}
