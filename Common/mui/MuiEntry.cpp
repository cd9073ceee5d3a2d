// Text entry boxes (box type 1). One box at a time is edited: its text is copied into the row's
// edit buffer, typed characters go in at the cursor, and text 0 shows the buffer with a blinking
// cursor character until Enter, Escape or a press ends the edit.
#include "MuiEntry.h"

#include <cstring>

#include "ComDebug.h"
#include "ComMacWinTimer.h"
#include "ComMisc.h"
#include "Mui.h"
#include "MuiBox.h"
#include "MuiInput.h"
#include "MuiPopup.h"

namespace {

struct TextEntryRow {
  char editing;
  char buffer[MTE_MAX_LENGTH + 1];
  int cursor;
  int max_length;  // 0 counts as MTE_MAX_LENGTH
  char number_only;
  void (*start_cb)();
  char (*string_var)[512];
  int string_size;  // bytes of the registered string the caller vouched for
};

const int kBlinkMs = 300;

}  // namespace

static TextEntryRow mui_text_entry[MUI_MAX_BOXES];
int box_editing = -1;
static int mte_cursor_on = 0;
static unsigned int last_time = 0;

static int EffectiveMax(const TextEntryRow& r) { return r.max_length > 0 ? r.max_length : MTE_MAX_LENGTH; }

// The length of s within n bytes.
static int BoundedLen(const char* s, int n) {
  int i = 0;
  while (i < n && s[i]) i++;
  return i;
}

// Copies at most max characters of src into dst (which has room for max + 1).
static void CopyCut(char* dst, const char* src, int max) {
  const int n = BoundedLen(src, max);
  memcpy(dst, src, (size_t)n);
  dst[n] = 0;
}

void MuiTextEntryReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  memset(&mui_text_entry[id], 0, sizeof(mui_text_entry[id]));
  mui_text_entry[id].max_length = MTE_MAX_LENGTH;
  // A new box at the id being edited ends that edit: its keys must not reach the new box.
  if (box_editing == id) box_editing = -1;
  mte_cursor_on = 0;
}

void MuiTextEntrySetText(int id, const char* text) {
  if (!text || !MuiIdValid(id)) return;
  TextEntryRow& r = mui_text_entry[id];
  const int max = EffectiveMax(r);
  // The box's own registered string is kept equal to the box; any other string is only read.
  if (r.string_var && text == *r.string_var) {
    const int room = r.string_size - 1 < max ? r.string_size - 1 : max;
    if (BoundedLen(text, room + 1) > room) (*r.string_var)[room] = 0;
  }
  if (r.cursor > max - 1) r.cursor = max - 1;
  if (r.cursor < 0) r.cursor = 0;
  char cut[MTE_MAX_LENGTH + 1];
  CopyCut(cut, text, max);
  MuiSetBothTexts(id, cut, "");
  const _MouseBox* b = &mouse_box[id];
  if (b->left_arrow || b->right_arrow)
    DebugError("MuiTextEntrySetText", "Text entry boxes should not have arrows turned on");
}

char* MuiTextEntryGetText(int id) {
  if (!MuiIdValid(id)) return nullptr;
  if (mui_text_entry[id].editing && box_editing == id) return mui_text_entry[id].buffer;
  return mouse_box[id].text[0];
}

char MuiTextEntryGetText2(int id, char* dst, int size) {
  if (!dst) return 0;
  if (size > 0) dst[0] = 0;
  if (!MuiIdValid(id)) return 0;
  // The text may be as long as the maximum length, and the terminator needs its byte too.
  const int max = EffectiveMax(mui_text_entry[id]);
  if (size <= max) return 0;
  CopyCut(dst, MuiTextEntryGetText(id), max);
  return 1;
}

void MuiTextEntrySetLength(int id, int length) {
  if (!MuiIdValid(id)) return;
  if (length > MTE_MAX_LENGTH) {
    DebugError("MuiTextEntrySetLength", "Length too long: %d (ID: %d)", length, id);
    length = MTE_MAX_LENGTH;
  }
  if (length < 0) length = 0;
  mui_text_entry[id].max_length = length;
}

