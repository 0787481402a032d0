// Both metafile drivers through the hardcopy switch: select the driver,
// start output with a file name, draw, end output, read the file back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cgm_test_support.h"
#include "output_test_support.h"
#include "toolkit/graphics/area_fill.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

class MetafileOutput : public test::OutputFileTest {};

TEST_F(MetafileOutput, CgmFileThroughTheSwitchHoldsOnePicture) {
    HardcopySelectDriver(1, 9);
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.cgm");
    const fs::path file = folder / "view.cgm";
    HardcopySwitch(file.string());
    ASSERT_EQ(graphicsState().hardcopyDriver, 9);
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    HardcopySwitch("S");
    const std::string bytes = test::slurp(file);
    const auto es = decodeCgm(bytes);
    ASSERT_GT(es.size(), 20u);
    EXPECT_EQ(hex(bytes.substr(0, 3)), "00 2D 0C");
    EXPECT_EQ(find(es, 4, 1).size(), 1u);
    EXPECT_EQ(hex(bytes.substr(bytes.size() - 4)), "00 A0 00 40");
}

TEST_F(MetafileOutput, MetafileThroughTheSwitchIsAPlaceableWmf) {
    HardcopySelectDriver(1, 11);
    const fs::path file = folder / "view.wmf";
    HardcopySwitch(file.string());
    ASSERT_EQ(graphicsState().hardcopyDriver, 11);
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    HardcopySwitch("S");
    const std::string bytes = test::slurp(file);
    ASSERT_GT(bytes.size(), 22u + 18u);
    EXPECT_EQ(hex(bytes.substr(0, 4)), "D7 CD C6 9A");
    EXPECT_EQ(hex(bytes.substr(10, 4)), "04 29 4C 1D");  // 10500 x 7500
}

}  // namespace
}  // namespace tk
