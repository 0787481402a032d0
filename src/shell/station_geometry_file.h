#pragma once
// Station geometry files (*.GEO) of the data editor: one line of three
// fields of ten characters with two decimals per station (easting,
// northing, distance along the profile), no header, CR LF line ends.

#include <array>
#include <span>
#include <string>
#include <vector>

namespace shell {

using StationPosition = std::array<float, 3>;  // easting, northing, distance

// The length of the leading run of values above 0 (KOUNTVALUES) and of
// values at or above 0 (KOUNTVALUESLT) among the first n; a NaN continues
// the run.
int KOUNTVALUES(std::span<const float> values, int n);
int KOUNTVALUESLT(std::span<const float> values, int n);

// The records of the file up to the end, the first record that does not
// read or `limit` records; false when the file cannot be opened.
bool readStationGeometry(const std::string& path, int limit, std::vector<StationPosition>& records);
// The stations that the editor takes from what was read: the leading ones
// with easting and northing above 0 and a distance not below 0, at most 999.
int usableStations(const std::vector<StationPosition>& records);

// Writes the records in place of the file; false when that failed (the
// old file is then left as it was).
bool writeStationGeometry(const std::string& path, const std::vector<StationPosition>& records);

}  // namespace shell
