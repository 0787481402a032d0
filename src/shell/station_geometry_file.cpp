#include "shell/station_geometry_file.h"

#include <algorithm>
#include <cmath>

#include "base/fortran_format.h"
#include "base/fortran_read.h"
#include "files/text_lines.h"

namespace shell {

namespace {

constexpr int kFieldWidth = 10;
constexpr int kDecimals = 2;
constexpr int kMostStations = 999;

template <typename Continues>
int leadingRun(std::span<const float> values, int n, Continues continues) {
    n = std::min(n, static_cast<int>(values.size()));
    int k = 0;
    while (k < n && (std::isnan(values[static_cast<std::size_t>(k)]) ||
                     continues(values[static_cast<std::size_t>(k)])))
        ++k;
    return k;
}

}  // namespace

int KOUNTVALUES(std::span<const float> values, int n) {
    return leadingRun(values, n, [](float v) { return v > 0.0f; });
}

int KOUNTVALUESLT(std::span<const float> values, int n) {
    return leadingRun(values, n, [](float v) { return v >= 0.0f; });
}

bool readStationGeometry(const std::string& path, int limit,
                         std::vector<StationPosition>& records) {
    records.clear();
    const files::TextFile file = files::readTextLines(path, 3 * kFieldWidth);
    if (file.status != files::TextFile::Status::Read) return false;
    for (const std::string& line : file.lines) {
        if (static_cast<int>(records.size()) >= limit) break;
        // A short line reads as if blanks filled it.
        std::string padded = line;
        padded.resize(3 * kFieldWidth, ' ');
        StationPosition p{};
        for (std::size_t f = 0; f < 3; ++f) {
            const auto v = base::readRealFieldSingle(
                std::string_view(padded).substr(f * kFieldWidth, kFieldWidth), kDecimals);
            if (!v) return true;
            p[f] = *v;
        }
        records.push_back(p);
    }
    return true;
}

int usableStations(const std::vector<StationPosition>& records) {
    std::vector<float> east(1000, -999.0f), north(1000, 0.0f), station(1000, 0.0f);
    for (std::size_t i = 0; i < records.size() && i < east.size(); ++i) {
        east[i] = records[i][0];
        north[i] = records[i][1];
        station[i] = records[i][2];
    }
    int n = std::min(KOUNTVALUES(east, 1000), kMostStations);
    n = std::min({n, KOUNTVALUES(north, 1000), KOUNTVALUESLT(station, 1000)});
    return n;
}

bool writeStationGeometry(const std::string& path, const std::vector<StationPosition>& records) {
    std::vector<std::string> lines;
    for (const StationPosition& p : records)
        lines.push_back(base::writeFormatted("(3F10.2)", {p[0], p[1], p[2]}).value_or(""));
    return files::writeTextLines(path, lines).ok;
}

}  // namespace shell
