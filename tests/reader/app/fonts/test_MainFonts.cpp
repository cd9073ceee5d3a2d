// The book fonts: the list of a fonts tree (names, styles, loops, refused files, depth), its order,
// the default choice, the list labels, the real system fonts, and a font switch that fails.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Common/mui/support_MuiKit.h"
#include "ComFreeType.h"
#include "ComScreen.h"
#include "ComMacWin.h"
#include "Config.h"
#include "LecFont.h"
#include "MainControl.h"
#include "MainFonts.h"
#include "MuiBox.h"
#include "MuiList.h"
#include "MuiScrollbar.h"
#include "PrefFolder.h"
#include "Screens.h"

namespace {
const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/";

std::string MakeTempDir(const char* tag) {
  std::string t = std::string("/tmp/lectrel-") + tag + "-XXXXXX";
  std::vector<char> buf(t.begin(), t.end());
  buf.push_back(0);
  char* d = mkdtemp(buf.data());
  return d ? std::string(d) : std::string();
}

bool HaveDejaVu() { return access((std::string(kDejaVu) + "DejaVuSerif.ttf").c_str(), R_OK) == 0; }

void Copy(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream(to, std::ios::binary) << in.rdbuf();
}

_MainFontInfo Info(const char* family, const char* style, const char* file = "f.ttf") {
  _MainFontInfo i;
  snprintf(i.file, sizeof(i.file), "%s", file);
  snprintf(i.family, sizeof(i.family), "%s", family);
  snprintf(i.style, sizeof(i.style), "%s", style);
  return i;
}

std::string Row(const _MainFontInfo& i) {
  return std::string(i.file) + "|" + i.family + "|" + i.style;
}

// A throwaway HOME so the settings the default choice saves go nowhere real.
class FontHome : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempDir("fonts-home");
    ASSERT_FALSE(home_.empty());
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    ConfigSetDefaults();
    mc_font_name[0] = 0;
  }
  void TearDown() override {
    MainControlCleanup();
    MainFontsSetRoot(nullptr);
  }
  std::string home_;
};

// Fonts found at any depth up to the limit, under their FreeType names, each folder once however
// it is linked; files FreeType refuses, other extensions, dangling links and folders past the
// limit are left out.
TEST_F(FontHome, ListOfAFontsTree) {
  if (!HaveDejaVu()) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  const std::string root = MakeTempDir("fonts");
  const std::string d = kDejaVu;
  mkdir((root + "/serif").c_str(), 0755);
  mkdir((root + "/serif/bold").c_str(), 0755);
  ASSERT_EQ(0, symlink((d + "DejaVuSerif.ttf").c_str(), (root + "/serif/Serif.ttf").c_str()));
  ASSERT_EQ(0, symlink((d + "DejaVuSerif-Bold.ttf").c_str(), (root + "/serif/bold/SB.ttf").c_str()));
  Copy(d + "DejaVuSans-Bold.ttf", root + "/SANS.TTF");
  Copy(d + "DejaVuSans.ttf", root + "/sans.txt");  // a font, but not named as one
  std::ofstream(root + "/broken.ttf") << "not a font at all";
  std::ofstream(root + "/empty.otf");
  ASSERT_EQ(0, symlink("/nowhere/gone.ttf", (root + "/gone.ttf").c_str()));
  ASSERT_EQ(0, symlink("..", (root + "/serif/loop").c_str()));       // back to the root
  ASSERT_EQ(0, symlink(".", (root + "/serif/bold/self").c_str()));   // to itself
  std::string deep = root;
  for (int i = 1; i <= MAIN_FONTS_MAX_DEPTH + 1; i++) {
    deep += "/d" + std::to_string(i);
    mkdir(deep.c_str(), 0755);
    if (i == MAIN_FONTS_MAX_DEPTH) {
      ASSERT_EQ(0, symlink((d + "DejaVuSansMono.ttf").c_str(), (deep + "/mono.ttf").c_str()));
    } else if (i == MAIN_FONTS_MAX_DEPTH + 1) {
      ASSERT_EQ(0, symlink((d + "DejaVuSerif-Italic.ttf").c_str(), (deep + "/deep.ttf").c_str()));
    }
  }
  std::string mono_path = "d1/d2/d3/d4/d5/d6/d7/d8/mono.ttf";
  ASSERT_EQ(8, MAIN_FONTS_MAX_DEPTH);

  std::vector<_MainFontInfo> list;
  ASSERT_TRUE(MainFontsList(root.c_str(), &list));
  std::vector<std::string> rows;
  for (const _MainFontInfo& i : list) rows.push_back(Row(i));
  EXPECT_EQ((std::vector<std::string>{"SANS.TTF|DejaVu Sans|Bold", mono_path + "|DejaVu Sans Mono|Book",
                                      "serif/Serif.ttf|DejaVu Serif|Book",
                                      "serif/bold/SB.ttf|DejaVu Serif|Bold"}),
            rows);

  // The same tree as the menu's list: the default is the serif, saved by its relative path.
  MainFontsSetRoot(root.c_str());
  ASSERT_TRUE(MainSetupFont());
  EXPECT_EQ(4, num_fonts);
  EXPECT_EQ(2, mc_cur_font);
  EXPECT_STREQ("serif/Serif.ttf", mc_font_name);
  // A font named in the settings is kept.
  snprintf(mc_font_name, sizeof(mc_font_name), "%s", "SANS.TTF");
  ASSERT_TRUE(MainSetupFont());
  EXPECT_EQ(0, mc_cur_font);

  // A folder without fonts, and a root that is not there: no list.
  const std::string empty = MakeTempDir("fonts-empty");
  MainFontsSetRoot(empty.c_str());
  EXPECT_FALSE(MainSetupFont());
  EXPECT_EQ(nullptr, font_infos);
  EXPECT_STREQ("( error )", MainControlFillFontListCB(0));
  MainFontsSetRoot((root + "/missing").c_str());
  EXPECT_FALSE(MainSetupFont());
  EXPECT_EQ(0, num_fonts);
}

