#include "base/fortran_read.h"

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "base/fortran_decimal.h"

namespace base {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

// The field as the number parser sees it: without blanks (BN), or with every
// blank after the first non-blank read as a zero (BZ).
std::string squeeze(std::string_view field, BlankMode blanks) {
    std::string out;
    bool started = false;
    for (char c : field) {
        if (c == ' ' || c == '\t') {
            if (blanks == BlankMode::Zero && started) out += '0';
            continue;
        }
        started = true;
        out += c;
    }
    return out;
}

// The parts of a number text: sign, all mantissa digits and the power of ten
// that applies to them taken as an integer.
struct NumberText {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
    bool special = false;  // NaN or infinity
    double specialValue = 0.0;
};

bool readSign(std::string_view t, std::size_t& i, bool& negative) {
    negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
        return true;
    }
    return false;
}

// Digits into a saturating exponent value; false when there are none.
bool readExponentDigits(std::string_view t, std::size_t& i, long long& value) {
    std::size_t start = i;
    value = 0;
    while (i < t.size() && isDigit(t[i])) {
        if (value < 1000000000LL) value = value * 10 + (t[i] - '0');
        ++i;
    }
    return i > start;
}

bool readSpecial(std::string_view t, NumberText& n) {
    std::size_t i = 0;
    bool negative = false;
    readSign(t, i, negative);
    std::string_view rest = t.substr(i);
    if (equalsNoCase(rest, "NAN") && i == 0) {
        n.special = true;
        n.specialValue = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (equalsNoCase(rest, "INF") || equalsNoCase(rest, "INFINITY")) {
        n.special = true;
        n.specialValue = negative ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
        return true;
    }
    return false;
}

// Parses a squeezed real text; `decimals` are implied when there is no point.
std::optional<NumberText> parseReal(std::string_view t, int decimals, int scale) {
    NumberText n;
    if (t.empty()) return n;
    if (readSpecial(t, n)) return n;
    std::size_t i = 0;
    readSign(t, i, n.negative);
    std::size_t before = 0, after = 0;
    while (i < t.size() && isDigit(t[i])) {
        n.digits += t[i++];
        ++before;
    }
    bool point = i < t.size() && t[i] == '.';
    if (point) {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            n.digits += t[i++];
            ++after;
        }
    }
    if (before + after == 0) return std::nullopt;
    bool hasExponent = false;
    long long exponent = 0;
    if (i < t.size()) {
        char c = upper(t[i]);
        if (c == 'E' || c == 'D' || c == 'Q')
            ++i;
        else if (c != '+' && c != '-')
            return std::nullopt;
        bool negativeExponent = false;
        readSign(t, i, negativeExponent);
        if (!readExponentDigits(t, i, exponent) || i != t.size()) return std::nullopt;
        if (negativeExponent) exponent = -exponent;
        hasExponent = true;
    }
    n.exponent =
        exponent - static_cast<long long>(point ? after : static_cast<std::size_t>(decimals));
    if (!hasExponent) n.exponent -= scale;
    return n;
}

template <typename T>
std::optional<T> toValue(const std::optional<NumberText>& n) {
    if (!n) return std::nullopt;
    if (n->special) return static_cast<T>(n->specialValue);
    if constexpr (std::is_same_v<T, float>) {
        return decimalToFloat(n->negative, n->digits, n->exponent);
    } else {
        return decimalToDouble(n->negative, n->digits, n->exponent);
    }
}

std::optional<long long> parseInteger(std::string_view t) {
    if (t.empty()) return 0LL;
    std::size_t i = 0;
    bool negative = false;
    readSign(t, i, negative);
    if (i == t.size()) return std::nullopt;
    unsigned long long magnitude = 0;
    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(LLONG_MAX) + 1ULL : LLONG_MAX;
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i])) return std::nullopt;
        unsigned long long digit = static_cast<unsigned long long>(t[i] - '0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (negative) return magnitude == 0 ? 0LL : -static_cast<long long>(magnitude - 1) - 1;
    return static_cast<long long>(magnitude);
}

std::optional<bool> parseLogical(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    if (i < t.size() && t[i] == '.') ++i;
    if (i >= t.size()) return std::nullopt;
    char c = upper(t[i]);
    if (c == 'T') return true;
    if (c == 'F') return false;
    return std::nullopt;
}

}  // namespace

std::optional<double> readRealField(std::string_view field, int decimals, BlankMode blanks,
                                    int scale) {
    return toValue<double>(parseReal(squeeze(field, blanks), decimals, scale));
}

