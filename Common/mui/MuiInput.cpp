// The menu layer's input: the hit test, presses and releases (a push button fires on release over
// it), the press repeat of held arrows, drags by box type, double clicks, the wheel, keys and key
// moves, Tab order, the Escape box with its guard, and the tick.
//
// Callbacks run in the middle of these handlers and may build another screen (Back, Open, a popup
// chain). The table's generation counter tells a handler that this happened: it then stops, so
// the rest of its steps never act on the new screen's box that happens to have the same id.
#include "MuiInput.h"

#include <climits>
#include <cstdint>

#include "ComMacWinInput.h"
#include "ComMisc.h"
#include "ComMacWinTimer.h"
#include "ComScreen.h"
#include "Mui.h"
#include "MuiArea.h"
#include "MuiCheckbox.h"
#include "MuiChoice.h"
#include "MuiColour.h"
#include "MuiEntry.h"
#include "MuiHooks.h"
#include "MuiList.h"
#include "MuiMulti.h"
#include "MuiPanel.h"
#include "MuiPopup.h"
#include "MuiRange.h"
#include "MuiScrollbar.h"

int push_button_down = 0;
int next_escape_press_time = 0;

namespace {

struct PressRepeat {
  char down;
  void (*callback)(char);
  void (*callback2)(int, int);
  int arg;
  int arg2;
  unsigned int last;
};

PressRepeat mui_press_repeat = {};
char mui_button_over_sound_off = 0;

bool Qualifies(const _MouseBox* b) { return b->shown && b->active && b->tab_stop; }

int ToVirtual(int pixels, float ratio) {
  double v = (double)pixels / (double)ratio;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return (int)v;
}

void EndDrag() {
  if (!dragging) return;
  MuiScrollbarDraggingOver();
  MuiRangeDraggingOver();
  MuiColourDraggingOver();
  dragging = 0;
}

void LoseHighlight() {
  if (MuiIdValid(box_highlighted)) mouse_box[box_highlighted].highlighted = 0;
  box_highlighted = -1;
  MuiUpdate(-1);
}

// The arrow zone under the pointer: 0 left, 1 right, -1 none. The left zone wins.
int ArrowZone(const _MouseBox* b, int x, int y) {
  const int margin = b->type == MUI_TYPE_SCROLLBAR ? b->scrollbar_margin : b->arrow_margin;
  const int aw = mui_std_dim.arrow_w + margin;
  const int half = mui_std_dim.arrow_h / 2;
  if (y < b->cy - half || y >= b->cy + half) return -1;
  if (b->left_arrow && x >= b->x1 && x < b->x1 + aw) return 0;
  if (b->right_arrow && x >= b->x2 - aw && x < b->x2) return 1;
  return -1;
}

char PressDown() {
  if (!MuiIdValid(box_highlighted)) {
    MuiCalcBoxHighlighted(mouse_pos_x, mouse_pos_y);
    if (!MuiIdValid(box_highlighted)) return 0;
  }
  int id = box_highlighted;
  if (!Qualifies(&mouse_box[id])) {
    LoseHighlight();
    return 0;
  }
  const unsigned int gen = mui_box_generation;
  if (box_editing >= 0 && box_editing == id) {
    // Moves do not reach the hit test while an entry is edited: find what is under the pointer.
    const int entry = id;
    MuiCalcBoxHighlighted(mouse_pos_x, mouse_pos_y);
    const int hit = box_highlighted;
    if (MuiIdValid(hit) && hit != entry && Qualifies(&mouse_box[hit])) {
      MuiTextEntryTurnOffEditing(entry, 0);
      if (gen != mui_box_generation) return 1;
      id = hit;
    } else {
      if (MuiIdValid(hit)) mouse_box[hit].highlighted = 0;
      box_highlighted = entry;
      mouse_box[entry].highlighted = 1;
    }
  }
  _MouseBox* b = &mouse_box[id];
  if (b->type != MUI_TYPE_CHOICE) {
    b->pressed = 1;
    MuiUpdate(id);
  }
  if (b->left_arrow == 2) {
    push_button_down = id + 1;
    return 1;
  }
  const int x = mouse_pos_x, y = mouse_pos_y;
  const int zone = ArrowZone(b, x, y);
  switch (b->type) {
    case MUI_TYPE_BUTTON: {
      if (zone < 0) {
        b->pressed = 0;
        MuiUpdate(id);
        return 0;
      }
      void (*callback)(char) = b->callback;
      if (callback) callback((char)zone);
      if (gen != mui_box_generation) return 1;
      MuiPlaySoundId(b->left_arrow == 2 ? MUI_SOUND_PUSH_FIRED : MUI_SOUND_PRESS);
      if (callback && (b->left_arrow == 1 || b->right_arrow == 1))
        MuiSetPressRepeatDetails(callback, nullptr, zone, 0);
      return 1;
    }
    case MUI_TYPE_TEXT_ENTRY: MuiTextEntryHandleMousePress(id, x, y); break;
    case MUI_TYPE_SCROLLBAR:
      if (zone >= 0)
        MuiScrollbarHandleArrowPress(id, zone);
      else
        MuiScrollbarHandlePress(id, x);
      break;
    case MUI_TYPE_VSCROLLBAR:
      if (zone >= 0) {
        MuiVScrollbarHandleArrowPress(id, zone);
        return 1;
      }
      MuiVScrollbarHandlePress(id, y);
      break;
    case MUI_TYPE_RANGE: MuiRangeHandleMousePress(id, x); break;
    case MUI_TYPE_LIST: MuiListHandleMousePress(id, x, y); break;
    case MUI_TYPE_PANEL: MuiPanelHandleMousePress(id, x, y); break;
    case MUI_TYPE_SCRIPT: MuiScriptHandleMousePress(id, x, y); break;
    case MUI_TYPE_MULTISEL: MuiMultiselHandleMousePress(id, x, y); break;
    case MUI_TYPE_CHOICE:
      if (!MuiChoiceHandleMousePress(id, x, y)) return 1;
      break;
    case MUI_TYPE_CHECKBOX: MuiCheckboxHandleMousePress(id, x, y); break;
    case MUI_TYPE_COLOUR: MuiColourHandleMousePress(id, x, y); break;
    case MUI_TYPE_AREA: MuiAreaHandleMousePress(id, x, y); break;
    default: break;
  }
  if (gen != mui_box_generation) return 1;
  MuiPlaySoundId(MUI_SOUND_PRESS);
  return 1;
}

char PressUp() {
  if (push_button_down) {
    const int id = push_button_down - 1;
    // Cleared before the callback runs: a nested event pump inside it must not fire it twice.
    push_button_down = 0;
    if (MuiIdValid(id)) {
      _MouseBox* b = &mouse_box[id];
      if (b->type != MUI_TYPE_TEXT_ENTRY) b->pressed = 0;
      MuiUpdate(id);
      if (b->left_arrow == 2 && b->callback) {
        const unsigned int gen = mui_box_generation;
        MuiPlaySoundId(MUI_SOUND_PUSH_FIRED);
        b->callback(0);
        if (gen != mui_box_generation) return 1;
      }
    }
  } else if (MuiIdValid(box_highlighted) && box_highlighted != box_editing) {
    mouse_box[box_highlighted].pressed = 0;
    MuiUpdate(box_highlighted);
  }
  EndDrag();
  MuiClearPressRepeatDetails();
  return 1;
}

}  // namespace

