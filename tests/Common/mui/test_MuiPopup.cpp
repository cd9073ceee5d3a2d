// Popups: result codes of every kind (buttons, Escape, time-out, closed by code), the layout of
// the eight boxes, refusals, and the faults a popup must not leave behind (half-started popups,
// a dark and dead screen after the table is emptied, edits left running, copies past the buffer).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ComGlMiscModes.h"
#include "MuiCheckbox.h"
#include "MuiEntry.h"
#include "MuiInput.h"
#include "MuiPopup.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;

struct Rect {
  int x1, y1, x2, y2;
  bool operator==(const Rect& o) const { return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2; }
};
std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.x1 << "," << r.y1 << "," << r.x2 << "," << r.y2 << ")";
}
int CountInLog(const std::string& text) {
  const std::string log = MuiKitLog();
  int n = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) n++;
  return n;
}
Rect Dims(int id) {
  Rect r{};
  MuiGetDimensions(id, &r.x1, &r.y1, &r.x2, &r.y2);
  return r;
}

class MuiPopupTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    // A screen of two boxes under every popup.
    screen_button_ = MuiAddNewScreenBox(10, 10, 100, 40, MuiKitCb<9>);
    MuiAddNewScreenBox(10, 50, 100, 80, nullptr);
    MuiKitClearRecords();
    MuiKitClearLog();
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    MuiKitTest::TearDown();
  }
  // Starts a popup of the given kind through its starter.
  void Start(char kind, float seconds = 0.0f, const char* title = "TITLE", const char* text = "Hello") {
    switch (kind) {
      case 0: MuiPopupMessage(title, text, seconds, MuiKitCb<0>); break;
      case 1: MuiPopupOkCancel(title, text, seconds, MuiKitCb<0>); break;
      case 2: MuiPopupYesNo(title, text, seconds, MuiKitCb<0>); break;
      case 3: MuiPopupYesNoCancel(title, text, seconds, MuiKitCb<0>); break;
      case 4: MuiPopupGetText(title, text, buffer_, 63, MuiKitCb<0>); break;
      case 5: MuiPopupNotice(title, text, seconds, MuiKitCb<0>); break;
      case 6: MuiPopupCancel(title, text, seconds, MuiKitCb<0>); break;
      case 7: MuiPopupMessageWithShowAgain(title, text, &show_again_, seconds, MuiKitCb<0>); break;
    }
    MuiKitClearRecords();
  }
  // Presses a popup button the way a release over it does: its own callback with 0.
  void Button(int id) {
    ASSERT_TRUE(MuiIsButtonShown(id)) << id;
    mouse_box[id].callback(0);
  }
  char buffer_[64] = "";
  char show_again_ = 1;
  int screen_button_ = -1;
};

