#pragma once
// Names the resource language knows without a header: window, dialog and
// control styles, virtual keys and the standard dialog answers.

#include <optional>
#include <string>

namespace rcc {

std::optional<long long> builtinSymbol(const std::string& name);

}  // namespace rcc
