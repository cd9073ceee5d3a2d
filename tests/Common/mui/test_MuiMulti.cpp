// The multi-selection list: set-up and its refusals (which stop), toggling rows, the setter with
// and without notify, the shared display position (moved only by the list itself), page jumps
// and the thumb drag, the bottom edge.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Mui.h"
#include "MuiMulti.h"
#include "MuiScrollbar.h"
#include "support_MuiKit.h"

namespace {

using Strs = std::vector<std::string>;

char* Item(int index) {
  static char buf[32];
  snprintf(buf, sizeof(buf), "item %d", index);
  return buf;
}

class MultiTest : public MuiKitTest {
 protected:
  int Multi(int x1, int y1, int x2, int y2, int num, int num_per_page) {
    int id = MuiAddNewScreenBox(x1, y1, x2, y2, MuiKitCb<2>);
    EXPECT_GE(id, 0);
    MuiSetType(id, MUI_TYPE_MULTISEL);
    MuiMultiselSetValues(id, num, num_per_page, Item);
    MuiKitClearRecords();
    return id;
  }
  static Strs Calls() { return MuiKitCalls(); }
};

TEST_F(MultiTest, PressesToggleRowsAndNotify) {
  int id = Multi(100, 100, 300, 200, 8, 10);  // rows of 10, no side bar
  MuiMultiselHandleMousePress(id, 150, 100 + 3 * 10 + 5);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 3), 1);
  MuiMultiselHandleMousePress(id, 150, 100 + 3 * 10 + 5);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 3), 0);
  EXPECT_EQ(Calls(), (Strs{"cb2:0", "cb2:0"}));
  MuiMultiselHandleMousePress(id, 150, 100 + 9 * 10 + 5);  // an empty row
  MuiMultiselHandleKeyPress(id, MUI_MOVE_DOWN);            // keys do nothing
  EXPECT_EQ(Calls(), (Strs{"cb2:0", "cb2:0"}));

  MuiMultiselSelectItem(id, 5, 0, 1, 0);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 5), 1);
  MuiMultiselSelectItem(id, 5, 0, 7, 0);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 5), 1) << "any non-zero value selects";
  MuiMultiselSelectItem(id, 5, 0, 0, 0);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 5), 0);
  EXPECT_EQ(Calls(), (Strs{"cb2:0", "cb2:0"})) << "without notify nobody is called";

  MuiMultiselSelectItem(id, 8, 1, 0, 1);
  EXPECT_TRUE(MuiKitLogHas("Invalid item 8 (num: 8)"));
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 8), -1);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, -1), -1);
  EXPECT_EQ(MuiMultiselIsItemSelected(-1, 0), -1);
  EXPECT_EQ(MuiMultiselGetNumEntries(id), 8);
  EXPECT_EQ(MuiMultiselGetNumEntries(99), -1);

  MuiMultiselSelectItem(id, 1, 0, 1, 0);
  MuiMultiselResetSelection(id);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 1), 0);
  MuiMultiselResetSelection(-5);  // refused, not written before the table
}

TEST_F(MultiTest, SetValuesRefusalsStopAndTheLimitIsKept) {
  int id = Multi(100, 100, 300, 200, 20, 5);
  MuiMultiselSelectItem(id, 4, 0, 1, 0);
  struct {
    const char* log;
    int num, per_page;
    char* (*fn)(int);
  } refused[] = {
      {"invalid num entries -3 (ID: 0)", -3, 5, Item},
      {"invalid num_per_page 0 (ID: 0)", 30, 0, Item},
      {"Null callback entry (ID: 0)", 30, 5, nullptr},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.log);
    MuiMultiselSetValues(id, c.num, c.per_page, c.fn);
    EXPECT_TRUE(MuiKitLogHas(c.log)) << MuiKitLog();
    EXPECT_EQ(MuiMultiselGetNumEntries(id), 20) << "nothing else is set";
    EXPECT_EQ(mui_multisel[id].num_per_page, 5);
    EXPECT_EQ(MuiMultiselIsItemSelected(id, 4), 1);
  }
  MuiMultiselDraw(id, 1, 1);  // still drawable: no page of 0 rows

  MuiMultiselSetValues(id, 12000, 5, Item);
  EXPECT_TRUE(MuiKitLogHas("Too many entries : id: 0 entries: 12000 (max = 10000)"));
  EXPECT_EQ(MuiMultiselGetNumEntries(id), 10000);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 4), 0) << "new values clear the selection";
  MuiMultiselSelectItem(id, 9999, 1, 0, 1);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 9999), 1);
  EXPECT_EQ(multisel_display_pos, 9995) << "the display follows a notified item";

  MuiMultiselSetValues(id, 0, 5, Item);
  EXPECT_EQ(MuiMultiselGetNumEntries(id), 0);
  EXPECT_EQ(mui_multisel[id].num_per_page, 1);
  MuiMultiselSelectItem(id, 0, 1, 0, 1);
  EXPECT_EQ(Calls(), Strs{"cb2:0"}) << "an empty list ignores selection";
}

