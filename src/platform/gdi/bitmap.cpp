// Bitmaps, device-independent bitmaps and block transfers.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/dib.h"
#include "platform/gdi/drawing.h"
#include "platform/gdi/meta_sink.h"

namespace win {
namespace gdi {

void Bitmap::pullDib() {
    if (!dibSection) return;
    DibFormat f;
    f.width = dibHeader.biWidth;
    f.topDown = dibHeader.biHeight < 0;
    f.height = std::abs(dibHeader.biHeight);
    f.bitCount = dibHeader.biBitCount;
    f.colours = dibColours;
    if (f.bitCount == 16) {
        f.masks[0] = 0x7C00;
        f.masks[1] = 0x03E0;
        f.masks[2] = 0x1F;
    } else if (f.bitCount == 32) {
        f.masks[0] = 0xFF0000;
        f.masks[1] = 0xFF00;
        f.masks[2] = 0xFF;
    }
    decodeDibRows(f, dibBits.data(), 0, f.height, surface);
}

void Bitmap::pushDib() {
    if (!dibSection) return;
    DibFormat f;
    f.topDown = dibHeader.biHeight < 0;
    f.bitCount = dibHeader.biBitCount;
    f.colours = dibColours;
    std::vector<std::uint8_t> bits;
    encodeDib(surface, f, bits);
    std::memcpy(dibBits.data(), bits.data(), std::min(bits.size(), dibBits.size()));
}

namespace {

constexpr int kMaxBlit = 32768;

bool ropUsesSource(DWORD rop) {
    return (((rop >> 2) ^ rop) & 0x330000) != 0;
}
bool ropUsesPattern(DWORD rop) {
    return (((rop >> 4) ^ rop) & 0x0F0000) != 0;
}

// The pixels a blit reads, converted for the destination: monochrome sources
// take the destination's text (black) and background (white) colours; colour
// sources going to a monochrome destination are white where they match the
// source's background colour.
struct Source {
    Surface pixels;  // the source rectangle only
};

bool grabSource(DeviceContext& src, DeviceContext& dst, int sx, int sy, int sw, int sh,
                Source& out) {
    Surface* s = src.target();
    if (!s) return false;
    if (src.kind == DcKind::Memory) src.st.bitmap->pullDib();
    const PointI o = toDeviceI(src, sx, sy);
    const PointI e = toDeviceI(src, sx + sw, sy + sh);
    const int x0 = std::min(o.x, e.x), y0 = std::min(o.y, e.y);
    const int w = std::abs(e.x - o.x), h = std::abs(e.y - o.y);
    // A source rectangle far beyond any surface is refused rather than allocated.
    if (w > kMaxBlit || h > kMaxBlit) return false;
    out.pixels.resize(w, h, 0);
    Surface* d = dst.target();
    const bool toMono = d && d->monochrome && !s->monochrome;
    const bool fromMono = s->monochrome && !(d && d->monochrome);
    const std::uint32_t srcBk = pixelFromColorRef(resolveColor(src, src.st.bkColor));
    const std::uint32_t dstText = pixelFromColorRef(resolveColor(dst, dst.st.textColor));
    const std::uint32_t dstBk = pixelFromColorRef(resolveColor(dst, dst.st.bkColor));
    for (int y = 0; y < h; ++y) {
        const int py = y0 + y + src.origin.y;
        if (py < 0 || py >= s->height) continue;
        // Columns of the source surface that exist; the rest stay black.
        const int first = std::max(0, -(x0 + src.origin.x));
        const int last = std::min(w, s->width - (x0 + src.origin.x));
        if (first >= last) continue;
        const std::uint32_t* from = &s->at(x0 + src.origin.x + first, py);
        std::uint32_t* to = &out.pixels.at(first, y);
        for (int x = 0; x < last - first; ++x) {
            std::uint32_t v = from[x];
            if (toMono)
                v = v == srcBk ? 0xFFFFFF : 0;
            else if (fromMono)
                v = v ? dstBk : dstText;
            to[x] = v;
        }
    }
    // Mirrored source rectangles read right to left or bottom to top.
    if ((e.x < o.x))
        for (int y = 0; y < h; ++y)
            std::reverse(&out.pixels.at(0, y), &out.pixels.at(0, y) + w);
    if ((e.y < o.y))
        for (int y = 0; y < h / 2; ++y)
            std::swap_ranges(&out.pixels.at(0, y), &out.pixels.at(0, y) + w,
                             &out.pixels.at(0, h - 1 - y));
    return true;
}

// A mapping made only of quarter turns, mirrors and whole-pixel shifts,
// other than the identity-like case that the general path handles alike.
bool quarterTurn(const Affine& m) {
    auto unit = [](double v) { return std::abs(std::abs(v) - 1) < 1e-9; };
    auto zero = [](double v) { return std::abs(v) < 1e-9; };
    const bool plain = unit(m.m11) && unit(m.m22) && zero(m.m12) && zero(m.m21);
    const bool turned = zero(m.m11) && zero(m.m22) && unit(m.m12) && unit(m.m21);
    const bool identity = plain && m.m11 > 0 && m.m22 > 0;
    return (plain || turned) && !identity && std::abs(m.dx - std::round(m.dx)) < 1e-9 &&
           std::abs(m.dy - std::round(m.dy)) < 1e-9;
}

bool shiftOnly(const Affine& m) {
    return m.isIdentityLinear() && m.dx == std::round(m.dx) && m.dy == std::round(m.dy);
}

// Unscaled copies go row by row: the w x h pixels at `from` (rows `stride`
// apart) onto device pixels from (ox, oy) within the target's clip.
void copyRows(RasterTarget& t, int ox, int oy, int w, int h, const std::uint32_t* pixels,
              std::size_t stride, DWORD rop) {
    std::vector<Span> spans;
    const std::vector<Span> whole{{ox, ox + w}};
    for (int j = 0; j < h; ++j) {
        spans.clear();
        intersectSpans(whole, t.clip.row(oy + j), spans);
        for (const Span& s : spans) {
            const std::uint32_t* from = pixels + static_cast<std::size_t>(j) * stride + (s.x0 - ox);
            std::uint32_t* to = &t.surface->at(s.x0 + t.ox, oy + j + t.oy);
            const int n = s.x1 - s.x0;
            if (rop == SRCCOPY && !t.surface->monochrome) {
                std::copy(from, from + n, to);
                continue;
            }
            for (int i = 0; i < n; ++i) {
                to[i] = applyRop3(rop, 0, from[i], to[i]);
                if (t.surface->monochrome) to[i] = (to[i] & 0xFFFFFF) ? 0xFFFFFF : 0;
            }
        }
    }
}

// An unscaled copy between two colour surfaces, with no pattern, reads the
// source's pixels where they lie instead of through a copy of them (which
// would cost fresh memory the size of the rectangle at every transfer).
// False when the transfer is not of that kind, the source rectangle does not
// lie wholly on its surface, or the destination cannot be drawn on.
bool directCopy(DeviceContext& dst, int x, int y, int w, int h, DeviceContext& src, int sx,
                int sy, DWORD rop) {
    if (w <= 0 || h <= 0 || ropUsesPattern(rop) || dst.meta || vectorOf(dst)) return false;
    Surface* from = src.target();
    const Surface* to = dst.target();
    if (!from || !to || from == to || from->monochrome || to->monochrome) return false;
    const Affine full = dst.fullTransform();
    if (!shiftOnly(full) || !shiftOnly(src.fullTransform())) return false;
    const PointI o = toDeviceI(src, sx, sy);
    const int px = o.x + src.origin.x, py = o.y + src.origin.y;
    if (px < 0 || py < 0 || px + w > from->width || py + h > from->height) return false;
    if (src.kind == DcKind::Memory) src.st.bitmap->pullDib();
    RasterTarget t;
    if (!beginRaster(dst, t)) return false;
    copyRows(t, x + static_cast<int>(full.dx), y + static_cast<int>(full.dy), w, h,
             &from->at(px, py), static_cast<std::size_t>(from->width), rop);
    endRaster(dst);
    return true;
}

// Draws `src` (or no source) into the logical rectangle of the destination.
bool blitInto(DeviceContext& dst, int x, int y, int w, int h, const Surface* src, DWORD rop) {
    if (w == 0 || h == 0) return true;
    if (src && (src->width == 0 || src->height == 0)) return true;
    const Affine full = dst.fullTransform();
    if (VectorDevice* v = vectorOf(dst)) {
        if (!src) return true;
        // Image pixel (i, j) lies at logical (x + i w / sw, y + j h / sh).
        Affine img{static_cast<double>(w) / src->width,
                   0,
                   0,
                   static_cast<double>(h) / src->height,
                   static_cast<double>(x),
                   static_cast<double>(y)};
        v->clip(deviceClip(dst));
        v->image(*src, full.after(img));
        return true;
    }
    RasterTarget t;
    if (!beginRaster(dst, t)) return false;
    Paint pat;
    const bool withPattern = ropUsesPattern(rop) && brushPaint(dst, *dst.st.brush, R2_COPYPEN, pat);
    auto put = [&](int px, int py, std::uint32_t sv) {
        if (!t.clip.contains(px, py)) return;
        std::uint32_t pv = 0;
        if (withPattern && !pat.sourceAt(px, py, pv)) return;
        std::uint32_t& d = t.surface->at(px + t.ox, py + t.oy);
        d = applyRop3(rop, pv, sv, d);
        if (t.surface->monochrome) d = (d & 0xFFFFFF) ? 0xFFFFFF : 0;
    };
    if (shiftOnly(full) && src && !withPattern && w == src->width && h == src->height) {
        copyRows(t, x + static_cast<int>(full.dx), y + static_cast<int>(full.dy), w, h,
                 src->pixels.data(), static_cast<std::size_t>(src->width), rop);
        endRaster(dst);
        return true;
    }
    const RECT win = rasterWindow(dst);
    const CoverageWindow window(win);
    if (quarterTurn(full)) {
        // Unit-scale turns and mirrors move whole pixels: logical pixel (x, y)
        // lands on the device pixel its corner maps to.
        const int x0 = std::min(x, x + w), y0 = std::min(y, y + h);
        const int aw = std::abs(w), ah = std::abs(h);
        // The logical pixels that can reach the clip's box.
        const Affine back = full.inverse();
        double lx[2], ly[2];
        back.apply(win.left, win.top, lx[0], ly[0]);
        back.apply(win.right, win.bottom, lx[1], ly[1]);
        const int iFrom =
            std::max(0, static_cast<int>(std::floor(std::min(lx[0], lx[1]))) - 1 - x0);
        const int iTo = std::min(aw, static_cast<int>(std::ceil(std::max(lx[0], lx[1]))) + 1 - x0);
        const int jFrom =
            std::max(0, static_cast<int>(std::floor(std::min(ly[0], ly[1]))) - 1 - y0);
        const int jTo = std::min(ah, static_cast<int>(std::ceil(std::max(ly[0], ly[1]))) + 1 - y0);
        for (int j = jFrom; j < jTo; ++j)
            for (int i = iFrom; i < iTo; ++i) {
                std::uint32_t sv = 0;
                if (src) {
                    const double u = (x0 + i + 0.5 - x) / w, v = (y0 + j + 0.5 - y) / h;
                    sv = src->at(
                        std::clamp(static_cast<int>(std::floor(u * src->width)), 0, src->width - 1),
                        std::clamp(static_cast<int>(std::floor(v * src->height)), 0,
                                   src->height - 1));
                }
                const PointI d = toDeviceI(dst, x0 + i, y0 + j);
                put(d.x, d.y, sv);
            }
        endRaster(dst);
        return true;
    }
    const PointD c[4] = {toDevice(dst, x, y), toDevice(dst, x + w, y), toDevice(dst, x + w, y + h),
                         toDevice(dst, x, y + h)};
    Coverage cov;
    polygonCoverage({c[0], c[1], c[2], c[3]}, {4}, false, cov);
    const Affine inv = full.inverse();
    std::vector<Span> spans;
    for (int k = 0; k < cov.rowCount(); ++k) {
        const int py = cov.top() + k;
        spans.clear();
        intersectSpans(cov.rowAt(k), t.clip.row(py), spans);
        for (const Span& s : spans)
            for (int px = s.x0; px < s.x1; ++px) {
                std::uint32_t sv = 0;
                if (src) {
                    double lx, ly;
                    inv.apply(px + 0.5, py + 0.5, lx, ly);
                    const double u = (lx - x) / w, vv = (ly - y) / h;
                    const int i =
                        std::clamp(static_cast<int>(std::floor(u * src->width)), 0, src->width - 1);
                    const int j = std::clamp(static_cast<int>(std::floor(vv * src->height)), 0,
                                             src->height - 1);
                    sv = src->at(i, j);
                }
                put(px, py, sv);
            }
    }
    endRaster(dst);
    return true;
}

}  // namespace

// Shared with the metafile player: draws pixels with a raster operation.
bool drawImage(DeviceContext& dst, const RECT& dest, const Surface& pixels, DWORD rop) {
    return blitInto(dst, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
                    &pixels, rop);
}

}  // namespace gdi

using namespace gdi;

BOOL StretchBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh,
                DWORD rop) {
    DeviceContext* dst = findDc(hdst);
    if (!dst) return FALSE;
    Source source;
    const bool needSource = ropUsesSource(rop);
    if (needSource) {
        DeviceContext* src = findDc(hsrc);
        if (src && w == sw && h == sh && directCopy(*dst, x, y, w, h, *src, sx, sy, rop))
            return TRUE;
        if (!src || !grabSource(*src, *dst, sx, sy, sw, sh, source)) return FALSE;
    }
    if (dst->meta) {
        RECT r{x, y, x + w, y + h};
        if (needSource)
            dst->meta->image(r, source.pixels, rop);
        else
            dst->meta->patBlt(r, rop);
    }
    return blitInto(*dst, x, y, w, h, needSource ? &source.pixels : nullptr, rop) ? TRUE : FALSE;
}

