// Read-back and font helpers for the menu drawing tests under Xvfb.
#ifndef SUPPORT_MUI_GL_READ_H
#define SUPPORT_MUI_GL_READ_H

struct _ComFreeTypeFont;

// Lit pixels (any channel above 40) in columns [x0, x1) and rows [y0, y1) counted from the top
// of the 640 x 480 test window.
int MuiGlLit(int x0, int y0, int x1, int y1);
// Creates the menu font from the resource folder into `font`; 1 on success.
char MuiGlCreateMenuFont(_ComFreeTypeFont* font);

#endif
