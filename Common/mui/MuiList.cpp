// The drop-down list (box type 5): a chosen entry shown in the box; a press opens the list of all
// entries over the screen, where the mouse and the keys choose.
//
// One list at most is open. While it is open its highlight may differ from the chosen entry: the
// application hears of every highlight move (0) so it can preview it, of a choice (1), and of a
// close without a choice after the highlight had moved (2) so it can undo the preview.
#include "MuiList.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "ComMisc.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiText.h"
#include "MuiTextures.h"

_MuiList mui_list[MUI_MAX_BOXES];
int mui_list_open_id = -1;
char mui_drawing_open_list = 0;

int list_open_orig_sel_pos = 0;
int list_open_sel_pos = 0;
int list_open_scroll_amount = 0;
int list_open_start_pos = -1;
int list_open_end_pos = -1;
char list_open_can_scroll_up = 0, list_open_can_scroll_down = 0;
int list_open_main_y = -1, list_open_main_h = 0;
int list_open_top_y = -1, list_open_top_h = 0;
int list_open_bottom_y = -1, list_open_bottom_h = 0;
int list_open_scroll_up_y = -1, list_open_scroll_up_h = 0;
int list_open_scroll_down_y = -1, list_open_scroll_down_h = 0;
int list_open_sel_y = -1;
int list_open_scroll_speed = 200;

namespace {

const int kScreenH = 480;          // the virtual screen's height
const int kScrollStartMs = 200;    // wait before auto-scrolling, and the first step's speed
const int kScrollStepMs = 30;      // each step comes this much sooner than the last...
const int kScrollFastestMs = 20;   // ...down to this

int last_scroll_time = 0;          // frame time of the last auto-scroll step
char in_here = 0;                  // a key handler inside a key handler must not reopen the list

bool IsList(int id, const char* func) {
  if (MuiIdValid(id) && mouse_box[id].type == MUI_TYPE_LIST) return true;
  DebugError(func, "button %d not a list", id);
  return false;
}

// Entry i of a list, from its callback (which wins) or its strings; null when there is none.
const char* Entry(int id, int i) {
  const _MuiList* l = &mui_list[id];
  if (i < 0 || i >= l->num) return nullptr;
  if (l->fn) return l->fn(i);
  if (l->strings) return l->strings[i];
  return nullptr;
}

void Notify(int id, char code) {
  if (MuiIdValid(id) && mouse_box[id].callback) mouse_box[id].callback(code);
}

void ClearLayout() {
  list_open_can_scroll_up = list_open_can_scroll_down = 0;
  list_open_main_y = list_open_top_y = list_open_bottom_y = -1;
  list_open_scroll_up_y = list_open_scroll_down_y = list_open_sel_y = -1;
  list_open_main_h = list_open_top_h = list_open_bottom_h = 0;
  list_open_scroll_up_h = list_open_scroll_down_h = 0;
}

// The open list when it names a box of the table; a stale id is forgotten.
int OpenId() {
  if (mui_list_open_id < 0) return -1;
  if (!MuiIdValid(mui_list_open_id)) {
    mui_list_open_id = -1;
    return -1;
  }
  return mui_list_open_id;
}

// Sets the entries' source: a string array or a callback, never both.
void SetSource(int id, int num, char (*strings)[MUI_TEXT_LEN], char* (*fn)(int)) {
  // A list whose entries change under it cannot stay open; nobody is told.
  if (mui_list_open_id >= 0) MuiListClose(0, 0);
  _MuiList* l = &mui_list[id];
  l->pos = 0;
  l->num = num;
  l->strings = strings;
  l->fn = fn;
  MuiSetArrowsState(id, 0, 0);
  const char* first = Entry(id, 0);
  MuiSetBothTexts(id, first ? first : "", "");
}

}  // namespace

// Only a reset of the open list's own row forgets the open list: a popup's new boxes must not close
// a list that is open elsewhere.
void MuiListReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_list[id] = _MuiList{};
  if (id == mui_list_open_id) mui_list_open_id = -1;
}

