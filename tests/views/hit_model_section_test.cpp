#include "views/hit_model_section.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/picking.h"
#include "util/axis_scaling.h"
#include "model/outline_model.h"

namespace {

using Outline = std::vector<std::pair<float, float>>;

struct RecordingOutput : views::HoverOutput {
    std::map<int, std::string> parts;
    int cursor = -1;
    void statusText(int part, std::string_view text) override { parts[part] = std::string(text); }
    void cursorShape(int shape) override { cursor = shape; }
};

// Bodies below a flat topography at z = 100 from x = -1000 to 1000; body b
// has property b, every vertex free.
model::PolygonModel makeModel(const std::vector<Outline>& bodies) {
    model::PolygonModel m;
    model_test::allocateOutlines(m, bodies, model_test::flatSurface(100.0f));
    for (int b = 1; b <= m.NBOD; ++b) {
        m.DENS(b) = 2.5f + static_cast<float>(b) * 0.1f;
        m.ILEVL(b) = 1;
    }
    m.DBKG = 2.67f;
    return m;
}

Outline square(float x0, float z0, float size) {
    return {{x0, z0}, {x0, z0 + size}, {x0 + size, z0 + size}, {x0 + size, z0}};
}

// 100 model units per inch both ways, origin at (1, 1) inch, z from -500 up.
util::AxisRecord sectionAxis() {
    util::AxisRecord a;
    a.originX = 1.0f;
    a.originY = 1.0f;
    a.divLengthX = a.divLengthY = 1.0f;
    a.startX = -200.0f;
    a.startY = -500.0f;
    a.stepX = a.stepY = 100.0f;
    a.divCountX = 8;
    a.divCountY = 6;
    util::FINDAS(a);
    return a;
}

// Window units of a model point, moved by (dx, dz) plot inches.
std::pair<float, float> windowOf(float x, float z, const util::AxisRecord& a, float dx = 0,
                                 float dz = 0) {
    const float px = util::PLOFX(x, a) + a.originX + dx;
    const float pz = util::PLOFY(z, a) + a.originY + dz;
    return {px * 1000.0f, 10000.0f - pz * 1250.0f};
}

views::SectionHoverState hoverState() {
    views::SectionHoverState s;
    s.PropertyLabel.assign("dens: ");
    s.ViewXUnit.assign("m");
    s.ViewZUnit.assign("m");
    return s;
}

class ModelSectionHitTest : public ::testing::Test {
  protected:
    void SetUp() override { model::SETWNEAR(100.0f, 100.0f, 1.0E5f); }  // edges within ~14 units
    void TearDown() override { model::SETWNEAR(0, 0, 0); }
    util::AxisRecord axis = sectionAxis();
    views::SectionHoverState state = hoverState();
    RecordingOutput out;
    views::ModelHits hits;

