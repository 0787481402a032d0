// The screen after output to a file: the profile window is drawn as before,
// in the pens of the screen, not in those the file was written with.

#include "editing_test_support.h"
#include "export_test_support.h"

namespace shell::test {
namespace {

TEST_F(EditingTest, TheProfileWindowLooksTheSameAfterEveryDrawingExport) {
    writeRidgeDatabase("SITE");
    const char* exports[][3] = {
        {"DXF Graphics File", "DXF graphics file", "profile.dxf"},
        {"CGM Graphics File", "CGM graphics file", "profile.cgm"},
        {"WMF Graphics File", "WMF graphics file", "profile.wmf"},
        {"EPS Graphics File", "EPS graphics file", "profile.eps"},
        {"SVG Graphics File", "SVG graphics file", "profile.svg"},
        {"HP-GL Plot File", "HP-GL plot file", "profile.plt"},
        {"HP-GL/2 Plot File", "HP-GL/2 plot file", "profile2.plt"},
        {"PNG Image File", "PNG image file", "profile.png"},
    };
    auto before = std::make_shared<win::Surface>(1, 1);
    Script s;
    clickAside(s);
    s.check([before] {
        refreshProfileWindow();
        *before = capture(profileClient());
        saveShot(profileFrame(), "profile_before_export.png");
    });
    for (const auto& e : exports) {
        exportFrom(s, profileFrame, e[0], e[1], e[2]);
        s.check([before, e] {
            ASSERT_TRUE(fs::exists(e[2])) << e[2];
            // As the screen was drawn again once the file selector went, and
            // as a fresh drawing of it.
            EXPECT_EQ(differingPixels(*before, capture(profileClient())), 0) << e[0];
            refreshProfileWindow();
            EXPECT_EQ(differingPixels(*before, capture(profileClient())), 0) << e[0];
        });
    }
    s.check([] {
        saveShot(profileFrame(), "profile_after_export.png");
        saveShot(mainWindow(), "main_after_export.png");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
