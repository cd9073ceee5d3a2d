// The colour picker driven headless: a bound colour through its multiplier, presses beside a
// thumb, drags (with Shift, past the ends), refused colours, and one geometry for pressing and
// drawing the thumbs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiColour.h"
#include "MuiScrollbar.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;

// A box 138 x 64 at (100, 100): each bar is the box less 3 at each side (103..235) and 20 high
// (from y 102, 122 and 142); with the box's scroll bar margin of 4 and the kit's 24-wide thumb the
// track starts at 107 and is 100 long, so a component v has its thumb at 107 + 100 v and the
// pointer at x means (x - 119) / 100.
const int kRedY = 110, kGreenY = 130, kBlueY = 150;

class MuiColourTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    id_ = MuiAddNewScreenBox(100, 100, 238, 164, nullptr);
    MuiSetType(id_, MUI_TYPE_COLOUR);
    MuiSetCallback(id_, MuiKitCb<0>);
  }
  void TearDown() override {
    key_down[COM_KEY_SHIFT] = 0;
    MuiKitTest::TearDown();
  }
  void Drag(int from_x, int y, int to_x) {
    MuiKitMoveTo(from_x, y);
    MuiKitPress();
    MuiKitMoveTo(to_x, y);
    MuiKitRelease();
  }
  float Comp(int i) const { return i == 0 ? mui_colour[id_].r : i == 1 ? mui_colour[id_].g : mui_colour[id_].b; }
  int id_ = -1;
};

