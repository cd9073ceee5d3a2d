// Pictures on boxes: a texture the application owns, drawn over a box, whole or in part.
#include "MuiPicture.h"

_ComGlDxTexture* mui_pic_ptrs[MUI_MAX_BOXES];
_MuiPictureCoords mui_pic_tcs[MUI_MAX_BOXES];

char MuiIsTexFilenameOk(const char*, char) { return 0; }
void MuiPictureAttachTextureToButton(int, _ComGlDxTexture*, char) {}
void MuiPictureSetTextureCoordinates(int, float, float, float, float) {}
void MuiPictureRemoveTextureFromButton(int) {}
void MuiPictureReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mouse_box[id].picture = 0;
  mui_pic_tcs[id].part = 0.0f;
}
void MuiPicturePre3dInit() {
  for (int id = 0; id < MUI_MAX_BOXES; id++) {
    mui_pic_ptrs[id] = nullptr;
    mouse_box[id].picture = 0;
    mui_pic_tcs[id].part = 0.0f;
  }
}
void MuiPictureRemoveAll() { MuiPicturePre3dInit(); }
void MuiPictureDraw(int) {}
