// Shaping the model with the mouse in the profile window.

#include <array>

#include "editing_test_support.h"
#include "views/data_graph.h"
#include "views/drag_picture.h"
#include "views/model_section.h"

namespace shell::test {
namespace {

using win::robot::Button;

TEST_F(EditingTest, DraggingAVertexReshapesTheBodyAndTheSyntheticsFollow) {
    writeRidgeDatabase("SITE");
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
        // While moving, the synthetics follow the vertex: those of the
        // reshaped body alone are calculated again, to the same result.
        EXPECT_TRUE(views::viewState().DragVertex);
        EXPECT_NE(workingProfile().SYN.values(), before);
        model::ProfileLine whole;
        model::COPYPFLINE(whole, workingProfile());
        calc::CALC(whole, 0);
        for (int i = 1; i <= whole.NSTA; ++i)
            EXPECT_NEAR(workingProfile().SYN(i, 1), whole.SYN(i, 1), 1.0E-5f);
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
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// While the synthetics follow a drag, the observed values and the section
// below the dragged body are put back from kept pictures instead of being
// drawn again: the press readies them and shows no change, and after every
// move the window shows what drawing that move afresh shows.
struct KeptPictureDrag {
    std::string name;
    Button button;
    std::pair<float, float> press;
    std::vector<std::pair<float, float>> moves;
    bool withLayer = false;
};

// The ridge profile with a layer under its two bodies, its base dipping to
// 1300 m in the middle.
void writeRidgeWithLayer(const std::string& name) {
    writeProfiles(name, {[](model::ProfileLine& p) {
                      const float far = model::kFarAway;
                      std::vector<BodyOutline> bodies = twoBodies();
                      bodies.push_back({{0, -1100},
                                        {2000, -1300},
                                        {4000, -1100},
                                        {far, -1100},
                                        {far, -far},
                                        {-far, -far},
                                        {-far, -1100}});
                      makeProfile(p, "Ridge Line", 41, 4000.0f, bodies);
                      p.MODEL.LAYER(3) = true;
                      model::FDAREA(p.MODEL);
                      views::SCALE_BY(p.AXES[4], p.MODEL, p);
                  }});
}

// The drag, checked at the press and at every move (with AutoCalculate
// While Moving on), the window's picture after the last move saved as
// `shot`, and the release.
void addCheckedDrag(Script& s, const KeptPictureDrag& drag, const std::string& shot) {
    s.check([] { files::viewSettings().LCALCMOVE = true; });
    s.moveTo(atModel(drag.press.first, drag.press.second));
    auto before = std::make_shared<win::Surface>();
    s.check([before] { *before = capture(profileClient()); });
    s.pressAt(atModel(drag.press.first, drag.press.second), drag.button);
    s.check([before] {
        ASSERT_TRUE(views::viewState().DragVertex || views::viewState().DragBody);
        EXPECT_TRUE(views::dragPictureKept());
        EXPECT_TRUE(views::dragSectionKept());
        // The graph's extremes lie at its border: their markers reach
        // beyond the copy and are put back from stamps.
        EXPECT_TRUE(views::dragPictureStamped());
        EXPECT_EQ(differingPixels(*before, capture(profileClient())), 0) << "the press";
    });
    auto moves = std::make_shared<int>(0);
    for (auto [x, z] : drag.moves) {
        s.moveTo(atModel(x, z));
        s.check([moves] {
            ASSERT_TRUE(views::viewState().DragVertex || views::viewState().DragBody);
            ++*moves;
            EXPECT_TRUE(views::dragPictureKept());
            EXPECT_TRUE(views::dragSectionKept());
            EXPECT_TRUE(views::dragPictureStamped());
            const win::Surface shown = capture(profileClient());
            views::forgetDragPicture();
            selectProfileWindow();
            views::REFRESHDATA(workingProfile(), dataAxis());
            views::REFRESHMODEL(workingProfile(), workingModel(), pointerState().PressBody);
            EXPECT_EQ(differingPixels(shown, capture(profileClient())), 0) << "move " << *moves;
        });
    }
    s.check([moves, drag, shot] {
        EXPECT_EQ(*moves, static_cast<int>(drag.moves.size()));
        saveShot(profileFrame(), shot);
    });
    s.wait(400);
    s.releaseAt(atModel(drag.moves.back().first, drag.moves.back().second), drag.button);
    s.check([] {
        EXPECT_FALSE(views::dragPictureKept());
        EXPECT_FALSE(views::dragSectionKept());
    });
}

class KeptPictureDragTest : public EditingTest,
                            public ::testing::WithParamInterface<KeptPictureDrag> {};

TEST_P(KeptPictureDragTest, EveryMoveShowsWhatDrawingItAfreshWould) {
    const KeptPictureDrag& drag = GetParam();
    if (drag.withLayer)
        writeRidgeWithLayer("SITE");
    else
        writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    addCheckedDrag(s, drag, "drag_kept_picture_" + drag.name + ".png");
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

const KeptPictureDrag kFirstBodyVertex{
    "first_body_vertex",
    Button::Left,
    {1600, -200},
    {{1650, -180}, {1750, -150}, {1850, -120}, {1700, -260}, {1600, -200}}};
const KeptPictureDrag kSecondBodyOverTheFirst{
    "second_body_over_the_first",
    Button::Left,
    {2400, -300},
    {{2300, -300}, {1900, -350}, {1500, -400}, {2000, -300}, {2400, -300}}};

INSTANTIATE_TEST_SUITE_P(
    Drags, KeptPictureDragTest,
    ::testing::Values(
        // The first body: nothing lies below it.
        kFirstBodyVertex,
        // The second body drawn over the first: the first comes from the copy,
        // the dragged vertex crosses it (the model turns illegal) and back.
        kSecondBodyOverTheFirst,
        // The whole second body moves.
        KeptPictureDrag{"second_body_moved",
                        Button::Right,
                        {2400, -300},
                        {{2450, -300}, {2500, -350}, {2600, -250}, {2500, -300}}},
        // A vertex of a layer drawn after both bodies, its edges reaching
        // out to the section's sides.
        KeptPictureDrag{"layer_vertex",
                        Button::Left,
                        {2000, -1300},
                        {{2050, -1280}, {2100, -1250}, {1950, -1200}, {2000, -1300}},
                        true}),
    [](const ::testing::TestParamInfo<KeptPictureDrag>& info) { return info.param.name; });

// Nothing kept for one drag shows in the next: a second drag after the
// window changed size, after another profile was chosen, or after the
// view changed, shows at its press and at every move what drawing afresh
// shows.
struct BetweenDrags {
    std::string name;
    std::function<void(Script&)> change;
    std::function<void()> expect;
};

class SecondDragTest : public EditingTest, public ::testing::WithParamInterface<BetweenDrags> {};

TEST_P(SecondDragTest, ShowsNothingKeptForTheFirst) {
    writeTwoProfiles();
    Script s;
    clickAside(s);
    addCheckedDrag(s, kFirstBodyVertex, "drag_first_before_" + GetParam().name + ".png");
    GetParam().change(s);
    s.check(GetParam().expect);
    addCheckedDrag(s, kSecondBodyOverTheFirst, "drag_second_after_" + GetParam().name + ".png");
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, SecondDragTest,
    ::testing::Values(
        BetweenDrags{"window_resized",
                     [](Script& s) {
                         s.check([] {
                             win::SetWindowPos(profileFrame(), nullptr, 0, 0, 660, 340,
                                               win::SWP_NOMOVE | win::SWP_NOZORDER);
                         });
                     },
                     [] {
                         win::RECT r{};
                         win::GetWindowRect(profileFrame(), &r);
                         EXPECT_EQ(r.right - r.left, 660);
                         EXPECT_EQ(r.bottom - r.top, 340);
                     }},
        BetweenDrags{"other_profile",
                     [](Script& s) {
                         s.clickOn(profileList);
                         s.key(win::VK_DOWN).key(win::VK_RETURN);
                         // The first profile's changes are let go.
                         s.clickOn([] {
                             return win::GetDlgItem(dialogTitled("Save Changes Dialog"),
                                                    IDNOBUTTON);
                         });
                     },
                     [] {
                         EXPECT_EQ(workingProfile().PNAME, std::string_view("South Line"));
                     }},
        BetweenDrags{"colour_fill_turned_off",
                     [](Script& s) {
                         chooseProfileMenu(s, "View", "Color Fill Bodies (C)");
                     },
                     [] { EXPECT_FALSE(files::viewSettings().LCOLFILL); }}),
    [](const ::testing::TestParamInfo<BetweenDrags>& info) { return info.param.name; });

TEST_F(EditingTest, ABodyDraggedIntoAnotherIsTakenBackToItsLastLegalPlace) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    // The right button on a vertex moves the whole body.
    s.pressAt(atModel(1600, -200), Button::Right);
    s.moveTo(atModel(1900, -200)).moveTo(atModel(2200, -200));
    s.check([] {
        EXPECT_TRUE(views::viewState().DragBody);
        EXPECT_FALSE(model::sessionState().BadModel);
        EXPECT_NEAR(workingModel().XVRT(1), 1600.0f, 20.0f);
    });
    s.moveTo(atModel(2600, -200));  // now it overlaps the second body
    s.check([] {
        EXPECT_TRUE(model::sessionState().BadModel);
        EXPECT_EQ(tk::windowSystem().GlobalCursorShape, tk::CursorNo);
        saveShot(profileFrame(), "drag_body_illegal.png");
    });
    s.wait(400);
    s.releaseAt(atModel(2600, -200), Button::Right);
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_FALSE(views::viewState().DragBody);
        EXPECT_FALSE(model::sessionState().BadModel);
        // Back where the last legal step left it, whole and square.
        EXPECT_NEAR(m.XVRT(1), 1600.0f, 20.0f);
        EXPECT_NEAR(m.XVRT(3) - m.XVRT(1), 600.0f, 0.01f);
        EXPECT_NEAR(m.ZVRT(2) - m.ZVRT(1), 600.0f, 0.01f);
        EXPECT_EQ(m.XVRT(5), 2400.0f);
        saveShot(profileFrame(), "drag_body_taken_back.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The vertices of two models stand in the same places.
bool sameVertices(const model::PolygonModel& a, const model::PolygonModel& b) {
    if (a.NBOD != b.NBOD || a.IV2(a.NBOD) != b.IV2(b.NBOD)) return false;
    for (int v = 1; v <= a.IV2(a.NBOD); ++v)
        if (a.XVRT(v) != b.XVRT(v) || a.ZVRT(v) != b.ZVRT(v)) return false;
    return true;
}

// A press acts on what is under the pointer when it goes down: a vertex
// hovered before the pointer left the graphs stays where it is.
TEST_F(EditingTest, APressOutsideTheGraphsLeavesTheVertexHoveredBeforeAlone) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    s.moveTo(atModel(1600, -200));
    s.check([] { ASSERT_GT(pointerState().model.HitVertex, 0); });
    s.moveTo(win::robot::clientPoint(profileClient, 4, 6));
    s.pressAt(win::robot::clientPoint(profileClient, 4, 6));
    s.moveTo(win::robot::clientPoint(profileClient, 20, 8))
        .moveTo(win::robot::clientPoint(profileClient, 40, 10));
    s.check([] { EXPECT_FALSE(views::viewState().DragVertex); });
    s.releaseAt(win::robot::clientPoint(profileClient, 40, 10));
    s.check([] {
        EXPECT_EQ(workingModel().XVRT(3), 1600.0f);
        EXPECT_EQ(workingModel().ZVRT(3), -200.0f);
        EXPECT_TRUE(workingProfile().LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The status bar shows what is true now: a vertex's read-out goes once the
// profile is calculated and drawn again.
TEST_F(EditingTest, TheStatusBarForgetsTheHoveredVertexAfterACalculation) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    s.check([] { EXPECT_EQ(statusText(profileWindow(), 2), "") << "never calculated"; });
    s.moveTo(atModel(1600, -200));
    s.check([] { ASSERT_NE(statusText(profileWindow(), 4).find("Elev:"), std::string::npos); });
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([] {
        EXPECT_EQ(statusText(profileWindow(), 2).rfind("Err: ", 0), 0u);
        for (int part = 3; part <= 5; ++part) EXPECT_EQ(statusText(profileWindow(), part), "") << part;
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Escape, or a press of the other button, while a drag is under way takes
// it back whole: the model returns to where it was at the press, legal steps
// included, and the releases that follow neither click nor open a menu.
TEST_F(EditingTest, EscapeOrTheOtherButtonTakesADragBack) {
    struct Case {
        const char* what;
        Button drag;  // held on the first body's corner at (1600, -200)
        bool escape;  // else the other button is pressed
    };
    const Case cases[] = {
        {"vertex drag, Escape", Button::Left, true},
        {"vertex drag, right button", Button::Left, false},
        {"body move, Escape", Button::Right, true},
        {"body move, left button", Button::Right, false},
    };
    writeRidgeDatabase("SITE");
    auto start = std::make_shared<model::PolygonModel>();
    Script s;
    clickAside(s);
    s.check([start] {
        files::viewSettings().LCALCMOVE = true;
        model::COPYPG(*start, workingModel());
        win::testing::resetMessageBoxes();
    });
    for (const Case& c : cases) {
        const Button other = c.drag == Button::Left ? Button::Right : Button::Left;
        s.moveTo(atModel(1600, -200)).pressAt(atModel(1600, -200), c.drag);
        s.wait(250);
        // A legal step first, then one into the second body.
        s.moveTo(atModel(1800, -250)).moveTo(atModel(2700, -500));
        s.check([c] {
            SCOPED_TRACE(c.what);
            EXPECT_TRUE(views::viewState().dragging());
            EXPECT_TRUE(model::sessionState().BadModel);
        });
        if (c.escape) {
            s.key(win::VK_ESCAPE);
        } else {
            s.pressAt(atModel(2700, -500), other);
            s.releaseAt(atModel(2700, -500), other);
        }
        s.check([c, start] {
            SCOPED_TRACE(c.what);
            EXPECT_FALSE(views::viewState().dragging());
            EXPECT_FALSE(model::sessionState().BadModel);
            EXPECT_TRUE(sameVertices(workingModel(), *start));
            EXPECT_TRUE(workingProfile().LSYN);
        });
        s.moveTo(atModel(2750, -450)).releaseAt(atModel(2750, -450), c.drag);
        s.check([c, start] {
            SCOPED_TRACE(c.what);
            EXPECT_TRUE(sameVertices(workingModel(), *start));
            EXPECT_EQ(pointerState().PopupMenu, 0);
            EXPECT_TRUE(win::testing::messageBoxes().empty());
            EXPECT_TRUE(workingProfile().LSAVED);
            expectSameAsFreshRedraw();
        });
    }
    s.check([] { saveShot(profileFrame(), "drag_taken_back.png"); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

float distance(float x1, float z1, float x2, float z2) {
    return std::hypot(x2 - x1, z2 - z1);
}

TEST_F(EditingTest, ABodyTurnsAboutThePivotSetFromItsMenu) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(1300, -500), "Set Pivot Location");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_NEAR(m.XPIVOT(1), 1300.0f, 20.0f);
        EXPECT_NEAR(m.ZPIVOT(1), -500.0f, 20.0f);
        EXPECT_TRUE(files::viewSettings().LVIEWPIVOT);
    });
    // Released within 150 ms it is a click: the vertex's menu, no turn.
    s.moveTo(atModel(1600, -200)).pressAt(atModel(1600, -200), Button::Right);
    s.wait(150).releaseAt(atModel(1600, -200), Button::Right);
    s.check([] {
        EXPECT_EQ(pointerState().PopupMenu, IDM_VERTEX);
        EXPECT_FALSE(views::viewState().DragBody || pointerState().RotateBody);
        EXPECT_EQ(workingModel().XVRT(3), 1600.0f);
        EXPECT_EQ(workingModel().ZVRT(3), -200.0f);
    });
    s.clickMenuItem("Cancel");
    // Held on a vertex, the right button turns the body about its pivot.
    s.pressAt(atModel(1600, -200), Button::Right);
    s.wait(250);
    s.moveTo(atModel(1550, -150)).moveTo(atModel(1500, -100)).moveTo(atModel(1450, -50));
    s.wait(300);
    s.releaseAt(atModel(1450, -50), Button::Right);
    s.check([] {
        const model::PolygonModel& m = workingModel();
        const float px = m.XPIVOT(1), pz = m.ZPIVOT(1);
        // Every vertex kept its distance from the pivot; the body turned.
        EXPECT_NEAR(distance(m.XVRT(1), m.ZVRT(1), px, pz), distance(1000, -800, px, pz), 1.0f);
        EXPECT_NEAR(distance(m.XVRT(3), m.ZVRT(3), px, pz), distance(1600, -200, px, pz), 1.0f);
        const float turned = std::atan2(m.ZVRT(3) - pz, m.XVRT(3) - px) -
                             std::atan2(-200.0f - pz, 1600.0f - px);
        EXPECT_GT(std::fabs(turned), 0.05f);
        EXPECT_NEAR(m.XVRT(5), 2400.0f, 0.001f);
        saveShot(profileFrame(), "rotate_body.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, ANewBodyIsDigitisedWithClicksAndClosedByFinish) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(2000, -1100), "New Body");
    s.check([] {
        ASSERT_TRUE(dialogTitled("Vertex Insertion Parameters"));
        EXPECT_TRUE(mainLoop().DigitisingBody);
        win::HWND d = dialogTitled("Vertex Insertion Parameters");
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_ENTERING)), "Entering body 3");
        // The menus wait for the digitising to end.
        EXPECT_EQ(menuState(profileWindow(), CMD_FILE, 1), 0);
    });
    for (auto [x, z] : {std::pair{1800.0f, -600.0f}, {1800.0f, -1000.0f}, {2200.0f, -1000.0f}})
        s.clickAt(atModel(x, z));
    // An edge across the first body is refused with a beep.
    s.clickAt(atModel(1300, -500));
    s.check([] {
        EXPECT_EQ(model::newBodyBuffer().n, 3);
        win::HWND d = dialogTitled("Vertex Insertion Parameters");
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_INSERTIONHINT)),
                  "New vertex causes an illegal model");
        saveShot(d, "dialog_121_vertex_insertion.png");
        saveShot(profileFrame(), "digitise_body.png");
    });
    s.clickAt(atModel(2200, -600));
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Vertex Insertion Parameters"), IDC_FINISH); });
    s.check([] { ASSERT_TRUE(dialogTitled("Get Floating Point Number")); });
    s.chord({win::VK_CONTROL, 'A'}).text("0.35").key(win::VK_RETURN);
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_EQ(m.NBOD, 3);
        EXPECT_FALSE(m.LAYER(3));
        EXPECT_EQ(m.IV2(3) - m.IV1(3) + 1, 4);
        EXPECT_NEAR(m.XVRT(m.IV1(3)), 1800.0f, 20.0f);
        EXPECT_NEAR(m.ZVRT(m.IV2(3)), -600.0f, 20.0f);
        EXPECT_FLOAT_EQ(m.DENS(3), 0.35f);
        EXPECT_FALSE(mainLoop().DigitisingBody);
        EXPECT_FALSE(dialogTitled("Vertex Insertion Parameters"));
        EXPECT_EQ(menuState(profileWindow(), CMD_FILE, 1), 1);
        saveShot(profileFrame(), "digitise_body_finished.png");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, ANewLayerIsDigitisedAndRunsOffBothEnds) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(2000, -1100), "New Layer");
    s.check([] {
        win::HWND d = dialogTitled("Vertex Insertion Parameters");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_ENTERING)), "Entering layer 3");
    });
    s.clickAt(atModel(500, -1050)).clickAt(atModel(3500, -1150));
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Vertex Insertion Parameters"), IDC_FINISH); });
    s.check([] { ASSERT_TRUE(dialogTitled("Get Floating Point Number")); });
    s.chord({win::VK_CONTROL, 'A'}).text("0.5").key(win::VK_RETURN);
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_EQ(m.NBOD, 3);
        EXPECT_TRUE(m.LAYER(3));
        EXPECT_EQ(m.IV2(3) - m.IV1(3) + 1, 2 + 4);  // two points and the four closing ones
        EXPECT_NEAR(m.XVRT(m.IV1(3)), 500.0f, 20.0f);
        saveShot(profileFrame(), "digitise_layer.png");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, ABodyIsSplitBetweenTwoOfItsVertices) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    // A second vertex on another body is refused and splits nothing.
    popupItem(s, atModel(1000, -800), "Split Body");
    s.answerMessageBox(win::IDOK);
    s.moveTo(atModel(2400, -300)).clickAt(atModel(2400, -300));
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Vertices must be on the same body.");
        EXPECT_EQ(workingModel().NBOD, 2);
        EXPECT_FALSE(shellSession().SplitBodyMode);
    });
    popupItem(s, atModel(1000, -800), "Split Body");
    s.check([] {
        win::HWND d = dialogTitled("Click on second vertex to split");
        ASSERT_TRUE(d);
        EXPECT_TRUE(win::robot::findDescendantByText(d, "Move to second vertex and click to split"));
        EXPECT_TRUE(shellSession().SplitBodyMode);
        saveShot(d, "dialog_143_split_prompt.png");
    });
    s.moveTo(atModel(1300, -500)).moveTo(atModel(1600, -200));
    s.check([] {
        // The rubber line runs from the first vertex to the cursor.
        EXPECT_TRUE(shellSession().RubberLineShown);
        saveShot(profileFrame(), "split_rubber_line.png");
    });
    s.clickAt(atModel(1600, -200));
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_EQ(m.NBOD, 3);
        EXPECT_EQ(m.IV2(1) - m.IV1(1) + 1, 3);
        EXPECT_EQ(m.IV2(3) - m.IV1(3) + 1, 3);
        EXPECT_FALSE(shellSession().SplitBodyMode);
        EXPECT_FALSE(dialogTitled("Click on second vertex to split"));
        saveShot(profileFrame(), "split_body.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, AVertexLockedToItsNeighbourStaysOnItThroughAnInversion) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f,
                                  {box(1000, -800, 1600, -200), box(1700, -900, 2300, -300)});
                  }});
    Script s;
    clickAside(s);
    // The corner of the second body snaps onto the first body's corner.
    popupItem(s, atModel(1700, -300), "Snap and Lock to Nearest");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_EQ(m.IPOINT(6), 3);
        EXPECT_EQ(m.XVRT(6), m.XVRT(3));
        EXPECT_EQ(m.ZVRT(6), m.ZVRT(3));
    });
    // The leader is freed in both directions from its own menu.
    popupItem(s, atModel(1600, -200), "Free X Movement");
    popupItem(s, atModel(1600, -200), "Free Z Movement");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_TRUE(m.LXFIX(3) && m.LZFIX(3));
        EXPECT_FALSE(m.LXFIX(6) || m.LZFIX(6));
    });
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        // The leader moved; the locked vertex is still exactly on it.
        EXPECT_TRUE(m.XVRT(3) != 1600.0f || m.ZVRT(3) != -200.0f);
        EXPECT_EQ(m.XVRT(6), m.XVRT(3));
        EXPECT_EQ(m.ZVRT(6), m.ZVRT(3));
        EXPECT_EQ(m.IPOINT(6), 3);
        EXPECT_TRUE(workingProfile().LSYN);
        saveShot(profileFrame(), "lock_and_invert.png");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, HoveringADataPointShowsItsValueAndAClickShowsItsRecord) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    s.moveTo(atData(1900, 1.945f));
    s.check([] {
        const int w = profileWindow();
        EXPECT_EQ(pointerState().HitDataPoint, 20);
        EXPECT_NE(statusText(w, 3).find("20 Point"), std::string::npos);
        EXPECT_NE(statusText(w, 4).find("1900."), std::string::npos);
        EXPECT_NE(statusText(w, 5).find("1.94521 mgal"), std::string::npos);
        EXPECT_EQ(tk::windowSystem().GlobalCursorShape, tk::CursorCross);
        saveShot(profileFrame(), "hover_data_point.png");
    });
    s.answerMessageBox(win::IDOK);
    s.clickAt(atData(1900, 1.945f));
    s.check([] {
        const auto box = win::testing::lastMessageBox();
        ASSERT_TRUE(box);
        EXPECT_NE(box->text.find("Station:    1900.0"), std::string::npos);
        EXPECT_NE(box->text.find("Mask: NO"), std::string::npos);
    });
    // A release 300 ms after its press is no click; 299 ms is.
    s.check([] { win::testing::resetMessageBoxes(); });
    s.pressAt(atData(1900, 1.945f)).wait(300).releaseAt(atData(1900, 1.945f));
    s.check([] { EXPECT_TRUE(win::testing::messageBoxes().empty()); });
    s.answerMessageBox(win::IDOK);
    s.pressAt(atData(1900, 1.945f)).wait(299).releaseAt(atData(1900, 1.945f));
    s.check([] { EXPECT_EQ(win::testing::messageBoxes().size(), 1u); });
    // Off the points the read-out goes.
    s.moveTo(atData(1900, 0.8f));
    s.check([] {
        EXPECT_EQ(pointerState().HitDataPoint, 0);
        EXPECT_EQ(statusText(profileWindow(), 3), "");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The status bar tells what lies under the cursor in the model section.
TEST_F(EditingTest, HoveringTheModelSectionReadsOutVertexEdgeAndRegion) {
    struct Case {
        const char* what;
        win::robot::Target where;
        int cursor;
        // A text each part holds ("" for any); the cursor's own distance and
        // elevation are only known to the pixel, so by their unit.
        std::array<const char*, 5> parts;
    };
    const Case cases[] = {
        {"vertex", atModel(1600, -200), tk::CursorCross,
         {"Body: 1", "Vrtx: 3 of 4", "Dist: 1600.", "Elev: -200.", "dens: 0.1"}},
        {"edge", atModel(1300, -200), tk::CursorUpArrow,
         {" M", " M", " Fixed", "Vertices: 2, 3", ""}},
        {"body", atModel(2700, -600), tk::CursorArrow,
         {" M", " M", "", "Body: 2, 4 Vertices", "dens: 0.2"}},
        {"background", atModel(2000, -1100), tk::CursorArrow,
         {" M", " M", "", "Background", "dens: "}},
    };
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    for (const Case& c : cases) {
        s.moveTo(c.where);
        s.check([&c] {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(tk::windowSystem().GlobalCursorShape, c.cursor);
            for (int part = 1; part <= 5; ++part) {
                EXPECT_NE(statusText(profileWindow(), part).find(c.parts[part - 1]),
                          std::string::npos)
                    << "part " << part << ": " << statusText(profileWindow(), part);
                EXPECT_LE(statusOverflow(profileFrame(), part - 1), 0)
                    << "part " << part << " is cut: " << statusText(profileWindow(), part);
            }
        });
    }
    s.moveTo(atModel(1600, -200));
    s.check([] { saveShot(profileFrame(), "hover_vertex.png"); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The standard profile with one text label in its data graph.
void writeLabelledDatabase() {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f, twoBodies());
                      model::LabelSet& l = p.LABELS;
                      l.NLAB = 1;
                      l.IWINDOW[0] = 1;
                      l.IPARAM[0] = 0;
                      l.XCLAB[0] = l.XARRO[0] = 800.0f;
                      l.YCLAB[0] = l.YARRO[0] = 1.5f;
                      l.WDLAB[0] = 400.0f;
                      l.HILAB[0] = 0.2f;
                      l.CMODL[0].assign("Anomaly");
                  }});
}

TEST_F(EditingTest, RubberShapesAndHighlightsLeaveNoTraceOnTheScreen) {
    writeLabelledDatabase();
    auto baseline = std::make_shared<win::Surface>();
    auto axis = std::make_shared<util::AxisRecord>();
    Script s;
    clickAside(s);
    s.check([baseline, axis] {
        files::sessionState().LVLabels = true;
        files::sessionState().LZOOM = true;
        refreshProfileWindow();
        *baseline = capture(profileClient());
        *axis = dataAxis();
    });
    // A label under the cursor is outlined, and the outline goes with the cursor.
    s.moveTo(atData(800, 1.5f));
    s.check([baseline] {
        EXPECT_EQ(pointerState().HighlightedLabel, 1);
        EXPECT_GT(differingPixels(*baseline, capture(profileClient())), 0);
    });
    s.moveTo(atData(3500, 1.0f));
    s.check([] {
        EXPECT_EQ(pointerState().HighlightedLabel, 0);
        expectSameAsFreshRedraw();
    });
    // A zoom box too narrow to zoom is drawn while the button is held and
    // erased at the release.
    s.pressAt(atData(3000, 1.0f));
    s.wait(250);
    s.moveTo(atData(3010, 0.8f)).moveTo(atData(3020, 0.5f));
    s.check([baseline] {
        EXPECT_TRUE(shellSession().RubberBoxShown);
        EXPECT_GT(differingPixels(*baseline, capture(profileClient())), 0);
        saveShot(profileFrame(), "rubber_zoom_box.png");
    });
    s.releaseAt(atData(3020, 0.5f));
    s.check([axis] {
        EXPECT_FALSE(shellSession().RubberBoxShown);
        EXPECT_EQ(dataAxis(), *axis);  // not zoomed
        expectSameAsFreshRedraw();
    });
    // A selection box dragged with the right button opens the vertices'
    // menu; Cancel there changes nothing.
    s.pressAt(atModel(2200, -1000), Button::Right);
    s.wait(250);
    s.moveTo(atModel(2700, -600)).moveTo(atModel(3100, -250));
    s.check([] { EXPECT_TRUE(shellSession().RubberBoxShown); });
    s.releaseAt(atModel(3100, -250), Button::Right);
    s.clickMenuItem("Cancel");
    s.check([] {
        const auto& b = pointerState().SelectionBox;
        EXPECT_NEAR(b[0], 2200.0f, 20.0f);
        EXPECT_NEAR(b[1], 3100.0f, 20.0f);
        EXPECT_NEAR(b[2], -1000.0f, 20.0f);
        EXPECT_NEAR(b[3], -250.0f, 20.0f);
        EXPECT_EQ(workingModel().IPOINT(6), 6);
        expectSameAsFreshRedraw();
    });
    // A pivot dragged across the section.
    popupItem(s, atModel(1300, -500), "Set Pivot Location");
    s.moveTo(atModel(1300, -500));
    s.pressAt(atModel(1300, -500));
    s.moveTo(atModel(1350, -450)).moveTo(atModel(1400, -400));
    s.check([] { EXPECT_TRUE(views::viewState().DragPivot); });
    s.releaseAt(atModel(1400, -400));
    s.check([] {
        EXPECT_FALSE(views::viewState().DragPivot);
        EXPECT_NEAR(workingModel().XPIVOT(1), 1400.0f, 20.0f);
        EXPECT_NEAR(workingModel().ZPIVOT(1), -400.0f, 20.0f);
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, AnEdgeAndALabelAreDraggedAndLeaveNoTrace) {
    writeLabelledDatabase();
    Script s;
    clickAside(s);
    s.check([] {
        files::sessionState().LVLabels = true;
        refreshProfileWindow();
    });
    // The top edge of the first body, pressed between its corners, moves
    // up with both of them.
    s.moveTo(atModel(1300, -200)).pressAt(atModel(1300, -200));
    s.moveTo(atModel(1300, -150)).moveTo(atModel(1300, -100));
    s.check([] { EXPECT_TRUE(views::viewState().DragEdge); });
    s.releaseAt(atModel(1300, -100));
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_FALSE(views::viewState().DragEdge);
        EXPECT_NEAR(m.ZVRT(2), -100.0f, 20.0f);
        EXPECT_NEAR(m.ZVRT(3), -100.0f, 20.0f);
        EXPECT_EQ(m.XVRT(2), 1000.0f);
        EXPECT_EQ(m.ZVRT(1), -800.0f);
        saveShot(profileFrame(), "drag_edge.png");
        expectSameAsFreshRedraw();
    });
    // The label, held on its body, follows the cursor.
    s.moveTo(atData(800, 1.5f)).pressAt(atData(800, 1.5f));
    s.wait(250);
    s.moveTo(atData(1000, 1.3f)).moveTo(atData(1200, 1.2f));
    s.check([] { EXPECT_TRUE(pointerState().DragLabel); });
    s.wait(100);  // a release within 300 ms would edit the text instead
    s.releaseAt(atData(1200, 1.2f));
    s.check([] {
        const model::LabelSet& l = workingProfile().LABELS;
        EXPECT_FALSE(pointerState().DragLabel);
        EXPECT_NEAR(l.XCLAB[0], 1200.0f, 30.0f);
        EXPECT_NEAR(l.YCLAB[0], 1.2f, 0.05f);
        EXPECT_FLOAT_EQ(l.WDLAB[0], 400.0f);
        saveShot(profileFrame(), "drag_label.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

win::HWND lockDialog(const std::string& title) {
    return dialogTitled(title);
}

TEST_F(EditingTest, TheThreeLockModesLinkTheVerticesClickedAndRefuseChains) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    // Followers for one leader.
    popupItem(s, atModel(1600, -200), "Lock Other Vertices To This Vertex");
    s.check([] {
        ASSERT_TRUE(lockDialog("Select Followers"));
        EXPECT_TRUE(mainLoop().LeaderLockMode);
        EXPECT_EQ(menuState(0, CMD_FILE, 1), 0);
        saveShot(lockDialog("Select Followers"), "dialog_117_select_followers.png");
    });
    s.moveTo(atModel(2400, -300)).clickAt(atModel(2400, -300));
    s.moveTo(atModel(1600, -200)).clickAt(atModel(1600, -200));
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(6), 3);
        EXPECT_EQ(workingModel().IPOINT(3), 3);
        win::HWND d = lockDialog("Select Followers");
        ASSERT_TRUE(d);
        EXPECT_TRUE(win::robot::findDescendantByText(d, "Target vertex is a Leader!"));
        saveShot(d, "dialog_148_target_is_leader.png");
    });
    s.clickOn([] { return win::GetDlgItem(lockDialog("Select Followers"), IDC_FOLLOWERSCLOSE); });
    s.check([] {
        EXPECT_FALSE(mainLoop().LeaderLockMode);
        EXPECT_FALSE(lockDialog("Select Followers"));
        EXPECT_EQ(menuState(0, CMD_FILE, 1), 1);
    });
    // A leader for one vertex: a follower is refused as its leader.
    popupItem(s, atModel(3000, -300), "Lock This Vertex To Another");
    s.check([] {
        ASSERT_TRUE(lockDialog("Select Leader"));
        EXPECT_TRUE(mainLoop().FollowerLockMode);
        saveShot(lockDialog("Select Leader"), "dialog_111_select_leader.png");
    });
    s.moveTo(atModel(2400, -300)).clickAt(atModel(2400, -300));
    s.check([] {
        win::HWND d = lockDialog("Select Leader");
        ASSERT_TRUE(d);
        EXPECT_TRUE(win::robot::findDescendantByText(
            d, "Target Leader is already a Follower! Please select a different leader:"));
        EXPECT_EQ(workingModel().IPOINT(7), 7);
        saveShot(d, "dialog_133_leader_is_follower.png");
    });
    s.moveTo(atModel(1000, -200)).clickAt(atModel(1000, -200));
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(7), 2);
        EXPECT_FALSE(mainLoop().FollowerLockMode);
        EXPECT_FALSE(lockDialog("Select Leader"));
    });
    // Pairs: a follower, then its leader, with a rubber line between.
    popupItem(s, atModel(1000, -800), "Lock Pairs of Vertices Together");
    s.check([] {
        win::HWND d = lockDialog("Select Pairs to Lock");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_PAIRPROMPT)),
                  "Ready to select Follower...");
        saveShot(d, "dialog_119_select_pairs.png");
    });
    s.moveTo(atModel(3000, -900)).clickAt(atModel(3000, -900));
    s.moveTo(atModel(2300, -850)).moveTo(atModel(1600, -800));
    s.check([] {
        EXPECT_TRUE(shellSession().RubberLineShown);
        EXPECT_EQ(win::robot::windowText(
                      win::GetDlgItem(lockDialog("Select Pairs to Lock"), IDC_PAIRPROMPT)),
                  "Ready to select Leader...");
    });
    s.clickAt(atModel(1600, -800));
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(8), 4);
        EXPECT_FALSE(shellSession().RubberLineShown);
    });
    s.clickOn([] { return win::GetDlgItem(lockDialog("Select Pairs to Lock"), IDC_PAIRSCLOSE); });
    s.check([] {
        EXPECT_FALSE(mainLoop().PairLockMode);
        EXPECT_FALSE(lockDialog("Select Pairs to Lock"));
        saveShot(profileFrame(), "locks_made.png");
        expectSameAsFreshRedraw();
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The lock dialogs share one place: where the user left the last one closed.
TEST_F(EditingTest, ALockDialogOpensWhereTheLastOneWasLeft) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(1600, -200), "Lock Other Vertices To This Vertex");
    s.check([] {
        win::HWND d = lockDialog("Select Followers");
        ASSERT_TRUE(d);
        // The user puts it aside.
        win::SetWindowPos(d, nullptr, 40, 60, 0, 0,
                          win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    });
    s.clickOn([] { return win::GetDlgItem(lockDialog("Select Followers"), IDC_FOLLOWERSCLOSE); });
    s.check([] {
        EXPECT_FALSE(mainLoop().LeaderLockMode);
        EXPECT_FALSE(lockDialog("Select Followers"));
    });
    popupItem(s, atModel(3000, -300), "Lock This Vertex To Another");
    s.check([] {
        win::HWND d = lockDialog("Select Leader");
        ASSERT_TRUE(d);
        win::RECT r{};
        win::GetWindowRect(d, &r);
        EXPECT_NEAR(r.left, 40, 1);
        EXPECT_NEAR(r.top, 60, 1);
    });
    s.clickOn([] { return win::GetDlgItem(lockDialog("Select Leader"), win::IDCANCEL); });
    s.check([] {
        EXPECT_FALSE(mainLoop().FollowerLockMode);
        // Menus opened and modes left without a lock change nothing.
        EXPECT_TRUE(workingProfile().LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

win::HWND insertionDialog() {
    return dialogTitled("Vertex Insertion Parameters");
}

TEST_F(EditingTest, DigitisingSnapsAndLocksBacksUpAndIsCancelled) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(2000, -1100), "New Body");
    // The options change as the user clicks them.
    s.clickOn([] { return win::GetDlgItem(insertionDialog(), IDC_SNAPLOCK); });
    s.clickOn([] { return win::GetDlgItem(insertionDialog(), IDC_FREEX); });
    s.check([] {
        const EditState& e = editState();
        EXPECT_EQ(e.SnapLockChoice, 3);
        EXPECT_TRUE(e.SnapToNearest && e.LockToNearest);
        EXPECT_TRUE(e.NewVertexFreeX);
        EXPECT_FALSE(e.NewVertexFreeZ);
    });
    // A click near the first body's corner lands on it and follows it.
    s.moveTo(atModel(1610, -190)).clickAt(atModel(1610, -190));
    s.moveTo(atModel(2000, -200)).clickAt(atModel(2000, -200));
    s.check([] {
        const model::NewBodyBuffer& b = model::newBodyBuffer();
        ASSERT_EQ(b.n, 2);
        EXPECT_EQ(b.X[0], 1600.0f);
        EXPECT_EQ(b.Z[0], -200.0f);
        EXPECT_EQ(b.leader[0], 3);
        EXPECT_EQ(b.leader[1], 8 + 2);
        EXPECT_TRUE(b.freeX[1]);
    });
    s.clickOn([] { return win::GetDlgItem(insertionDialog(), IDC_BACKUP); });
    s.check([] { EXPECT_EQ(model::newBodyBuffer().n, 1); });
    s.answerMessageBox(win::IDOK);
    s.clickOn([] { return win::GetDlgItem(insertionDialog(), IDC_FINISH); });
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Bodies need at least 3 vertices!");
        EXPECT_TRUE(mainLoop().DigitisingBody);  // still digitising
    });
    s.clickOn([] { return win::GetDlgItem(insertionDialog(), win::IDCANCEL); });
    s.check([] {
        EXPECT_FALSE(mainLoop().DigitisingBody);
        EXPECT_EQ(model::newBodyBuffer().n, 0);
        EXPECT_EQ(workingModel().NBOD, 2);
        EXPECT_FALSE(insertionDialog() && win::robot::stateOf(insertionDialog()).visible);
        EXPECT_EQ(menuState(profileWindow(), CMD_FILE, 1), 1);
        // Nothing was added: the profile is as saved.
        EXPECT_TRUE(workingProfile().LSAVED);
        expectSameAsFreshRedraw();
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
