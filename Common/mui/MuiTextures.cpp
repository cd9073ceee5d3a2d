// The button texture table: 100 named slots (0 to 25 the standard textures), each with up to four
// state images, loaded at menu start and drawn stretched or nine-sliced.
#include "MuiTextures.h"

void MuiTexturesSetLoadCB(void (*)()) {}
void MuiTexturesSetOverwriteTextureCB(char (*)(const char* name, char state, _ComGlDxTexture** texture, char* segmented)) {}
void MuiTexturesSetPostLoadButtonsCB(void (*)()) {}
void MuiTexturesPre3dInit() {}
char MuiTexturesInit() { return 0; }
void MuiTexturesExit() {}
char MuiTexturesAddButton(int, const char*, const char*, char, char, int, int) { return 0; }
char MuiTexturesGetButtonTexturePointer(const char*, char, _ComGlDxTexture**, char*) { return 0; }
char MuiTextureGetStandardTexturePointer(int, char, _ComGlDxTexture**, char*) { return 0; }
const char* MuiTexturesGetTextureName(int, char*) { return nullptr; }
int MuiTexturesGetTextureNumFromName(const char*) { return 0; }
_ComGlDxTexture* MuiTexturesGetTextureFromNum(int, char) { return nullptr; }
char MuiTexturesDrawButtonTexture(int, char, int, int, int, int) { return 0; }
void MuiTexturesDrawTexture(_ComGlDxTexture*, int, int, int, int, char) {}
void MuiTexturesLoadUsingBmpFormat(char) {}
void MuiTexturesSetupSegmentedDrawing(char, int, float) {}
void MuiTexturesSetButtonUsesSegmentedDrawingMethod(int, char) {}