void MuiListSetStrings(int id, int num, char (*strings)[MUI_TEXT_LEN]) {
  if (!IsList(id, "MuiListSetStrings")) return;
  if (num < 1) {
    DebugError("MuiListSetStrings", "invalid num %d (ID: %d)", num, id);
    return;
  }
  if (!strings) {
    DebugError("MuiListSetStrings", "Null strings (ID: %d)", id);
    return;
  }
  SetSource(id, num, strings, nullptr);
}

void MuiListSetValues(int id, int num, char* (*fn)(int index)) {
  if (!IsList(id, "MuiListSetValues")) return;
  if (num < 1) {
    DebugError("MuiListSetValues", "invalid num entries %d (ID: %d)", num, id);
    return;
  }
  if (!fn) {
    DebugError("MuiListSetValues", "Null callback entry (ID: %d)", id);
    return;
  }
  SetSource(id, num, nullptr, fn);
}

void MuiListSetPos(int id, int pos) {
  if (!IsList(id, "MuiListSetPos")) return;
  _MuiList* l = &mui_list[id];
  if (pos < 0 || pos >= l->num) {
    DebugError("MuiListSetPos", "invalid pos : %d (id: %d, entries = %d)", pos, id, l->num);
    return;
  }
  l->pos = pos;
  const char* s = Entry(id, pos);
  MuiSetBothTexts(id, s ? s : "", "");
  MuiUpdate(id);
  _MouseBox* b = &mouse_box[id];
  if (b->registered_kind == MUI_VAR_INT && b->int_var) *b->int_var = pos;
  if (b->registered_kind == MUI_VAR_CHAR && b->char_var) *b->char_var = (char)pos;
}

int MuiListGetPos(int id) { return MuiIdValid(id) ? mui_list[id].pos : -1; }

char* MuiListGetString(int id) {
  if (!MuiIdValid(id)) return nullptr;
  return const_cast<char*>(Entry(id, mui_list[id].pos));
}

char MuiListSetPosToString(int id, const char* str) {
  if (!IsList(id, "MuiListSetPosToString") || !str) return 0;
  for (int i = 0; i < mui_list[id].num; i++) {
    const char* s = Entry(id, i);
    if (s && strcmp(s, str) == 0) {
      MuiListSetPos(id, i);
      return 1;
    }
  }
  return 0;
}

char MuiListRegisterIntVariable(int id, int* variable) {
  if (!IsList(id, "MuiListRegisterIntVariable")) return 0;
  if (!MuiRegisterIntVariable(id, variable, 1)) return 0;
  if (variable) MuiListSetPos(id, *variable);
  return 1;
}

char MuiListRegisterCharVariable(int id, char* variable) {
  if (!IsList(id, "MuiListRegisterCharVariable")) return 0;
  if (!MuiRegisterCharVariable(id, variable)) return 0;
  // Read back as the write-back stores it: position 200 round-trips through a char.
  if (variable) MuiListSetPos(id, (unsigned char)*variable);
  return 1;
}

void MuiListUpdateFromRegisteredVariable(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* b = &mouse_box[id];
  if (b->registered_kind == MUI_VAR_INT && b->int_var) MuiListSetPos(id, *b->int_var);
  if (b->registered_kind == MUI_VAR_CHAR && b->char_var) MuiListSetPos(id, (unsigned char)*b->char_var);
}

void MuiListRefresh(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* b = &mouse_box[id];
  if (b->registered_kind == MUI_VAR_INT && b->int_var) MuiListSetPos(id, *b->int_var);
}

int MuiListGetOpenId() { return mui_list_open_id; }

int MuiListGetOpenPos(int id) {
  return (id >= 0 && id == mui_list_open_id) ? list_open_sel_pos : -1;
}

