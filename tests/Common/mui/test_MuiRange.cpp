// The range driven headless: the setter's clamping and widening to the gap, the single value, the
// bar's place and the value under the pointer, drags of either cap and of the middle past the
// ends, keys, the bound pair of floats, the value text and degenerate boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiRange.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;

// A box 132 wide at x 100: scroll bar margin 4 and the kit's end width c = 8, so the bar runs
// from 104 + 100 (lo - min) / span to 104 + 100 (hi - min) / span + 24, and the pointer at x means
// min + (x - 112) / 108 x span.
const int kY = 110;

class MuiRangeTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    id_ = MuiAddNewScreenBox(100, 100, 232, 120, nullptr);
    MuiSetCallback(id_, MuiKitCb<0>);
    MuiRangeSetLimits(id_, 0, 1, 0.1f);
  }
  void TearDown() override {
    key_down[COM_KEY_SHIFT] = 0;
    key_down[COM_KEY_CONTROL] = 0;
    MuiKitTest::TearDown();
  }
  float Lo() const { return mui_range[id_].lo; }
  float Hi() const { return mui_range[id_].hi; }
  int id_ = -1;
};

TEST_F(MuiRangeTest, TheSetterClampsAndWidensToTheGap) {
  ASSERT_EQ(MUI_TYPE_RANGE, mouse_box[id_].type);
  ASSERT_EQ(4, mouse_box[id_].scrollbar_margin);
  ASSERT_EQ(8, mui_std_dim.range_end_w);
  struct Case {
    float a, b;
    float lo, hi;
    float read_lo, read_hi;
  };
  const Case cases[] = {
      {0.5f, 0.52f, 0.46f, 0.56f, 0.51f, 0.51f},   // widened about its middle: one value
      {-0.2f, 0.02f, 0.0f, 0.1f, 0.0f, 0.0f},      // shifted up to the minimum
      {0.95f, 1.5f, 0.9f, 1.0f, 1.0f, 1.0f},       // shifted down to the maximum
      {0.3f, 0.2f, 0.15f, 0.25f, 0.2f, 0.2f},      // reversed: both at the smaller
      {0.2f, 0.7f, 0.2f, 0.7f, 0.2f, 0.7f},
      {NAN, 0.5f, 0.0f, 0.5f, 0.0f, 0.5f},         // not a number stands for the minimum
      {0.2f, NAN, 0.0f, 0.1f, 0.0f, 0.0f},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.a) + " " + std::to_string(k.b));
    MuiRangeSetRange(id_, k.a, k.b, 0, 0);
    EXPECT_NEAR(k.lo, Lo(), 1e-6f);
    EXPECT_NEAR(k.hi, Hi(), 1e-6f);
    float lo = -9, hi = -9;
    MuiRangeGetRange(id_, &lo, &hi);
    EXPECT_NEAR(k.read_lo, lo, 1e-6f);
    EXPECT_NEAR(k.read_hi, hi, 1e-6f);
  }
  EXPECT_TRUE(MuiKitCalls().empty());
  // Unchanged values still report when asked.
  MuiRangeSetRange(id_, 0.0f, 0.5f, 1, 1);
  EXPECT_EQ(Calls({"cb0:1"}), MuiKitCalls());
}

TEST_F(MuiRangeTest, LimitsAreChecked) {
  MuiKitClearLog();
  MuiRangeSetLimits(id_, 0, 1, 1);
  EXPECT_TRUE(MuiKitLogHas("Bad parameters"));
  MuiKitClearLog();
  MuiRangeSetLimits(id_, 2, 1, 0.1f);
  MuiRangeSetLimits(id_, NAN, 1, 0.1f);
  MuiRangeSetLimits(id_, 0, 1, NAN);
  EXPECT_EQ(1.0f, mui_range[id_].max);
  EXPECT_EQ(0.1f, mui_range[id_].gap);
  MuiRangeSetLimits(id_, 0, 50, 0);
  EXPECT_FLOAT_EQ(5.0f, mui_range[id_].gap);
  EXPECT_EQ(0.25f, Lo());  // the values are left as they are
  MuiKitClearLog();
  MuiRangeSetRange(-1, 0, 1, 0, 0);
  const int button = MuiAddNewScreenBox(0, 0, 10, 10, nullptr);
  MuiRangeSetRange(button, 0, 1, 0, 0);
  EXPECT_TRUE(MuiKitLogHas("Not a range [-1]"));
  EXPECT_TRUE(MuiKitLogHas("Not a range [1]"));
  float lo = -9, hi = -9;
  MuiRangeGetRange(button, &lo, &hi);
  MuiRangeGetRange(MUI_SCRATCH_BOX, &lo, &hi);
  EXPECT_EQ(-9.0f, lo);
}

