#include "files/regional_file.h"

#include <algorithm>
#include <array>

#include "base/fortran_format.h"
#include "files/column_chooser.h"
#include "files/dialog_calls.h"
#include "files/messages.h"
#include "files/view_settings.h"
#include "util/array_routines.h"
#include "util/dialog_wrappers.h"
#include "util/text_clean.h"
#include "util/text_edit.h"

namespace files {

namespace {

constexpr int kRegionalDialog = 147;
constexpr int kPreviewField = 1043;
constexpr std::size_t kPreviewLimit = 32767;
constexpr int kStationField = 1227, kRegionalField = 1226, kSkipField = 1225;
constexpr int kStartBox = 1046, kStartRow = 1047, kStopBox = 1048, kStopRow = 1049;
constexpr std::size_t kTitleWidth = 80;

int signedRow(DialogCalls& d, int rowField, int boxField) {
    int row = 0, box = 0;
    d.DlgGetInteger(rowField, row);
    d.DlgGetCheckBox(boxField, box);
    return box > 0 ? row : -row;
}

// The word in column COLUMN of a cleaned line (empty when the line is shorter).
std::string wordInColumn(const std::string& line, int column) {
    int pos = 1;
    std::string word;
    for (int k = 1; k <= column; ++k)
        word = nextWord(line, static_cast<int>(line.size()), pos);
    return word;
}

void readInto(const std::string& line, int column, float& target) {
    if (column <= 0) return;
    if (auto v = readWordValue(wordInColumn(line, column))) target = *v;
}

bool holdsNumber(const std::string& line, int column) {
    if (column <= 0) return false;
    const std::string word = wordInColumn(line, column);
    return !word.empty() && readWordValue(word).has_value();
}

}  // namespace

int& regionalSkipLines() {
    static int skip = 0;
    return skip;
}

void GETCOLSREGIONAL(int& stationColumn, int& regionalColumn, int& skip, const ChosenFile& file,
                     int& status) {
    const std::string name(file.name.view());
    if (fileSize(file.path) <= 0) {
        showInformation("FILE HAS NO LENGTH:" + name);
        status = -1;
    }
    std::string bytes;
    if (!readWholeFile(file.path, bytes)) {
        showInformation("CANNOT OPEN FILE: " + name);
        status = -1;
        return;
    }
    auto& d = dialogCalls();
    if (!d.DlgLoad || !d.DlgLoad(kRegionalDialog)) {
        status = -1;
        return;
    }
    util::PUTDLGSTRING(kPreviewField, bytes,
                       static_cast<int>(std::min(bytes.size(), kPreviewLimit)), putDialogString);
    bytes.clear();
    bytes.shrink_to_fit();

    auto& vs = viewSettings();
    d.DlgPutInteger(kStationField, stationColumn);
    d.DlgPutInteger(kRegionalField, regionalColumn);
    d.DlgPutInteger(kSkipField, skip);
    d.DlgPutInteger(kStartRow, std::abs(vs.FirstRow));
    if (vs.LastRow != 0) d.DlgPutInteger(kStopRow, std::abs(vs.LastRow));
    d.DlgPutCheckBox(kStartBox, vs.FirstRow > 0 ? 1 : 0);
    d.DlgPutCheckBox(kStopBox, vs.LastRow > 0 ? 1 : 0);

    if (showModalDialog(-1, -1) == kButtonOk) {
        d.DlgGetInteger(kStationField, stationColumn);
        d.DlgGetInteger(kRegionalField, regionalColumn);
        d.DlgGetInteger(kSkipField, skip);
        vs.FirstRow = signedRow(d, kStartRow, kStartBox);
        vs.LastRow = signedRow(d, kStopRow, kStopBox);
        status = 0;
    } else {
        status = -1;
    }
    if (d.DlgHide) d.DlgHide();
}

void importRegionalFile(model::ProfileLine& profile, const ChosenFile& file, int& status) {
    status = -1;
    if (!chosenFileFound(file)) return;
    auto& vs = viewSettings();
    GETCOLSREGIONAL(vs.SpaceColumn, vs.ModelResistColumn, regionalSkipLines(), file, status);
    if (status != 0) return;
    status = -1;

    const auto text = readImportLines(file, readErrorMessage(file, 1));
    if (text) readRegionalLines(profile, *text, vs.SpaceColumn, vs.ModelResistColumn,
                                regionalSkipLines(), status);
}

void readRegionalLines(model::ProfileLine& profile, const std::vector<std::string>& lines,
                       int stationColumn, int regionalColumn, int skip, int& status) {
    status = -1;
    int count = 0;
    std::size_t next = 0;
    while (next < lines.size() && count < 5) {
        const std::string line = cleanImportLine(lines[next++]);
        if (isBlankLine(line)) continue;
        // A line without a number in either chosen column is a heading (the
        // export writes two), not a control point: counted, it would push
        // the file's last points out of the five.
        if (!holdsNumber(line, stationColumn) && !holdsNumber(line, regionalColumn)) continue;
        ++count;
        readInto(line, stationColumn, profile.XREG[static_cast<std::size_t>(count - 1)]);
        readInto(line, regionalColumn, profile.YREG[static_cast<std::size_t>(count - 1)]);
        if (count < 5 && skip > 1) next += std::min(static_cast<std::size_t>(skip - 1), lines.size());
    }
    if (count == 0) {
        showWarning("NO DATA FOUND");
        return;
    }
    profile.NREG = count;
    status = 0;
}

void ACIINREGIONAL(model::ProfileLine& profile, int& status) {
    status = -1;
    const auto file =
        selectFileToRead("ASCII Data File|*.DAT;*.CSV;*.TXT;*.ASC|", "ASCII Data File");
    if (file) importRegionalFile(profile, *file, status);
}

int distanceDecimals(std::span<const float> a, int n) {
    float m = 1.0E30f, M = -1.0E30f;
    util::FINDNX(a, n, m, M);
    if (M > 9999999.0f || m < -999999.0f) return 0;
    if (M > 999999.0f || m < -99999.0f) return 1;
    if (M > 99999.0f || m < -9999.0f) return 2;
    if (M > 9999.0f || m < -999.0f) return 3;
    return 4;
}

void replaceUnitToken(std::string& line, std::string_view token, std::string_view unit) {
    std::string u(unit);
    util::CHR_CHK(std::span<char>(u.data(), u.size()), static_cast<int>(u.size()));
    while (!u.empty() && u.back() == ' ')
        u.pop_back();
    const std::string replacement = "(" + u + ")";
    const int n = static_cast<int>(replacement.size());
    const std::string pattern =
        std::string(token) + std::string(static_cast<std::size_t>(n - 2), ' ');
    util::RPL_PAT(std::span<char>(line.data(), line.size()), static_cast<int>(line.size()), pattern,
                  n, replacement, n);
}

std::string titleLine(std::string_view templ) {
    std::string line(templ);
    line.resize(kTitleWidth, ' ');
    return line;
}

std::string exportFileName(std::string_view given, std::string_view filter,
                           std::string_view title) {
    std::string name(given);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (!name.empty()) return name;
    return selectFileToWrite(filter, title).value_or(std::string());
}

void writeFlatExport(const std::string& path, const std::vector<std::string>& lines) {
    const TextWrite w = writeTextLines(path, lines);
    if (!w.opened)
        showInformation("Error opening file:" + path);
    else if (!w.ok)
        showInformation("Error writing to file at line " + rightAligned(w.failedLine, 5));
}

void REGIONALOUT(model::ProfileLine& profile, std::string_view fileName) {
    const std::string path =
        exportFileName(fileName, "Flat ASCII Data File|*.DAT|", "Flat ASCII Data File");
    if (path.empty()) return;
    std::vector<std::string> lines;
    lines.emplace_back("  No. Profile Dist. Field");
    std::string title = titleLine("         $P           $F");
    replaceUnitToken(title, "$P", profile.XUNIT.view());
    replaceUnitToken(title, "$F", profile.DUNIT[0].view());
    lines.push_back(title);
    // The stored regional array (a mode above 5) has no control points to list
    // beyond the five the record holds.
    const int points = std::clamp(profile.NREG, 0, 5);
    const int d = distanceDecimals(profile.XREG, points);
    const std::string format = "(I5,F10." + std::to_string(d) + ",F13.4)";
    for (int k = 1; k <= points; ++k) {
        const auto row =
            base::writeFormatted(format, {k, profile.XREG[static_cast<std::size_t>(k - 1)],
                                          profile.YREG[static_cast<std::size_t>(k - 1)]});
        lines.push_back(row ? *row : std::string());
    }
    writeFlatExport(path, lines);
}

}  // namespace files
