#pragma once
// Device input entering the window system: the robot and the presenter call
// these, and the message wait turns each event into window messages when it
// reaches the front of the queue.

#include <string_view>

#include "platform/win_types.h"

namespace win {

void injectMouseMove(int screenX, int screenY);
// button: 0 left, 1 right, 2 middle.
void injectMouseButton(int screenX, int screenY, int button, bool down);
void injectMouseWheel(int screenX, int screenY, int delta);
void injectKey(int virtualKey, bool down);
// A CP1252 character that no key of the layout types (arrives as WM_CHAR).
void injectChar(unsigned char ch);
// Types text as key presses, with Shift where the character needs it.
void injectText(std::string_view cp1252Text);
// The virtual key and whether Shift is needed for a character; false when
// the US layout has no key for it.
bool virtualKeyOfChar(unsigned char ch, int& vk, bool& shift);
bool inputPending();

}  // namespace win
