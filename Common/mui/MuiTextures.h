// Button textures: a table of 100 named slots, each with up to four state images (normal,
// pressed, highlighted, disabled), registered by the application when the menus start and
// released when they stop. Slots 0 to 25 are the standard widget textures (arrows, thumb, list,
// check marks, bars, panel, colour bars); 26 to 99 are named button textures. A slot may be drawn
// stretched or cut in nine parts so that its corners keep their size.
#ifndef MUI_TEXTURES_H
#define MUI_TEXTURES_H

#include "ComGlTexture.h"

#define MUI_MAX_TEXTURES 100
#define MUI_NUM_STD_TEXTURES 26   // slot ids 0 .. 25
#define MUI_TEXTURE_NAME_LEN 64   // a name holds at most 63 characters

// Standard slot ids.
enum {
  MUI_STD_LEFT_ARROW = 0,
  MUI_STD_RIGHT_ARROW = 1,
  MUI_STD_SB_THUMB = 2,
  MUI_STD_LIST_BUTTON = 3,
  MUI_STD_LIST_BACK_TOP = 4,
  MUI_STD_LIST_BACK_MAIN = 5,
  MUI_STD_LIST_BACK_BOTTOM = 6,
  MUI_STD_LIST_SEL = 7,
  MUI_STD_LIST_SCROLL_UP = 8,
  MUI_STD_LIST_SCROLL_DOWN = 9,
  MUI_STD_CHECK_ON = 10,
  MUI_STD_CHECK_OFF = 11,
  MUI_STD_CHECK_ON_DISABLED = 12,
  MUI_STD_CHECK_OFF_DISABLED = 13,
  MUI_STD_BAR1 = 14,
  MUI_STD_BAR2 = 15,
  MUI_STD_BAR3 = 16,
  MUI_STD_PANEL_BACK = 17,
  MUI_STD_PANEL_BAR = 18,
  MUI_STD_COLOUR_RED = 20,
  MUI_STD_COLOUR_GREEN = 21,
  MUI_STD_COLOUR_BLUE = 22,
  MUI_STD_COLOUR_RED_INACTIVE = 23,
  MUI_STD_COLOUR_GREEN_INACTIVE = 24,
  MUI_STD_COLOUR_BLUE_INACTIVE = 25
};

// Texture states.
enum { MUI_TEX_NORMAL = 0, MUI_TEX_PRESSED = 1, MUI_TEX_HIGHLIGHTED = 2, MUI_TEX_DISABLED = 3 };

// Status of one state of a slot.
enum { MUI_TEX_NOT_SET = 0, MUI_TEX_LOADED = 1, MUI_TEX_NO_FILE = 255 };

// How button images get their alpha channel when loaded.
// 1: 32 bits forced, alpha type 3; 2: 32 bits forced, alpha type 2 (masks copied in afterwards).
enum _MuiAlphaTexturesType { MUI_ALPHA_NONE = 0, MUI_ALPHA_TYPE_3 = 1, MUI_ALPHA_TYPE_2 = 2 };

struct _MuiTexture {
  _ComGlDxTexture tex[4];            // by state
  unsigned char status[4];           // MUI_TEX_NOT_SET, MUI_TEX_LOADED, MUI_TEX_NO_FILE
  unsigned char one_file;            // 1: state 0 serves every state
  char name[MUI_TEXTURE_NAME_LEN];
  unsigned char segmented;           // 1: drawn in nine parts
  unsigned char loaded;              // 1 once a state of the slot was loaded
};

extern _MuiTexture mui_texture[MUI_MAX_TEXTURES];
extern int mui_tex_std_widths[MUI_NUM_STD_TEXTURES];
extern int mui_tex_std_heights[MUI_NUM_STD_TEXTURES];
extern unsigned char mt_segmented_drawing_on;      // given to the slots added from now on
extern int mt_segmented_drawing_corner_size;       // corner size e, virtual-screen units
extern float mt_tc1, mt_tc2;                       // texture fraction t of a corner, and 1 - t
extern unsigned char mui_textures_load_bmp_format; // 1 BMP files, 0 TGA
extern char mt_init_ok;                            // -1 not pre-initialised, 0 ready, 1 loaded

// Application hooks.
typedef void (*MuiTexturesLoadCB)(char);
typedef char (*MuiTexturesOverwriteCB)(const char* name, char state, _ComGlDxTexture** texture,
                                       char* segmented);
typedef void (*MuiTexturesPostLoadCB)();
void MuiTexturesSetLoadCB(MuiTexturesLoadCB cb);
// The overwrite hook is asked first by every lookup by name: 2 means "not handled".
void MuiTexturesSetOverwriteTextureCB(MuiTexturesOverwriteCB cb);
void MuiTexturesSetPostLoadButtonsCB(MuiTexturesPostLoadCB cb);

void MuiTexturesPre3dInit();
char MuiTexturesInit();  // 1 when the textures were loaded
void MuiTexturesExit();

// state: 0 .. 3, or with bit 7 set (e.g. -1) one image for every state. file null: the state is
// known but draws nothing. Answers 1 when the state was added.
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
// Draws a texture over (x, y, w, h), stretched or in nine parts. 1 when something was drawn.
char MuiTexturesDrawTexture(_ComGlDxTexture* texture, int x, int y, int w, int h, char segmented);

void MuiTexturesLoadUsingBmpFormat(char on);
void MuiTexturesSetupSegmentedDrawing(char on, int corner, float fraction);
void MuiTexturesSetButtonUsesSegmentedDrawingMethod(int id, char on);

#endif
