#include "files/profile_block.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstring>
#include <functional>
#include <iterator>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

#include "files/messages.h"
#include "model/model_header_layout.h"
#include "model/profile_header_layout.h"
#include "util/axis_record.h"

namespace files {

namespace {

using model::Array2;
using model::Logical;
using model::LogicalArray;
using model::RealArray;

constexpr std::size_t kWord = 4;
constexpr std::size_t kLabelText = 50;
constexpr int kAxesPerKind = 2;

// ---------------------------------------------------------------- writing

// The first n entries of an array, zero where the array holds fewer.
template <typename T, std::ptrdiff_t L>
std::vector<T> firstEntries(const model::Array<T, L>& a, std::ptrdiff_t from, std::ptrdiff_t n) {
    std::vector<T> v(static_cast<std::size_t>(std::max<std::ptrdiff_t>(n, 0)));
    for (std::ptrdiff_t i = 0; i < n; ++i)
        if (a.has(from + i)) v[static_cast<std::size_t>(i)] = a(from + i);
    return v;
}

template <typename T>
std::vector<T> componentsOf(const Array2<T>& a, int nsta, int ncomp) {
    std::vector<T> v;
    for (int k = 1; k <= ncomp; ++k)
        for (int i = 1; i <= nsta; ++i)
            v.push_back(a.has(i, k) ? a(i, k) : T{});
    return v;
}

void put(base::ByteWriter& w, float v) {
    w.f32(v);
}
void put(base::ByteWriter& w, int v) {
    w.i32(v);
}
void put(base::ByteWriter& w, Logical v) {
    w.logical(v);
}

template <typename T>
void writeValues(base::ByteWriter& out, std::string_view keyword, const std::vector<T>& values,
                 std::int32_t index = 0) {
    writeSectionHeader(out, keyword, index, values.size() * kWord);
    for (const T& v : values)
        put(out, v);
}

template <typename T, std::size_t N>
std::vector<T> firstLabels(const std::array<T, N>& a, int n) {
    return std::vector<T>(a.begin(), a.begin() + n);
}

void writeStations(base::ByteWriter& out, const model::ProfileLine& p) {
    const int nsta = std::max(p.NSTA, 0);
    const int ncomp = std::max(p.NCOMP, 0);
    writeValues(out, "PLINEAST", firstEntries(p.EAST, 1, nsta));
    writeValues(out, "PLINNORT", firstEntries(p.NORT, 1, nsta));
    writeValues(out, "PLINSTAT", firstEntries(p.STAT, 1, nsta));
    writeValues(out, "PLINELEV", firstEntries(p.ELEV, 1, nsta));
    writeValues(out, "PLINDAT ", componentsOf(p.DAT, nsta, ncomp));
    writeValues(out, "PLINMASK", componentsOf(p.MASK, nsta, ncomp));
    if (p.LSYN) writeValues(out, "PLINSYN ", componentsOf(p.SYN, nsta, ncomp));
    // A stored regional field travels whether or not the synthetics are valid.
    if ((p.LSYN && p.NREG >= 1) || p.NREG > 5)
        writeValues(out, "PCREG   ", firstEntries(p.REG, 1, nsta));
}

void writeAxes(base::ByteWriter& out, const model::ProfileLine& p) {
    constexpr std::string_view kinds[] = {"PFLSAXIS", "PFLMAXIS", "PFLEAXIS"};
    for (std::size_t k = 0; k < model::kAxisCount; ++k) {
        writeSectionHeader(out, kinds[k / kAxesPerKind],
                           static_cast<std::int32_t>(k % kAxesPerKind + 1), util::kAxisRecordSize);
        util::writeAxisRecord(out, p.AXES[k]);
    }
}

void writeModel(base::ByteWriter& out, const model::PolygonModel& m) {
    writeSectionHeader(out, "MODLHEAD", 0, model::kModelHeaderSize);
    model::writeModelHeader(out, m);
    const int nb = std::max(m.NBOD, 0);
    if (nb >= 1) {
        const int nv = m.vertexCount();
        writeValues(out, "DENS    ", firstEntries(m.DENS, 1, nb));
        writeValues(out, "REMS    ", firstEntries(m.REMS, 1, nb));
        writeValues(out, "DIPS    ", firstEntries(m.DIPS, 1, nb));
        writeValues(out, "DECS    ", firstEntries(m.DECS, 1, nb));
        writeValues(out, "XTENT1  ", firstEntries(m.XTENT1, 1, nb));
        writeValues(out, "XTENT2  ", firstEntries(m.XTENT2, 1, nb));
        writeValues(out, "AREAS   ", firstEntries(m.AREAS, 1, nb));
        writeValues(out, "XPIVOT  ", firstEntries(m.XPIVOT, 1, nb));
        writeValues(out, "ZPIVOT  ", firstEntries(m.ZPIVOT, 1, nb));
        writeValues(out, "IV1     ", firstEntries(m.IV1, 1, nb));
        writeValues(out, "IV2     ", firstEntries(m.IV2, 1, nb));
        writeValues(out, "ILEVL   ", firstEntries(m.ILEVL, 1, nb));
        writeValues(out, "INCLBD  ", firstEntries(m.INCLBD, 1, nb));
        writeValues(out, "LVFIX   ", firstEntries(m.LVFIX, 0, nb + 1));
        writeValues(out, "LAYER   ", firstEntries(m.LAYER, 1, nb));
        writeValues(out, "XVRT    ", firstEntries(m.XVRT, 1, nv));
        writeValues(out, "ZVRT    ", firstEntries(m.ZVRT, 1, nv));
        writeValues(out, "LXFIX   ", firstEntries(m.LXFIX, 1, nv));
        writeValues(out, "LZFIX   ", firstEntries(m.LZFIX, 1, nv));
        writeValues(out, "IPOINT  ", firstEntries(m.IPOINT, 1, nv));
    }
    if (m.NTOPO >= 1) {
        writeValues(out, "XTOPO   ", firstEntries(m.XTOPO, 1, m.NTOPO + 4));
        writeValues(out, "ZTOPO   ", firstEntries(m.ZTOPO, 1, m.NTOPO + 4));
    }
}

void writeLabels(base::ByteWriter& out, const model::LabelSet& l) {
    const int n = std::clamp(l.NLAB, 0, model::kLabelLimit);
    if (n < 1) return;
    writeSectionHeader(out, "CMODL   ", 0, kLabelText * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.text(l.CMODL[static_cast<std::size_t>(i)]);
    writeValues(out, "XCLAB   ", firstLabels(l.XCLAB, n));
    writeValues(out, "YCLAB   ", firstLabels(l.YCLAB, n));
    writeValues(out, "WDLAB   ", firstLabels(l.WDLAB, n));
    writeValues(out, "HILAB   ", firstLabels(l.HILAB, n));
    writeValues(out, "XARRO   ", firstLabels(l.XARRO, n));
    writeValues(out, "YARRO   ", firstLabels(l.YARRO, n));
    writeValues(out, "IWINDOW ", firstLabels(l.IWINDOW, n));
    writeValues(out, "IPARAM  ", firstLabels(l.IPARAM, n));
}

}  // namespace

void WRITEPFLINE(base::ByteWriter& out, const model::ProfileLine& profile) {
    writeSectionHeader(out, "PFLHEAD ", 0, model::kProfileHeaderSize);
    model::writeProfileHeader(out, profile);
    writeStations(out, profile);
    writeAxes(out, profile);
    writeModel(out, profile.MODEL);
    writeLabels(out, profile.LABELS);
    writeSectionHeader(out, "ENDPLINE", 0, 0);
}

// ---------------------------------------------------------------- reading

namespace {

Logical logicalOf(std::span<const std::uint8_t> b) {
    return (b[0] & 1) != 0;
}
// Array words are decoded in place: a reader per word made loading a large
// survey cost twice what it needs.
float realOf(std::span<const std::uint8_t> b) {
    return std::bit_cast<float>(base::word32(b.data()));
}
int integerOf(std::span<const std::uint8_t> b) {
    return static_cast<std::int32_t>(base::word32(b.data()));
}
void decode(std::span<const std::uint8_t> b, float& v) {
    v = realOf(b);
}
void decode(std::span<const std::uint8_t> b, int& v) {
    v = integerOf(b);
}
void decode(std::span<const std::uint8_t> b, Logical& v) {
    v = logicalOf(b);
}

// Fills the front of `values` from whole 4-byte words of `bytes`.
template <typename T>
void fillFront(std::span<const std::uint8_t> bytes, T* values, std::size_t count) {
    std::size_t n = std::min(count, bytes.size() / kWord);
    for (std::size_t i = 0; i < n; ++i)
        decode(bytes.subspan(i * kWord, kWord), values[i]);
}

// The values of consecutive 4-byte words, so that a vector can be built from
// them in one pass, each entry written once.
template <typename T>
class WordValues {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = T;

