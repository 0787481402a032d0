// The Calculate menu as a user works it: the forward calculation fills the
// synthetics and shows the misfit, the inversion finds the density the data
// were made with, its Cancel keeps the last completed step, the regional is
// removed, and the model check reports what is wrong.

#include "platform/window/clock.h"
#include "platform/window/presenter.h"
#include "survey_fixture.h"
#include "toolkit/core/event_wait.h"
#include "util/abort_poll.h"
#include "shell/window_views.h"
#include "views/hit_output.h"

namespace shell::test {
namespace {

using CalculateCommandsTest = ProgramTest;

std::string statusPart(int part) {
    win::HWND bar = win::robot::findDescendantByClass(profileFrame(), "msctls_statusbar32");
    char text[128] = {};
    win::SendMessageA(bar, win::SB_GETTEXTA, static_cast<win::WPARAM>(part),
                      reinterpret_cast<win::LPARAM>(text));
    return text;
}

std::string misfitText(float rms) {
    std::array<char, 12> buf;
    return "Err: " + std::string(views::shortValueText(rms, buf)) + " mgal";
}

void chooseMultipleIterations(Script& s) {
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Multiple Iterations");
}

win::HWND progressDialog() {
    return dialogTitled("Inversion Progress....");
}

int iterationShown() {
    win::HWND d = progressDialog();
    if (!d || !win::IsWindowVisible(d)) return 0;
    const std::string t = win::robot::windowText(win::GetDlgItem(d, IDC_ITERATIONTEXT));
    return t.rfind("Iteration", 0) == 0 ? std::stoi(t.substr(9, 4)) : 0;
}

int mouseMovesEnabled() {
    int value = -1;
    tk::EventTypeSetting(tk::MouseMove, value);
    return value;
}

TEST_F(CalculateCommandsTest, ForwardFillsTheSyntheticsAndTheStatusBarShowsTheMisfit) {
    writeSurvey("SITE");
    Script s;
    enlargeProfileWindow(s);
    s.check([] { EXPECT_FALSE(workingProfile().LSYN); });
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([] {
        const model::ProfileLine& w = workingProfile();
        ASSERT_TRUE(w.LSYN);
        // The start density is lower than the true one: every synthetic
        // below its datum, most where the block is.
        EXPECT_LT(w.SYN(21, 1), w.DAT(21, 1));
        EXPECT_GT(w.DAT(21, 1) - w.SYN(21, 1), w.DAT(1, 1) - w.SYN(1, 1));
        EXPECT_GT(w.RMSERR, 0.1f);
        EXPECT_EQ(statusPart(1), misfitText(w.RMSERR));
        saveShot(profileFrame(), "calculate_forward.png");
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(CalculateCommandsTest, TheMisfitFitsItsPartOfTheStatusBarAtTheDefaultSize) {
    writeSurvey("SITE");
    struct Case {
        float misfit;
        const char* unit;
    };
    const Case cases[] = {{0.03288f, "mgal"}, {0.0003288f, "mgal"}, {12.34567f, "mgal"},
                          {123456.7f, "nT"},  {1.0f, "mgal"}};
    Script s;
    for (const Case& c : cases)
        s.check([c] {
            model::ProfileLine& w = workingProfile();
            w.RMSERR = c.misfit;
            w.LSYN = true;  // a misfit is shown once calculated
            w.DUNIT[0].assign(c.unit);
            refreshProfileWindow();
            const std::string text = statusPart(1);
            EXPECT_TRUE(text.starts_with("Err: ")) << text;
            EXPECT_TRUE(text.ends_with(std::string(" ") + c.unit)) << text;
            EXPECT_LE(statusOverflow(profileFrame(), 1), 0) << text;
            if (c.misfit == 0.03288f) saveShot(profileFrame(), "profile_status_misfit.png");
        });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Looks at the program between the inversion's polls: `watch` runs at
// every poll, and the poll itself is the toolkit's.
void watchInversion(std::function<void()> watch) {
    util::setEventPeek([watch](util::EventWords& record) {
        watch();
        int type = -1;
        tk::EventPeek(type, record);
        return type;
    });
}

TEST_F(CalculateCommandsTest, MultipleIterationsFindTheDensityTheDataWereMadeWith) {
    Survey survey;
    survey.freeVertex = false;
    writeSurvey("SITE", survey);
    auto start = std::make_shared<float>(0.0f);
    auto seen = std::make_shared<int>(0);
    auto exposed = std::make_shared<int>(0);  // 1 uncovered, 2 drawn again
    Script s;
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([=] {
        *start = workingProfile().RMSERR;
        watchInversion([seen, exposed] {
            *seen = std::max(*seen, iterationShown());
            if (*seen > 0) {
                EXPECT_EQ(mouseMovesEnabled(), 0);
            }
            // The window uncovered while the inversion runs is drawn again
            // at the inversion's next look at the events.
            if (*seen > 0 && *exposed == 0) {
                win::InvalidateRect(profileClient(), nullptr, win::TRUE);
                *exposed = 1;
            } else if (*exposed == 1 && !win::GetUpdateRect(profileClient(), nullptr, win::FALSE)) {
                *exposed = 2;
            }
        });
    });
    chooseMultipleIterations(s);
    s.check([=] {
        util::setEventPeek(nullptr);
        const model::ProfileLine& w = workingProfile();
        // The progress dialog counted the step; the misfit fell below the
        // target after it.
        EXPECT_EQ(*seen, 1);
        EXPECT_EQ(*exposed, 2);
        EXPECT_LT(w.RMSERR, 0.01f * *start);
        EXPECT_NEAR(w.MODEL.DENS(1), survey.trueDensity, 0.002f);
        EXPECT_FALSE(w.LSAVED);
        EXPECT_FALSE(win::IsWindowVisible(progressDialog()));
        EXPECT_EQ(mouseMovesEnabled(), 1);
        EXPECT_EQ(statusPart(1), misfitText(w.RMSERR));
        saveShot(profileFrame(), "calculate_inversion.png");
        saveShot(mainWindow(), "main_after_inversion.png");
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A display that records what it was shown: the progress dialog each time the
// screen was presented while it was up. It has no input of its own.
class RecordingDisplay : public win::Presenter {
  public:
    void poll() override {}
    void wait(std::optional<std::uint64_t> untilMs) override {
        if (!untilMs) throw win::IdleWithoutInput("no input can arrive");
        win::currentClock().sleepUntil(*untilMs);
    }
    void present() override {
        win::HWND d = progressDialog();
        if (!d || !win::IsWindowVisible(d)) return;
        ++withProgress;
        if (withProgress == 1) saveShot(d, "inversion_progress_presented.png");
    }
    void setCursorShape(int) override {}
    void beep() override {}
    void clipboardTextChanged() override {}
    std::optional<std::string> foreignClipboardText() override { return std::nullopt; }
    int withProgress = 0;
};

TEST_F(CalculateCommandsTest, TheProgressDialogReachesTheScreenWhileTheInversionRuns) {
    Survey survey;
    survey.freeVertex = false;
    writeSurvey("SITE", survey);
    RecordingDisplay display;
    win::FakeClock clock;
    Script s;
    s.check([&] {
        win::setClock(&clock);
        win::setPresenter(&display);
        mainLoop().InversionControl.targetRms = 0.0f;
        // Each look at the events comes a fifth of a second after the last.
        watchInversion([&clock] { clock.advance(200); });
    });
    chooseMultipleIterations(s);
    s.check([&] {
        util::setEventPeek(nullptr);
        win::setPresenter(nullptr);
        EXPECT_GT(display.withProgress, 0) << "the progress dialog was never presented";
        EXPECT_FALSE(win::IsWindowVisible(progressDialog()));
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    const int code = run("pelk-gm SITE.TQM", std::move(s));
    win::setPresenter(nullptr);
    win::setClock(nullptr);
    EXPECT_EQ(code, 0);
}

TEST_F(CalculateCommandsTest, CancelInTheProgressDialogKeepsTheLastCompletedStep) {
    Survey survey;
    survey.freeVertex = false;
    writeSurvey("SITE", survey);
    struct AfterFirst {
        float density = 0.0f, rms = 0.0f;
        int lastIteration = 0;
        bool clicked = false;
    };
    auto after = std::make_shared<AfterFirst>();
    Script s;
    s.check([=] {
        mainLoop().InversionControl.targetRms = 0.0f;  // only Cancel ends it early
        watchInversion([after] {
            const int shown = iterationShown();
            after->lastIteration = std::max(after->lastIteration, shown);
            if (shown == 2 && !after->clicked) {
                // The second step has begun: the model is the first's result.
                after->clicked = true;
                after->density = workingProfile().MODEL.DENS(1);
                after->rms = workingProfile().RMSERR;
                saveShot(progressDialog(), "dialog_152_inversion_progress.png");
                ASSERT_TRUE(win::robot::step());  // the user presses Cancel
            }
        });
    });
    chooseMultipleIterations(s);
    s.clickOn([] { return win::GetDlgItem(progressDialog(), win::IDCANCEL); });
    s.check([=] {
        util::setEventPeek(nullptr);
        ASSERT_TRUE(after->clicked);
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(after->lastIteration, 2);  // no third step
        EXPECT_EQ(w.MODEL.DENS(1), after->density);
        EXPECT_EQ(w.RMSERR, after->rms);
        EXPECT_NE(after->density, survey.startDensity);
        EXPECT_FALSE(win::IsWindowVisible(progressDialog()));
        EXPECT_FALSE(util::abortPollState().latch);
    });
    // The next run starts afresh: Cancel is not remembered.
    s.check([=] { mainLoop().InversionControl = {}; });
    chooseMultipleIterations(s);
    s.check([=] { EXPECT_NEAR(workingProfile().MODEL.DENS(1), survey.trueDensity, 0.002f); });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(CalculateCommandsTest, SingleIterationWithNothingFreeWarnsAndChangesNothing) {
    Survey survey;
    survey.densityFree = false;
    survey.freeVertex = false;
    writeSurvey("SITE", survey);
    Script s;
    s.answerMessageBox(win::IDOK);
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([=] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(
            win::testing::lastMessageBox()->text.rfind("Cannot invert with zero parameters.", 0),
            0u);
        EXPECT_EQ(workingProfile().MODEL.DENS(1), survey.startDensity);
        EXPECT_TRUE(workingProfile().LSAVED);
        EXPECT_EQ(mouseMovesEnabled(), 1);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// SITE.TQM with one profile over a layer whose top line at 300 m depth has
// three vertices, their depths and the layer's density free; the data are
// made with the middle one at `trueMiddle` and the density 2.97, the model
// starts with it at `startMiddle` and the density 2.77.
void writeLayerSurvey(float trueMiddle, float startMiddle) {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    Survey survey;
    survey.secondProfile = false;
    model::ProfileLine& p = db.profile(1);
    makeSurveyProfile(p, "Layer Line", 5000.0f, survey);
    model::PolygonModel& m = p.MODEL;
    m.NVCAP = 7;
    model::ALLOCPG(m, 7, 1);
    auto place = [&m](float middle) {
        const float top = -300.0f;
        const float x[] = {0.0f,       1000.0f,         2000.0f,         model::kFarAway,
                           model::kFarAway, -model::kFarAway, -model::kFarAway};
        const float z[] = {top, middle, top, top, -model::kFarAway, -model::kFarAway, top};
        for (int v = 1; v <= 7; ++v) {
            m.XVRT(v) = x[v - 1];
            m.ZVRT(v) = z[v - 1];
        }
    };
    for (int v = 1; v <= 7; ++v) {
        m.IPOINT(v) = v;
        m.LXFIX(v) = false;
        m.LZFIX(v) = v <= 3;
    }
    m.IV1(1) = 1;
    m.IV2(1) = 7;
    m.LAYER(1) = true;
    m.LVFIX(1) = true;
    m.DENS(1) = 2.97f;
    m.XPIVOT(1) = m.ZPIVOT(1) = model::kNotSet;
    place(trueMiddle);
    model::FDAREA(m);
    calc::CALC(p, 0);
    for (int i = 1; i <= p.NSTA; ++i)
        p.DAT(i, 1) = p.SYN(i, 1);
    place(startMiddle);
    m.DENS(1) = 2.77f;
    model::FDAREA(m);
    p.LSYN = false;
    p.LABELS.NLAB = 0;
    views::DATARESCALEPL(p);
    views::SCALE_BY(p.AXES[4], p.MODEL, p);
    db.name(1) = model::listName(p.PNAME);
    db.NPROF = 1;
    saveDatabase(db, "SITE");
}

// A Single Iteration with a layer's depths free as well as its density fits
// the data as one with the layer fixed does: the smoothing of the layer's top
// does not push the top by its depth, and the top as a whole is damped.
TEST_F(CalculateCommandsTest, SingleIterationWithALayersDepthsFreeImprovesTheFit) {
    writeLayerSurvey(-200.0f, -250.0f);
    auto before = std::make_shared<float>(0.0f);
    Script s;
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([=] {
        *before = workingProfile().RMSERR;
        EXPECT_GT(*before, 0.1f);
    });
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([=] {
        const model::ProfileLine& w = workingProfile();
        EXPECT_LT(w.RMSERR, 0.5f * *before);
        EXPECT_GT(w.MODEL.DENS(1), 2.77f);
        EXPECT_TRUE(win::testing::messageBoxes().empty());
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A free vertex of a body with no density contrast moves no synthetic: the
// step changes nothing and says so.
TEST_F(CalculateCommandsTest, SingleIterationWhoseFreeParametersMoveNothingSaysSo) {
    Survey survey;
    survey.densityFree = false;
    survey.startDensity = 2.67f;  // the background's
    writeSurvey("SITE", survey);
    Script s;
    chooseProfileMenu(s, "Calculate", "Forward");
    s.answerMessageBox(win::IDOK);
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Single Iteration");
    s.check([=] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(
            win::testing::lastMessageBox()->text.rfind("Cannot invert with zero parameters.", 0),
            0u);
        EXPECT_EQ(workingProfile().MODEL.XVRT(4), 1200.0f);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(CalculateCommandsTest, RemoveRegionalTakesTheSameRegionalFromDataAndSynthetics) {
    Survey survey;
    survey.regional = 0.3f;
    writeSurvey("SITE", survey);
    auto data = std::make_shared<std::vector<float>>();
    Script s;
    s.check([=] {
        for (int i = 1; i <= workingProfile().NSTA; ++i)
            data->push_back(workingProfile().DAT(i, 1));
        EXPECT_EQ(menuState(profileWindow(), CMD_REMOVEREGIONAL, 1), 1);
    });
    // The synthetics are not valid yet: they are calculated first.
    chooseProfileMenu(s, "Calculate", "Remove Regional");
    s.check([=] {
        const model::ProfileLine& w = workingProfile();
        ASSERT_TRUE(w.LSYN);
        EXPECT_EQ(w.NREG, 0);
        for (int i = 1; i <= w.NSTA; ++i)
            EXPECT_FLOAT_EQ(w.DAT(i, 1), (*data)[static_cast<std::size_t>(i - 1)] - 0.3f);
        // The synthetics lost the same 0.3: far from the block they are ~0.
        EXPECT_NEAR(w.SYN(1, 1), w.DAT(1, 1), 0.05f);
        EXPECT_FALSE(w.LSAVED);
        EXPECT_EQ(menuState(profileWindow(), CMD_REMOVEREGIONAL, 1), 0);
    });
    // Without a regional there is nothing to remove.
    s.answerMessageBox(win::IDOK);
    s.check([] { postCommand(profileFrame(), CMD_REMOVEREGIONAL); });
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "There is no regional to remove.");
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(CalculateCommandsTest, CheckModelReportsACrossedEdgeAndPassesALegalModel) {
    writeSurvey("SITE");
    Script s;
    s.answerMessageBox(win::IDOK);
    chooseProfileMenu(s, "File", "Check Model");
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "Model tests OK");
        // The block's bottom pulled above its top: its sides cross.
        workingProfile().MODEL.ZVRT(2) = 50.0f;
        workingProfile().MODEL.ZVRT(3) = -500.0f;
        workingProfile().MODEL.XVRT(2) = 1300.0f;
    });
    chooseProfileMenu(s, "File", "Check Model");
    s.check([] {
        win::HWND d = dialogTitled("Bad Body Edge");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_CHECKBODY)), "1");
        saveShot(d, "dialog_141_bad_body_edge.png");
    });
    // Cancel ends the check: no more findings and no final message.
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Bad Body Edge"), win::IDCANCEL); });
    s.check([] {
        EXPECT_FALSE(win::IsWindowVisible(dialogTitled("Bad Body Edge")));
        EXPECT_EQ(win::testing::messageBoxes().size(), 1u);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(CalculateCommandsTest, TheAutoCalculateAndPivotSwitchesTickTheirItems) {
    writeSurvey("SITE");
    Script s;
    chooseProfileMenu(s, "Calculate", "AutoCalculate on Detach");
    chooseProfileMenu(s, "Calculate", "Pivot moves while Rotating");
    s.check([] {
        EXPECT_FALSE(files::viewSettings().LCALCDET);
        EXPECT_EQ(menuState(profileWindow(), CMD_AUTOCALCDETACH, 2), 0);
        EXPECT_TRUE(model::sessionState().PivotMovesWhileRotating);
        EXPECT_EQ(menuState(profileWindow(), CMD_PIVOTROTATE, 2), 1);
    });
    chooseProfileMenu(s, "Calculate", "AutoCalculate While Moving");
    s.check([] {
        EXPECT_FALSE(files::viewSettings().LCALCMOVE);
        EXPECT_EQ(menuState(profileWindow(), CMD_AUTOCALCMOVE, 2), 0);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
