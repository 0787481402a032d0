#include "views/label_set.h"

#include <algorithm>
#include <cstdio>

#include "util/nice_axis.h"

namespace views {

void DELETELABEL(model::LabelSet& s, int& i) {
    if (i < 1 || i > s.NLAB || i > model::kLabelLimit) return;
    const auto k = static_cast<std::size_t>(i - 1);
    auto close = [k](auto& a, auto emptyValue) {
        std::move(a.begin() + static_cast<std::ptrdiff_t>(k) + 1, a.end(),
                  a.begin() + static_cast<std::ptrdiff_t>(k));
        a.back() = emptyValue;
    };
    if (i < s.NLAB) {
        close(s.CMODL, base::FixedString<50>());
        close(s.XARRO, 0.0f);
        close(s.YARRO, 0.0f);
        close(s.XCLAB, 0.0f);
        close(s.YCLAB, 0.0f);
        close(s.HILAB, 0.0f);
        close(s.WDLAB, 0.0f);
        close(s.IWINDOW, 0);
        close(s.IPARAM, 0);
    }
    --s.NLAB;
    i = 0;
}

void CLEARLABELS(model::LabelSet& s, int graph) {
    for (int i = std::min(s.NLAB, model::kLabelLimit); i >= 1; --i) {
        if (s.IWINDOW[static_cast<std::size_t>(i - 1)] != graph) continue;
        int k = i;
        DELETELABEL(s, k);
    }
}

void SCALELABELSIZE(model::LabelSet& s, std::array<float, model::kLabelLimit>& values,
                    float factor) {
    for (int i = 0; i < std::min(s.NLAB, model::kLabelLimit); ++i)
        values[static_cast<std::size_t>(i)] *= factor;
}

void INCLABELSIZE(model::LabelSet& s, std::array<float, model::kLabelLimit>& values,
                  float increment) {
    for (int i = 0; i < std::min(s.NLAB, model::kLabelLimit); ++i)
        values[static_cast<std::size_t>(i)] += increment;
}

std::string valueLabelText(float value, std::string_view unit) {
    const int d = std::max(util::JSIG(value), 0);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", std::min(d, 9), static_cast<double>(value));
    std::string t = buf;
    if (t.find('.') != std::string::npos) {
        while (!t.empty() && t.back() == '0')
            t.pop_back();
        if (!t.empty() && t.back() == '.') t.pop_back();
    }
    std::size_t end = unit.find_last_not_of(' ');
    t += ' ';
    if (end != std::string_view::npos) t += unit.substr(0, end + 1);
    return t;
}

}  // namespace views
