// The reading view's layout numbers and its frame: visible display lines, dividers, margin lines,
// the progress bar, the battery gauge, the message and progress boxes and the "Menu" button.
//
// Two rotations are in play. Text is set in the page's own space (480 x 640 when turned) under
// the page rotation of the application (GameUpdateForPageRotation). The pieces of "Misc.tga" are
// drawn in the virtual 640 x 480 screen turned as a whole onto the window, which is why the bar
// and gauge sizes are corrected by the window's aspect in the turned rotations.
#include "MainRender.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "ComMisc.h"
#include "Config.h"
#include "Game.h"
#include "MainGeometry.h"
#include "MainLoad.h"
#include "MainTick.h"
#include "Paper.h"

float font_scale_x = 1, font_scale_y = 1;
float line_ygap = 20;
float line_ygap2 = 10;
float empty_line_ygap = 10;
float top_margin = 10, bottom_margin = 470;
float side_margin = 32;
int lines_per_page = 23;
double page_height = 480;
float ylimit1, ylimit2 = 480;
int bar_height;
double scrolling_center_y_adjust;
unsigned int first_line_rendered, last_line_rendered;
float battery_perc = 1;
int show_battery;
char menu_on;
float menu_blend;
char m_rotating_screen;
_MainButton menu_buttons[1] = {{"Menu", 591, 2, 48, 20, 0, MainMenuOptionsCB}};

namespace {

char Rotated() { return MainGetRotation(config.rotation).turned; }
float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
int SafeWidth() { return WIDTH > 0 ? WIDTH : 1; }
int SafeHeight() { return HEIGHT > 0 ? HEIGHT : 1; }
char BarAlwaysOn() { return config.bar_mode == 2 || config.bar_mode == 3; }
char BarAtTop() { return config.bar_mode == 1 || config.bar_mode == 3; }

// ---- Drawing of texture pieces: leave text drawing, turn the virtual screen, draw, come back.
char mr_tex_left_font;
int mr_tex_depth;

void TexBegin() {
  if (mr_tex_depth++ > 0) return;
  mr_tex_left_font = 0;
  if (ComFreeTypeIsReadyForDrawing()) {
    ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(1);
    mr_tex_left_font = 1;
  }
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  MainUpdateForPageRotationForDrawingTextures();
  ComGlMiscEnableBlendingType(0);
}

void TexEnd() {
  if (--mr_tex_depth > 0) return;
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  if (mr_tex_left_font) {
    ComFreeTypeSaveAndUnPrepareStateOrRestoreAndPrepareState(0);
    GameUpdateForPageRotation();
  }
  mr_tex_left_font = 0;
}

void DrawMiscPart(float x, float y, float w, float h, float tl, float tt, float tr, float tb, float r,
                  float g, float b, float a) {
  if (w <= 0 || h <= 0 || !misc_tex.created) return;
  ComGlTexturePositionFloatRatioed(&misc_tex, x, y, w, h);
  ComGlTextureDrawPartWithColour(&misc_tex, tl, tt, tr, tb, r, g, b, a);
}

// Prepares text drawing (virtual-screen mode) when it is not, under the page rotation.
void EnsureFontDrawing() {
  if (!ComFreeTypeIsReadyForDrawing()) {
    ComFreeTypePrepareForDrawing(1);
    GameUpdateForPageRotation();
  }
}

// Copies a piece of a line for drawing without its control bytes, which the font would show as
// placeholder boxes.
const char* Printable(const char* s, size_t len, std::vector<char>& scratch) {
  scratch.resize(len + 1);
  size_t n = 0;
  for (size_t i = 0; i < len; i++)
    if ((unsigned char)s[i] >= 32) scratch[n++] = s[i];
  scratch[n] = 0;
  return scratch.data();
}

// A bar of the text space (dividers, margin lines): the page's y and heights are turned into
// the virtual screen's, in which the bar pieces are drawn.
void TextSpaceBar(float y, float height, float alpha) {
  float s = Rotated() ? 480.0f / 640.0f : 1.0f;
  MainRenderProgressBar(0, y * s, height * s, 0, alpha);
}

void DrawLine(const _Line& line, float c) {
  if (line.empty || !line.text || !book_font) return;
  static std::vector<char> scratch;
  uint32_t len = line.length;
  if (line.blank_width == 0 || len > 2047) {
    ComFreeTypeDrawStringAlign(book_font, side_margin, c, 0, 1,
                               (char*)Printable(line.text, len, scratch), 0);
    return;
  }
  float x = side_margin;
  uint32_t start = 0;
  for (uint32_t i = 0; i <= len; i++) {
    if (i == len || line.text[i] == ' ') {
      if (i > start) {
        char* word = (char*)Printable(line.text + start, i - start, scratch);
        ComFreeTypeDrawStringAlign(book_font, x, c, 0, 1, word, 0);
        x += ComFreeTypeGetStringWidth(book_font, word);
      }
      if (i < len) x += line.blank_width;
      start = i + 1;
    }
  }
}

}  // namespace

