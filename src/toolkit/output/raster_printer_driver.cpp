#include "toolkit/output/raster_printer_driver.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_file_bytes.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/raster_state.h"
#include "toolkit/output/software_rasteriser.h"

namespace tk {

namespace {

constexpr int kUnit = 2;
constexpr int kBandBufferSize = 40000;
constexpr int kPlotterControl = 19, kPrinterMode = 20;
constexpr const char* kCapabilities = "00000111111111110010011011000";
constexpr char ESC = 27;

using Bytes = std::vector<unsigned char>;

int printerType() {
    return toolkitState().RasterPrinterType;
}
bool portrait() {
    return hardcopyOptions()[hc::Orientation] == 0;
}

// A number as a zero-padded (or, with `pad` blank, right-justified) field of
// `width` digits; asterisks when it does not fit.
std::string digits(int value, int width, char pad = '0') {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    std::string s = text;
    if (static_cast<int>(s.size()) > width || value < 0) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - s.size(), pad) + s;
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v & 255));
    return s;
}
std::string low16(int v) {
    return bytes({v & 255, (v >> 8) & 255});
}

int resolution() {
    const ToolkitState& t = toolkitState();
    const int index = std::clamp(hardcopyOptions()[hc::ResolutionIndexOption], 1, 4);
    return t.RasterResolutions[static_cast<std::size_t>(index - 1)];
}

float verticalResolution(int r) {
    const ToolkitState& t = toolkitState();
    const int type = printerType();
    if (type >= 6) return static_cast<float>(r);
    if (type == 5) return 180.0f;
    float v = static_cast<float>(t.RasterPins) * 216.0f / static_cast<float>(std::max(1, t.RasterVerticalStep));
    return r > 100 ? 2.0f * v : v;
}

void initialise() {
    SoftwareRasteriser(1);
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
    const ToolkitState& t = toolkitState();
    o[hc::PageWidth] = 576;
    o[hc::PageHeight] = 432;
    const bool page = printerType() > 5;
    o[hc::PageOffsetX] = page ? 100 : 0;
    o[hc::PageOffsetY] = page ? 70 : 0;
    o[hc::Orientation] = page ? 1 : 0;
    o[hc::ResolutionIndexOption] = d.resolutionIndex = std::min(t.RasterResolutionCount, 2);
    o[kPlotterControl] = 3;
    o[kPrinterMode] = 0;
    o[hc::CompressionOption] = std::min(t.RasterOptionDigit, 2);
    d.colourCount = 1 << std::max(1, t.RasterColourDepth);
    d.colourLimit = 8;
    d.printCommandAllowed = 1;
    hardcopyDeviceInfo().hardcopyColourCount = d.colourCount;
    hardcopyDeviceInfo().capabilities.assign(kCapabilities);
    SetDefaultFileExtension(".prn");
    d.activeDriver = hc::RasterDriverNumber;
}

// Lays out the page at the selected resolution and allocates it, going
// down the resolutions while it does not fit.
bool allocatePage(int planes) {
    HardcopyOptions& o = hardcopyOptions();
    const ToolkitState& t = toolkitState();
    RasterState& r = rasterState();
    for (;;) {
        const int res = resolution();
        const float vres = verticalResolution(res);
        const float across = portrait() ? static_cast<float>(res) : vres;
        const float down = portrait() ? vres : static_cast<float>(res);
        RasterLayout(planes == 1 ? 1 : 3, static_cast<int>(static_cast<float>(o[hc::PageWidth]) * across / 72.0f),
                     static_cast<int>(static_cast<float>(o[hc::PageHeight]) * down / 72.0f), planes);
        r.horizontalResolution = static_cast<float>(res);
        r.verticalResolution = vres;
        if (r.rowLength > 0 && r.rowCount > 0 && RasterAllocate()) return true;
        if (o[hc::ResolutionIndexOption] >= t.RasterResolutionCount) {
            ReportLibraryError(34, "XXRAST");
            return false;
        }
        hardcopyDeviceState().resolutionIndex = ++o[hc::ResolutionIndexOption];
    }
}

