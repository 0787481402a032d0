#pragma once
// The records of the sibling product's binary profile file, and what the
// sibling-file readers keep of the last file read. Every number is little-
// endian; reads go through a byte reader over the file's contents, so a
// short read is noticed and never reaches past the data.

#include <array>
#include <cstdint>
#include <string_view>

#include "base/fixed_string.h"
#include "base/little_endian.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace files {

// Version tags "VER2" .. "VER9", "VERA" .. "VERG" as numbers 2 .. 16, in the
// order the tags sort; 0 for anything else.
int zafVersion(std::string_view tag);
inline constexpr int zafVer(char c) {
    return c >= '2' && c <= '9' ? c - '0' : c >= 'A' && c <= 'G' ? c - 'A' + 10 : 0;
}

// The geometry of the sibling file, decoded from its geometry record.
struct SiblingGeometry {
    float sgeo1 = 0.0f;
    float field = 0.0f, inclination = 0.0f, declination = 0.0f, azimuth = 0.0f;
    float tieDistance = 0.0f, tieEasting = 0.0f, tieNorthing = 0.0f;
    float strike = 0.0f, baseline = 0.0f, gridRotation = 0.0f;
    std::int16_t coordinateMode = 0;
};

// The axis block of a file from "VERA" on: seven slots.
struct SiblingAxisBlock {
    std::array<float, 7> start{}, step{};
    std::array<std::int16_t, 7> divisions{}, decade{};
};

struct SiblingHeader {
    std::array<base::FixedString<30>, 4> clientText;
    base::FixedString<5> clientShort;
    base::FixedString<10> clientLong;
    std::array<std::uint8_t, 64> geometryRecord{};
    SiblingGeometry geometry;
    std::array<std::uint8_t, 118> windowRecord{};
    SiblingAxisBlock axis;
    std::array<float, 20> extraReals{};
    std::array<std::int16_t, 20> extraInts{};
    std::array<std::uint8_t, 20> extraFlags{};
    std::array<char, 256> extraText{};
    // Flags 1-3 and 6-8 are the file's six flag bytes, 4 the import's done
    // flag, 5 the flag after the units code.
    std::array<bool, 8> flags{};

    bool flag(int k) const { return flags[static_cast<std::size_t>(k - 1)]; }
    void setFlag(int k, bool v) { flags[static_cast<std::size_t>(k - 1)] = v; }
};

SiblingHeader& siblingHeader();
void resetSiblingHeader();

// Readers of the records; IERR 0 when read, 1 on a short read, 2 (extra
// record) when a count exceeds its capacity.
void REDGEO(base::ByteReader& file, int version, int& ierr);
void REDWIN(base::ByteReader& file, int version, bool magnetic, int& ierr);
void REDAXS(base::ByteReader& file, int version, bool& noAxis, int& ierr,
            util::AxisRecord& mapAxis);
void REDXTR(base::ByteReader& file, int version, int& ierr);

// Writers of the records in the current layout ("VERB" and later), on a file
// opened with the library's file routines; IERR 1 when fewer bytes were
// written. The geometry record is made from the profile record's own
// geometry, the window, axis and extra records from what the readers hold.
void RITGEO(int handle, int& ierr, const model::ProfileLine& profile);
void RITWIN(int handle, int& ierr);
void RITAXS(int handle, int& ierr);
void RITXTR(int handle, int& ierr);
// The marker: one INT2 of value 6310.
void RITMRK(int handle);
inline constexpr std::int16_t kZafMarker = 6310;

// Applies the version rules to the geometry and the flag bytes held; the
// first station of PROFILE stands in for what old versions do not hold.
void FIXGEO(int version, const model::ProfileLine& profile);

}  // namespace files
