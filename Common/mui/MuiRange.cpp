// The range (box type 4): a low and a high value between limits, moved by two handles.
#include "MuiRange.h"

_MuiRange mui_range[MUI_MAX_BOXES];

void MuiRangeReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_range[id] = _MuiRange{};
  mui_range[id].max = 1.0f;
  mui_range[id].lo = 0.25f;
  mui_range[id].hi = 0.75f;
  mui_range[id].gap = 0.1f;
}
void MuiRangeSetLimits(int, float, float, float) {}
void MuiRangeSetRange(int, float, float, char, char) {}
void MuiRangeGetRange(int, float*, float*) {}
char MuiRangeRegisterTwoFloatVariables(int, float*, float*, float, char) { return 0; }
void MuiRangeSetAutoText(int, char, char, char) {}
void MuiRangeGetScreenXPos(int, int*, int*) {}
float MuiRangeGetXPosFromScreen(int, int, char*) { return 0; }
void MuiRangeDrawButton(int) {}
char MuiRangeHandleMousePress(int, int) { return 0; }
void MuiRangeHandleDragging(int, int) {}
void MuiRangeDraggingOver() {}
char MuiRangeHandleKeyPress(int, char) { return 0; }