void MuiDisableButtonOverSound() { mui_button_over_sound_off = 1; }

void MuiCalcBoxHighlighted(int x, int y) {
  const int old = box_highlighted;
  box_highlighted = -1;
  for (int id = num_mouse_boxes - 1; id >= 0; id--) {
    _MouseBox* b = &mouse_box[id];
    b->highlighted = 0;
    if (x < 0 || box_highlighted >= 0 || !Qualifies(b)) continue;
    if (x < b->x1 || x > b->x2 || y < b->y1 || y > b->y2) continue;
    if (!MuiPopupProcessButton(id)) continue;
    box_highlighted = id;
    b->highlighted = 1;
  }
  if (box_highlighted == old) return;
  if (MuiIdValid(old)) {
    mouse_box[old].pressed = 0;
    MuiUpdate(old);
  }
  push_button_down = 0;
  if (box_highlighted >= 0) {
    if (!mui_button_over_sound_off) MuiPlaySoundId(MUI_SOUND_HIGHLIGHT);
    MuiUpdate(box_highlighted);
  }
}

char MuiMove(int x, int y, char mode) {
  if (!mouseui_on || !mui_enabled) return 0;
  if (mode != 1) {
    if (mode == 2) ComWinGetCursorPos2(&x, &y);
    if (x_ratio > 0.0f && y_ratio > 0.0f) {
      mouse_pos_x = ToVirtual(x, x_ratio);
      mouse_pos_y = ToVirtual(y, y_ratio);
    }
  }
  x = mouse_pos_x;
  y = mouse_pos_y;
  if (dragging) {
    const int id = box_highlighted;
    // The dragged box was hidden (or the table changed): the drag is over.
    if (!MuiIdValid(id)) {
      EndDrag();
    } else {
      switch (mouse_box[id].type) {
        case MUI_TYPE_SCROLLBAR: MuiScrollbarHandleDragging(id, x); return 1;
        case MUI_TYPE_RANGE: MuiRangeHandleDragging(id, x); return 1;
        case MUI_TYPE_COLOUR: MuiColourHandleDragging(id, x); return 1;
        case MUI_TYPE_AREA: MuiAreaHandleDragging(id, x, y); return 1;
        case MUI_TYPE_VSCROLLBAR: MuiVScrollbarHandleDragging(id, y); return 1;
        case MUI_TYPE_PANEL: MuiPanelHandleDragging(id, y); return 1;
        case MUI_TYPE_SCRIPT: MuiScriptHandleDragging(id, y); return 1;
        case MUI_TYPE_MULTISEL: MuiMultiselHandleDragging(id, y); return 1;
        default: EndDrag(); break;
      }
    }
  }
  if (mui_list_open_id >= 0 && MuiListHandleMouseMove(x, y)) return 1;
  if (MuiTextEntryHandleMouseMove(x, y)) return 1;
  const int old = box_highlighted;
  MuiCalcBoxHighlighted(x, y);
  return box_highlighted != old;
}

