// What must hold after every step of a journey, whatever the user did.

#include <cstring>
#include <sstream>

#include "explorer.h"
#include "explorer_windows.h"
#include "model/model_check.h"
#include "model/session_state.h"
#include "platform/robot/screenshot.h"
#include "shell/editing_test_support.h"
#include "shell/profile_hover.h"
#include "toolkit/dialogs/dialog_table.h"

namespace explorer {

namespace {

struct Hash {
    std::uint64_t h = 1469598103934665603ull;
    void add(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    void add(float f) { add(&f, sizeof f); }
    void add(int i) { add(&i, sizeof i); }
};

// The observed data of a profile: its stations and what was measured there
// (the arrays may hold more rows than stations after a deletion).
std::uint64_t dataOf(const model::ProfileLine& p) {
    Hash h;
    h.add(p.NSTA);
    h.add(p.NCOMP);
    for (const model::RealArray* a : {&p.STAT, &p.EAST, &p.NORT, &p.ELEV})
        for (int k = 1; k <= p.NSTA; ++k) h.add(a->has(k) ? (*a)(k) : -1.0f);
    for (int c = 1; c <= p.NCOMP; ++c)
        for (int k = 1; k <= p.NSTA; ++k) h.add(p.DAT.has(k, c) ? p.DAT(k, c) : -1.0f);
    return h.h;
}

std::string listText(win::HWND list, int i) {
    char text[64] = {};
    win::SendMessageA(list, win::CB_GETLBTEXT, static_cast<win::WPARAM>(i),
                      reinterpret_cast<win::LPARAM>(text));
    return text;
}

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

using Report = std::function<void(const Failure&)>;

void checkModel(const Report& report) {
    const model::ProfileLine& w = shell::workingProfile();
    const bool flagged = model::sessionState().BadModel;
    const bool bad = model::LBADMODEL(w.MODEL);
    if (!flagged && bad)
        report({"legal-model", "the model is taken as legal but fails the model check"});
    if (flagged && !bad)
        report({"bad-model-flag", "the model is drawn as bad but passes the model check"});
}

void checkModes(const Report& report) {
    const shell::MainLoopState& m = shell::mainLoop();
    const shell::ShellSession& s = shell::shellSession();
    const int modes = m.DigitisingBody + m.PairLockMode + m.LeaderLockMode + m.FollowerLockMode +
                      s.SplitBodyMode;
    if (modes > 1) report({"click-modes", "more than one click mode is on"});
    if (modes > 0 && !shell::profileWindowOpen())
        report({"click-modes", "a click mode is on with no profile window to click in"});
    // The mode's dialog holds its only way out (Cancel, Finish, CLOSE) while the menus are greyed.
    const win::HWND dialog = s.ActiveLockDialog > 0 ? tk::dialogWindowOf(s.ActiveLockDialog) : nullptr;
    if (modes > 0 && (!dialog || !win::IsWindowVisible(dialog)))
        report({"click-modes", "a click mode is on with no dialog to leave it by"});
    if (s.RubberBoxShown) report({"rubber-bands", "a rubber box is shown with no button held"});
    if (s.RubberLineShown && modes == 0)
        report({"rubber-bands", "a rubber line is shown outside every click mode"});
    if (s.RubberPolyShown && !s.MapLineMode)
        report({"rubber-bands", "a map polyline is shown outside the polyline mode"});
}

void checkDatabase(const Report& report) {
    const model::ProfileDatabase& db = shell::database();
    const int n = db.NPROF;
    if (n < 0 || n > model::kProfileLimit || n > static_cast<int>(db.PROFS.size())) {
        report({"database", "profile count " + std::to_string(n) + " out of range"});
        return;
    }
    const int current = shell::currentProfile();
    if (current < 0 || current > n)
        report({"database", "current profile " + std::to_string(current) + " of " + std::to_string(n)});
    for (int i = n + 1; i <= static_cast<int>(db.PROFS.size()); ++i)
        if (db.profile(i).NSTA != 0 || db.profile(i).MODEL.NBOD != 0) {
            report({"stale-slot", "slot " + std::to_string(i) + " beyond the count holds a profile"});
            break;
        }
    // While a question is open the list may wait for its answer.
    const win::HWND list = win::robot::findDescendantById(shell::test::mainWindow(), IDC_PROFILELIST);
    if (list && front() == Front::Views) {
        // "no profile selected", then one entry per profile; the selection is the current one.
        const int entries = static_cast<int>(win::SendMessageA(list, win::CB_GETCOUNT, 0, 0));
        if (n > 0 && entries != n + 1)
            report({"database", "the profile list shows " + std::to_string(entries - 1) + " of " +
                                    std::to_string(n) + " profiles"});
        for (int i = 1; i < std::min(entries, n + 1); ++i)
            if (trimmed(listText(list, i)) != trimmed(db.name(i).str())) {
                report({"database", "list entry " + std::to_string(i) + " \"" + listText(list, i) +
                                        "\" is not \"" + db.name(i).str() + "\""});
                break;
            }
        const int selected = static_cast<int>(win::SendMessageA(list, win::CB_GETCURSEL, 0, 0));
        if (n > 0 && entries == n + 1 && selected != current)
            report({"database", "the profile list selects entry " + std::to_string(selected) +
                                    " while profile " + std::to_string(current) + " is current"});
    }
    // A profile is current exactly while the profile window shows it.
    if (front() == Front::Views && (current > 0) != shell::profileWindowOpen())
        report({"working-profile", "profile " + std::to_string(current) + " is current while the profile window is " +
                                       (shell::profileWindowOpen() ? "open" : "closed")});
    const model::ProfileLine& w = shell::workingProfile();
    if (current >= 1 && current <= n && w.LSAVED && dataOf(w) != dataOf(db.profile(current)))
        report({"working-profile", "the working profile is marked saved but its data differ from its slot"});
}

}  // namespace

Snapshot takeSnapshot() {
    Snapshot s;
    const model::ProfileDatabase& db = shell::database();
    s.profiles = db.NPROF;
    for (int i = 1; i <= db.NPROF && i <= static_cast<int>(db.PROFS.size()); ++i)
        s.slotData.push_back(dataOf(db.profile(i)));
    s.workingData = dataOf(shell::workingProfile());
    s.current = shell::currentProfile();
    return s;
}

// A gesture on a view edits no observed data.
void checkGesture(const Snapshot& before, const Snapshot& after, const Report& report) {
    if (after.slotData != before.slotData)
        report({"unasked-change", "a mouse gesture changed the data of a stored profile"});
    // A click on the map's line of another profile makes that one the working profile.
    if (after.current == before.current && after.workingData != before.workingData)
        report({"unasked-change", "a mouse gesture changed the observed data of the working profile"});
}

void checkInvariants(const Snapshot& before, const std::string& gesture, bool redraw, const Report& report) {
    checkModel(report);
    checkModes(report);
    checkDatabase(report);
    if (!gesture.empty()) checkGesture(before, takeSnapshot(), report);
    if (redraw && shell::test::profileClient() && front() == Front::Views) {
        const shell::MainLoopState& m = shell::mainLoop();
        const shell::ShellSession& s = shell::shellSession();
        const bool traces = m.DigitisingBody || m.PairLockMode || m.LeaderLockMode ||
                            m.FollowerLockMode || s.SplitBodyMode || s.RubberLineShown ||
                            s.RubberBoxShown;
        if (!traces) {
            // The label under the pointer is highlighted until a redraw or
            // the pointer leaving takes the highlight away; the program's own
            // erasing takes it away here, and must leave the picture whole.
            shell::unhighlightLabel();
            const win::Surface now = shell::test::capture(shell::test::profileClient());
            shell::refreshProfileWindow();
            const win::Surface fresh = shell::test::capture(shell::test::profileClient());
            const int d = shell::test::differingPixels(now, fresh);
            if (d != 0) {
                // Both pictures stay in the journey's folder for a look.
                const win::RECT all{0, 0, now.width, now.height};
                win::robot::writePng(now, all, "redraw-before.png");
                win::robot::writePng(fresh, all, "redraw-fresh.png");
            }
            if (d != 0)
                report({"fresh-redraw", std::to_string(d) + " pixels of the profile window differ from a fresh redraw"});
        }
    }
}

}  // namespace explorer
