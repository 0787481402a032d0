#include "model/profile_geometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/model_services.h"

using model::ProfileLine;

namespace {

ProfileLine stations(std::vector<float> east, std::vector<float> north, int ncomp = 1) {
    ProfileLine p;
    p.NSTA = static_cast<int>(east.size());
    p.NCOMP = ncomp;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= p.NSTA; ++i) {
        p.EAST(i) = east[static_cast<std::size_t>(i - 1)];
        p.NORT(i) = north[static_cast<std::size_t>(i - 1)];
        p.STAT(i) = 100.0f * static_cast<float>(i);
        p.ELEV(i) = static_cast<float>(i);
        for (int k = 1; k <= ncomp; ++k) {
            p.DAT(i, k) = static_cast<float>(10 * i + k);
            p.SYN(i, k) = static_cast<float>(-10 * i - k);
            p.MASK(i, k) = i == 2;
        }
        p.REG(i) = static_cast<float>(1000 * i);
    }
    p.LSAVED = true;
    p.LSYN = true;
    return p;
}

}  // namespace

TEST(ProfileGeometry, DirectionStrikeAndTieFromTheEndStations) {
    struct Case {
        float e2, n2, azim, strike;
    } cases[] = {{10, 0, 90, 0}, {0, -10, 180, 90}, {-10, 0, -90, -180}, {0, 0, 0, -90}};
    for (auto c : cases) {
        auto p = stations({0, c.e2 / 2, c.e2}, {0, c.n2 / 2, c.n2});
        model::SETGEOMETRY(p);
        EXPECT_NEAR(p.MODEL.AZIM, c.azim, 1e-3) << c.e2 << " " << c.n2;
        EXPECT_NEAR(p.MODEL.STRIKE, c.strike, 1e-3);
        EXPECT_FALSE(p.LSYN);
        EXPECT_FALSE(p.LSAVED);
    }
    auto p = stations({500, 600}, {700, 700});
    model::SETGEOMETRY(p);
    EXPECT_EQ(p.MODEL.TIEPRF, 100.0f);
    EXPECT_EQ(p.MODEL.BASELN, 100.0f);
    EXPECT_EQ(p.MODEL.TIEEAS, 500.0f);
    EXPECT_EQ(p.MODEL.TIENOR, 700.0f);
    EXPECT_EQ(p.EAST(2), 600.0f);
    // An empty profile keeps its geometry but is changed all the same.
    auto empty = stations({}, {});
    model::SETGEOMETRY(empty);
    EXPECT_FALSE(empty.LSYN);
    EXPECT_FALSE(empty.LSAVED);
}

TEST(ProfileGeometry, DeletingAStationMovesEveryArrayWithTheData) {
    auto p = stations({1, 2, 3, 4}, {5, 6, 7, 8}, 2);
    int ista = 2;
    model::DELETEPOINT(p, ista);
    EXPECT_EQ(ista, 0);
    EXPECT_EQ(p.NSTA, 3);
    EXPECT_EQ(p.EAST(2), 3.0f);
    EXPECT_EQ(p.NORT(3), 8.0f);
    EXPECT_EQ(p.STAT(2), 300.0f);
    EXPECT_EQ(p.ELEV(2), 3.0f);
    EXPECT_EQ(p.DAT(2, 1), 31.0f);
    EXPECT_EQ(p.DAT(2, 2), 32.0f);
    EXPECT_FALSE(p.MASK(2, 1));
    EXPECT_FALSE(p.MASK(2, 2));
    EXPECT_EQ(p.SYN(2, 2), -32.0f);
    EXPECT_EQ(p.REG(2), 3000.0f);
    EXPECT_FALSE(p.LSYN);
    EXPECT_TRUE(p.LSAVED);

    ista = 3;  // the last station only lowers the count
    model::DELETEPOINT(p, ista);
    EXPECT_EQ(p.NSTA, 2);
    EXPECT_EQ(p.EAST(2), 3.0f);
    ista = 1;
    model::DELETEPOINT(p, ista);
    EXPECT_EQ(p.EAST(1), 3.0f);
}

TEST(ProfileGeometry, TransferScattersSyntheticsByTheDeviates) {
    std::vector<float> deviates{1.0f, -2.0f, 0.5f, 3.0f};
    std::size_t next = 0;
    std::vector<int> seeds;
    model::modelServices().gaussianDeviate = [&](std::int16_t& seed) {
        seeds.push_back(seed);
        ++seed;
        return deviates[next++ % deviates.size()];
    };
    auto one = stations({1, 2}, {0, 0}, 1);
    model::xferSeed() = 0;
    model::XFER(one, 10.0f);
    EXPECT_EQ(next, 4u);  // two draws per station
    EXPECT_FLOAT_EQ(one.DAT(1, 1), 1.1f * -11.0f);
    EXPECT_FLOAT_EQ(one.DAT(2, 1), 1.05f * -21.0f);
    EXPECT_EQ(seeds, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_FALSE(one.LSYN);
    EXPECT_FALSE(one.LSAVED);
    EXPECT_EQ(model::xferSeed(), 4);

    next = 0;
    auto two = stations({1}, {0}, 2);
    model::XFER(two, 10.0f);
    EXPECT_FLOAT_EQ(two.DAT(1, 1), 1.1f * -11.0f);
    EXPECT_FLOAT_EQ(two.DAT(1, 2), 0.8f * -12.0f);

    auto exact = stations({1}, {0}, 2);
    model::XFER(exact, 0.0f);
    EXPECT_EQ(exact.DAT(1, 2), -12.0f);
    model::modelServices().gaussianDeviate = nullptr;
    model::xferSeed() = 0;
}
