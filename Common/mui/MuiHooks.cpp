// The script, pie and graph box types (7, 15 and 16): the layer routes their creation, input and
// drawing here; they do nothing yet.
#include "MuiHooks.h"

void MuiScriptReset(int) {}
void MuiScriptReload(int) {}
void MuiScriptSetTextPointer(int, const char*) {}
void MuiScriptSetTextColoursFloat(int, float, float, float) {}
void MuiScriptSetHeaderColoursFloat(int, float, float, float, float, float, float) {}
void MuiScriptDraw(int, char, char) {}
char MuiScriptHandleMousePress(int, int, int) { return 0; }
char MuiScriptHandleMouseWheel(int, int) { return 0; }
void MuiScriptHandleDragging(int, int) {}
char MuiScriptHandleKeyPress(int, char) { return 0; }
void MuiPiePre3dInit() {}
void MuiPieLoadTextures() {}
void MuiPieReleaseTextures() {}
void MuiPieReset(int) {}
void MuiPieSetColours(int, float, float, float, float, float, float, float, float, float) {}
void MuiPieSetValuesFloat(int, float, float) {}
void MuiPieRegisterFloatVariable(int, float*, float) {}
void MuiPieUpdateFromRegisteredVariable(int, char) {}
void MuiPieUpdatePositions(int) {}
void MuiPieDraw(int) {}
void MuiGraphPre3dInit() {}
void MuiGraphLoadTextures() {}
void MuiGraphReleaseTextures() {}
void MuiGraphReset(int) {}
void MuiGraphSetStyle(int, char, char, char, float, float, float, float, float) {}
void MuiGraphSetColours(int, float, float, float, float, float, float, float, float, float) {}
void MuiGraphSetTexts(int, const char*, const char*, const char*, const char*) {}
void MuiGraphSetMarkValue(int, int, float) {}
void MuiGraphUpdatePositions(int) {}
void MuiGraphDraw(int) {}
