// The menu layer's life cycle and input entry points that the platform shell calls.
#ifndef MUI_H
#define MUI_H

extern unsigned char mouseui_on;   // the layer is on
extern unsigned char mui_enabled;
extern unsigned char mui_allow_keys;
extern float x_ratio, y_ratio;         // window width / 640, height / 480
extern float x_ratio_inv, y_ratio_inv; // 640 / width, 480 / height
extern int mouse_pos_x, mouse_pos_y;   // last pointer position in the virtual screen

void MuiTexturesPre3dInit();
void MuiPre3dInit();
char MuiStartup();
void MuiShutdown();
void MuiExit();
void MuiCalcRatios();
void MuiBoxesCreated();
char MuiIsOn();

void MuiTick();
void MuiRender();
void MuiRenderAlwaysOnTop();

char MuiPress(char button, char down);
char MuiDoubleClick(char button);
char MuiMove(int x, int y, char mode);
char MuiProcessMouseWheel(int delta);
char MuiKeyDown(int key);
char MuiKeyDownChar(char c);
char MuiKeyUp(int key);

#endif
