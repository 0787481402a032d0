#include "views/view_properties.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "files/view_settings.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "util/axis_copy.h"
#include "util/dialog_wrappers.h"
#include "views/view_properties_fields.h"

namespace views {

namespace {

constexpr int kSemiModeless = 3;

struct Page {
    int id;
    util::AxisRecord* axis;
    bool x;
    AxisTitle* title;
    float* height;
    float* offset;
    bool linearOnly;  // the model section's elevation is always read as linear
    std::string_view caption;

    bool logarithmic() const { return !linearOnly && (x ? axis->logX : axis->logY); }
};

// A dialog with its pages in the order their unit states are set.
struct Dialog {
    int id;
    std::vector<Page> pages;
    std::optional<std::string_view> nameSizeFormat;
};

Dialog mapDialog(util::AxisRecord& a, const MapTitles& t, std::string_view eastingCaption = {},
                 std::string_view northingCaption = {}) {
    return {
        IDD_MAPPROPERTIES,
        {{IDD_NORTHINGPAGE, &a, false, &t.northing, &t.HIMAPV, &t.OFFMAPV, false, northingCaption},
         {IDD_EASTINGPAGE, &a, true, &t.easting, &t.HIMAPH, &t.OFFMAPH, false, eastingCaption}},
        "(F)"};
}

Dialog profileDialog(AxisPair& a, const ProfileTitles& t, std::string_view distanceCaption = {},
                     std::string_view dataCaption = {}, std::string_view elevationCaption = {}) {
    return {IDD_PROFILEPROPERTIES,
            {{IDD_DATAPAGE, &a[0], false, &t.data, &t.HIDATV, &t.OFFDATV, false, dataCaption},
             {IDD_DISTANCEPAGE, &a[0], true, &t.distance, &t.HIDATH, &t.OFFDATH, false,
              distanceCaption},
             {IDD_ELEVATIONPAGE, &a[1], false, &t.elevation, &t.HIMODV, &t.OFFMODV, true,
              elevationCaption}},
            std::nullopt};
}

float lengthX(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountX) * a.divLengthX;
}
float lengthY(const util::AxisRecord& a) {
    return static_cast<float>(a.divCountY) * a.divLengthY;
}

void applyUnits(const Dialog& d) {
    const bool inches = viewPropertiesState().ViewDialogInches;
    for (const Page& p : d.pages)
        INCHORCMAX(p.id, inches);
    INCHORCM(d.id, inches);
}

void putNameSize(const Dialog& d) {
    const float size = files::viewSettings().HICNAME;
    if (d.nameSizeFormat) {
        tk::DlgPutReal(IDC_NAMESIZEINCH, size, *d.nameSizeFormat);
        tk::DlgPutReal(IDC_NAMESIZECM, size * kCentimetresPerInch, *d.nameSizeFormat);
    } else {
        tk::DlgPutReal(IDC_NAMESIZEINCH, size);
        tk::DlgPutReal(IDC_NAMESIZECM, size * kCentimetresPerInch);
    }
}

void setup(const Dialog& d) {
    files::ViewSettings& v = files::viewSettings();
    tk::DlgLoad(d.id);
    tk::DlgSelect(d.id);
    putNameSize(d);
    tk::DlgPutInteger(IDC_LINEWIDTH, v.LineWidth);
    // The tab captions in tab order.
    for (const Page& p : d.pages) {
        fillAxisPage(p.id, standardPageFields(), *p.axis, p.x, *p.title, *p.height, *p.offset);
        tk::DlgSelect(p.id);
        tk::DlgTitle(p.caption);
    }
    tk::DlgSelect(d.id);
    tk::DlgShow(v.VIEWDLG_X, v.VIEWDLG_Y, 0, kSemiModeless);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    tk::EventTypeEnable(tk::PushButton, 1);
    ViewPropertiesState& s = viewPropertiesState();
    s.rememberedField = 0;
    applyUnits(d);
    s.ViewDialogOpen = true;
}

// Every number of the dialog and its pages reads as a number; else the
// first that does not is reported and nothing is read back.
bool numbersGiven(const Dialog& d) {
    tk::DlgSelect(d.id);
    if (!util::fieldsHoldNumbers({IDC_NAMESIZEINCH, IDC_NAMESIZECM, IDC_LINEWIDTH})) return false;
    const AxisPageFields f = standardPageFields();
    for (const Page& p : d.pages) {
        tk::DlgSelect(p.id);
        if (!util::fieldsHoldNumbers({f.start, f.step, f.heightInch, f.heightCm, f.offsetInch,
                                      f.offsetCm, f.major, f.minor}))
            return false;
    }
    return true;
}

void readBack(const Dialog& d) {
    files::ViewSettings& v = files::viewSettings();
    ViewPropertiesState& s = viewPropertiesState();
    tk::DlgSelect(d.id);
    float width = static_cast<float>(v.LineWidth);
    if (util::readFieldNumber(IDC_LINEWIDTH, width)) v.LineWidth = static_cast<int>(width);
    int position = 1;
    tk::DlgGetRadioButton(IDC_UNITSINCHES, position);
    s.ViewDialogInches = position == 1;
    if (s.ViewDialogInches) {
        util::readFieldNumber(IDC_NAMESIZEINCH, v.HICNAME);
        tk::DlgPutReal(IDC_NAMESIZECM, v.HICNAME * kCentimetresPerInch);
    } else {
        float cm = v.HICNAME * kCentimetresPerInch;
        if (util::readFieldNumber(IDC_NAMESIZECM, cm)) v.HICNAME = cm / kCentimetresPerInch;
        tk::DlgPutReal(IDC_NAMESIZEINCH, v.HICNAME);
    }
    for (const Page& p : d.pages)
        readAxisPage(p.id, standardPageFields(), *p.axis, p.x, *p.title, *p.height, *p.offset,
                     s.ViewDialogInches, p.logarithmic());
}

// Each axis keeps the length it had when the dialog opened, whatever number
// of divisions was chosen (a reversed axis keeps its sign).
void keepLengths(util::AxisRecord& a, bool x, bool y, float lx, float ly) {
    if (x && a.divCountX >= 1) a.divLengthX = lx / static_cast<float>(a.divCountX);
    if (y && a.divCountY >= 1) a.divLengthY = ly / static_cast<float>(a.divCountY);
}

void close(const Dialog& d) {
    files::ViewSettings& v = files::viewSettings();
    tk::DlgSelect(d.id);
    v.VIEWDLG_X = tk::DialogInfoQuery(6);
    v.VIEWDLG_Y = tk::DialogInfoQuery(7);
    tk::DlgHide();
    viewPropertiesState().ViewDialogOpen = false;
}

// The length field changed: its partner in the other unit follows.
void pairedLength(int from, int to, float factor) {
    float value = 0.0f;
    if (util::readFieldNumber(from, value)) tk::DlgPutReal(to, value * factor);
}

void fieldChanged(const Dialog& d, const tk::EventRecord& e) {
    ViewPropertiesState& s = viewPropertiesState();
    files::ViewSettings& v = files::viewSettings();
    const int field = e[1] > 0 ? e[1] : s.rememberedField;
    tk::DlgSelect(e[0]);
    switch (field) {
        case IDC_NAMESIZEINCH:
            if (util::readFieldNumber(IDC_NAMESIZEINCH, v.HICNAME))
                tk::DlgPutReal(IDC_NAMESIZECM, v.HICNAME * kCentimetresPerInch);
            break;
        case IDC_NAMESIZECM: {
            float cm = 0.0f;
            if (!util::readFieldNumber(IDC_NAMESIZECM, cm)) break;
            v.HICNAME = cm / kCentimetresPerInch;
            tk::DlgPutReal(IDC_NAMESIZEINCH, v.HICNAME);
            break;
        }
        case IDC_TITLEHEIGHTINCH:
            pairedLength(IDC_TITLEHEIGHTINCH, IDC_TITLEHEIGHTCM, kCentimetresPerInch);
            break;
        case IDC_TITLEHEIGHTCM:
            pairedLength(IDC_TITLEHEIGHTCM, IDC_TITLEHEIGHTINCH, 1.0f / kCentimetresPerInch);
            break;
        case IDC_TITLEOFFSETINCH:
            pairedLength(IDC_TITLEOFFSETINCH, IDC_TITLEOFFSETCM, kCentimetresPerInch);
            break;
        case IDC_TITLEOFFSETCM:
            pairedLength(IDC_TITLEOFFSETCM, IDC_TITLEOFFSETINCH, 1.0f / kCentimetresPerInch);
            break;
        default:
            break;
    }
    // A unit button switches at once, also when the event names it as the
    // field just entered (a click on it).
    if (field == IDC_UNITSINCHES || field == IDC_UNITSCM || e[2] == IDC_UNITSINCHES ||
        e[2] == IDC_UNITSCM) {
        tk::DlgSelect(d.id);
        int position = 1;
        tk::DlgGetRadioButton(IDC_UNITSINCHES, position);
        s.ViewDialogInches = position == 1;
        applyUnits(d);
    }
    s.rememberedField = e[2];
}

enum class Outcome { None, Applied, Closed, Cancelled };

Outcome check(const Dialog& d, int type, const tk::EventRecord& e) {
    if (!isViewPropertiesEvent(e)) return Outcome::None;
    if (type == tk::FieldChanged) {
        fieldChanged(d, e);
        return Outcome::None;
    }
    if (type != tk::PushButton) return Outcome::None;
    switch (e[1]) {
        case IDC_APPLY:
            if (!numbersGiven(d)) return Outcome::None;
            readBack(d);
            return Outcome::Applied;
        case 1:
            if (!numbersGiven(d)) return Outcome::None;
            readBack(d);
            close(d);
            return Outcome::Closed;
        case 2:
            close(d);
            return Outcome::Cancelled;
        default:
            return Outcome::None;
    }
}

int statusOf(Outcome o, int status) {
    if (o == Outcome::Applied || o == Outcome::Closed) return 0;
    if (o == Outcome::Cancelled) return -1;
    return status;
}

}  // namespace

