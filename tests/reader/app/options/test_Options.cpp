// The options screen driven headless with the menu kit: its pages, its controls and the settings
// they write, the colour scheme and paper rules, the size bars' ranges, and where its buttons lead.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Common/mui/support_MuiKit.h"
#include "ComMacEvents.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Config.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "Load.h"
#include "MainControl.h"
#include "MainLoad.h"
#include "MakerPrograms.h"
#include "MuiChoice.h"
#include "MuiList.h"
#include "MuiPopup.h"
#include "MuiScrollbar.h"
#include "PrefFolder.h"
#include "Resolution.h"
#include "Screens.h"
#include "Slots.h"
#include "Various.h"

namespace {

std::string g_fonts;  // an empty font folder: no book font to list

class OptionsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char tmpl[] = "/tmp/lectrel-options-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    setenv("HOME", tmpl, 1);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt"));
    char dir[1024];
    ASSERT_TRUE(GameGetSettingsDir(dir, sizeof(dir)));
    mkdir(dir, 0755);
    g_fonts = std::string(tmpl) + "/fonts";
    mkdir(g_fonts.c_str(), 0755);
  }
  void SetUp() override {
    MuiKitStart();
    MainFontsSetRoot(g_fonts.c_str());
    ConfigSetDefaults();
    config.options_page = 0;
    config.rotation = 0;
    config.paper = 0;
    config.dark_on_bright = 1;
    config.margin_lines = config.bar_mode = config.battery_mode = 0;
    text_size_mult = 1.5f;
    font_orig_scale_x = 1.0f;
    font_orig_scale_y = 1.2f;
    line_orig_ygap = 36.0f;
    pdf_filename[0] = 0;
    snprintf(mc_font_name, sizeof(mc_font_name), "kept.ttf");
    ComScreenRemoveAll();
    ScreensSetupMainScreens();
    from_main_screen = 0;
    ComScreenSetCurrent(screen_main);
    ComScreenTurnOn(0);
    ASSERT_EQ(ScreensGetCurrent(), screen_main);
    MuiKitAdvance(1000);  // past the Escape guard of a screen change
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    ComScreenTurnOff(0);
    ComScreenRemoveAll();
    MainFontsSetRoot(nullptr);
    MuiKitStop();
  }
  static void Click(int id) {
    ASSERT_TRUE(MuiIsButtonShown(id)) << "box " << id << " is hidden";
    ASSERT_TRUE(MuiGetActiveState(id)) << "box " << id << " is inactive";
    int x = 0, y = 0;
    MuiGetBoxCenter(id, &x, &y);
    MuiKitClick(x, y);
  }
  static void Page(int page) { MuiChoiceSetSel(muiMainOptions, page, 1); }
  static std::string Text(int id) { return MuiGetText(id); }
  static void Edges(int id, int* left, int* right) {
    int t, b;
    MuiGetDimensions(id, left, &t, right, &b);
  }
};

TEST_F(OptionsTest, EachPageShowsOnlyItsOwnControls) {
  struct PageCase {
    int page, first, last;
  } pages[] = {
      {0, muiMainFont, muiMainYGap},
      {1, muiMainParSpacing, muiMainPageBreaks},
      {2, muiMainInvertCols, muiMainBgPaperContrast},
      {3, muiMainResWin, muiMainProcessInfo},
  };
  for (const PageCase& p : pages) {
    Page(p.page);
    EXPECT_EQ(config.options_page, p.page);
    for (int id = muiMainFont; id <= muiMainProcessInfo; id++) {
      // No font in the font folder: the list stays hidden on its own page.
      const bool shown = id >= p.first && id <= p.last && id != muiMainFont;
      EXPECT_EQ(MuiIsButtonShown(id) != 0, shown) << "page " << p.page << " box " << id;
    }
  }
  // The narrowed controls of the shared column (28..341).
  struct EdgeCase {
    int id, left, right;
  } edges[] = {
      {muiMainProcess, 28, 319},       {muiMainProcessInfo, 321, 341}, {muiMainBgPaper, 28, 169},
      {muiMainBgPaperSize, 171, 254},  {muiMainBgPaperContrast, 256, 341}, {muiMainSize, 28, 341},
  };
  for (const EdgeCase& e : edges) {
    int l = 0, r = 0;
    Edges(e.id, &l, &r);
    EXPECT_EQ(l, e.left) << "box " << e.id;
    EXPECT_EQ(r, e.right) << "box " << e.id;
  }
  // A hostile stored page falls back to the first.
  config.options_page = 9;
  MainOptionsCB(9);
  EXPECT_EQ(config.options_page, 0);
}