    WordValues() = default;
    explicit WordValues(const std::uint8_t* at) : at_(at) {}
    T operator*() const {
        T v;
        decode(std::span<const std::uint8_t>(at_, kWord), v);
        return v;
    }
    WordValues& operator++() {
        at_ += kWord;
        return *this;
    }
    WordValues operator++(int) {
        WordValues was = *this;
        ++*this;
        return was;
    }
    bool operator==(const WordValues&) const = default;

  private:
    const std::uint8_t* at_ = nullptr;
};

// `count` entries: the front from whole words of `bytes`, the rest zero.
template <typename T>
std::vector<T> entriesFrom(std::span<const std::uint8_t> bytes, std::size_t count) {
    const std::size_t n = std::min(count, bytes.size() / kWord);
    std::vector<T> v;
    v.reserve(count);
    v.assign(WordValues<T>(bytes.data()), WordValues<T>(bytes.data() + n * kWord));
    v.resize(count);
    return v;
}

// The shape of a station array for n stations of m components.
std::size_t entryCount(const RealArray&, int n, int) {
    return static_cast<std::size_t>(n);
}
template <typename T>
std::size_t entryCount(const Array2<T>&, int n, int m) {
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(m);
}
void adoptEntries(RealArray& a, std::vector<float>&& v, int, int) {
    a.adopt(std::move(v));
}
template <typename T>
void adoptEntries(Array2<T>& a, std::vector<T>&& v, int n, int m) {
    a.adopt(n, m, std::move(v));
}
bool allocateZeros(RealArray& a, int n, int) {
    return a.allocate(n);
}
template <typename T>
bool allocateZeros(Array2<T>& a, int n, int m) {
    return a.allocate(n, m);
}

// The station arrays of a profile, in the order they are filed.
enum Station { kEast, kNort, kStat, kElev, kDat, kMask, kSyn, kReg, kStationArrays };

enum class Result { Done, Failed };

class BlockReader {
  public:
    BlockReader(SectionReader& in, model::ProfileLine& p, ProfileReadState& state)
        : in_(in), p_(p), m_(p.MODEL), state_(state) {}

