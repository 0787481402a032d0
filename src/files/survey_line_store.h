#pragma once
// Turning one survey line read from a column file into the profile of the
// next free database slot.

#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "model/profile_database.h"
#include "model/profile_line.h"

namespace files {

inline constexpr std::string_view kTooManyProfiles =
    "TOO MANY PROFILES TO STORE IN SUBROUTINE StoreProfile";

// True (after the warning) when the database has no free slot left. Every
// command that adds a profile asks this first.
bool refuseWhenFull(const model::ProfileDatabase& db);

// The profile line's end points on the map (EFIRST, NFIRST, ELAST, NLAST)
// from its first and last stations; nothing without stations. Every import
// that makes a profile sets them, or the map has no line to draw.
void setLineEnds(model::ProfileLine& profile);

// The records of one survey line, one entry per station.
struct SurveyLine {
    std::vector<float> east, north, elev, dist, data, sixth;
    int size() const { return static_cast<int>(east.size()); }
    void clear();
    void append(float e, float n, float z, float d, float v, float s);
};

// Fills slot NPROF + 1 from the survey line under the data-type KEY ("Grav",
// "Mag ", "GMag", "VLF ") and the coordinate-unit word UNIT. False, with
// the database unchanged, when the database is full, the key is unknown or
// the arrays cannot be had. The slot is not counted in.
bool STOREPROFILE(model::ProfileDatabase& db, const SurveyLine& line,
                  const base::FixedString<20>& lineName, std::string_view key,
                  const base::FixedString<4>& unit);

}  // namespace files
