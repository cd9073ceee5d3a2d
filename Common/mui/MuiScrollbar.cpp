// Horizontal and vertical scroll bars (box types 2 and 3): a position between a minimum and a
// maximum, moved by arrows, jumps on the track, keys and thumb drags, written back to a bound
// variable.
//
// Numbers reach this module from the application (limits, bound variables) and from the pointer;
// none of them may push a NaN or an out-of-range double into an int conversion, so every clamp
// here lets a NaN fall to the lower end and every write-back to an integer is bounded first.
#include "MuiScrollbar.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiInput.h"

_MuiScrollbar mui_scrollbar[MUI_MAX_BOXES];
_MuiScrollbar mui_vscrollbar[MUI_MAX_BOXES];
int dragging_extra_x, dragging_extra_y;

namespace {

// Whether jumps and arrow steps arm the press repeat; keys clear it for their call.
unsigned char want_repeating = 1;
unsigned char v_want_repeating = 1;
// The horizontal bar whose thumb was dragged, and the table generation it belongs to: a drag
// that ends after the screen was rebuilt must not reach the new screen's box with that id.
int was_dragging = -1;
unsigned int was_dragging_gen = 0;

void ResetBar(_MuiScrollbar* bar) {
  *bar = _MuiScrollbar{};
  bar->pos = 0.0;
  bar->min = 0.0;
  bar->max = 100.0;
  bar->jump = 10.0;
  bar->step = 1.0;
  bar->text_mult = 1.0f;
}

// v within [lo, hi]; a NaN becomes lo.
double Clamp(double v, double lo, double hi) {
  if (!(v >= lo)) return lo;
  if (!(v <= hi)) return hi;
  return v;
}

// Truncation toward zero, plus one when the fraction is strictly above one half: 2.5 gives 2,
// 2.51 gives 3, and a negative value is only truncated (-2.7 gives -2).
double RoundUpAboveHalf(double v) {
  const double t = std::trunc(v);
  const double frac = v - t;
  if (frac > 0.5 && frac < 1.0) return t + 1.0;
  return t;
}

// The nearest 32-bit integer at or toward zero from v, bounded to the 32-bit range.
int32_t ToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return (int32_t)v;
}

bool IsType(int id, _MuiButtonType type) { return MuiIdValid(id) && mouse_box[id].type == type; }

// The track of a bar along one axis: its start and its length (0 or less: no track).
struct Track {
  int start;
  int length;
};

Track HTrack(const _MouseBox* b) {
  const int tw = mui_std_dim.sb_thumb_w, mx = b->scrollbar_margin, aw = mui_std_dim.arrow_w;
  if (b->left_arrow) return {b->x1 + mx + aw, (b->x2 - b->x1) - tw - 2 * mx - 2 * aw};
  return {b->x1 + mx, (b->x2 - b->x1) - tw - 2 * mx};
}

Track VTrack(const _MouseBox* b) {
  const int th = mui_std_dim.sb_thumb_h, my = b->y_margin, ah = mui_std_dim.arrow_h;
  if (b->left_arrow) return {b->y1 + my + ah, (b->y2 - b->y1) - th - 2 * my - 2 * ah};
  return {b->y1, (b->y2 - b->y1) - th};
}

// The thumb's leading edge. A position outside the limits (the colour picker's components are
// not range-checked) draws the thumb at the nearer end, never outside the track.
int ThumbEdge(const Track& t, const _MuiScrollbar* bar) {
  if (t.length <= 0 || bar->max == bar->min) return t.start;
  const double offset = Clamp((bar->pos - bar->min) * t.length / (bar->max - bar->min), 0.0, t.length);
  return t.start + (int)offset;
}

// The position under screen coordinate c (the thumb's centre there). Inside the box the answer is
// within the limits; outside it is left for the caller to judge. A track of no length answers
// the minimum.
double PosFromScreen(const Track& t, const _MuiScrollbar* bar, int c, int thumb, int box_start,
                     int box_end) {
  if (t.length <= 0) return bar->min;
  double v = bar->min + ((double)c - thumb / 2 - t.start) * (bar->max - bar->min) / t.length;
  if (c >= box_start && !(v >= bar->min)) v = bar->min;
  if (c < box_end && !(v <= bar->max)) v = bar->max;
  return v;
}

