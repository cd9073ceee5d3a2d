// Check boxes (box type 10). The value lives in a row per box id; a registered char, int or
// 32-bit long variable follows every change.
#include "MuiCheckbox.h"

#include "ComDebug.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiInput.h"

char mui_checkbox[MUI_MAX_BOXES];

void MuiCheckboxReset(int id) {
  if (id >= 0 && id < MUI_MAX_BOXES) mui_checkbox[id] = 0;
}

void MuiCheckboxSet(int id, char value, char notify) {
  // Only 0 and 1 are values; anything else would be stored and written to the variable as is.
  if (value != 0 && value != 1) {
    DebugError("MuiCheckboxSet", "Invalid check parameter: %d", (int)value);
    return;
  }
  if (!MuiCheckId(id, "MuiCheckboxSet")) return;
  _MouseBox* b = &mouse_box[id];
  b->type = MUI_TYPE_CHECKBOX;
  if (b->left_arrow || b->right_arrow) DebugError("MuiCheckboxSet", "Arrows must be 0");
  mui_checkbox[id] = value;
  MuiUpdate(id);
  switch (b->registered_kind) {
    case 1:
      if (b->int_var) *b->int_var = value;
      break;
    case 2:
      if (b->long_var) *b->long_var = value;
      break;
    case 3:
      if (b->char_var) *b->char_var = value;
      break;
  }
  // The mark follows before the callback runs: a callback may rebuild the table.
  MuiBitmapSetCheckbox(id, value);
  if (notify && b->callback) b->callback(value);
}

char MuiCheckboxGet(int id) {
  if (!MuiCheckId(id, "MuiCheckboxGet")) return 0;
  return mui_checkbox[id];
}

// Binds a variable to a check box and shows its value. Any non-zero value counts as on.
static char CheckboxRegister(const char* func, int id, void* variable, char kind, char notify) {
  if (!MuiCheckId(id, (char*)func)) return 0;
  if (mouse_box[id].type != MUI_TYPE_CHECKBOX) {
    DebugError(func, "ID: %d - Invalid type", id);
    return 0;
  }
  char value = 0;
  char ok;
  if (kind == 1) {
    ok = MuiRegisterIntVariable(id, (int*)variable, 1);
    if (variable) value = *(int*)variable != 0;
  } else {
    ok = MuiRegisterCharVariable(id, (char*)variable);
    if (variable) value = *(char*)variable != 0;
  }
  // A null variable only unregisters.
  if (!ok || !variable) return ok;
  MuiCheckboxSet(id, value, notify);
  return 1;
}

char MuiCheckboxRegisterIntVariable(int id, int* variable, char notify) {
  return CheckboxRegister("MuiCheckboxRegisterIntVariable", id, variable, 1, notify);
}

char MuiCheckboxRegisterCharVariable(int id, char* variable, char notify) {
  return CheckboxRegister("MuiCheckboxRegisterCharVariable", id, variable, 3, notify);
}

char MuiCheckboxHandleMousePress(int id, int x, int y) {
  (void)x;
  (void)y;
  if (!MuiCheckId(id, "MuiCheckboxHandleMousePress")) return 0;
  MuiCheckboxSet(id, mui_checkbox[id] ? 0 : 1, 1);
  return 1;
}

char MuiCheckboxHandleKeyPress(int id, char move) {
  if (move != MUI_MOVE_ENTER) return 0;
  if (!MuiCheckId(id, "MuiCheckboxHandleKeyPress")) return 0;
  MuiCheckboxSet(id, mui_checkbox[id] ? 0 : 1, 1);
  return 1;
}

void MuiCheckboxIncludeStandardButton(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* b = &mouse_box[id];
  const int on = mui_checkbox[id] ? 1 : 0;
  const int standard = b->active ? (on ? 10 : 11) : (on ? 12 : 13);
  const int cw = mui_std_dim.check_w, ch = mui_std_dim.check_h;
  int x;
  if (b->text[0][0])
    x = b->x2 - cw - b->checkbox_margin;
  else
    x = b->cx - cw / 2;
  MuiIncludeStandardBitmap(id, standard, x, b->cy - ch / 2);
}
