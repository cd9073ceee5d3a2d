// The headless kit for the menu toolkit's tests: a settable clock (tick count and frame time), a
// hand-filled font that measures without GL, recorders for box callbacks, sounds and pointer
// warps, a log in a temporary folder, and input helpers in virtual-screen units. No window and no
// X server are needed; the real pointer is never moved.
#ifndef SUPPORT_MUI_KIT_H
#define SUPPORT_MUI_KIT_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ComFreeType.h"
#include "Mui.h"

// The clock: both the platform tick count and the frame time move only when a test moves them.
unsigned int MuiKitNow();
void MuiKitSetTime(unsigned int ms);  // sets both clocks
void MuiKitAdvance(int ms);           // moves both clocks on (may cross the 32-bit wrap)

// A font record filled by hand: every printable byte advances `advance` units, the line is
// `height` high, scale 1 (scaling off). Measuring works, drawing needs GL and is not done here.
_ComFreeTypeFont* MuiKitFont(float advance = 8.0f, float height = 10.0f);

// Everything recorded since the last MuiKitStart / MuiKitClearRecords.
std::vector<std::string>& MuiKitCalls();              // "<name>:<arg>" per callback run
std::vector<int>& MuiKitSounds();                     // sound ids played
std::vector<std::pair<int, int>>& MuiKitWarps();      // pointer warps, window pixels
void MuiKitClearRecords();
void MuiKitRecord(const std::string& name, int arg);

// Recording box callbacks, told apart by N: they record "cb<N>:<arg>".
template <int N>
void MuiKitCb(char arg) {
  MuiKitRecord("cb" + std::to_string(N), arg);
}
// A two-int callback for the press repeat: records "rep<N>:<a>,<b>" as "rep<N>:<a*1000+b>".
void MuiKitRepeatCb(int a, int b);

// The log of the layer, read back whole.
std::string MuiKitLog();
bool MuiKitLogHas(const std::string& text);
void MuiKitClearLog();

// Starts the layer on a 640 x 480 "window" (ratios 1) with the clock at `start_ms`, the font
// handed over, sounds recorded and warps caught; MuiKitStop turns it off and restores the
// platform's clock and pointer.
void MuiKitStart(unsigned int start_ms = 100000);
void MuiKitStop();

// Input in virtual-screen units (window pixels equal virtual units in the kit's window).
void MuiKitMoveTo(int x, int y);
void MuiKitPress();
void MuiKitRelease();
void MuiKitClick(int x, int y);

// A fixture that brackets every test with MuiKitStart / MuiKitStop.
class MuiKitTest : public ::testing::Test {
 protected:
  void SetUp() override { MuiKitStart(); }
  void TearDown() override { MuiKitStop(); }
};

#endif
