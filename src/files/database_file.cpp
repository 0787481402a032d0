#include "files/database_file.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "files/atomic_write.h"
#include "files/database_sections.h"
#include "files/messages.h"
#include "files/session_state.h"
#include "files/toolkit_services.h"
#include "model/session_state.h"
#include "util/text_search.h"

namespace files {

namespace {

constexpr std::string_view kFilter = "Pelk-GM Binary File|*.TQM|";
constexpr std::string_view kTitle = "Pelk-GM Binary File";

enum class Action { Reload, Load, Open, Save, SaveAs };

// The action by the abbreviation rule: the patterns' capitals are required,
// their small letters may be left off.
Action actionOf(std::string_view text) {
    std::string field(text.substr(0, std::min<std::size_t>(text.size(), 10)));
    field.resize(10, ' ');
    const std::pair<std::string_view, Action> patterns[] = {{"Reload    ", Action::Reload},
                                                            {"Load      ", Action::Load},
                                                            {"Open      ", Action::Open},
                                                            {"Save      ", Action::Save},
                                                            {"SaveAs    ", Action::SaveAs}};
    for (const auto& [pattern, action] : patterns)
        if (util::LCUQEQ(field, pattern, 10)) return action;
    return Action::SaveAs;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return std::string(s);
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    auto p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// Moves a complete image into the program's database.
bool commit(DatabaseImage& image, model::ProfileDatabase& database, util::AxisRecord& mapAxis) {
    model::ProfileDatabase fresh;
    if (!model::allocateDatabase(fresh)) {
        showInformation("CANNOT ALLOCATE PROFILE DATA");
        return false;
    }
    static_cast<model::DatabaseHeader&>(fresh) = image.database;
    const int n = image.database.NPROF;
    for (int i = 1; i <= n; ++i) {
        fresh.profile(i) = std::move(image.database.profile(i));
        fresh.name(i) = image.database.name(i);
    }
    model::CLEARDB(database);
    database = std::move(fresh);
    mapAxis = image.mapAxis;
    int current = image.currentProfile;
    if (current < 0 || current > n) current = n > 0 ? 1 : 0;
    model::sessionState().CurrentProfile = current;
    return true;
}

struct Names {
    std::string path;   // the file actually read or written
    std::string given;  // the name the database and the last-file names derive from
    bool chosen = false;
};

// The file to use, or nothing when no name was given or chosen.
std::optional<Names> chooseFile(const model::ProfileDatabase& db, Action action,
                                std::string_view fileName) {
    const bool writing = action == Action::Save || action == Action::SaveAs;
    const bool unnamed = db.DBNAME.view().find('*') != std::string_view::npos;
    Names names;
    if (action == Action::Open || action == Action::SaveAs || (action == Action::Save && unnamed)) {
        FileSelection request{std::string(kFilter), writing ? kSelectSaveFlags : kSelectOpenFlags,
                              "", std::string(kTitle)};
        auto chosen = toolkitServices().selectFile(request);
        if (!chosen) return std::nullopt;
        names.path = trimmed(*chosen);
        names.given = bareFileName(names.path);
        names.chosen = true;
    } else if (action == Action::Load) {
        names.path = names.given = trimmed(fileName);
    } else {
        names.path = names.given = trimmed(db.DBNAME.view()) + ".TQM";
        // The file the database came from or went to, wherever it lies; at
        // the start, the last database by the whole path the settings keep
        // (its name there is cut to 24 characters).
        const std::string& known = sessionState().DatabasePath;
        if (!known.empty() && action == Action::Reload)
            names.path = names.given = known;
        else if (!known.empty() && databaseNameOf(bareFileName(known)) == db.DBNAME)
            names.path = known;
    }
    if (names.given.empty() || names.path.empty()) return std::nullopt;
    // A name typed or stored in another case than the file's finds the file.
    if (toolkitServices().hostName) names.path = toolkitServices().hostName(names.path);
    return names;
}

void readDatabase(model::ProfileDatabase& db, util::AxisRecord& mapAxis, const Names& names,
                  int& status) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(names.path, ec)) {
        showInformation("CANNOT FIND FILE: " + fileNameField(names.path));
        return;
    }
    status = 1;
    base::ByteBuffer bytes;
    if (!base::readFile(names.path, bytes)) {
        showInformation("CANNOT OPEN FILE: " + fileNameField(names.path));
        return;
    }
    DatabaseImage image;
    image.mapAxis = mapAxis;  // kept when the file's record is skipped
    // A file cut short still gives the profiles it holds whole; the database
    // is then unsaved, so the user decides where to keep them.
    const bool whole = readDatabaseImage(bytes, names.path, image);
    if (!whole && image.database.NPROF < 1) return;
    image.database.LDBSAV = whole;
    if (!commit(image, db, mapAxis)) return;
    sessionState().DamagedPath = whole ? std::string() : absolutePath(names.path);
    db.DBNAME = databaseNameOf(names.given);
    sessionState().LastFile = db.DBNAME;
    db.DBNAME = databaseNameOf(bareFileName(names.given));
    sessionState().DatabasePath = absolutePath(names.path);
    status = 0;
}

void writeDatabase(model::ProfileDatabase& db, const util::AxisRecord& mapAxis, const Names& names,
                   int& status) {
    status = 1;
    const base::FixedString<24> name =
        names.chosen ? databaseNameOf(bareFileName(names.path)) : db.DBNAME;
    auto bytes = databaseFileBytes(db, mapAxis, model::sessionState().CurrentProfile, name);
    AtomicWriteResult result = writeFileAtomically(names.path, bytes);
    if (!result.ok) {
        showInformation(result.created ? writeErrorMessage(result.bytesWritten)
                                       : "CANNOT OPEN FILE: " + fileNameField(names.path));
        return;
    }
    db.LDBSAV = true;
    sessionState().DamagedPath.clear();
    sessionState().LastFile = name;
    db.DBNAME = databaseNameOf(bareFileName(names.given));
    sessionState().DatabasePath = absolutePath(names.path);
    status = 0;
}

std::string damagedFileMessage(const std::string& path) {
    return "THE DATABASE WAS READ FROM A DAMAGED FILE:\r\n" + fileNameField(path) +
           "\r\nSAVING OVER IT WOULD LOSE THE PROFILES NOT READ: CHOOSE WHERE TO SAVE.";
}

// Whether a plain Save would write over the file a damaged read came from.
bool overDamagedFile(const std::string& path) {
    const std::string& damaged = sessionState().DamagedPath;
    return !damaged.empty() && absolutePath(path) == damaged;
}

}  // namespace

std::string bareFileName(std::string_view fileName) {
    auto cut = fileName.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? fileName : fileName.substr(cut + 1));
}

base::FixedString<24> databaseNameOf(std::string_view fileName) {
    std::string name = trimmed(fileName);
    auto folderEnd = name.find_last_of("/\\");
    std::size_t bareStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    auto dot = name.find('.', bareStart);
    if (dot != std::string::npos && dot > bareStart) name.erase(dot);
    return base::FixedString<24>(name);
}

void BIOPELK(model::ProfileDatabase& database, util::AxisRecord& mapAxis, std::string_view action,
             std::string_view fileName, int& status) {
    status = -1;
    const Action act = actionOf(action);
    std::optional<Names> names = chooseFile(database, act, fileName);
    if (names && act == Action::Save && !names->chosen && overDamagedFile(names->path)) {
        showInformation(damagedFileMessage(names->path));
        names = chooseFile(database, Action::SaveAs, fileName);
    }
    if (!names) return;
    if (act == Action::Save || act == Action::SaveAs)
        writeDatabase(database, mapAxis, *names, status);
    else
        readDatabase(database, mapAxis, *names, status);
}

}  // namespace files