TEST_F(MuiColourTest, ABoundColourGoesThroughItsMultiplier) {
  _MuiFloat3 var = {255, 128, 0};
  ASSERT_EQ(1, MuiColourRegisterFloat3VariableMult(id_, &var, 255, 0));
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
  EXPECT_NEAR(0.502f, Comp(1), 0.0005f);
  EXPECT_FLOAT_EQ(0.0f, Comp(2));
  EXPECT_TRUE(MuiKitCalls().empty());

  Drag(219, kRedY, 169);  // the red thumb (207..230) grabbed at its centre, taken to 0.5
  EXPECT_FLOAT_EQ(0.5f, Comp(0));
  EXPECT_FLOAT_EQ(127.5f, var.r);
  EXPECT_NEAR(128.0f, var.g, 0.001f);
  EXPECT_EQ(Calls({"cb0:1", "cb0:0"}), MuiKitCalls());

  int r = 0, g = 0, b = 0;
  MuiColourGet(id_, &r, &g, &b);
  EXPECT_EQ(127, r);
  EXPECT_EQ(0, b);
  float fr = 0;
  MuiColourGetFloat(id_, &fr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(127.5f, fr);

  // An offset is added after the multiplier; a multiplier of 0 would divide by nothing.
  _MuiFloat3 var2 = {0.6f, 0.5f, 0.5f};
  MuiColourRegisterFloat3VariableMult(id_, &var2, 0.5f, 0.1f);
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
  EXPECT_FLOAT_EQ(0.8f, Comp(1));
  MuiColourRegisterFloat3VariableMult(id_, &var2, 0, 0);
  EXPECT_FLOAT_EQ(0.00001f, mui_colour[id_].mult);

  // The setters take the variable's units once a variable is bound.
  MuiColourSetFloat(id_, 0.00001f, 0, 0, 1);
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
}

TEST_F(MuiColourTest, ColoursOutsideZeroToOneAreRefusedWithoutAVariable) {
  MuiColourSet(id_, 255, 51, 0, 1);
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
  EXPECT_FLOAT_EQ(0.2f, Comp(1));
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  MuiKitClearRecords();
  MuiColourSetFloat(id_, 1.2f, 0, 0, 1);
  MuiColourSetFloat(id_, 0.5f, NAN, 0, 1);
  EXPECT_TRUE(MuiKitLogHas("invalid col R:1.200000 G:0.000000 B:0.000000 (ID: 0)"));
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
  EXPECT_TRUE(MuiKitCalls().empty());

  // A null variable is logged and leaves the box unbound.
  _MuiFloat3 var = {0, 0, 0};
  MuiColourRegisterFloat3Variable(id_, &var);
  EXPECT_EQ(0, MuiColourRegisterFloat3Variable(id_, nullptr));
  EXPECT_TRUE(MuiKitLogHas("Var not set"));
  EXPECT_EQ(MUI_VAR_NONE, mouse_box[id_].registered_kind);
  MuiColourSetFloat(id_, 1, 1, 1, 0);
  EXPECT_EQ(0.0f, var.r);
  int r = 7;
  MuiColourGet(-1, &r, nullptr, nullptr);
  EXPECT_EQ(0, r);
}

// A press beside a thumb moves its component one jump toward the pointer, never past an end.
TEST_F(MuiColourTest, APressBesideAThumbJumpsTowardIt) {
  struct Case {
    float start;
    int x;
    float end;
  };
  for (const Case& k : {Case{0.95f, 120, 0.85f}, Case{0.95f, 110, 0.85f}, Case{0.5f, 230, 0.6f},
                        Case{0.05f, 110, 0.0f}}) {
    SCOPED_TRACE(k.x);
    MuiColourSetFloat(id_, 0, k.start, 0, 0);
    MuiKitClearRecords();
    MuiKitMoveTo(k.x, kGreenY);
    MuiKitPress();
    EXPECT_EQ(0, dragging);
    MuiKitRelease();
    EXPECT_NEAR(k.end, Comp(1), 1e-6f);
    EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  }
  MuiColourSetFloat(id_, 0, 0.9f, 0, 0);  // the thumb at 197..220: the track right of it
  MuiKitMoveTo(232, kGreenY);
  MuiKitPress();
  MuiKitRelease();
  EXPECT_FLOAT_EQ(1.0f, Comp(1));
}

// With Shift held every bar moves by the same difference, each stopping at its end.
TEST_F(MuiColourTest, AShiftDragMovesAllThree) {
  MuiColourSetFloat(id_, 0.9f, 0.4f, 0.3f, 0);
  key_down[COM_KEY_SHIFT] = 2;
  Drag(159, kGreenY, 179);  // green's thumb is at 147..170
  EXPECT_FLOAT_EQ(0.6f, Comp(1));
  EXPECT_FLOAT_EQ(1.0f, Comp(0));
  EXPECT_NEAR(0.5f, Comp(2), 1e-6f);
  key_down[COM_KEY_SHIFT] = 0;
  Drag(179, kBlueY, 169);  // blue's thumb at about 157..180, taken 10 to the left
  EXPECT_NEAR(0.4f, Comp(2), 0.011f);
  EXPECT_FLOAT_EQ(0.6f, Comp(1));
}

// A drag past an end stops at that end, however fast the pointer went.
TEST_F(MuiColourTest, DragsPastAnEndClampToIt) {
  _MuiFloat3 var = {0.5f, 0.5f, 0.5f};
  MuiColourRegisterFloat3Variable(id_, &var);
  MuiKitMoveTo(169, kBlueY);
  MuiKitPress();
  MuiKitMoveTo(639, kBlueY);
  EXPECT_FLOAT_EQ(1.0f, var.b);
  MuiKitMoveTo(0, kBlueY);
  EXPECT_FLOAT_EQ(0.0f, var.b);
  MuiKitMoveTo(-5000, kBlueY);
  MuiKitRelease();
  EXPECT_FLOAT_EQ(0.0f, var.b);
  EXPECT_EQ(Calls({"cb0:1", "cb0:1", "cb0:0"}), MuiKitCalls());
}

// The thumb is hit where it is drawn: on the bar's rectangle, 3 in from the box's sides. A
// component outside 0..1 (a bound variable is not range-checked) has its thumb at the end.
TEST_F(MuiColourTest, ThumbsAreHitWhereTheyAreDrawn) {
  MuiColourSetFloat(id_, 0, 0, 0, 0);
  MuiKitMoveTo(129, kRedY);  // the red thumb is drawn at 107..130
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  MuiKitRelease();
  EXPECT_TRUE(MuiKitCalls().empty());

  _MuiFloat3 var = {2.0f, -1.0f, 0.5f};
  MuiColourRegisterFloat3Variable(id_, &var);
  EXPECT_FLOAT_EQ(2.0f, Comp(0));
  _MuiScrollbar* red = &mui_colour[id_].bar[0];
  EXPECT_EQ(2.0, red->pos);
  MuiKitMoveTo(225, kRedY);  // the thumb at the right end, 207..230
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  MuiKitMoveTo(224, kRedY);
  MuiKitRelease();
  EXPECT_FLOAT_EQ(0.99f, var.r);
  MuiKitMoveTo(110, kGreenY);  // the green thumb at the left end, 107..130
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  MuiKitRelease();
}

// The colour box of a screen that was rebuilt during a drag is not told of the drag's end.
TEST_F(MuiColourTest, ADragEndAfterARebuildReachesNoNewBox) {
  MuiColourSetFloat(id_, 0.5f, 0.5f, 0.5f, 0);
  MuiKitMoveTo(169, kRedY);
  MuiKitPress();
  MuiKitMoveTo(190, kRedY);
  MuiRemoveAllBoxes();
  const int fresh = MuiAddNewScreenBox(100, 100, 238, 164, nullptr);
  MuiSetType(fresh, MUI_TYPE_COLOUR);
  MuiSetCallback(fresh, MuiKitCb<1>);
  MuiKitClearRecords();
  dragging = 1;  // a drag of another type ends: every type is told
  MuiShowButton(fresh, 0);
  MuiKitMoveTo(300, 300);
  EXPECT_EQ(0, dragging);
  EXPECT_TRUE(MuiKitCalls().empty());
}

TEST_F(MuiColourTest, OnlyAnActiveShownColourBoxTakesInput) {
  MuiColourSetFloat(id_, 0.5f, 0.5f, 0.5f, 0);
  MuiKitMoveTo(169, kRedY);
  MuiKitPress();
  MuiSetActiveState(id_, 0);
  MuiKitMoveTo(200, kRedY);
  MuiKitRelease();
  EXPECT_FLOAT_EQ(0.5f, Comp(0));
  EXPECT_EQ(0, MuiColourHandleMousePress(id_, 120, kRedY));
  EXPECT_FLOAT_EQ(0.5f, Comp(0));
  MuiColourHandleDragging(-1, 100);
  EXPECT_EQ(0, dragging);
}

}  // namespace
