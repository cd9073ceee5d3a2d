// Per-box bitmaps: the box's four state textures from the texture table, and the standard textures
// (arrows, thumbs, check marks...) placed on it, with the blending rules for drawing them.
#include "MuiBitmap.h"

unsigned char mb_allow_blending = 1;
_MuiAlphaTexturesType mui_using_alpha_texs{};
int mui_button_blend_type = -1;
int mui_std_button_blend_type = 1;

void MuiSetBitmap(int, const char*) {}
void MuiBitmapReset(int) {}
void MuiBitmapRemoveAllBitmaps() {}
void MuiBitmapExit() {}
void MuiBitmapPre3dInit() {}
void MuiIncludeStandardBitmap(int, int, int, int) {}
void MuiBitmapCalcNumStandards(int) {}
void MuiBitmapSetArrows(int, char, char) {}
void MuiBitmapSetCheckbox(int, char) {}
void MuiBitmapUpdateStandardButtons() {}
void MuiBitmapUpdateStandardArrows(int) {}
void MuiBitmapDrawButton(int) {}
void MuiBitmapDrawStandardTextures(int) {}
void MuiBitmapPlaceOnBitmapsSurface(int, int, int, char) {}
void MuiBitmapPlaceOnBitmapsSurfaceWH(int, int, int, int, int, char) {}
void MuiBitmapDrawStandardButton(int, int, int, int, int, char) {}
void MuiBitmapAllowBlending(char) {}
void MuiBitmapSetupBlending(_MouseBox*) {}
void MuiBitmapTurnOffBlending(_MouseBox*) {}
void MuiBitmapSetupBlendingForStandardButtons() {}
void MuiBitmapTurnOffBlendingForStandardButtons() {}
