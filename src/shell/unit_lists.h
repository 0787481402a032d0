#pragma once
// The distance units offered by the "X Unit:" and "Z Unit:" lists of the
// new-profile dialogs and the data editor: list position 1 to 5 with the
// code stored in the profile and the text shown.

#include <array>
#include <string_view>

#include "base/fixed_string.h"

namespace shell {

struct DistanceUnit {
    std::string_view code;
    std::string_view text;
};

inline constexpr std::array<DistanceUnit, 5> kDistanceUnits = {
    {{"M", "Meters"}, {"KM", "KiloMeters"}, {"FT", "Feet"}, {"KFT", "Kilofeet"}, {"MI", "Miles"}}};

// Fills the list field of the current dialog with the five texts and selects
// the unit whose code is `code`, Meters when it is none of the five.
void putDistanceUnits(int field, const base::FixedString<8>& code);
// The code of the unit selected in the list field.
base::FixedString<8> getDistanceUnit(int field);

}  // namespace shell
