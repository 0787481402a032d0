#include "files/view_settings.h"

namespace files {

namespace {
constexpr std::array<std::string_view, kAxisTitleCount> kDefaultTitles = {
    "Suscept. (cgs)",
    "Density (gm/cc)",
    "Time (Sec)",
    "Elevation (m)",
    "Profile Distance (m)",
    "Easting (m)",
    "Northing (m)",
    "MaxMin Quadrature (%)",
    "MaxMin In-Phase (%)",
    "MaxMin In-Phase & Quadrature (%)",
    "VLF Ellipticity",
    "VLF Tilt Angle (deg)",
    "VLF Quadrature (%)",
    "VLF In-Phase (%)",
    "VLF In-Phase/Quadrature (%)",
    "Hjelt Depth (m)",
    "Apparent Conductivity (mS/m)",
    "Conductivity (mS/m)",
    "Effective Penetration (m)",
    "n-Spacing",
    "Magnetics Data (nT)",
    "Gravity Data (mgal)",
    "IP Effect",
    "IP Effect",
    "Height (m)",
    "In-Phase & Quadrature (%)",
    "Spacing (m)",
    "Phase (deg)",
    "Resistivity (ohm-m)",
    "Depth (m)",
    "Received Voltage (nv/A-m**2)",
    "Frequency (Hz)",
    "Period (sec)",
    "Time (ms)",
    "Apparent Resistivity (ohm-m)",
};
}  // namespace

AxisLabelTable::AxisLabelTable() {
    for (std::size_t i = 0; i < kAxisTitleCount; ++i)
        titles_[i] = kDefaultTitles[i];
}

ViewSettings& viewSettings() {
    static ViewSettings settings;
    return settings;
}

}  // namespace files
