// Pictures on boxes: a texture the application owns, drawn over a box, whole or in part.
//
// The layer does not own these textures: it keeps a pointer only for a box of the table whose
// texture was created, and forgets every pointer when the menus shut down or exit, since the
// application may release or rebuild its textures (a new GL context) after that.
#include "MuiPicture.h"

#include <cstring>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"

_ComGlDxTexture* mui_pic_ptrs[MUI_MAX_BOXES];
_MuiPictureCoords mui_pic_tcs[MUI_MAX_BOXES];

namespace {

void Clear(int id) {
  mui_pic_ptrs[id] = nullptr;
  mouse_box[id].picture = 0;
  mui_pic_tcs[id].part = 0.0f;
}

}  // namespace

char MuiIsTexFilenameOk(const char* name, char required) {
  if (!name) return required ? 0 : 1;
  const size_t len = strnlen(name, 256);
  return len >= 1 && len <= 255;
}

void MuiPictureAttachTextureToButton(int id, _ComGlDxTexture* texture, char blend_type) {
  if (!texture || !MuiIdValid(id)) {
    DebugError("MuiPictureAttachTextureToButton", "Invalid Parameters");
    if (MuiIdValid(id)) Clear(id);
    return;
  }
  if (!texture->created) {
    DebugError("MuiPictureAttachTextureToButton", "Texture Not Ok");
    Clear(id);
    return;
  }
  mouse_box[id].picture = (unsigned char)(blend_type + 2);
  mui_pic_ptrs[id] = texture;
  mui_pic_tcs[id].part = 0.0f;
  MuiUpdate(id);
}

void MuiPictureSetTextureCoordinates(int id, float left, float top, float right, float bottom) {
  if (!MuiIdValid(id)) {
    DebugError("MuiPictureSetTextureCoordinates", "Invalid Parameters");
    return;
  }
  if (!mui_pic_ptrs[id] || !mui_pic_ptrs[id]->created) {
    DebugError("MuiPictureSetTextureCoordinates", "Texture Not Ok");
    return;
  }
  mui_pic_tcs[id] = _MuiPictureCoords{1.0f, left, top, right, bottom};
  MuiUpdate(id);
}

void MuiPictureRemoveTextureFromButton(int id) {
  if (!MuiCheckId(id, "MuiPictureRemoveTextureFromButton")) return;
  Clear(id);
  MuiUpdate(id);
}

// A new box starts without the previous screen's picture, its pointer included.
void MuiPictureReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  Clear(id);
}

void MuiPicturePre3dInit() {
  for (int id = 0; id < MUI_MAX_BOXES; id++) Clear(id);
}

void MuiPictureRemoveAll() { MuiPicturePre3dInit(); }

void MuiPictureDraw(int id) {
  if (!MuiIdValid(id)) return;
  const _MouseBox* b = &mouse_box[id];
  _ComGlDxTexture* t = mui_pic_ptrs[id];
  if (!b->picture || !t || !t->created) return;
  // The picture covers the box less one unit: a box of one unit has nothing to show (the texture
  // would be drawn where it was last placed).
  const int w = b->w - 1, h = b->h - 1;
  if (w <= 0 || h <= 0) return;
  char was_on = 0;
  int src = 0, dst = 0;
  const bool blend = b->picture >= 2;
  if (blend) {
    ComGlMiscGetBlendingState(&was_on, &src, &dst);
    ComGlMiscEnableBlendingType(b->picture - 2);
  }
  ComGlTexturePositionRatioed(t, b->x1, b->y1, w, h);
  const _MuiPictureCoords* c = &mui_pic_tcs[id];
  if (c->part != 0.0f)
    ComGlTextureDrawPart(t, c->left, c->top, c->right, c->bottom);
  else
    ComGlTextureDraw(t);
  if (blend) {
    if (was_on)
      ComGlMiscEnableSpecificBlending(src, dst);
    else
      ComGlMiscDisableBlending();
  }
}
