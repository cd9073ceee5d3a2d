// The range (box type 4): a low and a high value between limits, moved by two handles.
#ifndef MUI_RANGE_H
#define MUI_RANGE_H

#include <cstdint>

#include "MuiBox.h"

struct _MuiRange {
  float min, max;
  float lo, hi;
  float gap;                 // least distance between lo and hi
  unsigned char auto_text;   // 0 off, 2 to 4: on with 1 to 3 decimal places
  int32_t prefix_len;
};

extern _MuiRange mui_range[MUI_MAX_BOXES];

void MuiRangeReset(int id);
void MuiRangeSetLimits(int id, float min, float max, float gap);
void MuiRangeSetRange(int id, float lo, float hi, char drag, char call);
void MuiRangeGetRange(int id, float* lo, float* hi);
char MuiRangeRegisterTwoFloatVariables(int id, float* lo, float* hi, float mult, char call);
void MuiRangeSetAutoText(int id, char on, char places, char keep_prefix);
void MuiRangeGetScreenXPos(int id, int* x_lo, int* x_hi);
float MuiRangeGetXPosFromScreen(int id, int x, char* where);
void MuiRangeDrawButton(int id);
char MuiRangeHandleMousePress(int id, int x);
void MuiRangeHandleDragging(int id, int x);
void MuiRangeDraggingOver();
char MuiRangeHandleKeyPress(int id, char move);

#endif
