// The colour picker (box type 13): three bars for red, green and blue over a bound _MuiFloat3.
//
// Each bar borrows the horizontal scroll bar's thumb geometry on the bar's own rectangle (the box
// narrowed by 3 at each side, a third of its height). Presses, drags and drawing all use that one
// rectangle, so the thumb is hit exactly where it is drawn.
#include "MuiColour.h"

#include <cstdint>

#include "ComDebug.h"
#include "ComMacWinInput.h"
#include "MuiBitmap.h"
#include "MuiTextures.h"

_MuiColour mui_colour[MUI_MAX_BOXES];

namespace {

int col_selected = 0;      // the bar (0 red, 1 green, 2 blue) of the last press
int mc_dragging_extra = 0; // where the thumb was grabbed, from its centre
// The box whose components a drag changed, and the table generation it belongs to.
int was_dragging = -1;
unsigned int was_dragging_gen = 0;

const float kMinMult = 0.00001f;

float Clamp01(float v) {
  if (!(v >= 0.0f)) return 0.0f;
  if (!(v <= 1.0f)) return 1.0f;
  return v;
}

float* Component(_MuiColour* c, int i) { return i == 0 ? &c->r : i == 1 ? &c->g : &c->b; }

void SetBar(_MuiScrollbar* bar, float value) {
  MuiScrollbarDoSetValuesDouble(bar, 0.0, 1.0, 0.1, 0.01);
  bar->pos = value;
}

_MuiFloat3* Variable(int id) {
  const _MouseBox* b = &mouse_box[id];
  return b->registered_kind == MUI_VAR_FLOAT3 ? b->colour_var : nullptr;
}

void Notify(int id, char arg) {
  if (mouse_box[id].callback) mouse_box[id].callback(arg);
}

int BarHeight(const _MouseBox* b) { return (b->h - 4) / 3; }

// The box reshaped to one bar's rectangle while the scroll-bar geometry is asked about it; the
// box's own rectangle comes back when this goes out of scope.
class BarRect {
 public:
  BarRect(int id, int bar) : box_(&mouse_box[id]) {
    saved_ = {box_->x1, box_->y1, box_->x2, box_->y2, box_->w, box_->h, box_->cx, box_->cy, box_->left_arrow};
    const int hb = BarHeight(box_);
    box_->x1 = saved_.x1 + 3;
    box_->x2 = saved_.x2 - 3;
    box_->y1 = saved_.y1 + 2 + bar * hb;
    box_->y2 = box_->y1 + hb;
    box_->w = box_->x2 - box_->x1;
    box_->h = hb;
    box_->cx = box_->x1 + box_->w / 2;
    box_->cy = box_->y1 + hb / 2;
    // A bar has no arrows of its own (the box's arrow kinds only route its presses here): its
    // thumb travels the whole bar.
    box_->left_arrow = 0;
  }
  ~BarRect() {
    box_->x1 = saved_.x1;
    box_->x2 = saved_.x2;
    box_->y1 = saved_.y1;
    box_->y2 = saved_.y2;
    box_->w = saved_.w;
    box_->h = saved_.h;
    box_->cx = saved_.cx;
    box_->cy = saved_.cy;
    box_->left_arrow = saved_.left_arrow;
  }
  BarRect(const BarRect&) = delete;
  BarRect& operator=(const BarRect&) = delete;

 private:
  _MouseBox* box_;
  struct {
    int32_t x1, y1, x2, y2, w, h, cx, cy;
    unsigned char left_arrow;
  } saved_;
};

int ThumbX(int id, int bar) {
  BarRect rect(id, bar);
  return MuiScrollbarGetScreenXPos(id, &mui_colour[id].bar[bar]);
}

double ValueAt(int id, int bar, int x) {
  BarRect rect(id, bar);
  return MuiScrollbarDoGetXPosFromScreen(id, &mui_colour[id].bar[bar], x);
}

}  // namespace

void MuiColourReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  _MuiColour* c = &mui_colour[id];
  *c = _MuiColour{};
  for (_MuiScrollbar& bar : c->bar) {
    bar.text_mult = 1.0f;
    SetBar(&bar, 0.0f);
  }
  c->mult = 1.0f;
  c->offset = 0.0f;
}

