#pragma once
// Little-endian encoding of the numbers and texts in the program's binary
// files. Records are always written and read field by field through these,
// never by copying structures, so the layout is independent of the compiler.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/fill_later_allocator.h"
#include "base/fixed_string.h"

namespace base {

// The 4-byte little-endian word at p (the caller has checked it is there).
inline std::uint32_t word32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Appends fields to a growing byte buffer.
class ByteWriter {
  public:
    void i16(std::int16_t v) { put(static_cast<std::uint16_t>(v), 2); }
    void i32(std::int32_t v) { put(static_cast<std::uint32_t>(v), 4); }
    void u32(std::uint32_t v) { put(v, 4); }
    void f32(float v);
    void f64(double v);
    // A logical is 32 bits: all set for true, 0 for false.
    void logical(bool v) { i32(v ? -1 : 0); }
    // Exactly `width` bytes: cut, or padded with `pad`.
    void text(std::string_view s, std::size_t width, char pad = ' ');
    template <std::size_t N>
    void text(const FixedString<N>& s) {
        bytes(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), N));
    }
    void bytes(std::span<const std::uint8_t> b) { buf_.insert(buf_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }

    std::size_t size() const { return buf_.size(); }
    const std::vector<std::uint8_t>& buffer() const { return buf_; }
    std::vector<std::uint8_t> take() { return std::move(buf_); }

  private:
    void put(std::uint64_t v, int n) {
        for (int k = 0; k < n; ++k)
            buf_.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    }
    std::vector<std::uint8_t> buf_;
};

// Reads fields from a byte buffer. Reading past the end never touches memory
// outside it: the reader fails, stays failed, and yields zeros from then on.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::int16_t i16() { return static_cast<std::int16_t>(get(2)); }
    std::int32_t i32() { return static_cast<std::int32_t>(get(4)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(get(4)); }
    float f32();
    double f64();
    // Tested on the lowest bit, as files written elsewhere may hold 1 for true.
    bool logical() { return (i32() & 1) != 0; }
    std::string text(std::size_t width);
    template <std::size_t N>
    FixedString<N> fixed() {
        FixedString<N> s;
        s.assign(text(N));
        return s;
    }
    std::span<const std::uint8_t> bytes(std::size_t n);
    void skip(std::size_t n) { (void)bytes(n); }

    bool ok() const { return ok_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    void seek(std::size_t pos) {
        if (pos > data_.size())
            ok_ = false;
        else
            pos_ = pos;
    }

  private:
    std::uint64_t get(int n);
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// The bytes of a whole file, as readFile delivers them.
using ByteBuffer = std::vector<std::uint8_t, FillLaterAllocator<std::uint8_t>>;

// Whole-file helpers. readFile answers false when the file cannot be read
// (nor storage for it be had).
bool readFile(const std::string& path, ByteBuffer& out);
bool writeFile(const std::string& path, std::span<const std::uint8_t> data);

}  // namespace base
