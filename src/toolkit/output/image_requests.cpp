#include "toolkit/output/image_requests.h"

#include <vector>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/image_transfer.h"

namespace tk {

namespace {

bool ntPlatform() {
    auto& nt = graphicsServices().ntPlatform;
    return nt ? nt() : true;
}

}  // namespace

bool LoadRequestImage(ImagePixelArray& image) {
    DeviceParameterBlock& b = deviceBlock();
    ToolkitState& t = toolkitState();
    const int kept = t.LastErrorNumber, keptMode = t.ErrorReportMode;
    t.LastErrorNumber = 0;
    t.ErrorReportMode = 0;
    GrLoadImageData(deviceTextBuffer().trimmed(), image);
    t.ErrorReportMode = keptMode;
    // A file that decodes to nothing is not an image either.
    if (t.LastErrorNumber == 0 && image.pixels.empty()) t.LastErrorNumber = 27;
    if (t.LastErrorNumber != 0) {
        b.value = t.LastErrorNumber;
        b.count = t.FileOsErrorCode;
        image = ImagePixelArray{};
        return false;
    }
    t.LastErrorNumber = kept;
    b.value = 0;
    b.count = 0;
    return true;
}

void WindowsImageRequest(win::HDC dc, win::HRGN clip) {
    const GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    const float sx = g.hardcopyScaleX, sy = g.hardcopyScaleY;
    const float top = static_cast<float>(g.targetHeight - 1);
    const auto x = [](float v, float s) { return static_cast<int>(v * s); };
    ImageTransfer t;
    t.kind = b.pixX[1];
    t.rotation = g.pageRotation;
    if (ntPlatform() && (g.pageRotation == 90 || g.pageRotation == 270)) {
        t.x1 = x(g.devY1, sy), t.y1 = x(top - g.devX2, sx);
        t.x2 = x(g.devY2, sy), t.y2 = x(top - g.devX1, sx);
    } else {
        t.x1 = x(g.devX1, sx), t.y1 = x(top - g.devY2, sy);
        t.x2 = x(g.devX2, sx), t.y2 = x(top - g.devY1, sy);
    }
    const int h = g.targetHeight;
    int ox = 0, oy = 0;
    switch (g.pageRotation) {
        case 90: ox = g.devIX1 + g.devIX2 - h, oy = h; break;
        case 180: ox = g.devIX1 + g.devIX2, oy = 2 * h - g.devIY2 - g.devIY1; break;
        case 270: ox = h, oy = h - g.devIY2 - g.devIY1; break;
        default: break;
    }
    t.offsetX = static_cast<int>(static_cast<float>(ox) * sx);
    t.offsetY = static_cast<int>(static_cast<float>(oy) * sy);
    const std::string file(deviceTextBuffer().trimmed());
    ImageFileToContext(t, dc, clip, b.value, b.count, file);
}

CgmElement CgmCellArray(const ImagePixelArray& image, int rotation, win::POINT p, win::POINT q,
                        win::POINT r) {
    const int w = image.width, h = image.height;
    const bool turned = rotation == 90 || rotation == 270;
    const int nx = turned ? h : w, ny = turned ? w : h;
    CgmElement e(4, 9);
    e.point(p.x, p.y).point(q.x, q.y).point(r.x, r.y).int16(nx).int16(ny).int16(8).int16(0);
    // The cell of array row rr, column c (both from 1) in the image.
    const auto cell = [&](int rr, int c) {
        int i = rr, j = c;  // image row and column, from 1
        if (rotation == 90) i = c, j = w - rr + 1;
        if (rotation == 180) i = h - rr + 1, j = w - c + 1;
        if (rotation == 270) i = h - c + 1, j = rr;
        return image.at(j - 1, i - 1);
    };
    for (int rr = 1; rr <= ny; ++rr) {
        int rowBytes = 0;
        for (int c = 1; c <= nx;) {
            const std::uint32_t colour = cell(rr, c);
            int run = 1;
            while (c + run <= nx && run < 32767 && cell(rr, c + run) == colour)
                ++run;
            e.int16(run).byte(static_cast<int>(colour & 255u)).byte(static_cast<int>((colour >> 8) & 255u));
            e.byte(static_cast<int>((colour >> 16) & 255u));
            rowBytes += 5;
            c += run;
        }
        if (rowBytes % 2 != 0) e.byte(0);
    }
    return e;
}

}  // namespace tk
