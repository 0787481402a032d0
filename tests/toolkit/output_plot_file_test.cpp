// The plot output file: names, replacement of an existing file, lines and
// the failure reports under "YYPROU".

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PlotFile : public ::testing::Test {
  protected:
    fs::path folder;
    void SetUp() override {
        toolkitState().reset();
        folder = fs::temp_directory_path() / ("pelk-plotfile-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        PlotFileClose(2);
        fs::remove_all(folder);
        toolkitState().reset();
    }
    void name(const std::string& text) { deviceTextBuffer().assign(text); }
};

TEST_F(PlotFile, ReplacesAnExistingFile) {
    const fs::path file = folder / "old plot.dxf";
    std::ofstream(file) << "old content that is long";
    name(file.string() + "   ");
    PlotFileOpen(2);
    EXPECT_FALSE(plotFileFailed());
    PlotFileWriteLine(2, "");
    PlotFileWriteLine(2, "0");
    YYPROU(2, std::string_view("\x01\x00\x02", 3));
    EXPECT_EQ(PlotFileLastWriteCount(), 3);
    PlotFileClose(2);
    EXPECT_EQ(slurp(file), std::string("\r\n0\r\n\x01\x00\x02", 8));
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(PlotFile, FailuresAreReportedAndRemembered) {
    for (const std::string& bad : {std::string(""), (folder / "missing" / "x.plt").string()}) {
        toolkitState().LastErrorNumber = 0;
        name(bad);
        PlotFileOpen(2);
        EXPECT_TRUE(plotFileFailed()) << bad;
        EXPECT_EQ(toolkitState().LastErrorNumber, 1) << bad;
        EXPECT_EQ(toolkitState().LastErrorRoutine, "YYPROU");
        // Every later write of the document fails again.
        for (int k = 0; k < 2; ++k) {
            toolkitState().LastErrorNumber = 0;
            PlotFileWriteLine(2, "text");
            EXPECT_EQ(toolkitState().LastErrorNumber, 2);
        }
    }
    name((folder / "good.plt").string());
    PlotFileOpen(2);
    EXPECT_FALSE(plotFileFailed());
    FileHandle handle = -1;
    PlotFileHandle(2, handle);
    EXPECT_NE(handle, -1);
}

}  // namespace
}  // namespace tk
