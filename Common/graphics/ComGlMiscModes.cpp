// The program's clock and frame time, and the table of the main display's modes.
#include "ComGlMiscModes.h"

#include <SDL.h>
#include <cstdlib>

#include "ComDebug.h"
#include "ComMacWin.h"

int n3d_current_time = 0;
int n3d_last_frame_time = 0;
float n3d_per_second = 0.1f;
int n3d_frame_rate = 10;
char cglm_settling_frame_rate = 0;

_ComGlResMode com_gl_res_modes[COM_GL_MAX_RES_MODES];
int com_gl_num_res_modes = 0;

static float cglm_prev_frame_duration = 0.0f;

int ComGlMiscCalcCurrentTime() {
  n3d_current_time = (int)ComWinGetTickCount();
  return n3d_current_time;
}

void ComGlMiscCalcFrameRate() {
  unsigned int now = ComWinGetTickCount();
  n3d_current_time = (int)now;
  if (n3d_last_frame_time != 0 && (unsigned int)n3d_last_frame_time != now) {
    float e = (float)(unsigned int)(now - (unsigned int)n3d_last_frame_time) / 1000.0f;
    if (cglm_prev_frame_duration > 0.0f) e = (e + cglm_prev_frame_duration) / 2.0f;
    n3d_per_second = e;
    cglm_prev_frame_duration = e;
    n3d_frame_rate = e > 0.0f ? (int)(1.0f / e) : 1000;
  }
  n3d_last_frame_time = (int)now;
}

void ComGlMiscResetFrameRate() {
  cglm_prev_frame_duration = 0.0f;
  n3d_last_frame_time = 0;
  n3d_per_second = 0.1f;
  n3d_frame_rate = 10;
}

void ComGlMiscSettleFrameRate() {
  cglm_settling_frame_rate = 1;
  unsigned int start = ComWinGetTickCount();
  while ((unsigned int)(ComWinGetTickCount() - start) < 300u) {
    n3d_last_frame_time = (int)ComWinGetTickCount();
    ComWinTickAndRender(0, 1, 1, 1);
  }
  cglm_settling_frame_rate = 0;
}

void ComGlMiscSettleFrameRate2(char render, void (*step)()) {
  cglm_settling_frame_rate = 1;
  unsigned int start = ComWinGetTickCount();
  while ((unsigned int)(ComWinGetTickCount() - start) < 400u) {
    if (step)
      step();
    else
      ComWinTickAndRender(0, render != 0, 1, 1);
  }
  cglm_settling_frame_rate = 0;
}

char ComGlMiscIsFrameRateBeingSettled() { return cglm_settling_frame_rate; }

int ComGlMiscResModesSortCallback(const void* a, const void* b) {
  const _ComGlResMode* x = (const _ComGlResMode*)a;
  const _ComGlResMode* y = (const _ComGlResMode*)b;
  if (x->bits_per_pixel != y->bits_per_pixel) return x->bits_per_pixel < y->bits_per_pixel ? -1 : 1;
  if (x->width != y->width) return x->width < y->width ? -1 : 1;
  if (x->height != y->height) return x->height < y->height ? -1 : 1;
  return 0;
}

int ComGlMiscResModesFreqSortCallback(const void* a, const void* b) {
  int x = *(const int*)a, y = *(const int*)b;
  return x < y ? -1 : (x > y ? 1 : 0);
}

char ComGlMiscGetResolutionModesFromList(const _ComGlModeEntry* entries, int count, char deep_only) {
  com_gl_num_res_modes = 0;
  if (!entries || count <= 0) {
    DebugError("ResolutionGetModes", "No modes [%d]", count);
    return 0;
  }
  for (int i = 0; i < count; i++) {
    const _ComGlModeEntry& m = entries[i];
    if (deep_only && m.bits_per_pixel <= 15) continue;
    _ComGlResMode* rec = nullptr;
    for (int j = 0; j < com_gl_num_res_modes; j++) {
      _ComGlResMode* r = &com_gl_res_modes[j];
      if (r->width == m.width && r->height == m.height && r->bits_per_pixel == m.bits_per_pixel) {
        rec = r;
        break;
      }
    }
    if (rec) {
      if (rec->num_rates < COM_GL_MAX_MODE_RATES - 1) rec->refresh_rates[rec->num_rates++] = m.refresh_rate;
    } else if (com_gl_num_res_modes < COM_GL_MAX_RES_MODES) {
      rec = &com_gl_res_modes[com_gl_num_res_modes++];
      *rec = _ComGlResMode{};
      rec->width = m.width;
      rec->height = m.height;
      rec->bits_per_pixel = m.bits_per_pixel;
      rec->refresh_rates[0] = m.refresh_rate;
      rec->num_rates = 1;
    }
  }
  if (com_gl_num_res_modes == 0) return 0;
  qsort(com_gl_res_modes, (size_t)com_gl_num_res_modes, sizeof(_ComGlResMode), ComGlMiscResModesSortCallback);
  for (int j = 0; j < com_gl_num_res_modes; j++)
    qsort(com_gl_res_modes[j].refresh_rates, (size_t)com_gl_res_modes[j].num_rates, sizeof(int),
          ComGlMiscResModesFreqSortCallback);
  return 1;
}

void ComGlResModesMacGetModeDetails(const void* mode, int* width, int* height, int* bits_per_pixel,
                                    int* refresh_rate) {
  const SDL_DisplayMode* m = (const SDL_DisplayMode*)mode;
  if (!m) return;
  if (width) *width = m->w;
  if (height) *height = m->h;
  if (bits_per_pixel) *bits_per_pixel = (int)SDL_BYTESPERPIXEL(m->format) * 8;
  if (refresh_rate) *refresh_rate = m->refresh_rate;
}

char ComGlMiscGetResolutionModes(char deep_only) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    com_gl_num_res_modes = 0;
    DebugError("ResolutionGetModes", "No modes [%d]", 0);
    return 0;
  }
  int n = SDL_GetNumDisplayModes(0);
  if (n <= 0) {
    com_gl_num_res_modes = 0;
    DebugError("ResolutionGetModes", "No modes [%d]", n);
    return 0;
  }
  _ComGlModeEntry* list = (_ComGlModeEntry*)calloc((size_t)n, sizeof(_ComGlModeEntry));
  if (!list) return 0;
  int got = 0;
  for (int i = 0; i < n; i++) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
    ComGlResModesMacGetModeDetails(&m, &list[got].width, &list[got].height, &list[got].bits_per_pixel,
                                   &list[got].refresh_rate);
    got++;
  }
  char ok = ComGlMiscGetResolutionModesFromList(list, got, deep_only);
  free(list);
  return ok;
}

int ComGlResModesGetNumModes() { return com_gl_num_res_modes; }

void ComGlResModesEnsureCurrentResModeOk(char unused) {
  (void)unused;
  if (run_windowed) return;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_DisplayMode want, got;
  SDL_zero(want);
  want.w = WIDTH;
  want.h = HEIGHT;
  want.refresh_rate = FREQUENCY;
  want.format = BITDEPTH <= 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  // No such mode at all: the chosen values stay as they are.
  if (!SDL_GetClosestDisplayMode(0, &want, &got)) return;
  int bpp = 0;
  ComGlResModesMacGetModeDetails(&got, &WIDTH, &HEIGHT, &bpp, &FREQUENCY);
  BITDEPTH = bpp;
  WIDTH2 = WIDTH / 2;
  HEIGHT2 = HEIGHT / 2;
}
