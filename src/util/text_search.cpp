#include "util/text_search.h"

#include "base/fixed_string.h"
#include "util/text_edit.h"
#include "util/text_span.h"

namespace util {

int IFNDPT(std::string_view str, int n, std::string_view pat, int m) {
    n = usable(n, str.size());
    m = usable(m, pat.size());
    if (n == 0 || m == 0 || m > n) return 0;
    auto at =
        str.substr(0, static_cast<std::size_t>(n)).find(pat.substr(0, static_cast<std::size_t>(m)));
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

int INDSTR(std::string_view str, int n) {
    for (int i = usable(n, str.size()); i >= 1; --i)
        if (str[i - 1] != ' ') return i;
    return 0;
}

int IBGSTR(std::string_view str, int n) {
    n = usable(n, str.size());
    for (int i = 1; i <= n; ++i)
        if (str[i - 1] != ' ') return i;
    return 0;
}

int IWDSTR(std::string_view str, int n, char ch) {
    for (int i = usable(n, str.size()); i >= 1; --i)
        if (str[i - 1] == ch) return i;
    return 0;
}

int KNTCHR(std::string_view str, int n, char ch) {
    n = usable(n, str.size());
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += str[i] == ch ? 1 : 0;
    return count;
}

int IFIRSTINT(std::string_view str, int n) {
    n = usable(n, str.size());
    for (int i = 1; i <= n; ++i)
        if (isDigit(str[i - 1])) return i;
    return 0;
}

int ILASTINT(std::string_view str, int n, int i1) {
    n = usable(n, str.size());
    if (i1 < 1 || i1 > n || !isDigit(str[i1 - 1])) return 0;
    int last = i1;
    while (last < n && isDigit(str[last]))
        ++last;
    return last;
}

int IDNTCL(std::string_view a, std::string_view b, int n) {
    n = usable(usable(n, a.size()), b.size());
    int i = 0;
    while (i < n && a[i] == toUpper(b[i]))
        ++i;
    return i;
}

bool LCUQEQ(std::string_view a, std::string_view b, int n) {
    n = usable(usable(n, a.size()), b.size());
    for (int i = 0; i < n; ++i) {
        if (isLower(b[i])) {
            if (a[i] == ' ') return true;
            if (toLower(a[i]) != b[i]) return false;
        } else if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

int NWORDS(std::string_view str, int n) {
    base::FixedString<10> word;
    int ipos = 1;
    int count = 0;
    for (;;) {
        NXTWRD(str, n, ipos, chars(word), 10);
        if (word.blank()) return count;
        ++count;
    }
}

}  // namespace util
