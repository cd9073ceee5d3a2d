// The panel (box type 6): a page of rows from a list of strings or a fill callback, one selected,
// with a side bar when the entries do not fit; a double click or Enter confirms.
#include "MuiPanel.h"

#include <cstdint>
#include <cstring>

#include "ComDebug.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiScrollbar.h"
#include "MuiText.h"

_MuiPanel mui_panel[MUI_MAX_BOXES];
unsigned char mui_highlight_texts{};

namespace {

// Standard textures of the side bar.
constexpr int kPanelBackTexture = 17;
constexpr int kPanelBarTexture = 18;

char mp_empty[1];

// The panel a press last landed on, and whether its entries were listed anew since: the press's
// own callback may put other entries in their place (a file selector opening a folder).
int mp_pressed_id = -1;
bool mp_listed_since_press = false;

bool IsPanel(int id) { return MuiIdValid(id) && mouse_box[id].type == MUI_TYPE_PANEL; }

// Entry i's text, "" outside the entries or without a source; the callback wins over strings.
const char* Entry(int id, int i) {
  const _MuiPanel& p = mui_panel[id];
  if (i < 0 || i >= p.num) return "";
  if (p.fn) {
    const char* s = p.fn(i);
    return s ? s : "";
  }
  return p.strings ? p.strings[i] : "";
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The display position after a change, kept on a full last page and never negative.
int ClampDisplay(const _MuiPanel& p, int display) {
  if (display > p.num - p.num_per_page) display = p.num - p.num_per_page;
  return display < 0 ? 0 : display;
}

// Which row of the page a y inside the box falls on. The box's bottom edge and a strip left
// below the last whole row belong to the last row, never to the entry below the page.
int RowAt(const _MuiPanel& p, const _MouseBox& b, int y, int r) {
  int row = (y - b.y1) / r;
  return Clamp(row, 0, p.num_per_page - 1);
}

// Sets the page size or refuses; false when the set-up must stop.
bool CheckPageSize(int id, int num_per_page, const char* func) {
  if (num_per_page >= 1) return true;
  mui_panel[id].num_per_page = 1;
  DebugError(func, "invalid num_per_page %d (ID: %d)", num_per_page, id);
  return false;
}

void StartList(int id, int num, int num_per_page) {
  if (id == mp_pressed_id) mp_listed_since_press = true;
  _MuiPanel& p = mui_panel[id];
  p.pos = 0;
  p.num = num;
  p.num_per_page = num_per_page;
  p.display_pos = 0;
  MuiSetArrowKinds(id, 0, 0);
  MuiSetText(id, Entry(id, 0));
}

}  // namespace

// ---- The side bar's thumb, shared with the multi-selection list ----

int MuiSideBarThumbY(const _SideBarInfo* info, int display, int num, int num_per_page) {
  const int64_t steps = (int64_t)num - num_per_page;
  const int64_t room = (int64_t)info->track_len - info->thumb_h;
  if (steps <= 0 || room <= 0) return info->track_top;
  const int64_t d = Clamp(display, 0, (int)steps);
  return (int)(info->track_top + d * room / steps);
}

int MuiSideBarDisplayFromThumbY(const _SideBarInfo* info, int y, int display, int num, int num_per_page) {
  const int steps = num - num_per_page;
  if (steps <= 0 || (int64_t)info->track_len - info->thumb_h <= 0) return 0;
  // Where the thumb's top would be with its centre at y. The thumb where it is drawn now keeps
  // the display: starting a drag never moves the list.
  const int top = y - info->thumb_h / 2;
  auto at = [&](int d) { return MuiSideBarThumbY(info, d, num, num_per_page); };
  if (top == at(display)) return Clamp(display, 0, steps);
  // The display whose thumb lies nearest: the last one at or above top, or the one after it.
  int d = 0, hi = steps;
  while (d < hi) {
    const int mid = d + (hi - d + 1) / 2;
    if (at(mid) <= top) d = mid;
    else hi = mid - 1;
  }
  if (d < steps && at(d + 1) - top < top - at(d)) d++;
  return d;
}

// ---- Set-up ----

void MuiPanelReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_panel[id] = _MuiPanel{};
  mui_panel[id].num_per_page = 10;
  mui_panel[id].show_sel = 1;
}

void MuiPanelSetStrings(int id, int num, int num_per_page, char (*strings)[MUI_TEXT_LEN]) {
  if (!MuiIdValid(id)) return;
  if (num < 1) {
    DebugError("MuiPanelSetStrings", "invalid num entries %d (ID: %d)", num, id);
    return;
  }
  if (!CheckPageSize(id, num_per_page, "MuiPanelSetStrings")) return;
  if (!strings) {
    DebugError("MuiPanelSetStrings", "Null strings (ID: %d)", id);
    return;
  }
  mui_panel[id].strings = strings;
  mui_panel[id].fn = nullptr;
  StartList(id, num, num_per_page);
}

