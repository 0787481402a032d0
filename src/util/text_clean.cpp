#include "util/text_clean.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "util/text_search.h"
#include "util/text_span.h"

namespace util {

void LCTOUC(std::span<char> str, int n) {
    n = usable(n, str.size());
    for (int i = 0; i < n; ++i)
        str[i] = toUpper(str[i]);
}

void UCTOLC(std::span<char> str, int i1, int i2) {
    i1 = std::max(i1, 1);
    i2 = usable(i2, str.size());
    for (int i = i1; i <= i2; ++i)
        str[i - 1] = toLower(str[i - 1]);
}

void UNQ10(std::span<base::FixedString<10>> names, int n) {
    n = usable(n, names.size());
    // A name shortened earlier in the pass still compares as it was, since
    // IDNTCL takes its second text in upper case.
    for (int i = 0; i < n; ++i) {
        int longest = 0;
        for (int j = 0; j < n; ++j)
            if (j != i) longest = std::max(longest, IDNTCL(names[i].view(), names[j].view(), 10));
        const int keep = longest + 1;
        if (keep < 10) UCTOLC(chars(names[i]), keep + 1, 10);
    }
}

namespace {
bool printable(std::uint8_t b) {
    return (b >= 32 && b <= 126) || (b >= 0x80 && b <= 0xA8) || (b >= 0xE0 && b <= 0xFC);
}
}  // namespace

int NCHRCK(std::span<char> str, int n) {
    n = usable(n, str.size());
    int replaced = 0;
    for (int i = 0; i < n; ++i) {
        if (!printable(static_cast<std::uint8_t>(str[i]))) {
            str[i] = ' ';
            ++replaced;
        }
    }
    return replaced;
}

void CHR_CHK(std::span<char> str, int n) {
    (void)NCHRCK(str, n);
}

void VALIDATEFILENAME(std::span<char> str, int n, char ch) {
    constexpr std::string_view forbidden = "<>\\/:\"*?|";
    n = usable(n, str.size());
    for (int i = 0; i < n; ++i) {
        const auto b = static_cast<std::uint8_t>(str[i]);
        if (b < 32 || forbidden.find(str[i]) != std::string_view::npos) str[i] = ch;
    }
}

namespace {
std::array<char, 256> ebcdicTable() {
    std::array<char, 256> t;
    t.fill(' ');
    auto run = [&t](int from, int to, char first) {
        for (int b = from; b <= to; ++b)
            t[b] = static_cast<char>(first + (b - from));
    };
    run(0xC1, 0xC9, 'A');
    run(0xD1, 0xD9, 'J');
    run(0xE2, 0xE9, 'S');
    run(0x81, 0x89, 'a');
    run(0x91, 0x99, 'j');
    run(0xA2, 0xA9, 's');
    run(0xF0, 0xF9, '0');
    const std::pair<int, char> single[] = {
        {0x40, ' '},  {0x4A, '['}, {0x4B, '.'}, {0x4C, '<'}, {0x4D, '('},  {0x4E, '+'}, {0x4F, '!'},
        {0x5A, ']'},  {0x5B, '$'}, {0x5C, '*'}, {0x5D, ')'}, {0x5E, ';'},  {0x5F, '^'}, {0x60, '-'},
        {0x61, '/'},  {0x6A, '|'}, {0x6B, ','}, {0x6D, '%'}, {0x6E, '_'},  {0x6F, '>'}, {0x70, '?'},
        {0x79, '\''}, {0x7A, ':'}, {0x7B, '#'}, {0x7C, '@'}, {0x7D, '\''}, {0x7E, '='}, {0x7F, '"'},
        {0xC0, '{'},  {0xD0, '}'}, {0xE0, '\\'}};
    for (auto [b, c] : single)
        t[b] = c;
    return t;
}
}  // namespace

void ECD2ASC(std::span<char> str, int n) {
    static const std::array<char, 256> table = ebcdicTable();
    n = usable(n, str.size());
    for (int i = 0; i < n; ++i)
        str[i] = table[static_cast<std::uint8_t>(str[i])];
}

}  // namespace util
