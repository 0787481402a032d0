#include "base/little_endian.h"

#include <sys/stat.h>

#include <bit>
#include <cstdio>
#include <memory>
#include <new>

#include "base/bulk_pages.h"

namespace base {

void ByteWriter::f32(float v) {
    put(std::bit_cast<std::uint32_t>(v), 4);
}
void ByteWriter::f64(double v) {
    put(std::bit_cast<std::uint64_t>(v), 8);
}

void ByteWriter::text(std::string_view s, std::size_t width, char pad) {
    for (std::size_t k = 0; k < width; ++k)
        buf_.push_back(static_cast<std::uint8_t>(k < s.size() ? s[k] : pad));
}

std::uint64_t ByteReader::get(int n) {
    if (!ok_ || remaining() < static_cast<std::size_t>(n)) {
        ok_ = false;
        return 0;
    }
    std::uint64_t v = 0;
    for (int k = 0; k < n; ++k)
        v |= static_cast<std::uint64_t>(data_[pos_ + k]) << (8 * k);
    pos_ += n;
    return v;
}

float ByteReader::f32() {
    return std::bit_cast<float>(static_cast<std::uint32_t>(get(4)));
}
double ByteReader::f64() {
    return std::bit_cast<double>(get(8));
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t n) {
    if (!ok_ || remaining() < n) {
        ok_ = false;
        return {};
    }
    auto out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
}

std::string ByteReader::text(std::size_t width) {
    auto b = bytes(width);
    if (b.empty()) return std::string(width, ' ');
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool readFile(const std::string& path, ByteBuffer& out) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    out.clear();
    try {
        // Straight into storage of the file's size, its pages asked for at
        // once: a large database read by growing the buffer chunk by chunk
        // spends most of its time copying, and one read page by page most of
        // it fetching pages.
        struct stat info {};
        if (::fstat(::fileno(f.get()), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            out.resize(static_cast<std::size_t>(info.st_size));
            preparePages(out.data(), out.size());
            out.resize(std::fread(out.data(), 1, out.size(), f.get()));
        }
        // Whatever the size did not tell (a file still growing, a pipe).
        std::uint8_t chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0)
            out.insert(out.end(), chunk, chunk + n);
    } catch (const std::bad_alloc&) {
        ByteBuffer().swap(out);
        return false;
    }
    return std::ferror(f.get()) == 0;
}

bool writeFile(const std::string& path, std::span<const std::uint8_t> data) {
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f.get()) != data.size())
        return false;
    return std::fclose(f.release()) == 0;
}

}  // namespace base
