// The options screen of the real reader under the test's X server: Escape on the page opens it,
// clicks on the size bar make the text larger, Continue shows the page laid out anew at that size,
// and Escape on the options screen goes back to reading.
// GoogleTest before Xlib: Xlib's macros (None, Bool) would otherwise clash with its names.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Config.h"
#include "ReaderDriver.h"

namespace {

using namespace e2e;

const int kWidth = 640, kHeight = 480;

// Dark pixels of the text area: the book's text is there.
int InkPixels(const Shot& s) {
  int n = 0;
  for (int y = s.h / 10; y < s.h - s.h / 10; y++)
    for (int x = s.w / 10; x < s.w - s.w / 10; x++)
      if (s.At(x, y) < 100) n++;
  return n;
}

// The options screen: the disc of the first title picture at the top left, darker than the light
// paper the page shows there.
bool IsOptionsScreen(const Shot& s) { return s.w == kWidth && s.h == kHeight && s.At(40, 50) < 200; }

// The height of the first line of text on the page (the book's title, a line on its own): the
// rows from the first one holding dark pixels to the next one without.
int FirstLineHeight(const Shot& s) {
  int first = -1;
  for (int y = 0; y < s.h; y++) {
    bool ink = false;
    for (int x = s.w / 10; x < s.w - s.w / 10 && !ink; x++) ink = s.At(x, y) < 100;
    if (ink && first < 0) first = y;
    if (!ink && first >= 0) return y - first;
  }
  return 0;
}

// Waits until the window shows what `want` looks for and stays so (the menus take a while to start
// after the "Entering Menus" box, and the book a while to open after "Loading eBook", both steady
// meanwhile). False when that does not come within timeout seconds.
template <typename Want>
bool WaitForSteady(Reader& r, Want want, Shot* s, double timeout) {
  const double end = NowSeconds() + timeout;
  while (NowSeconds() < end && r.Running()) {
    if (r.Grab(s) && want(*s) && r.Settle(s, end - NowSeconds()) && want(*s)) return true;
    SleepMs(100);
  }
  return false;
}

class OptionsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
    ASSERT_TRUE(PrepareHome(home_, std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt", kWidth, kHeight));
  }
  float StoredTextSize() {
    LoadStoredSettings(home_);
    return config.text_size;
  }
  std::string home_;
};

TEST_F(OptionsEndToEnd, ALargerSizeChosenOnTheOptionsScreenLaysThePageOutAnew) {
  const float size_before = StoredTextSize();
  Shot page, menu, larger, menu_again, back;
  {
    Reader r(home_);
    ASSERT_TRUE(r.Start()) << "the reader's window did not appear";
    // A page of bare paper is steady too: wait for the book's text (a slow build loads late).
    const double end = NowSeconds() + 60;
    ASSERT_TRUE(r.Settle(&page, 40));
    while (InkPixels(page) < 3000 && NowSeconds() < end && r.Settle(&page, 10)) SleepMs(200);
    ASSERT_GE(InkPixels(page), 3000) << "the book's text did not appear";
    ASSERT_FALSE(IsOptionsScreen(page));
    r.PointAtWindow();
    auto options = [](const Shot& s) { return IsOptionsScreen(s); };
    r.Xdo({"key", "Escape"});
    ASSERT_TRUE(WaitForSteady(r, options, &menu, 40)) << "Escape on the page opens the options screen";

    r.ClickAt(67, 180);  // the "Font" page
    for (int i = 0; i < 5; i++) r.ClickAt(330, 288);  // the size bar's track right of its thumb
    r.ClickAt(315, 445);  // Continue
    const int height = FirstLineHeight(page);
    auto larger_page = [&](const Shot& s) {
      return !IsOptionsScreen(s) && InkPixels(s) > 3000 && FirstLineHeight(s) > height * 1.2;
    };
    ASSERT_TRUE(WaitForSteady(r, larger_page, &larger, 40)) << "Continue shows the page with larger text";
    EXPECT_LT(Correlation(Blocks(page, false), Blocks(larger, false)), 0.9) << "laid out anew";

    r.Xdo({"key", "Escape"});
    ASSERT_TRUE(WaitForSteady(r, options, &menu_again, 40));
    SleepMs(600);  // past the menu's guard against a held Escape
    r.Xdo({"key", "Escape"});
    auto same_page = [&](const Shot& s) {
      return !IsOptionsScreen(s) && Correlation(Blocks(larger, false), Blocks(s, false)) > 0.95;
    };
    ASSERT_TRUE(WaitForSteady(r, same_page, &back, 40)) << "Escape on the options screen goes back to reading";
    r.Close();
    EXPECT_EQ(r.WaitExit(30), 0);
  }
  EXPECT_GT(StoredTextSize(), size_before * 1.3f) << "the new size is kept";
}

}  // namespace