    int run();

  private:
    bool section(const SectionHeader& h, Result& result);
    Result profileHead(const SectionHeader& h);
    Result modelHead(const SectionHeader& h);
    Result vertexRanges(const SectionHeader& h);
    Result axis(const SectionHeader& h, std::size_t firstAxis);
    Result labelTexts(const SectionHeader& h);
    Result endOfBlock(const SectionHeader& h);
    template <typename A>
    Result stations(const SectionHeader& h, A& a, Station which);
    Result settleStations();
    template <typename F>
    void forEachStationArray(F&& f);
    bool buildTopographyFromStations();
    bool modelFitsItsArrays() const;

    template <typename T>
    Result into(const SectionHeader& h, T* values, std::size_t count) {
        std::span<const std::uint8_t> bytes;
        if (!in_.payload(h, count * kWord, bytes)) return readError();
        fillFront(bytes, values, count);
        return Result::Done;
    }
    template <typename T, std::ptrdiff_t L>
    Result into(const SectionHeader& h, model::Array<T, L>& a) {
        return into(h, a.values().data(), a.values().size());
    }
    template <typename T>
    Result into(const SectionHeader& h, Array2<T>& a) {
        return into(h, a.values().data(), a.values().size());
    }
    template <typename T, std::size_t N>
    Result into(const SectionHeader& h, std::array<T, N>& a) {
        return into(h, a.data(), N);
    }
    Result skip(const SectionHeader& h) { return in_.skip(h) ? Result::Done : readError(); }
    Result readError() {
        showInformation(readErrorMessage(in_.position(), in_.keyword()));
        return Result::Failed;
    }
    Result allocationError() {
        showInformation(allocationErrorMessage(in_.position(), in_.keyword()));
        return Result::Failed;
    }
    // A count read from the file that more than the rest of the file would
    // have to follow cannot be right.
    bool plausible(long long count) const {
        return count >= 0 && static_cast<unsigned long long>(count) <= in_.remaining() / kWord;
    }

