#pragma once
// The settings file: read once at start-up into the view settings and the
// session switches, written again at exit. It lives in the user's
// configuration folder ($XDG_CONFIG_HOME/pelk-gm, else ~/.config/pelk-gm),
// never beside the program. Its contents are the settings' own fixed-width
// lines, CR LF ended; LF-only files read as well.

#include <string>
#include <string_view>

#include "base/fixed_string.h"
#include "files/settings_keys.h"

namespace files {

struct SettingsFileNames {
    std::string folder;  // the configuration folder of the program
    std::string ini;     // the settings file
    std::string inw;     // the file read instead when it exists alone; never written
    std::string system;  // a site-wide file read when the user has neither
};

// The names for the current environment (XDG_CONFIG_HOME, HOME, XDG_CONFIG_DIRS).
SettingsFileNames settingsFileNames();

// Reads the settings; every key found overwrites its field and a "LastDir="
// line changes the current folder. Reading stops at the first value that
// does not read as its type.
void readSettings(std::string_view text, const SettingFields& fields);

// The whole file for the fields as they stand, with `folder` as the
// remembered folder (no folder line when it is blank).
std::string settingsText(const SettingFields& fields, std::string_view folder);

// Start-up: reads the settings file into viewSettings() and sessionState(),
// sets SETTINGS_WRITE, and hands back the last database name (blanked as
// soon as a file is found, untouched when there is none).
void INIIN(base::FixedString<24>& lastFile);

// Exit: writes the settings file when SETTINGS_WRITE is set. The new file
// replaces the old one only when it was written whole; false when a write
// was due and failed.
bool LASTDIR(const base::FixedString<24>& lastFile);

}  // namespace files
