// The progress bar (box type 12) and the statistics bar (box type 11).
//
// Both are drawn every frame, so their error lines are capped at five per message in a run, and
// their block loops are bounded by the box: a block narrower than a window pixel is never drawn,
// and no block goes past the box's right end, so a tiny step or block size cannot turn a frame
// into millions of iterations.
#include "MuiBars.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "ComDebug.h"
#include "ComGlTexture.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiTextures.h"

_MuiProgress mui_progress[MUI_MAX_BOXES];
float mp_def_block_size = 0.0f, mp_def_block_gap = 0.0f, mp_def_bg_side_size = 10.0f,
      mp_def_bar_side_size = 10.0f;
float mp_def_bar_xmargin = 2.0f, mp_def_bar_ymargin = 2.0f;
_ComGlDxTexture mui_progress_textures[6];
char mui_progress_texnames[6][256];
_MuiStatsbar mui_statsbar[MUI_MAX_BOXES];

namespace {

enum { kBgLeft = 0, kBgMiddle = 1, kBgRight = 2, kBarLeft = 3, kBar = 4, kBarRight = 5 };
const int kMaxLogLines = 5;

int progress_bad_values_logged = 0;
int stats_bad_values_logged = 0;
int stats_bad_pos_logged = 0;

bool MayLog(int* count) {
  if (*count >= kMaxLogLines) return false;
  (*count)++;
  return true;
}

// A float shown through %d: truncated, NaN as 0, out of range at the int's ends.
int LogInt(float v) {
  if (std::isnan(v)) return 0;
  if (v >= (float)INT_MAX) return INT_MAX;
  if (v <= (float)INT_MIN) return INT_MIN;
  return (int)v;
}

bool Created(const _ComGlDxTexture* t) { return t && t->created; }

// Draws a texture stretched over a rectangle of the virtual screen; nothing without an image or
// without area (the quad would land where the texture was last placed).
void DrawTex(_ComGlDxTexture* t, float x, float y, float w, float h) {
  if (!Created(t) || !(w > 0.0f) || !(h > 0.0f)) return;
  ComGlTexturePositionFloatRatioed(t, x, y, w, h);
  ComGlTextureDraw(t);
}

bool Visible(float w) { return w * x_ratio >= 1.0f; }

void DrawProgress(int id) {
  const _MuiProgress* p = &mui_progress[id];
  if (!(p->max > p->min)) {
    if (MayLog(&progress_bad_values_logged)) DebugError("MuiProgressDraw", "Bad Values for id %d", id);
    return;
  }
  const _MouseBox* b = &mouse_box[id];
  const float x = (float)b->x1, y = (float)b->y1, w = (float)b->w, h = (float)b->h;
  _ComGlDxTexture* t = mui_progress_textures;

  if (Created(&t[kBgMiddle])) {
    const float s = p->bg_side_size;
    if (s > 0.0f && Created(&t[kBgLeft]) && Created(&t[kBgRight])) {
      DrawTex(&t[kBgLeft], x, y, s, h);
      DrawTex(&t[kBgRight], x + w - s, y, s, h);
    }
    DrawTex(&t[kBgMiddle], x + s, y, w - 2.0f * s, h);
  }

  const float side = p->bar_side_size;
  float v = (p->pos - p->min) / (p->max - p->min) * (w - 2.0f * p->bar_xmargin - 2.0f * side) + 2.0f * side;
  float start = x + p->bar_xmargin;
  const float top = y + p->bar_ymargin, height = h - 2.0f * p->bar_ymargin;
  // Past the maximum the bar grows beyond its margin, but never past the box's end.
  if (v > x + w - start) v = x + w - start;

  if (v >= 2.0f * side && side > 0.0f && Created(&t[kBarLeft]) && Created(&t[kBarRight])) {
    DrawTex(&t[kBarLeft], start, top, side, height);
    DrawTex(&t[kBarRight], start + v - side, top, side, height);
    v -= 2.0f * side;
    start += side;
  }

  const float block = p->block_size, step = p->block_size + p->block_gap;
  // A block size of 0, or blocks that would never move on (size plus gap of 0 or less), draw one
  // continuous bar. So do blocks of at least a pixel spaced less than a pixel apart: together they
  // cover the bar. Blocks under a pixel are never drawn.
  bool continuous = block == 0.0f || !(step > 0.0f);
  if (!continuous) {
    if (!Visible(block)) return;
    continuous = !Visible(step);
  }
  if (continuous) {
    if (Visible(v)) DrawTex(&t[kBar], start, top, v + 1.0f, height);
    return;
  }
  const float end = start + v;
  for (float left = start; left < end; left += step) {
    float bw = block;
    if (left + bw > end) bw = end - left;
    if (Visible(bw)) DrawTex(&t[kBar], left, top, bw, height);
  }
}

// One run of statistics blocks from value a to value e, drawn from the cursor on and never past
// the box's right end x2.
void StatsSegment(_ComGlDxTexture* t, float a, float e, float step, float bw, float gap, float x2, float y,
                  float h, float* cursor) {
  if (!(e > a)) return;
  if (Visible(bw + gap)) {
    // Each full block moves the cursor at least a pixel: the box's width bounds the loop.
    for (int i = 0; *cursor < x2; i++) {
      const float value = a + (float)i * step;
      if (!(value < e)) break;
      float width = value + step > e ? (e - value) / step * bw : bw;
      const bool cut = *cursor + width > x2;
      if (cut) width = x2 - *cursor;
      if (Visible(width)) DrawTex(t, *cursor, y, width, h);
      *cursor += width + gap;
      if (cut) {
        *cursor = x2;  // the box is full; a negative gap must not step back into it
        break;
      }
    }
    return;
  }
  // A block stands for less than a pixel: the blocks cannot be told apart. Blocks of less than a
  // pixel draw nothing; wider ones overlap (a negative gap) into one piece.
  const double blocks = std::ceil(((double)e - a) / step);
  const float advance = (float)(((double)e - a) / step * bw + blocks * gap);
  if (Visible(bw)) {
    float width = advance - gap;
    if (*cursor + width > x2) width = x2 - *cursor;
    if (Visible(width)) DrawTex(t, *cursor, y, width, h);
  }
  *cursor += advance;
}

void DrawStats(int id) {
  const _MuiStatsbar* s = &mui_statsbar[id];
  if (!(s->high - s->low > 0.0f) || !(s->step > 0.0f)) {
    if (MayLog(&stats_bad_values_logged)) DebugError("MuiStatsbarDraw", "Bad Values for id %d", id);
    return;
  }
  if (!(s->pos >= s->low && s->pos <= s->high)) {
    if (MayLog(&stats_bad_pos_logged))
      DebugError("MuiStatsbarDraw", "Bad Pos for id %d [Pos: %d Low: %d High: %d]", id, LogInt(s->pos),
                 LogInt(s->low), LogInt(s->high));
    return;
  }
  _MouseBox* b = &mouse_box[id];
  const float bw = s->step / (s->high - s->low) * (float)b->w - s->gap;
  const float x2 = (float)b->x2, y = (float)b->y1, h = (float)b->h;
  float cursor = (float)b->x1;
  MuiBitmapSetupBlending(b);
  StatsSegment(MuiTexturesGetTextureFromNum(MUI_STD_BAR1, 0), s->low, std::fmin(std::fmin(s->high, s->threshold1), s->pos),
               s->step, bw, s->gap, x2, y, h, &cursor);
  if (s->threshold1 <= s->pos)
    StatsSegment(MuiTexturesGetTextureFromNum(MUI_STD_BAR2, 0), s->threshold1,
                 std::fmin(std::fmin(s->high, s->threshold2), s->pos), s->step, bw, s->gap, x2, y, h, &cursor);
  if (s->threshold2 <= s->pos)
    StatsSegment(MuiTexturesGetTextureFromNum(MUI_STD_BAR3, 0), s->threshold2, s->pos, s->step, bw, s->gap, x2, y,
                 h, &cursor);
  MuiBitmapTurnOffBlending(b);
}

}  // namespace

