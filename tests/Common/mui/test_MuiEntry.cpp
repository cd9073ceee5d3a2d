// Text entry: editing keys, the blinking cursor, Latin-1 letters, bounds of every copy, and the
// write-back into the box and a registered string.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MuiEntry.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;

class MuiEntryTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    id_ = MuiAddNewScreenBox(100, 100, 300, 130, MuiKitCb<0>);
    MuiSetType(id_, MUI_TYPE_TEXT_ENTRY);
    MuiSetArrowsState(id_, 0, 0);
  }
  // Starts editing and clears what the start recorded.
  void Edit() {
    MuiTextEntryTurnOnEditing(id_);
    MuiKitClearRecords();
  }
  void Type(const std::string& s) {
    for (char c : s) MuiTextEntryHandleKeyDownChar(c);
  }
  std::string Buffer() { return MuiTextEntryGetText(id_); }
  int id_ = -1;
};

TEST_F(MuiEntryTest, TypingInsertsAtTheCursorAndTheKeysEdit) {
  Edit();
  Type("acd");
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(244));  // left
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(244));
  Type("b");
  EXPECT_EQ("abcd", Buffer());
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(8));  // delete at the cursor: "c"
  EXPECT_EQ("abd", Buffer());
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(127));  // delete left: "b"
  EXPECT_EQ("ad", Buffer());
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(245));
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(245));  // already at the end
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(8));    // nothing at the cursor
  EXPECT_EQ("ad", Buffer());
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(246));
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(247));
  EXPECT_EQ(0, MuiTextEntryHandleKeyDown(9));  // Tab goes on to the layer
  // Sound 3 for each typed character, removal and cursor move; none for the rest.
  EXPECT_EQ((std::vector<int>{3, 3, 3, 3, 3, 3, 3, 3, 3, 3}), MuiKitSounds());
  EXPECT_TRUE(MuiKitCalls().empty());
}

TEST_F(MuiEntryTest, EnterAndEscapeEndEditingAndWriteBack) {
  static char var[512] = "";
  MuiTextEntryRegisterStringVariable(id_, &var, 512);
  Edit();
  Type("abc");
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(27));
  EXPECT_EQ(-1, MuiTextEntryGetEditingBox());
  EXPECT_STREQ("abc", MuiGetText(id_));
  EXPECT_STREQ("abc", var);
  EXPECT_EQ((Calls{"cb0:0"}), MuiKitCalls());

  Edit();
  Type("d");
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(13));
  EXPECT_STREQ("abcd", var);
  EXPECT_EQ((Calls{"cb0:1"}), MuiKitCalls());
  // Not editing: keys are not taken, except Return on a highlighted entry, which starts editing.
  EXPECT_EQ(0, MuiTextEntryHandleKeyDownChar('x'));
  EXPECT_EQ(0, MuiTextEntryHandleKeyDown(27));
  box_highlighted = id_;
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(13));
  EXPECT_EQ(id_, MuiTextEntryGetEditingBox());
}

TEST_F(MuiEntryTest, FullBufferNumberOnlyAndDeleteAtStart) {
  MuiTextEntrySetLength(id_, 5);
  MuiTextEntrySetText(id_, "abcde");
  Edit();
  EXPECT_EQ(1, MuiTextEntryHandleKeyDownChar('f'));
  EXPECT_EQ("abcde", Buffer());
  EXPECT_EQ((std::vector<int>{3}), MuiKitSounds());

  MuiTextEntryHandleKeyDown(13);
  MuiTextEntrySetText(id_, "");
  MuiTextEntrySetNumberOnly(id_, 1);
  Edit();
  EXPECT_EQ(0, MuiTextEntryHandleKeyDownChar('a'));
  EXPECT_EQ(1, MuiTextEntryHandleKeyDownChar('7'));
  EXPECT_EQ("7", Buffer());

  MuiTextEntryHandleKeyDown(244);
  MuiKitClearRecords();
  EXPECT_EQ(1, MuiTextEntryHandleKeyDown(127));  // cursor at 0: nothing removed, no sound
  EXPECT_EQ("7", Buffer());
  EXPECT_TRUE(MuiKitSounds().empty());
}

