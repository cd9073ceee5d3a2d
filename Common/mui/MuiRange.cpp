// The range (box type 4): a low and a high value between limits, kept at least a gap apart, moved
// by dragging either cap or the middle, or by keys; drawn as one bar with a cap at each end.
#include "MuiRange.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComGlTexture.h"
#include "ComMacWinInput.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiInput.h"
#include "MuiTextures.h"

_MuiRange mui_range[MUI_MAX_BOXES];

namespace {

int mr_dragging_id = -1;       // the range being dragged
signed char mr_drag_where = 0; // -1 lower cap, 0 middle, 1 upper cap
float mr_drag_start = 0.0f;    // lo minus the value under the pointer at the press
// The range whose values a drag changed, and the table generation it belongs to.
int mr_was_dragging = -1;
unsigned int mr_was_dragging_gen = 0;

bool IsRange(int id) { return MuiIdValid(id) && mouse_box[id].type == MUI_TYPE_RANGE; }

int EndWidth() { return mui_std_dim.range_end_w; }

// An offset along a track of `length`, truncated and kept on the track (a NaN gives 0).
int TrackOffset(double v, int length) {
  if (!(v >= 0.0)) return 0;
  if (!(v <= length)) return length;
  return (int)v;
}

// The range as one value when it is no wider than its gap, else false.
bool SingleValue(const _MuiRange* r, float* value) {
  if (!(r->hi - r->lo <= r->gap * 1.00001f)) return false;
  if (r->lo == r->min)
    *value = r->min;
  else if (r->hi == r->max)
    *value = r->max;
  else
    *value = r->lo + (r->hi - r->lo) * 0.5f;
  return true;
}

void Notify(int id, char arg) {
  if (mouse_box[id].callback) mouse_box[id].callback(arg);
}

// The value text: text 1 emptied, the values printed into text 0 after the prefix (or after what
// is left of it if the text was shortened since), within the text's room.
void UpdateText(int id) {
  const _MuiRange* r = &mui_range[id];
  if (r->auto_text == 0) return;
  static const char* const kOne[3] = {"%s[%.1f]", "%s[%.2f]", "%s[%.3f]"};
  static const char* const kTwo[3] = {"%s[%.1f,%.1f]", "%s[%.2f,%.2f]", "%s[%.3f,%.3f]"};
  const int k = r->auto_text >= 2 && r->auto_text <= 4 ? r->auto_text - 2 : 0;
  char text[MUI_TEXT_LEN];
  memcpy(text, mouse_box[id].text[0], sizeof(text));
  text[MUI_TEXT_LEN - 1] = 0;
  const size_t len = strlen(text);
  const size_t at = r->prefix_len <= 0 ? 0 : (size_t)r->prefix_len < len ? (size_t)r->prefix_len : len;
  const char* blank = r->prefix_len > 0 ? " " : "";
  float single = 0.0f;
  if (SingleValue(r, &single))
    snprintf(text + at, sizeof(text) - at, kOne[k], blank, (double)single);
  else
    snprintf(text + at, sizeof(text) - at, kTwo[k], blank, (double)r->lo, (double)r->hi);
  MuiDoSetText(id, 1, "");
  MuiDoSetText(id, 0, text);
}

void DrawPart(_ComGlDxTexture* tex, int x, int y, int w, int h, float from, float to) {
  if (w <= 0 || h <= 0) return;
  ComGlTexturePositionFloatRatioed(tex, (float)x, (float)y, (float)w, (float)h);
  ComGlTextureDrawPart(tex, from, 0.0f, to, 1.0f);
}

}  // namespace

void MuiRangeReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_range[id] = _MuiRange{};
  mui_range[id].max = 1.0f;
  mui_range[id].lo = 0.25f;
  mui_range[id].hi = 0.75f;
  mui_range[id].gap = 0.1f;
}

void MuiRangeSetLimits(int id, float min, float max, float gap) {
  if (!MuiCheckId(id, "MuiRangeSetLimits")) return;
  if (gap == 0.0f) gap = (max - min) / 10.0f;
  // Also refuses limits or a gap that are not numbers.
  if (!(max >= min) || !(gap < max - min)) {
    DebugError("MuiRangeSetLimits", "Bad parameters");
    return;
  }
  MuiSetType(id, MUI_TYPE_RANGE);
  MuiSetArrowKinds(id, 0, 0);
  _MuiRange* r = &mui_range[id];
  r->min = min;
  r->max = max;
  r->gap = gap;
  MuiUpdate(id);
}

