// The explorer's journeys: fixed seeds for a bounded number of steps (the
// continuous integration's share), the journeys it once shrank from a fault
// (each replayed as a test), and new seeds for as long as asked
// (tools/explore.sh). Every journey runs in a child process of its own, so a
// sanitizer's report ends that journey alone and it can be shrunk.

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>

#include "calc/station_sums.h"
#include "explorer.h"
#include "shell/editing_test_support.h"
#include "zaf_fixtures.h"

#if defined(__has_include)
#if __has_include(<sanitizer/lsan_interface.h>) && defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define PELK_LEAK_CHECK 1
#endif
#endif

#ifdef PELK_LEAK_CHECK
// The font library keeps its configuration in a form the leak checker
// cannot follow; what it holds is the library's, not the program's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
#endif

namespace shell::test {
namespace {

using explorer::Options;
using explorer::Outcome;

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

void addLabel(model::LabelSet& l, int graph, float x, float y, float width, float height,
              const char* text) {
    const auto k = static_cast<std::size_t>(l.NLAB++);
    l.IWINDOW[k] = graph;
    l.IPARAM[k] = 0;
    l.XCLAB[k] = l.XARRO[k] = x;
    l.YCLAB[k] = l.YARRO[k] = y;
    l.WDLAB[k] = width;
    l.HILAB[k] = height;
    l.CMODL[k].assign(text);
}

// A database of what the two others lack: a magnetic profile whose model
// holds locks and labels, and a model that fails the model check (a body
// whose edges cross, and one with corners inside and outside another).
void writeRichProfiles() {
    writeProfiles("RICH", {[](model::ProfileLine& p) {
                               makeProfile(p, "Crossed Line", 21, 4000.0f,
                                           {box(1000, -800, 1600, -200),
                                            {{1300, -500}, {1600, -200}, {1900, -500}, {1600, -800}},
                                            {{2400, -900}, {3000, -300}, {3000, -900}, {2400, -300}}});
                           },
                           [](model::ProfileLine& p) {
                               makeProfile(p, "Magnetic Line", 41, 4000.0f, twoBodies());
                               p.DTYPE.assign("Magnetics Total Fld");
                               p.DUNIT[0].assign("nT");
                               // The first body's second and third corners follow its first.
                               p.MODEL.IPOINT(2) = p.MODEL.IPOINT(3) = 1;
                               addLabel(p.LABELS, 3, 2000.0f, -500.0f, 600.0f, 120.0f, "Ridge");
                               addLabel(p.LABELS, 1, 3000.0f, 1.5f, 600.0f, 0.2f, "Peak");
                               for (int k = 1; k <= p.NSTA; ++k)
                                   p.NORT(k) -= 1500.0f;
                           }});
}

// The folder a journey starts in: a database of two profiles, one of
// profiles with what those lack, the example survey, the test files of each
// format, each also cut short and as junk, and empty files.
void writeFixtureFolder() {
    writeTwoProfiles();
    writeRichProfiles();
    const fs::path examples = fs::path(PELK_SOURCE_DIR) / "examples";
    for (const auto& e : fs::directory_iterator(examples))
        fs::copy_file(e.path(), e.path().filename(), fs::copy_options::overwrite_existing);
    const fs::path golden = fs::path(PELK_SOURCE_DIR) / "tests/files/golden";
    fs::copy_file(golden / "gravity_model.mdl", "MODEL.MDL", fs::copy_options::overwrite_existing);
    fs::copy_file(golden / "regional_km_mgal.dat", "REGIONAL.DAT", fs::copy_options::overwrite_existing);
    const std::vector<std::uint8_t> zaf = files_test::zafFile(files_test::ZafSpec{});
    writeBytes("LINE.ZAF", std::string(zaf.begin(), zaf.end()));
    const std::map<std::string, std::string> goods = {{"TQM", "SITE.TQM"},
                                                      {"XYZ", "BASIN-GRAVITY.XYZ"},
                                                      {"MDL", "LINE3-GRAVITY.MDL"},
                                                      {"DAT", "LINE3-GRAVITY.DAT"},
                                                      {"ZAF", "LINE.ZAF"}};
    std::uint32_t x = 12345;
    for (const auto& [ext, good] : goods) {
        const std::string bytes = readFile(good);
        writeBytes("CUT." + ext, bytes.substr(0, bytes.size() * 3 / 5));
        std::string junk(300, '\0');
        for (char& c : junk) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
        writeBytes("JUNK." + ext, junk);
    }
    writeBytes("EMPTY.TQM", "");
    writeBytes("EMPTY.XYZ", "");
}

class ExplorerTest : public EditingTest {
  protected:
    // One journey in a child process; its log read back.
    Outcome journey(const Options& given) {
        Options o = given;
        static int runs = 0;
        const fs::path folder = dir_ / ("run" + std::to_string(++runs));
        fs::create_directories(folder);
        o.logPath = (folder / "journey.log").string();
        const int status = explorer::inChild([&] { return childJourney(o, folder); }, true);
        Outcome out = explorer::readLog(o.logPath, status);
        // A failing journey's folder stays for a look (PELK_EXPLORE_KEEP keeps every one).
        if ((out.failed() && !shrinking_) || std::getenv("PELK_EXPLORE_KEEP")) {
            keptFolder_ = (fs::temp_directory_path() / ("pelk-explore-" + std::to_string(::getpid()) + "-" + std::to_string(runs))).string();
            std::error_code ec;
            fs::rename(folder, keptFolder_, ec);
            if (ec) fs::copy(folder, keptFolder_, fs::copy_options::recursive, ec);
        }
        std::error_code ec;
        fs::remove_all(folder, ec);
        return out;
    }

