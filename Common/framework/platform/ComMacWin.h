// The window shell: display globals, the application's callback tables, the quit request, the
// after-exit message and one frame of the main loop. The shell's other jobs live in their own
// modules (events, input, timer loop, window, context, folders, pointer); this header pulls in
// their public faces too, so callers of the shell include only "ComMacWin.h".
#ifndef COM_MAC_WIN_H
#define COM_MAC_WIN_H

#include <cstdint>

// ---- Display globals (set by the application before the window exists) ----
extern int WIDTH, HEIGHT;      // drawable size in pixels (640 x 480 at start)
extern int WIDTH2, HEIGHT2;    // their halves, integer division
extern int BITDEPTH;           // full-screen depth (16 at start)
extern int FREQUENCY;          // full-screen refresh rate (60 at start)
extern char run_windowed;      // 1 window, 0 full screen
extern char ANTI_ALIASING;     // 0 none, 4 four samples, any other nonzero two samples

// Window-to-virtual-screen ratios of the menu layer (window width / 640, height / 480).
extern float x_ratio, y_ratio;

// ---- Window shell state ----
extern char cmw_main_loop_uses_timers;    // 1 selects the timer-driven main loop
extern unsigned int cmw_tick_sleep_amount; // microseconds of pause after a polling-loop frame
extern char cmw_gl_setup;                 // 1 while the context with its default state exists
extern char cmw_allow_sleep_if_mui_on;    // the 10 ms pause of a windowed menu-on frame
extern char mac_resource_path[512];       // the working folder chosen at start
extern char cmw_after_exit_popup_title[128];
extern char cmw_after_exit_popup_message[512];
extern char cmw_after_exit_popup_on;      // 0 none, else message kind + 1
extern char cmw_style_top_bar, cmw_style_can_resize, cmw_center_on_desktop;

// ---- Callback tables ----
struct _ComMacWinMainCallbacks {
  char (*pre_create_window)(int argc, char** argv);
  char (*pre_3d)(int argc, char** argv);
  char (*post_3d)(int argc, char** argv);
  char (*create_graphics)();
  void (*delete_graphics)();
  void (*post_res_change)();
  char (*tick_mui_off)();
  char (*tick_mui_on)();
  void (*render_mui_off)();
  void (*render_mui_on_pre_mui)();
  void (*render_mui_on_post_mui)();
  void (*render_mui_on_post_mui_full_vp)();
  void (*pre_3d_exit)();
  void (*post_3d_exit)();
};

struct _ComMacWinInputCallbacks {
  char (*mouse_press_mui_off)(char button, char down);
  char (*mouse_press_mui_on)(char button, char down);
  void (*mouse_double_click_mui_off)(char button);
  void (*move_mouse_mui_off)(int x, int y);
  void (*move_mouse_mui_on)(int x, int y);
  void (*mouse_wheel_mui_off)(int delta);
  char (*key_down_mui_off)(int key);
  char (*key_down_mui_on)(int key);
  char (*key_up_mui_off)(int key);
  char (*key_up_mui_on)(int key);
};

struct _ComMacWinMiscCallbacks {
  void (*activate)(char active);
  char (*menu_command)(unsigned long command);
  void (*menu_closed)();
  void (*keyboard)(int key, char down);
  void (*after_exit)();
  void (*after_exit2)();
  void (*midi_tick)();
  void (*sockets_tick)();
  void (*menu_tick)();
};

extern _ComMacWinMainCallbacks cmw_main_cb;
extern _ComMacWinInputCallbacks cmw_input_cb;
extern _ComMacWinMiscCallbacks cmw_misc_cb;

void ComMacWinSetMainCallbacks(char (*pre_create_window)(int, char**), char (*pre_3d)(int, char**),
                               char (*post_3d)(int, char**), char (*create_graphics)(),
                               void (*delete_graphics)(), void (*post_res_change)(),
                               char (*tick_mui_off)(), char (*tick_mui_on)(),
                               void (*render_mui_off)(), void (*render_mui_on_pre_mui)(),
                               void (*render_mui_on_post_mui)(),
                               void (*render_mui_on_post_mui_full_vp)(), void (*pre_3d_exit)(),
                               void (*post_3d_exit)());
void ComMacWinSetInputCallbacks(char (*mouse_press_mui_off)(char, char),
                                char (*mouse_press_mui_on)(char, char),
                                void (*mouse_double_click_mui_off)(char),
                                void (*move_mouse_mui_off)(int, int),
                                void (*move_mouse_mui_on)(int, int),
                                void (*mouse_wheel_mui_off)(int), char (*key_down_mui_off)(int),
                                char (*key_down_mui_on)(int), char (*key_up_mui_off)(int),
                                char (*key_up_mui_on)(int));
void ComMacWinSetMiscCallbacks(void (*activate)(char), char (*menu_command)(unsigned long),
                               void (*menu_closed)());
void ComWinSetComInputKeyboardCallback(void (*keyboard)(int key, char down));
void ComWinSetAfterExitCallback(void (*cb)());
void ComWinSetAfterExit2Callback(void (*cb)());
void ComMacWinSetComMidiTickCallback(void (*cb)());
void ComMacWinSetComSocketsTickCallback(void (*cb)());
void ComMacWinSetComMenuTickCallback(void (*cb)());

// ---- Set-up choices ----
void ComMacWinUseTimersForMainLoop();
void ComWinSetTickSleepAmount(unsigned long ms);
void ComMacWinAllowSleepIfMuiOn(char allow);
void ComMacWinSetInitialResolution(int width, int height, int bit_depth, int frequency,
                                   char windowed, char anti_aliasing);
void ComMacWinSetInitialWindowedStyle(char top_bar, char can_resize, char center);

// ---- Quit and after-exit ----
void ComWinCloseProgram();
void ComWinForceExitNow(char* title, char* text);
void ComWinSetAfterExitPopupMessage(char* title, char* text, char kind);
// Shut-down step: shows a pending after-exit message (through the after-exit popup callback
// when one is installed), then runs the after-exit and after-exit-2 callbacks.
void ComMacWinDoAfterExit();

// ---- One frame ----
char ComWinTickAndRender(char tick, char render, char swap, char calc_fps);
char ComWinIs3dSetup();
// 1 while ComWinTickAndRender is running (events pumped meanwhile queue their extra frame).
char ComMacWinIsInFrame();

#include "ComMacEvents.h"
#include "ComMacWinInput.h"
#include "ComMacWinTimer.h"
#include "ComMacWinWindow.h"
#include "ComMacAgl.h"
#include "ComMacMisc.h"
#include "ComMacMiscIO.h"

#endif