// The bound variable gets the position, by kind: an integer kind the position divided by its
// multiplier and rounded, bounded to 32 bits; a char bounded to -127..127 with a log line; a
// float the plain quotient.
void WriteBack(int id, double v) {
  _MouseBox* b = &mouse_box[id];
  switch (b->registered_kind) {
    case MUI_VAR_CHAR: {
      float f = (float)RoundUpAboveHalf((double)(float)v);
      if (f > 127.0f || f < -127.0f) {
        DebugError("MuiScrollbarSetPosDouble", "Position [%6.1f] extends char scrollbar - cropping", (double)f);
        f = f > 127.0f ? 127.0f : -127.0f;
      }
      if (b->char_var) *b->char_var = (char)(int)f;
      break;
    }
    case MUI_VAR_INT: {
      const float f = (float)v / (float)b->int_mult;
      if (b->int_var) *b->int_var = (int)ToInt32(RoundUpAboveHalf(f));
      break;
    }
    case MUI_VAR_LONG:
      if (b->long_var) *b->long_var = ToInt32(RoundUpAboveHalf(v / (double)b->long_mult));
      break;
    case MUI_VAR_FLOAT:
      if (b->float_var) *b->float_var = (float)v / b->float_mult;
      break;
    default:
      break;
  }
}

// The registered variable's value in bar units, or false for a kind a bar does not read.
bool RegisteredValue(int id, bool chars, double* value) {
  const _MouseBox* b = &mouse_box[id];
  switch (b->registered_kind) {
    case MUI_VAR_INT:
      if (!b->int_var) return false;
      *value = (double)((int64_t)*b->int_var * b->int_mult);
      return true;
    case MUI_VAR_LONG:
      if (!b->long_var) return false;
      *value = (double)((int64_t)*b->long_var * b->long_mult);
      return true;
    case MUI_VAR_CHAR:
      if (!chars || !b->char_var) return false;
      *value = (double)(signed char)*b->char_var;
      return true;
    case MUI_VAR_FLOAT:
      if (!b->float_var) return false;
      *value = (double)(*b->float_var * b->float_mult);
      return true;
    default:
      return false;
  }
}

void HArrowRepeat(int id, int which) { MuiScrollbarHandleArrowPress(id, which); }
void VArrowRepeat(int id, int which) { MuiVScrollbarHandleArrowPress(id, which); }
void HSetPos(int id, double v) { MuiScrollbarSetPosDouble(id, v, 0, 0, 1); }

// What tells the horizontal bar from the vertical one in the moves they share: their table and
// type, their position setter (the horizontal one reporting with 0), their repeat switch and
// operations, and their thumb's extent and grab offset along the axis.
struct Axis {
  _MuiButtonType type;
  _MuiScrollbar* table;
  unsigned char* want_repeating;
  void (*set_pos)(int id, double v);
  void (*jump)(int id, int direction);
  void (*arrow_repeat)(int id, int which);
  int (*thumb_edge)(int id, _MuiScrollbar* bar);
  double (*from_screen)(int id, _MuiScrollbar* bar, int c);
  const int32_t* thumb_size;
  int* grab_offset;
};

const Axis kHorizontal = {MUI_TYPE_SCROLLBAR, mui_scrollbar, &want_repeating, HSetPos, MuiScrollbarJump,
                          HArrowRepeat, MuiScrollbarGetScreenXPos, MuiScrollbarDoGetXPosFromScreen,
                          &mui_std_dim.sb_thumb_w, &dragging_extra_x};
const Axis kVertical = {MUI_TYPE_VSCROLLBAR, mui_vscrollbar, &v_want_repeating, MuiVScrollbarSetPosDouble,
                        MuiVScrollbarJump, VArrowRepeat, MuiVScrollbarGetScreenYPos, MuiVScrollbarGetYPosFromScreen,
                        &mui_std_dim.sb_thumb_h, &dragging_extra_y};

// A jump by `jump` (back below 1, else forward), re-armed as the press repeat unless a key asked.
void Jump(const Axis& a, int id, int direction) {
  const _MuiScrollbar* bar = &a.table[id];
  const double v = Clamp(direction < 1 ? bar->pos - bar->jump : bar->pos + bar->jump, bar->min, bar->max);
  const unsigned int gen = mui_box_generation;
  a.set_pos(id, v);
  if (gen != mui_box_generation || !IsType(id, a.type)) return;
  if (*a.want_repeating) MuiSetPressRepeatDetails(nullptr, a.jump, id, direction);
}