TEST_F(OptionsTest, ButtonsCycleTheirSettingsAndWriteTheirLabels) {
  EXPECT_EQ(Text(muiMainYMarginLines), "Top / Bottom Margin Lines: Off");
  EXPECT_EQ(Text(muiMainRotation), "Rotation: Normal  (1)");
  EXPECT_EQ(Text(muiMainInvertCols), "Dark Text on Bright Background");
  struct Case {
    int page, id;
    int presses;
    std::string label;
  } cases[] = {
      {1, muiMainYMarginLines, 2, "Top / Bottom Margin Lines: Medium"},
      {1, muiMainYMarginLines, 2, "Top / Bottom Margin Lines: Off"},  // wraps after Thick
      {1, muiMainRotation, 3, "Rotation: 270 Degrees  (4)"},
      {3, muiMainProgressBar, 3, "Progress Bar: Always On (Top)"},
      {3, muiMainBattery, 5, "Never Show Battery"},
      {3, muiMainBattery, 1, "Show Battery When Draining"},
  };
  for (const Case& c : cases) {
    Page(c.page);
    for (int i = 0; i < c.presses; i++) Click(c.id);
    EXPECT_EQ(Text(c.id), c.label);
  }
  EXPECT_EQ(config.margin_lines, 0);
  EXPECT_EQ(config.rotation, 3);
  EXPECT_EQ(config.bar_mode, 3);
  EXPECT_EQ(config.battery_mode, 0);

  // Toggles.
  const char res = config.show_resolution_window, power = config.reduce_power;
  Click(muiMainResWin);
  Click(muiMainProcess);
  EXPECT_NE(config.show_resolution_window, res);
  EXPECT_NE(config.reduce_power, power);
  EXPECT_EQ(Text(muiMainResWin), config.show_resolution_window ? "Resolution Window: On" : "Resolution Window: Off");
  EXPECT_EQ(Text(muiMainProcess), config.reduce_power ? "Reduce Processing Power: On" : "Reduce Processing Power: Off");
  Click(muiMainProcessInfo);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_EQ(Text(muiMuiPopupTitle), "REDUCE PROCESSING POWER");
  MuiPopupClose(0);

  // Turning page divisions on explains them; turning them off does not.
  Page(1);
  config.page_divisions = 0;
  Click(muiMainPageBreaks);
  EXPECT_EQ(config.page_divisions, 1);
  EXPECT_EQ(Text(muiMainPageBreaks), "Page Divisions: On");
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_EQ(Text(muiMuiPopupTitle), "PAGE DIVISIONS");
  MuiPopupClose(0);
  Click(muiMainPageBreaks);
  EXPECT_EQ(config.page_divisions, 0);
  EXPECT_FALSE(MuiPopupIsOn());
}

