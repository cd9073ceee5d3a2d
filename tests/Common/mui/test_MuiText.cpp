// Menu texts measured without a window: word wrap, text limits, multi-line blocks, text box
// heights, the scale save and the drawing brackets, with a font record filled by hand.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "ComFreeType.h"
#include "Mui.h"
#include "MuiBox.h"
#include "MuiText.h"
#include "support_MuiDraw.h"
#include "support_MuiKit.h"

namespace {

class MuiTextTest : public MuiKitTest {
 protected:
  _ComFreeTypeFont& font = *MuiKitFont(10.0f, 10.0f);
  void SetUp() override {
    MuiKitTest::SetUp();
    // Every byte 10 units wide, lines 10 high, scale 1: widths are ten times the lengths.
    MuiKitFont(10.0f, 10.0f);
  }
  std::vector<std::string> Wrapped(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; i++) v.push_back(muigl_wrapped_text[i]);
    return v;
  }
};

TEST_F(MuiTextTest, WrapBreaksAtSpacesAndLineBreaks) {
  struct Case {
    const char* text;
    int max;
    std::vector<std::string> lines;
    float widest;
  } cases[] = {
      {"aaa bbb ccc", 75, {"aaa bbb", "ccc"}, 70},
      {"aaa bbb ccc", 200, {"aaa bbb ccc"}, 110},
      {"one\\ntwo", 200, {"one", "two"}, 30},             // a backslash and an n break the line
      {"a\r\nb", 200, {"a", "", "b"}, 10},                // CR LF leaves an empty line between
      {"  lead", 200, {"lead"}, 40},                      // blanks at a line start are dropped
      {"a\n", 200, {"a"}, 10},                            // no empty last line after a final break
      // A word longer than the room keeps a line of its own, drawn fitted to the room.
      {"aaa bbbbbbbbbbbbbbbbbbbb cc", 60, {"aaa", "bbbbbbbbbbbbbbbbbbbb", "cc"}, 60},
      // A question's last word keeps its mark: a line never starts with the mark alone.
      {"files by Lectrel ?", 165, {"files by", "Lectrel ?"}, 90},
      {"the end .", 80, {"the", "end ."}, 50},
      {"a ?", 25, {"a", "?"}, 10},  // with no word before the mark it takes its own line
      {"back\\slash", 200, {"back\\slash"}, 100},
      {"", 200, {}, 0},
      {"   ", 200, {}, 0},
  };
  for (const Case& c : cases) {
    float widest = -1.0f;
    int n = MuiWrapText(c.text, 0, c.max, &widest);
    ASSERT_EQ((int)c.lines.size(), n) << c.text;
    EXPECT_EQ(c.lines, Wrapped(n)) << c.text;
    EXPECT_FLOAT_EQ(c.widest, widest) << c.text;
  }
}

TEST_F(MuiTextTest, WrapKeepsTwentyLines) {
  std::string text;
  for (int i = 0; i < 25; i++) text += "line" + std::to_string(i) + "\n";
  EXPECT_EQ(20, MuiWrapText(text.c_str(), 0, 400, nullptr));
  EXPECT_STREQ("line19", muigl_wrapped_text[19]);
  // Cut by width, the 21st line is dropped the same way.
  std::string words;
  for (int i = 0; i < 30; i++) words += "w" + std::to_string(i % 10) + " ";
  EXPECT_EQ(20, MuiWrapText(words.c_str(), 0, 25, nullptr));
  EXPECT_STREQ("w9", muigl_wrapped_text[19]);
}

TEST_F(MuiTextTest, RunLongerThanALineBufferIsCut) {
  // One unbroken run of 700 bytes: the line keeps its first 511 and the next line follows.
  std::string text(700, 'x');
  text += "\nend";
  float widest = 0;
  ASSERT_EQ(2, MuiWrapText(text.c_str(), 0, 100000, &widest));
  EXPECT_EQ(std::string(MUI_TEXT_LEN - 1, 'x'), muigl_wrapped_text[0]);
  EXPECT_STREQ("end", muigl_wrapped_text[1]);
  EXPECT_FLOAT_EQ(5110.0f, widest);
  // With blanks in it, a full line is cut at its last blank: only that blank is dropped.
  std::string words;
  for (int i = 0; i < 120; i++) words += "abcd ";
  ASSERT_EQ(2, MuiWrapText(words.c_str(), 0, 100000, nullptr));
  EXPECT_EQ(509u, strlen(muigl_wrapped_text[0]));
  EXPECT_EQ(words.substr(0, 509), muigl_wrapped_text[0]);
  EXPECT_EQ(words.substr(510), muigl_wrapped_text[1]);
}