// The system's own folder: every font the package brings, in order, and DejaVu Serif as default.
TEST_F(FontHome, SystemFontsFolder) {
  if (!HaveDejaVu()) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  ASSERT_TRUE(MainSetupFont());
  ASSERT_GE(num_fonts, 22);
  EXPECT_TRUE(std::is_sorted(font_infos, font_infos + num_fonts, MainFontsLess));
  EXPECT_STREQ("truetype/dejavu/DejaVuSerif.ttf", mc_font_name);
  EXPECT_STREQ("DejaVu Serif (Book)", MainControlFillFontListCB(mc_cur_font));
  // The layout values are not touched by this choice.
  EXPECT_FLOAT_EQ(config.text_size, text_size_mult);
  bool has_condensed = false;
  for (int i = 0; i < num_fonts; i++)
    has_condensed |= strcmp(MainControlFillFontListCB(i), "DejaVu Sans (Condensed Bold Oblique)") == 0;
  EXPECT_TRUE(has_condensed);
  EXPECT_STREQ("( ? )", MainControlFillFontListCB(num_fonts));
  EXPECT_STREQ("( ? )", MainControlFillFontListCB(-1));
}

// Within a family the styles run downwards with "Bold" right before "Bold Italic"; the order is
// strict and weak (no cycle among Bold, Bold Italic and Bold Condensed), so qsort and std::sort
// agree whatever the input order.
TEST(FontOrder, StylesDescendingWithBoldBeforeBoldItalic) {
  const char* styles[] = {"Bold Condensed", "Bold Italic", "Bold", "Regular", "Italic", "Book",
                          "Condensed Bold Oblique", ""};
  std::vector<_MainFontInfo> v;
  for (const char* s : styles) v.push_back(Info("Fam", s));
  v.push_back(Info("Alpha", "Regular"));
  v.push_back(Info("Zed", "Bold"));
  for (size_t a = 0; a < v.size(); a++) {
    EXPECT_FALSE(MainFontsLess(v[a], v[a]));
    for (size_t b = 0; b < v.size(); b++) {
      if (!MainFontsLess(v[a], v[b])) continue;
      EXPECT_FALSE(MainFontsLess(v[b], v[a]));
      for (size_t c = 0; c < v.size(); c++) {
        if (MainFontsLess(v[b], v[c])) {
          EXPECT_TRUE(MainFontsLess(v[a], v[c])) << v[a].style << " < " << v[b].style << " < " << v[c].style;
        }
      }
    }
  }
  const std::vector<std::string> expected = {"Alpha/Regular", "Fam/Regular", "Fam/Italic",
                                             "Fam/Condensed Bold Oblique", "Fam/Book", "Fam/Bold",
                                             "Fam/Bold Italic", "Fam/Bold Condensed", "Fam/", "Zed/Bold"};
  for (int round = 0; round < 3; round++) {
    std::vector<_MainFontInfo> w = v;
    if (round == 1) std::reverse(w.begin(), w.end());
    if (round == 2) std::rotate(w.begin(), w.begin() + 3, w.end());
    qsort(w.data(), w.size(), sizeof(_MainFontInfo), MainControlSortFonts);
    std::vector<std::string> got;
    for (const _MainFontInfo& i : w) got.push_back(std::string(i.family) + "/" + i.style);
    EXPECT_EQ(expected, got) << "round " << round;
  }
}

