// Edit > Data Parameters of the profile window: the two "New Profile
// Parameters" dialogs set the head of the working profile.

#include "dialog_test_support.h"

namespace shell::test {
namespace {

constexpr const char* kTitle = "New Profile Parameters";

int checked(int id) {
    return win::robot::stateOf(field(kTitle, id)).checked;
}

TEST_F(ProgramTest, DataParametersOfAGravityProfileStoreTheChosenHeadAndCancelKeepsIt) {
    writeModelDatabase();
    auto before = std::make_shared<model::ProfileLine>();
    Script s;
    chooseProfileMenu(s, "Edit", "Data Parameters");
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(checked(IDC_GRAVMILLIGALS), 1);
        EXPECT_EQ(checked(IDC_DENSGCC), 1);
        EXPECT_EQ(checked(IDC_ELEVSURFACE), 1);
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_XUNIT)), "Meters");
        EXPECT_TRUE(shootDialog(d, "139_new_profile_parameters_gravity"));
    });
    clickField(s, kTitle, IDC_GRAVMICROGALS);
    clickField(s, kTitle, IDC_DENSKGM3);
    clickField(s, kTitle, IDC_ELEVCONSTANTGRAV);
    typeInto(s, kTitle, IDC_SENSORHEIGHT, "12.5");
    clickField(s, kTitle, IDC_XUNIT);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    clickField(s, kTitle, win::IDOK);
    s.check([before] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.DTYPE.view(), "Microgravity Data   ");
        EXPECT_EQ(w.DUNIT[0].view(), "ugal");
        EXPECT_EQ(w.IDENUN, 2);
        EXPECT_EQ(w.XUNIT.view(), "KM      ");
        EXPECT_EQ(w.ZUNIT.view(), "M       ");
        EXPECT_EQ(w.IELEV, 2);
        EXPECT_FLOAT_EQ(w.SENSHT, 12.5f);  // typed, so not cleared by the mode change
        EXPECT_EQ(model::sessionState().ViewXUnit, std::string_view("KM"));
        EXPECT_FALSE(w.LSAVED);
        *before = w;
    });
    // A height that is no number is refused and the dialog stays; Cancel
    // keeps everything.
    chooseProfileMenu(s, "Edit", "Data Parameters");
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_EQ(checked(IDC_GRAVMICROGALS), 1);
        EXPECT_EQ(checked(IDC_DENSKGM3), 1);
        EXPECT_EQ(checked(IDC_ELEVCONSTANTGRAV), 1);
        EXPECT_EQ(win::robot::windowText(field(kTitle, IDC_XUNIT)), "KiloMeters");
    });
    clickField(s, kTitle, IDC_GRAVGRADIENT);
    typeInto(s, kTitle, IDC_SENSORHEIGHT, "1..2");
    s.answerMessageBox(win::IDOK);
    clickField(s, kTitle, win::IDOK);
    s.check([before] {
        ASSERT_TRUE(dialogTitled(kTitle));
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text,
                  "Please enter a valid number instead of \"1..2\"");
        EXPECT_TRUE(workingProfile() == *before);
    });
    clickField(s, kTitle, win::IDCANCEL);
    s.check([before] {
        EXPECT_FALSE(dialogTitled(kTitle));
        EXPECT_TRUE(workingProfile() == *before);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, DataParametersOfAMagneticProfileRefuseAnInclinationOutOfRange) {
    writeModelDatabase();
    Script s;
    s.check([] {
        shellSession().MapHitProfile = 2;
        postCommand(mainWindow(), CMD_SELECTPROFILE);
    });
    chooseProfileMenu(s, "Edit", "Data Parameters");
    s.check([] {
        win::HWND d = dialogTitled(kTitle);
        ASSERT_TRUE(d);
        EXPECT_EQ(checked(IDC_MAGTOTAL), 1);
        EXPECT_EQ(checked(IDC_SUSCCGS), 1);
        EXPECT_TRUE(shootDialog(d, "140_new_profile_parameters_magnetics"));
    });
    clickField(s, kTitle, IDC_MAGZ);
    clickField(s, kTitle, IDC_SUSCSI);
    typeInto(s, kTitle, IDC_FIELDINCL, "400");
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        ASSERT_TRUE(dialogTitled(kTitle));
        EXPECT_FLOAT_EQ(workingProfile().FINCL, 60.0f);
    });
    typeInto(s, kTitle, IDC_FIELDINCL, "-45");
    clickField(s, kTitle, win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled(kTitle));
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.DTYPE.view(), "Magnetics Z-Comp    ");
        EXPECT_EQ(w.DUNIT[0].view(), "nT  ");
        EXPECT_EQ(w.ISUSUN, 3);
        EXPECT_FLOAT_EQ(w.FINCL, -45.0f);
        EXPECT_FLOAT_EQ(w.FIELD, 50000.0f);
        EXPECT_EQ(w.IELEV, 1);
    });
    exitWithoutSaving(s);
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
