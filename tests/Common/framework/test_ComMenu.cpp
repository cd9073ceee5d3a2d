// The menu bar does not exist on this platform: building one leaves nothing, and the menu layer
// never keeps space for it.
#include <gtest/gtest.h>

#include "ComMenu.h"

namespace {

void NoCallback(char) {}

TEST(ComMenu, BuildingAMenuBarLeavesNothing) {
  ComMenuNew();
  EXPECT_EQ(ComMenuAddCol("File"), 0);
  EXPECT_EQ(ComMenuAddRowToCol(0, "Open", "O", NoCallback, 1), 0);
  EXPECT_EQ(ComMenuAddSubMenuToCol(0, "Recent"), 0);
  EXPECT_EQ(ComMenuAddRowToSubMenu(0, 0, "Book", nullptr, NoCallback, 2), 0);
  ComMenuTurnOn();
  ComMenuUnhideNow();
  ComMenuCheckRow(0, 0, 1);
  EXPECT_EQ(ComMenuGetNumCols(), 0);
  EXPECT_EQ(ComMenuGetNumRowsInCol(0), 0);
  EXPECT_EQ(ComMenuGetNumSubsInRow(0, 0), 0);
  EXPECT_EQ(ComMenuIsOn() + ComMenuIsShown() + ComMenuIsHidden(), 0);
  EXPECT_EQ(ComMenuMousePress(0, 1) + ComMenuMouseMove(10, 2), 0);
  EXPECT_EQ(ComMenuGetMenuBarHeight(), 0);
  EXPECT_EQ(ComMenuGetMenuBarScreenHeight(), 0);
  ComMenuExit();
}

}  // namespace
