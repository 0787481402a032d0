#include "files/vlf_reader.h"

#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <string>

#include "base/fortran_read.h"
#include "files/column_chooser.h"
#include "files/messages.h"
#include "files/view_services.h"
#include "util/array_routines.h"

namespace files {

namespace {

constexpr std::size_t kRecordWidth = 80;

// Index at which X belongs in the ascending table A(1:N): the index of an
// equal entry, else the place to insert it (N + 1 to append).
int placeIn(const std::vector<float>& a, int n, float x, bool& equal) {
    equal = false;
    if (n == 0) return 1;
    if (x > a[static_cast<std::size_t>(n - 1)]) return n + 1;
    for (int i = 1; i <= n; ++i) {
        const float v = a[static_cast<std::size_t>(i - 1)];
        if (v == x) {
            equal = true;
            return i;
        }
        if (v > x) return i;
    }
    return n + 1;
}

void shiftTable(std::vector<float>& a, int from, int capacity) {
    util::SHIFTF(std::span<float>(a).subspan(static_cast<std::size_t>(from - 1)),
                 capacity - from + 1, 1);
}

// Opens line column K of GRID: columns K.. move one place on, K becomes missing.
void openColumn(std::vector<float>& grid, int stations, int lines, int k) {
    const auto column = static_cast<std::size_t>(stations);
    for (int c = lines; c > k; --c)
        std::copy_n(grid.begin() + static_cast<std::ptrdiff_t>((c - 2) * column), column,
                    grid.begin() + static_cast<std::ptrdiff_t>((c - 1) * column));
    std::fill_n(grid.begin() + static_cast<std::ptrdiff_t>((k - 1) * column), column,
                kMissingValue);
}

struct Stop {
    std::string message;
};

class WadReader {
  public:
    WadReader(const std::vector<std::string>& records, const ChosenFile& file)
        : records_(records), file_(file) {}

    // Reads the line blocks; false when the read was stopped by a message.
    bool read(model::ProfileLine& p, VlfTables& work) {
        try {
            readBlocks(p, work);
            return true;
        } catch (const Stop& stop) {
            showInformation(stop.message);
            return false;
        }
    }

  private:
    void readBlocks(model::ProfileLine& p, VlfTables& work) {
        bool first = true;
        while (next_ < records_.size()) {
            const std::string header = record();
            lineName_ = firstWord(header);
            lineName_.resize(10, ' ');
            bool eastWest = false;
            const float coordinate = lineCoordinate(firstWord(header), eastWest);
            if (!first && eastWest != p.LVDIR) {
                throw Stop{"CANNOT CHANGE DIRECTION OF LINES:" + std::string(kCrLf) + lineName_ +
                           " AT RECORD " + rightAligned(recordNo_, 5)};
            }
            p.LVDIR = eastWest;
            first = false;
            const float frequency = realWord(nextRecord(), "FREQUENCY ");
            const std::string countRecord = nextRecord();
            const auto count = base::readIntegerField(firstWord(countRecord));
            if (!count) badWord("NO. POINTS", firstWord(countRecord), countRecord);
            for (long long r = 0; r < *count; ++r) {
                const std::string reading = nextRecord();
                int pos = 1;
                const int n = static_cast<int>(reading.size());
                const float station = realWord(reading, "STATION # ", nextWord(reading, n, pos));
                const float inPhase = realWord(reading, "IN-PHASE  ", nextWord(reading, n, pos));
                const float quad = realWord(reading, "QUADRATURE", nextWord(reading, n, pos));
                int unused = 0;
                PUTPNT(work, coordinate, frequency, station, inPhase, quad, 0.0f, unused);
            }
        }
    }

    std::string record() {
        ++recordNo_;
        std::string r = records_[next_++];
        if (r.size() > kRecordWidth) r.resize(kRecordWidth);
        return r;
    }

    std::string nextRecord() {
        if (next_ >= records_.size())
            throw Stop{"READ ERROR OR END OF FILE" + std::string(kCrLf) + "WHILE READING LINE " +
                       lineName_};
        return record();
    }

    static std::string firstWord(const std::string& r) {
        int pos = 1;
        return nextWord(r, static_cast<int>(r.size()), pos);
    }

