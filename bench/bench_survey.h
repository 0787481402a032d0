#pragma once
// Surveys for the benchmarks, written by the program's own database writer.

#include <functional>
#include <string>

#include "model/profile_line.h"

namespace bench {

// Gives `profile` `stations` stations spaced evenly over `length` metres
// eastwards from (east, north), gravity data along them, a flat topography
// under every station and room for `vertices` vertices of `bodies` bodies.
void fillProfile(model::ProfileLine& profile, const std::string& name, int stations, float east,
                 float north, float length, int vertices = 0, int bodies = 0);

// Writes database `name` (the file name.TQM in the current folder) of
// `profiles` profiles, profile k made by make(k, profile), the first current;
// false when the writer failed.
bool writeDatabase(const std::string& name, int profiles,
                   const std::function<void(int, model::ProfileLine&)>& make);

// Writes `profiles` profiles of `stations` stations each, 1 km apart, as
// database `name` (the file name.TQM in the current folder); false when the
// writer failed.
bool writeSurvey(const std::string& name, int profiles, int stations);

}  // namespace bench
