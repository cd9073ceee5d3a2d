// Check boxes, bar graph values and the area type's fixed answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MuiArea.h"
#include "MuiBargraph.h"
#include "MuiBitmap.h"
#include "MuiCheckbox.h"
#include "MuiInput.h"
#include "support_MuiKit.h"

namespace {

using MuiCheckboxTest = MuiKitTest;
using Calls = std::vector<std::string>;

// A check box with a notify callback, left as a check box (not a push button).
int NewCheckbox() {
  const int id = MuiAddNewScreenBox(100, 100, 200, 120, MuiKitCb<0>);
  MuiSetArrowsState(id, 0, 0);
  MuiCheckboxSet(id, 0, 0);
  MuiKitClearRecords();
  return id;
}

TEST_F(MuiCheckboxTest, PressesAndReturnFlipTheValueWithNotify) {
  const int id = NewCheckbox();
  EXPECT_EQ(MUI_TYPE_CHECKBOX, MuiGetType(id));
  EXPECT_EQ(1, MuiCheckboxHandleMousePress(id, 150, 110));
  EXPECT_EQ(1, MuiCheckboxGet(id));
  EXPECT_EQ(1, MuiCheckboxHandleMousePress(id, 101, 119));
  EXPECT_EQ(0, MuiCheckboxGet(id));
  EXPECT_EQ(1, MuiCheckboxHandleKeyPress(id, MUI_MOVE_ENTER));
  EXPECT_EQ(0, MuiCheckboxHandleKeyPress(id, MUI_MOVE_LEFT));
  EXPECT_EQ(1, MuiCheckboxGet(id));
  EXPECT_EQ((Calls{"cb0:1", "cb0:0", "cb0:1"}), MuiKitCalls());
}

TEST_F(MuiCheckboxTest, OnlyZeroAndOneAreValues) {
  const int id = NewCheckbox();
  char var = 0;
  ASSERT_EQ(1, MuiCheckboxRegisterCharVariable(id, &var, 0));
  MuiCheckboxSet(id, 1, 0);
  for (int bad : {2, -1, 127, -128}) {
    MuiKitClearLog();
    MuiCheckboxSet(id, (char)bad, 1);
    EXPECT_TRUE(MuiKitLogHas("Invalid check parameter: " + std::to_string(bad))) << bad;
    EXPECT_EQ(1, MuiCheckboxGet(id)) << bad;
    EXPECT_EQ(1, var) << bad;
  }
  EXPECT_TRUE(MuiKitCalls().empty());
}

TEST_F(MuiCheckboxTest, RegisteredVariablesShowAndFollowTheValue) {
  const int id = NewCheckbox();
  int ivar = 1;
  ASSERT_EQ(1, MuiCheckboxRegisterIntVariable(id, &ivar, 1));
  EXPECT_EQ(1, MuiCheckboxGet(id));
  EXPECT_EQ((Calls{"cb0:1"}), MuiKitCalls());
  MuiCheckboxHandleMousePress(id, 150, 110);
  EXPECT_EQ(0, ivar);

  // Any non-zero value counts as on, and the variable is brought to 1.
  char cvar = 2;
  ASSERT_EQ(1, MuiCheckboxRegisterCharVariable(id, &cvar, 0));
  EXPECT_EQ(1, MuiCheckboxGet(id));
  EXPECT_EQ(1, cvar);

  // A 32-bit long variable is written too.
  int32_t lvar = 0;
  ASSERT_EQ(1, MuiRegisterLongVariable(id, &lvar, 1));
  MuiCheckboxSet(id, 0, 0);
  MuiCheckboxSet(id, 1, 0);
  EXPECT_EQ(1, lvar);

  // A null variable unregisters and nothing reads through it.
  ASSERT_EQ(1, MuiCheckboxRegisterCharVariable(id, nullptr, 1));
  EXPECT_EQ(MUI_VAR_NONE, mouse_box[id].registered_kind);
  EXPECT_EQ(1, MuiCheckboxGet(id));
}

TEST_F(MuiCheckboxTest, RefusalsAndTheNotifyWithoutCallback) {
  const int label = MuiAddNewScreenBox(0, 0, 50, 20, nullptr);
  int var = 1;
  EXPECT_EQ(0, MuiCheckboxRegisterIntVariable(label, &var, 1));
  EXPECT_TRUE(MuiKitLogHas("Invalid type"));
  EXPECT_EQ(0, MuiCheckboxGet(label));
  MuiCheckboxSet(-1, 1, 1);
  MuiCheckboxSet(num_mouse_boxes, 1, 1);
  EXPECT_TRUE(MuiKitLogHas("Invalid ID: -1"));
  // A check box without a callback flips with notify and calls nothing.
  MuiCheckboxSet(label, 0, 0);
  EXPECT_EQ(1, MuiCheckboxHandleMousePress(label, 10, 10));
  EXPECT_EQ(1, MuiCheckboxGet(label));
}

TEST_F(MuiCheckboxTest, MadeWithACallbackItStaysAPushButtonUntilItsArrowsAreCleared) {
  const int id = MuiAddNewScreenBox(100, 100, 200, 120, MuiKitCb<0>);
  MuiCheckboxSet(id, 1, 0);
  EXPECT_TRUE(MuiKitLogHas("Arrows must be 0"));
  EXPECT_EQ(1, MuiCheckboxGet(id));  // the set goes on
  MuiKitClearLog();
  MuiSetArrowsState(id, 0, 0);
  MuiCheckboxSet(id, 0, 0);
  EXPECT_FALSE(MuiKitLogHas("Arrows must be 0"));
}

TEST_F(MuiCheckboxTest, TheMarkSitsRightOfATextOrCentred) {
  const int id = NewCheckbox();  // 100..200 by 100..120: check box margin round(2) + 1 = 3
  struct Case {
    unsigned char active;
    char value;
    const char* text;
    int standard, x, y;
  } cases[] = {
      {1, 1, "", 10, 150 - 6, 110 - 6},   {1, 0, "", 11, 144, 104},
      {0, 1, "", 12, 144, 104},           {0, 0, "Reconvert", 13, 200 - 12 - 3, 104},
      {1, 1, "Reconvert", 10, 185, 104},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.standard) + " " + c.text);
    MuiSetText(id, c.text);
    MuiSetActiveState(id, c.active);
    MuiCheckboxSet(id, c.value, 0);
    MuiCheckboxIncludeStandardButton(id);
    const _MuiBitmap& b = mui_bitmap[id];
    for (int s = 10; s <= 13; s++) EXPECT_EQ(s == c.standard, b.std_include[s] != 0) << s;
    EXPECT_EQ(c.x, b.std_x[c.standard]);
    EXPECT_EQ(c.y, b.std_y[c.standard]);
  }
}