void MuiColourSetFloat(int id, float r, float g, float b, char notify) {
  if (!MuiCheckId(id, "MuiColourSetFloat")) return;
  _MuiColour* c = &mui_colour[id];
  float v[3] = {r, g, b};
  if (Variable(id)) {
    // Values in the variable's units.
    for (float& f : v) f = (f - c->offset) / c->mult;
  } else {
    for (float f : v) {
      if (!(f >= 0.0f && f <= 1.0f)) {
        DebugError("MuiColourSetFloat", "invalid col R:%f G:%f B:%f (ID: %d)", (double)r, (double)g, (double)b, id);
        return;
      }
    }
  }
  for (int i = 0; i < 3; i++) {
    *Component(c, i) = v[i];
    SetBar(&c->bar[i], v[i]);
  }
  MuiColourUpdateFloatVar(id);
  if (notify) Notify(id, 0);
  MuiUpdate(id);
}

void MuiColourSet(int id, int r, int g, int b, char notify) {
  MuiColourSetFloat(id, (float)r / 255.0f, (float)g / 255.0f, (float)b / 255.0f, notify);
}

char MuiColourRegisterFloat3VariableMult(int id, _MuiFloat3* variable, float mult, float offset) {
  if (!MuiCheckId(id, "MuiColourRegisterFloat3VariableMult")) return 0;
  if (!variable) {
    DebugError("MuiColourRegisterFloat3VariableMult", "Var not set");
    // Nothing may be read or written through the old variable either.
    if (Variable(id)) MuiRegisterFloat3Variable(id, nullptr);
    return 0;
  }
  if (!MuiRegisterFloat3Variable(id, variable)) return 0;
  _MuiColour* c = &mui_colour[id];
  c->mult = mult == 0.0f ? kMinMult : mult;
  c->offset = offset;
  MuiColourSetFloat(id, variable->r, variable->g, variable->b, 0);
  return 1;
}

char MuiColourRegisterFloat3Variable(int id, _MuiFloat3* variable) {
  return MuiColourRegisterFloat3VariableMult(id, variable, 1.0f, 0.0f);
}

void MuiColourUpdateFromFloatVar(int id, char notify) {
  if (!MuiCheckId(id, "MuiColourUpdateFromFloatVar")) return;
  const _MuiFloat3* var = Variable(id);
  if (var) MuiColourSetFloat(id, var->r, var->g, var->b, notify);
}

void MuiColourUpdateFloatVar(int id) {
  if (!MuiIdValid(id)) return;
  _MuiFloat3* var = Variable(id);
  if (!var) return;
  MuiColourGetFloat(id, &var->r, &var->g, &var->b);
}

void MuiColourGetFloat(int id, float* r, float* g, float* b) {
  float* out[3] = {r, g, b};
  const bool ok = MuiCheckId(id, "MuiColourGetFloat");
  for (int i = 0; i < 3; i++) {
    if (!out[i]) continue;
    if (!ok) {
      *out[i] = 0.0f;
      continue;
    }
    _MuiColour* c = &mui_colour[id];
    *out[i] = *Component(c, i) * c->mult + c->offset;
  }
}

void MuiColourGet(int id, int* r, int* g, int* b) {
  float f[3] = {0.0f, 0.0f, 0.0f};
  MuiColourGetFloat(id, &f[0], &f[1], &f[2]);
  int* out[3] = {r, g, b};
  for (int i = 0; i < 3; i++) {
    if (!out[i]) continue;
    const float v = f[i];
    if (!(v > -2147483648.0f))
      *out[i] = v != v ? 0 : INT32_MIN;
    else if (!(v < 2147483648.0f))
      *out[i] = INT32_MAX;
    else
      *out[i] = (int)v;
  }
}

