#pragma once
// The vocabulary of the settings file: every key with the field it stands
// for, in the order the reader tries the keys and in the order the writer
// writes them.

#include <array>
#include <span>
#include <string_view>
#include <variant>

#include "base/fixed_string.h"
#include "files/session_state.h"
#include "files/view_settings.h"

namespace files {

// Keys whose value is read (and must read as its type) but not kept, and
// which are written with a fixed value.
struct DiscardedInteger {
    int written;
};
struct DiscardedSwitch {
    bool written;
};

using SettingTarget = std::variant<int*, float*, bool*, AxisTitle*, base::FixedString<24>*,
                                   std::array<int, 10>*, DiscardedInteger, DiscardedSwitch>;

struct SettingKey {
    std::string_view key;
    SettingTarget target;
};

// What the keys refer to during one read or write.
struct SettingFields {
    ViewSettings& view;
    SessionState& session;
    base::FixedString<24>& lastFile;
};

// The 22 placement keys of the "[Windows]" block, in their only order.
std::span<const std::string_view> windowKeys();
// The other keys in the order the reader tries them.
std::span<const std::string_view> readerKeys();

// A section of the written file: its header line and its keys in order.
struct SettingsSection {
    std::string_view header;
    std::span<const std::string_view> keys;
};
// The sections after "[Directories]", which the writer builds itself.
std::span<const SettingsSection> writtenSections();

// Where a key's value goes; the key must be one of the file's keys.
SettingTarget targetOf(std::string_view key, const SettingFields& fields);

}  // namespace files
