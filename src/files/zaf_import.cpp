#include "files/zaf_import.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "files/messages.h"
#include "files/survey_line_store.h"
#include "files/view_services.h"
#include "files/view_settings.h"
#include "files/zaf_records.h"
#include "model/body_area.h"
#include "model/body_nesting.h"

namespace files {

namespace {

constexpr int kVER5 = 5, kVER6 = 6, kVER7 = 7, kVER8 = 8;
constexpr int kVERA = zafVer('A'), kVERC = zafVer('C'), kVERD = zafVer('D');
constexpr int kVERE = zafVer('E'), kVERF = zafVer('F'), kVERG = zafVer('G');

struct KeyRow {
    std::string_view key, dtype, unit;
};

constexpr KeyRow kKeys[] = {
    {"GRAV", "Gravity Data", "mgal"},        {"MAGN", "Magnetics Data", "nT"},
    {"MAGV", "Magnetics Vert Grad", "nT/m"}, {"MAGX", "Magnetics X-Comp.", "nT"},
    {"MAGY", "Magnetics Y-Ccomp", "nT"},     {"MAGZ", "Magnetics Z-Comp", "nT"},
    {"MAGP", "Magnetics X-V Grad", "nT"},    {"MAGQ", "Magnetics Y-V Grad", "nT"},
    {"MAGR", "Magnetics Z-V Grad", "nT"},
};

std::string versionWarning(const base::FixedString<256>& name) {
    const std::string crlf(kCrLf);
    return "The file is not in the current Kervo format:" + crlf + std::string(name.view()) + crlf +
           crlf + "Update an old-version Kervo data file with" + crlf +
           "the Varendal conversion tool.";
}

void capacityWarnings(const base::FixedString<256>& name, int count, int limit,
                      std::string_view what) {
    std::string text = "Cannot read file:  " + std::string(name.view().substr(0, 16)) + ";;" +
                       "File contains         " + rightAligned(count, 5) + std::string(what) +
                       "Program can only read " + rightAligned(limit, 5) + std::string(what);
    text.resize(128, ' ');
    showWarning(text);
    std::string second = "Large files of one Kervo edition;cannot be read by its other editions.";
    second.resize(70, ' ');
    showWarning(second);
}

// Thrown inside the reader when the file ends early or holds an impossible
// count; caught once, where the message is shown.
struct ShortRead {};
// Thrown after a refusal whose message has been shown already.
struct Refused {};

class ZafReader {
  public:
    ZafReader(std::span<const std::uint8_t> bytes, const ChosenFile& file)
        : in_(bytes), size_(bytes.size()), file_(file) {}

    // Reads the whole file into P; false after a message.
    bool read(model::ProfileLine& p, util::AxisRecord& mapAxis) {
        try {
            readAll(p, mapAxis);
            return true;
        } catch (const ShortRead&) {
            showInformation("READ ERROR IN BINARY FILE AT BYTE " + rightAligned(offset_, 8) +
                            std::string(kCrLf) + "while reading " + label_);
        } catch (const Refused&) {
        }
        return false;
    }

  private:
    // Makes sure N more bytes are there before anything is sized from a count.
    void need(std::size_t n) {
        if (in_.remaining() < n) {
            offset_ = static_cast<long long>(size_);
            throw ShortRead{};
        }
    }
    void check() {
        if (!in_.ok()) {
            offset_ = static_cast<long long>(size_);
            throw ShortRead{};
        }
    }
    void checkRecord(int ierr) {
        if (ierr != 0) {
            offset_ = static_cast<long long>(in_.ok() ? in_.position() : size_);
            throw ShortRead{};
        }
    }
    float real() {
        need(4);
        return in_.f32();
    }
    int int2() {
        need(2);
        return in_.i16();
    }
    bool flag() {
        need(1);
        return (in_.bytes(1)[0] & 1) != 0;
    }
    void skip(std::size_t n) {
        need(n);
        in_.skip(n);
    }
    // Heights and depths in the file are positive upwards, as in the
    // program: they are taken as they stand.
    void reals(model::RealArray& a, int from, int count) {
        need(static_cast<std::size_t>(count) * 4);
        for (int i = from; i < from + count; ++i)
            a(i) = in_.f32();
    }