// An arrow step; the arrows never move a position that is less than one step from its end.
char ArrowStep(const Axis& a, int id, int which) {
  if (mouse_box[id].type != a.type) return 0;
  const _MuiScrollbar* bar = &a.table[id];
  double v = bar->pos;
  if (which != 0) {
    if (bar->pos <= bar->max - bar->step) v = bar->pos + bar->step;
  } else {
    if (bar->pos >= bar->min + bar->step) v = bar->pos - bar->step;
  }
  if (v == bar->pos) return 0;
  const unsigned int gen = mui_box_generation;
  a.set_pos(id, v);
  if (gen != mui_box_generation) return 1;
  if (*a.want_repeating) MuiSetPressRepeatDetails(nullptr, a.arrow_repeat, id, which);
  return 1;
}

// A press on the body at c along the axis: on the thumb a drag starts, beside it the bar jumps
// toward c and the jump repeats while held (whatever the repeat switch says).
char BodyPress(const Axis& a, int id, int c) {
  _MuiScrollbar* bar = &a.table[id];
  const int size = *a.thumb_size;
  const int edge = a.thumb_edge(id, bar);
  if (c >= edge && c < edge + size) {
    *a.grab_offset = c - edge - size / 2;
    dragging = 1;
    return 1;
  }
  const double v = a.from_screen(id, bar, c);
  if (!(v >= bar->min && v <= bar->max)) return 0;
  const int direction = v > bar->pos ? 1 : -1;
  const unsigned int gen = mui_box_generation;
  a.jump(id, direction);
  if (gen == mui_box_generation && IsType(id, a.type)) MuiSetPressRepeatDetails(nullptr, a.jump, id, direction);
  return 1;
}

// Keys move by jumps and steps and never arm the press repeat.
char KeyMove(const Axis& a, int id, char move) {
  *a.want_repeating = 0;
  switch (move) {
    case MUI_MOVE_UP:
    case MUI_MOVE_PAGE_UP: a.jump(id, -1); break;
    case MUI_MOVE_DOWN:
    case MUI_MOVE_PAGE_DOWN: a.jump(id, 1); break;
    case MUI_MOVE_LEFT: a.arrow_repeat(id, 0); break;
    case MUI_MOVE_RIGHT: a.arrow_repeat(id, 1); break;
    default: break;
  }
  *a.want_repeating = 1;
  return 1;
}

// Limits in order; a NaN limit is refused as well.
bool LimitsOk(double min, double max) { return min <= max; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Horizontal scroll bar

void MuiScrollbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  ResetBar(&mui_scrollbar[id]);
}

void MuiScrollbarDoSetValuesDouble(_MuiScrollbar* bar, double min, double max, double jump, double step) {
  if (!bar) return;
  bar->min = min;
  bar->max = max;
  bar->jump = jump == 0.0 ? (max - min) / 10.0 : jump;
  bar->step = step == 0.0 ? (max - min) / 100.0 : step;
  bar->pos = min;
}

// The box becomes a scroll bar with both arrows; the record is filled only for limits in order.
// The double form turns the box into a scroll bar even for limits out of order, the others not.
static bool BecomeHBar(int id, double min, double max, bool type_first) {
  if (!MuiCheckId(id, "MuiScrollbarSetValues")) return false;
  if (!type_first && !LimitsOk(min, max)) return false;
  MuiSetType(id, MUI_TYPE_SCROLLBAR);
  MuiSetArrowKinds(id, 1, 1);
  return LimitsOk(min, max);
}

static void HBarValuesSet(int id) {
  MuiScrollbarUpdateText(id);
  MuiUpdate(id);
}

void MuiScrollbarSetValuesDouble(int id, double min, double max, double jump, double step) {
  if (!BecomeHBar(id, min, max, true)) return;
  MuiScrollbarDoSetValuesDouble(&mui_scrollbar[id], min, max, jump, step);
  HBarValuesSet(id);
}

