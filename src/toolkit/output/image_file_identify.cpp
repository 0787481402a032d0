#include "toolkit/output/image_file_identify.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/files.h"
#include "toolkit/core/binary_file_io.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/hpgl2_driver.h"
#include "toolkit/output/hpgl_driver.h"

namespace tk {

namespace {

constexpr int kHeaderSize = 128;
constexpr std::size_t kCgmParameterRoom = 1052;
constexpr std::size_t kLineRoom = 4096;

// The report mode is silent while a file is parsed as text.
class SilentReports {
  public:
    SilentReports() : kept_(toolkitState().ErrorReportMode) { toolkitState().ErrorReportMode = 0; }
    ~SilentReports() { toolkitState().ErrorReportMode = kept_; }

  private:
    int kept_;
};

// A file read through the toolkit's binary file services a buffer at a time.
// A quiet open leaves the report of a failure to the caller.
class FileBytes {
  public:
    explicit FileBytes(std::string_view name, bool quiet = false) {
        if (!quiet) {
            BinFileOpen(name, OpenRead, handle_);
            return;
        }
        const SilentReports silent;
        BinFileOpen(name, OpenRead, handle_);
    }
    ~FileBytes() { close(); }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool open() const { return handle_ != -1; }
    bool failed() const { return error_; }
    void close() {
        if (handle_ != -1) FileHandleClose(handle_);
        handle_ = -1;
    }
    // The next byte; -1 at the end of the file or after a read error.
    int get() {
        if (at_ == have_ && !fill()) return -1;
        return buffer_[at_++];
    }
    // Exactly n bytes, false when the file ends first.
    bool read(unsigned char* out, std::size_t n) {
        for (std::size_t k = 0; k < n; ++k) {
            const int c = get();
            if (c < 0) return false;
            out[k] = static_cast<unsigned char>(c);
        }
        return true;
    }
    // Passes over n bytes; false when the file ends first.
    bool skip(long long n) {
        for (; n > 0; --n)
            if (get() < 0) return false;
        return true;
    }
    // The next text line without its line end (at most kLineRoom characters
    // are kept); false at the end of the file.
    bool line(std::string& text) {
        text.clear();
        int c = get();
        if (c < 0) return false;
        for (; c >= 0 && c != '\n'; c = get())
            if (c != '\r' && text.size() < kLineRoom) text += static_cast<char>(c);
        return true;
    }

  private:
    bool fill() {
        if (handle_ == -1) return false;
        int count = 0;
        ReadCharsEntry1(handle_, reinterpret_cast<char*>(buffer_.data()),
                        static_cast<int>(buffer_.size()), count);
        if (count < 0) error_ = true;
        at_ = 0;
        have_ = count > 0 ? static_cast<std::size_t>(count) : 0;
        return have_ > 0;
    }

    FileHandle handle_ = -1;
    std::array<unsigned char, 4096> buffer_{};
    std::size_t at_ = 0, have_ = 0;
    bool error_ = false;
};

bool fileExists(std::string_view name) {
    const std::string path(name);
    const win::DWORD a = win::GetFileAttributesA(path.c_str());
    return a != win::INVALID_FILE_ATTRIBUTES && (a & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string_view trimmedName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(std::string_view(" \0", 2));
    if (first == std::string_view::npos) return {};
    return name.substr(first, name.find_last_not_of(std::string_view(" \0", 2)) - first + 1);
}

// The numbers at the start of a text: optional signs, digits and a point,
// separated by blanks or commas; a malformed word ends the list.
std::vector<double> leadingNumbers(std::string_view text, std::size_t most) {
    std::vector<double> numbers;
    std::size_t i = 0;
    while (numbers.size() < most) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ',')) ++i;
        const std::size_t start = i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        bool digits = false, point = false;
        for (; i < text.size(); ++i) {
            if (std::isdigit(static_cast<unsigned char>(text[i])))
                digits = true;
            else if (text[i] == '.' && !point)
                point = true;
            else
                break;
        }
        if (!digits) break;
        numbers.push_back(std::atof(std::string(text.substr(start, i - start)).c_str()));
    }
    return numbers;
}

