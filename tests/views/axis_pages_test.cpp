#include "views/axis_pages.h"

#include <gtest/gtest.h>

namespace views {
namespace {

TEST(AxisPages, StartAndStepAreWrittenByTheSizeOfTheStep) {
    struct Case {
        float step;
        std::string_view format;
    };
    const Case cases[] = {
        {0.000001f, "(1PE11.3)"}, {-0.000001f, "(1PE11.3)"}, {0.005f, "(F11.6)"},
        {0.01f, "(F11.3)"},       {1000.0f, "(F11.3)"},      {2500.0f, "(F11.0)"},
        {-2500.0f, "(F11.0)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(axisNumberFormat(c.step), c.format) << c.step;
}

}  // namespace
}  // namespace views
