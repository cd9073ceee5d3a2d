// The script, pie and graph box types (7, 15 and 16): the layer routes their creation, input and
// drawing here; they do nothing yet.
#ifndef MUI_HOOKS_H
#define MUI_HOOKS_H

void MuiScriptReset(int id);
void MuiScriptReload(int id);
void MuiScriptSetTextPointer(int id, const char* text);
void MuiScriptSetTextColoursFloat(int id, float r, float g, float b);
void MuiScriptSetHeaderColoursFloat(int id, float r0, float g0, float b0, float r1, float g1,
                                    float b1);
void MuiScriptDraw(int id, char backs, char texts);
char MuiScriptHandleMousePress(int id, int x, int y);
char MuiScriptHandleMouseWheel(int id, int delta);
void MuiScriptHandleDragging(int id, int y);
char MuiScriptHandleKeyPress(int id, char move);

void MuiPiePre3dInit();
void MuiPieLoadTextures();
void MuiPieReleaseTextures();
void MuiPieReset(int id);
void MuiPieSetColours(int id, float r0, float g0, float b0, float r1, float g1, float b1, float r2,
                      float g2, float b2);
void MuiPieSetValuesFloat(int id, float value, float max);
void MuiPieRegisterFloatVariable(int id, float* variable, float mult);
void MuiPieUpdateFromRegisteredVariable(int id, char notify);
void MuiPieUpdatePositions(int id);
void MuiPieDraw(int id);

void MuiGraphPre3dInit();
void MuiGraphLoadTextures();
void MuiGraphReleaseTextures();
void MuiGraphReset(int id);
void MuiGraphSetStyle(int id, char a, char b, char c, float f0, float f1, float f2, float f3,
                      float f4);
void MuiGraphSetColours(int id, float r0, float g0, float b0, float r1, float g1, float b1,
                        float r2, float g2, float b2);
void MuiGraphSetTexts(int id, const char* t0, const char* t1, const char* t2, const char* t3);
void MuiGraphSetMarkValue(int id, int mark, float value);
void MuiGraphUpdatePositions(int id);
void MuiGraphDraw(int id);

#endif