void MainCalcBarHeight() {
  float h = config.bar_height;
  if (Rotated()) h = SafeHeight() * h / SafeWidth();
  // Held to the screen before the conversion: a NaN or a huge value must never reach (int).
  if (!(h > 0))
    bar_height = 0;
  else if (!(h < 480))
    bar_height = 480;
  else
    bar_height = (int)h;
}

float MainGetMenuButtonY() { return BarAtTop() ? (float)bar_height + 2 : 2; }

char MainGetTextViewport(int* x, int* y, int* w, int* h) {
  return MainGetTextViewportFor(config.rotation, BarAlwaysOn(), BarAtTop(), bar_height, x, y, w,
                                h);
}

_MainFontScales MainGetFontScales(int rotation) {
  const float s = text_size_mult;
  const float w = (float)SafeWidth(), h = (float)SafeHeight();
  _MainFontScales r;
  if (MainGetRotation(rotation).turned) {
    r.x = s * font_orig_scale_x * 480 / h;
    r.y = s * font_orig_scale_y * 640 / w;
    r.gap = s * font_orig_scale_y * line_orig_ygap * 640 / w;
  } else {
    r.x = s * font_orig_scale_x * 640 / w;
    r.y = s * font_orig_scale_y * 480 / h;
    r.gap = s * font_orig_scale_y * line_orig_ygap * 480 / h;
  }
  if (!(r.gap >= 0.1f)) r.gap = 0.1f;  // also a NaN
  return r;
}

void MainCalcFontScales() {
  const _MainFontScales f = MainGetFontScales(config.rotation);
  font_scale_x = f.x;
  font_scale_y = f.y;
  line_ygap = f.gap;
  line_ygap2 = line_ygap / 2;
  empty_line_ygap = line_ygap * config.paragraph_spacing;
  const float page_h = Rotated() ? 640.0f : 480.0f;
  top_margin = *MainTopMarginSetting() * page_h / 100;
  bottom_margin = page_h - top_margin;
}

void MainSetBackgroundColour() {
  float k = config.background_brightness;
  float r = Clamp01(config.background_colour[0] * k);
  float g = Clamp01(config.background_colour[1] * k);
  float b = Clamp01(config.background_colour[2] * k);
  ComGlMiscSetClearColour(r, g, b);
  PaperSetPaperColour(r, g, b);
}

void MainSetBackgroundAndFontColours() {
  MainSetBackgroundColour();
  if (!book_font) return;
  float c[3];
  for (int i = 0; i < 3; i++)
    c[i] = config.dark_on_bright ? 1 - config.text_colour[i] : config.text_colour[i];
  ComFreeTypeSetColour(book_font, c[0], c[1], c[2], config.text_brightness);
}

void MainUpdateAfterConfigChange() {
  MainSetBackgroundAndFontColours();
  MainCalcFontScales();
  if (book_font) ComFreeTypeSetScale(book_font, font_scale_x, font_scale_y);
  double h = Rotated() ? 640 : 480;
  lines_per_page = (int)(h / line_ygap);
  ylimit1 = (float)((h - lines_per_page * line_ygap) / 2);
  ylimit2 = (float)(h - ylimit1);
  page_height = h;
  MainCalcTotalBookHeight();
  cur_book_height = book_read_perc * total_book_height;
  MainSnapDrawLinePosIfNeeded();
  MainForgetPageTurns();
  MainUpdateAfterScrollingOrMuiChange();
}

void MainUpdateForPageRotationForDrawingTextures() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  float degrees = MainGetRotation(config.rotation).texture_degrees;
  if (degrees != 0) glRotatef(degrees, 0, 0, 1);
}

void MainTurnOnMenu(char set_blend) {
  menu_on = 1;
  if (set_blend) menu_blend = 1;
}

void MainTurnOffMenu(char set_blend) {
  menu_on = 0;
  if (set_blend) menu_blend = 0;
}