int truncatedInt(double v) {
    if (!std::isfinite(v)) return -1;
    return static_cast<int>(std::clamp(std::trunc(v), -2147483647.0, 2147483647.0));
}

int powerOfTwo(int exponent) {
    if (exponent < 0) return -1;
    return exponent >= 31 ? 0 : 1 << exponent;
}

struct Header {
    std::array<unsigned char, kHeaderSize> bytes{};
    std::size_t first = 0;  // the first byte that is neither blank nor NUL
    unsigned char at(int position) const { return bytes[static_cast<std::size_t>(position - 1)]; }
    bool startsWith(std::string_view s, std::size_t from = 0) const {
        return from + s.size() <= bytes.size() &&
               std::memcmp(bytes.data() + from, s.data(), s.size()) == 0;
    }
    bool contains(std::string_view s, std::size_t within = kHeaderSize) const {
        const std::string_view all(reinterpret_cast<const char*>(bytes.data()),
                                   std::min<std::size_t>(within, bytes.size()));
        return all.find(s) != std::string_view::npos;
    }
    std::size_t find(std::string_view s) const {
        return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).find(s);
    }
    std::uint32_t little(int position, int size) const {
        return HeaderReadLittleEndian(bytes.data() + position - 1, size);
    }
    std::int32_t signed16(int position) const {
        return static_cast<std::int16_t>(little(position, 2));
    }
};

// A file that starts with a DXF comment: the first group 0 decides.
bool dxfAfterComments(std::string_view name) {
    FileBytes file(name);
    std::string code, value;
    while (file.line(code) && file.line(value)) {
        const std::vector<double> n = leadingNumbers(code.substr(0, 20), 1);
        if (n.empty()) return false;
        if (n[0] == 999) continue;
        if (n[0] != 0) return false;
        const std::string_view v = std::string_view(value).substr(0, 20);
        const std::size_t first = v.find_first_not_of(' ');
        return first != std::string_view::npos &&
               v.substr(first, v.find_last_not_of(' ') - first + 1) == "SECTION";
    }
    return false;
}

int kindOf(const Header& h, std::string_view name) {
    const std::size_t f = h.first;
    if (h.startsWith("IN", f)) return ImageHpgl;
    if (h.startsWith("\x1b%0B", f)) return ImageHpgl2;
    if (h.startsWith("%!PS", f)) return ImagePostScript;
    const bool lineEnd = [&](std::size_t at) {
        return at < kHeaderSize && (h.bytes[at] == '\n' || h.bytes[at] == '\r');
    }(f + 1);
    if (h.startsWith("0", f) && lineEnd && h.contains("SECTION", 20)) return ImageDxf;
    if (h.startsWith("999", f) && f + 3 < kHeaderSize &&
        (h.bytes[f + 3] == '\n' || h.bytes[f + 3] == '\r'))
        return !name.empty() && dxfAfterComments(name) ? ImageDxf : ImageUnknown;
    if ((h.contains("<!DOCTYPE svg") || h.contains("<!doctype svg")) &&
        (h.contains("<?XML ") || h.contains("<?xml ")))
        return ImageSvg;
    if (h.at(1) == 10 && h.at(3) == 1) return ImagePcx;
    if (h.startsWith("BM") && h.little(7, 4) == 0 && h.little(15, 4) != 12) return ImageBmp;
    if (h.startsWith(" EMF", 40)) return ImageMetafile;
    if (h.startsWith(std::string_view("\x01\x00\x09\x00\x00\x03", 6)) ||
        h.little(1, 4) == 0x9AC6CDD7u)
        return ImageMetafile;
    if (h.at(1) == 0 && h.at(2) >= 16 && h.at(3) < 32) return ImageCgm;
    if (h.at(1) == 1 && h.at(5) == 1 && h.at(7) == 8 && h.at(9) == 68 && h.at(14) == 12)
        return ImagePictureFile;
    if (h.startsWith("Draw")) return ImageDraw;
    if (h.startsWith("\x1b[?38h")) return ImageTerminalGraphics;
    if (h.startsWith("\x1b" "E") || h.startsWith("\x1b&a")) return ImagePcl;
    if (h.startsWith("\x1b@")) return ImageEscP;
    if (h.startsWith(std::string_view("\x1bU\x01", 3))) return ImageEscPUnit;
    if (h.startsWith(std::string_view("\x89PNG\r\n\x1a\n", 8))) return ImagePng;
    return ImageUnknown;
}