void beginOutput() {
    const bool newDocument = deviceBlock().value >= 1;
    if (newDocument) {
        RasterState& r = rasterState();
        const ToolkitState& t = toolkitState();
        if (hardcopyOptions()[hc::ResolutionIndexOption] == 0) {
            ReportLibraryError(5, "XXRAST");
            graphicsState().hardcopyDriver = 0;
            return;
        }
        const int planes = hardcopyOptions()[hc::ColourHandling] == 1 ? 1 : std::max(1, t.RasterColourDepth);
        hardcopyDeviceState().rasterPlanes = planes;
        if (planes == 1) hardcopyDeviceInfo().trueColour = 0;
        r.colourScheme = t.RasterColourScheme;
        r.clearValue = t.RasterColourScheme == 1 && planes == 3 ? 0xFFFFFFFFu : 0u;
        if (!allocatePage(planes)) {
            graphicsState().hardcopyDriver = 0;
            return;
        }
        // The whole page is cleared, also rows below the last whole band.
        r.clearWords = r.totalWords;
    }
    SoftwareRasteriser(18);
    if (newDocument) SoftwareRasteriser(17);
}

void endPage() {
    HardcopyDeviceState& d = hardcopyDeviceState();
    if (!rasterState().pageDrawn) return;
    const RasterState& r = rasterState();
    if (portrait())
        RasterPrinterControl(r.rowLength, r.rowCount);
    else
        RasterPrinterControl(r.rowCount, r.rowLength);
    YYDUMP(kUnit);
    d.pageDirty = false;
    SoftwareRasteriser(17);
}

// ---- page sequences ------------------------------------------------------

void pclSequences(PrinterJobState& j, int s, int e, int ox, int oy) {
    const ToolkitState& t = toolkitState();
    const HardcopyOptions& o = hardcopyOptions();
    const int type = printerType(), res = resolution();
    std::string& p = j.pageStart;
    if (s != 0) p += std::string{ESC, 'E'};
    p += std::string{ESC} + "&a" + digits(std::max(0, 10 * ox), 4) + "h" + digits(std::max(0, 10 * oy), 4) + "V";
    p += std::string{ESC} + "*t" + digits(res, 3) + "R";
    p += std::string{ESC} + "*r";
    if (t.RasterPrinterModel > 11) p += digits(8 * ((j.dotsPerLine + 7) / 8), 4) + "s";
    if (t.RasterColourDepth == 3)
        p += std::string(t.RasterColourScheme == 2 ? "-" : "") + std::to_string(j.planes) + "u";
    p += "1A";
    if ((type == 9 || type == 10) && o[kPrinterMode] != 0) p += std::string{ESC} + "&k3W";
    if (j.compression != 0) p += std::string{ESC} + "*b" + std::to_string(j.compression) + "M";
    j.lineHeader[0] = std::string{ESC} + "*b000W";
    j.lineHeader[1] = j.lineHeader[2] = std::string{ESC} + "*b000V";
    if (type == 7 || t.RasterPrinterModel == 32)
        j.pageEnd += std::string{ESC} + "&l" + digits(o[hc::Copies], 2) + "X";
    j.pageEnd += std::string{ESC} + "*rB";
    if (e != 0) j.pageEnd += std::string{ESC, 'E'};
}

void escp2Sequences(PrinterJobState& j, int e, int ox, int oy) {
    const int res = resolution(), u = 3600 / res;
    const int v = res * oy / 72, h = res * ox / 72;
    j.pageStart = bytes({ESC, 64}) + bytes({ESC, '(', 'G', 1, 0, 1}) + bytes({ESC, '(', 'U', 1, 0, u}) +
                  bytes({ESC, '(', 'V', 2, 0}) + low16(v);
    j.lineHeader[0] = bytes({ESC, '\\'}) + low16(h) + bytes({ESC, '.', 0, u, u, 1, 0, 0});
    j.lineAdvance = bytes({ESC, '(', 'v', 2, 0, 1, 0});
    j.pageEnd = bytes({ESC, 64});
    if (e == 1) j.pageEnd.push_back(12);
}

std::string dotMatrixHeader(int type, int res, int n) {
    const auto n16 = low16(n);
    if (type == 4) {
        const int m = res == 60 ? 8 : res == 120 ? 9 : res == 180 ? 11 : 12;
        return std::string{ESC} + "[g" + n16 + bytes({m});
    }
    if (type == 5) {
        const int m = res == 90 ? 38 : res == 120 ? 33 : res == 180 ? 39 : 40;
        return bytes({ESC, '*', m}) + n16;
    }
    if (res == 60 || (type == 3 && res == 80)) return std::string{ESC, 'K'} + n16;
    if (res == 120 || res == 160) return std::string{ESC, 'L'} + n16;
    if (res == 240) return std::string{ESC, 'Z'} + n16;
    if (res == 80) return bytes({ESC, '*', 4}) + n16;
    return bytes({ESC, '*', 6}) + n16;
}

