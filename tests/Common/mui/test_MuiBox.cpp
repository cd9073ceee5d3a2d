// The box table: limits, creation defaults, setters and getters, bound variables and moves.
#include <gtest/gtest.h>

#include <string>

#include "Mui.h"
#include "support_MuiKit.h"

namespace {

using MuiBoxTest = MuiKitTest;

TEST_F(MuiBoxTest, The492ndBoxIsAcceptedAndThe493rdRefused) {
  for (int i = 0; i < 491; i++) ASSERT_EQ(i, MuiAddNewScreenBox(0, 0, 10, 10, nullptr));
  EXPECT_EQ(491, MuiAddNewScreenBox(0, 0, 10, 10, nullptr));
  EXPECT_FALSE(MuiKitLogHas("Maximum boxes reached"));
  EXPECT_EQ(-1, MuiAddNewScreenBox(0, 0, 10, 10, nullptr));
  EXPECT_TRUE(MuiKitLogHas("Maximum boxes reached"));
  EXPECT_EQ(492, num_mouse_boxes);
}

}  // namespace
