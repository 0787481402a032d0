// Putting and getting field values, field states, colours and options.

#include <array>

#include "dialog_test_support.h"
#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/graphics/drawing_targets.h"

namespace tk::test {
namespace {

class DialogFieldTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        DlgLoad(IDD_TKFIELDS);
        ASSERT_EQ(takeError(), 0);
    }
    std::string getString(int id, std::size_t length = 20) {
        std::string s(length, '#');
        DlgGetString(id, s);
        return blankTrimmed(s);
    }
};

TEST_F(DialogFieldTest, NumbersAndTextsRoundTrip) {
    struct Case {
        const char* what;
        std::function<void()> put;
        const char* shown;
        int integer;
        float real;
    };
    const Case cases[] = {
        {"integer", [] { DlgPutInteger(IDC_TKNAME, 42); }, "42", 42, 42.0F},
        {"negative integer", [] { DlgPutInteger(IDC_TKNAME, -7); }, "-7", -7, -7.0F},
        {"real with format", [] { DlgPutReal(IDC_TKNAME, 2.5F, "(F6.2)"); }, "2.50", 2, 2.5F},
        {"real by default", [] { DlgPutReal(IDC_TKNAME, 1250.0F); }, "1250.0", 1250, 1250.0F},
        {"text of a number", [] { DlgPutString(IDC_TKNAME, "-2.9   "); }, "-2.9", -2, -2.9F},
        {"plain text", [] { DlgPutString(IDC_TKNAME, "Line A"); }, "Line A", 0, 0.0F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.put();
        ASSERT_EQ(takeError(), 0);
        EXPECT_EQ(text(IDC_TKNAME), c.shown);
        EXPECT_EQ(getString(IDC_TKNAME), c.shown);
        int i = 0;
        DlgGetInteger(IDC_TKNAME, i);
        EXPECT_EQ(i, c.integer);
        float r = 0.0F;
        DlgGetReal(IDC_TKNAME, r);
        EXPECT_FLOAT_EQ(r, c.real);
        int length = 0;
        DlgGetStringLength(IDC_TKNAME, length);
        EXPECT_EQ(length, static_cast<int>(std::string(c.shown).size()));
    }
}

TEST_F(DialogFieldTest, EmptyFieldGivesTheUndefinedValuesWithError1010) {
    DlgPutString(IDC_TKNAME, "   ");
    int i = 0;
    DlgGetInteger(IDC_TKNAME, i);
    EXPECT_EQ(takeError(), 1010);
    EXPECT_EQ(i, kUndefinedInteger);
    float r = 0.0F;
    DlgGetReal(IDC_TKNAME, r);
    EXPECT_EQ(takeError(), 1010);
    EXPECT_EQ(r, kUndefinedReal);
}

TEST_F(DialogFieldTest, MissingFieldAndMissingDialogAreReported) {
    struct Case {
        const char* what;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"put integer", [] { DlgPutInteger(999, 1); }},
        {"put real", [] { DlgPutReal(999, 1.0F); }},
        {"put string", [] { DlgPutString(999, "x"); }},
        {"get integer",
         [] {
             int v = 0;
             DlgGetInteger(999, v);
         }},
        {"put check box", [] { DlgPutCheckBox(999, 1); }},
        {"field state", [] { DlgFieldState(999, 1); }},
        {"set field", [] { DlgSetField(999); }},
        {"colour", [] { DlgColour(999, 0); }},
        {"put menu", [] { DlgPutMenu(999, {}, 0, 0); }},
        {"check box on an edit", [] { DlgPutCheckBox(IDC_TKNAME, 1); }},
        {"radio on a check box", [] { DlgPutRadioButton(IDC_TKCHECK); }},
        {"menu on a multi-selection list", [] { DlgPutMenu(IDC_TKMLIST, {}, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.call();
        EXPECT_EQ(takeError(), 1006);
    }
    std::string s(6, 'x');
    DlgGetString(999, s);
    EXPECT_EQ(takeError(), 1006);
    EXPECT_EQ(s, "      ");
    DlgUnload();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.call();
        EXPECT_EQ(takeError(), 1005);
    }
}

TEST_F(DialogFieldTest, RangesRefuseValuesOutsideAndNothingIsStored) {
    // [Ranges] gives the count field -5..10.
    DlgPutInteger(IDC_TKCOUNT, 10);
    EXPECT_EQ(takeError(), 0);
    DlgPutInteger(IDC_TKCOUNT, 11);
    EXPECT_EQ(takeError(), 1009);
    EXPECT_EQ(text(IDC_TKCOUNT), "10");
    DlgRangeInteger(IDC_TKCOUNT);
    DlgPutInteger(IDC_TKCOUNT, 1000000);
    EXPECT_EQ(takeError(), 0);
    DlgRangeInteger(IDC_TKCOUNT, 0);
    DlgPutInteger(IDC_TKCOUNT, -1);
    EXPECT_EQ(takeError(), 1009);
    DlgPutInteger(IDC_TKCOUNT, 2147483647);
    EXPECT_EQ(takeError(), 0);
}

TEST_F(DialogFieldTest, CheckBoxesAndRadioGroups) {
    int state = -1;
    DlgGetCheckBox(IDC_TKCHECK, state);
    EXPECT_EQ(state, 1);  // [Checks]
    DlgPutCheckBox(IDC_TKCHECK, 0);
    DlgGetCheckBox(IDC_TKCHECK, state);
    EXPECT_EQ(state, 0);
    int position = 0;
    DlgGetRadioButton(IDC_TKR2, position);
    EXPECT_EQ(takeError(), 1010);
    EXPECT_EQ(position, kUndefinedInteger);
    DlgPutRadioButton(IDC_TKR3);
    DlgGetRadioButton(IDC_TKR2, position);
    EXPECT_EQ(position, 3);
    DlgPutRadioButton(IDC_TKR1);
    DlgGetRadioButton(IDC_TKR3, position);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(win::SendMessageA(field(IDC_TKR3), win::BM_GETCHECK, 0, 0), 0);
    EXPECT_EQ(takeError(), 0);
}

TEST_F(DialogFieldTest, MenusFillSelectAndReadBack) {
    const std::array<std::string, 3> options{"Alpha  ", "Beta", "Gamma"};
    int selected = 0;
    std::string chosen(8, ' ');
    DlgGetMenu(IDC_TKCOMBO, selected, chosen);
    EXPECT_EQ(selected, 2);  // [Menus] selects "Green"
    EXPECT_EQ(chosen, "Green   ");
    DlgPutMenu(IDC_TKLIST, options, 3, 3);
    DlgGetMenu(IDC_TKLIST, selected, chosen);
    EXPECT_EQ(selected, 3);
    EXPECT_EQ(blankTrimmed(chosen), "Gamma");
    DlgPutMenu(IDC_TKLIST, options, 3, 4);
    EXPECT_EQ(takeError(), 1011);
    DlgGetMenu(IDC_TKLIST, selected);
    EXPECT_EQ(takeError(), 1010);
    DlgPutOption(IDC_TKLIST, 1);
    DlgGetMenu(IDC_TKLIST, selected, chosen);
    EXPECT_EQ(blankTrimmed(chosen), "Alpha");
    // A combo with an edit part keeps a typed text that is no option.
    DlgPutMenu(IDC_TKEDITCOMBO, options, 3, 0, "Delta");
    DlgGetMenu(IDC_TKEDITCOMBO, selected, chosen);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(blankTrimmed(chosen), "Delta");
    DlgPutMenu(IDC_TKEDITCOMBO, options, 3, 0, "Beta");
    DlgGetMenu(IDC_TKEDITCOMBO, selected);
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(takeError(), 0);
}

TEST_F(DialogFieldTest, FieldStatesDependOnTheKindOfField) {
    struct Case {
        int field;
        int state;
        bool enabled;
        bool visible;
        int readBack;
    };
    const Case cases[] = {
        {IDC_TKCHECK, StateReadOnly, false, true, StateDisabled},
        {IDC_TKNAME, StateReadOnly, true, true, StateReadOnly},
        {IDC_TKNAME, StateDisabled, false, true, StateDisabled},
        {IDC_TKNAME, StateHidden, false, false, StateHidden},
        {IDC_TKNAME, StateEnabled, true, true, StateEnabled},
        {IDC_TKLIST, StateDisabled, false, true, StateDisabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field * 10 + c.state);
        DlgFieldState(c.field, c.state);
        EXPECT_EQ(takeError(), 0);
        EXPECT_EQ(win::IsWindowEnabled(field(c.field)) != 0, c.enabled);
        EXPECT_EQ((win::GetWindowLongPtrA(field(c.field), win::GWL_STYLE) & win::WS_VISIBLE) != 0,
                  c.visible);
        EXPECT_EQ(FieldStateQuery(field(c.field)), c.readBack);
        EXPECT_EQ(DialogFieldInfo(c.field, 6), c.readBack);
    }
}

TEST_F(DialogFieldTest, HidingTheFocusedFieldMovesTheFocusToTheDialog) {
    DlgShow(-1, -1, IDC_TKNAME);
    ASSERT_EQ(win::GetFocus(), field(IDC_TKNAME));
    DlgFieldState(IDC_TKNAME, StateHidden);
    // The dialog passes its focus on to one of its visible controls.
    win::HWND focus = win::GetFocus();
    EXPECT_NE(focus, field(IDC_TKNAME));
    EXPECT_TRUE(focus == currentDialog() || win::IsChild(currentDialog(), focus));
}

TEST_F(DialogFieldTest, FieldTypesFollowClassAndStyle) {
    struct Case {
        int field;
        int type;
    };
    for (Case c : {Case{IDC_TKLABEL, FieldLabel}, Case{IDC_TKNAME, FieldString},
                   Case{IDC_TKCHECK, FieldCheckBox}, Case{IDC_TKR2, FieldRadioButton},
                   Case{win::IDOK, FieldPushButton}, Case{IDC_TKCOMBO, FieldComboBox},
                   Case{IDC_TKLIST, FieldListBox}, Case{IDC_TKPROGRESS, FieldProgressBar},
                   Case{IDC_TKTRACK, FieldTrackbar}}) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(DialogFieldInfo(c.field, 5), c.type);
    }
}

TEST_F(DialogFieldTest, ColoursAreStoredAndPaintTheField) {
    DlgColour(IDC_TKNAME, 0x0000FF, 0x00FFFF);
    FieldRecord* r = fieldRecordOf(field(IDC_TKNAME));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->textColour, 0x0000FF);
    EXPECT_EQ(r->backgroundColour, 0x00FFFF);
    DlgColour(IDC_TKNAME, {}, -1);
    EXPECT_EQ(r->textColour, 0x0000FF);
    EXPECT_EQ(r->backgroundColour, -1);
    // [Colours] gave the label black text on yellow.
    FieldRecord* label = fieldRecordOf(field(IDC_TKLABEL));
    EXPECT_EQ(label->textColour, 0);
    EXPECT_EQ(label->backgroundColour, 0x00FFFF);
}

