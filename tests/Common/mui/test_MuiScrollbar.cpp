// Scroll bars driven headless: the thumb's place and the position under the pointer at both ends
// and the middle, arrows, track jumps, keys, drags past the ends, the held press repeat, the
// write-back to each kind of variable with its multiplier, the value text, degenerate tracks.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ComMacWinInput.h"
#include "Mui.h"
#include "MuiScrollbar.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;
using MuiScrollbarTest = MuiKitTest;

// The kit's standard sizes: thumb 24 x 12, arrows 12 x 12. A box 156 wide has a scroll bar
// margin of 4 (156 x 0.02 rounds to 3, plus 1), so with arrows the track starts at x1 + 16 and is
// 156 - 24 - 8 - 24 = 100 long: on 0..100 the thumb's left edge is at 116 + pos and the position
// under the pointer is x - 128.
const int kX1 = 100, kX2 = 256, kY1 = 100, kY2 = 120, kMidY = 110;
const int kLeftArrowX = 105, kRightArrowX = 250;

int Bar(double min = 0, double max = 100, double jump = 10, double step = 1, void (*cb)(char) = MuiKitCb<0>) {
  const int id = MuiAddNewScreenBox(kX1, kY1, kX2, kY2, cb);
  MuiScrollbarSetValuesDouble(id, min, max, jump, step);
  return id;
}

void Hold(int ms) {
  for (int t = 0; t < ms; t++) {
    MuiKitAdvance(1);
    MuiTick();
  }
}

TEST_F(MuiScrollbarTest, ThumbAndPointerMapAtBothEndsAndTheMiddle) {
  const int id = Bar();
  ASSERT_EQ(4, mouse_box[id].scrollbar_margin);
  ASSERT_EQ(24, mui_std_dim.sb_thumb_w);
  ASSERT_EQ(12, mui_std_dim.arrow_w);
  struct Case {
    double pos;
    int thumb_x;
  };
  for (const Case& k : {Case{0, 116}, Case{50, 166}, Case{100, 216}, Case{33.9, 149}}) {
    SCOPED_TRACE(k.pos);
    MuiScrollbarSetPosDouble(id, k.pos, 0, 0, 0);
    EXPECT_EQ(k.thumb_x, MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]));
  }
  struct Screen {
    int x;
    double pos;
  };
  // Inside the box the answer is within the limits; outside it is left for the setter.
  for (const Screen& k : {Screen{128, 0}, Screen{178, 50}, Screen{228, 100}, Screen{101, 0}, Screen{255, 100},
                          Screen{50, -78}, Screen{400, 272}}) {
    SCOPED_TRACE(k.x);
    EXPECT_DOUBLE_EQ(k.pos, MuiScrollbarDoGetXPosFromScreen(id, &mui_scrollbar[id], k.x));
  }
  // Without arrows the track starts at x1 + margin and is 24 longer.
  MuiSetArrowsState(id, 0, 0);
  MuiScrollbarSetPosDouble(id, 100, 0, 0, 0);
  EXPECT_EQ(104 + 124, MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]));
}

// A box no wider than thumb, margins and arrows has no track: every pointer position answers the
// minimum and the thumb sits at the track's start; nothing divides by zero or turns a NaN into an
// int.
TEST_F(MuiScrollbarTest, ATrackOfNoLengthAnswersTheMinimum) {
  for (int width : {52, 40, 10, 0}) {
    SCOPED_TRACE(width);
    MuiRemoveAllBoxes();
    const int id = MuiAddNewScreenBox(100, 100, 100 + width, 120, MuiKitCb<0>);
    MuiScrollbarSetValuesDouble(id, -5, 5, 1, 1);
    for (int x : {0, 100, 100 + width / 2, 100 + width, 639})
      EXPECT_EQ(-5.0, MuiScrollbarDoGetXPosFromScreen(id, &mui_scrollbar[id], x));
    MuiScrollbarSetPosDouble(id, 5, 0, 0, 0);
    EXPECT_EQ(100 + mouse_box[id].scrollbar_margin + 12, MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]));
    MuiKitMoveTo(100 + width / 2, 110);
    MuiKitPress();
    MuiKitMoveTo(300, 110);
    MuiKitRelease();
    EXPECT_TRUE(MuiScrollbarGetPosDouble(id) >= -5.0 && MuiScrollbarGetPosDouble(id) <= 5.0);
  }
  // Equal limits: the thumb stays at the start.
  MuiRemoveAllBoxes();
  const int id = Bar(7, 7, 0, 0);
  EXPECT_EQ(116, MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]));
  EXPECT_EQ(7.0, MuiScrollbarDoGetXPosFromScreen(id, &mui_scrollbar[id], 200));
}

