// The program's clock and frame time, and the table of the main display's modes.
#ifndef COM_GL_MISC_MODES_H
#define COM_GL_MISC_MODES_H

extern int n3d_current_time;     // tick count in milliseconds, taken every frame
extern int n3d_last_frame_time;  // tick count of the previous frame; 0 before the first
extern float n3d_per_second;     // smoothed duration of a frame in seconds (0.1 at start)
extern int n3d_frame_rate;       // frames per second derived from it (10 at start)
extern char cglm_settling_frame_rate;

#define COM_GL_MAX_RES_MODES 500
#define COM_GL_MAX_MODE_RATES 20

struct _ComGlResMode {
  int width;
  int height;
  int bits_per_pixel;
  int refresh_rates[COM_GL_MAX_MODE_RATES]; // at most 19 filled, ascending after a scan
  int num_rates;
};
static_assert(sizeof(_ComGlResMode) == 24 * sizeof(int), "a mode record is 24 ints");

extern _ComGlResMode com_gl_res_modes[COM_GL_MAX_RES_MODES];
extern int com_gl_num_res_modes;

int ComGlMiscCalcCurrentTime();
void ComGlMiscCalcFrameRate();
// Forgets the measured frame time (the static previous value) and the last frame's time.
void ComGlMiscResetFrameRate();
void ComGlMiscSettleFrameRate();
void ComGlMiscSettleFrameRate2(char render, void (*step)());
char ComGlMiscIsFrameRateBeingSettled();

// One entry of a display's mode list, as the scan reads it.
struct _ComGlModeEntry {
  int width, height, bits_per_pixel, refresh_rate;
};

// The scan over a given mode list (the display's through ComMacModes, or a test's).
char ComGlMiscGetResolutionModesFromList(const _ComGlModeEntry* entries, int count,
                                         char deep_only);
int ComGlResModesGetNumModes();
int ComGlMiscResModesSortCallback(const void* a, const void* b);
int ComGlMiscResModesFreqSortCallback(const void* a, const void* b);

#endif
