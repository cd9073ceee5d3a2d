// The menu layer's life cycle and input entry points as far as the platform shell needs them:
// on/off, the window ratios and the virtual pointer position. Boxes, widgets and drawing come
// with the menu toolkit.
#include "Mui.h"

#include "ComMacWin.h"

unsigned char mouseui_on = 0;
unsigned char mui_enabled = 1;
unsigned char mui_allow_keys = 1;
float x_ratio = 1.0f, y_ratio = 1.0f;
float x_ratio_inv = 1.0f, y_ratio_inv = 1.0f;
int mouse_pos_x = 320, mouse_pos_y = 240;

void MuiTexturesPre3dInit() {}
void MuiPre3dInit() {}

char MuiStartup() {
  MuiCalcRatios();
  mouseui_on = 1;
  return 1;
}

void MuiShutdown() {
  if (!mouseui_on) return;
  mouseui_on = 0;
}

void MuiExit() {
  if (mouseui_on) MuiShutdown();
}

void MuiCalcRatios() {
  x_ratio = (float)WIDTH / 640.0f;
  y_ratio = (float)HEIGHT / 480.0f;
  x_ratio_inv = WIDTH ? 640.0f / (float)WIDTH : 1.0f;
  y_ratio_inv = HEIGHT ? 480.0f / (float)HEIGHT : 1.0f;
}

void MuiBoxesCreated() {}
char MuiIsOn() { return mouseui_on; }
void MuiTick() {}
void MuiRender() {}
void MuiRenderAlwaysOnTop() {}

char MuiPress(char button, char down) {
  (void)button;
  (void)down;
  return 0;
}

char MuiDoubleClick(char button) {
  (void)button;
  return 0;
}

char MuiMove(int x, int y, char mode) {
  if (!mouseui_on || !mui_enabled) return 0;
  if (mode == 0 && x_ratio > 0.0f && y_ratio > 0.0f) {
    mouse_pos_x = (int)((float)x / x_ratio);
    mouse_pos_y = (int)((float)y / y_ratio);
  }
  return 0;
}

char MuiProcessMouseWheel(int delta) {
  (void)delta;
  return 0;
}

char MuiKeyDown(int key) {
  (void)key;
  return 0;
}

char MuiKeyDownChar(char c) {
  (void)c;
  return 0;
}

char MuiKeyUp(int key) {
  (void)key;
  return 0;
}
