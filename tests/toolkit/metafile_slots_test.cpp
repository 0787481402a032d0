// Metafile slots: the memory CGM buffer and driver, and the enhanced
// metafile slots' recording, playing, saving and loading.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cgm_test_support.h"
#include "graphics_test_support.h"
#include "platform/gdi/metafile.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/lines.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/output/cgm_driver.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/cgm_memory_driver.h"
#include "toolkit/output/metafile_slots.h"

namespace tk {
namespace {

class MetafileSlotsTest : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        FreeAllMetafileSlots();
        ResetMemoryCgmDriver();
        MetafileSlotsBind();
    }
    void TearDown() override {
        FreeAllMetafileSlots();
        ResetMemoryCgmDriver();
        GraphicsTest::TearDown();
    }
    // A memory-CGM slot as a creator makes it, selected, with its header.
    MetafileSlot& memorySlot(int n, int width, int height, int capacity = 4096) {
        MetafileSlot& s = metafileSlot(n);
        s.SlotPageWidth = width, s.SlotPageHeight = height;
        s.SlotKind = kMemoryCgmSlot, s.SlotInUse = 1;
        s.BufferCapacity = capacity, s.BufferUsed = 0;
        s.SlotBuffer.assign(static_cast<std::size_t>(capacity), 0);
        select(n);
        MemoryCgmDriver(39);
        MemoryCgmDriver(18);
        return s;
    }
    void select(int n) {
        graphicsState().targetId = n;
        graphicsState().targetType = MetafileTarget;
    }
    static std::string contents(const MetafileSlot& s) {
        return std::string(s.SlotBuffer.begin(), s.SlotBuffer.begin() + s.BufferUsed);
    }
};

TEST_F(MetafileSlotsTest, BufferTakesWhatFitsAndReportsOverflow) {
    MetafileSlot& s = metafileSlot(3);
    s.SlotKind = kMemoryCgmSlot, s.SlotInUse = 1, s.BufferCapacity = 100, s.BufferUsed = 98;
    s.SlotBuffer.assign(100, 0);
    select(3);
    const std::uint8_t bytes[3] = {1, 2, 3};
    YYGCGM1(bytes, 3);
    EXPECT_EQ(s.BufferUsed, 98);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1062);
    YYGCGM1(bytes, 2);
    EXPECT_EQ(s.BufferUsed, 100);
    EXPECT_EQ(s.SlotBuffer[99], 2);
}

TEST_F(MetafileSlotsTest, HeaderMatchesAFileHeaderAndSetsTheDrawable) {
    struct Case {
        int w, h, dw, dh;
    } cases[] = {{756, 540, 6300, 4500}, {4000, 2000, 32767, 16383}};
    for (const Case& c : cases) {
        FreeAllMetafileSlots();
        const MetafileSlot& s = memorySlot(1, c.w, c.h);
        EXPECT_EQ(s.DrawableWidth, c.dw);
        EXPECT_EQ(s.DrawableHeight, c.dh);
        std::string expected;
        CgmWriter w([&](std::string_view b) { expected.append(b); });
        w.metafileHeader("ZAZ CGM File", 2, c.dw, c.dh);
        EXPECT_EQ(contents(s), expected);
    }
    // Selection through the graphics layer reaches the slot's drawable.
    int status = 1, width = 0, height = 0;
    SelectMetafileSlot(1, status, width, height);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(width, 32767);
    EXPECT_EQ(graphicsState().memoryCgmTarget, 1);
}

TEST_F(MetafileSlotsTest, EachSlotKeepsItsOwnAttributeCache) {
    MetafileSlot& a = memorySlot(1, 756, 540);
    MetafileSlot& b = memorySlot(2, 756, 540);
    const std::size_t aHeader = static_cast<std::size_t>(a.BufferUsed);
    const std::size_t bHeader = static_cast<std::size_t>(b.BufferUsed);
    graphicsState().colourMode = 0;
    graphicsState().rgb = 0x0000FF;
    DeviceParameterBlock& p = deviceBlock();
    p.pixX[1] = 1, p.pixY[1] = 2, p.pixX[2] = 3, p.pixY[2] = 4;
    for (int n : {1, 1, 2, 1, 2}) {
        select(n);
        MemoryCgmDriver(3);
        MemoryCgmDriver(2);
    }
    const auto ea = decodeCgm(contents(a).substr(aHeader));
    const auto eb = decodeCgm(contents(b).substr(bHeader));
    EXPECT_EQ(find(ea, 5, 4).size(), 1u);
    EXPECT_EQ(find(ea, 4, 1).size(), 3u);
    EXPECT_EQ(find(eb, 5, 4).size(), 1u);
    EXPECT_EQ(find(eb, 4, 1).size(), 2u);
    EXPECT_EQ(hex(find(eb, 4, 1)[0]->params), "00 01 00 02 00 03 00 04");
}