TEST_F(MuiRangeTest, BarAndPointerMapAtBothEndsAndTheMiddle) {
  struct Bar {
    float lo, hi;
    int x_lo, x_hi;
  };
  for (const Bar& k : {Bar{0, 0.1f, 104, 138}, Bar{0.25f, 0.75f, 129, 203}, Bar{0.8f, 1, 184, 228}}) {
    MuiRangeSetRange(id_, k.lo, k.hi, 0, 0);
    int x_lo = 0, x_hi = 0;
    MuiRangeGetScreenXPos(id_, &x_lo, &x_hi);
    EXPECT_EQ(k.x_lo, x_lo);
    EXPECT_EQ(k.x_hi, x_hi);
  }
  MuiRangeSetRange(id_, 0.25f, 0.75f, 0, 0);
  struct Screen {
    int x;
    float value;
    char where;
  };
  const Screen cases[] = {
      {50, -62.0f / 108, -3}, {101, 0.0f, -2},  {112, 0.0f, -2},         {129, 17.0f / 108, -1},
      {136, 24.0f / 108, -1}, {166, 0.5f, 0},   {195, 83.0f / 108, 1},   {203, 91.0f / 108, 2},
      {220, 1.0f, 2},         {232, 120.0f / 108, 2},   {300, 188.0f / 108, 3},
  };
  for (const Screen& k : cases) {
    SCOPED_TRACE(k.x);
    char where = 9;
    EXPECT_NEAR(k.value, MuiRangeGetXPosFromScreen(id_, k.x, &where), 1e-6f);
    EXPECT_EQ(k.where, where);
  }
}

// A box too narrow for its handles has no track: the bar sits at its start and every pointer
// position answers the minimum.
TEST_F(MuiRangeTest, ABoxWithoutATrackAnswersTheMinimum) {
  for (int width : {18, 10, 0}) {
    SCOPED_TRACE(width);
    MuiRemoveAllBoxes();
    const int id = MuiAddNewScreenBox(100, 100, 100 + width, 120, MuiKitCb<0>);
    MuiRangeSetLimits(id, -3, 3, 0);
    MuiRangeSetRange(id, -1, 2, 0, 0);
    int x_lo = 0, x_hi = 0;
    MuiRangeGetScreenXPos(id, &x_lo, &x_hi);
    EXPECT_EQ(100 + mouse_box[id].scrollbar_margin, x_lo);
    EXPECT_EQ(x_lo + 24, x_hi);
    for (int x : {0, 100, 100 + width, 400}) EXPECT_EQ(-3.0f, MuiRangeGetXPosFromScreen(id, x, nullptr));
    MuiKitMoveTo(100 + width / 2, 110);
    MuiKitPress();
    MuiKitMoveTo(500, 110);
    MuiKitRelease();
    EXPECT_FALSE(std::isnan(mui_range[id].lo) || std::isnan(mui_range[id].hi));
  }
}

TEST_F(MuiRangeTest, DraggingTheMiddleStopsAtTheEnds) {
  MuiRangeSetRange(id_, 0.2f, 0.5f, 0, 0);
  MuiKitMoveTo(150, kY);  // the middle of the bar at 124..178
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  EXPECT_NEAR(0.2f, Lo(), 1e-5f);
  MuiKitMoveTo(639, kY);
  EXPECT_NEAR(0.7f, Lo(), 1e-5f);
  EXPECT_NEAR(1.0f, Hi(), 1e-5f);
  MuiKitMoveTo(0, kY);
  EXPECT_NEAR(0.0f, Lo(), 1e-5f);
  EXPECT_NEAR(0.3f, Hi(), 1e-5f);
  MuiKitRelease();
  EXPECT_EQ(0, dragging);
  EXPECT_EQ(Calls({"cb0:1", "cb0:1", "cb0:1", "cb0:0"}), MuiKitCalls());
}

