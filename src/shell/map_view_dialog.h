#pragma once
// The map's view properties run in an event loop of their own (a right
// click on the map away from the profile lines opens them): start, step and
// divisions of both map axes, the axis titles with their size and offset,
// the size of the database name and the line width. Titles, sizes and the
// line width are taken as they are typed; Cancel gives the axes back as they
// were at opening or at the last Apply.

#include "model/profile_database.h"
#include "util/axis_record.h"
#include "views/axis_pages.h"

namespace shell {

// Status -1 after Cancel (or the close box), 0 after OK.
void VIEWDLGMAP(model::ProfileDatabase& db, util::AxisRecord& mapAxis, int& status);

// The page routines of the dialog, with the page's fields named one by one:
// start and step in "(F11.1)", the lengths in "(F)".
void PUTLINAXISXA(int page, const views::AxisPageFields& fields, const util::AxisRecord& axis,
                  const views::AxisTitle& title, float height, float offset);
void PUTLINAXISYA(int page, const views::AxisPageFields& fields, const util::AxisRecord& axis,
                  const views::AxisTitle& title, float height, float offset);
void GETLINAXISXA(int page, const views::AxisPageFields& fields, util::AxisRecord& axis,
                  views::AxisTitle& title, float& height, float& offset, bool inches);
void GETLINAXISYA(int page, const views::AxisPageFields& fields, util::AxisRecord& axis,
                  views::AxisTitle& title, float& height, float& offset, bool inches);
void INCHORCMA(int dialog, int inchField, int inchRadio, int cmField, int cmRadio, bool inches);
void INCHORCMAXA(int page, int heightInch, int offsetInch, int heightCm, int offsetCm, bool inches);

}  // namespace shell
