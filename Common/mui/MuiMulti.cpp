// The multi-selection list (box type 8): a page of rows from a fill callback, each with its own
// selected flag; a press on a row toggles it.
#include "MuiMulti.h"

#include <cstdint>
#include <cstring>

#include "ComDebug.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiScrollbar.h"
#include "MuiText.h"
#include "MuiTextures.h"

_MuiMultisel mui_multisel[MUI_MAX_BOXES];
int multisel_display_pos{};

namespace {

constexpr int kPanelBackTexture = 17;
constexpr int kPanelBarTexture = 18;

bool IsMultisel(int id) { return MuiIdValid(id) && mouse_box[id].type == MUI_TYPE_MULTISEL; }

int ClampDisplay(const _MuiMultisel& m, int display) {
  if (display > m.num - m.num_per_page) display = m.num - m.num_per_page;
  return display < 0 ? 0 : display;
}

const char* Entry(const _MuiMultisel& m, int i) {
  if (!m.fn || i < 0 || i >= m.num) return "";
  const char* s = m.fn(i);
  return s ? s : "";
}

}  // namespace

char MuiMultiselGetSidebarDimensions(int id, _SideBarInfo* info) {
  _SideBarInfo s{};
  const _MuiMultisel* m = MuiIdValid(id) ? &mui_multisel[id] : nullptr;
  const char has = m && MuiSideBarPlace(id, m->num, m->num_per_page, &s);
  if (has) {
    s.thumb_x = s.sb_x + 3;
    s.thumb_w = s.sb_w - 6;
    int64_t th = (int64_t)s.sb_h * m->num_per_page / m->num;
    s.thumb_h = th < 3 ? 3 : (int32_t)th;
    // The thumb runs the whole side bar; the panel's thumb mapping draws and drags it.
    s.track_top = s.sb_y;
    s.track_bottom = s.sb_y2;
    s.track_len = s.sb_h;
    s.thumb_y = MuiSideBarThumbY(&s, multisel_display_pos, m->num, m->num_per_page);
    s.thumb_y2 = s.thumb_y + s.thumb_h;
  }
  if (info) *info = s;
  return has;
}

// The shared display position is left alone: only the list's own set-up moves it, so the boxes a
// popup appends do not scroll a list on the screen beneath.
void MuiMultiselReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  _MuiMultisel* m = &mui_multisel[id];
  m->num = 0;
  m->num_per_page = 10;
  m->fn = nullptr;
  memset(m->selected, 0, sizeof(m->selected));
}

void MuiMultiselSetValues(int id, int num, int num_per_page, char* (*fn)(int index)) {
  if (!MuiIdValid(id)) return;
  _MuiMultisel& m = mui_multisel[id];
  if (num == 0) {
    m.num = 0;
    m.num_per_page = 1;
    return;
  }
  if (num < 0) {
    DebugError("MuiMultiselSetValues", "invalid num entries %d (ID: %d)", num, id);
    return;
  }
  if (num_per_page < 1) {
    DebugError("MuiMultiselSetValues", "invalid num_per_page %d (ID: %d)", num_per_page, id);
    return;
  }
  if (!fn) {
    DebugError("MuiMultiselSetValues", "Null callback entry (ID: %d)", id);
    return;
  }
  if (num > MUI_MULTISEL_MAX_ENTRIES) {
    DebugError("MuiMultiselSetValues", "Too many entries : id: %d entries: %d (max = %d)", id, num,
               MUI_MULTISEL_MAX_ENTRIES);
    num = MUI_MULTISEL_MAX_ENTRIES;
  }
  m.num = num;
  m.num_per_page = num_per_page;
  m.fn = fn;
  memset(m.selected, 0, sizeof(m.selected));
  multisel_display_pos = 0;
  MuiSetArrowKinds(id, 0, 0);
  MuiUpdate(id);
}

void MuiMultiselResetSelection(int id) {
  if (!MuiIdValid(id)) return;
  memset(mui_multisel[id].selected, 0, sizeof(mui_multisel[id].selected));
}

void MuiMultiselSelectItem(int id, int item, char toggle, char value, char notify) {
  if (!MuiIdValid(id)) return;
  _MuiMultisel& m = mui_multisel[id];
  if (m.num < 1) return;
  if (item < 0 || item >= m.num) {
    DebugError("MuiMultiselSelectItem", "Invalid item %d (num: %d)", item, m.num);
    return;
  }
  if (toggle) m.selected[item] = m.selected[item] ? 0 : 1;
  else m.selected[item] = value ? 1 : 0;
  if (!notify) return;
  if (item < multisel_display_pos) multisel_display_pos = item;
  else if (item >= multisel_display_pos + m.num_per_page) multisel_display_pos = item - m.num_per_page + 1;
  MuiUpdate(id);
  if (mouse_box[id].callback) mouse_box[id].callback(0);
}

