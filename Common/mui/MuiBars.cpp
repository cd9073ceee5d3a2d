// The progress bar (box type 12) and the statistics bar (box type 11).
#include "MuiBars.h"

#include "ComGlTexture.h"

_MuiProgress mui_progress[MUI_MAX_BOXES];
float mp_def_block_size = 0.0f, mp_def_block_gap = 0.0f, mp_def_bg_side_size = 10.0f,
      mp_def_bar_side_size = 10.0f;
float mp_def_bar_xmargin = 2.0f, mp_def_bar_ymargin = 2.0f;
_ComGlDxTexture mui_progress_textures[6];
char mui_progress_texnames[6][256];
_MuiStatsbar mui_statsbar[MUI_MAX_BOXES];

void MuiProgressInitTextures(const char*, const char*, const char*, const char*, const char*, const char*) {}
void MuiProgressLoadTextures() {}
void MuiProgressReleaseTextures() {}
void MuiProgressSetDefaults(float, float, float, float, float, float) {}
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
void MuiProgressSetSizes(int, float, float, float, float, float, float) {}
void MuiProgressSetRange(int, float, float) {}
void MuiProgressSetPos(int, float) {}
void MuiProgressDraw(int) {}
void MuiStatsbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_statsbar[id] = _MuiStatsbar{};
}
void MuiStatsbarSetValues(int, float, float, float, float, float) {}
void MuiStatsbarSetValues3(int, float, float, float, float, float, float) {}
void MuiStatsbarSetPos(int, float) {}
void MuiStatsbarSetGap(int, float) {}
void MuiStatsbarDraw(int) {}
