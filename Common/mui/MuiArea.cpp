// The area box type: present so that the layer can route an area box's creation, press, drag,
// drawing and size changes somewhere; every operation does nothing or answers a fixed value.
#include "MuiArea.h"

void MuiAreaReset(int) {}
void MuiAreaSetup(int, int, char, char, char, char, char) {}
void MuiAreaEnablePoint(int, int, char) {}
void MuiAreaValuesChanged(int) {}
void MuiAreaSetPointPos(int, int, float, float, char) {}
void MuiAreaSetPrefPos(int, float, char) {}
void MuiAreaRegisterAreaVariable(int, _MuiArea*) {}
void MuiAreaUpdateFromRegisteredVariable(int) {}
void MuiAreaDraw(int) {}
void MuiAreaHandleMousePress(int, int, int) {}
void MuiAreaHandleDragging(int, int, int) {}
void MuiAreaSwitchDragging(int, int, int) {}

void MuiAreaGetPointPos(int, int, float* x, float* y) {
  if (x) *x = 0.0f;
  if (y) *y = 0.0f;
}

void MuiAreaGetValuesPointer(int, _MuiArea** out) {
  if (out) *out = nullptr;
}

int MuiAreaGetDraggedPoint(int) { return -1; }
float MuiAreaCalcValueAtXPos(int, float, char) { return 0.0f; }
