#include "platform/robot/robot.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/robot/finder.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/presenter.h"

namespace win::robot {
namespace {

std::deque<std::function<void()>> pending;

bool runOneStep() {
    if (pending.empty()) return false;
    auto step = std::move(pending.front());
    pending.pop_front();
    step();
    return true;
}

void buttonAt(POINT p, Button b, bool down) {
    injectMouseButton(p.x, p.y, static_cast<int>(b), down);
}

}  // namespace

Target control(HWND parent, int id) {
    return [=] {
        const HWND h = findDescendantById(parent, id);
        if (!h) throw std::runtime_error("robot: no control " + std::to_string(id));
        return centreOf(h);
    };
}

Target clientPoint(std::function<HWND()> finder, int x, int y) {
    return [=] {
        const HWND h = finder();
        if (!h) throw std::runtime_error("robot: the window does not exist");
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    };
}

Target centreOfWindow(std::function<HWND()> finder) {
    return [=] {
        const HWND h = finder();
        if (!h) throw std::runtime_error("robot: the window does not exist");
        return centreOf(h);
    };
}

Script& Script::moveTo(Target where) {
    steps.push_back([=] {
        const POINT p = where();
        injectMouseMove(p.x, p.y);
    });
    return *this;
}

Script& Script::pressAt(Target where, Button b) {
    steps.push_back([=] {
        const POINT p = where();
        injectMouseMove(p.x, p.y);
        buttonAt(p, b, true);
    });
    return *this;
}

Script& Script::releaseAt(Target where, Button b) {
    steps.push_back([=] {
        const POINT p = where();
        injectMouseMove(p.x, p.y);
        buttonAt(p, b, false);
    });
    return *this;
}

Script& Script::clickAt(Target where, Button b) {
    // The place is taken once, when the press happens.
    auto at = std::make_shared<POINT>();
    steps.push_back([=] {
        *at = where();
        injectMouseMove(at->x, at->y);
        buttonAt(*at, b, true);
    });
    steps.push_back([=] { buttonAt(*at, b, false); });
    return *this;
}

Script& Script::doubleClickAt(Target where, Button b) {
    auto at = std::make_shared<POINT>();
    steps.push_back([=] {
        *at = where();
        injectMouseMove(at->x, at->y);
        buttonAt(*at, b, true);
    });
    steps.push_back([=] { buttonAt(*at, b, false); });
    steps.push_back([=] { buttonAt(*at, b, true); });
    steps.push_back([=] { buttonAt(*at, b, false); });
    return *this;
}

Script& Script::dragAt(Target from, Target to, Button b) {
    auto start = std::make_shared<POINT>();
    auto end = std::make_shared<POINT>();
    steps.push_back([=] {
        *start = from();
        *end = to();
        injectMouseMove(start->x, start->y);
        buttonAt(*start, b, true);
    });
    for (int i = 1; i <= 4; ++i)
        steps.push_back([=] {
            injectMouseMove(start->x + (end->x - start->x) * i / 4,
                            start->y + (end->y - start->y) * i / 4);
        });
    steps.push_back([=] { buttonAt(*end, b, false); });
    return *this;
}

Script& Script::wheelAt(Target where, int delta) {
    steps.push_back([=] {
        const POINT p = where();
        injectMouseMove(p.x, p.y);
        injectMouseWheel(p.x, p.y, delta);
    });
    return *this;
}

Script& Script::move(int x, int y) {
    steps.push_back([=] { injectMouseMove(x, y); });
    return *this;
}

Script& Script::press(int x, int y, Button b) {
    steps.push_back([=] {
        injectMouseMove(x, y);
        buttonAt({x, y}, b, true);
    });
    return *this;
}

Script& Script::release(int x, int y, Button b) {
    steps.push_back([=] {
        injectMouseMove(x, y);
        buttonAt({x, y}, b, false);
    });
    return *this;
}

Script& Script::click(int x, int y, Button b) {
    press(x, y, b);
    return release(x, y, b);
}

Script& Script::doubleClick(int x, int y, Button b) {
    click(x, y, b);
    return click(x, y, b);
}

Script& Script::drag(int x0, int y0, int x1, int y1, Button b) {
    press(x0, y0, b);
    for (int i = 1; i <= 4; ++i)
        move(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4);
    return release(x1, y1, b);
}

Script& Script::wheel(int x, int y, int delta) {
    steps.push_back([=] {
        injectMouseMove(x, y);
        injectMouseWheel(x, y, delta);
    });
    return *this;
}

Script& Script::clickOn(std::function<HWND()> finder, Button b) {
    // The target is looked up when the step runs, as it may not exist yet.
    auto where = std::make_shared<POINT>();
    steps.push_back([=] {
        const HWND h = finder();
        if (!h) throw std::runtime_error("robot: the window to click on does not exist");
        *where = centreOf(h);
        injectMouseMove(where->x, where->y);
        buttonAt(*where, b, true);
    });
    steps.push_back([=] { buttonAt(*where, b, false); });
    return *this;
}

Script& Script::clickControl(HWND parent, int id) {
    return clickOn([=] { return findDescendantById(parent, id); });
}

Script& Script::clickMenuBar(HWND window, const std::string& title) {
    auto where = std::make_shared<POINT>();
    steps.push_back([=] {
        RECT r;
        if (!menuBarItemRect(window, title, r))
            throw std::runtime_error("robot: no menu title " + title);
        *where = centreOf(r);
        injectMouseMove(where->x, where->y);
        buttonAt(*where, Button::Left, true);
    });
    steps.push_back([=] { buttonAt(*where, Button::Left, false); });
    return *this;
}

Script& Script::clickMenuItem(const std::string& label) {
    auto where = std::make_shared<POINT>();
    steps.push_back([=] {
        RECT r;
        if (!openMenuItemRect(label, r))
            throw std::runtime_error("robot: no open menu item " + label);
        *where = centreOf(r);
        injectMouseMove(where->x, where->y);
    });
    steps.push_back([=] { buttonAt(*where, Button::Left, true); });
    steps.push_back([=] { buttonAt(*where, Button::Left, false); });
    return *this;
}

Script& Script::keyDown(int vk) {
    steps.push_back([=] { injectKey(vk, true); });
    return *this;
}

Script& Script::keyUp(int vk) {
    steps.push_back([=] { injectKey(vk, false); });
    return *this;
}

Script& Script::key(int vk) {
    steps.push_back([=] {
        injectKey(vk, true);
        injectKey(vk, false);
    });
    return *this;
}

Script& Script::chord(std::initializer_list<int> vks) {
    std::vector<int> keys(vks);
    steps.push_back([=] {
        for (int vk : keys)
            injectKey(vk, true);
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            injectKey(*it, false);
    });
    return *this;
}

Script& Script::text(const std::string& cp1252) {
    steps.push_back([=] { injectText(cp1252); });
    return *this;
}

Script& Script::answerMessageBox(int result) {
    steps.push_back([=] { testing::queueMessageBoxAnswer(result); });
    return *this;
}

Script& Script::wait(unsigned ms) {
    steps.push_back([=] {
        Clock& c = currentClock();
        c.sleepUntil(c.nowMs() + ms);
    });
    return *this;
}

Script& Script::check(std::function<void()> step) {
    steps.push_back(std::move(step));
    return *this;
}

void play(Script script) {
    pending = std::move(script.steps);
    setIdleStepSource(runOneStep);
}

bool playing() {
    return !pending.empty();
}
bool step() {
    return runOneStep();
}

std::size_t stop() {
    const std::size_t dropped = pending.size();
    pending.clear();
    return dropped;
}

}  // namespace win::robot
