// The right click of the user in both windows: each place opens its own
// pop-up menu at the cursor, or the map's view dialog away from its lines.

#include "editing_test_support.h"
#include "survey_fixture.h"
#include "shell/pointer_state.h"

namespace shell::test {
namespace {

using win::robot::Button;

struct PopupCase {
    const char* place;
    win::robot::Target where;
    int menu;
};

// The pop-up menu opened at the cursor: its corner there, or moved up just
// enough to end at the foot of the screen.
void expectMenuAt(win::POINT at, const char* place) {
    const std::vector<win::HWND> open = win::robot::openPopupMenus();
    ASSERT_EQ(open.size(), 1u) << place;
    const win::RECT r = win::robot::screenRect(open.front());
    EXPECT_LE(std::abs(r.left - at.x), 2) << place;
    const bool below = std::abs(r.top - at.y) <= 2;
    const bool movedUp = r.bottom == win::GetSystemMetrics(win::SM_CYSCREEN) && r.top < at.y;
    EXPECT_TRUE(below || movedUp) << place << ": " << r.top << "-" << r.bottom << " at " << at.y;
}

TEST_F(EditingTest, EveryRightClickOpensThePopUpOfWhatLiesUnderIt) {
    writeTwoProfiles();
    // North Line: stations every 100 m over 4000 m, data peaking at 2 over
    // 2000 m; bodies under 1000-1600 m (-800..-200) and 2400-3000 m. South
    // Line runs 1500 m south of it on the map.
    const PopupCase cases[] = {
        {"a vertex", atModel(1600, -200), IDM_VERTEX},
        {"a station", atData(1800, 2.0f * std::exp(-1.0f / 9.0f)), IDM_DATAPOINT},
        {"the data graph", atData(1000, 1.8f), IDM_DATAGRAPH},
        {"an edge", atModel(1300, -200), IDM_EDGE},
        {"a gravity body", atModel(1300, -500), IDM_GRAVBODY},
        {"the background", atModel(2000, -500), IDM_BACKGROUND},
        {"above the ground", atModel(2000, 150), IDM_MODELAREA},
    };
    const win::robot::Target onLine = atMap(502000, 5998500);
    Script s;
    clickAside(s);
    for (const PopupCase& c : cases) {
        s.moveTo(c.where).clickAt(c.where, Button::Right);
        s.check([c] {
            expectMenuAt(c.where(), c.place);
            EXPECT_EQ(pointerState().PopupMenu, c.menu) << c.place;
        });
        s.key(win::VK_ESCAPE);
        s.check([c] { EXPECT_TRUE(win::robot::openPopupMenus().empty()) << c.place; });
    }
    // A box dragged with the right button over the data graph opens the
    // menu of the data points in it, at the box's far corner.
    const win::robot::Target boxEnd = atData(3200, 0.5f);
    s.pressAt(atData(2500, 1.5f), Button::Right);
    s.wait(250);
    s.moveTo(atData(2800, 1.0f)).moveTo(boxEnd);
    s.releaseAt(boxEnd, Button::Right);
    s.check([boxEnd] {
        expectMenuAt(boxEnd(), "a box over the data graph");
        EXPECT_EQ(pointerState().PopupMenu, IDM_POINTSBOX);
    });
    s.key(win::VK_ESCAPE);
    // The main window is made active first, as the user does.
    s.clickAt([] {
        const win::RECT r = win::robot::screenRect(mainWindow());
        return win::POINT{r.left + 150, r.top + 10};
    });
    s.moveTo(onLine).clickAt(onLine, Button::Right);
    s.check([onLine] {
        expectMenuAt(onLine(), "the map's profile line");
        EXPECT_EQ(shellSession().MapHitProfile, 2);
    });
    s.key(win::VK_ESCAPE);
    // Away from the map's lines the map's view dialog opens at once.
    const win::robot::Target aside = atMap(502000, 5999250);
    s.moveTo(aside).clickAt(aside, Button::Right);
    s.check([] {
        EXPECT_TRUE(win::robot::openPopupMenus().empty());
        EXPECT_EQ(shellSession().MapHitProfile, 0);
        ASSERT_TRUE(dialogTitled("View Properties - Map"));
    });
    s.key(win::VK_ESCAPE);
    s.check([] {
        EXPECT_FALSE(dialogTitled("View Properties - Map"));
        // The right press on a vertex starts the drag of its body, which
        // marks the profile changed though nothing moved; the save question
        // that follows is the editing journeys' matter, not this one's.
        workingProfile().LSAVED = true;
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(EditingTest, ARightClickInABodyOfAMagneticProfileOpensItsOwnMenu) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Magnetic Line", 41, 4000.0f, twoBodies());
                      p.DTYPE.assign("Magnetics Total Fld");
                      p.DUNIT[0].assign("nT");
                  }});
    const win::robot::Target inBody = atModel(1300, -500);
    Script s;
    clickAside(s);
    s.moveTo(inBody).clickAt(inBody, Button::Right);
    s.check([inBody] {
        expectMenuAt(inBody(), "a magnetic body");
        EXPECT_EQ(pointerState().PopupMenu, IDM_MAGBODY);
        EXPECT_EQ(shellSession().PopupBody, 1);
    });
    s.clickMenuItem("Cancel");
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A leader and a label each open their own pop-up at the cursor. Where a
// follower lies on its leader the leader is the one hit (a follower counts
// as a little farther away), so the leader's menu opens there too.
TEST_F(EditingTest, ALeaderAndALabelOpenTheirOwnMenus) {
    writeProfiles("SITE", {[](model::ProfileLine& p) {
                      makeProfile(p, "Ridge Line", 41, 4000.0f,
                                  {box(1000, -800, 1600, -200), box(1700, -900, 2300, -300)});
                  }});
    Script s;
    clickAside(s);
    // The second body's upper corner follows the first body's (vertex 3);
    // the first body's lower corner (vertex 4) follows the second body's.
    popupItem(s, atModel(1700, -300), "Snap and Lock to Nearest");
    popupItem(s, atModel(1600, -800), "Snap and Lock to Nearest");
    popupItem(s, atModel(1300, -500), "Label Body");
    s.check([] {
        const model::PolygonModel& m = workingModel();
        ASSERT_EQ(m.IPOINT(6), 3);
        ASSERT_EQ(m.IPOINT(4), 5);
        ASSERT_EQ(workingProfile().LABELS.NLAB, 1);
    });
    const PopupCase cases[] = {
        {"a leader", atModel(1600, -200), IDM_LEADER},
        {"a leader with a follower on it", atModel(1700, -900), IDM_LEADER},
        {"a label", atModel(1300, -500), IDM_LABEL},
    };
    for (const PopupCase& c : cases) {
        s.moveTo(c.where).clickAt(c.where, Button::Right);
        s.check([c] {
            expectMenuAt(c.where(), c.place);
            EXPECT_EQ(pointerState().PopupMenu, c.menu) << c.place;
        });
        s.key(win::VK_ESCAPE);
        s.check([c] { EXPECT_TRUE(win::robot::openPopupMenus().empty()) << c.place; });
    }
    // Back in the window before its menu, as the user does.
    clickAside(s);
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
