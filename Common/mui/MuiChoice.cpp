// The choice (box type 9): one of a few strings, cycled with arrows or chosen from a row of cells.
//
// Row mode draws one cell per entry across the box; the cell texts are drawn through the table's
// last row (499), a scratch copy of the box narrowed to one cell, so they go through the same
// text layout as any box.
#include "MuiChoice.h"

#include <cstdio>

#include "ComDebug.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiText.h"

_MuiChoice mui_choice[MUI_MAX_BOXES];

namespace {

// Entry i's text, cut to what a box text holds; "" when there is no source.
void EntryText(int id, int i, char* out) {
  const _MuiChoice* c = &mui_choice[id];
  const char* s = nullptr;
  if (i >= 0 && i < c->num) {
    if (c->fn)
      s = c->fn(i);
    else if (c->strings)
      s = c->strings[i];
  }
  snprintf(out, MUI_TEXT_LEN, "%s", s ? s : "");
}

bool HasSource(int id) { return mui_choice[id].fn || mui_choice[id].strings; }

// The width of one cell in row mode; logs and answers 0 when the box is narrower than its entries.
int CellWidth(int id, const char* func) {
  const int c = mouse_box[id].w / mui_choice[id].num;
  if (c < 1) {
    DebugError(func, "No Width (ID =  %d)", id);
    return 0;
  }
  return c;
}

void SetSource(int id, int num, char (*strings)[MUI_TEXT_LEN], char* (*fn)(int)) {
  _MuiChoice* c = &mui_choice[id];
  c->sel = 0;
  c->num = num;
  c->strings = strings;
  c->fn = fn;
  MuiChoiceUpdateArrows(id);
}

}  // namespace

void MuiChoiceReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_choice[id] = _MuiChoice{};
}

void MuiChoiceUseArrows(int id, char on) {
  if (!MuiIdValid(id)) return;
  const unsigned char v = on ? 1 : 0;
  if (mui_choice[id].use_arrows == v) return;
  mui_choice[id].use_arrows = v;
  if (v) mui_choice[id].text_slot = 0;
  MuiChoiceUpdateArrows(id);
  MuiUpdate(id);
}

char MuiChoiceIsUsingArrows(int id) {
  if (!MuiIdValid(id) && id != MUI_SCRATCH_BOX) return 0;
  if (mouse_box[id].type != MUI_TYPE_CHOICE) return 0;
  return (char)mui_choice[id].use_arrows;
}

// The arrows show only where there is a neighbour to go to. The box's own arrow kinds follow, so
// the arrows are placed where a press looks for them; in row mode both are 0, which also keeps a
// choice made with a callback out of the push-button path of a press.
void MuiChoiceUpdateArrows(int id) {
  if (!MuiIdValid(id)) return;
  _MouseBox* b = &mouse_box[id];
  const _MuiChoice* c = &mui_choice[id];
  char left = 0, right = 0;
  if (c->use_arrows && b->active && b->shown) {
    left = c->sel > 0;
    right = c->sel < c->num - 1;
  }
  MuiSetArrowKinds(id, left, right);
}

void MuiChoiceSetStrings(int id, int num, char (*strings)[MUI_TEXT_LEN]) {
  if (!MuiCheckId(id, "MuiChoiceSetStrings")) return;
  if (num < 1) {
    DebugError("MuiChoiceSetStrings", "invalid num %d (ID: %d)", num, id);
    return;
  }
  if (!strings) {
    DebugError("MuiChoiceSetStrings", "Null strings (ID: %d)", id);
    return;
  }
  SetSource(id, num, strings, nullptr);
}

void MuiChoiceSetValues(int id, int num, char* (*fn)(int index)) {
  if (!MuiCheckId(id, "MuiChoiceSetValues")) return;
  if (num < 1) {
    DebugError("MuiChoiceSetValues", "invalid num entries %d (ID: %d)", num, id);
    return;
  }
  if (!fn) {
    DebugError("MuiChoiceSetValues", "Null callback entry (ID: %d)", id);
    return;
  }
  SetSource(id, num, nullptr, fn);
}

void MuiChoiceSetSel(int id, int sel, char notify) {
  if (!MuiCheckId(id, "MuiChoiceSetSel")) return;
  _MuiChoice* c = &mui_choice[id];
  if (sel < 0 || sel >= c->num) {
    DebugError("MuiChoiceSetSel", "invalid sel : %d (id: %d, entries = %d)", sel, id, c->num);
    return;
  }
  c->sel = sel;
  if (c->use_arrows) {
    char text[MUI_TEXT_LEN];
    EntryText(id, sel, text);
    MuiDoSetText(id, c->text_slot, text);
    MuiChoiceUpdateArrows(id);
  }
  MuiUpdate(id);
  _MouseBox* b = &mouse_box[id];
  if (b->registered_kind == MUI_VAR_INT && b->int_var) *b->int_var = sel;
  if (b->registered_kind == MUI_VAR_CHAR && b->char_var) *b->char_var = (char)sel;
  if (notify && b->callback) b->callback((char)sel);
}

void MuiChoiceSetNumItems(int id, int num) {
  if (!MuiCheckId(id, "MuiChoiceSetNumItems")) return;
  mui_choice[id].num = num;
  MuiChoiceSetSel(id, mui_choice[id].sel, 0);
  MuiChoiceUpdateArrows(id);
}