TEST_F(DialogFieldTest, SetFieldGivesFocusAndPlacesTheCaret) {
    DlgPutString(IDC_TKNAME, "abcdef");
    DlgShow();
    DlgSetField(IDC_TKNAME, 3);
    EXPECT_EQ(win::GetFocus(), field(IDC_TKNAME));
    win::DWORD start = 0, end = 0;
    win::SendMessageA(field(IDC_TKNAME), win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                      reinterpret_cast<win::LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
    DlgSetField(IDC_TKNAME);
    win::SendMessageA(field(IDC_TKNAME), win::EM_GETSEL, reinterpret_cast<win::WPARAM>(&start),
                      reinterpret_cast<win::LPARAM>(&end));
    EXPECT_EQ(end - start, 6u);
    EXPECT_EQ(currentDialogRecord()->changedField(), IDC_TKNAME);
}

TEST_F(DialogFieldTest, ProgressBarsAndTrackbars) {
    EXPECT_EQ(win::SendMessageA(field(IDC_TKPROGRESS), win::PBM_GETPOS, 0, 0), 40);
    DlgPutProgressBar(IDC_TKPROGRESS, 100);
    DlgPutProgressBar(IDC_TKPROGRESS, 5, 1);
    EXPECT_EQ(win::SendMessageA(field(IDC_TKPROGRESS), win::PBM_GETPOS, 0, 0), 105);
    DlgPutProgressBar(IDC_TKNAME, 1);
    EXPECT_EQ(takeError(), 1006);
    int f = IDC_TKTRACK;
    TrackbarRangeSet(f, 0, 50, 5);
    TrackbarPut(f, 20, 10, 30, 0);
    int pos = 0, start = 0, end = 0;
    TrackbarGetValues(f, pos, start, end);
    EXPECT_EQ(pos, 20);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 30);
    TrackbarPut(f, 25, 0, 0, 2);
    TrackbarGetValues(f, pos, start, end);
    EXPECT_EQ(start, -1);
    EXPECT_EQ(DialogFieldInfo(IDC_TKTRACK, 8), 50);
}

