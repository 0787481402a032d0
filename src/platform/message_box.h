#pragma once
// Message boxes and the warning beep. A box is a real dialog; every box is
// also recorded (owner, text, caption, style, answer). A test answers a box
// by queuing the button it wants pressed; when nothing can answer (no screen
// shown, no robot script running) the default button is pressed. The testing
// functions below are the whole interface a test needs.

#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace win {

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL MessageBeep(UINT type);

namespace testing {

struct MessageBoxRecord {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
    int answer = 0;
};

// The answer for the next box (IDOK ... IDNO); 0 makes that box fail, as a
// box that cannot be shown does. Answers are used in the order queued.
void queueMessageBoxAnswer(int answer);
// Every box since the last reset, oldest first.
const std::vector<MessageBoxRecord>& messageBoxes();
std::optional<MessageBoxRecord> lastMessageBox();
int beepCount();
// Forgets the boxes, the queued answers and the beeps.
void resetMessageBoxes();

}  // namespace testing
}  // namespace win
