// The menu layer's box table: one fixed table of rectangles of the virtual 640 x 480 screen, each
// with a type, two texts, colours, flags, a callback and an optional bound application variable.
// A screen empties the table and appends its boxes; ids are indexes into the table.
#ifndef MUI_BOX_H
#define MUI_BOX_H

#include <cstdint>

#define MUI_MAX_BOXES 500        // records in the table
#define MUI_MAX_BOXES_IN_USE 492 // ids 0 to 491, a popup's eight boxes included
#define MUI_SCRATCH_BOX 499      // the one row outside the count that the choice draws its cells with
#define MUI_TEXT_LEN 512         // a box text holds at most 511 characters

enum _MuiButtonType : int32_t {
  MUI_TYPE_BUTTON = 0,
  MUI_TYPE_TEXT_ENTRY = 1,
  MUI_TYPE_SCROLLBAR = 2,
  MUI_TYPE_VSCROLLBAR = 3,
  MUI_TYPE_RANGE = 4,
  MUI_TYPE_LIST = 5,
  MUI_TYPE_PANEL = 6,
  MUI_TYPE_SCRIPT = 7,
  MUI_TYPE_MULTISEL = 8,
  MUI_TYPE_CHOICE = 9,
  MUI_TYPE_CHECKBOX = 10,
  MUI_TYPE_STATSBAR = 11,
  MUI_TYPE_PROGRESS = 12,
  MUI_TYPE_COLOUR = 13,
  MUI_TYPE_BARGRAPH = 14,
  MUI_TYPE_PIE = 15,
  MUI_TYPE_GRAPH = 16,
  MUI_TYPE_AREA = 17,
  MUI_TYPE_INVALID = 18  // what MuiGetType answers for an id not in the table
};

// How a box lays out its texts.
enum _MuiTextDrawType : int32_t {
  MUI_TEXT_CENTRED = 0,             // one line per text, centred, shrunk to fit
  MUI_TEXT_MULTI_CENTRED_HEAD_LEFT = 1,
  MUI_TEXT_MULTI_CENTRED = 2,       // body and heading centred
  MUI_TEXT_MULTI_LEFT = 3,          // body and heading left
  MUI_TEXT_MULTI_LEFT_HEAD_CENTRED = 4,
  MUI_TEXT_CENTRED_2 = 5,           // as 0
  MUI_TEXT_LEFT = 6,                // one line at the left limit, shrunk to fit
  MUI_TEXT_RIGHT = 7                // one line at the right limit, shrunk to fit
};

// Kinds of application variable a box may be bound to.
enum {
  MUI_VAR_NONE = 0, MUI_VAR_INT = 1, MUI_VAR_LONG = 2, MUI_VAR_CHAR = 3, MUI_VAR_FLOAT = 4,
  MUI_VAR_TWO_FLOATS = 5, MUI_VAR_FLOAT3 = 6, MUI_VAR_AREA = 7
};

struct _MuiFloat3 {
  float r, g, b;
};

// The value record an area box would bind; the area type itself does nothing yet.
struct _MuiArea {
  float x, y;
};

struct _MouseBox {
  unsigned char active;
  unsigned char shown;        // 2 for a popup's boxes
  unsigned char highlighted;
  unsigned char pressed;
  _MuiButtonType type;
  _MuiTextDrawType draw_type;
  unsigned char button_blend_type;
  unsigned char text_blend_type;
  int32_t x1, y1, x2, y2;     // both edges belong to the box
  int32_t cx, cy;
  int32_t w, h;
  unsigned char tab_stop;
  unsigned char is_default;
  unsigned char escape;
  unsigned char left_arrow;   // press kind: 0 none, 1 arrow with repeat, 2 push button, 3 arrow
  unsigned char right_arrow;  // 0 none, 1 arrow with repeat, 3 arrow
  char text[2][MUI_TEXT_LEN];
  float dark_col0[3];         // always 0.75 x col0
  float col0[3];
  float dark_col1[3];
  float col1[3];
  int32_t text_w, text_h;     // font scale x = text_w x 0.125, y = text_h / 10
  int32_t text_margin;
  int32_t arrow_margin;
  int32_t scrollbar_margin;
  int32_t y_margin;
  int32_t list_margin;
  int32_t checkbox_margin;
  void (*callback)(char);
  int32_t registered_kind;    // MUI_VAR_...
  int* int_var;
  int32_t int_mult;
  int32_t* long_var;
  int32_t long_mult;
  float* float_var;
  float float_mult;           // shared by the one- and two-float kinds
  float* float_var1;
  float* float_var2;
  _MuiFloat3* colour_var;
  char* char_var;
  _MuiArea* area_var;
  unsigned char picture;      // 2 and above: a picture drawn with blending type picture - 2
  unsigned char needs_redraw;
};

