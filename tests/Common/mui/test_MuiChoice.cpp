// The choice driven headless: row-mode cells under the mouse, cycling with the keys both ways and
// Enter's wrap, arrow mode's arrows and texts, write-back to char and int variables, refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiChoice.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;
using MuiChoiceTest = MuiKitTest;

char g_pages[3][MUI_TEXT_LEN] = {"One", "Two", "Four"};

// A choice over the three strings with the recording callback cb0.
int Choice(int x1, int y1, int x2, int y2) {
  const int id = MuiAddNewScreenBox(x1, y1, x2, y2, MuiKitCb<0>);
  MuiSetType(id, MUI_TYPE_CHOICE);
  MuiChoiceSetStrings(id, 3, g_pages);
  MuiKitClearRecords();
  return id;
}

char* Colour(int i) {
  static char names[3][8] = {"red", "green", "blue"};
  return names[i];
}

TEST_F(MuiChoiceTest, RowModeCellsChooseUnderTheMouse) {
  const int id = Choice(100, 100, 190, 130);  // cells of 30
  for (int x : {100 + 75, 100 + 75}) {
    MuiKitClick(x, 115);
    EXPECT_EQ(2, MuiChoiceGetSel(id));
  }
  // The callback hears every press, also of the entry already chosen; only that one plays the
  // press sound (a new choice is heard through the application).
  EXPECT_EQ(Calls({"cb0:2", "cb0:2"}), MuiKitCalls());
  EXPECT_EQ(std::vector<int>({MUI_SOUND_HIGHLIGHT, MUI_SOUND_PRESS}), MuiKitSounds());
  EXPECT_EQ(0, mouse_box[id].pressed);
  MuiKitClick(100, 115);
  EXPECT_EQ(0, MuiChoiceGetSel(id));
  MuiKitClick(190, 115);  // the right edge belongs to the last cell
  EXPECT_EQ(2, MuiChoiceGetSel(id));
}

TEST_F(MuiChoiceTest, KeysCycleBothWaysAndEnterWrapsWithWriteBack) {
  char page = 0;
  const int id = Choice(100, 100, 190, 130);
  ASSERT_EQ(1, MuiChoiceRegisterCharVariable(id, &page, 0));
  MuiKitMoveTo(150, 115);
  ASSERT_EQ(id, MuiGetHighlighted());
  MuiKitClearRecords();
  struct Step {
    int key, sel;
  } steps[] = {
      {COM_KEY_LEFT, 0},  {COM_KEY_UP, 0},    {COM_KEY_RIGHT, 1}, {COM_KEY_DOWN, 2}, {COM_KEY_DOWN, 2},
      {COM_KEY_RETURN, 0}, {COM_KEY_RETURN, 1}, {COM_KEY_UP, 0},
  };
  for (const Step& s : steps) {
    MuiKeyDown(s.key);
    EXPECT_EQ(s.sel, MuiChoiceGetSel(id)) << s.key;
    EXPECT_EQ(s.sel, page);
  }
  // Moves at an end change nothing and report nothing.
  EXPECT_EQ(Calls({"cb0:1", "cb0:2", "cb0:0", "cb0:1", "cb0:0"}), MuiKitCalls());
}

TEST_F(MuiChoiceTest, RegisteringSetsTheChoiceFromTheVariable) {
  const int id = Choice(100, 100, 190, 130);
  char page = 2;
  ASSERT_EQ(1, MuiChoiceRegisterCharVariable(id, &page, 1));
  EXPECT_EQ(2, MuiChoiceGetSel(id));
  EXPECT_EQ(Calls({"cb0:2"}), MuiKitCalls());
  int level = 1;
  ASSERT_EQ(1, MuiChoiceRegisterIntVariable(id, &level, 0));
  EXPECT_EQ(1, MuiChoiceGetSel(id));
  MuiChoiceSetSel(id, 0, 0);
  EXPECT_EQ(0, level);
  EXPECT_EQ(2, page) << "the char variable was unregistered by the int one";
  const int button = MuiAddNewScreenBox(0, 0, 10, 10, nullptr);
  EXPECT_EQ(0, MuiChoiceRegisterCharVariable(button, &page, 0));
}

