#include "shell/new_profile_dialogs.h"

#include <array>
#include <string_view>

#include "shell/dialog_support.h"
#include "shell/resources/resource_ids.h"
#include "shell/unit_lists.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

struct DataType {
    int button;
    std::string_view name;  // blank-padded to 20 by the profile's field
    std::string_view unit;
};

constexpr std::array<DataType, 3> kGravityTypes = {{
    {IDC_GRAVMILLIGALS, "Gravity Data", "mgal"},
    {IDC_GRAVMICROGALS, "Microgravity Data", "ugal"},
    {IDC_GRAVGRADIENT, "Gravity Gradient", "mgal"},
}};

constexpr std::array<DataType, 8> kMagneticTypes = {{
    {IDC_MAGTOTAL, "Magnetics Total Fld", "nT"},
    {IDC_MAGVERTGRAD, "Magnetics Vert Grad", "nT/m"},
    {IDC_MAGX, "Magnetics X-Comp.", "nT"},
    {IDC_MAGY, "Magnetics Y-Ccomp", "nT"},
    {IDC_MAGZ, "Magnetics Z-Comp", "nT"},
    {IDC_MAGXGRAD, "Magnetics X-V Grad", "nT"},
    {IDC_MAGYGRAD, "Magnetics Y-V Grad", "nT"},
    {IDC_MAGZGRAD, "Magnetics Z-V Grad", "nT"},
}};

// The sensor-elevation buttons in the order of the modes 1 to 4; the
// constant-height button has its own identifier in each dialog.
std::array<int, 4> elevationButtons(bool gravity) {
    return {IDC_ELEVSURFACE, gravity ? IDC_ELEVCONSTANTGRAV : IDC_ELEVCONSTANTMAG, IDC_ELEVMEASURED,
            IDC_ELEVSEALEVEL};
}

// The button of a one-based choice, the first when it is out of range.
template <std::size_t N>
int buttonOf(const std::array<int, N>& buttons, int choice) {
    return buttons[choice >= 1 && choice <= static_cast<int>(N) ? choice - 1 : 0];
}

int radioPosition(int field) {
    int position = 1;
    tk::DlgGetRadioButton(field, position);
    return position;
}

template <std::size_t N>
int typePosition(const std::array<DataType, N>& types, const model::ProfileLine& profile) {
    for (std::size_t i = 0; i < N; ++i)
        if (profile.DTYPE == types[i].name) return static_cast<int>(i) + 1;
    return 1;
}

template <std::size_t N>
void putDataType(const std::array<DataType, N>& types, int position) {
    tk::DlgPutRadioButton(types[static_cast<std::size_t>(position - 1)].button);
}

template <std::size_t N>
void getDataType(const std::array<DataType, N>& types, model::ProfileLine& profile) {
    int position = radioPosition(types[0].button);
    if (position < 1 || position > static_cast<int>(N)) position = 1;
    const DataType& t = types[static_cast<std::size_t>(position - 1)];
    profile.DTYPE.assign(t.name);
    profile.DUNIT[0].assign(t.unit);
}

void putCommon(const model::ProfileLine& profile, bool gravity) {
    putDistanceUnits(IDC_XUNIT, profile.XUNIT);
    putDistanceUnits(IDC_ZUNIT, profile.ZUNIT);
    tk::DlgPutReal(IDC_SENSORHEIGHT, profile.SENSHT);
    const int mode = profile.IELEV >= 2 && profile.IELEV <= 4 ? profile.IELEV : 1;
    tk::DlgPutRadioButton(elevationButtons(gravity)[static_cast<std::size_t>(mode - 1)]);
}

void getCommon(model::ProfileLine& profile) {
    profile.XUNIT = getDistanceUnit(IDC_XUNIT);
    profile.ZUNIT = getDistanceUnit(IDC_ZUNIT);
    profile.IELEV = radioPosition(IDC_ELEVSURFACE);
    tk::DlgGetReal(IDC_SENSORHEIGHT, profile.SENSHT);
}

// Shows the loaded dialog modally, centred; true when OK closed it.
bool confirmed(std::initializer_list<int> numericFields) {
    DialogPosition centred;
    return showModalForNumbers(centred, numericFields) == kOkButton;
}

}  // namespace

void GETGRAVDATATYPE(model::ProfileLine& profile, int& status) {
    loadDialog(IDD_NEWGRAVITY);
    // Every type but the two variants, "Gravity/Mag Data" among them, opens
    // as milligals.
    putDataType(kGravityTypes, typePosition(kGravityTypes, profile));
    tk::DlgPutRadioButton(profile.IDENUN == 2 ? IDC_DENSKGM3 : IDC_DENSGCC);
    putCommon(profile, true);
    if (!confirmed({IDC_SENSORHEIGHT})) {
        status = -1;
        return;
    }
    status = 0;
    getDataType(kGravityTypes, profile);
    profile.IDENUN = radioPosition(IDC_DENSGCC);
    getCommon(profile);
}

void GETMAGDATATYPE(model::ProfileLine& profile, int& status) {
    loadDialog(IDD_NEWMAGNETICS);
    putDataType(kMagneticTypes, typePosition(kMagneticTypes, profile));
    const std::array<int, 3> units = {IDC_SUSCCGS, IDC_SUSCMICROCGS, IDC_SUSCSI};
    tk::DlgPutRadioButton(buttonOf(units, profile.ISUSUN));
    tk::DlgPutReal(IDC_FIELDSTRENGTH, profile.FIELD);
    tk::DlgPutReal(IDC_FIELDINCL, profile.FINCL);
    tk::DlgPutReal(IDC_FIELDDECL, profile.FDECL);
    putCommon(profile, false);
    if (!confirmed({IDC_FIELDSTRENGTH, IDC_FIELDINCL, IDC_FIELDDECL, IDC_SENSORHEIGHT})) {
        status = -1;
        return;
    }
    status = 0;
    getDataType(kMagneticTypes, profile);
    profile.ISUSUN = radioPosition(IDC_SUSCCGS);
    tk::DlgGetReal(IDC_FIELDSTRENGTH, profile.FIELD);
    tk::DlgGetReal(IDC_FIELDINCL, profile.FINCL);
    tk::DlgGetReal(IDC_FIELDDECL, profile.FDECL);
    getCommon(profile);
}

}  // namespace shell
