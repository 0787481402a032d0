#include "util/binary_file.h"

#include <array>
#include <cstring>

#include "base/fixed_string.h"
#include "base/little_endian.h"
#include "toolkit/core/binary_file_io.h"

namespace util {
namespace {

int openWith(std::string_view name, int mode) {
    tk::FileHandle h = -1;
    tk::BinFileOpen(name, mode, h);
    return h;
}

int positionResult(int position) {
    return position <= 0 ? position : 0;
}

}  // namespace

int IOPNFIL(std::string_view name) {
    return openWith(name, tk::OpenReadWrite);
}
int IOPNRLY(std::string_view name) {
    return openWith(name, tk::OpenRead);
}
int MAKEFIL(std::string_view name) {
    return openWith(name, tk::OpenCreate);
}

int ICLSFIL(int ih) {
    tk::FileHandleClose(ih);
    return 0;
}

int IREDFIL(int ih, char* buf, int n) {
    int moved = 0;
    tk::BinFileReadChar(ih, buf, n, moved);
    return n - moved;
}

int ICREDFIL(int ih, char* buf, int n) {
    // The count alone decides what moves; the field's length plays no part.
    int moved = 0;
    tk::ReadCharsEntry2(ih, buf, n, moved);
    return n - moved;
}

int JREDFIL(int ih, void* a, int n) {
    int moved = 0;
    tk::ReadBytesEntry5(ih, a, n, moved);
    return n - moved;
}
int JREDFIL2(int ih, void* a, int n) {
    return JREDFIL(ih, a, n);
}
int JREDFIL3(int ih, void* a, int n) {
    return JREDFIL(ih, a, n);
}

int IRITFIL(int ih, const char* buf, int n) {
    int moved = 0;
    tk::BinFileWriteChar(ih, buf, n, moved);
    return n - moved;
}

int JRITFIL(int ih, const void* a, int n) {
    // Without an item size the toolkit leaves the buffer untouched.
    int moved = 0;
    tk::WriteBytesEntry5(ih, const_cast<void*>(a), n, moved);
    return n - moved;
}
int JRITFIL2(int ih, const void* a, int n) {
    return JRITFIL(ih, a, n);
}
int JRITFIL3(int ih, const void* a, int n) {
    return JRITFIL(ih, a, n);
}

int ISETFIL(int ih, int ipos) {
    tk::BinFileSeek(ih, ipos, tk::SeekStart);
    return positionResult(ipos);
}

int IADVFIL(int ih, int n, int& ipos) {
    ipos = n;
    tk::BinFileSeek(ih, ipos, tk::SeekCurrent);
    return positionResult(ipos);
}

void F4SWAP(void* a, int n) {
    if (n > 0) tk::reverseItems(a, 4 * n, 4);
}
void F8SWAP(void* a, int n) {
    if (n > 0) tk::reverseItems(a, 8 * n, 8);
}
void I2SWAP(void* a, int n) {
    if (n > 0) tk::reverseItems(a, 2 * n, 2);
}

void SPLEXP(const std::uint8_t b[2], int k[4]) {
    auto nibble = [](unsigned v) {
        return v >= 8 ? static_cast<int>(v) - 16 : static_cast<int>(v);
    };
    k[0] = nibble(b[0] & 0x0Fu);
    k[1] = nibble(b[0] >> 4);
    k[2] = nibble(b[1] & 0x0Fu);
    k[3] = nibble(b[1] >> 4);
}

int IRITHEAD(int ih, std::string_view tag, std::int32_t i1, std::int32_t i2, std::int32_t i3) {
    base::FixedString<8> field(tag);
    int missing = IRITFIL(ih, field.data(), 8);
    if (missing != 0) return missing;
    for (std::int32_t value : {i1, i2, i3}) {
        base::ByteWriter w;
        w.i32(value);
        missing = JRITFIL(ih, w.buffer().data(), 4);
        if (missing != 0) return missing;
    }
    return 0;
}

}  // namespace util
