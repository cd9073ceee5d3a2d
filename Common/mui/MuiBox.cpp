// The menu layer's box table: creation (with the reset of every widget type's own row), the
// setters and getters, bound application variables, and whole-screen moves.
#include "MuiBox.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "ComDebug.h"
#include "ComMacMisc.h"
#include "ComMisc.h"
#include "Mui.h"
#include "MuiArea.h"
#include "MuiBargraph.h"
#include "MuiBars.h"
#include "MuiBitmap.h"
#include "MuiCheckbox.h"
#include "MuiChoice.h"
#include "MuiColour.h"
#include "MuiEntry.h"
#include "MuiHooks.h"
#include "MuiList.h"
#include "MuiMulti.h"
#include "MuiPanel.h"
#include "MuiPicture.h"
#include "MuiPopup.h"
#include "MuiRange.h"
#include "MuiScrollbar.h"

_MouseBox mouse_box[MUI_MAX_BOXES];
int num_mouse_boxes = 0;
_MuiStandardDimensions mui_std_dim;
int mui_std_w = 12, mui_std_h = 12;
float mui_std_xmargin_perc = 0.02f, mui_std_ymargin_perc = 0.02f;
int mui_std_min_xmargin = 1, mui_std_min_ymargin = 1;
int box_highlighted = -1;
unsigned char dragging = 0;
char mui_text_printf_format_str[MUI_TEXT_LEN];
unsigned int mui_box_generation = 0;

namespace {

const float kDarkFactor = 0.75f;

// Sets a box's rectangle and everything computed from it. Coordinates are taken as given: a
// negative value is a position here, not "keep".
void PlaceBox(int id, int x1, int y1, int x2, int y2) {
  _MouseBox* b = &mouse_box[id];
  b->x1 = x1;
  b->y1 = y1;
  b->x2 = x2;
  b->y2 = y2;
  b->w = x2 - x1;
  b->h = y2 - y1;
  b->cx = x1 + (x2 - x1) / 2;
  b->cy = y1 + (y2 - y1) / 2;
  MuiCalcBoxMargins(b);
  if (b->type == MUI_TYPE_AREA) MuiAreaValuesChanged(id);
  if (b->type == MUI_TYPE_PIE) MuiPieUpdatePositions(id);
  if (b->type == MUI_TYPE_GRAPH) MuiGraphUpdatePositions(id);
}

// Text setter behind every public one; the id is already checked.
void SetText(int id, int which, const char* text) {
  char* dst = mouse_box[id].text[which];
  if (!text) text = "";
  size_t len = strnlen(text, MUI_TEXT_LEN);
  if (len >= MUI_TEXT_LEN) {
    DebugError("MuiDoSetText", "String to long [%.*s]", MUI_TEXT_LEN - 1, text);
    len = MUI_TEXT_LEN - 1;
  }
  if (strncmp(dst, text, len) == 0 && dst[len] == 0) return;
  memcpy(dst, text, len);
  dst[len] = 0;
  MuiUpdate(id);
}

bool TextIdOk(int id, int which) {
  if (!MuiIdValid(id)) {
    DebugError("MuiDoSetText", "Invalid id %d", id);
    return false;
  }
  if (which != 0 && which != 1) {
    DebugError("MuiDoSetText", "Invalid text %d (ID: %d)", which, id);
    return false;
  }
  return true;
}

void ClearRegistration(_MouseBox* b) {
  b->registered_kind = MUI_VAR_NONE;
  b->int_var = nullptr;
  b->long_var = nullptr;
  b->float_var = nullptr;
  b->float_var1 = nullptr;
  b->float_var2 = nullptr;
  b->colour_var = nullptr;
  b->char_var = nullptr;
  b->area_var = nullptr;
}

bool TypeIn(_MuiButtonType type, std::initializer_list<int> types) {
  for (int t : types)
    if (type == t) return true;
  return false;
}

// The checks every registration makes, in order: the id (silent), a zero multiplier, the box type.
bool RegisterOk(int id, const char* func, bool mult_zero, std::initializer_list<int> types) {
  if (!MuiIdValid(id)) return false;
  if (mult_zero) {
    DebugError(func, "ID: %d - 0 val passed as mult", id);
    return false;
  }
  if (!TypeIn(mouse_box[id].type, types)) {
    DebugError(func, "ID: %d - Invalid type", id);
    return false;
  }
  return true;
}

}  // namespace

