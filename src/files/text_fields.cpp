#include "files/text_fields.h"

#include <limits>

#include "base/fortran_format.h"
#include "base/fortran_read.h"

namespace files {

namespace {
std::string orAsterisks(const std::optional<std::string>& text, int width) {
    return text ? *text : std::string(static_cast<std::size_t>(width), '*');
}
}  // namespace

std::string formatInteger(long long value, int width) {
    return orAsterisks(base::formatInteger(value, "I" + std::to_string(width)), width);
}

std::string formatFixed(double value, int width, int decimals) {
    return orAsterisks(
        base::formatReal(value, "F" + std::to_string(width) + "." + std::to_string(decimals)),
        width);
}

std::string formatExponent(double value, int width, int decimals) {
    return orAsterisks(base::formatReal(value, "(1PE" + std::to_string(width) + "." +
                                                   std::to_string(decimals) + ")"),
                       width);
}

std::optional<int> readIntegerField(std::string_view field) {
    auto v = base::readIntegerField(field);
    if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<double> readRealField(std::string_view field) {
    return base::readRealField(field, 0);
}

}  // namespace files