    void readAll(model::ProfileLine& p, util::AxisRecord& mapAxis) {
        readHeader(p);
        readModel(p.MODEL);
        readLabels(p.LABELS);
        readStations(p);
        readRegionalAndAxes(p, mapAxis);
        finish(p);
    }

    void readHeader(model::ProfileLine& p) {
        label_ = "CTAG    ";
        need(4);
        const std::string tag = in_.text(4);
        version_ = zafVersion(tag);
        if (version_ == 0) {
            showWarning(versionWarning(file_.name));
            throw Refused{};
        }
        label_ = "IMDPT2  ";
        need(4);
        (void)in_.i32();
        label_ = "CLIENT  ";
        need(151);
        auto& h = siblingHeader();
        h.clientText[0] = in_.text(30);
        h.clientText[1] = in_.text(30);
        h.clientText[2] = in_.text(30);
        h.clientShort = in_.text(5);
        h.clientText[3] = in_.text(30);
        h.clientLong = in_.text(10);
        p.XUNIT = in_.text(8);
        p.ZUNIT = in_.text(8);

        label_ = "LWENT   ";
        const std::array<int, 6> flagSlots = {1, 2, 3, 6, 7, 8};
        for (int slot : flagSlots)
            h.setFlag(slot, flag());
        const bool measured = h.flag(3), fromSeaLevel = h.flag(7);
        p.IELEV = measured ? (fromSeaLevel ? 4 : 3) : 1;

        int ierr = 0;
        REDGEO(in_, version_, ierr);
        checkRecord(ierr);
        REDWIN(in_, version_, false, ierr);
        checkRecord(ierr);
        (void)real();
        p.RMSERR = real();
        (void)real();
        p.RMSERR2 = real();
        auto& m = p.MODEL;
        m.DBKG = real();
        m.BKXT1 = real();
        m.BKXT2 = real();
        m.BKRAT = real();
        m.BKDEC = real();
        m.BKINC = real();
    }

    void readModel(model::PolygonModel& m) {
        const int nb = int2();
        if (nb < 0) brokenAt(0);
        std::vector<float> props(static_cast<std::size_t>(nb) * 6);
        std::vector<int> ranges(static_cast<std::size_t>(nb) * 3);
        std::vector<char> layer(static_cast<std::size_t>(nb));
        need(static_cast<std::size_t>(nb) * (6 * 4 + 3 * 2 + 1));
        for (auto& v : props)
            v = in_.f32();
        for (auto& v : ranges)
            v = in_.i16();
        for (std::size_t b = 0; b < layer.size(); ++b)
            layer[b] = static_cast<char>(in_.bytes(1)[0] & 1);
        const auto at = [nb](int kind, int b) {
            return static_cast<std::size_t>(kind) * static_cast<std::size_t>(nb) +
                   static_cast<std::size_t>(b - 1);
        };
        const int nv = nb > 0 ? ranges[at(1, nb)] : 0;
        if (nv > kZafVertexLimit) {
            capacityWarnings(file_.name, nv, kZafVertexLimit, " vertices.;;");
            throw Refused{};
        }
        // Every body's run must lie within the vertex list, one after another.
        int expected = 1;
        for (int b = 1; b <= nb; ++b) {
            const int v1 = ranges[at(0, b)], v2 = ranges[at(1, b)];
            if (v1 != expected || v2 < v1) brokenAt(in_.position());
            expected = v2 + 1;
        }
        need(static_cast<std::size_t>(nv) * (4 + 4 + 2 + 1 + 1) + static_cast<std::size_t>(nb));

        model::DEALLOCPG(m);
        m.NBOD = nb;
        m.NVCAP = nv;
        m.NBCAP = nb;
        if (!model::ALLOCPG(m, nv, nb)) brokenAt(in_.position());
        for (int b = 1; b <= nb; ++b) {
            m.DENS(b) = props[at(0, b)];
            m.XTENT1(b) = props[at(1, b)];
            m.XTENT2(b) = props[at(2, b)];
            m.REMS(b) = props[at(3, b)];
            m.DECS(b) = props[at(4, b)];
            m.DIPS(b) = props[at(5, b)];
            m.IV1(b) = ranges[at(0, b)];
            m.IV2(b) = ranges[at(1, b)];
            m.ILEVL(b) = ranges[at(2, b)];
            m.INCLBD(b) = 0;
            m.LAYER(b) = layer[static_cast<std::size_t>(b - 1)] != 0;
        }
        if (version_ <= kVER8) convertOldProperties(m);
        reals(m.XVRT, 1, nv);
        reals(m.ZVRT, 1, nv);
        for (int i = 1; i <= nv; ++i) {
            const int leader = in_.i16();
            if (leader < 1 || leader > nv) brokenAt(in_.position());
            m.IPOINT(i) = leader;
        }
        for (int i = 1; i <= nv; ++i)
            m.LXFIX(i) = (in_.bytes(1)[0] & 1) != 0;
        for (int i = 1; i <= nv; ++i)
            m.LZFIX(i) = (in_.bytes(1)[0] & 1) != 0;
        // One free flag per body; the background's property stays fixed.
        m.LVFIX(0) = false;
        for (int b = 1; b <= nb; ++b)
            m.LVFIX(b) = (in_.bytes(1)[0] & 1) != 0;
        check();
    }

