// What editing leaves behind: click modes that must end with the profile or
// the window they wait in, the bad-model flag and the abort latch that must
// follow what is there now, refused edits that leave the model as it was,
// numbers of bodies that are gone, the start with a second argument, what a
// right click may and may not change, and the model clipboard.

#include "editing_test_support.h"
#include "model/model_check.h"
#include "shell/event_loop.h"

namespace shell::test {
namespace {

using win::robot::Button;

// North Line with the two standard bodies (eight vertices), South Line with
// one body of four.
void writeEightAndFour() {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                               makeProfile(p, "North Line", 41, 4000.0f, twoBodies());
                           },
                           [](model::ProfileLine& p) {
                               makeProfile(p, "South Line", 21, 4000.0f,
                                           {box(1000, -800, 1600, -200)});
                               for (int k = 1; k <= p.NSTA; ++k)
                                   p.NORT(k) -= 1500.0f;
                           }});
}

bool enabledWindow(win::HWND w) {
    return w && win::robot::stateOf(w).enabled;
}

bool anyClickModeDialog() {
    for (const char* title : {"Select Leader", "Select Followers", "Select Pairs to Lock",
                              "Vertex Insertion Parameters", "Click on second vertex to split"}) {
        win::HWND d = dialogTitled(title);
        if (d && win::robot::stateOf(d).visible) return true;
    }
    return false;
}

// One click mode as the user starts it: the steps, and what shows it runs.
struct ClickMode {
    const char* name;
    std::function<void(Script&)> start;
    std::function<bool()> running;
    bool holdsButton;  // the mode is a drag: the button is let go after the window closed
};

std::vector<ClickMode> clickModes() {
    const auto modeOn = [] { return clickModeRunning(); };
    return {
        {"pairs",
         [](Script& s) {
             popupItem(s, atModel(1000, -800), "Lock Pairs of Vertices Together");
             // Vertex 8 picked as follower; the rubber line follows the cursor.
             s.moveTo(atModel(3000, -900)).clickAt(atModel(3000, -900));
             s.moveTo(atModel(2500, -850)).moveTo(atModel(2000, -820));
         },
         [] { return mainLoop().PairLockMode && shellSession().RubberLineShown; }, false},
        {"leader for one vertex",
         [](Script& s) { popupItem(s, atModel(3000, -300), "Lock This Vertex To Another"); },
         modeOn, false},
        {"followers for one leader",
         [](Script& s) {
             popupItem(s, atModel(1600, -200), "Lock Other Vertices To This Vertex");
         },
         modeOn, false},
        {"digitising",
         [](Script& s) {
             popupItem(s, atModel(2000, -1100), "New Body");
             s.clickAt(atModel(1800, -1000));
         },
         [] { return mainLoop().DigitisingBody && model::newBodyBuffer().n == 1; }, false},
        {"splitting",
         [](Script& s) {
             popupItem(s, atModel(1000, -800), "Split Body");
             s.moveTo(atModel(1200, -600)).moveTo(atModel(1300, -500));
         },
         [] { return shellSession().SplitBodyMode && shellSession().RubberLineShown; }, false},
        {"pivot",
         [](Script& s) {
             popupItem(s, atModel(1300, -500), "Set Pivot Location");
             chooseProfileMenu(s, "File", "Save");
             s.moveTo(atModel(1300, -500)).pressAt(atModel(1300, -500));
             s.moveTo(atModel(1350, -550)).moveTo(atModel(1400, -600));
         },
         [] { return views::viewState().DragPivot; }, true},
    };
}