std::optional<float> readRealFieldSingle(std::string_view field, int decimals, BlankMode blanks,
                                         int scale) {
    return toValue<float>(parseReal(squeeze(field, blanks), decimals, scale));
}

std::optional<long long> readIntegerField(std::string_view field, BlankMode blanks) {
    return parseInteger(squeeze(field, blanks));
}

std::optional<bool> readLogicalField(std::string_view field) {
    return parseLogical(field);
}

std::optional<double> readRealWord(std::string_view word) {
    if (word.empty()) return std::nullopt;
    return toValue<double>(parseReal(word, 0, 0));
}

std::optional<float> readRealWordSingle(std::string_view word) {
    if (word.empty()) return std::nullopt;
    return toValue<float>(parseReal(word, 0, 0));
}

std::optional<long long> readIntegerWord(std::string_view word) {
    if (word.empty()) return std::nullopt;
    return parseInteger(word);
}

std::optional<bool> readLogicalWord(std::string_view word) {
    return parseLogical(word);
}

// ---- list-directed records ----

ListReader::Status ListReader::next(std::string& word) {
    if (repeatLeft_ > 0) {
        --repeatLeft_;
        if (repeatNull_) return Status::Null;
        word = repeatWord_;
        return Status::Value;
    }
    if (ended_) return Status::End;
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
    if (pos_ >= text_.size() || text_[pos_] == '/') {
        ended_ = true;
        return Status::End;
    }
    if (text_[pos_] == ',') {  // a comma with no value before it
        ++pos_;
        return Status::Null;
    }
    std::string token;
    bool quoted = false;
    if (text_[pos_] == '\'' || text_[pos_] == '"') {
        char quote = text_[pos_++];
        quoted = true;
        for (;;) {
            if (pos_ >= text_.size()) return Status::Error;
            char c = text_[pos_++];
            if (c == quote) {
                if (pos_ < text_.size() && text_[pos_] == quote) {
                    token += quote;
                    ++pos_;
                    continue;
                }
                break;
            }
            token += c;
        }
    } else {
        while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != ',' &&
               text_[pos_] != '/')
            token += text_[pos_++];
    }
    // The separator after a value belongs to it: blanks and at most one comma.
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;

    std::size_t star = quoted ? std::string::npos : token.find('*');
    if (star != std::string::npos && star > 0) {
        std::optional<long long> count = parseInteger(token.substr(0, star));
        bool allDigits = token.find_first_not_of("0123456789") == star;
        if (allDigits && count && *count >= 1 && *count <= INT_MAX) {
            repeatNull_ = star + 1 == token.size();
            repeatWord_ = token.substr(star + 1);
            if (!repeatNull_ && (repeatWord_[0] == '\'' || repeatWord_[0] == '"')) {
                // r*'text': the quoted form after the star.
                std::string inner;
                char quote = repeatWord_[0];
                std::size_t end = repeatWord_.find(quote, 1);
                if (end == std::string::npos) return Status::Error;
                inner = repeatWord_.substr(1, end - 1);
                repeatWord_ = inner;
            }
            repeatLeft_ = static_cast<int>(*count);
            return next(word);
        }
    }
    word = token;
    return Status::Value;
}

template <typename T, typename Convert>
ListReader::Status ListReader::readWith(T& value, Convert convert) {
    std::string word;
    Status s = next(word);
    if (s != Status::Value) return s;
    auto v = convert(word);
    if (!v) return Status::Error;
    value = static_cast<T>(*v);
    return Status::Value;
}

ListReader::Status ListReader::read(double& value) {
    return readWith(value, readRealWord);
}
ListReader::Status ListReader::read(float& value) {
    return readWith(value, readRealWordSingle);
}
ListReader::Status ListReader::read(long long& value) {
    return readWith(value, readIntegerWord);
}
ListReader::Status ListReader::read(int& value) {
    return readWith(value, [](std::string_view w) -> std::optional<long long> {
        std::optional<long long> v = readIntegerWord(w);
        if (v && (*v < INT_MIN || *v > INT_MAX)) return std::nullopt;
        return v;
    });
}
ListReader::Status ListReader::read(bool& value) {
    return readWith(value, readLogicalWord);
}
ListReader::Status ListReader::read(std::string& value) {
    return next(value);
}

// ---- formatted records ----