// The range of a screen that was rebuilt during a drag is not told of the drag's end.
TEST_F(MuiRangeTest, ADragEndAfterARebuildReachesNoNewBox) {
  MuiKitMoveTo(166, kY);
  MuiKitPress();
  MuiKitMoveTo(180, kY);
  MuiRemoveAllBoxes();
  const int fresh = MuiAddNewScreenBox(100, 100, 232, 120, nullptr);
  MuiSetCallback(fresh, MuiKitCb<1>);
  MuiRangeSetLimits(fresh, 0, 1, 0.1f);
  MuiKitClearRecords();
  dragging = 1;  // a drag of another type ends: every type is told
  MuiShowButton(fresh, 0);
  MuiKitMoveTo(300, 300);
  EXPECT_EQ(0, dragging);
  EXPECT_TRUE(MuiKitCalls().empty());
}

// A cap dragged past the other end pushes it along at the gap; past the box's end it stops at
// the limit.
TEST_F(MuiRangeTest, DraggingACap) {
  float lo_var = 0, hi_var = 0;
  MuiRangeRegisterTwoFloatVariables(id_, &lo_var, &hi_var, 1, 0);
  MuiRangeSetRange(id_, 0.2f, 0.5f, 0, 0);
  MuiKitMoveTo(125, kY);  // the lower cap at 124..131
  MuiKitPress();
  MuiKitMoveTo(639, kY);
  EXPECT_NEAR(0.9f, Lo(), 1e-5f);
  EXPECT_NEAR(1.0f, Hi(), 1e-5f);
  EXPECT_EQ(1.0f, lo_var);  // one value: the maximum, into both
  EXPECT_EQ(1.0f, hi_var);
  MuiKitMoveTo(0, kY);
  EXPECT_NEAR(0.0f, Lo(), 1e-5f);
  EXPECT_NEAR(1.0f, Hi(), 1e-5f);
  MuiKitRelease();
  EXPECT_EQ(0.0f, lo_var);
  EXPECT_EQ(1.0f, hi_var);

  MuiRangeSetRange(id_, 0.2f, 0.5f, 0, 0);
  MuiKitMoveTo(175, kY);  // the upper cap at 170..177
  MuiKitPress();
  MuiKitMoveTo(0, kY);
  EXPECT_NEAR(0.0f, Lo(), 1e-5f);
  EXPECT_NEAR(0.1f, Hi(), 1e-5f);
  MuiKitRelease();
  // A press right of the bar does nothing.
  MuiKitClearRecords();
  MuiKitMoveTo(200, kY);
  MuiKitPress();
  EXPECT_EQ(0, dragging);
  MuiKitRelease();
  EXPECT_TRUE(MuiKitCalls().empty());
}

// Up collapses the range to its minimum end whatever the sign of the minimum; Down centres it;
// left and right move both values, the lower with Control held or the upper with Shift held.
TEST_F(MuiRangeTest, Keys) {
  struct Case {
    float min, max, gap;
    int key;
    unsigned char control, shift;
    float lo, hi;
  };
  const Case cases[] = {
      {0, 1, 0.1f, COM_KEY_UP, 0, 0, 0, 0.1f},
      {-1, 1, 0.2f, COM_KEY_UP, 0, 0, -1, -0.8f},
      {-10, -5, 1, COM_KEY_UP, 0, 0, -10, -9},
      {0.5f, 2, 0.1f, COM_KEY_UP, 0, 0, 0.5f, 0.6f},
      {0, 1, 0.1f, COM_KEY_DOWN, 0, 0, 0.3f, 0.7f},
      {0, 1, 0.1f, COM_KEY_LEFT, 0, 0, 0.19f, 0.59f},
      {0, 1, 0.1f, COM_KEY_RIGHT, 0, 0, 0.21f, 0.61f},
      {0, 1, 0.1f, COM_KEY_LEFT, 2, 0, 0.19f, 0.6f},
      {0, 1, 0.1f, COM_KEY_RIGHT, 0, 2, 0.2f, 0.61f},
      {0, 1, 0.1f, COM_KEY_PAGE_UP, 0, 0, 0.2f, 0.6f},
  };
  MuiKitMoveTo(220, kY);
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.min) + " key " + std::to_string(k.key));
    MuiRangeSetLimits(id_, k.min, k.max, k.gap);
    mui_range[id_].lo = k.min + 0.2f * (k.max - k.min);
    mui_range[id_].hi = k.min + 0.6f * (k.max - k.min);
    key_down[COM_KEY_CONTROL] = k.control;
    key_down[COM_KEY_SHIFT] = k.shift;
    MuiKitClearRecords();
    EXPECT_EQ(1, MuiKeyDown(k.key));
    EXPECT_NEAR(k.lo, Lo(), 1e-5f);
    EXPECT_NEAR(k.hi, Hi(), 1e-5f);
    EXPECT_EQ(k.key == COM_KEY_PAGE_UP ? Calls() : Calls({"cb0:0"}), MuiKitCalls());
  }
}

