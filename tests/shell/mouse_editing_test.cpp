// Shaping the model with the mouse in the profile window.

#include "editing_test_support.h"

namespace shell::test {
namespace {

using win::robot::Button;

TEST_F(EditingTest, DraggingAVertexReshapesTheBodyAndTheSyntheticsFollow) {
    writeModelDatabase("SITE");
    std::vector<float> before;
    Script s;
    clickAside(s);
    s.check([&] {
        calc::CALC(workingProfile(), 0);
        ASSERT_TRUE(workingProfile().LSYN);
        before = workingProfile().SYN.values();
        saveShot(profileFrame(), "drag_vertex_before.png");
    });
    s.moveTo(atModel(1600, -200));
    s.pressAt(atModel(1600, -200));
    s.moveTo(atModel(1700, -150)).moveTo(atModel(1800, -120)).moveTo(atModel(1900, -100));
    s.check([&] {
        // While moving, the synthetics follow the vertex.
        EXPECT_TRUE(views::viewState().DragVertex);
        EXPECT_NE(workingProfile().SYN.values(), before);
    });
    s.wait(400);
    s.releaseAt(atModel(1900, -100));
    s.check([&] {
        const model::PolygonModel& m = workingModel();
        EXPECT_FALSE(views::viewState().DragVertex);
        EXPECT_NEAR(m.XVRT(3), 1900.0f, 30.0f);
        EXPECT_NEAR(m.ZVRT(3), -100.0f, 30.0f);
        EXPECT_EQ(m.XVRT(2), 1000.0f);  // the other vertices stay
        EXPECT_TRUE(workingProfile().LSYN);
        EXPECT_NE(workingProfile().SYN.values(), before);
        EXPECT_FALSE(workingProfile().LSAVED);
        saveShot(profileFrame(), "drag_vertex_after.png");
        expectSameAsFreshRedraw();
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
