// Button textures: the 100-slot table, loading by state, lookups by name and number, and drawing
// stretched or nine-sliced.
#include "MuiTextures.h"

#include <string.h>

#include "ComDebug.h"
#include "MuiBars.h"
#include "MuiBitmap.h"
#include "MuiHooks.h"

_MuiTexture mui_texture[MUI_MAX_TEXTURES];
int mui_tex_std_widths[MUI_NUM_STD_TEXTURES];
int mui_tex_std_heights[MUI_NUM_STD_TEXTURES];
unsigned char mt_segmented_drawing_on = 0;
int mt_segmented_drawing_corner_size = 5;
float mt_tc1 = 0.25f;
float mt_tc2 = 0.75f;
unsigned char mui_textures_load_bmp_format = 1;
char mt_init_ok = -1;

static MuiTexturesLoadCB mt_load_cb = nullptr;
static MuiTexturesOverwriteCB mt_overwrite_cb = nullptr;
static MuiTexturesPostLoadCB mt_post_load_cb = nullptr;

static const int kStdDefaultSize = 64;
static const int kMaxFilename = 255;  // a file name of this many characters or more is refused

void MuiTexturesSetLoadCB(MuiTexturesLoadCB cb) { mt_load_cb = cb; }
void MuiTexturesSetOverwriteTextureCB(MuiTexturesOverwriteCB cb) { mt_overwrite_cb = cb; }
void MuiTexturesSetPostLoadButtonsCB(MuiTexturesPostLoadCB cb) { mt_post_load_cb = cb; }

static void ClearSlots() {
  memset(mui_texture, 0, sizeof(mui_texture));
  for (int i = 0; i < MUI_NUM_STD_TEXTURES; i++) {
    mui_tex_std_widths[i] = kStdDefaultSize;
    mui_tex_std_heights[i] = kStdDefaultSize;
  }
}

void MuiTexturesPre3dInit() {
  ClearSlots();
  mt_init_ok = 0;
}

char MuiTexturesInit() {
  if (mt_init_ok == -1) {
    DebugError("MuiTexturesInit", "MuiTexturesPre3dInit() not called");
    return 0;
  }
  if (mt_init_ok == 1) {
    DebugError("MuiTexturesInit", "Already init'd");
    return 0;
  }
  if (mt_load_cb) mt_load_cb(0);
  MuiProgressLoadTextures();
  MuiPieLoadTextures();
  MuiGraphLoadTextures();
  if (mt_post_load_cb) mt_post_load_cb();
  mt_init_ok = 1;
  return 1;
}

void MuiTexturesExit() {
  if (mt_init_ok != 1) {
    DebugError("MuiTexturesExit", "Not init'd");
    return;
  }
  for (int i = 0; i < MUI_MAX_TEXTURES; i++)
    for (int s = 0; s < 4; s++)
      if (mui_texture[i].status[s] == MUI_TEX_LOADED) ComGlTextureRelease(&mui_texture[i].tex[s]);
  ClearSlots();
  MuiProgressReleaseTextures();
  MuiPieReleaseTextures();
  MuiGraphReleaseTextures();
  mt_init_ok = 0;
}

// Loads one state image with the alpha treatment the application asked for.
static char MuiTexturesLoadFromFile(const char* file, _ComGlDxTexture* texture) {
  size_t len = strnlen(file, kMaxFilename);
  if (len == 0 || len >= (size_t)kMaxFilename) {
    DebugError("MuiTexturesLoadFromFile", "Bad filename");
    return 0;
  }
  char force32 = 0, alpha_type = 0;
  if (mui_using_alpha_texs == MUI_ALPHA_TYPE_3) {
    force32 = 1;
    alpha_type = 3;
  } else if (mui_using_alpha_texs == MUI_ALPHA_TYPE_2) {
    force32 = 1;
    alpha_type = 2;
  }
  if (mui_textures_load_bmp_format) {
    if (!ComGlTextureLoadFromBmpFile(file, 0, force32, alpha_type, texture)) {
      DebugError("MuiTexturesLoadFromFile", "Could not load bmp texture <%s>", file);
      return 0;
    }
  } else if (!ComGlTextureLoadFromTgaFile(file, 0, force32, alpha_type, texture)) {
    DebugError("MuiTexturesLoadFromFile", "Could not load tga texture <%s>", file);
    return 0;
  }
  return 1;
}

