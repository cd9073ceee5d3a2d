// The reader's two fonts: the menu font made from the resource font "default.ttf" with a soft glow,
// and the book font, with the working copies of the settings that shape the book's text.
#ifndef LECFONT_H
#define LECFONT_H

struct _ComFreeTypeFont;

extern _ComFreeTypeFont* mui_font;
extern _ComFreeTypeFont* book_font;    // its first byte is its set-up flag

// Working copies of the size, width, height and line-spacing settings, and the font file.
extern float text_size_mult;
extern float font_orig_scale_x;
extern float font_orig_scale_y;
extern float line_orig_ygap;
extern char mc_font_name[256];

char LecFontMainCreate(_ComFreeTypeFont* font, char set_for_menus);
void LecFontMainDestroy(_ComFreeTypeFont* font, char was_menu_font);

#endif
