// Every dialog template of the program loads from the resources with the
// fields its routine uses, and every text of it fits its control.

#include <array>
#include <memory>
#include <sstream>
#include <vector>

#include "dialog_test_support.h"
#include "platform/gdi/gdi.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "util/dialog_wrappers.h"

namespace shell::test {
namespace {

struct Template {
    int id;
    std::vector<int> fields;
};

const std::vector<Template>& templates() {
    static const std::vector<Template> all = {
        {IDD_COLORFILL, {1005, 1008, 1009, 1010, 1011, 1376, 1122, 1, 2}},
        {IDD_MODELPARAMSGRAV, {1068, 1069, 1106, 1019, 1020, 1, 2}},
        {IDD_BODYGRAV,
         {1252, 1077, 1068, 1069, 1074, 1073, 1075, 1076, 1106, 1019, 1020, 1037, 1038, 1039, 1040,
          1, 2}},
        {IDD_BODYMAG, {1252, 1077, 1068, 1069, 1074, 1073, 1075, 1076, 1078, 1081, 1083, 1079,
                       1084, 1085, 1106, 1019, 1020, 1037, 1038, 1039, 1040, 1,    2}},
        {IDD_BACKGROUNDGRAV, {1068, 1069, 1, 2}},
        {IDD_BACKGROUNDMAG, {1068, 1078, 1081, 1083, 1069, 1079, 1084, 1085, 1, 2}},
        {IDD_DATAEDITSENSOR,
         {1013, 1026, 1105, 1119, 1041, 1132, 1019, 1020, 1037, 1038, 1039, 1040, 1016, 1017, 1018,
          1, 2}},
        {IDD_MODELPARAMSMAG, {1068, 1069, 1126, 1081, 1083, 1106, 1019, 1020, 1, 2}},
        {IDD_INTEGER, {1117, 1167, 1, 2}},
        {IDD_DATAEDIT,
         {1013, 1026, 1105, 1119, 1041, 1111, 1151, 1152, 1019, 1020, 1037, 1038, 1039, 1040, 1016,
          1017, 1018, 1, 2}},
        {IDD_NEWGRAVITY,
         {1133, 1134, 1135, 1138, 1139, 1105, 1119, 1127, 1228, 1131, 1128, 1151, 1152, 1, 2}},
        {IDD_NEWMAGNETICS, {1140, 1141, 1144, 1145, 1146, 1147, 1148, 1150, 1208, 1210, 1209, 1153,
                            1154, 1155, 1105, 1119, 1127, 1132, 1131, 1128, 1151, 1152, 1,    2}},
        {IDD_REGIONAL, {1219, 1019, 1020, 1, 2}},
        {IDD_GEOMETRY, {1230, 1231, 1232, 1233, 1234, 1236, 1240, 1242, 1243, 1239, 1053, 1, 2}},
        {IDD_MAPPROPERTIES, {1089, 1114, 1115, 1116, 1118, 1256, 1, 2, 1090}},
        {IDD_PROFILEPROPERTIES, {1304, 1114, 1115, 1116, 1118, 1256, 1, 2, 1090}},
        {IDD_LINENAME, {1303, 1, 2}},
        {IDD_PLOTCOLORS,
         {1130, 1007, 1022, 1032, 1044, 1246, 1323, 1324, 1024, 1042, 1045, 1224, 1065, 1, 2}},
        {IDD_NUMBER, {1117, 1062, 1, 2}},
        {IDD_SAVECHANGES, {1002, 6, 7, 2}},
        {IDD_HINT, {1}},
        {IDD_PROCEED, {1117, 1, 2}},
        {IDD_STRING, {1117, 1136, 1, 2}},
        {IDD_SPLASH, {1300}},
        {IDD_PROFILELIST, {1289}},
        {IDD_PRINTSELECTION, {1058, 1051, 1257, 1259, 1, 2}},
        {IDD_EXPORTSELECTION, {1058, 1051, 1257, 1259, 1, 2}},
        {IDD_COMPONENTS, {1305, 1306, 1307, 1, 2}},
        {IDD_SECTIONDISPLAY, {1295, 1296, 1297, 1298, 1299, 1300, 1376, 1301, 1302, 1, 2}},
    };
    return all;
}

constexpr int kPageFields[] = {1091, 1382, 1383, 1387, 1386, 1093, 1099, 1142, 1092};

std::string text(win::HWND h) {
    return win::robot::windowText(h);
}

std::vector<std::string> lines(const std::string& t) {
    std::vector<std::string> out;
    std::istringstream in(t);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

// What does not fit in a control: its text is measured in its own font.
std::string overflow(win::HWND c) {
    const std::string cls = win::robot::className(c);
    const std::string t = text(c);
    if (t.empty() || (cls != "Static" && cls != "Button")) return {};
    win::RECT r{};
    win::GetClientRect(c, &r);
    win::HDC dc = win::GetDC(c);
    auto font = reinterpret_cast<win::HGDIOBJ>(win::SendMessageA(c, win::WM_GETFONT, 0, 0));
    win::HGDIOBJ old = font ? win::SelectObject(dc, font) : nullptr;
    win::TEXTMETRICA tm{};
    win::GetTextMetricsA(dc, &tm);
    auto width = [&](const std::string& s) {
        win::SIZE size{};
        win::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(c, win::GWL_STYLE));
    int room = r.right;
    if (cls == "Button") {
        const win::DWORD kind = style & 0xF;
        room -= kind == win::BS_PUSHBUTTON || kind == win::BS_DEFPUSHBUTTON ? 6
                : kind == win::BS_GROUPBOX                                  ? 16
                                                                            : 18;
    }
    // Words wrap in a static of several lines: they must fit its height.
    const bool wraps = cls == "Static" && r.bottom >= 2 * tm.tmHeight;
    int needed = 0, widest = 0;
    for (const std::string& l : lines(t)) {
        if (!wraps) {
            widest = std::max(widest, width(l));
            ++needed;
            continue;
        }
        std::istringstream words(l);
        std::string line, w;
        ++needed;
        while (words >> w) {
            const std::string longer = line.empty() ? w : line + " " + w;
            if (width(longer) > room && !line.empty()) {
                ++needed;
                line = w;
            } else {
                line = longer;
            }
            widest = std::max(widest, width(line));
        }
    }
    if (old) win::SelectObject(dc, old);
    win::ReleaseDC(c, dc);
    if (widest > room || needed * tm.tmHeight > r.bottom + 1)
        return "\"" + t + "\" needs " + std::to_string(widest) + " x " +
               std::to_string(needed * tm.tmHeight) + " pixels, has " + std::to_string(room) +
               " x " + std::to_string(r.bottom);
    return {};
}

void expectTextsFit(win::HWND dialog, int id) {
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        if (win::robot::className(c) == "#32770") expectTextsFit(c, win::GetDlgCtrlID(c));
        const std::string problem = overflow(c);
        EXPECT_TRUE(problem.empty()) << "dialog " << id << ": " << problem;
    }
}

TEST_F(ProgramTest, EveryDialogTemplateLoadsWithItsFieldsAndItsTextsFit) {
    writeModelDatabase();
    Script s;
    s.check([] {
        for (const Template& t : templates()) {
            SCOPED_TRACE("dialog " + std::to_string(t.id));
            tk::toolkitState().LastErrorNumber = 0;
            const int identifier = 2000 + t.id;
            tk::DlgLoad(t.id, identifier);
            ASSERT_EQ(tk::toolkitState().LastErrorNumber, 0);
            win::HWND d = tk::dialogWindowOf(identifier);
            ASSERT_TRUE(d);
            for (int f : t.fields)
                EXPECT_TRUE(win::GetDlgItem(d, f)) << "field " << f;
            expectTextsFit(d, t.id);
            tk::DlgSelect(identifier);
            tk::DlgUnload();
        }
        // The axis pages came with the View Properties dialogs; load them
        // once more on their own.
        for (int page : {IDD_NORTHINGPAGE, IDD_EASTINGPAGE, IDD_DISTANCEPAGE, IDD_DATAPAGE,
                         IDD_ELEVATIONPAGE}) {
            SCOPED_TRACE("page " + std::to_string(page));
            tk::DlgLoad(page, 3000 + page);
            win::HWND d = tk::dialogWindowOf(3000 + page);
            ASSERT_TRUE(d);
            for (int f : kPageFields)
                EXPECT_TRUE(win::GetDlgItem(d, f)) << "field " << f;
            expectTextsFit(d, page);
            tk::DlgSelect(3000 + page);
            tk::DlgUnload();
        }
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(ProgramTest, TheStartUpAndQuestionDialogsShowTheirWholeTexts) {
    writeModelDatabase();
    auto answers = std::make_shared<std::array<bool, 2>>();
    Script s;
    s.check([] {
        win::HWND hint = dialogTitled("Hints");
        ASSERT_TRUE(hint);
        EXPECT_TRUE(win::robot::findDescendantByText(
            hint, "Use right mouse button to drag entire body with vertex to new position"));
        EXPECT_TRUE(shootDialog(hint, "155_hints"));
        // Centred, it stands wholly on the screen.
        win::RECT r{};
        win::GetWindowRect(hint, &r);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, win::GetSystemMetrics(win::SM_CXSCREEN));
        EXPECT_LE(r.bottom, win::GetSystemMetrics(win::SM_CYSCREEN));
    });
    // With a model in the clipboard Paste Model to All asks its question.
    chooseProfileMenu(s, "Edit", "Copy Model");
    chooseMenu(s, "Edit", "Paste Model to All");
    s.check([] {
        win::HWND d = dialogTitled("Proceed?");
        ASSERT_TRUE(d);
        EXPECT_TRUE(shootDialog(d, "192_proceed"));
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Proceed?"), win::IDCANCEL); });
    // The library's own save question runs on the program's dialog 127.
    s.check([answers] {
        bool save = true, cancel = true;
        util::SAVEFILEDLG("SITE", save, cancel);
        (*answers)[0] = save;
        (*answers)[1] = cancel;
    });
    s.check([] {
        win::HWND d = dialogTitled("Save Changes Dialog");
        ASSERT_TRUE(d);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(d, IDC_SAVENAME)), "SITE");
        EXPECT_TRUE(shootDialog(d, "127_save_changes_dialog"));
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("Save Changes Dialog"), IDNOBUTTON); });
    s.check([answers] {
        EXPECT_FALSE((*answers)[0]);
        EXPECT_FALSE((*answers)[1]);
        // A missing value shows as "Unknown", others by their size.
        tk::DlgLoad(IDD_NUMBER);
        tk::DlgSelect(IDD_NUMBER);
        util::VRPUTREAL(IDC_PROMPT, 1.0E20f);
        win::HWND prompt = win::GetDlgItem(tk::dialogWindowOf(IDD_NUMBER), IDC_PROMPT);
        EXPECT_EQ(win::robot::windowText(prompt), "Unknown");
        util::VRPUTREAL(IDC_PROMPT, -123.456f);
        EXPECT_EQ(win::robot::windowText(prompt), "-123.46");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
