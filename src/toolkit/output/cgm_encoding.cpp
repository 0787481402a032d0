#include "toolkit/output/cgm_encoding.h"

#include <algorithm>
#include <array>

namespace tk {
namespace {

void putWord(std::string& out, int value) {
    const auto v = static_cast<std::uint16_t>(value & 0xFFFF);
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
}

constexpr std::array<const char*, 16> kFontNames0 = {"COURIER",
                                                     "COURIER_BOLD",
                                                     "COURIER_ITALIC",
                                                     "COURIER_BOLD_ITALIC",
                                                     "HELVETICA",
                                                     "HELVETICA_BOLD",
                                                     "HELVETICA_OBLIQUE",
                                                     "HELVETICA_BOLD_OBLIQUE",
                                                     "TIMES_ROMAN",
                                                     "TIMES_BOLD",
                                                     "TIMES_ITALIC",
                                                     "TIMES_BOLD_ITALIC",
                                                     "SYMBOL",
                                                     "SYMBOL",
                                                     "SYMBOL",
                                                     "SYMBOL"};
constexpr std::array<const char*, 16> kFontNames1 = {"Courier",
                                                     "Courier-Bold",
                                                     "Courier-Oblique",
                                                     "Courier-BoldOblique",
                                                     "Helvetica",
                                                     "Helvetica-Bold",
                                                     "Helvetica-Oblique",
                                                     "Helvetica-BoldOblique",
                                                     "Times-Roman",
                                                     "Times-Bold",
                                                     "Times-Italic",
                                                     "Times-BoldItalic",
                                                     "Symbol",
                                                     "Symbol",
                                                     "Symbol",
                                                     "Symbol"};
constexpr std::array<const char*, 16> kFontNames2 = {"Courier New",
                                                     "Courier New Bold",
                                                     "Courier New Italic",
                                                     "Courier New Bold Italic",
                                                     "Arial",
                                                     "Arial Bold",
                                                     "Arial Italic",
                                                     "Arial Bold Italic",
                                                     "Times New Roman",
                                                     "Times New Roman Bold",
                                                     "Times New Roman Italic",
                                                     "Times New Roman Bold Italic",
                                                     "Symbol",
                                                     "Symbol Italic",
                                                     "Symbol Bold",
                                                     "Symbol Bold Italic"};

}  // namespace

CgmElement& CgmElement::int16(int value) {
    putWord(params_, value);
    return *this;
}

CgmElement& CgmElement::point(int x, int y) {
    return int16(x).int16(y);
}

CgmElement& CgmElement::byte(int value) {
    params_.push_back(static_cast<char>(value & 0xFF));
    return *this;
}

CgmElement& CgmElement::string(std::string_view text) {
    // Counts of 255 and more take the long string form: the byte 255 and a
    // 15-bit count; a count beyond one word's reach is cut there.
    if (text.size() < 255) {
        byte(static_cast<int>(text.size()));
    } else {
        text = text.substr(0, std::min<std::size_t>(text.size(), 32767));
        byte(255);
        int16(static_cast<int>(text.size()));
    }
    params_.append(text);
    return *this;
}

std::string CgmElement::encode() const {
    std::string out;
    const int length = static_cast<int>(params_.size());
    const int head = cls_ * 4096 + id_ * 32;
    if (length <= 30) {
        putWord(out, head + length);
        out += params_;
    } else {
        putWord(out, head + 31);
        int done = 0;
        do {
            const int part = std::min(kCgmMaxPartition, length - done);
            const bool more = done + part < length;
            putWord(out, part | (more ? 0x8000 : 0));
            out.append(params_, static_cast<std::size_t>(done), static_cast<std::size_t>(part));
            done += part;
        } while (done < length);
    }
    if (length % 2 != 0) out.push_back('\0');
    return out;
}

void CgmWriter::colour(int cls, int id, int red, int green, int blue) {
    write(CgmElement(cls, id).byte(red).byte(green).byte(blue).byte(0));
}

CgmElement CgmFontList(int kind) {
    const auto& names = kind == 0 ? kFontNames0 : kind == 1 ? kFontNames1 : kFontNames2;
    CgmElement e(1, 13);
    for (const char* name : names)
        e.string(name);
    // The last name of the second list is padded inside the element.
    if (kind == 1) e.byte(0);
    return e;
}

void CgmWriter::metafileHeader(std::string_view title, int fontListKind, int vdcWidth,
                               int vdcHeight) {
    write(CgmElement(0, 1).string(title));
    write(CgmElement(1, 1).int16(1));
    write(CgmElement(1, 2).string("ZAZ CGM driver v4"));
    write(CgmElement(1, 3).int16(0));
    write(CgmElement(1, 4).int16(16));
    write(CgmElement(1, 5).int16(1).int16(16).int16(16));
    write(CgmElement(1, 6).int16(16));
    write(CgmFontList(fontListKind));
    write(CgmElement(1, 7).int16(8));
    write(CgmElement(1, 10).byte(0).byte(0).byte(0).byte(255).byte(255).byte(255));
    write(CgmElement(0, 3).string("ZAZ CGM Data"));
    write(CgmElement(2, 3).int16(0));
    write(CgmElement(2, 5).int16(0));
    write(CgmElement(2, 2).int16(1));
    write(CgmElement(3, 1).int16(16));
    write(CgmElement(2, 6).point(0, 0).point(vdcWidth, vdcHeight));
    write(CgmElement(0, 4));
    write(CgmElement(5, 18).int16(1).int16(5).fixedReal(0).fixedReal(0));
}

void CgmVdcExtentOf(int pageWidth, int pageHeight, int resolutionX, int resolutionY, int& width,
                    int& height) {
    const long long w = static_cast<long long>(resolutionX) * pageWidth / 72;
    const long long h = static_cast<long long>(resolutionY) * pageHeight / 72;
    const long long larger = std::max(w, h);
    if (larger > 32767) {
        width = static_cast<int>(w * 32767 / larger);
        height = static_cast<int>(h * 32767 / larger);
    } else {
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }
}

void CgmGradientTriangles(const int* x, const int* y, const int* colours, const int* list,
                          int count, const std::function<void(const CgmElement&)>& out) {
    for (int t = 0; t < count; ++t) {
        const int a = list[3 * t] - 1, b = list[3 * t + 1] - 1, c = list[3 * t + 2] - 1;
        out(CgmElement(5, 31).point(x[a], y[a]));
        CgmElement e(5, 43);
        e.int16(3).point(x[b] - x[a], y[b] - y[a]).point(x[c] - x[a], y[c] - y[a]).int16(0);
        for (int v : {a, b, c})
            e.byte(colours[v] & 0xFF)
                .byte((colours[v] >> 8) & 0xFF)
                .byte((colours[v] >> 16) & 0xFF);
        out(e.byte(0));
        out(CgmElement(5, 22).int16(6));
        out(CgmElement(4, 7).point(x[a], y[a]).point(x[b], y[b]).point(x[c], y[c]));
    }
}

int CgmLineType(int lineStyle) {
    static constexpr std::array<int, 8> table = {1, 3, 2, 4, 5, 10, 12, 13};
    return lineStyle >= 0 && lineStyle < 8 ? table[static_cast<std::size_t>(lineStyle)] : 1;
}

void CgmDescribeDevice(DeviceInfo& info) {
    info.gradientFillAvailable = 2;
    info.trueColour = 1;
    info.styledVadiLines = 2;
    info.textAngleCapability = 360;
    info.lineStyleCount = 8;
    info.deviceTextThreshold = 1.7e38f;
    info.capabilities.assign("00000110111111100010011011100");
}

}  // namespace tk
