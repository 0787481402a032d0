// The CGM driver's output decoded element by element: header words, long
// form and continuation partitions, string forms, colours and the cache.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cgm_test_support.h"
#include "graphics_test_support.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/cgm_driver.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/hardcopy_driver.h"

namespace tk {
namespace {

class CgmDriverTest : public test::GraphicsTest {
  protected:
    std::string bytes;
    CgmSettings settings;

    void SetUp() override {
        GraphicsTest::SetUp();
        CgmDriverHooks& h = cgmDriverHooks();
        h = CgmDriverHooks{};
        h.settings = [this] { return settings; };
        h.open = [](std::string_view) { return true; };
        h.write = [this](std::string_view b) { bytes.append(b); };
        GraphicsState& g = graphicsState();
        g.plotExtentX = 6300;  // one device unit is one VDC unit
        g.plotExtentY = 4500;
        g.colourMode = 0;
        g.clipX1 = 0, g.clipY1 = 0, g.clipX2 = 6300, g.clipY2 = 4500;
    }
    void TearDown() override {
        cgmDriverHooks() = CgmDriverHooks{};
        GraphicsTest::TearDown();
    }
    void begin(int titled = 0) {
        deviceBlock().reset();
        deviceBlock().value = 1;
        deviceBlock().pixX[1] = titled;
        deviceTextBuffer().assign("picture.cgm");
        CgmDriver(18);
    }
    void colour(int rgb) {
        graphicsState().rgb = rgb;
        CgmDriver(3);
    }
    void line(float x1, float y1, float x2, float y2) {
        DeviceParameterBlock& b = deviceBlock();
        b.fx[1] = x1, b.fy[1] = y1, b.fx[2] = x2, b.fy[2] = y2;
        CgmDriver(2);
    }
};

TEST_F(CgmDriverTest, UntitledFileStartsWithTheFixedHeaderAndEndsTheMetafile) {
    begin();
    ASSERT_EQ(bytes.size(), 394u);
    EXPECT_EQ(hex(bytes.substr(0, 16)), "00 2D 0C 5A 41 5A 20 43 47 4D 20 46 69 6C 65 00");
    EXPECT_EQ(hex(bytes.substr(16, 4)), "10 22 00 01");
    const auto es = decodeCgm(bytes);
    const auto fonts = find(es, 1, 13);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->params.size(), 260u);
    EXPECT_EQ(fonts[0]->params.substr(0, 12),
              "\x0b"
              "Courier New");
    EXPECT_EQ(hex(find(es, 2, 6)[0]->params), "00 00 00 00 18 9C 11 94");
    EXPECT_EQ(hex(bytes.substr(394 - 14)), "52 4C 00 01 00 05 00 00 00 00 00 00 00 00");
    bytes.clear();
    CgmDriver(20);
    CgmDriver(19);
    EXPECT_EQ(hex(bytes), "00 A0 00 40");
}

TEST_F(CgmDriverTest, TitleLengthDecidesPaddingAndFontListKindsHaveTheirLengths) {
    struct Case {
        std::string title;
        int fontKind;
        std::string beginHex;
        std::size_t fontListBytes;
    } cases[] = {
        {"Seven c", 0, "00 28 07", 204},
        {"Eight ch", 1, "00 29 08", 204},
    };
    for (const Case& c : cases) {
        bytes.clear();
        settings.title = c.title;
        settings.fontListKind = c.fontKind;
        begin(1);
        EXPECT_EQ(hex(bytes.substr(0, 3)), c.beginHex) << c.title;
        const std::size_t end = 3 + c.title.size();
        EXPECT_EQ(bytes.substr(3, c.title.size()), c.title);
        EXPECT_EQ(hex(bytes.substr(end, 2)), c.title.size() % 2 == 0 ? "00 10" : "10 22")
            << c.title;
        const auto es = decodeCgm(bytes);
        EXPECT_EQ(find(es, 1, 13)[0]->params.size(), c.fontListBytes);
    }
}

TEST_F(CgmDriverTest, LineColourIsWrittenOnlyWhenItChanges) {
    begin();
    bytes.clear();
    colour(0x0000FF);
    line(10, 20, 30, 40);
    line(50, 60, 70, 80);
    colour(0x00FF00);
    line(1, 2, 3, 4);
    const auto es = decodeCgm(bytes);
    const auto colours = find(es, 5, 4);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(hex(colours[0]->params), "FF 00 00 00");
    EXPECT_EQ(hex(colours[1]->params), "00 FF 00 00");
    const auto lines = find(es, 4, 1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(hex(lines[1]->params), "00 32 00 3C 00 46 00 50");
}

TEST_F(CgmDriverTest, ColourHandlingAndTwoColourFill) {
    struct Case {
        int handling, r, g, b, er, eg, eb;
    } cases[] = {
        {2, 3, 4, 5, 252, 251, 250}, {2, 3, 4, 200, 3, 4, 200},   {1, 0, 128, 255, 255, 127, 0},
        {0, 1, 2, 3, 1, 2, 3},       {2, 250, 250, 250, 5, 5, 5},
    };
    for (const Case& c : cases) {
        int r = c.r, g = c.g, b = c.b;
        ApplyColourHandling(c.handling, r, g, b);
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{c.er, c.eg, c.eb}));
    }
    begin();
    bytes.clear();
    GraphicsState& g = graphicsState();
    g.fillStyle = 3;
    g.previousRgb = 0x0000FF;  // red
    colour(0xFF0000);          // blue
    DeviceParameterBlock& b = deviceBlock();
    b.value = 0;
    b.fx[1] = -100, b.fy[1] = 10, b.fx[2] = 9000, b.fy[2] = 20;
    CgmDriver(9);
    g.fillStyle = 1;
    CgmDriver(9);  // a fill style below 3 writes no rectangle
    const auto es = decodeCgm(bytes);
    EXPECT_EQ(hex(find(es, 5, 23)[0]->params), "7F 00 7F 00");
    const auto rects = find(es, 4, 11);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(hex(rects[0]->params), "00 00 00 0A 18 9C 00 14");  // cut to the clip
}

