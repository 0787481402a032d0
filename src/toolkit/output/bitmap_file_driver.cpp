#include "toolkit/output/bitmap_file_driver.h"

#include <cmath>

#include "toolkit/core/binary_file_io.h"
#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_writers.h"
#include "toolkit/output/plot_file_bytes.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/raster_state.h"
#include "toolkit/output/software_rasteriser.h"

namespace tk {

namespace {

constexpr const char* kCapabilities = "00000111111111110010011111000";

struct BitmapFileState {
    int depth = 8;
    base::FixedString<260> outputName;
};

BitmapFileState& driver() {
    static BitmapFileState s;
    return s;
}

int depthOption() {
    const int d = hardcopyOptions()[hc::ColourDepth];
    return d == 1 || d == 4 || d == 24 ? d : 8;
}

void initialise() {
    SoftwareRasteriser(1);
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
    o[hc::PageWidth] = 640;
    o[hc::PageHeight] = 480;
    o[hc::Orientation] = 0;
    o[hc::BitmapFormat] = 0;
    o[hc::ColourDepth] = 8;
    d.printCommandAllowed = 0;
    d.colourCount = d.colourLimit = 256;
    hardcopyDeviceInfo().hardcopyColourCount = 256;
    hardcopyDeviceInfo().capabilities.assign(kCapabilities);
    SetDefaultFileExtension(".pcx");
    d.activeDriver = hc::BitImageDriverNumber;
}

// Lays out and allocates the page, shrinking it by about the square root
// of 10/9 after each failure.
bool allocatePage(int depth) {
    int w = hardcopyOptions()[hc::PageWidth], h = hardcopyOptions()[hc::PageHeight];
    const int planes = depth == 4 ? 4 : 1;
    for (;;) {
        RasterLayout(depth, w, h, planes);
        if (w > 0 && h > 0 && RasterAllocate()) return true;
        ReportLibraryError(34, "XXIMAG");
        const double total = rasterState().totalWords;
        const double kept = std::trunc(9.0 * total / 10.0);
        if (w < 2 || h < 2 || kept < 1) return false;
        const double f = std::sqrt(total / kept);
        w = static_cast<int>(w / f);
        h = static_cast<int>(h / f);
    }
}

void beginOutput() {
    RasterState& r = rasterState();
    BitmapFileState& s = driver();
    const bool newDocument = deviceBlock().value > 0;
    if (newDocument) {
        s.depth = depthOption();
        hardcopyOptions()[hc::ColourHandling] = 0;
        r.colourScheme = 0;
        r.horizontalResolution = r.verticalResolution = 150;
        r.clearValue = s.depth == 24 ? 0xFFFFFFFFu : 0u;
        hardcopyDeviceState().rasterPlanes = s.depth == 4 ? 4 : 1;
        if (!allocatePage(s.depth)) {
            graphicsState().hardcopyDriver = 0;
            return;
        }
        r.clearWords = r.totalWords;
        s.outputName = deviceTextBuffer();
        hardcopyDeviceInfo().trueColour = s.depth < 24 ? 0 : 1;
    }
    SoftwareRasteriser(18);
    if (newDocument) SoftwareRasteriser(17);
}

// The page as the image writers read it: 1 bit ink on white, 4 bits with
// the raster's red and blue planes exchanged into the file's index order.
ImageToWrite pageImage() {
    const RasterState& r = rasterState();
    ImageToWrite image;
    image.width = r.rowLength;
    image.height = r.rowCount;
    image.depth = driver().depth;
    const int count = image.depth == 1 ? 2 : image.depth == 4 ? 16 : image.depth == 8 ? 256 : 0;
    for (int k = 0; k < count; ++k) {
        int rgb = 0;
        if (image.depth == 1)
            rgb = k == 0 ? 0xFFFFFF : 0;
        else if (image.depth == 4)
            BaseColourRgb(k, rgb);
        else
            ColourNumberRgb(k, rgb);
        image.palette.push_back(static_cast<std::uint32_t>(rgb));
    }
    const int depth = image.depth, last = r.rowCount - 1;
    image.pixel = [depth, last](int column, int row) {
        const std::uint32_t v = RasterGetPixel(column, last - row);
        if (depth == 4) return (v & 10u) | (v & 1u) << 2 | (v >> 2 & 1u);
        return depth == 24 ? v & 0xFFFFFFu : v;
    };
    return image;
}

void endPage() {
    HardcopyDeviceState& d = hardcopyDeviceState();
    if (!rasterState().pageDrawn) return;
    const int format = hardcopyOptions()[hc::BitmapFormat];
    const ImageToWrite image = pageImage();
    const std::vector<std::uint8_t> bytes = format == 1 || format == 2 ? BmpFileBytes(image, format == 2)
                                            : format == 3             ? PngFileBytes(image)
                                                                      : PcxFileBytes(image);
    FileHandle handle = -1;
    PlotFileHandle(2, handle);
    if (bytes.empty())
        plotFileFailed() = true;
    else if (handle >= 0 && !plotFileFailed())
        YYPRBU(handle, bytes);
    d.pageDirty = false;
    SoftwareRasteriser(17);
}

void endOutput() {
    SoftwareRasteriser(19);
    const BitmapFileState& s = driver();
    if (hardcopyOptions()[hc::BitmapFormat] == 2 && !plotFileFailed() &&
        (s.depth == 4 || s.depth == 8))
        YYBMP2(s.outputName.trimmed());
}

}  // namespace

void YYBMP2(std::string_view name) {
    FileHandle handle = -1;
    BinFileOpen(name, OpenReadWrite, handle);
    if (handle < 0) return;
    int size = 0;
    BinFileSeek(handle, size, SeekEnd);
    std::vector<std::uint8_t> header(54, 0);
    int offset = 0, got = 0;
    BinFileSeek(handle, offset, SeekStart);
    BinFileReadChar(handle, reinterpret_cast<char*>(header.data()), 54, got);
    const std::uint32_t bits = header[28] | header[29] << 8;
    const std::uint32_t table = bits < 24 ? 4u << bits : 0u;
    BmpCompleteSizes(header, static_cast<std::uint32_t>(size), table);
    for (int at : {2, 34}) {
        offset = at;
        BinFileSeek(handle, offset, SeekStart);
        int written = 0;
        BinFileWriteChar(handle, reinterpret_cast<const char*>(header.data() + at), 4, written);
        if (written != 4) {
            ReportLibraryError(2, "YYBMP2");
            break;
        }
    }
    FileHandleClose(handle);
}

void XXIMAG(int request) {
    static RasterHardcopyDriver driver(hc::BitImageDriverNumber, {initialise, beginOutput, endOutput, endPage});
    driver.request(request);
}

}  // namespace tk
