#pragma once
// Printing a grid as a table on the printer of a page set-up record, with
// its column headers, row labels, check marks and colours, broken into
// pages down the rows and across the columns; and the page set-up and
// option settings of the two grid print records (1 other callers, 2 the
// grid editor).

#include <string>

#include "platform/win_types.h"

namespace tk {

struct GridRecord;
struct PageSetupRecord;

// Rows and columns from 0, inclusive; field 0 is the grid editor of the
// current window. status 1 printed, 0 no printer.
void GridPrint(int field, int& status, int firstRow, int lastRow, int firstColumn, int lastColumn,
               int record, const std::string& title);
// The page set-up dialog for a record; units -1 the locale's, 0-1 inches, 2
// and more millimetres.
void GridPageSetup(int units, int record);
void GridPrintOptionsGet(int& o1, int& o2, int& o3, int& o4, int& o5, int& scale, int record);
// Options are 1 when the argument is 1, else 0; a positive scale is kept.
void GridPrintOptionsSet(int o1, int o2, int o3, int o4, int o5, int scale, int record);
// Item 1 text width, 2 text height, 3 left, 4 top margin (points), 5
// orientation.
void GridPageSetupGet(int item, int& value, int record);
void GridPageSetupSet(int item, int value, int record);
// Releases the printer blocks of both records, which are read again on
// their next use (shutdown, tests).
void resetGridPrintRecords();

// The page's row-label column; x moves past it.
struct GridPrintPage {
    win::HDC printer = nullptr;
    win::HDC screen = nullptr;
    int firstRow = 0, lastRow = 0;  // the rows of this page
    int top = 0, bottom = 0;        // the printable box's edges
    int pitch = 0, textHeight = 0, charWidth = 0;
    int headerHeight = 0;
    bool headers = false;  // this page shows the column header
    bool rowRules = false;
    double scale = 1.0;    // printer pixels per screen pixel
};
void GridPrintCells(const GridRecord& grid, const GridPrintPage& page, int& x);

}  // namespace tk