void MuiProgressInitTextures(const char* bg_left, const char* bg_middle, const char* bg_right,
                             const char* bar_left, const char* bar, const char* bar_right) {
  const char* names[6] = {bg_left, bg_middle, bg_right, bar_left, bar, bar_right};
  for (int i = 0; i < 6; i++) {
    mui_progress_texnames[i][0] = 0;
    if (!names[i]) continue;
    const size_t len = strnlen(names[i], sizeof(mui_progress_texnames[i]));
    if (len >= 1 && len <= 255) memcpy(mui_progress_texnames[i], names[i], len + 1);
  }
}

void MuiProgressLoadTextures() {
  char force32 = 0, alpha = 0;
  if (mui_using_alpha_texs == MUI_ALPHA_TYPE_3) {
    force32 = 1;
    alpha = 3;
  } else if (mui_using_alpha_texs == MUI_ALPHA_TYPE_2) {
    force32 = 1;
    alpha = 2;
  }
  for (int i = 0; i < 6; i++) {
    if (!mui_progress_texnames[i][0]) continue;
    if (mui_progress_textures[i].created) ComGlTextureRelease(&mui_progress_textures[i]);
    ComGlTextureLoadFromBmpFile(mui_progress_texnames[i], 0, force32, alpha, &mui_progress_textures[i]);
  }
}