TEST_F(MuiScrollbarTest, ClampsAreNanSafe) {
  int var = 0;
  const int id = Bar(-10, 10, 1, 1);
  MuiScrollbarRegisterIntVariable(id, &var, 1, 0);
  MuiScrollbarSetPosDouble(id, 5, 0, 0, 0);
  MuiScrollbarSetPosDouble(id, NAN, 0, 0, 0);
  EXPECT_EQ(-10.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(-10, var);
  // Limits that are not numbers are refused like limits out of order.
  MuiScrollbarSetValuesDouble(id, NAN, 1, 0, 0);
  MuiScrollbarSetValuesFloat(id, 0, NAN, 0, 0);
  EXPECT_EQ(-10.0, mui_scrollbar[id].min);
  EXPECT_EQ(10.0, mui_scrollbar[id].max);
  // A position that no double limit can hold still maps to a thumb inside the track.
  MuiScrollbarSetValuesDouble(id, -1e308, 1e308, 0, 0);
  MuiScrollbarSetPosDouble(id, 1e308, 0, 0, 0);
  const int x = MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]);
  EXPECT_TRUE(x >= 116 && x <= 216) << x;
  EXPECT_EQ(INT_MAX, MuiScrollbarGetPos(id));
}

TEST_F(MuiScrollbarTest, SetValuesFormsAndTheirDefaults) {
  const int id = MuiAddNewScreenBox(kX1, kY1, kX2, kY2, MuiKitCb<0>);
  struct Case {
    const char* name;
    void (*set)(int);
    double jump, step;
  };
  const Case cases[] = {
      {"double, jump -1 kept", [](int i) { MuiScrollbarSetValuesDouble(i, 0, 50, -1, 0); }, -1, 0.5},
      {"float, jump -1 defaulted", [](int i) { MuiScrollbarSetValuesFloat(i, 0, 50, -1, 0); }, 5, 0.5},
      {"int", [](int i) { MuiScrollbarSetValues(i, 0, 50, 0, 0); }, 5, 0.5},
      {"long, integer division", [](int i) { MuiScrollbarSetValuesLong(i, 0, 50, 0, 0); }, 5, 0},
      {"long, span beyond 32 bits", [](int i) { MuiScrollbarSetValuesLong(i, INT32_MIN, INT32_MAX, 0, 0); },
       429496729, 42949672},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    mui_scrollbar[id].pos = 33;
    k.set(id);
    EXPECT_EQ(MUI_TYPE_SCROLLBAR, mouse_box[id].type);
    EXPECT_EQ(1, mouse_box[id].left_arrow);
    EXPECT_EQ(1, mouse_box[id].right_arrow);
    EXPECT_DOUBLE_EQ(k.jump, mui_scrollbar[id].jump);
    EXPECT_DOUBLE_EQ(k.step, mui_scrollbar[id].step);
    EXPECT_EQ(mui_scrollbar[id].min, mui_scrollbar[id].pos);
  }
  // Limits out of order change nothing (the double form still makes the box a scroll bar).
  MuiScrollbarSetValuesDouble(id, 0, 100, 10, 1);
  MuiScrollbarSetValuesLong(id, 9, 1, 0, 0);
  MuiScrollbarSetValuesFloat(id, 9, 1, 0, 0);
  MuiScrollbarSetValuesDouble(id, 9, 1, 0, 0);
  EXPECT_EQ(100.0, mui_scrollbar[id].max);
  const int other = MuiAddNewScreenBox(0, 0, 50, 50, nullptr);
  MuiScrollbarSetValuesFloat(other, 9, 1, 0, 0);
  EXPECT_EQ(MUI_TYPE_BUTTON, mouse_box[other].type);
}