void MuiRangeSetRange(int id, float a, float b, char drag, char call) {
  if (!IsRange(id)) {
    DebugError("MuiRangeSetRange", "Not a range [%d]", id);
    return;
  }
  _MuiRange* r = &mui_range[id];
  // A value that is not a number stands for the minimum.
  if (a != a) a = r->min;
  if (b != b) b = r->min;
  float lo = a < b ? a : b;
  if (lo < r->min) lo = r->min;
  float hi = b > r->max ? r->max : b;
  if (hi - lo < r->gap) {
    const float half = (r->gap - (hi - lo)) * 0.5f;
    const float lo2 = lo - half, hi2 = hi + half;
    if (lo2 < r->min) {
      lo = r->min;
      hi = hi2 + (r->min - lo2);
    } else if (hi2 > r->max) {
      hi = r->max;
      lo = lo2 - (hi2 - r->max);
    } else {
      lo = lo2;
      hi = hi2;
    }
  }
  const unsigned int gen = mui_box_generation;
  if (lo == r->lo && hi == r->hi) {
    if (call) Notify(id, drag);
    return;
  }
  r->lo = lo;
  r->hi = hi;
  UpdateText(id);
  MuiUpdate(id);
  const _MouseBox* box = &mouse_box[id];
  if (box->registered_kind == MUI_VAR_TWO_FLOATS && box->float_var1 && box->float_var2) {
    float single = 0.0f;
    if (SingleValue(r, &single)) {
      *box->float_var1 = single / box->float_mult;
      *box->float_var2 = single / box->float_mult;
    } else {
      *box->float_var1 = r->lo / box->float_mult;
      *box->float_var2 = r->hi / box->float_mult;
    }
  }
  if (call) {
    Notify(id, drag);
    if (gen != mui_box_generation) return;
  }
  if (drag) {
    mr_was_dragging = id;
    mr_was_dragging_gen = gen;
  }
}

void MuiRangeGetRange(int id, float* lo, float* hi) {
  if (!IsRange(id) || !lo || !hi) return;
  const _MuiRange* r = &mui_range[id];
  float single = 0.0f;
  if (SingleValue(r, &single)) {
    *lo = single;
    *hi = single;
  } else {
    *lo = r->lo;
    *hi = r->hi;
  }
}

char MuiRangeRegisterTwoFloatVariables(int id, float* lo, float* hi, float mult, char call) {
  if (!MuiCheckId(id, "MuiRangeRegisterTwoFloatVariables")) return 0;
  if (!MuiRegisterTwoFloatVariables(id, lo, hi, mult)) return 0;
  // A null variable only unbinds: there is nothing to read.
  if (lo && hi) MuiRangeSetRange(id, mult * *lo, mult * *hi, 0, call);
  return 1;
}

void MuiRangeSetAutoText(int id, char on, char places, char keep_prefix) {
  if (!MuiCheckId(id, "MuiRangeSetAutoText")) return;
  _MuiRange* r = &mui_range[id];
  r->prefix_len = keep_prefix ? (int32_t)strnlen(mouse_box[id].text[0], MUI_TEXT_LEN) : 0;
  if (places < 1 || places > 3) DebugError("MuiRangeSetAutoText", "Decimal places=%d not supported", places);
  r->auto_text = on ? (unsigned char)(places + 1) : 0;
  UpdateText(id);
}

void MuiRangeGetScreenXPos(int id, int* x_lo, int* x_hi) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* box = &mouse_box[id];
  const _MuiRange* r = &mui_range[id];
  const int m = box->scrollbar_margin, c = EndWidth();
  int length = (box->x2 - box->x1) - 2 * m - 3 * c;
  if (length < 0) length = 0;  // a box too narrow for its handles has no track
  const double range = (double)r->max - r->min;
  int lo = box->x1 + m, hi = box->x1 + m + 3 * c;
  if (range != 0.0) {
    // Values outside the limits (set straight into the record) still land on the track.
    lo = box->x1 + m + TrackOffset(length * ((double)r->lo - r->min) / range, length);
    hi = box->x1 + m + TrackOffset(length * ((double)r->hi - r->min) / range, length) + 3 * c;
  }
  if (x_lo) *x_lo = lo;
  if (x_hi) *x_hi = hi;
}

float MuiRangeGetXPosFromScreen(int id, int x, char* where) {
  if (!MuiIdValid(id)) {
    if (where) *where = 0;
    return 0.0f;
  }
  const _MouseBox* box = &mouse_box[id];
  const _MuiRange* r = &mui_range[id];
  const int m = box->scrollbar_margin, c = EndWidth();
  int x_lo = 0, x_hi = 0;
  MuiRangeGetScreenXPos(id, &x_lo, &x_hi);
  char w = 0;
  if (x < box->x1)
    w = -3;
  else if (x < x_lo)
    w = -2;
  else if (x < x_lo + c)
    w = -1;
  else if (x < x_hi - c)
    w = 0;
  else if (x < x_hi)
    w = 1;
  else if (x <= box->x2)
    w = 2;
  else
    w = 3;
  if (where) *where = w;
  // While a cap is held the pointer stands for the cap's inner edge.
  if (dragging && mr_dragging_id == id) {
    if (mr_drag_where == -1) x += c;
    if (mr_drag_where == 1) x -= c;
  }
  const int length = (box->x2 - box->x1) - 2 * m - 2 * c;
  if (length <= 0) return r->min;
  float v = (float)(((double)x - box->x1 - m - c) * ((double)r->max - r->min) / length + r->min);
  if (x >= box->x1 && !(v >= r->min)) v = r->min;
  if (x < box->x2 && !(v <= r->max)) v = r->max;
  if (v != v) v = r->min;
  return v;
}

