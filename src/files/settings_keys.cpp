#include "files/settings_keys.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace files {

namespace {

// Several key lists share a run of keys; they are written once and joined.
template <std::size_t... N>
constexpr std::array<std::string_view, (N + ...)> joinKeys(
    const std::array<std::string_view, N>&... parts) {
    std::array<std::string_view, (N + ...)> joined{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), joined.begin() + at), at += N), ...);
    return joined;
}

constexpr std::string_view kWindowKeys[] = {
    "Dialog X=",   "Dialog Y=",       "Window X=",   "Window Y=",   "Window W=",
    "Window H=",   "Window State=",   "WellLog X=",  "WellLog Y=",  "WellLog W=",
    "WellLog H=",  "WellLog State=",  "Sounding X=", "Sounding Y=", "Sounding W=",
    "Sounding H=", "Sounding State=", "ProfLine X=", "ProfLine Y=", "ProfLine W=",
    "ProfLine H=", "ProfLine State="};

// The switches that both the reader and the "[Flags]" section list in this order.
constexpr std::array<std::string_view, 30> kSharedFlagKeys = {
    "LZOOM=",    "LEQUIV=",   "LAYERED=",   "LSMOOTH=",    "LMODONDAT=", "LCALCMOVE=",
    "LGRIDJD=",  "LGRIDND=",  "LGRIDJM=",   "LGRIDNM=",    "LGRIDJPD=",  "LGRIDNPD=",
    "LGRIDJPM=", "LGRIDNPM=", "LDATALINE=", "LREDTOBLUE=", "LGRIDJMP=",  "LGRIDNMP=",
    "LPGRAPH=",  "LPDATA=",   "LPREG=",     "LPBODS=",     "LBOSTICK=",  "LVLabels=",
    "LREDLINE=", "LGRIDJL=",  "LGRIDNL=",   "LGRIDJC=",    "LGRIDNC=",   "LPOLYLINE=",
};

// The keys in the order the reader tries them. "IP Data Column=" comes
// before "Data Column=", which it contains.
constexpr std::array<std::string_view, 44> kReaderHeadKeys = {
    "Spacing Column=",
    "Resistivity Column=",
    "Distance Column=",
    "Model Resist Column=",
    "MN Column=",
    "Current Column=",
    "First Row=",
    "Last Row=",
    "Frequency Column=",
    "In-Phase Column=",
    "Quadrature Column=",
    "Rho Error Column=",
    "Phase Error Column=",
    "IP Data Column=",
    "Time Column=",
    "Voltage Column=",
    "Space Column=",
    "Height Column=",
    "Easting Column=",
    "Northing Column=",
    "Elevation Column=",
    "PDist Column=",
    "Data Column=",
    "Column Increment=",
    "Color Grid X=",
    "Color Grid Y=",
    "Batch Equivalence=",
    "Batch Smooth=",
    "IThkDpthElev=",
    "IPctPpmUnit=",
    "Debug=",
    "XYZ Surface=",
    "CSV Output=",
    "Batch Plot Data=",
    "Batch Plot Model=",
    "Batch Plot Layered=",
    "Batch Plot Equivalent=",
    "Batch Plot Smooth=",
    "Batch Plot Group=",
    "Batch Group=",
    "Well Depth Column=",
    "Well Resist Column=",
    "LX1000=",
    "Last File=",
};

constexpr std::array<std::string_view, 48> kReaderTailKeys = {
    "LVIEWFREE=", "LVIEWVERT=", "LVIEWPIVOT=", "LCALCDET=", "LCOLFILL=", "Illegal=", "CLRES=",
    "CLSPACE=",   "CLRESM=",    "CLDEPT=",     "CLTIME=",   "CLPER=",    "CLFREQ=",  "CLVOLT=",
    "CLPHAS=",    "CLINQD=",    "CLHITE=",     "CLPFE=",    "CLPFEM=",   "CLNSPC=",  "CLNORT=",
    "CLEAST=",    "CLPDIS=",    "CLELEV=",     "HICNAME=",  "HIDATV=",   "HIDATH=",  "HIMODV=",
    "HIMODH=",    "OFFDATV=",   "OFFDATH=",    "OFFDATP=",  "OFFMODV=",  "OFFMODH=", "Line Width=",
    "K_GRID=",    "K_DATA=",    "K_SYNT=",     "K_PLIN=",   "K_PNTS=",   "K_ELEV=",  "K_LABL=",
    "K_BADB=",    "K_LOCK=",    "K_FREE=",     "K_SELP=",   "K_REG=",    "K_BODY=",
};

