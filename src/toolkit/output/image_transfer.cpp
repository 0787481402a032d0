#include "toolkit/output/image_transfer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/binary_file_io.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/image_loading.h"
#include "toolkit/output/image_writers.h"

namespace tk {

namespace {

std::array<ImageTargetContext (*)(), 2>& targets() {
    static std::array<ImageTargetContext (*)(), 2> t{};
    return t;
}

// Reads a file without reporting: 0, 1 not opened, 2 not read.
int readQuietly(std::string_view name, std::vector<std::uint8_t>& bytes, int& osError) {
    FileHandle handle = -1;
    const std::string path(name);
    Win32FileOpen(path.c_str(), static_cast<int>(path.size()), OpenRead, handle, osError);
    if (handle < 0) return 1;
    int end = 0, start = 0, error = 0;
    Win32FileSeek(handle, end, SeekEnd, error);
    Win32FileSeek(handle, start, SeekStart, error);
    int got = -1;
    if (end >= 0 && error == 0) {
        bytes.assign(static_cast<std::size_t>(end), 0);
        got = 0;
        if (end > 0) Win32FileReadBytes(handle, bytes.data(), end, end, got, error);
    }
    Win32FileClose(handle);
    osError = error;
    return got == end ? 0 : 2;
}

int writeQuietly(std::string_view name, const std::vector<std::uint8_t>& bytes, int& osError) {
    FileHandle handle = -1;
    const std::string path(name);
    Win32FileOpen(path.c_str(), static_cast<int>(path.size()), OpenCreate, handle, osError);
    if (handle < 0) return 1;
    int written = 0;
    const int count = static_cast<int>(bytes.size());
    Win32FileWriteBytes(handle, bytes.data(), count, count, written, osError);
    Win32FileClose(handle);
    return written == count ? 0 : 2;
}

// The image turned as the page: 90 makes the top-right corner the top-left.
ImagePixelArray turned(const ImagePixelArray& in, int rotation) {
    if (rotation != 90 && rotation != 180 && rotation != 270) return in;
    ImagePixelArray out;
    const int w = in.width, h = in.height;
    out.width = rotation == 180 ? w : h;
    out.height = rotation == 180 ? h : w;
    out.pixels.assign(in.pixels.size(), 0u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int tx = w - 1 - x, ty = h - 1 - y;
            if (rotation == 90) tx = y, ty = w - 1 - x;
            if (rotation == 270) tx = h - 1 - y, ty = x;
            out.pixels[static_cast<std::size_t>(ty) * out.width + tx] = in.at(x, y);
        }
    return out;
}

// Where a point of the unturned rectangle lands after the page's turn
// about the given offsets.
win::POINT transformed(int x, int y, const ImageTransfer& t) {
    switch (t.rotation) {
        case 90: return {y + t.offsetX, -x + t.offsetY};
        case 180: return {-x + t.offsetX, -y + t.offsetY};
        case 270: return {-y + t.offsetX, x + t.offsetY};
        default: return {x, y};
    }
}

void drawPixels(const ImageTransfer& t, win::HDC dc, win::HRGN clip, const ImagePixelArray& image) {
    const ImagePixelArray picture = turned(image, t.rotation);
    std::vector<std::uint32_t> bits(picture.pixels.size());
    for (std::size_t k = 0; k < bits.size(); ++k)
        bits[k] = SwapRedBlue(picture.pixels[k]);
    const win::BITMAPINFO info = Dib32Header(picture.width, picture.height);
    const win::POINT a = transformed(t.x1, t.y1, t), b = transformed(t.x2, t.y2, t);
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    if (t.stretch) {
        const int width = std::abs(b.x - a.x) + 1, height = std::abs(b.y - a.y) + 1;
        win::StretchDIBits(dc, left, top, width, height, 0, 0, picture.width, picture.height,
                           bits.data(), &info, win::DIB_RGB_COLORS, win::SRCCOPY);
        return;
    }
    if (clip) win::SelectClipRgn(dc, clip);
    const win::POINT at = transformed(t.x1, t.y1, t);
    const int x = t.rotation == 90 || t.rotation == 180 ? at.x - picture.width + 1 : at.x;
    const int y = t.rotation == 180 || t.rotation == 270 ? at.y - picture.height + 1 : at.y;
    win::StretchDIBits(dc, t.rotation == 0 ? t.x1 : x, t.rotation == 0 ? t.y1 : y, picture.width,
                       picture.height, 0, 0, picture.width, picture.height, bits.data(), &info,
                       win::DIB_RGB_COLORS, win::SRCCOPY);
    if (clip) win::SelectClipRgn(dc, nullptr);
}

int clipboardToDC(const ImageTransfer& t, win::HDC dc) {
    if (!win::IsClipboardFormatAvailable(win::CF_BITMAP)) return 1095;
    if (!win::OpenClipboard(nullptr)) return 1094;
    auto bitmap = static_cast<win::HBITMAP>(win::GetClipboardData(win::CF_BITMAP));
    int error = 1066;
    if (bitmap) {
        win::BITMAP b{};
        win::GetObjectA(bitmap, sizeof b, &b);
        win::HDC memory = win::CreateCompatibleDC(dc);
        win::HGDIOBJ old = win::SelectObject(memory, bitmap);
        const bool ok =
            t.stretch ? win::StretchBlt(dc, t.x1, t.y1, t.x2 - t.x1 + 1, t.y2 - t.y1 + 1, memory, 0, 0,
                                        b.bmWidth, b.bmHeight, win::SRCCOPY)
                      : win::BitBlt(dc, t.x1, t.y1, b.bmWidth, b.bmHeight, memory, 0, 0, win::SRCCOPY);
        win::SelectObject(memory, old);
        win::DeleteDC(memory);
        if (ok) error = 0;
    }
    win::CloseClipboard();
    return error;
}

// The kind the caller names must be the file's.
int decodeAs(int kind, const std::vector<std::uint8_t>& bytes, ImagePixelArray& image) {
    if (ImageKindOf(bytes.data(), bytes.size()) != kind) return 27;
    const int error = DecodeImage(bytes.data(), bytes.size(), image);
    if (error == 0 && image.pixels.empty()) return 2;
    return error;
}

}  // namespace

win::BITMAPINFO Dib32Header(int width, int height) {
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

void RegisterImageTarget(int target, ImageTargetContext (*context)()) {
    if (target == 10 || target == 11) targets()[static_cast<std::size_t>(target - 10)] = context;
}

void ImageFileToContext(const ImageTransfer& t, win::HDC dc, win::HRGN clip, int& error,
                        int& osError, std::string_view file) {
    osError = 0;
    if (!dc) {
        error = 1066;
        return;
    }
    if (t.kind == 0) {
        error = clipboardToDC(t, dc);
        return;
    }
    if (t.kind != 1 && t.kind != 2 && t.kind != 15) {
        error = 27;
        return;
    }
    std::vector<std::uint8_t> bytes;
    error = readQuietly(file, bytes, osError);
    if (error != 0) return;
    ImagePixelArray image;
    error = decodeAs(t.kind, bytes, image);
    if (error == 0) drawPixels(t, dc, clip, image);
}

void ImageFileToDC(const ImageTransfer& t, int target, int& error, int& osError,
                   std::string_view file) {
    ImageTargetContext context;
    if (target == 0) {
        context.dc = drawingSurface().dc;
    } else if ((target == 10 || target == 11) && targets()[static_cast<std::size_t>(target - 10)]) {
        context = targets()[static_cast<std::size_t>(target - 10)]();
    }
    ImageFileToContext(t, context.dc, context.clip, error, osError, file);
}

void ImageSaveFromDC(int kind, int x1, int y1, int x2, int y2, int& error, int& osError,
                     std::string_view file) {
    osError = 0;
    const int w = x2 - x1 + 1, h = y2 - y1 + 1;
    win::HDC source = drawingSurface().dc;
    if (!source || w <= 0 || h <= 0) {
        error = 1072;
        return;
    }
    win::HBITMAP bitmap = win::CreateCompatibleBitmap(source, w, h);
    win::HDC memory = win::CreateCompatibleDC(source);
    win::HGDIOBJ old = win::SelectObject(memory, bitmap);
    const bool copied = bitmap && win::BitBlt(memory, 0, 0, w, h, source, x1, y1, win::SRCCOPY);
    win::SelectObject(memory, old);
    win::DeleteDC(memory);
    if (!copied) {
        if (bitmap) win::DeleteObject(bitmap);
        error = 1072;
        return;
    }
    if (kind == 0) {
        error = 1094;
        if (win::OpenClipboard(nullptr)) {
            win::EmptyClipboard();
            win::SetClipboardData(win::CF_BITMAP, bitmap);
            win::CloseClipboard();
            error = 0;
            return;
        }
        win::DeleteObject(bitmap);
        return;
    }
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(w) * h);
    win::BITMAPINFO info = Dib32Header(w, h);
    const int rows = win::GetDIBits(source, bitmap, 0, static_cast<win::UINT>(h), bits.data(), &info,
                                    win::DIB_RGB_COLORS);
    win::DeleteObject(bitmap);
    if (rows != h) {
        error = 1072;
        return;
    }
    ImageToWrite image;
    image.width = w, image.height = h, image.depth = 24;
    image.pixel = [&bits, w](int x, int y) {
        return SwapRedBlue(bits[static_cast<std::size_t>(y) * w + x]);
    };
    std::vector<std::uint8_t> bytes = kind == 2    ? PcxFileBytes(image)
                                      : kind == 15 ? PngFileBytes(image)
                                                   : BmpFileBytes(image, false);
    if (bytes.empty()) {
        error = 1044;
        return;
    }
    error = writeQuietly(file, bytes, osError);
}

}  // namespace tk
