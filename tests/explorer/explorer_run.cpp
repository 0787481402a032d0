// One journey of the explorer: the robot's loop that checks the invariants,
// chooses (or replays) the next step and plays it; the child process each
// journey runs in, its log, and the shrinking of a failing journey.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "explorer.h"
#include "explorer_windows.h"
#include "platform/robot/finder.h"
#include "shell/shell_state.h"

namespace explorer {

namespace {

struct Driver {
    Options options;
    std::mt19937_64 rng;
    std::ofstream log;
    int taken = 0;
    std::size_t next = 0;
    bool exiting = false;
    int exitAttempts = 0;
    std::string lastGesture, lastStep;
    Snapshot before;
    std::set<std::string> reached, toleratedSeen;
};

Driver* driver = nullptr;

// Written and flushed at once: a crash must not lose the steps before it.
void logLine(char kind, const std::string& text) {
    driver->log << kind << ' ' << text << '\n';
    driver->log.flush();
}

void reach(const std::string& what) {
    if (!what.empty() && driver->reached.insert(what).second) logLine('C', what);
}

void report(const Failure& f) {
    if (driver->options.tolerated.count(f.invariant)) {
        if (driver->toleratedSeen.insert(f.invariant).second)
            logLine('K', f.invariant + "\t" + f.message + "\tafter step " + std::to_string(driver->taken));
        return;
    }
    logLine('F', f.invariant + "\t" + f.message);
    throw f;
}

// The windows on the screen, front first, for a finding that needs them.
std::string screenSummary() {
    std::string out = "windows:";
    for (win::HWND h : win::robot::topLevelWindows()) {
        if (!win::IsWindowVisible(h)) continue;
        out += " " + classOf(h) + " \"" + win::robot::windowText(h) + "\"" +
               (win::IsWindowEnabled(h) ? "" : " (disabled)") + ";";
    }
    const shell::MainLoopState& m = shell::mainLoop();
    const std::pair<const char*, bool> modes[] = {
        {"digitising", m.DigitisingBody}, {"pairs", m.PairLockMode}, {"leader", m.LeaderLockMode},
        {"follower", m.FollowerLockMode}, {"split", shell::shellSession().SplitBodyMode},
        {"map line", shell::shellSession().MapLineMode}};
    for (const auto& [name, on] : modes)
        if (on) out += std::string(" mode ") + name + ";";
    return out;
}

std::string nextStep() {
    Driver& d = *driver;
    if (!d.exiting) {
        if (d.options.replaying && d.next < d.options.journey.size()) return d.options.journey[d.next++];
        if (!d.options.replaying && d.taken < d.options.steps) return chooseStep(d.rng);
        d.exiting = true;
    }
    if (++d.exitAttempts > 60) report({"exit", "the program would not end; " + screenSummary()});
    return exitStep(d.exitAttempts);
}

void onStep() {
    Driver& d = *driver;
    if (d.taken > 0 && !d.exiting && lastStepMissed()) logLine('M', d.lastStep);
    if (d.taken > 0) checkInvariants(d.before, d.lastGesture, true, report);
    if (const win::HWND dialog = frontDialog()) reach("dlg " + win::robot::windowText(dialog));
    const std::string step = nextStep();
    if (d.exiting) {
        logLine('X', step);
    } else {
        ++d.taken;
        logLine('S', step);
        reach(reachedBy(step));
    }
    d.before = takeSnapshot();
    d.lastGesture = gestureView(step);
    d.lastStep = step;
    win::robot::Script s = playStep(step);
    s.check(onStep);
    win::robot::play(std::move(s));
}

}  // namespace

int exploreHere(const Options& options,
                const std::function<int(const std::string&, win::robot::Script)>& run) {
    Driver d;
    d.options = options;
    d.rng.seed(options.seed);
    d.log.open(options.logPath, std::ios::trunc);
    driver = &d;
    // Every third seed starts with no database, or (every sixth) with the
    // database of what the others lack.
    const std::uint64_t kind = options.seed % 6 == 5 ? 3 : options.seed % 3;
    static const char* const starts[] = {"pelk-gm SITE.TQM", "pelk-gm BASIN.TQM", "pelk-gm", "pelk-gm RICH.TQM"};
    win::robot::Script s;
    s.check(onStep);
    int status = 0;
    try {
        const int code = run(starts[kind], std::move(s));
        logLine('E', "ended with " + std::to_string(code) + " after " + std::to_string(d.taken) + " steps");
    } catch (const Failure&) {
        status = 3;
    } catch (const std::exception& e) {
        logLine('F', std::string("exception\t") + e.what());
        status = 4;
    }
    win::robot::stop();
    driver = nullptr;
    return status;
}

Outcome readLog(const std::string& path, int status) {
    Outcome o;
    o.status = status;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 2) continue;
        const std::string text = line.substr(2);
        switch (line[0]) {
            case 'S': o.steps.push_back(text); break;
            case 'C': o.reached.push_back(text); break;
            case 'M': o.missed.push_back(text); break;
            case 'K': o.tolerated.push_back(text); break;
            case 'F': {
                const std::size_t tab = text.find('\t');
                o.invariant = text.substr(0, tab);
                o.message = tab == std::string::npos ? "" : text.substr(tab + 1);
                break;
            }
            default: break;
        }
    }
    if (status != 0 && o.invariant.empty()) {
        // Died: the sanitizer's summary line names the fault.
        std::ifstream err(path + ".err");
        o.invariant = status == 124 ? "hang" : "crash";
        std::string firstError;
        while (std::getline(err, line)) {
            if (line.rfind("SUMMARY:", 0) == 0) o.message = line;
            if (firstError.empty() && line.find("runtime error:") != std::string::npos) firstError = line;
        }
        // The undefined-behaviour checker writes no summary: its first report names the fault.
        if (o.message.empty()) o.message = firstError;
        if (o.message.empty()) o.message = "exit status " + std::to_string(status);
    }
    return o;
}

