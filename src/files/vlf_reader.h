#pragma once
// VLF survey files of the WADI instrument: survey lines with a frequency and
// readings of station, in-phase and quadrature, turned into a station-by-line
// grid data set. No command reads such files yet.

#include <cstddef>
#include <vector>

#include "files/text_lines.h"
#include "model/profile_line.h"

namespace files {

// The sorted line and station tables and the grids while a file is read.
struct VlfTables {
    int NVLIN = 0, NVSTA = 0;
    int MVLIN = 1000, MVSTA = 1000;
    std::vector<float> EAST, VLFREQ;         // per line, ascending line coordinates
    std::vector<float> NORT;                 // per station, ascending
    std::vector<float> VINPH, VQUAD, VTHRD;  // MVSTA x NVLIN, line by line

    // Sets the capacities and empties the grids; false when the storage
    // cannot be had.
    bool allocate(int lines, int stations);
    float& cell(std::vector<float>& grid, int station, int line) {
        return grid[static_cast<std::size_t>(line - 1) * static_cast<std::size_t>(MVSTA) +
                    static_cast<std::size_t>(station - 1)];
    }
};

// Files one reading into the tables.
void PUTPNT(VlfTables& work, float line, float frequency, float station, float inPhase,
            float quadrature, float third, int& status);

// Moves rows J.. of the first LINECOUNT line columns of GRID down by K,
// opening K missing cells.
void SHIFTVL(std::vector<float>& grid, int stationCapacity, int lineCount, int j, int k);

// Asks for a file and reads it into PROFILE; STATUS -1 only when storage fails.
void WADIIN(model::ProfileLine& profile, int& status);
void readVlfFile(model::ProfileLine& profile, const ChosenFile& file, int& status);

}  // namespace files
