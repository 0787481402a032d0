// Feeds arbitrary text to the settings reader. Whatever the text, reading
// must end without a memory error or an undefined operation, and what it
// accepted must be written as a file that reads again without one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/session_state.h"
#include "files/settings_file.h"
#include "files/view_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    files::viewSettings().reset();
    files::SessionState session;
    base::FixedString<24> lastFile;
    const files::SettingFields fields{files::viewSettings(), session, lastFile};
    // A "LastDir=" line moves the current folder; keep the fuzzer where it runs.
    std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t at = 0; (at = text.find("LastDir=", at)) != std::string::npos; ++at)
        text[at] = 'X';
    files::readSettings(text, fields);
    files::readSettings(files::settingsText(fields, ""), fields);
    return 0;
}
