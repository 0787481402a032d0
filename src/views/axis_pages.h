#pragma once
// The axis pages of the View Properties dialogs: one page edits one half of
// a graph's axis record (start, step, major and minor divisions) with the
// axis title and the title's height and offset, each length shown in inches
// and in centimetres. The unit choice decides which of each pair is edited.

#include <optional>
#include <string_view>

#include "base/fixed_string.h"
#include "util/axis_record.h"

namespace views {

using AxisTitle = base::FixedString<40>;

inline constexpr float kCentimetresPerInch = 2.54f;

// The fields of a page (the map's older dialog names them one by one).
struct AxisPageFields {
    int start = 0, step = 0, title = 0;
    int heightInch = 0, heightCm = 0, offsetInch = 0, offsetCm = 0;
    int major = 0, minor = 0;
};
// The fields every page of the program's dialogs has.
AxisPageFields standardPageFields();

// How start and step, and the lengths, are written; by the step's size and
// in the field's own format when not given.
struct AxisPageFormats {
    std::optional<std::string_view> startStep;
    std::optional<std::string_view> lengths;
};

// The format of start and step chosen by the size of the step.
std::string_view axisNumberFormat(float step);

// Fills a page from the x (or y) half of a record: a linear axis with its
// start and step, a logarithmic one with the value at its first decade.
void fillAxisPage(int page, const AxisPageFields& f, const util::AxisRecord& axis, bool x,
                  const AxisTitle& title, float height, float offset,
                  const AxisPageFormats& formats = {});
// Reads a page back; the lengths come from the fields of the chosen unit and
// the fields of the other unit are brought in line. A log axis is read as
// its decades when `logarithmic`.
void readAxisPage(int page, const AxisPageFields& f, util::AxisRecord& axis, bool x,
                  AxisTitle& title, float& height, float& offset, bool inches, bool logarithmic);
// Enables the inch or the centimetre fields of a page.
void setPageUnits(int page, int heightInch, int offsetInch, int heightCm, int offsetCm,
                  bool inches);
// Enables the inch or the centimetre field of a dialog and checks its radio button.
void setDialogUnits(int dialog, int inchField, int inchRadio, int cmField, int cmRadio,
                    bool inches);

// The page routines by their own names: the standard fields, start and step
// by the step's size, the lengths in the fields' own format.
void PUTLINAXISX(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset);
void PUTLINAXISY(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset);
void GETLINAXISX(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches);
void GETLINAXISY(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches);
void PUTLOGAXISX(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset);
void PUTLOGAXISY(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset);
void GETLOGAXISX(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches);
void GETLOGAXISY(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches);
void INCHORCMAX(int page, bool inches);
void INCHORCM(int dialog, bool inches);

}  // namespace views
