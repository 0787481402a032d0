#include "util/message_boxes.h"

#include "toolkit/core/message_box.h"
#include "toolkit/core/toolkit_state.h"

namespace util {
namespace {

constexpr std::string_view kTitle = "Varendal Library Message";

enum Buttons { Ok = 0, OkCancel = 1, YesNo = 3 };
enum Icon { Question = 2, Exclamation = 3, Information = 4 };

// The answer of the last box: 1 OK or Yes, 0 Cancel, 2 No, -1 not shown.
int answer() {
    return tk::toolkitState().MessageBoxResult;
}

}  // namespace

void WINMSG(std::string_view text) {
    tk::MsgBox(Ok, Information, 1, text, kTitle);
}

void WINWRN(std::string_view text) {
    tk::MsgBox(Ok, Exclamation, 1, text, kTitle);
}

void WINMSGC(std::string_view text, bool& lcancel) {
    tk::MsgBox(OkCancel, Information, 1, text, kTitle);
    lcancel = answer() == 0;
}

void WINQUE(std::string_view text, bool& lans) {
    tk::MsgBox(YesNo, Question, lans ? 1 : 2, text, kTitle);
    lans = answer() == 1;
}

void WINANS(std::string_view text, bool& lans) {
    // Default code 0 maps to the second button of a Yes/No box: No.
    tk::MsgBox(YesNo, Exclamation, 0, text, kTitle);
    lans = answer() == 1;
}

}  // namespace util