void MuiScrollbarSetValues(int id, int min, int max, int jump, int step) {
  MuiScrollbarSetValuesDouble(id, min, max, jump, step);
}

void MuiScrollbarSetValuesFloat(int id, float min, float max, float jump, float step) {
  if (!BecomeHBar(id, min, max, false)) return;
  if (!(jump > 0.0f)) jump = (max - min) / 10.0f;
  if (!(step > 0.0f)) step = (max - min) / 100.0f;
  _MuiScrollbar* bar = &mui_scrollbar[id];
  bar->min = min;
  bar->max = max;
  bar->jump = jump;
  bar->step = step;
  bar->pos = min;
  HBarValuesSet(id);
}

void MuiScrollbarSetValuesLong(int id, int32_t min, int32_t max, int jump, int step) {
  if (!BecomeHBar(id, min, max, false)) return;
  const int64_t span = (int64_t)max - min;
  _MuiScrollbar* bar = &mui_scrollbar[id];
  bar->min = min;
  bar->max = max;
  bar->jump = jump == 0 ? (double)(span / 10) : jump;
  bar->step = step == 0 ? (double)(span / 100) : step;
  bar->pos = min;
  HBarValuesSet(id);
}

void MuiScrollbarSetPosDouble(int id, double p, char drag, char force, char call) {
  if (!IsType(id, MUI_TYPE_SCROLLBAR)) {
    DebugError("MuiScrollbarSetPosDouble", "Not a scrollbar [%d]", id);
    return;
  }
  _MuiScrollbar* bar = &mui_scrollbar[id];
  const double v = Clamp(p, bar->min, bar->max);
  const unsigned int gen = mui_box_generation;
  if (!force && v == bar->pos) {
    // An unchanged position still reports when asked.
    if (call && mouse_box[id].callback) mouse_box[id].callback(drag);
    return;
  }
  bar->pos = v;
  MuiScrollbarUpdateText(id);
  MuiUpdate(id);
  WriteBack(id, v);
  if (call && mouse_box[id].callback) {
    mouse_box[id].callback(drag);
    if (gen != mui_box_generation) return;
  }
  if (drag) {
    was_dragging = id;
    was_dragging_gen = gen;
  }
}

void MuiScrollbarSetPos(int id, int pos, char call) { MuiScrollbarSetPosDouble(id, pos, 0, 0, call); }
void MuiScrollbarSetPosLong(int id, int32_t pos, char call) { MuiScrollbarSetPosDouble(id, pos, 0, 0, call); }
void MuiScrollbarSetPosFloat(int id, float pos, char call) { MuiScrollbarSetPosDouble(id, pos, 0, 0, call); }

double MuiScrollbarGetPosDouble(int id) {
  if (!MuiCheckId(id, "MuiScrollbarGetPosDouble")) return -1.0;
  if (mouse_box[id].type != MUI_TYPE_SCROLLBAR) return -1.0;
  return mui_scrollbar[id].pos;
}

int MuiScrollbarGetPos(int id) { return (int)ToInt32(MuiScrollbarGetPosDouble(id)); }
int32_t MuiScrollbarGetPosLong(int id) { return ToInt32(MuiScrollbarGetPosDouble(id)); }
float MuiScrollbarGetPosFloat(int id) { return (float)MuiScrollbarGetPosDouble(id); }

// Registers through the box table, then moves the bar to the variable. A null variable only
// unregisters: there is nothing to read.
static char HRegisterThen(int id, char registered, const void* variable, char call) {
  if (!registered || !variable) return registered;
  if (mouse_box[id].type != MUI_TYPE_SCROLLBAR) return registered;
  double value = 0.0;
  if (RegisteredValue(id, true, &value)) MuiScrollbarSetPosDouble(id, value, 0, 0, call);
  return registered;
}

// The int, long and char forms take scroll bars only; the box table's registrars would also take
// lists and other types, which this module does not drive.
static bool HRegisterTypeOk(int id, const char* func) {
  if (!MuiCheckId(id, func)) return false;
  if (mouse_box[id].type == MUI_TYPE_SCROLLBAR) return true;
  DebugError(func, "ID: %d - Invalid type", id);
  return false;
}