int inChild(const std::function<int()>& body, bool quiet) {
    (void)quiet;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int status = body();
        std::fflush(nullptr);
        ::_exit(status);
    }
    if (pid < 0) return -1;
    // A journey that stops answering is a fault too.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    int wstatus = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &wstatus, WNOHANG);
        if (r == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &wstatus, 0);
            return 124;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(wstatus)) return WEXITSTATUS(wstatus);
    return 128 + WTERMSIG(wstatus);
}

std::string kindOf(const Outcome& o) {
    std::string kind = o.invariant + ":";
    bool inNumber = false;
    for (char c : o.message) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit) kind += c;
        else if (!inNumber) kind += '#';
        inNumber = digit;
    }
    return kind;
}

std::vector<std::string> shrink(std::vector<std::string> steps, const Outcome& failed,
                                const std::function<Outcome(const std::vector<std::string>&)>& replay,
                                int budgetSeconds) {
    const std::string kind = kindOf(failed);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(budgetSeconds);
    std::size_t chunk = std::max<std::size_t>(1, steps.size() / 2);
    for (;;) {
        bool cut = false;
        for (std::size_t i = 0; i < steps.size();) {
            if (std::chrono::steady_clock::now() > deadline) return steps;
            std::vector<std::string> candidate(steps.begin(), steps.begin() + static_cast<long>(i));
            candidate.insert(candidate.end(), steps.begin() + static_cast<long>(std::min(steps.size(), i + chunk)),
                             steps.end());
            const Outcome o = replay(candidate);
            if (o.failed() && kindOf(o) == kind) {
                // The steps after the failure are not needed either.
                if (o.steps.size() < candidate.size()) candidate.resize(o.steps.size());
                steps = candidate;
                cut = true;
            } else {
                i += chunk;
            }
        }
        if (chunk == 1 && !cut) return steps;
        if (!cut) chunk = std::max<std::size_t>(1, chunk / 2);
        chunk = std::min(chunk, std::max<std::size_t>(1, steps.size() / 2));
    }
}

std::string asReplayText(const std::vector<std::string>& steps) {
    std::string out;
    for (const std::string& s : steps) out += s + "\n";
    return out;
}

std::vector<std::string> fromReplayText(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.front() == ' ')) line.erase(0, 1);
        if (!line.empty() && line.front() != '#') out.push_back(line);
    }
    return out;
}

}  // namespace explorer
