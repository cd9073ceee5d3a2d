// The menu layer's input, driven headless: the hit test, push buttons, arrows and their repeat,
// Escape and its guard, Tab order, key moves, drags, screens rebuilt inside callbacks, null
// callbacks, sounds and pointer warps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComMacWin.h"
#include "ComMacWinInput.h"
#include "ComMacWinWindow.h"
#include "Mui.h"
#include "MuiScrollbar.h"
#include "support_MuiKit.h"

namespace {

using Calls = std::vector<std::string>;
using MuiInputTest = MuiKitTest;

int Box(int x1, int y1, int x2, int y2, void (*cb)(char) = nullptr) {
  return MuiAddNewScreenBox(x1, y1, x2, y2, cb);
}

// Holds the mouse down for `ms` milliseconds, ticking once a millisecond.
void Hold(int ms) {
  for (int t = 0; t < ms; t++) {
    MuiKitAdvance(1);
    MuiTick();
  }
}

TEST_F(MuiInputTest, OverlappingBoxesAreHitByTheHigherId) {
  Box(100, 100, 300, 300);
  const int top = Box(200, 200, 400, 400);
  MuiKitMoveTo(250, 250);
  EXPECT_EQ(top, MuiGetHighlighted());
  MuiKitMoveTo(150, 150);
  EXPECT_EQ(0, MuiGetHighlighted());
  EXPECT_EQ(0, mouse_box[top].highlighted);
  MuiKitMoveTo(300, 300);  // both edges belong to a box
  EXPECT_EQ(top, MuiGetHighlighted());
}

TEST_F(MuiInputTest, OnlyShownActiveTabStopBoxesAreHit) {
  const int hidden = Box(0, 0, 100, 100), inactive = Box(0, 0, 100, 100);
  const int label = Box(0, 0, 100, 100), under = Box(0, 0, 50, 50);
  MuiShowButton(hidden, 0);
  MuiSetActiveState(inactive, 0);
  MuiSetTabstop(label, 0);
  MuiKitMoveTo(70, 70);
  EXPECT_EQ(-1, MuiGetHighlighted());
  MuiKitMoveTo(20, 20);
  EXPECT_EQ(under, MuiGetHighlighted());
}

TEST_F(MuiInputTest, APushButtonFiresOnReleaseOverIt) {
  Box(100, 100, 200, 150, MuiKitCb<0>);
  MuiKitMoveTo(150, 120);
  MuiKitClearRecords();
  EXPECT_EQ(1, MuiPress(0, 1));
  EXPECT_TRUE(MuiKitCalls().empty());
  EXPECT_EQ(1, mouse_box[0].pressed);
  EXPECT_EQ(1, MuiPress(0, 0));
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  EXPECT_EQ(std::vector<int>({MUI_SOUND_PUSH_FIRED}), MuiKitSounds());
  EXPECT_EQ(0, mouse_box[0].pressed);
}

TEST_F(MuiInputTest, PressMoveOffReleaseFiresNothing) {
  Box(100, 100, 200, 150, MuiKitCb<0>);
  Box(300, 100, 400, 150, MuiKitCb<1>);
  for (int target_x : {250, 350}) {  // off to empty space, off onto another button
    SCOPED_TRACE(target_x);
    MuiKitMoveTo(150, 120);
    MuiKitClearRecords();
    MuiKitPress();
    MuiKitMoveTo(target_x, 120);
    MuiKitRelease();
    EXPECT_TRUE(MuiKitCalls().empty());
    EXPECT_EQ(0, mouse_box[0].pressed);
  }
}

TEST_F(MuiInputTest, ReturnOnALabelIsUsedAndFiresNothing) {
  Box(100, 100, 200, 150);
  MuiKitMoveTo(150, 120);
  EXPECT_EQ(1, MuiKeyDown(COM_KEY_RETURN));
  EXPECT_TRUE(MuiKitCalls().empty());
}

// A held arrow of kind 1 fires at the press, then each time more than 750 ms have passed.
TEST_F(MuiInputTest, AHeldArrowRepeats) {
  struct Case {
    char left, right;
    int x;  // 105 in the left zone, 195 in the right zone
    Calls calls;
  };
  const Case cases[] = {
      {1, 3, 105, {"cb0:0", "cb0:0", "cb0:0"}},
      {1, 3, 195, {"cb0:1", "cb0:1", "cb0:1"}},  // either arrow repeats when one kind is 1
      {3, 3, 105, {"cb0:0"}},
      {1, 0, 150, {}},                           // between the zones: not used
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.x);
    MuiRemoveAllBoxes();
    const int id = Box(100, 100, 200, 120, MuiKitCb<0>);
    MuiSetArrowsState(id, k.left, k.right);
    MuiKitMoveTo(k.x, 110);
    MuiKitClearRecords();
    std::vector<unsigned> times;
    const unsigned start = MuiKitNow();
    MuiKitPress();
    if (!MuiKitCalls().empty()) times.push_back(0);
    for (int t = 0; t < 2000; t++) {
      size_t n = MuiKitCalls().size();
      MuiKitAdvance(1);
      MuiTick();
      if (MuiKitCalls().size() != n) times.push_back(MuiKitNow() - start);
    }
    MuiKitRelease();
    EXPECT_EQ(k.calls, MuiKitCalls());
    if (k.calls.size() == 3) {
      EXPECT_EQ(std::vector<unsigned>({0, 751, 1502}), times);
    }
    Hold(1000);  // released: no more
    EXPECT_EQ(k.calls.size(), MuiKitCalls().size());
  }
}

