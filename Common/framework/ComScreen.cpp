// The screen table: up to 100 menu pages, started and stopped in a fixed order.
#include "ComScreen.h"

#include <cstring>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComMacWin.h"
#include "Mui.h"

_ComScreen com_screens[COM_MAX_SCREENS];
int com_num_screens = 0;
int com_screen_current = 0;
char com_screen_on = 0;

static void (*com_screen_main_tick_cb)() = nullptr;
static void (*com_screen_pre_change_cb)() = nullptr;
static void (*com_screen_post_change_cb)() = nullptr;

static void ClearRecord(_ComScreen* s) {
  memset(s, 0, sizeof(*s));
  s->previous = -1;
}

static bool Valid(int num) { return num >= 0 && num < com_num_screens; }

char ComScreenCheckNumOK(char* func, int num) {
  if (com_num_screens <= 0) return 0;
  if (Valid(num)) return 1;
  DebugError(func ? func : "", "Invalid screen num: %d (num screens = %d)", num, com_num_screens);
  return 0;
}

static char Check(const char* func, int num) { return ComScreenCheckNumOK((char*)func, num); }

int ComScreenAdd() {
  if (com_num_screens >= COM_MAX_SCREENS) {
    DebugExitNoMsg("ComScreenAdd", "Too many screens (%d created)", com_num_screens);
    // No record is free: the caller must not take a number as its own.
    return -1;
  }
  ClearRecord(&com_screens[com_num_screens]);
  return com_num_screens++;
}

static void SetSlot(const char* func, int num, int slot, void (*cb)()) {
  if (!Check(func, num)) return;
  _ComScreen* s = &com_screens[num];
  void (**slots[7])() = {&s->Init, &s->Create, &s->Cleanup, &s->Starting, &s->Update, &s->Tick, &s->Finished};
  *slots[slot] = cb;
}

void ComScreenAddCallback(int num, char* name, void (*cb)()) {
  static const char* const names[7] = {"Init", "Create", "Cleanup", "Starting", "Update", "Tick", "Finished"};
  if (!name) return;
  for (int i = 0; i < 7; i++)
    if (strcmp(name, names[i]) == 0) {
      SetSlot("ComScreenAddCallback", num, i, cb);
      return;
    }
}

void ComScreenAddInitCallback(int num, void (*cb)()) { SetSlot("ComScreenAddInitCallback", num, 0, cb); }
void ComScreenAddCreateCallback(int num, void (*cb)()) { SetSlot("ComScreenAddCreateCallback", num, 1, cb); }
void ComScreenAddCleanupCallback(int num, void (*cb)()) { SetSlot("ComScreenAddCleanupCallback", num, 2, cb); }
void ComScreenAddStartingCallback(int num, void (*cb)()) { SetSlot("ComScreenAddStartingCallback", num, 3, cb); }
void ComScreenAddUpdateCallback(int num, void (*cb)()) { SetSlot("ComScreenAddUpdateCallback", num, 4, cb); }
void ComScreenAddTickCallback(int num, void (*cb)()) { SetSlot("ComScreenAddTickCallback", num, 5, cb); }
void ComScreenAddFinishedCallback(int num, void (*cb)()) { SetSlot("ComScreenAddFinishedCallback", num, 6, cb); }

void ComScreenSpecifyViewportSize(int num, int x, int y, int width, int height) {
  if (!Check("ComScreenSpecifyViewportSize", num)) return;
  com_screens[num].vp_x = x;
  com_screens[num].vp_y = y;
  com_screens[num].vp_width = width;
  com_screens[num].vp_height = height;
}

void ComScreenRegisterMainTickCallback(void (*cb)()) { com_screen_main_tick_cb = cb; }
void ComScreenRegisterPreChangeCallback(void (*cb)()) { com_screen_pre_change_cb = cb; }
void ComScreenRegisterPostChangeCallback(void (*cb)()) { com_screen_post_change_cb = cb; }

int ComScreenGetCurrent() { return com_screen_current; }

void ComScreenSetCurrent(int num) {
  if (!Check("ComScreenSetCurrent", num)) return;
  com_screen_current = num;
}

void ComScreenResetCurrent() { com_screen_current = -1; }

int ComScreenGetPrev() {
  if (com_num_screens <= 0 || !Valid(com_screen_current)) return -1;
  return com_screens[com_screen_current].previous;
}

void ComScreenSetPrevious(int prev) {
  if (!Check("ComScreenSetPrevious", prev)) return;
  if (!Check("ComScreenSetPrevious(2)", com_screen_current)) return;
  com_screens[com_screen_current].previous = prev;
}