    void hover(const model::PolygonModel& m, std::pair<float, float> w) {
        views::PMODELODOM(w.first, w.second, m, axis, hits, state, out);
    }
};

TEST_F(ModelSectionHitTest, VertexIsHitOnlyStrictlyWithinThePickRadius) {
    // One body; the cursor moves right of its vertex 3 (200, -100), outside it.
    auto m = makeModel({square(0, -300, 200)});
    struct Case {
        float dx;
        int vertex;
    };
    for (const Case c :
         {Case{0.01f, 3}, Case{0.05f, 3}, Case{0.0745f, 3}, Case{0.0755f, 0}, Case{0.3f, 0}}) {
        SCOPED_TRACE(c.dx);
        hits = {};
        hover(m, windowOf(200, -100, axis, c.dx, 0));
        EXPECT_EQ(hits.HitVertex, c.vertex);
        EXPECT_EQ(hits.HitBody, c.vertex ? 1 : 0);
        EXPECT_EQ(hits.HitRegion, 0);  // background beside the body
    }
}

TEST_F(ModelSectionHitTest, SharedPositionsPreferTheBodyUnderTheCursorAndLeaders) {
    // Two squares sharing the edge x = 200: vertices 3 and 4 of body 1 sit on
    // vertices 6 and 5 of body 2.
    auto m = makeModel({square(0, -300, 200), square(200, -300, 200)});
    hover(m, windowOf(200, -100, axis, -0.02f, -0.02f));  // just inside body 1
    EXPECT_EQ(hits.HitRegion, 1);
    EXPECT_EQ(hits.HitVertex, 3);
    hover(m, windowOf(200, -100, axis, 0.02f, -0.02f));  // just inside body 2
    EXPECT_EQ(hits.HitRegion, 2);
    EXPECT_EQ(hits.HitVertex, 6);
    EXPECT_EQ(hits.HitVertexBase, 4);
    // Above both: equal distances go to the earlier body...
    hover(m, windowOf(200, -100, axis, 0.0f, 0.03f));
    EXPECT_EQ(hits.HitVertex, 3);
    // ...unless its vertex follows the other's: the leader wins.
    m.IPOINT(3) = 6;
    hover(m, windowOf(200, -100, axis, 0.0f, 0.03f));
    EXPECT_EQ(hits.HitVertex, 6);
}

TEST_F(ModelSectionHitTest, VertexReadoutTexts) {
    auto m = makeModel({square(0, -300, 200), square(300, -300, 100)});
    m.LAYER(2) = true;
    hover(m, windowOf(300, -200, axis, 0.01f, -0.01f));  // vertex 2 of body 2
    ASSERT_EQ(hits.HitVertex, 6);
    EXPECT_EQ(out.cursor, 3);
    EXPECT_EQ(out.parts[1], " Layer: 2");
    EXPECT_EQ(out.parts[2], " Vrtx: 2 of 4");
    EXPECT_EQ(out.parts[3], " Dist: 300.");
    EXPECT_EQ(out.parts[4], " Elev: -200.");
    EXPECT_EQ(out.parts[5], "dens: 2.7");
    EXPECT_FLOAT_EQ(hits.PopupProperty, m.DENS(2));
}

TEST_F(ModelSectionHitTest, RegionAndEdgeReadouts) {
    auto m = makeModel({{{0, -300}, {0, -100}, {100, -50}, {200, -100}, {200, -300}}});
    m.LVFIX(1) = true;
    // In the background, far from any edge.
    hover(m, windowOf(-150, -400, axis));
    EXPECT_EQ(hits.HitRegion, 0);
    EXPECT_EQ(hits.HitEdgeBody, 0);
    EXPECT_EQ(out.cursor, 0);
    EXPECT_EQ(out.parts[1], "-150. m");
    EXPECT_EQ(out.parts[2], "-400. m");
    EXPECT_EQ(out.parts[4], "Background");
    EXPECT_EQ(out.parts[5], "dens: 2.67");
    // Inside the body.
    hover(m, windowOf(100, -200, axis));
    EXPECT_EQ(hits.HitRegion, 1);
    EXPECT_EQ(out.parts[4], " Body: 1, 5 Vertices");
    EXPECT_EQ(out.parts[5], "dens: 2.6");
    // Above the topography: no property.
    hover(m, windowOf(-150, 200, axis));
    EXPECT_EQ(hits.HitRegion, -1);
    EXPECT_FLOAT_EQ(hits.PopupProperty, 1.0E20f);
    EXPECT_EQ(out.parts[4], " ");
    EXPECT_EQ(out.parts[5], " ");
    // On the closing edge (vertex 5 back to 1), just below it in the background.
    hover(m, windowOf(100, -305, axis));
    EXPECT_EQ(hits.HitEdgeBody, 1);
    EXPECT_EQ(hits.HitEdgeVertex, 5);
    EXPECT_EQ(out.cursor, 11);
    EXPECT_EQ(out.parts[3], "dens: 2.67 Free");
    EXPECT_EQ(out.parts[4], "Vertices: 5, 1");
    EXPECT_EQ(out.parts[5], " ");
}

TEST_F(ModelSectionHitTest, PivotsOnlyWhenShownAndDragsFreezeEverything) {
    auto m = makeModel({square(0, -300, 200)});
    m.XPIVOT(1) = 100.0f;
    m.ZPIVOT(1) = -200.0f;
    hover(m, windowOf(100, -200, axis, 0.01f, 0));
    EXPECT_EQ(hits.HitPivot, 0);
    EXPECT_EQ(hits.HitBody, 0);
    state.LVIEWPIVOT = true;
    hover(m, windowOf(100, -200, axis, 0.01f, 0));
    EXPECT_EQ(hits.HitPivot, 1);
    EXPECT_EQ(hits.HitBody, 1);
    EXPECT_EQ(hits.HitVertex, 0);
    EXPECT_EQ(out.parts[1], " Body:     1");
    EXPECT_EQ(out.parts[2], "Pivot Point");
    EXPECT_EQ(out.cursor, 3);
    // A drag in progress leaves hits and read-out as they were.
    state.DragVertex = true;
    out.parts.clear();
    hover(m, windowOf(-150, -400, axis));
    EXPECT_EQ(hits.HitPivot, 1);
    EXPECT_TRUE(out.parts.empty());
}

TEST(VertexReadout, FlagsLockAndRepairedLeader) {
    auto m = makeModel({square(0, -300, 200)});
    m.IPOINT(2) = 3;  // a follower
    m.LXFIX(2) = true;
    m.LZFIX(2) = false;
    m.LVFIX(1) = false;
    const std::string text = views::vertexReadout(m, 1, 2, 0, false);
    EXPECT_EQ(text,
              "Body:       1 Vertex:       2 Position:       0.0  Elevation:    -100.0\r\n"
              "Density: 2.6  Free: NO  Free in X: YES  Free in Z: NO  Lock: YES");
    EXPECT_NE(views::vertexReadout(m, 1, 1, 0, true).find("Susceptibility: "), std::string::npos);
    m.IPOINT(4) = 0;  // a broken leader link is repaired and reads NO
    EXPECT_NE(views::vertexReadout(m, 1, 4, 0, false).find("Lock: NO"), std::string::npos);
    EXPECT_EQ(m.IPOINT(4), 4);
    EXPECT_TRUE(views::vertexReadout(m, 1, 0, 0, false).empty());
    EXPECT_TRUE(views::vertexReadout(m, 2, 1, 0, false).empty());
}

}  // namespace