void MuiPanelSetValues(int id, int num, int num_per_page, char* (*fn)(int index)) {
  if (!MuiIdValid(id)) return;
  if (num < 0) {
    DebugError("MuiPanelSetValues", "invalid num entries %d (ID: %d)", num, id);
    return;
  }
  if (!CheckPageSize(id, num_per_page, "MuiPanelSetValues")) return;
  if (!fn) {
    DebugError("MuiPanelSetValues", "Null callback entry (ID: %d)", id);
    return;
  }
  mui_panel[id].fn = fn;
  StartList(id, num, num_per_page);
}

void MuiPanelSetPos(int id, int pos, char notify) {
  if (!MuiIdValid(id)) return;
  _MuiPanel& p = mui_panel[id];
  if (p.num < 1) return;
  pos = Clamp(pos, 0, p.num - 1);
  p.pos = pos;
  MuiSetText(id, Entry(id, pos));
  if (pos < p.display_pos) p.display_pos = pos;
  else if (pos >= p.display_pos + p.num_per_page) p.display_pos = pos - p.num_per_page + 1;
  MuiUpdate(id);
  _MouseBox& b = mouse_box[id];
  if (b.registered_kind == MUI_VAR_INT && b.int_var) *b.int_var = pos;
  else if (b.registered_kind == MUI_VAR_CHAR && b.char_var) *b.char_var = (char)pos;
  if (notify && b.callback) b.callback((char)(notify - 1));
}

int MuiPanelGetPos(int id) { return MuiIdValid(id) ? mui_panel[id].pos : -1; }

void MuiPanelSetDisplayPos(int id, int pos) {
  if (!MuiIdValid(id)) return;
  _MuiPanel& p = mui_panel[id];
  if (p.num <= 0 || pos < 0 || pos >= p.num) return;
  p.display_pos = pos;
  MuiUpdate(id);
}

int MuiPanelGetDisplayPos(int id) { return MuiIdValid(id) ? mui_panel[id].display_pos : 0; }

char* MuiPanelGetSelString(int id) {
  mp_empty[0] = 0;
  if (!MuiIdValid(id)) return mp_empty;
  const _MuiPanel& p = mui_panel[id];
  if (p.pos < 0 || p.pos >= p.num) return mp_empty;
  if (p.fn) {
    char* s = p.fn(p.pos);
    return s ? s : mp_empty;
  }
  return p.strings ? p.strings[p.pos] : mp_empty;
}

char MuiPanelSetPosToString(int id, const char* str) {
  if (!MuiIdValid(id) || !str) return 0;
  for (int i = 0; i < mui_panel[id].num; i++) {
    if (strcmp(Entry(id, i), str) == 0) {
      MuiPanelSetPos(id, i, 1);
      return 1;
    }
  }
  return 0;
}

void MuiPanelShowSel(int id, char on) {
  if (!MuiIdValid(id)) return;
  mui_panel[id].show_sel = (unsigned char)on;
  MuiUpdate(id);
}

void MuiPanelCenterToPosIfPossible(int id) {
  if (!MuiIdValid(id)) return;
  _MuiPanel& p = mui_panel[id];
  p.display_pos = ClampDisplay(p, p.pos - p.num_per_page / 2);
  MuiUpdate(id);
}

char MuiPanelRegisterIntVariable(int id, int* variable, char notify) {
  if (!MuiIdValid(id) || mouse_box[id].type != MUI_TYPE_PANEL) return 0;
  char ok = MuiRegisterIntVariable(id, variable, 1);
  if (ok && variable) MuiPanelSetPos(id, *variable, notify);
  return ok;
}

char MuiPanelRegisterCharVariable(int id, char* variable, char notify) {
  if (!MuiIdValid(id) || mouse_box[id].type != MUI_TYPE_PANEL) return 0;
  char ok = MuiRegisterCharVariable(id, variable);
  if (ok && variable) MuiPanelSetPos(id, *variable, notify);
  return ok;
}

void MuiPanelUpdateFromRegisteredVariable(int id, char notify) {
  if (!IsPanel(id)) return;
  const _MouseBox& b = mouse_box[id];
  if (b.registered_kind == MUI_VAR_INT && b.int_var) MuiPanelSetPos(id, *b.int_var, notify);
  else if (b.registered_kind == MUI_VAR_CHAR && b.char_var) MuiPanelSetPos(id, *b.char_var, notify);
}

void MuiPanelRefresh(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox& b = mouse_box[id];
  if (b.registered_kind == MUI_VAR_INT && b.int_var) MuiPanelSetPos(id, *b.int_var, 1);
}