    SectionReader& in_;
    model::ProfileLine& p_;
    model::PolygonModel& m_;
    ProfileReadState& state_;
    bool topographyDelivered_ = false;
    bool endOfFile_ = false;
    // Station arrays the head announced that no section has brought yet.
    std::bitset<kStationArrays> owed_;
};

int BlockReader::run() {
    for (;;) {
        SectionHeader h;
        if (!in_.next(h)) {
            readError();
            return -1;
        }
        Result result = Result::Done;
        bool recognised = section(h, result);
        if (result == Result::Failed) return -1;
        if (endOfFile_) return 1;
        if (recognised) state_.lastSection = h.keyword;
        if (h.keyword == "ENDPLINE") return 0;
    }
}

// Handles one section; answers whether it was recognised (and not skipped
// as a newer version).
bool BlockReader::section(const SectionHeader& h, Result& result) {
    const std::string_view k = h.keyword.view();
    model::LabelSet& l = p_.LABELS;
    struct Named {
        std::string_view keyword;
        std::function<Result()> read;
    };
    const Named sections[] = {
        {"PLINEAST", [&] { return stations(h, p_.EAST, kEast); }},
        {"PLINNORT", [&] { return stations(h, p_.NORT, kNort); }},
        {"PLINSTAT", [&] { return stations(h, p_.STAT, kStat); }},
        {"PLINELEV", [&] { return stations(h, p_.ELEV, kElev); }},
        {"PLINDAT ", [&] { return stations(h, p_.DAT, kDat); }},
        {"PLINMASK", [&] { return stations(h, p_.MASK, kMask); }},
        {"PLINSYN ", [&] { return stations(h, p_.SYN, kSyn); }},
        {"PCREG   ", [&] { return stations(h, p_.REG, kReg); }},
        {"PSEUAXIS", [&] { return skip(h); }},
        {"K_CALC  ", [&] { return skip(h); }},
        {"DBKG    ", [&] { return into(h, &m_.DBKG, 1); }},
        {"DENS    ", [&] { return into(h, m_.DENS); }},
        {"REMS    ", [&] { return into(h, m_.REMS); }},
        {"DIPS    ", [&] { return into(h, m_.DIPS); }},
        {"DECS    ", [&] { return into(h, m_.DECS); }},
        {"XTENT1  ", [&] { return into(h, m_.XTENT1); }},
        {"XTENT2  ", [&] { return into(h, m_.XTENT2); }},
        {"AREAS   ", [&] { return into(h, m_.AREAS); }},
        {"XPIVOT  ", [&] { return into(h, m_.XPIVOT); }},
        {"ZPIVOT  ", [&] { return into(h, m_.ZPIVOT); }},
        {"IV1     ", [&] { return into(h, m_.IV1); }},
        {"ILEVL   ", [&] { return into(h, m_.ILEVL); }},
        {"INCLBD  ", [&] { return into(h, m_.INCLBD); }},
        {"LAYER   ", [&] { return into(h, m_.LAYER); }},
        {"LVFIX   ", [&] { return into(h, m_.LVFIX); }},
        {"XVRT    ", [&] { return into(h, m_.XVRT); }},
        {"ZVRT    ", [&] { return into(h, m_.ZVRT); }},
        {"LXFIX   ", [&] { return into(h, m_.LXFIX); }},
        {"LZFIX   ", [&] { return into(h, m_.LZFIX); }},
        {"IPOINT  ", [&] { return into(h, m_.IPOINT); }},
        {"XTOPO   ", [&] { return into(h, m_.XTOPO); }},
        {"ZTOPO   ",
         [&] {
             topographyDelivered_ = true;
             return into(h, m_.ZTOPO);
         }},
        {"XCLAB   ", [&] { return into(h, l.XCLAB); }},
        {"YCLAB   ", [&] { return into(h, l.YCLAB); }},
        {"WDLAB   ", [&] { return into(h, l.WDLAB); }},
        {"HILAB   ", [&] { return into(h, l.HILAB); }},
        {"XARRO   ", [&] { return into(h, l.XARRO); }},
        {"YARRO   ", [&] { return into(h, l.YARRO); }},
        {"IWINDOW ", [&] { return into(h, l.IWINDOW); }},
        {"IPARAM  ", [&] { return into(h, l.IPARAM); }},
        {"CMODL   ", [&] { return labelTexts(h); }},
        {"IV2     ", [&] { return vertexRanges(h); }},
        {"MODLHEAD", [&] { return modelHead(h); }},
        {"NBOD    ", [&] { return modelHead(h); }},
        {"ENDPLINE", [&] { return endOfBlock(h); }},
    };
    for (const Named& s : sections) {
        if (s.keyword != k) continue;
        result = s.read();
        return true;
    }

    // Sections that must be of the version this reader knows.
    std::size_t firstAxis = 0;
    bool isAxis = true;
    if (k == "PFLSAXIS")
        firstAxis = 0;
    else if (k == "PFLMAXIS")
        firstAxis = 2;
    else if (k == "PFLEAXIS")
        firstAxis = 4;
    else
        isAxis = false;
    if (k == "PFLHEAD ") model::presetProfileHeaderForReading(p_);
    if (isAxis || k == "PFLHEAD ") {
        if (h.version != kSectionVersion) {
            showInformation(newVersionMessage(h.keyword));
            result = skip(h);
            return false;
        }
        result = isAxis ? axis(h, firstAxis) : profileHead(h);
        return true;
    }
    if (k == "ENDFILE ") {
        in_.unread();
        endOfFile_ = true;
        return false;
    }
    showWarning(unknownSectionMessage(h.keyword, state_.lastSection));
    result = skip(h);
    return false;
}

Result BlockReader::profileHead(const SectionHeader& h) {
    std::span<const std::uint8_t> bytes;
    if (!in_.payload(h, model::kProfileHeaderSize, bytes)) return readError();
    model::readProfileHeader(bytes, p_);
    // Stations without a data component cannot be shown, reported or
    // calculated: such a record is damaged.
    if (!plausible(p_.NSTA) || p_.NCOMP < 0 || p_.NCOMP > 2 || (p_.NSTA > 0 && p_.NCOMP == 0) ||
        !plausible(static_cast<long long>(p_.NSTA) * p_.NCOMP))
        return readError();
    // The station arrays are made as their sections come (settleStations).
    model::DEALLOCPF(p_);
    owed_.set();
    return Result::Done;
}

// A station array the head announced is built straight from its section
// (a short one leaves the rest zero), so a large survey's values are written
// once rather than zeroed first; any other is filled in place as it stands.
template <typename A>
Result BlockReader::stations(const SectionHeader& h, A& a, Station which) {
    if (!owed_[which]) return into(h, a);
    const int n = std::max(p_.NSTA, 0);
    const int m = std::max(p_.NCOMP, 0);
    const std::size_t count = entryCount(a, n, m);
    std::span<const std::uint8_t> bytes;
    if (!in_.payload(h, count * kWord, bytes)) return readError();
    using T = typename std::decay_t<decltype(a.values())>::value_type;
    try {
        if (!model::allocationPermitted()) throw std::bad_alloc();
        adoptEntries(a, entriesFrom<T>(bytes, count), n, m);
    } catch (const std::bad_alloc&) {
        showInformation("CANNOT ALLOCATE PROFILE DATA");
        return Result::Failed;
    }
    owed_.reset(which);
    return Result::Done;
}

template <typename F>
void BlockReader::forEachStationArray(F&& f) {
    f(p_.EAST, kEast);
    f(p_.NORT, kNort);
    f(p_.STAT, kStat);
    f(p_.ELEV, kElev);
    f(p_.DAT, kDat);
    f(p_.MASK, kMask);
    f(p_.SYN, kSyn);
    f(p_.REG, kReg);
}

// The announced station arrays no section brought start at zero (no value,
// no mask, no regional field).
Result BlockReader::settleStations() {
    const int n = std::max(p_.NSTA, 0);
    const int m = std::max(p_.NCOMP, 0);
    bool ok = true;
    forEachStationArray([&](auto& a, Station which) {
        if (ok && owed_[which]) ok = allocateZeros(a, n, m);
    });
    owed_.reset();
    if (ok) return Result::Done;
    showInformation("CANNOT ALLOCATE PROFILE DATA");
    return Result::Failed;
}

Result BlockReader::modelHead(const SectionHeader& h) {
    model::presetModelHeaderForReading(m_);
    std::span<const std::uint8_t> bytes;
    if (!in_.payload(h, model::kModelHeaderSize, bytes)) return readError();
    model::readModelHeader(bytes, m_);
    if (!plausible(m_.NBOD) || !plausible(m_.NTOPO)) return readError();
    model::DEALLOCPG(m_);
    if (!model::ALLOCPG(m_, 0, m_.NBOD)) return allocationError();
    for (std::ptrdiff_t b = 0; b <= m_.NBOD; ++b)
        m_.LVFIX(b) = true;
    for (std::ptrdiff_t i = 1; i <= m_.NTOPO; ++i)
        m_.XTOPO(i) = m_.ZTOPO(i) = 0.0f;
    topographyDelivered_ = false;
    return Result::Done;
}

Result BlockReader::vertexRanges(const SectionHeader& h) {
    if (into(h, m_.IV2) == Result::Failed) return Result::Failed;
    const long long nv = m_.vertexCount();
    if (!plausible(nv)) return readError();
    if (!(m_.XVRT.allocate(nv) && m_.ZVRT.allocate(nv) && m_.LXFIX.allocate(nv) &&
          m_.LZFIX.allocate(nv) && m_.IPOINT.allocate(nv)))
        return allocationError();
    return Result::Done;
}

Result BlockReader::axis(const SectionHeader& h, std::size_t firstAxis) {
    std::span<const std::uint8_t> bytes;
    if (!in_.payload(h, util::kAxisRecordSize, bytes)) return readError();
    if (h.index != 1 && h.index != 2) return Result::Done;  // no such graph
    util::AxisRecord& axis = p_.AXES[firstAxis + static_cast<std::size_t>(h.index - 1)];
    // A short record replaces only the front of the one held.
    base::ByteWriter held;
    util::writeAxisRecord(held, axis);
    std::vector<std::uint8_t> merged = held.take();
    std::copy(bytes.begin(), bytes.end(), merged.begin());
    base::ByteReader r(merged);
    axis = util::readAxisRecord(r);
    return Result::Done;
}

Result BlockReader::labelTexts(const SectionHeader& h) {
    model::LabelSet& l = p_.LABELS;
    std::span<const std::uint8_t> bytes;
    if (!in_.payload(h, kLabelText * model::kLabelLimit, bytes)) return readError();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        l.CMODL[i / kLabelText][i % kLabelText] = static_cast<char>(bytes[i]);
    l.NLAB = static_cast<std::int32_t>(bytes.size() / kLabelText);
    return Result::Done;
}

Result BlockReader::endOfBlock(const SectionHeader& h) {
    if (!in_.skip(h)) return readError();
    if (settleStations() == Result::Failed) return Result::Failed;
    p_.LSAVED = true;
    if (!topographyDelivered_ && !buildTopographyFromStations()) return allocationError();
    if (!modelFitsItsArrays()) return readError();
    return Result::Done;
}

// The surface as the stations give it, closed around the half-space below.
bool BlockReader::buildTopographyFromStations() {
    const int n = std::max(p_.NSTA, 0);
    m_.NTOPO = n;
    if (!m_.XTOPO.allocate(n + 4) || !m_.ZTOPO.allocate(n + 4)) return false;
    auto elev = [this](int i) { return p_.ELEV.has(i) ? p_.ELEV(i) : 0.0f; };
    for (int i = 1; i <= n; ++i) {
        m_.XTOPO(i) = p_.STAT.has(i) ? p_.STAT(i) : 0.0f;
        m_.ZTOPO(i) = elev(i);
    }
    m_.XTOPO(n + 1) = m_.XTOPO(n + 2) = model::kFarAway;
    m_.XTOPO(n + 3) = m_.XTOPO(n + 4) = -model::kFarAway;
    m_.ZTOPO(n + 1) = elev(n);
    m_.ZTOPO(n + 2) = m_.ZTOPO(n + 3) = -model::kFarAway;
    m_.ZTOPO(n + 4) = elev(1);
    return true;
}

// The vertex arrays hold exactly the model's vertices, and every body's
// vertex range and every lock lies within them.
bool BlockReader::modelFitsItsArrays() const {
    const int nb = std::max(m_.NBOD, 0);
    if (nb == 0) return true;
    const std::ptrdiff_t nv = m_.XVRT.size();
    if (nv != m_.vertexCount() || m_.ZVRT.size() != nv || m_.LXFIX.size() != nv ||
        m_.LZFIX.size() != nv || m_.IPOINT.size() != nv)
        return false;
    for (int b = 1; b <= nb; ++b) {
        if (!m_.IV1.has(b) || !m_.IV2.has(b) || !m_.INCLBD.has(b)) return false;
        if (m_.IV1(b) < 1 || m_.IV1(b) > m_.IV2(b) || m_.IV2(b) > nv) return false;
        if (m_.INCLBD(b) < 0 || m_.INCLBD(b) > nb) return false;
    }
    for (std::ptrdiff_t v = 1; v <= nv; ++v)
        if (m_.IPOINT(v) < 1 || m_.IPOINT(v) > nv) return false;
    return true;
}

}  // namespace

void READPFLINE(SectionReader& in, model::ProfileLine& profile, ProfileReadState& state,
                int& status) {
    BlockReader reader(in, profile, state);
    status = reader.run();
}

}  // namespace files
