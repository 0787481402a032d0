#include "views/hit_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "toolkit/core/status_bar.h"
#include "toolkit/core/window_placement.h"
#include "util/number_text.h"
#include "util/text_edit.h"

namespace views {
namespace {

class ToolkitHoverOutput final : public HoverOutput {
  public:
    void statusText(int part, std::string_view text) override { tk::StatusBarText(part, text); }
    void cursorShape(int shape) override { tk::CursorShapeSet(shape); }
};

}  // namespace

HoverOutput& toolkitHoverOutput() {
    static ToolkitHoverOutput output;
    return output;
}

StatusText& StatusText::add(std::string_view s) {
    const int room = static_cast<int>(buf_.size()) - len_;
    const int n = std::min(room, static_cast<int>(s.size()));
    std::copy_n(s.begin(), n, buf_.begin() + len_);
    len_ += n;
    return *this;
}

StatusText& StatusText::addStars(int width) {
    for (int i = 0; i < width; ++i)
        add("*");
    return *this;
}

StatusText& StatusText::addInt(long value, int width) {
    char tmp[32];
    const int n = std::snprintf(tmp, sizeof tmp, "%*ld", width, value);
    if (n > width) return addStars(width);
    return add(std::string_view(tmp, static_cast<std::size_t>(n)));
}

StatusText& StatusText::addFixed(float value, int width, int decimals) {
    char tmp[64];
    const int n =
        std::snprintf(tmp, sizeof tmp, "%*.*f", width, decimals, static_cast<double>(value));
    if (n > width || n < 0 || !std::isfinite(value)) return addStars(width);
    return add(std::string_view(tmp, static_cast<std::size_t>(n)));
}

StatusText& StatusText::collapse() {
    util::NODOUBLEBLANK(std::span<char>(buf_.data(), static_cast<std::size_t>(len_)));
    while (len_ > 0 && buf_[static_cast<std::size_t>(len_ - 1)] == ' ')
        --len_;
    return *this;
}

StatusText& StatusText::replaceWithin(int limit, std::string_view from, std::string_view to) {
    // Searched in the whole blank-padded buffer, as the fixed text would be.
    const auto size = static_cast<long>(buf_.size());
    std::string_view text(buf_.data(), buf_.size());
    for (std::size_t at = text.find(from);
         at != std::string_view::npos && static_cast<int>(at) < limit;
         at = text.find(from, at + to.size())) {
        const auto start = static_cast<long>(at);
        std::copy(to.begin(), to.end(), buf_.begin() + start);
        std::copy(buf_.begin() + start + static_cast<long>(from.size()), buf_.end(),
                  buf_.begin() + start + static_cast<long>(to.size()));
        std::fill(buf_.begin() + size - static_cast<long>(from.size() - to.size()), buf_.end(),
                  ' ');
    }
    len_ = static_cast<int>(trimRight(text).size());
    return *this;
}

StatusText& StatusText::leftJustify() {
    int first = 0;
    while (first < len_ && buf_[static_cast<std::size_t>(first)] == ' ')
        ++first;
    std::copy(buf_.begin() + first, buf_.begin() + len_, buf_.begin());
    len_ -= first;
    std::fill(buf_.begin() + len_, buf_.end(), ' ');
    return *this;
}

std::string_view StatusText::view() const {
    return {buf_.data(), static_cast<std::size_t>(len_)};
}

std::string_view trimRight(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

std::string_view valueText(float value, std::array<char, 12>& buf, bool keepLeading) {
    buf.fill(' ');
    std::int32_t nch = 0;
    util::FMTFN(buf, value, nch);
    int n = 12;
    util::NTRAIL(buf, n, '0');
    std::string_view text = trimRight({buf.data(), buf.size()});
    if (!keepLeading) {
        const auto first = text.find_first_not_of(' ');
        text = first == std::string_view::npos ? std::string_view{} : text.substr(first);
    }
    return text;
}

std::string_view shortValueText(float value, std::array<char, 12>& buf) {
    const double v = value, a = std::fabs(v);
    std::array<char, 32> t{};
    if (a == 0.0 || (a >= 0.01 && a < 99999.5)) {
        const int digits = a == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(a)));
        int n = std::snprintf(t.data(), t.size(), "%.*f", std::max(0, 2 - digits), v);
        if (std::string_view(t.data(), static_cast<std::size_t>(n)).find('.') ==
            std::string_view::npos)
            t[static_cast<std::size_t>(n++)] = '.';
        while (t[static_cast<std::size_t>(n - 1)] == '0')
            --n;
        t[static_cast<std::size_t>(n)] = '\0';
    } else {
        // "3.3E-04" becomes "3.3E-4", "1.2E+07" becomes "1.2E7".
        std::snprintf(t.data(), t.size(), "%.1E", v);
        std::string s(t.data());
        const std::size_t e = s.find('E');
        if (e != std::string::npos) {
            std::string exponent = s.substr(e + 1);
            const bool negative = !exponent.empty() && exponent[0] == '-';
            exponent.erase(0, exponent.find_first_not_of("+-0"));
            s = s.substr(0, e + 1) + (negative ? "-" : "") + (exponent.empty() ? "0" : exponent);
        }
        std::snprintf(t.data(), t.size(), "%s", s.c_str());
    }
    const std::string_view text(t.data());
    const std::size_t n = std::min(text.size(), buf.size());
    std::copy_n(text.begin(), n, buf.begin());
    return {buf.data(), n};
}

}  // namespace views
