// The forward calculation against independent references: the closed-form
// gravity of a right rectangular prism, the dipole field integrated over the
// same prism, and gmt talwani2d on a ten-sided body.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calc/forward_calc.h"
#include "profile_builder.h"
#include "reference_fields.h"

namespace calc {
namespace {

constexpr double kOffset = 0.0001524;  // km between the surface and every station
constexpr double kRadians = 57.296;

// Stations given by easting and northing; the model places them by map
// coordinates, so a northing puts a station off the profile line.
model::ProfileLine mapProfile(const std::vector<float>& east, const std::vector<float>& north,
                              const char* type) {
    model::ProfileLine p = test::makeProfile(east, type);
    for (int i = 1; i <= p.NSTA; ++i)
        p.NORT(i) = north[static_cast<std::size_t>(i - 1)];
    p.MODEL.ICOORD = 2;
    return p;
}

struct Box {
    float x1, x2, top, bottom, xtent1, xtent2;
};

// The prism seen from station (xs, ys): x and y relative to the station, depth
// below it including the offset. Both extents 0: infinite strike.
test::Prism prismFrom(const Box& b, double xs, double ys) {
    return {b.x1 - xs,     b.x2 - xs,        -(b.xtent1 + ys),
            b.xtent2 - ys, -b.top + kOffset, -b.bottom + kOffset};
}

TEST(ForwardCalc, GravityOfARectangleIsThatOfThePrism) {
    const Box boxes[] = {
        {-1.0f, 1.0f, -1.0f, -2.0f, 0.0f, 0.0f},    // two-dimensional
        {-2.5f, 1.5f, -0.5f, -3.25f, 4.0f, 4.0f},   // symmetric strike
        {-1.0f, 3.0f, -0.75f, -1.75f, 2.0f, 6.5f},  // asymmetric strike
        {0.5f, 4.0f, -0.25f, -2.0f, 1.0f, 1.5f},    // short body
    };
    const std::vector<float> east{-6.0f, -1.0f, 0.0f, 0.75f, 2.5f, 9.0f};
    const std::vector<float> north{0.0f, 0.5f, 0.0f, -1.25f, 3.0f, -2.5f};
    const float density = 0.35f;
    for (const Box& b : boxes) {
        model::ProfileLine p = mapProfile(east, north, "Gravity Data");
        test::BodySpec body = test::box(b.x1, b.x2, b.top, b.bottom, density);
        body.xtent1 = b.xtent1;
        body.xtent2 = b.xtent2;
        test::setBodies(p, {body});
        CALC(p, 0);
        ASSERT_TRUE(p.LSYN);
        for (int i = 1; i <= p.NSTA; ++i) {
            const double xs = east[static_cast<std::size_t>(i - 1)];
            const double ys = north[static_cast<std::size_t>(i - 1)];
            const test::Prism q = prismFrom(b, xs, ys);
            const double unit = (b.xtent1 == 0.0f && b.xtent2 == 0.0f)
                                    ? test::rectangleGravity2D(q.x1, q.x2, q.z1, q.z2)
                                    : test::prismGravity(q);
            const double expected = 6.673 * density * unit;
            EXPECT_NEAR(p.SYN(i, 1), expected, 1e-6 * std::fabs(expected))
                << "box " << b.x1 << ".." << b.x2 << " extents " << b.xtent1 << "," << b.xtent2
                << " station " << xs << "," << ys;
        }
    }
}

// Inducing field and remanence in model axes from inclination and declination
// (declination from the strike).
test::Vec3 direction(double inclination, double declination) {
    const double i = inclination / kRadians, d = declination / kRadians;
    return {std::cos(i) * std::sin(d), std::cos(i) * std::cos(d), std::sin(i)};
}

TEST(ForwardCalc, MagneticComponentsAndGradientsMatchTheIntegratedDipoleField) {
    const Box b{-1.5f, 2.0f, -0.75f, -2.25f, 2.5f, 4.0f};
    const std::vector<float> east{-4.0f, -1.0f, 0.25f, 2.5f, 6.0f};
    const std::vector<float> north{0.0f, 1.5f, 0.0f, -0.5f, 5.0f};
    const float k = 0.004f, Q = 0.8f, remInc = -30.0f, remDec = 140.0f;
    const float field = 48000.0f, inc = 62.0f, dec = 17.0f;
    // The strike is folded to 0 for a profile running east.
    const test::Vec3 F = direction(inc, dec);
    const test::Vec3 R = direction(remInc, remDec);
    test::Vec3 M;
    for (int c = 0; c < 3; ++c)
        M[c] = k * F[c] + Q * k * R[c];

    struct Case {
        const char* type;
        int component;  // 0-2 one component, 3 total field
        bool gradient;
    } cases[] = {{"Magnetics Data", 3, false},    {"Magnetics Vert Grad", 3, true},
                 {"Magnetics X-Comp.", 0, false}, {"Magnetics Y-Ccomp", 1, false},
                 {"Magnetics Z-Comp", 2, false},  {"Magnetics X-V Grad", 0, true},
                 {"Magnetics Y-V Grad", 1, true}, {"Magnetics Z-V Grad", 2, true},
                 {"Gravity/Mag Data", 3, false}};
    auto pick = [&](const test::Vec3& B, int component) {
        return component == 3 ? B[0] * F[0] + B[1] * F[1] + B[2] * F[2] : B[component];
    };
    for (const Case& c : cases) {
        model::ProfileLine p = mapProfile(east, north, c.type);
        p.FIELD = field;
        p.FINCL = inc;
        p.FDECL = dec;
        test::BodySpec body = test::box(b.x1, b.x2, b.top, b.bottom, k);
        body.xtent1 = b.xtent1;
        body.xtent2 = b.xtent2;
        body.kRatio = Q;
        body.inclination = remInc;
        body.declination = remDec;
        test::setBodies(p, {body});
        CALC(p, 0);
        for (int i = 1; i <= p.NSTA; ++i) {
            const double xs = east[static_cast<std::size_t>(i - 1)];
            const double ys = north[static_cast<std::size_t>(i - 1)];
            test::Prism q = prismFrom(b, xs, ys);
            const test::Vec3 B = test::prismMagnetic(q, M);
            const double scale = field * std::hypot(B[0], B[1], B[2]);
            double expected = field * pick(B, c.component);
            double tolerance = 1e-6 * scale;
            if (c.gradient) {
                q.z1 += 0.001;
                q.z2 += 0.001;
                const test::Vec3 deeper = test::prismMagnetic(q, M);
                expected -= field * pick(deeper, c.component);
                // The difference over one metre is about a thousandth of the
                // field: the same relative accuracy asks for a finer bound.
                tolerance = 1e-9 * scale + 1e-6 * std::fabs(expected);
            }
            EXPECT_NEAR(p.SYN(i, 1), expected, tolerance)
                << c.type << " station " << xs << "," << ys;
        }
    }
}

std::vector<std::pair<float, double>> readColumns(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::pair<float, double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        float a;
        double b;
        if (s >> a >> b) rows.emplace_back(a, b);
    }
    return rows;
}

// gmt talwani2d uses 6.6743 for the gravitational constant, we 6.673. The
// expected files are gmt's own output, written by tests/calc/make_gmt_fixtures.sh.
TEST(ForwardCalc, ManySidedBodyAgreesWithGmtTalwani2d) {
    const std::string dir = std::string(PELK_SOURCE_DIR) + "/tests/calc/fixtures/";
    const auto body = readColumns(dir + "gmt_body.txt");
    ASSERT_EQ(body.size(), 10u);
    test::BodySpec spec;
    for (const auto& [x, depth] : body) {
        spec.x.push_back(x);
        spec.z.push_back(static_cast<float>(-depth));
    }
    struct Case {
        const char* file;
        float xtent1, xtent2;
    } cases[] = {{"gmt_talwani2d_2d.txt", 0.0f, 0.0f}, {"gmt_talwani2d_25d.txt", 3.0f, 5.0f}};
    for (const Case& c : cases) {
        const auto reference = readColumns(dir + c.file);
        ASSERT_EQ(reference.size(), 41u) << c.file;
        std::vector<float> stations;
        for (const auto& row : reference)
            stations.push_back(row.first);
        model::ProfileLine p = test::makeProfile(stations);
        spec.xtent1 = c.xtent1;
        spec.xtent2 = c.xtent2;
        test::setBodies(p, {spec});
        CALC(p, 0);
        for (int i = 1; i <= p.NSTA; ++i) {
            const double expected =
                reference[static_cast<std::size_t>(i - 1)].second * 6.673 / 6.6743;
            EXPECT_NEAR(p.SYN(i, 1), expected, 1e-6 * std::fabs(expected))
                << c.file << " station " << stations[static_cast<std::size_t>(i - 1)];
        }
    }
}

}  // namespace
}  // namespace calc
