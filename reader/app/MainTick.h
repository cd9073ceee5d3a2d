// The reading view: per-frame work while the menu layer is off, the choice of the main-loop frame
// rate, and input (held keys, character keys, mouse buttons and moves, the wheel, the "Menu" button).
#ifndef MAINTICK_H
#define MAINTICK_H

struct _ComBatteryInfo;

extern int last_moved_text_time;      // n3d_current_time of the last move by a command, 0 none
extern int next_battery_check_time;
extern char mc_clicking_on_progress_bar;
extern int m_mouse_x, m_mouse_y;      // virtual screen

char MainTick();
void MainUpdateAfterScrollingOrMuiChange();
void MainProcessKeys();
void MainProcessCharKey(char c);
char MainProcessMousePress(char button, char pressed);
// The second press of a double click (the press callback does not see it).
void MainProcessMouseDoubleClick(char button);
void MainProcessMouseMove(int x, int y);
void MainProcessMouseWheelInput(int delta);
void MainAdvancePage(int direction);
void MoveAdvanceLines(int lines);
// Drops the page turns that a page back would retrace (the lines were laid out anew).
void MainForgetPageTurns();
void MainMenuOptionsCB();
void MainMenuOpenCB();
void MainMenuAboutCB();
void MainMenuExitCB();

// The frame rate that the reading view asks for in its present state (the decision alone).
int MainChooseFrameRate(char menus_on, char scrolling, char reduce_power, char box_shown,
                        char progress_shown, char cursor_on, int last_move_time,
                        char bar_always_on, float blend);
// One battery check on a reading already taken (has_reading 0: the platform gave none); shows the
// low-battery messages and sets battery_perc and show_battery.
void MainTickBattery(char has_reading, const _ComBatteryInfo* info);

#endif