constexpr auto kReaderKeys = joinKeys(kReaderHeadKeys, kSharedFlagKeys, kReaderTailKeys);

constexpr std::string_view kDataInputKeys[] = {"Spacing Column=",     "Resistivity Column=",
                                               "MN Column=",          "Current Column=",
                                               "First Row=",          "Last Row=",
                                               "Distance Column=",    "Model Resist Column=",
                                               "Frequency Column=",   "In-Phase Column=",
                                               "Quadrature Column=",  "Well Depth Column=",
                                               "Well Resist Column=", "LX1000=",
                                               "Rho Error Column=",   "Phase Error Column=",
                                               "IP Data Column=",     "Time Column=",
                                               "Voltage Column=",     "Space Column=",
                                               "Height Column=",      "Easting Column=",
                                               "Northing Column=",    "Elevation Column=",
                                               "PDist Column=",       "Data Column=",
                                               "Column Increment=",   "IThkDpthElev=",
                                               "IPctPpmUnit=",        "Debug=",
                                               "Color Grid X=",       "Color Grid Y=",
                                               "Batch Equivalence=",  "Batch Smooth="};

constexpr std::string_view kFilesKeys[] = {"Last File="};

constexpr std::array<std::string_view, 15> kFlagsTailKeys = {
    "XYZ Surface=",       "CSV Output=",         "Batch Plot Data=",
    "Batch Plot Model=",  "Batch Plot Layered=", "Batch Plot Equivalent=",
    "Batch Plot Smooth=", "Batch Plot Group=",   "Batch Group=",
    "LVIEWFREE=",         "LVIEWVERT=",          "LVIEWPIVOT=",
    "LCALCDET=",          "LCOLFILL=",           "Illegal=",
};

constexpr auto kFlagsKeys = joinKeys(kSharedFlagKeys, kFlagsTailKeys);

constexpr std::string_view kGraphsKeys[] = {
    "CLRES=",   "CLSPACE=", "CLRESM=",  "CLDEPT=", "CLTIME=", "CLPER=",   "CLFREQ=",  "CLVOLT=",
    "CLPHAS=",  "CLINQD=",  "CLHITE=",  "CLPFE=",  "CLPFEM=", "CLNSPC=",  "CLNORT=",  "CLEAST=",
    "CLPDIS=",  "CLELEV=",  "HICNAME=", "HIDATV=", "HIDATH=", "HIMODV=",  "HIMODH=",  "OFFDATV=",
    "OFFDATH=", "OFFMODV=", "OFFMODH=", "HIMAPV=", "HIMAPH=", "OFFMAPV=", "OFFMAPH=", "Line Width=",
    "K_GRID=",  "K_DATA=",  "K_SYNT=",  "K_PLIN=", "K_PNTS=", "K_ELEV=",  "K_LABL=",  "K_BADB=",
    "K_LOCK=",  "K_FREE=",  "K_SELP=",  "K_REG=",  "K_BODY="};

constexpr SettingsSection kSections[] = {
    {"[Windows]", kWindowKeys}, {"[Data Input]", kDataInputKeys}, {"[Files]", kFilesKeys},
    {"[Flags]", kFlagsKeys},    {"[Graphs]", kGraphsKeys},
};

