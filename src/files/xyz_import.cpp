#include "files/xyz_import.h"

#include <algorithm>
#include <array>
#include <string>

#include "files/column_chooser.h"
#include "files/messages.h"
#include "files/survey_line_store.h"
#include "files/view_services.h"
#include "files/view_settings.h"
#include "model/map_transforms.h"
#include "model/profile_geometry.h"
#include "model/session_state.h"

namespace files {

namespace {

bool holds(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

bool isExponentSign(const std::string& s, std::size_t i) {
    if (i < 2) return false;
    const char e = s[i - 1], m = s[i - 2];
    return (e == 'E' || e == 'D') && ((m >= '0' && m <= '9') || m == '.');
}

class XyzReader {
  public:
    XyzReader(model::ProfileDatabase& db, const ChosenFile& file, std::string_view key)
        : db_(db), file_(file), key_(key) {
        const auto& vs = viewSettings();
        cols_ = {vs.EastingColumn, vs.NorthingColumn, vs.ElevationColumn,
                 vs.PDistColumn,   vs.DataColumn,     vs.ColumnIncrement};
        maxColumn_ = *std::max_element(cols_.begin(), cols_.end());
        // The new-profile dialogs filled the next free slot: every survey
        // line of the file starts from those values.
        const int next = db_.NPROF + 1;
        if (next <= static_cast<int>(db_.PROFS.size())) head_ = db_.profile(next);
    }

    // Runs over the lines; the final status.
    int run(const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!handle(cleanImportLine(lines[i]), static_cast<int>(i + 1))) return status_;
        }
        // A file whose last survey line was already ended by a comment or a
        // text line has nothing left to end.
        if (inside_ || status_ != 0) endLine(false);
        return status_;
    }

  private:
    enum Column { East, North, Elev, Dist, Data, Sixth };

    // False when the import ends here.
    bool handle(const std::string& line, int lineNo) {
        if (isBlankLine(line)) return true;
        if (line[0] == '/' || (line.size() > 1 && line[1] == '/')) {
            if (hasData_) endLine(true);
            comment(line);
            return true;
        }
        if (!inside_) {
            if (holds(line, "LINE")) startLine(line);
            return true;
        }
        if (holds(line, "LINE")) {
            if (!endLine(false)) return false;
            startLine(line);
            return true;
        }
        const std::string record = separateMinusSigns(line);
        if (isBlankLine(record)) return true;
        return dataRecord(record, lineNo);
    }

    void comment(std::string line) {
        for (std::size_t k = 0; k < 2 && k < line.size(); ++k)
            if (line[k] == '/') line[k] = ' ';
        const int n = static_cast<int>(line.size());
        int pos = 1;
        const std::string first = nextWord(line, n, pos);
        if (holds(std::string_view(first).substr(0, 5), "UNIT")) {
            const std::string unitWord = nextWord(line, n, pos);
            unit_ =
                std::string_view(holds(std::string_view(unitWord).substr(0, 8), "F") ? "ft" : "m");
        }
        // A DATE comment carries the survey date, which nothing uses.
    }

    void startLine(const std::string& line) {
        int pos = 1;
        const int n = static_cast<int>(line.size());
        (void)nextWord(line, n, pos);
        const std::string word = nextWord(line, n, pos);
        name_ = base::FixedString<20>(word);
        const auto coordinate = readCoordinateWord(name_.trimmed());
        coordRead_ = coordinate.has_value();
        coord_ = coordinate.value_or(0.0f);
        inside_ = true;
        hasData_ = false;
        work_.clear();
    }

    bool dataRecord(const std::string& record, int lineNo) {
        const int n = static_cast<int>(record.size());
        int pos = 1;
        float value = 0.0f;
        if (LFRXYZ(record, n, pos, value)) {
            if (hasData_) endLine(true);
            return true;
        }
        std::array<float, 6> v = {0.0f, 0.0f, 0.0f, 0.0f, kMissingValue, 0.0f};
        for (int k = 1; k <= maxColumn_; ++k) {
            for (std::size_t q = 0; q < cols_.size(); ++q)
                if (cols_[q] == k) v[q] = value;
            if (LFRXYZ(record, n, pos, value)) {
                showWarning("READ ERROR OR BAD DATA IN FILE;" + std::string(file_.name.view()) +
                            " LINE:" + rightAligned(lineNo, 5));
                return false;
            }
        }
        if (coordRead_) {
            if (cols_[East] <= 0 && cols_[North] > 0) v[East] = coord_;
            if (cols_[North] <= 0 && cols_[East] > 0) v[North] = coord_;
        }
        work_.append(v[East], v[North], v[Elev], v[Dist], v[Data], v[Sixth]);
        hasData_ = true;
        return true;
    }