TEST_F(MuiRangeTest, ABoundPairOfFloats) {
  float lo = 20, hi = 50;
  EXPECT_EQ(1, MuiRangeRegisterTwoFloatVariables(id_, &lo, &hi, 0.01f, 1));
  EXPECT_NEAR(0.2f, Lo(), 1e-6f);
  EXPECT_NEAR(0.5f, Hi(), 1e-6f);
  EXPECT_NEAR(20.0f, lo, 1e-4f);
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  MuiRangeSetRange(id_, 0.5f, 0.52f, 0, 0);
  EXPECT_NEAR(51.0f, lo, 1e-4f);
  EXPECT_NEAR(51.0f, hi, 1e-4f);
  EXPECT_EQ(0, MuiRangeRegisterTwoFloatVariables(id_, &lo, &hi, 0, 0));
  // A null variable unbinds: nothing is written afterwards.
  EXPECT_EQ(1, MuiRangeRegisterTwoFloatVariables(id_, &lo, nullptr, 1, 0));
  MuiRangeSetRange(id_, 0.1f, 0.9f, 0, 0);
  EXPECT_NEAR(51.0f, lo, 1e-4f);
  const int button = MuiAddNewScreenBox(0, 0, 10, 10, nullptr);
  EXPECT_EQ(0, MuiRangeRegisterTwoFloatVariables(button, &lo, &hi, 1, 0));
}

TEST_F(MuiRangeTest, AutoText) {
  MuiSetBothTexts(id_, "Range", "x");
  MuiRangeSetRange(id_, 0.2f, 0.5f, 0, 0);
  MuiRangeSetAutoText(id_, 1, 1, 1);
  EXPECT_STREQ("Range [0.2,0.5]", mouse_box[id_].text[0]);
  EXPECT_STREQ("", mouse_box[id_].text[1]);
  MuiRangeSetRange(id_, 0.0f, 0.05f, 0, 0);
  EXPECT_STREQ("Range [0.0]", mouse_box[id_].text[0]);
  MuiRangeSetAutoText(id_, 1, 3, 0);
  EXPECT_STREQ("[0.000]", mouse_box[id_].text[0]);
  MuiRangeSetRange(id_, 0.25f, 0.5f, 0, 0);
  EXPECT_STREQ("[0.250,0.500]", mouse_box[id_].text[0]);
  MuiRangeSetAutoText(id_, 1, 0, 0);
  EXPECT_TRUE(MuiKitLogHas("Decimal places=0 not supported"));
  EXPECT_STREQ("[0.2,0.5]", mouse_box[id_].text[0]);
  MuiRangeSetAutoText(id_, 0, 2, 0);
  MuiRangeSetRange(id_, 0.3f, 0.5f, 0, 0);
  EXPECT_STREQ("[0.2,0.5]", mouse_box[id_].text[0]);

  // A prefix filling the text leaves no room and writes nothing past it; a text shortened below
  // its prefix gets the values after what is left.
  const std::string full(MUI_TEXT_LEN - 1, 'p');
  MuiSetText(id_, full.c_str());
  MuiRangeSetAutoText(id_, 1, 2, 1);
  EXPECT_EQ(full, mouse_box[id_].text[0]);
  MuiSetText(id_, "R");
  MuiRangeSetRange(id_, 0.4f, 0.6f, 0, 0);
  EXPECT_STREQ("R [0.40,0.60]", mouse_box[id_].text[0]);
}

}  // namespace
