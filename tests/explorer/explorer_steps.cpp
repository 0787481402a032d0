// The explorer's steps: what a user may do with what is on the screen now,
// chosen at random, written as one line, and played by the robot.
//
//   bar W I            click title I of window W's menu bar (W: main, prof, dlg)
//   item I LABEL       click item I of the innermost open pop-up menu
//   key VK / ctrl VK / shift VK
//   click W X Y B      click button B (0 left, 1 right) at client point X,Y of W
//   dclick W X Y       double click
//   drag W X0 Y0 X1 Y1 HOLD B   press, hold HOLD ms, move, release
//   wheel W X Y D
//   wait MS
//   at ID FX FY        click the front dialog's control ID at per-mille FX,FY of it
//   type ID TEXT       select all of control ID and type TEXT
//   cell ID FX FY TEXT click a grid cell, select all, type TEXT, Tab
//   combo ID N         open combo box ID, N times down, Return
//   close              click the front window's close box (a window without one is left alone)
//   quit / exit        File > Exit of the main window / its close box (the end of a journey)

#include <algorithm>
#include <cmath>
#include <array>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "explorer.h"
#include "explorer_windows.h"
#include "model/vertex_locks.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/robot/finder.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/menu_internal.h"
#include "shell/editing_test_support.h"

namespace explorer {

namespace {

using shell::test::screenOfInches;

int pick(std::mt19937_64& rng, int n) {
    return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<std::uint64_t>(n));
}

template <typename T>
const T& oneOf(std::mt19937_64& rng, const std::vector<T>& v) {
    return v[static_cast<std::size_t>(pick(rng, static_cast<int>(v.size())))];
}

// Field values: good ones, edge ones and ones nobody can read.
const std::vector<std::string>& fieldValues() {
    static const std::vector<std::string> v = {
        "0", "1", "2.5", "-3", "10", "100", "1000", "0.001", "45", "2", "5", "-0.2", "2.67",
        "-1", "1e6", "-1e6", "360", "-90", "90", "99999", "0.0", "1e-30", "32767", "-32768",
        "", "-", "1e39", "-1e39", "abc", "1,5", "--1", "nan", "inf", " ", "12abc", "1e", "."};
    return v;
}

// Names typed into the file selector: the fixture folder's good, cut and
// junk files of every format, new names, and names of files that are not there.
const std::vector<std::string>& fileNames() {
    static const std::vector<std::string> v = {
        "SITE.TQM",       "BASIN.TQM",       "RICH.TQM",       "BASIN-GRAVITY.XYZ", "BASIN-MAGNETICS.XYZ",
        "LINE3-GRAVITY.DAT", "LINE3-GRAVITY.MDL", "LINE3-REGIONAL.DAT", "REGIONAL.DAT",
        "MODEL.MDL",      "LINE.ZAF",        "CUT.TQM",           "CUT.XYZ",
        "CUT.MDL",        "CUT.DAT",         "CUT.ZAF",           "JUNK.TQM",
        "JUNK.XYZ",       "JUNK.MDL",        "JUNK.DAT",          "JUNK.ZAF",
        "EMPTY.TQM",      "EMPTY.XYZ",       "MISSING.TQM",       "MISSING.XYZ",
        "NEW.TQM",        "OUT.XYZ",         "OUT.MDL",           "OUT.DAT",
        "OUT.PNG",        "OUT.WMF",         "OUT.PLT",           "OUT.DXF",
        "",               "NONAME"};
    return v;
}

const std::vector<int>& viewKeys() {
    static const std::vector<int> v = [] {
        std::vector<int> k;
        for (int c = 'A'; c <= 'Z'; ++c) k.push_back(c);
        for (int c = '0'; c <= '9'; ++c) k.push_back(c);
        for (int c : {win::VK_DELETE, win::VK_ESCAPE, win::VK_RETURN, win::VK_SPACE, win::VK_TAB,
                      win::VK_BACK, win::VK_INSERT, win::VK_HOME, win::VK_END, win::VK_PRIOR,
                      win::VK_NEXT, win::VK_LEFT, win::VK_RIGHT, win::VK_UP, win::VK_DOWN,
                      win::VK_ADD, win::VK_SUBTRACT})
            k.push_back(c);
        for (int f = win::VK_F1; f <= win::VK_F12; ++f) k.push_back(f);
        return k;
    }();
    return v;
}

win::POINT clientOfScreen(win::HWND client, win::POINT p) {
    win::ScreenToClient(client, &p);
    return p;
}

// A point of the page near enough to be on the screen: a layer's closing
// vertices lie far beyond either end of the section, where no pixel is.
bool nearThePage(float xin, float yin) {
    return std::fabs(xin) < 1000.0f && std::fabs(yin) < 1000.0f;
}

// Points of the profile window worth aiming at: vertices (those that lead
// others twice over), edge middles, body middles, pivots, data points, the
// middles, corners and arrow ends of labels, and anywhere.
std::vector<win::POINT> profileTargets(std::mt19937_64& rng) {
    std::vector<win::POINT> out;
    const win::HWND client = windowNamed("profc");
    if (!client) return out;
    const model::ProfileLine& p = shell::workingProfile();
    const util::AxisRecord& a = p.AXES[4];
    auto atModel = [&](float x, float z) {
        const float xin = util::PLOFX(x, a) + a.originX, yin = util::PLOFY(z, a) + a.originY;
        if (nearThePage(xin, yin)) out.push_back(clientOfScreen(client, screenOfInches(client, xin, yin)));
    };
    const model::PolygonModel& m = p.MODEL;
    for (int b = 1; b <= m.NBOD && m.IV1.has(b) && m.IV2.has(b); ++b) {
        float sx = 0, sz = 0;
        int n = 0;
        for (int v = m.IV1(b); v <= m.IV2(b) && m.XVRT.has(v); ++v) {
            atModel(m.XVRT(v), m.ZVRT(v));
            if (model::LOCKSPRESENT(m, v)) atModel(m.XVRT(v), m.ZVRT(v));
            const int w = v < m.IV2(b) ? v + 1 : m.IV1(b);
            if (m.XVRT.has(w)) atModel(0.5f * (m.XVRT(v) + m.XVRT(w)), 0.5f * (m.ZVRT(v) + m.ZVRT(w)));
            sx += m.XVRT(v);
            sz += m.ZVRT(v);
            ++n;
        }
        if (n) atModel(sx / static_cast<float>(n), sz / static_cast<float>(n));
        if (m.XPIVOT.has(b) && m.XPIVOT(b) != model::kNotSet) atModel(m.XPIVOT(b), m.ZPIVOT(b));
    }
    const util::AxisRecord& d = p.AXES[0];
    for (int k = 1; k <= p.NSTA && p.STAT.has(k) && p.DAT.has(k, 1); ++k) {
        const float xin = util::PLOFX(p.STAT(k), d) + d.originX, yin = util::PLOFY(p.DAT(k, 1), d) + d.originY;
        if (nearThePage(xin, yin)) out.push_back(clientOfScreen(client, screenOfInches(client, xin, yin)));
    }
    const model::LabelSet& l = p.LABELS;
    for (int k = 0; k < std::min(l.NLAB, model::kLabelLimit); ++k) {
        // A label lies on the data graph (1) or the model section (3).
        const util::AxisRecord& g = l.IWINDOW[k] == 1 ? p.AXES[0] : a;
        auto atGraph = [&](float x, float y) {
            const float xin = util::PLOFX(x, g) + g.originX, yin = util::PLOFY(y, g) + g.originY;
            if (nearThePage(xin, yin)) out.push_back(clientOfScreen(client, screenOfInches(client, xin, yin)));
        };
        atGraph(l.XCLAB[k], l.YCLAB[k]);
        atGraph(l.XCLAB[k] + 0.5f * l.WDLAB[k], l.YCLAB[k] + 0.5f * l.HILAB[k]);
        atGraph(l.XARRO[k], l.YARRO[k]);
    }
    win::RECT r{};
    win::GetClientRect(client, &r);
    for (int i = 0; i < 6; ++i)
        out.push_back({pick(rng, std::max(1L, static_cast<long>(r.right))),
                       pick(rng, std::max(1L, static_cast<long>(r.bottom)))});
    return out;
}

// Points of the map: the ends and middles of the profile lines, and anywhere.
std::vector<win::POINT> mapTargets(std::mt19937_64& rng) {
    std::vector<win::POINT> out;
    const win::HWND client = windowNamed("mainc");
    if (!client) return out;
    const util::AxisRecord& a = shell::mainLoop().MapAxis;
    const model::ProfileDatabase& db = shell::database();
    auto atMap = [&](float e, float n) {
        const float xin = util::PLOFX(e, a) + a.originX, yin = util::PLOFY(n, a) + a.originY;
        if (nearThePage(xin, yin)) out.push_back(clientOfScreen(client, screenOfInches(client, xin, yin)));
    };
    for (int i = 1; i <= db.NPROF && i <= static_cast<int>(db.PROFS.size()); ++i) {
        const model::ProfileLine& p = db.profile(i);
        atMap(p.EFIRST, p.NFIRST);
        atMap(p.ELAST, p.NLAST);
        atMap(0.5f * (p.EFIRST + p.ELAST), 0.5f * (p.NFIRST + p.NLAST));
    }
    win::RECT r{};
    win::GetClientRect(client, &r);
    for (int i = 0; i < 4; ++i)
        out.push_back({pick(rng, std::max(1L, static_cast<long>(r.right))),
                       pick(rng, std::max(1L, static_cast<long>(r.bottom)))});
    return out;
}

// Only points a user can reach: on the window or just beside it.
std::vector<win::POINT> onWindow(win::HWND client, std::vector<win::POINT> points) {
    win::RECT r{};
    win::GetClientRect(client, &r);
    std::erase_if(points, [&](const win::POINT& p) {
        return p.x < -20 || p.y < -20 || p.x > r.right + 20 || p.y > r.bottom + 20;
    });
    return points;
}

std::string pointStep(const std::string& verb, const std::string& window, win::POINT p) {
    return verb + " " + window + " " + std::to_string(p.x) + " " + std::to_string(p.y);
}

std::string gestureStep(std::mt19937_64& rng, const std::string& window,
                        const std::vector<win::POINT>& targets) {
    const win::POINT p = oneOf(rng, targets);
    const int roll = pick(rng, 100);
    if (roll < 30) return pointStep("click", window, p) + " 0";
    if (roll < 55) return pointStep("click", window, p) + " 1";
    if (roll < 62) return pointStep("dclick", window, p);
    if (roll < 67) return pointStep("wheel", window, p) + (pick(rng, 2) ? " 120" : " -120");
    // A drag: a vertex, body, label or pivot dragged, or a rubber box.
    win::POINT q = pick(rng, 2) ? oneOf(rng, targets)
                                : win::POINT{p.x + pick(rng, 81) - 40, p.y + pick(rng, 81) - 40};
    static const std::array<int, 4> holds = {0, 100, 250, 700};
    return pointStep("drag", window, p) + " " + std::to_string(q.x) + " " + std::to_string(q.y) +
           " " + std::to_string(holds[static_cast<std::size_t>(pick(rng, 4))]) + " " +
           (pick(rng, 4) == 0 ? "1" : "0");
}

std::string keyStep(std::mt19937_64& rng) {
    const int vk = oneOf(rng, viewKeys());
    const int roll = pick(rng, 10);
    if (roll == 0) {
        static const std::vector<int> ctrl = {'C', 'V', 'X', 'Z', 'Y', 'A', 'S', 'O', 'N', 'P'};
        return "ctrl " + std::to_string(oneOf(rng, ctrl));
    }
    if (roll == 1) return "shift " + std::to_string(vk);
    return "key " + std::to_string(vk);
}

std::string barStep(std::mt19937_64& rng, const std::string& window) {
    const win::HMENU menu = win::GetMenu(windowNamed(window));
    const int n = win::GetMenuItemCount(menu);
    if (n <= 0) return keyStep(rng);
    return "bar " + window + " " + std::to_string(pick(rng, n));
}

// A click on a random point of a control of a frame (tool bar, profile list, status bar).
std::string frameControlStep(std::mt19937_64& rng, const std::string& window) {
    std::vector<win::HWND> controls;
    for (win::HWND c : controlsOf(windowNamed(window)))
        if (c != windowNamed(window == "main" ? "mainc" : "profc")) controls.push_back(c);
    if (controls.empty()) return keyStep(rng);
    const win::HWND c = oneOf(rng, controls);
    win::RECT r{};
    win::GetClientRect(c, &r);
    win::POINT p{pick(rng, std::max(1L, static_cast<long>(r.right))),
                 pick(rng, std::max(1L, static_cast<long>(r.bottom)))};
    win::ClientToScreen(c, &p);
    win::ScreenToClient(windowNamed(window), &p);
    return pointStep("click", window, p) + " 0";
}

std::string viewStep(std::mt19937_64& rng) {
    const bool profile = windowNamed("prof") != nullptr;
    const int roll = pick(rng, 100);
    if (roll < 18) return barStep(rng, profile && pick(rng, 3) ? "prof" : "main");
    if (roll < 30) return keyStep(rng);
    if (roll < 38) return frameControlStep(rng, profile && pick(rng, 2) ? "prof" : "main");
    if (roll < 48) return gestureStep(rng, "mainc", onWindow(windowNamed("mainc"), mapTargets(rng)));
    if (roll < 49) return "wait " + std::to_string(100 + pick(rng, 2000));
    if (profile) return gestureStep(rng, "profc", onWindow(windowNamed("profc"), profileTargets(rng)));
    return barStep(rng, "main");
}

std::string itemLabel(const win::detail::Menu& m, int i) {
    return win::detail::labelPart(win::detail::displayText(m.items[static_cast<std::size_t>(i)].text));
}

std::string menuStep(std::mt19937_64& rng) {
    const std::vector<win::HWND> open = win::robot::openPopupMenus();
    // A menu bar in menu mode with nothing dropped down: another title, or Escape.
    if (open.empty()) {
        const std::string w = windowNamed("prof") && pick(rng, 2) ? "prof" : "main";
        return pick(rng, 3) == 0 ? barStep(rng, w) : "key " + std::to_string(win::VK_ESCAPE);
    }
    win::detail::Menu* m = win::detail::findMenu(win::detail::popupWindowMenu(open.back()));
    if (!m || pick(rng, 12) == 0) return "key " + std::to_string(win::VK_ESCAPE);
    std::vector<int> items;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (!(m->items[i].type & win::MF_SEPARATOR)) items.push_back(static_cast<int>(i));
    if (items.empty()) return "key " + std::to_string(win::VK_ESCAPE);
    const int i = oneOf(rng, items);
    return "item " + std::to_string(i) + " " + itemLabel(*m, i);
}

// The controls of a dialog a user may touch. The file selector's folder list
// stays untouched, and so does any tree of folders: the explorer never leaves
// its own folder.
std::vector<win::HWND> touchable(win::HWND dialog) {
    std::vector<win::HWND> out;
    for (win::HWND c : controlsOf(dialog)) {
        const std::string cls = classOf(c);
        const int id = win::GetDlgCtrlID(c);
        if (!win::IsWindowEnabled(c) || id <= 0 || id == 0xFFFF) continue;
        if (cls == "Static" || cls == "SysTreeView32" || cls == "#32770") continue;
        if (isFileSelector(dialog) && id == win::kFolderList) continue;
        if (win::GetDlgItem(dialog, id) != c) continue;  // only what its number finds
        out.push_back(c);
    }
    return out;
}

std::string perMille(std::mt19937_64& rng) {
    return std::to_string(pick(rng, 1000)) + " " + std::to_string(pick(rng, 1000));
}

std::string controlStep(std::mt19937_64& rng, win::HWND dialog, win::HWND c) {
    const std::string cls = classOf(c);
    const std::string id = std::to_string(win::GetDlgCtrlID(c));
    if (cls == "Edit" || cls == "RichEdit20A" || cls == "RICHEDIT50W") {
        if (isFileSelector(dialog) && win::GetDlgCtrlID(c) == win::kFileNameEdit)
            return "type " + id + " " + oneOf(rng, fileNames());
        return "type " + id + " " + oneOf(rng, fieldValues());
    }
    if (cls == "ComboBox") return "combo " + id + " " + std::to_string(pick(rng, 6));
    if (cls == "VORARIZ") return "cell " + id + " " + perMille(rng) + " " + oneOf(rng, fieldValues());
    return "at " + id + " " + perMille(rng);
}

// A window has a close box when it has a caption with its system menu, and
// its class allows closing (a drop-down list or a message box with no way to
// cancel has none).
bool hasCloseBox(win::HWND h) {
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(h, win::GWL_STYLE));
    const auto classStyle = static_cast<win::UINT>(win::GetClassLongA(h, win::GCL_STYLE));
    return (style & win::WS_CAPTION) == win::WS_CAPTION && (style & win::WS_SYSMENU) &&
           !(classStyle & win::CS_NOCLOSE);
}

