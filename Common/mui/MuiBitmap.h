// Per-box bitmaps: each box's four state textures (looked up by name in the texture table) and
// the standard textures (arrows, thumb, check marks...) that its widget places on it every frame,
// with the blending they are drawn with.
#ifndef MUI_BITMAP_H
#define MUI_BITMAP_H

#include "MuiBox.h"
#include "MuiTextures.h"

struct _MuiBitmap {
  _ComGlDxTexture* tex[4];                       // normal, pressed, highlighted, disabled; null: none
  int32_t std_x[MUI_NUM_STD_TEXTURES];           // where each standard texture goes
  int32_t std_y[MUI_NUM_STD_TEXTURES];
  unsigned char std_include[MUI_NUM_STD_TEXTURES];  // 1: drawn at its position
  unsigned char any_standard;                    // 1 when an include byte is set
  unsigned char segmented;                       // copied from the slot when the bitmap is set
};

extern _MuiBitmap mui_bitmap[MUI_MAX_BOXES];
extern unsigned char mb_allow_blending;            // 1
extern _MuiAlphaTexturesType mui_using_alpha_texs; // 0
extern int mui_button_blend_type;                  // -1: no blending
extern int mui_std_button_blend_type;              // 1

// null name: the box has no texture.
void MuiSetBitmap(int id, const char* name);
void MuiBitmapReset(int id);
void MuiBitmapRemoveAllBitmaps();
void MuiBitmapExit();
void MuiBitmapPre3dInit();
void MuiIncludeStandardBitmap(int id, int standard_id, int x, int y);
void MuiBitmapCalcNumStandards(int id);
void MuiBitmapSetArrows(int id, char left, char right);
void MuiBitmapSetCheckbox(int id, char value);
void MuiBitmapUpdateStandardButtons();
void MuiBitmapUpdateStandardArrows(int id);
void MuiBitmapDrawButton(int id);
void MuiBitmapDrawStandardTextures(int id);
// state: 0 normal, 1 highlighted, 2 pressed, 3 disabled.
void MuiBitmapPlaceOnBitmapsSurface(int id, int x, int y, char state);
void MuiBitmapPlaceOnBitmapsSurfaceWH(int id, int x, int y, int w, int h, char state);
void MuiBitmapDrawStandardButton(int standard_id, int x, int y, int w, int h, char blend);
void MuiBitmapAllowBlending(char on);
void MuiBitmapSetupBlending(_MouseBox* box);
void MuiBitmapTurnOffBlending(_MouseBox* box);
void MuiBitmapSetupBlendingForStandardButtons();
void MuiBitmapTurnOffBlendingForStandardButtons();

#endif