// Every click mode is refused a change of profile while it waits, and ends
// with the profile window: after the window opens again no mode, rubber
// line, dialog or vertex number of it is left, and the mouse works as ever.
TEST_F(EditingTest, NoClickModeOutlivesTheProfileWindowItWaitsIn) {
    writeEightAndFour();
    Script s;
    clickAside(s);
    for (const ClickMode& mode : clickModes()) {
        mode.start(s);
        s.check([mode] {
            SCOPED_TRACE(mode.name);
            ASSERT_TRUE(mode.running());
            if (clickModeRunning()) {
                // No other profile or model can be chosen while it waits.
                EXPECT_FALSE(enabledWindow(profileList()));
                EXPECT_EQ(menuState(0, CMD_FILE, 1), 0);
                EXPECT_EQ(menuState(profileWindow(), CMD_FILE, 1), 0);
            }
            win::PostMessageA(profileFrame(), win::WM_CLOSE, 0, 0);
        });
        s.check([mode] {
            SCOPED_TRACE(mode.name);
            EXPECT_FALSE(profileWindowOpen());
            EXPECT_FALSE(clickModeRunning());
            EXPECT_FALSE(anyClickModeDialog());
            EXPECT_EQ(shellSession().ActiveLockDialog, 0);
            EXPECT_EQ(menuState(0, CMD_FILE, 1), 1);
            EXPECT_TRUE(enabledWindow(profileList()));
        });
        if (mode.holdsButton) s.releaseAt([] { return win::robot::centreOf(mainWindow()); });
        // The profile opens again from the list.
        s.clickOn(profileList);
        s.key(win::VK_DOWN).key(win::VK_RETURN);
        s.check([] { ASSERT_TRUE(profileWindowOpen()); });
        clickAside(s);
        s.moveTo(atModel(2000, -820)).moveTo(atModel(2400, -300));
        s.check([mode] {
            SCOPED_TRACE(mode.name);
            EXPECT_EQ(workingProfile().PNAME, std::string_view("North Line"));
            EXPECT_FALSE(shellSession().RubberLineShown);
            EXPECT_FALSE(editState().PairRubberLine);
            EXPECT_FALSE(views::viewState().DragPivot);
            EXPECT_EQ(model::newBodyBuffer().n, 0);
            // The hover read-out follows the cursor: vertex 6 is under it.
            EXPECT_EQ(pointerState().model.HitVertex, 6);
        });
        // A click on a vertex only shows it: no lock, split or point is made.
        s.answerMessageBox(win::IDOK);
        s.clickAt(atModel(2400, -300));
        s.check([mode] {
            SCOPED_TRACE(mode.name);
            ASSERT_TRUE(win::testing::lastMessageBox());
            EXPECT_EQ(win::testing::lastMessageBox()->text.rfind("Body: ", 0), 0u);
            win::testing::resetMessageBoxes();
            const model::PolygonModel& m = workingModel();
            ASSERT_EQ(m.NBOD, 2);
            for (int v = 1; v <= m.vertexCount(); ++v)
                EXPECT_EQ(m.IPOINT(v), v);
            EXPECT_EQ(model::newBodyBuffer().n, 0);
            EXPECT_TRUE(workingProfile().LSAVED);
            expectSameAsFreshRedraw();
        });
    }
    // The pivot was stored into its slot: the database asks to be saved.
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A click on an edge in a click mode puts a vertex into it: the follower
// picked before still names the same vertex, one number higher.
TEST_F(EditingTest, AVertexPutIntoAnEdgeKeepsThePickedFollower) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(1000, -800), "Lock Pairs of Vertices Together");
    s.moveTo(atModel(3000, -900)).clickAt(atModel(3000, -900));
    s.check([] { ASSERT_EQ(editState().PairFollower, 8); });
    s.moveTo(atModel(1000, -500)).clickAt(atModel(1000, -500));
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_EQ(m.vertexCount(), 9);
        EXPECT_NEAR(m.ZVRT(2), -500.0f, 20.0f);
        EXPECT_EQ(editState().PairFollower, 9);
    });
    s.moveTo(atModel(1600, -200)).clickAt(atModel(1600, -200));
    s.check([] {
        const model::PolygonModel& m = workingModel();
        EXPECT_EQ(m.IPOINT(9), 4);  // (3000, -900) follows (1600, -200)
        EXPECT_EQ(m.IPOINT(8), 8);
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Select Pairs to Lock"), IDC_PAIRSCLOSE); });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Finish before any point: the count is checked before the outline is read.
TEST_F(EditingTest, FinishWithoutAPointAsksForMorePoints) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    const std::pair<const char*, const char*> cases[] = {
        {"New Body", "Bodies need at least 3 vertices!"},
        {"New Layer", "Layers need at least 1 vertex!"}};
    for (const auto& [item, message] : cases) {
        popupItem(s, atModel(2000, -1100), item);
        s.answerMessageBox(win::IDOK);
        s.clickOn([] { return win::GetDlgItem(dialogTitled("Vertex Insertion Parameters"), IDC_FINISH); });
        s.check([message] {
            ASSERT_TRUE(win::testing::lastMessageBox());
            EXPECT_EQ(win::testing::lastMessageBox()->text, message);
            EXPECT_TRUE(mainLoop().DigitisingBody);  // the user goes on digitising
            EXPECT_EQ(model::newBodyBuffer().n, 0);
            EXPECT_EQ(workingModel().NBOD, 2);
        });
        s.clickOn([] { return win::GetDlgItem(dialogTitled("Vertex Insertion Parameters"), win::IDCANCEL); });
        s.check([] { EXPECT_FALSE(mainLoop().DigitisingBody); });
    }
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A notched body: taking out the notch's inner corner (vertex 4) makes its
// outline cross the second body.
void writeNotchedDatabase() {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f,
                                  {{{1000, -800}, {1000, -200}, {1600, -200}, {1200, -500},
                                    {1600, -800}},
                                   box(1500, -550, 1700, -450)});
                  }});
}