// The designed defaults come first with their layout values, then the Linux serif, then the first.
TEST(FontDefault, ChoiceTable) {
  struct Case {
    std::vector<_MainFontInfo> fonts;
    int index;
    char set_layout;
    float size, width, height, spacing;
  } cases[] = {
      {{Info("Times", "Regular"), Info("Osaka", "Regular"), Info("Osaka", "Regular", "o2.ttf")},
       2, 1, 1.542f, 1.8f, 1.2f, 28.878f},
      {{Info("DejaVu Serif", "Book"), Info("Times", "Regular"), Info("Times", "Bold")},
       1, 1, 1.593f, 1.712f, 1.07f, 26.341f},
      {{Info("Osaka", "Bold"), Info("DejaVu Sans", "Book"), Info("DejaVu Serif", "Book")}, 2, 0, 0, 0, 0, 0},
      {{Info("DejaVu Math TeX Gyre", "Regular"), Info("DejaVu Serif", "Bold")}, 0, 0, 0, 0, 0, 0},
      {{}, -1, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    MainFontChoice got = MainFontsChooseDefault(c.fonts.data(), (int)c.fonts.size());
    EXPECT_EQ(c.index, got.index);
    EXPECT_EQ(c.set_layout, got.set_layout);
    if (!c.set_layout) continue;
    EXPECT_FLOAT_EQ(c.size, got.size);
    EXPECT_FLOAT_EQ(c.width, got.width);
    EXPECT_FLOAT_EQ(c.height, got.height);
    EXPECT_FLOAT_EQ(c.spacing, got.spacing);
  }
}

TEST(FontLabels, PaperList) {
  EXPECT_STREQ("Paper: None", MainControlFillPaperListCB(0));
  EXPECT_STREQ("Paper: Type 1", MainControlFillPaperListCB(1));
  EXPECT_STREQ("Paper: Type 15", MainControlFillPaperListCB(15));
  EXPECT_STREQ("( ? )", MainControlFillPaperListCB(16));
  EXPECT_STREQ("( ? )", MainControlFillPaperListCB(-1));
}

// Making the book font needs a GL context: a hidden window of the X server.
class FontSwitch : public FontHome {
 protected:
  void SetUp() override {
    FontHome::SetUp();
    ASSERT_EQ(0, chdir(LECTREL_RESOURCES));  // the bundled default font
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
      ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
    }
    window_ = SDL_CreateWindow("fonts", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(nullptr, window_) << SDL_GetError();
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(nullptr, context_) << SDL_GetError();
    WIDTH = 640;
    HEIGHT = 480;
  }
  void TearDown() override {
    if (book_font->setup) ComFreeTypeRelease(book_font);
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    FontHome::TearDown();
  }
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

// A font that cannot be made (its file went after the list was built) leaves the previous font in
// place, and when that one is gone too, the bundled font: the book always has a font.
TEST_F(FontSwitch, FailedSwitchKeepsAUsableFont) {
  if (!HaveDejaVu()) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  const std::string root = MakeTempDir("fonts-switch");
  const std::string d = kDejaVu;
  ASSERT_EQ(0, symlink((d + "DejaVuSerif.ttf").c_str(), (root + "/a.ttf").c_str()));
  ASSERT_EQ(0, symlink((d + "DejaVuSans.ttf").c_str(), (root + "/b.ttf").c_str()));
  ASSERT_EQ(0, symlink((d + "DejaVuSansMono.ttf").c_str(), (root + "/c.ttf").c_str()));
  MainFontsSetRoot(root.c_str());
  ASSERT_TRUE(MainSetupFont());
  ASSERT_EQ(3, num_fonts);  // DejaVu Sans (b), DejaVu Sans Mono (c), DejaVu Serif (a)
  ASSERT_STREQ("a.ttf", mc_font_name);
  ASSERT_TRUE(MainControlLoadCurrentFont());
  const float serif_w = ComFreeTypeGetStringWidth(book_font, "Reading");

  // A working switch, then a smoothing reload of the same font without margin or blur.
  EXPECT_TRUE(MainControlSwitchFont(0));
  EXPECT_STREQ("b.ttf", mc_font_name);
  config.smoothing = 0;
  EXPECT_TRUE(MainControlSwitchFont(mc_cur_font));
  EXPECT_TRUE(book_font->setup);
  EXPECT_EQ(0, cft_effects.margin);

  // The mono file disappears: the sans stays.
  unlink((root + "/c.ttf").c_str());
  EXPECT_FALSE(MainControlSwitchFont(1));
  EXPECT_TRUE(book_font->setup);
  EXPECT_STREQ("b.ttf", mc_font_name);
  EXPECT_EQ(0, mc_cur_font);
  EXPECT_GT(ComFreeTypeGetStringWidth(book_font, "Reading"), 0.0f);

  // The sans disappears too: a reload falls back on the bundled font, and an index out of range
  // as well.
  unlink((root + "/b.ttf").c_str());
  EXPECT_FALSE(MainControlSwitchFont(0));
  EXPECT_TRUE(book_font->setup);
  EXPECT_FALSE(MainControlSwitchFont(99));
  EXPECT_TRUE(book_font->setup);
  EXPECT_GT(ComFreeTypeGetStringWidth(book_font, "Reading"), 0.0f);

  // The serif still works.
  EXPECT_TRUE(MainControlSwitchFont(2));
  EXPECT_STREQ("a.ttf", mc_font_name);
  EXPECT_FLOAT_EQ(serif_w, ComFreeTypeGetStringWidth(book_font, "Reading"));
}
// On the options screen the font list writes its new entry before the font is made. A font that
// cannot be made (the file was cut short after the list was built) brings the list back to the
// font the book still has, and the next smoothing change makes that font again, not the broken one.
TEST_F(FontSwitch, AFailedChoiceBringsTheListBackToTheFontInUse) {
  if (!HaveDejaVu()) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  const std::string root = MakeTempDir("fonts-list");
  const std::string d = kDejaVu;
  Copy(d + "DejaVuSans.ttf", root + "/b.ttf");
  ASSERT_EQ(0, symlink((d + "DejaVuSerif.ttf").c_str(), (root + "/a.ttf").c_str()));
  MainFontsSetRoot(root.c_str());
  snprintf(mc_font_name, sizeof(mc_font_name), "a.ttf");
  MuiKitStart();
  ComScreenRemoveAll();
  ScreensSetupMainScreens();
  ComScreenSetCurrent(screen_main);
  ComScreenTurnOn(0);
  ASSERT_EQ(2, num_fonts);  // DejaVu Sans (b), DejaVu Serif (a)
  ASSERT_TRUE(book_font->setup);
  ASSERT_EQ(1, MuiListGetPos(muiMainFont));
  const std::string serif_label = MuiGetText(muiMainFont);
  const float serif_w = ComFreeTypeGetStringWidth(book_font, "Reading");

  ASSERT_EQ(0, truncate((root + "/b.ttf").c_str(), 1000));
  MuiListOpen(muiMainFont);
  MuiListSelectNewOpenPos(0);
  MuiListClose(1, 1);
  EXPECT_EQ(1, MuiListGetPos(muiMainFont)) << "the list shows the font in use";
  EXPECT_EQ(1, mc_cur_font);
  EXPECT_EQ(serif_label, MuiGetText(muiMainFont));
  EXPECT_STREQ("a.ttf", mc_font_name);
  EXPECT_FLOAT_EQ(serif_w, ComFreeTypeGetStringWidth(book_font, "Reading"));

  // A smoothing change remakes the serif.
  MuiKitClearLog();
  MuiScrollbarSetPos(muiMainBlur, config.smoothing == 3 ? 4 : 3, 1);
  EXPECT_FALSE(MuiKitLogHas("Could not load font")) << MuiKitLog();
  EXPECT_TRUE(book_font->setup);
  EXPECT_STREQ("a.ttf", mc_font_name);
  EXPECT_EQ(1, MuiListGetPos(muiMainFont));

  ComScreenTurnOff(0);
  ComScreenRemoveAll();
  MuiKitStop();
}

}  // namespace