std::vector<SettingKey> allKeys(const SettingFields& f) {
    ViewSettings& v = f.view;
    SessionState& s = f.session;
    auto title = [&v](std::size_t n) { return &v.AxisLabels(n); };
    return {
        {"Dialog X=", &s.DialogX},
        {"Dialog Y=", &s.DialogY},
        {"Window X=", &v.MainWindowPlacement.x},
        {"Window Y=", &v.MainWindowPlacement.y},
        {"Window W=", &v.MainWindowPlacement.width},
        {"Window H=", &v.MainWindowPlacement.height},
        {"Window State=", &v.MainWindowPlacement.state},
        {"WellLog X=", &v.WellLogPlacement.x},
        {"WellLog Y=", &v.WellLogPlacement.y},
        {"WellLog W=", &v.WellLogPlacement.width},
        {"WellLog H=", &v.WellLogPlacement.height},
        {"WellLog State=", &v.WellLogPlacement.state},
        {"Sounding X=", &v.SoundingPlacement.x},
        {"Sounding Y=", &v.SoundingPlacement.y},
        {"Sounding W=", &v.SoundingPlacement.width},
        {"Sounding H=", &v.SoundingPlacement.height},
        {"Sounding State=", &v.SoundingPlacement.state},
        {"ProfLine X=", &v.ProfileWindowPlacement.x},
        {"ProfLine Y=", &v.ProfileWindowPlacement.y},
        {"ProfLine W=", &v.ProfileWindowPlacement.width},
        {"ProfLine H=", &v.ProfileWindowPlacement.height},
        {"ProfLine State=", &v.ProfileWindowPlacement.state},

        {"Spacing Column=", &v.SpacingColumn},
        {"Resistivity Column=", &v.ResistivityColumn},
        {"Distance Column=", &v.DistanceColumn},
        {"Model Resist Column=", &v.ModelResistColumn},
        {"MN Column=", &v.MNColumn},
        {"Current Column=", &v.CurrentColumn},
        {"First Row=", &v.FirstRow},
        {"Last Row=", &v.LastRow},
        {"Frequency Column=", &v.FrequencyColumn},
        {"In-Phase Column=", &v.InPhaseColumn},
        {"Quadrature Column=", &v.QuadratureColumn},
        {"Rho Error Column=", &v.RhoErrorColumn},
        {"Phase Error Column=", &v.PhaseErrorColumn},
        {"IP Data Column=", &v.IPDataColumn},
        {"Time Column=", &v.TimeColumn},
        {"Voltage Column=", &v.VoltageColumn},
        {"Space Column=", &v.SpaceColumn},
        {"Height Column=", DiscardedInteger{ViewSettings::HEIGHTCOL_OUT}},
        {"Easting Column=", &v.EastingColumn},
        {"Northing Column=", &v.NorthingColumn},
        {"Elevation Column=", &v.ElevationColumn},
        {"PDist Column=", &v.PDistColumn},
        {"Data Column=", &v.DataColumn},
        {"Column Increment=", &v.ColumnIncrement},
        {"Color Grid X=", &v.ColorGridX},
        {"Color Grid Y=", &v.ColorGridY},
        {"Batch Equivalence=", &v.BatchEquivalence},
        {"Batch Smooth=", &v.BatchSmooth},
        {"IThkDpthElev=", &v.IThkDpthElev},
        {"IPctPpmUnit=", &v.IPctPpmUnit},
        {"Debug=", &v.Debug},
        {"XYZ Surface=", &s.XYZSurface},
        {"CSV Output=", &s.CSVOutput},
        {"Batch Plot Data=", &v.BatchPlotData},
        {"Batch Plot Model=", &v.BatchPlotModel},
        {"Batch Plot Layered=", &v.BatchPlotLayered},
        {"Batch Plot Equivalent=", &v.BatchPlotEquivalent},
        {"Batch Plot Smooth=", &v.BatchPlotSmooth},
        {"Batch Plot Group=", &v.BatchPlotGroup},
        {"Batch Group=", DiscardedInteger{0}},
        {"Well Depth Column=", &v.WellDepthColumn},
        {"Well Resist Column=", &v.WellResistColumn},
        {"LX1000=", &s.LX1000},
        {"Last File=", &f.lastFile},
        {"LZOOM=", &s.LZOOM},
        {"LEQUIV=", &s.LEQUIV},
        {"LAYERED=", &s.LAYERED},
        {"LSMOOTH=", &s.LSMOOTH},
        {"LMODONDAT=", &v.LMODONDAT},
        {"LCALCMOVE=", &v.LCALCMOVE},
        {"LGRIDJD=", &s.LGRIDJD},
        {"LGRIDND=", &s.LGRIDND},
        {"LGRIDJM=", &s.LGRIDJM},
        {"LGRIDNM=", &s.LGRIDNM},
        {"LGRIDJPD=", &s.LGRIDJPD},
        {"LGRIDNPD=", &s.LGRIDNPD},
        {"LGRIDJPM=", &s.LGRIDJPM},
        {"LGRIDNPM=", &s.LGRIDNPM},
        {"LDATALINE=", &s.LDATALINE},
        {"LREDTOBLUE=", &s.LREDTOBLUE},
        {"LGRIDJMP=", &s.LGRIDJMP},
        {"LGRIDNMP=", &s.LGRIDNMP},
        {"LPGRAPH=", &v.LPGRAPH},
        {"LPDATA=", &v.LPDATA},
        {"LPREG=", &v.LPREG},
        {"LPBODS=", &v.LPBODS},
        {"LBOSTICK=", DiscardedSwitch{false}},
        {"LVLabels=", &s.LVLabels},
        {"LREDLINE=", DiscardedSwitch{false}},
        {"LGRIDJL=", &s.LGRIDJL},
        {"LGRIDNL=", &s.LGRIDNL},
        {"LGRIDJC=", &s.LGRIDJC},
        {"LGRIDNC=", &s.LGRIDNC},
        {"LPOLYLINE=", &v.LPOLYLINE},
        {"LVIEWFREE=", &v.LVIEWFREE},
        {"LVIEWVERT=", &v.LVIEWVERT},
        {"LVIEWPIVOT=", &v.LVIEWPIVOT},
        {"LCALCDET=", &v.LCALCDET},
        {"LCOLFILL=", &v.LCOLFILL},
        {"Illegal=", &s.Illegal},

        {"CLRES=", title(35)},
        {"CLSPACE=", title(27)},
        {"CLRESM=", title(29)},
        {"CLDEPT=", title(30)},
        {"CLTIME=", title(34)},
        {"CLPER=", title(33)},
        {"CLFREQ=", title(32)},
        {"CLVOLT=", title(31)},
        {"CLPHAS=", title(28)},
        {"CLINQD=", title(26)},
        {"CLHITE=", title(25)},
        {"CLPFE=", title(24)},
        {"CLPFEM=", title(23)},
        {"CLNSPC=", title(20)},
        {"CLNORT=", title(7)},
        {"CLEAST=", title(6)},
        {"CLPDIS=", title(5)},
        {"CLELEV=", title(4)},

        {"HICNAME=", &v.HICNAME},
        {"HIDATV=", &v.HIDATV},
        {"HIDATH=", &v.HIDATH},
        {"HIMODV=", &v.HIMODV},
        {"HIMODH=", &v.HIMODH},
        {"OFFDATV=", &v.OFFDATV},
        {"OFFDATH=", &v.OFFDATH},
        {"OFFDATP=", &v.OFFDATP},
        {"OFFMODV=", &v.OFFMODV},
        {"OFFMODH=", &v.OFFMODH},
        {"HIMAPV=", &v.HIMAPV},
        {"HIMAPH=", &v.HIMAPH},
        {"OFFMAPV=", &v.OFFMAPV},
        {"OFFMAPH=", &v.OFFMAPH},
        {"Line Width=", &v.LineWidth},

        {"K_GRID=", &v.K_GRID},
        {"K_DATA=", &v.K_DATA},
        {"K_SYNT=", &v.K_SYNT},
        {"K_PLIN=", &v.K_PLIN},
        {"K_PNTS=", &v.K_PNTS},
        {"K_ELEV=", &v.K_ELEV},
        {"K_LABL=", &v.K_LABL},
        {"K_BADB=", &v.K_BADB},
        {"K_LOCK=", &v.K_LOCK},
        {"K_FREE=", &v.K_FREE},
        {"K_SELP=", &v.K_SELP},
        {"K_REG=", &v.K_REG},
        {"K_BODY=", &v.K_BODY},
    };
}

}  // namespace

std::span<const std::string_view> windowKeys() {
    return kWindowKeys;
}
std::span<const std::string_view> readerKeys() {
    return kReaderKeys;
}
std::span<const SettingsSection> writtenSections() {
    return kSections;
}

SettingTarget targetOf(std::string_view key, const SettingFields& fields) {
    // The table holds nothing but addresses within the three records, so it
    // is built again only for other records: reading or writing a file looks
    // up every key in turn.
    static thread_local const void* built[3] = {nullptr, nullptr, nullptr};
    static thread_local std::vector<SettingKey> table;
    static thread_local std::unordered_map<std::string_view, std::size_t> byKey;
    const void* now[3] = {&fields.view, &fields.session, &fields.lastFile};
    if (!std::equal(now, now + 3, built)) {
        table = allKeys(fields);
        byKey.clear();
        // The first entry of a key is its target, as a search in order finds.
        for (std::size_t i = 0; i < table.size(); ++i)
            byKey.emplace(table[i].key, i);
        std::copy(now, now + 3, built);
    }
    const auto found = byKey.find(key);
    if (found != byKey.end()) return table[found->second].target;
    throw std::logic_error("not a settings key: " + std::string(key));
}

}  // namespace files
