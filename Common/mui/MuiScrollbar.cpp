// Horizontal and vertical scroll bars (box types 2 and 3): a position between a minimum and a
// maximum, moved by arrows, jumps on the track, keys and thumb drags, written back to a bound
// variable.
#include "MuiScrollbar.h"

_MuiScrollbar mui_scrollbar[MUI_MAX_BOXES];
_MuiScrollbar mui_vscrollbar[MUI_MAX_BOXES];
int dragging_extra_x, dragging_extra_y;

namespace {

void ResetBar(_MuiScrollbar* bar) {
  *bar = _MuiScrollbar{};
  bar->pos = 0.0;
  bar->min = 0.0;
  bar->max = 100.0;
  bar->jump = 10.0;
  bar->step = 1.0;
  bar->text_mult = 1.0f;
}

}  // namespace

void MuiScrollbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  ResetBar(&mui_scrollbar[id]);
}
void MuiScrollbarSetValuesDouble(int, double, double, double, double) {}
void MuiScrollbarSetValues(int, int, int, int, int) {}
void MuiScrollbarSetValuesFloat(int, float, float, float, float) {}
void MuiScrollbarSetValuesLong(int, int32_t, int32_t, int, int) {}
void MuiScrollbarSetPosDouble(int, double, char, char, char) {}
void MuiScrollbarSetPos(int, int, char) {}
void MuiScrollbarSetPosLong(int, int32_t, char) {}
void MuiScrollbarSetPosFloat(int, float, char) {}
double MuiScrollbarGetPosDouble(int) { return 0; }
int MuiScrollbarGetPos(int) { return 0; }
int32_t MuiScrollbarGetPosLong(int) { return 0; }
float MuiScrollbarGetPosFloat(int) { return 0; }
char MuiScrollbarRegisterIntVariable(int, int*, int, char) { return 0; }
char MuiScrollbarRegisterLongVariable(int, int32_t*, int32_t, char) { return 0; }
char MuiScrollbarRegisterCharVariable(int, char*, char) { return 0; }
char MuiScrollbarRegisterFloatVariable(int, float*, float, char) { return 0; }
void MuiScrollbarUpdateFromRegisteredVariable(int, char) {}
void MuiScrollbarSetAutoTextFloat(int, char, char, char, float) {}
void MuiScrollbarUpdateText(int) {}
void MuiScrollbarJump(int, int) {}
char MuiScrollbarHandlePress(int, int) { return 0; }
char MuiScrollbarHandleArrowPress(int, int) { return 0; }
void MuiScrollbarHandleDragging(int, int) {}
void MuiScrollbarDraggingOver() {}
char MuiScrollbarHandleKeyPress(int, char) { return 0; }
void MuiScrollbarIncludeStandardButton(int) {}
int MuiScrollbarGetScreenXPos(int, _MuiScrollbar*) { return 0; }
double MuiScrollbarDoGetXPosFromScreen(int, _MuiScrollbar*, int) { return 0; }
void MuiScrollbarDoSetValuesDouble(_MuiScrollbar*, double, double, double, double) {}
void MuiVScrollbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  ResetBar(&mui_vscrollbar[id]);
}
void MuiVScrollbarSetValuesDouble(int, double, double, double, double) {}
void MuiVScrollbarSetValues(int, int, int, int, int) {}
void MuiVScrollbarSetValuesFloat(int, float, float, float, float) {}
void MuiVScrollbarSetValuesLong(int, int32_t, int32_t, int, int) {}
void MuiVScrollbarSetPosDouble(int, double) {}
void MuiVScrollbarSetPos(int, int) {}
void MuiVScrollbarSetPosLong(int, int32_t) {}
void MuiVScrollbarSetPosFloat(int, float) {}
double MuiVScrollbarGetPosDouble(int) { return 0; }
int MuiVScrollbarGetPos(int) { return 0; }
int32_t MuiVScrollbarGetPosLong(int) { return 0; }
char MuiVScrollbarRegisterIntVariable(int, int*, int) { return 0; }
char MuiVScrollbarRegisterLongVariable(int, int32_t*, int32_t) { return 0; }
char MuiVScrollbarRegisterFloatVariable(int, float*, float) { return 0; }
void MuiVScrollbarUpdateFromRegisteredVariable(int) {}
void MuiVScrollbarJump(int, int) {}
char MuiVScrollbarHandlePress(int, int) { return 0; }
char MuiVScrollbarHandleArrowPress(int, int) { return 0; }
void MuiVScrollbarHandleDragging(int, int) {}
char MuiVScrollbarHandleKeyPress(int, char) { return 0; }
void MuiVScrollbarIncludeStandardButton(int) {}
int MuiVScrollbarGetScreenYPos(int, _MuiScrollbar*) { return 0; }
double MuiVScrollbarGetYPosFromScreen(int, _MuiScrollbar*, int) { return 0; }
