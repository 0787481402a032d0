#include "views/axis_pages.h"

#include <cmath>
#include <span>

#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "util/dialog_wrappers.h"
#include "views/view_properties_fields.h"

namespace views {

namespace {

constexpr int kDisabled = 0, kEnabled = 1, kReadOnly = 2;

// One half of an axis record.
struct Half {
    std::int32_t& count;
    float& start;
    float& step;
    std::int32_t& minorOrDecade;
};

Half half(util::AxisRecord& a, bool x) {
    return x ? Half{a.divCountX, a.startX, a.stepX, a.firstDecadeX}
             : Half{a.divCountY, a.startY, a.stepY, a.firstDecadeY};
}

void putLength(int field, float value, const std::optional<std::string_view>& format) {
    if (format)
        tk::DlgPutReal(field, value, *format);
    else
        tk::DlgPutReal(field, value);
}

bool readInteger(int field, std::int32_t& value) {
    float v = 0.0f;
    if (!util::readFieldNumber(field, v)) return false;
    value = static_cast<std::int32_t>(std::lround(v));
    return true;
}

// The length in the unit chosen; the field of the other unit follows it.
void readLength(int inchField, int cmField, float& value, bool inches) {
    if (inches) {
        util::readFieldNumber(inchField, value);
        tk::DlgPutReal(cmField, value * kCentimetresPerInch);
        return;
    }
    float cm = value * kCentimetresPerInch;
    if (util::readFieldNumber(cmField, cm)) value = cm / kCentimetresPerInch;
    tk::DlgPutReal(inchField, value);
}

}  // namespace

AxisPageFields standardPageFields() {
    AxisPageFields f;
    f.start = IDC_AXISSTART;
    f.step = IDC_AXISSTEP;
    f.title = IDC_AXISTITLE;
    f.heightInch = IDC_TITLEHEIGHTINCH;
    f.heightCm = IDC_TITLEHEIGHTCM;
    f.offsetInch = IDC_TITLEOFFSETINCH;
    f.offsetCm = IDC_TITLEOFFSETCM;
    f.major = IDC_MAJORDIVISIONS;
    f.minor = IDC_MINORDIVISIONS;
    return f;
}

std::string_view axisNumberFormat(float step) {
    const float a = std::fabs(step);
    if (a < 1.0E-5f) return "(1PE11.3)";
    if (a < 0.01f) return "(F11.6)";
    if (a <= 1000.0f) return "(F11.3)";
    return "(F11.0)";
}

void fillAxisPage(int page, const AxisPageFields& f, const util::AxisRecord& axis, bool x,
                  const AxisTitle& title, float height, float offset,
                  const AxisPageFormats& formats) {
    tk::DlgSelect(page);
    util::AxisRecord copy = axis;
    const Half h = half(copy, x);
    const bool logarithmic = x ? axis.logX : axis.logY;
    if (logarithmic) {
        // A log axis shows the value at its first decade; its step is a
        // decade and it has no minor divisions to choose.
        tk::DlgPutReal(f.start, std::pow(10.0f, static_cast<float>(h.minorOrDecade)), "(1PE11.3)");
        tk::DlgPutReal(f.step, 10.0f, "(F11.0)");
        tk::DlgPutInteger(f.minor, 0);
    } else {
        const std::string_view format = formats.startStep.value_or(axisNumberFormat(h.step));
        tk::DlgPutReal(f.start, h.start, format);
        tk::DlgPutReal(f.step, h.step, format);
        tk::DlgPutInteger(f.minor, h.minorOrDecade);
    }
    tk::DlgFieldState(f.step, logarithmic ? kReadOnly : kEnabled);
    tk::DlgFieldState(f.minor, logarithmic ? kReadOnly : kEnabled);
    tk::DlgPutString(f.title, title.view());
    putLength(f.heightInch, height, formats.lengths);
    putLength(f.heightCm, height * kCentimetresPerInch, formats.lengths);
    putLength(f.offsetInch, offset, formats.lengths);
    putLength(f.offsetCm, offset * kCentimetresPerInch, formats.lengths);
    tk::DlgPutInteger(f.major, h.count);
}

void readAxisPage(int page, const AxisPageFields& f, util::AxisRecord& axis, bool x,
                  AxisTitle& title, float& height, float& offset, bool inches, bool logarithmic) {
    tk::DlgSelect(page);
    const Half h = half(axis, x);
    if (logarithmic) {
        float first = 0.0f;
        if (util::readFieldNumber(f.start, first) && first > 0.0f)
            h.minorOrDecade = static_cast<std::int32_t>(std::floor(std::log10(first) + 1.0E-6f));
    } else {
        util::readFieldNumber(f.start, h.start);
        util::readFieldNumber(f.step, h.step);
        readInteger(f.minor, h.minorOrDecade);
    }
    tk::DlgGetString(f.title, std::span<char>(title.data(), 40));
    readLength(f.heightInch, f.heightCm, height, inches);
    readLength(f.offsetInch, f.offsetCm, offset, inches);
    std::int32_t count = h.count;
    if (readInteger(f.major, count) && count >= 1) h.count = count;
}

void setPageUnits(int page, int heightInch, int offsetInch, int heightCm, int offsetCm,
                  bool inches) {
    tk::DlgSelect(page);
    tk::DlgFieldState(heightInch, inches ? kEnabled : kDisabled);
    tk::DlgFieldState(offsetInch, inches ? kEnabled : kDisabled);
    tk::DlgFieldState(heightCm, inches ? kDisabled : kEnabled);
    tk::DlgFieldState(offsetCm, inches ? kDisabled : kEnabled);
}

void setDialogUnits(int dialog, int inchField, int inchRadio, int cmField, int cmRadio,
                    bool inches) {
    tk::DlgSelect(dialog);
    tk::DlgFieldState(inchField, inches ? kEnabled : kDisabled);
    tk::DlgFieldState(cmField, inches ? kDisabled : kEnabled);
    tk::DlgPutRadioButton(inches ? inchRadio : cmRadio);
}

void PUTLINAXISX(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset) {
    fillAxisPage(page, standardPageFields(), axis, true, title, height, offset);
}

void PUTLINAXISY(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset) {
    fillAxisPage(page, standardPageFields(), axis, false, title, height, offset);
}

void GETLINAXISX(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches) {
    readAxisPage(page, standardPageFields(), axis, true, title, height, offset, inches, false);
}

void GETLINAXISY(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches) {
    readAxisPage(page, standardPageFields(), axis, false, title, height, offset, inches, false);
}

void PUTLOGAXISX(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset) {
    PUTLINAXISX(page, axis, title, height, offset);
}

void PUTLOGAXISY(int page, const util::AxisRecord& axis, const AxisTitle& title, float height,
                 float offset) {
    PUTLINAXISY(page, axis, title, height, offset);
}

void GETLOGAXISX(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches) {
    readAxisPage(page, standardPageFields(), axis, true, title, height, offset, inches, true);
}

void GETLOGAXISY(int page, util::AxisRecord& axis, AxisTitle& title, float& height, float& offset,
                 bool inches) {
    readAxisPage(page, standardPageFields(), axis, false, title, height, offset, inches, true);
}

void INCHORCMAX(int page, bool inches) {
    setPageUnits(page, IDC_TITLEHEIGHTINCH, IDC_TITLEOFFSETINCH, IDC_TITLEHEIGHTCM,
                 IDC_TITLEOFFSETCM, inches);
}

void INCHORCM(int dialog, bool inches) {
    setDialogUnits(dialog, IDC_NAMESIZEINCH, IDC_UNITSINCHES, IDC_NAMESIZECM, IDC_UNITSCM, inches);
}

}  // namespace views