TEST_F(MetafileSlotsTest, WidthsPixelReadAndClosing) {
    MetafileSlot& s = memorySlot(5, 756, 540);
    const std::size_t header = static_cast<std::size_t>(s.BufferUsed);
    graphicsState().lineWidthScreen = 2;
    DeviceParameterBlock& p = deviceBlock();
    p.pixX[1] = 100, p.pixY[1] = 100, p.pixX[2] = 50;
    MemoryCgmDriver(4);
    MemoryCgmDriver(30);
    MemoryCgmDriver(31);
    EXPECT_EQ(p.pixX[1], -1);
    MemoryCgmDriver(19);
    const auto es = decodeCgm(contents(s).substr(header));
    EXPECT_EQ(find(es, 5, 28)[0]->word(0), 8);  // edge width
    EXPECT_EQ(find(es, 5, 3)[0]->word(0), 1);   // line width 6300 x 2 / 7560
    EXPECT_EQ(es.back().cls, 0);
    EXPECT_EQ(es.back().id, 2);
    EXPECT_EQ(es[es.size() - 2].id, 5);
}

TEST_F(MetafileSlotsTest, EnhancedSlotRecordsPlaysSavesAndLoads) {
    int hres = 0, vres = 0, hsize = 0, vsize = 0;
    MetafileSlotCreate(0, 756, 540, hres, vres, hsize, vsize);
    EXPECT_GT(hres, 0);
    int status = 1;
    MetafileSlotUseDC(0, 200, 100, status);
    EXPECT_EQ(status, 0);
    win::Rectangle(drawingSurface().dc, 10, 10, 50, 50);
    const auto dir =
        std::filesystem::temp_directory_path() / ("pelk-slots-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "slot.emf").string();
    int error = 0;
    MetafileSlotSave(0, status, error, file);
    ASSERT_EQ(status, 0);
    // Saving closed the recording: the slot can no longer be drawn into.
    MetafileSlotUseDC(0, 200, 100, status);
    EXPECT_EQ(status, 1);
    win::HENHMETAFILE saved = win::GetEnhMetaFileA(file.c_str());
    ASSERT_NE(saved, nullptr);
    win::ENHMETAHEADER h;
    win::GetEnhMetaFileHeader(saved, sizeof h, &h);
    EXPECT_EQ(h.rclFrame.right, 26670);
    EXPECT_EQ(h.rclFrame.bottom, 19050);
    win::DeleteEnhMetaFile(saved);
    const int size = static_cast<int>(std::filesystem::file_size(file));
    MetafileSlotLoad(4, size + 10, status, error, file);
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(MetafileSlotOccupied(4));
    MetafileSlotLoad(4, size, status, error, file);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(MetafileSlotOccupied(4));
    MetafileSlotLoad(6, size, status, error, (dir / "missing.emf").string());
    EXPECT_EQ(status, 1);
    // Deleting a slot that is still recording closes and frees it at once.
    MetafileSlotCreate(7, 100, 100, hres, vres, hsize, vsize);
    MetafileSlotDelete(7);
    EXPECT_FALSE(MetafileSlotOccupied(7));
    MetafileSlotDelete(0);
    MetafileSlotDelete(4);
    std::filesystem::remove_all(dir);
}

// On an enhanced-metafile slot the metafile line width (tenths of a
// millimetre) becomes pixels of the slot's drawable over its page.
TEST_F(MetafileSlotsTest, MetafileLineWidthIsMillimetresOfTheSlotPage) {
    int hres = 0, vres = 0, hsize = 0, vsize = 0;
    MetafileSlotCreate(0, 720, 360, hres, vres, hsize, vsize);  // 254 by 127 mm
    MetafileSlot& slot = metafileSlot(1);
    slot.SlotPageWidth = 720, slot.SlotPageHeight = 360;
    slot.DrawableWidth = 1270, slot.DrawableHeight = 635;
    slot.SlotKind = 3, slot.SlotInUse = 1;
    int status = 1;
    MetafileSlotUseDC(0, 1270, 635, status);
    ASSERT_EQ(status, 0);
    select(1);
    SetLineThickness(std::nullopt, std::nullopt, 20);  // 2 mm
    EXPECT_EQ(screen::primitives().penWidth, 10);
    MetafileSlotDelete(0);
}

TEST_F(MetafileSlotsTest, DriversAnswerTheProbeUnderTheirNumbers) {
    RegisterMetafileDrivers();
    for (int number : {9, 11}) {
        SelectHardcopyDriverNumber(number);
        deviceBlock().count = -999;
        HardcopyDriverRequest(1);
        EXPECT_EQ(deviceBlock().count, number);
    }
    cgmDriverHooks() = CgmDriverHooks{};
}

}  // namespace
}  // namespace tk