// Model (or device), width and height from the commands of a plotter file.
struct PlotterFacts {
    int model = 0, width = -1, height = -1;
};

PlotterFacts plotterFacts(std::string_view name, bool hpgl2) {
    PlotterFacts facts;
    FileBytes file(name);
    std::string line;
    std::string_view rest;
    bool sized = false;
    while (facts.model == 0 || !sized) {
        if (rest.empty()) {
            if (!file.line(line)) break;
            rest = line;
        }
        const std::size_t first = rest.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            rest = {};
            continue;
        }
        rest = rest.substr(first);
        const std::string_view command = rest.substr(0, 2);
        const std::string_view parameters = rest.substr(std::min<std::size_t>(rest.size(), 2));
        if (command == "SC") {
            const auto n = leadingNumbers(parameters, 2);
            if (n.size() == 2 && n[0] == -13) facts.model = truncatedInt(n[1]) - (hpgl2 ? 10 : 0);
        } else if (command == "IP") {
            const auto n = leadingNumbers(parameters, 4);
            if (n.size() == 4) {
                facts.width = truncatedInt(n[2] - n[0] + 1);
                facts.height = truncatedInt(n[3] - n[1] + 1);
                sized = true;
            }
        } else if (hpgl2 && command == "CO") {
            std::string_view comment = parameters;
            if (!comment.empty() && comment.front() == '"') comment.remove_prefix(1);
            const auto n = comment.starts_with(":") ? std::vector<double>{}
                                                    : leadingNumbers(comment, 2);
            if (n.size() == 2 && n[0] == 13) facts.model = truncatedInt(n[1]);
        }
        const std::size_t next = rest.find(';');
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
    }
    return facts;
}

void hpglDetails(std::string_view name, ImageFileInfo& info, int wanted) {
    const PlotterFacts f = plotterFacts(name, false);
    info[2] = f.width;
    info[3] = f.height;
    if (f.model >= 1 && f.model <= 10) {
        const HpglModelFacts m = HpglModel(f.model);
        if (f.width >= 0) info[2] = truncatedInt(72.0 * f.width / m.unitsPerInch);
        if (f.height >= 0) info[3] = truncatedInt(72.0 * f.height / m.unitsPerInch);
        info[4] = m.pens;
        info[5] = f.model;
    }
    if (wanted >= 6) YYCNTHPG(name, info[6]);
}

void hpgl2Details(std::string_view name, ImageFileInfo& info, int wanted) {
    const PlotterFacts f = plotterFacts(name, true);
    if (f.width >= 0) info[2] = truncatedInt(72.0 * f.width / 1016);
    if (f.height >= 0) info[3] = truncatedInt(72.0 * f.height / 1016);
    if (f.model >= 1 && f.model <= 5) {
        info[4] = Hpgl2DevicePens(f.model);
        info[5] = f.model;
    }
    if (wanted >= 6) YYCNTHPG(name, info[6]);
}

