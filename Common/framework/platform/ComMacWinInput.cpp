// Keys, mouse and cursor: the program's key codes and the dispatch of input to the
// application's callbacks or to the menu layer.
#include "ComMacWinInput.h"

#include <SDL.h>
#include <cstdio>

#include "ComDebug.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Mui.h"

unsigned char key_down[256] = {0};
char cmw_process_double_clicks = 0;
int cmw_cursor_x = 0, cmw_cursor_y = 0;
int cmw_corner_x = 0, cmw_corner_y = 0;
char cmw_cursor_on = 1;

// A key pressed and released before any tick ran (both events pumped in one batch, or inside a
// frame's nested pump) would be gone before the tick that polls key_down could see it: its
// release waits for the next tick.
static uint32_t cmw_ticks_run = 0;
static uint32_t cmw_key_down_tick[256];
static unsigned char cmw_key_up_deferred[256];  // the code to release, 0 when none

static int cmw_last_active = -1;           // last reported activation, -1 none yet
static char cmw_swallow_first_activate = 1;
static char cmw_swallow_first_deactivate = 1;

void ComMacWinResetInput() {
  for (int i = 0; i < 256; i++) key_down[i] = 0, cmw_key_up_deferred[i] = 0;
  cmw_last_active = -1;
  cmw_swallow_first_activate = 1;
  cmw_swallow_first_deactivate = 1;
}

static void SetModifiers(unsigned long modifiers) {
  key_down[COM_KEY_COMMAND] = (modifiers & KMOD_GUI) ? 2 : 0;
  key_down[COM_KEY_CONTROL] = (modifiers & KMOD_CTRL) ? 2 : 0;
  key_down[COM_KEY_SHIFT] = (modifiers & KMOD_SHIFT) ? 2 : 0;
  key_down[COM_KEY_OPTION] = (modifiers & KMOD_ALT) ? 2 : 0;
}

unsigned char ComMacWinConvertKey(unsigned long virtual_key, char character, unsigned long modifiers) {
  SetModifiers(modifiers);
  SDL_Keycode sym = (SDL_Keycode)virtual_key;
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return (unsigned char)(COM_KEY_F1 + (sym - SDLK_F1));
  switch (sym) {
    case SDLK_BACKSPACE: return COM_KEY_BACKSPACE;
    case SDLK_DELETE: return COM_KEY_DELETE;
    case SDLK_HELP: case SDLK_INSERT: return COM_KEY_HELP;
    case SDLK_PAGEUP: return COM_KEY_PAGE_UP;
    case SDLK_PAGEDOWN: return COM_KEY_PAGE_DOWN;
    case SDLK_LEFT: return COM_KEY_LEFT;
    case SDLK_RIGHT: return COM_KEY_RIGHT;
    case SDLK_UP: return COM_KEY_UP;
    case SDLK_DOWN: return COM_KEY_DOWN;
    case SDLK_HOME: return COM_KEY_HOME;
    // The key-name table names 251 "End"; giving End the forward-delete code would make it
    // delete in a text entry.
    case SDLK_END: return COM_KEY_END;
    case SDLK_RETURN: case SDLK_RETURN2: case SDLK_KP_ENTER: return COM_KEY_RETURN;
    case SDLK_TAB: return COM_KEY_TAB;
    case SDLK_ESCAPE: return COM_KEY_ESCAPE;
    default: break;
  }
  unsigned char c = (unsigned char)character;
  if ((modifiers & KMOD_CTRL) && c >= 1 && c <= 26) {
    key_down[COM_KEY_CONTROL] = 2;
    return (unsigned char)(c + 64);
  }
  switch (c) {
    case 1: return COM_KEY_HOME;
    case 3: case 10: case 13: return COM_KEY_RETURN;
    case 127: return COM_KEY_DELETE;
    case 8: return COM_KEY_BACKSPACE;
    case 9: return COM_KEY_TAB;
    case 11: return COM_KEY_PAGE_UP;
    case 12: return COM_KEY_PAGE_DOWN;
    case 27: return COM_KEY_ESCAPE;
    case 28: return COM_KEY_LEFT;
    case 29: return COM_KEY_RIGHT;
    case 30: return COM_KEY_UP;
    case 31: return COM_KEY_DOWN;
    default: break;
  }
  if (c >= 'A' && c <= 'Z') key_down[COM_KEY_SHIFT] = 2;
  else if (c >= 'a' && c <= 'z') key_down[COM_KEY_SHIFT] = 0;
  return c;
}

static unsigned char Upper(unsigned char code) {
  return (code >= 'a' && code <= 'z') ? (unsigned char)(code - 32) : code;
}

void ComMacWinKeyDown(unsigned char code) {
  unsigned char up = Upper(code);
  if (cmw_misc_cb.keyboard) {
    cmw_misc_cb.keyboard(up, 1);
    return;
  }
  key_down[up] = 2;
  cmw_key_down_tick[up] = cmw_ticks_run;
  cmw_key_up_deferred[up] = 0;
  if (!mouseui_on) {
    if (cmw_input_cb.key_down_mui_off) cmw_input_cb.key_down_mui_off(up);
    return;
  }
  if (cmw_input_cb.key_down_mui_on && cmw_input_cb.key_down_mui_on(up)) return;
  char used;
  if (code < 32 || code == 127 || code >= 230)
    used = MuiKeyDown(code);
  else
    used = MuiKeyDownChar((char)code);
  if (used) ComScreenUpdate();
}

void ComMacWinHighCharTyped(unsigned char code) {
  // Above 127 the codes are the special keys' own; a typed character there only feeds text.
  if (mouseui_on && MuiKeyDownChar((char)code)) ComScreenUpdate();
}

