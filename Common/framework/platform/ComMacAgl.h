// The OpenGL context on the window: pixel format, full-screen switch with display fades,
// teardown and buffer swap.
#ifndef COM_MAC_AGL_H
#define COM_MAC_AGL_H

#include <cstdint>

// The display's gamma ramp saved before a full-screen fade.
struct _FadeSettings {
  int display_id;
  float red_min, red_max, red_gamma;
  float green_min, green_max, green_gamma;
  float blue_min, blue_max, blue_gamma;
  uint16_t ramp[3][256];
  char ramp_valid; // 0 when the server refuses gamma ramps: fades are skipped
};

extern void* cm_agl_context;          // the SDL_GLContext
extern _FadeSettings cm_fade_settings;

char ComMacAglSetupContext(char anti_aliasing);
void ComMacAglDeleteContext();
void ComMacAglSwapBuffers();
void ComWinSwapBuffers();
void FadeDisplayToBlack(_FadeSettings* fade);
void FadeDisplayFromBlack(_FadeSettings* fade);
// The sample count asked for an anti-aliasing setting: 0, 2 or 4.
int ComMacAglSamplesFor(char anti_aliasing);

#endif