    // Older files store the strike extents the other way round and the
    // remanence as a magnetisation rather than a ratio to the property.
    static void convertOldProperties(model::PolygonModel& m) {
        for (int b = 1; b <= m.NBOD; ++b) {
            std::swap(m.XTENT1(b), m.XTENT2(b));
            if (std::fabs(m.DENS(b)) > 1.0E-10f) m.REMS(b) = m.REMS(b) / m.DENS(b);
        }
        if (std::fabs(m.DBKG) > 1.0E-10f) m.BKRAT = m.BKRAT / m.DBKG;
    }

    void readLabels(model::LabelSet& labels) {
        const int nlab = int2();
        if (nlab < 0) brokenAt(in_.position());
        if (nlab == 0) return;
        const std::size_t count = static_cast<std::size_t>(nlab);
        need(count * (20 + 5 * 4) + (version_ >= kVERE ? count * 6 : 0));
        // The profile keeps the first labels it has room for.
        const int kept = std::min(nlab, model::kLabelLimit);
        labels.NLAB = kept;
        for (int i = 0; i < nlab; ++i) {
            const std::string text = in_.text(20);
            if (i < kept) labels.CMODL[static_cast<std::size_t>(i)] = text;
        }
        auto group = [&](std::array<float, model::kLabelLimit>& a) {
            for (int i = 0; i < nlab; ++i) {
                const float v = in_.f32();
                if (i < kept) a[static_cast<std::size_t>(i)] = v;
            }
        };
        group(labels.XARRO);
        group(labels.YARRO);
        group(labels.XCLAB);
        group(labels.YCLAB);
        group(labels.HILAB);
        if (version_ >= kVERE) {
            group(labels.WDLAB);
            in_.skip(count * 2);
        } else {
            for (std::size_t i = 0; i < static_cast<std::size_t>(kept); ++i)
                labels.WDLAB[i] =
                    0.65f * labels.HILAB[i] * static_cast<float>(labels.CMODL[i].length());
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(kept); ++i) {
            labels.IWINDOW[i] = 3;
            labels.IPARAM[i] = 0;
        }
        check();
    }