BOOL BitBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, DWORD rop) {
    return StretchBlt(hdst, x, y, w, h, hsrc, sx, sy, w, h, rop);
}

HBITMAP CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) {
    if (w < 0 || h < 0 || planes != 1) return nullptr;
    auto b = std::make_shared<Bitmap>();
    if (w == 0 || h == 0) {
        w = h = 1;
        bpp = 1;
    }
    b->surface.resize(w, h, 0);
    b->surface.monochrome = bpp == 1;
    b->bitsPerPixel = bpp == 1 ? 1 : 32;
    if (bits) {
        const auto* p = static_cast<const std::uint8_t*>(bits);
        const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 15) / 16) * 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* row = p + stride * static_cast<std::size_t>(y);
                std::uint32_t v = 0;
                if (bpp == 1)
                    v = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0;
                else if (bpp == 24)
                    v = (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
                else if (bpp == 32)
                    v = (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
                b->surface.at(x, y) = v;
            }
    }
    return static_cast<HBITMAP>(registerObject(b));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int w, int h) {
    DeviceContext* dc = findDc(hdc);
    if (!dc || w < 0 || h < 0) return nullptr;
    const bool mono =
        dc->kind == DcKind::Memory && dc->st.bitmap && dc->st.bitmap->surface.monochrome;
    return CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    DibFormat f;
    if (!readDibFormat(info, usage, f)) return nullptr;
    auto b = std::make_shared<Bitmap>();
    b->dibSection = true;
    b->dibHeader = info->bmiHeader;
    b->dibHeader.biSizeImage = static_cast<DWORD>(f.stride() * static_cast<std::size_t>(f.height));
    b->dibColours = f.colours;
    b->dibBits.assign(f.stride() * static_cast<std::size_t>(f.height), 0);
    b->bitsPerPixel = f.bitCount;
    b->surface.resize(f.width, f.height, 0);
    b->pullDib();
    if (bits) *bits = b->dibBits.data();
    return static_cast<HBITMAP>(registerObject(b));
}

int SetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    auto b = findAs<Bitmap>(hbm);
    DibFormat f;
    if (!b || !bits || !readDibFormat(info, usage, f)) return 0;
    b->pullDib();
    Surface s = b->surface;
    if (s.width != f.width || s.height != f.height) {
        s.resize(f.width, f.height, 0);
        s.monochrome = b->surface.monochrome;
    }
    const int n = std::min(static_cast<int>(lines), f.height - static_cast<int>(start));
    decodeDibRows(f, bits, static_cast<int>(start), n, s);
    for (int y = 0; y < std::min(s.height, b->surface.height); ++y)
        for (int x = 0; x < std::min(s.width, b->surface.width); ++x)
            b->surface.at(x, y) = s.at(x, y);
    b->pushDib();
    return std::max(n, 0);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header) return nullptr;
    const int w = header->biSize == 12 ? reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcWidth
                                       : header->biWidth;
    const int h = header->biSize == 12 ? reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcHeight
                                       : std::abs(header->biHeight);
    HBITMAP bm = CreateBitmap(w, h, 1, 32, nullptr);
    if (bm && (init & CBM_INIT) && bits && info)
        SetDIBits(hdc, bm, 0, static_cast<UINT>(h), bits, info, usage);
    return bm;
}

int GetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
    auto b = findAs<Bitmap>(hbm);
    if (!b || !info) return 0;
    b->pullDib();
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < 40) return 0;
    if (h.biBitCount == 0) {
        h.biWidth = b->surface.width;
        h.biHeight = b->surface.height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(b->surface.monochrome ? 1 : 32);
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(((b->surface.width * h.biBitCount + 31) / 32) * 4 *
                                           b->surface.height);
        return b->surface.height;
    }
    DibFormat f;
    f.bitCount = h.biBitCount;
    f.topDown = h.biHeight < 0;
    if (f.bitCount != 1 && f.bitCount != 4 && f.bitCount != 8 && f.bitCount != 16 &&
        f.bitCount != 24 && f.bitCount != 32)
        return 0;
    std::vector<std::uint8_t> all;
    encodeDib(b->surface, f, all);
    h.biWidth = f.width;
    h.biHeight = f.topDown ? -f.height : f.height;
    h.biPlanes = 1;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(all.size());
    if (f.bitCount <= 8) {
        h.biClrUsed = 0;
        std::memcpy(info->bmiColors, f.colours.data(), f.colours.size() * sizeof(RGBQUAD));
    }
    if (!bits) return f.height;
    const int first = static_cast<int>(start);
    const int n = std::clamp(static_cast<int>(lines), 0, std::max(0, f.height - first));
    std::memcpy(bits, all.data() + f.stride() * static_cast<std::size_t>(first),
                f.stride() * static_cast<std::size_t>(n));
    return n;
}