void MuiColourDraw(int id) {
  if (!MuiIdValid(id)) return;
  MuiBitmapDrawButton(id);
  const _MouseBox* box = &mouse_box[id];
  const int first = box->active ? MUI_STD_COLOUR_RED : MUI_STD_COLOUR_RED_INACTIVE;
  const char state = box->highlighted ? MUI_TEX_HIGHLIGHTED : MUI_TEX_NORMAL;
  _ComGlDxTexture* thumb = nullptr;
  char thumb_segmented = 0;
  MuiTextureGetStandardTexturePointer(MUI_STD_SB_THUMB, MUI_TEX_NORMAL, &thumb, &thumb_segmented);
  const int tw = mui_std_dim.sb_thumb_w;
  for (int i = 0; i < 3; i++) {
    int x = 0, y = 0, w = 0, h = 0, thumb_x = 0;
    {
      BarRect rect(id, i);
      x = box->x1;
      y = box->y1;
      w = box->w;
      h = box->h;
      thumb_x = MuiScrollbarGetScreenXPos(id, &mui_colour[id].bar[i]);
    }
    _ComGlDxTexture* tex = nullptr;
    char segmented = 0;
    MuiTextureGetStandardTexturePointer(first + i, state, &tex, &segmented);
    MuiTexturesDrawTexture(tex, x, y, w, h, segmented);
    if (tw > 0 && thumb) {
      MuiBitmapSetupBlendingForStandardButtons();
      MuiTexturesDrawTexture(thumb, thumb_x, y + 1, tw, h - 2, thumb_segmented);
      MuiBitmapTurnOffBlendingForStandardButtons();
    }
  }
}

char MuiColourHandleMousePress(int id, int x, int y) {
  if (!MuiCheckId(id, "MuiColourHandleMousePress")) return 0;
  const _MouseBox* box = &mouse_box[id];
  if (!box->active || !box->shown) return 0;
  const int row = 3 * (y - box->y1);
  col_selected = row < box->h ? 0 : row < 2 * box->h ? 1 : 2;
  _MuiColour* c = &mui_colour[id];
  _MuiScrollbar* bar = &c->bar[col_selected];
  const int tw = mui_std_dim.sb_thumb_w;
  const int thumb_x = ThumbX(id, col_selected);
  if (x >= thumb_x && x < thumb_x + tw) {
    mc_dragging_extra = x - thumb_x - tw / 2;
    dragging = 1;
    return 1;
  }
  const double v = ValueAt(id, col_selected, x);
  if (!(v >= bar->min && v <= bar->max)) return 0;
  if (v == bar->pos) {
    MuiUpdate(id);
    dragging = 1;
    return 1;
  }
  // One jump toward the pointer, never past an end.
  const double moved = v > bar->pos ? bar->pos + bar->jump : bar->pos - bar->jump;
  const float value = Clamp01((float)moved);
  bar->pos = value;
  *Component(c, col_selected) = value;
  MuiColourUpdateFloatVar(id);
  Notify(id, 0);
  MuiUpdate(id);
  return 1;
}

void MuiColourHandleDragging(int id, int x) {
  if (!MuiIdValid(id)) {
    dragging = 0;
    return;
  }
  const _MouseBox* box = &mouse_box[id];
  if (!box->active || !box->shown || box->type != MUI_TYPE_COLOUR) return;
  _MuiColour* c = &mui_colour[id];
  // Past either end the component stops at that end; a fast drag must not stop short of it.
  const float v = Clamp01((float)ValueAt(id, col_selected, (int)((int64_t)x - mc_dragging_extra)));
  float* comp = Component(c, col_selected);
  if (v == *comp) return;
  const float delta = v - *comp;
  *comp = v;
  c->bar[col_selected].pos = v;
  if (key_down[COM_KEY_SHIFT] > 1) {
    for (int i = 0; i < 3; i++) {
      if (i == col_selected) continue;
      const float moved = Clamp01(*Component(c, i) + delta);
      *Component(c, i) = moved;
      c->bar[i].pos = moved;
    }
  }
  MuiColourUpdateFloatVar(id);
  const unsigned int gen = mui_box_generation;
  Notify(id, 1);
  if (gen != mui_box_generation) return;
  MuiUpdate(id);
  was_dragging = id;
  was_dragging_gen = gen;
}

void MuiColourDraggingOver() {
  const int id = was_dragging;
  const bool same_screen = was_dragging_gen == mui_box_generation;
  was_dragging = -1;
  if (same_screen && MuiIdValid(id) && mouse_box[id].type == MUI_TYPE_COLOUR) Notify(id, 0);
}