void dotMatrixSequences(PrinterJobState& j, int e, int ox, int oy) {
    const ToolkitState& t = toolkitState();
    const int type = printerType(), res = resolution();
    const int h = res * ox / 72;
    const int n = type == 4 ? 3 * (j.dotsPerLine + h) + 1 : j.dotsPerLine + h;
    j.lineHeader[0] = dotMatrixHeader(type, res, n);
    j.offsetBytes = std::min(t.RasterPins == 24 ? 3 * h : h, 39999);
    j.pageStart = bytes({ESC, 'U', 1});
    const int feed = type == 5 ? static_cast<int>(std::min(2.5f * static_cast<float>(oy), 255.0f))
                               : std::min(3 * oy, 255);
    if (feed > 0) j.pageStart += bytes({ESC, 'J', feed});
    if (j.passes == 1) j.pageStart += bytes({ESC, '3', t.RasterVerticalStep});
    j.passSpacing = {bytes({ESC, '3', 1}), bytes({ESC, '3', t.RasterVerticalStep - 1})};
    j.pageEnd = bytes({ESC, '2'});
    if (e == 1) j.pageEnd.push_back(12);
}

// ---- dumping -----------------------------------------------------------

// Packs the dots of one printed line, first dot in the high bit.
Bytes packLine(int line, int dots) {
    Bytes row(static_cast<std::size_t>((dots + 7) / 8), 0);
    for (int p = 0; p < dots; ++p)
        if (RasterFetch(p, line)) row[static_cast<std::size_t>(p / 8)] |= static_cast<unsigned char>(0x80 >> (p % 8));
    return row;
}

void trimZeros(Bytes& row) {
    while (!row.empty() && row.back() == 0)
        row.pop_back();
}

bool failed() {
    return plotFileFailed();
}

void sendBytes(FileHandle handle, const Bytes& row) {
    if (!row.empty()) YYPRBU(handle, row.data(), static_cast<int>(row.size()), false);
}

void dumpPcl(PrinterJobState& j, FileHandle handle) {
    const bool fillTail = toolkitState().RasterColourScheme == 1 && j.planes > 1;
    for (int line = 0; line < j.printLines && !failed(); ++line)
        for (int k = 0; k < j.planes && !failed(); ++k) {
            j.currentPlane = k;
            Bytes row = packLine(line, j.dotsPerLine);
            if (fillTail && j.dotsPerLine % 8 != 0)
                row.back() |= static_cast<unsigned char>(0xFF >> (j.dotsPerLine % 8));
            const int slot = j.planes - 1 - k;
            if (j.compression != 0) {
                PclCompressRow(row, slot);
            } else {
                trimZeros(row);
                std::string& header = j.lineHeader[static_cast<std::size_t>(slot)];
                header.replace(3, header.size() - 4, digits(static_cast<int>(row.size()), 3));
            }
            YYPROU(kUnit, j.lineHeader[static_cast<std::size_t>(slot)]);
            sendBytes(handle, row);
        }
}

std::vector<int> colourPasses(const PrinterJobState& j) {
    if (j.planes == 3) return {2, 1, 0, -1};
    return {0};
}

std::string colourSelectFor(const PrinterJobState& j, int plane) {
    return j.colourSelect[static_cast<std::size_t>(plane == -1 ? 3 : 2 - plane)];
}

void dumpEscp2(PrinterJobState& j, FileHandle handle) {
    const std::vector<int> passes = colourPasses(j);
    for (int line = 0; line < j.printLines && !failed(); ++line) {
        for (int plane : passes) {
            if (failed()) return;
            j.currentPlane = plane;
            if (passes.size() > 1) YYPROU(kUnit, colourSelectFor(j, plane));
            Bytes row = packLine(line, j.dotsPerLine);
            trimZeros(row);
            const int dots = 8 * static_cast<int>(row.size());
            std::string header = j.lineHeader[0];
            header[6] = PackBitsRow(row) ? 1 : 0;
            header[10] = static_cast<char>(dots & 255);
            header[11] = static_cast<char>((dots >> 8) & 255);
            YYPROU(kUnit, header);
            sendBytes(handle, row);
            YYPROU(kUnit, std::string(1, '\r'));
        }
        YYPROU(kUnit, j.lineAdvance);
    }
}

