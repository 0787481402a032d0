#include "views/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "util/plotter_text.h"

namespace views {

void R2SCI(float& x, bool& neg, float& mant, int& iexp) {
    neg = false;
    if (x < 0.0f) {
        neg = true;
        x = std::fabs(x);
    }
    if (!(x >= 1.0E-30f)) {
        mant = 0.0f;
        iexp = 0;
        return;
    }
    iexp = static_cast<int>(std::floor(std::log10(static_cast<double>(x))));
    mant = static_cast<float>(static_cast<double>(x) / std::pow(10.0, iexp));
    // log10 can land one off near powers of ten; bring the mantissa back.
    if (mant < 1.0f) {
        mant *= 10.0f;
        --iexp;
    }
    if (mant >= 10.0f) {
        mant /= 10.0f;
        ++iexp;
    }
}

namespace {

// Two-place integer field as the descriptor writes it (I2).
std::string i2(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    std::string s = buf;
    return s.size() > 2 ? std::string("**") : s;
}

}  // namespace

void MAKFMT(float a, float b, int w, int n, int d, bool paren, base::FixedString<16>& fmt) {
    float v = std::max(std::fabs(a), std::fabs(b));
    bool neg = false;
    float mant = 0.0f;
    int e = 0;
    R2SCI(v, neg, mant, e);
    if (mant > 9.9999f) ++e;  // rounds up to the next power of ten when printed
    int dec = std::max(std::min(n - e - 1, d), 0);
    const int k = std::max(e + 1, 1);
    const int s = (a < 0.0f || b < 0.0f) ? 1 : 0;
    std::string desc;
    if (k + s + 1 + dec > w) {
        int d2 = std::min(w - 6 - s, n - 1);
        d2 = std::max(d2, 0);
        desc = "1PE" + i2(w) + "." + i2(d2);
    } else {
        if (dec == 0 && k + s + 1 + dec < w) dec = 1;
        desc = "F" + i2(w) + "." + i2(dec);
    }
    desc.resize(8, ' ');
    fmt = base::FixedString<16>(paren ? "(" + desc + ")" : desc);
}

void FITFMT(float lo, float hi, int w, int& ndec) {
    int c = 4;
    if (hi > 9999999.0f || lo < -999999.0f)
        c = 9;
    else if (hi > 999999.0f || lo < -99999.0f)
        c = 8;
    else if (hi > 99999.0f || lo < -9999.0f)
        c = 7;
    else if (hi > 9999.0f || lo < -999.0f)
        c = 6;
    else if (hi > 999.0f || lo < -99.0f)
        c = 5;
    ndec = std::max(w - c, 0);
}

void RECPOL(float x, float y, float& r, float& theta) {
    r = std::sqrt(x * x + y * y);
    if (std::fabs(x) < 1.0E-30f && std::fabs(y) < 1.0E-30f)
        theta = 0.0f;
    else
        theta = std::atan2(y, x);
}

std::string octantOf(float angle) {
    static constexpr const char* kPairs = "N NEE SES SWW NWN ";
    const float a = std::fmod(angle, 360.0f);
    int k = static_cast<int>(std::lround(a / 45.0f));
    if (k < 0) k += 8;
    k = std::clamp(k, 0, 8);
    return std::string(kPairs + 2 * k, 2);
}

namespace {

// The title's length at height H, and H made smaller when it exceeds ROOM.
float fittedLength(int n, float room, float& h) {
    float length = static_cast<float>(n) * 0.86f * h;
    if (length > room) {
        h = h * room / length;
        length = room;
    }
    return length;
}

}  // namespace

void LBLXAX(std::string_view text, int n, float x1, float x2, float y, float h) {
    if (n <= 0 || h < 0.001f) return;
    const float length = fittedLength(n, 0.9f * (x2 - x1), h);
    util::SYMBOL((x1 + x2 - length) / 2.0f, y, h, text, 0.0f, n);
}

void LBLYAX(std::string_view text, int n, float y1, float y2, float x, float h) {
    if (n <= 0 || h < 0.001f) return;
    const float length = fittedLength(n, 0.9f * (y2 - y1), h);
    util::SYMBOL(x - 1.5f * h, (y1 + y2 - length) / 2.0f, h, text, 90.0f, n);
}

}  // namespace views
