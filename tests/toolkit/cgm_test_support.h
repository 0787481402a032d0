#pragma once
// A small reader of binary CGM element streams for the tests: every header,
// long-form partition and length is checked against the bytes present.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

struct DecodedElement {
    int cls = 0, id = 0;
    std::string params;
    int partitions = 0;
    int word(std::size_t k) const {
        return (static_cast<std::uint8_t>(params[2 * k]) << 8) |
               static_cast<std::uint8_t>(params[2 * k + 1]);
    }
};

// Walks the element stream; every length is checked against the bytes left.
inline std::vector<DecodedElement> decodeCgm(const std::string& bytes) {
    std::vector<DecodedElement> out;
    std::size_t pos = 0;
    auto word = [&](std::size_t at) {
        return (static_cast<std::uint8_t>(bytes.at(at)) << 8) |
               static_cast<std::uint8_t>(bytes.at(at + 1));
    };
    while (pos < bytes.size()) {
        EXPECT_EQ(pos % 2, 0u) << "element at an odd position";
        const int head = word(pos);
        pos += 2;
        DecodedElement e{head >> 12, (head >> 5) & 0x7F, {}, 0};
        int length = head & 31;
        bool more = false;
        if (length == 31) {
            do {
                const int pw = word(pos);
                pos += 2;
                more = (pw & 0x8000) != 0;
                const std::size_t n = static_cast<std::size_t>(pw & 0x7FFF);
                if (pos + n > bytes.size()) throw std::runtime_error("partition overruns");
                e.params.append(bytes, pos, n);
                pos += n;
                ++e.partitions;
            } while (more);
        } else {
            if (pos + static_cast<std::size_t>(length) > bytes.size())
                throw std::runtime_error("overrun");
            e.params.assign(bytes, pos, static_cast<std::size_t>(length));
            pos += static_cast<std::size_t>(length);
            e.partitions = 1;
        }
        if (pos % 2 != 0) ++pos;
        out.push_back(e);
    }
    return out;
}

inline std::vector<const DecodedElement*> find(const std::vector<DecodedElement>& es, int cls,
                                               int id) {
    std::vector<const DecodedElement*> r;
    for (const auto& e : es)
        if (e.cls == cls && e.id == id) r.push_back(&e);
    return r;
}

inline std::string hex(std::string_view s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

}  // namespace tk