TEST_F(MuiInputTest, ArrowSoundsFollowThePressKind) {
  const int id = Box(100, 100, 200, 120, MuiKitCb<0>);
  MuiSetArrowsState(id, 3, 3);
  MuiKitMoveTo(105, 110);
  MuiKitClearRecords();
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(std::vector<int>({MUI_SOUND_PRESS}), MuiKitSounds());
}

// The scroll bars arm the repeat with only the two-int callback; arrows can be set on a box
// without a callback; a callback can be removed. No null pointer is ever called.
TEST_F(MuiInputTest, NullCallbacksAreNeverCalled) {
  const int arrows = Box(100, 100, 200, 120);
  MuiSetArrowsState(arrows, 1, 1);
  MuiKitMoveTo(105, 110);
  MuiKitPress();
  Hold(800);
  MuiKitRelease();
  MuiKeyDown(COM_KEY_LEFT);
  MuiKeyDown(COM_KEY_RIGHT);

  MuiSetPressRepeatDetails(nullptr, MuiKitRepeatCb, 5, 1);
  Hold(760);
  EXPECT_EQ(Calls({"rep:5001"}), MuiKitCalls());
  MuiClearPressRepeatDetails();

  MuiRemoveAllBoxes();
  const int button = Box(100, 100, 200, 120, MuiKitCb<0>);
  MuiSetEscape(button, 1);
  MuiSetCallback(button, nullptr);
  MuiKitMoveTo(150, 110);
  EXPECT_EQ(1, MuiKeyDown(COM_KEY_RETURN));
  EXPECT_EQ(1, MuiKeyDown(COM_KEY_ESCAPE));
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(Calls({"rep:5001"}), MuiKitCalls());
}

TEST_F(MuiInputTest, TwoEscapesWithin400MsFireOnce) {
  const int done = Box(500, 400, 600, 450, MuiKitCb<0>);
  MuiSetEscape(done, 1);
  EXPECT_EQ(1, MuiKeyDown(COM_KEY_ESCAPE));
  MuiKitAdvance(399);
  EXPECT_EQ(1, MuiKeyDown(COM_KEY_ESCAPE));  // used, but guarded
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
  MuiKitAdvance(1);
  MuiKeyDown(COM_KEY_ESCAPE);
  EXPECT_EQ(2u, MuiKitCalls().size());
  MuiKeyUp(COM_KEY_ESCAPE);  // a key-up lets the next press through at once
  MuiKeyDown(COM_KEY_ESCAPE);
  EXPECT_EQ(3u, MuiKitCalls().size());
  EXPECT_TRUE(MuiKitSounds().empty());
}