TEST_F(MuiCheckboxTest, ANewScreenStartsUnchecked) {
  const int id = NewCheckbox();
  MuiCheckboxSet(id, 1, 0);
  MuiRemoveAllBoxes();
  const int again = MuiAddNewScreenBox(100, 100, 200, 120, nullptr);
  ASSERT_EQ(id, again);
  EXPECT_EQ(0, MuiCheckboxGet(again));
}

TEST_F(MuiCheckboxTest, BarGraphValuesAndReset) {
  const int id = MuiAddNewScreenBox(10, 10, 110, 30, nullptr);
  EXPECT_EQ(100, mui_bargraph[id][0]);
  EXPECT_EQ(50, mui_bargraph[id][1]);
  EXPECT_EQ(25, mui_bargraph[id][2]);
  MuiBarGraphSetValues(id, 50, -1, -1);
  EXPECT_EQ(MUI_TYPE_BARGRAPH, MuiGetType(id));
  EXPECT_EQ(50, mui_bargraph[id][0]);
  EXPECT_EQ(-1, mui_bargraph[id][2]);
  MuiBarGraphSetValues(-1, 1, 1, 1);
  EXPECT_TRUE(MuiKitLogHas("Invalid ID: -1"));
}

TEST_F(MuiCheckboxTest, AreaOperationsAnswerFixedValues) {
  const int id = MuiAddNewScreenBox(10, 10, 110, 30, nullptr);
  float x = 5.0f, y = 5.0f;
  MuiAreaGetPointPos(id, 0, &x, &y);
  EXPECT_EQ(0.0f, x);
  EXPECT_EQ(0.0f, y);
  MuiAreaGetPointPos(id, 0, nullptr, nullptr);
  _MuiArea area;
  _MuiArea* values = &area;
  MuiAreaGetValuesPointer(id, &values);
  EXPECT_EQ(nullptr, values);
  EXPECT_EQ(-1, MuiAreaGetDraggedPoint(id));
  EXPECT_EQ(0.0f, MuiAreaCalcValueAtXPos(id, 3.0f, 1));
}

}  // namespace
