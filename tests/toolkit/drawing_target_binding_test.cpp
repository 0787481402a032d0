// The drawing targets the output layer binds: a field of a loaded dialog
// and the dialog itself as the graphics' surface through GrSelect, and the
// window-text state record.

#include "dialog_test_support.h"
#include "platform/gdi/gdi.h"
#include "raster_window_test_support.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/raster_binding.h"

namespace tk::test {
namespace {

class DrawingTargetBinding : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        resetGraphicsBinding();
        bindGraphicsAndRasterOutput();
        OutputWindowSelect(0);
    }
    void TearDown() override {
        DialogTest::TearDown();
        resetGraphicsBinding();
    }
    static void fillRed() {
        GrColourN(31);
        SetFillPattern(4);
        GrRectangle(0.0f, 0.0f, 1.0f, 1.0f);
    }
    static win::COLORREF centre(win::HWND h) {
        win::RECT r{};
        win::GetClientRect(h, &r);
        win::HDC dc = win::GetDC(h);
        const win::COLORREF c = win::GetPixel(dc, r.right / 2, r.bottom / 2);
        win::ReleaseDC(h, dc);
        return c;
    }
};

TEST_F(DrawingTargetBinding, AFieldOfTheCurrentDialogIsDrawnOn) {
    DlgLoad(IDD_TKSMALL);
    DlgShow(-1, -1, 0, 2);
    win::HWND edit = field(IDC_TKNAME);
    GrSelect(DialogFieldTarget, IDC_TKNAME);
    ASSERT_EQ(takeError(), 0);
    EXPECT_EQ(graphicsState().targetType, DialogFieldTarget);
    EXPECT_EQ(drawingSurface().window, edit);
    win::RECT r{};
    win::GetClientRect(edit, &r);
    EXPECT_EQ(graphicsState().targetWidth, r.right);
    ASSERT_NE(fieldRecordOf(edit), nullptr);
    EXPECT_EQ(fieldRecordOf(edit)->isDrawingTarget, 1);
    fillRed();
    EXPECT_EQ(centre(edit), win::RGB(255, 0, 0));

    GrSelect(DialogFieldTarget);
    EXPECT_EQ(drawingSurface().window, currentDialog());
    EXPECT_EQ(currentDialogRecord()->isDrawingTarget(), 1);

    // Back on the window: the field's context was given back.
    GrSelect(WindowTarget, 0);
    EXPECT_EQ(drawingSurface().dc, windowSystem().ClientDC);
    GrSelect(DialogFieldTarget, 4711);
    EXPECT_EQ(takeError(), 1019);
    EXPECT_EQ(graphicsState().targetType, WindowTarget);
    EXPECT_EQ(drawingSurface().dc, windowSystem().ClientDC);
    fillRed();
    EXPECT_EQ(centre(slot(0).client), win::RGB(255, 0, 0));
}

TEST_F(DrawingTargetBinding, WindowTextStateRecord) {
    SetTextWindowState({4, 120, 300, 1, 0, 1, 9, 14});
    const WindowTextState& s = windowTextState();
    EXPECT_EQ(s.fontNumber, 4);
    EXPECT_EQ(s.charWidthUnits, 120);
    EXPECT_EQ(s.bold, 1);
    EXPECT_EQ(s.underline, 1);
    EXPECT_EQ(windowSystem().ForegroundIndex, 9);
    EXPECT_EQ(windowSystem().BackgroundIndex, 14);
    EXPECT_GT(s.charHeightPixels, 0);
    SetTextWindowState({7, 1, 1, 0, 0, 0, 0, 0});
    EXPECT_EQ(s.fontNumber, 4);
    EXPECT_EQ(s.charWidthUnits, 120);
}

}  // namespace
}  // namespace tk::test
