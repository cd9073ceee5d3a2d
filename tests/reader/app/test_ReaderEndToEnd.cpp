// The real reader under the test's X server: a throwaway HOME with a prepared settings file and
// display-mode file, the book shown, moved with the keys and the wheel, turned by 180 degrees,
// closed through the window manager's close message, and opened again at the same place.
// Every wait has a time limit; a blocked reader is killed and the test fails.
// GoogleTest before Xlib: Xlib's macros (None, Bool) would otherwise clash with its names.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
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

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
    book_ = home_ + "/Sample.txt";
    std::string src = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
    FILE* in = fopen(src.c_str(), "rb");
    ASSERT_NE(in, nullptr) << src;
    FILE* out = fopen(book_.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), in)) > 0) fwrite(buf, 1, n, out);
    fclose(in);
    fclose(out);
    ASSERT_TRUE(PrepareHome(home_, book_, kWidth, kHeight));
  }

  // The settings as the reader left them.
  float StoredFraction() {
    LoadStoredSettings(home_);
    for (int i = 0; i < config.num_books; i++)
      if (strcmp(config.books[i].name, "Sample") == 0) return config.books[i].read_fraction;
    return -1;
  }

  std::string home_, book_;
};

TEST_F(EndToEnd, ReadsMovesTurnsAndReopensAtThePlace) {
  Shot first, after_down, after_wheel, turned, before_close, reopened;
  {
    Reader r(home_);
    ASSERT_TRUE(r.Start()) << "the reader's window did not appear";
    ASSERT_TRUE(r.Settle(&first, 40)) << "no text appeared in the text area";
    EXPECT_GT(TextPixels(first), 300);

    r.PointAtWindow();
    r.Xdo({"key", "Down"});
    ASSERT_TRUE(r.SettleChanged(first, &after_down, 30));
    EXPECT_LT(Correlation(Blocks(first, false), Blocks(after_down, false)), 0.9)
        << "Down shows the next page";

    r.Xdo({"click", "5"});  // the wheel towards the user: on through the book
    ASSERT_TRUE(r.SettleChanged(after_down, &after_wheel, 30));
    EXPECT_LT(Correlation(Blocks(after_down, false), Blocks(after_wheel, false)), 0.95)
        << "the wheel moves the text";

    r.Xdo({"type", "3"});  // rotation 2: 180 degrees
    ASSERT_TRUE(r.SettleChanged(after_wheel, &turned, 40));
    EXPECT_GT(Correlation(Blocks(after_wheel, false), Blocks(turned, true)), 0.8)
        << "the same page, turned by 180 degrees";
    EXPECT_LT(Correlation(Blocks(after_wheel, false), Blocks(turned, false)), 0.8);

    r.Xdo({"type", "1"});  // back to rotation 0 for the restart
    ASSERT_TRUE(r.SettleChanged(turned, &before_close, 40));
    r.Close();
    EXPECT_EQ(r.WaitExit(30), 0) << "the reader ends in order when its window is closed";
  }
  float fraction = StoredFraction();
  EXPECT_GT(fraction, 0) << "the reading position was saved";
  EXPECT_EQ(std::string(config.last_book), book_);
  {
    Reader r(home_);
    ASSERT_TRUE(r.Start());
    ASSERT_TRUE(r.Settle(&reopened, 40));
    EXPECT_GT(Correlation(Blocks(before_close, false), Blocks(reopened, false)), 0.95)
        << "the book opens where it was left";
    EXPECT_LT(Correlation(Blocks(first, false), Blocks(reopened, false)), 0.9);
    r.Close();
    EXPECT_EQ(r.WaitExit(30), 0);
  }
}