char MuiScrollbarRegisterIntVariable(int id, int* variable, int multiplier, char call) {
  if (!HRegisterTypeOk(id, "MuiScrollbarRegisterIntVariable")) return 0;
  return HRegisterThen(id, MuiRegisterIntVariable(id, variable, multiplier), variable, call);
}

char MuiScrollbarRegisterLongVariable(int id, int32_t* variable, int32_t multiplier, char call) {
  if (!HRegisterTypeOk(id, "MuiScrollbarRegisterLongVariable")) return 0;
  return HRegisterThen(id, MuiRegisterLongVariable(id, variable, multiplier), variable, call);
}

char MuiScrollbarRegisterCharVariable(int id, char* variable, char call) {
  if (!HRegisterTypeOk(id, "MuiScrollbarRegisterCharVariable")) return 0;
  return HRegisterThen(id, MuiRegisterCharVariable(id, variable), variable, call);
}

char MuiScrollbarRegisterFloatVariable(int id, float* variable, float multiplier, char call) {
  if (!MuiCheckId(id, "MuiScrollbarRegisterFloatVariable")) return 0;
  return HRegisterThen(id, MuiRegisterFloatVariable(id, variable, multiplier), variable, call);
}

void MuiScrollbarUpdateFromRegisteredVariable(int id, char call) {
  if (!MuiCheckId(id, "MuiScrollbarUpdateFromRegisteredVariable")) return;
  double value = 0.0;
  if (RegisteredValue(id, true, &value)) MuiScrollbarSetPosDouble(id, value, 0, 0, call);
}

void MuiScrollbarSetAutoTextFloat(int id, char on, char places, char keep_prefix, float multiplier) {
  if (!MuiCheckId(id, "MuiScrollbarSetAutoTextFloat")) return;
  _MuiScrollbar* bar = &mui_scrollbar[id];
  bar->prefix_len = keep_prefix ? (int32_t)strnlen(mouse_box[id].text[0], MUI_TEXT_LEN) : 0;
  if (places < 0 || places > 3) DebugError("MuiScrollbarSetAutoTextFloat", "Decimal places=%d not supported", places);
  bar->auto_text = on ? (unsigned char)(places + 1) : 0;
  bar->text_mult = multiplier == 0.0f ? 1.0f : multiplier;
  MuiScrollbarUpdateText(id);
}

void MuiScrollbarUpdateText(int id) {
  if (!MuiIdValid(id)) return;
  const _MuiScrollbar* bar = &mui_scrollbar[id];
  if (bar->auto_text == 0) return;
  static const char* const kPlain[4] = {"%.0f", "%.1f", "%.2f", "%.3f"};
  static const char* const kAfterPrefix[4] = {"%s[%.0f]", "%s[%.1f]", "%s[%.2f]", "%s[%.3f]"};
  const int places = bar->auto_text <= 4 ? bar->auto_text - 1 : 0;
  const double value = (double)((float)MuiScrollbarGetPosDouble(id) * bar->text_mult);
  char text[MUI_TEXT_LEN];
  memcpy(text, mouse_box[id].text[0], sizeof(text));
  text[MUI_TEXT_LEN - 1] = 0;
  // The value goes after the prefix, or after what is left of it if the text was shortened since.
  const size_t len = strlen(text);
  const size_t at = bar->prefix_len > 0 && (size_t)bar->prefix_len < len ? (size_t)bar->prefix_len : len;
  if (bar->prefix_len > 0)
    snprintf(text + at, sizeof(text) - at, kAfterPrefix[places], " ", value);
  else
    snprintf(text, sizeof(text), kPlain[places], value);
  MuiDoSetText(id, 1, "");
  MuiDoSetText(id, 0, text);
  MuiUpdate(id);
}

void MuiScrollbarJump(int id, int direction) {
  if (MuiCheckId(id, "MuiScrollbarJump")) Jump(kHorizontal, id, direction);
}

char MuiScrollbarHandleArrowPress(int id, int which) {
  return MuiCheckId(id, "MuiScrollbarHandleArrowPress") ? ArrowStep(kHorizontal, id, which) : 0;
}

char MuiScrollbarHandlePress(int id, int x) {
  return MuiCheckId(id, "MuiScrollbarHandlePress") ? BodyPress(kHorizontal, id, x) : 0;
}

