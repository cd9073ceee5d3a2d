// The drop-down list driven headless: the open list's layout, choosing with the mouse and the
// keys, the callback codes 0/1/2, entries from strings or a fill callback, write-back to int and
// char variables, auto-scroll on the scroll rows, and the open list kept across other boxes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ComGlMiscModes.h"
#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiList.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;
using MuiListTest = MuiKitTest;

char g_names[100][MUI_TEXT_LEN];

// A list box of n entries "e0".."e<n-1>" with the recording callback cb0, at entry pos.
int List(int x1, int y1, int x2, int y2, int n, int pos = 0) {
  for (int i = 0; i < 100; i++) snprintf(g_names[i], MUI_TEXT_LEN, "e%d", i);
  const int id = MuiAddNewScreenBox(x1, y1, x2, y2, MuiKitCb<0>);
  MuiSetType(id, MUI_TYPE_LIST);
  MuiListSetStrings(id, n, g_names);
  if (pos) MuiListSetPos(id, pos);
  MuiKitClearRecords();
  return id;
}

char* Fruit(int i) {
  static char names[3][16] = {"apple", "banana", "cherry"};
  return names[i];
}

// The y of entry i's row while the list is open, entry `chosen` sitting in the box's own row.
int RowY(int id, int i, int chosen) { return mouse_box[id].cy + (i - chosen) * mouse_box[id].h; }

TEST_F(MuiListTest, OpenLayoutCapsAndScrollRows) {
  struct Case {
    int n, y1, pos;
    int start, end, main_y, main_h, top_y, bottom_y, up_y, down_y;
  } cases[] = {
      // Short list around its box: both caps, no scroll rows.
      {3, 200, 1, 0, 3, 180, 60, 175, 235, -1, -1},
      // Longer than the screen: the first and last rows turn into scroll rows.
      {100, 240, 50, 39, 61, 20, 440, -1, -1, 0, 460},
      // At the top of the list: nothing to scroll up to.
      {100, 240, 0, 0, 11, 240, 220, 235, -1, -1, 460},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n * 1000 + c.pos);
    MuiRemoveAllBoxes();
    const int id = List(100, c.y1, 300, c.y1 + 20, c.n, c.pos);
    MuiListOpen(id);
    ASSERT_EQ(id, MuiListGetOpenId());
    EXPECT_EQ(c.start, list_open_start_pos);
    EXPECT_EQ(c.end, list_open_end_pos);
    EXPECT_EQ(c.main_y, list_open_main_y);
    EXPECT_EQ(c.main_h, list_open_main_h);
    EXPECT_EQ(c.top_y, list_open_top_y);
    EXPECT_EQ(c.bottom_y, list_open_bottom_y);
    EXPECT_EQ(c.up_y, list_open_scroll_up_y);
    EXPECT_EQ(c.down_y, list_open_scroll_down_y);
    EXPECT_EQ(c.pos, MuiListGetOpenPos(id));
    EXPECT_EQ(mouse_box[id].y1, list_open_sel_y);
  }
}

TEST_F(MuiListTest, PressOpensMoveHighlightsPressChoosesWithWriteBack) {
  int var = 1;
  const int id = List(100, 200, 300, 220, 5);
  ASSERT_EQ(1, MuiListRegisterIntVariable(id, &var));
  EXPECT_EQ(1, MuiListGetPos(id));
  EXPECT_STREQ("e1", mouse_box[id].text[0]);
  MuiKitClearRecords();

  MuiKitClick(150, 210);
  ASSERT_EQ(id, MuiListGetOpenId());
  ASSERT_EQ(1u, MuiKitWarps().size());  // the pointer is put on the box
  EXPECT_EQ(std::make_pair(233, 210), MuiKitWarps()[0]);
  EXPECT_TRUE(MuiKitCalls().empty());

  MuiKitClearRecords();
  MuiKitMoveTo(150, RowY(id, 3, 1) + 4);
  EXPECT_EQ(3, MuiListGetOpenPos(id));
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  EXPECT_EQ(std::vector<int>({MUI_SOUND_ITEM}), MuiKitSounds());
  EXPECT_EQ(1, MuiListGetPos(id)) << "only a choice changes the chosen entry";
  EXPECT_EQ(1, var);
  EXPECT_EQ(id, MuiGetHighlighted()) << "the list box keeps the highlight while it is open";

  MuiKitClearRecords();
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(-1, MuiListGetOpenId());
  EXPECT_EQ(3, MuiListGetPos(id));
  EXPECT_EQ(3, var);
  EXPECT_STREQ("e3", mouse_box[id].text[0]);
  EXPECT_EQ(Calls({"cb0:1"}), MuiKitCalls());
  EXPECT_EQ(0, mouse_box[id].pressed);
}