void postScriptDetails(std::string_view name, ImageFileInfo& info) {
    FileBytes file(name);
    std::string line;
    info[4] = 0;
    if (!file.line(line) || !file.line(line)) return;
    std::string_view second = line;
    second.remove_prefix(std::min(second.size(), second.find_first_not_of(' ')));
    if (!second.starts_with("%%BoundingBox:")) return;
    const auto n = leadingNumbers(second.substr(14), 4);
    if (n.size() < 4) return;
    info[2] = truncatedInt(n[2]);
    info[3] = truncatedInt(n[3]);
    info[4] = 1;
}

void dxfDetails(std::string_view name, ImageFileInfo& info) {
    FileBytes file(name);
    std::string line;
    for (int number = 1; number <= 16 && file.line(line); ++number) {
        if (number != 14 && number != 16) continue;
        const auto n = leadingNumbers(line, 1);
        info[number == 14 ? 2 : 3] = n.empty() ? 0 : truncatedInt(72.0 * n[0]);
    }
}

// The value of an attribute of the svg element: from the quotation mark
// after "name=" to the next one.
int svgAttribute(std::string_view element, std::string_view attribute) {
    const std::size_t at = element.find(std::string(attribute) + "=");
    if (at == std::string_view::npos) return -1;
    const std::size_t open = element.find('"', at);
    const std::size_t close = open == std::string_view::npos ? open : element.find('"', open + 1);
    if (close == std::string_view::npos) return -1;
    const auto n = leadingNumbers(element.substr(open + 1, close - open - 1), 1);
    return n.empty() ? 0 : truncatedInt(n[0]);
}

void svgDetails(std::string_view name, ImageFileInfo& info) {
    FileBytes file(name);
    std::string line;
    if (!file.line(line)) return;
    while (file.line(line)) {
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::size_t at = line.find("<svg ");
        if (at == std::string::npos) continue;
        const std::string_view element = std::string_view(line).substr(at);
        info[2] = svgAttribute(element, " width");
        info[3] = svgAttribute(element, " height");
        return;
    }
}

void metafileDetails(const Header& h, ImageFileInfo& info) {
    if (h.little(1, 4) == 0x9AC6CDD7u) {
        info[4] = 1;
        const int unitsPerInch = static_cast<int>(h.little(15, 2));
        if (unitsPerInch == 0) return;
        info[2] = 72 * (h.signed16(11) - h.signed16(7) + 1) / unitsPerInch;
        info[3] = 72 * (h.signed16(13) - h.signed16(9) + 1) / unitsPerInch;
    } else if (h.startsWith(" EMF", 40)) {
        info[4] = 2;
        const auto frame = [&](int at) { return static_cast<long long>(static_cast<std::int32_t>(h.little(at, 4))); };
        info[2] = truncatedInt(72.0 * static_cast<double>(frame(33) - frame(25) + 1) / 2540.0);
        info[3] = truncatedInt(72.0 * static_cast<double>(frame(37) - frame(29) + 1) / 2540.0);
    } else {
        info[4] = 0;
    }
}

void printerDetails(const Header& h, int kind, ImageFileInfo& info) {
    if (kind == ImagePcl) {
        info[4] = h.contains("s-3u1A") || h.contains("s3u1A") ? 8 : 2;
        const std::size_t at = h.find("\x1b*t");
        if (at == std::string_view::npos) return;
        std::string digits;
        for (std::size_t k = at + 3; k < at + 6 && k < kHeaderSize; ++k)
            digits += static_cast<char>(h.bytes[k]);
        const auto n = leadingNumbers(digits, 1);
        const int resolution = n.empty() ? 0 : truncatedInt(n[0]);
        info[5] = resolution > 0 ? resolution : -1;
        return;
    }
    info[4] = h.contains(std::string_view("\x1br\x04", 3)) ? 8 : 0;
    if (kind != ImageEscP) return;
    const std::size_t at = h.find(std::string_view("\x1b(U\x01\x00", 5));
    if (at != std::string_view::npos && at + 5 < kHeaderSize && h.bytes[at + 5] != 0)
        info[5] = 3600 / h.bytes[at + 5];
}

