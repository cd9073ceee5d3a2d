// The program's one SDL window and the graphics life cycle on it.
#include "ComMacWinWindow.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "ComDebug.h"
#include "ComGlFont.h"
#include "ComGlMisc.h"
#include "ComGlXfile.h"
#include "ComMacMessageBox.h"
#include "ComMacText.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Mui.h"

SDL_Window* main_window = nullptr;
char cmw_title_str[512] = "Untitled";
char cmw_screens_were_on = 0;

char ComMacMiscGetDesktopSize(int* width, int* height) {
  SDL_DisplayMode mode;
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    if (width) *width = 0;
    if (height) *height = 0;
    return 0;
  }
  int w = mode.w;
  int h = mode.h - (cmw_style_top_bar ? 50 : 25);
  if (width) *width = w;
  if (height) *height = h;
  return (w > 0 && h > 0) ? 1 : 0;
}

static void SetGlAttributes(int samples) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
}

static SDL_Window* CreateSdlWindow(int x, int y, int w, int h, Uint32 flags) {
  const std::string title = ComMacTextLatin1ToUtf8(cmw_title_str, sizeof(cmw_title_str));
  int samples = ComMacAglSamplesFor(ANTI_ALIASING);
  SetGlAttributes(samples);
  SDL_Window* win = SDL_CreateWindow(title.c_str(), x, y, w, h, flags | SDL_WINDOW_OPENGL);
  if (!win && samples) {
    // The server has no multisampled visual: go on without anti-aliasing.
    SetGlAttributes(0);
    win = SDL_CreateWindow(title.c_str(), x, y, w, h, flags | SDL_WINDOW_OPENGL);
  }
  return win;
}

// Drivers that draw nowhere a person sees: a program on them runs on with no window.
static bool ShowsNoWindow(const char* driver) {
  return !driver || !SDL_strcasecmp(driver, "offscreen") || !SDL_strcasecmp(driver, "dummy") ||
         !SDL_strcasecmp(driver, "evdev");
}

char ComMacWinStartVideo(char* why, size_t size) {
  if (why && size) why[0] = 0;
  if (SDL_WasInit(SDL_INIT_VIDEO)) {
    if (!ShowsNoWindow(SDL_GetCurrentVideoDriver())) return 1;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  // SDL falls back on its offscreen driver when no display answers: each driver that shows a
  // window is asked by name instead, the one SDL_VIDEODRIVER names first.
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  std::string reasons;
  const int count = SDL_GetNumVideoDrivers();
  for (int pass = 0; pass < 2; pass++) {
    for (int i = 0; i < count; i++) {
      const char* name = SDL_GetVideoDriver(i);
      if (ShowsNoWindow(name)) continue;
      const bool named = wanted && !SDL_strcasecmp(wanted, name);
      if (named != (pass == 0)) continue;
      SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, name, SDL_HINT_OVERRIDE);
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return 1;
      if (!reasons.empty()) reasons += "; ";
      reasons += SDL_GetError();
    }
  }
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  if (reasons.empty()) reasons = "No available video device";
  if (why && size) snprintf(why, size, "%s", reasons.c_str());
  return 0;
}

char ComMacWinCreateWindow() {
  cmw_cursor_on = 1;
  if (ComMacWinStartVideo(nullptr, 0)) SDL_ShowCursor(SDL_ENABLE);
  if (main_window) ComMacWinDestroyWindow();
  if (!run_windowed) {
    // The full-screen surface; the context set-up switches it to the display mode.
    main_window = CreateSdlWindow(0, 0, WIDTH, HEIGHT, SDL_WINDOW_BORDERLESS);
    if (!main_window) {
      DebugError("main", "Could not create dummy window");
      ComWinPopupMessage("Error", "Internal Error [Create Temp Window - MAC]", 1);
      DebugExit();
      return 0;
    }
    cmw_corner_x = cmw_corner_y = 0;
  } else {
    Uint32 flags = 0;
    char style_ok = 1;
    if (cmw_style_top_bar) {
      if (cmw_style_can_resize) flags |= SDL_WINDOW_RESIZABLE;
    } else if (cmw_style_can_resize) {
      DebugError("MAIN", "STYLE NOT SUPPORTED");
      style_ok = 0;
    } else {
      flags |= SDL_WINDOW_BORDERLESS;
    }
    int dw, dh;
    if (ComMacMiscGetDesktopSize(&dw, &dh)) {
      if (HEIGHT > dh) HEIGHT = dh;
      if (WIDTH > dw) WIDTH = dw;
      ComMacWinSettleScreenSize("ComMacCreateWindow", " (A)");
    }
    if (WIDTH < 2 || HEIGHT < 2) {
      DebugError("ComMacCreateWindow", "Invalid window dimensions (B) [%d,%d] - setting to 640x480", WIDTH, HEIGHT);
      WIDTH = 640;
      HEIGHT = 480;
      WIDTH2 = WIDTH / 2;
      HEIGHT2 = HEIGHT / 2;
    }
    int pos = cmw_center_on_desktop ? (int)SDL_WINDOWPOS_CENTERED : (int)SDL_WINDOWPOS_UNDEFINED;
    main_window = style_ok ? CreateSdlWindow(pos, pos, WIDTH, HEIGHT, flags) : nullptr;
    if (!main_window) {
      DebugError("main", "Could not create window");
      ComWinPopupMessage("Error", "Internal Error [Create Window - MAC]", 1);
      DebugExit();
      return 0;
    }
    SDL_ShowWindow(main_window);
    ComMacWinUpdateWindowCorner();
  }
  if (!ComMacEventsSetupHandler()) {
    DebugError("main", "ComMacEventsSetupHandler failed");
    ComWinPopupMessage("Error", "Internal Error [Event Handler] - MAC", 1);
    DebugExit();
    return 0;
  }
  return 1;
}

