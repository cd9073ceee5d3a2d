// The Load screen of the real reader under the test's X server, with a throwaway HOME and a folder
// of books: a first start lands on it, it browses into a folder, refuses an unreadable book with
// its reason and opens the sample PDF by a double click; every start whose book cannot be opened
// lands on it with its message; a cancelled conversion comes back to it; Reviews hands one
// percent-encoded address to the browser launcher, whatever the file is called.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cstdio>
#include <fstream>
#include <sstream>
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
// Rows of the file list: 20 pixels from y 109, the list reaching across from x 15.
int RowY(int row) { return 109 + 20 * row + 10; }

bool CopyFile(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary);
  if (!in || !out) return false;
  out << in.rdbuf();
  return (bool)out;
}

bool WriteFile(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  return chmod(path.c_str(), mode) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A file that is there and cannot be read: without read permission, or (for root, whom permissions
// do not stop) a socket, which no one can open as a file.
bool MakeUnreadable(const std::string& path) {
  if (geteuid() != 0) return WriteFile(path, "%PDF-1.4\n", 0);
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un addr = {};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof(addr.sun_path)) return false;
  memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  bool ok = bind(fd, (sockaddr*)&addr, sizeof(addr)) == 0;
  close(fd);
  return ok;
}

// The Load screen: its folder line and Exit button are blue-grey bars, darker than the paper (about
// 190 against 240), which shows between Back and Open (darkened, but there, under a popup).
bool IsLoadScreen(const Shot& s) {
  if (s.w != kWidth || s.h != kHeight) return false;
  for (int x = 40; x < 600; x += 70)
    if (s.At(x, 96) > 220) return false;
  return s.At(600, 460) < 220 && s.At(150, 444) > 80;
}

// A popup darkens the whole screen, the paper beside the buttons and the list too.
bool PopupShown(const Shot& s) {
  return IsLoadScreen(s) && s.At(150, 444) < 190 && s.At(40, 395) < 190;
}

class LoadEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
    books_ = home_ + "/Desktop/Books";
    ASSERT_EQ(mkdir((home_ + "/Desktop").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(books_.c_str(), 0755), 0);
    sample_pdf_ = std::string(LECTREL_RESOURCES) + "/Samples/Sample.pdf";
  }

  // Settings naming book as the last one read ("" for none) and a display-mode file for a window.
  void Prepare(const std::string& book) { ASSERT_TRUE(PrepareHome(home_, book, kWidth, kHeight)); }

  std::string home_, books_, sample_pdf_;
};

TEST_F(LoadEndToEnd, FirstStartBrowsesRefusesAnUnreadableBookAndOpensThePdf) {
  ASSERT_TRUE(CopyFile(sample_pdf_, books_ + "/Sample.pdf"));
  ASSERT_TRUE(MakeUnreadable(books_ + "/Locked.pdf"));
  Prepare("");
  Reader r(home_);
  ASSERT_TRUE(r.Start());
  Shot s;
  ASSERT_TRUE(r.WaitFor(IsLoadScreen, 30, &s)) << "a start without a book shows the Load screen";
  EXPECT_FALSE(PopupShown(s)) << "no error on a first start";

  r.ClickAt(320, RowY(1), 2);  // [ Books ]
  r.ClickAt(320, RowY(1), 2);  // Locked.pdf
  ASSERT_TRUE(r.WaitFor(PopupShown, 10)) << "an unreadable book is refused with a popup";
  r.ClickAt(320, 285);  // its OK
  ASSERT_TRUE(r.WaitFor([](const Shot& x) { return IsLoadScreen(x) && !PopupShown(x); }, 10))
      << "the popup ends and the Load screen stays";

  r.ClickAt(70, 14);  // paragraph spacing: Auto, then Less
  r.ClickAt(320, RowY(2), 2);  // Sample.pdf
  ASSERT_TRUE(r.WaitFor([](const Shot& x) { return !IsLoadScreen(x); }, 30)) << "the book opens";
  ASSERT_TRUE(r.Settle(&s, 40)) << "the book's text is shown";
  EXPECT_GT(TextPixels(s), 300);
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
  LoadStoredSettings(home_);
  EXPECT_EQ(std::string(config.last_book), books_ + "/Sample.pdf");
  EXPECT_EQ(std::string(config.last_folder), books_) << "the folder is remembered";
  EXPECT_EQ(config.html_paragraph_spacing, 0);
}

