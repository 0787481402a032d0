#include "files/ascii_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/fortran_format.h"
#include "files/messages.h"
#include "files/regional_file.h"
#include "model/model_services.h"
#include "util/text_clean.h"

namespace files {

namespace {

float deviate() {
    auto& gauss = model::modelServices().gaussianDeviate;
    return gauss ? gauss(exportNoiseSeed()) : 0.0f;
}

template <std::size_t N>
void clean(base::FixedString<N>& s) {
    util::CHR_CHK(std::span<char>(s.data(), N), static_cast<int>(N));
}

}  // namespace

float stationTopography(const model::ProfileLine& p, int i) {
    if (i > p.MODEL.NTOPO || !p.MODEL.ZTOPO.has(i)) return 0.0f;
    return p.MODEL.ZTOPO(i);
}

int stationsWritten(const model::ProfileLine& p, bool synthetics) {
    int n = std::max(p.NSTA, 0);
    for (const auto* a : {&p.STAT, &p.EAST, &p.NORT, &p.ELEV})
        n = std::min(n, static_cast<int>(a->size()));
    const auto& values = synthetics ? p.SYN : p.DAT;
    return values.cols() >= 1 ? std::min(n, values.rows()) : 0;
}

bool syntheticsAvailable(const model::ProfileLine& p) {
    if (p.LSYN) return true;
    showInformation("Synthetics not available for output");
    return false;
}

std::int16_t& exportNoiseSeed() {
    static std::int16_t seed = 0;
    return seed;
}

void ASCIIOUT(model::ProfileLine& profile, float noise, std::string_view fileName,
              bool synthetics) {
    if (synthetics && !syntheticsAvailable(profile)) return;
    const std::string path =
        exportFileName(fileName, "Flat ASCII Data File|*.DAT|", "Flat ASCII Data File");
    if (path.empty()) return;
    std::vector<std::string> lines;
    lines.emplace_back(
        "  No. Profile Dist. Easting      Northing      Field      Elevation     Sensor");
    clean(profile.XUNIT);
    clean(profile.ZUNIT);
    clean(profile.DUNIT[0]);
    std::string title =
        titleLine("         $P           $E           $N           $F           $Z           $S  ");
    for (auto token : {"$P", "$N", "$E"})
        replaceUnitToken(title, token, profile.XUNIT.view());
    for (auto token : {"$Z", "$S"})
        replaceUnitToken(title, token, profile.ZUNIT.view());
    replaceUnitToken(title, "$F", profile.DUNIT[0].view());
    lines.push_back(title);

    const int n = stationsWritten(profile, synthetics);
    const int d = distanceDecimals(profile.STAT.values(), n);
    const std::string format = "(I5,F10." + std::to_string(d) + ",5F13.4)";
    for (int i = 1; i <= n; ++i) {
        float value = 0.0f;
        if (synthetics) {
            const float g = deviate();
            (void)deviate();  // the generator hands out pairs; one per row is used
            value = (1.0f + g * noise / 100.0f) * profile.SYN(i, 1);
        } else {
            value = profile.DAT(i, 1);
        }
        const auto row =
            base::writeFormatted(format, {i, profile.STAT(i), profile.EAST(i), profile.NORT(i),
                                          value, stationTopography(profile, i), profile.ELEV(i)});
        lines.push_back(row ? *row : std::string());
    }
    writeFlatExport(path, lines);
}

}  // namespace files
