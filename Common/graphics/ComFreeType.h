// TrueType glyph fonts: a font file rendered once, code by code, into one small texture and one
// display list per character code, with creation effects (margin, drop shadow, blurs, an
// edge-distance gradient) applied to the glyph texels; then measuring and drawing text with it.
// Measuring needs only the font record (no OpenGL call), so layout code can measure anywhere.
#ifndef COM_FREE_TYPE_H
#define COM_FREE_TYPE_H

#include <stdint.h>

struct _ComGlDxTexture;

// Every font reserves this many display lists (one per byte value), whatever its letter count,
// so a byte at or above the letter count calls an empty list of its own font.
inline constexpr int CFT_MAX_LETTERS = 256;
inline constexpr int CFT_MIN_LETTERS = 128;
// Size assumed for the family and style buffers when ComFreeTypeGetFontFileDetails is called
// without sizes: names are cut to 127 bytes, which fits every caller's buffer (pass the real
// sizes to keep longer names).
inline constexpr int CFT_FONT_NAME_SIZE = 128;

// A font made from a TrueType file. The caller owns the record; a zeroed record is a font not
// created. The first byte is the set-up flag.
struct _ComFreeTypeFont {
  char setup;                 // 1 after a successful create
  float height;               // line height in drawing units: size x quad y scale
  unsigned int* texture_ids;  // owned (malloc), letter_count names, 0 for a failed glyph
  unsigned int list_base;     // list_base + code draws that code
  int letter_count;           // 128 .. 256
  float scale_x, scale_y;     // drawing scale (1.0 after create)
  char scaling_on;            // 0 after create
  float red, green, blue, alpha;  // drawing colour (1.0 each after create)
  char colour_on;             // 0 after create
  int texture_format;         // GL_RGBA
  float multiline_gap;        // 0: the line height is the step of multi-line text
  float advance[256];         // advance of each byte code in drawing units; index (unsigned char)c
};

// Sixteen 32-bit words that shape the glyph textures of every font created while they are set.
struct _ComFreeTypeCreationEffects {
  int32_t margin;               // texels left free on every side
  int32_t shadow_x;             // drop shadow offset to the right, texels
  int32_t shadow_y;             // drop shadow offset downwards, texels
  float shadow_lum_factor;
  float shadow_alpha_factor;
  int32_t lum_blur_passes;
  int32_t alpha_blur_passes;
  int32_t gradient_depth;       // texels; 0 = no gradient
  float grad_lum_deep, grad_lum_edge, grad_lum_middle, grad_lum_inner;
  float grad_alpha_deep, grad_alpha_edge, grad_alpha_middle, grad_alpha_inner;
};
static_assert(sizeof(_ComFreeTypeCreationEffects) == 64, "sixteen 32-bit words");

// Module state.
extern _ComFreeTypeCreationEffects cft_effects;  // the copy every create uses (zero at start)
extern char cft_ready_for_drawing;               // 1 between a prepare and its restore
extern char cft_using_ratio;                     // 0 window pixels, 1 virtual screen, 2 pure
extern char cft_prepared_2d;                     // the prepare entered 2D mode itself

// ---- Creation and release --------------------------------------------------------------------

// 1 on success, 0 on failure (logged). Needs a current OpenGL context.
char ComFreeTypeCreate(const char* path, int size, int max_texture_size, int letters,
                       float quad_scale_x, float quad_scale_y, float quad_offset_y,
                       float extra_height, float inset_left, float inset_right, float inset_top,
                       float inset_bottom, char counter_clockwise, _ComFreeTypeFont* font);
void ComFreeTypeRelease(_ComFreeTypeFont* font);
// Copies the sixteen words into cft_effects; null clears them.
void ComFreeTypeSetCreationEffects(_ComFreeTypeCreationEffects* effects);
// Family and style names of the file's first face (either output may be null), each cut to its
// buffer's size (NUL-terminated; a face without a name gives ""). 1, or 0 silently when the file
// is not a font FreeType opens.
char ComFreeTypeGetFontFileDetails(const char* path, char* family, char* style,
                                   int family_size = CFT_FONT_NAME_SIZE,
                                   int style_size = CFT_FONT_NAME_SIZE);
void ComFreeTypeUseTransparentFonts(char on);  // no effect