    float lineCoordinate(const std::string& word, bool& eastWest) {
        std::string digits = word;
        bool negative = false;
        for (char& c : digits) {
            if (c == 'S' || c == 'W') negative = true;
            if (c == 'E' || c == 'W') eastWest = true;
            if (c == 'E' || c == 'W' || c == 'N' || c == 'S') c = ' ';
        }
        const auto v = readWordValue(digits);
        if (!v) badWord("LINE NUMBR", word, records_[next_ - 1]);
        return negative ? -std::abs(*v) : *v;
    }

    float realWord(const std::string& r, const char* item) {
        return realWord(r, item, firstWord(r));
    }
    float realWord(const std::string& r, const char* item, const std::string& word) {
        const auto v = readWordValue(word);
        if (!v) badWord(item, word, r);
        return *v;
    }

    [[noreturn]] void badWord(const char* item, const std::string& word, const std::string& r) {
        const std::string crlf(kCrLf);
        std::string quoted = word;
        quoted.resize(20, ' ');
        std::string trimmed = r;
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.pop_back();
        throw Stop{"READ ERROR OR BAD DATA WHILE READING " + std::string(item) + crlf +
                   "FROM LINE " + lineName_ + ". ERROR AT RECORD " + rightAligned(recordNo_, 5) +
                   crlf + "FROM FILE " + file_.name.str() + crlf + " \"" + quoted + "\"" + crlf +
                   "\"" + trimmed + "\""};
    }