    void readStations(model::ProfileLine& p) {
        const int ns = int2();
        if (ns > kZafStationLimit) {
            capacityWarnings(file_.name, ns, kZafStationLimit, " data points.;;");
            throw Refused{};
        }
        if (ns < 0) brokenAt(in_.position());
        ns_ = ns;
        const std::size_t n = static_cast<std::size_t>(ns);
        need((version_ == kVERG ? 4 : 0) + (n + 4) * 4 + n * 8 + 12 + (n + 4) * 8);
        model::DEALLOCPF(p);
        auto& m = p.MODEL;
        if (!(p.STAT.allocate(ns + 4) && p.ELEV.allocate(ns + 4) && m.XTOPO.allocate(ns + 4) &&
              m.ZTOPO.allocate(ns + 4) && p.EAST.allocate(ns) && p.NORT.allocate(ns) &&
              p.REG.allocate(ns) && p.DAT.allocate(ns, 1) && p.SYN.allocate(ns, 1) &&
              p.MASK.allocate(ns, 1)))
            brokenAt(in_.position());
        p.NSTA = ns;
        p.NDGRAF = 1;
        if (version_ == kVERG) in_.skip(4);
        reals(p.STAT, 1, ns + 4);
        for (int i = 1; i <= ns; ++i)
            p.DAT(i, 1) = in_.f32();
        for (int i = 1; i <= ns; ++i)
            p.SYN(i, 1) = in_.f32();
        if (version_ < kVER7 && ns >= 1) m.SGEO[0] = (p.STAT(1) + p.STAT(ns)) * 0.5f;

        const std::string key = in_.text(4);
        in_.skip(8);
        p.DUNIT[1] = std::string_view();
        p.NCOMP = 1;
        p.NDGRAF = 1;
        p.NLGRAF = 1;
        setDataType(p, key);
        dataAxis(p, 1).xLabelsBelow = true;
        dataAxis(p, 1).yLabelsLeft = true;
        dataAxis(p, 1).yLabelsRight = false;
        dataAxis(p, 2).xLabelsBelow = true;
        dataAxis(p, 2).yLabelsLeft = false;
        dataAxis(p, 2).yLabelsRight = false;
        sectionAxis(p, 1).xLabelsBelow = false;
        sectionAxis(p, 1).yLabelsLeft = true;
        sectionAxis(p, 1).yLabelsRight = false;
        sectionAxis(p, 2).xLabelsBelow = false;
        sectionAxis(p, 2).yLabelsLeft = false;
        sectionAxis(p, 2).yLabelsRight = false;
        reals(m.ZTOPO, 1, ns + 4);
        reals(p.ELEV, 1, ns + 4);
        check();
    }

    static void setDataType(model::ProfileLine& p, const std::string& key) {
        for (const auto& row : kKeys) {
            if (row.key == key) {
                p.DTYPE = row.dtype;
                p.DUNIT[0] = row.unit;
                return;
            }
        }
        showWarning("Unknown case selection in SUBROUTINE ZafImport: " + key);
    }

    void readRegionalAndAxes(model::ProfileLine& p, util::AxisRecord& mapAxis) {
        for (auto& x : p.XREG)
            x = real();
        for (auto& y : p.YREG)
            y = real();
        const std::size_t block = version_ == 2       ? 800
                                  : version_ <= kVER7 ? 4000
                                                      : static_cast<std::size_t>(ns_) * 4;
        skip(block);
        p.NREG = int2();

        bool noAxis = false;
        int ierr = 0;
        REDAXS(in_, version_, noAxis, ierr, mapAxis);
        checkRecord(ierr);
        auto& data = dataAxis(p, 1);
        auto& section = sectionAxis(p, 1);
        data.originX = 1.25f;
        data.originY = 1.25f;
        section.originX = 1.25f;
        section.originY = 4.25f;
        if (version_ >= kVERA) applyAxisSlots(data, section);

        if (version_ >= kVER5 && version_ <= kVER7) skip(201);
        auto& m = p.MODEL;
        for (int b = 1; b <= m.NBOD; ++b)
            m.LHIDE(b) = false;
        if (version_ >= kVER6) {
            reals(p.EAST, 1, ns_);
            reals(p.NORT, 1, ns_);
        } else {
            for (int i = 1; i <= ns_; ++i) {
                p.EAST(i) = p.STAT(i);
                p.NORT(i) = 0.0f;
            }
        }
    }

    // Slot 1 is the profile distance, 3 the section's depth, 4 the data. A
    // slot without divisions leaves the division length as it was.
    static void applyAxisSlots(util::AxisRecord& data, util::AxisRecord& section) {
        const auto& a = siblingHeader().axis;
        for (auto* axis : {&data, &section}) {
            axis->startX = a.start[0];
            axis->stepX = a.step[0];
            axis->divCountX = a.divisions[0];
            axis->firstDecadeX = a.decade[0];
            if (a.divisions[0] > 0) axis->divLengthX = 8.5f / a.divisions[0];
        }
        auto setY = [&](util::AxisRecord& axis, std::size_t slot) {
            axis.startY = a.start[slot];
            axis.stepY = a.step[slot];
            axis.divCountY = a.divisions[slot];
            axis.firstDecadeY = a.decade[slot];
            if (a.divisions[slot] > 0) axis.divLengthY = 3.0f / a.divisions[slot];
        };
        setY(data, 3);
        setY(section, 2);
    }

