#include "shell/map_view_dialog.h"

#include <array>

#include "files/view_settings.h"
#include "shell/dialog_support.h"
#include "shell/resources/resource_ids.h"
#include "shell/window_views.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "util/dialog_wrappers.h"
#include "views/view_properties.h"

namespace shell {

namespace {

constexpr int kEnabled = 1, kDisabled = 0;
constexpr int kSemiModeless = 3;
constexpr views::AxisPageFormats kFormats{"(F11.1)", "(F)"};

// The two pages: the vertical (northing) half and the horizontal (easting)
// half of the map's record, with the title and the title lengths each edits.
struct MapPage {
    int id;
    bool x;
    std::size_t title;
    float files::ViewSettings::*height;
    float files::ViewSettings::*offset;
};

constexpr std::array<MapPage, 2> kPages = {{
    {IDD_NORTHINGPAGE, false, 7, &files::ViewSettings::HIMAPV, &files::ViewSettings::OFFMAPV},
    {IDD_EASTINGPAGE, true, 6, &files::ViewSettings::HIMAPH, &files::ViewSettings::OFFMAPH},
}};

const MapPage* pageOf(int id) {
    for (const MapPage& p : kPages)
        if (p.id == id) return &p;
    return nullptr;
}

bool& inches() {
    return views::viewPropertiesState().ViewDialogInches;
}

void applyUnits() {
    INCHORCMA(IDD_MAPPROPERTIES, IDC_NAMESIZEINCH, IDC_UNITSINCHES, IDC_NAMESIZECM, IDC_UNITSCM,
              inches());
    for (const MapPage& p : kPages)
        INCHORCMAXA(p.id, IDC_TITLEHEIGHTINCH, IDC_TITLEOFFSETINCH, IDC_TITLEHEIGHTCM,
                    IDC_TITLEOFFSETCM, inches());
}

void putNameSize() {
    const float size = files::viewSettings().HICNAME;
    tk::DlgPutReal(IDC_NAMESIZEINCH, size, "(F)");
    tk::DlgPutReal(IDC_NAMESIZECM, size * views::kCentimetresPerInch, "(F)");
}

void enableApply(bool on) {
    tk::DlgSelect(IDD_MAPPROPERTIES);
    tk::DlgFieldState(IDC_APPLY, on ? kEnabled : kDisabled);
}

void open(const util::AxisRecord& axis) {
    files::ViewSettings& v = files::viewSettings();
    loadDialog(IDD_MAPPROPERTIES);
    putNameSize();
    tk::DlgPutInteger(IDC_LINEWIDTH, v.LineWidth);
    for (const MapPage& p : kPages) {
        const views::AxisPageFields f = views::standardPageFields();
        if (p.x)
            PUTLINAXISXA(p.id, f, axis, v.AxisLabels(p.title), v.*p.height, v.*p.offset);
        else
            PUTLINAXISYA(p.id, f, axis, v.AxisLabels(p.title), v.*p.height, v.*p.offset);
    }
    tk::DlgSelect(IDD_MAPPROPERTIES);
    tk::DlgShow(v.VIEWDLG_X, v.VIEWDLG_Y, 0, kSemiModeless);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    tk::EventTypeEnable(tk::PushButton, 1);
    enableApply(false);
    applyUnits();
}

// A length changed in one unit: the setting follows and so does the field
// of the other unit.
void lengthChanged(float& setting, int from, int to, bool fromInches) {
    float value = 0.0f;
    if (!util::readFieldNumber(from, value)) return;
    setting = fromInches ? value : value / views::kCentimetresPerInch;
    tk::DlgPutReal(to, fromInches ? value * views::kCentimetresPerInch : setting, "(F)");
}

// Whether a setting changed with the field.
bool fieldChanged(const tk::EventRecord& e, int& remembered) {
    files::ViewSettings& v = files::viewSettings();
    const int field = e[1] > 0 ? e[1] : remembered;
    remembered = e[2];
    tk::DlgSelect(e[0]);
    const MapPage* page = pageOf(e[0]);
    bool changed = true;
    if (field == IDC_NAMESIZEINCH)
        lengthChanged(v.HICNAME, IDC_NAMESIZEINCH, IDC_NAMESIZECM, true);
    else if (field == IDC_NAMESIZECM)
        lengthChanged(v.HICNAME, IDC_NAMESIZECM, IDC_NAMESIZEINCH, false);
    else if (field == IDC_LINEWIDTH) {
        float width = 0.0f;
        if (util::readFieldNumber(IDC_LINEWIDTH, width)) v.LineWidth = static_cast<int>(width);
    } else if (page && field == IDC_TITLEHEIGHTINCH)
        lengthChanged(v.*page->height, IDC_TITLEHEIGHTINCH, IDC_TITLEHEIGHTCM, true);
    else if (page && field == IDC_TITLEHEIGHTCM)
        lengthChanged(v.*page->height, IDC_TITLEHEIGHTCM, IDC_TITLEHEIGHTINCH, false);
    else if (page && field == IDC_TITLEOFFSETINCH)
        lengthChanged(v.*page->offset, IDC_TITLEOFFSETINCH, IDC_TITLEOFFSETCM, true);
    else if (page && field == IDC_TITLEOFFSETCM)
        lengthChanged(v.*page->offset, IDC_TITLEOFFSETCM, IDC_TITLEOFFSETINCH, false);
    else if (page && field == IDC_AXISTITLE) {
        views::AxisTitle& title = v.AxisLabels(page->title);
        tk::DlgGetString(IDC_AXISTITLE, std::span<char>(title.data(), 40));
    } else {
        changed = false;
    }
    // A unit button switches at once, also when it is the field entered.
    const bool units = field == IDC_UNITSINCHES || field == IDC_UNITSCM ||
                       e[2] == IDC_UNITSINCHES || e[2] == IDC_UNITSCM;
    if (units) {
        tk::DlgSelect(IDD_MAPPROPERTIES);
        int position = 1;
        tk::DlgGetRadioButton(IDC_UNITSINCHES, position);
        inches() = position == 1;
        applyUnits();
    }
    if (changed || units) enableApply(true);
    return changed;
}

bool numbersGiven() {
    tk::DlgSelect(IDD_MAPPROPERTIES);
    if (!util::fieldsHoldNumbers({IDC_NAMESIZEINCH, IDC_NAMESIZECM, IDC_LINEWIDTH})) return false;
    const views::AxisPageFields f = views::standardPageFields();
    for (const MapPage& p : kPages) {
        tk::DlgSelect(p.id);
        if (!util::fieldsHoldNumbers({f.start, f.step, f.heightInch, f.heightCm, f.offsetInch,
                                      f.offsetCm, f.major, f.minor}))
            return false;
    }
    return true;
}

// What Apply and OK read: the unit, the name size, both pages.
void readBack(util::AxisRecord& axis, bool lineWidth) {
    files::ViewSettings& v = files::viewSettings();
    tk::DlgSelect(IDD_MAPPROPERTIES);
    int position = 1;
    tk::DlgGetRadioButton(IDC_UNITSINCHES, position);
    inches() = position == 1;
    if (inches())
        lengthChanged(v.HICNAME, IDC_NAMESIZEINCH, IDC_NAMESIZECM, true);
    else
        lengthChanged(v.HICNAME, IDC_NAMESIZECM, IDC_NAMESIZEINCH, false);
    if (lineWidth) {
        float width = 0.0f;
        if (util::readFieldNumber(IDC_LINEWIDTH, width)) v.LineWidth = static_cast<int>(width);
    }
    for (const MapPage& p : kPages) {
        const views::AxisPageFields f = views::standardPageFields();
        if (p.x)
            GETLINAXISXA(p.id, f, axis, v.AxisLabels(p.title), v.*p.height, v.*p.offset, inches());
        else
            GETLINAXISYA(p.id, f, axis, v.AxisLabels(p.title), v.*p.height, v.*p.offset, inches());
    }
}

// Each axis keeps its length on the page whatever number of divisions.
void keepLengths(util::AxisRecord& a, float lx, float ly) {
    if (a.divCountX >= 1) a.divLengthX = lx / static_cast<float>(a.divCountX);
    if (a.divCountY >= 1) a.divLengthY = ly / static_cast<float>(a.divCountY);
}

}  // namespace

void PUTLINAXISXA(int page, const views::AxisPageFields& fields, const util::AxisRecord& axis,
                  const views::AxisTitle& title, float height, float offset) {
    views::fillAxisPage(page, fields, axis, true, title, height, offset, kFormats);
}

void PUTLINAXISYA(int page, const views::AxisPageFields& fields, const util::AxisRecord& axis,
                  const views::AxisTitle& title, float height, float offset) {
    views::fillAxisPage(page, fields, axis, false, title, height, offset, kFormats);
}

void GETLINAXISXA(int page, const views::AxisPageFields& fields, util::AxisRecord& axis,
                  views::AxisTitle& title, float& height, float& offset, bool inchesChosen) {
    views::readAxisPage(page, fields, axis, true, title, height, offset, inchesChosen, false);
}

void GETLINAXISYA(int page, const views::AxisPageFields& fields, util::AxisRecord& axis,
                  views::AxisTitle& title, float& height, float& offset, bool inchesChosen) {
    views::readAxisPage(page, fields, axis, false, title, height, offset, inchesChosen, false);
}

void INCHORCMA(int dialog, int inchField, int inchRadio, int cmField, int cmRadio,
               bool inchesChosen) {
    views::setDialogUnits(dialog, inchField, inchRadio, cmField, cmRadio, inchesChosen);
}

void INCHORCMAXA(int page, int heightInch, int offsetInch, int heightCm, int offsetCm,
                 bool inchesChosen) {
    views::setPageUnits(page, heightInch, offsetInch, heightCm, offsetCm, inchesChosen);
}

void VIEWDLGMAP(model::ProfileDatabase&, util::AxisRecord& mapAxis, int& status) {
    util::AxisRecord backup = mapAxis;
    const float lx = static_cast<float>(mapAxis.divCountX) * mapAxis.divLengthX;
    const float ly = static_cast<float>(mapAxis.divCountY) * mapAxis.divLengthY;
    open(mapAxis);
    int remembered = 0;
    for (;;) {
        int type = 0;
        tk::EventRecord e{};
        tk::EventWait(type, e);
        if (type == tk::Expose && e[0] == 0) {
            refreshMap();
            continue;
        }
        const bool ours = e[0] == IDD_MAPPROPERTIES || pageOf(e[0]);
        if (!ours) continue;
        const SharedLook before = sharedLook();
        if (type == tk::FieldChanged) {
            // The settings a field writes are in force at once and stay after
            // Cancel: every window that draws them shows them at once.
            if (fieldChanged(e, remembered)) refreshAfterSettings(0, before);
            continue;
        }
        if (type != tk::PushButton) continue;
        if (e[1] == IDC_APPLY && numbersGiven()) {
            readBack(mapAxis, false);
            keepLengths(mapAxis, lx, ly);
            refreshAfterSettings(0, before);
            tk::DlgSelect(IDD_MAPPROPERTIES);
            tk::DlgSetField(kOkButton);
            enableApply(false);
            backup = mapAxis;
        } else if (e[1] == kOkButton && numbersGiven()) {
            readBack(mapAxis, true);
            refreshAfterSettings(0, before);
            keepLengths(mapAxis, lx, ly);
            status = 0;
            break;
        } else if (e[1] == kCancelButton) {
            mapAxis = backup;
            status = -1;
            break;
        }
    }
    tk::DlgSelect(IDD_MAPPROPERTIES);
    tk::DlgHide();
}

}  // namespace shell
