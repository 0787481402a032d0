// The metafile driver's files: the placeable header, and a drawing read back
// by libwmf's converter (an independent reader) with its elements in place.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "graphics_test_support.h"
#include "platform/gdi/metafile.h"
#include "platform/window/clipboard_api.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/wmf_driver.h"
#include "toolkit/output/wmf_primitives.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int word(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

class WmfDriverTest : public test::GraphicsTest {
  protected:
    WmfSettings settings;
    fs::path dir;
    int offCalls = 0;

    void SetUp() override {
        GraphicsTest::SetUp();
        dir = fs::temp_directory_path() / ("pelk-wmfdrv-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        WmfDriverHooks& h = wmfDriverHooks();
        h = WmfDriverHooks{};
        h.settings = [this] { return settings; };
        h.outputOff = [this] { ++offCalls; };
        GraphicsState& g = graphicsState();
        g.plotExtentX = 7560;  // one device unit is one logical unit
        g.plotExtentY = 5400;
        g.colourMode = 0;
        g.devX1 = 0, g.devY1 = 0, g.devX2 = 7560, g.devY2 = 5400;
        g.devSpanX = 7560, g.devSpanY = 5400;
    }
    void TearDown() override {
        if (WmfIsOpen()) WmfClose();
        wmfDriverHooks() = WmfDriverHooks{};
        fs::remove_all(dir);
        GraphicsTest::TearDown();
    }
    void begin(const std::string& name, int clipboard = 0) {
        DeviceParameterBlock& b = deviceBlock();
        b.reset();
        b.value = 1;
        b.count = clipboard;
        deviceTextBuffer().assign(name);
        XXWMF(18);
    }
    void colour(int rgb) {
        graphicsState().rgb = rgb;
        XXWMF(3);
    }
    void drawPicture() {
        DeviceParameterBlock& b = deviceBlock();
        colour(0x0000FF);
        b.fx[1] = 100, b.fy[1] = 5000, b.fx[2] = 2000, b.fy[2] = 4000;
        XXWMF(2);
        graphicsState().fillStyle = 4;
        colour(0x00FF00);
        b.value = 0;
        b.fx[1] = 1000, b.fy[1] = 1000, b.fx[2] = 3000, b.fy[2] = 1000, b.fx[3] = 2000,
        b.fy[3] = 3000;
        XXWMF(11);
        colour(0x000000);
        graphicsState().textJustification = 0;
        XXWMF(21);
        deviceTextBuffer().assign("Depth");
        b.pixX[1] = 5;
        b.fx[1] = 4000, b.fy[1] = 2000, b.fx[3] = 5000, b.fy[3] = 2000;
        XXWMF(22);
        XXWMF(20);
        XXWMF(19);
    }
};

TEST_F(WmfDriverTest, PlaceableHeaderCarriesPageBoxAndChecksum) {
    struct Case {
        int width, height;
    } cases[] = {{756, 540}, {612, 792}};
    for (const Case& c : cases) {
        settings.pageWidth = c.width, settings.pageHeight = c.height;
        const fs::path file = dir / "header.wmf";
        begin(file.string());
        // Until the output ends, the file holds only the header.
        EXPECT_EQ(fs::file_size(file), 22u);
        XXWMF(19);
        const std::string b = readFile(file);
        ASSERT_GT(b.size(), 22u + 18u);
        const int right = 1000 * c.width / 72, bottom = 1000 * c.height / 72;
        EXPECT_EQ(word(b, 0), 0xCDD7);
        EXPECT_EQ(word(b, 2), 0x9AC6);
        EXPECT_EQ(word(b, 10), right);
        EXPECT_EQ(word(b, 12), bottom);
        EXPECT_EQ(word(b, 14), 1000);
        int sum = 0;
        for (std::size_t k = 0; k < 20; k += 2)
            sum ^= word(b, k);
        EXPECT_EQ(word(b, 20), sum);
        EXPECT_EQ(word(b, 20), (right ^ bottom ^ 0x54F9) & 0xFFFF);
        // The records follow: a memory metafile header of type 1 or 2.
        EXPECT_EQ(word(b, 22 + 2), 9);  // header size in words
    }
}

TEST_F(WmfDriverTest, NoFileNamePutsThePictureOnTheClipboard) {
    for (int kind : {kPlaceableWmf, kEnhancedMetafile}) {
        settings.metafileKind = kind;
        begin("", 1);
        drawPicture();
        ASSERT_TRUE(win::OpenClipboard(nullptr));
        if (kind == kEnhancedMetafile) {
            auto emf = static_cast<win::HENHMETAFILE>(win::GetClipboardData(win::CF_ENHMETAFILE));
            ASSERT_NE(emf, nullptr);
            win::ENHMETAHEADER h;
            win::GetEnhMetaFileHeader(emf, sizeof h, &h);
            EXPECT_EQ(h.rclFrame.right, 26670);
            EXPECT_EQ(h.rclFrame.bottom, 19050);
        } else {
            win::HANDLE block = win::GetClipboardData(win::CF_METAFILEPICT);
            ASSERT_NE(block, nullptr);
            const auto* pict = static_cast<const win::METAFILEPICT*>(win::GlobalLock(block));
            EXPECT_EQ(pict->mm, 8);
            EXPECT_EQ(pict->xExt, 26670);
            EXPECT_EQ(pict->yExt, 19050);
            EXPECT_NE(pict->hMF, nullptr);
            win::GlobalUnlock(block);
        }
        win::EmptyClipboard();
        win::CloseClipboard();
    }
}

TEST_F(WmfDriverTest, ProbeAnswersTheDriverNumber) {
    deviceBlock().count = -999;
    XXWMF(1);
    EXPECT_EQ(deviceBlock().count, 11);
    deviceBlock().count = 0;
    XXWMF(1);
    EXPECT_EQ(hardcopyDeviceInfo().capabilities.trimmed(), "00000111111111100010011011110");
}

TEST_F(WmfDriverTest, DrawingIsReadBackByLibwmf) {
    if (std::system("command -v wmf2svg >/dev/null 2>&1") != 0) GTEST_SKIP() << "no wmf2svg";
    const fs::path wmf = dir / "drawing.wmf", svg = dir / "drawing.svg";
    begin(wmf.string());
    drawPicture();
    const std::string cmd =
        "timeout 30 wmf2svg -o '" + svg.string() + "' '" + wmf.string() + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string log;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p))
        log += buf;
    ASSERT_EQ(pclose(p), 0) << log;
    const std::string text = readFile(svg);
    SCOPED_TRACE(text);
    // The reader fits the picture to what is drawn; its mapping is found
    // from the triangle (logical (1000, 4400), (3000, 4400), (2000, 2400))
    // and must carry the line and the text to their logical places too.
    std::smatch m;
    const std::regex polygon(
        R"re(<polygon points="([-0-9.]+),([-0-9.]+)\s+([-0-9.]+),([-0-9.]+)\s+([-0-9.]+),([-0-9.]+))re");
    ASSERT_TRUE(std::regex_search(text, m, polygon));
    const double x0 = std::stod(m[1]), y0 = std::stod(m[2]);
    const double sx = (std::stod(m[3]) - x0) / 2000.0, sy = (y0 - std::stod(m[6])) / 2000.0;
    auto mapX = [&](double x) { return x0 + (x - 1000.0) * sx; };
    auto mapY = [&](double y) { return y0 - (4400.0 - y) * sy; };
    EXPECT_NEAR(std::stod(m[5]), mapX(2000), 0.5);
    EXPECT_NE(text.find("fill:lime"), std::string::npos);
    const std::regex line(
        R"re(<line x1="([-0-9.]+)" y1="([-0-9.]+)" x2="([-0-9.]+)" y2="([-0-9.]+)")re");
    ASSERT_TRUE(std::regex_search(text, m, line));
    EXPECT_NEAR(std::stod(m[1]), mapX(100), 0.5);
    EXPECT_NEAR(std::stod(m[2]), mapY(400), 0.5);
    EXPECT_NEAR(std::stod(m[3]), mapX(2000), 0.5);
    EXPECT_NEAR(std::stod(m[4]), mapY(1400), 0.5);
    EXPECT_NE(text.find("stroke:red"), std::string::npos);
    const std::regex label(
        R"re(matrix\([^ ]+ [^ ]+ [^ ]+ [^ ]+ ([-0-9.]+) ([-0-9.]+)\)"\s*>Depth<)re");
    ASSERT_TRUE(std::regex_search(text, m, label));
    EXPECT_NEAR(std::stod(m[1]), mapX(4000), 0.5);
    EXPECT_NEAR(std::stod(m[2]), mapY(3400), 0.5);
}

}  // namespace
}  // namespace tk