// The guard compares on the wrapping 32-bit clock: set just before the wrap it still ends 400 ms
// later, not 49 days later.
TEST_F(MuiInputTest, TheEscapeGuardSurvivesTheClockWrap) {
  const int done = Box(500, 400, 600, 450, MuiKitCb<0>);
  MuiSetEscape(done, 1);
  for (unsigned start : {0x7FFFFF00u, 0xFFFFFF00u}) {
    SCOPED_TRACE(start);
    MuiKitClearRecords();
    MuiKitSetTime(start);
    MuiKeyDown(COM_KEY_ESCAPE);
    MuiKitAdvance(300);
    MuiKeyDown(COM_KEY_ESCAPE);
    EXPECT_EQ(1u, MuiKitCalls().size());
    MuiKitAdvance(100);
    MuiKeyDown(COM_KEY_ESCAPE);
    EXPECT_EQ(2u, MuiKitCalls().size());
  }
  MuiKitSetTime(0xFFFFFFF0u);
  MuiSetEscapePressTime(1);  // 900 ms
  EXPECT_EQ(0, MuiCanEscapeBePressed(0, 0));
  MuiKitAdvance(899);
  EXPECT_EQ(0, MuiCanEscapeBePressed(0, 0));
  MuiKitAdvance(1);
  EXPECT_EQ(1, MuiCanEscapeBePressed(1, 0));
  EXPECT_EQ(0, MuiCanEscapeBePressed(0, 0));  // rearmed
}

TEST_F(MuiInputTest, EscapeTakesTheFirstShownActivePushButtonMarkedEscape) {
  const int hidden = Box(0, 0, 10, 10, MuiKitCb<0>);
  const int label = Box(20, 0, 30, 10);
  const int first = Box(40, 0, 50, 10, MuiKitCb<2>);
  const int second = Box(60, 0, 70, 10, MuiKitCb<3>);
  for (int id : {hidden, label, first, second}) MuiSetEscape(id, 1);
  MuiShowButton(hidden, 0);
  MuiKeyDown(COM_KEY_ESCAPE);
  EXPECT_EQ(Calls({"cb2:0"}), MuiKitCalls());
  MuiRemoveAllBoxes();
  Box(0, 0, 10, 10);
  MuiKitAdvance(1000);
  EXPECT_EQ(0, MuiKeyDown(COM_KEY_ESCAPE));  // no Escape box: not used
}

TEST_F(MuiInputTest, TabWrapsBothWays) {
  Box(0, 0, 30, 30);
  const int label = Box(100, 0, 130, 30);
  Box(200, 0, 230, 30);
  Box(300, 0, 330, 30);
  MuiSetTabstop(label, 0);
  MuiKitMoveTo(600, 400);
  ASSERT_EQ(-1, MuiGetHighlighted());
  std::vector<int> seen;
  for (int i = 0; i < 4; i++) {
    MuiKeyDown(COM_KEY_TAB);
    seen.push_back(MuiGetHighlighted());
  }
  EXPECT_EQ(std::vector<int>({0, 2, 3, 0}), seen);
  EXPECT_EQ(std::make_pair(20, 15), MuiKitWarps().front());  // x1 + w x 2 / 3, centre y
  key_down[COM_KEY_SHIFT] = 2;
  seen.clear();
  for (int i = 0; i < 3; i++) {
    MuiKeyDown(COM_KEY_TAB);
    seen.push_back(MuiGetHighlighted());
  }
  key_down[COM_KEY_SHIFT] = 0;
  EXPECT_EQ(std::vector<int>({3, 2, 0}), seen);
  // Nothing highlighted: Shift+Tab also starts at id 0.
  MuiKitMoveTo(600, 400);
  key_down[COM_KEY_SHIFT] = 2;
  MuiKeyDown(COM_KEY_TAB);
  key_down[COM_KEY_SHIFT] = 0;
  EXPECT_EQ(0, MuiGetHighlighted());
}