void ComMacWinKeyUp(unsigned char code) {
  unsigned char up = Upper(code);
  if (cmw_misc_cb.keyboard) {
    cmw_misc_cb.keyboard(up, 0);
    return;
  }
  if (key_down[up] == 2 && cmw_key_down_tick[up] == cmw_ticks_run && ComWinIs3dSetup()) {
    cmw_key_up_deferred[up] = code ? code : up;
    return;
  }
  key_down[up] = 0;
  if (mouseui_on) {
    MuiKeyUp(code);
    if (cmw_input_cb.key_up_mui_on) cmw_input_cb.key_up_mui_on(up);
  } else {
    if (cmw_input_cb.key_up_mui_off) cmw_input_cb.key_up_mui_off(up);
  }
}

void ComMacWinKeyModifiersChanged(unsigned long modifiers) { SetModifiers(modifiers); }

void ComMacWinMousePress(char button, char down, int click_count) {
  char used = 0;
  if (cmw_process_double_clicks && down && click_count > 1) {
    if (mouseui_on) {
      used = MuiDoubleClick(button);
      if (used) ComScreenUpdate();
    } else if (cmw_input_cb.mouse_double_click_mui_off) {
      cmw_input_cb.mouse_double_click_mui_off(button);
    }
    return;
  }
  if (button < 0 || button > 2) {
    DebugError("ComMacWinMousePress", "Unknown button %d", button);
    return;
  }
  key_down[COM_KEY_MOUSE_LEFT + button] = down ? 2 : 0;
  if (!mouseui_on) {
    if (cmw_input_cb.mouse_press_mui_off) cmw_input_cb.mouse_press_mui_off(button, down);
    return;
  }
  if (cmw_input_cb.mouse_press_mui_on && cmw_input_cb.mouse_press_mui_on(button, down)) return;
  used = MuiPress(button, down);
  if (used) ComScreenUpdate();
}

void ComMacWinMouseMove(int x, int y) {
  if (run_windowed) {
    x -= cmw_corner_x;
    y -= cmw_corner_y;
  }
  cmw_cursor_x = x;
  cmw_cursor_y = y;
  if (mouseui_on) {
    MuiMove(x, y, 0);
    if (cmw_input_cb.move_mouse_mui_on) cmw_input_cb.move_mouse_mui_on(x, y);
  } else {
    if (cmw_input_cb.move_mouse_mui_off) cmw_input_cb.move_mouse_mui_off(x, y);
  }
}

void ComMacWinMouseWheelInput(int delta) {
  if (MuiIsOn())
    MuiProcessMouseWheel(delta);
  else if (cmw_input_cb.mouse_wheel_mui_off)
    cmw_input_cb.mouse_wheel_mui_off(delta);
}

void ComMacWinActiveStateChanged(char active) {
  active = active ? 1 : 0;
  if (cmw_last_active == active) return;
  cmw_last_active = active;
  if (active && cmw_swallow_first_activate) {
    cmw_swallow_first_activate = 0;
    return;
  }
  if (!active && cmw_swallow_first_deactivate) {
    cmw_swallow_first_deactivate = 0;
    return;
  }
  if (cmw_misc_cb.activate) cmw_misc_cb.activate(active);
}

void ComWinGetCursorPos2(int* x, int* y) {
  if (x) *x = cmw_cursor_x;
  if (y) *y = cmw_cursor_y;
}

static void (*cmw_cursor_warp_sink)(int x, int y) = nullptr;

void ComWinSetCursorWarpSink(void (*sink)(int x, int y)) { cmw_cursor_warp_sink = sink; }

void ComWinSetCursorPos(int x, int y) {
  if (cmw_cursor_warp_sink) {
    cmw_cursor_x = x;
    cmw_cursor_y = y;
    cmw_cursor_warp_sink(x, y);
    return;
  }
  if (run_windowed) {
    x += cmw_corner_x;
    y += cmw_corner_y;
  }
  ComMacMiscIOSetCursorPosition(x, y);
}

void ComWinTurnOnCursor() {
  if (cmw_cursor_on) return;
  cmw_cursor_on = 1;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void ComWinTurnOffCursor() {
  if (!cmw_cursor_on) return;
  cmw_cursor_on = 0;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ComWinProcessDoubleClicks(char on) { cmw_process_double_clicks = on; }

void ComMacMiscGetKeyName(unsigned char code, char* buf, int len) {
  if (!buf || len <= 13) return;
  const char* name = nullptr;
  static const char* const special[] = {"Left", "Right", "Up", "Down", "Prior", "Next", "Home",
                                        "End", "Insert", "Left Button", "Right Button",
                                        "Middle Button"};
  switch (code) {
    case 8: name = "Delete"; break;
    case 9: name = "Tab"; break;
    case 13: name = "Return"; break;
    case 27: name = "Escape"; break;
    case 32: name = "Space"; break;
    case 127: name = "Backspace"; break;
    default: break;
  }
  if (name) {
    snprintf(buf, (size_t)len, "%s", name);
  } else if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) {
    snprintf(buf, (size_t)len, "%c", code);
  } else if (code >= 232 && code <= 243) {
    snprintf(buf, (size_t)len, "F%d", code - 231);
  } else if (code >= 244) {
    snprintf(buf, (size_t)len, "%s", special[code - 244]);
  } else {
    snprintf(buf, (size_t)len, "?");
  }
}

void ComMacWinInputTicked() {
  cmw_ticks_run++;
  for (int i = 0; i < 256; i++) {
    unsigned char code = cmw_key_up_deferred[i];
    if (!code) continue;
    cmw_key_up_deferred[i] = 0;
    ComMacWinKeyUp(code);
  }
}
