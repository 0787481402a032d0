#pragma once
// One profile of the database file: the run of sections from "PFLHEAD " to
// "ENDPLINE" that carries a whole profile record (head, stations, data,
// synthetics, regional field, graphs, model and labels).

#include "base/little_endian.h"
#include "files/database_sections.h"
#include "model/profile_line.h"

namespace files {

// Appends the profile's block. The record is written as it stands; counts
// that disagree with the arrays give payloads of the counted length, with
// zeros where the arrays hold nothing.
void WRITEPFLINE(base::ByteWriter& out, const model::ProfileLine& profile);

// What a profile reader keeps from one block to the next of the same file.
struct ProfileReadState {
    Keyword lastSection;  // keyword of the last section handled (blank at first)
};

// Reads one block into `profile`, which should hold the default record.
// status 0 when "ENDPLINE" was reached; -1 after a read error, an
// allocation failure, counts that cannot be right or a model whose vertex
// ranges do not fit its arrays (each reported by its message); 1 when an
// "ENDFILE " section came before the block ended (left unread for the caller).
void READPFLINE(SectionReader& in, model::ProfileLine& profile, ProfileReadState& state,
                int& status);

}  // namespace files
