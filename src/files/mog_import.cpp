#include "files/mog_import.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "base/fortran_read.h"
#include "files/messages.h"
#include "files/survey_line_store.h"
#include "files/zaf_records.h"
#include "util/text_clean.h"

namespace files {

namespace {

constexpr int kHeaderLines = 8;

// Thrown with the message already chosen; caught where it is shown.
struct MogFailure {
    std::string message;
};

std::string atLine(std::string_view what, int line) {
    return std::string(what) + rightAligned(line, 5) + "   ";
}

// Columns FIRST..LAST (1-based) of a line, blank beyond its end.
std::string columns(const std::string& line, int first, int last) {
    std::string field(static_cast<std::size_t>(last - first + 1), ' ');
    for (int c = first; c <= last; ++c)
        if (static_cast<std::size_t>(c) <= line.size())
            field[static_cast<std::size_t>(c - first)] = line[static_cast<std::size_t>(c - 1)];
    return field;
}

float realField(const std::string& line, int first, int last, int decimals, int lineNo) {
    const auto v = base::readRealFieldSingle(columns(line, first, last), decimals);
    if (!v) throw MogFailure{atLine("READ ERROR AT LINE ", lineNo)};
    return *v;
}

class MogReader {
  public:
    explicit MogReader(const std::vector<std::string>& lines) : lines_(lines) {}

    void read(model::ProfileLine& p) {
        const std::string& first = header(1);
        const std::string name = columns(first, 6, 13);
        const std::string key = columns(first, 16, 19);
        if (key != "MAGN" && key != "GRAV") throw MogFailure{invalidType(key)};
        auto& h = siblingHeader();
        h.clientText[0] = columns(header(2), 6, 35);
        h.clientLong = columns(header(2), 46, 55);
        h.clientText[1] = columns(header(3), 6, 35);
        h.clientShort = columns(header(3), 46, 50);
        h.clientText[2] = columns(header(4), 6, 35);
        h.clientText[3] = columns(header(5), 6, 35);
        const std::string& six = header(6);
        auto& m = p.MODEL;
        for (int k = 0; k < 4; ++k)
            m.SGEO[static_cast<std::size_t>(k)] = realField(six, 6 + 10 * k, 15 + 10 * k, 3, 6);
        p.ZUNIT = columns(six, 48, 49);
        p.XUNIT = columns(six, 58, 59);
        const std::string& seven = header(7);
        p.FIELD = realField(seven, 6, 15, 3, 7);
        p.FINCL = realField(seven, 16, 25, 3, 7);
        p.FDECL = realField(seven, 26, 35, 3, 7);
        m.AZIM = realField(seven, 36, 45, 3, 7);
        p.PNAME = name;
        p.NCOMP = 1;
        p.NDGRAF = 1;
        p.NLGRAF = 1;
        p.IELEV = 4;
        p.ISUSUN = 1;
        p.IDENUN = 1;
        p.DTYPE = std::string_view(key == "MAGN" ? "Magnetics Data" : "Gravity Data");
        p.DUNIT[0] = std::string_view(key == "MAGN" ? "nT" : "mgal");
        (void)header(8);
        readStations(p);
    }

  private:
    const std::string& header(int line) {
        if (static_cast<std::size_t>(line) > lines_.size())
            throw MogFailure{atLine("PREMATURE END OF FILE AT LINE ", line)};
        return lines_[static_cast<std::size_t>(line - 1)];
    }

    static std::string invalidType(std::string key) {
        util::CHR_CHK(std::span<char>(key.data(), key.size()), static_cast<int>(key.size()));
        std::string text = "Invalid data type for Kervo ASCII file \"";
        text.resize(40, ' ');
        return text + key + "\". " + "Be sure file type is correct or read as flat ASCII file";
    }

