// The editing commands of the profile window's pop-up menus, sent as the
// menus send them, on the targets the pop-ups record.

#include "editing_test_support.h"

namespace shell::test {
namespace {

void command(int id) {
    postCommand(profileFrame(), id);
}

void target(int body, int vertex, int edgeVertex = 0) {
    PointerState& p = pointerState();
    shellSession().PopupBody = body;
    p.PopupVertex = vertex;
    p.PopupEdgeVertex = edgeVertex;
}

void selectBox(float x1, float x2, float z1, float z2) {
    pointerState().SelectionBox = {x1, x2, z1, z2};
}

TEST_F(EditingTest, VertexCommandsDeleteInsertAndFreeVerticesAndUndoAnIllegalDeletion) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      // A notched body: deleting the notch's inner corner makes
                      // its outline cross the second body.
                      makeProfile(p, "Ridge Line", 41, 4000.0f,
                                  {{{1000, -800}, {1000, -200}, {1600, -200}, {1200, -500},
                                    {1600, -800}},
                                   box(1500, -550, 1700, -450)});
                  }});
    Script s;
    s.check([] {
        target(1, 4);
        command(CMD_DELETEVERTEX);
        win::testing::queueMessageBoxAnswer(win::IDOK);
    });
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Deleting vertex creates illegal body");
        const model::PolygonModel& m = workingModel();
        EXPECT_EQ(m.IV2(1), 5);  // taken back whole
        EXPECT_EQ(m.XVRT(4), 1200.0f);
        target(1, 2, 3);
        pointerState().InsertX = 1300.0f;
        pointerState().InsertZ = -200.0f;
        command(CMD_INSERTVERTEX);
    });
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_EQ(m.IV2(1), 6);
        EXPECT_EQ(m.XVRT(3), 1300.0f);
        EXPECT_EQ(m.IV1(2), 7);
        target(1, 3);
        command(CMD_DELETEVERTEX);
    });
    s.check([] {
        EXPECT_EQ(workingModel().IV2(1), 5);
        target(2, 7);
        command(CMD_FREEVERTEXX);
    });
    s.check([] {
        EXPECT_TRUE(workingModel().LXFIX(7));
        EXPECT_FALSE(workingModel().LZFIX(7));
        target(2, 0);
        command(CMD_FREEBODYZ);
    });
    s.check([] {
        for (int v = 6; v <= 9; ++v)
            EXPECT_TRUE(workingModel().LZFIX(v));
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, LockCommandsFollowTheirRules) {
    writeRidgeDatabase("SITE");
    Script s;
    // Lock Edge: free and free, then a free first vertex takes the second's leader.
    s.check([] {
        target(1, 1, 2);
        command(CMD_LOCKEDGE);
    });
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(2), 1);
        target(2, 5, 2);
        command(CMD_LOCKEDGE);
    });
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(5), 1);
        // Both locked: refused.
        win::testing::queueMessageBoxAnswer(win::IDOK);
        target(1, 2, 5);
        command(CMD_LOCKEDGE);
    });
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text,
                  "Both vertices are locked to other vertices");
        // Lock Body refuses a body whose vertex another body follows.
        win::testing::queueMessageBoxAnswer(win::IDOK);
        target(1, 0);
        command(CMD_LOCKBODY);
    });
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_NE(win::testing::lastMessageBox()->text.find(
                      "At least one vertex of another body is locked to a vertex on this body"),
                  std::string::npos);
        EXPECT_EQ(workingModel().IPOINT(3), 3);
        // The boxed vertices of the second body: the first becomes the leader.
        selectBox(2300, 3100, -1000, -200);
        command(CMD_UNLOCKVERTICES);
    });
    s.check([] {
        EXPECT_EQ(workingModel().IPOINT(5), 5);
        command(CMD_LOCKTOGETHER);
    });
    s.check([] {
        for (int v = 5; v <= 8; ++v)
            EXPECT_EQ(workingModel().IPOINT(v), 5);
        target(2, 5);
        command(CMD_UNLOCKALL);
    });
    s.check([] {
        for (int v = 6; v <= 8; ++v)
            EXPECT_EQ(workingModel().IPOINT(v), v);
        EXPECT_TRUE(views::viewState().ShowLocks);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, BodyAndDataPointCommandsAskWhereTheyDeleteAndMarkTheProfileChanged) {
    writeRidgeDatabase("SITE");
    Script s;
    s.check([] {
        selectBox(950, 1550, -10, 10);  // stations 11 to 16
        command(CMD_MASKPOINTS);
    });
    s.check([] {
        const model::ProfileLine& w = workingProfile();
        EXPECT_FALSE(w.MASK(10, 1));
        EXPECT_TRUE(w.MASK(11, 1) && w.MASK(16, 1));
        EXPECT_FALSE(w.MASK(17, 1));
        pointerState().PopupPoint = 11;
        command(CMD_UNMASKPOINT);
    });
    s.check([] {
        EXPECT_FALSE(workingProfile().MASK(11, 1));
        command(CMD_DELETEPOINTS);
    });
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(workingProfile().NSTA, 41 - 6);
        target(1, 0);
        command(CMD_DELETEBODY);
    });
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_ESCAPE);
    s.check([] {
        EXPECT_EQ(workingModel().NBOD, 2);  // cancelled
        command(CMD_DELETEBODY);
    });
    s.key(win::VK_RETURN);
    s.check([] {
        EXPECT_EQ(workingModel().NBOD, 1);
        EXPECT_EQ(workingModel().XVRT(1), 2400.0f);
        EXPECT_TRUE(workingProfile().LSYN);  // calculated again
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, LabelCommandsAddEditArrowAndDeleteLabels) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    s.moveTo(atData(3000, 1.5f));
    s.clickAt(atData(3000, 1.5f), win::robot::Button::Right);
    s.clickMenuItem("New Label");
    s.check([] { ASSERT_TRUE(dialogTitled("Get Character String")); });
    s.text("Peak").key(win::VK_RETURN);
    s.check([] {
        const model::LabelSet& l = workingProfile().LABELS;
        ASSERT_EQ(l.NLAB, 1);
        EXPECT_EQ(l.IWINDOW[0], 1);
        EXPECT_EQ(l.CMODL[0].trimmed(), "Peak");
        EXPECT_NEAR(l.XCLAB[0], 3000.0f, 30.0f);
        EXPECT_TRUE(files::sessionState().LVLabels);
        pointerState().PopupLabel = 1;
        pointerState().PopupMenu = IDM_LABEL;
        command(CMD_ADDARROW);
    });
    s.check([] {
        const model::LabelSet& l = workingProfile().LABELS;
        EXPECT_FLOAT_EQ(l.XARRO[0], l.XCLAB[0] - 0.75f * l.WDLAB[0]);
        // The Cancel item of another menu carries the same identifier.
        pointerState().PopupLabel = 1;
        pointerState().PopupMenu = IDM_VERTEX;
        command(CMD_ADDARROW);
    });
    s.check([] {
        const model::LabelSet& l = workingProfile().LABELS;
        EXPECT_FLOAT_EQ(l.XARRO[0], l.XCLAB[0] - 0.75f * l.WDLAB[0]);
        command(CMD_DELETEARROW);
    });
    s.check([] {
        const model::LabelSet& l = workingProfile().LABELS;
        EXPECT_EQ(l.XARRO[0], l.XCLAB[0]);
        saveShot(profileFrame(), "label_added.png");
        pointerState().PopupLabel = 1;
        command(CMD_DELETELABEL);
    });
    s.check([] { EXPECT_EQ(workingProfile().LABELS.NLAB, 0); });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// The commands as a user reaches them: a right click where the target lies
// opens the menu of what is there, and the item chosen acts on that target.
TEST_F(EditingTest, ContextMenuCommandsActOnWhatWasRightClicked) {
    struct Case {
        const char* what;
        win::robot::Target where;
        const char* item;
        bool confirm;  // answers a "Proceed?" question with OK
        std::function<void()> expect;
    };
    const Case cases[] = {
        {"data point", atData(1900, 1.945f), "Mask Point", false,
         [] { EXPECT_TRUE(workingProfile().MASK(20, 1)); }},
        {"edge", atModel(1300, -200), "Insert Vertex", false,
         [] {
             const model::PolygonModel& m = workingModel();
             ASSERT_EQ(m.IV2(1), 5);
             EXPECT_NEAR(m.XVRT(3), 1300.0f, 20.0f);
             EXPECT_NEAR(m.ZVRT(3), -200.0f, 20.0f);
         }},
        {"vertex", atModel(1300, -200), "Delete Vertex", false,
         [] {
             const model::PolygonModel& m = workingModel();
             EXPECT_EQ(m.IV2(1), 4);
             EXPECT_EQ(m.XVRT(3), 1600.0f);
         }},
        {"vertex", atModel(1000, -800), "Free X Movement", false,
         [] { EXPECT_TRUE(workingModel().LXFIX(1) && !workingModel().LXFIX(2)); }},
        {"edge", atModel(2700, -300), "Free Z Movement", false,
         [] {
             const model::PolygonModel& m = workingModel();
             EXPECT_TRUE(m.LZFIX(6) && m.LZFIX(7) && !m.LZFIX(5));
         }},
        {"body", atModel(1300, -500), "Label Body", false,
         [] {
             const model::LabelSet& l = workingProfile().LABELS;
             ASSERT_EQ(l.NLAB, 1);
             EXPECT_EQ(l.IPARAM[0], 1);
             EXPECT_EQ(l.IWINDOW[0], 3);
         }},
        {"label", atModel(1300, -500), "Delete Label", false,
         [] { EXPECT_EQ(workingProfile().LABELS.NLAB, 0); }},
        {"body", atModel(2700, -600), "Hide Body", false, [] { EXPECT_TRUE(workingModel().LHIDE(2)); }},
        {"data point", atData(1900, 1.945f), "Delete Point", false,
         [] { EXPECT_EQ(workingProfile().NSTA, 40); }},
        {"body", atModel(1300, -500), "Delete Body", true,
         [] {
             const model::PolygonModel& m = workingModel();
             ASSERT_EQ(m.NBOD, 1);
             EXPECT_EQ(m.XVRT(1), 2400.0f);
         }},
    };
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    for (const Case& c : cases) {
        popupItem(s, c.where, c.item);
        if (c.confirm) {
            s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
            s.key(win::VK_RETURN);
        }
        s.check([&c] {
            SCOPED_TRACE(std::string(c.what) + ": " + c.item);
            c.expect();
        });
    }
    s.check([] {
        EXPECT_FALSE(workingProfile().LSAVED);
        saveShot(profileFrame(), "context_menu_commands.png");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