namespace {

class RecordCursor {
  public:
    explicit RecordCursor(std::string_view text) {
        std::size_t start = 0;
        for (;;) {
            std::size_t end = text.find('\n', start);
            std::string_view line = text.substr(
                start, end == std::string_view::npos ? std::string_view::npos : end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
    }
    // The next `width` characters, blank-padded past the end of the line.
    std::string field(std::size_t width) {
        std::string f;
        std::string_view line = lines_[line_];
        if (pos_ < line.size()) f = std::string(line.substr(pos_, width));
        f.resize(width, ' ');
        pos_ += width;
        return f;
    }
    std::string rest() {
        std::string_view line = lines_[line_];
        std::string f = pos_ < line.size() ? std::string(line.substr(pos_)) : std::string();
        pos_ = std::max(pos_, line.size());
        return f;
    }
    bool nextLine() {
        if (line_ + 1 >= lines_.size()) return false;
        ++line_;
        pos_ = 0;
        return true;
    }
    std::size_t& position() { return pos_; }

  private:
    std::vector<std::string_view> lines_;
    std::size_t line_ = 0;
    std::size_t pos_ = 0;
};

bool readOne(const EditDescriptor& d, const ReadTarget& target, RecordCursor& cursor,
             BlankMode blanks, int scale) {
    using K = EditDescriptor::Kind;
    using T = ReadTarget::Kind;
    if (d.kind == K::A) {
        if (target.kind() != T::Text) return false;
        *target.as<std::string>() =
            d.width < 0 ? cursor.rest() : cursor.field(static_cast<std::size_t>(d.width));
        return true;
    }
    std::string field = cursor.field(static_cast<std::size_t>(d.width));
    switch (d.kind) {
        case K::I: {
            std::optional<long long> v = readIntegerField(field, blanks);
            if (!v) return false;
            if (target.kind() == T::Long) {
                *target.as<long long>() = *v;
                return true;
            }
            if (target.kind() != T::Int || *v < INT_MIN || *v > INT_MAX) return false;
            *target.as<int>() = static_cast<int>(*v);
            return true;
        }
        case K::F:
        case K::E:
        case K::D:
        case K::G: {
            if (target.kind() == T::Float) {
                std::optional<float> v = readRealFieldSingle(field, d.digits, blanks, scale);
                if (!v) return false;
                *target.as<float>() = *v;
                return true;
            }
            if (target.kind() != T::Double) return false;
            std::optional<double> v = readRealField(field, d.digits, blanks, scale);
            if (!v) return false;
            *target.as<double>() = *v;
            return true;
        }
        case K::L: {
            if (target.kind() != T::Logical) return false;
            std::optional<bool> v = readLogicalField(field);
            if (!v) return false;
            *target.as<bool>() = *v;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool readFormatted(std::string_view records, const FortranFormat& format,
                   std::span<const ReadTarget> targets) {
    using K = EditDescriptor::Kind;
    const std::vector<EditDescriptor>& items = format.items();
    if (!targets.empty() && !format.hasData()) return false;
    RecordCursor cursor(records);
    BlankMode blanks = BlankMode::Null;
    int scale = 0;
    std::size_t next = 0;
    std::size_t i = 0;
    for (;;) {
        if (i == items.size()) {
            if (next >= targets.size()) return true;
            if (!cursor.nextLine()) return false;
            i = format.reversionPoint();
            continue;
        }
        const EditDescriptor& d = items[i++];
        if (d.isData()) {
            if (next >= targets.size()) return true;
            if (!readOne(d, targets[next++], cursor, blanks, scale)) return false;
            continue;
        }
        std::size_t& pos = cursor.position();
        switch (d.kind) {
            case K::X:
            case K::TR:
                pos += static_cast<std::size_t>(d.width);
                break;
            case K::TL:
                pos = pos > static_cast<std::size_t>(d.width)
                          ? pos - static_cast<std::size_t>(d.width)
                          : 0;
                break;
            case K::T:
                pos = static_cast<std::size_t>(d.width) - 1;
                break;
            case K::Slash:
                if (!cursor.nextLine()) return false;
                break;
            case K::Colon:
                if (next >= targets.size()) return true;
                break;
            case K::Scale:
                scale = d.scale;
                break;
            case K::BlankNull:
                blanks = BlankMode::Null;
                break;
            case K::BlankZero:
                blanks = BlankMode::Zero;
                break;
            case K::Literal:
                return false;
            default:
                break;
        }
    }
}

bool readFormatted(std::string_view records, std::string_view format,
                   std::span<const ReadTarget> targets) {
    std::optional<FortranFormat> f = FortranFormat::parse(format);
    return f && readFormatted(records, *f, targets);
}

}  // namespace base