void MuiTextEntrySetNumberOnly(int id, char on) {
  if (MuiIdValid(id)) mui_text_entry[id].number_only = on;
}

void MuiTextEntryRegisterStringVariable(int id, char (*variable)[512], int size) {
  if (!variable || !MuiIdValid(id)) return;
  if (size < 1) {
    DebugError("MuiTextEntryRegisterStringVariable", "Invalid size: %d (ID: %d)", size, id);
    return;
  }
  if (size > 512) size = 512;
  TextEntryRow& r = mui_text_entry[id];
  r.string_var = variable;
  r.string_size = size;
  MuiTextEntrySetLength(id, size - 1);
  MuiTextEntrySetText(id, *variable);
}

void MuiTextEntrySetStartEditingCB(int id, void (*fn)()) {
  if (MuiIdValid(id)) mui_text_entry[id].start_cb = fn;
}

void MuiTextEntryTurnOnEditing(int id) {
  if (!MuiIdValid(id)) return;
  if (box_editing >= 0 && box_editing != id) MuiTextEntryStopEditing();
  TextEntryRow& r = mui_text_entry[id];
  if (r.start_cb) r.start_cb();
  if (!MuiIdValid(id)) return;  // the callback emptied the table
  r.editing = 1;
  CopyCut(r.buffer, mouse_box[id].text[0], EffectiveMax(r));
  r.cursor = (int)strlen(r.buffer);
  box_editing = id;
  // The blink starts afresh, so the first tick of this edit shows the cursor.
  mte_cursor_on = 0;
  last_time = ComWinGetTickCount() - kBlinkMs;
  MuiUpdate(id);
}

// Steps 1 to 4 of ending an edit: the text goes back into the box and the registered string.
static void EndEdit(int id) {
  TextEntryRow& r = mui_text_entry[id];
  r.buffer[EffectiveMax(r)] = 0;
  MuiSetBothTexts(id, r.buffer, "");
  r.editing = 0;
  r.cursor = 0;
  mouse_box[id].pressed = 0;
  box_editing = -1;
  if (r.string_var && r.string_size > 0) CopyCut(*r.string_var, r.buffer, r.string_size - 1);
  MuiUpdate(id);
}

void MuiTextEntryTurnOffEditing(int id, char accepted) {
  if (!MuiIdValid(id) || !mui_text_entry[id].editing) return;
  EndEdit(id);
  void (*cb)(char) = mouse_box[id].callback;
  if (cb) cb(accepted);
}

void MuiTextEntryStopEditing() {
  const int id = box_editing;
  box_editing = -1;
  if (id < 0 || id >= MUI_MAX_BOXES || !mui_text_entry[id].editing) return;
  EndEdit(id);
}

void MuiTextEntryUpdateCursor() {
  const int id = box_editing;
  if (!MuiIdValid(id) || !mui_text_entry[id].editing) return;
  const TextEntryRow& r = mui_text_entry[id];
  // Room for every character of the buffer, the cursor and the terminator.
  char shown[MTE_MAX_LENGTH + 2];
  const int len = (int)strlen(r.buffer);
  const int at = r.cursor < 0 ? 0 : (r.cursor > len ? len : r.cursor);
  memcpy(shown, r.buffer, (size_t)at);
  shown[at] = mte_cursor_on ? '_' : ' ';
  memcpy(shown + at + 1, r.buffer + at, (size_t)(len - at));
  shown[len + 1] = 0;
  MuiSetBothTexts(id, shown, "");
}

char MuiTextEntryTick(int id) {
  if (!MuiIdValid(id)) return 0;
  if (!mui_text_entry[id].editing || box_editing != id) {
    if (mte_cursor_on) {
      mte_cursor_on = 0;
      MuiUpdate(id);
    }
    return 0;
  }
  if (!mouse_box[id].pressed) {
    mouse_box[id].pressed = 1;
    MuiUpdate(id);
  }
  const unsigned int now = ComWinGetTickCount();
  if (ComMiscTicksSince(now, last_time) >= kBlinkMs) {
    mte_cursor_on = !mte_cursor_on;
    MuiTextEntryUpdateCursor();
    last_time = now;
  }
  return 1;
}

