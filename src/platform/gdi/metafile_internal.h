#pragma once
// Shared by the enhanced and old-style metafile code.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gdi/internal.h"

namespace win::gdi {

struct EnhMetafile : Object {
    EnhMetafile() : Object(OBJ_ENHMETAFILE) {}
    std::vector<std::uint8_t> bytes;
};

struct OldMetafile : Object {
    OldMetafile() : Object(OBJ_METAFILE) {}
    std::vector<std::uint8_t> bytes;
};

// Little-endian record building: fields appended, size fixed at the end.
class RecordBytes {
  public:
    void u8(std::uint8_t v) { b_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void i16(int v) { u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
    void f32(float v);
    void bytes(const std::uint8_t* p, std::size_t n) { b_.insert(b_.end(), p, p + n); }
    void padTo(std::size_t multiple) {
        while (b_.size() % multiple)
            b_.push_back(0);
    }
    void putU32(std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            b_[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    std::size_t size() const { return b_.size(); }
    std::vector<std::uint8_t>& data() { return b_; }

  private:
    std::vector<std::uint8_t> b_;
};

// Reads little-endian fields from a record; out-of-range reads give 0.
class RecordReader {
  public:
    RecordReader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    std::uint32_t u32(std::size_t at) const {
        if (at + 4 > n_) return 0;
        return p_[at] | (p_[at + 1] << 8) | (p_[at + 2] << 16) |
               (static_cast<std::uint32_t>(p_[at + 3]) << 24);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::uint16_t u16(std::size_t at) const {
        if (at + 2 > n_) return 0;
        return static_cast<std::uint16_t>(p_[at] | (p_[at + 1] << 8));
    }
    std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    float f32(std::size_t at) const;
    const std::uint8_t* at(std::size_t off) const { return off <= n_ ? p_ + off : p_ + n_; }
    std::size_t size() const { return n_; }

  private:
    const std::uint8_t* p_;
    std::size_t n_;
};

// The handle table of a metafile being recorded: an object takes the lowest
// free slot when first selected and keeps it until it is deleted. Slots below
// `reservedSlots` are never handed out.
class MetafileObjectTable {
  public:
    explicit MetafileObjectTable(std::size_t reservedSlots) : used_(reservedSlots, true) {}

    // The slot of `o`, and whether it was given just now (its creation record
    // is then still to be written).
    std::pair<std::uint32_t, bool> ensure(const std::shared_ptr<Object>& o) {
        if (auto it = table_.find(o.get()); it != table_.end()) return {it->second.first, false};
        std::uint32_t index = 0;
        while (index < used_.size() && used_[index])
            ++index;
        if (index == used_.size())
            used_.push_back(true);
        else
            used_[index] = true;
        table_[o.get()] = {index, o};
        return {index, true};
    }

    // Frees the slot of `o`; nothing when it has none.
    std::optional<std::uint32_t> release(const Object* o) {
        auto it = table_.find(o);
        if (it == table_.end()) return std::nullopt;
        const std::uint32_t index = it->second.first;
        used_[index] = false;
        table_.erase(it);
        return index;
    }

    // Slots ever used, for the file header.
    std::size_t slotCount() const { return used_.size(); }

  private:
    std::map<const Object*, std::pair<std::uint32_t, std::shared_ptr<Object>>> table_;
    std::vector<bool> used_;
};

// Pixels as a bottom-up 24-bit DIB (header then rows).
std::vector<std::uint8_t> surfaceToDib24(const Surface& s);

// Plays an image record: pixels into a logical rectangle with a raster operation.
bool drawImage(DeviceContext& dst, const RECT& dest, const Surface& pixels, DWORD rop);

}  // namespace win::gdi