void dumpDotMatrix(PrinterJobState& j, FileHandle handle) {
    const int pins = std::max(8, toolkitState().RasterPins);
    const int bytesPerColumn = pins / 8;
    const int band = pins * j.passes;
    const std::vector<int> passes = colourPasses(j);
    for (int first = 0; first < j.printLines && !failed(); first += band)
        for (int pass = 0; pass < j.passes && !failed(); ++pass) {
            if (j.passes == 2) YYPROU(kUnit, j.passSpacing[static_cast<std::size_t>(pass)]);
            for (std::size_t c = 0; c < passes.size() && !failed(); ++c) {
                j.currentPlane = passes[c];
                if (passes.size() > 1) YYPROU(kUnit, colourSelectFor(j, passes[c]));
                Bytes line(static_cast<std::size_t>(j.offsetBytes), 0);
                for (int p = 0; p < j.dotsPerLine; ++p)
                    for (int b = 0; b < bytesPerColumn; ++b) {
                        unsigned char byte = 0;
                        for (int bit = 0; bit < 8; ++bit) {
                            const int printed = first + pass + j.passes * (8 * b + bit);
                            if (printed < j.printLines && RasterFetch(p, printed))
                                byte |= static_cast<unsigned char>(0x80 >> bit);
                        }
                        line.push_back(byte);
                    }
                std::string header = j.lineHeader[0];
                if (j.offsetBytes + (j.dotsPerLine - 1) * bytesPerColumn < kBandBufferSize + 1) {
                    trimZeros(line);
                    int count = static_cast<int>(line.size());
                    const int n = BandHeaderCount(count);
                    line.resize(static_cast<std::size_t>(count), 0);
                    // The count follows "ESC K" and the like, or "ESC * m" and "ESC [ g".
                    const std::size_t at = header[1] == '*' || header[1] == '[' ? 3 : 2;
                    header[at] = static_cast<char>(n & 255);
                    header[at + 1] = static_cast<char>((n >> 8) & 255);
                }
                YYPROU(kUnit, header);
                for (std::size_t k = 0; k < line.size() && !failed(); k += kBandBufferSize)
                    sendBytes(handle, Bytes(line.begin() + static_cast<long>(k),
                                            line.begin() + static_cast<long>(std::min(line.size(), k + kBandBufferSize))));
                YYPROU(kUnit, c + 1 < passes.size() ? std::string("\r") : std::string("\r\n"));
            }
        }
}

}  // namespace

PrinterJobState& printerJob() {
    static PrinterJobState j;
    return j;
}

void RasterPrinterControl(int dotsPerLine, int printLines) {
    const HardcopyOptions& o = hardcopyOptions();
    PrinterJobState& j = printerJob();
    j = PrinterJobState{};
    j.dotsPerLine = dotsPerLine;
    j.printLines = printLines;
    const int type = printerType(), res = resolution();
    j.passes = type < 5 && res > 100 ? 2 : 1;
    j.planes = std::max(1, hardcopyDeviceState().rasterPlanes);
    j.compression = o[hc::CompressionOption];
    const int ox = portrait() ? o[hc::PageOffsetX] : o[hc::PageOffsetY];
    const int oy = portrait() ? o[hc::PageOffsetY] : o[hc::PageOffsetX];
    const int control = o[kPlotterControl];
    const int e = control % 2, s = control - e;
    j.colourSelect = {bytes({ESC, 'r', 4}), bytes({ESC, 'r', 1}), bytes({ESC, 'r', 2}), bytes({ESC, 'r', 0})};
    if (type >= 7)
        pclSequences(j, s, e, ox, oy);
    else if (type == 6)
        escp2Sequences(j, e, ox, oy);
    else
        dotMatrixSequences(j, e, ox, oy);
}

bool RasterFetch(int position, int line) {
    const RasterState& r = rasterState();
    const PrinterJobState& j = printerJob();
    const int column = portrait() ? position : r.rowLength - 1 - line;
    const int row = portrait() ? r.rowCount - 1 - line : r.rowCount - 1 - position;
    if (column < 0 || column >= r.rowLength || row < 0 || row >= r.rowCount) return false;
    const std::uint32_t v = RasterGetPixel(column, row);
    if (r.planes == 1) return (v & 1u) != 0;
    // Dot-matrix and ESC/P2 colour printers print a dot of all three
    // colours once, in the black pass; PCL planes are sent as they are.
    const bool composite = printerType() <= 6;
    if (composite && j.currentPlane == -1) return v == 7;
    if (composite && v == 7) return false;
    return ((v >> std::max(0, j.currentPlane)) & 1u) != 0;
}

