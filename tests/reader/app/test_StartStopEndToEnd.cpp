// The real reader's start without a display and its end on a termination signal: with no display
// it says why and exits at once; SIGTERM, SIGINT and SIGHUP end it through its own exit in its
// dialog, a message box, the menus, a conversion and the reading view, where the position is saved
// first.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "Config.h"
#include "ReaderDriver.h"

namespace {

using namespace e2e;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string DataDir(const std::string& home) { return home + "/.config/Quorvane/Quorvane Lectrel"; }
std::string LogOf(const std::string& home) { return ReadFile(DataDir(home) + "/LogFile.txt"); }

// Runs the reader with the environment changed by set (and put back after); its exit status
// (-1 when it had to be killed) and what it wrote on the standard streams.
int RunReader(const std::string& home, const char* display, const char* driver, double timeout,
              std::string* out) {
  std::string old_display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
  if (display) setenv("DISPLAY", display, 1);
  if (driver) setenv("SDL_VIDEODRIVER", driver, 1);
  unsetenv("WAYLAND_DISPLAY");
  int r = RunWithHome({std::string(LECTREL_BINARY_DIR) + "/lectrel"}, home, timeout, out, true);
  setenv("DISPLAY", old_display.c_str(), 1);
  unsetenv("SDL_VIDEODRIVER");
  return r;
}

// A display number with no X server behind it.
std::string DeadDisplay() {
  for (int n = 97; n > 50; n--) {
    struct stat st;
    if (stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) != 0 &&
        stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) != 0)
      return ":" + std::to_string(n);
  }
  return ":97";
}

class StartStopEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
  }
  void Prepare(const std::string& book) { ASSERT_TRUE(PrepareHome(home_, book, 640, 480)); }
  std::string home_;
};

// A display that is not there, and SDL's drivers that show no window: a clear line on the standard
// error stream and in the log, and a failed exit within seconds, never a process without a window.
TEST_F(StartStopEndToEnd, WithoutADisplayItSaysWhyAndExits) {
  Prepare("");
  struct Case {
    std::string display;
    const char* driver;
  } cases[] = {{DeadDisplay(), nullptr}, {DeadDisplay(), "offscreen"}, {"", "dummy"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("DISPLAY=" + c.display + " SDL_VIDEODRIVER=" + (c.driver ? c.driver : ""));
    std::string out;
    const double start = NowSeconds();
    int status = RunReader(home_, c.display.c_str(), c.driver, 10, &out);
    EXPECT_LT(NowSeconds() - start, 5.0);
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1) << "had to be killed";
    EXPECT_NE(out.find("SDL_Init failed: x11 not available"), std::string::npos) << out;
    EXPECT_NE(LogOf(home_).find("SDL_Init failed <x11 not available"), std::string::npos) << LogOf(home_);
  }
}

// A fresh start (no settings file) checks the preset slots: a FIFO as Slot01.lcs is taken for a
// missing slot, so the preset takes its place and the reader comes up with its window, where an
// open of the FIFO would wait for a writer for good.
TEST_F(StartStopEndToEnd, AFifoAsASlotOnAFreshStartIsReplacedByThePreset) {
  Prepare("");
  const std::string settings = DataDir(home_) + "/Settings";
  ASSERT_EQ(unlink((settings + "/" CONFIG_FILE_NAME).c_str()), 0);
  const std::string slot = settings + "/Slot01.lcs";
  unlink(slot.c_str());
  ASSERT_EQ(mkfifo(slot.c_str(), 0644), 0);
  Reader r(home_);
  ASSERT_TRUE(r.Start()) << "a window (the first start's dialog) comes up";
  struct stat st;
  ASSERT_EQ(lstat(slot.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode)) << "the preset slot replaced the FIFO";
  EXPECT_EQ((size_t)st.st_size, sizeof(_Config));
  r.Signal(SIGTERM);
  EXPECT_GE(r.WaitExit(30), 0);
}

