#include "files/xyz_export.h"

#include <algorithm>
#include <vector>

#include "base/fortran_format.h"
#include "files/ascii_export.h"
#include "files/messages.h"
#include "files/text_lines.h"

namespace files {

namespace {

std::string fixed(float v, std::string_view format) {
    auto text = base::formatReal(v, format);
    return text ? *text : std::string();
}

std::string headerLine(std::string_view label, float v) {
    return std::string(label) + fixed(v, "F12.3");
}

bool needsSelector(const std::string& name) {
    return name.find_first_not_of(' ') == std::string::npos ||
           name.find_first_of("*?") != std::string::npos;
}

}  // namespace

void XYZOUT(const model::ProfileLine& profile, std::string& fileName, bool synthetics,
            bool longRecords) {
    if (synthetics && !syntheticsAvailable(profile)) return;
    if (needsSelector(fileName)) {
        const auto chosen = selectFileToWrite("XYZ Data File|*.XYZ|", "XYZ Data File", fileName);
        if (!chosen) return;
        fileName = *chosen;
    }
    while (!fileName.empty() && fileName.back() == ' ')
        fileName.pop_back();
    if (fileName.empty()) return;

    std::vector<std::string> lines;
    lines.push_back(headerLine("/ INDUCING FIELD : ", profile.FIELD));
    lines.push_back(headerLine("/ INCLINATION    : ", profile.FINCL));
    lines.push_back(headerLine("/ DECLINATION    : ", profile.FDECL));
    lines.push_back(headerLine("/ PROFILE DIRECT.: ", profile.MODEL.AZIM));
    lines.push_back("/ TYPE OF DATA   : " + std::string(profile.DTYPE.view()));
    lines.push_back("/ DISTANCE UNITS : " + std::string(profile.XUNIT.view().substr(0, 4)));
    lines.push_back("LINE " + std::string(profile.PNAME.view()));
    // Every field is followed by a blank, the last one too.
    const char* format = longRecords ? "(4(F9.1,1X),1PE11.4,1X,1PE11.4)" : "(3(F9.1,1X),1PE11.4)";
    const int n = stationsWritten(profile, synthetics);
    for (int i = 1; i <= n; ++i) {
        const float v = synthetics ? profile.SYN(i, 1) : profile.DAT(i, 1);
        const auto record =
            longRecords
                ? base::writeFormatted(format, {profile.EAST(i), profile.NORT(i), profile.STAT(i),
                                                stationTopography(profile, i), profile.ELEV(i), v})
                : base::writeFormatted(format,
                                       {profile.EAST(i), profile.NORT(i), profile.STAT(i), v});
        lines.push_back(record ? *record + " " : std::string());
    }
    const TextWrite w = writeTextLines(fileName, lines);
    if (!w.opened) {
        showWarning("CANNOT OPEN OUTPUT FILE:;" +
                    std::string(base::FixedString<256>(fileName).view()));
    } else if (!w.ok) {
        showWarning("WRITE ERROR ON OUTPUT FILE;LINE:" + rightAligned(w.failedLine, 6));
    }
}

}  // namespace files