void MuiListOpen(int id) {
  if (!IsList(id, "MuiListOpen")) return;
  mui_list_open_id = id;
  list_open_orig_sel_pos = list_open_sel_pos = mui_list[id].pos;
  list_open_start_pos = list_open_end_pos = -1;
  list_open_scroll_amount = 0;
  list_open_scroll_speed = kScrollStartMs;
  // The state is complete before the pointer moves: the warp's move reaches the open list.
  MuiSetCursorToCenterOfBox(&mouse_box[id]);
  if (mui_list_open_id != id) return;
  MuiListCalcOpenListVariables();
  MuiUpdate(id);
}

void MuiListClose(char choose, char notify) {
  const int id = OpenId();
  if (id < 0) return;
  if (choose) {
    MuiListSetPos(id, list_open_sel_pos);
    mui_list_open_id = -1;
    mouse_box[id].pressed = 0;
    MuiUpdate(-1);
    if (notify) Notify(id, 1);
    return;
  }
  const bool moved = mui_list[id].pos != list_open_sel_pos;
  mui_list_open_id = -1;
  mouse_box[id].pressed = 0;
  MuiUpdate(-1);
  if (notify && moved) Notify(id, 2);
}

char MuiListCalcOpenListVariables() {
  ClearLayout();
  const int id = OpenId();
  if (id < 0) return 0;
  const _MouseBox* b = &mouse_box[id];
  const int n = mui_list[id].num;
  if (n <= 0) {
    MuiListClose(0, 1);
    return 0;
  }
  if (b->type != MUI_TYPE_LIST) {
    DebugError("MuiListCalcOpenListVariables", "Open List ID %d is not a list", id);
    return 0;
  }
  const int h = b->h, y = b->y1;
  if (h < 1) return 0;
  int above = y / h;
  const int below = (kScreenH - y - h) / h + 1;
  const int k = list_open_orig_sel_pos + list_open_scroll_amount;  // the entry in the box's row
  int start = k - above;
  if (start < 0) {
    above = k;
    start = 0;
  }
  const int count = n < k + below ? n - k : below;
  int end = k + count;
  list_open_can_scroll_up = start > 0;
  list_open_can_scroll_down = end < n;
  if (end > n) DebugError("MuiListCalcOpenListVariables", "Internal Error 2");
  list_open_main_y = y - above * h;
  list_open_main_h = (end - start) * h;
  if (list_open_main_y < 0) {
    list_open_main_h += list_open_main_y;
    list_open_main_y = 0;
  }
  const int cap = h / 2;
  if (!list_open_can_scroll_up) {
    list_open_top_h = cap;
    list_open_top_y = list_open_main_y - cap / 2 > 0 ? list_open_main_y - cap / 2 : 0;
  }
  if (!list_open_can_scroll_down) {
    list_open_bottom_h = cap;
    const int bottom = list_open_main_y + list_open_main_h - cap / 2;
    list_open_bottom_y = bottom < kScreenH - cap ? bottom : kScreenH - cap;
  }
  if (list_open_sel_pos >= start && list_open_sel_pos < end)
    list_open_sel_y = y + (list_open_sel_pos - list_open_orig_sel_pos - list_open_scroll_amount) * h;
  if (list_open_can_scroll_up) {
    list_open_scroll_up_y = list_open_main_y;
    list_open_scroll_up_h = h;
    list_open_main_y += h;
    list_open_main_h -= h;
    start++;
  }
  list_open_start_pos = start;
  list_open_end_pos = end;
  if (start >= n) {
    MuiListClose(0, 1);
    return 0;
  }
  if (list_open_can_scroll_down) {
    list_open_scroll_down_y = list_open_main_y + list_open_main_h - h;
    list_open_scroll_down_h = h;
    list_open_main_h -= h;
    end--;
    list_open_end_pos = end;
    if (end <= 0) {
      MuiListClose(0, 1);
      return 0;
    }
  }
  return 1;
}

