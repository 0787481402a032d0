// Edit > Body of the profile window and the body editor it opens: vertices
// typed into the grid, the model rechecked, crossings refused.

#include <cmath>

#include "dialog_test_support.h"
#include "shell/body_editor.h"

namespace shell::test {
namespace {

constexpr const char* kTitle = "Edit Body";
constexpr const char* kInteger = "Get Integer";

void typeCell(Script& s, int column, int row, const std::string& text) {
    typeIntoCell(s, kTitle, IDC_BODYGRID, column, row, text);
}

bool enabled(int id) {
    return win::robot::stateOf(field(kTitle, id)).enabled;
}

TEST_F(ProgramTest, BodyEditorMovesAVertexAndTheModelIsRechecked) {
    writeModelDatabase();
    Script s;
    chooseProfileMenu(s, "Edit", "Body");
    s.check([] {
        win::HWND d = dialogTitled(kInteger);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kInteger, IDC_PROMPT)),
                  "Enter number of body to edit (1:  3):");
        EXPECT_TRUE(shootDialog(d, "136_get_integer"));
    });
    // A number outside 1..3 ends the command.
    typeInto(s, kInteger, IDC_INTEGERVALUE, "4");
    clickField(s, kInteger, win::IDOK);
    s.check([] { EXPECT_FALSE(dialogTitled(kTitle)); });
    chooseProfileMenu(s, "Edit", "Body");
    typeInto(s, kInteger, IDC_INTEGERVALUE, "1");
    clickField(s, kInteger, win::IDOK);
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_BODYNUMBER)), "1");
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_BODYKIND)), "Body");
        const tk::GridRecord* g = gridOf(kTitle, IDC_BODYGRID);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->columns[1].reals[1], 150.0f);
        EXPECT_EQ(g->columns[3].reals[3], -80.0f);
        EXPECT_EQ(g->columns[1].flags[4] & tk::CellHasValue, 0);
        EXPECT_TRUE(shootDialog(d, "107_edit_body"));
    });
    typeCell(s, 2, 2, "180");
    typeInto(s, kTitle, IDC_PROPERTY, "0.5");
    clickField(s, kTitle, IDC_PROPERTYFREE);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::PolygonModel& m = workingProfile().MODEL;
        EXPECT_EQ(m.XVRT(2), 180.0f);
        EXPECT_EQ(m.XVRT(3), 150.0f);
        EXPECT_FLOAT_EQ(m.DENS(1), 0.5f);
        EXPECT_TRUE(m.LVFIX(1));
        // The area follows the new outline (its sign gives the orientation).
        EXPECT_FLOAT_EQ(std::fabs(m.AREAS(1)), 0.5f * (130.0f + 100.0f) * 60.0f);
        EXPECT_EQ(m.ILEVL(1), 1);
        EXPECT_FALSE(model::sessionState().BadModel);
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, BodyEditorRefusesACrossingBodyAndCancelLeavesTheModel) {
    writeModelDatabase();
    auto before = std::make_shared<model::PolygonModel>();
    Script s;
    s.check([before] {
        *before = workingProfile().MODEL;
        shellSession().PopupBody = 1;  // as the body's context menu leaves it
        postCommand(profileFrame(), CMD_EDITBODYPOPUP);
    });
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(shellSession().PopupBody, 0);
    });
    // Vertex 2 into body 2 (x 250..350): refused, nothing changes.
    typeCell(s, 2, 2, "300");
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([before] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Edges in new body overlap other bodies");
        EXPECT_TRUE(workingProfile().MODEL == *before);
        EXPECT_EQ(gridOf(kTitle, IDC_BODYGRID)->currentColumn, 1);  // the X column
    });
    // A body keeps three vertices: Delete Cell stops at the fourth row.
    s.clickAt([] { return gridCell(dialogTitled(kTitle), IDC_BODYGRID, 2, 1); });
    s.check([] { EXPECT_TRUE(enabled(IDC_DELETECELL)); });
    clickField(s, kTitle, IDC_DELETECELL);
    s.check([] {
        EXPECT_FALSE(enabled(IDC_DELETECELL));
        EXPECT_EQ(gridOf(kTitle, IDC_BODYGRID)->columns[1].reals[0], 300.0f);
    });
    clickField(s, kTitle, win::IDCANCEL);
    s.check([before] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_TRUE(workingProfile().MODEL == *before);
        EXPECT_TRUE(workingProfile().LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, BodyEditorGrowsABodyAndTheLaterBodiesKeepTheirVertices) {
    writeModelDatabase();
    Script s;
    s.check([] {
        shellSession().PopupBody = 1;
        postCommand(profileFrame(), CMD_EDITBODYPOPUP);
    });
    // A row inserted at row 2 copies vertex 2; it becomes (100, -10).
    s.clickAt([] { return gridCell(dialogTitled(kTitle), IDC_BODYGRID, 2, 2); });
    clickField(s, kTitle, IDC_INSERTROW);
    typeCell(s, 2, 2, "100");
    typeCell(s, 4, 2, "-10");
    clickField(s, kTitle, win::IDOK);
    // The layer shows its two vertices, not its four closing ones.
    s.check([] {
        ASSERT_FALSE(dialogTitled(kTitle));
        shellSession().PopupBody = 3;
        postCommand(profileFrame(), CMD_EDITBODYPOPUP);
    });
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_BODYKIND)), "Layer");
        const tk::GridRecord* g = gridOf(kTitle, IDC_BODYGRID);
        EXPECT_EQ(g->columns[1].reals[1], 400.0f);
        EXPECT_EQ(g->columns[1].flags[2] & tk::CellHasValue, 0);
    });
    typeCell(s, 4, 2, "-140");
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::PolygonModel& m = workingProfile().MODEL;
        ASSERT_EQ(m.NBOD, 3);
        EXPECT_EQ(m.IV2(1), 5);
        EXPECT_EQ(m.XVRT(2), 100.0f);
        EXPECT_EQ(m.ZVRT(2), -10.0f);
        EXPECT_EQ(m.IV1(2), 6);
        EXPECT_EQ(m.XVRT(6), 250.0f);
        EXPECT_EQ(m.IV1(3), 10);
        EXPECT_EQ(m.IV2(3), 15);  // two user vertices and four closing ones
        EXPECT_EQ(m.ZVRT(11), -140.0f);
        EXPECT_EQ(m.ZVRT(12), -140.0f);  // closing at the last vertex's depth
        EXPECT_EQ(m.XVRT(13), model::kFarAway);
        EXPECT_EQ(m.XVRT(14), -model::kFarAway);
        // Every vertex still leads itself: the links moved with the vertices.
        for (int v = 1; v <= m.vertexCount(); ++v)
            EXPECT_EQ(m.IPOINT(v), v) << v;
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, BodyEditorOfAMagneticProfileAndANewBody) {
    writeModelDatabase();
    auto status = std::make_shared<int>(1);
    Script s;
    s.check([] {
        shellSession().MapHitProfile = 2;
        postCommand(mainWindow(), CMD_SELECTPROFILE);
    });
    // One body: Edit > Body opens it at once.
    chooseProfileMenu(s, "Edit", "Body");
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_FALSE(enabled(IDC_INCLINATIONFREE));
        EXPECT_TRUE(shootDialog(d, "123_edit_body_magnetics"));
    });
    typeInto(s, kTitle, IDC_INCLINATION, "45");
    typeInto(s, kTitle, IDC_KRATIO, "0.8");
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_FLOAT_EQ(workingProfile().MODEL.DIPS(1), 45.0f);
        EXPECT_FLOAT_EQ(workingProfile().MODEL.REMS(1), 0.8f);
    });
    // A new body from typed vertices (New Body by dialog asks for it so).
    s.check([status] { BODYEDIT(workingProfile().MODEL, 2, false, false, *status); });
    typeCell(s, 2, 1, "250");
    typeCell(s, 4, 1, "-30");
    typeCell(s, 2, 2, "300");
    typeCell(s, 4, 2, "-30");
    typeInto(s, kTitle, IDC_PROPERTY, "0.01");
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Bodies need at least three vertices");
        EXPECT_EQ(workingProfile().MODEL.NBOD, 1);
    });
    typeCell(s, 2, 3, "280");
    typeCell(s, 4, 3, "-60");
    clickField(s, kTitle, win::IDOK);
    s.check([status] {
        EXPECT_EQ(*status, 0);
        const model::PolygonModel& m = workingProfile().MODEL;
        ASSERT_EQ(m.NBOD, 2);
        EXPECT_EQ(m.IV1(2), 5);
        EXPECT_EQ(m.XVRT(7), 280.0f);
        EXPECT_FLOAT_EQ(m.DENS(2), 0.01f);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