TEST_F(EndToEnd, EscapeCancelsALongPdfAndKeepsTheBook) {
  std::string pdf = home_ + "/Long.pdf";
  ASSERT_TRUE(MakeLongPdf(home_, pdf));
  ASSERT_TRUE(PrepareHome(home_, pdf, kWidth, kHeight));
  std::string data = home_ + "/.config/Quorvane/Quorvane Lectrel";
  Reader r(home_);
  ASSERT_TRUE(r.Start());
  r.PointAtWindow();
  // The page progress box: "Converting File - Long", the percentage and the Escape hint.
  ASSERT_TRUE(r.WaitForProgressBox(30)) << "no progress box during the conversion";
  r.Xdo({"key", "Escape"});
  // The conversion ends after the page it is on; the partial file goes with it.
  struct stat st;
  auto temporaries = [&data]() {
    int n = 0;
    if (DIR* d = opendir(data.c_str())) {
      while (dirent* e = readdir(d)) n += strstr(e->d_name, ".tmp-") != nullptr;
      closedir(d);
    }
    return n;
  };
  double end = NowSeconds() + 30;
  while (NowSeconds() < end && r.BoxPixels() > 200) SleepMs(50);
  while (NowSeconds() < end && temporaries() > 0) SleepMs(50);
  SleepMs(500);
  EXPECT_TRUE(r.Running()) << "a cancelled load leaves the reader running";
  EXPECT_NE(stat((data + "/Long.txt").c_str(), &st), 0) << "no converted file after the cancel";
  EXPECT_EQ(temporaries(), 0) << "no partial file either";
  EXPECT_EQ(stat(pdf.c_str(), &st), 0) << "the book itself stays";
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
}

// Temporaries that a crashed run left in the preferences folder and its Settings folder are gone
// after a start; a user's file of a similar name stays.
TEST_F(EndToEnd, StartRemovesLeftoverTemporaries) {
  const std::string data = home_ + "/.config/Quorvane/Quorvane Lectrel";
  const std::vector<std::string> gone = {data + "/Sample.txt.tmp-Xy12Ab", data + "/Settings/Lectrel.cfg.tmp-9Qw3eR"};
  const std::string kept = data + "/holiday.tmp-1";
  for (const std::string& path : gone) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fclose(f);
  }
  FILE* f = fopen(kept.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  Reader r(home_);
  ASSERT_TRUE(r.Start());
  Shot shot;
  ASSERT_TRUE(r.Settle(&shot, 40));
  struct stat st;
  for (const std::string& path : gone) EXPECT_NE(stat(path.c_str(), &st), 0) << path;
  EXPECT_EQ(stat(kept.c_str(), &st), 0);
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
}

// Escape opens the menus (the options screen) and Escape there leads back to the book: the reader
// is never left on a screen it cannot leave.
TEST_F(EndToEnd, EscapeOpensTheMenusAndEscapeLeavesThem) {
  Reader r(home_);
  ASSERT_TRUE(r.Start());
  Shot reading, back;
  ASSERT_TRUE(r.Settle(&reading, 40));
  r.PointAtWindow();
  r.Xdo({"key", "Escape"});
  // The options screen: the first title picture at the top left, darker than the page's paper.
  bool shown = false;
  double end = NowSeconds() + 30;
  while (NowSeconds() < end && r.Running() && !shown) {
    Shot s;
    shown = r.Grab(&s) && s.w == kWidth && s.h == kHeight && s.At(40, 50) < 200;
    if (!shown) SleepMs(100);
  }
  ASSERT_TRUE(shown) << "Escape opens the menus";
  SleepMs(1500);  // the menus settle, and Escape's guard after a screen change passes
  Shot menus;
  ASSERT_TRUE(r.Grab(&menus));
  r.Xdo({"key", "Escape"});
  ASSERT_TRUE(r.SettleChanged(menus, &back, 30)) << "Escape in the menus goes back to the book";
  EXPECT_GT(Correlation(Blocks(reading, false), Blocks(back, false)), 0.95);
  EXPECT_TRUE(r.Running());
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
  // The menus found every button picture, mask and their font.
  StoredFraction();
  std::string log;
  if (FILE* f = fopen((std::string(PrefFolderGetMainFolder()) + "/LogFile.txt").c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) log.append(buf, n);
    fclose(f);
  }
  ASSERT_NE(std::string::npos, log.find("Program Exit")) << "the reader's log";
  for (const char* bad : {"Could not load", "Unknown bitmap", "Texture sizes not the same", "Could not create font"})
    EXPECT_EQ(std::string::npos, log.find(bad)) << bad << "\n" << log;
}

}  // namespace
