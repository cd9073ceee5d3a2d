// Text drawing of the menu layer: one or two lines per box shrunk to fit, word-wrapped blocks
// with a heading, text limits and measuring, in the layer's TrueType font.
#include "MuiText.h"

char mui_text_type{};
_ComFreeTypeFont* mui_free_type_font{};
float mui_disabled_text_col[3] = {0.7f, 0.7f, 0.7f};
char muigl_wrapped_text[MUI_WRAP_LINES][MUI_TEXT_LEN];

void MuiPrepareAndDrawText(int) {}
void MuiTextPrepareToDrawTexts(_MouseBox*) {}
void MuiTextRestoreAfterDrawingTexts() {}
void MuiDrawText(int) {}
void MuiDrawTextStringFloat(float, float, float, float, float, float, float, _MuiTextDrawType, char, const char*) {}
void MuiDrawTextStringInt(int, int, int, int, float, float, float, _MuiTextDrawType, char, const char*) {}
int MuiWrapText(const char*, int, int, float*) { return 0; }
char MuiTextDrawMultilinedString(float, float, float, float, _MuiTextDrawType, float, float, float, const char*, char, int*, float*, float*, float*, float*) { return 0; }
char MuiTextDrawButtonsMultilinedText(int, float, float, float, float, float, float, char, float*, float*) { return 0; }
char MuiGetButtonTextXLimits(int, int*, int*) { return 0; }
void MuiTextSetOrRestoreScale(char, float, float) {}
int MuiTextGetTextBoxStringsHeight(int, char) { return 0; }
float MuiTextGetStringWidth(int, const char*) { return 0; }
void MuiUseDisabledTextColour(char) {}
void MuiSetDisabledTextColour(float, float, float) {}
