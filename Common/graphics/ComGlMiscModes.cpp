// The program's clock and frame time, and the table of the main display's modes.
#include "ComGlMiscModes.h"

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

int ComGlResModesGetNumModes() { return com_gl_num_res_modes; }