std::string dialogStep(std::mt19937_64& rng) {
    const win::HWND dialog = frontDialog();
    const int roll = pick(rng, 100);
    if (roll < 6) return "key " + std::to_string(win::VK_ESCAPE);
    if (roll < 10) return "key " + std::to_string(win::VK_RETURN);
    if (roll < 12 && hasCloseBox(dialog)) return "close";
    if (roll < 14) return "key " + std::to_string(win::VK_TAB);
    const int buttons[] = {win::IDOK, win::IDCANCEL, win::IDYES, win::IDNO};
    if (roll < 22) {
        const int b = buttons[pick(rng, 4)];
        if (win::GetDlgItem(dialog, b)) return "at " + std::to_string(b) + " 500 500";
    }
    if (roll < 26 && win::GetMenu(dialog) && win::GetMenuItemCount(win::GetMenu(dialog)) > 0)
        return barStep(rng, "dlg");
    const std::vector<win::HWND> controls = touchable(dialog);
    if (controls.empty() || roll < 28) {
        win::RECT r{};
        win::GetClientRect(dialog, &r);
        return pointStep("click", "dlg",
                         {pick(rng, std::max(1L, static_cast<long>(r.right))),
                          pick(rng, std::max(1L, static_cast<long>(r.bottom)))}) +
               " 0";
    }
    return controlStep(rng, dialog, oneOf(rng, controls));
}