void MuiRemoveAllBoxes() {
  // A popup over the old screen goes with it; so does everything that names a box by id, so
  // that a release, a repeat or a key after the change never reaches the new screen's box with
  // the same id.
  MuiPopupAbandon();
  MuiBitmapRemoveAllBitmaps();
  if (box_editing >= 0) MuiTextEntryReset(box_editing);
  box_editing = -1;
  mui_list_open_id = -1;
  MuiClearPressRepeatDetails();
  push_button_down = 0;
  num_mouse_boxes = 0;
  box_highlighted = -1;
  dragging = 0;
  mui_box_generation++;
}

int MuiAddNewScreenBox(int x1, int y1, int x2, int y2, void (*callback)(char)) {
  if (num_mouse_boxes > MUI_MAX_BOXES_IN_USE - 1) {
    DebugError("MuiAddNewScreenBox", "Maximum boxes reached");
    return -1;
  }
  int id = num_mouse_boxes;
  _MouseBox* b = &mouse_box[id];
  memset(b, 0, sizeof(*b));
  b->active = 1;
  b->shown = 1;
  b->tab_stop = 1;
  b->needs_redraw = 1;
  b->type = MUI_TYPE_BUTTON;
  b->draw_type = MUI_TEXT_CENTRED;
  PlaceBox(id, x1, y1, x2, y2);
  b->callback = callback;
  b->left_arrow = callback ? 2 : 0;
  b->right_arrow = 0;
  b->picture = 0;
  num_mouse_boxes++;
  // Every widget type's row for this id starts afresh; each reset touches only its own row.
  MuiBargraphReset(id);
  MuiChoiceReset(id);
  MuiListReset(id);
  MuiPanelReset(id);
  MuiScriptReset(id);
  MuiTextEntryReset(id);
  MuiScrollbarReset(id);
  MuiVScrollbarReset(id);
  MuiRangeReset(id);
  MuiProgressReset(id);
  MuiBitmapReset(id);
  MuiColourReset(id);
  MuiAreaReset(id);
  MuiCheckboxReset(id);
  MuiMultiselReset(id);
  MuiPictureReset(id);
  MuiStatsbarReset(id);
  MuiPieReset(id);
  MuiGraphReset(id);
  MuiMove(0, 0, 1);
  MuiUpdate(id);
  return id;
}

void MuiUpdate(int id) {
  mui_need_redraw = 1;
  if (id < 0)
    full_update = 1;
  else if (id < MUI_MAX_BOXES)
    mouse_box[id].needs_redraw = 1;
}

_MuiButtonType MuiGetType(int id) {
  if (!MuiIdValid(id)) {
    DebugError("MuiGetType", "Invalid ID: %d", id);
    return MUI_TYPE_INVALID;
  }
  return mouse_box[id].type;
}

void MuiSetStandardButtonsDimensions(const _MuiStandardDimensions* dim) {
  if (!dim) return;
  mui_std_dim = *dim;
  mui_std_dim.range_handle_w = mui_std_dim.range_end_w + 2 * mui_std_dim.range_end_w2;
}

void MuiGetStandardButtonsDimensions(_MuiStandardDimensions* dim) {
  if (dim) *dim = mui_std_dim;
}

void MuiSetupStandardButtonsDimensions() {
  const int w = mui_std_w, h = mui_std_h;
  const float p = mui_std_xmargin_perc;
  _MuiStandardDimensions& d = mui_std_dim;
  d.text_margin_perc = p;
  d.arrow_w = w;
  d.arrow_h = h;
  d.arrow_margin_perc = p;
  d.sb_thumb_w = 2 * w;
  d.sb_thumb_h = h;
  d.sb_margin_perc = p;
  d.y_margin_perc = mui_std_ymargin_perc;
  d.list_button_w = w;
  d.list_button_h = h;
  d.list_margin_perc = p;
  d.double_w = 2 * w;
  d.double_h = 2 * h;
  d.check_w = w;
  d.check_h = h;
  d.check_gap = w / 4;
  d.check_margin_perc = p;
  d.panel_sb_w = 5 * w / 4;
  d.panel_thumb_w = w;
  d.multisel_sb_w = 5 * w / 4;
  d.multisel_thumb_w = w;
  const int32_t ints[3] = {1, 5, 5};
  memcpy(d.ints, ints, sizeof(ints));
  const unsigned char bytes[4] = {1, 1, 1, 255};
  memcpy(d.bytes, bytes, sizeof(bytes));
  const float f1[8] = {0.0f, 0.05f, 0.8f, 0.298f, 0.298f, 0.298f, 0.8f, 0.298f};
  memcpy(d.floats1, f1, sizeof(f1));
  for (float& f : d.floats2) f = 0.0f;
  for (float& f : d.floats3) f = 0.6f;
  for (float& f : d.floats4) f = 1.0f;
  const unsigned char bytes2[4] = {0, 1, 1, 0};
  memcpy(d.bytes2, bytes2, sizeof(bytes2));
  const float f5[5] = {0.0f, 4.0f, 2.0f, 2.0f, 8.0f};
  memcpy(d.floats5, f5, sizeof(f5));
  d.range_end_w = 2 * w / 3;
  d.range_end_w2 = 2 * w / 3;
  d.range_handle_w = 3 * (2 * w / 3);
  for (int id = 0; id < num_mouse_boxes; id++) MuiCalcBoxMargins(&mouse_box[id]);
}

