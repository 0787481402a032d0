// The numeric edit and spin fields in a dialog of their own, the robot
// typing: accepted characters, the range check at focus loss, rewriting the
// text, Enter, and the up-down control of a spin field.

#include "toolkit/dialogs/numeric_edit.h"

#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/dialogs/dialog_template.h"
#include "platform/message_box.h"
#include "platform/robot/finder.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "window_test_support.h"

namespace tk {
namespace {

using win::robot::Script;

enum : int {
    kRanged = 101,     // REALEDIT, range 0..100
    kInteger = 102,    // INTEGEREDIT
    kDouble = 103,     // DOUBLEEDIT
    kSpin = 104,       // INTEGERSPIN
    kFormatted = 105,  // REALEDIT "(F8.2)", no range
    kOther = 110,      // a push button other than OK
};

std::vector<int> commands;
int beepsBefore = 0;
std::vector<win::HWND> deltaBuddies;

win::INT_PTR dialogProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_INITDIALOG) {
        FieldRecord* ranged = fieldRecordOf(win::GetDlgItem(h, kRanged));
        ranged->minimum = 0.0;
        ranged->maximum = 100.0;
        fieldRecordOf(win::GetDlgItem(h, kFormatted))->formatText = "(F8.2)";
        return win::TRUE;
    }
    if (msg == win::WM_COMMAND && win::HIWORD(wp) == 0) {
        commands.push_back(win::LOWORD(wp));
        return win::TRUE;
    }
    if (msg == win::WM_NOTIFY) {
        const auto* n = reinterpret_cast<const win::NMHDR*>(lp);
        if (n->code == win::UDN_DELTAPOS)
            deltaBuddies.push_back(reinterpret_cast<win::HWND>(
                win::SendMessageA(n->hwndFrom, win::UDM_GETBUDDY, 0, 0)));
        // The dialog manager's procedure steps the field.
        return DialogProcedure(h, msg, wp, lp);
    }
    return win::FALSE;
}

std::vector<win::BYTE> dialogTemplate() {
    using win::dialogs::TemplateItem;
    win::dialogs::DialogTemplate t;
    t.style =
        win::WS_POPUP | win::WS_CAPTION | win::DS_MODALFRAME | win::DS_SETFONT | win::WS_VISIBLE;
    t.hasFont = true;
    t.caption = "Numbers";
    t.cx = 200;
    t.cy = 120;
    auto item = [](const char* cls, int id, int y, win::DWORD style, const char* text = "") {
        TemplateItem it;
        it.className = cls;
        it.id = id;
        it.text = text;
        it.style = win::WS_CHILD | win::WS_VISIBLE | win::WS_TABSTOP | style;
        it.x = 10;
        it.y = y;
        it.cx = 80;
        it.cy = 12;
        return it;
    };
    t.items = {item("REALEDIT", kRanged, 5, win::WS_BORDER, "50"),
               item("INTEGEREDIT", kInteger, 20, win::WS_BORDER, "7"),
               item("DOUBLEEDIT", kDouble, 35, win::WS_BORDER),
               item("INTEGERSPIN", kSpin, 50, win::WS_BORDER, "-3"),
               item("REALEDIT", kFormatted, 65, win::WS_BORDER, "1.5"),
               item("Button", win::IDOK, 85, win::BS_DEFPUSHBUTTON, "OK"),
               item("Button", kOther, 100, win::BS_PUSHBUTTON, "Other")};
    t.items.back().x = 100;
    return win::dialogs::buildTemplate(t);
}