    // Ends the survey line: by a comment or text line (afterData), or by a
    // LINE line or the end of the file. False when the import stops.
    bool endLine(bool afterData) {
        const int n = work_.size();
        bool goOn = true;
        if (afterData) {
            if (n >= 2) store();
        } else {
            if (hasData_ && n >= 2)
                store();
            else
                showWarning("NO LINE KEYWORD EXISTS FOR INPUT DATA");
            if (n > 0) status_ = 0;
            goOn = status_ == 0;
        }
        work_.clear();
        inside_ = false;
        hasData_ = false;
        return goOn;
    }

    void store() {
        if (cols_[Dist] <= 0) model::PDISTGEN(work_.east, work_.north, work_.dist, work_.size());
        const int next = db_.NPROF + 1;
        if (next <= static_cast<int>(db_.PROFS.size())) {
            model::clearSlot(db_, next);
            static_cast<model::ProfileHeader&>(db_.profile(next)) = head_;
        }
        if (!STOREPROFILE(db_, work_, name_, key_, unit_)) return;
        db_.NPROF += 1;
        model::sessionState().CurrentProfile = db_.NPROF;
        status_ = 0;
        model::ProfileLine& p = db_.profile(db_.NPROF);
        setUpModel(p);
        model::SETGEOMETRY(p);
        rescaleData(p);
        scaleSection(sectionAxis(p, 1), p.MODEL, p);
    }

    static void setUpModel(model::ProfileLine& p) {
        model::PolygonModel& m = p.MODEL;
        p.LSYN = false;
        model::DEALLOCPG(m);
        m.NBOD = 0;
        m.NTOPO = p.NSTA;
        m.NVCAP = 10;
        m.NBCAP = 1;
        if (!model::ALLOCPG(m, 10, 1) || m.ZTOPO.size() < p.NSTA + 4) return;
        for (int i = 1; i <= p.NSTA; ++i) {
            m.XTOPO(i) = p.STAT(i);
            m.ZTOPO(i) = p.ELEV(i);
        }
        m.ZTOPO(p.NSTA + 1) = p.ELEV(p.NSTA);
        m.ZTOPO(p.NSTA + 4) = p.ELEV(1);
        p.NLGRAF = 1;
    }

    model::ProfileDatabase& db_;
    model::ProfileHeader head_;
    const ChosenFile& file_;
    std::string key_;
    std::array<int, 6> cols_{};
    int maxColumn_ = 0;
    SurveyLine work_;
    base::FixedString<20> name_;
    float coord_ = 0.0f;
    bool coordRead_ = false;
    base::FixedString<4> unit_;
    bool inside_ = false;
    bool hasData_ = false;
    int status_ = -1;
};

}  // namespace

std::string separateMinusSigns(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    const std::string in(line);
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '-' && !isExponentSign(in, i)) out += ' ';
        out += in[i];
    }
    return out;
}

void importXyzFile(model::ProfileDatabase& db, const ChosenFile& file, std::string_view key,
                   int& status) {
    status = -1;
    if (!chosenFileFound(file)) return;
    auto& vs = viewSettings();
    const int next = db.NPROF + 1;
    const int ielev =
        next >= 1 && next <= static_cast<int>(db.PROFS.size()) ? db.profile(next).IELEV : 0;
    int lineCount = 0;
    GETCOLSXYZGRAVMAGVLF({vs.EastingColumn, vs.NorthingColumn, vs.ElevationColumn, vs.PDistColumn,
                          vs.DataColumn, vs.ColumnIncrement},
                         file, key, ielev, lineCount, status);
    if (status != 0) return;
    status = -1;
    const auto lines =
        readImportLines(file, "READ ERROR ON INPUT FILE:;" + std::string(file.name.view()) +
                                  "LINE:" + rightAligned(1, 5));
    if (lines) status = readXyzLines(db, *lines, file, key);
}

int readXyzLines(model::ProfileDatabase& db, const std::vector<std::string>& lines,
                 const ChosenFile& file, std::string_view key) {
    XyzReader reader(db, file, key);
    return reader.run(lines);
}

void XYZINGRAVMAGVLF(model::ProfileDatabase& db, int& status, std::string_view key) {
    status = -1;
    const auto file =
        selectFileToRead("ASCII XYZ-Format Data File|*.XYZ|", "ASCII XYZ-Format Data File");
    if (file) importXyzFile(db, *file, key, status);
}

}  // namespace files