TEST_F(MuiInputTest, KeyMovesOfAButton) {
  const int id = Box(100, 100, 200, 120, MuiKitCb<0>);
  MuiKitMoveTo(150, 110);
  struct Case {
    char left, right;
    int key;
    Calls calls;
  };
  const Case cases[] = {
      {2, 0, COM_KEY_RETURN, {"cb0:0"}}, {1, 1, COM_KEY_RETURN, {}},
      {3, 0, COM_KEY_LEFT, {"cb0:0"}},   {2, 0, COM_KEY_LEFT, {}},
      {0, 1, COM_KEY_RIGHT, {"cb0:1"}},  {1, 0, COM_KEY_RIGHT, {}},
      {2, 0, COM_KEY_UP, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.key);
    mouse_box[id].left_arrow = k.left;
    mouse_box[id].right_arrow = k.right;
    MuiKitClearRecords();
    EXPECT_EQ(1, MuiKeyDown(k.key));
    EXPECT_EQ(k.calls, MuiKitCalls());
  }
}

// Screens are rebuilt inside callbacks (Back, Open, a chain of popups): nothing of the old
// screen's press may reach the new screen's box that has the same id.
// The new screen has a box at id 0, away from the pointer: a push button, or an arrow box.
void RebuildCB(char) {
  MuiKitRecord("rebuild", 0);
  MuiRemoveAllBoxes();
  MuiAddNewScreenBox(600, 0, 640, 20, MuiKitCb<9>);
}

void RebuildWithArrowsCB(char) {
  RebuildCB(0);
  MuiSetArrowsState(0, 1, 1);
}

TEST_F(MuiInputTest, AScreenRebuiltMidPressFiresNothing) {
  // Hold a push button; Escape (a screen's "Done") builds another screen; release.
  Box(100, 100, 200, 150, MuiKitCb<0>);
  const int done = Box(500, 400, 600, 450, RebuildCB);
  MuiSetEscape(done, 1);
  MuiKitMoveTo(150, 120);
  MuiKitPress();
  MuiKeyDown(COM_KEY_ESCAPE);
  MuiKitRelease();
  EXPECT_EQ(Calls({"rebuild:0"}), MuiKitCalls());

  // Hold an arrow with repeat; a tick's callback rebuilds; the repeat dies with the old screen.
  MuiRemoveAllBoxes();
  const int arrows = Box(100, 100, 200, 120, RebuildWithArrowsCB);
  MuiSetArrowsState(arrows, 1, 1);
  MuiKitMoveTo(105, 110);
  MuiKitClearRecords();
  MuiKitPress();
  Hold(2000);
  MuiKitRelease();
  // The press rebuilt the screen; the new box's arrows are never fired by the old press.
  EXPECT_EQ(Calls({"rebuild:0"}), MuiKitCalls());

  // Hold an arrow; Escape builds another screen: the old screen's callback repeats no more.
  MuiRemoveAllBoxes();
  const int held = Box(100, 100, 200, 120, MuiKitCb<0>);
  MuiSetArrowsState(held, 1, 1);
  const int back = Box(500, 400, 600, 450, RebuildCB);
  MuiSetEscape(back, 1);
  MuiKitMoveTo(105, 110);
  MuiKitClearRecords();
  MuiKitPress();
  MuiKeyDown(COM_KEY_ESCAPE);
  Hold(2000);
  MuiKitRelease();
  EXPECT_EQ(Calls({"cb0:0", "rebuild:0"}), MuiKitCalls());
}

