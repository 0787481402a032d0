#include "files/settings_file.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "base/little_endian.h"
#include "files/atomic_write.h"
#include "files/session_state.h"
#include "files/text_fields.h"
#include "files/toolkit_services.h"
#include "files/view_settings.h"

namespace files {

namespace {

// Lines are padded to this width for the fixed-width fields; longer lines
// stay whole, so that a folder or database path is never cut.
constexpr std::size_t kLineWidth = 80;
constexpr std::size_t kWordWidth = 20;
constexpr std::size_t kIntegerWidth = 10;
constexpr std::size_t kTitleWidth = 40;
constexpr std::size_t kLastFileWidth = 24;
constexpr std::string_view kFolderKey = "LastDir=";
// The whole path of the last database: its name in "Last File=" is cut to
// the 24 characters a database name has.
constexpr std::string_view kDatabaseKey = "LastDatabase=";
constexpr std::string_view kDirectories = "[Directories]";
constexpr std::string_view kWindows = "[Windows]";

// The lines of a settings file, each cut or blank-padded to the reader's width.
class LineSource {
  public:
    explicit LineSource(std::string_view text) {
        while (!text.empty()) {
            auto end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            std::string padded(line);
            if (padded.size() < kLineWidth) padded.resize(kLineWidth, ' ');
            lines_.push_back(std::move(padded));
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
    }
    bool next(std::string& line) {
        if (next_ >= lines_.size()) return false;
        line = lines_[next_++];
        return true;
    }

  private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

bool holds(std::string_view line, std::string_view key) {
    return line.find(key) != std::string_view::npos;
}

// The first blank-delimited word of `text`, at most kWordWidth characters.
std::string_view firstWord(std::string_view text, std::size_t* end = nullptr) {
    auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        if (end) *end = text.size();
        return {};
    }
    auto stop = text.find(' ', start);
    if (stop == std::string_view::npos) stop = text.size();
    if (end) *end = stop;
    return text.substr(start, std::min(stop - start, kWordWidth));
}

std::optional<int> integerOf(std::string_view word) {
    return readIntegerField(word.substr(0, std::min(word.size(), kIntegerWidth)));
}

std::optional<bool> switchOf(std::string_view word) {
    if (word.empty()) return std::nullopt;
    switch (word[0]) {
        case 'T':
        case 't':
            return true;
        case 'F':
        case 'f':
            return false;
        default:
            return std::nullopt;
    }
}

// Up to ten body colours; the words that are missing read as 0, and a word
// that is not an integer ends the list without ending the file.
void takeBodyColours(std::string_view value, std::array<int, 10>& colours) {
    for (int& colour : colours) {
        std::size_t end = 0;
        std::string_view word = firstWord(value, &end);
        value.remove_prefix(end);
        if (word.empty()) {
            colour = 0;
            continue;
        }
        auto v = integerOf(word);
        if (!v) return;
        colour = *v;
    }
}

// Takes the value of `key` from the line into its field; false when the value
// does not read as its type.
bool takeValue(std::string_view line, std::string_view key, const SettingTarget& target) {
    std::string_view value = line.substr(std::min(key.size(), line.size()));
    std::string_view word = firstWord(value);
    struct Taker {
        std::string_view value, word;
        bool operator()(int* field) const {
            auto v = integerOf(word);
            if (v) *field = *v;
            return v.has_value();
        }
        bool operator()(float* field) const {
            auto v = readRealField(word);
            if (v) *field = static_cast<float>(*v);
            return v.has_value();
        }
        bool operator()(bool* field) const {
            auto v = switchOf(word);
            if (v) *field = *v;
            return v.has_value();
        }
        bool operator()(AxisTitle* field) const {
            field->assign(value.substr(0, std::min(value.size(), kTitleWidth)));
            return true;
        }
        bool operator()(base::FixedString<24>* field) const {
            std::string_view text = value.substr(0, std::min(value.size(), kLastFileWidth));
            while (!text.empty() && text.back() == ' ')
                text.remove_suffix(1);
            field->assign(text);
            return true;
        }
        bool operator()(std::array<int, 10>* field) const {
            takeBodyColours(value, *field);
            return true;
        }
        bool operator()(DiscardedInteger) const { return integerOf(word).has_value(); }
        bool operator()(DiscardedSwitch) const { return switchOf(word).has_value(); }
    };
    return std::visit(Taker{value, word}, target);
}

std::string_view trimTrailing(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

enum class Outcome { NextLine, Examine, Stop };

// The ordered placement block after "[Windows]". Leaves in `line` the line
// that ended the block when the outcome is Examine.
Outcome readWindowBlock(LineSource& source, std::string& line, const SettingFields& fields) {
    for (std::string_view key : windowKeys()) {
        if (!source.next(line)) return Outcome::Stop;
        if (!holds(line, key)) return Outcome::Examine;
        if (!takeValue(line, key, targetOf(key, fields))) return Outcome::Stop;
    }
    return Outcome::NextLine;
}

Outcome examine(LineSource& source, std::string& line, const SettingFields& fields) {
    if (holds(line, kDirectories)) {
        if (!source.next(line)) return Outcome::Stop;
        if (!holds(line, kFolderKey)) return Outcome::Examine;
        std::string folder(trimTrailing(std::string_view(line).substr(kFolderKey.size())));
        if (!folder.empty()) toolkitServices().changeFolder(folder);
        return Outcome::NextLine;
    }
    if (line.starts_with(kDatabaseKey)) {
        fields.session.DatabasePath =
            trimTrailing(std::string_view(line).substr(kDatabaseKey.size()));
        return Outcome::NextLine;
    }
    if (holds(line, kWindows)) return readWindowBlock(source, line, fields);
    // A key ends in "=", so it can stand only before an "=" of the line:
    // looking there alone is far quicker than searching the line for each key.
    std::array<std::size_t, kLineWidth> equals{};
    std::size_t count = 0;
    for (std::size_t at = line.find('='); at != std::string::npos && count < equals.size();
         at = line.find('=', at + 1))
        equals[count++] = at + 1;
    auto standsInLine = [&](std::string_view key) {
        if (key.empty() || key.back() != '=' || count == equals.size()) return holds(line, key);
        return std::any_of(equals.begin(), equals.begin() + static_cast<std::ptrdiff_t>(count),
                           [&](std::size_t end) {
            return end >= key.size() &&
                   std::string_view(line).substr(end - key.size(), key.size()) == key;
        });
    };
    for (std::string_view key : readerKeys()) {
        if (!standsInLine(key)) continue;
        return takeValue(line, key, targetOf(key, fields)) ? Outcome::NextLine : Outcome::Stop;
    }
    return Outcome::NextLine;
}

std::string valueText(const SettingTarget& target) {
    struct Writer {
        std::string operator()(int* v) const { return formatInteger(*v, 5); }
        std::string operator()(float* v) const { return formatFixed(*v, 10, 4); }
        std::string operator()(bool* v) const { return *v ? "T" : "F"; }
        std::string operator()(AxisTitle* v) const { return std::string(v->view()); }
        std::string operator()(base::FixedString<24>* v) const { return std::string(v->view()); }
        std::string operator()(std::array<int, 10>* v) const {
            std::string s;
            for (int c : *v)
                s += formatInteger(c, 5);
            return s;
        }
        std::string operator()(DiscardedInteger d) const { return formatInteger(d.written, 5); }
        std::string operator()(DiscardedSwitch d) const { return d.written ? "T" : "F"; }
    };
    return std::visit(Writer{}, target);
}

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

SettingsFileNames settingsFileNames() {
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
        std::string home = environment("HOME");
        config = (home.empty() ? std::string(".") : home) + "/.config";
    }
    std::string dirs = environment("XDG_CONFIG_DIRS");
    std::string site = dirs.substr(0, dirs.find(':'));
    if (site.empty() || site[0] != '/') site = "/etc/xdg";

    SettingsFileNames names;
    names.folder = config + "/pelk-gm";
    names.ini = names.folder + "/PELK-GM.INI";
    names.inw = names.folder + "/PELK-GM.INW";
    names.system = site + "/pelk-gm/Pelk-GM.INI";
    return names;
}

void readSettings(std::string_view text, const SettingFields& fields) {
    LineSource source(text);
    std::string line;
    if (!source.next(line)) return;
    for (;;) {
        Outcome o = examine(source, line, fields);
        if (o == Outcome::Stop) return;
        if (o == Outcome::NextLine && !source.next(line)) return;
    }
}

std::string settingsText(const SettingFields& fields, std::string_view folder) {
    std::string out;
    auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line(kDirectories);
    if (!trimTrailing(folder).empty()) {
        std::string value(folder);
        if (value.size() < kLineWidth) value.resize(kLineWidth, ' ');
        line(std::string(kFolderKey) + value);
    }
    if (!fields.session.DatabasePath.empty())
        line(std::string(kDatabaseKey) + fields.session.DatabasePath);
    for (const SettingsSection& section : writtenSections()) {
        line(" ");  // an empty record is written as one blank
        line(section.header);
        for (std::string_view key : section.keys)
            line(std::string(key) + valueText(targetOf(key, fields)));
    }
    return out;
}

void INIIN(base::FixedString<24>& lastFile) {
    SettingsFileNames names = settingsFileNames();
    SessionState& session = sessionState();
    base::ByteBuffer bytes;
    if (base::readFile(names.ini, bytes)) {
        session.SETTINGS_WRITE = true;
    } else if (base::readFile(names.inw, bytes)) {
        // A file left by an earlier run that could not finish its exit: it is
        // read, and this run leaves it alone.
        session.SETTINGS_WRITE = false;
    } else {
        session.SETTINGS_WRITE = true;
        if (!base::readFile(names.system, bytes)) return;
    }
    lastFile = base::FixedString<24>();
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    readSettings(text, SettingFields{viewSettings(), session, lastFile});
}

bool LASTDIR(const base::FixedString<24>& lastFile) {
    SessionState& session = sessionState();
    if (!session.SETTINGS_WRITE) return true;
    SettingsFileNames names = settingsFileNames();
    std::error_code ec;
    std::filesystem::create_directories(names.folder, ec);
    base::FixedString<24> name = lastFile;
    std::string text = settingsText(SettingFields{viewSettings(), session, name},
                                    toolkitServices().currentFolder());
    if (!writeFileAtomically(names.ini, text).ok) return false;
    std::filesystem::remove(names.inw, ec);
    return true;
}

}  // namespace files