TEST_F(OptionsTest, BarsWriteTheirSettingsAndMarginsFollowTheRotation) {
  struct Case {
    int page, id;
    float* setting;
    float value;
  } cases[] = {
      {1, muiMainParSpacing, &config.paragraph_spacing, 0.8f},
      {1, muiMainXMargin, &config.side_margin, 12.0f},
      {1, muiMainYMargin, &config.top_margin, 7.0f},
      {2, muiMainTextBrightness, &config.text_brightness, 0.4f},
      {2, muiMainBgBrightness, &config.background_brightness, 0.6f},
      {3, muiMainProgressBarHeight, &config.bar_height, 20.0f},
      {3, muiMainBatteryAlpha, &config.battery_transparency, 0.25f},
  };
  for (const Case& c : cases) {
    Page(c.page);
    MuiScrollbarSetPosFloat(c.id, c.value, 1);
    EXPECT_FLOAT_EQ(*c.setting, c.value) << "box " << c.id;
  }
  Page(0);
  MuiScrollbarSetPosFloat(muiMainBlur, 7, 1);
  EXPECT_EQ(config.smoothing, 7);

  // After a quarter turn the margin bars move the rotated margins.
  Page(1);
  Click(muiMainRotation);
  ASSERT_EQ(config.rotation, 1);
  MuiScrollbarSetPosFloat(muiMainXMargin, 3.0f, 1);
  MuiScrollbarSetPosFloat(muiMainYMargin, 4.0f, 1);
  EXPECT_FLOAT_EQ(config.side_margin_rotated, 3.0f);
  EXPECT_FLOAT_EQ(config.top_margin_rotated, 4.0f);
  EXPECT_FLOAT_EQ(config.side_margin, 12.0f);
  EXPECT_FLOAT_EQ(config.top_margin, 7.0f);
}

TEST_F(OptionsTest, ColourSchemeTwiceRestoresBrightnessesAndColour) {
  config.text_brightness = 0.7f;
  config.background_brightness = 0.2f;
  const float colour[3] = {0.9f, 0.5f, 0.1f};
  memcpy(config.text_colour, colour, sizeof(colour));
  Page(2);
  Click(muiMainInvertCols);
  EXPECT_EQ(config.dark_on_bright, 0);
  EXPECT_EQ(Text(muiMainInvertCols), "Bright Text on Dark Background");
  EXPECT_NEAR(config.background_brightness, 0.3f, 1e-6);
  EXPECT_NEAR(config.text_brightness, 0.2f, 1e-6);
  // Inverted, keeping the brightest channel's value: max + min - c.
  EXPECT_NEAR(config.text_colour[0], 0.1f, 1e-6);
  EXPECT_NEAR(config.text_colour[1], 0.5f, 1e-6);
  EXPECT_NEAR(config.text_colour[2], 0.9f, 1e-6);
  EXPECT_NEAR(MuiScrollbarGetPosFloat(muiMainBgBrightness), 0.3f, 1e-6);
  Click(muiMainInvertCols);
  EXPECT_EQ(config.dark_on_bright, 1);
  EXPECT_NEAR(config.text_brightness, 0.7f, 1e-6);
  EXPECT_NEAR(config.background_brightness, 0.2f, 1e-6);
  for (int i = 0; i < 3; i++) EXPECT_NEAR(config.text_colour[i], colour[i], 1e-6);
}

TEST_F(OptionsTest, APaperUnderBrightTextRaisesADarkBackground) {
  struct Case {
    char dark_on_bright;
    float background, expected;
  } cases[] = {
      {0, 0.1f, 0.3f},   // bright text on a near-black background: raised
      {0, 0.5f, 0.5f},   // bright enough already
      {1, 0.1f, 0.1f},   // dark text: left alone
  };
  Page(2);
  EXPECT_FALSE(MuiGetActiveState(muiMainBgPaperSize));
  EXPECT_FALSE(MuiGetActiveState(muiMainBgPaperContrast));
  for (const Case& c : cases) {
    config.dark_on_bright = c.dark_on_bright;
    config.background_brightness = c.background;
    MuiScrollbarUpdateFromRegisteredVariable(muiMainBgBrightness, 0);
    MuiListSetPos(muiMainBgPaper, 0);
    MainOptionsCB(2);
    MuiListOpen(muiMainBgPaper);
    MuiListSelectNewOpenPos(4);
    MuiListClose(1, 1);
    EXPECT_EQ(config.paper, 4);
    EXPECT_NEAR(config.background_brightness, c.expected, 1e-6);
    EXPECT_NEAR(MuiScrollbarGetPosFloat(muiMainBgBrightness), c.expected, 1e-6);
    EXPECT_TRUE(MuiGetActiveState(muiMainBgPaperSize));
    EXPECT_TRUE(MuiGetActiveState(muiMainBgPaperContrast));
  }
}

