#pragma once
// The test robot: a script of user actions that the message wait plays one
// step at a time whenever the program has nothing else to do, exactly as if a
// user were at the keyboard and mouse of the virtual screen.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

#include "platform/window/user_api.h"

namespace win::robot {

enum class Button { Left = 0, Right = 1, Middle = 2 };

// A point on the screen found when the step runs (the window it names may
// not exist when the script is written).
using Target = std::function<POINT()>;
// The centre of a control (by its parent and identifier), or a client point of it.
Target control(HWND parent, int id);
Target clientPoint(std::function<HWND()> finder, int x, int y);
Target centreOfWindow(std::function<HWND()> finder);

class Script {
  public:
    Script& moveTo(Target where);
    Script& pressAt(Target where, Button b = Button::Left);
    Script& releaseAt(Target where, Button b = Button::Left);
    Script& clickAt(Target where, Button b = Button::Left);
    Script& doubleClickAt(Target where, Button b = Button::Left);
    Script& dragAt(Target from, Target to, Button b = Button::Left);
    Script& wheelAt(Target where, int delta);
    Script& move(int x, int y);
    Script& press(int x, int y, Button b = Button::Left);
    Script& release(int x, int y, Button b = Button::Left);
    Script& click(int x, int y, Button b = Button::Left);
    Script& doubleClick(int x, int y, Button b = Button::Left);
    // Press at the first point, move there in a few steps, release.
    Script& drag(int x0, int y0, int x1, int y1, Button b = Button::Left);
    Script& wheel(int x, int y, int delta);
    // Targets found when the step runs: a control by its parent and identifier,
    // or any window the finder names.
    Script& clickOn(std::function<HWND()> finder, Button b = Button::Left);
    Script& clickControl(HWND parent, int id);
    // The title of a window's menu bar, or an item of the open pop-up menu,
    // by its text without "&" (and without the accelerator text).
    Script& clickMenuBar(HWND window, const std::string& title);
    Script& clickMenuItem(const std::string& label);
    Script& keyDown(int vk);
    Script& keyUp(int vk);
    Script& key(int vk);
    // Keys held together, released in reverse order (e.g. VK_MENU, 'F').
    Script& chord(std::initializer_list<int> vks);
    Script& text(const std::string& cp1252);
    // The next message box that has no answer yet answers with this button
    // identifier (IDOK ...); put it before the step that makes the box appear.
    Script& answerMessageBox(int result);
    // Lets the clock run on (a fake clock jumps; timers fall due).
    Script& wait(unsigned milliseconds);
    // Runs between steps, when the program is idle; a check uses the finders
    // and the test framework's assertions.
    Script& check(std::function<void()> step);

    std::deque<std::function<void()>> steps;
};

// Plays a script from the message wait; replaces any script still running.
void play(Script script);
// True while steps remain.
bool playing();
// Runs the next step now (a test's own loop); false when none is left.
bool step();
// Drops the steps still waiting and says how many there were: a test's
// tear-down expects none, since a step never played is a journey not taken.
std::size_t stop();

}  // namespace win::robot
