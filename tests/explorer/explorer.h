#pragma once
// The explorer: random journeys through the whole program, played by the
// robot from a seed, with the program's invariants checked after every step.
// A step is one line of text (what the user did, in window pixels and
// control numbers), so a journey can be written down, shrunk and replayed.

#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/robot/robot.h"

namespace explorer {

// What one run does: new steps from a seed, or a written-down journey.
struct Options {
    std::uint64_t seed = 1;
    int steps = 100;                      // new steps to take (ignored when replaying)
    bool replaying = false;
    std::vector<std::string> journey;     // the steps to replay
    std::string logPath;                  // where steps and findings are written as they happen
    std::set<std::string> tolerated;      // invariants only recorded, not failed (faults known elsewhere)
};

// What a run left in its log.
struct Outcome {
    int status = 0;                   // the run's exit status; 0 when it passed
    std::string invariant;            // the invariant that failed, "crash" or "exit", empty when none
    std::string message;
    std::vector<std::string> steps;   // steps taken, in order
    std::vector<std::string> missed;  // steps whose target was not there
    std::vector<std::string> reached; // commands and dialogs reached ("cmd ...", "dlg ...")
    std::vector<std::string> tolerated;  // findings of tolerated invariants
    bool failed() const { return status != 0; }
};

// A finding that ends the run: an invariant that does not hold.
struct Failure {
    std::string invariant;
    std::string message;
};

// --- the steps (explorer_steps.cpp) ---
// A new step for what is on the screen now.
std::string chooseStep(std::mt19937_64& rng);
// The robot's steps that play a step; a target that is gone makes the rest a no-op.
win::robot::Script playStep(const std::string& step);
// A target of the step played last was not there (a control, window, menu
// item or title gone), so part of it was not played.
bool lastStepMissed();
// The view a step's mouse gesture is made on ("mainc", "profc"), or "" when
// the step is no gesture (a command, a dialog, a key, a press beside the view).
std::string gestureView(const std::string& step);
// What a step reached, for the coverage report ("" when nothing named).
std::string reachedBy(const std::string& step);
// The steps that leave every dialog and menu and end the program.
std::string exitStep(int attempt);

// --- the invariants (explorer_invariants.cpp) ---
struct Snapshot {
    std::vector<std::uint64_t> slotData;  // observed data of each profile slot
    std::uint64_t workingData = 0;
    int profiles = 0;
    int current = 0;
};
Snapshot takeSnapshot();
// Every invariant; `gesture` names the view the step's mouse gesture was
// made on ("" for no gesture). Calls `report` for each broken one.
void checkInvariants(const Snapshot& before, const std::string& gesture, bool redraw,
                     const std::function<void(const Failure&)>& report);

// --- the runs (explorer_run.cpp) ---
// Runs the program under the explorer in this process (the caller gives the
// program's start: `run(commandLine, script)`), writing the log; the exit status.
int exploreHere(const Options& options,
                const std::function<int(const std::string&, win::robot::Script)>& run);
// Reads a run's log.
Outcome readLog(const std::string& path, int status);
// Runs `body` in a child process that writes `logPath`; the child's exit status
// (128 + signal when it died).
int inChild(const std::function<int()>& body, bool quiet);
// A failure's kind: its invariant and message, numbers aside (pixel counts
// vary; the windows on the screen or the place of a sanitizer's report do not).
std::string kindOf(const Outcome& o);
// The journey shortened to the fewest steps that still fail the same way
// (of the same kind).
std::vector<std::string> shrink(std::vector<std::string> steps, const Outcome& failed,
                                const std::function<Outcome(const std::vector<std::string>&)>& replay,
                                int budgetSeconds);
// The journey as the lines of a replay test.
std::string asReplayText(const std::vector<std::string>& steps);
std::vector<std::string> fromReplayText(const std::string& text);

}  // namespace explorer
