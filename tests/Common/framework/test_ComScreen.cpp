// The screen table: start and stop order, going to and back, turning on and off, ticks,
// viewports and the limits of the table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComMacWinInput.h"
#include "ComScreen.h"
#include "Mui.h"

namespace {

std::vector<std::string> g_trace;
std::string g_log;

#define SCREEN_CBS(N)                                        \
  void Init##N() { g_trace.push_back("init" #N); }           \
  void Create##N() { g_trace.push_back("create" #N); }       \
  void Cleanup##N() { g_trace.push_back("cleanup" #N); }     \
  void Starting##N() { g_trace.push_back("starting" #N); }   \
  void Update##N() { g_trace.push_back("update" #N); }       \
  void Tick##N() { g_trace.push_back("tick" #N); }
SCREEN_CBS(0)
SCREEN_CBS(1)
SCREEN_CBS(2)
void Pre() { g_trace.push_back("pre"); }
void Post() { g_trace.push_back("post"); }
void MainTick() { g_trace.push_back("main_tick"); }
void TickTurningOff() {
  g_trace.push_back("tick_off");
  ComScreenTurnOff(0);
}
void NoBox(char*, char*, char) {}
// Turning the menu layer off centres the pointer: caught here, so the shared X pointer stays put.
void NoWarp(int, int) {}

std::string ReadLog() {
  std::ifstream in(g_log, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lectrel-screen-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(tmpl));
    dir_ = tmpl;
    g_log = dir_ + "/log.txt";
    DebugSetLogFilename(g_log.c_str(), 1);
    ComWinSetPopupMessagesCallback(NoBox, NoBox);
    ComWinSetCursorWarpSink(NoWarp);
    g_trace.clear();
    ComScreenInit();
    com_screen_on = 0;
    com_screen_current = 0;
    mouseui_on = 0;
    ComScreenRegisterPreChangeCallback(Pre);
    ComScreenRegisterPostChangeCallback(Post);
    ComScreenRegisterMainTickCallback(MainTick);
  }
  void TearDown() override {
    ComScreenExit();
    ComScreenRegisterPreChangeCallback(nullptr);
    ComScreenRegisterPostChangeCallback(nullptr);
    ComScreenRegisterMainTickCallback(nullptr);
    com_screen_on = 0;
    mouseui_on = 0;
    ComWinSetCursorWarpSink(nullptr);
    unlink(g_log.c_str());
    rmdir(dir_.c_str());
  }
  int Add(void (*init)(), void (*create)(), void (*cleanup)(), void (*starting)(), void (*update)(), void (*tick)()) {
    int n = ComScreenAdd();
    ComScreenAddCallback(n, (char*)"Init", init);
    ComScreenAddCreateCallback(n, create);
    ComScreenAddCleanupCallback(n, cleanup);
    ComScreenAddStartingCallback(n, starting);
    ComScreenAddUpdateCallback(n, update);
    ComScreenAddTickCallback(n, tick);
    return n;
  }
  void AddThree() {
    EXPECT_EQ(0, Add(Init0, Create0, Cleanup0, Starting0, Update0, Tick0));
    EXPECT_EQ(1, Add(Init1, Create1, Cleanup1, Starting1, Update1, Tick1));
    EXPECT_EQ(2, Add(Init2, Create2, Cleanup2, Starting2, Update2, Tick2));
  }
  std::string dir_;
};

using T = std::vector<std::string>;

TEST_F(ScreenTest, TurnOnStartsTheCurrentScreenInOrder) {
  AddThree();
  ComScreenTurnOn(1);
  EXPECT_EQ((T{"pre", "init0", "create0", "starting0", "update0", "post"}), g_trace);
  EXPECT_EQ(1, ComScreenIsOn());
  EXPECT_EQ(1, mouseui_on);
  g_trace.clear();
  ComScreenTurnOn(1);  // already on: nothing
  EXPECT_TRUE(g_trace.empty());
}

TEST_F(ScreenTest, GotoAndGoBack) {
  AddThree();
  ComScreenTurnOn(1);
  g_trace.clear();
  ComScreenGoto(1);
  EXPECT_EQ((T{"cleanup0", "pre", "init1", "create1", "starting1", "update1", "post"}), g_trace);
  EXPECT_EQ(0, ComScreenGetPrev());
  ComScreenGoto(2);
  EXPECT_EQ(1, ComScreenGetPrev());
  g_trace.clear();
  ComScreenGoBack();
  EXPECT_EQ((T{"cleanup2", "pre", "init1", "create1", "starting1", "update1", "post"}), g_trace);
  EXPECT_EQ(1, ComScreenGetCurrent());
  ComScreenGoBack();
  EXPECT_EQ(0, ComScreenGetCurrent());
  // Screen 0 was never reached from anywhere: logged, nothing changes.
  g_trace.clear();
  ComScreenGoBack();
  EXPECT_TRUE(g_trace.empty());
  EXPECT_EQ(1, (int)(ReadLog().find("( ComScreenGoBack2 )  2  Invalid screen num: -1 (num screens = 3)") != std::string::npos));
  // Going to the current screen restarts it and makes it its own previous.
  ComScreenGoto(0);
  EXPECT_EQ(0, ComScreenGetPrev());
}