TEST_F(MuiChoiceTest, ArrowModeShowsArrowsOnlyTowardANeighbour) {
  const int id = Choice(100, 100, 300, 130);
  MuiChoiceSetValues(id, 3, Colour);
  MuiChoiceUseArrows(id, 1);
  EXPECT_EQ(1, MuiChoiceIsUsingArrows(id));
  struct Case {
    int sel, left, right;
  } cases[] = {{0, 0, 1}, {1, 1, 1}, {2, 1, 0}};
  for (const Case& c : cases) {
    MuiChoiceSetSel(id, c.sel, 0);
    EXPECT_EQ(c.left, mouse_box[id].left_arrow) << c.sel;
    EXPECT_EQ(c.right, mouse_box[id].right_arrow) << c.sel;
    EXPECT_EQ(c.left, mui_bitmap[id].std_include[MUI_STD_LEFT_ARROW]);
    EXPECT_EQ(c.right, mui_bitmap[id].std_include[MUI_STD_RIGHT_ARROW]);
    EXPECT_STREQ(Colour(c.sel), mouse_box[id].text[0]);
  }
  MuiSetActiveState(id, 0);
  EXPECT_EQ(0, mouse_box[id].left_arrow);
  EXPECT_EQ(0, mui_bitmap[id].std_include[MUI_STD_LEFT_ARROW]);
  MuiSetActiveState(id, 1);

  // Presses: the left arrow steps back, the middle does nothing, the right one has gone at the end.
  MuiKitClearRecords();
  const int cy = mouse_box[id].cy;
  MuiKitClick(103, cy);
  EXPECT_EQ(1, MuiChoiceGetSel(id));
  MuiKitClick(200, cy);
  EXPECT_EQ(1, MuiChoiceGetSel(id));
  MuiKitClick(297, cy);
  EXPECT_EQ(2, MuiChoiceGetSel(id));
  MuiKitClick(297, cy);
  EXPECT_EQ(2, MuiChoiceGetSel(id));
  EXPECT_EQ(Calls({"cb0:1", "cb0:2"}), MuiKitCalls());

  // Back to row mode: no arrows, the cells take the presses.
  MuiChoiceUseArrows(id, 0);
  EXPECT_EQ(0, mouse_box[id].right_arrow);
  EXPECT_EQ(0, MuiChoiceIsUsingArrows(id));
  MuiKitClick(110, cy);
  EXPECT_EQ(0, MuiChoiceGetSel(id));
}

TEST_F(MuiChoiceTest, RefusalsAreLoggedAndKeepTheChoice) {
  const int id = Choice(100, 100, 190, 130);
  MuiChoiceSetSel(id, 2, 0);
  MuiChoiceSetNumItems(id, 2);
  EXPECT_TRUE(MuiKitLogHas("invalid sel : 2 (id: 0, entries = 2)"));
  EXPECT_EQ(2, MuiChoiceGetSel(id));
  MuiChoiceSetStrings(id, 0, g_pages);
  EXPECT_TRUE(MuiKitLogHas("invalid num 0 (ID: 0)"));
  MuiChoiceSetStrings(id, 3, nullptr);
  EXPECT_TRUE(MuiKitLogHas("Null strings (ID: 0)"));
  MuiChoiceSetValues(id, -1, Colour);
  EXPECT_TRUE(MuiKitLogHas("invalid num entries -1 (ID: 0)"));
  MuiChoiceSetValues(id, 3, nullptr);
  EXPECT_TRUE(MuiKitLogHas("Null callback entry (ID: 0)"));
  EXPECT_EQ(-1, MuiChoiceGetSel(5));

  const int narrow = Choice(300, 100, 302, 130);  // 2 wide, 3 entries
  MuiKitClick(301, 115);
  EXPECT_TRUE(MuiKitLogHas("No Width (ID =  1)"));
  EXPECT_EQ(0, MuiChoiceGetSel(narrow));
  EXPECT_TRUE(MuiKitCalls().empty());

  const int empty = MuiAddNewScreenBox(400, 100, 500, 130, nullptr);
  MuiSetType(empty, MUI_TYPE_CHOICE);
  MuiKitClick(450, 115);
  EXPECT_TRUE(MuiKitLogHas("Empty Choice List (ID =  2)"));
}

}  // namespace