    int childJourney(const Options& o, const fs::path& folder) {
        // Sanitizer reports of the child go to a file beside its log.
        std::freopen((o.logPath + ".err").c_str(), "w", stderr);
        fs::current_path(folder);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
        // No other program is started: no printer, browser or mail.
        fs::create_directories(folder / "nobin");
        ::setenv("PATH", (folder / "nobin").c_str(), 1);
        resetAll();
        files::viewSettings().ProfileWindowPlacement = {1, 560, 760, 390, 20};
        calc::setCalcThreadCount(1);
        writeFixtureFolder();
        int status = explorer::exploreHere(o, [this](const std::string& line, Script s) {
            return run(line, std::move(s));
        });
        if (status == 0) {
            resetAll();
#ifdef PELK_LEAK_CHECK
            if (__lsan_do_recoverable_leak_check()) status = 23;
#endif
        }
        std::fflush(stderr);
        return status;
    }

    Outcome replay(std::uint64_t seed, const std::vector<std::string>& steps) {
        Options o;
        o.seed = seed;
        o.replaying = true;
        o.journey = steps;
        return journey(o);
    }

    // A failing journey told in full: its seed, the invariant, and the
    // shrunk steps ready to be a replay test.
    std::string describe(std::uint64_t seed, const Outcome& o, int shrinkSeconds) {
        const std::string folder = keptFolder_;
        std::vector<std::string> steps = o.steps;
        shrinking_ = true;
        if (shrinkSeconds > 0)
            steps = explorer::shrink(steps, o,
                                     [&](const std::vector<std::string>& s) { return replay(seed, s); },
                                     shrinkSeconds);
        shrinking_ = false;
        std::ostringstream out;
        out << "seed " << seed << " (folder " << folder << "): " << o.invariant << ": " << o.message << " after "
            << o.steps.size() << " steps; shrunk to " << steps.size() << ":\n"
            << "{\"name\", " << seed << ", R\"(\n" << explorer::asReplayText(steps) << ")\"},\n";
        return out.str();
    }

