// The window and its graphics life cycle, and one frame, on a real window under Xvfb.
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacWin.h"
#include "ComMacWinInput.h"
#include "ComScreen.h"
#include "Mui.h"
#include "ShellTestApp.h"

using namespace shelltest;

namespace {

std::vector<std::string>* g_calls;
char g_create_result = 1;
char g_tick_on_result = 1;
char CreateCB() { g_calls->push_back("create"); return g_create_result; }
void DeleteCB() { g_calls->push_back("delete"); }
void PostResCB() { g_calls->push_back("post_res"); }
char TickOffCB() { g_calls->push_back("tick_off"); return 1; }
char TickOnCB() { g_calls->push_back("tick_on"); return g_tick_on_result; }
void RenderOffCB() { g_calls->push_back("render_off"); }
void RenderPreCB() { g_calls->push_back("render_pre"); }
void RenderPostCB() { g_calls->push_back("render_post"); }
void RenderFullCB() { g_calls->push_back("render_full"); }
void ScreenTickCB() { g_calls->push_back("screen_tick"); }
void ScreenCreateCB() {}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempHome();
    Reset();
    g_calls = &calls_;
    g_create_result = 1;
    g_tick_on_result = 1;
    log_ = home_ + "/log.txt";
    DebugSetLogFilename(log_.c_str(), 1);
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO));
    ComMacWinSetMainCallbacks(nullptr, nullptr, nullptr, CreateCB, DeleteCB, PostResCB, TickOffCB, TickOnCB,
                              RenderOffCB, RenderPreCB, RenderPostCB, RenderFullCB, nullptr, nullptr);
    WIDTH = 400;
    HEIGHT = 300;
  }
  void TearDown() override {
    Reset();
    RemoveTree(home_);
  }
  void Open() {
    ASSERT_EQ(1, ComMacWinCreateWindow());
    ASSERT_EQ(1, ComMacWinCreateGraphics());
    calls_.clear();
  }
  std::string home_, log_;
  std::vector<std::string> calls_;
};

TEST(AglTest, SampleCountsForAntiAliasing) {
  EXPECT_EQ(0, ComMacAglSamplesFor(0));
  EXPECT_EQ(2, ComMacAglSamplesFor(2));
  EXPECT_EQ(2, ComMacAglSamplesFor(8));
  EXPECT_EQ(4, ComMacAglSamplesFor(4));
}

TEST_F(WindowTest, TitleIsSetFromCreationAndOverlongTitlesAreIgnored) {
  ComWinSetGameTitle((char*)"Caf\xE9 Lectrel");  // Latin-1 e acute
  Open();
  EXPECT_STREQ("Caf\xC3\xA9 Lectrel", SDL_GetWindowTitle(main_window));
  std::string longer(512, 'x');
  ComWinSetGameTitle(&longer[0]);
  ComWinSetGameTitle(nullptr);
  EXPECT_STREQ("Caf\xE9 Lectrel", cmw_title_str);
}

TEST_F(WindowTest, ResizeRebuildsTheGraphicsAndFixesTinySizes) {
  Open();
  ComMacWinResizeCB(500, 0);
  EXPECT_EQ((std::vector<std::string>{"delete", "create", "post_res"}), calls_);
  EXPECT_EQ(640, WIDTH);
  EXPECT_EQ(480, HEIGHT);
  EXPECT_EQ(320, WIDTH2);
  EXPECT_EQ(1, CountOf(ReadFile(log_), "Invalid window dimensions [500,0] - setting to 640x480"));
  EXPECT_EQ(1, cmw_gl_setup);
}

TEST_F(WindowTest, FailedRebuildLeavesNoContext) {
  Open();
  g_create_result = 0;
  ComMacWinResizeCB(420, 320);
  EXPECT_EQ(0, cmw_gl_setup);
  EXPECT_EQ(nullptr, cm_agl_context);
  ASSERT_EQ(1u, Popups().size());
  EXPECT_EQ("Error|Internal Error [Resize - Create Graphics - MAC]|1", Popups()[0]);
  // Frames do nothing until a later rebuild succeeds.
  calls_.clear();
  ComWinTickAndRender(1, 1, 1, 1);
  EXPECT_TRUE(calls_.empty());
  g_create_result = 1;
  ComMacWinResizeCB(440, 330);
  EXPECT_EQ(1, cmw_gl_setup);
  EXPECT_EQ(440, WIDTH);
}

