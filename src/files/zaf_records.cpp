#include "files/zaf_records.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "util/binary_file.h"

namespace files {

namespace {

constexpr int kVER3 = 3, kVER6 = 6, kVER9 = 9;
constexpr int kVERA = zafVer('A'), kVERB = zafVer('B');

float realAt(std::span<const std::uint8_t> b, std::size_t at) {
    base::ByteReader r(b.subspan(at, 4));
    return r.f32();
}

std::int16_t int2At(std::span<const std::uint8_t> b, std::size_t at) {
    base::ByteReader r(b.subspan(at, 2));
    return r.i16();
}

// From "VERB" on the record lists every quantity in its own place.
SiblingGeometry decodeCurrent(std::span<const std::uint8_t> b) {
    SiblingGeometry g;
    g.sgeo1 = realAt(b, 0);
    g.field = realAt(b, 16);
    g.inclination = realAt(b, 20);
    g.azimuth = realAt(b, 24);
    g.tieDistance = realAt(b, 28);
    g.tieEasting = realAt(b, 32);
    g.tieNorthing = realAt(b, 36);
    g.strike = realAt(b, 40);
    g.baseline = realAt(b, 44);
    g.gridRotation = realAt(b, 48);
    g.declination = realAt(b, 52);
    g.coordinateMode = int2At(b, 56);
    return g;
}

// Older records keep field, inclination, strike, azimuth and declination
// first, then four flag bytes, the tie point and the baseline; the 64-byte
// record of "VERA" adds grid rotation and the coordinate mode.
SiblingGeometry decodeOld(std::span<const std::uint8_t> b, bool full) {
    SiblingGeometry g;
    g.field = realAt(b, 0);
    g.inclination = realAt(b, 4);
    g.strike = realAt(b, 8);
    g.azimuth = realAt(b, 12);
    g.declination = realAt(b, 16);
    g.tieEasting = realAt(b, 24);
    g.tieNorthing = realAt(b, 28);
    g.tieDistance = realAt(b, 32);
    g.baseline = realAt(b, 36);
    if (full) {
        g.gridRotation = realAt(b, 40);
        g.coordinateMode = int2At(b, 44);
    }
    return g;
}

}  // namespace

int zafVersion(std::string_view tag) {
    if (tag.size() != 4 || tag.substr(0, 3) != "VER") return 0;
    return zafVer(tag[3]);
}

SiblingHeader& siblingHeader() {
    static SiblingHeader header;
    return header;
}

void resetSiblingHeader() {
    siblingHeader() = SiblingHeader{};
}

void REDGEO(base::ByteReader& file, int version, int& ierr) {
    const std::size_t size = version >= kVERA ? 64 : 40;
    const auto bytes = file.bytes(size);
    if (bytes.size() != size) {
        ierr = 1;
        return;
    }
    auto& h = siblingHeader();
    h.geometryRecord.fill(0);
    std::copy(bytes.begin(), bytes.end(), h.geometryRecord.begin());
    const std::span<const std::uint8_t> record(h.geometryRecord);
    h.geometry = version >= kVERB ? decodeCurrent(record) : decodeOld(record, version == kVERA);
    ierr = 0;
}

void REDWIN(base::ByteReader& file, int version, bool /*magnetic*/, int& ierr) {
    const std::size_t size = version >= kVERA ? 118 : 63;
    const auto bytes = file.bytes(size);
    if (bytes.size() != size) {
        ierr = 1;
        return;
    }
    auto& w = siblingHeader().windowRecord;
    w.fill(0);
    std::copy(bytes.begin(), bytes.end(), w.begin());
    ierr = 0;
}

void REDAXS(base::ByteReader& file, int version, bool& noAxis, int& ierr,
            util::AxisRecord& mapAxis) {
    ierr = 0;
    noAxis = version <= kVER3;
    if (noAxis) return;
    if (version <= kVER9) {
        const auto b = file.bytes(130);
        if (b.size() != 130) {
            ierr = 1;
            return;
        }
        mapAxis.divCountX = int2At(b, 8);
        mapAxis.divCountY = int2At(b, 10);
        mapAxis.startX = realAt(b, 12);
        mapAxis.startY = realAt(b, 16);
        mapAxis.stepX = realAt(b, 20);
        mapAxis.stepY = realAt(b, 24);
        mapAxis.firstDecadeX = int2At(b, 28);
        mapAxis.firstDecadeY = int2At(b, 30);
        return;
    }
    const auto b = file.bytes(140);
    if (b.size() != 140) {
        ierr = 1;
        return;
    }
    auto& a = siblingHeader().axis;
    for (std::size_t k = 0; k < 7; ++k) {
        a.start[k] = realAt(b, 4 * k);
        a.step[k] = realAt(b, 28 + 4 * k);
        a.divisions[k] = int2At(b, 112 + 2 * k);
        a.decade[k] = int2At(b, 126 + 2 * k);
    }
}

void REDXTR(base::ByteReader& file, int version, int& ierr) {
    ierr = 0;
    if (version < kVERA) return;
    std::array<std::uint16_t, 4> counts{};
    for (auto& c : counts)
        c = static_cast<std::uint16_t>(file.i16());
    if (!file.ok()) {
        ierr = 1;
        return;
    }
    if (counts[0] > 20 || counts[1] > 20 || counts[2] > 20 || counts[3] > 256) {
        ierr = 2;
        return;
    }
    auto& h = siblingHeader();
    for (std::size_t k = 0; k < counts[0]; ++k)
        h.extraReals[k] = file.f32();
    for (std::size_t k = 0; k < counts[1]; ++k)
        h.extraInts[k] = file.i16();
    const auto flags = file.bytes(counts[2]);
    std::copy(flags.begin(), flags.end(), h.extraFlags.begin());
    const auto text = file.bytes(counts[3]);
    std::copy(text.begin(), text.end(), h.extraText.begin());
    if (!file.ok()) ierr = 1;
}

void FIXGEO(int version, const model::ProfileLine& profile) {
    auto& h = siblingHeader();
    auto& g = h.geometry;
    const bool hasStation =
        profile.NSTA >= 1 && profile.EAST.has(1) && profile.NORT.has(1) && profile.STAT.has(1);
    const float east = hasStation ? profile.EAST(1) : 0.0f;
    const float north = hasStation ? profile.NORT(1) : 0.0f;
    const float dist = hasStation ? profile.STAT(1) : 0.0f;
    if (version <= kVER9) {
        for (int k = 1; k <= 4; ++k)
            h.setFlag(k, false);
        g.tieEasting = east;
        g.tieNorthing = north;
        if (version < kVER6) {
            g.tieDistance = dist;
            g.baseline = dist;
            g.gridRotation = 90.0f - g.azimuth;
            g.coordinateMode = 1;
        } else {
            g.tieDistance = 0.0f;
            g.baseline = 0.0f;
            g.azimuth = 90.0f;
            g.gridRotation = 0.0f;
            g.coordinateMode = 2;
        }
        return;
    }
    bool reset = false;
    for (float* v : {&g.tieEasting, &g.tieNorthing, &g.tieDistance, &g.baseline}) {
        if (!(std::fabs(*v) < 1.0E10f)) {
            *v = 0.0f;
            reset = true;
        }
    }
    if (reset)
        for (int k = 1; k <= 4; ++k)
            h.setFlag(k, false);
}

namespace {

void writeAll(int handle, const base::ByteWriter& w, int& ierr) {
    const auto& bytes = w.buffer();
    ierr = util::IRITFIL(handle, reinterpret_cast<const char*>(bytes.data()),
                         static_cast<int>(bytes.size())) == 0
               ? 0
               : 1;
}

}  // namespace

void RITGEO(int handle, int& ierr, const model::ProfileLine& p) {
    const model::PolygonModel& m = p.MODEL;
    base::ByteWriter w;
    w.f32(m.SGEO[0]);
    for (std::size_t k = 1; k < 4; ++k) w.f32(m.SGEO[k]);
    w.f32(p.FIELD);
    w.f32(p.FINCL);
    w.f32(m.AZIM);
    w.f32(m.TIEPRF);
    w.f32(m.TIEEAS);
    w.f32(m.TIENOR);
    w.f32(m.STRIKE);
    w.f32(m.BASELN);
    w.f32(m.GRIDROT);
    w.f32(p.FDECL);
    w.i16(static_cast<std::int16_t>(m.ICOORD));
    w.i16(0);
    w.zeros(4);
    writeAll(handle, w, ierr);
}

void RITWIN(int handle, int& ierr) {
    base::ByteWriter w;
    w.bytes(siblingHeader().windowRecord);
    writeAll(handle, w, ierr);
}

void RITAXS(int handle, int& ierr) {
    const SiblingAxisBlock& a = siblingHeader().axis;
    base::ByteWriter w;
    for (float v : a.start) w.f32(v);
    for (float v : a.step) w.f32(v);
    w.zeros(56);  // the two groups that nothing reads
    for (std::int16_t v : a.divisions) w.i16(v);
    for (std::int16_t v : a.decade) w.i16(v);
    writeAll(handle, w, ierr);
}

void RITXTR(int handle, int& ierr) {
    const SiblingHeader& h = siblingHeader();
    base::ByteWriter w;
    for (std::int16_t n : {20, 20, 20, 256}) w.i16(n);
    for (float v : h.extraReals) w.f32(v);
    for (std::int16_t v : h.extraInts) w.i16(v);
    w.bytes(h.extraFlags);
    w.bytes(std::span(reinterpret_cast<const std::uint8_t*>(h.extraText.data()),
                      h.extraText.size()));
    writeAll(handle, w, ierr);
}

void RITMRK(int handle) {
    base::ByteWriter w;
    w.i16(kZafMarker);
    int ierr = 0;
    writeAll(handle, w, ierr);
}

}  // namespace files