class NumericEditTest : public test::WindowTest {
  protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        win::testing::resetMessageBoxes();
        fieldValidation() = FieldValidationState{};
        commands.clear();
        deltaBuddies.clear();
        NumericEditClassesRegister();
        ControlAtomsEnsure();
    }
    void TearDown() override {
        fieldValidation() = FieldValidationState{};
        win::testing::resetMessageBoxes();
        test::WindowTest::TearDown();
    }
    // Runs the dialog modally while the robot plays the script, then closes it.
    void run(Script s) {
        s.steps.push_front([] { ASSERT_TRUE(dialog()) << "the dialog never opened"; });
        s.check([] { win::EndDialog(dialog(), 0); });
        win::robot::play(std::move(s));
        const auto bytes = dialogTemplate();
        EXPECT_NE(win::DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, dialogProcedure, 0),
                  -1);
    }
    static win::HWND dialog() { return win::robot::findTopLevelByClass("#32770"); }
    static win::HWND item(int id) { return win::GetDlgItem(dialog(), id); }
    static std::string text(int id) { return win::robot::windowText(item(id)); }
    static void setText(int id, const char* t) { win::SetWindowTextA(item(id), t); }
    static int focused() { return win::GetDlgCtrlID(win::GetFocus()); }
    static FieldRecord& record(int id) { return *fieldRecordOf(item(id)); }
    static bool wholeTextSelected(int id) {
        win::DWORD start = 0, end = 0;
        win::SendMessageA(item(id), win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                          reinterpret_cast<win::LPARAM>(&end));
        return start == 0 && end == text(id).size();
    }
};

TEST_F(NumericEditTest, OnlyCharactersOfANumberGetThrough) {
    struct Case {
        int id;
        char typed;
        const char* shown;  // after typing into "1"
    };
    const Case cases[] = {
        {kInteger, '5', "15"}, {kInteger, '-', "1-"}, {kInteger, 'x', "1"}, {kInteger, '.', "1"},
        {kInteger, 'e', "1"},  {kRanged, '.', "1."},  {kRanged, 'e', "1E"}, {kRanged, 'd', "1"},
        {kRanged, ',', "1"},   {kDouble, 'd', "1D"},  {kDouble, 'e', "1E"}, {kDouble, '+', "1+"},
        {kSpin, 'E', "1"},     {kDouble, ' ', "1"},
    };
    Script s;
    s.check([&] {
        for (const Case& c : cases) {
            const int beeps = win::testing::beepCount();
            setText(c.id, "1");
            win::SendMessageA(item(c.id), win::EM_SETSEL, 1, 1);
            win::SendMessageA(item(c.id), win::WM_CHAR, static_cast<unsigned char>(c.typed), 0);
            EXPECT_EQ(text(c.id), c.shown) << c.id << " " << c.typed;
            const bool rejected = std::string(c.shown) == "1";
            EXPECT_EQ(win::testing::beepCount() - beeps, rejected ? 1 : 0) << c.id << c.typed;
        }
        // Ctrl+A selects everything and inserts nothing.
        setText(kDouble, "2.5");
        win::SendMessageA(item(kDouble), win::WM_CHAR, 1, 0);
        EXPECT_EQ(text(kDouble), "2.5");
        EXPECT_TRUE(wholeTextSelected(kDouble));
    });
    run(std::move(s));
}

TEST_F(NumericEditTest, AValueOutsideTheRangeKeepsTheFocusWithItsTextSelected) {
    Script s;
    s.check([] {
        ASSERT_EQ(focused(), kRanged);
        EXPECT_EQ(record(kRanged).value, 50.0);
        EXPECT_EQ(record(kRanged).smallStep, 1.0);
        setText(kRanged, "150");
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(focused(), kRanged);
        EXPECT_TRUE(wholeTextSelected(kRanged));
        EXPECT_EQ(win::testing::beepCount(), 1);
        setText(kRanged, "1.2.3");  // not a number: refused when the focus moves
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(focused(), kRanged);
        EXPECT_TRUE(commands.empty());
    });
    // Enter presses OK while the focus stays: the unreadable text is let be.
    s.key(win::VK_RETURN).check([] {
        EXPECT_EQ(commands, std::vector<int>{win::IDOK});
        EXPECT_EQ(focused(), kRanged);
        // Erased after holding a value: refused within a range.
        setText(kRanged, "");
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(focused(), kRanged);
        setText(kRanged, "100");  // the bound itself is accepted
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(focused(), kInteger);
        // The integer field took the last valid content.
        EXPECT_EQ(fieldValidation().saveOnNextFocus, 0);
        EXPECT_EQ(fieldValidation().savedFieldText, "7");
        setText(kInteger, "");  // no range: an empty field may be left
    });
    s.key(win::VK_TAB).check([] { EXPECT_EQ(focused(), kDouble); });
    run(std::move(s));
}

