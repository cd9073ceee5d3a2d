// The colour picker (box type 13): three bars for red, green and blue over a bound _MuiFloat3.
#include "MuiColour.h"

_MuiColour mui_colour[MUI_MAX_BOXES];

void MuiColourReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  _MuiColour* c = &mui_colour[id];
  *c = _MuiColour{};
  for (_MuiScrollbar& bar : c->bar) {
    bar.min = 0.0;
    bar.max = 1.0;
    bar.jump = 0.1;
    bar.step = 0.01;
    bar.pos = 0.0;
    bar.text_mult = 1.0f;
  }
  c->mult = 1.0f;
  c->offset = 0.0f;
}
void MuiColourSetFloat(int, float, float, float, char) {}
void MuiColourSet(int, int, int, int, char) {}
char MuiColourRegisterFloat3VariableMult(int, _MuiFloat3*, float, float) { return 0; }
char MuiColourRegisterFloat3Variable(int, _MuiFloat3*) { return 0; }
void MuiColourUpdateFromFloatVar(int, char) {}
void MuiColourUpdateFloatVar(int) {}
void MuiColourGetFloat(int, float*, float*, float*) {}
void MuiColourGet(int, int*, int*, int*) {}
void MuiColourDraw(int) {}
char MuiColourHandleMousePress(int, int, int) { return 0; }
void MuiColourHandleDragging(int, int) {}
void MuiColourDraggingOver() {}