void headerDetails(const Header& h, int kind, ImageFileInfo& info) {
    switch (kind) {
        case ImageBmp: {
            const int bits = static_cast<int>(h.little(29, 2));
            info[2] = static_cast<std::int32_t>(h.little(19, 4));
            info[3] = static_cast<std::int32_t>(h.little(23, 4));
            info[4] = powerOfTwo(bits == 32 ? 24 : bits);
            const std::uint32_t compression = h.little(31, 4);
            info[5] = compression != 0 && compression != 3 ? 1 : 0;
            info[6] = bits;
            break;
        }
        case ImagePcx: {
            const int depth = h.at(4) * h.at(66);
            info[2] = h.signed16(9) - h.signed16(5) + 1;
            info[3] = h.signed16(11) - h.signed16(7) + 1;
            info[4] = powerOfTwo(depth);
            info[5] = h.at(2);
            info[6] = depth;
            break;
        }
        case ImageDraw:
            info[2] = static_cast<std::int32_t>(h.little(33, 4)) / 640;
            info[3] = static_cast<std::int32_t>(h.little(37, 4)) / 640;
            break;
        case ImagePng: {
            const int depth = h.at(25), type = h.at(26);
            info[2] = static_cast<int>(std::min<std::uint32_t>(HeaderReadBigEndian(&h.bytes[16]),
                                                               INT32_MAX));
            info[3] = static_cast<int>(std::min<std::uint32_t>(HeaderReadBigEndian(&h.bytes[20]),
                                                               INT32_MAX));
            if (type == 2 || type == 6) info[4] = 16777216, info[6] = 24;
            if (type == 3) info[4] = powerOfTwo(depth), info[6] = depth;
            info[5] = h.at(29);
            break;
        }
        default:
            break;
    }
}

void details(std::string_view name, const Header& h, int kind, ImageFileInfo& info, int wanted) {
    const SilentReports silent;
    switch (kind) {
        case ImageHpgl:
            return hpglDetails(name, info, wanted);
        case ImageHpgl2:
            return hpgl2Details(name, info, wanted);
        case ImagePostScript:
            return postScriptDetails(name, info);
        case ImageDxf:
            return dxfDetails(name, info);
        case ImageSvg:
            return svgDetails(name, info);
        case ImageMetafile:
            return metafileDetails(h, info);
        case ImageCgm: {
            int pictures = 0;
            float aspect = 1.0f;
            YYINFOCGM(name, pictures, aspect);
            info[4] = pictures;
            info[2] = 1000;
            info[3] = aspect > 0 && std::isfinite(1000.0f / aspect) ? truncatedInt(1000.0 / aspect) : -1;
            return;
        }
        case ImagePictureFile:
            info[2] = 3201;
            info[3] = 2312;
            if (wanted >= 4) YYCNTPIC(name, info[4]);
            return;
        case ImagePcl:
        case ImageEscP:
        case ImageEscPUnit:
            return printerDetails(h, kind, info);
        default:
            return headerDetails(h, kind, info);
    }
}

}  // namespace

std::uint32_t HeaderReadLittleEndian(const unsigned char* bytes, int size) {
    std::uint32_t value = 0;
    for (int k = std::min(size, 4) - 1; k >= 0; --k)
        value = value << 8 | bytes[k];
    return value;
}