TEST_F(MuiInputTest, ARebuildByAPushButtonStopsTheRelease) {
  Box(100, 100, 200, 150, RebuildCB);
  MuiKitMoveTo(150, 120);
  MuiKitPress();
  MuiKitRelease();
  EXPECT_EQ(Calls({"rebuild:0"}), MuiKitCalls());
  Hold(2000);
  MuiKitRelease();
  EXPECT_EQ(Calls({"rebuild:0"}), MuiKitCalls());
}

TEST_F(MuiInputTest, ADragEndsWhenItsBoxIsHiddenOrTheDragTypeHasNone) {
  const int bar = Box(100, 100, 300, 120);
  MuiSetType(bar, MUI_TYPE_SCROLLBAR);
  MuiKitMoveTo(150, 110);
  dragging = 1;
  EXPECT_EQ(1, MuiMove(160, 110, 0));
  EXPECT_EQ(1, dragging);
  MuiShowButton(bar, 0);
  MuiKitMoveTo(170, 110);
  EXPECT_EQ(0, dragging);
  MuiShowButton(bar, 1);
  MuiKitMoveTo(150, 110);
  MuiSetType(bar, MUI_TYPE_BUTTON);
  dragging = 1;
  MuiKitMoveTo(160, 110);
  EXPECT_EQ(0, dragging);
}

TEST_F(MuiInputTest, SoundSwitches) {
  Box(0, 0, 100, 100);
  Box(200, 0, 300, 100);
  MuiKitMoveTo(50, 50);
  EXPECT_EQ(std::vector<int>({MUI_SOUND_HIGHLIGHT}), MuiKitSounds());
  MuiDontPlayNextSound();
  MuiKitMoveTo(250, 50);
  MuiKitMoveTo(50, 50);
  EXPECT_EQ(2u, MuiKitSounds().size());
  MuiTurnOffSound();
  MuiKitMoveTo(250, 50);
  MuiTurnOnSound();
  EXPECT_EQ(2u, MuiKitSounds().size());
  MuiDisableButtonOverSound();
  MuiKitMoveTo(50, 50);
  EXPECT_EQ(2u, MuiKitSounds().size());
  EXPECT_EQ(4, MuiGetNumMuiSounds());
}

TEST_F(MuiInputTest, DisabledLayerAnswersNothing) {
  Box(0, 0, 100, 100, MuiKitCb<0>);
  MuiKitMoveTo(50, 50);
  MuiDisable();
  EXPECT_EQ(0, MuiPress(0, 1));
  EXPECT_EQ(0, MuiKeyDown(COM_KEY_RETURN));
  EXPECT_EQ(0, MuiMove(10, 10, 0));
  EXPECT_EQ(0, MuiDoubleClick(0));
  MuiEnable();
  MuiAllowKeyPresses(0);
  EXPECT_EQ(0, MuiKeyDown(COM_KEY_RETURN));
  MuiAllowKeyPresses(1);
  EXPECT_EQ(0, MuiPress(1, 1));  // only the left button
  EXPECT_TRUE(MuiKitCalls().empty());
}

TEST_F(MuiInputTest, ADoubleClickOnAButtonIsASecondPress) {
  Box(0, 0, 100, 100, MuiKitCb<0>);
  MuiKitMoveTo(50, 50);
  EXPECT_EQ(0, MuiDoubleClick(0));
  EXPECT_EQ(1, push_button_down);
  MuiKitRelease();
  EXPECT_EQ(Calls({"cb0:0"}), MuiKitCalls());
}

