#include "model/polygon_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_header_layout.h"
#include "model/model_services.h"
#include "model_fixtures.h"

using model::PolygonModel;
using model_test::makeModel;
using model_test::square;

namespace {

// Arms a failure of the allocation after `successes` further ones.
struct FailAfter {
    explicit FailAfter(long successes) { model::allocationFaults().countdown = successes; }
    ~FailAfter() { model::allocationFaults().countdown = -1; }
};

}  // namespace

TEST(PolygonModel, AllocPresetsClosingPointsPivotsAndHiddenFlags) {
    PolygonModel m;
    m.NTOPO = 5;
    ASSERT_TRUE(model::ALLOCPG(m, 10, 1));
    ASSERT_EQ(m.XTOPO.size(), 9);
    ASSERT_EQ(m.ZTOPO.size(), 9);
    EXPECT_EQ(m.XTOPO(6), 1.0E16f);
    EXPECT_EQ(m.XTOPO(7), 1.0E16f);
    EXPECT_EQ(m.XTOPO(8), -1.0E16f);
    EXPECT_EQ(m.XTOPO(9), -1.0E16f);
    EXPECT_EQ(m.ZTOPO(7), -1.0E16f);
    EXPECT_EQ(m.ZTOPO(8), -1.0E16f);
    EXPECT_EQ(m.XPIVOT(1), 1.0E20f);
    EXPECT_EQ(m.ZPIVOT(1), 1.0E20f);
    EXPECT_FALSE(m.LHIDE(1));
    EXPECT_EQ(m.XVRT.size(), 10);
    EXPECT_EQ(m.LVFIX.size(), 2);  // entries 0 and 1
    EXPECT_EQ(m.NBOD, 0);          // counts are the caller's
}

TEST(PolygonModel, TheTopographyIsClosedFarBelowAtItsEndHeights) {
    PolygonModel m;
    m.NTOPO = 3;
    ASSERT_TRUE(m.XTOPO.allocate(7) && m.ZTOPO.allocate(7));
    for (int i = 1; i <= 3; ++i) {
        m.XTOPO(i) = 100.0f * static_cast<float>(i);
        m.ZTOPO(i) = 10.0f * static_cast<float>(i);
    }
    model::closeTopography(m);
    const std::vector<float> x = {100, 200, 300, 1.0E16f, 1.0E16f, -1.0E16f, -1.0E16f};
    const std::vector<float> z = {10, 20, 30, 30, -1.0E16f, -1.0E16f, 10};
    EXPECT_EQ(m.XTOPO.values(), x);
    EXPECT_EQ(m.ZTOPO.values(), z);
    // Arrays too short for the closing points are left alone.
    m.NTOPO = 4;
    model::closeTopography(m);
    EXPECT_EQ(m.XTOPO.values(), x);
}

TEST(PolygonModel, AllocKeepsSurfacePointsWhenTheTopographyIsResized) {
    PolygonModel m;
    m.NTOPO = 2;
    model::ALLOCPG(m, 3, 1);
    m.XTOPO(1) = 5.0f;
    m.ZTOPO(2) = 7.0f;
    m.NTOPO = 3;
    model::DEALLOCPG(m);
    model::ALLOCPG(m, 3, 1);
    EXPECT_EQ(m.XTOPO.size(), 7);
    EXPECT_EQ(m.XTOPO(1), 5.0f);
    EXPECT_EQ(m.ZTOPO(2), 7.0f);
    EXPECT_EQ(m.XTOPO(4), 1.0E16f);
}

TEST(PolygonModel, DeallocReleasesBodiesAndKeepsTheTopography) {
    PolygonModel never;
    model::DEALLOCPG(never);
    EXPECT_FALSE(never.XVRT.allocated());
    EXPECT_FALSE(never.XTOPO.allocated());

    auto m = makeModel({square(0, 0, 1)});
    model::DEALLOCPG(m);
    model::DEALLOCPG(m);
    EXPECT_FALSE(m.XVRT.allocated());
    EXPECT_FALSE(m.ZPIVOT.allocated());
    EXPECT_FALSE(m.LVFIX.allocated());
    EXPECT_TRUE(m.XTOPO.allocated());
    EXPECT_EQ(m.XTOPO(1), -1000.0f);
}

