// The area box (type 17): its operations exist with fixed answers and do nothing yet.
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
void MuiAreaGetValuesPointer(int, _MuiArea** values) {
  if (values) *values = nullptr;
}
int MuiAreaGetDraggedPoint(int) { return -1; }
float MuiAreaCalcValueAtXPos(int, float, char) { return 0; }
