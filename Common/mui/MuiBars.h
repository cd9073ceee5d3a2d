// The progress bar (box type 12) and the statistics bar (box type 11).
#ifndef MUI_BARS_H
#define MUI_BARS_H

#include "MuiBox.h"

struct _ComGlDxTexture;

struct _MuiProgress {
  float pos, min, max;
  float block_size, block_gap;
  float bg_side_size, bar_side_size;
  float bar_xmargin, bar_ymargin;
};

struct _MuiStatsbar {
  float low, high;
  float threshold1, threshold2;
  float step;
  float pos;
  float gap;
};

extern _MuiProgress mui_progress[MUI_MAX_BOXES];
extern float mp_def_block_size, mp_def_block_gap, mp_def_bg_side_size, mp_def_bar_side_size;
extern float mp_def_bar_xmargin, mp_def_bar_ymargin;
extern _ComGlDxTexture mui_progress_textures[6];
extern char mui_progress_texnames[6][256];
extern _MuiStatsbar mui_statsbar[MUI_MAX_BOXES];

void MuiProgressInitTextures(const char* bg_left, const char* bg_middle, const char* bg_right,
                             const char* bar_left, const char* bar, const char* bar_right);
void MuiProgressLoadTextures();
void MuiProgressReleaseTextures();
void MuiProgressSetDefaults(float block_size, float block_gap, float bg_side, float bar_side,
                            float xmargin, float ymargin);
void MuiProgressReset(int id);
void MuiProgressSetSizes(int id, float block_size, float block_gap, float bg_side, float bar_side,
                         float xmargin, float ymargin);
void MuiProgressSetRange(int id, float min, float max);
void MuiProgressSetPos(int id, float pos);
void MuiProgressDraw(int id);

// A new box starts with an empty statistics record, whatever the previous screen left at its id.
void MuiStatsbarReset(int id);
void MuiStatsbarSetValues(int id, float low, float high, float threshold, float step, float pos);
void MuiStatsbarSetValues3(int id, float low, float high, float threshold1, float threshold2,
                           float step, float pos);
void MuiStatsbarSetPos(int id, float pos);
void MuiStatsbarSetGap(int id, float gap);
void MuiStatsbarDraw(int id);

#endif
