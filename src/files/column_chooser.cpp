#include "files/column_chooser.h"

#include <algorithm>
#include <array>

#include "base/fortran_read.h"
#include "files/dialog_calls.h"
#include "files/messages.h"
#include "files/view_settings.h"
#include "util/dialog_wrappers.h"
#include "util/text_clean.h"

namespace files {

namespace {

constexpr int kColumnsDialog = 182;
constexpr int kPreviewField = 1043;
constexpr std::size_t kPreviewLimit = 32767;
constexpr std::array<int, 6> kColumnFields = {1275, 1277, 1281, 1280, 1283, 1245};
constexpr int kDataLabel = 1282, kElevationLabel = 1278, kSixthLabel = 1244;
constexpr int kStartBox = 1046, kStartRow = 1047, kStopBox = 1048, kStopRow = 1049;
constexpr int kPercentButton = 1335, kPpmButton = 1098;

std::string dataLabel(std::string_view key) {
    if (key == "Grav" || key == "GMag") return "Column for Grav:";
    if (key == "Mag ") return "Column for Mag:";
    return "Col for Tilt Angle:";
}

void putRows(DialogCalls& d) {
    const auto& vs = viewSettings();
    d.DlgPutInteger(kStartRow, std::abs(vs.FirstRow));
    d.DlgPutCheckBox(kStartBox, vs.FirstRow > 0 ? 1 : 0);
    if (std::abs(vs.LastRow) > 0) d.DlgPutInteger(kStopRow, std::abs(vs.LastRow));
    d.DlgPutCheckBox(kStopBox, vs.LastRow > 0 ? 1 : 0);
}

int signedRow(DialogCalls& d, int rowField, int boxField) {
    int row = 0, box = 0;
    d.DlgGetInteger(rowField, row);
    d.DlgGetCheckBox(boxField, box);
    return box > 0 ? row : -row;
}

}  // namespace

std::string cleanImportLine(std::string_view raw) {
    std::string line(raw.substr(0, std::min(raw.size(), kImportLineLimit)));
    std::span<char> chars(line.data(), line.size());
    const int n = static_cast<int>(line.size());
    util::NCHRCK(chars, n);
    std::replace(line.begin(), line.end(), ',', ' ');
    util::LCTOUC(chars, n);
    return line;
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

std::string nextWord(std::string_view line, int n, int& pos) {
    n = std::min<int>(n, static_cast<int>(line.size()));
    if (pos < 1 || pos > n) return {};
    int s = pos;
    while (s <= n && line[static_cast<std::size_t>(s - 1)] == ' ')
        ++s;
    if (s > n) return {};
    int e = s;
    while (e <= n && line[static_cast<std::size_t>(e - 1)] != ' ')
        ++e;
    pos = std::min(e + 1, n + 1);
    return std::string(
        line.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(e - s)));
}

std::optional<float> readWordValue(std::string_view word) {
    return base::readRealFieldSingle(word, 0);
}

std::optional<float> readCoordinateWord(std::string_view word) {
    if (auto v = readWordValue(word)) return v;
    std::string digits(word);
    bool negative = false;
    for (char& c : digits) {
        if (c == 'S' || c == 'W') negative = true;
        if (c == 'S' || c == 'W' || c == 'N' || c == 'E') c = ' ';
    }
    auto v = readWordValue(digits);
    if (v && negative) *v = -*v;
    return v;
}

bool LFRXYZ(std::string_view line, int n, int& pos, float& value) {
    const std::string word = nextWord(line, n, pos);
    if (word.find('*') != std::string::npos) {
        value = kMissingValue;
        return false;
    }
    auto v = readWordValue(word);
    if (!v) return true;
    value = *v;
    return false;
}

bool LFINDK(std::string_view line, std::string_view word, std::string_view key, int& pos,
            std::span<char> text, int n) {
    if (key.empty() || word.find(key) == std::string_view::npos) return false;
    auto at = line.find(':');
    if (at == std::string_view::npos) at = line.find('=');
    pos = at == std::string_view::npos ? 1 : static_cast<int>(at) + 2;
    while (pos <= static_cast<int>(line.size()) && line[static_cast<std::size_t>(pos - 1)] == ' ')
        ++pos;
    const std::size_t count = std::min<std::size_t>(std::max(n, 0), text.size());
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t from = static_cast<std::size_t>(pos - 1) + k;
        text[k] = from < line.size() ? line[from] : ' ';
    }
    return true;
}

