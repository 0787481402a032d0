#include "toolkit/output/text_fields.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/fortran_format.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {

namespace {

// The largest magnitude a field holds: negative values need one place for
// the sign.
double fieldLimit(int width, int decimals, bool negative) {
    const int before = std::max(width - decimals - (decimals > 0 ? 1 : 0) - (negative ? 1 : 0), 1);
    return std::pow(10.0, before) - std::pow(10.0, -decimals);
}

}  // namespace

std::string FixedField(double value, int width, int decimals) {
    if (std::isnan(value)) value = 0.0;
    value = std::clamp(value, -fieldLimit(width, decimals, true),
                       fieldLimit(width, decimals, false));
    const std::string format = "F" + std::to_string(width) + "." + std::to_string(decimals);
    return base::formatReal(value, format).value_or(std::string(static_cast<std::size_t>(width), '0'));
}

std::string IntegerField(long long value, int width) {
    value = std::clamp(value, static_cast<long long>(-fieldLimit(width, 0, true)),
                       static_cast<long long>(fieldLimit(width, 0, false)));
    return base::formatInteger(value, "I" + std::to_string(width))
        .value_or(std::string(static_cast<std::size_t>(width), '0'));
}

int TruncatedInt(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), static_cast<double>(-INT_MAX),
                                       static_cast<double>(INT_MAX)));
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void WritePlotLine(std::string_view text) {
    if (hardcopyDeviceState().hpglLinePrefix == 1) YYPROU(kPlotUnit, " ");
    PlotFileWriteLine(kPlotUnit, text);
}

}  // namespace tk
