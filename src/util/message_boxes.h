#pragma once
// The library's message boxes, all titled "Varendal Library Message". A box
// that could not be shown counts as OK (WINMSGC) or No (WINQUE, WINANS).

#include <string_view>

namespace util {

void WINMSG(std::string_view text);  // information, OK
void WINWRN(std::string_view text);  // exclamation, OK
// OK/Cancel: lcancel becomes true for Cancel.
void WINMSGC(std::string_view text, bool& lcancel);
// Yes/No question; Yes is the default button when lans is true on entry.
void WINQUE(std::string_view text, bool& lans);
// Yes/No with the exclamation icon; No is the default button.
void WINANS(std::string_view text, bool& lans);

}  // namespace util