TEST_F(MuiInputTest, CursorRulesAndWarps) {
  const int first = Box(0, 0, 30, 30);
  const int def = Box(300, 100, 390, 140);
  MuiSetDefaultButton(def, 1);
  MuiBoxesCreated();
  ASSERT_EQ(1u, MuiKitWarps().size());
  EXPECT_EQ(std::make_pair(360, 120), MuiKitWarps()[0]);
  EXPECT_EQ(def, MuiGetHighlighted());
  // A window twice the size: the warp is in window pixels.
  WIDTH = 1280;
  HEIGHT = 960;
  MuiCalcRatios();
  MuiSetCursorToButton(first);
  EXPECT_EQ(std::make_pair(40, 30), MuiKitWarps().back());
  EXPECT_EQ(20, mouse_pos_x);
  MuiSaveCursorPos();
  MuiSetCursorPos(600, 400);
  MuiRestoreCursorPos();
  EXPECT_EQ(std::make_pair(40, 30), MuiKitWarps().back());
  // Off: the cursor goes to the window's centre.
  MuiShutdown();
  EXPECT_EQ(std::make_pair(640, 480), MuiKitWarps().back());
  MuiAllowCursorToBeCentered(0);
  MuiStartup();
  const size_t n = MuiKitWarps().size();
  MuiShutdown();
  EXPECT_EQ(n, MuiKitWarps().size());
  MuiAllowCursorToBeCentered(1);
  WIDTH = 640;
  HEIGHT = 480;
  MuiStartup();
}

TEST_F(MuiInputTest, LifeCycle) {
  Box(0, 0, 10, 10);
  EXPECT_EQ(1, MuiGetNumButtons());
  MuiStartup();  // already on: logged, started afresh
  EXPECT_TRUE(MuiKitLogHas("Mui already on"));
  EXPECT_EQ(0, MuiGetNumButtons());
  Box(0, 0, 10, 10);
  MuiSetNumButtons(493);
  MuiSetNumButtons(-1);
  EXPECT_EQ(1, MuiGetNumButtons());
  Box(-5, 0, 10, 10);
  MuiSetText(1, "Off screen");
  MuiBoxesCreated();
  EXPECT_TRUE(MuiKitLogHas("Box: 1 (Off screen)"));
  MuiShutdown();
  EXPECT_EQ(0, MuiIsOn());
  EXPECT_EQ(0, MuiGetNumButtons());
  EXPECT_EQ(0, MuiMove(1, 1, 0));
  EXPECT_EQ(0, MuiKeyDown(COM_KEY_TAB));
  MuiStartup();
  EXPECT_EQ(1, MuiIsOn());
  // The kit's clock stands still: a refresh that waited for it would never return.
  ComMacWinRefreshWindow();
}

// A highlight left naming a box past the count (a popup's boxes just removed) counts as none.
TEST_F(MuiInputTest, AHighlightPastTheCountIsNone) {
  Box(0, 0, 30, 30);
  Box(100, 0, 130, 30);
  box_highlighted = 5;
  EXPECT_EQ(-1, MuiGetHighlighted());
  EXPECT_EQ(0, MuiIsButtonHighlighted());
  EXPECT_EQ(0, MuiKeyMove(MUI_MOVE_ENTER));
  MuiKeyDown(COM_KEY_TAB);
  EXPECT_EQ(0, MuiGetHighlighted());
}

TEST_F(MuiInputTest, ClearingTheWorkingStateDropsHighlightAndDrag) {
  Box(0, 0, 100, 100);
  MuiKitMoveTo(50, 50);
  dragging = 1;
  MuiClearWorkingVariables();
  EXPECT_EQ(-1, MuiGetHighlighted());
  EXPECT_EQ(0, mouse_box[0].highlighted);
  EXPECT_EQ(0, dragging);
}

TEST_F(MuiInputTest, ADoubleClickOnAHiddenBoxDropsTheHighlight) {
  const int id = Box(0, 0, 100, 100, MuiKitCb<0>);
  MuiKitMoveTo(50, 50);
  mouse_box[id].shown = 0;  // hidden behind the hit test's back
  EXPECT_EQ(0, MuiDoubleClick(0));
  EXPECT_EQ(-1, MuiGetHighlighted());
  EXPECT_EQ(0, push_button_down);
}

}  // namespace
