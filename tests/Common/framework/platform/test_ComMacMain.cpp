// The whole start-up, main loop and shut-down through main itself, under Xvfb.
#define main ComMacMainForTest
#include "../../../../Common/framework/platform/ComMacMain.cpp"
#undef main

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>

#include "ShellTestApp.h"

using namespace shelltest;

namespace {

class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempHome();
    ASSERT_FALSE(home_.empty());
    EnsureResourceFolder();
    Reset();
  }
  void TearDown() override {
    Reset();
    RemoveTree(home_);
  }
  int RunMain() {
    char arg0[] = "lectrel";
    char* argv[] = {arg0, nullptr};
    return ComMacMainForTest(1, argv);
  }
  std::string home_;
};

// Screen callbacks that show where the screen table's start and exit fall in the order.
void ScreenInit() { Log("screen_init"); }
void ScreenCreate() { Log("screen_create"); }
void ScreenCleanup() { Log("screen_cleanup"); }
void AddScreenAndTurnOn() {
  int n = ComScreenAdd();
  ComScreenAddInitCallback(n, ScreenInit);
  ComScreenAddCreateCallback(n, ScreenCreate);
  ComScreenAddCleanupCallback(n, ScreenCleanup);
  ComScreenSetCurrent(n);
  ComScreenTurnOn(1);
  // The screen table is checked for its order; the frames themselves run with the menu off.
  ComScreenTurnOff(1);
  ComScreenStartCurrent();
  char title[201];
  memset(title, 'T', 200);
  title[200] = 0;
  ComWinSetAfterExitPopupMessage((char*)"first", (char*)"first text", 1);
  ComWinSetAfterExitPopupMessage(title, (char*)"second text", 2);
}

TEST_F(MainTest, StartupAndShutdownRunInOrder) {
  Cfg().on_post_3d = AddScreenAndTurnOn;
  EXPECT_EQ(0, RunMain());
  std::vector<std::string> expected = {"GameSetupAll_MAC", "pre_create_window", "pre_3d", "create_graphics",
                                       "post_3d", "screen_init", "screen_create", "screen_cleanup",
                                       "screen_init", "screen_create", "first_frame", "screen_cleanup",
                                       "pre_3d_exit", "delete_graphics", "post_3d_exit", "after_exit_popup",
                                       "after_exit"};
  EXPECT_EQ(expected, Trace());
  EXPECT_EQ(3, Frames());
  ASSERT_EQ(1u, Popups().size());
  EXPECT_EQ("AE:" + std::string(127, 'T') + "|second text|2", Popups()[0]);
  EXPECT_EQ(0, cmw_gl_setup);
}

