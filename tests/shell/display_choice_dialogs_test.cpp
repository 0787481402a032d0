// The dialogs that no command opens, run on the toolkit as the program
// starts it: the displayed components and the section's display type, and
// the print font of the report; and the export selection.

#include "dialog_test_support.h"
#include "shell/plot_type_dialog.h"
#include "shell/print_dialog.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_table.h"
#include "util/dialog_wrappers.h"

namespace shell::test {
namespace {

class UncalledDialogs : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        tk::ToolkitInit("");
        tk::WindowOpen();  // the owner of the modal dialogs
    }
    void TearDown() override {
        tk::ToolkitShutdown();  // unloads the dialogs left loaded
        ProgramTest::TearDown();
    }
};

TEST_F(UncalledDialogs, ComponentsAndDisplayTypeAreChosenWithTheirOwnCaptions) {
    model::ProfileLine p;
    p.DTYPE.assign("Magnetotelluric Data");
    Script s;
    s.check([] {
        win::HWND d = dialogTitled("Displayed Components");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(field("Displayed Components", IDC_FIRSTCOMPONENT)),
                  "Apparent Resistivity");
        EXPECT_EQ(win::robot::windowText(field("Displayed Components", IDC_SECONDCOMPONENT)),
                  "Impedance Phase");
        EXPECT_EQ(win::robot::stateOf(field("Displayed Components", IDC_BOTHCOMPONENTS)).checked,
                  1);
        EXPECT_TRUE(shootDialog(d, "191_displayed_components"));
    });
    clickField(s, "Displayed Components", IDC_SECONDCOMPONENT);
    clickField(s, "Displayed Components", win::IDOK);
    s.check([] {
        win::HWND d = dialogTitled("Section Display Properties");
        ASSERT_TRUE(d);
        // A display type out of range opens on "Color Fill Only".
        EXPECT_EQ(win::robot::stateOf(field("Section Display Properties", IDC_COLOURFILLONLY))
                      .checked,
                  1);
        EXPECT_FALSE(win::IsWindowEnabled(field("Section Display Properties", IDC_SURFACEROTATION)));
        EXPECT_TRUE(shootDialog(d, "188_section_display_properties"));
    });
    clickField(s, "Section Display Properties", IDC_CONTOURFILL);
    clickField(s, "Section Display Properties", IDC_REVERSEFILL);
    clickField(s, "Section Display Properties", win::IDOK);
    win::robot::play(std::move(s));
    int type = 0, component = 7, status = 99;
    GETPLOTTYPE(p, type, component, 2, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(component, 2);
    EXPECT_EQ(type, 2);
    EXPECT_TRUE(files::sessionState().LREDTOBLUE);

    // Loop sources of transient data have no two components.
    p.DTYPE.assign("Central Loop TEM");
    win::testing::queueMessageBoxAnswer(win::IDOK);
    GETPLOTTYPE(p, type, component, 2, status);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(win::testing::lastMessageBox()->text, "TEM data do not have two components!");
}

TEST_F(UncalledDialogs, ThePrintFontIsReadBackOnlyOnOk) {
    files::ViewSettings& v = files::viewSettings();
    Script s;
    s.check([] {
        win::HWND d = dialogTitled("Print Font");
        ASSERT_TRUE(d);
        // Font 103 and style 1 are the third and the third button.
        EXPECT_EQ(win::robot::stateOf(field("Print Font", IDC_FONTSERIF)).checked, 1);
        EXPECT_EQ(win::robot::stateOf(field("Print Font", IDC_STYLEBOLD)).checked, 1);
        EXPECT_TRUE(shootDialog(d, "print_font"));
    });
    clickField(s, "Print Font", IDC_FONTSANS);
    clickField(s, "Print Font", IDC_STYLEITALIC);
    typeInto(s, "Print Font", IDC_CHARHEIGHT, "0.05");
    clickField(s, "Print Font", win::IDOK);
    win::robot::play(std::move(s));
    int status = 99;
    GETFONTTYPE(status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(v.PRINT_FONT_TYPE, 102);
    EXPECT_EQ(v.PRINT_FONT, 2);
    EXPECT_FLOAT_EQ(v.PRINT_CHAR_HEIGHT, 0.05f);
    EXPECT_FLOAT_EQ(v.PRINT_CHAR_WIDTH, 0.022f);
}

TEST_F(UncalledDialogs, TheExportSelectionLeavesTheGraphicAloneAndReadsItsBoxes) {
    files::ViewSettings& v = files::viewSettings();
    v.LPGRAPH = false;
    v.LPDATA = true;
    v.LPREG = false;
    v.LPBODS = false;
    constexpr const char* kExport = "Export Selection";
    Script s;
    s.check([] {
        win::HWND d = dialogTitled(kExport);
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::stateOf(field(kExport, IDC_PRINTDATA)).checked, 1);
        EXPECT_FALSE(win::IsWindowEnabled(field(kExport, IDC_PRINTREGIONAL)));
        EXPECT_FALSE(win::IsWindowEnabled(field(kExport, IDC_PRINTBODIES)));
        EXPECT_TRUE(shootDialog(d, "273_export_selection"));
    });
    clickField(s, kExport, IDC_PRINTDATA);   // unchecked by hand
    clickField(s, kExport, IDC_PRINTGRAPH);  // checked, but not read on export
    clickField(s, kExport, win::IDOK);
    win::robot::play(std::move(s));
    bool tables = true, nothing = false;
    PRINTDLG(tables, true, nothing);
    EXPECT_FALSE(v.LPGRAPH);
    EXPECT_FALSE(v.LPDATA);
    EXPECT_FALSE(tables);
    EXPECT_TRUE(nothing);

    // Cancel: nothing to do, and the boxes clicked are not taken.
    Script cancel;
    clickField(cancel, kExport, IDC_PRINTDATA);
    clickField(cancel, kExport, win::IDCANCEL);
    win::robot::play(std::move(cancel));
    nothing = false;
    PRINTDLG(tables, true, nothing);
    EXPECT_TRUE(nothing);
    EXPECT_FALSE(v.LPDATA);

    // The dialog stays loaded and selected: the logical check-box routines
    // on it.
    win::HWND box = tk::currentField(IDC_PRINTDATA);
    ASSERT_TRUE(box);
    for (const bool l : {true, false}) {
        util::DLGPUTCHECKBOXL(IDC_PRINTDATA, l);
        EXPECT_EQ(win::robot::stateOf(box).checked, l ? 1 : 0);
        bool back = !l;
        EXPECT_EQ(util::DLGGETCHECKBOXL(IDC_PRINTDATA, back), l);
        EXPECT_EQ(back, l);
    }
}

}  // namespace
}  // namespace shell::test