// --- playing ---

using win::robot::Script;

// The robot's steps of one explorer step share this: once a target is
// missing, the rest of the step does nothing.
struct StepState {
    bool gone = false;
    win::POINT at{};
};

void guarded(Script& s, std::shared_ptr<StepState> st, std::function<void()> f) {
    s.check([st, f] {
        if (st->gone) return;
        try {
            f();
        } catch (const std::runtime_error&) {
            st->gone = true;
        }
    });
}

win::HWND need(win::HWND h) {
    if (!h) throw std::runtime_error("gone");
    return h;
}

win::POINT screenPoint(const std::string& window, int x, int y) {
    win::POINT p{x, y};
    win::ClientToScreen(need(windowNamed(window)), &p);
    return p;
}

win::POINT controlPoint(int id, int fx, int fy) {
    const win::HWND c = need(win::GetDlgItem(need(frontDialog()), id));
    if (!win::IsWindowVisible(c)) throw std::runtime_error("hidden");
    const win::RECT r = win::robot::screenRect(c);
    return {r.left + (r.right - r.left) * fx / 1000, r.top + (r.bottom - r.top) * fy / 1000};
}

void press(Script& s, std::shared_ptr<StepState> st, std::function<win::POINT()> where, int b) {
    guarded(s, st, [st, where, b] {
        st->at = where();
        win::injectMouseMove(st->at.x, st->at.y);
        win::injectMouseButton(st->at.x, st->at.y, b, true);
    });
}

