#pragma once
// The toolkit's general message box and its fatal exit.

#include <string_view>

namespace tk {

// Buttons: 0 OK, 1 OK/Cancel, 2 Retry/Cancel, 3 Yes/No, 4 Yes/No/Cancel,
// 5 Abort/Retry/Ignore (others OK). Icon: 1 stop, 2 question,
// 3 exclamation, 4 information (others none). Default button 1-3.
// The answer is kept as MessageBoxResult: 1 OK, Yes or Retry; 0 Cancel or
// Ignore; 2 No or Abort; -1 when the box could not be shown.
void MsgBox(int buttons, int icon, int defaultButton, std::string_view message,
            std::string_view caption);
// The operating-system side of MsgBox; mappedDefault is the button position.
void MessageBoxRun(int buttons, int icon, int mappedDefault, int& result, const char* message,
                   const char* caption);
// Shows a non-blank message in a stop box, then ends the process with code.
[[noreturn]] void AbnormalExit(std::string_view message, int code);

}  // namespace tk