TEST_F(LoadEndToEnd, StartsWhoseBookCannotBeOpenedLandOnTheLoadScreenWithTheirMessage) {
  struct Case {
    const char* what;
    std::string book;
    bool (*make)(const std::string& path, const std::string& sample);
  } cases[] = {
      {"missing", books_ + "/Gone.pdf", [](const std::string&, const std::string&) { return true; }},
      {"unsupported type", books_ + "/Notes.doc",
       [](const std::string& p, const std::string&) { return WriteFile(p, "plain words\n"); }},
      {"unreadable", books_ + "/Locked.pdf",
       [](const std::string& p, const std::string&) { return MakeUnreadable(p); }},
      {"not a PDF inside", books_ + "/Broken.pdf",
       [](const std::string& p, const std::string&) { return WriteFile(p, "not a PDF at all\n"); }},
      // An open of a FIFO for reading would wait for a writer: no window would ever come.
      {"a FIFO", books_ + "/Pipe.txt",
       [](const std::string& p, const std::string&) { return mkfifo(p.c_str(), 0644) == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare(c.book);
    ASSERT_TRUE(c.make(c.book, sample_pdf_));
    Reader r(home_);
    ASSERT_TRUE(r.Start());
    EXPECT_TRUE(r.WaitFor([](const Shot& s) { return IsLoadScreen(s) && PopupShown(s); }, 40))
        << "the Load screen with the reason, never an empty window";
    r.Close();
    EXPECT_EQ(r.WaitExit(30), 0);
    unlink(c.book.c_str());
  }
}

TEST_F(LoadEndToEnd, EscapeDuringALongConversionComesBackToTheLoadScreen) {
  std::string pdf = books_ + "/Long.pdf";
  ASSERT_TRUE(MakeLongPdf(home_, pdf));
  Prepare(pdf);
  Reader r(home_);
  ASSERT_TRUE(r.Start());
  r.PointAtWindow();
  ASSERT_TRUE(r.WaitForProgressBox(30)) << "no progress box during the conversion";
  r.Xdo({"key", "Escape"});
  Shot s;
  ASSERT_TRUE(r.WaitFor(IsLoadScreen, 30, &s)) << "a cancelled load lands on the Load screen";
  SleepMs(500);
  ASSERT_TRUE(r.Grab(&s));
  EXPECT_FALSE(PopupShown(s)) << "a cancel is no error";
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
}

TEST_F(LoadEndToEnd, ReviewsHandsOneEncodedAddressToTheBrowserLauncher) {
  std::string name = "$(touch PWNED)_\"War\" and 'Peace'.pdf";
  ASSERT_TRUE(CopyFile(sample_pdf_, books_ + "/" + name));
  std::string bin = MakeTempDir();
  std::string record = bin + "/argv.txt";
  // Records its arguments, one a line after their count.
  ASSERT_TRUE(WriteFile(bin + "/xdg-open",
                        "#!/bin/sh\nprintf '%s\\n' \"$#\" > '" + record + ".tmp'\n"
                        "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record + ".tmp'; done\n"
                        "mv '" + record + ".tmp' '" + record + "'\n",
                        0755));
  Prepare("");
  Reader r(home_);
  r.SetEnv("PATH", bin + ":" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin"));
  ASSERT_TRUE(r.Start());
  ASSERT_TRUE(r.WaitFor(IsLoadScreen, 30));
  r.ClickAt(320, RowY(1), 2);  // [ Books ]
  r.ClickAt(320, RowY(1));     // the book, chosen
  r.ClickAt(408, 444);         // Reviews
  double end = NowSeconds() + 15;
  struct stat st;
  while (NowSeconds() < end && stat(record.c_str(), &st) != 0) SleepMs(100);
  EXPECT_EQ(ReadFile(record),
            "1\nhttps://www.quorvane.com/bookstore/search?keyword=%24%28touch%20PWNED%29%20"
            "%22War%22%20and%20%27Peace%27&mode=books\n");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
  for (const std::string& dir : {home_, books_, bin, std::string(cwd)})
    EXPECT_NE(stat((dir + "/PWNED").c_str(), &st), 0) << "no shell ran the name, in " << dir;
  EXPECT_TRUE(IsLoadScreen([&] { Shot s; r.Grab(&s); return s; }()));
  r.Close();
  EXPECT_EQ(r.WaitExit(30), 0);
}

}  // namespace
