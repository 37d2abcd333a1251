#include "core/vars_bas.h"

#include <gtest/gtest.h>

TEST(SharedState, CycleStartsAtFirstPosition) {
  EXPECT_EQ(g_CyclePos, 1);
  EXPECT_EQ(g_CycleCount, 0);
}