TEST_F(DialogTest, IntegerSpinStepsSnapToTheBaseAndStopAtTheRangeEnds) {
    DlgLoad(IDD_TKSPIN);
    ASSERT_EQ(takeError(), 0);
    win::HWND spin = field(IDC_TKSPIN);
    FieldRecord* r = fieldRecordOf(spin);
    ASSERT_NE(r, nullptr);
    ASSERT_NE(r->buddy, nullptr);
    int f = IDC_TKSPIN;
    SpinStepSet(f, 5, 0, 1);
    EXPECT_EQ(r->largeStep, 5.0);
    DlgRangeInteger(IDC_TKSPIN, -20, 14);
    struct Case {
        int from;
        int delta;
        int to;
    };
    for (Case c : {Case{7, 1, 11}, Case{11, 1, 14}, Case{7, -1, 1}, Case{-18, -5, -20}}) {
        SCOPED_TRACE(c.from * 100 + c.delta);
        DlgPutInteger(IDC_TKSPIN, c.from);
        win::NMUPDOWN ud;
        ud.hdr.hwndFrom = r->buddy;
        ud.hdr.idFrom = static_cast<win::UINT_PTR>(win::GetDlgCtrlID(r->buddy));
        ud.hdr.code = win::UDN_DELTAPOS;
        ud.iDelta = c.delta;
        win::SendMessageA(currentDialog(), win::WM_NOTIFY, ud.hdr.idFrom,
                          reinterpret_cast<win::LPARAM>(&ud));
        EXPECT_EQ(ud.iDelta, 0);
        EXPECT_EQ(text(IDC_TKSPIN), std::to_string(c.to));
        int value = 0;
        DlgGetInteger(IDC_TKSPIN, value);
        EXPECT_EQ(value, c.to);
    }
    EXPECT_EQ(DialogFieldInfo(IDC_TKSPIN, 5), FieldInteger);
}