TEST_F(CgmDriverTest, LongPolylineGoesOutInContinuationPartitions) {
    begin();
    bytes.clear();
    const int n = 10000;
    DevicePointArrays& p = devicePointArrays();
    p.allocate(n);
    for (int i = 0; i < n; ++i) {
        p.x[static_cast<std::size_t>(i)] = static_cast<float>(i % 6000);
        p.y[static_cast<std::size_t>(i)] = static_cast<float>(i / 3);
    }
    deviceBlock().count = n;
    CgmDriver(32);
    const auto es = decodeCgm(bytes);
    const auto lines = find(es, 4, 1);
    ASSERT_EQ(lines.size(), 1u);
    const DecodedElement& e = *lines[0];
    EXPECT_EQ(e.partitions, 2);
    ASSERT_EQ(e.params.size(), 4u * n);
    for (int i : {0, 8190, 8191, 9999}) {
        EXPECT_EQ(e.word(2 * static_cast<std::size_t>(i)), i % 6000) << i;
        EXPECT_EQ(e.word(2 * static_cast<std::size_t>(i) + 1), i / 3) << i;
    }
}

TEST_F(CgmDriverTest, TextLengthsChooseShortLongAndLongStringForms) {
    begin();
    GraphicsState& g = graphicsState();
    g.textMode = 2;
    g.textJustification = 0;
    struct Case {
        int count;
        std::string firstWords;
    } cases[] = {{19, "40 BE"}, {20, "40 BF 00 1F"}, {300, "40 BF 01 11"}};
    for (const Case& c : cases) {
        bytes.clear();
        std::string text(static_cast<std::size_t>(c.count), 'a');
        text.back() = 'z';
        deviceTextBuffer().assign(text);
        DeviceParameterBlock& b = deviceBlock();
        b.pixX[1] = c.count;
        b.fx[1] = 100, b.fy[1] = 200, b.fx[3] = 400, b.fy[3] = 200;
        CgmDriver(22);
        std::size_t at = 0;
        const auto es = decodeCgm(bytes);
        const auto texts = find(es, 4, 5);
        ASSERT_EQ(texts.size(), 1u) << c.count;
        for (const auto& e : es) {
            if (e.cls == 4 && e.id == 5) break;
            at += 2 + e.params.size() + e.params.size() % 2;
        }
        EXPECT_EQ(hex(bytes.substr(at, c.firstWords.size() / 3 + 1)), c.firstWords) << c.count;
        const std::string& params = texts[0]->params;
        EXPECT_EQ(texts[0]->word(0), 300);  // delta width
        const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(c.count), 260);
        const std::string header = params.substr(10, kept < 255 ? 1 : 3);
        EXPECT_EQ(hex(header), kept < 255
                                   ? hex(std::string(1, static_cast<char>(kept)))
                                   : "FF " + hex(std::string{static_cast<char>(kept >> 8),
                                                             static_cast<char>(kept & 0xFF)}));
        EXPECT_EQ(params.back(), 'a' + (kept == text.size() ? 25 : 0));
        EXPECT_EQ(params.size(), 10 + header.size() + kept);
    }
}