// The arrows never move a position less than one step from its end; a track press does, and a
// jump at an end still reports and re-arms the repeat.
TEST_F(MuiScrollbarTest, ArrowsAndTrackJumps) {
  const int id = Bar();
  MuiScrollbarSetPosDouble(id, 99.5, 0, 0, 0);
  MuiKitMoveTo(kRightArrowX, kMidY);
  MuiKitClearRecords();
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(99.5, MuiScrollbarGetPosDouble(id));
  EXPECT_TRUE(MuiKitCalls().empty());

  MuiKitMoveTo(239, kMidY);  // the thumb is at 215..238: the track right of it
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(100.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());

  MuiKitClearRecords();
  MuiScrollbarJump(id, 1);
  Hold(760);
  MuiClearPressRepeatDetails();
  EXPECT_EQ(Calls({"cb0:0", "cb0:0"}), MuiKitCalls());
  MuiKitClearRecords();
  MuiKitMoveTo(kRightArrowX, kMidY);
  MuiKitPress();
  Hold(800);
  MuiKitRelease();
  EXPECT_TRUE(MuiKitCalls().empty());

  MuiKitMoveTo(kLeftArrowX, kMidY);
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(99.0, MuiScrollbarGetPosDouble(id));
  MuiKitMoveTo(120, kMidY);  // the track left of the thumb
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(89.0, MuiScrollbarGetPosDouble(id));
}

// A held arrow or track press fires at the press and then every 750 ms (strictly after). The bar
// arms the repeat with only the two-int callback, so a bar without a callback of its own held for
// two seconds calls no null pointer either.
TEST_F(MuiScrollbarTest, AHeldArrowOrTrackRepeats) {
  struct Case {
    const char* name;
    int x;
    void (*cb)(char);
    std::vector<double> positions;
  };
  const Case cases[] = {
      {"right arrow", kRightArrowX, MuiKitCb<0>, {51, 52, 53}},
      {"left arrow", kLeftArrowX, MuiKitCb<0>, {49, 48, 47}},
      {"track right", 235, MuiKitCb<0>, {60, 70, 80}},
      {"track left", 120, MuiKitCb<0>, {40, 30, 20}},
      {"right arrow, no callback", kRightArrowX, nullptr, {51, 52, 53}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    MuiRemoveAllBoxes();
    const int id = Bar(0, 100, 10, 1, k.cb);
    MuiScrollbarSetPosDouble(id, 50, 0, 0, 0);
    MuiKitMoveTo(k.x, kMidY);
    MuiKitClearRecords();
    const unsigned start = MuiKitNow();
    std::vector<double> positions;
    std::vector<unsigned> times;
    MuiKitPress();
    positions.push_back(MuiScrollbarGetPosDouble(id));
    times.push_back(0);
    for (int t = 0; t < 2000; t++) {
      const double before = MuiScrollbarGetPosDouble(id);
      MuiKitAdvance(1);
      MuiTick();
      if (MuiScrollbarGetPosDouble(id) != before) {
        positions.push_back(MuiScrollbarGetPosDouble(id));
        times.push_back(MuiKitNow() - start);
      }
    }
    MuiKitRelease();
    EXPECT_EQ(k.positions, positions);
    EXPECT_EQ(std::vector<unsigned>({0, 751, 1502}), times);
    EXPECT_EQ(k.cb ? 3u : 0u, MuiKitCalls().size());
    Hold(1000);
    EXPECT_EQ(k.positions.back(), MuiScrollbarGetPosDouble(id));
  }
}

// A callback that builds another screen stops the handler: the repeat is not armed on the new
// screen's box with the same id.
void RebuildScreen(char) {
  MuiKitRecord("rebuild", 0);
  MuiRemoveAllBoxes();
  const int id = MuiAddNewScreenBox(kX1, kY1, kX2, kY2, MuiKitCb<1>);
  MuiScrollbarSetValuesDouble(id, 0, 100, 10, 1);
}

TEST_F(MuiScrollbarTest, ARebuildingCallbackStopsTheRepeat) {
  Bar(0, 100, 10, 1, RebuildScreen);
  MuiKitMoveTo(kRightArrowX, kMidY);
  MuiKitPress();
  Hold(2000);
  MuiKitRelease();
  EXPECT_EQ(Calls({"rebuild:0"}), MuiKitCalls());
  EXPECT_EQ(0.0, MuiScrollbarGetPosDouble(0));
}

// Keys move by jumps and steps and never arm the repeat; the wheel is not a scroll bar's.
TEST_F(MuiScrollbarTest, KeysAndWheel) {
  const int id = Bar();
  struct Case {
    int key;
    double pos;
  };
  const Case cases[] = {{COM_KEY_UP, 40},        {COM_KEY_PAGE_UP, 40}, {COM_KEY_DOWN, 60},
                        {COM_KEY_PAGE_DOWN, 60}, {COM_KEY_LEFT, 49},    {COM_KEY_RIGHT, 51},
                        {COM_KEY_RETURN, 50}};
  MuiKitMoveTo(190, kMidY);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.key);
    MuiScrollbarSetPosDouble(id, 50, 0, 0, 0);
    EXPECT_EQ(1, MuiKeyDown(k.key));
    EXPECT_EQ(k.pos, MuiScrollbarGetPosDouble(id));
    Hold(1600);
    EXPECT_EQ(k.pos, MuiScrollbarGetPosDouble(id));
  }
  EXPECT_EQ(0, MuiProcessMouseWheel(120));
  EXPECT_EQ(50.0, MuiScrollbarGetPosDouble(id));
}