void ComMacWinDestroyWindow() {
  if (cm_agl_context) ComMacAglDeleteContext();
  cmw_gl_setup = 0;
  if (main_window) SDL_DestroyWindow(main_window);
  main_window = nullptr;
}

void ComMacWinUpdateWindowCorner() {
  if (run_windowed && main_window) {
    SDL_GetWindowPosition(main_window, &cmw_corner_x, &cmw_corner_y);
  } else {
    cmw_corner_x = 0;
    cmw_corner_y = 0;
  }
}

void ComMacWinGetWindowPosition(int* x, int* y) {
  int wx = 0, wy = 0;
  if (main_window) {
    SDL_GetWindowPosition(main_window, &wx, &wy);
    int top = 0, left = 0;
    if (SDL_GetWindowBordersSize(main_window, &top, &left, nullptr, nullptr) == 0) {
      wx -= left;
      wy -= top;
    }
  }
  if (x) *x = wx;
  if (y) *y = wy;
}

void ComMacWinSetWindowTitle(SDL_Window* window, char* text) {
  if (!text || strnlen(text, 512) >= 512) return;
  memmove(cmw_title_str, text, strlen(text) + 1);
  if (window) {
    SDL_SetWindowTitle(window, ComMacTextLatin1ToUtf8(cmw_title_str, sizeof(cmw_title_str)).c_str());
  }
}

void ComWinSetGameTitle(char* text) { ComMacWinSetWindowTitle(main_window, text); }

void ComMacWinRefreshWindow() {
  // Without a window there is nothing to refresh, and nothing to wait for.
  if (!main_window) return;
  ComWinSleep(100, 1);
  if (cmw_gl_setup) glFinish();
  ComWinSleep(100, 1);
}

char ComMacWinCreateGraphics() {
  if (!ComMacAglSetupContext(ANTI_ALIASING)) {
    ComWinPopupMessage("Error setting up display context",
                       "Try changing the graphics settings and restarting.", 1);
    return 0;
  }
  ComGlXfileInit();
  ComGlMiscSetDefaultGraphicParamaters();
  cmw_gl_setup = 1;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ComMacAglSwapBuffers();
  if (cmw_main_cb.create_graphics && !cmw_main_cb.create_graphics()) {
    DebugError("ComMacWinCreateGraphics", "Create game graphics failed");
    return 0;
  }
  if (cmw_screens_were_on) ComScreenTurnOn(1);
  return 1;
}

void ComMacWinDeleteGraphics() {
  // A forced exit deletes the graphics before the shut-down does it again: release once.
  if (!cmw_gl_setup && !cm_agl_context) return;
  cmw_screens_were_on = ComScreenIsOn();
  ComScreenTurnOff(1);
  if (cmw_main_cb.delete_graphics) cmw_main_cb.delete_graphics();
  ComGlFontExit();
  ComGlXfileExit();
  ComMacAglDeleteContext();
  cmw_gl_setup = 0;
}

void ComMacWinSettleScreenSize(const char* label, const char* tag) {
  if (WIDTH < 2 || HEIGHT < 2) {
    DebugError(label, "Invalid window dimensions%s [%d,%d] - setting to 640x480", tag, WIDTH, HEIGHT);
    WIDTH = 640;
    HEIGHT = 480;
  }
  WIDTH2 = WIDTH / 2;
  HEIGHT2 = HEIGHT / 2;
  MuiCalcRatios();
}

void ComMacWinResizeCB(int width, int height) {
  int h = height <= 0 ? 1 : height;
  if (cmw_gl_setup) {
    glViewport(0, 0, width > 0 ? width : 1, h);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ComMacAglSwapBuffers();
  }
  ComMacWinDeleteGraphics();
  WIDTH = width;
  HEIGHT = height;
  ComMacWinSettleScreenSize("ComMacWinResizeCB", "");
  if (run_windowed) ComMacWinUpdateWindowCorner();
  if (ComMacWinCreateGraphics()) {
    if (cmw_main_cb.post_res_change) cmw_main_cb.post_res_change();
  } else {
    DebugError("ComMacWinResizeCB", "ComMacWinCreateGraphics failed");
    // Frames must not draw with a half-built context.
    ComMacWinDeleteGraphics();
    ComWinPopupMessage("Error", "Internal Error [Resize - Create Graphics - MAC]", 1);
  }
}