    void readStations(model::ProfileLine& p) {
        const int available = static_cast<int>(lines_.size()) - kHeaderLines;
        const int n = std::min(available, kMogStationLimit);
        // A file without a station has nothing to hold the profile's ends.
        if (n < 1) throw MogFailure{atLine("PREMATURE END OF FILE AT LINE ", kHeaderLines + 1)};
        allocate(p);
        auto& m = p.MODEL;
        for (int i = 1; i <= n; ++i) {
            const int lineNo = kHeaderLines + i;
            const std::string& line = lines_[static_cast<std::size_t>(lineNo - 1)];
            if (!base::readIntegerField(columns(line, 1, 5)))
                throw MogFailure{atLine("READ ERROR AT LINE ", lineNo)};
            p.STAT(i) = realField(line, 6, 18, 4, lineNo);
            p.EAST(i) = realField(line, 19, 31, 4, lineNo);
            p.NORT(i) = realField(line, 32, 44, 4, lineNo);
            p.DAT(i, 1) = realField(line, 45, 57, 4, lineNo);
            // Ground and sensor elevations, positive upwards as in the
            // program: 120.5 and 121.5 put the sensor 1 m above the ground.
            m.ZTOPO(i) = realField(line, 58, 70, 4, lineNo);
            p.ELEV(i) = realField(line, 71, 83, 4, lineNo);
            m.XTOPO(i) = p.STAT(i);
        }
        p.NSTA = n;
        setLineEnds(p);
        m.NTOPO = n;
        m.XTOPO(n + 1) = m.XTOPO(n + 2) = 1.0E16f;
        m.XTOPO(n + 3) = m.XTOPO(n + 4) = -1.0E16f;
        m.ZTOPO(n + 1) = m.ZTOPO(n);
        m.ZTOPO(n + 2) = m.ZTOPO(n + 3) = -1.0E16f;
        m.ZTOPO(n + 4) = m.ZTOPO(1);
    }

    static void allocate(model::ProfileLine& p) {
        model::DEALLOCPF(p);
        auto& m = p.MODEL;
        const bool ok = p.STAT.allocate(kMogCapacity) && p.EAST.allocate(kMogCapacity) &&
                        p.NORT.allocate(kMogCapacity) && p.ELEV.allocate(kMogCapacity) &&
                        p.REG.allocate(kMogCapacity) && p.DAT.allocate(kMogCapacity, 1) &&
                        p.SYN.allocate(kMogCapacity, 1) && p.MASK.allocate(kMogCapacity, 1) &&
                        m.XTOPO.allocate(kMogCapacity + 4) && m.ZTOPO.allocate(kMogCapacity + 4);
        if (!ok) throw MogFailure{"CANNOT ALLOCATE PROFILE DATA"};
    }

    const std::vector<std::string>& lines_;
};

}  // namespace

void importMogFile(model::ProfileLine& profile, const ChosenFile& file, int& status) {
    status = -1;
    if (!fileExists(file.path)) {
        showInformation("FILE NOT FOUND: " + std::string(file.name.view()));
        return;
    }
    // Station lines may be up to 83 columns; longer lines are only cut here.
    const TextFile text = readTextLines(file.path, 4096);
    if (text.status != TextFile::Status::Read) {
        showInformation("CANNOT OPEN FILE.");
        return;
    }
    readMogLines(profile, text.lines, status);
}

void readMogLines(model::ProfileLine& profile, const std::vector<std::string>& lines, int& status) {
    status = -1;
    model::ProfileLine filled = profile;
    try {
        MogReader(lines).read(filled);
    } catch (const MogFailure& failure) {
        showInformation(failure.message);
        return;
    }
    profile = std::move(filled);
    status = 0;
}

void ASCIO(model::ProfileLine& profile, char mode, std::string& fileName, int& status) {
    status = -1;
    if (mode == 'W') {
        writeMogFile(profile, fileName, status);
        return;
    }
    if (mode != 'R') {
        std::printf(" \aILLEGAL OPERAND \"%c\".\n", mode);
        return;
    }
    if (fileName.find_first_not_of(' ') == std::string::npos) {
        const auto file = selectFileToRead("Kervo/Pelk-GM ASCII Data File|*.MOG|",
                                           "Kervo/Pelk-GM ASCII Data File");
        if (!file) return;
        fileName = file->path;
    }
    const ChosenFile file = chosenFile(fileName);
    if (file.name.blank()) return;
    importMogFile(profile, file, status);
}

}  // namespace files