int StretchDIBits(HDC hdc, int xd, int yd, int wd, int hd, int xs, int ys, int ws, int hs,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    DeviceContext* dc = findDc(hdc);
    DibFormat f;
    if (!dc || !bits || !readDibFormat(info, usage, f)) return GDI_ERROR;
    Surface image;
    decodeDibRows(f, bits, 0, f.height, image);
    if (std::abs(ws) > kMaxBlit || std::abs(hs) > kMaxBlit) return GDI_ERROR;
    // Source rows of a bottom-up DIB are counted from its bottom.
    const int top = f.topDown ? ys : f.height - ys - hs;
    Surface part(std::abs(ws), std::abs(hs), 0);
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x) {
            const int sx = (ws < 0 ? xs + ws : xs) + x, sy = (hs < 0 ? top + hs : top) + y;
            part.at(x, y) = image.contains(sx, sy) ? image.at(sx, sy) : 0;
        }
    if (dc->meta) dc->meta->image({xd, yd, xd + wd, yd + hd}, part, rop);
    if (!blitInto(*dc, xd, yd, wd, hd, &part, rop)) return dc->meta ? hs : GDI_ERROR;
    return std::abs(hs);
}

int SetDIBitsToDevice(HDC hdc, int xd, int yd, DWORD w, DWORD h, int xs, int ys, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    DeviceContext* dc = findDc(hdc);
    DibFormat f;
    if (!dc || !bits || !readDibFormat(info, usage, f)) return 0;
    if (w > static_cast<DWORD>(kMaxBlit) || h > static_cast<DWORD>(kMaxBlit)) return 0;
    // The buffer holds `lines` scans starting at scan `startScan`.
    const int first = static_cast<int>(std::min<UINT>(startScan, static_cast<UINT>(f.height)));
    const int count = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(f.height - first)));
    Surface image(f.width, f.height, 0);
    decodeDibRows(f, bits, first, count, image);
    const int top = f.topDown ? ys : f.height - ys - static_cast<int>(h);
    Surface part(static_cast<int>(w), static_cast<int>(h), 0);
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            if (image.contains(xs + x, top + y)) part.at(x, y) = image.at(xs + x, top + y);
    const RECT dest{xd, yd, xd + static_cast<int>(w), yd + static_cast<int>(h)};
    if (dc->meta) dc->meta->image(dest, part, SRCCOPY);
    drawImage(*dc, dest, part, SRCCOPY);
    return count;
}

LONG GetBitmapBits(HBITMAP hbm, LONG size, void* bits) {
    auto b = findAs<Bitmap>(hbm);
    if (!b || !bits) return 0;
    b->pullDib();
    const Surface& s = b->surface;
    const int bpp = s.monochrome ? 1 : 32;
    const std::size_t stride = ((static_cast<std::size_t>(s.width) * bpp + 15) / 16) * 2;
    std::vector<std::uint8_t> out(stride * static_cast<std::size_t>(s.height), 0);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            std::uint8_t* row = out.data() + stride * static_cast<std::size_t>(y);
            const std::uint32_t v = s.at(x, y);
            if (bpp == 1) {
                if (v) row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            } else {
                std::memcpy(row + 4 * x, &v, 4);
            }
        }
    const std::size_t n = std::min(out.size(), static_cast<std::size_t>(std::max<LONG>(size, 0)));
    std::memcpy(bits, out.data(), n);
    return static_cast<LONG>(n);
}

}  // namespace win
