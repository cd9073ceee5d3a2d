// The older bitmap-font interface: kept as empty entry points (text goes through ComFreeType).
#include "ComGlFont.h"

#include <GL/gl.h>

void ComGlFontPre3dInit() {}
void ComGlFontExit() {}
char ComGlFontSetTexture(int) { return 0; }
char ComGlFontCreate(const char*, int) { return 0; }
char ComGlFontCompleteCreate(int) { return 0; }
char ComGlFontIsCreated(int) { return 0; }
int ComGlFontGetCurrent() { return 0; }
void ComGlFontSetCurrent(int) {}
void ComGlFontSetScale(float, float) {}
void ComGlFontGetScale(float*, float*) {}
void ComGlFontGetOriginalSizes(int*, int*) {}
void ComGlFontGetSizes(float*, float*) {}
void ComGlFontGetTextSize(const char*, float*, float*) {}
void ComGlFontRelease(int) {}
void ComGlFontDrawText(int, int, const char*) {}
void ComGlFontDrawTextSideways(int, int, const char*) {}
void ComGlFontDrawTextFloat(float, float, const char*) {}
void ComGlFontDrawTextSidewaysFloat(float, float, const char*) {}
void ComGlFontDrawTextNoRatio(int, int, const char*) {}
void ComGlFontDrawTextNoRatioFloat(float, float, const char*) {}
void ComGlFontDraw(int, int, char) {}
void ComGlFontDrawSideways(int, int, char) {}
void ComGlFontDrawTextPure(float, float, const char*) {}
void ComGlFontDrawTextPureNoSetTex(float, float, const char*) {}
void ComGlFontWindowResized() {}
void ComGlFontSetupForStandardDrawing() {}
void ComGlFontSetupForStandardDrawingSideways() {}
void ComGlFontSetupForStandardDrawingNoMatrices() {}
void ComGlFontRestoreAfterStandardDrawing() {}
void ComGlFontRestoreAfterStandardDrawingNoMatrices() {}
void ComGlFontSetColour(float r, float g, float b) { glColor3f(r, g, b); }
void ComGlFontRestoreColour(float, float, float) { glColor3f(1, 1, 1); }
