#include "base/fortran_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/fortran_decimal.h"

namespace base {

namespace {

// A parsed format never expands past this many descriptors, so that a text
// like "(999999999(999999999I5))" fails instead of exhausting memory.
constexpr std::size_t kMaxItems = 100000;
// No width, position or count in a format exceeds this, and no record grows
// beyond kMaxRecord characters, so a hostile format cannot exhaust memory.
constexpr long long kMaxNumber = 100000;
constexpr std::size_t kMaxRecord = 1000000;

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class FormatParser {
  public:
    explicit FormatParser(std::string_view text) : s_(text) {}

    bool parse(std::vector<EditDescriptor>& out, std::size_t& reversion) {
        reversion = 0;
        if (peek() == '(') {
            ++i_;
            if (!parseList(out, 1, &reversion)) return false;
            return peek() == '\0';
        }
        return parseList(out, 0, &reversion);
    }

  private:
    // The next character that is not a blank, '\0' at the end.
    char peek() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
        return i_ < s_.size() ? s_[i_] : '\0';
    }
    char peekUpper() { return upper(peek()); }

    // An unsigned number, blanks allowed between its digits; -1 when none.
    long long number() {
        if (!isDigit(peek())) return -1;
        long long n = 0;
        while (isDigit(peek())) {
            n = n * 10 + (s_[i_++] - '0');
            if (n > kMaxNumber) return -2;  // absurd, refused by the callers
        }
        return n;
    }

    bool append(std::vector<EditDescriptor>& out, const EditDescriptor& d, long long repeat) {
        if (repeat < 1 || out.size() + static_cast<std::size_t>(repeat) > kMaxItems) return false;
        out.insert(out.end(), static_cast<std::size_t>(repeat), d);
        return true;
    }

    // Items up to the closing parenthesis of this level (depth > 0) or the end.
    bool parseList(std::vector<EditDescriptor>& out, int depth, std::size_t* reversion) {
        for (;;) {
            char c = peek();
            if (c == ',') {
                ++i_;
                continue;
            }
            if (c == '\0') return depth == 0;
            if (c == ')') {
                if (depth == 0) return false;
                ++i_;
                return true;
            }
            if (!parseItem(out, depth, reversion)) return false;
        }
    }

    bool parseItem(std::vector<EditDescriptor>& out, int depth, std::size_t* reversion) {
        char c = peek();
        if (c == '\'' || c == '"') return literal(out, c);
        bool negative = false, sign = false;
        if (c == '+' || c == '-') {
            sign = true;
            negative = c == '-';
            ++i_;
        }
        long long n = number();
        if (n == -2) return false;
        bool hasNumber = n >= 0;
        if (sign && !hasNumber) return false;
        c = peekUpper();
        if (c == 'P') {
            ++i_;
            if (!hasNumber) return false;
            EditDescriptor d;
            d.kind = EditDescriptor::Kind::Scale;
            d.scale = static_cast<int>(negative ? -n : n);
            out.push_back(d);
            return true;
        }
        if (sign) return false;
        long long repeat = hasNumber ? n : 1;
        if (c == '(') {
            ++i_;
            std::vector<EditDescriptor> group;
            std::size_t inner = 0;
            if (!parseList(group, depth + 1, &inner)) return false;
            std::size_t start = out.size();
            for (long long r = 0; r < repeat; ++r) {
                if (out.size() + group.size() > kMaxItems) return false;
                out.insert(out.end(), group.begin(), group.end());
            }
            if (repeat < 1) return false;
            if (depth <= 1) *reversion = start;
            return true;
        }
        if (c == 'X') {
            ++i_;
            EditDescriptor d;
            d.kind = EditDescriptor::Kind::X;
            d.width = static_cast<int>(repeat);
            return repeat >= 1 && append(out, d, 1);
        }
        if (c == 'H') {
            ++i_;
            if (!hasNumber || n < 1 || i_ + static_cast<std::size_t>(n) > s_.size()) return false;
            EditDescriptor d;
            d.kind = EditDescriptor::Kind::Literal;
            d.text = std::string(s_.substr(i_, static_cast<std::size_t>(n)));
            i_ += static_cast<std::size_t>(n);
            out.push_back(d);
            return true;
        }
        if (c == '/') {
            ++i_;
            EditDescriptor d;
            d.kind = EditDescriptor::Kind::Slash;
            return append(out, d, repeat);
        }
        if (c == ':' && !hasNumber) {
            ++i_;
            EditDescriptor d;
            d.kind = EditDescriptor::Kind::Colon;
            out.push_back(d);
            return true;
        }
        if (c == '\'' || c == '"') return false;  // no repeat count on texts
        ++i_;
        EditDescriptor d;
        if (!descriptor(c, d)) return false;
        if (!d.isData() && hasNumber) return false;
        return append(out, d, repeat);
    }

