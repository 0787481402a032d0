#pragma once
// The fixed English texts of the toolkit's error numbers and of the zlib
// return codes; unknown codes have a blank (empty) text.

#include <string_view>

namespace tk {

std::string_view errorTableText(int code);
std::string_view zlibErrorText(int code);

}  // namespace tk