void MainDrawString(float x, float y, char* text) {
  if (!mui_font || !text) return;
  EnsureFontDrawing();
  if (Rotated()) {
    float sx = 1, sy = 1;
    ComFreeTypeGetScale(mui_font, &sx, &sy);
    ComFreeTypeSetScale(mui_font, SafeHeight() * sx / SafeWidth(), SafeWidth() * sy / SafeHeight());
    ComFreeTypeDrawStringAlign(mui_font, (x - 320) * 480 / 640 + 240, (y - 240) * 640 / 480 + 320,
                               1, 1, text, 0);
    ComFreeTypeSetScale(mui_font, sx, sy);
  } else {
    ComFreeTypeDrawStringAlign(mui_font, x, y, 1, 1, text, 0);
  }
}

void MainRenderProgressBar(float inset, float y_centre, float height, float fraction, float alpha) {
  fraction = Clamp01(fraction);
  float top = y_centre - height / 2;
  if (Rotated() && inset != 0) inset *= 640.0f / 480.0f;
  float w = 640 - 2 * inset;
  float filled = w * fraction;
  float k, u0, u1;
  if (config.dark_on_bright) {
    k = config.background_brightness;
    u0 = 0.135f;
    u1 = 0.24f;
  } else {
    k = config.text_brightness;
    u0 = 0.01f;
    u1 = 0.115f;
  }
  TexBegin();
  DrawMiscPart(inset, top, filled, height, u0, 0.25f, u1, 0.5f, k, k, k, alpha);
  DrawMiscPart(inset + filled, top, w - filled, height, u0, 0.0f, u1, 0.25f, k, k, k, alpha);
  TexEnd();
}

void MainRenderBoxBg(float x, float y, float width, float height, float cap_width, float alpha) {
  TexBegin();
  DrawMiscPart(x, y, cap_width, height, 0.26f, 0.02f, 0.365f, 0.248f, 1, 1, 1, alpha);
  DrawMiscPart(x + cap_width, y, width - 2 * cap_width, height, 0.365f, 0.02f, 0.385f, 0.248f, 1, 1, 1,
               alpha);
  DrawMiscPart(x + width - cap_width, y, cap_width, height, 0.385f, 0.02f, 0.49f, 0.248f, 1, 1, 1,
               alpha);
  TexEnd();
}

void MainFormatProgressPercent(float fraction, char* out, size_t size) {
  // The framework's one rounding rule: a half goes down, so 99.5 % is not shown as done.
  snprintf(out, size, "(%d %%)", (int)ComMiscRound(Clamp01(fraction) * 100));
}

char MainRenderBox(char which) {
  if (which == 1) {
    if (!m_render_box) return 0;
    float a = m_render_box_alpha > 1 ? 1 : m_render_box_alpha;
    if (a < 0) a = 0;
    MainRenderBoxBg(205, 227.5f, 230, 25, 15, a);
    if (mui_font) {
      float sx = 1, sy = 1;
      ComFreeTypeGetScale(mui_font, &sx, &sy);
      ComFreeTypeSetScale(mui_font, 0.8f, 1);
      ComFreeTypeSetColour(mui_font, 1, 1, 1, a);
      MainDrawString(320, 240, m_render_box_str);
      ComFreeTypeSetScale(mui_font, sx, sy);
      ComFreeTypeSetColour(mui_font, 1, 1, 1, 1);
    }
    return 1;
  }
  if (!draw_progress_string) return 0;
  MainRenderBoxBg(0, 180, 640, 120, 15, 1);
  if (mui_font) {
    ComFreeTypeSetColour(mui_font, 1, 1, 1, 1);
    MainDrawString(320, display_perc == -2 ? 240 : 210, display_str);
    if (display_perc >= 0) {
      char perc[32];
      MainFormatProgressPercent(display_perc, perc, sizeof(perc));
      MainDrawString(320, 240, perc);
    }
    if (display_perc != -2) MainDrawString(320, 270, (char*)"Press Escape to Cancel");
  }
  return 1;
}