TEST_F(WindowTest, GraphicsAreReleasedOnceWhenDeletedTwice) {
  Open();
  ComWinForceExitNow((char*)"Stop", (char*)"Forced");
  ComMacWinDeleteGraphics();
  EXPECT_EQ((std::vector<std::string>{"delete"}), calls_);
  EXPECT_EQ(1, cme_quit_main_loop);
  ASSERT_EQ(1u, Popups().size());
  EXPECT_EQ("Stop|Forced|1", Popups()[0]);
}

TEST_F(WindowTest, ScreensComeBackOnAfterARebuild) {
  Open();
  int s = ComScreenAdd();
  ComScreenAddCreateCallback(s, ScreenCreateCB);
  ComScreenSetCurrent(s);
  ComScreenTurnOn(1);
  ASSERT_EQ(1, mouseui_on);
  ComMacWinResizeCB(480, 360);
  EXPECT_EQ(1, ComScreenIsOn());
  EXPECT_EQ(1, mouseui_on);
  EXPECT_EQ(s, ComScreenGetCurrent());
}

TEST_F(WindowTest, FrameBeforeTheContextDoesNothing) {
  ASSERT_EQ(1, ComMacWinCreateWindow());
  ComWinTickAndRender(1, 1, 1, 1);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(WindowTest, FramePathsWithTheMenuLayerOffAndOn) {
  Open();
  ComWinTickAndRender(1, 1, 1, 0);
  EXPECT_EQ((std::vector<std::string>{"tick_off", "render_off"}), calls_);
  int s = ComScreenAdd();
  ComScreenAddCreateCallback(s, ScreenCreateCB);
  ComScreenAddTickCallback(s, ScreenTickCB);
  ComScreenSetCurrent(s);
  ComScreenTurnOn(1);
  ComMacWinAllowSleepIfMuiOn(0);
  calls_.clear();
  ComWinTickAndRender(1, 1, 1, 0);
  EXPECT_EQ((std::vector<std::string>{"tick_on", "screen_tick", "render_pre", "render_post", "render_full"}), calls_);
  // A tick answering 0 still ticks the screen but renders nothing.
  g_tick_on_result = 0;
  calls_.clear();
  ComWinTickAndRender(1, 1, 1, 0);
  EXPECT_EQ((std::vector<std::string>{"tick_on", "screen_tick"}), calls_);
  // Render only (the progress display during long work).
  g_tick_on_result = 1;
  calls_.clear();
  ComWinTickAndRender(0, 1, 1, 0);
  EXPECT_EQ((std::vector<std::string>{"render_pre", "render_post", "render_full"}), calls_);
}

// A key tapped between two ticks (its press and release pumped together) is still seen pressed
// by the next tick; its release follows that tick. A key held across a tick is released at once.
TEST_F(WindowTest, AQuickTapIsSeenByTheNextTick) {
  Open();
  ComMacWinKeyDown(27);
  ComMacWinKeyUp(27);
  EXPECT_EQ(2, key_down[27]);
  ComWinTickAndRender(1, 0, 0, 0);
  EXPECT_EQ(0, key_down[27]);
  ComMacWinKeyDown(27);
  ComWinTickAndRender(1, 0, 0, 0);
  ComMacWinKeyUp(27);
  EXPECT_EQ(0, key_down[27]);
}

// A full-screen window covers every other test's window on the shared X server for seconds
// (the fades), so tests that send real input would lose it: run on request only.
TEST_F(WindowTest, FullScreenSetUpAndTeardown) {
  if (!getenv("LECTREL_TEST_FULLSCREEN")) GTEST_SKIP() << "set LECTREL_TEST_FULLSCREEN=1 to run";
  SDL_DisplayMode desk;
  ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &desk));
  run_windowed = 0;
  WIDTH = desk.w;
  HEIGHT = desk.h;
  BITDEPTH = 32;
  FREQUENCY = desk.refresh_rate;
  ASSERT_EQ(1, ComMacWinCreateWindow());
  unsigned start = ComWinGetTickCount();
  ASSERT_EQ(1, ComMacWinCreateGraphics());
  unsigned took = ComWinGetTickCount() - start;
  EXPECT_TRUE(SDL_GetWindowFlags(main_window) & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(1, cmw_cursor_on);
  if (cm_fade_settings.ramp_valid) EXPECT_GE(took, 1500u);  // two fades of about a second
  ComMacWinDeleteGraphics();
  EXPECT_FALSE(SDL_GetWindowFlags(main_window) & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(0, cmw_gl_setup);
}

}  // namespace
