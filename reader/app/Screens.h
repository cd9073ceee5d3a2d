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

// A box of a menu screen with its picture, text size and text; the id, or -1 when the table is full.
int ScreensAddBox(int x1, int y1, int x2, int y2, void (*callback)(char), const char* bitmap, int text_h,
                  int text_w, const char* text);

#endif
