// SDL events turned into the program's key codes and dispatched to the input callbacks.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ComDebug.h"
#include "ComMacWin.h"
#include "Mui.h"
#include "ShellTestApp.h"

using namespace shelltest;

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempHome();
    Reset();
    DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
    ASSERT_EQ(1, ComMacEventsSetupHandlerForTest());
  }
  void TearDown() override {
    SDL_SetModState(KMOD_NONE);
    Reset();
    RemoveTree(home_);
  }
  static char ComMacEventsSetupHandlerForTest() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    return ComMacEventsSetupHandler();
  }
  std::string home_;
};

void Key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
  e.key.keysym.mod = mod;
  ComMacEventsHandler(&e);
}

void Text(const char* utf8) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_TEXTINPUT;
  snprintf(e.text.text, sizeof(e.text.text), "%s", utf8);
  ComMacEventsHandler(&e);
}

void Button(Uint32 type, Uint8 button, Uint8 clicks = 1) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.button.button = button;
  e.button.clicks = clicks;
  ComMacEventsHandler(&e);
}

void Wheel(int x, int y, Uint32 direction = SDL_MOUSEWHEEL_NORMAL) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEWHEEL;
  e.wheel.x = x;
  e.wheel.y = y;
  e.wheel.direction = direction;
  ComMacEventsHandler(&e);
}

TEST_F(InputTest, SpecialKeysGiveTheProgramCodesDownAndUp) {
  struct Case {
    SDL_Keycode sym;
    int code;
  } cases[] = {{SDLK_BACKSPACE, 127}, {SDLK_DELETE, 8},   {SDLK_END, 251},     {SDLK_HOME, 250},
               {SDLK_F1, 232},        {SDLK_F12, 243},    {SDLK_LEFT, 244},    {SDLK_RIGHT, 245},
               {SDLK_UP, 246},        {SDLK_DOWN, 247},   {SDLK_PAGEUP, 248},  {SDLK_PAGEDOWN, 249},
               {SDLK_INSERT, 252},    {SDLK_RETURN, 13},  {SDLK_KP_ENTER, 13}, {SDLK_TAB, 9},
               {SDLK_ESCAPE, 27}};
  for (const Case& c : cases) {
    SCOPED_TRACE(SDL_GetKeyName(c.sym));
    Keys().clear();
    Key(SDL_KEYDOWN, c.sym);
    EXPECT_EQ(2, key_down[c.code]);
    Key(SDL_KEYUP, c.sym);
    EXPECT_EQ(0, key_down[c.code]);
    EXPECT_EQ((std::vector<std::string>{"down " + std::to_string(c.code), "up " + std::to_string(c.code)}), Keys());
  }
}

TEST_F(InputTest, ControlLetterComesFromTheKeyEvent) {
  SDL_SetModState(KMOD_LCTRL);
  Key(SDL_KEYDOWN, SDLK_a, KMOD_LCTRL);
  EXPECT_EQ(2, key_down[65]);
  EXPECT_EQ(2, key_down[229]);
  Key(SDL_KEYUP, SDLK_a, KMOD_LCTRL);
  EXPECT_EQ(0, key_down[65]);
  EXPECT_EQ((std::vector<std::string>{"down 65", "up 65"}), Keys());
}

// SDL's key-up carries no character: it must release what its key-down sent.
TEST_F(InputTest, TypedCharacterIsReleasedByItsKey) {
  SDL_SetModState(KMOD_LSHIFT);
  Key(SDL_KEYDOWN, SDLK_1, KMOD_LSHIFT);
  EXPECT_TRUE(Keys().empty());  // the character comes with the text
  Text("!");
  EXPECT_EQ(2, key_down['!']);
  EXPECT_EQ(2, key_down[228]);
  Key(SDL_KEYUP, SDLK_1, KMOD_LSHIFT);
  EXPECT_EQ(0, key_down['!']);
  EXPECT_EQ((std::vector<std::string>{"down 33", "up 33"}), Keys());
  // A letter is stored upper-case and handed on upper-case.
  SDL_SetModState(KMOD_NONE);
  Keys().clear();
  Key(SDL_KEYDOWN, SDLK_q);
  Text("q");
  EXPECT_EQ(2, key_down['Q']);
  Key(SDL_KEYUP, SDLK_q);
  EXPECT_EQ(0, key_down['Q']);
  EXPECT_EQ((std::vector<std::string>{"down 81", "up 81"}), Keys());
}