void MuiListTick() {
  if (OpenId() < 0 || !MuiListCalcOpenListVariables()) return;
  int dir = 0;
  if (list_open_can_scroll_up && list_open_sel_pos == list_open_start_pos - 1)
    dir = -1;
  else if (list_open_can_scroll_down && list_open_sel_pos == list_open_end_pos)
    dir = 1;
  if (!dir) {
    list_open_scroll_speed = kScrollStartMs;
    return;
  }
  const int now = n3d_current_time;
  // "The last step plus the speed is not after now."
  if (ComMiscTicksSince((uint32_t)now, (uint32_t)last_scroll_time + (uint32_t)list_open_scroll_speed) < 0) return;
  last_scroll_time = now;
  list_open_scroll_speed -= kScrollStepMs;
  if (list_open_scroll_speed < kScrollFastestMs) list_open_scroll_speed = kScrollFastestMs;
  list_open_scroll_amount += dir;
  const unsigned int gen = mui_box_generation;
  MuiListSelectNewOpenPos(list_open_sel_pos + dir);
  if (gen != mui_box_generation) return;
  MuiPlaySoundId(MUI_SOUND_ITEM);
  MuiListCalcOpenListVariables();
}

char MuiListSelectNewOpenPos(int index) {
  const int id = OpenId();
  if (id < 0) return 0;
  const int n = mui_list[id].num;
  if (index > n - 1) index = n - 1;
  if (index < 0) index = 0;
  if (index == list_open_sel_pos) return 0;
  list_open_sel_pos = index;
  MuiUpdate(id);
  Notify(id, 0);
  return 1;
}

// Keys move the highlight one row at a time, onto the scroll rows too, so that holding it there
// scrolls as the mouse does.
void MuiListTraverse(int delta) {
  if (OpenId() < 0 || !MuiListCalcOpenListVariables()) return;
  int target = list_open_sel_pos + delta;
  if (target > list_open_end_pos) target = list_open_end_pos;
  if (target < list_open_start_pos - 1) target = list_open_start_pos - 1;
  MuiListSelectNewOpenPos(target);
}

// Answers 1 while the open list keeps the move, so the hit test does not take the highlight away
// from the list box and the next press still reaches the open list. A move that closes the list
// answers 0: the hit test then finds what is under the pointer.
char MuiListHandleMouseMove(int x, int y) {
  const int id = OpenId();
  if (id < 0) return 0;
  const _MouseBox* b = &mouse_box[id];
  // An open id that names no list box is no open list to act on (as in the layout).
  if (b->type != MUI_TYPE_LIST) return 0;
  if (x < b->x1 || x > b->x2) {
    MuiListClose(0, 1);
    return 0;
  }
  if (b->h < 1) return 1;
  const float r = (float)(y - b->cy) / (float)b->h + (float)(list_open_orig_sel_pos + list_open_scroll_amount);
  int row = (int)r;  // toward zero
  if (r - (float)row >= 0.5f) row++;
  const unsigned int gen = mui_box_generation;
  if (MuiListSelectNewOpenPos(row) && gen == mui_box_generation) MuiPlaySoundId(MUI_SOUND_ITEM);
  return 1;
}

char MuiListHandleMousePress(int id, int x, int y) {
  if (mui_list_open_id < 0) {
    MuiListOpen(id);
    return 1;
  }
  if (mui_list_open_id >= num_mouse_boxes) {
    DebugError("MuiListHandleMousePress", "Invalid open list: &d (num_boxes = %d)", num_mouse_boxes);
    mui_list_open_id = -1;
    return 1;
  }
  // Judged against the open list, whichever list box took the press.
  if (!MuiListCalcOpenListVariables()) return 1;
  const _MouseBox* b = &mouse_box[mui_list_open_id];
  const bool on_rows = x >= b->x1 && x <= b->x2 && y >= list_open_main_y &&
                       y <= list_open_main_y + list_open_main_h;
  MuiListClose(on_rows ? 1 : 0, 1);
  return 1;
}

