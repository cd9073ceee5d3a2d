// Text 3D model store: set-up, clean-up and the specular-highlight switch. The reader loads no
// models, so the store itself has nothing to zero or release yet.
#include "ComGlXfile.h"

#include <GL/gl.h>
#include <GL/glext.h>

char glxf_spec_highlights_over_textures = 0;

void ComGlXfileInit() {}

void ComGlXfileExit() {}

void ComGlXfileDrawSpecularHighlightsOnTopOfTexture(char on) {
  // A value with its top bit set keeps the stored switch: the default state re-sends it into
  // every new context this way.
  if (!((unsigned char)on & 0x80)) glxf_spec_highlights_over_textures = on ? 1 : 0;
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                glxf_spec_highlights_over_textures ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
}