char MuiPress(char button, char down) {
  if (button != 0 || !mouseui_on || !mui_enabled) return 0;
  return down ? PressDown() : PressUp();
}

char MuiDoubleClick(char button) {
  if (button != 0 || !mouseui_on || !mui_enabled) return 0;
  const int id = box_highlighted;
  if (!MuiIdValid(id)) return 0;
  if (!Qualifies(&mouse_box[id])) {
    LoseHighlight();
    return 0;
  }
  if (mouse_box[id].type == MUI_TYPE_PANEL) {
    const unsigned int gen = mui_box_generation;
    MuiPanelHandleDoubleClick(id);
    if (gen == mui_box_generation) MuiPlaySoundId(MUI_SOUND_PRESS);
    return 1;
  }
  MuiPress(0, 1);
  return 0;
}

char MuiProcessMouseWheel(int delta) {
  if (!mouseui_on) return 0;
  const int id = box_highlighted;
  if (!MuiIdValid(id)) return 0;
  if (mouse_box[id].type == MUI_TYPE_PANEL) return MuiPanelHandleMouseWheel(id, delta);
  if (mouse_box[id].type == MUI_TYPE_SCRIPT) return MuiScriptHandleMouseWheel(id, delta);
  return 0;
}

char MuiKeyDown(int key) {
  if (!mouseui_on || !mui_enabled || !mui_allow_keys) return 0;
  // The entry sees every key first: Return on a highlighted entry that is not being edited starts
  // its edit, which the key moves below would otherwise take as a press.
  if (MuiTextEntryHandleKeyDown(key)) return 1;
  switch (key) {
    case COM_KEY_TAB: MuiToNextButton(key_down[COM_KEY_SHIFT] == 2 ? -1 : 1); return 1;
    case COM_KEY_RETURN: MuiKeyMove(MUI_MOVE_ENTER); return 1;
    case COM_KEY_LEFT: MuiKeyMove(MUI_MOVE_LEFT); return 1;
    case COM_KEY_RIGHT: MuiKeyMove(MUI_MOVE_RIGHT); return 1;
    case COM_KEY_UP: MuiKeyMove(MUI_MOVE_UP); return 1;
    case COM_KEY_DOWN: MuiKeyMove(MUI_MOVE_DOWN); return 1;
    case COM_KEY_PAGE_UP: MuiKeyMove(MUI_MOVE_PAGE_UP); return 1;
    case COM_KEY_PAGE_DOWN: MuiKeyMove(MUI_MOVE_PAGE_DOWN); return 1;
    default: break;
  }
  if (key != COM_KEY_ESCAPE) return 0;
  if (MuiIdValid(box_highlighted) && mouse_box[box_highlighted].type == MUI_TYPE_LIST &&
      MuiListHandleEscape(box_highlighted))
    return 1;
  for (int id = 0; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    if (!b->shown || !b->active || !b->escape || b->left_arrow != 2) continue;
    if (!MuiPopupProcessButton(id)) continue;
    const unsigned int now = ComWinGetTickCount();
    if (ComMiscTicksSince(now, (uint32_t)next_escape_press_time) < 0) return 1;
    // The guard is set before the callback, so a longer one the callback sets is kept.
    next_escape_press_time = (int)(now + MUI_ESCAPE_GUARD_MS);
    if (b->callback) b->callback(0);
    return 1;
  }
  return 0;
}

