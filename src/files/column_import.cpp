#include "files/column_import.h"

#include <algorithm>
#include <array>
#include <vector>

#include "files/column_chooser.h"
#include "files/messages.h"
#include "files/survey_line_store.h"
#include "files/view_settings.h"
#include "model/map_transforms.h"

namespace files {

namespace {

// One accepted line: easting, northing, elevation, distance, data.
struct Station {
    float east = 0.0f, north = 0.0f, elev = 0.0f, dist = 0.0f, data = kMissingValue;
};

struct Columns {
    int east, north, elev, dist, data, sixth;
    int count;  // words a line must supply
};

Columns columnsFor(int ielev) {
    const auto& vs = viewSettings();
    Columns c{vs.EastingColumn,
              vs.NorthingColumn,
              vs.ElevationColumn,
              vs.PDistColumn,
              vs.DataColumn,
              vs.TimeColumn,
              0};
    c.count = std::max({c.east, c.north, c.elev, c.dist, c.data});
    if (ielev == 3 || ielev == 4) c.count = std::max(c.count, c.sixth);
    return c;
}

// Reads one cleaned line; false when a word is not a number.
bool readStation(const std::string& line, const Columns& c, Station& s) {
    const int n = static_cast<int>(line.size());
    int pos = 1;
    for (int k = 1; k <= c.count; ++k) {
        float value = 0.0f;
        if (k == c.east || k == c.north) {
            const std::string word = nextWord(line, n, pos);
            auto v = readCoordinateWord(word);
            if (!v) return false;
            value = *v;
        } else if (LFRXYZ(line, n, pos, value)) {
            return false;
        }
        if (k == c.east) s.east = value;
        if (k == c.north) s.north = value;
        if (k == c.elev) s.elev = value;
        if (k == c.dist) s.dist = value;
        if (k == c.data) s.data = value;
    }
    return true;
}

bool fillProfile(model::ProfileLine& p, const std::vector<Station>& stations, const Columns& c) {
    const int n = static_cast<int>(stations.size());
    p.NSTA = n;
    p.NCOMP = 1;
    p.NDGRAF = 1;
    model::DEALLOCPF(p);
    int status = 0;
    model::ALLOCPF(p, status);
    if (status != 0) return false;
    for (int i = 1; i <= n; ++i) {
        const Station& s = stations[static_cast<std::size_t>(i - 1)];
        p.EAST(i) = s.east;
        p.NORT(i) = s.north;
        p.ELEV(i) = s.elev;
        p.STAT(i) = s.dist;
        p.DAT(i, 1) = s.data;
        p.MASK(i, 1) = false;
        p.SYN(i, 1) = kMissingValue;
    }
    if (c.dist <= 0) model::PDISTGEN(p.EAST.values(), p.NORT.values(), p.STAT.values(), n);
    setLineEnds(p);
    return true;
}

}  // namespace

void importColumnFile(model::ProfileLine& profile, const ChosenFile& file, std::string_view key,
                      int& status) {
    status = -1;
    if (!chosenFileFound(file)) return;
    auto& vs = viewSettings();
    int lineCount = 0;
    GETCOLSXYZGRAVMAGVLF({vs.EastingColumn, vs.NorthingColumn, vs.ElevationColumn, vs.PDistColumn,
                          vs.DataColumn, vs.TimeColumn},
                         file, key, profile.IELEV, lineCount, status);
    if (status != 0) return;
    status = -1;

    const auto lines = readImportLines(file, readErrorMessage(file, 1));
    if (lines) readColumnLines(profile, *lines, file.name, status);
}

void readColumnLines(model::ProfileLine& profile, const std::vector<std::string>& lines,
                     const base::FixedString<256>& name, int& status) {
    status = -1;
    const Columns c = columnsFor(profile.IELEV);
    std::vector<Station> stations;
    for (const auto& raw : lines) {
        const std::string line = cleanImportLine(raw);
        if (isBlankLine(line)) continue;
        Station s;
        if (readStation(line, c, s)) stations.push_back(s);
    }
    if (stations.size() < 2) {
        showWarning("NO DATA FOUND");
        return;
    }
    // Filled into a copy so that a failure leaves the slot as it was.
    model::ProfileLine filled = profile;
    if (!fillProfile(filled, stations, c)) {
        showInformation("CANNOT ALLOCATE PROFILE DATA");
        return;
    }
    filled.PNAME = profileNameOf(name);
    profile = std::move(filled);
    status = 0;
}

void ACIINGRAVMAGVLF(model::ProfileLine& profile, int& status, std::string_view key) {
    status = -1;
    const auto file = selectFileToRead("ASCII Data File|*.DAT|", "ASCII Data File");
    if (file) importColumnFile(profile, *file, key, status);
}

}  // namespace files
