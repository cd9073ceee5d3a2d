// Per-box bitmaps: the box's state textures, the standard textures its widget places on it, and
// the blending both are drawn with.
#include "MuiBitmap.h"

#include <string.h>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "MuiCheckbox.h"
#include "MuiList.h"
#include "MuiScrollbar.h"

_MuiBitmap mui_bitmap[MUI_MAX_BOXES];
unsigned char mb_allow_blending = 1;
_MuiAlphaTexturesType mui_using_alpha_texs = MUI_ALPHA_NONE;
int mui_button_blend_type = -1;
int mui_std_button_blend_type = 1;

static bool RowValid(int id) { return id >= 0 && id < MUI_MAX_BOXES; }

void MuiSetBitmap(int id, const char* name) {
  if (!MuiCheckId(id, "MuiSetBitmap")) return;
  _MuiBitmap* b = &mui_bitmap[id];
  char segmented = 0;
  for (int s = 0; s < 4; s++) {
    b->tex[s] = nullptr;
    if (name) MuiTexturesGetButtonTexturePointer(name, (char)s, &b->tex[s], s == 0 ? &segmented : nullptr);
  }
  b->segmented = (unsigned char)segmented;
}

void MuiBitmapReset(int id) {
  if (!RowValid(id)) {
    DebugError("MuiBitmapReset", "Invalid ID: %d", id);
    return;
  }
  memset(&mui_bitmap[id], 0, sizeof(mui_bitmap[id]));
}

void MuiBitmapRemoveAllBitmaps() { memset(mui_bitmap, 0, sizeof(mui_bitmap)); }
void MuiBitmapExit() { MuiBitmapRemoveAllBitmaps(); }
void MuiBitmapPre3dInit() { MuiBitmapRemoveAllBitmaps(); }

void MuiIncludeStandardBitmap(int id, int standard_id, int x, int y) {
  if (!MuiCheckId(id, "MuiIncludeStandardBitmap")) return;
  if (standard_id < 0 || standard_id >= MUI_NUM_STD_TEXTURES) {
    DebugError("MuiIncludeStandardBitmap", "Invalid standard id <%d>", standard_id);
    return;
  }
  _MuiBitmap* b = &mui_bitmap[id];
  b->std_include[standard_id] = 1;
  b->std_x[standard_id] = x;
  b->std_y[standard_id] = y;
  b->any_standard = 1;
}

void MuiBitmapCalcNumStandards(int id) {
  if (!RowValid(id)) {
    DebugError("MuiBitmapCalcNumStandards", "Invalid ID: %d", id);
    return;
  }
  _MuiBitmap* b = &mui_bitmap[id];
  b->any_standard = 0;
  for (int s = 0; s < MUI_NUM_STD_TEXTURES; s++)
    if (b->std_include[s]) b->any_standard = 1;
}

void MuiBitmapSetArrows(int id, char left, char right) {
  if (!MuiIdValid(id)) return;
  _MuiBitmap* b = &mui_bitmap[id];
  if (!mouse_box[id].active) {
    b->std_include[MUI_STD_LEFT_ARROW] = 0;
    b->std_include[MUI_STD_RIGHT_ARROW] = 0;
  } else {
    b->std_include[MUI_STD_LEFT_ARROW] = left == 1;
    b->std_include[MUI_STD_RIGHT_ARROW] = right == 1;
  }
  MuiBitmapCalcNumStandards(id);
}

void MuiBitmapSetCheckbox(int id, char value) {
  if (!MuiIdValid(id)) return;
  _MuiBitmap* b = &mui_bitmap[id];
  const bool active = mouse_box[id].active != 0;
  b->std_include[MUI_STD_CHECK_ON] = active && value == 1;
  b->std_include[MUI_STD_CHECK_OFF] = active && value == 0;
  b->std_include[MUI_STD_CHECK_ON_DISABLED] = !active && value == 1;
  b->std_include[MUI_STD_CHECK_OFF_DISABLED] = !active && value == 0;
  MuiBitmapCalcNumStandards(id);
}

void MuiBitmapUpdateStandardArrows(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* box = &mouse_box[id];
  if (!box->active) return;
  const int aw = mui_std_dim.arrow_w, ah = mui_std_dim.arrow_h;
  const bool scrollbar = box->type == MUI_TYPE_SCROLLBAR || box->type == MUI_TYPE_VSCROLLBAR;
  const int m = scrollbar ? box->scrollbar_margin : box->arrow_margin;
  const int centred_x = box->x1 + (box->x2 - box->x1) / 2 - aw / 2;
  const int y = box->cy - ah / 2;
  if (box->left_arrow == 1 || box->left_arrow == 3)
    MuiIncludeStandardBitmap(id, MUI_STD_LEFT_ARROW, box->left_arrow == 1 ? box->x1 + m : centred_x, y);
  if (box->right_arrow == 1 || box->right_arrow == 3)
    MuiIncludeStandardBitmap(id, MUI_STD_RIGHT_ARROW, box->right_arrow == 1 ? box->x2 - aw - m : centred_x, y);
}