TEST(PolygonModel, CopyOfAnEmptyModelCopiesTheHeadAndKeepsTheDestinationArrays) {
    PolygonModel src;
    src.AZIM = 45.0f;
    src.NTOPO = 9;
    auto dest = makeModel({square(0, 0, 1)});
    dest.NBOD = 1;
    model::COPYPG(dest, src);
    EXPECT_EQ(dest.NBOD, 0);
    EXPECT_EQ(dest.AZIM, 45.0f);
    EXPECT_EQ(dest.NTOPO, 2);  // the topography count stays the caller's
    EXPECT_EQ(dest.XVRT.size(), 4);
}

TEST(PolygonModel, CopyIsDeepAndSizedExactlyToTheSource) {
    auto src = makeModel(
        {square(0, 0, 1),
         square(5, 0, 1),
         {{10, 0}, {10, 1}, {11, 1}, {11, 0}, {12, 0}, {12, -1}, {11, -2}, {10, -2}, {9, -1}}});
    ASSERT_EQ(src.vertexCount(), 17);
    src.NVCAP = 40;
    src.NBCAP = 9;
    src.IPOINT(6) = 2;
    src.LVFIX(0) = true;
    src.LHIDE(3) = true;
    src.XPIVOT(2) = 3.5f;
    src.reserved72 = {11, 12};
    src.trailingWord = 77;
    PolygonModel dest;
    dest.reserved72 = {1, 2};
    model::COPYPG(dest, src);
    EXPECT_EQ(dest.XVRT.size(), 17);
    EXPECT_EQ(dest.IPOINT.size(), 17);
    EXPECT_EQ(dest.DENS.size(), 3);
    EXPECT_EQ(dest.LVFIX.size(), 4);
    EXPECT_EQ(dest.IPOINT(6), 2);
    EXPECT_TRUE(dest.LVFIX(0));
    EXPECT_TRUE(dest.LHIDE(3));
    EXPECT_EQ(dest.XPIVOT(2), 3.5f);
    EXPECT_EQ(dest.NVCAP, 40);
    EXPECT_EQ(dest.trailingWord, 77u);
    EXPECT_EQ(dest.reserved72, (std::array<std::uint32_t, 2>{1, 2}));  // not copied
    dest.XVRT(1) = 99.0f;
    EXPECT_EQ(src.XVRT(1), 0.0f);
}

TEST(PolygonModel, FailedAllocationLeavesAnEmptyModel) {
    auto m = makeModel({square(0, 0, 1)});
    m.NBOD = 1;
    {
        FailAfter fault(12);  // somewhere in the middle of the per-body arrays
        EXPECT_FALSE(model::ALLOCPG(m, 20, 2));
    }
    EXPECT_EQ(m.NBOD, 0);
    EXPECT_FALSE(m.XVRT.allocated());
    EXPECT_FALSE(m.DENS.allocated());
    EXPECT_EQ(m.vertexCount(), 0);

    auto src = makeModel({square(0, 0, 1)});
    PolygonModel dest;
    {
        FailAfter fault(0);
        model::COPYPG(dest, src);
    }
    EXPECT_EQ(dest.NBOD, 0);
    EXPECT_FALSE(dest.IV2.allocated());
}

TEST(PolygonModel, ReallocKeepsVerticesBeforeAndAfterTheResizedBody) {
    auto m = makeModel({square(0, 0, 1), square(5, 0, 1), square(10, 0, 1)});
    // Body 2 grows from 4 to 6 vertices.
    m.IV2(2) = 10;
    m.IV1(3) = 11;
    m.IV2(3) = 14;
    ASSERT_TRUE(model::REALLOCPG(m, 2, 8, 12));
    ASSERT_EQ(m.XVRT.size(), 14);
    for (int v = 1; v <= 4; ++v)
        EXPECT_EQ(m.XVRT(v), v <= 2 ? 0.0f : 1.0f);
    EXPECT_EQ(m.XVRT(11), 10.0f);
    EXPECT_EQ(m.ZVRT(12), 1.0f);
    EXPECT_EQ(m.IPOINT(14), 12);  // links are the caller's to renumber
}