// A drag reports 1 at every move and 0 once at the release; the pointer past either end clamps
// the bar to that end; the variable follows at every move.
TEST_F(MuiScrollbarTest, DragsPastTheEnds) {
  int var = -1;
  const int id = Bar();
  MuiScrollbarRegisterIntVariable(id, &var, 10, 0);
  MuiScrollbarSetPosDouble(id, 50, 0, 0, 0);
  MuiKitMoveTo(170, kMidY);  // the thumb is 166..189, grabbed 8 left of its centre
  MuiKitClearRecords();
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  EXPECT_TRUE(MuiKitCalls().empty());
  MuiKitMoveTo(196, kMidY);
  EXPECT_EQ(76.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(8, var);  // 7.6 rounds up
  MuiKitMoveTo(639, kMidY);
  EXPECT_EQ(100.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(10, var);
  MuiKitMoveTo(0, kMidY);
  EXPECT_EQ(0.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(0, var);
  MuiKitMoveTo(124, kMidY);
  EXPECT_EQ(4.0, MuiScrollbarGetPosDouble(id));
  MuiKitRelease();
  EXPECT_EQ(0, dragging);
  EXPECT_EQ(Calls({"cb0:1", "cb0:1", "cb0:1", "cb0:1", "cb0:0"}), MuiKitCalls());
  // Grabbing the thumb again without moving it reports nothing, at the press or the release.
  MuiKitClearRecords();
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  MuiKitRelease();
  EXPECT_TRUE(MuiKitCalls().empty());
}

// The bar of a screen that was rebuilt during a drag is not told of the drag's end.
TEST_F(MuiScrollbarTest, ADragEndAfterARebuildReachesNoNewBox) {
  const int id = Bar(0, 100, 10, 1, MuiKitCb<0>);
  MuiScrollbarSetPosDouble(id, 50, 0, 0, 0);
  MuiKitMoveTo(178, kMidY);
  MuiKitPress();
  MuiKitMoveTo(200, kMidY);
  MuiRemoveAllBoxes();
  Bar(0, 100, 10, 1, MuiKitCb<1>);
  MuiKitClearRecords();
  dragging = 1;  // a drag of another type ends: every type is told
  MuiShowButton(0, 0);
  MuiKitMoveTo(300, 300);
  EXPECT_TRUE(MuiKitCalls().empty());
}

// Write-back: integer kinds divide by the multiplier and round up only above one half (negatives
// truncate), bounded to 32 bits; a char is cropped to -127..127 with a log line while the bar
// keeps its position; a float is the plain quotient.
TEST_F(MuiScrollbarTest, WriteBackToEachKind) {
  struct Case {
    const char* name;
    int kind;
    double mult;
    double pos;
    double expected;
    bool logged;
  };
  const Case cases[] = {
      {"int x10 at 25", MUI_VAR_INT, 10, 25, 2, false},
      {"int x10 at 26", MUI_VAR_INT, 10, 26, 3, false},
      {"int x10 at -26", MUI_VAR_INT, 10, -26, -2, false},
      {"int x10 at -27", MUI_VAR_INT, 10, -27, -2, false},
      {"int x1 at 3e10", MUI_VAR_INT, 1, 3e10, INT32_MAX, false},
      {"int x1 at -3e10", MUI_VAR_INT, 1, -3e10, INT32_MIN, false},
      {"long x10 at 25", MUI_VAR_LONG, 10, 25, 2, false},
      {"long x10 at 25.1", MUI_VAR_LONG, 10, 25.1, 3, false},
      {"long x1 at -3e10", MUI_VAR_LONG, 1, -3e10, INT32_MIN, false},
      {"long x1 at 1e300", MUI_VAR_LONG, 1, 1e300, INT32_MAX, false},
      {"char at 100.6", MUI_VAR_CHAR, 1, 100.6, 101, false},
      {"char at 200", MUI_VAR_CHAR, 1, 200, 127, true},
      {"char at -200", MUI_VAR_CHAR, 1, -200, -127, true},
      {"float x4 at 3", MUI_VAR_FLOAT, 4, 3, 0.75, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    MuiRemoveAllBoxes();
    MuiKitClearLog();
    const int id = Bar(-1e301, 1e301, 0, 0);
    int i = 0;
    int32_t l = 0;
    char c = 0;
    float f = 0;
    switch (k.kind) {
      case MUI_VAR_INT: MuiScrollbarRegisterIntVariable(id, &i, (int)k.mult, 0); break;
      case MUI_VAR_LONG: MuiScrollbarRegisterLongVariable(id, &l, (int32_t)k.mult, 0); break;
      case MUI_VAR_CHAR: MuiScrollbarRegisterCharVariable(id, &c, 0); break;
      case MUI_VAR_FLOAT: MuiScrollbarRegisterFloatVariable(id, &f, (float)k.mult, 0); break;
    }
    MuiScrollbarSetPosDouble(id, k.pos, 0, 0, 0);
    EXPECT_EQ(k.pos, MuiScrollbarGetPosDouble(id));
    switch (k.kind) {
      case MUI_VAR_INT: EXPECT_EQ((int)k.expected, i); break;
      case MUI_VAR_LONG: EXPECT_EQ((int32_t)k.expected, l); break;
      case MUI_VAR_CHAR: EXPECT_EQ((int)k.expected, (int)c); break;
      case MUI_VAR_FLOAT: EXPECT_FLOAT_EQ((float)k.expected, f); break;
    }
    EXPECT_EQ(k.logged, MuiKitLogHas("extends char scrollbar - cropping"));
  }
}

// Registering moves the bar to the variable times its multiplier (and writes the clamped value
// back); a null variable unregisters and nothing is read or written through it afterwards.
TEST_F(MuiScrollbarTest, RegisteringReadsTheVariable) {
  const int id = Bar(0, 100, 10, 1);
  int i = 7;
  EXPECT_EQ(1, MuiScrollbarRegisterIntVariable(id, &i, 10, 1));
  EXPECT_EQ(70.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  i = 20;  // 200 is past the maximum: the bar and the variable are clamped
  MuiScrollbarUpdateFromRegisteredVariable(id, 0);
  EXPECT_EQ(100.0, MuiScrollbarGetPosDouble(id));
  EXPECT_EQ(10, i);

  int32_t l = 4;
  MuiScrollbarRegisterLongVariable(id, &l, 5, 0);
  EXPECT_EQ(20.0, MuiScrollbarGetPosDouble(id));
  char c = -3;
  MuiScrollbarSetValuesDouble(id, -50, 50, 0, 0);
  MuiScrollbarRegisterCharVariable(id, &c, 0);
  EXPECT_EQ(-3.0, MuiScrollbarGetPosDouble(id));
  float f = 0.25f;
  MuiScrollbarRegisterFloatVariable(id, &f, 100, 0);
  EXPECT_EQ(25.0, MuiScrollbarGetPosDouble(id));

  EXPECT_EQ(1, MuiScrollbarRegisterFloatVariable(id, nullptr, 1, 0));
  EXPECT_EQ(MUI_VAR_NONE, mouse_box[id].registered_kind);
  MuiScrollbarUpdateFromRegisteredVariable(id, 0);
  MuiScrollbarSetPosDouble(id, 40, 0, 0, 0);
  EXPECT_EQ(0.25f, f);

  // Only scroll bars take the int, long and char forms; a zero multiplier is refused.
  const int button = MuiAddNewScreenBox(0, 0, 50, 50, nullptr);
  MuiKitClearLog();
  EXPECT_EQ(0, MuiScrollbarRegisterIntVariable(button, &i, 1, 0));
  EXPECT_TRUE(MuiKitLogHas("ID: 1 - Invalid type"));
  EXPECT_EQ(0, MuiScrollbarRegisterIntVariable(id, &i, 0, 0));
  EXPECT_TRUE(MuiKitLogHas("ID: 0 - 0 val passed as mult"));
}

// The value text: the whole text, or after a kept prefix with a blank and square brackets; the
// prefix survives later position changes; places above 3 log and print without decimals.
TEST_F(MuiScrollbarTest, AutoText) {
  const int id = Bar(0, 100, 10, 1);
  MuiSetBothTexts(id, "Size", "second");
  MuiScrollbarSetPosDouble(id, 12, 0, 0, 0);
  MuiScrollbarSetAutoTextFloat(id, 1, 1, 1, 1.0f);
  EXPECT_STREQ("Size [12.0]", mouse_box[id].text[0]);
  EXPECT_STREQ("", mouse_box[id].text[1]);
  MuiScrollbarSetPosDouble(id, 99, 0, 0, 0);
  EXPECT_STREQ("Size [99.0]", mouse_box[id].text[0]);

  struct Case {
    char places;
    float mult;
    const char* text;
  };
  for (const Case& k : {Case{0, 1, "99"}, Case{2, 1, "99.00"}, Case{3, 0.5f, "49.500"}, Case{1, 0, "99.0"},
                        Case{7, 1, "99"}}) {
    SCOPED_TRACE(k.text);
    MuiScrollbarSetAutoTextFloat(id, 1, k.places, 0, k.mult);
    EXPECT_STREQ(k.text, mouse_box[id].text[0]);
  }
  EXPECT_TRUE(MuiKitLogHas("Decimal places=7 not supported"));
  MuiScrollbarSetAutoTextFloat(id, 0, 1, 0, 1);
  MuiScrollbarSetPosDouble(id, 5, 0, 0, 0);
  EXPECT_STREQ("99", mouse_box[id].text[0]);
}

// A prefix that fills the text, or a text shortened below its prefix later, still gets a bounded
// value text right after what is there.
TEST_F(MuiScrollbarTest, AutoTextIsBoundedAfterThePrefix) {
  const int id = Bar(0, 100, 10, 1);
  const std::string full(MUI_TEXT_LEN - 1, 'p');
  MuiSetText(id, full.c_str());
  MuiScrollbarSetAutoTextFloat(id, 1, 3, 1, 1.0f);
  EXPECT_EQ(full, mouse_box[id].text[0]);
  MuiSetText(id, std::string(505, 'q').c_str());
  MuiScrollbarSetPosDouble(id, 42, 0, 0, 0);
  EXPECT_EQ(std::string(505, 'q') + " [42.0", mouse_box[id].text[0]);

  MuiSetText(id, "Zoom");
  MuiScrollbarSetAutoTextFloat(id, 1, 0, 1, 1.0f);
  MuiSetText(id, "Z");
  MuiScrollbarSetPosDouble(id, 43, 0, 0, 0);
  EXPECT_STREQ("Z [43]", mouse_box[id].text[0]);
}

TEST_F(MuiScrollbarTest, IdsAndTypesAreChecked) {
  const int id = Bar();
  const int button = MuiAddNewScreenBox(0, 0, 50, 50, nullptr);
  MuiKitClearLog();
  for (int bad : {-1, 2, MUI_SCRATCH_BOX, MUI_MAX_BOXES, INT_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(-1.0, MuiScrollbarGetPosDouble(bad));
    EXPECT_EQ(-1.0, MuiVScrollbarGetPosDouble(bad));
    MuiScrollbarSetPosDouble(bad, 1, 0, 0, 1);
    MuiScrollbarJump(bad, 1);
    MuiScrollbarHandleArrowPress(bad, 1);
    MuiScrollbarHandlePress(bad, 150);
    MuiScrollbarIncludeStandardButton(bad);
    MuiVScrollbarSetValuesDouble(bad, 0, 1, 0, 0);
    MuiVScrollbarSetPosDouble(bad, 1);
    MuiVScrollbarIncludeStandardButton(bad);
    EXPECT_EQ(0, MuiScrollbarGetScreenXPos(bad, nullptr));
    EXPECT_EQ(0, MuiVScrollbarGetScreenYPos(bad, nullptr));
  }
  EXPECT_EQ(-1.0, MuiScrollbarGetPosDouble(button));
  MuiScrollbarSetPosDouble(button, 1, 0, 0, 1);
  EXPECT_TRUE(MuiKitLogHas("Not a scrollbar [1]"));
  EXPECT_TRUE(MuiKitCalls().empty());
  EXPECT_EQ(0.0, MuiScrollbarGetPosDouble(id));
}

// The vertical bar: the same mapping along y, stored jump and step without defaults, a callback
// with -1 on a change only, no text.
TEST_F(MuiScrollbarTest, VerticalBar) {
  // 156 high: y margin 4, thumb 12 high, arrows 12: the track starts at y1 + 16, is 156 - 12 - 8 -
  // 24 = 112 long; on 0..112 the position under y is y - 6 - 116.
  const int id = MuiAddNewScreenBox(100, 100, 120, 256, MuiKitCb<0>);
  MuiVScrollbarSetValuesDouble(id, 0, 112, 0, 0);
  EXPECT_EQ(MUI_TYPE_VSCROLLBAR, mouse_box[id].type);
  EXPECT_EQ(0.0, mui_vscrollbar[id].jump);
  MuiVScrollbarSetValues(id, 0, 112, 10, 1);
  EXPECT_EQ(4, mouse_box[id].y_margin);
  for (int pos : {0, 56, 112}) {
    MuiVScrollbarSetPosDouble(id, pos);
    EXPECT_EQ(116 + pos, MuiVScrollbarGetScreenYPos(id, nullptr));
    EXPECT_EQ((double)pos, MuiVScrollbarGetYPosFromScreen(id, nullptr, 122 + pos));
  }
  float f = 0;
  MuiVScrollbarRegisterFloatVariable(id, &f, 2);
  EXPECT_EQ(0.0, MuiVScrollbarGetPosDouble(id));
  MuiKitClearRecords();
  MuiVScrollbarSetPosDouble(id, 0);
  EXPECT_TRUE(MuiKitCalls().empty());
  MuiKitMoveTo(110, 200);  // the track below the thumb
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(10.0, MuiVScrollbarGetPosDouble(id));
  EXPECT_EQ(5.0f, f);
  MuiKeyDown(COM_KEY_RIGHT);
  EXPECT_EQ(11.0, MuiVScrollbarGetPosDouble(id));
  MuiKeyDown(COM_KEY_UP);
  EXPECT_EQ(1.0, MuiVScrollbarGetPosDouble(id));
  EXPECT_EQ(Calls({"cb0:-1", "cb0:-1", "cb0:-1"}), MuiKitCalls());
  // A drag of the thumb past the bottom.
  MuiKitMoveTo(110, 123);
  MuiKitPress();
  EXPECT_EQ(1, dragging);
  MuiKitMoveTo(110, 479);
  MuiKitRelease();
  EXPECT_EQ(112.0, MuiVScrollbarGetPosDouble(id));
  EXPECT_EQ(56.0f, f);
}

}  // namespace