// ---- Geometry ----

char MuiSideBarPlace(int id, int num, int num_per_page, _SideBarInfo* info) {
  _SideBarInfo s{};
  char has = 0;
  if (MuiIdValid(id)) {
    const _MouseBox& b = mouse_box[id];
    s.row_area_w = b.w;
    if (num_per_page >= 1 && num_per_page < num) {
      const int sbw = mui_std_dim.panel_sb_w;
      s.row_area_w = b.w - sbw;
      s.sb_x = b.x2 - sbw;
      s.sb_w = sbw;
      s.sb_y = b.y1;
      s.sb_h = num_per_page * (b.h / num_per_page);
      s.sb_x2 = b.x2;
      s.sb_y2 = b.y1 + s.sb_h;
      has = 1;
    }
  }
  *info = s;
  return has;
}

char MuiPanelGetSidebarDimensions(int id, _SideBarInfo* info) {
  _SideBarInfo s{};
  const _MuiPanel* p = MuiIdValid(id) ? &mui_panel[id] : nullptr;
  const char has = p && MuiSideBarPlace(id, p->num, p->num_per_page, &s);
  if (has) {
    const int ptw = mui_std_dim.panel_thumb_w;
    const int my = mouse_box[id].y_margin;
    s.thumb_x = s.sb_x + s.sb_w / 2 - ptw / 2;
    s.thumb_w = ptw;
    s.track_top = s.sb_y + my;
    s.track_bottom = s.sb_y2 - my;
    s.track_len = s.track_bottom - s.track_top;
    int64_t th = (int64_t)s.track_len * p->num_per_page / p->num;
    s.thumb_h = th < 3 ? 3 : (int32_t)th;
    s.thumb_y = MuiSideBarThumbY(&s, p->display_pos, p->num, p->num_per_page);
    s.thumb_y2 = s.thumb_y + s.thumb_h;
  }
  if (info) *info = s;
  return has;
}

int MuiPanelGetScreenYPos(int id, _SideBarInfo info) {
  if (!MuiIdValid(id)) return info.track_top;
  const _MuiPanel& p = mui_panel[id];
  return MuiSideBarThumbY(&info, p.display_pos, p.num, p.num_per_page);
}

int MuiPanelGetYPosFromScreen(int id, int y, _SideBarInfo info) {
  if (!MuiIdValid(id)) return 0;
  const _MuiPanel& p = mui_panel[id];
  return MuiSideBarDisplayFromThumbY(&info, y, p.display_pos, p.num, p.num_per_page);
}

// ---- Drawing ----

void MuiPanelDraw(int id, char backs, char texts) {
  if (!MuiIdValid(id)) return;
  const _MouseBox& b = mouse_box[id];
  const _MuiPanel& p = mui_panel[id];
  if (p.num_per_page <= 0) {
    DebugError("MuiPanelDraw", "%d: NUM PER PAGE <= 0", id);
    return;
  }
  if (b.type != MUI_TYPE_PANEL) {
    DebugError("MuiPanelDraw", "Panel ID %d is not a panel", id);
    return;
  }
  const int r = b.h / p.num_per_page;
  if (r < 1) return;
  _SideBarInfo sb;
  const char has_bar = MuiPanelGetSidebarDimensions(id, &sb);
  const int first = p.display_pos > 0 ? p.display_pos : 0;
  const int end = p.display_pos + p.num_per_page;  // one past the page's last row
  const int last = p.num < end ? p.num : end;      // one past the last row with an entry
  auto row_y = [&](int k) { return b.y1 + (k - first) * r; };
  auto off_screen = [&](int y) { return y + r < 0 || y > 480; };

  if (backs) {
    for (int k = first; k < end; k++) {
      const int y = row_y(k);
      if (off_screen(y)) continue;
      char state;
      if (!p.show_sel) state = 1;
      else if (!b.active) state = 3;
      else state = (k == p.pos && p.pos < last) ? 1 : 0;
      MuiBitmapPlaceOnBitmapsSurfaceWH(id, b.x1, y, sb.row_area_w, r, state);
    }
    if (has_bar) {
      MuiBitmapDrawStandardButton(kPanelBackTexture, sb.sb_x, sb.sb_y, sb.sb_w, sb.sb_h, 0);
      MuiBitmapDrawStandardButton(kPanelBarTexture, sb.thumb_x, sb.thumb_y, sb.thumb_w, sb.thumb_h, 1);
    }
  }
  if (texts && p.num > 0) {
    _MouseBox* box = &mouse_box[id];
    MuiTextPrepareToDrawTexts(box);
    int left = b.x1, right = b.x2;
    MuiGetButtonTextXLimits(id, &left, &right);
    if (has_bar) right -= mui_std_dim.panel_sb_w;
    for (int k = first; k < last; k++) {
      const int y = row_y(k);
      if (off_screen(y)) continue;
      const bool dim = p.show_sel && k != p.pos && mui_highlight_texts;
      const float* c = dim ? b.dark_col0 : b.col0;
      const int cy = y + r / 2;
      MuiDrawTextStringInt(left, cy, right, cy, c[0], c[1], c[2], b.draw_type, 0, Entry(id, k));
    }
    MuiTextRestoreAfterDrawingTexts();
  }
}

