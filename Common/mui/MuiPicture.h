// Pictures on boxes: a texture the application owns, drawn over a box, whole or in part.
#ifndef MUI_PICTURE_H
#define MUI_PICTURE_H

#include "MuiBox.h"

struct _ComGlDxTexture;

struct _MuiPictureCoords {
  float part;                       // 0 draws the whole texture
  float left, top, right, bottom;
};

extern _ComGlDxTexture* mui_pic_ptrs[MUI_MAX_BOXES];
extern _MuiPictureCoords mui_pic_tcs[MUI_MAX_BOXES];

char MuiIsTexFilenameOk(const char* name, char required);
void MuiPictureAttachTextureToButton(int id, _ComGlDxTexture* texture, char blend_type);
void MuiPictureSetTextureCoordinates(int id, float left, float top, float right, float bottom);
void MuiPictureRemoveTextureFromButton(int id);
void MuiPictureReset(int id);
void MuiPicturePre3dInit();
void MuiPictureRemoveAll();
void MuiPictureDraw(int id);

#endif
