#include "util/text_edit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "util/text_search.h"
#include "util/text_span.h"

namespace util {

namespace {
std::string_view viewOf(std::span<char> s) {
    return std::string_view(s.data(), s.size());
}
bool allBlank(std::span<const char> s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}
}  // namespace

void COPSTR(std::span<char> dst, std::string_view src, int n) {
    n = usable(usable(n, dst.size()), src.size());
    for (int i = 0; i < n; ++i)
        dst[i] = src[i];
}

void COPCHR(std::span<char> str, int n, char ch) {
    n = usable(n, str.size());
    std::fill_n(str.begin(), n, ch);
}

void SHFSTR(std::span<char> str, int n, int k) {
    n = usable(n, str.size());
    const std::int64_t shift = k;
    const std::int64_t size = std::abs(shift);
    if (shift == 0 || size >= n) return;
    const int by = static_cast<int>(size);
    auto field = str.first(static_cast<std::size_t>(n));
    if (shift > 0) {
        std::copy_backward(field.begin(), field.end() - by, field.end());
        std::fill_n(field.begin(), by, ' ');
    } else {
        std::copy(field.begin() + by, field.end(), field.begin());
        std::fill(field.end() - by, field.end(), ' ');
    }
}

void RPLCHR(std::span<char> str, int n, char a, char b) {
    n = usable(n, str.size());
    std::replace(str.begin(), str.begin() + n, a, b);
}

void NTRAIL(std::span<char> str, int& n, char ch) {
    const int count = usable(n, str.size());
    if (count == 0 || str[count - 1] != ch) return;
    int last = count;
    while (last > 0 && str[last - 1] == ch)
        --last;
    std::fill(str.begin() + last, str.begin() + count, ' ');
    n = last;
}

void INTNUMONLY(std::span<char> str, int n) {
    n = usable(n, str.size());
    // A removed character is replaced by what follows it, which is examined
    // in its turn, so that no run of non-digits survives; the last position
    // has nothing to shift in and is simply blanked.
    int i = 1;
    while (i <= n) {
        char c = str[i - 1];
        if (c == ' ' || isDigit(c)) {
            ++i;
            continue;
        }
        int rest = n - i + 1;
        if (rest > 1)
            SHFSTR(str.subspan(static_cast<std::size_t>(i - 1)), rest, -1);
        else
            str[i - 1] = ' ';
    }
}

void NODOUBLEBLANK(std::span<char> str) {
    const int last = INDSTR(viewOf(str), static_cast<int>(str.size()));
    std::size_t out = 0;
    for (int i = 0; i < last; ++i) {
        if (str[i] == ' ' && out > 0 && str[out - 1] == ' ') continue;
        str[out++] = str[i];
    }
    std::fill(str.begin() + static_cast<std::ptrdiff_t>(out), str.end(), ' ');
}

void ADDWRD(std::span<char> dest, int ndest, int& ipos, std::string_view word, int nword) {
    if (ipos < 1) return;
    ndest = usable(ndest, dest.size());
    const int length = INDSTR(word, nword);
    // A word that would reach the last position of DEST is cut one short of it.
    const std::int64_t copied = ndest < static_cast<std::int64_t>(length) + ipos
                                    ? static_cast<std::int64_t>(ndest) - ipos
                                    : length;
    if (copied <= 0) return;
    std::copy_n(word.begin(), copied, dest.begin() + (ipos - 1));
    ipos += static_cast<int>(copied) + 1;
}

void NXTWRD(std::string_view str, int n, int& ipos, std::span<char> word, int m) {
    m = usable(m, word.size());
    std::fill_n(word.begin(), m, ' ');
    n = usable(n, str.size());
    if (ipos <= 0 || n <= 0 || n < ipos) return;
    const int first = IBGSTR(str.substr(static_cast<std::size_t>(ipos - 1)), n - ipos + 1);
    if (first == 0) return;
    const int s = ipos + first - 1;
    const auto rest = str.substr(static_cast<std::size_t>(s - 1));
    int p = IFNDPT(rest, n - s + 1, " ", 1);
    if (p == 0) p = n - s + 1;
    ipos = s + p;
    std::copy_n(rest.begin(), std::min(p, m), word.begin());
}

int IRPLPT(std::span<char> str, int n, std::string_view old, int nold, std::string_view neu,
           int nnew) {
    n = usable(n, str.size());
    nold = usable(nold, old.size());
    nnew = usable(nnew, neu.size());
    if (n == 0 || nold == 0) return 0;
    int count = 0;
    int pos = 1;
    while (pos <= n) {
        const int found =
            IFNDPT(std::string_view(str.data() + pos - 1, static_cast<std::size_t>(n - pos + 1)),
                   n - pos + 1, old, nold);
        if (found == 0) break;
        ++count;
        pos += found - 1;
        const int rest = n - pos + 1;
        auto tail = str.subspan(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(rest));
        const int diff = nnew - nold;
        // A shift by the whole rest or more cannot be made; the rest is
        // then blanked instead of keeping the text that was to be replaced.
        if (diff != 0) {
            if (std::abs(diff) >= rest)
                std::fill(tail.begin(), tail.end(), ' ');
            else
                SHFSTR(tail, rest, diff);
        }
        const int copied = std::min(nnew, rest);
        std::copy_n(neu.begin(), copied, tail.begin());
        pos += copied;
        // With nothing inserted the search resumes where it was; once only
        // blanks are left there, it has nothing more to replace (a blank
        // pattern would otherwise match the padding for ever).
        if (copied == 0 && allBlank(tail)) break;
    }
    return count;
}

void RPL_PAT(std::span<char> str, int n, std::string_view old, int nold, std::string_view neu,
             int nnew) {
    (void)IRPLPT(str, n, old, nold, neu, nnew);
}

}  // namespace util