TEST_F(ScreenTest, TurnOffModesAndTick) {
  AddThree();
  ComScreenTurnOn(1);
  g_trace.clear();
  EXPECT_EQ(1, ComScreenTick());
  EXPECT_EQ((T{"tick0", "main_tick"}), g_trace);
  g_trace.clear();
  EXPECT_EQ(0, ComScreenTurnOff(1));
  EXPECT_EQ((T{"cleanup0"}), g_trace);
  EXPECT_EQ(0, mouseui_on);
  EXPECT_EQ(0, ComScreenTurnOff(1));  // already off
  EXPECT_EQ(0, ComScreenTick());
  ComScreenTurnOn(1);
  EXPECT_EQ(-1, ComScreenTurnOff(2));
  EXPECT_EQ(-1, ComScreenGetCurrent());
}

TEST_F(ScreenTest, TickThatTurnsScreensOffEndsTheTick) {
  int n = ComScreenAdd();
  ComScreenAddCreateCallback(n, Create0);
  ComScreenAddTickCallback(n, TickTurningOff);
  ComScreenTurnOn(1);
  g_trace.clear();
  ComScreenTick();
  EXPECT_EQ((T{"tick_off"}), g_trace);
}

TEST_F(ScreenTest, UpdateAndViewport) {
  AddThree();
  ComScreenUpdate();  // off: nothing
  EXPECT_TRUE(g_trace.empty());
  ComScreenTurnOn(1);
  g_trace.clear();
  ComScreenUpdate();
  EXPECT_EQ((T{"update0"}), g_trace);
  EXPECT_EQ(0, ComScreenNeedToChangeViewportSize(0));
  ComScreenSpecifyViewportSize(0, 10, 20, 0, 100);  // width 0: the full window
  EXPECT_EQ(0, ComScreenNeedToChangeViewportSize(0));
  ComScreenSpecifyViewportSize(0, 10, 20, 300, 100);
  EXPECT_EQ(1, ComScreenNeedToChangeViewportSize(0));
}

TEST_F(ScreenTest, ScreenWithoutCreateIsFatalAndCleanedUp) {
  int n = ComScreenAdd();
  ComScreenAddInitCallback(n, Init0);
  ComScreenAddCleanupCallback(n, Cleanup0);
  ComScreenTurnOn(0);
  EXPECT_EQ((T{"pre", "init0", "cleanup0", "post"}), g_trace);
  EXPECT_EQ(0, ComScreenIsOn());
  EXPECT_NE(std::string::npos, ReadLog().find("<EXIT NM> ( ComScreenStartCurrent )     Current Screen (0) has no creation callback"));
}

TEST_F(ScreenTest, ExitCleansUpOnlyStartedScreens) {
  AddThree();
  ComScreenTurnOn(1);
  ComScreenGoto(1);
  ComScreenTurnOff(0);  // 1 stopped
  ComScreenTurnOn(0);   // 1 started again
  g_trace.clear();
  ComScreenExit();
  EXPECT_EQ((T{"cleanup1"}), g_trace);
  EXPECT_EQ(0, com_num_screens);
  // Remove asks for the screen's clean-up whatever its state.
  Add(Init0, Create0, Cleanup0, nullptr, nullptr, nullptr);
  g_trace.clear();
  ComScreenRemove(0);
  EXPECT_EQ((T{"cleanup0"}), g_trace);
}

TEST_F(ScreenTest, FullTableAnswersMinusOne) {
  for (int i = 0; i < COM_MAX_SCREENS; i++) ASSERT_EQ(i, ComScreenAdd());
  EXPECT_EQ(-1, ComScreenAdd());
  EXPECT_NE(std::string::npos, ReadLog().find("( ComScreenAdd )     Too many screens (100 created)"));
  cme_quit_main_loop = 0;
}

TEST_F(ScreenTest, InvalidNumbersAreLoggedAndRefused) {
  ComScreenSetCurrent(5);  // no screens: nothing, no message
  EXPECT_EQ(std::string::npos, ReadLog().find("Invalid screen num"));
  EXPECT_EQ(-1, ComScreenGetPrev());
  AddThree();
  ComScreenSetCurrent(7);
  EXPECT_EQ(0, ComScreenGetCurrent());
  EXPECT_NE(std::string::npos, ReadLog().find("( ComScreenSetCurrent )  2  Invalid screen num: 7 (num screens = 3)"));
  EXPECT_EQ(0, ComScreenCheckNumOK((char*)"Caller", -2));
  EXPECT_NE(std::string::npos, ReadLog().find("( Caller )  2  Invalid screen num: -2"));
  ComScreenAddCallback(0, (char*)"Bogus", Init2);  // unknown names are ignored
  ComScreenResetCurrent();
  EXPECT_EQ(-1, ComScreenGetCurrent());
  ComScreenSetPrevious(1);
  EXPECT_NE(std::string::npos, ReadLog().find("( ComScreenSetPrevious(2) )  2  Invalid screen num: -1"));
}

}  // namespace