TEST_F(MultiTest, SharedDisplayMovesOnlyWithTheListsOwnSetUp) {
  int id = Multi(100, 100, 300, 200, 40, 10);
  MuiMultiselSelectItem(id, 25, 0, 1, 1);
  EXPECT_EQ(multisel_display_pos, 16);
  // A popup appends its boxes: the list beneath keeps its place.
  for (int i = 0; i < 8; i++) MuiAddNewScreenBox(200, 200, 300, 300, nullptr);
  EXPECT_EQ(multisel_display_pos, 16);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 25), 1);
  MuiMultiselSetValues(id, 40, 10, Item);
  EXPECT_EQ(multisel_display_pos, 0);
}

TEST_F(MultiTest, SideBarPagesDragAndTheBottomEdge) {
  int id = Multi(100, 100, 300, 300, 25, 10);  // rows of 20, side bar from x 285
  _SideBarInfo sb;
  ASSERT_EQ(MuiMultiselGetSidebarDimensions(id, &sb), 1);
  EXPECT_EQ(sb.row_area_w, 185);
  EXPECT_EQ(sb.thumb_x, 285 + 3);
  EXPECT_EQ(sb.thumb_w, 15 - 6);
  EXPECT_EQ(sb.thumb_h, 200 * 10 / 25);
  EXPECT_EQ(sb.thumb_y, 100);

  MuiMultiselHandleMousePress(id, 295, 299);
  EXPECT_EQ(multisel_display_pos, 10);
  MuiMultiselHandleMousePress(id, 295, 299);
  EXPECT_EQ(multisel_display_pos, 15);
  MuiMultiselHandleMousePress(id, 295, 101);
  EXPECT_EQ(multisel_display_pos, 5);
  EXPECT_EQ(Calls(), Strs{}) << "page jumps select nothing";

  // Grabbing the thumb where it is drawn keeps the display; dragging to the ends reaches them.
  ASSERT_EQ(MuiMultiselGetSidebarDimensions(id, &sb), 1);
  dragging = 0;
  MuiMultiselHandleMousePress(id, 292, sb.thumb_y + 1);
  ASSERT_EQ(dragging, 1);
  MuiMultiselHandleDragging(id, sb.thumb_y + 1);
  EXPECT_EQ(multisel_display_pos, 5);
  MuiMultiselHandleDragging(id, 2000);
  EXPECT_EQ(multisel_display_pos, 15);
  ASSERT_EQ(MuiMultiselGetSidebarDimensions(id, &sb), 1);
  EXPECT_EQ(sb.thumb_y2, sb.sb_y2) << "on the last page the thumb ends at the side bar's end";
  MuiMultiselHandleDragging(id, -2000);
  EXPECT_EQ(multisel_display_pos, 0);

  // The bottom edge is the last visible row, not the entry below the page.
  MuiMultiselHandleMousePress(id, 150, 300);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 9), 1);
  EXPECT_EQ(MuiMultiselIsItemSelected(id, 10), 0);
  EXPECT_EQ(multisel_display_pos, 0);

  MuiSetType(id, MUI_TYPE_BUTTON);
  MuiMultiselHandleDragging(id, 150);
  EXPECT_EQ(dragging, 0) << "a drag on a box that is no longer a list ends";
  MuiMultiselDraw(id, 1, 0);
  EXPECT_TRUE(MuiKitLogHas("Multisel ID 0 is not a multisel"));
}

}  // namespace
