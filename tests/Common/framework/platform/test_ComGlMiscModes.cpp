// Frame timing with a settable clock, the main-loop rate, the clock itself and the display-mode
// table.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "ComDebug.h"
#include "ComMacModes.h"
#include "ComMacWin.h"
#include "ShellTestApp.h"

using namespace shelltest;

namespace {

unsigned g_now = 0;
unsigned FakeClock() { return g_now; }

class TimingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempHome();
    Reset();
    DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
    ComWinSetTickCountSource(FakeClock);
  }
  void TearDown() override {
    Reset();
    RemoveTree(home_);
  }
  std::string home_;
};

TEST_F(TimingTest, FrameDurationIsAMeanWithWeightOneHalf) {
  g_now = 5000;
  ComGlMiscCalcFrameRate();  // only records the time
  EXPECT_FLOAT_EQ(0.1f, n3d_per_second);
  EXPECT_EQ(5000, n3d_current_time);
  g_now = 5020;
  ComGlMiscCalcFrameRate();  // first measured frame: set directly
  EXPECT_FLOAT_EQ(0.02f, n3d_per_second);
  EXPECT_EQ(50, n3d_frame_rate);
  g_now = 5040;
  ComGlMiscCalcFrameRate();
  EXPECT_FLOAT_EQ(0.02f, n3d_per_second);
  EXPECT_EQ(50, n3d_frame_rate);
  ComGlMiscCalcFrameRate();  // same millisecond: nothing changes
  EXPECT_FLOAT_EQ(0.02f, n3d_per_second);
  g_now = 5100;
  ComGlMiscCalcFrameRate();
  EXPECT_FLOAT_EQ(0.04f, n3d_per_second);
  EXPECT_EQ(25, n3d_frame_rate);
}

TEST_F(TimingTest, FrameDurationAcrossTheClockWrap) {
  g_now = 0xFFFFFFF0u;
  ComGlMiscCalcFrameRate();
  g_now = 0x00000010u;
  ComGlMiscCalcFrameRate();
  EXPECT_FLOAT_EQ(0.032f, n3d_per_second);
}