int MuiChoiceGetSel(int id) { return MuiIdValid(id) ? mui_choice[id].sel : -1; }

char MuiChoiceRegisterCharVariable(int id, char* variable, char notify) {
  if (!MuiIdValid(id) || mouse_box[id].type != MUI_TYPE_CHOICE) return 0;
  if (!MuiRegisterCharVariable(id, variable)) return 0;
  // Read back as the write-back stores it.
  if (variable) MuiChoiceSetSel(id, (unsigned char)*variable, notify);
  return 1;
}

char MuiChoiceRegisterIntVariable(int id, int* variable, char notify) {
  if (!MuiIdValid(id) || mouse_box[id].type != MUI_TYPE_CHOICE) return 0;
  if (!MuiRegisterIntVariable(id, variable, 1)) return 0;
  if (variable) MuiChoiceSetSel(id, *variable, notify);
  return 1;
}

void MuiChoiceDraw(int id) {
  if (!MuiIdValid(id)) return;
  const _MuiChoice* c = &mui_choice[id];
  if (c->use_arrows) {
    MuiBitmapDrawButton(id);
    return;
  }
  if (c->num < 1) return;
  const int cw = CellWidth(id, "MuiChoiceDraw");
  if (!cw) return;
  const _MouseBox* b = &mouse_box[id];
  for (int i = 0; i < c->num; i++) {
    const char state = !b->active ? 3 : (i == c->sel ? 1 : 0);
    MuiBitmapPlaceOnBitmapsSurfaceWH(id, b->x1 + i * cw, b->y1, cw, b->h, state);
  }
}

void MuiChoiceDrawTexts(int id) {
  if (!MuiIdValid(id)) return;
  const _MuiChoice* c = &mui_choice[id];
  if (c->use_arrows) {
    MuiPrepareAndDrawText(id);
    return;
  }
  if (c->num < 1) return;
  const int cw = CellWidth(id, "MuiChoiceBoxesDrawTexts");
  if (!cw) return;
  _MouseBox* cell = &mouse_box[MUI_SCRATCH_BOX];
  *cell = mouse_box[id];
  const int x1 = cell->x1;
  cell->w = cw;
  cell->x2 = x1 + cw;
  MuiCalcBoxMargins(cell);
  MuiTextPrepareToDrawTexts(cell);
  for (int i = 0; i < c->num; i++) {
    cell->x1 = x1 + i * cw;
    cell->x2 = cell->x1 + cw;
    cell->cx = cell->x1 + cw / 2;
    cell->draw_type = i == c->sel ? MUI_TEXT_CENTRED_2 : MUI_TEXT_CENTRED;
    if (HasSource(id)) EntryText(id, i, cell->text[0]);
    MuiDrawText(MUI_SCRATCH_BOX);
  }
  MuiTextRestoreAfterDrawingTexts();
}

char MuiChoiceHandleMousePress(int id, int x, int y) {
  if (!MuiIdValid(id)) return 0;
  const _MuiChoice* c = &mui_choice[id];
  const _MouseBox* b = &mouse_box[id];
  if (!c->use_arrows) {
    if (c->num <= 0) {
      DebugError("MuiChoiceHandleMousePress", "Empty Choice List (ID =  %d)", id);
      return 0;
    }
    const int cw = CellWidth(id, "MuiChoiceHandleMousePress");
    if (!cw) return 0;
    int cell = (x - b->x1) / cw;
    if (cell > c->num - 1) cell = c->num - 1;
    if (cell < 0) cell = 0;
    const char already = cell == c->sel;
    MuiChoiceSetSel(id, cell, 1);
    return already;
  }
  if (c->num <= 0) return 0;
  // An arrow press answers 1 (used, with the press sound); a press beside the arrows, 0.
  const int aw = mui_std_dim.arrow_w, half = mui_std_dim.arrow_h / 2, m = b->arrow_margin;
  if (y < b->cy - half || y >= b->cy + half) return 0;
  int to = -1;
  if (b->left_arrow && x >= b->x1 && x < b->x1 + aw + m)
    to = c->sel - 1;
  else if (b->right_arrow && x >= b->x2 - aw - m && x < b->x2)
    to = c->sel + 1;
  else
    return 0;
  if (to < 0 || to >= c->num) return 0;
  MuiChoiceSetSel(id, to, 1);
  return 1;
}

char MuiChoiceHandleKeyPress(int id, char move) {
  if (!MuiIdValid(id) || move < 0 || move > MUI_MOVE_ENTER) return 0;
  const _MuiChoice* c = &mui_choice[id];
  switch (move) {
    case MUI_MOVE_UP:
    case MUI_MOVE_LEFT:
      if (c->sel > 0) MuiChoiceSetSel(id, c->sel - 1, 1);
      break;
    case MUI_MOVE_DOWN:
    case MUI_MOVE_RIGHT:
      if (c->sel < c->num - 1) MuiChoiceSetSel(id, c->sel + 1, 1);
      break;
    default:
      if (c->num > 0) MuiChoiceSetSel(id, c->sel + 1 < c->num ? c->sel + 1 : 0, 1);
      break;
  }
  return 1;
}
