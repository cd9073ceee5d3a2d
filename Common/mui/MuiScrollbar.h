// Horizontal and vertical scroll bars (box types 2 and 3): a position between a minimum and a
// maximum, moved by arrows, jumps on the track, keys and thumb drags, written back to a bound
// variable.
#ifndef MUI_SCROLLBAR_H
#define MUI_SCROLLBAR_H

#include <cstdint>

#include "MuiBox.h"

struct _MuiScrollbar {
  double pos;
  double min, max;
  double jump;          // a track press and the up/down/page keys
  double step;          // an arrow press and the left/right keys
  unsigned char auto_text;  // 0 off, 1 to 4: on with 0 to 3 decimal places
  int32_t prefix_len;       // characters of text 0 kept in front of the printed value
  float text_mult;
};

extern _MuiScrollbar mui_scrollbar[MUI_MAX_BOXES];
extern _MuiScrollbar mui_vscrollbar[MUI_MAX_BOXES];  // only the five doubles are used
extern int dragging_extra_x, dragging_extra_y;       // grab offset of a dragged thumb

void MuiScrollbarReset(int id);
void MuiScrollbarSetValuesDouble(int id, double min, double max, double jump, double step);
void MuiScrollbarSetValues(int id, int min, int max, int jump, int step);
void MuiScrollbarSetValuesFloat(int id, float min, float max, float jump, float step);
void MuiScrollbarSetValuesLong(int id, int32_t min, int32_t max, int jump, int step);
void MuiScrollbarSetPosDouble(int id, double pos, char drag, char force, char call);
void MuiScrollbarSetPos(int id, int pos, char call);
void MuiScrollbarSetPosLong(int id, int32_t pos, char call);
void MuiScrollbarSetPosFloat(int id, float pos, char call);
double MuiScrollbarGetPosDouble(int id);
int MuiScrollbarGetPos(int id);
int32_t MuiScrollbarGetPosLong(int id);
float MuiScrollbarGetPosFloat(int id);
char MuiScrollbarRegisterIntVariable(int id, int* variable, int multiplier, char call);
char MuiScrollbarRegisterLongVariable(int id, int32_t* variable, int32_t multiplier, char call);
char MuiScrollbarRegisterCharVariable(int id, char* variable, char call);
char MuiScrollbarRegisterFloatVariable(int id, float* variable, float multiplier, char call);
void MuiScrollbarUpdateFromRegisteredVariable(int id, char call);
void MuiScrollbarSetAutoTextFloat(int id, char on, char places, char keep_prefix, float multiplier);
void MuiScrollbarUpdateText(int id);
void MuiScrollbarJump(int id, int direction);
char MuiScrollbarHandlePress(int id, int x);
char MuiScrollbarHandleArrowPress(int id, int which);
void MuiScrollbarHandleDragging(int id, int x);
void MuiScrollbarDraggingOver();
char MuiScrollbarHandleKeyPress(int id, char move);
void MuiScrollbarIncludeStandardButton(int id);
int MuiScrollbarGetScreenXPos(int id, _MuiScrollbar* bar);
double MuiScrollbarDoGetXPosFromScreen(int id, _MuiScrollbar* bar, int x);
void MuiScrollbarDoSetValuesDouble(_MuiScrollbar* bar, double min, double max, double jump,
                                   double step);

void MuiVScrollbarReset(int id);
void MuiVScrollbarSetValuesDouble(int id, double min, double max, double jump, double step);
void MuiVScrollbarSetValues(int id, int min, int max, int jump, int step);
void MuiVScrollbarSetValuesFloat(int id, float min, float max, float jump, float step);
void MuiVScrollbarSetValuesLong(int id, int32_t min, int32_t max, int jump, int step);
void MuiVScrollbarSetPosDouble(int id, double pos);
void MuiVScrollbarSetPos(int id, int pos);
void MuiVScrollbarSetPosLong(int id, int32_t pos);
void MuiVScrollbarSetPosFloat(int id, float pos);
double MuiVScrollbarGetPosDouble(int id);
int MuiVScrollbarGetPos(int id);
int32_t MuiVScrollbarGetPosLong(int id);
char MuiVScrollbarRegisterIntVariable(int id, int* variable, int multiplier);
char MuiVScrollbarRegisterLongVariable(int id, int32_t* variable, int32_t multiplier);
char MuiVScrollbarRegisterFloatVariable(int id, float* variable, float multiplier);
void MuiVScrollbarUpdateFromRegisteredVariable(int id);
void MuiVScrollbarJump(int id, int direction);
char MuiVScrollbarHandlePress(int id, int y);
char MuiVScrollbarHandleArrowPress(int id, int which);
void MuiVScrollbarHandleDragging(int id, int y);
char MuiVScrollbarHandleKeyPress(int id, char move);
void MuiVScrollbarIncludeStandardButton(int id);
int MuiVScrollbarGetScreenYPos(int id, _MuiScrollbar* bar);
double MuiVScrollbarGetYPosFromScreen(int id, _MuiScrollbar* bar, int y);

#endif