// After a refused deletion the flag speaks of the model put back: the
// calculation and the commands that need a legal model work at once.
TEST_F(EditingTest, ARefusedDeletionLeavesTheModelLegalAndCalculating) {
    writeNotchedDatabase();
    Script s;
    clickAside(s);
    s.answerMessageBox(win::IDOK);
    popupItem(s, atModel(1200, -500), "Delete Vertex");
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Deleting vertex creates illegal body");
        EXPECT_EQ(workingModel().IV2(1), 5);
        EXPECT_FALSE(model::sessionState().BadModel);
    });
    // The same through a box around the corner.
    s.moveTo(atModel(1150, -450)).pressAt(atModel(1150, -450), Button::Right);
    s.wait(250);
    s.moveTo(atModel(1200, -500)).moveTo(atModel(1250, -550));
    s.answerMessageBox(win::IDOK);
    s.releaseAt(atModel(1250, -550), Button::Right);
    s.clickMenuItem("Delete Vertices");
    s.check([] {
        EXPECT_EQ(win::testing::messageBoxes().size(), 2u);
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Deleting vertex creates illegal body");
        EXPECT_EQ(workingModel().IV2(1), 5);
        EXPECT_FALSE(model::sessionState().BadModel);
        EXPECT_FALSE(workingProfile().LSYN);
    });
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([] {
        EXPECT_TRUE(workingProfile().LSYN);
        saveShot(profileFrame(), "refused_deletion_calculates.png");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A box over a whole body would leave it too small: nothing is deleted and
// the user is told once.
TEST_F(EditingTest, DeletingVerticesThatWouldLeaveABodyTooSmallDeletesNone) {
    writeRidgeDatabase("SITE");
    auto before = std::make_shared<model::PolygonModel>();
    Script s;
    clickAside(s);
    s.check([before] { *before = workingModel(); });
    s.moveTo(atModel(2300, -1000)).pressAt(atModel(2300, -1000), Button::Right);
    s.wait(250);
    s.moveTo(atModel(2700, -600)).moveTo(atModel(3100, -200));
    s.answerMessageBox(win::IDOK);
    s.releaseAt(atModel(3100, -200), Button::Right);
    s.clickMenuItem("Delete Vertices");
    s.check([before] {
        ASSERT_EQ(win::testing::messageBoxes().size(), 1u);
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Bodies need at least 3 vertices!");
        EXPECT_TRUE(workingModel() == *before);
        EXPECT_TRUE(workingProfile().LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A button pushed while one Single Iteration polls stops that one only.
TEST_F(EditingTest, AButtonPushedDuringOneIterationDoesNotCancelTheNext) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f, twoBodies());
                      p.MODEL.LVFIX(1) = true;  // density of body 1 free
                  }});
    auto pushes = std::make_shared<int>(0);
    Script s;
    clickAside(s);
    s.check([pushes] {
        util::setEventPeek([pushes](util::EventWords&) {
            ++*pushes;
            return util::kPushButtonEvent;
        });
    });
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([pushes] {
        util::setEventPeek(nullptr);
        EXPECT_GT(*pushes, 0);
        EXPECT_FLOAT_EQ(workingModel().DENS(1), 0.1f);  // that one stopped
    });
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([] {
        EXPECT_NE(workingModel().DENS(1), 0.1f);
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

void writeThreeBodies() {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f,
                                  {box(400, -800, 900, -200), box(1000, -800, 1600, -200),
                                   box(2400, -900, 3000, -300)});
                  }});
}