void MuiProgressReleaseTextures() {
  for (int i = 0; i < 6; i++)
    if (mui_progress_textures[i].created) ComGlTextureRelease(&mui_progress_textures[i]);
}

void MuiProgressSetDefaults(float block_size, float block_gap, float bg_side, float bar_side, float xmargin,
                            float ymargin) {
  mp_def_block_size = block_size;
  mp_def_block_gap = block_gap;
  mp_def_bg_side_size = bg_side;
  mp_def_bar_side_size = bar_side;
  mp_def_bar_xmargin = xmargin;
  mp_def_bar_ymargin = ymargin;
}

void MuiProgressReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  _MuiProgress* p = &mui_progress[id];
  p->pos = 50.0f;
  p->min = 0.0f;
  p->max = 100.0f;
  p->block_size = mp_def_block_size;
  p->block_gap = mp_def_block_gap;
  p->bg_side_size = mp_def_bg_side_size;
  p->bar_side_size = mp_def_bar_side_size;
  p->bar_xmargin = mp_def_bar_xmargin;
  p->bar_ymargin = mp_def_bar_ymargin;
}

void MuiProgressSetSizes(int id, float block_size, float block_gap, float bg_side, float bar_side, float xmargin,
                         float ymargin) {
  if (!MuiIdValid(id)) return;
  _MuiProgress* p = &mui_progress[id];
  p->block_size = block_size;
  p->block_gap = block_gap;
  p->bg_side_size = bg_side;
  p->bar_side_size = bar_side;
  p->bar_xmargin = xmargin;
  p->bar_ymargin = ymargin;
}

void MuiProgressSetRange(int id, float min, float max) {
  if (!MuiIdValid(id)) return;
  mui_progress[id].min = min;
  mui_progress[id].max = max;
  MuiUpdate(id);
}

void MuiProgressSetPos(int id, float pos) {
  if (!MuiIdValid(id)) return;
  mouse_box[id].type = MUI_TYPE_PROGRESS;
  mui_progress[id].pos = pos;
  MuiUpdate(id);
}

void MuiProgressDraw(int id) {
  if (!MuiIdValid(id)) return;
  MuiBitmapSetupBlendingForStandardButtons();
  DrawProgress(id);
  MuiBitmapTurnOffBlendingForStandardButtons();
}

void MuiStatsbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_statsbar[id] = _MuiStatsbar{};
}

void MuiStatsbarSetValues(int id, float low, float high, float threshold, float step, float pos) {
  if (!MuiCheckId(id, "MuiStatsbarSetValues")) return;
  mouse_box[id].type = MUI_TYPE_STATSBAR;
  _MuiStatsbar* s = &mui_statsbar[id];
  s->low = low;
  s->high = high;
  s->threshold1 = threshold / 2.0f;
  s->threshold2 = threshold;
  s->step = step;
  s->pos = pos;
  s->gap = 0.0f;
  MuiUpdate(id);
}

void MuiStatsbarSetValues3(int id, float low, float high, float threshold1, float threshold2, float step,
                           float pos) {
  if (!MuiCheckId(id, "MuiStatsbarSetValues3")) return;
  mouse_box[id].type = MUI_TYPE_STATSBAR;
  _MuiStatsbar* s = &mui_statsbar[id];
  s->low = low;
  s->high = high;
  s->threshold1 = threshold1;
  s->threshold2 = threshold2;
  s->step = step;
  s->gap = 1.0f;
  MuiStatsbarSetPos(id, pos);
}

void MuiStatsbarSetPos(int id, float pos) {
  if (!MuiIdValid(id)) return;
  _MuiStatsbar* s = &mui_statsbar[id];
  if (pos < s->low) {
    DebugError("MuiStatsbarSetPos", "Pos to low <%f> (min:%f)", pos, s->low);
    pos = s->low;
  } else if (pos > s->high) {
    DebugError("MuiStatsbarSetPos", "Pos to high <%f> (max:%f)", pos, s->high);
    pos = s->high;
  }
  s->pos = pos;
  MuiUpdate(id);
}

void MuiStatsbarSetGap(int id, float gap) {
  if (MuiIdValid(id)) mui_statsbar[id].gap = gap;
}

void MuiStatsbarDraw(int id) {
  if (MuiIdValid(id)) DrawStats(id);
}