TEST_F(MuiEntryTest, Latin1LettersAreTypedControlBytesAreNot) {
  Edit();
  for (int c : {0xE9, 0xFC, 0xF1, 0xFF, 0xE6, 0xA0, 0x80, 0xC0})
    EXPECT_EQ(1, MuiTextEntryHandleKeyDownChar((char)c)) << c;
  for (int c : {13, 27, 127, 9, 1, 31}) EXPECT_EQ(0, MuiTextEntryHandleKeyDownChar((char)c)) << c;
  EXPECT_EQ("\xE9\xFC\xF1\xFF\xE6\xA0\x80\xC0", Buffer());
}

TEST_F(MuiEntryTest, TheCursorBlinksEvery300Ms) {
  MuiTextEntrySetText(id_, "abc");
  Edit();
  MuiTextEntryHandleKeyDown(244);
  MuiTextEntryHandleKeyDown(244);
  // The first tick shows the cursor at once (the last blink is long past) and presses the box.
  EXPECT_EQ(1, MuiTextEntryTick(id_));
  EXPECT_STREQ("a_bc", MuiGetText(id_));
  EXPECT_EQ(1, mouse_box[id_].pressed);
  MuiKitAdvance(299);
  MuiTextEntryTick(id_);
  EXPECT_STREQ("a_bc", MuiGetText(id_));
  MuiKitAdvance(1);
  MuiTextEntryTick(id_);
  EXPECT_STREQ("a bc", MuiGetText(id_));
  // Ended: text 0 holds the text without the cursor, and the next tick reports no edit.
  MuiTextEntryHandleKeyDown(13);
  EXPECT_STREQ("abc", MuiGetText(id_));
  EXPECT_EQ(0, MuiTextEntryTick(id_));
  EXPECT_EQ(0, mouse_box[id_].pressed);
}

TEST_F(MuiEntryTest, RegisteringCutsTheBoundStringToTheLongestEntry) {
  static char var[512];
  memset(var, 'x', 300);
  var[300] = 0;
  MuiTextEntryRegisterStringVariable(id_, &var, 512);
  EXPECT_TRUE(MuiKitLogHas("Length too long: 511 (ID: " + std::to_string(id_) + ")"));
  EXPECT_EQ(255u, strlen(var));
  EXPECT_EQ(255u, strlen(MuiGetText(id_)));

  // A small declared size bounds the write-back too.
  static char small[512] = "12";
  MuiTextEntryRegisterStringVariable(id_, &small, 4);
  memset(small + 4, '#', 10);
  Edit();
  Type("3456");
  MuiTextEntryHandleKeyDown(13);
  EXPECT_STREQ("123", small);
  EXPECT_EQ('#', small[4]);
}