char ComScreenIsOn() { return com_screen_on; }

void ComScreenStartCurrent() {
  if (!Check("ComScreenStartCurrent", com_screen_current)) return;
  _ComScreen* s = &com_screens[com_screen_current];
  s->started = 1;
  if (s->Init) s->Init();
  if (s->Create) {
    s->Create();
    com_screen_on = 1;
    if (s->Starting) s->Starting();
    if (s->Update) s->Update();
    MuiBoxesCreated();
  } else {
    DebugExitNoMsg("ComScreenStartCurrent", "Current Screen (%d) has no creation callback", com_screen_current);
    s->started = 0;
    if (s->Cleanup) s->Cleanup();
  }
}

void ComScreenStopCurrent() {
  if (!Check("ComScreenStopCurrent", com_screen_current)) return;
  _ComScreen* s = &com_screens[com_screen_current];
  s->started = 0;
  if (s->Cleanup) s->Cleanup();
}

void ComScreenGoto(int num) {
  int old = com_screen_current;
  if (!Check("ComScreenGoto", num)) return;
  ComScreenStopCurrent();
  com_screen_current = num;
  if (Check("ComScreenGoto", old)) com_screens[num].previous = old;
  if (com_screen_pre_change_cb) com_screen_pre_change_cb();
  ComScreenStartCurrent();
  if (com_screen_post_change_cb) com_screen_post_change_cb();
}

void ComScreenGoBack() {
  if (!Check("ComScreenGoBack", com_screen_current)) return;
  int prev = com_screens[com_screen_current].previous;
  if (!Check("ComScreenGoBack2", prev)) return;
  ComScreenStopCurrent();
  com_screen_current = prev;
  if (com_screen_pre_change_cb) com_screen_pre_change_cb();
  ComScreenStartCurrent();
  if (com_screen_post_change_cb) com_screen_post_change_cb();
}

void ComScreenTurnOn(char start_menu_layer) {
  if (com_screen_on) return;
  if (start_menu_layer && !MuiStartup()) {
    DebugExitPopup("ComScreenTurnOn", "Could not start the user interface");
    return;
  }
  if (com_screen_pre_change_cb) com_screen_pre_change_cb();
  ComScreenStartCurrent();
  if (com_screen_post_change_cb) com_screen_post_change_cb();
}

int ComScreenTurnOff(char mode) {
  if (!com_screen_on) return 0;
  ComScreenStopCurrent();
  if (mode) MuiShutdown();
  if (mode == 2) com_screen_current = -1;
  com_screen_on = 0;
  return com_screen_current;
}

char ComScreenTick() {
  if (!com_screen_on) return 0;
  if (Valid(com_screen_current) && com_screens[com_screen_current].Tick) com_screens[com_screen_current].Tick();
  if (com_screen_on && com_screen_main_tick_cb) com_screen_main_tick_cb();
  if (com_screen_on) MuiTick();
  return 1;
}

void ComScreenUpdate() {
  if (!com_screen_on || !Valid(com_screen_current)) return;
  if (com_screens[com_screen_current].Update) com_screens[com_screen_current].Update();
}

char ComScreenNeedToChangeViewportSize(char apply) {
  if (!com_screen_on || !Valid(com_screen_current)) return 0;
  _ComScreen* s = &com_screens[com_screen_current];
  if (!s->vp_width || !s->vp_height) return 0;
  if (apply) ComScreenChangeViewportSize(s->vp_x, s->vp_y, s->vp_width, s->vp_height);
  return 1;
}

void ComScreenChangeViewportSize(int x, int y, int width, int height) {
  ComGlMiscSetViewportToSize((int)((double)x * WIDTH / 640.0), (int)((double)y * HEIGHT / 480.0),
                             (int)((double)width * WIDTH / 640.0), (int)((double)height * HEIGHT / 480.0));
}

void ComScreenRemove(int num) {
  if (!Check("ComScreenRemove", num)) return;
  if (com_screens[num].Cleanup) com_screens[num].Cleanup();
  ClearRecord(&com_screens[num]);
}

void ComScreenRemoveAll() {
  for (int i = 0; i < com_num_screens; i++) {
    // A screen never started has nothing to clean up (its Cleanup may free what Init made).
    if (com_screens[i].started && com_screens[i].Cleanup) com_screens[i].Cleanup();
    ClearRecord(&com_screens[i]);
  }
  com_num_screens = 0;
}

void ComScreenInit() { ComScreenRemoveAll(); }
void ComScreenExit() { ComScreenRemoveAll(); }