    bool literal(std::vector<EditDescriptor>& out, char quote) {
        ++i_;
        EditDescriptor d;
        d.kind = EditDescriptor::Kind::Literal;
        for (;;) {
            if (i_ >= s_.size()) return false;
            char c = s_[i_++];
            if (c == quote) {
                if (i_ < s_.size() && s_[i_] == quote) {
                    d.text += quote;
                    ++i_;
                    continue;
                }
                break;
            }
            d.text += c;
        }
        out.push_back(d);
        return true;
    }

    // The width, and ".d" when `needDigits` (or when present and allowed).
    bool widthAndDigits(EditDescriptor& d, bool needWidth, bool needDigits, bool allowDigits) {
        long long w = number();
        if (w == -2) return false;
        if (w < 0) {
            if (needWidth) return false;
        } else {
            if (w < 1) return false;
            d.width = static_cast<int>(w);
        }
        if (peek() == '.') {
            if (!allowDigits || w < 0) return false;
            ++i_;
            long long m = number();
            if (m < 0) return false;
            d.digits = static_cast<int>(m);
        } else if (needDigits) {
            return false;
        }
        return true;
    }

    bool exponentDigits(EditDescriptor& d) {
        if (peekUpper() != 'E') return true;
        std::size_t save = i_;
        ++i_;
        long long e = number();
        if (e < 0) {  // the letter starts the next descriptor
            i_ = save;
            return true;
        }
        if (e < 1 || e > 9) return false;
        d.exponent = static_cast<int>(e);
        return true;
    }

