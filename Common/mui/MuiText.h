// Text drawing of the menu layer: one or two lines per box fitted to their limits, word-wrapped
// blocks with a heading, text limits and measuring, in the layer's TrueType font.
#ifndef MUI_TEXT_H
#define MUI_TEXT_H

#include "MuiBox.h"

struct _ComFreeTypeFont;

#define MUI_WRAP_LINES 20
// The narrowest a line is squeezed to fit its room, as a fraction of its own width; a line that
// would need more is cut with "..." instead.
#define MUI_TEXT_MIN_SQUEEZE 0.5f

extern char mui_text_type;                    // 1 once a FreeType font is set: only then text draws
extern _ComFreeTypeFont* mui_free_type_font;
extern float mui_disabled_text_col[3];
extern char muigl_wrapped_text[MUI_WRAP_LINES][MUI_TEXT_LEN];

void MuiPrepareAndDrawText(int id);
void MuiTextPrepareToDrawTexts(_MouseBox* box);
void MuiTextRestoreAfterDrawingTexts();
void MuiDrawText(int id);
void MuiDrawTextStringFloat(float x1, float y1, float x2, float y2, float r, float g, float b,
                            _MuiTextDrawType draw_type, char flag, const char* text);
void MuiDrawTextStringInt(int x1, int y1, int x2, int y2, float r, float g, float b,
                          _MuiTextDrawType draw_type, char flag, const char* text);
// Fits one line into `room` units at the font's current scale, the one rule by which every box
// and popup text stays inside its box: a line that fits is kept; a wider one is squeezed (its
// x scale times *squeeze) down to MUI_TEXT_MIN_SQUEEZE; past that it is cut with "..." into `cut`
// (a path keeps its end, the file name; any other text its start) and squeezed as far as the cut
// still needs. Answers the text to draw: `text` itself or `cut`.
const char* MuiTextFitLine(const char* text, float room, char (&cut)[MUI_TEXT_LEN], float* squeeze);
int MuiWrapText(const char* text, int unused, int max_width, float* widest);
char MuiTextDrawMultilinedString(float x1, float y1, float x2, float y2, _MuiTextDrawType draw_type,
                                 float r, float g, float b, const char* text, char draw, int* lines,
                                 float* first, float* line_height, float* widest,
                                 float* block_height);
char MuiTextDrawButtonsMultilinedText(int id, float r0, float g0, float b0, float r1, float g1,
                                      float b1, char draw, float* width, float* bottom);
char MuiGetButtonTextXLimits(int id, int* left, int* right);
void MuiTextSetOrRestoreScale(char set, float x, float y);
int MuiTextGetTextBoxStringsHeight(int id, char set_height);
float MuiTextGetStringWidth(int id, const char* text);
void MuiUseDisabledTextColour(char on);
void MuiSetDisabledTextColour(float r, float g, float b);

#endif