char MuiMultiselIsItemSelected(int id, int item) {
  if (!MuiIdValid(id)) return -1;
  const _MuiMultisel& m = mui_multisel[id];
  if (item < 0 || item >= m.num) return -1;
  return (char)m.selected[item];
}

int MuiMultiselGetNumEntries(int id) { return MuiIdValid(id) ? mui_multisel[id].num : -1; }

void MuiMultiselDraw(int id, char backs, char texts) {
  if (!MuiIdValid(id)) return;
  const _MouseBox& b = mouse_box[id];
  const _MuiMultisel& m = mui_multisel[id];
  if (b.type != MUI_TYPE_MULTISEL) {
    DebugError("MuiMultiselDraw", "Multisel ID %d is not a multisel", id);
    return;
  }
  if (m.num_per_page < 1) return;
  const int r = b.h / m.num_per_page;
  if (r < 1) return;
  _SideBarInfo sb;
  const char has_bar = MuiMultiselGetSidebarDimensions(id, &sb);
  const int display = multisel_display_pos;
  const int first = display > 0 ? display : 0;
  const int end = display + m.num_per_page;
  const int last = m.num < end ? m.num : end;
  auto row_y = [&](int k) { return b.y1 + (k - first) * r; };
  auto off_screen = [&](int y) { return y + r < 0 || y > 480; };

  if (backs) {
    for (int k = first; k < end; k++) {
      const int y = row_y(k);
      if (off_screen(y)) continue;
      char state = !b.active ? 3 : (k < last && m.selected[k]) ? 1 : 0;
      MuiBitmapPlaceOnBitmapsSurfaceWH(id, b.x1, y, sb.row_area_w, r, state);
    }
    if (has_bar) {
      char state = !b.active ? 3 : (box_highlighted == id ? 1 : 0);
      MuiTexturesDrawButtonTexture(kPanelBackTexture, state, sb.sb_x, sb.sb_y, sb.sb_w, sb.sb_h);
      MuiBitmapSetupBlendingForStandardButtons();
      MuiTexturesDrawButtonTexture(kPanelBarTexture, 0, sb.thumb_x, sb.thumb_y, sb.thumb_w, sb.thumb_h);
      MuiBitmapTurnOffBlendingForStandardButtons();
    }
  }
  if (texts && m.num > 0) {
    MuiTextPrepareToDrawTexts(&mouse_box[id]);
    const int right = has_bar ? b.x2 - mui_std_dim.panel_sb_w : b.x2;
    static const float kGrey[3] = {0.375f, 0.375f, 0.375f};
    for (int k = first; k < last; k++) {
      const int y = row_y(k);
      if (off_screen(y)) continue;
      const float* c = !b.active ? kGrey : (m.selected[k] ? b.col0 : b.dark_col0);
      const int cy = y + r / 2;
      MuiDrawTextStringInt(b.x1, cy, right, cy, c[0], c[1], c[2], b.draw_type, 0, Entry(m, k));
    }
    MuiTextRestoreAfterDrawingTexts();
  }
}

char MuiMultiselHandleMousePress(int id, int x, int y) {
  if (!MuiIdValid(id)) return 0;
  const _MouseBox& b = mouse_box[id];
  const _MuiMultisel& m = mui_multisel[id];
  if (x < b.x1 || x > b.x2 || y < b.y1 || y > b.y2 || m.num_per_page < 1) return 0;
  const int r = b.h / m.num_per_page;
  if (r < 1) return 0;
  _SideBarInfo sb;
  if (MuiMultiselGetSidebarDimensions(id, &sb) && x >= sb.sb_x) {
    if (y < sb.thumb_y) {
      multisel_display_pos = ClampDisplay(m, multisel_display_pos - m.num_per_page);
    } else if (y <= sb.thumb_y2) {
      dragging_extra_y = y - sb.thumb_y - sb.thumb_h / 2;
      dragging = 1;
      return 1;
    } else {
      multisel_display_pos = ClampDisplay(m, multisel_display_pos + m.num_per_page);
    }
    MuiUpdate(id);
    return 1;
  }
  // The bottom edge and a strip below the last whole row belong to the last row.
  int row = (y - b.y1) / r;
  if (row > m.num_per_page - 1) row = m.num_per_page - 1;
  const int entry = row + multisel_display_pos;
  if (entry >= 0 && entry < m.num) MuiMultiselSelectItem(id, entry, 1, 0, 1);
  return 1;
}

void MuiMultiselHandleDragging(int id, int y) {
  _SideBarInfo sb;
  if (!IsMultisel(id) || !MuiMultiselGetSidebarDimensions(id, &sb)) {
    dragging = 0;
    return;
  }
  const _MuiMultisel& m = mui_multisel[id];
  multisel_display_pos = MuiSideBarDisplayFromThumbY(&sb, y - dragging_extra_y, multisel_display_pos, m.num,
                                                     m.num_per_page);
  MuiUpdate(id);
}

char MuiMultiselHandleKeyPress(int id, char move) {
  (void)id;
  (void)move;
  return 0;
}
