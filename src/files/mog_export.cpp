// The write mode of the sibling ASCII data file: the eight header lines and
// one line per station, laid out as the reader reads them, so that a written
// file reads back into the same profile.

#include <string>
#include <vector>

#include "base/fortran_format.h"
#include "files/ascii_export.h"
#include "files/messages.h"
#include "files/mog_import.h"
#include "files/zaf_records.h"

namespace files {

namespace {

constexpr std::string_view kFilter = "Kervo/Pelk-GM ASCII Data File|*.MOG|";
constexpr std::string_view kTitle = "Kervo/Pelk-GM ASCII Data File";

// A real in WIDTH columns with DECIMALS places, asterisks when it does not fit.
std::string field(float v, int width, int decimals) {
    auto text = base::formatReal(v, "F" + std::to_string(width) + "." + std::to_string(decimals));
    return text ? *text : std::string(static_cast<std::size_t>(width), '*');
}

std::string header(float v) {
    return field(v, 10, 3);
}

std::string station(float v) {
    return field(v, 13, 4);
}

// TEXT cut or padded to WIDTH.
std::string fit(std::string_view text, std::size_t width) {
    std::string s(text.substr(0, std::min(width, text.size())));
    s.resize(width, ' ');
    return s;
}

std::string keyOf(const model::ProfileLine& p) {
    return p.DTYPE.trimmed().substr(0, 3) == "Mag" ? "MAGN" : "GRAV";
}

std::vector<std::string> mogLines(const model::ProfileLine& p) {
    const SiblingHeader& h = siblingHeader();
    const model::PolygonModel& m = p.MODEL;
    std::vector<std::string> lines;
    lines.push_back("     " + fit(p.PNAME.view(), 8) + "  " + keyOf(p) + header(m.TIEEAS) +
                    header(m.TIENOR));
    lines.push_back("     " + fit(h.clientText[0].view(), 30) + "          " +
                    fit(h.clientLong.view(), 10));
    lines.push_back("     " + fit(h.clientText[1].view(), 30) + "          " +
                    fit(h.clientShort.view(), 5));
    lines.push_back("     " + fit(h.clientText[2].view(), 30));
    lines.push_back("     " + fit(h.clientText[3].view(), 30));
    std::string six = "     ";
    for (float v : m.SGEO) six += header(v);
    lines.push_back(six + "  " + fit(p.ZUNIT.view(), 2) + "        " + fit(p.XUNIT.view(), 2));
    lines.push_back("     " + header(p.FIELD) + header(p.FINCL) + header(p.FDECL) +
                    header(m.AZIM));
    lines.push_back(
        "  No.     DISTANCE      EASTING     NORTHING        FIELD    GROUND EL.   SENSOR EL.");
    const int n = stationsWritten(p, false);
    for (int i = 1; i <= n; ++i) {
        const float ground = m.ZTOPO.has(i) ? m.ZTOPO(i) : 0.0f;
        lines.push_back(rightAligned(i, 5) + station(p.STAT(i)) + station(p.EAST(i)) +
                        station(p.NORT(i)) + station(p.DAT(i, 1)) + station(ground) +
                        station(p.ELEV(i)));
    }
    return lines;
}

}  // namespace

void writeMogFile(const model::ProfileLine& profile, std::string& fileName, int& status) {
    status = -1;
    if (fileName.find_first_not_of(' ') == std::string::npos) {
        const auto chosen = selectFileToWrite(kFilter, kTitle);
        if (!chosen) return;
        fileName = *chosen;
    }
    const ChosenFile file = chosenFile(fileName);
    if (file.name.blank()) return;
    if (fileExists(file.path) &&
        !askYesNo("FILE EXISTS: \r\n" + std::string(file.name.view()) +
                  "\r\nDO YOU WANT TO WRITE OVER IT?"))
        return;
    const TextWrite w = writeTextLines(file.path, mogLines(profile));
    if (!w.opened) {
        showInformation("CANNOT OPEN FILE.");
    } else if (!w.ok) {
        showInformation("WRITE ERROR AT LINE " + rightAligned(w.failedLine, 5) + "   ");
    } else {
        status = 0;
    }
}

}  // namespace files
