// The window shell: display globals, the callback tables, the quit request, the after-exit
// message and one frame of the main loop.
#include "ComMacWin.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComScreen.h"
#include "Mui.h"

int WIDTH = 640, HEIGHT = 480;
int WIDTH2 = 320, HEIGHT2 = 240;
int BITDEPTH = 16;
int FREQUENCY = 60;
char run_windowed = 1;
char ANTI_ALIASING = 0;

char cmw_main_loop_uses_timers = 0;
unsigned int cmw_tick_sleep_amount = 0;
char cmw_gl_setup = 0;
char cmw_allow_sleep_if_mui_on = 1;
char mac_resource_path[512] = "";
char cmw_after_exit_popup_title[128] = "";
char cmw_after_exit_popup_message[512] = "";
char cmw_after_exit_popup_on = 0;
char cmw_style_top_bar = 1, cmw_style_can_resize = 1, cmw_center_on_desktop = 1;

_ComMacWinMainCallbacks cmw_main_cb = {};
_ComMacWinInputCallbacks cmw_input_cb = {};
_ComMacWinMiscCallbacks cmw_misc_cb = {};

static int cmw_frame_depth = 0;

void ComMacWinSetMainCallbacks(char (*pre_create_window)(int, char**), char (*pre_3d)(int, char**),
                               char (*post_3d)(int, char**), char (*create_graphics)(),
                               void (*delete_graphics)(), void (*post_res_change)(),
                               char (*tick_mui_off)(), char (*tick_mui_on)(),
                               void (*render_mui_off)(), void (*render_mui_on_pre_mui)(),
                               void (*render_mui_on_post_mui)(),
                               void (*render_mui_on_post_mui_full_vp)(), void (*pre_3d_exit)(),
                               void (*post_3d_exit)()) {
  cmw_main_cb.pre_create_window = pre_create_window;
  cmw_main_cb.pre_3d = pre_3d;
  cmw_main_cb.post_3d = post_3d;
  cmw_main_cb.create_graphics = create_graphics;
  cmw_main_cb.delete_graphics = delete_graphics;
  cmw_main_cb.post_res_change = post_res_change;
  cmw_main_cb.tick_mui_off = tick_mui_off;
  cmw_main_cb.tick_mui_on = tick_mui_on;
  cmw_main_cb.render_mui_off = render_mui_off;
  cmw_main_cb.render_mui_on_pre_mui = render_mui_on_pre_mui;
  cmw_main_cb.render_mui_on_post_mui = render_mui_on_post_mui;
  cmw_main_cb.render_mui_on_post_mui_full_vp = render_mui_on_post_mui_full_vp;
  cmw_main_cb.pre_3d_exit = pre_3d_exit;
  cmw_main_cb.post_3d_exit = post_3d_exit;
}

void ComMacWinSetInputCallbacks(char (*mouse_press_mui_off)(char, char),
                                char (*mouse_press_mui_on)(char, char),
                                void (*mouse_double_click_mui_off)(char),
                                void (*move_mouse_mui_off)(int, int),
                                void (*move_mouse_mui_on)(int, int),
                                void (*mouse_wheel_mui_off)(int), char (*key_down_mui_off)(int),
                                char (*key_down_mui_on)(int), char (*key_up_mui_off)(int),
                                char (*key_up_mui_on)(int)) {
  cmw_input_cb.mouse_press_mui_off = mouse_press_mui_off;
  cmw_input_cb.mouse_press_mui_on = mouse_press_mui_on;
  cmw_input_cb.mouse_double_click_mui_off = mouse_double_click_mui_off;
  cmw_input_cb.move_mouse_mui_off = move_mouse_mui_off;
  cmw_input_cb.move_mouse_mui_on = move_mouse_mui_on;
  cmw_input_cb.mouse_wheel_mui_off = mouse_wheel_mui_off;
  cmw_input_cb.key_down_mui_off = key_down_mui_off;
  cmw_input_cb.key_down_mui_on = key_down_mui_on;
  cmw_input_cb.key_up_mui_off = key_up_mui_off;
  cmw_input_cb.key_up_mui_on = key_up_mui_on;
}

void ComMacWinSetMiscCallbacks(void (*activate)(char), char (*menu_command)(unsigned long),
                               void (*menu_closed)()) {
  cmw_misc_cb.activate = activate;
  cmw_misc_cb.menu_command = menu_command;
  cmw_misc_cb.menu_closed = menu_closed;
}

void ComWinSetComInputKeyboardCallback(void (*keyboard)(int, char)) { cmw_misc_cb.keyboard = keyboard; }
void ComWinSetAfterExitCallback(void (*cb)()) { cmw_misc_cb.after_exit = cb; }
void ComWinSetAfterExit2Callback(void (*cb)()) { cmw_misc_cb.after_exit2 = cb; }
void ComMacWinSetComMidiTickCallback(void (*cb)()) { cmw_misc_cb.midi_tick = cb; }
void ComMacWinSetComSocketsTickCallback(void (*cb)()) { cmw_misc_cb.sockets_tick = cb; }
void ComMacWinSetComMenuTickCallback(void (*cb)()) { cmw_misc_cb.menu_tick = cb; }

void ComMacWinUseTimersForMainLoop() { cmw_main_loop_uses_timers = 1; }