TEST_F(OptionsTest, SizeBarsRecentreOnTheirValueWithinTheSettingsRange) {
  struct Case {
    int id;
    float* variable;
    float _Config::*field;
  } cases[] = {
      {muiMainSize, &text_size_mult, &_Config::text_size},
      {muiMainWidth, &font_orig_scale_x, &_Config::text_width},
      {muiMainHeight, &font_orig_scale_y, &_Config::text_height},
      {muiMainYGap, &line_orig_ygap, &_Config::line_spacing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("box " + std::to_string(c.id));
    float lo = 0, hi = 0;
    ASSERT_TRUE(ConfigFloatRange(c.field, &lo, &hi));
    const _MuiScrollbar& bar = mui_scrollbar[c.id];
    // Set up at the start around the value, arrows off.
    EXPECT_NEAR(bar.min, *c.variable / 3, 1e-4);
    EXPECT_NEAR(bar.max, *c.variable * 1.666f, 1e-3);
    // A drag that ends re-centres on the new value.
    const float v = (float)(bar.min + bar.max) / 2;
    MuiScrollbarSetPosFloat(c.id, v, 1);  // code 0: the drag is over
    EXPECT_FLOAT_EQ(*c.variable, v);
    EXPECT_NEAR(bar.min, v / 3, 1e-4);
    EXPECT_NEAR(bar.max, v * 1.666f, 1e-3);
    // Dragged to the top again and again, the range never passes the settings' own.
    for (int i = 0; i < 60; i++) MuiScrollbarSetPosFloat(c.id, (float)bar.max, 1);
    EXPECT_FLOAT_EQ(*c.variable, hi);
    EXPECT_LE(bar.max, hi);
    for (int i = 0; i < 60; i++) MuiScrollbarSetPosFloat(c.id, (float)bar.min, 1);
    EXPECT_FLOAT_EQ(*c.variable, lo);
    EXPECT_GE(bar.min, lo);
  }
  // The one table of ranges, which the reading view's layout keys go through as well.
  struct Keep {
    float _Config::*field;
    float in, out;
  } keeps[] = {
      {&_Config::text_size, 1000, 100},   {&_Config::text_size, 0, 0.01f},
      {&_Config::text_width, NAN, 1.0f},   {&_Config::line_spacing, 0.01f, 0.1f},
      {&_Config::paragraph_spacing, 1.2f, 1}, {&_Config::text_height, 2, 2},
  };
  for (const Keep& k : keeps) EXPECT_FLOAT_EQ(ConfigKeepInRange(k.field, k.in), k.out);
  // A value out of range (as a damaged record would give) is brought in when the bar is set up.
  text_size_mult = NAN;
  MainSizeCB(99);
  EXPECT_TRUE(std::isfinite(text_size_mult));
  EXPECT_GE(text_size_mult, 0.01f);
}

TEST_F(OptionsTest, WithoutFontsTheListIsHiddenAndTheFontNameKept) {
  Page(0);
  EXPECT_FALSE(MuiIsButtonShown(muiMainFont));
  EXPECT_TRUE(MuiIsButtonShown(muiMainSize));
  EXPECT_EQ(num_fonts, 0);
  EXPECT_STREQ(mc_font_name, "kept.ttf");
}

TEST_F(OptionsTest, TitlePicturesOpenTheMakersPagesByTheRunCounter) {
  // A stand-in browser opener, so that no real browser starts.
  const std::string bin = g_fonts + "/../bin";
  mkdir(bin.c_str(), 0755);
  std::ofstream(bin + "/xdg-open") << "#!/bin/sh\nexit 0\n";
  chmod((bin + "/xdg-open").c_str(), 0755);
  const std::string old_path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (bin + ":" + old_path).c_str(), 1);
  VariousSetWebSite("http://127.0.0.1:9");
  // Each title opens the page of the program its picture shows ("Title<picture> copy.bmp").
  struct Case {
    int run_counter;
    int title;
    int page;
    const char* stem;
    int picture;
  } cases[] = {
      {0, muiMainTitle1, 0, "chess", 1},     {0, muiMainTitle2, 1, "backgammon", 2},
      {0, muiMainTitle3, 3, "mahjong", 3},   {0, muiMainTitle4, 6, "bowling", 4},
      {1, muiMainTitle3, 2, "solitaire", 5}, {1, muiMainTitle4, 7, "puzzles", 6},
      {5, muiMainTitle3, 3, "mahjong", 3},  // a stored counter other than 1 counts as 0
  };
  const char saved_windowed = run_windowed;
  run_windowed = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stem);
    config.run_counter = c.run_counter;
    r_web_str[0] = 0;
    Click(c.title);
    EXPECT_EQ(mc_where_to, c.page);
    EXPECT_EQ(std::string(r_web_str), std::string("http://127.0.0.1:9/lectrel/iga/m_") + c.stem + ".html");
    const _MakerProgram* shown = MakerProgramOfPicture(c.picture);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown, &maker_programs[c.page]) << "the picture shows " << shown->name;
    ASSERT_TRUE(MuiPopupIsOn());
    EXPECT_EQ(Text(muiMuiPopupText), "Launching web browser ...");
    MuiPopupClose(0);
  }
  // In full screen the program closes first; the page opens after it.
  run_windowed = 0;
  cme_quit_main_loop = 0;
  r_web_str[0] = 0;
  Click(muiMainTitle1);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_EQ(Text(muiMuiPopupText), "Exiting program and launching web browser ...");
  EXPECT_EQ(r_web_str[0], 0);
  MuiPopupClose(1);
  EXPECT_EQ(cme_quit_main_loop, 1);
  ComWinSetAfterExitCallback(nullptr);
  cme_quit_main_loop = 0;
  run_windowed = saved_windowed;
  setenv("PATH", old_path.c_str(), 1);
  VariousSetWebSite(nullptr);
}

