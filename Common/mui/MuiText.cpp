// Text of the menu layer: a box's one or two lines fitted to its text limits, word-wrapped
// blocks with a heading, measuring, and the font scale each box draws with.
//
// No text is drawn past its room: every line, of a one-line box, a wrapped block or a row of a
// list, goes through one fitting rule (MuiTextFitLine).
#include "MuiText.h"

#include <stdio.h>
#include <string.h>

#include <GL/gl.h>

#include "ComDebug.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComMacWin.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiChoice.h"
#include "MuiTextures.h"

char mui_text_type = 0;
_ComFreeTypeFont* mui_free_type_font = nullptr;
float mui_disabled_text_col[3] = {0.7f, 0.7f, 0.7f};
char muigl_wrapped_text[MUI_WRAP_LINES][MUI_TEXT_LEN];

static char mt_use_disabled_col = 0;
static char mt_prepared = 0;          // between MuiTextPrepareToDrawTexts and its restore
static char mt_prepared_font = 0;     // the prepare entered the font's drawing bracket itself
static char mt_scale_saved = 0;
static float mt_saved_scale_x = 1.0f, mt_saved_scale_y = 1.0f;

namespace {

enum { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

_ComFreeTypeFont* Font() {
  if (mui_text_type != 1 || !mui_free_type_font || !mui_free_type_font->setup) return nullptr;
  return mui_free_type_font;
}

bool IsMultiline(int draw_type) { return draw_type >= 1 && draw_type <= 4; }

// A box row that may be drawn: one of the table's boxes, or the choice's scratch row.
bool TextRowValid(int id) { return MuiIdValid(id) || id == MUI_SCRATCH_BOX; }

// Horizontal alignment of a line, and of the body of a multi-line box.
int LineAlign(int draw_type) {
  switch (draw_type) {
    case 3:
    case 4:
    case 6:
      return kAlignLeft;
    case 7:
      return kAlignRight;
    default:
      return kAlignCentre;
  }
}

int HeadingAlign(int draw_type) { return (draw_type == 1 || draw_type == 3) ? kAlignLeft : kAlignCentre; }

// The line height m: the font's own y scale times its size. Read from the record, because the
// font reports its unscaled height whenever scaling is off, also when a factor is 0.
float LineHeight(const _ComFreeTypeFont* font) { return font->scale_y * font->height; }

// One line between x1 and x2, centred vertically on y, fitted to that room. Nothing for crossed
// or empty limits or a scale of 0 or less: the font would draw those full size or mirrored.
void DrawLine(float x1, float x2, float y, float r, float g, float b, int align, const char* text, char prepare) {
  _ComFreeTypeFont* font = Font();
  if (!font || !text || !text[0] || x2 - x1 <= 0.0f) return;
  float sx = 0.0f, sy = 0.0f;
  ComFreeTypeGetScale(font, &sx, &sy);
  if (sx <= 0.0f || sy <= 0.0f) return;
  char cut[MUI_TEXT_LEN];
  float squeeze = 1.0f;
  const char* line = MuiTextFitLine(text, x2 - x1, cut, &squeeze);
  if (!line[0]) return;
  if (squeeze < 1.0f) ComFreeTypeSetScale(font, sx * squeeze, sy);
  const float x = align == kAlignLeft ? x1 : (align == kAlignRight ? x2 : (x1 + x2) / 2.0f);
  ComFreeTypeSetColour(font, r, g, b, 1.0f);
  ComFreeTypeDrawStringAlign(font, x, y, (char)align, 1, line, prepare);
  if (squeeze < 1.0f) ComFreeTypeSetScale(font, sx, sy);
}

// A word of closing marks only ("?", "!", ")", "..."): a line is never broken before it.
bool OnlyClosingMarks(const char* s, int n) {
  if (n <= 0) return false;
  for (int i = 0; i < n; i++)
    if (!strchr("?!.,;:)]}\"'", s[i])) return false;
  return true;
}

// Ends the line being filled; false when that would start a line past the buffer's last.
bool EndLine(int* line, int* len, float* widest) {
  char* cur = muigl_wrapped_text[*line];
  cur[*len] = 0;
  float w = ComFreeTypeGetStringWidth(mui_free_type_font, cur);
  if (w > *widest) *widest = w;
  if (*line + 1 >= MUI_WRAP_LINES) return false;
  (*line)++;
  *len = 0;
  muigl_wrapped_text[*line][0] = 0;
  return true;
}

// Cuts the line being filled at its last space and carries the rest over to the next line.
// 0: no space to cut at; 1: cut; -1: cut, but the next line would be past the buffer's last.
int CutAtLastSpace(int* line, int* len, float* widest) {
  char* cur = muigl_wrapped_text[*line];
  // The last space that does not leave a question's or a sentence's mark on a line of its own;
  // with none, the last space.
  int k = *len - 1;
  while (k >= 0 && (cur[k] != ' ' || OnlyClosingMarks(cur + k + 1, *len - k - 1))) k--;
  if (k < 0) {
    k = *len - 1;
    while (k >= 0 && cur[k] != ' ') k--;
  }
  if (k < 0) return 0;
  char rest[MUI_TEXT_LEN];
  int rest_len = *len - k - 1;
  memcpy(rest, cur + k + 1, (size_t)rest_len);
  *len = k;
  if (!EndLine(line, len, widest)) return -1;
  memcpy(muigl_wrapped_text[*line], rest, (size_t)rest_len);
  *len = rest_len;
  muigl_wrapped_text[*line][rest_len] = 0;
  return 1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Switches and scale

void MuiUseDisabledTextColour(char on) { mt_use_disabled_col = on ? 1 : 0; }

void MuiSetDisabledTextColour(float r, float g, float b) {
  mui_disabled_text_col[0] = r;
  mui_disabled_text_col[1] = g;
  mui_disabled_text_col[2] = b;
}

void MuiTextSetOrRestoreScale(char set, float x, float y) {
  _ComFreeTypeFont* font = Font();
  if (set) {
    if (mt_scale_saved) {
      DebugError("MuiTextSetOrRestoreScale", "Scale already set");
      return;
    }
    if (!font) return;
    ComFreeTypeGetScale(font, &mt_saved_scale_x, &mt_saved_scale_y);
    ComFreeTypeSetScale(font, x, y);
    mt_scale_saved = 1;
  } else {
    if (!mt_scale_saved) {
      DebugError("MuiTextSetOrRestoreScale", "Scale not set");
      return;
    }
    if (font) ComFreeTypeSetScale(font, mt_saved_scale_x, mt_saved_scale_y);
    mt_scale_saved = 0;
  }
}

static float BoxScaleX(const _MouseBox* box) { return (float)box->text_w * 0.125f; }
static float BoxScaleY(const _MouseBox* box) { return (float)box->text_h / 10.0f; }

// ---------------------------------------------------------------------------------------------
// Drawing brackets

void MuiTextPrepareToDrawTexts(_MouseBox* box) {
  if (mt_prepared) {
    DebugError("MuiTextPrepareToDrawTexts", "Already prepared");
    return;
  }
  mt_prepared = 1;
  mt_prepared_font = 0;
  if (!box || !Font()) return;
  ComFreeTypePrepareForDrawingIfNeeded(1, &mt_prepared_font);
  // The bracket saved the blending it found and gives it back on restore; inside someone else's
  // bracket the box keeps the blending in force.
  if (mt_prepared_font && box->text_blend_type) ComGlMiscEnableBlendingType(box->text_blend_type);
  MuiTextSetOrRestoreScale(1, BoxScaleX(box), BoxScaleY(box));
}

void MuiTextRestoreAfterDrawingTexts() {
  if (!mt_prepared) {
    DebugError("MuiTextRestoreAfterDrawingTexts", "Not prepared");
    return;
  }
  if (mt_scale_saved) MuiTextSetOrRestoreScale(0, 0.0f, 0.0f);
  if (mt_prepared_font) ComFreeTypeRestoreAfterDrawing();
  mt_prepared_font = 0;
  mt_prepared = 0;
}

void MuiPrepareAndDrawText(int id) {
  if (!TextRowValid(id)) return;
  const bool here = !mt_prepared;
  if (here) MuiTextPrepareToDrawTexts(&mouse_box[id]);
  MuiDrawText(id);
  if (here) MuiTextRestoreAfterDrawingTexts();
}

// ---------------------------------------------------------------------------------------------
// Fitting a line to its room

namespace {

float CharWidth(_ComFreeTypeFont* font, char c) {
  const char one[2] = {c, 0};
  return ComFreeTypeGetStringWidth(font, one);
}

bool IsPath(const char* text) { return strchr(text, '/') || strchr(text, '\\'); }

}  // namespace

const char* MuiTextFitLine(const char* text, float room, char (&cut)[MUI_TEXT_LEN], float* squeeze) {
  *squeeze = 1.0f;
  cut[0] = 0;
  _ComFreeTypeFont* font = Font();
  if (!font || !text) return text ? text : cut;
  const float width = ComFreeTypeGetStringWidth(font, text);
  if (width <= room) return text;
  if (room >= width * MUI_TEXT_MIN_SQUEEZE) {
    *squeeze = room / width;
    return text;
  }
  if (room <= 0.0f) return cut;
  // At the smallest squeeze the room holds room / MUI_TEXT_MIN_SQUEEZE of the text's own width,
  // the "..." included.
  static const char kDots[] = "...";
  const float budget = room / MUI_TEXT_MIN_SQUEEZE - ComFreeTypeGetStringWidth(font, kDots);
  const int n = (int)strnlen(text, MUI_TEXT_LEN - 1);
  const int keep_max = MUI_TEXT_LEN - 1 - 3;
  // How many characters fit the budget, counted from the text's end or from its start.
  const bool from_end = IsPath(text);
  int keep = 0;
  float used = 0.0f;
  while (keep < n && keep < keep_max) {
    const float w = CharWidth(font, text[from_end ? n - 1 - keep : keep]);
    if (used + w > budget) break;
    used += w;
    keep++;
  }
  if (from_end) {
    snprintf(cut, sizeof(cut), "%s%.*s", kDots, keep, text + n - keep);
  } else {
    while (keep > 0 && text[keep - 1] == ' ') keep--;
    snprintf(cut, sizeof(cut), "%.*s%s", keep, text, kDots);
  }
  const float cut_width = ComFreeTypeGetStringWidth(font, cut);
  if (cut_width > room) *squeeze = room / cut_width;
  return cut;
}

// ---------------------------------------------------------------------------------------------
// Lines

void MuiDrawTextStringFloat(float x1, float y1, float x2, float y2, float r, float g, float b,
                            _MuiTextDrawType draw_type, char flag, const char* text) {
  DrawLine(x1, x2, y1 + (y2 - y1) * 0.5f, r, g, b, LineAlign(draw_type), text, flag);
}

void MuiDrawTextStringInt(int x1, int y1, int x2, int y2, float r, float g, float b,
                          _MuiTextDrawType draw_type, char flag, const char* text) {
  MuiDrawTextStringFloat((float)x1, (float)y1, (float)x2, (float)y2, r, g, b, draw_type, flag, text);
}

char MuiGetButtonTextXLimits(int id, int* left, int* right) {
  if (!TextRowValid(id) || !left || !right) return 0;
  const _MouseBox* box = &mouse_box[id];
  int l = box->x1 + box->text_margin;
  int r = box->x2 - box->text_margin;
  const int arrow = box->arrow_margin + mui_std_dim.arrow_w;
  if (box->type == MUI_TYPE_SCROLLBAR || (box->type == MUI_TYPE_CHOICE && MuiChoiceIsUsingArrows(id))) {
    l += arrow;
    r -= arrow;
  } else {
    if (box->left_arrow == 1) l += arrow;
    if (box->right_arrow == 1) r -= arrow;
  }
  if (box->type == MUI_TYPE_CHECKBOX) r -= mui_std_dim.check_w + mui_std_dim.check_gap;
  // A list's text stays clear of its drop-down button (and, open, keeps the same place in its rows).
  if (box->type == MUI_TYPE_LIST) r -= mui_std_dim.list_button_w + box->list_margin;
  const int dt = box->draw_type;
  if (dt == 0 || dt == 1 || dt == 2 || dt == 5) {
    int gap = l - box->x1;
    if (box->x2 - r > gap) gap = box->x2 - r;
    l = box->x1 + gap;
    r = box->x2 - gap;
  }
  *left = l;
  *right = r;
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Wrapping and blocks

int MuiWrapText(const char* text, int, int max_width, float* widest) {
  for (int i = 0; i < MUI_WRAP_LINES; i++) muigl_wrapped_text[i][0] = 0;
  float wmax = 0.0f;
  if (widest) *widest = 0.0f;
  if (!text || !Font()) return 0;
  int line = 0, len = 0;
  bool full = false;  // a 21st line was asked for: the rest of the text is dropped
  for (const char* p = text; *p && !full; p++) {
    const char c = *p;
    if ((c == '\\' && p[1] == 'n') || c == '\r' || c == '\n') {
      if (c == '\\') p++;
      full = !EndLine(&line, &len, &wmax);
      continue;
    }
    if (len == 0 && c == ' ') continue;
    if (len >= MUI_TEXT_LEN - 1) {
      // The line buffer is full: cut at a space if there is one, else the rest of this unbroken
      // run is dropped up to the next break.
      int cut = CutAtLastSpace(&line, &len, &wmax);
      if (cut < 0) full = true;
      if (cut <= 0) continue;
    }
    char* cur = muigl_wrapped_text[line];
    cur[len++] = c;
    cur[len] = 0;
    // Blanks at a line's end take no room: the line is cut only at a character after them, so
    // the cut can still choose between its blanks.
    if (c != ' ' && ComFreeTypeGetStringWidth(mui_free_type_font, cur) > (float)max_width)
      full = CutAtLastSpace(&line, &len, &wmax) < 0;
  }
  int count = line;
  if (full) {
    count = MUI_WRAP_LINES;
  } else {
    muigl_wrapped_text[line][len] = 0;
    if (len > 0) {
      count = line + 1;
      float w = ComFreeTypeGetStringWidth(mui_free_type_font, muigl_wrapped_text[line]);
      if (w > wmax) wmax = w;
    }
  }
  // A line wider than the room (one word longer than it) is drawn fitted to the room.
  if (wmax > (float)max_width) wmax = (float)max_width > 0.0f ? (float)max_width : 0.0f;
  if (widest) *widest = wmax;
  return count;
}

char MuiTextDrawMultilinedString(float x1, float y1, float x2, float y2, _MuiTextDrawType draw_type,
                                 float r, float g, float b, const char* text, char draw, int* lines,
                                 float* first, float* line_height, float* widest,
                                 float* block_height) {
  if (lines) *lines = 0;
  if (first) *first = 0.0f;
  if (line_height) *line_height = 0.0f;
  if (widest) *widest = 0.0f;
  if (block_height) *block_height = 0.0f;
  _ComFreeTypeFont* font = Font();
  if (!font || !text || !text[0]) return 0;
  const float m = LineHeight(font);
  if (m <= 0.0f) return 0;
  float wd = 0.0f;
  const int n = MuiWrapText(text, 0, (int)(x2 - x1), &wd);
  if (n < 1 || n > MUI_WRAP_LINES) return 0;
  const float step = 1.2f * m;
  const float top = y1 + (y2 - y1) / 2.0f - (float)n * step / 2.0f + m / 2.0f;
  if (draw) {
    const int align = LineAlign(draw_type);
    for (int i = 0; i < n; i++) {
      const float y = (float)(int)(top + (float)i * step);
      DrawLine(x1, x2, y, r, g, b, align, muigl_wrapped_text[i], 0);
    }
  }
  if (lines) *lines = n;
  if (first) *first = top;
  if (line_height) *line_height = m;
  if (widest) *widest = wd;
  if (block_height) *block_height = (float)(n - 1) * step + m;
  return 1;
}

char MuiTextDrawButtonsMultilinedText(int id, float r0, float g0, float b0, float r1, float g1,
                                      float b1, char draw, float* width, float* bottom) {
  if (width) DebugError("MuiTextDrawButtonsMultilinedText", "width not supported");
  if (bottom) *bottom = 0.0f;
  _ComFreeTypeFont* font = Font();
  if (!TextRowValid(id) || !font) return 0;
  const _MouseBox* box = &mouse_box[id];
  const float m = LineHeight(font);
  if (m <= 0.0f) return 0;
  int left = 0, right = 0;
  MuiGetButtonTextXLimits(id, &left, &right);
  const _MuiTextDrawType body_type =
      LineAlign(box->draw_type) == kAlignLeft ? MUI_TEXT_MULTI_LEFT : MUI_TEXT_MULTI_CENTRED;
  const bool has0 = box->text[0][0] != 0, has1 = box->text[1][0] != 0;
  const float y1 = (float)box->y1, y2 = (float)box->y2;
  float top = 0.0f, block = 0.0f;
  int n = 0;
  char done = 0;
  if (has0 && has1) {
    if (draw) {
      const float yr = y_ratio > 0.0f ? y_ratio : 1.0f;
      DrawLine((float)left, (float)right, y1 + 1.5f * m / yr, r0, g0, b0, HeadingAlign(box->draw_type), box->text[0],
               0);
    }
    done = MuiTextDrawMultilinedString((float)left, y1 + m, (float)right, y2, body_type, r1, g1, b1, box->text[1],
                                       draw, &n, &top, nullptr, nullptr, &block);
  } else if (has0) {
    done = MuiTextDrawMultilinedString((float)left, y1, (float)right, y2, body_type, r0, g0, b0, box->text[0], draw,
                                       &n, &top, nullptr, nullptr, &block);
  } else if (has1) {
    n = MuiWrapText(box->text[1], 0, right - left, nullptr);
    const int align = LineAlign(body_type);
    const float cy = y1 + (y2 - y1) / 2.0f;
    if (n == 1 || n == 2) {
      const float ys[2] = {n == 1 ? cy : cy - 0.65f * m, cy + 0.65f * m};
      if (draw)
        for (int i = 0; i < n; i++)
          DrawLine((float)left, (float)right, ys[i], r1, g1, b1, align, muigl_wrapped_text[i], 0);
      top = ys[0];
      block = ys[n - 1] - ys[0] + m;
      done = 1;
    } else if (n > 2) {
      done = MuiTextDrawMultilinedString((float)left, y1, (float)right, y2, body_type, r1, g1, b1, box->text[1],
                                         draw, &n, &top, nullptr, nullptr, &block);
    }
  }
  if (done && bottom) *bottom = top - m / 2.0f + block;
  return done;
}

int MuiTextGetTextBoxStringsHeight(int id, char set_height) {
  if (!MuiIdValid(id)) return 0;
  _MouseBox* box = &mouse_box[id];
  if (!IsMultiline(box->draw_type)) {
    DebugError("MuiTextGetTextBoxStringsHeight", "not a textbox");
    return 0;
  }
  if (!Font() || box->text_w <= 0 || box->text_h <= 0) return 0;
  const int32_t y1 = box->y1, y2 = box->y2, cy = box->cy, h = box->h;
  box->y1 = 0;
  box->y2 = 480;
  box->cy = 240;
  box->h = 480;
  MuiTextSetOrRestoreScale(1, BoxScaleX(box), BoxScaleY(box));
  float bottom = 0.0f;
  MuiTextDrawButtonsMultilinedText(id, 0, 0, 0, 0, 0, 0, 0, nullptr, &bottom);
  MuiTextSetOrRestoreScale(0, 0.0f, 0.0f);
  box->y1 = y1;
  box->y2 = y2;
  box->cy = cy;
  box->h = h;
  const int height = (int)bottom;
  if (set_height) {
    box->y2 = box->y1 + height;
    box->h = height;
    box->cy = box->y1 + height / 2;
  }
  return height;
}

float MuiTextGetStringWidth(int id, const char* text) {
  _ComFreeTypeFont* font = Font();
  if (!TextRowValid(id) || !font || !text) return 0.0f;
  const _MouseBox* box = &mouse_box[id];
  // A text size of 0 would switch the font's scaling off and measure the text full size.
  if (box->text_w <= 0 || box->text_h <= 0) return 0.0f;
  float sx = 0.0f, sy = 0.0f;
  ComFreeTypeGetScale(font, &sx, &sy);
  ComFreeTypeSetScale(font, BoxScaleX(box), BoxScaleY(box));
  const float w = ComFreeTypeGetStringWidth(font, text);
  ComFreeTypeSetScale(font, sx, sy);
  return w;
}

// ---------------------------------------------------------------------------------------------
// A box's texts

namespace {

// The one or two lines of a box that is not multi-line, in the two colours.
void DrawBoxLines(int id, const float* c0, const float* c1) {
  const _MouseBox* box = &mouse_box[id];
  int left = 0, right = 0;
  MuiGetButtonTextXLimits(id, &left, &right);
  if (!box->text[1][0]) {
    MuiDrawTextStringFloat((float)left, (float)box->y1, (float)right, (float)box->y2, c0[0], c0[1], c0[2],
                           box->draw_type, 0, box->text[0]);
    return;
  }
  float o = (float)(int)((float)box->text_h * 5.0f * 0.125f);
  if (box->type == MUI_TYPE_SCROLLBAR) o += (float)mui_std_dim.sb_thumb_h / 2.0f;
  const float y0 = (float)box->cy - o, y1 = (float)box->cy + o;
  MuiDrawTextStringFloat((float)left, y0, (float)right, y0, c0[0], c0[1], c0[2], box->draw_type, 0, box->text[0]);
  MuiDrawTextStringFloat((float)left, y1, (float)right, y1, c1[0], c1[1], c1[2], box->draw_type, 0, box->text[1]);
}

// The rectangle of the thumb a scroll bar draws this frame; false when it draws none.
bool ThumbRect(int id, int* x, int* y, int* w, int* h) {
  if (!MuiIdValid(id) || mouse_box[id].type != MUI_TYPE_SCROLLBAR) return false;
  const _MuiBitmap* b = &mui_bitmap[id];
  if (!b->std_include[MUI_STD_SB_THUMB]) return false;
  const char state = mouse_box[id].active ? MUI_TEX_NORMAL : MUI_TEX_DISABLED;
  if (!MuiTexturesGetTextureFromNum(MUI_STD_SB_THUMB, state)) return false;
  *x = b->std_x[MUI_STD_SB_THUMB];
  *y = b->std_y[MUI_STD_SB_THUMB];
  *w = mui_tex_std_widths[MUI_STD_SB_THUMB];
  *h = mui_tex_std_heights[MUI_STD_SB_THUMB];
  return *w > 0 && *h > 0;
}

// White for a dark colour, black for a light one.
float Opposite(const float* c) { return 0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2] < 0.5f ? 1.0f : 0.0f; }

}  // namespace

void MuiDrawText(int id) {
  if (!TextRowValid(id)) return;
  if (!mt_prepared) {
    DebugError("MuiDrawText", "Not prepared for drawing texts");
    return;
  }
  const _MouseBox* box = &mouse_box[id];
  if (!Font() || (!box->text[0][0] && !box->text[1][0])) return;
  // A box whose text size was never set has no scale to draw with.
  if (box->text_w <= 0 || box->text_h <= 0) return;
  const float* c0 = box->col0;
  const float* c1 = box->col1;
  if (!box->active && mt_use_disabled_col) c0 = c1 = mui_disabled_text_col;
  if (IsMultiline(box->draw_type)) {
    MuiTextDrawButtonsMultilinedText(id, c0[0], c0[1], c0[2], c1[0], c1[1], c1[2], 1, nullptr, nullptr);
    return;
  }
  if (!box->text[0][0]) return;
  DrawBoxLines(id, c0, c1);
  // A scroll bar's label runs across its thumb wherever the thumb is: the letters over the thumb
  // are drawn again, clipped to the thumb, in the colour opposite to their own, so the label reads
  // whole on both.
  int tx = 0, ty = 0, tw = 0, th = 0;
  if (!ThumbRect(id, &tx, &ty, &tw, &th)) return;
  const float k0 = Opposite(c0), k1 = Opposite(c1);
  const float o0[3] = {k0, k0, k0}, o1[3] = {k1, k1, k1};
  const int sx1 = (int)((float)tx * x_ratio), sx2 = (int)((float)(tx + tw) * x_ratio);
  const int sy1 = (int)((float)ty * y_ratio), sy2 = (int)((float)(ty + th) * y_ratio);
  glScissor(sx1, HEIGHT - sy2, sx2 - sx1, sy2 - sy1);
  glEnable(GL_SCISSOR_TEST);
  DrawBoxLines(id, o0, o1);
  glDisable(GL_SCISSOR_TEST);
}
