#pragma once
// Shared by the graphics tests: a clean drawing state on a target of known
// size, and recorders of the requests each device side receives.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

    // Every request of both sides with the block words and the current
    // colour at the moment it was sent; hardcopy output on under number 2.
    struct Sent {
        int side;  // 1 screen, 2 hardcopy
        int code;
        DeviceParameterBlock block;
        int colourNumber;
        std::vector<float> x, y;  // the points of a polyline, polygon or gradient polygon
    };
    std::vector<Sent> sent;
    // Called on each hardcopy request before it is recorded (a driver's answers).
    std::function<void(int code)> hardcopyAnswer;

    void recordBoth(bool hardcopy = true) {
        SetScreenDriver([this](int code) { sent.push_back(record(1, code)); });
        RegisterHardcopyDriver(2, [this](int code) {
            if (hardcopyAnswer) hardcopyAnswer(code);
            sent.push_back(record(2, code));
        });
        SelectHardcopyDriverNumber(2);
        graphicsState().hardcopyDriver = hardcopy ? 2 : 0;
    }
    static Sent record(int side, int code) {
        Sent s{side, code, deviceBlock(), graphicsState().colourNumber, {}, {}};
        if (code == 32 || code == 15 || code == 16 || code == 40) {
            const DevicePointArrays& a = devicePointArrays();
            const auto n =
                std::min(static_cast<std::size_t>(std::max(deviceBlock().count, 0)), a.x.size());
            s.x.assign(a.x.begin(), a.x.begin() + static_cast<std::ptrdiff_t>(n));
            s.y.assign(a.y.begin(), a.y.begin() + static_cast<std::ptrdiff_t>(n));
        }
        return s;
    }
    std::vector<int> codes(int side) const {
        std::vector<int> out;
        for (const Sent& s : sent)
            if (s.side == side) out.push_back(s.code);
        return out;
    }
    std::vector<Sent> lines(int side) const {
        std::vector<Sent> out;
        for (const Sent& s : sent)
            if (s.side == side && s.code == 2) out.push_back(s);
        return out;
    }

    void clearLogs() {
        sent.clear();
        screenLog.clear();
        hardcopyLog.clear();
    }
};

}  // namespace tk::test
