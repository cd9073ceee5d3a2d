// Drawing of the menu layer once a frame: every shown box by its type, the open list, and the
// popup over the darkened screen.
#include "MuiRender.h"

_ComGlDxTexture* mui_render_bg_tex{};

void MuiRender() {}
void MuiRenderAlwaysOnTop() {}
void MuiRenderDrawButton(int) {}
void MuiRenderSetBackgroundTexture(_ComGlDxTexture*) {}