    std::string keptFolder_;
    bool shrinking_ = false;
};

std::set<std::string> toleratedFromEnvironment() {
    std::set<std::string> out;
    if (const char* t = std::getenv("PELK_EXPLORE_TOLERATE")) {
        std::istringstream in(t);
        std::string name;
        while (std::getline(in, name, ',')) out.insert(name);
    }
    return out;
}

// The continuous integration's seeds: each journey must keep every invariant.
TEST_F(ExplorerTest, FixedSeedsKeepEveryInvariant) {
    for (std::uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        Options o;
        o.seed = seed;
        o.steps = 60;
        const Outcome out = journey(o);
        EXPECT_GE(out.steps.size(), 1u) << "seed " << seed << " took no step";
        if (out.failed()) ADD_FAILURE() << describe(seed, out, 60);
    }
}

// Journeys shrunk from faults the explorer found; each must now pass, every
// step played.
struct Replay {
    const char* name;
    std::uint64_t seed;
    const char* steps;
};

const Replay kReplays[] = {
    // Set Geometry in the geometry editor changes the model at once and the
    // change stays after Cancel, but only OK redrew the windows.
    {"geometry-set-from-the-stations-then-cancelled-is-drawn", 1796969506002, R"(
drag profc 247 389 246 408 700 0
bar prof 1
item 8 Geometry
at 1053 317 285
)"},
    // The profile window's Save As left the window linked to the profile it
    // was copied from, marked saved though the two differed: a later Save
    // wrote the copy over the original.
    {"profile-saved-as-a-new-one-stays-linked-to-the-original", 1796969506080, R"(
at 1 360 59
click profc 490 176 1
item 2 Delete Point
bar prof 0
item 7 Save_As
key 13
)"},
    // After the map's view dialog was cancelled twice the focus was on no
    // control of the profile list, and an arrow key read its group out of
    // an empty list.
    {"arrow-key-with-the-focus-on-no-control-of-a-dialog", 200066, R"(
bar main 2
item 7 Properties
at 2 425 690
click mainc 528 283 1
at 2 434 173
key 40
)"},
    // File > Exit closed the profile window before asking to save, so
    // cancelling the question left a current profile with no window.
    {"exit-cancelled-at-the-profile-question-leaves-no-profile-window", 200026, R"(
click profc 315 57 1
item 1 Properties
at 1 732 45
bar main 0
item 11 Exit
type 1002 -1e39
key 27
)"},
    // The same, with Yes to the profile and Escape to the database question.
    {"exit-cancelled-at-the-database-question-leaves-no-profile-window", 200038, R"(
at 1 366 44
drag profc 578 357 630 372 700 0
bar prof 1
item 3 Data
at 1 573 340
wait 923
bar prof 1
item 8 Geometry
at 1243 824 720
at 1243 832 750
at 1242 526 311
at 1232 60 297
at 2 447 251
bar main 0
item 11 Exit
type 1002 -32768
at 6 316 819
key 27
)"},
    // A margin of 1e39 in the page set-up was taken and overflowed the
    // printable width.
    {"page-setup-takes-a-margin-beyond-any-paper", 0, R"(
bar main 0
item 9 Print
type 1157 1e39
at 1 500 500
)"},
    // CLOSE of the followers dialog ended the leader mode but left the
    // leader's box on the screen, as if a leader still waited for followers.
    {"followers-closed-leave-no-leader-box", 0, R"(
click profc 247 389 1
item 11 Lock Other Vertices To This Vertex
at 8 321 711
)"},
    // Unlock Edge freed the edge's vertices but left them drawn as locked.
    {"unlocked-edge-is-drawn-unlocked", 0, R"(
click profc 247 349 1
item 6 Lock Edge
click profc 247 349 1
item 7 Unlock Edge
)"},
    // The explorer closed the profile list's open drop-down as if it had a
    // close box, which destroyed the list inside the combo box: no user can.
    // A press queued for the profile window before Edit Label's text dialog
    // disabled it was handled inside the dialog's loop and brought the
    // disabled window to the top: the dialog lay hidden behind the window it
    // blocked, and its Cancel could not be reached.
    {"a-disabled-window-is-not-raised-over-its-dialog", 1796975026230, R"(
drag mainc 445 21 316 357 250 0
bar prof 2
item 7 Model
click profc 238 76 0
click profc 189 361 1
item 0 New Label
at 1 951 47
dclick profc 317 243
dclick profc 25 374
click profc 736 156 1
click profc 95 327 0
click profc 189 361 1
item 0 Edit Label
)"},
    {"a-drop-down-list-has-no-close-box", 0, R"(
click main 57 30 0
close
)"},
    // Return in the insertion dialog hid it while a new layer was being
    // digitised: with the menus greyed, nothing was left to finish or cancel
    // the layer by. A click on the greyed File title then held the menu bar
    // in menu mode with nothing dropped down, which the explorer took for
    // the views, and it clicked on for ever.
    {"a-greyed-menu-title-holds-the-bar-until-escape", 0, R"(
click profc 140 249 1
item 1 New Layer
key 13
)"},
    // Insert Vertex put the new vertex where the edge's menu was opened,
    // beside the edge, and kept a model whose edges crossed as legal.
    {"vertex-inserted-beside-an-edge-keeps-the-model-legal", 0, R"(
drag profc 337 363 319 389 0 0
dclick profc 320 335
at 1 272 310
bar main 1
click profc 672 249 1
item 5 Insert Vertex
)"},
    // The start-up hint's close box and Escape did nothing: only its OK
    // closed it, so the journey's end (Escape, close box) never got past it.
    {"the-hint-leaves-by-its-close-box-and-escape", 0, R"(
)"},
    // The label under the pointer stays highlighted, which a fresh redraw
    // does not draw: the check now takes the highlight away by the
    // program's own erasing first (a fault of the check, not the program).
    {"a-highlighted-label-is-no-difference", 1796972343012, R"(
bar prof 2
item 6 Data
click profc 140 249 1
item 4 Label Background
click profc 140 249 0
)"},
    // The main window's Colors redrew the map only, though the profile
    // window draws with the same colours.
    {"colours-changed-from-the-map-redraw-the-profile-window", 1796972343024, R"(
bar main 2
item 6 Colors
combo 1130 4
key 13
)"},
    // Snap and Lock to Nearest moved the vertex onto its nearest leader
    // wherever that was, and kept a model whose edges crossed as legal.
    {"vertex-snapped-across-the-model-keeps-it-legal", 1796972343055, R"(
bar prof 2
item 14 Color Fill Bodies (C)
drag profc 652 106 579 317 100 1
item 13 Snap and Lock to Nearest
)"},
    // A model that fails the model check is opened; a click on a vertex
    // judged only that vertex and took the whole model for legal.
    {"a-click-on-a-model-that-fails-the-check-keeps-it-bad", 5, R"(
click profc 247 349 0
)"},
    // The leader clicked for Lock This Vertex To Another was marked and a
    // line drawn to the follower, but the window was not redrawn: the marks
    // stayed and the new lock was not shown as a lock.
    {"a-vertex-locked-to-another-is-drawn-locked", 0, R"(
click profc 247 389 1
item 10 Lock This Vertex To Another
click profc 338 389 0
)"},
    // Another profile deleted from the map, its edits not saved: the
    // working profile was read again from its slot but the profile window
    // still showed the edits.
    {"deleting-another-profile-redraws-the-profile-read-again", 1796975529006, R"(
click profc 383 55 1
item 0 Mask Point
click mainc 344 363 1
item 0 Delete Profile
at 1 865 364
at 7 500 500
)"},
    // File > Open closes the profile, then the file selector is cancelled:
    // the profile list still selected the closed profile.
    {"open-cancelled-leaves-the-list-on-the-closed-profile", 7005, R"(
bar main 0
item 1 Open
)"},
    // The data editor's surface column is the model's topography: a surface
    // typed down through a body left a model that fails the check taken as
    // legal. (Found after 224 steps of seed 1796980180093, where Insert Cell
    // shifted the surface column; this journey types the surface instead.)
    {"a-surface-typed-through-a-body-leaves-the-model-bad", 0, R"(
bar prof 1
item 3 Data
cell 1111 600 800 -500
at 1 500 500
)"},
    // Escape hid the regional field's grid with an unreadable number in a
    // cell: the window activated next took the focus, the cell refused to
    // let it go and took it back into the hidden dialog, whose activation
    // gave it to the window again, for ever (the stack overflowed).
    {"a-hidden-dialog-does-not-keep-the-focus-in-a-refused-cell", 1796980180278, R"(
bar prof 1
item 7 Regional
cell 1219 255 690 .
key 27
)"},
    // The line width of the map's view dialog (opened by a right click on
    // the map) is in force as its field changes, and the profile window
    // draws with it too, but only the map was redrawn, on Apply or OK.
    {"the-map-dialog-s-line-width-redraws-the-profile-window", 1796984894458, R"(
click mainc 241 24 1
click dlg 177 186 0
)"},
    // The same dialog from the main View menu reads the line width on
    // Apply, and Apply redrew the map alone.
    {"the-map-dialog-s-line-width-applied-redraws-the-profile-window", 1796984894257, R"(
bar main 2
item 7 Properties
click dlg 177 195 0
at 1090 366 862
)"},
    // The name size of either view dialog is in force as its field changes,
    // and both windows draw the name with it; neither window was redrawn.
    {"the-profile-dialog-s-name-size-redraws-the-profile-window", 5, R"(
click profc 315 57 1
item 1 Properties
type 1115 1.5
key 9
)"},
    {"the-map-dialog-s-name-size-redraws-the-profile-window", 5, R"(
bar main 2
item 7 Properties
type 1115 1.5
key 9
)"},
    // A click just above the profile window's view lands on the toolbar's
    // Save, a command the user asked for; it was taken for a gesture on the
    // view that changed a stored profile. (Shrunk by hand from 291 steps of
    // seed 1796984894398, where the window was small.)
    {"a-click-on-the-toolbar-beside-the-view-is-no-gesture", 1796969506080, R"(
at 1 360 59
click profc 490 176 1
item 2 Delete Point
click profc 10 -9 0
)"},
    // A single iteration that finds a locked follower made free takes the
    // flag off with a message and then has nothing to invert: the model had
    // changed but the window still showed the flag.
    {"a-single-iteration-that-unfrees-a-locked-vertex-redraws", 1796992052023, R"(
drag profc 345 222 583 361 250 1
item 7 Lock Vertices Together
click profc 456 353 1
item 1 Free X Movement
bar prof 3
item 1 Inverse...
item 0 Single Iteration
)"},
};

TEST_F(ExplorerTest, ShrunkJourneysOfPastFaultsPass) {
    for (const Replay& r : kReplays) {
        const std::vector<std::string> steps = explorer::fromReplayText(r.steps);
        const Outcome out = replay(r.seed, steps);
        EXPECT_FALSE(out.failed()) << r.name << ": " << out.invariant << ": " << out.message;
        EXPECT_EQ(out.steps.size(), steps.size()) << r.name << ": steps not played";
        for (const std::string& m : out.missed) ADD_FAILURE() << r.name << ": the target of \"" << m << "\" was not there";
    }
}

// New seeds for PELK_EXPLORE_SECONDS, from PELK_EXPLORE_SEED on in strides of
// PELK_EXPLORE_STRIDE; findings and coverage go to PELK_EXPLORE_REPORT.
TEST_F(ExplorerTest, DISABLED_NewSeeds) {
    const char* secondsText = std::getenv("PELK_EXPLORE_SECONDS");
    const long seconds = secondsText ? std::atol(secondsText) : 60;
    std::uint64_t seed = std::getenv("PELK_EXPLORE_SEED") ? std::strtoull(std::getenv("PELK_EXPLORE_SEED"), nullptr, 10) : 1000;
    const std::uint64_t stride = std::getenv("PELK_EXPLORE_STRIDE") ? std::strtoull(std::getenv("PELK_EXPLORE_STRIDE"), nullptr, 10) : 1;
    const int steps = std::getenv("PELK_EXPLORE_STEPS") ? std::atoi(std::getenv("PELK_EXPLORE_STEPS")) : 400;
    const std::string reportPath = std::getenv("PELK_EXPLORE_REPORT") ? std::getenv("PELK_EXPLORE_REPORT") : "explore-report.txt";
    std::ofstream report(reportPath, std::ios::app);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::map<std::string, int> failures;
    while (std::chrono::steady_clock::now() < end) {
        Options o;
        o.seed = seed;
        o.steps = steps;
        o.tolerated = toleratedFromEnvironment();
        const Outcome out = journey(o);
        report << "journey " << seed << " steps " << out.steps.size() << "\n";
        for (const std::string& r : out.reached) report << "reached " << r << "\n";
        for (const std::string& k : out.tolerated) report << "tolerated " << seed << " " << k << "\n";
        if (out.failed()) {
            const std::string key = out.invariant + ": " + out.message;
            // Each kind of failure is shrunk once; later ones are only counted.
            report << "failure " << seed << " " << key << "\n";
            if (failures[key]++ == 0) report << "shrunk " << describe(seed, out, 300) << "\n";
        }
        report.flush();
        seed += stride;
    }
}

// Replays the journey in the file PELK_EXPLORE_REPLAY (one step a line) from
// seed PELK_EXPLORE_SEED, and shrinks it when it fails (for at most
// PELK_EXPLORE_SHRINK seconds, 300 unless set): for a developer looking into
// a finding.
TEST_F(ExplorerTest, DISABLED_ReplayFile) {
    const char* path = std::getenv("PELK_EXPLORE_REPLAY");
    ASSERT_TRUE(path) << "PELK_EXPLORE_REPLAY names no file";
    const std::uint64_t seed = std::getenv("PELK_EXPLORE_SEED") ? std::strtoull(std::getenv("PELK_EXPLORE_SEED"), nullptr, 10) : 0;
    const std::vector<std::string> steps = explorer::fromReplayText(readFile(path));
    const int shrinkSeconds = std::getenv("PELK_EXPLORE_SHRINK") ? std::atoi(std::getenv("PELK_EXPLORE_SHRINK")) : 300;
    const Outcome out = replay(seed, steps);
    for (const std::string& m : out.missed) std::cout << "target not there: " << m << "\n";
    EXPECT_FALSE(out.failed()) << describe(seed, out, shrinkSeconds);
}

}  // namespace
}  // namespace shell::test