// ---- Input ----

char MuiPanelHandleMousePress(int id, int x, int y) {
  if (!MuiIdValid(id)) return 0;
  const _MouseBox& b = mouse_box[id];
  _MuiPanel& p = mui_panel[id];
  if (x < b.x1 || x > b.x2 || y < b.y1 || y > b.y2 || p.num_per_page < 1) return 0;
  const int r = b.h / p.num_per_page;
  if (r < 1) return 0;
  mp_pressed_id = id;
  mp_listed_since_press = false;
  _SideBarInfo sb;
  if (MuiPanelGetSidebarDimensions(id, &sb) && x >= sb.sb_x) {
    if (y < sb.thumb_y) {
      p.display_pos = ClampDisplay(p, p.display_pos - p.num_per_page);
    } else if (y <= sb.thumb_y2) {
      dragging_extra_y = y - sb.thumb_y - sb.thumb_h / 2;
      dragging = 1;
    } else {
      p.display_pos = ClampDisplay(p, p.display_pos + p.num_per_page);
    }
    MuiUpdate(id);
    return 1;
  }
  const int entry = RowAt(p, b, y, r) + p.display_pos;
  if (entry >= 0 && entry < p.num) MuiPanelSetPos(id, entry, 1);
  return 1;
}

// A double click confirms the selection only when it lands on the selected row; anywhere else
// (the side bar, another row, the empty rows below the last entry) it is the press it stands for.
// When its first click listed other entries, the second was aimed at a row of the old list and
// neither confirms nor chooses anything of the new one, which the user had not seen.
char MuiPanelHandleDoubleClick(int id) {
  if (!MuiIdValid(id)) return 0;
  const _MouseBox& b = mouse_box[id];
  const _MuiPanel& p = mui_panel[id];
  const int x = mouse_pos_x, y = mouse_pos_y;
  if (x < b.x1 || x > b.x2 || y < b.y1 || y > b.y2 || p.num_per_page < 1) return 0;
  const int r = b.h / p.num_per_page;
  if (r < 1) return 0;
  if (id == mp_pressed_id && mp_listed_since_press) return 1;
  _SideBarInfo sb;
  const bool on_bar = MuiPanelGetSidebarDimensions(id, &sb) && x >= sb.sb_x;
  if (!on_bar && p.pos >= 0 && p.pos < p.num && RowAt(p, b, y, r) + p.display_pos == p.pos) {
    MuiPanelSetPos(id, p.pos, 2);
    return 1;
  }
  return MuiPanelHandleMousePress(id, x, y);
}

void MuiPanelHandleDragging(int id, int y) {
  _SideBarInfo sb;
  if (!IsPanel(id) || !MuiPanelGetSidebarDimensions(id, &sb)) {
    dragging = 0;
    return;
  }
  mui_panel[id].display_pos = MuiPanelGetYPosFromScreen(id, y - dragging_extra_y, sb);
  MuiUpdate(id);
}

char MuiPanelHandleKeyPress(int id, char move) {
  if (!MuiIdValid(id)) return 0;
  const _MuiPanel& p = mui_panel[id];
  switch (move) {
    case MUI_MOVE_UP: MuiPanelSetPos(id, p.pos - 1, 1); return 1;
    case MUI_MOVE_DOWN: MuiPanelSetPos(id, p.pos + 1, 1); return 1;
    case MUI_MOVE_PAGE_UP: MuiPanelSetPos(id, p.pos - p.num_per_page, 1); return 1;
    case MUI_MOVE_PAGE_DOWN: MuiPanelSetPos(id, p.pos + p.num_per_page, 1); return 1;
    case MUI_MOVE_ENTER: MuiPanelSetPos(id, p.pos, 2); return 1;
    default: return 0;
  }
}

char MuiPanelHandleMouseWheel(int id, int delta) {
  if (!MuiIdValid(id)) return 0;
  _MuiPanel& p = mui_panel[id];
  int display = p.display_pos - delta;
  if (display < 0) display = 0;
  p.display_pos = ClampDisplay(p, display);
  MuiUpdate(id);
  return 1;
}
