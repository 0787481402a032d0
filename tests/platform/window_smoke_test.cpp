#include <gtest/gtest.h>
#include "platform/window/user_api.h"
TEST(WindowSmoke, Builds) { EXPECT_NE(win::GetDesktopWindow(), nullptr); }