char MuiTexturesAddButton(int id, const char* name, const char* file, char state, char standard,
                          int width, int height) {
  static const char* kFn = "MuiTexturesAddButton";
  if (id < 0 || id >= MUI_MAX_TEXTURES) {
    DebugError(kFn, "Invalid id <%d>", id);
    return 0;
  }
  if (standard && id >= MUI_NUM_STD_TEXTURES) {
    DebugError(kFn, "Invalid standard id <%d>", id);
    return 0;
  }
  if (!standard && id < MUI_NUM_STD_TEXTURES) {
    DebugError(kFn, "Invalid normal id <%d>", id);
    return 0;
  }
  if (state >= 4) {
    DebugError(kFn, "Invalid state <%d>", (int)state);
    return 0;
  }
  if (!name || !name[0]) {
    DebugError(kFn, "No name specified");
    return 0;
  }
  if (strnlen(name, MUI_TEXTURE_NAME_LEN) >= (size_t)MUI_TEXTURE_NAME_LEN) {
    DebugError(kFn, "Name too long <%s>", name);
    return 0;
  }
  const bool one_file = state < 0;  // bit 7 of the signed state
  const int s = one_file ? 0 : state;
  _MuiTexture* slot = &mui_texture[id];
  // Checked before anything changes: a loaded state overwritten by "no file" would never be
  // released again.
  if (slot->status[s] == MUI_TEX_LOADED || (file && slot->status[s] != MUI_TEX_NOT_SET)) {
    DebugError(kFn, "Button <%d:%d> already set", id, s);
    return 0;
  }
  memcpy(slot->name, name, strlen(name) + 1);
  if (!file) {
    slot->status[s] = MUI_TEX_NO_FILE;
  } else {
    if (!MuiTexturesLoadFromFile(file, &slot->tex[s])) return 0;
    slot->status[s] = MUI_TEX_LOADED;
    slot->loaded = 1;
    ComGlTexturePositionRatioed(&slot->tex[s], 0, 0, 100, 100);
  }
  if (one_file) slot->one_file = 1;
  slot->segmented = mt_segmented_drawing_on;
  if (standard) {
    mui_tex_std_widths[id] = width > 0 ? width : kStdDefaultSize;
    mui_tex_std_heights[id] = width > 0 ? height : kStdDefaultSize;
  }
  return 1;
}

// The answer of one slot for one state (the table part of every lookup).
static char SlotLookup(const _MuiTexture* slot, int state, _ComGlDxTexture** texture, char* segmented) {
  int s = slot->one_file ? 0 : state;
  if (segmented) *segmented = (char)slot->segmented;
  if (slot->status[s] == MUI_TEX_NO_FILE) return 1;
  if (slot->status[s] == MUI_TEX_NOT_SET) return 0;
  *texture = const_cast<_ComGlDxTexture*>(&slot->tex[s]);
  return 1;
}

char MuiTexturesGetButtonTexturePointer(const char* name, char state, _ComGlDxTexture** texture,
                                        char* segmented) {
  static const char* kFn = "MuiTexturesGetButtonTexturePointer";
  if (!texture) return 0;
  // The hook may answer "handled" without writing a texture: it must find null, not garbage.
  *texture = nullptr;
  if (state < 0 || state > 3) {
    DebugError(kFn, "Invalid state <%d>", (int)state);
    return 0;
  }
  if (!name || !name[0]) return 0;
  if (mt_overwrite_cb) {
    char answer = mt_overwrite_cb(name, state, texture, segmented);
    if (answer != 2) return answer;
    *texture = nullptr;
  }
  for (int i = 0; i < MUI_MAX_TEXTURES; i++)
    if (strcmp(mui_texture[i].name, name) == 0) return SlotLookup(&mui_texture[i], state, texture, segmented);
  DebugError(kFn, "Unknown bitmap %s", name);
  return 0;
}

char MuiTextureGetStandardTexturePointer(int id, char state, _ComGlDxTexture** texture, char* segmented) {
  if (!texture) return 0;
  *texture = nullptr;
  if (id < 0 || id >= MUI_MAX_TEXTURES || state < 0 || state > 3) return 0;
  return SlotLookup(&mui_texture[id], state, texture, segmented);
}

const char* MuiTexturesGetTextureName(int id, char* is_standard) {
  if (mt_init_ok != 1 || id < 0 || id >= MUI_MAX_TEXTURES) return nullptr;
  if (mui_texture[id].status[0] != MUI_TEX_LOADED) return nullptr;
  if (is_standard) *is_standard = id < MUI_NUM_STD_TEXTURES ? 1 : 0;
  return mui_texture[id].name;
}