char MuiKeyDownChar(char c) {
  if (!mouseui_on || !mui_enabled || !mui_allow_keys) return 0;
  return MuiTextEntryHandleKeyDownChar(c);
}

char MuiKeyUp(int key) {
  if (!mouseui_on || !mui_enabled || !mui_allow_keys) return 0;
  if (key == COM_KEY_ESCAPE) next_escape_press_time = (int)ComWinGetTickCount();
  return 0;
}

void MuiTick() {
  if (!mouseui_on) return;
  if (MuiPopupTick()) return;
  if (mui_enabled) {
    MuiListTick();
    mui_need_redraw = 0;
    full_update = 0;
    const unsigned int now = ComWinGetTickCount();
    if (mui_press_repeat.down && ComMiscTicksSince(now, mui_press_repeat.last) > MUI_PRESS_REPEAT_MS) {
      const PressRepeat r = mui_press_repeat;
      const unsigned int gen = mui_box_generation;
      mui_press_repeat.last = now;
      if (r.callback) {
        r.callback((char)r.arg);
        ComScreenUpdate();
        if (gen != mui_box_generation) return;
      }
      if (r.callback2) {
        r.callback2(r.arg, r.arg2);
        ComScreenUpdate();
        if (gen != mui_box_generation) return;
      }
    }
  }
  if (MuiIdValid(box_highlighted) && mouse_box[box_highlighted].type == MUI_TYPE_TEXT_ENTRY)
    MuiTextEntryTick(box_highlighted);
}

void MuiToNextButton(char step) {
  const int n = num_mouse_boxes;
  if (n <= 0) return;
  const int dir = step < 0 ? -1 : 1;
  int id = MuiIdValid(box_highlighted) ? (box_highlighted + dir + n) % n : 0;
  for (int i = 0; i < n; i++, id = (id + dir + n) % n) {
    _MouseBox* b = &mouse_box[id];
    if (Qualifies(b) && MuiPopupProcessButton(id)) {
      MuiSetCursorToCenterOfBox(b);
      return;
    }
  }
}

char MuiKeyMove(char move) {
  const int id = box_highlighted;
  if (!MuiIdValid(id)) return 0;
  _MouseBox* b = &mouse_box[id];
  switch (b->type) {
    case MUI_TYPE_SCROLLBAR: MuiScrollbarHandleKeyPress(id, move); return 1;
    case MUI_TYPE_VSCROLLBAR: MuiVScrollbarHandleKeyPress(id, move); return 1;
    case MUI_TYPE_RANGE: MuiRangeHandleKeyPress(id, move); return 1;
    case MUI_TYPE_LIST: MuiListHandleKeyPress(id, move); return 1;
    case MUI_TYPE_PANEL: MuiPanelHandleKeyPress(id, move); return 1;
    case MUI_TYPE_SCRIPT: MuiScriptHandleKeyPress(id, move); return 1;
    case MUI_TYPE_MULTISEL: MuiMultiselHandleKeyPress(id, move); return 1;
    case MUI_TYPE_CHOICE: MuiChoiceHandleKeyPress(id, move); return 1;
    case MUI_TYPE_CHECKBOX: MuiCheckboxHandleKeyPress(id, move); return 1;
    case MUI_TYPE_AREA: return 1;
    default: break;
  }
  if (!b->callback) return 1;
  if (move == MUI_MOVE_ENTER && b->left_arrow == 2)
    b->callback(0);
  else if (move == MUI_MOVE_LEFT && (b->left_arrow == 1 || b->left_arrow == 3))
    b->callback(0);
  else if (move == MUI_MOVE_RIGHT && (b->right_arrow == 1 || b->right_arrow == 3))
    b->callback(1);
  return 1;
}

void MuiSetEscapePressTime(char n) {
  next_escape_press_time = (int)(ComWinGetTickCount() + (unsigned int)(n * 500 + MUI_ESCAPE_GUARD_MS));
}

char MuiCanEscapeBePressed(char rearm, char n) {
  if (ComMiscTicksSince(ComWinGetTickCount(), (uint32_t)next_escape_press_time) < 0) return 0;
  if (rearm) MuiSetEscapePressTime(n);
  return 1;
}

void MuiSetPressRepeatDetails(void (*callback)(char), void (*callback2)(int, int), int arg, int arg2) {
  mui_press_repeat.down = 1;
  mui_press_repeat.callback = callback;
  mui_press_repeat.callback2 = callback2;
  mui_press_repeat.arg = arg;
  mui_press_repeat.arg2 = arg2;
  mui_press_repeat.last = ComWinGetTickCount();
}

void MuiClearPressRepeatDetails() { mui_press_repeat = PressRepeat{}; }