void MainRenderText() {
  if (!formatted_line_list || num_formatted_lines <= 0) return;
  int vx, vy, vw, vh;
  char narrowed = MainGetTextViewport(&vx, &vy, &vw, &vh);
  if (narrowed) ComGlMiscSetViewportToSizeRatioed(vx, vy, vw, vh);
  char scrolling = config.scrolling;

  if (!scrolling && config.margin_lines >= 1 && config.margin_lines <= 3 && top_margin > 0) {
    float n = config.margin_lines;
    TextSpaceBar(top_margin - line_ygap2, 1.5f * n, 0.2f * n + 0.4f);
    TextSpaceBar(bottom_margin + line_ygap2, 1.5f * n, 0.2f * n + 0.4f);
  }

  // The lines and the centring come from the same rules the page turns use.
  _MainVisibleLines v =
      MainGetVisibleLines(formatted_line_list, num_formatted_lines, cur_book_height, scrolling);
  if (!scrolling) scrolling_center_y_adjust = v.centre_adjust;
  if (v.shown) {
    first_line_rendered = (unsigned)v.first;
    last_line_rendered = (unsigned)v.last;
  }

  EnsureFontDrawing();
  for (int i = v.first; i <= v.last; i++) {
    const _Line& l = formatted_line_list[i];
    double c = (l.y - cur_book_height) * line_ygap;
    if (!scrolling) c += MainGetFirstLineCentre();
    if (l.mark) {
      double dy = l.mark == 2 ? c : c - line_ygap2;
      if (dy >= top_margin + 1 && dy < bottom_margin - 1) TextSpaceBar((float)dy, 2, 1);
      EnsureFontDrawing();
    }
    DrawLine(l, (float)c);
  }
  if (narrowed) ComGlMiscSetViewportFullScreen();
}

namespace {

void RenderBattery() {
  float k, u0, u1;
  if (config.dark_on_bright) {
    k = config.background_brightness;
    u0 = 0.38f;
    u1 = 0.495f;
  } else {
    k = config.text_brightness;
    u0 = 0.255f;
    u1 = 0.37f;
  }
  float charge = Clamp01(battery_perc);
  float alpha = 1;
  if (charge >= 0.10f) {
    float t = Clamp01(config.battery_transparency);
    k = config.dark_on_bright ? 1 - (1 - k) * t : k * t;
    alpha = 0.9f * t + 0.1f;
  }
  float w, cap, body, x;
  float less = BarAlwaysOn() && !BarAtTop() ? (float)bar_height : 0;
  if (Rotated()) {
    float wh = (float)SafeWidth() / SafeHeight(), hw = (float)SafeHeight() / SafeWidth();
    w = 11 * wh;
    cap = 5 * hw;
    body = 30 * hw;
    x = 640 - w - 3 * wh;
  } else {
    w = 11;
    cap = 5;
    body = 30;
    x = 626;
  }
  float top = 480 - (body + cap) - cap - less;
  float empty_h = body * (1 - charge), full_h = body * charge;
  TexBegin();
  DrawMiscPart(x, top, w, cap, u0, 0.25f, u1, 0.27f, k, k, k, alpha);
  DrawMiscPart(x, top + cap, w, empty_h, u0, 0.27f, u1, full_h <= 1 ? 0.372f : 0.35f, k, k, k, alpha);
  DrawMiscPart(x, top + cap + empty_h, w, full_h, u0, 0.375f, u1, 0.5f, k, k, k, alpha);
  if (charge < 0.08f) {
    float total = cap + body;
    DrawMiscPart(x, top + total / 6, w, total * 0.75f, 0.5f, 0.25f, 0.625f, 0.5f, 1, 0, 0, 1);
  }
  TexEnd();
}

}  // namespace

void MainRender() {
  EnsureFontDrawing();
  if (draw_progress_string) {
    MainRenderBox(0);
    return;
  }
  if (m_rotating_screen) {
    MainRenderBox(1);
    return;
  }
  MainRenderText();
  if (num_formatted_lines > 0 && total_book_height > 0)
    book_read_perc = (float)(cur_book_height / total_book_height);
  if (bar_height > 0) {
    float y = BarAtTop() ? bar_height / 2.0f : 480 - bar_height / 2.0f;
    if (BarAlwaysOn())
      MainRenderProgressBar(0, y, (float)bar_height, book_read_perc, 1);
    else if (menu_blend > 0)
      MainRenderProgressBar(0, y, (float)bar_height, book_read_perc, menu_blend);
  }
  if (show_battery) RenderBattery();
  MainRenderBox(1);
  if (menu_blend > 0) {
    _MainButton& b = menu_buttons[0];
    b.y = MainGetMenuButtonY();
    float a = 0.7f * menu_blend + (b.hovered ? 0.2f : 0.0f);
    MainRenderBoxBg(b.x, b.y, 48, 22, 10, a);
    if (mui_font) {
      float sx = 1, sy = 1;
      ComFreeTypeGetScale(mui_font, &sx, &sy);
      ComFreeTypeSetScale(mui_font, 1, 1);
      ComFreeTypeSetColour(mui_font, 1, 1, 1, a);
      MainDrawString(b.x + 24, b.y + 10, b.name);
      ComFreeTypeSetScale(mui_font, sx, sy);
      ComFreeTypeSetColour(mui_font, 1, 1, 1, 1);
    }
  }
}