void release(Script& s, std::shared_ptr<StepState> st, int b) {
    guarded(s, st, [st, b] { win::injectMouseButton(st->at.x, st->at.y, b, false); });
}

void keyPress(Script& s, std::shared_ptr<StepState> st, std::vector<int> keys) {
    guarded(s, st, [keys] {
        for (int k : keys) win::injectKey(k, true);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) win::injectKey(*it, false);
    });
}

void typeText(Script& s, std::shared_ptr<StepState> st, const std::string& text) {
    keyPress(s, st, {win::VK_CONTROL, 'A'});
    if (!text.empty()) guarded(s, st, [text] { win::injectText(text); });
}

void waitMs(Script& s, std::shared_ptr<StepState> st, unsigned ms) {
    guarded(s, st, [ms] {
        win::Clock& c = win::currentClock();
        c.sleepUntil(c.nowMs() + ms);
    });
}

std::string restOf(std::istringstream& in) {
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
    return rest;
}

void playMouse(Script& s, std::shared_ptr<StepState> st, const std::string& verb, std::istringstream& in) {
    std::string w;
    int x = 0, y = 0;
    in >> w >> x >> y;
    auto at = [w, x, y] { return screenPoint(w, x, y); };
    if (verb == "click" || verb == "dclick") {
        int b = 0;
        if (verb == "click") in >> b;
        press(s, st, at, b);
        release(s, st, b);
        if (verb == "dclick") {
            press(s, st, at, b);
            release(s, st, b);
        }
    } else if (verb == "wheel") {
        int d = 0;
        in >> d;
        guarded(s, st, [at, d] {
            const win::POINT p = at();
            win::injectMouseMove(p.x, p.y);
            win::injectMouseWheel(p.x, p.y, d);
        });
    } else {  // drag
        int x1 = 0, y1 = 0, hold = 0, b = 0;
        in >> x1 >> y1 >> hold >> b;
        press(s, st, at, b);
        if (hold) waitMs(s, st, static_cast<unsigned>(hold));
        for (int i = 1; i <= 4; ++i)
            guarded(s, st, [st, w, x, y, x1, y1, i] {
                const win::POINT p = screenPoint(w, x + (x1 - x) * i / 4, y + (y1 - y) * i / 4);
                st->at = p;
                win::injectMouseMove(p.x, p.y);
            });
        release(s, st, b);
    }
}