TEST_F(OptionsTest, ButtonsLeadToTheOtherScreensAndBack) {
  // Save: the slots in save mode; Done comes back here.
  Click(muiMainSave);
  ASSERT_EQ(ScreensGetCurrent(), screen_slots);
  EXPECT_EQ(slots_is_saving, 1);
  MuiKitAdvance(1000);
  Click(muiSlotsBack);
  ASSERT_EQ(ScreensGetCurrent(), screen_main);
  // Load: the slots in load mode; Escape comes back here.
  MuiKitAdvance(1000);
  Click(muiMainLoad);
  ASSERT_EQ(ScreensGetCurrent(), screen_slots);
  EXPECT_EQ(slots_is_saving, 0);
  MuiKitAdvance(1000);
  MuiKeyDown(27);
  ASSERT_EQ(ScreensGetCurrent(), screen_main);
  // Open: the Load screen, whose Back comes back here.
  MuiKitAdvance(1000);
  Click(muiMainOpen);
  ASSERT_EQ(ScreensGetCurrent(), screen_load_file);
  EXPECT_EQ(from_main_screen, 1);
  MuiKitAdvance(1000);
  Click(muiLoadBack);
  ASSERT_EQ(ScreensGetCurrent(), screen_main);
  EXPECT_EQ(from_main_screen, 0);
  // Controls: three popups one after the other.
  MuiKitAdvance(1000);
  Click(muiMainControls);
  for (const char* title : {"KEY CONTROLS - PART 1", "KEY CONTROLS - PART 2", "MOUSE CONTROLS"}) {
    ASSERT_TRUE(MuiPopupIsOn());
    EXPECT_EQ(Text(muiMuiPopupTitle), title);
    MuiPopupClose(1);
  }
  EXPECT_FALSE(MuiPopupIsOn());
  Click(muiMainAbout);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_EQ(Text(muiMuiPopupTitle), "Quorvane Lectrel");
  EXPECT_EQ(Text(muiMuiPopupText).rfind("\nVersion: 1.81", 0), 0u);
  EXPECT_NE(Text(muiMuiPopupText).find("Created with the help of Xpdf"), std::string::npos);
  MuiPopupClose(0);
  // Exit asks the program to close.
  cme_quit_main_loop = 0;
  Click(muiMainExit);
  EXPECT_EQ(cme_quit_main_loop, 1);
}

}  // namespace