    const std::vector<std::string>& records_;
    const ChosenFile& file_;
    std::size_t next_ = 1;  // record 1 is the title
    int recordNo_ = 1;
    std::string lineName_ = std::string(10, ' ');
};

bool copyInto(model::ProfileLine& p, const VlfTables& work) {
    const int ns = work.NVSTA, nl = work.NVLIN;
    p.DTYPE = std::string_view("VLF In-Phase/Quad");
    p.SRCNAME = std::string_view("ABEM WADI");
    p.NVSTA = ns;
    p.NVLIN = nl;
    p.MVSTA = ns;
    p.MVLIN = nl;
    p.NDGRAF = 2;
    p.NLGRAF = 0;
    dataAxis(p, 1).yLabelsLeft = true;
    dataAxis(p, 1).yLabelsRight = false;
    dataAxis(p, 2).yLabelsLeft = false;
    dataAxis(p, 2).yLabelsRight = true;
    if (!(p.VINPH.allocate(ns, nl) && p.VQUAD.allocate(ns, nl) && p.VTHRD.allocate(ns, nl) &&
          p.EAST.allocate(nl) && p.VLFREQ.allocate(nl) && p.NORT.allocate(ns)))
        return false;
    for (int k = 1; k <= nl; ++k) {
        p.EAST(k) = work.EAST[static_cast<std::size_t>(k - 1)];
        p.VLFREQ(k) = work.VLFREQ[static_cast<std::size_t>(k - 1)];
        for (int j = 1; j <= ns; ++j) {
            const std::size_t at =
                static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(work.MVSTA) +
                static_cast<std::size_t>(j - 1);
            p.VINPH(j, k) = work.VINPH[at];
            p.VQUAD(j, k) = work.VQUAD[at];
            p.VTHRD(j, k) = work.VTHRD[at];
        }
    }
    for (int j = 1; j <= ns; ++j)
        p.NORT(j) = work.NORT[static_cast<std::size_t>(j - 1)];
    return true;
}

}  // namespace

bool VlfTables::allocate(int lines, int stations) {
    MVLIN = lines;
    MVSTA = stations;
    NVLIN = NVSTA = 0;
    try {
        EAST.assign(static_cast<std::size_t>(lines), 0.0f);
        VLFREQ.assign(static_cast<std::size_t>(lines), 0.0f);
        NORT.assign(static_cast<std::size_t>(stations), 0.0f);
        // The grids grow a column with each line filed: a file of a few lines
        // does not pay for a thousand.
        for (auto* g : {&VINPH, &VQUAD, &VTHRD})
            g->clear();
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void SHIFTVL(std::vector<float>& grid, int stationCapacity, int lineCount, int j, int k) {
    for (int line = 1; line <= lineCount; ++line) {
        std::span<float> column(grid.data() + static_cast<std::size_t>(line - 1) *
                                                  static_cast<std::size_t>(stationCapacity),
                                static_cast<std::size_t>(stationCapacity));
        auto rest = column.subspan(static_cast<std::size_t>(j - 1));
        util::SHIFTF(rest, stationCapacity - j + 1, k);
        util::ADDTO(rest, k, kMissingValue, 1.0E-10f);
    }
}

void PUTPNT(VlfTables& w, float line, float frequency, float station, float inPhase,
            float quadrature, float third, int& /*status*/) {
    if (line > 1.0E10f) return;
    bool equal = false;
    const int k = placeIn(w.EAST, w.NVLIN, line, equal);
    if (!equal) {
        if (w.NVLIN >= w.MVLIN) {
            showInformation("TOO MANY LINES IN DATA SET");
            return;
        }
        // The grids hold the lines in use: one more column, all missing.
        for (auto* g : {&w.VINPH, &w.VQUAD, &w.VTHRD})
            g->resize(static_cast<std::size_t>(w.NVLIN + 1) * static_cast<std::size_t>(w.MVSTA),
                      kMissingValue);
        if (k <= w.NVLIN) {
            shiftTable(w.EAST, k, w.MVLIN);
            shiftTable(w.VLFREQ, k, w.MVLIN);
            for (auto* g : {&w.VINPH, &w.VQUAD, &w.VTHRD})
                openColumn(*g, w.MVSTA, w.NVLIN + 1, k);
        }
        w.NVLIN += 1;
    }
    w.EAST[static_cast<std::size_t>(k - 1)] = line;
    w.VLFREQ[static_cast<std::size_t>(k - 1)] = frequency;

    const int j = placeIn(w.NORT, w.NVSTA, station, equal);
    if (!equal) {
        if (w.NVSTA >= w.MVSTA) {
            showInformation("TOO MANY STATIONS IN DATA SET");
            return;
        }
        if (j <= w.NVSTA) {
            shiftTable(w.NORT, j, w.MVSTA);
            for (auto* g : {&w.VINPH, &w.VQUAD, &w.VTHRD})
                SHIFTVL(*g, w.MVSTA, w.NVLIN, j, 1);
        }
        w.NVSTA += 1;
    }
    w.NORT[static_cast<std::size_t>(j - 1)] = station;
    if (inPhase < 1.0E10f) w.cell(w.VINPH, j, k) = inPhase;
    if (quadrature < 1.0E10f) w.cell(w.VQUAD, j, k) = quadrature;
    if (third < 1.0E10f) w.cell(w.VTHRD, j, k) = third;
}

void readVlfFile(model::ProfileLine& profile, const ChosenFile& file, int& status) {
    status = 0;
    const std::string quoted = "\"" + std::string(file.name.view()) + "\"";
    if (!fileExists(file.path)) {
        showInformation("FILE NOT FOUND: " + quoted);
        return;
    }
    const TextFile text = readTextLines(file.path, kImportLineLimit);
    if (text.status != TextFile::Status::Read) {
        showInformation("CANNOT OPEN FILE: " + quoted);
        return;
    }
    VlfTables work;
    if (!work.allocate(1000, 1000)) {
        status = -1;
        showInformation("Allocation error in WADIIN");
        return;
    }
    if (text.lines.empty()) return;
    profile.PNAME = std::string_view(text.lines[0]).substr(0, 20);
    WadReader reader(text.lines, file);
    if (!reader.read(profile, work)) return;
    model::ProfileLine filled = profile;
    if (!copyInto(filled, work)) {
        status = -1;
        showInformation("Allocation error in WADIIN");
        return;
    }
    profile = std::move(filled);
    rescaleData(profile);
}

void WADIIN(model::ProfileLine& profile, int& status) {
    status = 0;
    const auto file =
        selectFileToRead("ABEM WADI format data files|*.WAD|", "ABEM WADI format data file");
    if (file) readVlfFile(profile, *file, status);
}

}  // namespace files