void MuiBitmapUpdateStandardButtons() {
  for (int id = 0; id < num_mouse_boxes; id++) {
    if (!mouse_box[id].shown) continue;
    MuiBitmapUpdateStandardArrows(id);
    switch (mouse_box[id].type) {
      case MUI_TYPE_SCROLLBAR:
        MuiScrollbarIncludeStandardButton(id);
        break;
      case MUI_TYPE_VSCROLLBAR:
        MuiVScrollbarIncludeStandardButton(id);
        break;
      case MUI_TYPE_LIST:
        MuiListIncludeStandardButton(id);
        break;
      case MUI_TYPE_CHECKBOX:
        MuiCheckboxIncludeStandardButton(id);
        break;
      default:
        break;
    }
  }
}

void MuiBitmapAllowBlending(char on) { mb_allow_blending = on ? 1 : 0; }

void MuiBitmapSetupBlending(_MouseBox* box) {
  if (!box || !mb_allow_blending) return;
  int type = -1;
  switch (box->button_blend_type) {
    case 0:
      type = mui_using_alpha_texs != MUI_ALPHA_NONE ? 7 : mui_button_blend_type;
      break;
    case 1:
      type = 10;
      break;
    case 2:
      type = 4;
      break;
    default:
      type = 8;
      break;
  }
  if (type >= 0) ComGlMiscEnableBlendingType(type);
}

void MuiBitmapTurnOffBlending(_MouseBox* box) {
  if (!box || !mb_allow_blending) return;
  ComGlMiscDisableBlending();
}

void MuiBitmapSetupBlendingForStandardButtons() {
  if (mui_std_button_blend_type >= 0) ComGlMiscEnableBlendingType(mui_std_button_blend_type);
}

void MuiBitmapTurnOffBlendingForStandardButtons() { ComGlMiscDisableBlending(); }

// Draws one of the box's own textures over a rectangle with the box's blending.
static void DrawBoxTexture(int id, _ComGlDxTexture* texture, int x, int y, int w, int h) {
  if (!texture) return;
  _MouseBox* box = &mouse_box[id];
  MuiBitmapSetupBlending(box);
  MuiTexturesDrawTexture(texture, x, y, w, h, (char)mui_bitmap[id].segmented);
  MuiBitmapTurnOffBlending(box);
}

void MuiBitmapDrawButton(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* box = &mouse_box[id];
  int state = MUI_TEX_NORMAL;
  if (!box->active)
    state = MUI_TEX_DISABLED;
  else if (box->type == MUI_TYPE_SCRIPT)
    state = MUI_TEX_NORMAL;
  else if (box->pressed)
    state = MUI_TEX_PRESSED;
  else if (id == box_highlighted)
    state = MUI_TEX_HIGHLIGHTED;
  DrawBoxTexture(id, mui_bitmap[id].tex[state], box->x1, box->y1, box->w, box->h);
  MuiBitmapDrawStandardTextures(id);
}

void MuiBitmapDrawStandardTextures(int id) {
  if (!MuiIdValid(id) || !mui_bitmap[id].any_standard) return;
  const _MuiBitmap* b = &mui_bitmap[id];
  const char state = mouse_box[id].active ? MUI_TEX_NORMAL : MUI_TEX_DISABLED;
  MuiBitmapSetupBlendingForStandardButtons();
  for (int s = 0; s < MUI_NUM_STD_TEXTURES; s++)
    if (b->std_include[s])
      MuiTexturesDrawButtonTexture(s, state, b->std_x[s], b->std_y[s], mui_tex_std_widths[s], mui_tex_std_heights[s]);
  MuiBitmapTurnOffBlendingForStandardButtons();
}

// The surface states count normal, highlighted, pressed, disabled; the texture states normal,
// pressed, highlighted, disabled.
static _ComGlDxTexture* SurfaceTexture(int id, char state) {
  static const int kTexState[4] = {MUI_TEX_NORMAL, MUI_TEX_HIGHLIGHTED, MUI_TEX_PRESSED, MUI_TEX_DISABLED};
  if (state < 0 || state > 3) return nullptr;
  return mui_bitmap[id].tex[kTexState[(int)state]];
}

void MuiBitmapPlaceOnBitmapsSurface(int id, int x, int y, char state) {
  if (!MuiIdValid(id)) return;
  DrawBoxTexture(id, SurfaceTexture(id, state), x, y, mouse_box[id].w, mouse_box[id].h);
}

void MuiBitmapPlaceOnBitmapsSurfaceWH(int id, int x, int y, int w, int h, char state) {
  if (!MuiIdValid(id)) return;
  DrawBoxTexture(id, SurfaceTexture(id, state), x, y, w, h);
}

void MuiBitmapDrawStandardButton(int standard_id, int x, int y, int w, int h, char blend) {
  if (standard_id < 0 || standard_id >= MUI_NUM_STD_TEXTURES) return;
  if (blend) MuiBitmapSetupBlendingForStandardButtons();
  MuiTexturesDrawButtonTexture(standard_id, MUI_TEX_NORMAL, x, y, w, h);
  if (blend) MuiBitmapTurnOffBlendingForStandardButtons();
}
