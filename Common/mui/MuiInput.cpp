// The menu layer's input: hit test, presses, moves, keys and the tick.
#include "MuiInput.h"

#include "Mui.h"

int push_button_down = 0;
int next_escape_press_time = 0;

char MuiPress(char, char) { return 0; }
char MuiDoubleClick(char) { return 0; }

char MuiMove(int x, int y, char mode) {
  if (!mouseui_on || !mui_enabled) return 0;
  if (mode == 0 && x_ratio > 0.0f && y_ratio > 0.0f) {
    mouse_pos_x = (int)((float)x / x_ratio);
    mouse_pos_y = (int)((float)y / y_ratio);
  }
  return 0;
}

char MuiProcessMouseWheel(int) { return 0; }
char MuiKeyDown(int) { return 0; }
char MuiKeyDownChar(char) { return 0; }
char MuiKeyUp(int) { return 0; }
void MuiTick() {}
void MuiCalcBoxHighlighted(int, int) {}
void MuiToNextButton(char) {}
char MuiKeyMove(char) { return 0; }
void MuiSetEscapePressTime(char) {}
char MuiCanEscapeBePressed(char, char) { return 1; }
void MuiSetPressRepeatDetails(void (*)(char), void (*)(int, int), int, int) {}
void MuiClearPressRepeatDetails() {}
