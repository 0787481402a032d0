#include "zaf_fixtures.h"

#include "base/little_endian.h"

namespace files_test {

int zafVersionOf(const std::string& tag) {
    const char c = tag[3];
    return c >= '2' && c <= '9' ? c - '0' : c - 'A' + 10;
}

std::vector<std::uint8_t> zafFile(const ZafSpec& s) {
    const int v = zafVersionOf(s.tag);
    const int ns = s.stations, nb = s.bodies;
    const int nv = 3 * nb + s.extraVertices;
    const int nlab = static_cast<int>(s.labels.size());
    base::ByteWriter w;
    w.text(s.tag, 4);
    w.i32(0);
    w.text("Client one", 30);
    w.text("Client two", 30);
    w.text("Client three", 30);
    w.text("SHORT", 5);
    w.text("Client four", 30);
    w.text("TENCHARS!!", 10);
    w.text("KM", 8);
    w.text("M", 8);
    for (bool f : {s.synthetics, false, s.sensorMeasured, false, s.fromSeaLevel, false})
        w.bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(f ? 1 : 0)});

    // Geometry: field 50000, inclination 60, declination 5, azimuth 30, tie
    // distance 7, tie point, strike 120, baseline 8, grid rotation 2.
    if (v >= 11) {
        for (float f : {9.0f, 0.0f, 0.0f, 0.0f, 50000.0f, 60.0f, 30.0f, 7.0f, s.tieEasting, 200.0f,
                        120.0f, 8.0f, 2.0f, 5.0f})
            w.f32(f);
        w.i16(2);
        w.i16(0);
        w.zeros(4);
    } else {
        for (float f : {50000.0f, 60.0f, 120.0f, 30.0f, 5.0f})
            w.f32(f);
        w.zeros(4);
        for (float f : {s.tieEasting, 200.0f, 7.0f, 8.0f})
            w.f32(f);
        if (v == 10) {
            w.f32(2.0f);
            w.i16(2);
            w.zeros(18);
        }
    }
    w.zeros(v >= 10 ? 118 : 63);
    for (float f : {1.0f, 2.5f, 3.0f, 4.5f})
        w.f32(f);
    for (float f : {0.5f, 11.0f, 12.0f, 0.25f, 13.0f, 14.0f})
        w.f32(f);

    w.i16(static_cast<std::int16_t>(nb));
    if (nb > 0) {
        for (float f : {2.0f, 100.0f, 200.0f, 0.5f, 10.0f, 20.0f})
            for (int b = 0; b < nb; ++b)
                w.f32(f + static_cast<float>(b));
        for (int b = 0; b < nb; ++b)
            w.i16(static_cast<std::int16_t>(3 * b + 1));
        for (int b = 0; b < nb; ++b)
            w.i16(static_cast<std::int16_t>(b == nb - 1 ? nv : 3 * b + 3));
        for (int b = 0; b < nb; ++b)
            w.i16(1);
        for (int b = 0; b < nb; ++b)
            w.bytes(std::vector<std::uint8_t>{0});
        for (int i = 0; i < nv; ++i)
            w.f32(static_cast<float>(i % 3 == 1   ? 10
                                     : i % 3 == 2 ? 5
                                                  : 0) +
                  static_cast<float>(i / 3) * 20.0f);
        for (int i = 0; i < nv; ++i)
            w.f32(i % 3 == 2 ? -6.0f : -1.0f - 0.001f * static_cast<float>(i));
        for (int i = 0; i < nv; ++i)
            w.i16(static_cast<std::int16_t>(i + 1));
        for (int i = 0; i < nv; ++i)
            w.bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i == 0)});
        for (int i = 0; i < nv; ++i)
            w.bytes(std::vector<std::uint8_t>{0});
        for (int b = 0; b < nb; ++b)
            w.bytes(std::vector<std::uint8_t>{1});
    }
    w.i16(static_cast<std::int16_t>(nlab));
    if (nlab > 0) {
        for (const auto& t : s.labels)
            w.text(t, 20);
        for (float f : {1.0f, 2.0f, 3.0f, 4.0f, 0.2f})
            for (int i = 0; i < nlab; ++i)
                w.f32(f);
        if (v >= 14) {
            for (int i = 0; i < nlab; ++i)
                w.f32(0.9f);
            for (int i = 0; i < nlab; ++i)
                w.i16(0);
        }
    }
    w.i16(static_cast<std::int16_t>(ns));
    if (v == 16) w.f32(-1.0f);
    for (int i = 0; i < ns + 4; ++i)
        w.f32(i < ns ? 25.0f * static_cast<float>(i) : 1.0E15f);
    for (int i = 0; i < ns; ++i)
        w.f32(0.5f * static_cast<float>(i + 1));
    for (int i = 0; i < ns; ++i)
        w.f32(0.25f * static_cast<float>(i + 1));
    w.text(s.key, 4);
    w.text("NONENONE", 8);
    for (int i = 0; i < ns + 4; ++i)
        w.f32(i < ns ? 120.5f : -1.0E15f);
    for (int i = 0; i < ns + 4; ++i)
        w.f32(i < ns ? 121.5f : 0.0f);
    for (float f : {0.0f, 10.0f, 20.0f, 30.0f, 40.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f})
        w.f32(f);
    w.zeros(v == 2 ? 800 : v <= 7 ? 4000 : static_cast<std::size_t>(ns) * 4);
    w.i16(3);
    if (v >= 4 && v <= 9) {
        w.zeros(8);
        w.i16(6);
        w.i16(4);
        for (float f : {100.0f, 200.0f, 50.0f, 25.0f})
            w.f32(f);
        w.i16(1);
        w.i16(2);
        w.zeros(20 + 30 + 24 + 24);
    } else if (v >= 10) {
        for (int k = 0; k < 7; ++k)
            w.f32(static_cast<float>(k) * -10.0f);
        for (int k = 0; k < 7; ++k)
            w.f32(static_cast<float>(k + 1));
        w.zeros(56);
        for (int k = 0; k < 7; ++k)
            w.i16(static_cast<std::int16_t>(k + 2));
        for (int k = 0; k < 7; ++k)
            w.i16(static_cast<std::int16_t>(5));
    }
    if (v >= 5 && v <= 7) w.zeros(201);
    if (v >= 6) {
        for (int i = 0; i < ns; ++i)
            w.f32(5000.0f + static_cast<float>(i));
        for (int i = 0; i < ns; ++i)
            w.f32(7000.0f - static_cast<float>(i));
    }
    if (v >= 10) {
        for (auto c : s.extraCounts)
            w.i16(static_cast<std::int16_t>(c));
        w.zeros(s.extraCounts[0] * 4u + s.extraCounts[1] * 2u + s.extraCounts[2] +
                s.extraCounts[3]);
    }
    if (v >= 12) w.zeros(53);
    if (v >= 13) {
        w.i16(s.unitsCode);
        w.bytes(std::vector<std::uint8_t>{1});
        w.zeros(9);
    }
    if (v >= 15)
        for (int i = 0; i < ns; ++i)
            w.bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i == 1)});
    return w.take();
}

}  // namespace files_test