TEST_F(MainTest, SetupFailuresEndTheStart) {
  struct Case {
    char setup, pre_create, pre_3d, post_3d;
    const char* box;  // null: no box
    const char* log;
    const char* last_trace;
  } cases[] = {
      {-1, 1, 1, 1, nullptr, nullptr, "GameSetupAll_MAC"},
      {0, 1, 1, 1, "Error|Internal Error [GameSetupAll - MAC]|1", "GameSetupAll_MAC Failed", "GameSetupAll_MAC"},
      {1, 0, 1, 1, "Error|Internal Error [PreCreateWindowCb - MAC]|1", "Pre Create Window Callback Failed", "pre_create_window"},
      {1, 1, 0, 1, "Error|Internal Error [Pre3dCb - MAC]|1", "Pre 3D Callback Failed", "pre_3d"},
      {1, 1, 1, 0, "Error|Internal Error [Post3dCb - MAC]|1", "Post 3D Callback Failed", "post_3d"},
      {1, 1, 1, -1, nullptr, nullptr, "post_3d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("case ") + (c.box ? c.box : "quiet") + " " + c.last_trace);
    Reset();
    unlink(LogPath().c_str());
    Cfg().setup_result = c.setup;
    Cfg().pre_create_result = c.pre_create;
    Cfg().pre_3d_result = c.pre_3d;
    Cfg().post_3d_result = c.post_3d;
    EXPECT_EQ(-1, RunMain());
    ASSERT_FALSE(Trace().empty());
    EXPECT_EQ(c.last_trace, Trace().back());
    EXPECT_EQ(0, Frames());
    std::string log = ReadFile(LogPath());
    if (c.box) {
      ASSERT_EQ(1u, Popups().size());
      EXPECT_EQ(c.box, Popups()[0]);
      EXPECT_EQ(1, CountOf(log, std::string("( main )  2  ") + c.log));
    } else {
      EXPECT_TRUE(Popups().empty());
      EXPECT_EQ(0, CountOf(log, "( main )"));
    }
  }
}

TEST_F(MainTest, NullStartupCallbacksGoStraightOn) {
  Cfg().null_pre_create = Cfg().null_pre_3d = Cfg().null_post_3d = true;
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ((std::vector<std::string>{"GameSetupAll_MAC", "create_graphics", "first_frame", "pre_3d_exit",
                                      "delete_graphics", "post_3d_exit", "after_exit"}),
            Trace());
}

TEST_F(MainTest, TinyDrawableBecomes640x480WithOneError) {
  Cfg().pre3d_width = 1;
  Cfg().pre3d_height = 0;
  int w = 0, h = 0;
  static int* pw = &w;
  static int* ph = &h;
  Cfg().on_post_3d = [] { *pw = WIDTH; *ph = HEIGHT; };
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(640, w);
  EXPECT_EQ(480, h);
  EXPECT_EQ(1, CountOf(ReadFile(LogPath()), "Invalid window dimensions [1,0] - setting to 640x480"));
}

TEST_F(MainTest, QuitInsidePostThreeDRunsNoFrame) {
  Cfg().quit_in_post_3d = true;
  Cfg().fps = 1;  // a second frame would come only a second later
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(0, Frames());
  EXPECT_EQ("post_3d_exit", Trace()[Trace().size() - 2]);
}

TEST_F(MainTest, PollingLoopRunsFramesToo) {
  Cfg().timers = false;
  Cfg().quit_after_frames = 5;
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(5, Frames());
}

TEST_F(MainTest, WindowOpensAtAskedSizeWithSoftwareGl) {
  Cfg().width = 500;
  Cfg().height = 300;
  static std::string renderer;
  static int ww, wh;
  Cfg().on_post_3d = [] {
    const char* r = (const char*)glGetString(GL_RENDERER);
    renderer = r ? r : "";
    SDL_GetWindowSize(main_window, &ww, &wh);
  };
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(500, ww);
  EXPECT_EQ(300, wh);
  EXPECT_NE(std::string::npos, renderer.find("llvmpipe")) << renderer;
  EXPECT_EQ(1, CountOf(SDL_GetWindowTitle(main_window), "Untitled"));
}

TEST_F(MainTest, TooLargeWindowIsLimitedToTheDesktop) {
  Cfg().width = 1600;
  Cfg().height = 1200;
  static int ww, wh, gw, gh;
  Cfg().on_post_3d = [] {
    SDL_GetWindowSize(main_window, &ww, &wh);
    gw = WIDTH;
    gh = HEIGHT;
  };
  EXPECT_EQ(0, RunMain());
  SDL_DisplayMode mode;
  ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &mode));
  EXPECT_EQ(mode.w, gw);
  EXPECT_EQ(mode.h - 50, gh);
  EXPECT_EQ(gw, ww);
  EXPECT_EQ(gh, wh);
}

void PushKey(SDL_Keycode sym, Uint32 type) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&e);
}