// A model that fails the check loses the body that crossed: it is legal
// again, and the calculation that follows the deletion runs.
TEST_F(EditingTest, DeletingTheCrossingBodyLeavesTheModelLegal) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Crossed Line", 21, 4000.0f,
                                  {box(1000, -800, 1600, -200), box(1400, -600, 2000, -400)});
                  }});
    Script s;
    clickAside(s);
    s.check([] { ASSERT_TRUE(model::sessionState().BadModel); });
    popupItem(s, atModel(1800, -500), "Delete Body");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] {
        ASSERT_EQ(workingModel().NBOD, 1);
        EXPECT_FALSE(model::LBADMODEL(workingModel()));
        EXPECT_FALSE(model::sessionState().BadModel);
        EXPECT_TRUE(workingProfile().LSYN);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Edit > Body asks for the body: neither a body deleted since nor the body
// of a pop-up closed with Cancel is taken for the user's choice.
TEST_F(EditingTest, EditBodyAsksWhenThePopupBodyIsGoneOrWasNotChosen) {
    writeThreeBodies();
    Script s;
    clickAside(s);
    popupItem(s, atModel(2700, -600), "Delete Body");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_EQ(workingModel().NBOD, 2); });
    chooseProfileMenu(s, "Edit", "Body");
    s.check([] {
        win::HWND d = dialogTitled("Get Integer");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_PROMPT)),
                  "Enter number of body to edit (1:  2):");
        EXPECT_FALSE(dialogTitled("Edit Body"));
    });
    s.key(win::VK_ESCAPE);
    popupItem(s, atModel(1300, -500), "Cancel");
    chooseProfileMenu(s, "Edit", "Body");
    s.check([] {
        EXPECT_TRUE(dialogTitled("Get Integer"));
        EXPECT_FALSE(dialogTitled("Edit Body"));
    });
    s.key(win::VK_ESCAPE);
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Started with a second argument nothing is drawn; the current profile is
// its slot's own copy, so no question offers to store it, and a save keeps
// every profile whole.
TEST_F(EditingTest, AStartWithASecondArgumentOffersNothingToStore) {
    writeRidgeDatabase("SITE");
    Script s;
    s.check([] {
        EXPECT_FALSE(profileWindowOpen());
        EXPECT_EQ(currentProfile(), 1);
        EXPECT_TRUE(workingProfile().LSAVED);
        EXPECT_EQ(workingProfile().PNAME, std::string_view("Ridge Line"));
        EXPECT_EQ(workingModel().NBOD, 2);
    });
    chooseMenu(s, "File", "Save");
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM NODRAW", std::move(s)), 0);
    EXPECT_TRUE(win::testing::messageBoxes().empty());
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    util::AxisRecord axis{};
    int status = 0;
    files::BIOPELK(db, axis, "LOAD", "SITE.TQM", status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(db.profile(1).NSTA, 41);
    EXPECT_EQ(db.profile(1).MODEL.NBOD, 2);
    model::CLEARDB(db);
}

// A right click that only opens a menu changes nothing; Set Pivot Location
// and Snap and Lock turn their view switches on with the menu's tick.
TEST_F(EditingTest, ARightClickChangesNothingAndSwitchesTurnedOnAreTicked) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    popupItem(s, atModel(1600, -200), "Cancel");
    s.check([] {
        EXPECT_TRUE(workingProfile().LSAVED);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWPIVOTS, 2), 0);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWLOCKS, 2), 0);
    });
    popupItem(s, atModel(1300, -500), "Set Pivot Location");
    s.check([] {
        EXPECT_TRUE(files::viewSettings().LVIEWPIVOT);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWPIVOTS, 2), 1);
    });
    popupItem(s, atModel(2400, -300), "Snap and Lock to Nearest");
    s.check([] {
        EXPECT_TRUE(views::viewState().ShowLocks);
        EXPECT_EQ(menuState(profileWindow(), CMD_VIEWLOCKS, 2), 1);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Copy Model keeps the model; Paste Model puts it into another profile;
// Paste Model to All into every one, after its question.
TEST_F(EditingTest, TheModelClipboardCarriesAModelToOneOrEveryProfile) {
    writeEightAndFour();
    Script s;
    clickAside(s);
    s.answerMessageBox(win::IDOK);
    chooseProfileMenu(s, "Edit", "Paste Model");
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_NE(win::testing::lastMessageBox()->text.find("The model clipboard is empty."),
                  std::string::npos);
        EXPECT_EQ(workingModel().NBOD, 2);
        EXPECT_TRUE(workingProfile().LSAVED);
    });
    chooseProfileMenu(s, "Edit", "Copy Model");
    s.clickOn(profileList);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    s.check([] {
        ASSERT_EQ(workingProfile().PNAME, std::string_view("South Line"));
        EXPECT_EQ(workingModel().NBOD, 1);
    });
    chooseProfileMenu(s, "Edit", "Paste Model");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        const model::PolygonModel& north = database().profile(1).MODEL;
        ASSERT_EQ(m.NBOD, 2);
        ASSERT_EQ(m.vertexCount(), 8);
        for (int v = 1; v <= 8; ++v) {
            EXPECT_EQ(m.XVRT(v), north.XVRT(v));
            EXPECT_EQ(m.ZVRT(v), north.ZVRT(v));
        }
        EXPECT_FLOAT_EQ(m.DENS(2), 0.2f);
        EXPECT_EQ(m.NTOPO, 21);  // South Line keeps its own topography
        EXPECT_FALSE(workingProfile().LSAVED);
        EXPECT_FALSE(workingProfile().LSYN);
        EXPECT_FALSE(model::sessionState().BadModel);
        saveShot(profileFrame(), "model_pasted.png");
    });
    // Stored into its slot; the second body taken out again and this model
    // of one body carried to every profile from the main window.
    chooseProfileMenu(s, "File", "Save");
    s.check([] { EXPECT_EQ(database().profile(2).MODEL.NBOD, 2); });
    popupItem(s, atModel(2700, -600), "Delete Body");
    s.key(win::VK_RETURN);
    chooseProfileMenu(s, "Edit", "Copy Model");
    s.check([] { ASSERT_EQ(workingModel().NBOD, 1); });
    chooseMenu(s, "Edit", "Paste Model to All");
    s.check([] {
        win::HWND box = dialogTitled("Proceed?");
        ASSERT_TRUE(box);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(box, IDC_PROMPT)),
                  "This will replace the 2-D model in EVERY profile of thedatabase with the "
                  "model in the clipboard");
    });
    s.key(win::VK_RETURN);
    s.check([] {
        for (int i = 1; i <= 2; ++i) {
            const model::PolygonModel& m = database().profile(i).MODEL;
            EXPECT_EQ(m.NBOD, 1) << i;
            EXPECT_EQ(m.vertexCount(), 4) << i;
            EXPECT_EQ(m.XVRT(3), 1600.0f) << i;
            EXPECT_FALSE(database().profile(i).LSYN) << i;
        }
        EXPECT_EQ(database().profile(1).MODEL.NTOPO, 41);
        EXPECT_FALSE(database().LDBSAV);
        EXPECT_EQ(workingModel().NBOD, 1);
    });
    exitWithoutSaving(s);
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A model read from a file replaces the bodies the synthetics were
// calculated for; the flags speak of the model read.
TEST_F(EditingTest, AModelReadFromAFileLeavesNoSyntheticsOfTheOldOne) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    chooseFileThroughMenus(s, profileFrame, {"File", "Export", "Model"},
                           "Kervo/Pelk-GM ASCII Model File", "r.mdl");
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([] { ASSERT_TRUE(workingProfile().LSYN); });
    s.answerMessageBox(win::IDOK);  // "READ SUCCESSFUL WITH 2 BODIES"
    chooseFileThroughMenus(s, profileFrame, {"File", "Import", "ASCII Model File"},
                           "Kervo/Pelk-GM ASCII Model File", "r.mdl");
    s.check([] {
        EXPECT_EQ(workingModel().NBOD, 2);
        EXPECT_FALSE(workingProfile().LSAVED);
        EXPECT_FALSE(workingProfile().LSYN);
        EXPECT_FALSE(model::sessionState().BadModel);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Save As in the profile window stores a copy under a new name, and the
// window goes on with that copy: a later Save writes into the copy, never
// over the profile it was made from.
TEST_F(EditingTest, AProfileSavedAsANewOneLeavesTheOriginalAsItWas) {
    writeRidgeDatabase("SITE");
    Script s;
    clickAside(s);
    chooseProfileMenu(s, "File", "Save_As");
    s.check([] { ASSERT_TRUE(dialogTitled("Get Character String")); });
    s.clickOn(
        [] { return win::GetDlgItem(dialogTitled("Get Character String"), IDC_STRINGVALUE); });
    s.chord({win::VK_CONTROL, 'A'}).text("Copy Line").key(win::VK_RETURN);
    s.check([] {
        ASSERT_EQ(database().NPROF, 2);
        EXPECT_EQ(currentProfile(), 2);
        EXPECT_EQ(database().profile(1).PNAME.trimmed(), "Ridge Line");
        EXPECT_EQ(database().profile(2).PNAME.trimmed(), "Copy Line");
        EXPECT_EQ(workingProfile().PNAME.trimmed(), "Copy Line");
        EXPECT_TRUE(workingProfile().LSAVED);
        EXPECT_NE(win::robot::windowText(profileFrame()).find("Copy Line"), std::string::npos);
        saveShot(profileFrame(), "profile_saved_as.png");
    });
    chooseProfileMenu(s, "File", "Save");
    s.check([] {
        EXPECT_EQ(database().profile(1).PNAME.trimmed(), "Ridge Line");
        EXPECT_EQ(database().profile(2).PNAME.trimmed(), "Copy Line");
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