void playDialog(Script& s, std::shared_ptr<StepState> st, const std::string& verb, std::istringstream& in) {
    int id = 0;
    in >> id;
    if (verb == "at") {
        int fx = 500, fy = 500;
        in >> fx >> fy;
        press(s, st, [id, fx, fy] { return controlPoint(id, fx, fy); }, 0);
        release(s, st, 0);
    } else if (verb == "type") {
        const std::string text = restOf(in);
        press(s, st, [id] { return controlPoint(id, 500, 500); }, 0);
        release(s, st, 0);
        typeText(s, st, text);
    } else if (verb == "cell") {
        int fx = 500, fy = 500;
        in >> fx >> fy;
        const std::string text = restOf(in);
        press(s, st, [id, fx, fy] { return controlPoint(id, fx, fy); }, 0);
        release(s, st, 0);
        typeText(s, st, text);
        keyPress(s, st, {win::VK_TAB});
    } else {  // combo
        int n = 0;
        in >> n;
        press(s, st, [id] { return controlPoint(id, 500, 500); }, 0);
        release(s, st, 0);
        for (int i = 0; i < n; ++i) keyPress(s, st, {win::VK_DOWN});
        keyPress(s, st, {win::VK_RETURN});
    }
}

}  // namespace

std::string chooseStep(std::mt19937_64& rng) {
    switch (front()) {
        case Front::Menu:
            return menuStep(rng);
        case Front::Dialog:
            return dialogStep(rng);
        case Front::Views:
            break;
    }
    return viewStep(rng);
}