void MuiScrollbarHandleDragging(int id, int x) {
  if (!MuiIdValid(id)) {
    dragging = 0;
    return;
  }
  if (mouse_box[id].type != MUI_TYPE_SCROLLBAR) return;
  const double v = MuiScrollbarDoGetXPosFromScreen(id, &mui_scrollbar[id], (int)ToInt32((double)x - dragging_extra_x));
  MuiScrollbarSetPosDouble(id, v, 1, 0, 1);
}

void MuiScrollbarDraggingOver() {
  const int id = was_dragging;
  const bool same_screen = was_dragging_gen == mui_box_generation;
  was_dragging = -1;
  if (!same_screen || !IsType(id, MUI_TYPE_SCROLLBAR)) return;
  // Forced: the text is refreshed, the variable written and the callback told the drag is over.
  MuiScrollbarSetPosDouble(id, mui_scrollbar[id].pos, 0, 1, 1);
}

char MuiScrollbarHandleKeyPress(int id, char move) { return KeyMove(kHorizontal, id, move); }

void MuiScrollbarIncludeStandardButton(int id) {
  if (!MuiIdValid(id)) return;
  const int x = MuiScrollbarGetScreenXPos(id, &mui_scrollbar[id]);
  MuiIncludeStandardBitmap(id, MUI_STD_SB_THUMB, x, mouse_box[id].cy - mui_std_dim.sb_thumb_h / 2);
}

int MuiScrollbarGetScreenXPos(int id, _MuiScrollbar* bar) {
  if (!MuiIdValid(id)) return 0;
  if (!bar) bar = &mui_scrollbar[id];
  return ThumbEdge(HTrack(&mouse_box[id]), bar);
}

double MuiScrollbarDoGetXPosFromScreen(int id, _MuiScrollbar* bar, int x) {
  if (!MuiIdValid(id)) return 0.0;
  if (!bar) bar = &mui_scrollbar[id];
  const _MouseBox* b = &mouse_box[id];
  return PosFromScreen(HTrack(b), bar, x, mui_std_dim.sb_thumb_w, b->x1, b->x2);
}

// ---------------------------------------------------------------------------------------------
// Vertical scroll bar: the same five numbers, no text, a callback with -1 on every change.

void MuiVScrollbarReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  ResetBar(&mui_vscrollbar[id]);
}

void MuiVScrollbarSetValuesDouble(int id, double min, double max, double jump, double step) {
  if (!MuiCheckId(id, "MuiVScrollbarSetValuesDouble") || !LimitsOk(min, max)) return;
  MuiSetType(id, MUI_TYPE_VSCROLLBAR);
  MuiSetArrowKinds(id, 1, 1);
  _MuiScrollbar* bar = &mui_vscrollbar[id];
  bar->min = min;
  bar->max = max;
  bar->jump = jump;
  bar->step = step;
  bar->pos = min;
  MuiUpdate(id);
}

void MuiVScrollbarSetValues(int id, int min, int max, int jump, int step) {
  MuiVScrollbarSetValuesDouble(id, min, max, jump, step);
}
void MuiVScrollbarSetValuesFloat(int id, float min, float max, float jump, float step) {
  MuiVScrollbarSetValuesDouble(id, min, max, jump, step);
}
void MuiVScrollbarSetValuesLong(int id, int32_t min, int32_t max, int jump, int step) {
  MuiVScrollbarSetValuesDouble(id, min, max, jump, step);
}

void MuiVScrollbarSetPosDouble(int id, double p) {
  if (!IsType(id, MUI_TYPE_VSCROLLBAR)) return;
  _MuiScrollbar* bar = &mui_vscrollbar[id];
  const double v = Clamp(p, bar->min, bar->max);
  if (v == bar->pos) return;
  bar->pos = v;
  MuiUpdate(id);
  WriteBack(id, v);
  if (mouse_box[id].callback) mouse_box[id].callback(-1);
}

void MuiVScrollbarSetPos(int id, int pos) { MuiVScrollbarSetPosDouble(id, pos); }
void MuiVScrollbarSetPosLong(int id, int32_t pos) { MuiVScrollbarSetPosDouble(id, pos); }
void MuiVScrollbarSetPosFloat(int id, float pos) { MuiVScrollbarSetPosDouble(id, pos); }

