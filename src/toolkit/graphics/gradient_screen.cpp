// The screen side of request 40: the gradient polygon on the drawing
// surface, through the window system's gradient fill where it has one, else
// pixel by pixel.

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_primitives.h"

namespace tk {

namespace {

int pixelOf(float v) {
    return v < 0.0f ? static_cast<int>(v - 0.999f) : static_cast<int>(v);
}

int flipped(int y) {
    return graphicsState().targetHeight - 1 - y;
}

win::USHORT channel(int colour, int shift) {
    return static_cast<win::USHORT>(((colour >> shift) & 0xFF) * 256);
}

int screenGradientTriangles(const int* x, const int* y, const int* colours, const int* triangles,
                            int vertexCount, int triangleCount) {
    std::vector<win::TRIVERTEX> vertices(static_cast<std::size_t>(vertexCount));
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        vertices[i].x = x[i];
        vertices[i].y = y[i];
        vertices[i].Red = channel(colours[i], 0);
        vertices[i].Green = channel(colours[i], 8);
        vertices[i].Blue = channel(colours[i], 16);
    }
    std::vector<win::GRADIENT_TRIANGLE> mesh(static_cast<std::size_t>(triangleCount));
    for (std::size_t t = 0; t < mesh.size(); ++t) {
        mesh[t].Vertex1 = static_cast<win::ULONG>(triangles[3 * t] - 1);
        mesh[t].Vertex2 = static_cast<win::ULONG>(triangles[3 * t + 1] - 1);
        mesh[t].Vertex3 = static_cast<win::ULONG>(triangles[3 * t + 2] - 1);
    }
    const screen::ClipScope clip;
    const bool done = win::GradientFill(
        drawingSurface().dc, vertices.data(), static_cast<win::ULONG>(vertices.size()), mesh.data(),
        static_cast<win::ULONG>(mesh.size()), win::GRADIENT_FILL_TRIANGLE);
    return done ? 0 : 1;
}

}  // namespace

void ScreenGradientRequest() {
    const GraphicsState& g = graphicsState();
    const win::HDC dc = drawingSurface().dc;
    if (!dc) return;
    const DevicePointArrays& a = devicePointArrays();
    GradientPolygon& polygon = gradientPolygon();
    const int n =
        std::min({polygon.vertexCount, static_cast<int>(a.x.size()), kMaxGradientVertices});
    polygon.vertexCount = n;
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        polygon.x[k] = pixelOf(a.x[k]);
        polygon.y[k] = flipped(pixelOf(a.y[k]));
    }
    GradientPolygonPrepare(
        screenDeviceInfo().gradientFillAvailable, g.devIX1, flipped(g.devIY2), g.devIX2,
        flipped(g.devIY1),
        [dc](int x, int y, int colour) {
            win::SetPixelV(dc, x, y, static_cast<win::COLORREF>(colour));
        },
        screenGradientTriangles);
}

}  // namespace tk