TEST_F(MuiTextTest, TextLimitsFollowArrowsTypesAndDrawTypes) {
  mui_std_dim.arrow_w = 12;
  mui_std_dim.check_w = 12;
  mui_std_dim.check_gap = 3;
  mui_std_dim.list_button_w = 12;
  struct Case {
    const char* what;
    _MuiButtonType type;
    _MuiTextDrawType draw;
    unsigned char left, right;
    int l, r;
  } cases[] = {
      {"plain, left aligned", MUI_TYPE_BUTTON, MUI_TEXT_LEFT, 0, 0, 105, 295},
      {"left arrow", MUI_TYPE_BUTTON, MUI_TEXT_LEFT, 1, 0, 120, 295},
      {"left arrow, centred: equal gaps", MUI_TYPE_BUTTON, MUI_TEXT_CENTRED, 1, 0, 120, 280},
      {"right arrow, right aligned", MUI_TYPE_BUTTON, MUI_TEXT_RIGHT, 0, 1, 105, 280},
      {"centred arrows (kind 3) take no room", MUI_TYPE_BUTTON, MUI_TEXT_LEFT, 3, 3, 105, 295},
      {"push button (kind 2) takes no room", MUI_TYPE_BUTTON, MUI_TEXT_LEFT, 2, 0, 105, 295},
      {"scroll bar, both sides", MUI_TYPE_SCROLLBAR, MUI_TEXT_LEFT, 0, 0, 120, 280},
      {"check box mark", MUI_TYPE_CHECKBOX, MUI_TEXT_LEFT, 0, 0, 105, 280},
      {"check box, multi-line centred", MUI_TYPE_CHECKBOX, MUI_TEXT_MULTI_CENTRED, 0, 0, 120, 280},
      {"multi-line left keeps its gaps", MUI_TYPE_CHECKBOX, MUI_TEXT_MULTI_LEFT, 0, 0, 105, 280},
      {"list, clear of its button", MUI_TYPE_LIST, MUI_TEXT_LEFT, 0, 0, 105, 280},
      {"list, centred: equal gaps", MUI_TYPE_LIST, MUI_TEXT_CENTRED, 0, 0, 120, 280},
  };
  for (const Case& c : cases) {
    MuiRemoveAllBoxes();
    int id = MuiAddNewScreenBox(100, 50, 300, 80, nullptr);
    ASSERT_EQ(0, id);
    mouse_box[id].type = c.type;
    mouse_box[id].draw_type = c.draw;
    mouse_box[id].left_arrow = c.left;
    mouse_box[id].right_arrow = c.right;
    mouse_box[id].text_margin = 5;
    mouse_box[id].arrow_margin = 3;
    mouse_box[id].list_margin = 3;
    int l = -1, r = -1;
    ASSERT_EQ(1, MuiGetButtonTextXLimits(id, &l, &r)) << c.what;
    EXPECT_EQ(c.l, l) << c.what;
    EXPECT_EQ(c.r, r) << c.what;
  }
  int l = 7, r = 9;
  for (int bad : {-1, 1, 500}) {
    EXPECT_EQ(0, MuiGetButtonTextXLimits(bad, &l, &r)) << bad;
    EXPECT_EQ(7, l);
    EXPECT_EQ(9, r);
  }
  EXPECT_EQ(0, MuiGetButtonTextXLimits(0, nullptr, &r));
}

// Every box text goes through one fitting rule: kept when it fits, squeezed down to half its
// width, and past that cut with "..." (a path keeps its end, the file name; other texts their start)
// and squeezed as far as the cut needs. Widths are ten units a character.
TEST_F(MuiTextTest, LinesAreFittedToTheirRoom) {
  const std::string path = "/home/reader/" + std::string(60, 'd') + "/Book.pdf";
  struct Case {
    const char* what;
    std::string text;
    float room;
    std::string drawn;
    float squeeze;
  } cases[] = {
      {"fits", "Paper: Type 10", 140, "Paper: Type 10", 1.0f},
      {"squeezed", "Paper: Type 10", 100, "Paper: Type 10", 100.0f / 140.0f},
      {"squeezed to the smallest readable", "abcdefghij", 50, "abcdefghij", 0.5f},
      // At half width 40 units hold 8 characters: "abcde" and the "...".
      {"cut, keeping the start", "abcdefghijk", 40, "abcde...", 0.5f},
      {"no blank before the dots", "abcd efghijk", 40, "abcd...", 40.0f / 70.0f},
      {"a path keeps its file name", path, 100, "...dddddddd/Book.pdf", 0.5f},
      {"no room", "abc", 0, "", 1.0f},
  };
  for (const Case& c : cases) {
    char cut[MUI_TEXT_LEN];
    float squeeze = -1.0f;
    const char* drawn = MuiTextFitLine(c.text.c_str(), c.room, cut, &squeeze);
    EXPECT_EQ(c.drawn, drawn) << c.what;
    EXPECT_NEAR(c.squeeze, squeeze, 1e-5f) << c.what;
    // Whatever is drawn lies within the room.
    EXPECT_LE(strlen(drawn) * 10.0f * squeeze, c.room + 1e-3f) << c.what;
  }
}