// The glyph texel work of creation, free of OpenGL and FreeType so it can be checked alone.
// Texture side of a glyph bitmap: both sides 2 for an unusable bitmap (empty, or a side outside
// 1..5000); else the closest power of two of each side, capped by max_texture_size (> 0), or
// fixed to it when the effects need room (margin, blurs, gradient).
void ComFreeTypeGetGlyphTextureSize(int bitmap_width, int bitmap_rows, int max_texture_size,
                                    const _ComFreeTypeCreationEffects* effects, int* tex_width,
                                    int* tex_height);
// Fills tex_width x tex_height texels of two bytes (luminance, alpha; row 0 the glyph's top)
// from a coverage bitmap (one byte per pixel, rows of bitmap_width bytes, row 0 the top; null or
// a side of 0 for a blank glyph), then runs the gradient, shadow and blurs of `effects` (null for
// none). Returns 1, or 0 when the arguments are unusable (texels untouched).
char ComFreeTypeBuildGlyphTexels(const unsigned char* bitmap, int bitmap_width, int bitmap_rows,
                                 int tex_width, int tex_height,
                                 const _ComFreeTypeCreationEffects* effects,
                                 unsigned char* texels);

// ---- Settings and measures (no OpenGL; null or unset font: nothing, or 0) --------------------

void ComFreeTypeSetScale(_ComFreeTypeFont* font, float x, float y);
void ComFreeTypeGetScale(_ComFreeTypeFont* font, float* x, float* y);
void ComFreeTypeSetColour(_ComFreeTypeFont* font, float r, float g, float b, float a);
void ComFreeTypeGetColour(_ComFreeTypeFont* font, float* r, float* g, float* b, float* a);
void ComFreeTypeSetMultilineYgap(_ComFreeTypeFont* font, float gap);
float ComFreeTypeGetCharWidth(_ComFreeTypeFont* font, char c);        // unscaled advance
float ComFreeTypeGetScaledCharWidth(_ComFreeTypeFont* font, char c);  // times scale x when on
float ComFreeTypeGetStringWidth(_ComFreeTypeFont* font, const char* s);
float ComFreeTypeGetFontHeight(_ComFreeTypeFont* font, char scaled);
char ComFreeTypeIsCharWhitespace(char c);  // space or tab

// ---- Drawing ---------------------------------------------------------------------------------

// mode 0 window pixels, 1 virtual 640 x 480 screen, 2 pure (the caller's matrices).
void ComFreeTypePrepareForDrawing(char mode);
void ComFreeTypePrepareForDrawingPure();
void ComFreeTypePrepareForDrawingIfNeeded(char mode, char* prepared_here);
void ComFreeTypeRestoreAfterDrawing();
char ComFreeTypeRestoreAfterDrawingIfNeeded();  // 1 when it restored
char ComFreeTypeIsReadyForDrawing();
void ComFreeTypeRestoreColour();
// 1 leaves text drawing (remembering it), 0 comes back to it. One level.
void ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(char save);

// (x, y) is the start of the baseline, y downwards from the top of the mode's space.
void ComFreeTypeDrawString(_ComFreeTypeFont* font, float x, float y, const char* s);
// h_align 0 left, 1 centre, 2 right; v_align 0 top, 1 middle, 2 baseline.
void ComFreeTypeDrawStringAlign(_ComFreeTypeFont* font, float x, float y, char h_align,
                                char v_align, const char* s, char prepare);
void ComFreeTypeDrawStringAlignInt(_ComFreeTypeFont* font, int x, int y, char h_align,
                                   char v_align, const char* s, char prepare);
// Word-wrapped text in a box whose top left is (x, y); with draw 0 it only measures (no OpenGL
// call). Every output may be null.
void ComFreeTypeDrawMultilineText(_ComFreeTypeFont* font, float x, float y, float box_width,
                                  float box_height, char h_align, char v_align, const char* s,
                                  char draw, int first_line, float* max_width, float* used_height,
                                  int* lines, char* reached_end);
char ComFreeTypeDrawToTexture(_ComFreeTypeFont* font, _ComGlDxTexture* texture, const char* s,
                              int x, int y, int w, int h, char clear);
char ComFreeTypeGetCharDrawingDimensions(_ComFreeTypeFont* font, int c, float* width,
                                         float* height, float* offset_y);

#endif