int MuiTexturesGetTextureNumFromName(const char* name) {
  if (!name || !name[0]) return -1;
  for (int i = 0; i < MUI_MAX_TEXTURES; i++)
    if (mui_texture[i].status[0] == MUI_TEX_LOADED && strcmp(mui_texture[i].name, name) == 0) return i;
  return -1;
}

_ComGlDxTexture* MuiTexturesGetTextureFromNum(int id, char state) {
  if (mt_init_ok != 1 || id < 0 || id >= MUI_MAX_TEXTURES || state < 0 || state > 3) return nullptr;
  _MuiTexture* slot = &mui_texture[id];
  // One image serves every state of a one-file slot, as in the lookups by name.
  const int s = slot->one_file ? 0 : state;
  if (slot->status[s] != MUI_TEX_LOADED || !slot->tex[s].created) return nullptr;
  return &slot->tex[0];
}

char MuiTexturesDrawButtonTexture(int id, char state, int x, int y, int w, int h) {
  _ComGlDxTexture* texture = MuiTexturesGetTextureFromNum(id, state);
  if (!texture) return 0;
  return MuiTexturesDrawTexture(texture, x, y, w, h, (char)mui_texture[id].segmented);
}

// One piece of a nine-sliced texture: the rectangle on screen and the part of the picture
// (measured from its top left) that goes there.
static void DrawPiece(_ComGlDxTexture* t, float x, float y, float w, float h, float tl, float tt, float tr,
                      float tb) {
  ComGlTexturePositionFloatRatioed(t, x, y, w, h);
  ComGlTextureDrawPart(t, tl, tt, tr, tb);
}

char MuiTexturesDrawTexture(_ComGlDxTexture* texture, int x, int y, int w, int h, char segmented) {
  // A texture without an image, or a rectangle without area, draws nothing: the quad would
  // otherwise land wherever the shared texture was last placed.
  if (!texture || !texture->created || !texture->image.loaded || w <= 0 || h <= 0) return 0;
  const int e = mt_segmented_drawing_corner_size;
  const bool across = w > 3 * e;
  const bool down = h > 3 * e;
  if (!segmented || (!across && !down)) {
    ComGlTexturePositionRatioed(texture, x, y, w, h);
    ComGlTextureDraw(texture);
    return 1;
  }
  // Columns and rows: on screen (start, size) and in the picture (from, to).
  const float t1 = mt_tc1, t2 = mt_tc2;
  float cx[3], cw[3], ct[4];
  float ry[3], rh[3], rt[4];
  int ncols = 1, nrows = 1;
  if (across) {
    ncols = 3;
    cx[0] = (float)x, cw[0] = (float)e;
    cx[1] = (float)(x + e), cw[1] = (float)(w - 2 * e);
    cx[2] = (float)(x + w - e), cw[2] = (float)e;
    ct[0] = 0.0f, ct[1] = t1, ct[2] = t2, ct[3] = 1.0f;
  } else {
    cx[0] = (float)x, cw[0] = (float)w;
    ct[0] = 0.0f, ct[1] = 1.0f;
  }
  if (down) {
    nrows = 3;
    ry[0] = (float)y, rh[0] = (float)e;
    ry[1] = (float)(y + e), rh[1] = (float)(h - 2 * e);
    ry[2] = (float)(y + h - e), rh[2] = (float)e;
    rt[0] = 0.0f, rt[1] = t1, rt[2] = t2, rt[3] = 1.0f;
  } else {
    ry[0] = (float)y, rh[0] = (float)h;
    rt[0] = 0.0f, rt[1] = 1.0f;
  }
  for (int r = 0; r < nrows; r++)
    for (int c = 0; c < ncols; c++) DrawPiece(texture, cx[c], ry[r], cw[c], rh[r], ct[c], rt[r], ct[c + 1], rt[r + 1]);
  return 1;
}

void MuiTexturesLoadUsingBmpFormat(char on) { mui_textures_load_bmp_format = on ? 1 : 0; }

void MuiTexturesSetupSegmentedDrawing(char on, int corner, float fraction) {
  mt_segmented_drawing_on = on ? 1 : 0;
  if (!on) return;
  if (corner >= 1) mt_segmented_drawing_corner_size = corner;
  if (fraction > 0.0f && fraction < 0.5f) {
    mt_tc1 = fraction;
    mt_tc2 = 1.0f - fraction;
  }
}

void MuiTexturesSetButtonUsesSegmentedDrawingMethod(int id, char on) {
  if (id < 0 || id >= MUI_MAX_TEXTURES) {
    DebugError("MuiTexturesSetButtonUsesSegmentedDrawingMethod", "Invalid id <%d>", id);
    return;
  }
  mui_texture[id].segmented = on ? 1 : 0;
}