    bool descriptor(char c, EditDescriptor& d) {
        using K = EditDescriptor::Kind;
        switch (c) {
            case 'I':
                d.kind = K::I;
                if (!widthAndDigits(d, true, false, true)) return false;
                return d.digits <= d.width;
            case 'F':
                d.kind = K::F;
                // A bare F is written as wide as the value needs.
                if (!isDigit(peek())) return true;
                return widthAndDigits(d, true, true, true);
            case 'E':
                d.kind = K::E;
                return widthAndDigits(d, true, true, true) && exponentDigits(d);
            case 'D':
                d.kind = K::D;
                return widthAndDigits(d, true, true, true);
            case 'G':
                d.kind = K::G;
                return widthAndDigits(d, true, true, true) && exponentDigits(d);
            case 'L':
                d.kind = K::L;
                return widthAndDigits(d, true, false, false);
            case 'A':
                d.kind = K::A;
                return widthAndDigits(d, false, false, false);
            case 'T': {
                d.kind = K::T;
                char next = peekUpper();
                if (next == 'L' || next == 'R') {
                    d.kind = next == 'L' ? K::TL : K::TR;
                    ++i_;
                }
                long long n = number();
                if (n < 1) return false;
                d.width = static_cast<int>(n);
                return true;
            }
            case 'B': {
                char next = peekUpper();
                if (next != 'N' && next != 'Z') return false;
                ++i_;
                d.kind = next == 'N' ? K::BlankNull : K::BlankZero;
                return true;
            }
            case 'S': {
                char next = peekUpper();
                d.kind = K::SignDefault;
                if (next == 'P' || next == 'S') {
                    ++i_;
                    if (next == 'P') d.kind = K::SignPlus;
                }
                return true;
            }
            default:
                return false;
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

// The record being written: fields land at the current position, which the
// positioning descriptors move; a gap left behind is filled with blanks.
class RecordBuffer {
  public:
    void put(std::string_view field) {
        if (tooLong()) return;
        if (pos_ > text_.size()) text_.append(pos_ - text_.size(), ' ');
        std::size_t overlap = std::min(field.size(), text_.size() - pos_);
        text_.replace(pos_, overlap, field.substr(0, overlap));
        text_.append(field.substr(overlap));
        pos_ += field.size();
    }
    void moveTo(std::size_t pos) { pos_ = pos; }
    std::size_t position() const { return pos_; }
    bool tooLong() const { return pos_ > kMaxRecord || text_.size() > kMaxRecord; }
    std::string take() {
        std::string t = std::move(text_);
        text_.clear();
        pos_ = 0;
        return t;
    }

  private:
    std::string text_;
    std::size_t pos_ = 0;
};

std::string stars(int width) {
    return std::string(static_cast<std::size_t>(width), '*');
}

std::string rightJustify(const std::string& body, int width) {
    if (static_cast<int>(body.size()) > width) return stars(width);
    return std::string(static_cast<std::size_t>(width) - body.size(), ' ') + body;
}

std::string signText(bool negative, bool plusSign) {
    if (negative) return "-";
    return plusSign ? "+" : "";
}

std::string writeInteger(const EditDescriptor& d, long long value, bool plusSign) {
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude);
    std::string digits(buf, res.ptr);
    int minimum = d.digits < 0 ? 1 : d.digits;
    if (magnitude == 0 && minimum == 0) return std::string(static_cast<std::size_t>(d.width), ' ');
    if (static_cast<int>(digits.size()) < minimum)
        digits.insert(0, static_cast<std::size_t>(minimum) - digits.size(), '0');
    return rightJustify(signText(value < 0, plusSign) + digits, d.width);
}

// NaN and infinities, in the forms the run-time libraries use.
std::string writeSpecial(double value, int width, bool plusSign) {
    std::string body;
    if (std::isnan(value)) {
        body = "NaN";
    } else {
        std::string sign = signText(value < 0, plusSign);
        body = sign + "Infinity";
        if (static_cast<int>(body.size()) > width) body = sign + "Inf";
    }
    return rightJustify(body, width);
}

// Sign, digits before the point (may be empty), the point and the digits after
// it; the optional zero before the point is put in only when the field has room.
std::string assemble(bool negative, bool plusSign, const std::string& before,
                     const std::string& after, int width, bool zeroOptional) {
    std::string sign = signText(negative, plusSign);
    std::string body = sign + (before.empty() ? "0" : before) + "." + after;
    if (static_cast<int>(body.size()) <= width) return rightJustify(body, width);
    if (before.empty() && zeroOptional && !after.empty()) {
        body = sign + "." + after;
        if (static_cast<int>(body.size()) <= width) return rightJustify(body, width);
    }
    return stars(width);
}

std::string writeFixed(int width, int decimals, double value, int scale, bool plusSign) {
    if (!std::isfinite(value)) return writeSpecial(value, width, plusSign);
    ExactDecimal x = ExactDecimal::of(value);
    x.exponent += scale;
    x.roundTo(x.exponent + decimals);
    std::string before, after;
    for (int i = 0; i < x.exponent; ++i)
        before += x.digitAt(i);
    for (int j = 0; j < decimals; ++j)
        after += x.digitAt(x.exponent + j);
    if (x.isZero()) before.clear();
    return assemble(x.negative && !x.isZero(), plusSign, before, after, width, true);
}

// F without a width: the fixed-point text of the value to seven significant
// digits (what a single-precision value holds), trailing zeros dropped but
// one decimal kept, as wide as it needs to be.
std::string writeFree(double value, int scale, bool plusSign) {
    constexpr int kSignificant = 7;
    constexpr int kRoom = 400;
    if (!std::isfinite(value)) return writeSpecial(value, 3, plusSign);
    ExactDecimal x = ExactDecimal::of(value);
    x.exponent += scale;
    x.roundTo(kSignificant);
    int last = static_cast<int>(x.digits.size());
    while (last > 0 && x.digits[static_cast<std::size_t>(last - 1)] == '0')
        --last;
    const int decimals = std::clamp(last - x.exponent, 1, kRoom / 2);
    std::string text = writeFixed(kRoom, decimals, value, scale, plusSign);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

// The exponent part: letter, sign and two digits, or sign and three digits
// without the letter beyond 99; with Ee the letter, sign and e digits.
std::optional<std::string> exponentText(int exponent, char letter, int digits) {
    int magnitude = std::abs(exponent);
    std::string sign = exponent < 0 ? "-" : "+";
    std::string n = std::to_string(magnitude);
    if (digits > 0) {
        if (static_cast<int>(n.size()) > digits) return std::nullopt;
        return std::string(1, 'E') + sign + std::string(digits - n.size(), '0') + n;
    }
    if (magnitude <= 99) return std::string(1, letter) + sign + std::string(2 - n.size(), '0') + n;
    if (magnitude <= 999) return sign + n;
    return std::nullopt;
}

std::optional<std::string> writeExponent(const EditDescriptor& d, double value, int scale,
                                         bool plusSign, char letter) {
    int width = d.width, decimals = d.digits;
    if (scale <= 0 ? (scale <= -decimals) : (scale >= decimals + 2)) return std::nullopt;
    if (!std::isfinite(value)) return writeSpecial(value, width, plusSign);
    ExactDecimal x = ExactDecimal::of(value);
    int significant = scale > 0 ? decimals + 1 : decimals + scale;
    x.roundTo(significant);
    int exponent = x.isZero() ? 0 : x.exponent - scale;
    std::string before, after;
    if (scale > 0) {
        for (int i = 0; i < scale; ++i)
            before += x.digitAt(i);
        if (x.isZero()) before = "0";
        for (int i = scale; i < significant; ++i)
            after += x.digitAt(i);
    } else {
        after.assign(static_cast<std::size_t>(-scale), '0');
        for (int i = 0; i < significant; ++i)
            after += x.digitAt(i);
    }
    std::optional<std::string> exp = exponentText(exponent, letter, d.exponent);
    if (!exp) return stars(width);
    int mantissaWidth = width - static_cast<int>(exp->size());
    if (mantissaWidth < 1) return stars(width);
    std::string mantissa =
        assemble(x.negative && !x.isZero(), plusSign, before, after, mantissaWidth, scale <= 0);
    if (mantissa.find('*') != std::string::npos) return stars(width);
    return mantissa + *exp;
}

std::optional<std::string> writeGeneral(const EditDescriptor& d, double value, int scale,
                                        bool plusSign) {
    int trailing = d.exponent > 0 ? d.exponent + 2 : 4;
    int decimals = d.digits;
    if (std::isfinite(value) && decimals > 0) {
        ExactDecimal x = ExactDecimal::of(value);
        int before = -1;  // digits before the point once rounded; -1 = exponent form
        if (x.isZero()) {
            before = 1;
        } else {
            x.roundTo(decimals);
            if (x.exponent >= 0 && x.exponent <= decimals) before = x.exponent;
        }
        if (before >= 0) {
            int fixedWidth = d.width - trailing;
            if (fixedWidth < 1) return stars(d.width);
            std::string f = writeFixed(fixedWidth, decimals - before, value, 0, plusSign);
            if (f.find('*') != std::string::npos) return stars(d.width);
            return f + std::string(static_cast<std::size_t>(trailing), ' ');
        }
    }
    if (!std::isfinite(value)) return writeSpecial(value, d.width, plusSign);
    return writeExponent(d, value, scale, plusSign, 'E');
}

std::string writeText(const EditDescriptor& d, std::string_view text) {
    if (d.width < 0) return std::string(text);
    std::size_t w = static_cast<std::size_t>(d.width);
    if (text.size() >= w) return std::string(text.substr(0, w));
    return std::string(w - text.size(), ' ') + std::string(text);
}

}  // namespace

std::optional<std::string> writeField(const EditDescriptor& d, const FormatValue& value, int scale,
                                      bool plusSign) {
    using K = EditDescriptor::Kind;
    using V = FormatValue::Kind;
    switch (d.kind) {
        case K::I:
            if (value.kind() != V::Integer) return std::nullopt;
            return writeInteger(d, value.integer(), plusSign);
        case K::F:
            if (value.kind() != V::Real) return std::nullopt;
            if (d.width < 0) return writeFree(value.real(), scale, plusSign);
            return writeFixed(d.width, d.digits, value.real(), scale, plusSign);
        case K::E:
        case K::D:
            if (value.kind() != V::Real) return std::nullopt;
            return writeExponent(d, value.real(), scale, plusSign, d.kind == K::E ? 'E' : 'D');
        case K::G:
            if (value.kind() != V::Real) return std::nullopt;
            return writeGeneral(d, value.real(), scale, plusSign);
        case K::L:
            if (value.kind() != V::Logical) return std::nullopt;
            return rightJustify(value.logical() ? "T" : "F", d.width);
        case K::A:
            if (value.kind() != V::Text) return std::nullopt;
            return writeText(d, value.text());
        default:
            return std::nullopt;
    }
}

std::optional<FortranFormat> FortranFormat::parse(std::string_view format) {
    FortranFormat f;
    FormatParser parser(format);
    if (!parser.parse(f.items_, f.reversion_)) return std::nullopt;
    bool tailHasData = false;
    for (std::size_t i = 0; i < f.items_.size(); ++i) {
        if (!f.items_[i].isData()) continue;
        f.hasData_ = true;
        if (i >= f.reversion_) tailHasData = true;
    }
    if (!tailHasData) f.reversion_ = 0;
    return f;
}

std::optional<std::string> FortranFormat::write(std::span<const FormatValue> values) const {
    using K = EditDescriptor::Kind;
    if (!values.empty() && !hasData_) return std::nullopt;
    RecordBuffer record;
    std::string out;
    std::size_t next = 0;
    int scale = 0;
    bool plusSign = false;
    std::size_t i = 0;
    for (;;) {
        if (i == items_.size()) {
            if (next >= values.size()) break;
            out += record.take() + '\n';
            i = reversion_;
            continue;
        }
        if (record.tooLong() || out.size() > kMaxRecord) return std::nullopt;
        const EditDescriptor& d = items_[i++];
        if (d.isData()) {
            if (next >= values.size()) break;
            std::optional<std::string> field = writeField(d, values[next++], scale, plusSign);
            if (!field) return std::nullopt;
            record.put(*field);
            continue;
        }
        switch (d.kind) {
            case K::X:
            case K::TR:
                record.moveTo(record.position() + static_cast<std::size_t>(d.width));
                break;
            case K::TL: {
                std::size_t back = static_cast<std::size_t>(d.width);
                record.moveTo(record.position() > back ? record.position() - back : 0);
                break;
            }
            case K::T:
                record.moveTo(static_cast<std::size_t>(d.width) - 1);
                break;
            case K::Literal:
                record.put(d.text);
                break;
            case K::Slash:
                out += record.take() + '\n';
                break;
            case K::Colon:
                if (next >= values.size()) {
                    out += record.take();
                    return out;
                }
                break;
            case K::Scale:
                scale = d.scale;
                break;
            case K::SignPlus:
                plusSign = true;
                break;
            case K::SignDefault:
                plusSign = false;
                break;
            default:
                break;
        }
    }
    if (record.tooLong()) return std::nullopt;
    out += record.take();
    return out;
}

std::optional<std::string> writeFormatted(std::string_view format,
                                          std::span<const FormatValue> values) {
    std::optional<FortranFormat> f = FortranFormat::parse(format);
    if (!f) return std::nullopt;
    return f->write(values);
}

std::optional<std::string> formatInteger(long long value, std::string_view format) {
    return writeFormatted(format, {FormatValue(value)});
}

std::optional<std::string> formatReal(double value, std::string_view format) {
    return writeFormatted(format, {FormatValue(value)});
}

}  // namespace base