// The standard sizes and colours of every widget type: 54 words, copied in and out whole.
struct _MuiStandardDimensions {
  float text_margin_perc;
  int32_t arrow_w, arrow_h;
  float arrow_margin_perc;
  int32_t sb_thumb_w, sb_thumb_h;
  float sb_margin_perc;
  float y_margin_perc;
  int32_t list_button_w, list_button_h;
  float list_margin_perc;
  int32_t double_w, double_h;
  int32_t check_w, check_h;
  int32_t check_gap;
  float check_margin_perc;
  int32_t panel_sb_w, panel_thumb_w;
  int32_t multisel_sb_w, multisel_thumb_w;
  int32_t ints[3];                 // 1, 5, 5
  unsigned char bytes[4];          // 1, 1, 1, 255
  float floats1[8];                // 0, 0.05, 0.8, 0.298, 0.298, 0.298, 0.8, 0.298
  float floats2[3];                // 0, 0, 0
  float floats3[6];                // 0.6 each
  float floats4[3];                // 1.0 each
  unsigned char bytes2[4];         // 0, 1, 1, spare
  float floats5[5];                // 0, 4, 2, 2, 8
  int32_t range_end_w, range_end_w2, range_handle_w;  // 2w/3, 2w/3, first + 2 x second
};
static_assert(sizeof(_MuiStandardDimensions) == 54 * 4, "54 words of four bytes");

extern _MouseBox mouse_box[MUI_MAX_BOXES];
extern int num_mouse_boxes;
extern _MuiStandardDimensions mui_std_dim;
extern int mui_std_w, mui_std_h;
extern float mui_std_xmargin_perc, mui_std_ymargin_perc;
extern int mui_std_min_xmargin, mui_std_min_ymargin;
extern int box_highlighted;          // -1 when none
extern unsigned char dragging;       // a drag of a scroll bar, range, panel, colour... is under way
extern char mui_text_printf_format_str[MUI_TEXT_LEN];
// Bumped whenever the table is emptied; a handler that ran a callback compares it to know whether
// the callback built another screen.
extern unsigned int mui_box_generation;

void MuiRemoveAllBoxes();
int MuiAddNewScreenBox(int x1, int y1, int x2, int y2, void (*callback)(char));
void MuiUpdate(int id);
_MuiButtonType MuiGetType(int id);
void MuiSetStandardButtonsDimensions(const _MuiStandardDimensions* dim);
void MuiGetStandardButtonsDimensions(_MuiStandardDimensions* dim);
void MuiSetupStandardButtonsDimensions();
void MuiCalcBoxMargins(_MouseBox* box);
void MuiSetType(int id, _MuiButtonType type);
void MuiSetButtonDrawType(int id, _MuiTextDrawType draw_type);
void MuiSetButtonBlendType(int id, char blend);
void MuiSetTextBlendType(int id, char blend);
void MuiSetActiveState(int id, char active);
char MuiGetActiveState(int id);
void MuiSetDefaultButton(int id, char on);
void MuiSetEscape(int id, char on);
void MuiSetTabstop(int id, char on);
void MuiShowButton(int id, char show);
char MuiIsButtonShown(int id);
void MuiSetDimensions(int id, int x1, int y1, int x2, int y2);
void MuiGetDimensions(int id, int* x1, int* y1, int* x2, int* y2);
void MuiGetBoxCenter(int id, int* x, int* y);
void MuiSetCallback(int id, void (*callback)(char));
void MuiSetArrowsState(int id, char left, char right);
// The widget types' own setting of a box's two arrow kinds, with the arrows' pictures to match and
// without the complaint about a missing callback (a widget bound only to a variable is normal).
void MuiSetArrowKinds(int id, char left, char right);
void MuiSetTextSize(int id, int height, int width);
void MuiGetTextSize(int id, int* height, int* width);
void MuiSetTextColourFloat(int id, float r0, float g0, float b0, float r1, float g1, float b1);
void MuiDoSetText(int id, int which, const char* text);
void MuiSetText(int id, const char* text);
void MuiSetBothTexts(int id, const char* text0, const char* text1);
void MuiSetTextPrintf(int id, const char* format, ...) __attribute__((format(printf, 2, 3)));
void MuiSetATextPrintf(int id, int which, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void MuiSetTextFromLanguageId(int id, int which, int language_id);
void MuiSetScriptTextPointerFromLanguageId(int id, int language_id);
const char* MuiGetText(int id);
char MuiCheckId(int id, const char* caller);
char MuiRegisterIntVariable(int id, int* variable, int multiplier);
char MuiRegisterLongVariable(int id, int32_t* variable, int32_t multiplier);
char MuiRegisterCharVariable(int id, char* variable);
char MuiRegisterFloatVariable(int id, float* variable, float multiplier);
char MuiRegisterTwoFloatVariables(int id, float* variable1, float* variable2, float multiplier);
char MuiRegisterFloat3Variable(int id, _MuiFloat3* variable);
char MuiRegisterAreaVariable(int id, _MuiArea* variable);
void MuiCenterAllBoxes();
void MuiMoveBoxesToCorner(int first_id, char right, char bottom);

// 1 for 0 <= id < num_mouse_boxes: the check every table access makes, without a log line.
inline bool MuiIdValid(int id) { return id >= 0 && id < num_mouse_boxes; }

#endif
