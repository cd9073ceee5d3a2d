// The reading view's frame-rate decision, held keys, wheel, margins, battery messages, layout
// geometry and the paper formulas, over synthetic display lines and a settable clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ComBattery.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Game.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "MainTick.h"
#include "Paper.h"

namespace {

void QuietPopup(char*, char*, char) {}

struct RateCase {
  char menus, scrolling, reduce, box, progress, cursor;
  int last_move;
  char always_on;
  float blend;
  int rate;
};

class FrameRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, Decision) {
  const RateCase& c = GetParam();
  EXPECT_EQ(MainChooseFrameRate(c.menus, c.scrolling, c.reduce, c.box, c.progress, c.cursor,
                                c.last_move, c.always_on, c.blend),
            c.rate);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrameRate,
    ::testing::Values(RateCase{1, 1, 0, 1, 1, 1, 5, 0, 1, 60},      // menus on
                      RateCase{0, 1, 0, 0, 0, 0, 0, 0, 0, 1000},    // scrolling
                      RateCase{0, 1, 1, 0, 0, 0, 0, 0, 0, 60},      // scrolling, less power
                      RateCase{0, 0, 0, 0, 0, 0, 0, 0, 0, 60},      // page mode at rest
                      RateCase{0, 0, 1, 0, 0, 0, 0, 0, 0, 1},       // at rest, less power
                      RateCase{0, 0, 1, 0, 0, 0, 0, 1, 0.5f, 1},    // "Always On" bar ignores fade
                      RateCase{0, 0, 0, 1, 0, 0, 0, 0, 0, 1000},    // message box
                      RateCase{0, 0, 0, 0, 1, 0, 0, 0, 0, 1000},    // progress box
                      RateCase{0, 0, 0, 0, 0, 1, 0, 0, 0, 1000},    // cursor shown
                      RateCase{0, 0, 0, 0, 0, 0, 1234, 0, 0, 1000}, // recent move
                      RateCase{0, 0, 1, 0, 0, 0, 0, 0, 0.3f, 1000}));  // bar fading

// A book of synthetic display lines and a page of 20-unit lines between margins 10 and 470.
class ReadingView : public ::testing::Test {
 protected:
  void SetUp() override {
    ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
    MainExit();
    memset(key_down, 0, sizeof(key_down));
    config.scrolling = 0;
    config.scroll_speed = 0.2f;
    config.paragraph_spacing = 1;
    config.rotation = 0;
    line_ygap = 20;
    line_ygap2 = 10;
    empty_line_ygap = 20;
    top_margin = 10;
    bottom_margin = 470;
    lines_per_page = 24;
    scrolling_center_y_adjust = 0;
    n3d_current_time = 100000;
    main_loading_book = quit_loading_book = 0;
  }
  void TearDown() override {
    MainExit();
    memset(key_down, 0, sizeof(key_down));
  }
  void Lines(const std::vector<std::string>& texts) {
    MainExit();
    num_formatted_lines = (int)texts.size();
    formatted_line_list = static_cast<_Line*>(calloc(texts.size(), sizeof(_Line)));
    for (size_t i = 0; i < texts.size(); i++) {
      formatted_line_list[i].text = strdup(texts[i].c_str());
      formatted_line_list[i].length = (uint32_t)texts[i].size();
    }
    MainCalcTotalBookHeight();
  }
  void Book(int n) { Lines(std::vector<std::string>(n, "text")); }
};

TEST_F(ReadingView, PageKeysTurnWholePagesAndAreConsumed) {
  Book(200);
  cur_book_height = 0;
  first_line_rendered = 0;
  last_line_rendered = 22;
  key_down[247] = 2;  // Down
  MainProcessKeys();
  EXPECT_DOUBLE_EQ(cur_book_height, 23);
  EXPECT_EQ(key_down[247], 0);
  EXPECT_NE(last_moved_text_time, 0);

  first_line_rendered = 23;
  last_line_rendered = 45;
  key_down[244] = 2;  // Left: a page back fills upwards from the bottom margin
  MainProcessKeys();
  EXPECT_DOUBLE_EQ(cur_book_height, 0);

  // With Control a key moves three pages of lines.
  key_down[229] = 2;
  key_down[245] = 2;
  MainProcessKeys();
  EXPECT_DOUBLE_EQ(cur_book_height, 72);
  EXPECT_EQ(key_down[229], 2) << "Control is held, never consumed";
}