std::string exitStep(int attempt) {
    switch (front()) {
        case Front::Menu:
            return "key " + std::to_string(win::VK_ESCAPE);
        case Front::Dialog: {
            const win::HWND d = frontDialog();
            // The save question is answered No; other boxes and dialogs are cancelled.
            if (win::GetDlgItem(d, win::IDNO)) return "at " + std::to_string(win::IDNO) + " 500 500";
            if (attempt % 3 == 2 && hasCloseBox(d)) return "close";
            if (win::GetDlgItem(d, win::IDCANCEL) && attempt % 3 == 1)
                return "at " + std::to_string(win::IDCANCEL) + " 500 500";
            return "key " + std::to_string(win::VK_ESCAPE);
        }
        case Front::Views:
            break;
    }
    // File > Exit as a user ends, and now and then the close box.
    return attempt % 4 == 3 ? "exit" : "quit";
}

namespace {

// The state of the step played last, to tell whether all of it was played.
std::shared_ptr<StepState>& lastStep() {
    static std::shared_ptr<StepState> last;
    return last;
}

}  // namespace

bool lastStepMissed() {
    return lastStep() && lastStep()->gone;
}

win::robot::Script playStep(const std::string& step) {
    Script s;
    auto st = std::make_shared<StepState>();
    lastStep() = st;
    std::istringstream in(step);
    std::string verb;
    in >> verb;
    if (verb == "bar") {
        std::string w;
        int i = 0;
        in >> w >> i;
        press(s, st, [w, i] {
            win::RECT r{};
            if (!win::detail::menuBarItemScreenRect(need(windowNamed(w)), i, r))
                throw std::runtime_error("no title");
            return win::robot::centreOf(r);
        }, 0);
        release(s, st, 0);
    } else if (verb == "item") {
        int i = 0;
        in >> i;
        const std::string label = restOf(in);
        guarded(s, st, [st, i, label] {
            const std::vector<win::HWND> open = win::robot::openPopupMenus();
            if (open.empty()) throw std::runtime_error("no menu");
            win::detail::Menu* m = win::detail::findMenu(win::detail::popupWindowMenu(open.back()));
            if (!m || i >= static_cast<int>(m->items.size())) throw std::runtime_error("no item");
            // A replayed item is the one written down, not whatever sits at its place now.
            if (!label.empty() && itemLabel(*m, i) != label) throw std::runtime_error("other item");
            win::RECT wr{};
            win::GetWindowRect(open.back(), &wr);
            const win::RECT& r = m->items[static_cast<std::size_t>(i)].rect;
            st->at = {wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2};
            win::injectMouseMove(st->at.x, st->at.y);
        });
        guarded(s, st, [st] { win::injectMouseButton(st->at.x, st->at.y, 0, true); });
        release(s, st, 0);
    } else if (verb == "key" || verb == "ctrl" || verb == "shift") {
        int vk = 0;
        in >> vk;
        if (verb == "key") keyPress(s, st, {vk});
        else keyPress(s, st, {verb == "ctrl" ? win::VK_CONTROL : win::VK_SHIFT, vk});
    } else if (verb == "click" || verb == "dclick" || verb == "drag" || verb == "wheel") {
        playMouse(s, st, verb, in);
    } else if (verb == "wait") {
        unsigned ms = 0;
        in >> ms;
        waitMs(s, st, ms);
    } else if (verb == "at" || verb == "type" || verb == "cell" || verb == "combo") {
        playDialog(s, st, verb, in);
    } else if (verb == "close") {
        // What the close box sends; a window without one cannot be closed so.
        guarded(s, st, [] {
            const win::HWND d = need(frontDialog());
            if (hasCloseBox(d)) win::PostMessageA(d, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        });
    } else if (verb == "quit") {
        press(s, st, [] {
            win::RECT r{};
            if (!win::detail::menuBarItemScreenRect(need(windowNamed("main")), 0, r))
                throw std::runtime_error("no title");
            return win::robot::centreOf(r);
        }, 0);
        release(s, st, 0);
        press(s, st, [] {
            win::RECT r{};
            if (!win::robot::openMenuItemRect("Exit", r)) throw std::runtime_error("no item");
            return win::robot::centreOf(r);
        }, 0);
        release(s, st, 0);
    } else if (verb == "exit") {
        guarded(s, st, [] {
            win::PostMessageA(need(windowNamed("main")), win::WM_CLOSE, 0, 0);
        });
    }
    return s;
}

std::string gestureView(const std::string& step) {
    std::istringstream in(step);
    std::string verb, window;
    win::POINT p{};
    in >> verb >> window >> p.x >> p.y;
    const bool mouse = verb == "click" || verb == "dclick" || verb == "drag" || verb == "wheel";
    if (!mouse || (window != "mainc" && window != "profc")) return "";
    // A press beside the view lands on what is there, such as a toolbar
    // button, whose command is no gesture on the view.
    win::RECT r{};
    if (const win::HWND client = windowNamed(window)) win::GetClientRect(client, &r);
    const bool inside = p.x >= r.left && p.y >= r.top && p.x < r.right && p.y < r.bottom;
    return inside ? window : "";
}

std::string reachedBy(const std::string& step) {
    std::istringstream in(step);
    std::string verb;
    in >> verb;
    if (verb == "item") {
        int i = 0;
        in >> i;
        const std::string label = restOf(in);
        return label.empty() ? "" : "cmd " + label;
    }
    if (verb == "key" || verb == "ctrl" || verb == "shift") return step;
    return "";
}

}  // namespace explorer
