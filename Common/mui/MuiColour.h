// The colour picker (box type 13): three bars for red, green and blue over a bound _MuiFloat3.
#ifndef MUI_COLOUR_H
#define MUI_COLOUR_H

#include "MuiBox.h"
#include "MuiScrollbar.h"

struct _MuiColour {
  float r, g, b;
  _MuiScrollbar bar[3];   // thumb geometry of each component
  float mult;
  float offset;
};

extern _MuiColour mui_colour[MUI_MAX_BOXES];

void MuiColourReset(int id);
void MuiColourSetFloat(int id, float r, float g, float b, char notify);
void MuiColourSet(int id, int r, int g, int b, char notify);
char MuiColourRegisterFloat3VariableMult(int id, _MuiFloat3* variable, float mult, float offset);
char MuiColourRegisterFloat3Variable(int id, _MuiFloat3* variable);
void MuiColourUpdateFromFloatVar(int id, char notify);
void MuiColourUpdateFloatVar(int id);
void MuiColourGetFloat(int id, float* r, float* g, float* b);
void MuiColourGet(int id, int* r, int* g, int* b);
void MuiColourDraw(int id);
char MuiColourHandleMousePress(int id, int x, int y);
void MuiColourHandleDragging(int id, int x);
void MuiColourDraggingOver();

#endif