TEST_F(MuiEntryTest, CopiesAreBounded) {
  // A text set on an unregistered box is copied (a literal is never written to) and cut.
  const std::string long_text(300, 'L');
  MuiTextEntrySetLength(id_, 10);
  MuiTextEntrySetText(id_, long_text.c_str());
  EXPECT_EQ(std::string(10, 'L'), MuiGetText(id_));
  EXPECT_EQ(300u, long_text.size());
  MuiTextEntrySetText(id_, "a literal longer than ten");
  EXPECT_STREQ("a literal ", MuiGetText(id_));

  // The copy out needs room for the longest text and its terminator.
  char dst[16];
  memset(dst, '#', sizeof(dst));
  EXPECT_EQ(0, MuiTextEntryGetText2(id_, dst, 10));
  EXPECT_EQ(0, dst[0]);
  EXPECT_EQ('#', dst[10]);
  EXPECT_EQ(1, MuiTextEntryGetText2(id_, dst, 11));
  EXPECT_STREQ("a literal ", dst);
  EXPECT_EQ(0, MuiTextEntryGetText2(id_, nullptr, 11));
  EXPECT_EQ(0, MuiTextEntryGetText2(-1, dst, 11));

  // A negative maximum is 0, and 0 means the longest entry: nothing is cut.
  MuiTextEntrySetLength(id_, -4);
  MuiTextEntrySetText(id_, long_text.c_str());
  EXPECT_EQ(255u, strlen(MuiGetText(id_)));
  char big[300];
  EXPECT_EQ(0, MuiTextEntryGetText2(id_, big, 255));
  EXPECT_EQ(1, MuiTextEntryGetText2(id_, big, 256));
  EXPECT_EQ(255u, strlen(big));

  // While editing, the copy is the edit buffer, not text 0 with its cursor.
  MuiTextEntrySetLength(id_, 10);
  MuiTextEntrySetText(id_, "ab");
  Edit();
  MuiTextEntryTick(id_);
  EXPECT_STREQ("ab_", MuiGetText(id_));
  EXPECT_EQ(1, MuiTextEntryGetText2(id_, dst, 11));
  EXPECT_STREQ("ab", dst);
}

TEST_F(MuiEntryTest, PressesStartAndEndEditingAndOneBoxEditsAtATime) {
  static int starts = 0;
  MuiTextEntrySetStartEditingCB(id_, [] { starts++; });
  const int other = MuiAddNewScreenBox(100, 200, 300, 230, MuiKitCb<1>);
  MuiSetType(other, MUI_TYPE_TEXT_ENTRY);
  MuiSetArrowsState(other, 0, 0);

  EXPECT_EQ(1, MuiTextEntryHandleMousePress(id_, 150, 110));
  EXPECT_EQ(1, starts);
  EXPECT_EQ(id_, MuiTextEntryGetEditingBox());
  box_highlighted = id_;
  EXPECT_EQ(1, MuiTextEntryHandleMouseMove(0, 0));  // the highlight stays on the edited box
  Type("q");
  // Editing the other box ends this edit, text kept, without this box's callback.
  MuiTextEntryTurnOnEditing(other);
  EXPECT_EQ(other, MuiTextEntryGetEditingBox());
  EXPECT_STREQ("q", MuiGetText(id_));
  EXPECT_TRUE(MuiKitCalls().empty());
  EXPECT_EQ(0, MuiTextEntryHandleMouseMove(0, 0));
  // A press on the edited box ends the edit with 0.
  EXPECT_EQ(1, MuiTextEntryHandleMousePress(other, 150, 210));
  EXPECT_EQ((Calls{"cb1:0"}), MuiKitCalls());
  EXPECT_EQ(0, MuiIsEditingText());
}

TEST_F(MuiEntryTest, ReturnOnAHighlightedEntryStartsItsEditThroughTheLayer) {
  box_highlighted = id_;
  EXPECT_EQ(1, MuiKeyDown(13));
  EXPECT_EQ(id_, MuiTextEntryGetEditingBox());
  EXPECT_TRUE(MuiKitCalls().empty());  // not taken as a press of the box
  MuiKeyDownChar('z');
  EXPECT_EQ(1, MuiKeyDown(13));  // the second Return ends it and reports it
  EXPECT_EQ(0, MuiIsEditingText());
  EXPECT_STREQ("z", MuiGetText(id_));
}

TEST_F(MuiEntryTest, ANewScreenEndsTheEdit) {
  Edit();
  Type("abc");
  MuiRemoveAllBoxes();
  EXPECT_EQ(0, MuiIsEditingText());
  const int again = MuiAddNewScreenBox(100, 100, 300, 130, MuiKitCb<2>);
  ASSERT_EQ(id_, again);
  EXPECT_EQ(0, MuiTextEntryHandleKeyDownChar('x'));
  EXPECT_EQ(nullptr, MuiTextEntryGetText(-1));
  EXPECT_STREQ("", MuiTextEntryGetText(again));
}

}  // namespace
