#pragma once
// The utility library's information and warning boxes, as the calculation
// shows them. Until the application binds them (setCalcMessageBoxes) a
// message goes nowhere, which is also what a run without a screen needs.

#include <functional>
#include <string_view>

namespace calc {

using MessageBox = std::function<void(std::string_view text)>;
void setCalcMessageBoxes(MessageBox information, MessageBox warning);

void WINMSG(std::string_view text);
void WINWRN(std::string_view text);

}  // namespace calc