    void finish(model::ProfileLine& p) {
        auto& h = siblingHeader();
        FIXGEO(version_, p);
        applyGeometry(p, version_);
        setLineEnds(p);
        p.LSYN = h.flag(1);
        auto& m = p.MODEL;
        for (int i = 1; i <= ns_; ++i)
            m.XTOPO(i) = p.STAT(i);
        m.XTOPO(ns_ + 1) = m.XTOPO(ns_ + 2) = 1.0E15f;
        m.XTOPO(ns_ + 3) = m.XTOPO(ns_ + 4) = -1.0E15f;
        m.NTOPO = ns_;

        int ierr = 0;
        REDXTR(in_, version_, ierr);
        checkRecord(ierr);
        if (version_ >= kVERC) skip(53);
        if (version_ >= kVERD) {
            const int units = int2();
            p.ISUSUN = units;
            p.IDENUN = units;
            h.setFlag(5, flag());
            skip(9);
        }
        if (version_ >= kVERF) {
            label_ = "LMASKF  ";
            need(static_cast<std::size_t>(ns_));
            for (int i = 1; i <= ns_; ++i)
                p.MASK(i, 1) = (in_.bytes(1)[0] & 1) != 0;
        }
        if (version_ < kVERA) {
            rescaleData(p);
            scaleSection(sectionAxis(p, 1), p.MODEL, p);
        }
        h.setFlag(4, true);
    }

    // The geometry as the version rules left it.
    static void applyGeometry(model::ProfileLine& p, int version) {
        const auto& g = siblingHeader().geometry;
        auto& m = p.MODEL;
        p.FIELD = g.field;
        p.FINCL = g.inclination;
        p.FDECL = g.declination;
        m.AZIM = g.azimuth;
        m.TIEPRF = g.tieDistance;
        m.TIEEAS = g.tieEasting;
        m.TIENOR = g.tieNorthing;
        m.STRIKE = g.strike;
        m.BASELN = g.baseline;
        m.GRIDROT = g.gridRotation;
        // Older files had the value computed from the stations instead.
        if (version >= kVER7) m.SGEO[0] = g.sgeo1;
    }

    [[noreturn]] void brokenAt(std::size_t at) {
        offset_ = static_cast<long long>(at);
        throw ShortRead{};
    }

    base::ByteReader in_;
    std::size_t size_;
    const ChosenFile& file_;
    std::string label_ = "CTAG    ";
    long long offset_ = 0;
    int version_ = 0;
    int ns_ = 0;
};

}  // namespace

void importZafFile(model::ProfileLine& profile, util::AxisRecord& mapAxis, const ChosenFile& file,
                   int& status) {
    status = -1;
    if (!fileExists(file.path)) {
        showInformation(std::string(file.name.view()) + " NOT FOUND.");
        return;
    }
    base::ByteBuffer bytes;
    if (!base::readFile(file.path, bytes)) {
        showInformation("CANNOT OPEN FILE: " + std::string(file.name.view()));
        return;
    }
    readZafBytes(profile, mapAxis, bytes, file, status);
}

void readZafBytes(model::ProfileLine& profile, util::AxisRecord& mapAxis,
                  std::span<const std::uint8_t> bytes, const ChosenFile& file, int& status) {
    status = -1;
    // Read into copies, so that a refused or broken file changes nothing.
    model::ProfileLine filled = profile;
    util::AxisRecord axis = mapAxis;
    filled.PNAME = profileNameOf(file.name);
    ZafReader reader(bytes, file);
    if (!reader.read(filled, axis)) return;
    bool changed = false;
    model::BOLEVL(filled.MODEL, changed);
    model::FDAREA(filled.MODEL);
    profile = std::move(filled);
    mapAxis = axis;
    // The imported profile is shown with its model and its data.
    viewSettings().LSHOWMODEL = true;
    viewSettings().LSHOWDATA = true;
    status = 0;
}

void ZAFIMPORT(model::ProfileLine& profile, util::AxisRecord& mapAxis, int& status) {
    status = -1;
    const auto file = selectFileToRead("Kervo File|*.ZAF|", "Kervo File");
    if (file) importZafFile(profile, mapAxis, *file, status);
}

}  // namespace files
