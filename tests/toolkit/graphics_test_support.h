#pragma once
// Shared by the graphics tests: a clean drawing state on a target of known
// size, and recorders of the requests each device side receives.

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk::test {

class GraphicsTest : public ::testing::Test {
  protected:
    std::vector<int> screenLog, hardcopyLog;

    void SetUp() override { resetAll(); }
    void TearDown() override { resetAll(); }

    void resetAll() {
        ResetScreenDriver();
        drawingSurface() = DrawingSurface{};
        graphicsServices() = GraphicsServices{};
        toolkitState().reset();
        seams() = ToolkitSeams{};
        ResetDeviceProtocol();
        graphicsState().reset();
        BuildDefaultColourTable();
        screenLog.clear();
        hardcopyLog.clear();
    }

    // A window target of the given size with the whole target as area.
    void useTarget(int width, int height) {
        GraphicsState& g = graphicsState();
        g.targetType = 1;
        g.targetId = 0;
        GraphicsTargetResized(1, 0, width, height);
    }

    // Records the screen side's requests; with `execute` they also reach the
    // real screen driver.
    void recordScreen(bool execute = false) {
        SetScreenDriver([this, execute](int code) {
            screenLog.push_back(code);
            if (execute) YYGAPI(code);
        });
    }

    // Hardcopy output on, with a recording driver under number 2.
    void recordHardcopy() {
        RegisterHardcopyDriver(2, [this](int code) { hardcopyLog.push_back(code); });
        SelectHardcopyDriverNumber(2);
        graphicsState().hardcopyDriver = 2;
    }

    void clearLogs() {
        screenLog.clear();
        hardcopyLog.clear();
    }
};

}  // namespace tk::test
