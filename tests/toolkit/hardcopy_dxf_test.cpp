// The DXF driver: a drawing made with the ordinary graphics routines is
// read back by an independent DXF reader (ezdxf under Debian's python),
// and the writers' number formats and colour choices.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "output_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/graphics/polygon_fill.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/dxf_driver.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

// One line per entity: type, colour group value, then its points rounded
// to thousandths of an inch, and a text entity's text.
const char* kReader = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    t = e.dxftype()
    c = e.dxf.true_color if e.dxf.hasattr('true_color') else e.dxf.color
    if t == 'LINE':
        pts = [e.dxf.start, e.dxf.end]
    elif t == 'SOLID':
        pts = [e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.vtx3]
    elif t == 'TEXT':
        pts = [e.dxf.insert]
    elif t == 'POLYLINE':
        pts = [v.dxf.location for v in e.vertices]
    else:
        pts = []
    words = [t, str(c)] + ['%.3f,%.3f' % (p[0], p[1]) for p in pts]
    if t == 'TEXT':
        words.append(e.dxf.text)
    print(' '.join(words))
)";

class DxfOutput : public test::OutputFileTest {
  protected:
    void SetUp() override {
        OutputFileTest::SetUp();
        ResetDxfDriver();
    }
    std::string readBack(const fs::path& file) {
        std::ofstream(folder / "read.py") << kReader;
        return test::runCommand("/usr/bin/python3 " + test::quoted(folder / "read.py") + " " +
                                test::quoted(file) + " 2>&1")
            .output;
    }
};

TEST_F(DxfOutput, DrawingIsReadBackWithItsEntities) {
    HardcopySelectDriver(1, 8);
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.dxf");
    const fs::path file = folder / "section.dxf";
    HardcopySwitch(file.string());
    ASSERT_EQ(graphicsState().hardcopyDriver, 8);

    SetColourMode(24);
    GrColourN(0x0000FF);  // red
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    GrColourN(0xFF0000);  // blue
    SetFillPattern(4);
    GrRectangle(0.2f, 0.2f, 0.4f, 0.3f);
    SetFillPattern(0);
    const float x[] = {0.5f, 0.6f, 0.7f}, y[] = {0.5f, 0.4f, 0.5f};
    PolylineClipped(x, y, 3, false);
    // Characters small enough for the drawing program's own text.
    SetCharacterSize(0.01f, 0.02f);
    DrawTextAt(0.5f, 0.8f, "Profile A", 9);
    HardcopySwitch("S");

    const std::string raw = test::slurp(file);
    EXPECT_NE(raw.find("$EXTMAX\r\n10\r\n10.5\r\n20\r\n7.5\r\n"), std::string::npos);
    EXPECT_NE(raw.find("$VIEWCTR\r\n10\r\n5.25\r\n20\r\n3.75\r\n"), std::string::npos);
    EXPECT_TRUE(raw.ends_with("\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n"));

    const std::string entities = readBack(file);
    // Inches are fractions of the 10.5 by 7.5 inch page.
    EXPECT_NE(entities.find("LINE 1 1.050,0.750 9.450,6.750\n"), std::string::npos) << entities;
    EXPECT_NE(entities.find("SOLID 5 2.100,1.500 2.100,2.250 4.200,1.500 4.200,2.250\n"),
              std::string::npos)
        << entities;
    EXPECT_NE(entities.find("POLYLINE 5 5.250,3.750 6.300,3.000 7.350,3.750\n"), std::string::npos)
        << entities;
    EXPECT_NE(entities.find(" Profile A\n"), std::string::npos) << entities;
    EXPECT_EQ(entities.find("Error"), std::string::npos) << entities;
}

TEST_F(DxfOutput, TrueColourAndTheUnopenableFile) {
    HardcopySelectDriver(1, 8);
    HardcopyOptionSet(23, 24);
    const fs::path file = folder / "colours.dxf";
    HardcopySwitch(file.string());
    SetColourMode(24);
    GrColourN(0x0000FF);
    LineBetweenUnits(0.0f, 0.0f, 0.5f, 0.5f);
    HardcopySwitch("S");
    EXPECT_NE(readBack(file).find("LINE 16711680 0.000,0.000 5.250,3.750"), std::string::npos)
        << readBack(file);

    // A file that cannot be made switches hardcopy output off.
    HardcopySwitch((folder / "no" / "such.dxf").string());
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
}

TEST(DxfWriters, RealsAndColourIndices) {
    const std::pair<float, const char*> reals[] = {{3.0f, "3."},     {0.0f, "0."},
                                                   {12.5f, "12.5"},  {-0.5f, "-0.5"},
                                                   {100.0f, "100."}, {1.0e12f, "***************"},
                                                   {0.25f, "0.25"}};
    for (auto [value, text] : reals)
        EXPECT_EQ(DxfRealText(value), text) << value;
    EXPECT_EQ(DxfColourIndex(0x0000FF), 1);
    EXPECT_EQ(DxfColourIndex(0xFF0000), 5);
    EXPECT_EQ(DxfColourIndex(0x00FFFF), 2);
    EXPECT_EQ(DxfColourIndex(0x0101FE), 1);
}

}  // namespace
}  // namespace tk