void MuiCalcBoxMargins(_MouseBox* box) {
  if (!box) return;
  // In float, as the fractions are: 70 x 0.05f is exactly 3.5f and rounds to 3.
  const float w = (float)box->w;
  box->text_margin = ComMiscRound(w * mui_std_dim.text_margin_perc) + mui_std_min_xmargin;
  box->arrow_margin = ComMiscRound(w * mui_std_dim.arrow_margin_perc) + mui_std_min_xmargin;
  box->scrollbar_margin = ComMiscRound(w * mui_std_dim.sb_margin_perc) + mui_std_min_xmargin;
  box->list_margin = ComMiscRound(w * mui_std_dim.list_margin_perc) + mui_std_min_xmargin;
  box->checkbox_margin = ComMiscRound(w * mui_std_dim.check_margin_perc) + mui_std_min_xmargin;
  box->y_margin = ComMiscRound((float)box->h * mui_std_dim.y_margin_perc) + mui_std_min_ymargin;
}

void MuiSetType(int id, _MuiButtonType type) {
  if (MuiIdValid(id)) mouse_box[id].type = type;
}

void MuiSetButtonDrawType(int id, _MuiTextDrawType draw_type) {
  if (MuiIdValid(id)) mouse_box[id].draw_type = draw_type;
}

void MuiSetButtonBlendType(int id, char blend) {
  if (MuiIdValid(id)) mouse_box[id].button_blend_type = (unsigned char)blend;
}

void MuiSetTextBlendType(int id, char blend) {
  if (MuiIdValid(id)) mouse_box[id].text_blend_type = (unsigned char)blend;
}

void MuiSetActiveState(int id, char active) {
  if (!MuiIdValid(id)) return;
  mouse_box[id].active = (unsigned char)active;
  if (mouse_box[id].type == MUI_TYPE_CHECKBOX) MuiBitmapSetCheckbox(id, mui_checkbox[id]);
  if (mouse_box[id].type == MUI_TYPE_CHOICE) MuiChoiceUpdateArrows(id);
  MuiUpdate(id);
}

char MuiGetActiveState(int id) { return MuiIdValid(id) ? (char)mouse_box[id].active : 0; }

void MuiSetDefaultButton(int id, char on) {
  if (MuiIdValid(id)) mouse_box[id].is_default = (unsigned char)on;
}

void MuiSetEscape(int id, char on) {
  if (MuiIdValid(id)) mouse_box[id].escape = (unsigned char)on;
}

void MuiSetTabstop(int id, char on) {
  if (MuiIdValid(id)) mouse_box[id].tab_stop = (unsigned char)on;
}

void MuiShowButton(int id, char show) {
  if (!MuiIdValid(id)) return;
  _MouseBox* b = &mouse_box[id];
  if (b->shown == (unsigned char)show) return;
  b->shown = (unsigned char)show;
  if (!show) {
    if (box_highlighted == id) {
      b->highlighted = 0;
      box_highlighted = -1;
    }
    MuiUpdate(-1);
  } else {
    MuiUpdate(id);
  }
}

char MuiIsButtonShown(int id) {
  if (!mouseui_on || !MuiIdValid(id)) return 0;
  return (char)mouse_box[id].shown;
}

void MuiSetDimensions(int id, int x1, int y1, int x2, int y2) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* b = &mouse_box[id];
  PlaceBox(id, x1 < 0 ? b->x1 : x1, y1 < 0 ? b->y1 : y1, x2 < 0 ? b->x2 : x2, y2 < 0 ? b->y2 : y2);
  MuiUpdate(-1);
}

void MuiGetDimensions(int id, int* x1, int* y1, int* x2, int* y2) {
  if (!MuiIdValid(id)) {
    DebugError("MuiGetDimensions", "Invlaid id: %d", id);
    return;
  }
  const _MouseBox* b = &mouse_box[id];
  if (x1) *x1 = b->x1;
  if (y1) *y1 = b->y1;
  if (x2) *x2 = b->x2;
  if (y2) *y2 = b->y2;
}

