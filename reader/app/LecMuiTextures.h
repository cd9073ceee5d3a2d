// The reader's button textures for the menu layer: the standard widget pictures, the named
// buttons with their four states, the masks that round the large buttons, and the names that
// share the main button's pictures.
#ifndef LECMUITEXTURES_H
#define LECMUITEXTURES_H

struct _ComGlDxTexture;

extern int cur_id;  // the next free texture id while the named buttons are registered

// Registers the load and overwrite hooks with the menu layer (before any GL context exists).
void LecMuiTexturesPre3dInit();
// The load hook: every texture from the resource folder.
void LecLoadMuiButtons(char);
void LecLoadStandardMuiButtons();
void LecLoadNormalMuiButtons();
// Answers "bmp_go", "bmp_high" and "bmp_option" with the main button's pictures and "bmp_none"
// with no picture (1); every other name is left to the menu layer (2).
char LecOverwriteButtonTextureCB(const char* name, char state, _ComGlDxTexture** texture, char* result);
// The post-load hook: copies the masks into the buttons' alpha channels. Needs a GL context.
void LecUpdateMuiButtonAlphaChannels();

#endif