TEST(PolygonModel, ReallocOfTheFirstOrLastBodyHasAnEmptyHeadOrTail) {
    auto last = makeModel({square(0, 0, 1), square(5, 0, 1)});
    last.IV2(2) = 7;
    ASSERT_TRUE(model::REALLOCPG(last, 2, 8, 8));
    EXPECT_EQ(last.XVRT.size(), 7);
    EXPECT_EQ(last.XVRT(4), 1.0f);

    auto first = makeModel({square(0, 0, 1), square(5, 0, 1)});
    first.IV2(1) = 3;
    first.IV1(2) = 4;
    first.IV2(2) = 7;
    ASSERT_TRUE(model::REALLOCPG(first, 1, 4, 8));
    EXPECT_EQ(first.XVRT.size(), 7);
    EXPECT_EQ(first.XVRT(4), 5.0f);
    EXPECT_EQ(first.ZVRT(5), 1.0f);
    EXPECT_EQ(first.IPOINT(7), 8);
}

TEST(ModelHeaderLayout, FieldsSitAtTheirOffsetsAndReservedWordsTravel) {
    model::ModelHeader h;
    h.NBOD = 3;
    h.NTOPO = 12;
    h.reserved16 = 0xA1B2C3D4u;
    h.DBKG = 2.67f;
    h.LEXTND = true;
    h.SGEO = {12.0f, 0.0f, 100.0f, 0.0f};
    h.AZIM = 90.0f;
    h.GRIDROT = -1.5f;
    h.reserved112 = {5, 6};
    h.ICOORD = 2;
    h.reserved124 = 0xFFFFFFFFu;
    base::ByteWriter w;
    model::writeModelHeader(w, h);
    const auto& b = w.buffer();
    ASSERT_EQ(b.size(), model::kModelHeaderSize);
    base::ByteReader at(b);
    at.seek(4);
    EXPECT_EQ(at.i32(), 12);
    at.seek(16);
    EXPECT_EQ(at.u32(), 0xA1B2C3D4u);
    at.seek(52);
    EXPECT_EQ(at.i32(), -1);
    EXPECT_EQ(at.f32(), 12.0f);
    at.seek(80);
    EXPECT_EQ(at.f32(), 90.0f);
    at.seek(108);
    EXPECT_EQ(at.f32(), -1.5f);
    at.seek(120);
    EXPECT_EQ(at.i32(), 2);

    model::ModelHeader back;
    EXPECT_TRUE(model::readModelHeader(b, back));
    EXPECT_EQ(back, h);
}

TEST(ModelHeaderLayout, AShortBlockKeepsTheDefaultsOfTheMissingFields) {
    model::ModelHeader h;
    h.NBOD = 4;
    h.DBKG = 1.0f;
    base::ByteWriter w;
    model::writeModelHeader(w, h);
    std::vector<std::uint8_t> shortBlock(w.buffer().begin(), w.buffer().begin() + 56);
    model::ModelHeader back;
    model::presetModelHeaderForReading(back);
    EXPECT_FALSE(model::readModelHeader(shortBlock, back));
    EXPECT_EQ(back.NBOD, 4);
    EXPECT_EQ(back.DBKG, 1.0f);
    EXPECT_EQ(back.SGEO[0], 12.0f);
    EXPECT_EQ(back.AZIM, 90.0f);
}

TEST(PolygonModel, PolygonSizeKeepsTheEntriesWithinTheCapacity) {
    auto m = makeModel({{{1, 2}, {3, 4}, {5, 6}, {7, 8}}});
    m.NVCAP = 3;
    model::POLYGON_SIZE(6, m);
    ASSERT_EQ(m.XVRT.size(), 6);
    ASSERT_EQ(m.LZFIX.size(), 6);
    EXPECT_EQ(m.XVRT(3), 5.0f);
    EXPECT_EQ(m.XVRT(4), 0.0f);  // beyond the capacity
    EXPECT_EQ(m.IPOINT(2), 2);

    std::vector<std::string> messages;
    model::modelServices().message = [&](std::string_view t) { messages.emplace_back(t); };
    {
        FailAfter fault(0);
        model::POLYGON_SIZE(8, m);
    }
    model::modelServices().message = nullptr;
    EXPECT_EQ(messages, std::vector<std::string>{"Allocation error in PolygonSize"});
}