void MuiGetBoxCenter(int id, int* x, int* y) {
  if (!MuiIdValid(id)) {
    DebugError("MuiGetBoxCenter", "Invalid ID: %d", id);
    return;
  }
  if (x) *x = mouse_box[id].cx;
  if (y) *y = mouse_box[id].cy;
}

void MuiSetCallback(int id, void (*callback)(char)) {
  if (MuiIdValid(id)) mouse_box[id].callback = callback;
}

void MuiSetArrowsState(int id, char left, char right) {
  if (!MuiIdValid(id)) return;
  _MouseBox* b = &mouse_box[id];
  if (b->type != MUI_TYPE_CHOICE && (left || right) && !b->callback) {
    DebugError("MuiSetArrowsState", "Mousebox %d: Trying to set arrows [%d %d] with no callback", id,
               left, right);
    if (b->text[0][0]) DebugError("MuiSetArrowsState", "        -> Text1: %s", b->text[0]);
    if (b->text[1][0]) DebugError("MuiSetArrowsState", "        -> Text2: %s", b->text[1]);
    DebugError("MuiSetArrowsState", "        -> Arrow: %d %d", left, right);
  }
  MuiSetArrowKinds(id, left, right);
  MuiUpdate(id);
}

void MuiSetArrowKinds(int id, char left, char right) {
  if (!MuiIdValid(id)) return;
  mouse_box[id].left_arrow = (unsigned char)left;
  mouse_box[id].right_arrow = (unsigned char)right;
  MuiBitmapSetArrows(id, left, right);
}

void MuiSetTextSize(int id, int height, int width) {
  if (!MuiIdValid(id)) {
    DebugError("MuiSetTextSize", "Invalid id %d", id);
    return;
  }
  mouse_box[id].text_h = height;
  mouse_box[id].text_w = width;
  if (mouse_box[id].type == MUI_TYPE_SCRIPT) MuiScriptReload(id);
  MuiUpdate(id);
}

void MuiGetTextSize(int id, int* height, int* width) {
  if (!MuiIdValid(id)) {
    DebugError("MuiGetTextSize", "Invalid id %d", id);
    return;
  }
  if (height) *height = mouse_box[id].text_h;
  if (width) *width = mouse_box[id].text_w;
}

void MuiSetTextColourFloat(int id, float r0, float g0, float b0, float r1, float g1, float b1) {
  if (!MuiIdValid(id)) {
    DebugError("MuiSetTextColourFloat", "Invalid id %d", id);
    return;
  }
  _MouseBox* b = &mouse_box[id];
  const float c0[3] = {r0, g0, b0}, c1[3] = {r1, g1, b1};
  bool changed = false;
  for (int i = 0; i < 3; i++) {
    if (b->col0[i] != c0[i] || b->col1[i] != c1[i]) changed = true;
    b->col0[i] = c0[i];
    b->col1[i] = c1[i];
    b->dark_col0[i] = c0[i] * kDarkFactor;
    b->dark_col1[i] = c1[i] * kDarkFactor;
  }
  if (changed) MuiUpdate(id);
}

void MuiDoSetText(int id, int which, const char* text) {
  if (TextIdOk(id, which)) SetText(id, which, text);
}

void MuiSetText(int id, const char* text) {
  if (!TextIdOk(id, 0)) return;
  SetText(id, 0, text);
  SetText(id, 1, nullptr);
}

void MuiSetBothTexts(int id, const char* text0, const char* text1) {
  if (!TextIdOk(id, 0)) return;
  SetText(id, 0, text0);
  SetText(id, 1, text1);
}

void MuiSetTextPrintf(int id, const char* format, ...) {
  if (!TextIdOk(id, 0) || !format) return;
  va_list ap;
  va_start(ap, format);
  vsnprintf(mui_text_printf_format_str, sizeof(mui_text_printf_format_str), format, ap);
  va_end(ap);
  SetText(id, 0, mui_text_printf_format_str);
  SetText(id, 1, nullptr);
}

void MuiSetATextPrintf(int id, int which, const char* format, ...) {
  if (!TextIdOk(id, which) || !format) return;
  va_list ap;
  va_start(ap, format);
  vsnprintf(mui_text_printf_format_str, sizeof(mui_text_printf_format_str), format, ap);
  va_end(ap);
  SetText(id, which, mui_text_printf_format_str);
}

void MuiSetTextFromLanguageId(int id, int which, int language_id) {
  if (TextIdOk(id, which)) SetText(id, which, LT((unsigned)language_id));
}

