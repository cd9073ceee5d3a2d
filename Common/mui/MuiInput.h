// The menu layer's input: the hit test, presses and releases, the press repeat, drags, double
// clicks, the wheel, keys and key moves, Tab order, the Escape box with its guard, and the tick.
#ifndef MUI_INPUT_H
#define MUI_INPUT_H

// Key moves handed to the highlighted box.
enum {
  MUI_MOVE_UP = 0, MUI_MOVE_DOWN = 1, MUI_MOVE_LEFT = 2, MUI_MOVE_RIGHT = 3, MUI_MOVE_ENTER = 4,
  MUI_MOVE_PAGE_UP = 5, MUI_MOVE_PAGE_DOWN = 6
};

#define MUI_PRESS_REPEAT_MS 750
#define MUI_ESCAPE_GUARD_MS 400

extern int push_button_down;            // 0 none, else id + 1 of the push button held down
extern int next_escape_press_time;      // no Escape press is accepted before it (ms, wraps)

char MuiPress(char button, char down);
char MuiDoubleClick(char button);
char MuiMove(int x, int y, char mode);
char MuiProcessMouseWheel(int delta);
char MuiKeyDown(int key);
char MuiKeyDownChar(char c);
char MuiKeyUp(int key);
void MuiTick();
void MuiCalcBoxHighlighted(int x, int y);
void MuiToNextButton(char step);
char MuiKeyMove(char move);
void MuiSetEscapePressTime(char n);
char MuiCanEscapeBePressed(char rearm, char n);
// Arms the repeat of a held arrow: every 750 ms the char callback gets arg (as a char) and the
// two-int callback gets (arg, arg2); either may be null.
void MuiSetPressRepeatDetails(void (*callback)(char), void (*callback2)(int, int), int arg, int arg2);
void MuiClearPressRepeatDetails();

#endif