char MuiListHandleKeyPress(int id, char move) {
  if (in_here) return 0;
  if (id != mui_list_open_id) {
    if (mui_list_open_id >= 0) {
      MuiListClose(0, 1);
      return 1;
    }
    if (!IsList(id, "MuiListHandleKeyPress")) return 0;
    if (move == MUI_MOVE_ENTER) {
      MuiListOpen(id);
      return 1;
    }
    if (move != MUI_MOVE_UP && move != MUI_MOVE_DOWN) return 0;
    // Up and down step a closed list by one entry: open, move, choose at once.
    in_here = 1;
    const unsigned int gen = mui_box_generation;
    MuiListOpen(id);
    if (gen == mui_box_generation) MuiListTraverse(move == MUI_MOVE_UP ? -1 : 1);
    if (gen == mui_box_generation) MuiListClose(1, 1);
    in_here = 0;
    return 1;
  }
  switch (move) {
    case MUI_MOVE_DOWN: MuiListTraverse(1); return 1;
    case MUI_MOVE_UP: MuiListTraverse(-1); return 1;
    case MUI_MOVE_ENTER: MuiListClose(1, 1); return 1;
    default: return 0;
  }
}

char MuiListHandleEscape(int id) {
  if (id < 0 || id != mui_list_open_id) return 0;
  MuiListClose(0, 1);
  return 1;
}

void MuiListIncludeStandardButton(int id) {
  if (!MuiIdValid(id)) return;
  if (id == mui_list_open_id) {
    // The open list covers its own box: its button is not drawn.
    mui_bitmap[id].std_include[MUI_STD_LIST_BUTTON] = 0;
    MuiBitmapCalcNumStandards(id);
    return;
  }
  const _MouseBox* b = &mouse_box[id];
  MuiIncludeStandardBitmap(id, MUI_STD_LIST_BUTTON, b->x2 - mui_std_dim.list_button_w - b->list_margin,
                           b->cy - mui_std_dim.list_button_h / 2);
}

void MuiListDrawExtra(char backs, char texts) {
  if (OpenId() < 0 || !MuiListCalcOpenListVariables()) return;
  const int id = mui_list_open_id;
  _MouseBox* b = &mouse_box[id];
  const int x = b->x1, w = b->w, h = b->h;
  mui_drawing_open_list = 1;
  if (backs) {
    // The backs and the scroll rows are drawn without blending, as the panel's back is: the open
    // list hides the boxes beneath it whatever the standard blending adds. Only the selection bar
    // is laid over the back with it.
    ComGlMiscDisableBlending();
    if (list_open_main_y >= 0 && list_open_main_h > 0)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_BACK_MAIN, x, list_open_main_y, w, list_open_main_h, 0);
    if (list_open_top_y >= 0)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_BACK_TOP, x, list_open_top_y, w, list_open_top_h, 0);
    if (list_open_bottom_y >= 0)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_BACK_BOTTOM, x, list_open_bottom_y, w, list_open_bottom_h, 0);
    if (list_open_can_scroll_up)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_SCROLL_UP, x, 0, w, list_open_scroll_up_y + list_open_scroll_up_h, 0);
    if (list_open_can_scroll_down)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_SCROLL_DOWN, x, list_open_scroll_down_y, w,
                                  kScreenH - list_open_scroll_down_y, 0);
    if (list_open_sel_y >= 0 && list_open_sel_pos >= list_open_start_pos - 1 &&
        list_open_sel_pos < list_open_end_pos + 1)
      MuiBitmapDrawStandardButton(MUI_STD_LIST_SEL, x, list_open_sel_y, w, h, 1);
  }
  if (texts) {
    MuiTextPrepareToDrawTexts(b);
    // The rows' texts keep the margins of the closed list's text, and its place.
    int left = b->x1, right = b->x2;
    MuiGetButtonTextXLimits(id, &left, &right);
    for (int i = list_open_start_pos; i < list_open_end_pos; i++) {
      const char* s = Entry(id, i);
      if (!s) continue;
      const int y = b->cy + (i - list_open_orig_sel_pos - list_open_scroll_amount) * h;
      MuiDrawTextStringInt(left, y, right, y, b->col0[0], b->col0[1], b->col0[2], b->draw_type, 0, s);
    }
    MuiTextRestoreAfterDrawingTexts();
  }
  mui_drawing_open_list = 0;
}