// At 1 frame a second, an input event runs one extra frame at once; a move runs none.
TEST_F(MainTest, KeyAndButtonRunOneExtraFrameMotionNone) {
  struct Case {
    const char* name;
    void (*push)();
    int frames_soon;  // frames within 500 ms of the first
  } cases[] = {
      {"key", [] { PushKey(SDLK_ESCAPE, SDL_KEYDOWN); }, 2},
      {"button", [] {
         SDL_Event e; SDL_zero(e); e.type = SDL_MOUSEBUTTONDOWN; e.button.button = SDL_BUTTON_LEFT;
         e.button.state = SDL_PRESSED; e.button.clicks = 1; SDL_PushEvent(&e);
       }, 2},
      {"motion", [] {
         SDL_Event e; SDL_zero(e); e.type = SDL_MOUSEMOTION; e.motion.x = 10; e.motion.y = 20;
         SDL_PushEvent(&e);
       }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    Cfg().fps = 1;
    static void (*push)();
    push = c.push;
    Cfg().on_tick = [](int frame) { if (frame == 1) push(); };
    Cfg().quit_after_frames = 2;
    EXPECT_EQ(0, RunMain());
    ASSERT_EQ(2u, FrameTimes().size());
    int32_t gap = (int32_t)(FrameTimes()[1] - FrameTimes()[0]);
    if (c.frames_soon == 2)
      EXPECT_LT(gap, 500);
    else
      EXPECT_GE(gap, 900);
  }
  EXPECT_NE(Keys().end(), std::find(Keys().begin(), Keys().end(), "move 10 20"));
}

// Events pumped inside a frame update state but run their frame only after it.
TEST_F(MainTest, PumpInsideAFrameDoesNotNestFrames) {
  Cfg().fps = 1;
  Cfg().quit_after_frames = 2;
  static int frames_during_pump;
  static size_t keys_during_pump;
  Cfg().on_tick = [](int frame) {
    if (frame != 1) return;
    PushKey(SDLK_F1, SDL_KEYDOWN);
    // The window's own events may come first in the queue.
    ComWinRunMessagesOnlyLoop(50);
    frames_during_pump = Frames();
    keys_during_pump = std::count(Keys().begin(), Keys().end(), "down 232");
  };
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(1, frames_during_pump);
  EXPECT_EQ(1u, keys_during_pump);
  ASSERT_EQ(2u, FrameTimes().size());
  EXPECT_LT((int32_t)(FrameTimes()[1] - FrameTimes()[0]), 500);
}

void PushResize(int w, int h) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  e.window.windowID = SDL_GetWindowID(main_window);
  e.window.data1 = w;
  e.window.data2 = h;
  SDL_PushEvent(&e);
}

TEST_F(MainTest, BurstOfResizesRebuildsOnceFromTheTopLevel) {
  Cfg().fps = 20;
  Cfg().quit_after_frames = 4;
  static int width_after_nested_pump;
  Cfg().on_tick = [](int frame) {
    if (frame == 1) {
      PushResize(400, 300);
      PushResize(420, 310);
      PushResize(0, 0);
      PushResize(450, 330);
      // A pump inside the frame (a book load) must not rebuild the graphics under it.
      ComWinRunMessagesOnlyLoop(4);
      width_after_nested_pump = WIDTH;
    }
  };
  EXPECT_EQ(0, RunMain());
  EXPECT_EQ(320, width_after_nested_pump);
  std::vector<std::string> t = Trace();
  EXPECT_EQ(2, (int)std::count(t.begin(), t.end(), "create_graphics"));
  EXPECT_EQ(1, (int)std::count(t.begin(), t.end(), "post_res_change"));
  EXPECT_EQ(2, (int)std::count(t.begin(), t.end(), "delete_graphics"));
  EXPECT_EQ(450, WIDTH);
  EXPECT_EQ(330, HEIGHT);
  EXPECT_EQ(225, WIDTH2);
  EXPECT_FLOAT_EQ(450.0f / 640.0f, x_ratio);
}