void YYDUMP(int unit) {
    if (toolkitState().RasterResolutionCount == 0 || printerType() == 0) {
        ReportLibraryError(5, "YYDUMP");
        return;
    }
    PrinterJobState& j = printerJob();
    if (!j.pageStart.empty()) YYPROU(unit, j.pageStart);
    FileHandle handle = -1;
    PlotFileHandle(unit, handle);
    const int type = printerType();
    if (type >= 7)
        dumpPcl(j, handle);
    else if (type == 6)
        dumpEscp2(j, handle);
    else
        dumpDotMatrix(j, handle);
    if (!j.pageEnd.empty() && !failed()) YYPROU(unit, j.pageEnd);
}

void PclCompressRow(std::vector<unsigned char>& row, int slot) {
    Bytes out;
    const std::size_t n = row.size();
    if (printerJob().compression == 1) {
        for (std::size_t k = 0; k < n;) {
            std::size_t run = 1;
            while (k + run < n && run < 256 && row[k + run] == row[k])
                ++run;
            out.push_back(static_cast<unsigned char>(run - 1));
            out.push_back(row[k]);
            k += run;
        }
    } else {
        for (std::size_t k = 0; k < n;) {
            std::size_t run = 1;
            while (k + run < n && run < 128 && row[k + run] == row[k])
                ++run;
            if (run >= 2) {
                out.push_back(static_cast<unsigned char>(1 - static_cast<int>(run)));
                out.push_back(row[k]);
                k += run;
                continue;
            }
            std::size_t length = 0;
            while (k + length < n && length < 127 &&
                   !(k + length + 2 < n && row[k + length] == row[k + length + 1] &&
                     row[k + length] == row[k + length + 2]))
                ++length;
            length = std::max<std::size_t>(length, 1);
            out.push_back(static_cast<unsigned char>(length - 1));
            out.insert(out.end(), row.begin() + static_cast<long>(k), row.begin() + static_cast<long>(k + length));
            k += length;
        }
    }
    row = std::move(out);
    std::string& header = printerJob().lineHeader[static_cast<std::size_t>(slot)];
    const char last = header.back();
    header = std::string{ESC} + "*b" + std::to_string(row.size()) + last;
}

bool PackBitsRow(std::vector<unsigned char>& row) {
    Bytes out;
    const std::size_t n = row.size();
    const auto piece = [&](std::size_t k, std::size_t length, bool repeat) {
        if (repeat) {
            out.push_back(static_cast<unsigned char>(1 - static_cast<int>(length)));
            out.push_back(row[k]);
        } else {
            out.push_back(static_cast<unsigned char>(length - 1));
            out.insert(out.end(), row.begin() + static_cast<long>(k), row.begin() + static_cast<long>(k + length));
        }
    };
    for (std::size_t k = 0; k < n;) {
        std::size_t run = 1;
        const bool repeat = k + 1 < n && row[k + 1] == row[k];
        if (repeat)
            while (k + run < n && row[k + run] == row[k])
                ++run;
        else
            while (k + run < n && !(k + run + 1 < n && row[k + run] == row[k + run + 1]))
                ++run;
        // Pieces of at most 128; 129 becomes 127 and 2 so a repeat keeps two.
        std::size_t left = run, at = k;
        while (left > 0) {
            std::size_t take = std::min<std::size_t>(left, 128);
            if (left == 129) take = 127;
            piece(at, take, repeat && take >= 2);
            at += take;
            left -= take;
        }
        k += run;
    }
    if (out.size() >= row.size()) return false;
    row = std::move(out);
    return true;
}

int BandHeaderCount(int& count) {
    if (printerType() == 4) return count + 1;
    if (toolkitState().RasterPins == 24) {
        count = (count + 2) / 3 * 3;
        return count / 3;
    }
    return count;
}

void XXRAST(int request) {
    static RasterHardcopyDriver driver(hc::RasterDriverNumber, {initialise, beginOutput, nullptr, endPage});
    driver.request(request);
}

}  // namespace tk