TEST_F(InputTest, HighCharactersNeverReachTheKeyTable) {
  unsigned char before[256];
  memcpy(before, key_down, sizeof(before));
  Key(SDL_KEYDOWN, SDLK_e);
  Text("\xC3\xA9");  // e acute, Latin-1 0xE9 = 233, the code of F2
  Key(SDL_KEYUP, SDLK_e);
  EXPECT_EQ(0, memcmp(before, key_down, sizeof(before)));
  EXPECT_TRUE(Keys().empty());
}

TEST_F(InputTest, MenuLayerOnRoutesKeysThroughItsCallback) {
  mouseui_on = 1;
  Key(SDL_KEYDOWN, SDLK_a);
  Text("a");
  EXPECT_EQ(2, key_down['A']);
  Key(SDL_KEYUP, SDLK_a);
  EXPECT_EQ((std::vector<std::string>{"down_on 65", "up_on 65"}), Keys());
  mouseui_on = 0;
}

TEST_F(InputTest, MouseButtonsAndDoubleClicks) {
  struct Case {
    Uint8 sdl;
    int button;
  } cases[] = {{SDL_BUTTON_LEFT, 0}, {SDL_BUTTON_RIGHT, 1}, {SDL_BUTTON_MIDDLE, 2}};
  for (const Case& c : cases) {
    Keys().clear();
    Button(SDL_MOUSEBUTTONDOWN, c.sdl);
    EXPECT_EQ(2, key_down[253 + c.button]);
    Button(SDL_MOUSEBUTTONUP, c.sdl);
    EXPECT_EQ(0, key_down[253 + c.button]);
    std::string b = std::to_string(c.button);
    EXPECT_EQ((std::vector<std::string>{"press " + b + " 1", "press " + b + " 0"}), Keys());
  }
  // Control with the left button is the right button.
  Keys().clear();
  SDL_SetModState(KMOD_LCTRL);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  SDL_SetModState(KMOD_NONE);
  EXPECT_EQ((std::vector<std::string>{"press 1 1"}), Keys());
  key_down[254] = 0;
  // The second press of a double click goes only to the double-click callback.
  Keys().clear();
  ComWinProcessDoubleClicks(1);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2);
  EXPECT_EQ((std::vector<std::string>{"dbl 0"}), Keys());
  EXPECT_EQ(0, key_down[253]);
  // A fourth button is logged and changes nothing.
  Keys().clear();
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1);
  EXPECT_TRUE(Keys().empty());
  EXPECT_EQ(1, CountOf(ReadFile(home_ + "/log.txt"), "( ComMacWinMousePress )  2  Unknown button 3"));
}

TEST_F(InputTest, OnlyTheVerticalWheelIsPassedOn) {
  Wheel(1, 0);
  EXPECT_TRUE(Keys().empty());
  Wheel(0, 2);
  Wheel(0, 1, SDL_MOUSEWHEEL_FLIPPED);
  EXPECT_EQ((std::vector<std::string>{"wheel 2", "wheel -1"}), Keys());
}

TEST_F(InputTest, MovesAreWindowRelative) {
  cmw_corner_x = 100;
  cmw_corner_y = 50;
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.x = 7;
  e.motion.y = 9;
  ComMacEventsHandler(&e);
  int x = -1, y = -1;
  ComWinGetCursorPos2(&x, &y);
  EXPECT_EQ(7, x);
  EXPECT_EQ(9, y);
  ComWinGetCursorPos2(nullptr, nullptr);
  EXPECT_EQ((std::vector<std::string>{"move 7 9"}), Keys());
}

TEST_F(InputTest, KeyboardCallbackTakesEveryKey) {
  static std::vector<std::string> got;
  got.clear();
  ComWinSetComInputKeyboardCallback([](int key, char down) { got.push_back(std::to_string(key) + (down ? "d" : "u")); });
  Key(SDL_KEYDOWN, SDLK_ESCAPE);
  Key(SDL_KEYUP, SDLK_ESCAPE);
  EXPECT_EQ((std::vector<std::string>{"27d", "27u"}), got);
  EXPECT_TRUE(Keys().empty());
  EXPECT_EQ(0, key_down[27]);
}

