#pragma once
// The printed report of a profile: its graph on a page of its own when asked,
// then portrait text pages with the name, the data type, the station table
// and the section headings of the print selection. Every page is a hardcopy
// output of its own on the driver the caller selected.

#include "model/profile_line.h"

namespace views {

// TABLES: at least one of the station table, regional and bodies options is on.
void PRINTPROFILE(model::ProfileLine& profile, bool tables);

// The text pages' running state: the page number and the height left.
struct ReportPage {
    int page = 1;
    float y = 12.0f;
};

// The station table from y on.
void DATOUT(model::ProfileLine& profile, ReportPage& at);
// The table's heading line at the column positions.
void DAHEAD(model::ProfileLine& profile, ReportPage& at, const float* columns);
// y := y - dy; a new page (name and page number at its top) when the rest
// would not fit. NEWPAGE tells whether one was started.
void PAGECHECK(std::string_view name, ReportPage& at, float dy, bool& newPage);

// Left edges of the table's columns for N columns (5 to 9).
const float* reportColumns(int n);

}  // namespace views
