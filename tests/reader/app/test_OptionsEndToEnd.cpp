// The options screen of the real reader under the test's X server: Escape on the page opens it,
// clicks on the size bar make the text larger, Continue shows the page laid out anew at that size,
// and Escape on the options screen goes back to reading.
// GoogleTest before Xlib: Xlib's macros (None, Bool) would otherwise clash with its names.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "Config.h"
#include "MainLoad.h"
#include "PrefFolder.h"
#include "ReaderDriver.h"

namespace {

using namespace e2e;

const int kWidth = 640, kHeight = 480;

// The options screen: the disc of the first title picture at the top left, darker than the light
// paper the page shows there.
bool IsOptionsScreen(const Shot& s) { return s.w == kWidth && s.h == kHeight && s.At(40, 50) < 200; }

// The rows of text on the page: bands of rows holding dark pixels, counted from the top.
int TextRows(const Shot& s) {
  int bands = 0;
  bool in_band = false;
  for (int y = s.h / 10; y < s.h - s.h / 10; y++) {
    bool ink = false;
    for (int x = s.w / 10; x < s.w - s.w / 10 && !ink; x++) ink = s.At(x, y) < 100;
    if (ink && !in_band) bands++;
    in_band = ink;
  }
  return bands;
}

class OptionsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
    std::string src = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
    std::string tool = std::string(LECTREL_BINARY_DIR) + "/tools/lectrel_prepare_home";
    ASSERT_EQ(RunWithHome({tool, src, std::to_string(kWidth), std::to_string(kHeight)}, home_, 30), 0);
  }
  float StoredTextSize() {
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    DebugSetLogFilename((home_ + "/test-log.txt").c_str(), 1);
    pdf_filename[0] = 0;
    ConfigLoad();
    return config.text_size;
  }
  void ClickAt(Reader& r, int x, int y) {
    r.Xdo({"mousemove", "--window", std::to_string(r.win()), std::to_string(x), std::to_string(y)});
    SleepMs(150);
    r.Xdo({"click", "1"});
    SleepMs(300);
  }
  std::string home_;
};

TEST_F(OptionsEndToEnd, ALargerSizeChosenOnTheOptionsScreenLaysThePageOutAnew) {
  const float size_before = StoredTextSize();
  Shot page, menu, larger, menu_again, back;
  {
    Reader r(home_);
    ASSERT_TRUE(r.Start()) << "the reader's window did not appear";
    ASSERT_TRUE(r.Settle(&page, 40));
    ASSERT_FALSE(IsOptionsScreen(page));
    r.PointAtWindow();
    r.Xdo({"key", "Escape"});
    ASSERT_TRUE(r.SettleChanged(page, &menu, 30));
    ASSERT_TRUE(IsOptionsScreen(menu)) << "Escape on the page opens the options screen";

    ClickAt(r, 67, 180);  // the "Font" page
    for (int i = 0; i < 5; i++) ClickAt(r, 330, 288);  // the size bar's track right of its thumb
    ClickAt(r, 315, 445);  // Continue
    ASSERT_TRUE(r.SettleChanged(menu, &larger, 40));
    EXPECT_FALSE(IsOptionsScreen(larger));
    EXPECT_LT(TextRows(larger), TextRows(page)) << "larger text: fewer rows on the page";

    r.Xdo({"key", "Escape"});
    ASSERT_TRUE(r.SettleChanged(larger, &menu_again, 30));
    ASSERT_TRUE(IsOptionsScreen(menu_again));
    SleepMs(600);  // past the menu's guard against a held Escape
    r.Xdo({"key", "Escape"});
    ASSERT_TRUE(r.SettleChanged(menu_again, &back, 40));
    EXPECT_FALSE(IsOptionsScreen(back)) << "Escape on the options screen goes back to reading";
    EXPECT_GT(Correlation(Blocks(larger, false), Blocks(back, false)), 0.95) << "the same page again";
    r.Close();
    EXPECT_EQ(r.WaitExit(30), 0);
  }
  EXPECT_GT(StoredTextSize(), size_before * 1.3f) << "the new size is kept";
}

}  // namespace
