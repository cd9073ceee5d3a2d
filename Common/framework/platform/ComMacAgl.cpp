// The OpenGL context on the SDL window: creation, the full-screen switch with its display fades,
// teardown and swap.
#include "ComMacAgl.h"

#include <SDL.h>
#include <cstring>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacWin.h"

void* cm_agl_context = nullptr;
_FadeSettings cm_fade_settings = {};
static char cm_agl_full_screen = 0;  // the context switched the window to full screen

int ComMacAglSamplesFor(char anti_aliasing) {
  if (!anti_aliasing) return 0;
  return anti_aliasing == 4 ? 4 : 2;
}

static void SaveFadeSettings(_FadeSettings* fade) {
  fade->display_id = main_window ? SDL_GetWindowDisplayIndex(main_window) : 0;
  fade->red_min = fade->green_min = fade->blue_min = 0.0f;
  fade->red_max = fade->green_max = fade->blue_max = 1.0f;
  fade->red_gamma = fade->green_gamma = fade->blue_gamma = 1.0f;
  fade->ramp_valid = 0;
  if (main_window && SDL_GetWindowGammaRamp(main_window, fade->ramp[0], fade->ramp[1], fade->ramp[2]) == 0)
    fade->ramp_valid = 1;
}

static char SetFadeLevel(_FadeSettings* fade, float level) {
  if (level < 0.0f) level = 0.0f;
  if (level > 1.0f) level = 1.0f;
  uint16_t r[256], g[256], b[256];
  for (int i = 0; i < 256; i++) {
    r[i] = (uint16_t)(fade->ramp[0][i] * level);
    g[i] = (uint16_t)(fade->ramp[1][i] * level);
    b[i] = (uint16_t)(fade->ramp[2][i] * level);
  }
  return SDL_SetWindowGammaRamp(main_window, r, g, b) == 0;
}

// Each step measures real time, so the whole fade lasts about a second however fast the
// steps run.
static void Fade(_FadeSettings* fade, float from, float to) {
  if (!fade || !fade->ramp_valid || !main_window) return;
  float level = from;
  float dir = to > from ? 1.0f : -1.0f;
  uint32_t start = ComWinGetTickCount();
  for (;;) {
    ComGlMiscCalcFrameRate();
    if (!SetFadeLevel(fade, level)) {
      fade->ramp_valid = 0;  // the server refuses: no fades from now on
      return;
    }
    if ((dir < 0 && level <= to) || (dir > 0 && level >= to)) break;
    SDL_Delay(10);
    float elapsed = (float)(uint32_t)(ComWinGetTickCount() - start) / 1000.0f;
    level = from + dir * elapsed;
    if (dir < 0 && level < to) level = to;
    if (dir > 0 && level > to) level = to;
  }
  if (to >= 1.0f)
    SDL_SetWindowGammaRamp(main_window, fade->ramp[0], fade->ramp[1], fade->ramp[2]);
}

void FadeDisplayToBlack(_FadeSettings* fade) { Fade(fade, 1.0f, 0.0f); }
void FadeDisplayFromBlack(_FadeSettings* fade) { Fade(fade, 0.0f, 1.0f); }

char ComMacAglSetupContext(char anti_aliasing) {
  (void)anti_aliasing;  // the window's visual was chosen with it when the window was made
  if (SDL_GetNumVideoDisplays() < 1) DebugError("ComMacAglSetupContext", "GetMainDevice failed - continuing anyway");
  if (!main_window) {
    DebugError("ComMacAglSetupContext", "aglChoosePixelFormat failed");
    return 0;
  }
  if (!run_windowed) {
    ComWinTurnOffCursor();
    SaveFadeSettings(&cm_fade_settings);
    FadeDisplayToBlack(&cm_fade_settings);
  }
  SDL_GLContext ctx = SDL_GL_CreateContext(main_window);
  if (!ctx) {
    DebugError("ComMacAglSetupContext", "aglCreateContext failed");
    if (!run_windowed) {
      FadeDisplayFromBlack(&cm_fade_settings);
      ComWinTurnOnCursor();
    }
    return 0;
  }
  cm_agl_context = ctx;
  if (SDL_GL_MakeCurrent(main_window, ctx) != 0) {
    DebugError("ComMacAglSetupContext", "aglSetCurrentContext failed");
    SDL_GL_DeleteContext(ctx);
    cm_agl_context = nullptr;
    if (!run_windowed) {
      FadeDisplayFromBlack(&cm_fade_settings);
      ComWinTurnOnCursor();
    }
    return 0;
  }
  SDL_GL_SetSwapInterval(0);
  if (!run_windowed) {
    SDL_DisplayMode mode;
    SDL_zero(mode);
    mode.w = WIDTH;
    mode.h = HEIGHT;
    mode.refresh_rate = FREQUENCY;
    mode.format = BITDEPTH <= 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    if (SDL_SetWindowDisplayMode(main_window, &mode) != 0 ||
        SDL_SetWindowFullscreen(main_window, SDL_WINDOW_FULLSCREEN) != 0) {
      DebugError("ComMacAglSetupContext", "aglSetFullScreen failed");
      SDL_GL_MakeCurrent(main_window, nullptr);
      SDL_GL_DeleteContext(ctx);
      cm_agl_context = nullptr;
      // Never leave the display black and the cursor hidden after a failed switch.
      FadeDisplayFromBlack(&cm_fade_settings);
      ComWinTurnOnCursor();
      return 0;
    }
    cm_agl_full_screen = 1;
    SDL_ShowWindow(main_window);
    FadeDisplayFromBlack(&cm_fade_settings);
    ComWinTurnOnCursor();
  }
  return 1;
}

void ComMacAglDeleteContext() {
  if (!cm_agl_context) return;
  if (cm_agl_full_screen) FadeDisplayToBlack(&cm_fade_settings);
  SDL_GL_MakeCurrent(main_window, nullptr);
  SDL_GL_DeleteContext((SDL_GLContext)cm_agl_context);
  cm_agl_context = nullptr;
  if (cm_agl_full_screen) {
    SDL_SetWindowFullscreen(main_window, 0);
    cm_agl_full_screen = 0;
    FadeDisplayFromBlack(&cm_fade_settings);
  }
}

void ComMacAglSwapBuffers() {
  if (cm_agl_context && main_window) SDL_GL_SwapWindow(main_window);
}

void ComWinSwapBuffers() { ComMacAglSwapBuffers(); }