TEST_F(MuiPopupTest, EveryButtonAnswersItsResult) {
  struct Case {
    char kind;
    int* button;
    const char* label;
    const char* call;
  } cases[] = {
      {0, &muiMuiPopupButton2, "OK", "cb0:1"},     {1, &muiMuiPopupButton1, "OK", "cb0:1"},
      {1, &muiMuiPopupButton3, "CANCEL", "cb0:3"}, {2, &muiMuiPopupButton1, "YES", "cb0:1"},
      {2, &muiMuiPopupButton3, "NO", "cb0:2"},     {3, &muiMuiPopupButton1, "YES", "cb0:1"},
      {3, &muiMuiPopupButton2, "NO", "cb0:2"},     {3, &muiMuiPopupButton3, "CANCEL", "cb0:3"},
      {4, &muiMuiPopupButton2, "OK", "cb0:1"},     {6, &muiMuiPopupButton2, "CANCEL", "cb0:3"},
      {7, &muiMuiPopupButton2, "OK", "cb0:1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("kind ") + std::to_string(c.kind) + " " + c.label);
    Start(c.kind);
    ASSERT_TRUE(MuiPopupIsOn());
    EXPECT_STREQ(c.label, MuiGetText(*c.button));
    Button(*c.button);
    EXPECT_FALSE(MuiPopupIsOn());
    EXPECT_EQ(2, num_mouse_boxes);  // the popup's boxes are gone, the screen's stay
    EXPECT_EQ((Calls{c.call}), MuiKitCalls());
  }
}

TEST_F(MuiPopupTest, ShownButtonsPerKind) {
  // Which of the three buttons, the entry and the check box each kind shows.
  const char* expected[8] = {"01000", "10100", "10100", "11100", "01010", "00000", "01000", "01001"};
  for (char kind = 0; kind < 8; kind++) {
    Start(kind, kind == 5 ? 2.0f : 0.0f);
    std::string shown;
    for (int id : {muiMuiPopupButton1, muiMuiPopupButton2, muiMuiPopupButton3, muiMuiPopupGetText,
                   muiMuiPopupShowAgain})
      shown += MuiIsButtonShown(id) ? '1' : '0';
    EXPECT_EQ(expected[(int)kind], shown) << "kind " << (int)kind;
    MuiPopupClose(0);
  }
}

TEST_F(MuiPopupTest, TimeOutGivesFourOnFrameTimeEvenOverAButton) {
  for (char kind = 0; kind < 8; kind++) {
    if (kind == 4) continue;  // the text popup has no time-out
    SCOPED_TRACE(kind);
    Start(kind, 3.5f);
    // The pointer rests on a shown button of the popup.
    const int b = MuiIsButtonShown(muiMuiPopupButton2) ? muiMuiPopupButton2 : muiMuiPopupButton1;
    int cx = 0, cy = 0;
    MuiGetBoxCenter(b, &cx, &cy);
    MuiKitMoveTo(cx, cy);
    MuiKitAdvance(3499);
    EXPECT_EQ(1, MuiPopupTick());
    EXPECT_TRUE(MuiPopupIsOn());
    MuiKitAdvance(1);
    MuiTick();  // the layer's tick runs the popup's first
    EXPECT_FALSE(MuiPopupIsOn());
    EXPECT_EQ((Calls{"cb0:4"}), MuiKitCalls());
    MuiKitClearRecords();
  }
  // Without a time-out the tick lets the rest of the frame run.
  Start(0);
  EXPECT_EQ(0, MuiPopupTick());
}

TEST_F(MuiPopupTest, TheTimeOutSurvivesTheClockWrap) {
  MuiKitSetTime(0xFFFFFF00u);
  Start(0, 1.0f);
  MuiKitAdvance(999);
  MuiPopupTick();
  EXPECT_TRUE(MuiPopupIsOn());
  MuiKitAdvance(1);
  MuiPopupTick();
  EXPECT_EQ((Calls{"cb0:4"}), MuiKitCalls());
}

TEST_F(MuiPopupTest, ClosedByCode) {
  Start(2);
  MuiPopupClose(1);
  EXPECT_EQ((Calls{"cb0:5"}), MuiKitCalls());
  Start(2);
  MuiPopupClose(0);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_TRUE(MuiKitCalls().empty());
  MuiPopupClose(1);
  EXPECT_TRUE(MuiKitLogHas("No info box being displayed"));
  MuiPopupUpdateTexts("a", "b");
  EXPECT_EQ(2, CountInLog("No info box being displayed"));
}

TEST_F(MuiPopupTest, EscapePerKind) {
  struct Case {
    char kind;
    float seconds;
    const char* call;  // nullptr: Escape does nothing
  } cases[] = {{0, 0, "cb0:1"},       {1, 0, "cb0:3"}, {2, 0, "cb0:2"}, {3, 0, nullptr},
               {4, 0, "cb0:3"},       {5, 0, "cb0:5"}, {5, 9, nullptr}, {6, 0, "cb0:3"},
               {7, 0, "cb0:1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("kind ") + std::to_string(c.kind));
    Start(c.kind, c.seconds);
    MuiKitAdvance(1000);  // past the Escape guard
    MuiKeyDown(27);
    MuiKeyUp(27);
    if (c.call) {
      EXPECT_FALSE(MuiPopupIsOn());
      EXPECT_EQ((Calls{c.call}), MuiKitCalls());
    } else {
      EXPECT_TRUE(MuiPopupIsOn());
      EXPECT_TRUE(MuiKitCalls().empty());
      MuiPopupClose(0);
    }
    MuiKitClearRecords();
  }
}

TEST_F(MuiPopupTest, OnlyThePopupTakesInputAndAClickAnswers) {
  Start(1);
  EXPECT_EQ(0, MuiPopupProcessButton(screen_button_));
  EXPECT_EQ(1, MuiPopupProcessButton(muiMuiPopupButton1));
  // A click on the screen's button under the popup does nothing; one on "OK" answers 1.
  MuiKitClick(50, 25);
  EXPECT_TRUE(MuiKitCalls().empty());
  int cx = 0, cy = 0;
  MuiGetBoxCenter(muiMuiPopupButton1, &cx, &cy);
  MuiKitClick(cx, cy);
  EXPECT_EQ((Calls{"cb0:1"}), MuiKitCalls());
  // No highlight is left on a removed popup box.
  EXPECT_LT(MuiGetHighlighted(), num_mouse_boxes);
  EXPECT_EQ(1, MuiPopupProcessButton(screen_button_));
}

TEST_F(MuiPopupTest, Layout) {
  struct Case {
    char kind;
    const char* title;
    const char* text;
    int max_width;
    Rect main, message, button;  // button: the left one, or the middle one when alone
  } cases[] = {
      // "Hello" is 50 wide (10 per letter at the message's text size), its margins 12 at the
      // measuring width 560: the popup is 50 + 24 + 40 wide; 26 + 10 + 20 + 16 + 20 + 30 + 10 high.
      {0, "T", "Hello", 600, {263, 174, 377, 306}, {283, 230, 357, 246}, {285, 266, 355, 296}},
      // Two buttons make the popup at least 2 x 70 + 10 + 2 x 10 = 170 wide, 20 between them.
      {1, nullptr, "Hi", 600, {235, 192, 405, 288}, {298, 212, 342, 228}, {240, 248, 310, 278}},
      // Three buttons: 250 wide, the left one 10 left of the middle one.
      {3, "", "Hi", 600, {195, 192, 445, 288}, {298, 212, 342, 228}, {205, 248, 275, 278}},
      // The entry row adds 26 + 20.
      {4, "Name", "Hello", 600, {263, 151, 377, 329}, {283, 207, 357, 223}, {285, 289, 355, 319}},
      // A notice has no button row (its hidden buttons sit where the row would be).
      {5, nullptr, "Hello", 600, {263, 212, 377, 268}, {283, 232, 357, 248}, {285, 228, 355, 258}},
      // The show-again kind is at least 199 wide and has a check box row of 25 + 5.
      {7, nullptr, "Hello", 600, {220, 177, 419, 303}, {283, 197, 357, 213}, {285, 263, 355, 293}},
      // At most 200 wide: two lines of 150 and 70 (margins 4), 1.2 x 16 + 16 high.
      {0, nullptr, "aaaaaaa bbbbbbb ccccccc", 200, {221, 182, 419, 298}, {241, 202, 399, 238},
       {285, 258, 355, 288}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("kind ") + std::to_string(c.kind) + " " + c.text);
    MuiPopupSetMaxWidth(c.max_width);
    Start(c.kind, c.kind == 5 ? 1.0f : 0.0f, c.title, c.text);
    EXPECT_EQ(c.main, Dims(muiMuiPopupMain));
    EXPECT_EQ(c.message, Dims(muiMuiPopupText));
    const int b = MuiIsButtonShown(muiMuiPopupButton1) ? muiMuiPopupButton1 : muiMuiPopupButton2;
    EXPECT_EQ(c.button, Dims(b));
    const bool has_title = c.title && c.title[0];
    EXPECT_EQ(has_title, MuiIsButtonShown(muiMuiPopupTitle) != 0);
    if (has_title) {
      EXPECT_EQ((Rect{c.main.x1, c.main.y1 + 10, c.main.x2, c.main.y1 + 36}), Dims(muiMuiPopupTitle));
      EXPECT_STREQ(c.title, MuiGetText(muiMuiPopupTitle));
    }
    if (c.kind == 4) {
      EXPECT_EQ((Rect{283, 243, 357, 269}), Dims(muiMuiPopupGetText));
    }
    if (c.kind == 7) {
      EXPECT_EQ((Rect{240, 233, 399, 258}), Dims(muiMuiPopupShowAgain));
    }
    EXPECT_STREQ(c.text, MuiGetText(muiMuiPopupText));
    MuiPopupClose(0);
  }
  MuiPopupSetMaxWidth(0);
  EXPECT_EQ(600, mp_max_box_width);
}

TEST_F(MuiPopupTest, SettingsForTheNextPopupOnly) {
  MuiPopupSetPos(0, 0, 200, 100);
  MuiPopupSetButtonWidths(100.0f);
  MuiPopupOverwriteButtonTexts("Fine", nullptr, nullptr, "A label longer than twenty-nine characters");
  Start(2, 0.0f, nullptr);
  // Centred on (100, 50), 96 high, and widened to two 100-wide buttons: 2 x 100 + 10 + 20.
  EXPECT_EQ((Rect{-15, 2, 215, 98}), Dims(muiMuiPopupMain));
  EXPECT_EQ((Rect{-10, 58, 90, 88}), Dims(muiMuiPopupButton1));
  EXPECT_STREQ("YES", MuiGetText(muiMuiPopupButton1));
  EXPECT_STREQ("A label longer than twenty-ni", MuiGetText(muiMuiPopupButton3));
  MuiPopupClose(0);
  Start(1, 0.0f, nullptr, "Hi");
  EXPECT_EQ((Rect{235, 192, 405, 288}), Dims(muiMuiPopupMain));
  EXPECT_STREQ("OK", MuiGetText(muiMuiPopupButton1));
  EXPECT_STREQ("CANCEL", MuiGetText(muiMuiPopupButton3));
}

TEST_F(MuiPopupTest, WithoutAFontThePopupStillOpensAroundAnEmptyMessage) {
  MuiSetFreeTypeFont(nullptr);
  Start(1, 0.0f, nullptr);
  ASSERT_TRUE(MuiPopupIsOn());
  // Nothing measured: the buttons' minimum of 170 decides the width, the message is 0 high.
  EXPECT_EQ((Rect{235, 200, 405, 280}), Dims(muiMuiPopupMain));
  EXPECT_FALSE(MuiKitLogHas("Scale not set"));
  MuiPopupClose(0);
  MuiSetFreeTypeFont(MuiKitFont());
}

TEST_F(MuiPopupTest, TextSizesAreScaledInFloat) {
  MuiPopupSetTextSizes(0.8f, 0.7f);
  Start(0);
  int h = 0, w = 0;
  MuiGetTextSize(muiMuiPopupTitle, &h, &w);
  EXPECT_EQ(14, h);  // 20 x 0.7f is exactly 14
  EXPECT_EQ(9, w);
  MuiGetTextSize(muiMuiPopupText, &h, &w);
  EXPECT_EQ(11, h);
  EXPECT_EQ(8, w);
  MuiPopupClose(0);
  MuiPopupSetTextSizes(1.0f, 1.0f);
}

TEST_F(MuiPopupTest, RefusedStartsLeaveNoPopup) {
  struct Case {
    const char* what;
    const char* log;
  };
  const std::string msg511(511, 'm'), msg512(512, 'm');
  auto check = [&](const char* log) {
    EXPECT_TRUE(MuiKitLogHas(log)) << log;
    EXPECT_FALSE(MuiPopupIsOn()) << log;
    EXPECT_EQ(2, num_mouse_boxes) << log;
    EXPECT_EQ(1, MuiPopupProcessButton(0)) << log;
    MuiKitClearLog();
  };
  MuiPopupMessage("t", nullptr, 0, MuiKitCb<0>);
  check("No message set");
  MuiPopupMessage("t", "", 0, MuiKitCb<0>);
  check("No message set");
  MuiPopupMessage("t", msg512.c_str(), 0, MuiKitCb<0>);
  check("Message too long");
  MuiPopupMessage(msg512.c_str(), "x", 0, MuiKitCb<0>);
  check("Title too long");
  MuiPopupGetText("t", "x", nullptr, 10, MuiKitCb<0>);
  check("Invalid parameters");
  MuiPopupGetText("t", "x", buffer_, 0, MuiKitCb<0>);
  check("Invalid parameters");
  MuiPopupStart("t", "x", 8, 0, MuiKitCb<0>);
  check("Parameter error");

  // Custom positions are checked before anything is shown or appended.
  struct Pos {
    int x, y, w, h;
    char kind;
    const char* log;
  } positions[] = {{10, -1, 100, 100, 0, "Parameter error"},
                   {10, 10, -1, -1, 0, "Custom positioning not supported"},
                   {10, 10, -1, 50, 0, "Parameter error"},
                   {-1, 10, 100, 100, 0, "Parameter error"},
                   {10, 10, 300, 200, 7, "dimensions and show again not supported"}};
  for (const Pos& p : positions) {
    MuiPopupSetPos(p.x, p.y, p.w, p.h);
    Start(p.kind);
    check(p.log);
  }
  // A refused position is not kept for the next popup.
  Start(0);
  EXPECT_TRUE(MuiPopupIsOn());
  EXPECT_EQ((Rect{263, 174, 377, 306}), Dims(muiMuiPopupMain));

  // One popup at a time.
  MuiPopupMessage("t", "second", 0, MuiKitCb<1>);
  EXPECT_TRUE(MuiKitLogHas("Already a box being displayed"));
  EXPECT_STREQ("Hello", MuiGetText(muiMuiPopupText));
  MuiPopupClose(0);

  MuiPopupMessage(nullptr, msg511.c_str(), 0, MuiKitCb<0>);
  EXPECT_TRUE(MuiPopupIsOn());
}

TEST_F(MuiPopupTest, ASreenOf484BoxesTakesAPopupOneOf485DoesNot) {
  while (num_mouse_boxes < 484) MuiAddNewScreenBox(0, 0, 5, 5, nullptr);
  Start(0);
  EXPECT_TRUE(MuiPopupIsOn());
  EXPECT_EQ(492, num_mouse_boxes);
  MuiPopupClose(0);
  MuiAddNewScreenBox(0, 0, 5, 5, nullptr);
  Start(0);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_TRUE(MuiKitLogHas("Not enough mouse boxes free"));
  EXPECT_EQ(485, num_mouse_boxes);
}

TEST_F(MuiPopupTest, EmptyingTheTableDropsThePopup) {
  for (int how = 0; how < 2; how++) {
    SCOPED_TRACE(how ? "shutdown and start-up (a resize)" : "a new screen");
    Start(1, 5.0f);
    if (how) {
      MuiShutdown();
      MuiStartup();
    } else {
      MuiRemoveAllBoxes();
    }
    EXPECT_FALSE(MuiPopupIsOn());
    EXPECT_TRUE(MuiKitLogHas("Popup closed: its boxes were removed"));
    EXPECT_TRUE(MuiKitCalls().empty());
    // The new screen takes input, its time-out is gone, and the next popup opens.
    const int id = MuiAddNewScreenBox(10, 10, 100, 40, MuiKitCb<9>);
    EXPECT_EQ(1, MuiPopupProcessButton(id));
    MuiKitAdvance(6000);
    EXPECT_EQ(0, MuiPopupTick());
    EXPECT_TRUE(MuiKitCalls().empty());
    Start(0);
    EXPECT_TRUE(MuiPopupIsOn());
    MuiPopupClose(0);
    MuiKitClearLog();
  }
}

TEST_F(MuiPopupTest, ACallbackMayStartTheNextPopup) {
  static int step = 0;
  step = 0;
  MuiPopupMessage("PART 1", "one", 0, [](char r) {
    MuiKitRecord("part1", r);
    step = 1;
    MuiPopupMessage("PART 2", "two", 0, MuiKitCb<2>);
  });
  Button(muiMuiPopupButton2);
  EXPECT_EQ(1, step);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ("PART 2", MuiGetText(muiMuiPopupTitle));
  EXPECT_EQ(2 + 8, num_mouse_boxes);
  Button(muiMuiPopupButton2);
  EXPECT_EQ((Calls{"part1:1", "cb2:1"}), MuiKitCalls());
}

TEST_F(MuiPopupTest, TheTextPopupEditsTheCallersBufferWithinItsLength) {
  char buf[16];
  memset(buf, '#', sizeof(buf));
  memcpy(buf, "ab", 3);
  MuiPopupGetText("NAME", "Enter a name:", buf, 4, MuiKitCb<0>);
  ASSERT_TRUE(MuiPopupIsOn());
  // The pointer is put on the entry and editing starts with the caller's text.
  EXPECT_EQ(muiMuiPopupGetText, MuiTextEntryGetEditingBox());
  EXPECT_FALSE(MuiKitWarps().empty());
  EXPECT_STREQ("ab", MuiTextEntryGetText(muiMuiPopupGetText));
  for (char c : std::string("cdefgh")) MuiKeyDownChar(c);
  MuiKeyDown(13);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ((Calls{"cb0:1"}), MuiKitCalls());
  EXPECT_STREQ("abcd", buf);
  EXPECT_EQ('#', buf[5]);
  EXPECT_EQ(0, MuiIsEditingText());

  // Closed from code while editing: the edit buffer is copied, not the text with its cursor.
  MuiKitClearRecords();
  memcpy(buf, "x", 2);
  MuiPopupGetText("NAME", "Enter a name:", buf, 4, MuiKitCb<0>);
  MuiKeyDownChar('y');
  MuiTextEntryTick(muiMuiPopupGetText);
  MuiPopupClose(1);
  EXPECT_STREQ("xy", buf);
  EXPECT_EQ(0, MuiIsEditingText());
  EXPECT_EQ((Calls{"cb0:5"}), MuiKitCalls());
}

TEST_F(MuiPopupTest, EscapeCancelsTheTextPopupAndKeepsTheBuffer) {
  char buf[8] = "old";
  MuiPopupGetText("NAME", "Enter a name:", buf, 7, MuiKitCb<0>);
  MuiKeyDownChar('!');
  MuiKitAdvance(1000);
  MuiKeyDown(27);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ((Calls{"cb0:3"}), MuiKitCalls());
  EXPECT_STREQ("old", buf);
  // Also when the edit had already ended.
  MuiKitClearRecords();
  MuiPopupGetText("NAME", "Enter a name:", buf, 7, MuiKitCb<0>);
  MuiTextEntryTurnOffEditing(muiMuiPopupGetText, 0);
  EXPECT_TRUE(MuiPopupIsOn());
  MuiKitAdvance(1000);
  MuiKeyDown(27);
  EXPECT_EQ((Calls{"cb0:3"}), MuiKitCalls());
}

TEST_F(MuiPopupTest, APopupEndsTheScreensEdit) {
  static char var[512] = "";
  const int entry = MuiAddNewScreenBox(100, 300, 300, 330, MuiKitCb<5>);
  MuiSetType(entry, MUI_TYPE_TEXT_ENTRY);
  MuiSetArrowsState(entry, 0, 0);
  MuiTextEntryRegisterStringVariable(entry, &var, 512);
  MuiTextEntryTurnOnEditing(entry);
  MuiTextEntryHandleKeyDownChar('a');
  Start(0);
  EXPECT_EQ(0, MuiIsEditingText());
  EXPECT_STREQ("a", var);
  EXPECT_STREQ("a", MuiGetText(entry));
  EXPECT_TRUE(MuiKitCalls().empty());
  // Keys now go to the popup, not to the screen's entry.
  EXPECT_EQ(0, MuiTextEntryHandleKeyDownChar('b'));
  EXPECT_STREQ("a", var);
}

TEST_F(MuiPopupTest, TheShowAgainBoxIsBoundToTheCallersVariable) {
  show_again_ = 1;
  Start(7);
  EXPECT_EQ(MUI_TYPE_CHECKBOX, MuiGetType(muiMuiPopupShowAgain));
  EXPECT_EQ(1, MuiCheckboxGet(muiMuiPopupShowAgain));
  EXPECT_STREQ("Show this message again", MuiGetText(muiMuiPopupShowAgain));
  MuiCheckboxHandleMousePress(muiMuiPopupShowAgain, 0, 0);
  EXPECT_EQ(0, show_again_);
  EXPECT_TRUE(MuiKitCalls().empty());  // the check box has no callback of its own
  Button(muiMuiPopupButton2);
  EXPECT_EQ((Calls{"cb0:1"}), MuiKitCalls());
  // A null variable: the box still shows and flips, nothing is written.
  MuiPopupMessageWithShowAgain("t", "x", nullptr, 0, MuiKitCb<0>);
  ASSERT_TRUE(MuiPopupIsOn());
  MuiCheckboxHandleMousePress(muiMuiPopupShowAgain, 0, 0);
  EXPECT_EQ(1, MuiCheckboxGet(muiMuiPopupShowAgain));
}

TEST_F(MuiPopupTest, TranslateButtonsOnlyLogs) {
  MuiPopupTranslateButtons(0);
  EXPECT_FALSE(MuiKitLogHas("MUI_POPUP_TRANSLATE_BUTTONS"));
  MuiPopupTranslateButtons(1);
  EXPECT_TRUE(MuiKitLogHas("Project not complied with MUI_POPUP_TRANSLATE_BUTTONS flag"));
}

}  // namespace