// The open list keeps the moves, so a box lying under the open rows never takes the highlight
// and the press still chooses in the list.
TEST_F(MuiListTest, APressOverAnotherBoxStillReachesTheOpenList) {
  const int id = List(100, 200, 300, 220, 5);
  const int under = MuiAddNewScreenBox(100, 240, 300, 300, MuiKitCb<1>);
  MuiKitClick(150, 210);
  ASSERT_EQ(id, MuiListGetOpenId());
  MuiKitMoveTo(150, RowY(id, 2, 0));
  EXPECT_EQ(id, MuiGetHighlighted());
  EXPECT_EQ(0, mouse_box[under].highlighted);
  MuiKitClearRecords();
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(2, MuiListGetPos(id));
  EXPECT_EQ(Calls({"cb0:1"}), MuiKitCalls());
}

TEST_F(MuiListTest, ClosingWithoutAChoiceReportsTwoOnlyAfterTheHighlightMoved) {
  struct Case {
    const char* how;
    bool move_first;
    Calls expect;
  } cases[] = {
      {"sideways", true, {"cb0:0", "cb0:2"}},
      {"sideways", false, {}},
      {"escape", true, {"cb0:0", "cb0:2"}},
      {"escape", false, {}},
      // The move up there already takes the highlight to entry 0.
      {"press beside", true, {"cb0:0", "cb0:0", "cb0:2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.how) + (c.move_first ? " after a move" : ""));
    MuiRemoveAllBoxes();
    const int id = List(100, 200, 300, 220, 5, 2);
    MuiKitClick(150, 210);
    ASSERT_EQ(id, MuiListGetOpenId());
    if (c.move_first) MuiKitMoveTo(150, RowY(id, 4, 2));
    const std::string how = c.how;
    if (how == "sideways") {
      MuiKitMoveTo(350, RowY(id, 4, 2));
    } else if (how == "escape") {
      EXPECT_EQ(1, MuiKeyDown(COM_KEY_ESCAPE));
    } else {
      MuiKitMoveTo(150, 20);  // above the list's rows, inside its columns
      MuiKitPress();
      MuiKitRelease();
    }
    EXPECT_EQ(-1, MuiListGetOpenId());
    EXPECT_EQ(2, MuiListGetPos(id));
    EXPECT_EQ(c.expect, MuiKitCalls());
  }
}

TEST_F(MuiListTest, KeysOpenMoveAndChoose) {
  char var = 0;
  const int id = List(100, 200, 300, 220, 5);
  ASSERT_EQ(1, MuiListRegisterCharVariable(id, &var));
  MuiKitMoveTo(150, 210);
  ASSERT_EQ(id, MuiGetHighlighted());

  // A closed list steps by one entry: the highlight report, then the choice.
  MuiKitClearRecords();
  MuiKeyDown(COM_KEY_DOWN);
  EXPECT_EQ(-1, MuiListGetOpenId());
  EXPECT_EQ(1, MuiListGetPos(id));
  EXPECT_EQ(1, var);
  EXPECT_EQ(Calls({"cb0:0", "cb0:1"}), MuiKitCalls());

  MuiKitClearRecords();
  MuiKeyDown(COM_KEY_UP);
  MuiKeyDown(COM_KEY_UP);  // at entry 0: nothing to move to, still chosen and reported
  EXPECT_EQ(0, MuiListGetPos(id));
  EXPECT_EQ(Calls({"cb0:0", "cb0:1", "cb0:1"}), MuiKitCalls());

  // Enter opens; the arrows move the highlight; Enter chooses.
  MuiKitClearRecords();
  MuiKeyDown(COM_KEY_RETURN);
  ASSERT_EQ(id, MuiListGetOpenId());
  MuiKeyDown(COM_KEY_DOWN);
  MuiKeyDown(COM_KEY_DOWN);
  MuiKeyDown(COM_KEY_DOWN);
  MuiKeyDown(COM_KEY_UP);
  EXPECT_EQ(2, MuiListGetOpenPos(id));
  EXPECT_EQ(0, MuiListGetPos(id));
  MuiKeyDown(COM_KEY_RETURN);
  EXPECT_EQ(-1, MuiListGetOpenId());
  EXPECT_EQ(2, MuiListGetPos(id));
  EXPECT_EQ(2, var);
  EXPECT_EQ(Calls({"cb0:0", "cb0:0", "cb0:0", "cb0:0", "cb0:1"}), MuiKitCalls());

  // Keys stop at the last entry; the wheel is not a list's (it leaves the open list alone).
  MuiKeyDown(COM_KEY_RETURN);
  for (int i = 0; i < 10; i++) MuiKeyDown(COM_KEY_DOWN);
  EXPECT_EQ(4, MuiListGetOpenPos(id));
  EXPECT_EQ(0, MuiProcessMouseWheel(-3));
  EXPECT_EQ(id, MuiListGetOpenId());
  EXPECT_EQ(4, MuiListGetOpenPos(id));
}

TEST_F(MuiListTest, EntriesFromAFillCallback) {
  const int id = MuiAddNewScreenBox(100, 200, 300, 220, nullptr);
  MuiSetType(id, MUI_TYPE_LIST);
  MuiListSetValues(id, 3, Fruit);
  EXPECT_STREQ("apple", mouse_box[id].text[0]);
  EXPECT_EQ(1, MuiListSetPosToString(id, "cherry"));
  EXPECT_EQ(2, MuiListGetPos(id));
  EXPECT_STREQ("cherry", MuiListGetString(id));
  EXPECT_STREQ("cherry", mouse_box[id].text[0]);
  EXPECT_EQ(0, MuiListSetPosToString(id, "Cherry"));  // bytes compared exactly
  EXPECT_EQ(2, MuiListGetPos(id));
  MuiKitClick(150, 210);
  MuiKitMoveTo(150, RowY(id, 0, 2));
  MuiKitPress();
  EXPECT_STREQ("apple", MuiListGetString(id));
  EXPECT_STREQ("apple", mouse_box[id].text[0]);
}

TEST_F(MuiListTest, RefusalsChangeNothing) {
  const int id = List(100, 200, 300, 220, 5, 3);
  const int button = MuiAddNewScreenBox(0, 0, 50, 50, nullptr);
  MuiListSetPos(id, 5);
  EXPECT_TRUE(MuiKitLogHas("invalid pos : 5 (id: 0, entries = 5)"));
  MuiListSetPos(id, -1);
  EXPECT_EQ(3, MuiListGetPos(id));
  MuiListSetStrings(id, 0, g_names);
  EXPECT_TRUE(MuiKitLogHas("invalid num 0 (ID: 0)"));
  MuiListSetStrings(id, 2, nullptr);
  EXPECT_TRUE(MuiKitLogHas("Null strings (ID: 0)"));
  MuiListSetValues(id, 0, Fruit);
  EXPECT_TRUE(MuiKitLogHas("invalid num entries 0 (ID: 0)"));
  MuiListSetValues(id, 2, nullptr);
  EXPECT_TRUE(MuiKitLogHas("Null callback entry (ID: 0)"));
  EXPECT_EQ(3, MuiListGetPos(id));
  EXPECT_EQ(5, mui_list[id].num);
  MuiListSetStrings(button, 2, g_names);
  EXPECT_TRUE(MuiKitLogHas("button 1 not a list"));
  EXPECT_EQ(0, mui_list[button].num);
  EXPECT_EQ(-1, MuiListGetPos(7));
  EXPECT_EQ(nullptr, MuiListGetString(-1));
  int* none = nullptr;
  EXPECT_EQ(1, MuiListRegisterIntVariable(id, none));  // unregisters, reads nothing
  EXPECT_EQ(MUI_VAR_NONE, mouse_box[id].registered_kind);
}

// Holding the highlight on the scroll-down row scrolls faster and faster, a sound each step.
TEST_F(MuiListTest, AutoScrollSpeedsUpOnTheScrollRow) {
  MuiKitSetTime(10000000);
  const int id = List(100, 240, 300, 260, 100, 50);
  MuiListOpen(id);
  MuiKitMoveTo(150, 470);
  ASSERT_EQ(list_open_end_pos, MuiListGetOpenPos(id));
  MuiKitClearRecords();
  std::vector<int> steps;
  int scrolled = 0;
  for (int t = 0; t < 700 && steps.size() < 8; t++) {
    MuiTick();
    if (list_open_scroll_amount != scrolled) {
      scrolled = list_open_scroll_amount;
      steps.push_back(n3d_current_time);
    }
    MuiKitAdvance(1);
  }
  ASSERT_EQ(8u, steps.size());
  std::vector<int> waits;
  for (size_t i = 1; i < steps.size(); i++) waits.push_back(steps[i] - steps[i - 1]);
  EXPECT_EQ(std::vector<int>({170, 140, 110, 80, 50, 20, 20}), waits);
  EXPECT_EQ(std::vector<int>(8, MUI_SOUND_ITEM), MuiKitSounds());
  EXPECT_EQ(69, MuiListGetOpenPos(id));
  EXPECT_EQ(list_open_end_pos, MuiListGetOpenPos(id)) << "the highlight rides on the scroll row";
  EXPECT_EQ(Calls(8, "cb0:0"), MuiKitCalls());

  // Off the scroll row the speed starts over.
  MuiKitMoveTo(150, 250);
  MuiTick();
  EXPECT_EQ(200, list_open_scroll_speed);
  EXPECT_EQ(50, MuiListGetPos(id));
}

TEST_F(MuiListTest, OnlyAResetOfItsOwnRowForgetsTheOpenList) {
  const int id = List(100, 200, 300, 220, 5, 1);
  MuiKitClick(150, 210);
  ASSERT_EQ(id, MuiListGetOpenId());
  const int later = MuiAddNewScreenBox(400, 400, 500, 450, nullptr);  // resets row `later`
  EXPECT_EQ(id, MuiListGetOpenId());
  MuiListReset(later);
  EXPECT_EQ(id, MuiListGetOpenId());
  MuiKitMoveTo(150, RowY(id, 3, 1));
  MuiKitPress();
  EXPECT_EQ(3, MuiListGetPos(id));

  MuiKitClick(150, 210);
  ASSERT_EQ(id, MuiListGetOpenId());
  MuiListReset(id);
  EXPECT_EQ(-1, MuiListGetOpenId());
}

TEST_F(MuiListTest, TheOpenListHidesItsOwnListButton) {
  const int id = List(100, 200, 300, 220, 5);
  const int other = List(100, 300, 300, 320, 5);
  MuiBitmapUpdateStandardButtons();
  EXPECT_EQ(1, mui_bitmap[id].std_include[MUI_STD_LIST_BUTTON]);
  EXPECT_EQ(300 - mui_std_dim.list_button_w - mouse_box[id].list_margin,
            mui_bitmap[id].std_x[MUI_STD_LIST_BUTTON]);
  MuiListOpen(id);
  MuiBitmapUpdateStandardButtons();
  EXPECT_EQ(0, mui_bitmap[id].std_include[MUI_STD_LIST_BUTTON]);
  EXPECT_EQ(1, mui_bitmap[other].std_include[MUI_STD_LIST_BUTTON]);
}

}  // namespace
