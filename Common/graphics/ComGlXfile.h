// Text 3D model store: the set-up, clean-up and specular-highlight switch that the window
// shell and the default graphic state call.
#ifndef COM_GL_XFILE_H
#define COM_GL_XFILE_H

extern char glxf_spec_highlights_over_textures;

void ComGlXfileInit();
void ComGlXfileExit();
// A value with its top bit set (such as -1) keeps the stored switch and re-sends it.
void ComGlXfileDrawSpecularHighlightsOnTopOfTexture(char on);

#endif
