// The older bitmap-font interface of the framework. Text is drawn with the glyph fonts
// (ComFreeType); these entry points stay for the callers of the framework and do nothing, except
// the two colour calls.
#ifndef COM_GL_FONT_H
#define COM_GL_FONT_H

void ComGlFontPre3dInit();
void ComGlFontExit();
char ComGlFontSetTexture(int texture);
char ComGlFontCreate(const char* path, int font);
char ComGlFontCompleteCreate(int font);
char ComGlFontIsCreated(int font);
int ComGlFontGetCurrent();
void ComGlFontSetCurrent(int font);
void ComGlFontSetScale(float x, float y);
void ComGlFontGetScale(float* x, float* y);
void ComGlFontGetOriginalSizes(int* width, int* height);
void ComGlFontGetSizes(float* width, float* height);
void ComGlFontGetTextSize(const char* s, float* width, float* height);
void ComGlFontRelease(int font);
void ComGlFontDrawText(int x, int y, const char* s);
void ComGlFontDrawTextSideways(int x, int y, const char* s);
void ComGlFontDrawTextFloat(float x, float y, const char* s);
void ComGlFontDrawTextSidewaysFloat(float x, float y, const char* s);
void ComGlFontDrawTextNoRatio(int x, int y, const char* s);
void ComGlFontDrawTextNoRatioFloat(float x, float y, const char* s);
void ComGlFontDraw(int x, int y, char c);
void ComGlFontDrawSideways(int x, int y, char c);
void ComGlFontDrawTextPure(float x, float y, const char* s);
void ComGlFontDrawTextPureNoSetTex(float x, float y, const char* s);
void ComGlFontWindowResized();
void ComGlFontSetupForStandardDrawing();
void ComGlFontSetupForStandardDrawingSideways();
void ComGlFontSetupForStandardDrawingNoMatrices();
void ComGlFontRestoreAfterStandardDrawing();
void ComGlFontRestoreAfterStandardDrawingNoMatrices();
void ComGlFontSetColour(float r, float g, float b);        // glColor3f(r, g, b)
void ComGlFontRestoreColour(float r, float g, float b);    // glColor3f(1, 1, 1)

#endif
