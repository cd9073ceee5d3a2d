// The screen table: up to 100 menu pages by number, the current one, whether screens are on and
// the screen each one was reached from.
#ifndef COM_SCREEN_H
#define COM_SCREEN_H

#define COM_MAX_SCREENS 100

struct _ComScreen {
  void (*Init)();
  void (*Create)();
  void (*Cleanup)();
  void (*Starting)();
  void (*Update)();
  void (*Tick)();
  void (*Finished)();
  int vp_x, vp_y, vp_width, vp_height; // in the virtual 640 x 480 screen; used when w and h != 0
  int previous;                        // -1 for none
  char started;                        // Init/Create ran and Cleanup has not yet
};

extern _ComScreen com_screens[COM_MAX_SCREENS];
extern int com_num_screens;
extern int com_screen_current;
extern char com_screen_on;

int ComScreenAdd();
void ComScreenAddCallback(int num, char* name, void (*cb)());
void ComScreenAddInitCallback(int num, void (*cb)());
void ComScreenAddCreateCallback(int num, void (*cb)());
void ComScreenAddCleanupCallback(int num, void (*cb)());
void ComScreenAddStartingCallback(int num, void (*cb)());
void ComScreenAddUpdateCallback(int num, void (*cb)());
void ComScreenAddTickCallback(int num, void (*cb)());
void ComScreenAddFinishedCallback(int num, void (*cb)());
void ComScreenSpecifyViewportSize(int num, int x, int y, int width, int height);
void ComScreenRegisterMainTickCallback(void (*cb)());
void ComScreenRegisterPreChangeCallback(void (*cb)());
void ComScreenRegisterPostChangeCallback(void (*cb)());
int ComScreenGetCurrent();
void ComScreenSetCurrent(int num);
void ComScreenResetCurrent();
int ComScreenGetPrev();
void ComScreenSetPrevious(int prev);
char ComScreenIsOn();
char ComScreenCheckNumOK(char* func, int num);
void ComScreenStartCurrent();
void ComScreenStopCurrent();
void ComScreenGoto(int num);
void ComScreenGoBack();
void ComScreenTurnOn(char start_menu_layer);
int ComScreenTurnOff(char mode);
char ComScreenTick();
void ComScreenUpdate();
char ComScreenNeedToChangeViewportSize(char apply);
void ComScreenChangeViewportSize(int x, int y, int width, int height);
void ComScreenRemove(int num);
void ComScreenRemoveAll();
void ComScreenInit();
void ComScreenExit();

#endif
