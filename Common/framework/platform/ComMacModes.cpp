// The main display's modes read through SDL into the graphics' mode table.
#include "ComMacModes.h"

#include <SDL.h>
#include <cstdlib>

#include "ComDebug.h"
#include "ComMacWin.h"

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

namespace {

// The display's largest mode (widest, then tallest), of the asked depth when it has one at that
// size, then of the asked rate, else the fastest. False when the display lists no mode.
bool LargestMode(int bits_per_pixel, int rate, SDL_DisplayMode* out) {
  bool found = false;
  auto better = [&](const SDL_DisplayMode& a, const SDL_DisplayMode& b) {
    if (a.w != b.w) return a.w > b.w;
    if (a.h != b.h) return a.h > b.h;
    const bool a_depth = (int)SDL_BYTESPERPIXEL(a.format) * 8 == bits_per_pixel;
    const bool b_depth = (int)SDL_BYTESPERPIXEL(b.format) * 8 == bits_per_pixel;
    if (a_depth != b_depth) return a_depth;
    if ((a.refresh_rate == rate) != (b.refresh_rate == rate)) return a.refresh_rate == rate;
    return a.refresh_rate > b.refresh_rate;
  };
  const int n = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < n; i++) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
    if (!found || better(m, *out)) *out = m;
    found = true;
  }
  // A display that tells no rate keeps the asked one, as SDL's own closest match does.
  if (found && out->refresh_rate == 0) out->refresh_rate = rate;
  return found;
}

}  // namespace

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
  // Every mode is smaller than the one asked for: the largest is the closest.
  if (!SDL_GetClosestDisplayMode(0, &want, &got) && !LargestMode(BITDEPTH, FREQUENCY, &got)) return;
  int bpp = 0;
  ComGlResModesMacGetModeDetails(&got, &WIDTH, &HEIGHT, &bpp, &FREQUENCY);
  BITDEPTH = bpp;
  WIDTH2 = WIDTH / 2;
  HEIGHT2 = HEIGHT / 2;
}