TEST_F(MuiTextTest, MultiLineBlockMeasuresWithoutDrawing) {
  int lines = 0;
  float first = 0, line_h = 0, widest = 0, block = 0;
  // Two lines of a 10-high font: step 12, centred in 0..100.
  ASSERT_EQ(1, MuiTextDrawMultilinedString(0, 0, 100, 100, MUI_TEXT_MULTI_CENTRED, 1, 1, 1, "aaa bbb ccc", 0, &lines,
                                           &first, &line_h, &widest, &block));
  EXPECT_EQ(2, lines);
  EXPECT_FLOAT_EQ(43.0f, first);
  EXPECT_FLOAT_EQ(10.0f, line_h);
  EXPECT_FLOAT_EQ(70.0f, widest);
  EXPECT_FLOAT_EQ(22.0f, block);
  // The line height follows the font's y scale.
  font.scale_x = 2.0f;
  font.scale_y = 2.0f;
  font.scaling_on = 1;
  ASSERT_EQ(1, MuiTextDrawMultilinedString(0, 0, 1000, 100, MUI_TEXT_MULTI_CENTRED, 1, 1, 1, "aaa", 0, &lines,
                                           &first, &line_h, &widest, &block));
  EXPECT_FLOAT_EQ(20.0f, line_h);
  EXPECT_FLOAT_EQ(60.0f, widest);
  // Nothing without text, without a font, or with no line height.
  EXPECT_EQ(0, MuiTextDrawMultilinedString(0, 0, 100, 100, MUI_TEXT_MULTI_CENTRED, 1, 1, 1, "", 0, &lines, nullptr,
                                           nullptr, nullptr, nullptr));
  EXPECT_EQ(0, lines);
  font.scale_y = 0.0f;
  EXPECT_EQ(0, MuiTextDrawMultilinedString(0, 0, 100, 100, MUI_TEXT_MULTI_CENTRED, 1, 1, 1, "a", 0, &lines, nullptr,
                                           nullptr, nullptr, nullptr));
  font.scale_y = 1.0f;
  mui_text_type = 0;
  EXPECT_EQ(0, MuiTextDrawMultilinedString(0, 0, 100, 100, MUI_TEXT_MULTI_CENTRED, 1, 1, 1, "a", 0, &lines, nullptr,
                                           nullptr, nullptr, nullptr));
}

TEST_F(MuiTextTest, MultiLineBoxLayoutByTexts) {
  // Box 100..300 x 100..200, no margins, lines 10 high (step 12): the bottom of the body.
  struct Case {
    const char* what;
    const char* text0;
    const char* text1;
    float bottom;
    char answer;
  } cases[] = {
      {"heading and body: body below the heading line", "Head", "aaa", 159.0f, 1},
      {"text 0 alone is the body", "aaa", "", 154.0f, 1},
      {"text 1 alone, one line: the box centre", "", "aaa", 155.0f, 1},
      {"text 1 alone, two lines at the centre -/+ 0.65 m", "", "aaaaaaaaaa bbbbbbbbbb", 161.5f, 1},
      {"text 1 alone, three lines as a block", "", "aaaaaaaaaaaaaaa bbbbbbbbbbbbbbb ccccccccccccccc", 166.0f, 1},
      {"no text", "", "", 0.0f, 0},
  };
  for (const Case& c : cases) {
    MuiRemoveAllBoxes();
    int id = MuiAddNewScreenBox(100, 100, 300, 200, nullptr);
    mouse_box[id].text_margin = 0;
    MuiSetButtonDrawType(id, MUI_TEXT_MULTI_CENTRED);
    MuiSetBothTexts(id, c.text0, c.text1);
    float bottom = -1.0f;
    EXPECT_EQ(c.answer, MuiTextDrawButtonsMultilinedText(id, 1, 1, 1, 1, 1, 1, 0, nullptr, &bottom)) << c.what;
    EXPECT_FLOAT_EQ(c.bottom, bottom) << c.what;
  }
  float width = 0;
  MuiTextDrawButtonsMultilinedText(0, 1, 1, 1, 1, 1, 1, 0, &width, nullptr);
  EXPECT_TRUE(MuiDrawLogged("MuiTextDrawButtonsMultilinedText", "width not supported"));
}

