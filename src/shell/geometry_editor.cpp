#include <array>
#include <string_view>

#include "model/profile_geometry.h"
#include "shell/editor_memory.h"
#include "shell/profile_editors.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

struct Help {
    int field;
    std::string_view text;
};

constexpr std::array<Help, 9> kHelp = {{
    {IDC_AZIMUTH,
     "Profile direction in terms of angle clockwise (east) from true north. If E-N coords are "
     "selected, this is automatically generated from X-Y values."},
    {IDC_TIEEAST,
     "X coordinate (in map coordinates) which specifies the tie point in X. If X-Y coords are "
     "selected, this is automatically generated from X-Y values."},
    {IDC_TIENORTH,
     "Y coordinate (in map coordinates) which specifies the tie point in Y. If X-Y coords are "
     "selected, this is automatically generated from X-Y values."},
    {IDC_TIEPROFILE,
     "Coordinate (in profile coordinates) which specifies the tie point along the profile which "
     "ties to the X-Y tie point. Automatically generated if X-Y coords are selected"},
    {IDC_STRIKE,
     "Strike direction of bodies clockwise from true north. Usually profile direction minus 90 "
     "degrees, although it can deviate up to 30 degrees + or - from that angle"},
    {IDC_BASELINE,
     "Coordinate in profile coordinates at which model baseline ties to profile. Baseline goes "
     "through center of symmetric 2.5-D bodies (with equal + and - strike extents)."},
    {IDC_GRIDROTATION,
     "Rotation between true north and grid north. For UTM, GKK or LO coordinates, this is "
     "positive right of the central meridian and negative left of the central meridian."},
    {IDC_PROFILECOORDS,
     "If profile coords are selected, X-Y coords are generated from the tie point and profile "
     "direction. Otherwise, the profile direction and coordinates are generated from X-Ys."},
    {IDC_MAPCOORDS,
     "If profile coords are selected, X-Y coords are generated from the tie point and profile "
     "direction. Otherwise, the profile direction and coordinates are generated from X-Ys."},
}};

void showHelp(int field) {
    for (const Help& h : kHelp)
        if (h.field == field) tk::DlgPutString(IDC_GEOMETRYHELP, h.text);
}

// The seven numbers of the geometry and the field each is shown in.
struct Value {
    int field;
    float model::PolygonModel::*member;
};

constexpr std::array<Value, 7> kValues = {{
    {IDC_AZIMUTH, &model::PolygonModel::AZIM},
    {IDC_TIEPROFILE, &model::PolygonModel::TIEPRF},
    {IDC_TIEEAST, &model::PolygonModel::TIEEAS},
    {IDC_TIENORTH, &model::PolygonModel::TIENOR},
    {IDC_STRIKE, &model::PolygonModel::STRIKE},
    {IDC_BASELINE, &model::PolygonModel::BASELN},
    {IDC_GRIDROTATION, &model::PolygonModel::GRIDROT},
}};

void putAll(const model::PolygonModel& m) {
    for (const Value& v : kValues)
        tk::DlgPutReal(v.field, m.*v.member);
    tk::DlgPutRadioButton(m.ICOORD >= 2 ? IDC_MAPCOORDS : IDC_PROFILECOORDS);
    showHelp(IDC_AZIMUTH);
}

bool numbersGiven() {
    for (const Value& v : kValues)
        if (!util::fieldsHoldNumbers({v.field})) return false;
    return true;
}

}  // namespace

void GEOMEDIT(model::ProfileLine& profile, model::PolygonModel& model, int& status) {
    loadDialog(IDD_GEOMETRY);
    putAll(model);
    showSemiModeless(editorMemory().geometry);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(IDD_GEOMETRY, e) == tk::FieldChanged) {
            showHelp(e[2]);
            continue;
        }
        if (e[1] == IDC_SETGEOMETRY) {
            model::SETGEOMETRY(profile);
            model.ICOORD = 2;
            putAll(model);
            continue;
        }
        if (e[1] != kOkButton && e[1] != kCancelButton) continue;
        if (e[1] == kOkButton) {
            if (!numbersGiven()) continue;
            for (const Value& v : kValues)
                util::readFieldNumber(v.field, model.*v.member);
            int position = 1;
            tk::DlgGetRadioButton(IDC_PROFILECOORDS, position);
            model.ICOORD = position == 2 ? 2 : 1;
        }
        status = e[1] == kOkButton ? 0 : -1;
        rememberPosition(editorMemory().geometry);
        closeDialog(IDD_GEOMETRY);
        return;
    }
}

}  // namespace shell
