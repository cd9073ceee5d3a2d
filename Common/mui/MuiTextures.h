// The button texture table: 100 named slots (0 to 25 the standard textures), each with up to four
// state images, loaded at menu start and drawn stretched or nine-sliced.
#ifndef MUI_TEXTURES_H
#define MUI_TEXTURES_H

struct _ComGlDxTexture;

#define MUI_MAX_TEXTURES 100
#define MUI_NUM_STD_TEXTURES 26

enum _MuiAlphaTexturesType { MUI_ALPHA_NONE = 0, MUI_ALPHA_TYPE_3 = 1, MUI_ALPHA_TYPE_2 = 2 };

void MuiTexturesSetLoadCB(void (*callback)());
void MuiTexturesSetOverwriteTextureCB(char (*callback)(const char* name, char state,
                                                       _ComGlDxTexture** texture, char* segmented));
void MuiTexturesSetPostLoadButtonsCB(void (*callback)());
void MuiTexturesPre3dInit();
char MuiTexturesInit();
void MuiTexturesExit();
char MuiTexturesAddButton(int id, const char* name, const char* file, char state, char standard,
                          int width, int height);
char MuiTexturesGetButtonTexturePointer(const char* name, char state, _ComGlDxTexture** texture,
                                        char* segmented);
char MuiTextureGetStandardTexturePointer(int id, char state, _ComGlDxTexture** texture,
                                         char* segmented);
const char* MuiTexturesGetTextureName(int id, char* is_standard);
int MuiTexturesGetTextureNumFromName(const char* name);
_ComGlDxTexture* MuiTexturesGetTextureFromNum(int id, char state);
char MuiTexturesDrawButtonTexture(int id, char state, int x, int y, int w, int h);
void MuiTexturesDrawTexture(_ComGlDxTexture* texture, int x, int y, int w, int h, char segmented);
void MuiTexturesLoadUsingBmpFormat(char on);
void MuiTexturesSetupSegmentedDrawing(char on, int corner, float fraction);
void MuiTexturesSetButtonUsesSegmentedDrawingMethod(int id, char on);

#endif