void MuiRangeDrawButton(int id) {
  if (!MuiIdValid(id) || !mouse_box[id].shown) return;
  const _MouseBox* box = &mouse_box[id];
  int x_lo = 0, x_hi = 0;
  MuiRangeGetScreenXPos(id, &x_lo, &x_hi);
  const int th = mui_std_dim.sb_thumb_h, c = EndWidth();
  if (x_lo >= x_hi || th < 1) return;
  _ComGlDxTexture* tex = nullptr;
  MuiTextureGetStandardTexturePointer(MUI_STD_SB_THUMB, MUI_TEX_NORMAL, &tex, nullptr);
  const int y = box->cy - th / 2;
  MuiBitmapSetupBlendingForStandardButtons();
  if (tex && tex->created && tex->image.loaded) {
    if (2 * c < x_hi - x_lo) DrawPart(tex, x_lo + c, y, (x_hi - x_lo) - 2 * c, th, 0.25f, 0.75f);
    if (c >= 1) {
      DrawPart(tex, x_lo, y, c, th, 0.0f, 0.25f);
      DrawPart(tex, x_hi - c, y, c, th, 0.75f, 1.0f);
    }
  }
  if (c >= 5 && th >= 5) {
    MuiTexturesDrawButtonTexture(MUI_STD_LEFT_ARROW, MUI_TEX_NORMAL, x_lo + 2, y + 2, c - 4, th - 4);
    MuiTexturesDrawButtonTexture(MUI_STD_RIGHT_ARROW, MUI_TEX_NORMAL, x_hi - c + 2, y + 2, c - 4, th - 4);
  }
  MuiBitmapTurnOffBlendingForStandardButtons();
}

char MuiRangeHandleMousePress(int id, int x) {
  if (!MuiCheckId(id, "MuiRangeHandleMousePress")) return 0;
  char where = 0;
  const float v = MuiRangeGetXPosFromScreen(id, x, &where);
  if (where == 2 || where == 3 || where == -2 || where == -3) return 0;
  mr_drag_where = where;
  mr_drag_start = mui_range[id].lo - v;
  dragging = 1;
  mr_dragging_id = id;
  MuiRangeHandleDragging(id, x);
  return 1;
}

void MuiRangeHandleDragging(int id, int x) {
  if (!MuiIdValid(id)) {
    dragging = 0;
    return;
  }
  if (mouse_box[id].type != MUI_TYPE_RANGE) return;
  const _MuiRange* r = &mui_range[id];
  const float v = MuiRangeGetXPosFromScreen(id, x, nullptr);
  float lo = r->lo, hi = r->hi;
  if (mr_drag_where == -1) {
    lo = v;
    if (hi - v < r->gap) hi = v + r->gap;
  } else if (mr_drag_where == 1) {
    hi = v;
    if (v - lo < r->gap) lo = v - r->gap;
  } else {
    const float width = r->hi - r->lo;
    lo = v + mr_drag_start;
    if (lo < r->min) lo = r->min;
    hi = lo + width;
    if (hi > r->max) {
      hi = r->max;
      lo = r->max - width;
    }
  }
  MuiRangeSetRange(id, lo, hi, 1, 1);
}

void MuiRangeDraggingOver() {
  const int id = mr_was_dragging;
  const bool same_screen = mr_was_dragging_gen == mui_box_generation;
  mr_was_dragging = -1;
  mr_dragging_id = -1;
  if (!same_screen || !IsRange(id)) return;
  MuiRangeSetRange(id, mui_range[id].lo, mui_range[id].hi, 0, 1);
}

char MuiRangeHandleKeyPress(int id, char move) {
  if (!IsRange(id)) return 0;
  const _MuiRange* r = &mui_range[id];
  const float s = (r->max - r->min) / 100.0f;
  float lo = r->lo, hi = r->hi;
  switch (move) {
    case MUI_MOVE_UP:
      // Collapses to the minimum end whatever the sign of the minimum; the setter widens it to
      // the gap.
      lo = hi = r->min;
      break;
    case MUI_MOVE_DOWN: {
      const float width = r->hi - r->lo;
      lo = r->min + (r->max - r->min) * 0.5f - width * 0.5f;
      hi = lo + width;
      break;
    }
    case MUI_MOVE_LEFT:
    case MUI_MOVE_RIGHT: {
      const float d = move == MUI_MOVE_LEFT ? -s : s;
      if (key_down[COM_KEY_CONTROL] > 1) {
        lo += d;
      } else if (key_down[COM_KEY_SHIFT] > 1) {
        hi += d;
      } else {
        lo += d;
        hi += d;
      }
      break;
    }
    default:
      return 1;
  }
  MuiRangeSetRange(id, lo, hi, 0, 1);
  return 1;
}