void MuiSetScriptTextPointerFromLanguageId(int id, int language_id) {
  if (!MuiIdValid(id)) {
    DebugError("MuiSetScriptTextPointerFromLanguageId", "Invalid id %d", id);
    return;
  }
  MuiScriptSetTextPointer(id, LangGetScriptTextPointer((unsigned)language_id));
  MuiUpdate(id);
}

const char* MuiGetText(int id) { return MuiIdValid(id) ? mouse_box[id].text[0] : ""; }

char MuiCheckId(int id, const char* caller) {
  if (MuiIdValid(id)) return 1;
  DebugError(caller ? caller : "", "Invalid ID: %d", id);
  return 0;
}

// A null variable unregisters the box's variable, so no widget reads through a stale pointer.
char MuiRegisterIntVariable(int id, int* variable, int multiplier) {
  if (!RegisterOk(id, "MuiRegisterIntVariable", multiplier == 0, {2, 3, 5, 6, 9, 10})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_INT;
  b->int_var = variable;
  b->int_mult = multiplier;
  return 1;
}

char MuiRegisterLongVariable(int id, int32_t* variable, int32_t multiplier) {
  if (!RegisterOk(id, "MuiRegisterLongVariable", multiplier == 0, {2, 3, 5, 9, 10})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_LONG;
  b->long_var = variable;
  b->long_mult = multiplier;
  return 1;
}

char MuiRegisterCharVariable(int id, char* variable) {
  if (!RegisterOk(id, "MuiRegisterCharVariable", false, {2, 5, 6, 9, 10})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_CHAR;
  b->char_var = variable;
  return 1;
}

char MuiRegisterFloatVariable(int id, float* variable, float multiplier) {
  if (!RegisterOk(id, "MuiRegisterFloatVariable", multiplier == 0.0f, {2, 3})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_FLOAT;
  b->float_var = variable;
  b->float_mult = multiplier;
  return 1;
}

char MuiRegisterTwoFloatVariables(int id, float* variable1, float* variable2, float multiplier) {
  if (!RegisterOk(id, "MuiRegisterTwoFloatVariables", multiplier == 0.0f, {4})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable1 || !variable2) return 1;
  b->registered_kind = MUI_VAR_TWO_FLOATS;
  b->float_var1 = variable1;
  b->float_var2 = variable2;
  b->float_mult = multiplier;
  return 1;
}

char MuiRegisterFloat3Variable(int id, _MuiFloat3* variable) {
  if (!RegisterOk(id, "MuiRegisterFloat3Variable", false, {13})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_FLOAT3;
  b->colour_var = variable;
  return 1;
}

char MuiRegisterAreaVariable(int id, _MuiArea* variable) {
  if (!RegisterOk(id, "MuiRegisterAreaVariable", false, {17})) return 0;
  _MouseBox* b = &mouse_box[id];
  ClearRegistration(b);
  if (!variable) return 1;
  b->registered_kind = MUI_VAR_AREA;
  b->area_var = variable;
  return 1;
}

void MuiCenterAllBoxes() {
  int min_x = 640, min_y = 480, max_x = 0, max_y = 0;
  for (int id = 0; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    if (!b->shown) continue;
    if (b->x1 < min_x) min_x = b->x1;
    if (b->y1 < min_y) min_y = b->y1;
    if (b->x2 > max_x) max_x = b->x2;
    if (b->y2 > max_y) max_y = b->y2;
  }
  const int dx = min_x + (max_x - min_x) / 2 - 320;
  const int dy = min_y + (max_y - min_y) / 2 - 240;
  for (int id = 0; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    PlaceBox(id, b->x1 - dx, b->y1 - dy, b->x2 - dx, b->y2 - dy);
  }
  MuiUpdate(-1);
}

void MuiMoveBoxesToCorner(int first_id, char right, char bottom) {
  if (right != 1 || bottom != 1) {
    DebugError("MuiMoveBoxesToCorner", "%d:%d not supported yet", right, bottom);
    return;
  }
  if (!MuiCheckId(first_id, "MuiMoveBoxesToCorner")) return;
  int max_x = 0, max_y = 0;
  bool any = false;
  for (int id = first_id; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    if (!b->shown) continue;
    any = true;
    if (b->x2 > max_x) max_x = b->x2;
    if (b->y2 > max_y) max_y = b->y2;
  }
  if (!any) return;
  const int dx = 640 - max_x, dy = 480 - max_y;
  for (int id = first_id; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    if (b->shown) PlaceBox(id, b->x1 + dx, b->y1 + dy, b->x2 + dx, b->y2 + dy);
  }
  MuiUpdate(-1);
}
