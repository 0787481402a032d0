#include "calc/library_seam.h"

#include <cmath>
#include <utility>

namespace calc {

namespace {

struct MessageBoxes {
    MessageBox information;
    MessageBox warning;
};

MessageBoxes& boxes() {
    static MessageBoxes b;
    return b;
}

bool printable(unsigned char c) {
    return (c >= 32 && c <= 126) || (c >= 128 && c <= 168) || (c >= 224 && c <= 252);
}

}  // namespace

int NCHRCK(char* str, int n) {
    int replaced = 0;
    for (int i = 0; i < n; ++i) {
        if (!printable(static_cast<unsigned char>(str[i]))) {
            str[i] = ' ';
            ++replaced;
        }
    }
    return replaced;
}

void LCTOUC(char* str, int n) {
    for (int i = 0; i < n; ++i) {
        if (str[i] >= 'a' && str[i] <= 'z') str[i] = static_cast<char>(str[i] - 32);
    }
}

int IFNDPT(const char* str, int n, const char* pat, int m) {
    if (n <= 0 || m <= 0 || m > n) return 0;
    for (int start = 0; start + m <= n; ++start) {
        int k = 0;
        while (k < m && str[start + k] == pat[k])
            ++k;
        if (k == m) return start + 1;
    }
    return 0;
}

void FINDNX(const float* a, int n, float& vmin, float& vmax) {
    for (int i = 0; i < n; ++i) {
        const float x = a[i];
        const float ax = std::fabs(x);
        if (std::isnan(x) || ax > 1.0E15f || (ax > 0.0f && ax < 1.0E-30f)) continue;
        if (x < vmin) vmin = x;
        if (x > vmax) vmax = x;
    }
}

float FLAGRI(const float* x, const float* y, float x0, int n) {
    if (n <= 0) return 0.0f;
    for (int i = 0; i < n; ++i) {
        if (x0 == x[i]) return y[i];
    }
    float p = 1.0f;
    for (int j = 0; j < n; ++j)
        p *= x0 - x[j];
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        float denominator = 1.0f;
        for (int j = 0; j < n; ++j) {
            if (x[j] != x[i]) denominator *= x[i] - x[j];
        }
        sum += p * y[i] / (x0 - x[i]) / denominator;
    }
    return sum;
}

bool LEQNAN(float x) {
    return std::isnan(x);
}

void setLibraryMessageBoxes(MessageBox information, MessageBox warning) {
    boxes().information = std::move(information);
    boxes().warning = std::move(warning);
}

void WINMSG(std::string_view text) {
    if (boxes().information) boxes().information(text);
}

void WINWRN(std::string_view text) {
    if (boxes().warning) boxes().warning(text);
}

}  // namespace calc