TEST_F(MuiTextTest, TextBoxHeightIsTheBottomOfItsBody) {
  int id = MuiAddNewScreenBox(100, 50, 300, 80, nullptr);
  mouse_box[id].text_margin = 0;
  MuiSetTextSize(id, 10, 8);  // scale 1 x 1
  MuiSetButtonDrawType(id, MUI_TEXT_MULTI_LEFT);
  MuiSetText(id, "aaa bbb ccc ddd eee fff ggg hhh iii");  // 350 wide: two lines in 200
  // Laid out in 0..480: two lines centred on 240 (first at 233, last at 245), bottom 250.
  EXPECT_EQ(250, MuiTextGetTextBoxStringsHeight(id, 0));
  EXPECT_EQ(80, mouse_box[id].y2);
  EXPECT_EQ(250, MuiTextGetTextBoxStringsHeight(id, 1));
  EXPECT_EQ(300, mouse_box[id].y2);
  EXPECT_EQ(250, mouse_box[id].h);
  EXPECT_EQ(175, mouse_box[id].cy);
  // The font's scale is left as it was.
  EXPECT_FLOAT_EQ(1.0f, font.scale_x);
  // A one-line box is not a text box.
  int label = MuiAddNewScreenBox(100, 100, 300, 120, nullptr);
  MuiSetText(label, "x");
  MuiSetTextSize(label, 10, 8);
  EXPECT_EQ(0, MuiTextGetTextBoxStringsHeight(label, 1));
  EXPECT_EQ(120, mouse_box[label].y2);
  EXPECT_TRUE(MuiDrawLogged("MuiTextGetTextBoxStringsHeight", "not a textbox"));
}

TEST_F(MuiTextTest, StringWidthUsesTheBoxScale) {
  int id = MuiAddNewScreenBox(100, 50, 300, 80, nullptr);
  MuiSetTextSize(id, 10, 16);  // x scale 2
  EXPECT_FLOAT_EQ(60.0f, MuiTextGetStringWidth(id, "abc"));
  EXPECT_FLOAT_EQ(1.0f, font.scale_x);
  // A text size never set has no scale: the width is 0, not the unscaled width.
  MuiSetTextSize(id, 10, 0);
  EXPECT_FLOAT_EQ(0.0f, MuiTextGetStringWidth(id, "abc"));
  EXPECT_FLOAT_EQ(0.0f, MuiTextGetStringWidth(-1, "abc"));
}

TEST_F(MuiTextTest, ScaleSaveAndBracketsRefuseToNest) {
  MuiTextSetOrRestoreScale(1, 3.0f, 4.0f);
  EXPECT_FLOAT_EQ(3.0f, font.scale_x);
  MuiTextSetOrRestoreScale(1, 5.0f, 5.0f);
  EXPECT_FLOAT_EQ(3.0f, font.scale_x);
  MuiTextSetOrRestoreScale(0, 0, 0);
  EXPECT_FLOAT_EQ(1.0f, font.scale_x);
  EXPECT_FLOAT_EQ(1.0f, font.scale_y);
  MuiTextSetOrRestoreScale(0, 0, 0);
  EXPECT_TRUE(MuiDrawLogged("MuiTextSetOrRestoreScale", "Scale already set"));
  EXPECT_TRUE(MuiDrawLogged("MuiTextSetOrRestoreScale", "Scale not set"));

  // Without a font the brackets touch no drawing state, so they can be checked here.
  mui_text_type = 0;
  int id = MuiAddNewScreenBox(100, 50, 300, 80, nullptr);
  MuiDrawText(id);
  MuiTextPrepareToDrawTexts(&mouse_box[id]);
  MuiTextPrepareToDrawTexts(&mouse_box[id]);
  MuiTextRestoreAfterDrawingTexts();
  MuiTextRestoreAfterDrawingTexts();
  EXPECT_TRUE(MuiDrawLogged("MuiDrawText", "Not prepared for drawing texts"));
  EXPECT_TRUE(MuiDrawLogged("MuiTextPrepareToDrawTexts", "Already prepared"));
  EXPECT_TRUE(MuiDrawLogged("MuiTextRestoreAfterDrawingTexts", "Not prepared"));
}

}  // namespace