// Frames per second at the asked rate, within wide bounds (a loaded CI machine is slow).
TEST_F(MainTest, FrameRateFollowsTheAskedRate) {
  struct Case {
    float fps;
    unsigned run_ms;
    int min_frames, max_frames;
  } cases[] = {{60.0f, 1000, 15, 70}, {1.0f, 2500, 2, 4},
                 // 3000 asks for 0 ms: the loop still waits 1 ms between firings.
                 {3000.0f, 500, 20, 560}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fps);
    Reset();
    Cfg().fps = c.fps;
    Cfg().quit_after_frames = 0;
    static unsigned run_ms;
    static unsigned start;
    run_ms = c.run_ms;
    // Timed from the first frame: the start-up itself can be slow on a loaded machine.
    Cfg().on_tick = [](int frame) {
      if (frame == 1) start = ComWinGetTickCount();
      if ((uint32_t)(ComWinGetTickCount() - start) >= run_ms) ComWinCloseProgram();
    };
    // Ends at the first frame after the time: count only frames inside it.
    EXPECT_EQ(0, RunMain());
    int inside = 0;
    for (unsigned t : FrameTimes())
      if ((uint32_t)(t - start) < run_ms) inside++;
    EXPECT_GE(inside, c.min_frames);
    EXPECT_LE(inside, c.max_frames);
  }
}

// Real key presses and clicks from the X server (xdotool), turned into the program's codes.
pid_t g_xdotool = -1;
unsigned g_started_at = 0;
int g_attempts = 0;

bool Has(const std::string& k) { return std::find(Keys().begin(), Keys().end(), k) != Keys().end(); }

void StopXdotool() {
  if (g_xdotool > 0) {
    kill(g_xdotool, SIGKILL);
    waitpid(g_xdotool, nullptr, 0);
  }
  g_xdotool = -1;
}

void StartXdotool() {
  StopXdotool();
  Keys().clear();
  // Other window tests share the server: keep this window on top, under the pointer.
  // SDL gives each new window the focus when there is no window manager, and the focus goes
  // nowhere when that window closes: take it back.
  SDL_RaiseWindow(main_window);
  SDL_SetWindowInputFocus(main_window);
  int x = 0, y = 0;
  SDL_GetWindowPosition(main_window, &x, &y);
  std::string px = std::to_string(x + 40), py = std::to_string(y + 40);
  // With no window manager the focus follows the pointer: move it over the window first.
  const char* argv[] = {"xdotool", "mousemove", "--sync", px.c_str(), py.c_str(), "sleep", "0.2",
                        "key", "--delay", "50", "shift+1", "Escape", "End", "click", "3", nullptr};
  g_xdotool = fork();
  if (g_xdotool == 0) {
    execv("/usr/bin/xdotool", (char* const*)argv);
    _exit(127);
  }
  g_started_at = ComWinGetTickCount();
  g_attempts++;
}

TEST_F(MainTest, RealKeysAndClicksArriveAsProgramCodes) {
  if (access("/usr/bin/xdotool", X_OK) != 0) GTEST_SKIP() << "xdotool not installed";
  Cfg().fps = 30;
  Cfg().quit_after_frames = 0;
  g_xdotool = -1;
  g_attempts = 0;
  // Away from the centre, where every other test's window opens.
  Cfg().on_post_3d = [] { SDL_SetWindowPosition(main_window, 1280 - 320 - 20, 800 - 240 - 20); };
  Cfg().on_tick = [](int frame) {
    if (frame == 2) StartXdotool();
    if (frame <= 2) return;
    bool done = Has("up 33") && Has("up 27") && Has("up 251") && Has("press 1 0");
    if (done) {
      ComWinCloseProgram();
    } else if ((uint32_t)(ComWinGetTickCount() - g_started_at) > 4000) {
      if (g_attempts < 4) StartXdotool();  // another test's window took the pointer
      else ComWinCloseProgram();
    }
  };
  EXPECT_EQ(0, RunMain());
  StopXdotool();
  std::vector<std::string> keys;
  for (auto& k : Keys())
    if (k.rfind("move", 0) != 0) keys.push_back(k);
  EXPECT_EQ((std::vector<std::string>{"down 33", "up 33", "down 27", "up 27", "down 251", "up 251", "press 1 1",
                                      "press 1 0"}),
            keys);
}

}  // namespace