TEST_F(InputTest, FirstActivationAndDeactivationAreOnlyRecorded) {
  static std::vector<int> got;
  got.clear();
  ComMacWinSetMiscCallbacks([](char a) { got.push_back(a); }, nullptr, nullptr);
  ComMacWinActiveStateChanged(1);
  ComMacWinActiveStateChanged(1);
  ComMacWinActiveStateChanged(0);
  ComMacWinActiveStateChanged(1);
  ComMacWinActiveStateChanged(0);
  EXPECT_EQ((std::vector<int>{1, 0}), got);
}

TEST_F(InputTest, QuitCommandSetsTheQuitRequestUnlessTheApplicationTakesIt) {
  static unsigned long seen;
  static char answer;
  seen = 0;
  answer = 1;
  ComMacWinSetMiscCallbacks(nullptr, [](unsigned long c) { seen = c; return answer; }, nullptr);
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_QUIT;
  ComMacEventsHandler(&e);
  EXPECT_EQ(0x71756974ul, seen);
  EXPECT_EQ(0, cme_quit_main_loop);
  answer = 0;
  ComMacEventsHandler(&e);
  EXPECT_EQ(1, cme_quit_main_loop);
  EXPECT_EQ(0, ComMacEventsRunLoop());
  EXPECT_EQ(0, ComWinRunMessagesOnlyLoop(2));
}

TEST_F(InputTest, AfterExitMessageWithNullTextsShowsEmptyTexts) {
  ComWinSetAfterExitPopupMessage(nullptr, nullptr, 0);
  EXPECT_EQ(1, cmw_after_exit_popup_on);
  ComMacWinDoAfterExit();
  ASSERT_EQ(1u, Popups().size());
  EXPECT_EQ("AE:||0", Popups()[0]);
  EXPECT_EQ(0, cmw_after_exit_popup_on);
}

TEST_F(InputTest, ConvertKeyByCharacter) {
  struct Case {
    char c;
    unsigned long mod;
    int code;
    int shift;  // expected key_down[228] afterwards, -1 untouched
  } cases[] = {{1, 0, 250, -1},  {3, 0, 13, -1},  {10, 0, 13, -1},  {127, 0, 8, -1},  {8, 0, 127, -1},
               {11, 0, 248, -1}, {12, 0, 249, -1}, {28, 0, 244, -1}, {31, 0, 247, -1}, {'G', 0, 'G', 2},
               {'g', KMOD_SHIFT, 'g', 0}, {'%', 0, '%', -1}, {4, KMOD_CTRL, 'D', -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE((int)c.c);
    EXPECT_EQ(c.code, ComMacWinConvertKey(0, c.c, c.mod));
    if (c.shift >= 0) EXPECT_EQ(c.shift, key_down[228]);
  }
  EXPECT_EQ(2, key_down[229]);  // control held with the last case
}

TEST_F(InputTest, KeyNames) {
  struct Case {
    unsigned char code;
    const char* name;
  } cases[] = {{8, "Delete"}, {9, "Tab"},   {13, "Return"}, {27, "Escape"}, {32, "Space"},  {'7', "7"},
               {'K', "K"},    {127, "Backspace"}, {232, "F1"}, {243, "F12"}, {244, "Left"}, {248, "Prior"},
               {249, "Next"}, {251, "End"}, {252, "Insert"}, {253, "Left Button"}, {255, "Middle Button"},
               {200, "?"},    {'#', "?"}};
  for (const Case& c : cases) {
    char buf[32] = "unchanged";
    ComMacMiscGetKeyName(c.code, buf, sizeof(buf));
    EXPECT_STREQ(c.name, buf) << (int)c.code;
  }
  char small[14] = "unchanged";
  ComMacMiscGetKeyName(8, small, 13);
  EXPECT_STREQ("unchanged", small);
  ComMacMiscGetKeyName(8, nullptr, 40);
}

}  // namespace
