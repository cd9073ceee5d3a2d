// The main display's modes read through SDL into the graphics' mode table (ComGlMiscModes), and
// the full-screen mode corrected to one the display really offers.
#ifndef COM_MAC_MODES_H
#define COM_MAC_MODES_H

#include "ComGlMiscModes.h"

char ComGlMiscGetResolutionModes(char deep_only);
// Reads one SDL_DisplayMode; a null output pointer skips its value.
void ComGlResModesMacGetModeDetails(const void* mode, int* width, int* height,
                                    int* bits_per_pixel, int* refresh_rate);
void ComGlResModesEnsureCurrentResModeOk(char unused);

#endif
