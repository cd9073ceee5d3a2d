// The reader's menu screens in the framework's screen table, and the switch between reading
// (menu layer off) and the menus (menu layer on).
#ifndef SCREENS_H
#define SCREENS_H

extern int screen_main, screen_load_file, screen_slots;

void ScreensInit();
void ScreensPostChangeCB();
void ScreensSetupAllScreens();
void ScreensSetupMainScreens();
void ScreensStartScreen(int screen);
void ScreensStart();
void ScreensEnd();
void ScreensGoto(int screen);
void ScreensGoBack();
void ScreensSetCurrent(int screen);
int ScreensGetCurrent();
void ScreensUpdate();
void ScreensExit();

#endif