// A double click's second press reaches the reader through the double-click callback alone. On the
// progress bar it seeks like the first press; elsewhere on the page it turns one more page.
TEST_F(ReadingView, ADoubleClickOnTheProgressBarSeeksOnly) {
  Book(400);
  const char cursor = g_cursor_is_on;
  g_cursor_is_on = 1;
  config.bar_mode = 0;  // auto-hide, at the bottom
  bar_height = 10;
  cur_book_height = 0;
  MainProcessMouseMove(160, 475);  // a quarter along the bar
  EXPECT_EQ(MainProcessMousePress(0, 1), 0);
  MainProcessMousePress(0, 0);
  const double seek = cur_book_height;
  ASSERT_GT(seek, 50);
  GameMouseDoubleClickMuiOffCB(0);
  EXPECT_DOUBLE_EQ(cur_book_height, seek) << "the second press seeks to the same place";
  MainProcessMousePress(0, 0);
  EXPECT_EQ(mc_clicking_on_progress_bar, 0) << "its release ends the drag";
  EXPECT_EQ(key_down[253], 0);

  MainProcessMouseMove(320, 240);  // on the text
  GameMouseDoubleClickMuiOffCB(0);
  EXPECT_GT(cur_book_height, seek) << "a page on";
  EXPECT_EQ(key_down[253], 0);
  g_cursor_is_on = cursor;
  bar_height = 0;
}

TEST_F(ReadingView, NextPageStopsAtTheLastLine) {
  Book(30);
  cur_book_height = 7;
  first_line_rendered = 7;
  last_line_rendered = 29;
  MainAdvancePage(1);
  EXPECT_DOUBLE_EQ(cur_book_height, 7);
}

TEST_F(ReadingView, KeysAreIgnoredWhileLoading) {
  Book(100);
  cur_book_height = 0;
  last_line_rendered = 22;
  main_loading_book = 1;
  key_down[247] = 2;
  key_down[253] = 2;
  MainProcessKeys();
  MainProcessMouseWheelInput(-3);
  EXPECT_EQ(MainProcessMousePress(0, 1), 0);
  EXPECT_DOUBLE_EQ(cur_book_height, 0);
  main_loading_book = 0;
}

TEST_F(ReadingView, HoldingDownWhileScrollingBackwardsStopsAtZero) {
  Book(100);
  config.scrolling = 1;
  config.scroll_speed = -1;
  key_down[247] = 2;
  n3d_current_time = 200000;
  MainProcessKeys();  // starts the key clock
  n3d_current_time += 400;
  MainProcessKeys();
  EXPECT_NEAR(config.scroll_speed, -0.2f, 1e-4);
  n3d_current_time += 400;
  MainProcessKeys();
  EXPECT_FLOAT_EQ(config.scroll_speed, 0);
  EXPECT_EQ(key_down[247], 0) << "a second press is needed to go on";
  n3d_current_time += 400;
  MainProcessKeys();
  EXPECT_FLOAT_EQ(config.scroll_speed, 0);
}

TEST_F(ReadingView, OneLineMoveRetriesUntilTheSnapLeavesThePage) {
  std::vector<std::string> t = {"start"};
  t.insert(t.end(), 9, "");
  t.push_back("after the gap");
  t.insert(t.end(), 30, "more");
  Lines(t);
  cur_book_height = 0;
  MoveAdvanceLines(1);
  EXPECT_DOUBLE_EQ(cur_book_height, 10);
}

struct WheelCase {
  char scrolling;
  char ctrl;
  float speed_before;
  int delta;
  float speed_after;   // scrolling
  double pos_after;    // page mode, from 48
};