// A sign, a decimal point or an exponent alone reads as 0 to the number
// reader; the field must refuse it like any other unreadable text, never
// rewrite it as 0.
TEST_F(NumericEditTest, ATextWithoutDigitsIsRefusedNotRewrittenAsZero) {
    struct Case {
        int id;
        const char* typed;
    };
    const Case cases[] = {{kRanged, "E"},   {kFormatted, "-"}, {kFormatted, "."},
                          {kDouble, "D"},   {kDouble, "+E5"},  {kInteger, "-"},
                          {kSpin, "+"},     {kFormatted, "E5"}};
    Script s;
    for (const Case& c : cases) {
        s.check([c] {
            win::SetFocus(item(c.id));
            ASSERT_EQ(focused(), c.id);
            setText(c.id, c.typed);
            win::SendMessageA(item(c.id), win::EM_SETMODIFY, win::TRUE, 0);
            beepsBefore = win::testing::beepCount();
        });
        s.key(win::VK_TAB).check([c] {
            EXPECT_EQ(focused(), c.id) << c.typed;
            EXPECT_EQ(text(c.id), c.typed);
            EXPECT_TRUE(wholeTextSelected(c.id)) << c.typed;
            EXPECT_EQ(win::testing::beepCount() - beepsBefore, 1) << c.typed;
            setText(c.id, "1");  // lets the focus go to the next case
        });
    }
    // With a digit the same field lets the focus go and rewrites its text.
    s.check([] {
        win::SetFocus(item(kFormatted));
        setText(kFormatted, "-.5");
        win::SendMessageA(item(kFormatted), win::EM_SETMODIFY, win::TRUE, 0);
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_NE(focused(), kFormatted);
        EXPECT_EQ(text(kFormatted), "-0.50");
    });
    run(std::move(s));
}

TEST_F(NumericEditTest, APushButtonOtherThanOkTakesTheFocusAndRemembersTheRefusedField) {
    Script s;
    s.check([] { setText(kRanged, "-4"); });
    s.clickOn([] { return item(kOther); });
    s.check([] {
        EXPECT_EQ(fieldValidation().invalidField, item(kRanged));
        EXPECT_EQ(commands, std::vector<int>{kOther});
    });
    run(std::move(s));
}

TEST_F(NumericEditTest, EnterPressesTheDefaultButtonUnlessItIsDisabled) {
    NumericEditHooksBind();
    Script s;
    s.key(win::VK_RETURN).check([] {
        EXPECT_EQ(commands, std::vector<int>{win::IDOK});
        win::SendMessageA(dialog(), win::DM_SETDEFID, kOther, 0);
    });
    s.key(win::VK_RETURN).check([] {
        EXPECT_EQ(commands, (std::vector<int>{win::IDOK, kOther}));
        win::EnableWindow(item(kOther), win::FALSE);
    });
    // The dialog manager reaches the same routine through its hook.
    s.key(win::VK_RETURN).check([] {
        EXPECT_EQ(commands.size(), 2u);
        win::EnableWindow(item(kOther), win::TRUE);
        dialogPartHooks().pressDefaultButton(item(kInteger));
        EXPECT_EQ(commands.back(), kOther);
        EXPECT_FALSE(dialogPartHooks().numericFieldRefuses(item(kRanged), item(kRanged), 0));
    });
    run(std::move(s));
    dialogPartHooks() = DialogPartHooks{};
}

TEST_F(NumericEditTest, LeavingAFieldRewritesItsText) {
    Script s;
    s.check([] {
        win::SetFocus(item(kInteger));
        setText(kInteger, "  -0012  ");
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(text(kInteger), "-12");
        EXPECT_EQ(record(kInteger).value, -12.0);
        win::SetFocus(item(kInteger));
        setText(kInteger, "12.7");  // as pasted: the value keeps what was read
    });
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(text(kInteger), "12");
        EXPECT_EQ(record(kInteger).value, 12.7);
        win::SetFocus(item(kFormatted));
    });
    // A real field is rewritten only when typed in, with its format.
    s.key(win::VK_TAB).check([] {
        EXPECT_EQ(text(kFormatted), "1.5");
        win::SetFocus(item(kFormatted));
        win::SendMessageA(item(kFormatted), win::EM_SETSEL, 0, -1);
    });
    s.text("3.14159").key(win::VK_TAB).check([] {
        EXPECT_EQ(text(kFormatted), "3.14");
        EXPECT_FLOAT_EQ(static_cast<float>(record(kFormatted).value), 3.14159f);
        EXPECT_EQ(record(kFormatted).valueSet, 1);
    });
    run(std::move(s));
}

