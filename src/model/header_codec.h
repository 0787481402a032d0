#pragma once
// Encoders and decoders for the fixed head blocks of the database, profile and
// model records. Each block's layout is written once as a sequence of fields
// visited in file order; the encoder appends every field in little-endian
// order, the decoder fills the fields whose bytes are present and leaves the
// rest as they were (a short block from an older file keeps the defaults).

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/fixed_string.h"
#include "base/little_endian.h"

namespace model {

class HeaderEncoder {
  public:
    explicit HeaderEncoder(base::ByteWriter& out) : out_(out) {}
    void i32(const std::int32_t& v) { out_.i32(v); }
    void u32(const std::uint32_t& v) { out_.u32(v); }
    void f32(const float& v) { out_.f32(v); }
    void logical(const bool& v) { out_.logical(v); }
    template <std::size_t N>
    void text(const base::FixedString<N>& s) {
        out_.text(s);
    }
    template <std::size_t N>
    void raw(const std::array<std::uint8_t, N>& b) {
        out_.bytes(b);
    }

  private:
    base::ByteWriter& out_;
};

class HeaderDecoder {
  public:
    explicit HeaderDecoder(base::ByteReader& in) : in_(in) {}
    void i32(std::int32_t& v) {
        if (fits(4)) v = in_.i32();
    }
    void u32(std::uint32_t& v) {
        if (fits(4)) v = in_.u32();
    }
    void f32(float& v) {
        if (fits(4)) v = in_.f32();
    }
    void logical(bool& v) {
        if (fits(4)) v = in_.logical();
    }
    template <std::size_t N>
    void text(base::FixedString<N>& s) {
        if (fits(N)) s = in_.fixed<N>();
    }
    template <std::size_t N>
    void raw(std::array<std::uint8_t, N>& b) {
        if (!fits(N)) return;
        auto got = in_.bytes(N);
        for (std::size_t k = 0; k < N; ++k)
            b[k] = got[k];
    }
    // False once a field did not fit completely.
    bool complete() const { return complete_; }

  private:
    bool fits(std::size_t n) {
        if (complete_ && in_.remaining() >= n) return true;
        complete_ = false;
        return false;
    }
    base::ByteReader& in_;
    bool complete_ = true;
};

}  // namespace model