TEST_F(TimingTest, MainLoopRateTable) {
  struct Case {
    float fps;
    uint32_t interval;
    char changed;
  } cases[] = {{60, 16, 1}, {60, 16, 0}, {1000, 1, 1}, {1, 1000, 1}, {0, 1000, 0},
               {-5, 1000, 0}, {NAN, 1000, 0}, {3000, 0, 1}, {30, 33, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    cmw_main_loop_interval_changed = 0;
    ComMacWinSetMainLoopTimerFrameRate(c.fps);
    EXPECT_EQ(c.interval, cmw_main_loop_interval_ms);
    EXPECT_EQ(c.changed, cmw_main_loop_interval_changed);
  }
}

TEST_F(TimingTest, TimerMisuseIsOnlyLogged) {
  ComMacWinDestroyMainLoopTimer();
  ComMacWinCreateMainLoopTimer();
  ComMacWinCreateMainLoopTimer();
  ComMacWinDestroyMainLoopTimer();
  std::string log = ReadFile(home_ + "/log.txt");
  EXPECT_EQ(1, CountOf(log, "Timer not created"));
  EXPECT_EQ(1, CountOf(log, "Timer already created"));
}

TEST(ClockTest, TickCountIsMonotonicMillisecondsAndSleepWaits) {
  ComWinSetTickCountSource(nullptr);
  unsigned a = ComWinGetTickCount();
  ComWinSleep(30, 0);
  unsigned b = ComWinGetTickCount();
  EXPECT_GE((int32_t)(b - a), 30);
  EXPECT_LT((int32_t)(b - a), 1000);
  ComWinSetTickSleepAmount(5);
  EXPECT_EQ(5000u, cmw_tick_sleep_amount);
  ComWinSetTickSleepAmount(0);
}

TEST(ResModesTest, ScanGroupsRatesAndSorts) {
  std::vector<_ComGlModeEntry> list = {{1024, 768, 32, 75}, {800, 600, 16, 60}, {1024, 768, 32, 60},
                                       {1024, 768, 32, 85}, {800, 600, 32, 60}, {640, 480, 8, 60},
                                       {640, 480, 15, 60}};
  ASSERT_EQ(1, ComGlMiscGetResolutionModesFromList(list.data(), (int)list.size(), 0));
  ASSERT_EQ(5, ComGlResModesGetNumModes());
  EXPECT_EQ(8, com_gl_res_modes[0].bits_per_pixel);
  EXPECT_EQ(15, com_gl_res_modes[1].bits_per_pixel);
  EXPECT_EQ(16, com_gl_res_modes[2].bits_per_pixel);
  EXPECT_EQ(800, com_gl_res_modes[3].width);
  const _ComGlResMode& big = com_gl_res_modes[4];
  EXPECT_EQ(1024, big.width);
  EXPECT_EQ(3, big.num_rates);
  EXPECT_EQ(60, big.refresh_rates[0]);
  EXPECT_EQ(75, big.refresh_rates[1]);
  EXPECT_EQ(85, big.refresh_rates[2]);
  // Deep only leaves out 8- and 15-bit modes.
  ASSERT_EQ(1, ComGlMiscGetResolutionModesFromList(list.data(), (int)list.size(), 1));
  EXPECT_EQ(3, ComGlResModesGetNumModes());
  EXPECT_EQ(16, com_gl_res_modes[0].bits_per_pixel);
}

TEST(ResModesTest, TwentiethRateAndEmptyListsAreDropped) {
  std::vector<_ComGlModeEntry> list;
  for (int i = 0; i < 25; i++) list.push_back({1280, 800, 32, 100 - i});
  ASSERT_EQ(1, ComGlMiscGetResolutionModesFromList(list.data(), (int)list.size(), 1));
  EXPECT_EQ(19, com_gl_res_modes[0].num_rates);
  EXPECT_EQ(82, com_gl_res_modes[0].refresh_rates[0]);
  EXPECT_EQ(0, ComGlMiscGetResolutionModesFromList(list.data(), 0, 1));
  EXPECT_EQ(0, ComGlResModesGetNumModes());
  std::vector<_ComGlModeEntry> shallow = {{640, 480, 8, 60}};
  EXPECT_EQ(0, ComGlMiscGetResolutionModesFromList(shallow.data(), 1, 1));
}

TEST(ResModesTest, TheDisplaysModesUnderXvfb) {
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO));
  ASSERT_EQ(1, ComGlMiscGetResolutionModes(0));
  bool found = false;
  for (int i = 0; i < ComGlResModesGetNumModes(); i++)
    if (com_gl_res_modes[i].width == 1280 && com_gl_res_modes[i].height == 800) found = true;
  EXPECT_TRUE(found);
  // The full-screen values are corrected to a real mode; windowed ones stay.
  run_windowed = 0;
  WIDTH = 1270;
  HEIGHT = 790;
  BITDEPTH = 32;
  FREQUENCY = 60;
  ComGlResModesEnsureCurrentResModeOk(0);
  EXPECT_EQ(1280, WIDTH);
  EXPECT_EQ(800, HEIGHT);
  EXPECT_EQ(32, BITDEPTH);
  const int rate = FREQUENCY;  // the display's own (Xvfb tells none: 0)
  // Larger than every mode (wider, taller, or both): the largest mode is the closest.
  const int sizes[][2] = {{5000, 4000}, {5000, 600}, {800, 4000}};
  for (const auto& size : sizes) {
    WIDTH = size[0];
    HEIGHT = size[1];
    BITDEPTH = 32;
    FREQUENCY = 60;
    ComGlResModesEnsureCurrentResModeOk(0);
    EXPECT_EQ(1280, WIDTH) << size[0] << "x" << size[1];
    EXPECT_EQ(800, HEIGHT);
    EXPECT_EQ(32, BITDEPTH);
    EXPECT_EQ(rate, FREQUENCY);
    EXPECT_EQ(640, WIDTH2);
  }
  run_windowed = 1;
  WIDTH = 100;
  ComGlResModesEnsureCurrentResModeOk(0);
  EXPECT_EQ(100, WIDTH);
  WIDTH = 640;
  HEIGHT = 480;
}

}  // namespace
