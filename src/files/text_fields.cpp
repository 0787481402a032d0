#include "files/text_fields.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace files {

namespace {

std::string rightAligned(std::string text, int width) {
    if (static_cast<int>(text.size()) > width) return std::string(width, '*');
    return std::string(width - text.size(), ' ') + text;
}

// NaN and infinity in the words a Fortran run-time writes for them.
std::string nonFinite(double value, int width) {
    if (std::isnan(value)) return rightAligned("NaN", width);
    std::string sign = value < 0 ? "-" : "";
    std::string longForm = sign + "Infinity";
    if (static_cast<int>(longForm.size()) <= width) return rightAligned(longForm, width);
    return rightAligned(sign + "Inf", width);
}

std::string withoutBlanks(std::string_view field) {
    std::string s;
    for (char c : field)
        if (c != ' ') s += c;
    return s;
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string formatInteger(long long value, int width) {
    return rightAligned(std::to_string(value), width);
}

std::string formatFixed(double value, int width, int decimals) {
    if (!std::isfinite(value)) return nonFinite(value, width);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string text = buf;
    // The zero before the point is optional and goes first when room is short.
    if (static_cast<int>(text.size()) > width) {
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    }
    return rightAligned(text, width);
}

std::string formatExponent(double value, int width, int decimals) {
    if (!std::isfinite(value)) return nonFinite(value, width);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", decimals, value);
    std::string text = buf;
    // A three-digit exponent takes the place of the letter.
    auto e = text.find('E');
    if (e != std::string::npos && text.size() - e - 2 > 2) text.erase(e, 1);
    return rightAligned(text, width);
}

std::optional<int> readIntegerField(std::string_view field) {
    std::string s = withoutBlanks(field);
    if (s.empty()) return 0;
    std::size_t start = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (!allDigits(std::string_view(s).substr(start))) return std::nullopt;
    if (s.size() - start > 12) return std::nullopt;
    long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<double> readRealField(std::string_view field) {
    std::string s = withoutBlanks(field);
    if (s.empty()) return 0.0;
    std::string u = upper(s);
    std::size_t pos = (u[0] == '+' || u[0] == '-') ? 1 : 0;
    bool negative = u[0] == '-';
    std::string body = u.substr(pos);
    if (body == "NAN" || body.rfind("NAN(", 0) == 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (body == "INF" || body == "INFINITY")
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();

    std::string mantissa;
    std::size_t i = pos;
    int digits = 0;
    while (i < u.size() && std::isdigit(static_cast<unsigned char>(u[i])))
        mantissa += u[i++], ++digits;
    if (i < u.size() && u[i] == '.') {
        mantissa += u[i++];
        while (i < u.size() && std::isdigit(static_cast<unsigned char>(u[i])))
            mantissa += u[i++], ++digits;
    }
    if (digits == 0) return std::nullopt;
    std::string exponent;
    if (i < u.size()) {
        if (u[i] == 'E' || u[i] == 'D' || u[i] == 'Q')
            ++i;
        else if (u[i] != '+' && u[i] != '-')
            return std::nullopt;
        std::size_t signAt = i;
        if (i < u.size() && (u[i] == '+' || u[i] == '-')) ++i;
        if (!allDigits(std::string_view(u).substr(i))) return std::nullopt;
        exponent = "E" + u.substr(signAt);
    }
    std::string text = (negative ? "-" : "") + mantissa + exponent;
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace files
