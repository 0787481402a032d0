#pragma once
// Shared by the plotter and graph tests: a 1000 x 800 window target on which
// the plotter's page is 10 x 8 plot units (100 device units per plot unit),
// and a recording screen driver that turns the line and text requests back
// into page units.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/graphics_test_support.h"
#include "util/graph_package_state.h"
#include "util/pen_plotter.h"

namespace util::test {

struct DrawnLine {
    float x1, y1, x2, y2;  // page units
    int colour;
    int mode;  // 0 copy, 3 exclusive-or
};

struct DrawnText {
    std::string text;
    float x, y;  // page units of the device anchor
    int justification;
    float angle;
    float widthFraction, heightFraction;
    int colour;
};

class PlotterTest : public tk::test::GraphicsTest {
  protected:
    std::vector<DrawnLine> drawn;
    std::vector<DrawnText> texts;
    float nextX = -1.0e30f, nextY = -1.0e30f;  // device position after the last character

    void SetUp() override {
        GraphicsTest::SetUp();
        tk::ResetStrokeFontState();
        resetPlotterState();
        resetGraphPackageState();
        plotterServices() = PlotterServices{};
        useTarget(1000, 800);
        tk::SetScreenDriver([this](int code) { record(code); });
        tk::screenDeviceInfo().capabilities.assign(tk::ScreenCapabilities);
        tk::screenDeviceInfo().textAngleCapability = 360;
        tk::screenDeviceInfo().deviceTextThreshold = 1.7e38f;
        PLOTXY(0.0f, 0.0f, 1);
        tk::UpdateCharacterScale();
        clear();
    }
    void TearDown() override {
        tk::ResetStrokeFontState();
        resetPlotterState();
        resetGraphPackageState();
        plotterServices() = PlotterServices{};
        GraphicsTest::TearDown();
    }

    void clear() {
        drawn.clear();
        texts.clear();
        clearLogs();
    }

    static void pageOfDevice(float dx, float dy, float& x, float& y) {
        tk::DeviceToWorld(dx, dy, x, y);
    }

    void recordLine(float dx1, float dy1, float dx2, float dy2) {
        const tk::GraphicsState& g = tk::graphicsState();
        DrawnLine l{};
        pageOfDevice(dx1, dy1, l.x1, l.y1);
        pageOfDevice(dx2, dy2, l.x2, l.y2);
        l.colour = g.colourNumber;
        l.mode = g.drawingMode;
        drawn.push_back(l);
    }

    void record(int code) {
        tk::GraphicsState& g = tk::graphicsState();
        const tk::DeviceParameterBlock& b = tk::deviceBlock();
        if (code == 21) {
            // The font request: the device takes the nominal character size.
            g.charScaleX = g.rotPlotExtentX / (g.charWidthFraction * g.rotDevSpanX);
            g.charScaleY = g.rotPlotExtentY / (g.charHeightFraction * g.rotDevSpanY);
        }
        if (code == 2) recordLine(b.fx[1], b.fy[1], b.fx[2], b.fy[2]);
        if (code == 32) {
            // A polyline is recorded as the segments it joins.
            const tk::DevicePointArrays& a = tk::devicePointArrays();
            for (std::size_t i = 1; i < static_cast<std::size_t>(b.count); ++i)
                recordLine(a.x[i - 1], a.y[i - 1], a.x[i], a.y[i]);
        }
        if (code == 22) {
            // Text goes to the screen a character at a time; a character
            // that starts where the previous one ended continues its string.
            const int n = std::clamp(b.pixX[1], 0, 260);
            const std::string chars(
                tk::deviceTextBuffer().view().substr(0, static_cast<std::size_t>(n)));
            if (!texts.empty() && b.fx[1] == nextX && b.fy[1] == nextY) {
                texts.back().text += chars;
            } else {
                DrawnText t{};
                t.text = chars;
                pageOfDevice(b.fx[1], b.fy[1], t.x, t.y);
                t.justification = g.textJustification;
                t.angle = g.textAngle;
                t.widthFraction = g.charWidthFraction;
                t.heightFraction = g.charHeightFraction;
                t.colour = g.colourNumber;
                texts.push_back(t);
            }
            const float w = tk::StringWidthInUnits(chars, n, 1);
            nextX = b.fx[1] + w * g.advanceX;
            nextY = b.fy[1] + w * g.advanceY;
        }
        sent.push_back({1, code, b, g.colourNumber, {}, {}});
    }

    // Where the toolkit itself puts the anchor of TEXT drawn at the page
    // point (x, y) with the text settings now in force.
    DrawnText reference(float x, float y, const std::string& text) {
        const std::vector<DrawnText> kept = texts;
        const float kx = nextX, ky = nextY;
        texts.clear();
        nextX = nextY = -1.0e30f;
        tk::DrawTextAt(x, y, text);
        const DrawnText r = texts.empty() ? DrawnText{} : texts.front();
        texts = kept;
        nextX = kx, nextY = ky;
        return r;
    }

    // Lines of at least some length (the exclusive-or re-anchoring and the
    // marker's closing move leave none).
    std::vector<DrawnLine> strokes() const {
        std::vector<DrawnLine> out;
        for (const DrawnLine& l : drawn)
            if (std::hypot(l.x2 - l.x1, l.y2 - l.y1) > 1e-4f) out.push_back(l);
        return out;
    }
    int plotModeRequests() const {
        int n = 0;
        for (const Sent& s : sent)
            n += s.code == 27;
        return n;
    }
};

inline ::testing::AssertionResult sameLine(const DrawnLine& l, float x1, float y1, float x2,
                                           float y2, float tol = 2e-3f) {
    if (std::fabs(l.x1 - x1) <= tol && std::fabs(l.y1 - y1) <= tol && std::fabs(l.x2 - x2) <= tol &&
        std::fabs(l.y2 - y2) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "line (" << l.x1 << ", " << l.y1 << ") - (" << l.x2 << ", " << l.y2 << ") expected ("
           << x1 << ", " << y1 << ") - (" << x2 << ", " << y2 << ")";
}

}  // namespace util::test