// Text with the opaque box of font style bit 3 gets its background from
// the driver unless it is stacked (the graphics layer boxes stacked text
// itself) or sent one character at a time; a stroke-font fill pass does not
// change that.
TEST_F(CgmDriverTest, OpaqueTextFollowsTheTextOptionWord) {
    begin();
    GraphicsState& g = graphicsState();
    g.fontStyle = 8;
    g.textJustification = 0;
    struct Case {
        int textMode, stacking, fill;
        bool opaque;
    };
    const Case cases[] = {{2, 0, 0, true}, {2, 0, 1, true}, {2, 1, 0, false}, {1, 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.textMode << " " << c.stacking << " " << c.fill);
        g.textMode = c.textMode, g.textStacking = c.stacking, g.textFill = c.fill;
        bytes.clear();
        deviceTextBuffer().assign("Box");
        DeviceParameterBlock& b = deviceBlock();
        b.pixX[1] = 3;
        b.fx[1] = 100, b.fy[1] = 200, b.fx[3] = 400, b.fy[3] = 200;
        CgmDriver(22);
        const auto es = decodeCgm(bytes);
        ASSERT_EQ(find(es, 4, 4).size() + find(es, 4, 5).size(), 1u);  // TEXT or RESTRICTED TEXT
        EXPECT_EQ(find(es, 3, 4).size(), c.opaque ? 2u : 0u);          // TRANSPARENCY off, then on  // TRANSPARENCY off, then on
    }
    g.fontStyle = 0, g.textStacking = 0, g.textFill = 0;
}

TEST_F(CgmDriverTest, StandaloneBindingWritesAFileOrSwitchesOutputOff) {
    BindCgmDriverStandalone();
    int offCalls = 0;
    cgmDriverHooks().outputOff = [&] { ++offCalls; };
    const std::string name =
        ::testing::TempDir() + "pelk-cgm-" + std::to_string(::getpid()) + ".cgm";
    deviceBlock().reset();
    deviceBlock().value = 1;
    deviceTextBuffer().assign(name);
    CgmDriver(18);
    line(1, 2, 3, 4);
    CgmDriver(19);
    std::ifstream in(name, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(name.c_str());
    const auto es = decodeCgm(file);
    ASSERT_GE(es.size(), 3u);
    EXPECT_EQ(find(es, 4, 1).size(), 1u);
    EXPECT_EQ(es.back().id, 2);
    EXPECT_EQ(offCalls, 0);
    deviceTextBuffer().assign("/nonexistent-dir/x.cgm");
    CgmDriver(18);
    EXPECT_EQ(offCalls, 1);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
}

}  // namespace
}  // namespace tk
