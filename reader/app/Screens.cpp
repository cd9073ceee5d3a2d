// The reader's three menu screens in the framework's screen table, and the switch between
// reading and the menus.
#include "Screens.h"

#include "ComDebug.h"
#include "ComFreeType.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Game.h"
#include "GetFile.h"
#include "Load.h"
#include "MainControl.h"
#include "MainLoad.h"
#include "MainTick.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "Paper.h"
#include "Slots.h"

int screen_main = -1, screen_load_file = -1, screen_slots = -1;

void ScreensPostChangeCB() {}

void ScreensInit() {
  ComScreenRegisterPostChangeCallback(ScreensPostChangeCB);
  ScreensSetupAllScreens();
}

void ScreensSetupAllScreens() {
  ComScreenRemoveAll();
  ScreensSetupMainScreens();
}

void ScreensSetupMainScreens() {
  screen_main = ComScreenAdd();
  ComScreenAddCreateCallback(screen_main, CreateMainMuiBoxes);
  ComScreenAddStartingCallback(screen_main, MainControlStartingCB);
  screen_load_file = ComScreenAdd();
  ComScreenAddCreateCallback(screen_load_file, CreateLoadMuiBoxes);
  ComScreenAddStartingCallback(screen_load_file, LoadControlStartingCB);
  screen_slots = ComScreenAdd();
  ComScreenAddCreateCallback(screen_slots, CreateSlotsMuiBoxes);
  ComScreenAddStartingCallback(screen_slots, SlotsControlStartingCB);
}

void ScreensStartScreen(int screen) {
  // A file selection left open by the last visit starts afresh.
  GetFileExit();
  MainTurnOffBoxMessage();
  GameEnsureUsingCorrectPath();
  ComFreeTypeRestoreAfterDrawingIfNeeded();
  GameRestoreAfterPageRotation();
  PaperReload();
  ComScreenSetCurrent(screen);
  ScreensStart();
  MainUpdateAfterScrollingOrMuiChange();
}

void ScreensStart() {
  if (MuiStartup()) {
    ComScreenTurnOn(0);
    MuiMove(0, 0, 2);
    MainUpdateAfterScrollingOrMuiChange();
  } else {
    DebugExitPopup("ScreensStart", "Could not start the user interface");
  }
}

void ScreensEnd() {
  ComScreenTurnOff(1);
  GameTurnOffFullScreenCursor(1);
  PaperReload();
  MainUpdateAfterScrollingOrMuiChange();
}

void ScreensGoto(int screen) { ComScreenGoto(screen); }
void ScreensGoBack() { ComScreenGoBack(); }
void ScreensSetCurrent(int screen) { ComScreenSetCurrent(screen); }
int ScreensGetCurrent() { return ComScreenGetCurrent(); }
void ScreensUpdate() { ComScreenUpdate(); }
void ScreensExit() { ComScreenRemoveAll(); }

int ScreensAddBox(int x1, int y1, int x2, int y2, void (*callback)(char), const char* bitmap, int text_h,
                  int text_w, const char* text) {
  int id = MuiAddNewScreenBox(x1, y1, x2, y2, callback);
  if (id < 0) return id;
  MuiSetBitmap(id, bitmap);
  MuiSetTextSize(id, text_h, text_w);
  MuiSetText(id, text);
  return id;
}