TEST_F(NumericEditTest, ASpinFieldHasAnUpDownThatFocusesItAndReportsSteps) {
    Script s;
    s.check([] {
        win::HWND up = record(kSpin).buddy;
        ASSERT_TRUE(up);
        EXPECT_EQ(win::SendMessageA(up, win::UDM_GETBUDDY, 0, 0),
                  reinterpret_cast<win::LRESULT>(item(kSpin)));
        EXPECT_EQ(static_cast<short>(win::LOWORD(
                      static_cast<win::DWORD>(win::SendMessageA(up, win::UDM_GETPOS, 0, 0)))),
                  -3);
        win::RECT field{}, arrows{};
        win::GetWindowRect(item(kSpin), &field);
        win::GetWindowRect(up, &arrows);
        // The arrows sit on the field's right edge, as high as the field.
        EXPECT_EQ(arrows.left, field.right);
        EXPECT_GT(arrows.right - arrows.left, 1);
        EXPECT_EQ(arrows.top, field.top);
        EXPECT_EQ(arrows.bottom, field.bottom);
        EXPECT_EQ(record(kInteger).buddy, nullptr);
        EXPECT_EQ(record(kSpin).maximumLength, 11);
    });
    // The upper arrow: a step of 1 from -3.
    s.clickAt([] {
        win::RECT r{};
        win::GetWindowRect(record(kSpin).buddy, &r);
        return win::POINT{(r.left + r.right) / 2, r.top + 3};
    });
    s.check([] {
        EXPECT_EQ(focused(), kSpin);
        ASSERT_EQ(deltaBuddies.size(), 1u);
        EXPECT_EQ(deltaBuddies.front(), item(kSpin));
        EXPECT_EQ(text(kSpin), "-2");
        EXPECT_EQ(record(kSpin).value, -2.0);
    });
    run(std::move(s));
}

// A number typed beyond the integers stops at their end when stepped, in
// either direction, instead of wrapping round.
TEST_F(NumericEditTest, ASpinFieldHoldingANumberBeyondTheIntegersStepsToTheirEnd) {
    auto arrow = [](bool up) {
        return [up] {
            win::RECT r{};
            win::GetWindowRect(record(kSpin).buddy, &r);
            return win::POINT{(r.left + r.right) / 2, up ? r.top + 3 : r.bottom - 3};
        };
    };
    auto typeInSpin = [](Script& s, const char* number) {
        s.clickOn([] { return item(kSpin); });
        s.check([] { win::SendMessageA(item(kSpin), win::EM_SETSEL, 0, -1); });
        s.text(number);
    };
    Script s;
    typeInSpin(s, "99999999999");
    s.check([] { ASSERT_EQ(text(kSpin), "99999999999"); });
    s.clickAt(arrow(true));
    s.check([] {
        EXPECT_EQ(text(kSpin), "2147483647");
        EXPECT_EQ(record(kSpin).value, 2147483647.0);
    });
    typeInSpin(s, "99999999999");
    s.clickAt(arrow(false));
    s.check([] { EXPECT_EQ(text(kSpin), "2147483647"); });
    typeInSpin(s, "-99999999999");
    s.clickAt(arrow(false));
    s.check([] { EXPECT_EQ(text(kSpin), "-2147483648"); });
    // An ordinary number still steps and snaps as before.
    typeInSpin(s, "41");
    s.clickAt(arrow(true));
    s.check([] {
        EXPECT_EQ(text(kSpin), "42");
        EXPECT_EQ(deltaBuddies.size(), 4u);
    });
    run(std::move(s));
}

}  // namespace
}  // namespace tk
