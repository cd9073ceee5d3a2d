// The area box (type 17): its operations exist with fixed answers and do nothing yet.
#ifndef MUI_AREA_H
#define MUI_AREA_H

#include "MuiBox.h"

void MuiAreaReset(int id);
void MuiAreaSetup(int id, int num, char a, char b, char c, char d, char e);
void MuiAreaEnablePoint(int id, int point, char on);
void MuiAreaValuesChanged(int id);
void MuiAreaSetPointPos(int id, int point, float x, float y, char notify);
void MuiAreaSetPrefPos(int id, float pos, char notify);
void MuiAreaRegisterAreaVariable(int id, _MuiArea* variable);
void MuiAreaUpdateFromRegisteredVariable(int id);
void MuiAreaDraw(int id);
void MuiAreaHandleMousePress(int id, int x, int y);
void MuiAreaHandleDragging(int id, int x, int y);
void MuiAreaSwitchDragging(int id, int x, int y);
void MuiAreaGetPointPos(int id, int point, float* x, float* y);
void MuiAreaGetValuesPointer(int id, _MuiArea** values);
int MuiAreaGetDraggedPoint(int id);
float MuiAreaCalcValueAtXPos(int id, float x, char clamp);

#endif