void ComWinSetTickSleepAmount(unsigned long ms) {
  // Kept in microseconds; a pause longer than the 32-bit store holds is capped.
  unsigned long long us = (unsigned long long)ms * 1000ull;
  cmw_tick_sleep_amount = us > 0xFFFFFFFFull ? 0xFFFFFFFFu : (unsigned int)us;
}

void ComMacWinAllowSleepIfMuiOn(char allow) { cmw_allow_sleep_if_mui_on = allow; }

void ComMacWinSetInitialResolution(int width, int height, int bit_depth, int frequency,
                                   char windowed, char anti_aliasing) {
  if (width < 2 || height < 2 || (windowed != 0 && windowed != 1)) {
    DebugError("ComMacWinSetInitialResolution", "Bad parameters: %d x %d, BD:%d  FR:%d  W:%d  AA:%d",
               width, height, bit_depth, frequency, windowed, anti_aliasing);
    return;
  }
  WIDTH = width;
  HEIGHT = height;
  WIDTH2 = WIDTH / 2;
  HEIGHT2 = HEIGHT / 2;
  BITDEPTH = bit_depth;
  FREQUENCY = frequency;
  run_windowed = windowed;
  ANTI_ALIASING = anti_aliasing;
}

void ComMacWinSetInitialWindowedStyle(char top_bar, char can_resize, char center) {
  cmw_style_top_bar = top_bar;
  cmw_style_can_resize = can_resize;
  cmw_center_on_desktop = center;
}

void ComWinCloseProgram() { ComMacEventsStopLoop(); }

void ComWinForceExitNow(char* title, char* text) {
  ComMacWinDeleteGraphics();
  ComMacEventsStopLoop();
  ComWinPopupMessage(title, text, 1);
}

// Copies at most size - 1 bytes and always terminates; a null source counts as "".
static void CopyBounded(char* dst, size_t size, const char* src) {
  if (!src) src = "";
  size_t n = strnlen(src, size - 1);
  memcpy(dst, src, n);
  dst[n] = 0;
}

void ComWinSetAfterExitPopupMessage(char* title, char* text, char kind) {
  CopyBounded(cmw_after_exit_popup_title, sizeof(cmw_after_exit_popup_title), title);
  CopyBounded(cmw_after_exit_popup_message, sizeof(cmw_after_exit_popup_message), text);
  cmw_after_exit_popup_on = (char)(kind + 1);
}

void ComMacWinDoAfterExit() {
  if (cmw_after_exit_popup_on) {
    char kind = (char)(cmw_after_exit_popup_on - 1);
    cmw_after_exit_popup_on = 0;
    if (cmw_after_exit_popup_callback)
      cmw_after_exit_popup_callback(cmw_after_exit_popup_title, cmw_after_exit_popup_message, kind);
    else
      ComWinPopupMessage(cmw_after_exit_popup_title, cmw_after_exit_popup_message, kind);
  }
  if (cmw_misc_cb.after_exit) cmw_misc_cb.after_exit();
  if (cmw_misc_cb.after_exit2) cmw_misc_cb.after_exit2();
}

char ComWinIs3dSetup() { return cmw_gl_setup; }
char ComMacWinIsInFrame() { return cmw_frame_depth > 0; }

char ComWinTickAndRender(char tick, char render, char swap, char calc_fps) {
  if (!cmw_gl_setup) return calc_fps;
  cmw_frame_depth++;
  if (tick) {
    if (mouseui_on) {
      if (cmw_main_cb.tick_mui_on) {
        if (!cmw_main_cb.tick_mui_on()) render = 0;
      }
      if (mouseui_on || !cmw_main_cb.tick_mui_on) {
        if (ComScreenIsOn())
          ComScreenTick();
        else
          MuiTick();
      }
    } else {
      if (cmw_main_cb.tick_mui_off && !cmw_main_cb.tick_mui_off()) render = 0;
    }
    if (cmw_misc_cb.midi_tick) cmw_misc_cb.midi_tick();
    if (cmw_misc_cb.sockets_tick) cmw_misc_cb.sockets_tick();
    if (cmw_misc_cb.menu_tick) cmw_misc_cb.menu_tick();
    ComMacWinInputTicked();
  }
  // A tick callback may have deleted the graphics (a forced exit); draw nothing then.
  if (render && cmw_gl_setup) {
    if (mouseui_on) {
      if (cmw_main_cb.render_mui_on_pre_mui) cmw_main_cb.render_mui_on_pre_mui();
      MuiRender();
      char vp = ComScreenNeedToChangeViewportSize(1);
      if (cmw_main_cb.render_mui_on_post_mui) cmw_main_cb.render_mui_on_post_mui();
      if (vp) ComGlMiscSetViewportFullScreen();
      if (cmw_main_cb.render_mui_on_post_mui_full_vp) cmw_main_cb.render_mui_on_post_mui_full_vp();
      MuiRenderAlwaysOnTop();
    } else {
      if (cmw_main_cb.render_mui_off) cmw_main_cb.render_mui_off();
    }
    ComGlDimDo();
  }
  if (swap && cmw_gl_setup) ComMacAglSwapBuffers();
  if (calc_fps) ComGlMiscCalcFrameRate();
  if (tick && run_windowed && mouseui_on && cmw_allow_sleep_if_mui_on) ComWinSleep(10, 1);
  cmw_frame_depth--;
  return 1;
}