void GETCOLSXYZGRAVMAGVLF(ColumnChoices columns, const ChosenFile& file, std::string_view key,
                          int ielev, int& lines, int& status) {
    const std::string name(file.name.view());
    if (fileSize(file.path) < 1) {
        showInformation("FILE HAS NO LENGTH:" + name);
        status = -1;
    }
    std::string bytes;
    if (!readWholeFile(file.path, bytes)) {
        showInformation("CANNOT OPEN FILE: " + name);
        status = -1;
        return;
    }
    lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));

    auto& d = dialogCalls();
    if (!d.DlgLoad || !d.DlgLoad(kColumnsDialog)) {
        status = -1;
        return;
    }
    const std::size_t shown = std::min(bytes.size(), kPreviewLimit);
    util::PUTDLGSTRING(kPreviewField, bytes, static_cast<int>(shown), putDialogString);
    bytes.clear();
    bytes.shrink_to_fit();

    const std::array<int*, 6> values = {&columns.easting, &columns.northing, &columns.elevation,
                                        &columns.station, &columns.data,     &columns.sixth};
    for (std::size_t k = 0; k < values.size(); ++k)
        if (*values[k] >= 0) d.DlgPutInteger(kColumnFields[k], *values[k]);

    d.DlgPutString(kDataLabel, dataLabel(key));
    if (ielev >= 3) {
        d.DlgPutString(kElevationLabel,
                       ielev >= 4 ? "Col for Sensor Elev:" : "Col for Sensor Height:");
        d.DlgFieldState(kColumnFields[5], kFieldEnabled);
        d.DlgFieldState(kSixthLabel, kFieldEnabled);
    } else {
        d.DlgPutString(kElevationLabel, "Column for Elevation:");
        d.DlgFieldState(kColumnFields[5], kFieldHidden);
        d.DlgFieldState(kSixthLabel, kFieldHidden);
    }
    const int vlfState = key == "VLF " ? kFieldEnabled : kFieldHidden;
    d.DlgFieldState(kPercentButton, vlfState);
    d.DlgFieldState(kPpmButton, vlfState);
    putRows(d);

    const int button = showModalDialog(-1, -1);
    if (button == kButtonOk) {
        for (std::size_t k = 0; k < values.size(); ++k)
            d.DlgGetInteger(kColumnFields[k], *values[k]);
        viewSettings().FirstRow = signedRow(d, kStartRow, kStartBox);
        viewSettings().LastRow = signedRow(d, kStopRow, kStopBox);
        status = 0;
    } else {
        status = -1;
    }
    if (d.DlgHide) d.DlgHide();
}

std::string readErrorMessage(const ChosenFile& file, int line) {
    return std::string("READ ERROR ON INPUT FILE:") + std::string(kCrLf) +
           std::string(file.name.view()) + std::string(kCrLf) + "LINE:" + rightAligned(line, 5);
}

bool chosenFileFound(const ChosenFile& file) {
    if (fileExists(file.path)) return true;
    showInformation("FILE NOT FOUND: " + std::string(file.name.view()));
    return false;
}

std::optional<std::vector<std::string>> readImportLines(const ChosenFile& file,
                                                        std::string_view readError) {
    TextFile text = readTextLines(file.path, kImportLineLimit);
    if (text.status == TextFile::Status::CannotOpen) {
        showInformation("CANNOT OPEN FILE: " + std::string(file.name.view()));
        return std::nullopt;
    }
    if (text.status == TextFile::Status::ReadError) {
        showWarning(readError);
        return std::nullopt;
    }
    return std::move(text.lines);
}

}  // namespace files
