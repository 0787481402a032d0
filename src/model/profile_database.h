#pragma once
// The table of profiles of one database, with its display names. Slots
// 1..NPROF hold profiles; the rest are free.

#include <string_view>
#include <vector>

#include "base/fixed_string.h"
#include "model/profile_header.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace model {

inline constexpr int kProfileLimit = 100;

struct ProfileDatabase : DatabaseHeader {
    std::vector<base::FixedString<24>> LNAMES;  // display names, one per slot
    std::vector<ProfileLine> PROFS;             // records, one per slot

    // One-based slot access.
    ProfileLine& profile(int i) { return PROFS.at(static_cast<std::size_t>(i - 1)); }
    const ProfileLine& profile(int i) const { return PROFS.at(static_cast<std::size_t>(i - 1)); }
    base::FixedString<24>& name(int i) { return LNAMES.at(static_cast<std::size_t>(i - 1)); }
    const base::FixedString<24>& name(int i) const {
        return LNAMES.at(static_cast<std::size_t>(i - 1));
    }
};

// Gives the database its 100 slots, each a copy of the default record, and a
// profile count of 0. False when the storage cannot be had.
bool allocateDatabase(ProfileDatabase& db);

// The display name of a profile name: the 20 characters and four blanks.
base::FixedString<24> listName(const base::FixedString<20>& profileName);

// Returns slot `index` (1..100) to the default record with a blank name, its
// arrays released, so that whatever is stored there next starts clean.
void clearSlot(ProfileDatabase& db, int index);

// Removes profile `index` (1..NPROF); later profiles, their names and models
// move down one slot and the slot left free is cleared. status is not
// changed.
void DELETEPFLINE(ProfileDatabase& db, int index, int& status);

// Offers to store the working profile into slot `index`; cancelled is true
// when the user cancelled. The map axis and control are not used.
void CHECKPFLSAVE(ProfileLine& working, ProfileDatabase& db, int index,
                  const util::AxisRecord& mapAxis, int control, bool& cancelled);

// Empties the database: closes the profile window, clears the current
// profile, returns every profile's slot to the default record and sets NPROF
// to 0.
void CLEARDB(ProfileDatabase& db);

}  // namespace model