std::uint32_t HeaderReadBigEndian(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

namespace {

void skipBlanks(Header& h) {
    while (h.first < h.bytes.size() && (h.bytes[h.first] == ' ' || h.bytes[h.first] == 0))
        ++h.first;
}

}  // namespace

int ImageKindOfBytes(const unsigned char* bytes, std::size_t size) {
    if (size < 4) return ImageUnreadable;
    Header h;
    std::memcpy(h.bytes.data(), bytes, std::min(size, h.bytes.size()));
    skipBlanks(h);
    return kindOf(h, {});
}

void ImageFileIdentify(std::string_view fileName, ImageFileInfo& info, int wanted) {
    info[1] = ImageUnreadable;
    const std::string_view name = trimmedName(fileName);
    if (name.empty() || !fileExists(name)) return;
    Header h;
    {
        FileBytes file(name);
        if (!file.open()) return;
        std::size_t count = 0;
        for (int c; count < h.bytes.size() && (c = file.get()) >= 0; ++count)
            h.bytes[count] = static_cast<unsigned char>(c);
        if (count < 4) return;
    }
    skipBlanks(h);
    ImageFileInfo found;
    found[1] = kindOf(h, name);
    if (wanted >= 2 && found[1] != ImageUnknown) details(name, h, found[1], found, wanted);
    info[1] = found[1];
    for (int k = 2; k <= std::min(wanted, 6); ++k)
        info[k] = found[k];
}

void YYCNTHPG(std::string_view fileName, int& pages) {
    FileBytes file(trimmedName(fileName), true);
    if (!file.open()) return ReportLibraryError(1, "YYCNTHPG");
    int count = 0;
    {
        const SilentReports silent;
        std::string line;
        while (file.line(line)) {
            std::string_view text = line;
            text.remove_prefix(std::min(text.size(), text.find_first_not_of(' ')));
            text = text.substr(0, std::min<std::size_t>(text.size(), 10));
            std::string_view parameters = text.substr(std::min<std::size_t>(text.size(), 2));
            if (text.starts_with("SC")) {
                const auto n = leadingNumbers(parameters, 1);
                count += !n.empty() && n[0] == -3;
            } else if (text.starts_with("CO")) {
                if (parameters.starts_with("\"")) parameters.remove_prefix(1);
                if (parameters.starts_with(":")) continue;
                const auto n = leadingNumbers(parameters, 1);
                count += !n.empty() && n[0] == 3;
            }
        }
    }
    if (file.failed()) ReportLibraryError(2, "YYCNTHPG");
    pages = std::max(count, 1);
}

namespace {

// The parameters of one CGM element, with reads that stay inside them.
struct CgmParameters {
    std::array<unsigned char, kCgmParameterRoom> bytes{};
    std::size_t length = 0;
    bool has(std::size_t position, std::size_t n) const { return position - 1 + n <= length; }
    // 16-bit values are signed; any other precision is read as 32 bits.
    long long integer(std::size_t position, int precision) const {
        if (precision == 16) {
            if (!has(position, 2)) return 0;
            return static_cast<std::int16_t>(bytes[position - 1] << 8 | bytes[position]);
        }
        if (!has(position, 4)) return 0;
        return static_cast<std::int32_t>(HeaderReadBigEndian(&bytes[position - 1]));
    }
    float real(std::size_t position) const {
        if (!has(position, 4)) return 0;
        const std::uint32_t word = HeaderReadBigEndian(&bytes[position - 1]);
        float value = 0;
        std::memcpy(&value, &word, sizeof value);
        return value;
    }
};

}  // namespace

void YYINFOCGM(std::string_view fileName, int& pictures, float& aspect) {
    FileBytes file(trimmedName(fileName), true);
    if (!file.open()) return ReportLibraryError(1, "YYINFOCGM");
    pictures = 0;
    int integerPrecision = 16, vdcPrecision = 16, vdcType = 0;
    std::optional<float> maximumAspect, extentAspect;
    CgmParameters p;
    bool shortRead = false;
    for (;;) {
        unsigned char word[2];
        if (!file.read(word, 2)) {
            shortRead = true;
            break;
        }
        const int header = word[0] << 8 | word[1];
        const int cls = header >> 12, id = header >> 5 & 0x7F;
        long long length = header & 31;
        bool more = false;
        if (length == 31) {
            if (!file.read(word, 2)) {
                shortRead = true;
                break;
            }
            length = (word[0] << 8 | word[1]) & 0x7FFF;
            more = (word[0] & 0x80) != 0;
        }
        if (cls == 0 && id == 2) break;
        if (cls == 0 && id == 5) ++pictures;
        // The defaults replacement is entered: its elements follow as if alone.
        if (cls == 1 && id == 12) continue;
        const bool decoded = (cls == 3 && id == 1) || (cls == 2 && id == 6) ||
                             (cls == 1 && id == 17) || (cls == 1 && id == 3) ||
                             (cls == 1 && id == 4);
        p.length = 0;
        bool ok = true;
        for (;;) {
            const long long padded = length + length % 2;
            const std::size_t keep = static_cast<std::size_t>(
                std::min<long long>(decoded ? length : 0,
                                    static_cast<long long>(kCgmParameterRoom - p.length)));
            ok = file.read(&p.bytes[p.length], keep) && file.skip(padded - static_cast<long long>(keep));
            p.length += keep;
            if (!ok || !more) break;
            if (!file.read(word, 2)) {
                ok = false;
                break;
            }
            length = (word[0] << 8 | word[1]) & 0x7FFF;
            more = (word[0] & 0x80) != 0;
        }
        if (!ok) {
            shortRead = true;
            break;
        }
        if (!decoded) continue;
        if (cls == 1 && id == 3) {
            vdcType = static_cast<int>(p.integer(1, 16));
        } else if (cls == 1 && id == 4) {
            integerPrecision = static_cast<int>(p.integer(1, integerPrecision));
        } else if (cls == 3 && id == 1) {
            vdcPrecision = static_cast<int>(p.integer(1, integerPrecision));
        } else {
            const int step = vdcType == 0 ? std::clamp(vdcPrecision / 8, 1, 4) : 4;
            double c[4];
            for (int k = 0; k < 4; ++k) {
                const std::size_t at = static_cast<std::size_t>(1 + k * step);
                c[k] = vdcType == 0 ? static_cast<double>(p.integer(at, vdcPrecision)) : p.real(at);
            }
            const double h = c[3] - c[1], a = h != 0 ? (c[2] - c[0]) / h : 0;
            if (h != 0 && std::isfinite(a)) {
                if (cls == 1)
                    maximumAspect = static_cast<float>(a);
                else
                    extentAspect = static_cast<float>(a);
            }
        }
    }
    if (shortRead) ReportLibraryError(2, "YYINFOCGM");
    pictures = std::max(pictures, 1);
    aspect = maximumAspect.value_or(extentAspect.value_or(1.0f));
}

void YYCNTPIC(std::string_view fileName, int& pictures) {
    FileBytes file(trimmedName(fileName), true);
    if (!file.open()) return ReportLibraryError(1, "YYCNTPIC");
    unsigned char header[17];
    int count = 0;
    bool shortRead = !file.read(header, sizeof header);
    for (int c; !shortRead && (c = file.get()) >= 0;) {
        unsigned char operand[4];
        if (c == 160 || c == 162 || c == 172) {
            shortRead = !file.skip(4);
        } else if (c == 48 || c == 224) {
            shortRead = !file.read(operand, 4);
            const long long n = static_cast<std::int32_t>(HeaderReadLittleEndian(operand, 4));
            shortRead = shortRead || n < 0 || !file.skip(4 * (n + 1));
        } else if (c == 167) {
            shortRead = file.get() < 0;
        } else if (c == 168) {
            shortRead = file.get() < 0;
            int b = 1;
            while (!shortRead && (b = file.get()) > 0) {
            }
            shortRead = shortRead || b < 0;
        } else if (c >= 96 && c <= 111) {
            ++count;
        }
    }
    if (shortRead) ReportLibraryError(2, "YYCNTPIC");
    pictures = std::max(count, 1);
}

}  // namespace tk
