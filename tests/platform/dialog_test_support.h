#pragma once
// The dialog-layer tests: a log of what a dialog procedure hears, robot steps
// aimed at places found when the step runs, and screenshots for a person.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/robot/finder.h"
#include "platform/robot/screenshot.h"
#include "window_test_support.h"

namespace dlgtest {

struct Heard {
    win::UINT msg;
    int id;
    win::UINT code;  // notification code (WM_COMMAND high word or NMHDR code)
};

inline std::vector<Heard>& heard() {
    static std::vector<Heard> log;
    return log;
}

inline std::vector<win::UINT> codesFrom(int id, win::UINT msg) {
    std::vector<win::UINT> out;
    for (const Heard& h : heard())
        if (h.id == id && h.msg == msg) out.push_back(h.code);
    return out;
}

inline int countOf(int id, win::UINT msg, win::UINT code) {
    int n = 0;
    for (const Heard& h : heard())
        if (h.id == id && h.msg == msg && h.code == code) ++n;
    return n;
}

// Records WM_COMMAND and WM_NOTIFY and the deltas of up-down controls.
inline std::vector<int>& deltas() {
    static std::vector<int> d;
    return d;
}

inline void hear(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_COMMAND) heard().push_back({msg, win::LOWORD(wp), win::HIWORD(wp)});
    if (msg == win::WM_NOTIFY) {
        const auto* n = reinterpret_cast<const win::NMHDR*>(lp);
        heard().push_back({msg, static_cast<int>(n->idFrom), n->code});
        if (n->code == win::UDN_DELTAPOS)
            deltas().push_back(reinterpret_cast<const win::NMUPDOWN*>(lp)->iDelta);
    }
}

// Presses and releases the left button at a point computed when the step runs.
inline void clickAt(win::robot::Script& s, std::function<win::POINT()> where) {
    auto p = std::make_shared<win::POINT>();
    s.steps.push_back([=] {
        *p = where();
        win::injectMouseMove(p->x, p->y);
        win::injectMouseButton(p->x, p->y, 0, true);
    });
    s.steps.push_back([=] { win::injectMouseButton(p->x, p->y, 0, false); });
}

inline win::POINT centreOfControl(win::HWND dialog, int id) {
    return win::robot::centreOf(win::GetDlgItem(dialog, id));
}

// The screen position of a list item's middle.
inline win::POINT listItemCentre(win::HWND list, int index) {
    win::RECT r;
    win::SendMessageA(list, win::LB_GETITEMRECT, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(&r));
    win::POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    win::ClientToScreen(list, &p);
    return p;
}

inline std::string screenshotPath(const std::string& name) {
    std::filesystem::create_directories(PELK_SCREENSHOT_DIR);
    return std::string(PELK_SCREENSHOT_DIR) + "/" + name + ".png";
}

inline int focusedId() {
    return win::GetDlgCtrlID(win::GetFocus());
}

}  // namespace dlgtest
