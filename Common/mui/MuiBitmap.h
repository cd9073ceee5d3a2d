// Per-box bitmaps: the box's four state textures from the texture table, and the standard textures
// (arrows, thumbs, check marks...) placed on it, with the blending rules for drawing them.
#ifndef MUI_BITMAP_H
#define MUI_BITMAP_H

#include "MuiBox.h"
#include "MuiTextures.h"

extern unsigned char mb_allow_blending;
extern _MuiAlphaTexturesType mui_using_alpha_texs;
extern int mui_button_blend_type;      // -1: no blending
extern int mui_std_button_blend_type;

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
void MuiBitmapPlaceOnBitmapsSurface(int id, int x, int y, char state);
void MuiBitmapPlaceOnBitmapsSurfaceWH(int id, int x, int y, int w, int h, char state);
void MuiBitmapDrawStandardButton(int standard_id, int x, int y, int w, int h, char blend);
void MuiBitmapAllowBlending(char on);
void MuiBitmapSetupBlending(_MouseBox* box);
void MuiBitmapTurnOffBlending(_MouseBox* box);
void MuiBitmapSetupBlendingForStandardButtons();
void MuiBitmapTurnOffBlendingForStandardButtons();

#endif