// Each moment as a person reaches it, then a signal: the reader ends through its own exit, with
// the status of that path (the start-up's failure before the window exists, 0 once it is up), and
// never by the signal itself, which would lose the reading position. The limit only catches a
// reader that does not end; how fast it ends is the benchmark's to measure.
TEST_F(StartStopEndToEnd, ASignalEndsTheReaderAtAnyMoment) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  const std::string txt = std::string(LECTREL_RESOURCES) + "/Samples/Sample.txt";
  const std::string pdf = home_ + "/Long.pdf";
  ASSERT_TRUE(MakeLongPdf(home_, pdf));
  struct Moment {
    const char* what;
    int sig;
    std::string book;
    const char* arg;
    std::function<void(const std::string& home)> before;  // on the prepared home
    std::function<bool(Reader& r, const std::string& home)> reach;
    bool saves_position;
    int status;  // main's answer on that path, as the exit status
  };
  const int kStartUp = 255;  // main answers -1 when the start-up is given up
  auto dialog = [](Reader&, const std::string&) { return true; };
  auto reading = [](Reader& r, const std::string&) {
    Shot s;
    if (!r.Settle(&s, 30)) return false;
    r.PointAtWindow();
    for (int i = 0; i < 4; i++) r.Xdo({"key", "Next"});
    return r.Settle(&s, 10);
  };
  const Moment moments[] = {
      {"the start-up dialog", SIGTERM, txt, "SHOWRESWIN", nullptr, dialog, false, kStartUp},
      {"the start-up dialog", SIGINT, txt, "SHOWRESWIN", nullptr, dialog, false, kStartUp},
      {"the start-up dialog", SIGHUP, txt, "SHOWRESWIN", nullptr, dialog, false, kStartUp},
      // The display-mode file cannot be replaced (a folder holds its name): the dialog comes, and
      // after its Start the box that says so.
      {"a message box", SIGTERM, txt, nullptr,
       [](const std::string& home) {
         const std::string res = DataDir(home) + "/Resolution.dat";
         unlink(res.c_str());
         mkdir(res.c_str(), 0755);
         mkdir((res + "/keep").c_str(), 0755);
       },
       [](Reader& r, const std::string& home) {
         r.PointAtWindow();
         r.Xdo({"key", "Return"});
         for (double end = NowSeconds() + 15; NowSeconds() < end; SleepMs(100))
           if (LogOf(home).find("Could not rename file to") != std::string::npos) break;
         SleepMs(500);  // the box maps
         return r.Running();
       },
       false, kStartUp},
      {"the reading view", SIGTERM, txt, nullptr, nullptr, reading, true, 0},
      {"the reading view", SIGHUP, txt, nullptr, nullptr, reading, true, 0},
      {"the menus", SIGHUP, txt, nullptr, nullptr,
       [&](Reader& r, const std::string& home) {
         if (!reading(r, home)) return false;
         r.Xdo({"key", "Escape"});
         Shot s;
         return r.Settle(&s, 10);
       },
       true, 0},
      {"a conversion", SIGINT, pdf, nullptr, nullptr,
       [](Reader& r, const std::string&) { return r.WaitForProgressBox(30); }, false, 0},
  };
  for (const Moment& m : moments) {
    SCOPED_TRACE(std::string(m.what) + ", signal " + std::to_string(m.sig));
    const std::string home = MakeTempDir();
    ASSERT_TRUE(PrepareHome(home, m.book, 640, 480));
    if (m.before) m.before(home);
    Reader r(home);
    if (m.arg) r.AddArg(m.arg);
    r.SetEnv("NO_AT_BRIDGE", "1");
    ASSERT_TRUE(r.Start());
    ASSERT_TRUE(m.reach(r, home)) << "the moment was not reached";
    r.Signal(m.sig);
    const int status = r.WaitExit(10);
    EXPECT_NE(status, -2) << "still running 10 s after the signal";
    EXPECT_NE(status, -1) << "ended by the signal, not by its own exit";
    EXPECT_EQ(status, m.status);
    if (m.saves_position) {
      LoadStoredSettings(home);
      ASSERT_EQ(config.num_books, 1);
      EXPECT_GT(config.books[0].read_fraction, 0.0f) << "the pages turned are kept";
    }
  }
}

}  // namespace