char MuiTextEntryHandleMousePress(int id, int x, int y) {
  (void)x;
  (void)y;
  if (!MuiIdValid(id)) return 0;
  if (mui_text_entry[id].editing && box_editing == id)
    MuiTextEntryTurnOffEditing(id, 0);
  else
    MuiTextEntryTurnOnEditing(id);
  MuiMove(0, 0, 1);
  return 1;
}

char MuiTextEntryHandleMouseMove(int x, int y) {
  (void)x;
  (void)y;
  return box_editing >= 0 && box_editing == box_highlighted ? 1 : 0;
}

static TextEntryRow* EditedRow() {
  if (!MuiIdValid(box_editing) || !mui_text_entry[box_editing].editing) return nullptr;
  return &mui_text_entry[box_editing];
}

char MuiTextEntryHandleKeyDownChar(char c) {
  TextEntryRow* r = EditedRow();
  if (!r) return 0;
  // Bytes are compared unsigned: Latin-1 letters (128-255) arrive as negative chars.
  const unsigned char uc = (unsigned char)c;
  if (uc < 32 || uc == 127) return 0;
  MuiPlaySoundId(3);
  const int len = (int)strlen(r->buffer);
  if (len >= EffectiveMax(*r)) return 1;
  if (r->number_only && (uc < '0' || uc > '9')) return 0;
  int at = r->cursor < 0 ? 0 : (r->cursor > len ? len : r->cursor);
  memmove(r->buffer + at + 1, r->buffer + at, (size_t)(len - at + 1));
  r->buffer[at] = (char)uc;
  r->cursor = at + 1;
  MuiTextEntryUpdateCursor();
  return 1;
}

char MuiTextEntryHandleKeyDown(int code) {
  TextEntryRow* r = EditedRow();
  if (!r) {
    if (code == 13 && box_highlighted >= 0 && box_highlighted < num_mouse_boxes &&
        mouse_box[box_highlighted].type == MUI_TYPE_TEXT_ENTRY) {
      MuiTextEntryTurnOnEditing(box_highlighted);
      return 1;
    }
    return 0;
  }
  const int id = box_editing;
  const int len = (int)strlen(r->buffer);
  switch (code) {
    case 8:
      if (r->cursor >= 0 && r->cursor < len) {
        memmove(r->buffer + r->cursor, r->buffer + r->cursor + 1, (size_t)(len - r->cursor));
        MuiPlaySoundId(3);
        MuiTextEntryUpdateCursor();
      }
      return 1;
    case 127:
      if (r->cursor > 0 && r->cursor <= len) {
        memmove(r->buffer + r->cursor - 1, r->buffer + r->cursor, (size_t)(len - r->cursor + 1));
        r->cursor--;
        MuiPlaySoundId(3);
        MuiTextEntryUpdateCursor();
      }
      return 1;
    case 13:
      MuiTextEntryTurnOffEditing(id, 1);
      return 1;
    case 27:
      MuiTextEntryTurnOffEditing(id, 0);
      // In the text popup Escape cancels the popup, not only the edit.
      if (MuiPopupIsOn() && id == muiMuiPopupGetText) MuiPopupFinished(MUI_POPUP_CANCEL);
      return 1;
    case 244:
      if (r->cursor > 0) r->cursor--;
      MuiTextEntryUpdateCursor();
      MuiPlaySoundId(3);
      return 1;
    case 245:
      if (r->cursor < len) r->cursor++;
      MuiTextEntryUpdateCursor();
      MuiPlaySoundId(3);
      return 1;
    case 246:
    case 247:
      return 1;
  }
  return 0;
}

int MuiTextEntryGetEditingBox() { return box_editing; }
char MuiIsEditingText() { return box_editing >= 0 ? 1 : 0; }