ViewPropertiesState& viewPropertiesState() {
    static ViewPropertiesState s;
    return s;
}

bool isViewPropertiesEvent(const tk::EventRecord& e) {
    constexpr int ids[] = {IDD_MAPPROPERTIES,     IDD_NORTHINGPAGE, IDD_EASTINGPAGE,
                           IDD_PROFILEPROPERTIES, IDD_DISTANCEPAGE, IDD_DATAPAGE,
                           IDD_ELEVATIONPAGE};
    return std::find(std::begin(ids), std::end(ids), e[0]) != std::end(ids);
}

void VIEWPROPSETUP(util::AxisRecord& mapAxis, const MapTitles& titles,
                   std::string_view eastingCaption, std::string_view northingCaption) {
    ViewPropertiesState& s = viewPropertiesState();
    s.Lx = lengthX(mapAxis);
    s.Ly = lengthY(mapAxis);
    setup(mapDialog(mapAxis, titles, eastingCaption, northingCaption));
}

void VIEWPROPCHECK(int type, const tk::EventRecord& event, util::AxisRecord& mapAxis,
                   const MapTitles& titles, int& status) {
    const Outcome o = check(mapDialog(mapAxis, titles), type, event);
    if (o == Outcome::Applied || o == Outcome::Closed) {
        const ViewPropertiesState& s = viewPropertiesState();
        keepLengths(mapAxis, true, true, s.Lx, s.Ly);
    }
    status = statusOf(o, status);
}

void VIEWPROPSETUP3(AxisPair& axes, const ProfileTitles& titles, std::string_view distanceCaption,
                    std::string_view dataCaption, std::string_view elevationCaption) {
    ViewPropertiesState& s = viewPropertiesState();
    s.Lx = lengthX(axes[0]);
    s.Ly = lengthY(axes[0]);
    s.Ly2 = lengthY(axes[1]);
    setup(profileDialog(axes, titles, distanceCaption, dataCaption, elevationCaption));
}

void VIEWPROPCHECK3(int type, const tk::EventRecord& event, AxisPair& axes,
                    const ProfileTitles& titles, int& status) {
    const Outcome o = check(profileDialog(axes, titles), type, event);
    if (o == Outcome::Applied || o == Outcome::Closed) {
        const ViewPropertiesState& s = viewPropertiesState();
        keepLengths(axes[0], true, true, s.Lx, s.Ly);
        keepLengths(axes[1], false, true, 0.0f, s.Ly2);
        // The model section's horizontal axis is the data graph's.
        util::COPYXAXIS(axes[1], axes[0]);
    }
    status = statusOf(o, status);
}

}  // namespace views
