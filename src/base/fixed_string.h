#pragma once
// Blank-padded 8-bit text of a fixed length, the way every name, label and
// file name is stored in records and files. The "length" of such a text is the
// position of its last non-blank character; trailing blanks carry no meaning.

#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

template <std::size_t N>
class FixedString {
  public:
    static constexpr std::size_t capacity = N;

    FixedString() { chars_.fill(' '); }
    FixedString(std::string_view text) { assign(text); }  // NOLINT: implicit by design
    FixedString(const char* text) : FixedString(std::string_view(text)) {}

    // Cuts text longer than N; pads shorter text with blanks.
    void assign(std::string_view text) {
        chars_.fill(' ');
        std::copy_n(text.begin(), std::min(text.size(), N), chars_.begin());
    }
    FixedString& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    // Position of the last non-blank character (0 for a blank text).
    // With nulBlank a NUL counts as blank too.
    std::size_t length(bool nulBlank = false) const {
        std::size_t n = N;
        while (n > 0 && (chars_[n - 1] == ' ' || (nulBlank && chars_[n - 1] == '\0')))
            --n;
        return n;
    }
    bool blank() const { return length() == 0; }

    // The text up to its last non-blank character.
    std::string str() const { return std::string(chars_.data(), length()); }
    std::string_view trimmed() const { return std::string_view(chars_.data(), length()); }
    // All N characters, padding included.
    std::string_view view() const { return std::string_view(chars_.data(), N); }

    char* data() { return chars_.data(); }
    const char* data() const { return chars_.data(); }
    static constexpr std::size_t size() { return N; }

    // One-based character access, as positions are counted everywhere else.
    char& at1(std::size_t pos) { return chars_.at(pos - 1); }
    char at1(std::size_t pos) const { return chars_.at(pos - 1); }
    char& operator[](std::size_t i) { return chars_[i]; }
    char operator[](std::size_t i) const { return chars_[i]; }

    // Blank-padded comparison: "AB" equals "AB   " whatever the lengths.
    template <std::size_t M>
    bool operator==(const FixedString<M>& other) const {
        return trimmed() == other.trimmed();
    }
    bool operator==(std::string_view other) const { return trimmed() == trimTrailing(other); }
    template <std::size_t M>
    std::strong_ordering operator<=>(const FixedString<M>& other) const {
        return trimmed().compare(other.trimmed()) <=> 0;
    }

  private:
    static std::string_view trimTrailing(std::string_view s) {
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        return s;
    }
    std::array<char, N> chars_;
};

}  // namespace base