double MuiVScrollbarGetPosDouble(int id) {
  if (!MuiCheckId(id, "MuiVScrollbarGetPosDouble")) return -1.0;
  if (mouse_box[id].type != MUI_TYPE_VSCROLLBAR) return -1.0;
  return mui_vscrollbar[id].pos;
}

int MuiVScrollbarGetPos(int id) { return (int)ToInt32(MuiVScrollbarGetPosDouble(id)); }
int32_t MuiVScrollbarGetPosLong(int id) { return ToInt32(MuiVScrollbarGetPosDouble(id)); }

static char VRegisterThen(int id, char registered, const void* variable) {
  if (registered && variable && mouse_box[id].type == MUI_TYPE_VSCROLLBAR) MuiVScrollbarUpdateFromRegisteredVariable(id);
  return registered;
}

char MuiVScrollbarRegisterIntVariable(int id, int* variable, int multiplier) {
  if (!MuiCheckId(id, "MuiVScrollbarRegisterIntVariable")) return 0;
  return VRegisterThen(id, MuiRegisterIntVariable(id, variable, multiplier), variable);
}

char MuiVScrollbarRegisterLongVariable(int id, int32_t* variable, int32_t multiplier) {
  if (!MuiCheckId(id, "MuiVScrollbarRegisterLongVariable")) return 0;
  return VRegisterThen(id, MuiRegisterLongVariable(id, variable, multiplier), variable);
}

char MuiVScrollbarRegisterFloatVariable(int id, float* variable, float multiplier) {
  if (!MuiCheckId(id, "MuiVScrollbarRegisterFloatVariable")) return 0;
  return VRegisterThen(id, MuiRegisterFloatVariable(id, variable, multiplier), variable);
}

void MuiVScrollbarUpdateFromRegisteredVariable(int id) {
  if (!MuiCheckId(id, "MuiVScrollbarUpdateFromRegisteredVariable")) return;
  double value = 0.0;
  if (RegisteredValue(id, false, &value)) MuiVScrollbarSetPosDouble(id, value);
}

void MuiVScrollbarJump(int id, int direction) {
  if (MuiCheckId(id, "MuiVScrollbarJump")) Jump(kVertical, id, direction);
}

char MuiVScrollbarHandleArrowPress(int id, int which) {
  return MuiCheckId(id, "MuiVScrollbarHandleArrowPress") ? ArrowStep(kVertical, id, which) : 0;
}

char MuiVScrollbarHandlePress(int id, int y) {
  return MuiCheckId(id, "MuiVScrollbarHandlePress") ? BodyPress(kVertical, id, y) : 0;
}

void MuiVScrollbarHandleDragging(int id, int y) {
  if (!MuiIdValid(id)) {
    dragging = 0;
    return;
  }
  if (mouse_box[id].type != MUI_TYPE_VSCROLLBAR) return;
  MuiVScrollbarSetPosDouble(
      id, MuiVScrollbarGetYPosFromScreen(id, &mui_vscrollbar[id], (int)ToInt32((double)y - dragging_extra_y)));
}

char MuiVScrollbarHandleKeyPress(int id, char move) { return KeyMove(kVertical, id, move); }

void MuiVScrollbarIncludeStandardButton(int id) {
  if (!MuiIdValid(id)) return;
  const int y = MuiVScrollbarGetScreenYPos(id, &mui_vscrollbar[id]);
  MuiIncludeStandardBitmap(id, MUI_STD_SB_THUMB, mouse_box[id].cx - mui_std_dim.sb_thumb_w / 2, y);
}

int MuiVScrollbarGetScreenYPos(int id, _MuiScrollbar* bar) {
  if (!MuiIdValid(id)) return 0;
  if (!bar) bar = &mui_vscrollbar[id];
  return ThumbEdge(VTrack(&mouse_box[id]), bar);
}

double MuiVScrollbarGetYPosFromScreen(int id, _MuiScrollbar* bar, int y) {
  if (!MuiIdValid(id)) return 0.0;
  if (!bar) bar = &mui_vscrollbar[id];
  const _MouseBox* b = &mouse_box[id];
  return PosFromScreen(VTrack(b), bar, y, mui_std_dim.sb_thumb_h, b->y1, b->y2);
}