class Wheel : public ReadingView, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(Wheel, Table) {
  const WheelCase& c = GetParam();
  Book(300);
  config.scrolling = c.scrolling;
  config.scroll_speed = c.speed_before;
  cur_book_height = 48;
  key_down[229] = c.ctrl ? 2 : 0;
  MainProcessMouseWheelInput(c.delta);
  if (c.scrolling) {
    EXPECT_NEAR(config.scroll_speed, c.speed_after, 1e-4);
  } else {
    EXPECT_DOUBLE_EQ(cur_book_height, c.pos_after);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wheel,
    ::testing::Values(WheelCase{0, 0, 0, 1, 0, 46},        // k = 24 / 12 = 2 lines back
                      WheelCase{0, 0, 0, -3, 0, 54},
                      WheelCase{0, 1, 0, -1, 0, 54},       // Control: three times as far
                      WheelCase{1, 0, 0.5f, -2, 0.62f, 0},
                      WheelCase{1, 1, 0.5f, -1, 0.68f, 0},
                      WheelCase{1, 0, 0.3f, 10, 0, 0},     // a change of sign stops
                      WheelCase{1, 0, 99.9f, -100, 100, 0}));  // clamped

struct MarginCase {
  char key;
  float before;
  float after;
};

class Margins : public ReadingView, public ::testing::WithParamInterface<MarginCase> {};

TEST_P(Margins, TopBottomRule) {
  const MarginCase& c = GetParam();
  Book(50);
  config.top_margin = c.before;
  MainProcessCharKey(c.key);
  EXPECT_FLOAT_EQ(config.top_margin, c.after);
  if (c.before != c.after) {
    EXPECT_EQ(m_render_box, 1);
  }
  n3d_current_time += 1000;
}

INSTANTIATE_TEST_SUITE_P(Table, Margins,
                         ::testing::Values(MarginCase{'h', 0, 1}, MarginCase{'h', 1, 3},
                                           MarginCase{'h', 29, 30}, MarginCase{'h', 30, 30},
                                           MarginCase{'n', 2, 1}, MarginCase{'n', 1, 0},
                                           MarginCase{'n', 0, 0}, MarginCase{'n', 7, 5}));

TEST_F(ReadingView, MarginKeysDoNothingWhileScrolling) {
  Book(50);
  config.scrolling = 1;
  config.top_margin = 4;
  MainProcessCharKey('h');
  EXPECT_FLOAT_EQ(config.top_margin, 4);
  EXPECT_STREQ(m_render_box_str, "Not applicable when scrolling");
}

TEST_F(ReadingView, BrightnessKeysActAtMostEvery50Ms) {
  n3d_current_time += 5000;  // well after any key of another test
  config.background_brightness = 0.5f;
  MainProcessCharKey('p');
  float once = config.background_brightness;
  EXPECT_NEAR(once, 0.51f, 1e-5);
  n3d_current_time += 10;
  MainProcessCharKey('p');
  EXPECT_FLOAT_EQ(config.background_brightness, once);
  n3d_current_time += 60;
  MainProcessCharKey('o');
  EXPECT_NEAR(config.background_brightness, 0.50f, 1e-5);
  EXPECT_STREQ(m_render_box_str, "Background: 50");
}

TEST_F(ReadingView, SpaceTogglesScrollingKeepingTheTopLine) {
  Book(100);
  cur_book_height = 30;
  key_down[32] = 2;
  MainProcessKeys();
  EXPECT_EQ(config.scrolling, 1);
  EXPECT_DOUBLE_EQ(cur_book_height, 30 - (10 + 0 + 10) / 20.0);
  key_down[32] = 2;
  MainProcessKeys();
  EXPECT_EQ(config.scrolling, 0);
  EXPECT_DOUBLE_EQ(cur_book_height, 30);
}

TEST_F(ReadingView, ScrollingClampsAtTheEndsAndStops) {
  Book(100);
  config.scrolling = 1;
  config.scroll_speed = 50;
  cur_book_height = total_book_height - 1;
  n3d_current_time = 300000;
  MainTick();
  n3d_current_time += 500;
  MainTick();
  EXPECT_DOUBLE_EQ(cur_book_height, total_book_height);
  EXPECT_FLOAT_EQ(config.scroll_speed, 0);
  config.scroll_speed = -50;
  cur_book_height = -1;
  n3d_current_time += 500;
  MainTick();
  EXPECT_DOUBLE_EQ(cur_book_height, -2);
  EXPECT_FLOAT_EQ(config.scroll_speed, 0);
}

TEST_F(ReadingView, BatteryMessagesAndGauge) {
  config.battery_mode = 0;
  _ComBatteryInfo info;
  memset(&info, 0, sizeof(info));
  info.has_battery = 1;
  info.on_battery_power = 1;
  info.percent = 50;
  MainTickBattery(1, &info);
  EXPECT_EQ(show_battery, 1);
  EXPECT_FLOAT_EQ(battery_perc, 0.5f);
  m_render_box = 0;
  info.percent = 9;
  MainTickBattery(1, &info);
  EXPECT_EQ(m_render_box, 5);
  EXPECT_STREQ(m_render_box_str, "LOW BATTERY");
  m_render_box = 0;
  info.percent = 8;
  MainTickBattery(1, &info);
  EXPECT_EQ(m_render_box, 0) << "only the crossing shows the message";
  info.percent = 5;
  MainTickBattery(1, &info);
  EXPECT_STREQ(m_render_box_str, "VERY LOW BATTERY");
  m_render_box = 0;
  // No maximum capacity: no reading, not an empty battery.
  info.percent = -1;
  MainTickBattery(1, &info);
  EXPECT_EQ(show_battery, 0);
  EXPECT_EQ(m_render_box, 0);
  EXPECT_FLOAT_EQ(battery_perc, 0.05f);
  // Gauge modes: 1 shows at or below half while draining, 4 always, 5 never.
  info.percent = 40;
  info.on_battery_power = 0;
  config.battery_mode = 1;
  MainTickBattery(1, &info);
  EXPECT_EQ(show_battery, 0);
  config.battery_mode = 4;
  MainTickBattery(1, &info);
  EXPECT_EQ(show_battery, 1);
  config.battery_mode = 5;
  info.on_battery_power = 1;
  MainTickBattery(1, &info);
  EXPECT_EQ(show_battery, 0);
  m_render_box = 0;
}

TEST_F(ReadingView, FrameRateFallsTwoSecondsAfterAPageTurn) {
  Book(100);
  config.reduce_power = 0;
  cur_book_height = 0;
  last_line_rendered = 22;
  MainAdvancePage(1);
  ASSERT_NE(last_moved_text_time, 0);
  n3d_current_time += 2500;
  MainTick();
  EXPECT_EQ(last_moved_text_time, 0);
}

TEST(Layout, ScalesSurviveAMinimisedWindow) {
  int w = WIDTH, h = HEIGHT;
  WIDTH = 0;
  HEIGHT = 0;
  text_size_mult = 1.5f;
  font_orig_scale_x = 1;
  font_orig_scale_y = 1.2f;
  line_orig_ygap = 0.00001f;
  config.rotation = 1;
  MainCalcFontScales();
  EXPECT_TRUE(std::isfinite(font_scale_x));
  EXPECT_TRUE(std::isfinite(font_scale_y));
  EXPECT_FLOAT_EQ(line_ygap, 0.1f) << "a line is at least 0.1 high";
  MainCalcBarHeight();
  EXPECT_GE(bar_height, 0);
  WIDTH = w;
  HEIGHT = h;
  config.rotation = 0;
}

TEST(Layout, ProgressPercentageRoundsHalvesDown) {
  struct Case {
    float fraction;
    const char* text;
  } cases[] = {
      {0.125f, "(12 %)"}, {0.375f, "(37 %)"}, {0.126f, "(13 %)"}, {0.005f, "(0 %)"},
      {0, "(0 %)"},       {1, "(100 %)"},     {1.5f, "(100 %)"},  {-0.25f, "(0 %)"},
  };
  for (const Case& c : cases) {
    char text[32];
    MainFormatProgressPercent(c.fraction, text, sizeof(text));
    EXPECT_STREQ(text, c.text) << c.fraction;
  }
}

TEST(Layout, TextViewportLeavesOutAnAlwaysOnBar) {
  struct Case {
    char mode;
    int rotation;
    int x, y, w, h;
  } cases[] = {
      {2, 0, 0, 0, 640, 460}, {2, 1, 20, 0, 620, 480}, {2, 2, 0, 20, 640, 460},
      {2, 3, 0, 0, 620, 480}, {3, 0, 0, 20, 640, 460}, {3, 1, 0, 0, 620, 480},
      {3, 2, 0, 0, 640, 460}, {3, 3, 20, 0, 620, 480},
  };
  bar_height = 20;
  for (const Case& c : cases) {
    config.bar_mode = c.mode;
    config.rotation = c.rotation;
    int x, y, w, h;
    ASSERT_TRUE(MainGetTextViewport(&x, &y, &w, &h));
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
  }
  config.bar_mode = 0;
  EXPECT_FALSE(MainGetTextViewport(nullptr, nullptr, nullptr, nullptr)) << "auto-hide bars overlay";
  config.rotation = 0;
  config.bar_mode = 1;
  EXPECT_FLOAT_EQ(MainGetMenuButtonY(), 22);
  config.bar_mode = 2;
  EXPECT_FLOAT_EQ(MainGetMenuButtonY(), 2);
}

TEST(PaperFormulas, RepeatsPowerOffsetAndNames) {
  float u, v;
  PaperCalcRepeats(0, 0, &u, &v);
  EXPECT_FLOAT_EQ(u, 16);
  EXPECT_FLOAT_EQ(v, 12);
  PaperCalcRepeats(1, 0, &u, &v);
  EXPECT_NEAR(u, 1.28f, 1e-5);
  EXPECT_NEAR(v, 0.96f, 1e-5);
  PaperCalcRepeats(1, 1, &u, &v);
  EXPECT_NEAR(u, 0.96f, 1e-5) << "turned by 90 degrees the counts swap";
  EXPECT_NEAR(v, 1.28f, 1e-5);
  PaperCalcRepeats(7, 0, &u, &v);
  EXPECT_NEAR(u, 1.28f, 1e-5) << "size clamped to 1";
  EXPECT_FLOAT_EQ(PaperCalcPower(0), 0.2f);
  EXPECT_FLOAT_EQ(PaperCalcPower(1), 3.7f);
  EXPECT_FLOAT_EQ(PaperCalcPower(-4), 0.2f);
  EXPECT_FLOAT_EQ(PaperCalcPower(9), 3.7f);
  // The offset stays within one repeat however far into a book, and keeps its fraction.
  float near_start = PaperCalcOffset(11.25, 24, 0, 4, 480);  // 2.25 repeats
  float far = PaperCalcOffset(11.25 + 5e6, 24, 0, 4, 480);   // a million repeats further
  EXPECT_FLOAT_EQ(near_start, 0.25f);
  EXPECT_FLOAT_EQ(far, 0.25f);
  EXPECT_FLOAT_EQ(PaperCalcOffset(0, 24, 30, 4, 480), 0.75f) << "negative offsets wrap too";
  EXPECT_FLOAT_EQ(PaperCalcOffset(1, 20, 0, 3.6f, 0), 0);
  char name[32];
  EXPECT_TRUE(PaperGetFilename(1, name, sizeof(name)));
  EXPECT_STREQ(name, "01 copy.jpg");
  EXPECT_TRUE(PaperGetFilename(15, name, sizeof(name)));
  EXPECT_STREQ(name, "15 copy.jpg");
  EXPECT_FALSE(PaperGetFilename(0, name, sizeof(name)));
  EXPECT_FALSE(PaperGetFilename(-2, name, sizeof(name)));
  EXPECT_FALSE(PaperGetFilename(16, name, sizeof(name)));
}

}  // namespace
