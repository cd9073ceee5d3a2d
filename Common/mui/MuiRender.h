// Drawing of the menu layer once a frame: every shown box by its type, the open list, and the
// popup over the darkened screen.
#ifndef MUI_RENDER_H
#define MUI_RENDER_H

struct _ComGlDxTexture;

extern _ComGlDxTexture* mui_render_bg_tex;

void MuiRender();
void MuiRenderAlwaysOnTop();
void MuiRenderDrawButton(int id);
void MuiRenderSetBackgroundTexture(_ComGlDxTexture* texture);

#endif