TEST_F(DialogTest, GridFieldsAreFoundThroughTheCurrentDialog) {
    DlgLoad(IDD_TKGRID);
    ASSERT_EQ(takeError(), 0);
    win::HWND grid = field(IDC_TKGRID);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(DialogFieldInfo(IDC_TKGRID, 5), FieldGrid);
    GridRecord* record = gridRecordOfWindow(grid);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(gridOfField(IDC_TKGRID), record);
    EXPECT_EQ(gridOfField(win::IDOK), nullptr);
    DlgFieldOptions(IDC_TKGRID, 3, 1);
    EXPECT_EQ(takeError(), 0);
    EXPECT_EQ(fieldRecordOf(grid)->reportTyping, 1);
    DlgFieldState(IDC_TKGRID, StateReadOnly);
    EXPECT_EQ(FieldStateQuery(grid), StateReadOnly);
}

TEST_F(DialogTest, AGridsLineTakesTheRowLabelsAfterItAndTheNextSectionStillApplies) {
    const DialogPartHooks saved = dialogPartHooks();
    GridDialogHooksBind();
    DlgLoad(IDD_TKGRIDROWS);
    dialogPartHooks() = saved;
    ASSERT_EQ(takeError(), 0);
    GridRecord* g = gridRecordOfWindow(field(IDC_TKROWGRID));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->rowCount, 3);
    EXPECT_EQ(g->rowLabels, (std::vector<std::string>{"North", "Middle", "South"}));
    EXPECT_GT(g->rowLabelWidth, 0);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKAFTERGRID))->maximumLength, 3);
}

}  // namespace
}  // namespace tk::test

namespace tk::test {
namespace {

// A drawable field's own cursor: set for the field alone, read back by the
// query, and gone when a shape is set for every window and field.
TEST_F(DialogFieldTest, ADrawableFieldKeepsItsOwnCursorUntilAllAreReset) {
    GraphicsState& g = graphicsState();
    g.targetType = DialogFieldTarget;
    g.targetDialog = IDD_TKFIELDS;
    g.targetId = IDC_TKLABEL;
    CursorShapeSet(3, 1);
    EXPECT_EQ(takeError(), 0);
    ASSERT_TRUE(fieldRecordOf(field(IDC_TKLABEL)));
    EXPECT_NE(fieldRecordOf(field(IDC_TKLABEL))->cursor, nullptr);
    int shape = -1;
    CursorShapeQuery(shape, 3, IDC_TKLABEL);
    EXPECT_EQ(shape, 3);
    CursorShapeQuery(shape, 3, IDC_TKNAME);  // no own cursor: the global one
    EXPECT_EQ(shape, windowSystem().GlobalCursorShape);
    CursorShapeSet(1);
    EXPECT_EQ(fieldRecordOf(field(IDC_TKLABEL))->cursor, nullptr);
    CursorShapeQuery(shape, 3, IDC_TKLABEL);
    EXPECT_EQ(shape, 1);
}

}  // namespace
}  // namespace tk::test
