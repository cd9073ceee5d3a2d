// The reader's fonts: the menu font made from the resource font "default.ttf" with a soft glow
// (also the book font's fallback), and the storage of both fonts and of the layout settings that
// the book font is made with.
#include "LecFont.h"

#include <cstdint>
#include <cstring>

#include "ComDebug.h"
#include "ComFreeType.h"
#include "Mui.h"

namespace {

_ComFreeTypeFont lf_mui_font;
_ComFreeTypeFont lf_book_font;

// The sixteen words of the creation effects, in their order: margin, shadow offsets, shadow
// factors, blur passes, gradient depth and its eight factors.
union EffectWord {
  int32_t i;
  float f;
};
static_assert(sizeof(_ComFreeTypeCreationEffects) == 16 * sizeof(EffectWord),
              "the creation effects are sixteen 32-bit words");

void SetMenuFontEffects() {
  EffectWord w[16];
  w[0].i = 2;           // margin
  w[1].i = 0;           // shadow offset right
  w[2].i = 0;           // shadow offset down
  w[3].f = 0.532468f;   // shadow luminance factor
  w[4].f = 0.532468f;   // shadow alpha factor
  w[5].i = 3;           // blur passes over luminance
  w[6].i = 3;           // blur passes over alpha
  w[7].i = 0;           // gradient depth
  w[8].f = 1.0f;
  w[9].f = 1.0f;
  w[10].f = 1.0f;
  w[11].f = 1.0f;
  w[12].f = 1.0f;
  w[13].f = 0.0f;
  w[14].f = 0.155844f;
  w[15].f = 0.5f;
  _ComFreeTypeCreationEffects effects;
  memcpy(&effects, w, sizeof(effects));
  ComFreeTypeSetCreationEffects(&effects);
}

}  // namespace

_ComFreeTypeFont* mui_font = &lf_mui_font;
_ComFreeTypeFont* book_font = &lf_book_font;

float text_size_mult = 1.5f;
float font_orig_scale_x = 1.0f;
float font_orig_scale_y = 1.2f;
float line_orig_ygap = 36;
char mc_font_name[256];

char LecFontMainCreate(_ComFreeTypeFont* font, char set_for_menus) {
  if (!font) return 0;
  SetMenuFontEffects();
  char ok = ComFreeTypeCreate("default.ttf", 144, 64, 256, 0.090205f, 0.07541f, 1.065574f, 0, 0, 0, 0,
                              0, 1, font);
  // Effects persist between creations: the next font starts plain.
  ComFreeTypeSetCreationEffects(nullptr);
  if (!ok) {
    DebugError("LecFontMainCreate", "ComFreeTypeCreate failed");
    return 0;
  }
  if (set_for_menus) MuiSetFreeTypeFont(font);
  return 1;
}

void LecFontMainDestroy(_ComFreeTypeFont* font, char was_menu_font) {
  // The menu layer lets go of its font before the font goes.
  if (was_menu_font) MuiSetFreeTypeFont(nullptr);
  if (font && font->setup) ComFreeTypeRelease(font);
}
