// Drawable textures: loading, placement, drawing, in-place pixel operations and the exchange
// with 32-bit pixel buffers.
#include "ComGlTexture.h"

#include <GL/gl.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "ComDebug.h"
#include "ComGlLoad.h"
#include "ComGlMisc.h"
#include "ComGlMisc3D.h"
#include "ComMacWin.h"
#include "ComMisc.h"
#include "ComTga.h"

namespace {

inline const char* S(const char* text) { return text ? text : ""; }

// Sends the whole pixel buffer to the texture again.
char ReUpload(const char* label, _ComGlDxTexture* texture) {
  _ComGlTextureImage* image = &texture->image;
  const GLenum format = image->bpp == 32 ? GL_RGBA : GL_RGB;
  GLint unpack = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glBindTexture(GL_TEXTURE_2D, image->tex_name);
  glTexImage2D(GL_TEXTURE_2D, 0, (GLint)format, image->width, image->height, 0, format, GL_UNSIGNED_BYTE,
               image->pixels);
  glBindTexture(GL_TEXTURE_2D, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, unpack);
  return ComGlMiscCheckGlError(label, "glTexImage2D");
}

inline bool HasPixels(const _ComGlDxTexture* t) { return t && t->created && t->image.pixels; }

// A rectangle counted from the top left, inside a w x h picture, with negative sizes meaning
// the whole width or height. Returns false when it does not fit.
bool ResolveRect(int tex_w, int tex_h, int x, int* w, int y, int* h) {
  if (*w < 0) *w = tex_w;
  if (*h < 0) *h = tex_h;
  return x >= 0 && *w > 0 && (int64_t)x + *w <= tex_w && y >= 0 && *h > 0 && (int64_t)y + *h <= tex_h;
}

inline unsigned char ClampByte(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return (unsigned char)v;
}

// One channel of the pixel transform; a factor that does not apply leaves it alone.
inline unsigned char TransformChannel(int op, unsigned char c, float f) {
  switch (op) {
    case 0:
      return f >= 0.0f ? ClampByte((double)f * 255.0) : c;
    case 1:
      return f == 1.0f ? (unsigned char)(255 - c) : c;
    case 2:
      return f >= 0.0f ? ClampByte((double)c * f) : c;
    case 3:
      return f >= 0.0f ? ClampByte(255.0 * pow(c / 255.0, (double)f)) : c;
    default:
      return c;
  }
}

char LoadCommon(const char* label, const char* path, char force32, char alpha_type, _ComGlDxTexture* texture,
                char (*loader)(const char*, char, char, _ComGlTextureImage*)) {
  if (!texture) return 0;
  if (texture->created) {
    DebugError(label, "Texture already created [filename:%s]", S(path));
    return 0;
  }
  memset(texture, 0, sizeof(*texture));
  if (!loader(path, force32, alpha_type, &texture->image)) {
    DebugError(label, "Could not load file <%s>", S(path));
    return 0;
  }
  texture->created = 1;
  ComGlTextureUpdateFullTextureCoordinates(texture);
  return 1;
}

// The colour key: black transparent, brightness as opacity. Refused together with an alpha type.
bool ApplyColourKey(const char* label, const char* path, char colour_key, char* force32, char* alpha_type) {
  if (!colour_key) return true;
  if (*force32 || *alpha_type) {
    DebugError(label, "Colour key and alpha set <%s>", S(path));
    return false;
  }
  *alpha_type = 3;
  *force32 = 1;
  return true;
}

void Draw3d(_ComGlDxTexture* t) {
  if (t->orientation < 0 || t->orientation > 2) return;
  ComGlMiscDrawTexturePartIn3D(0, nullptr, t->orientation, t->corner_b[0], t->corner_b[1], t->corner_b[2],
                               t->corner_a[0], t->corner_a[1], t->corner_a[2], t->tex_left, t->tex_top,
                               t->tex_right, t->tex_bottom, &t->image);
}

}  // namespace

// ---------------------------------------------------------------- loading and creation

char ComGlTextureLoadFromBmpFile(const char* path, char colour_key, char force32, char alpha_type,
                                 _ComGlDxTexture* texture) {
  const char* label = "ComGlTextureLoadFromBmpFile";
  if (!ApplyColourKey(label, path, colour_key, &force32, &alpha_type)) return 0;
  if (!colour_key && (alpha_type == 7 || alpha_type == 2)) alpha_type = 0;
  return LoadCommon(label, path, force32, alpha_type, texture, ComGlLoadImageLoadBmp);
}

char ComGlTextureLoadFromTgaFileWH(const char* path, char force32, char alpha_type, int* width, int* height,
                                   _ComGlDxTexture* texture) {
  const char* label = "ComGlTextureLoadFromTgaFileWH";
  if (!LoadCommon(label, path, force32, alpha_type, texture, ComGlLoadImageLoadTga)) return 0;
  if (width) *width = texture->width;
  if (height) *height = texture->height;
  return 1;
}

char ComGlTextureLoadFromTgaFile(const char* path, char colour_key, char force32, char alpha_type,
                                 _ComGlDxTexture* texture) {
  if (!ApplyColourKey("ComGlTextureLoadFromTgaFile", path, colour_key, &force32, &alpha_type)) return 0;
  return ComGlTextureLoadFromTgaFileWH(path, force32, alpha_type, nullptr, nullptr, texture);
}

char ComGlTextureLoadFromJpegFile(const char* path, char colour_key, char force32, char alpha_type,
                                  _ComGlDxTexture* texture) {
  const char* label = "ComGlTextureLoadFromJpegFile";
  if (!ApplyColourKey(label, path, colour_key, &force32, &alpha_type)) return 0;
  return LoadCommon(label, path, force32, alpha_type, texture, ComGlJpegCreateTextureFromFile);
}

int ComGlTextureGetFileExt(const char* path, int dat_type) {
  if (!path) return 0;
  const size_t len = strlen(path);
  if (len <= 3) return 0;
  const char* dot = strrchr(path, '.');
  if (!dot) return 0;
  const char* ext = dot + 1;
  if (strcasecmp(ext, "bmp") == 0) return 1;
  if (strcasecmp(ext, "tga") == 0) return 2;
  if (strcasecmp(ext, "jpg") == 0 || strcasecmp(ext, "jpeg") == 0) return 3;
  if (strcasecmp(ext, "dat") == 0) return dat_type;
  return 0;
}

char ComGlTextureLoadFromFileUsingExt(const char* path, char colour_key, char force32, char alpha_type, int dat_type,
                                      _ComGlDxTexture* texture) {
  switch (ComGlTextureGetFileExt(path, dat_type)) {
    case 1:
      return ComGlTextureLoadFromBmpFile(path, colour_key, force32, alpha_type, texture);
    case 2:
      return ComGlTextureLoadFromTgaFile(path, colour_key, force32, alpha_type, texture);
    case 3:
      return ComGlTextureLoadFromJpegFile(path, colour_key, force32, alpha_type, texture);
    default:
      DebugError("ComGlTextureLoadFromFileUsingExt", "Unknown extension in file <%s>", S(path));
      return 0;
  }
}

char ComGlTextureCreateEmptyTexture(int* width, int* height, char with_alpha, _ComGlDxTexture* texture) {
  const char* label = "ComGlTextureCreateEmptyTexture";
  if (!texture || !width || !height || *width <= 0 || *height <= 0) return 0;
  if (texture->image.pixels && texture->created) {
    DebugError(label, "Texture already exists");
    ComGlTextureRelease(texture);
  }
  memset(&texture->image, 0, sizeof(texture->image));
  if (!ComGlLoadImageCreateEmptyTextureImage(*width, *height, with_alpha ? 32 : 24, &texture->image)) {
    DebugError(label, "Could not create texture");
    return 0;
  }
  texture->created = 1;
  ComGlTextureUpdateFullTextureCoordinates(texture);
  return 1;
}

void ComGlTextureRelease(_ComGlDxTexture* texture) {
  if (!texture || !texture->created) return;
  // The GL name goes with the record: every paper reload would otherwise leave one behind.
  if (texture->image.tex_name) glDeleteTextures(1, &texture->image.tex_name);
  free(texture->image.pixels);
  memset(texture, 0, sizeof(*texture));
}

// ---------------------------------------------------------------- placement and coordinates

char ComGlTexturePositionRatioed(_ComGlDxTexture* texture, int x, int y, int w, int h) {
  if (!texture) return 0;
  if (w == 0 || h == 0) {
    DebugError("ComGlTexturePosition", "Invalid sizes");
    return 0;
  }
  return ComGlTexturePositionFloatRatioed(texture, (float)x, (float)y, (float)w, (float)h);
}

char ComGlTexturePositionFloatRatioed(_ComGlDxTexture* texture, float x, float y, float w, float h) {
  if (!texture) return 0;
  texture->x = x;
  texture->y = y;
  texture->w = w;
  texture->h = h;
  return 1;
}

char ComGlTexturePositionFloatPure(_ComGlDxTexture* texture, float x, float y, float w, float h) {
  return ComGlTexturePositionFloatRatioed(texture, x, y, w, h);
}

char ComGlTexturePosition3dVec3(_ComGlDxTexture* texture, char orientation, _Vector3d* corner_a,
                                _Vector3d* corner_b) {
  if (!texture || !corner_a || !corner_b) return 0;
  texture->corner_a[0] = corner_a->x;
  texture->corner_a[1] = corner_a->y;
  texture->corner_a[2] = corner_a->z;
  texture->corner_b[0] = corner_b->x;
  texture->corner_b[1] = corner_b->y;
  texture->corner_b[2] = corner_b->z;
  texture->orientation = orientation;
  texture->in_3d = 1;
  return 1;
}

void ComGlTextureSetTextureCoordinates(_ComGlDxTexture* texture, float tex_left, float tex_top, float tex_right,
                                       float tex_bottom) {
  if (!texture) return;
  texture->tex_left = tex_left;
  texture->tex_top = tex_top;
  texture->tex_right = tex_right;
  texture->tex_bottom = tex_bottom;
  texture->full_coords = 0;
}

void ComGlTextureUpdateFullTextureCoordinates(_ComGlDxTexture* texture) {
  if (!texture) return;
  texture->width = texture->image.width;
  texture->height = texture->image.height;
  if (texture->width <= 0 || texture->height <= 0) {
    texture->full_coords = 0;
    return;
  }
  // Half a texel in from each edge, so linear filtering never reaches round the border.
  texture->tex_left = 0.5f / (float)texture->width;
  texture->tex_top = 0.5f / (float)texture->height;
  texture->tex_right = 1.0f - texture->tex_left;
  texture->tex_bottom = 1.0f - texture->tex_top;
  texture->full_coords = 1;
}

void ComGlTextureSetNormal(_ComGlDxTexture* texture, float x, float y, float z) {
  if (!texture) return;
  texture->normal[0] = x;
  texture->normal[1] = y;
  texture->normal[2] = z;
  texture->has_normal = 1;
}

// ---------------------------------------------------------------- drawing

void ComGlTextureDraw(_ComGlDxTexture* t) {
  if (!t || !t->created) return;
  if (t->has_normal) glNormal3f(t->normal[0], t->normal[1], t->normal[2]);
  if (t->in_3d)
    Draw3d(t);
  else
    ComGlMiscDrawTexturePartFloat(t->x, t->y, t->w, t->h, t->tex_left, t->tex_top, t->tex_right, t->tex_bottom,
                                  &t->image);
  if (t->has_normal) glNormal3f(0.0f, 0.0f, 1.0f);
}

void ComGlTextureDrawPure(_ComGlDxTexture* t) {
  if (!t || !t->created) return;
  if (t->has_normal) glNormal3f(t->normal[0], t->normal[1], t->normal[2]);
  if (t->in_3d)
    Draw3d(t);
  else
    ComGlMiscDrawTexturePartFloatPure(t->x, t->y, t->w, t->h, t->tex_left, t->tex_top, t->tex_right,
                                      t->tex_bottom, &t->image);
  if (t->has_normal) glNormal3f(0.0f, 0.0f, 1.0f);
}

void ComGlTextureDrawPart(_ComGlDxTexture* t, float tex_left, float tex_top, float tex_right, float tex_bottom) {
  if (!t) return;
  ComGlMiscDrawTexturePartFloat(t->x, t->y, t->w, t->h, tex_left, tex_top, tex_right, tex_bottom, &t->image);
}

void ComGlTextureDrawPartPure(_ComGlDxTexture* t, float tex_left, float tex_top, float tex_right,
                              float tex_bottom) {
  if (!t) return;
  ComGlMiscDrawTexturePartFloatPure(t->x, t->y, t->w, t->h, tex_left, tex_top, tex_right, tex_bottom, &t->image);
}

void ComGlTextureDrawWithColour(_ComGlDxTexture* t, float r, float g, float b, float a) {
  if (!t || !t->created) return;
  ComGlMiscDrawTexturePartWithColourFloat(t->x, t->y, t->w, t->h, t->tex_left, t->tex_top, t->tex_right,
                                          t->tex_bottom, r, g, b, a, &t->image);
}

void ComGlTextureDrawPartWithColour(_ComGlDxTexture* t, float tex_left, float tex_top, float tex_right,
                                    float tex_bottom, float r, float g, float b, float a) {
  if (!t || !t->created) return;
  ComGlMiscDrawTexturePartWithColourFloat(t->x, t->y, t->w, t->h, tex_left, tex_top, tex_right, tex_bottom, r, g,
                                          b, a, &t->image);
}

void ComGlTextureDrawPartPureWithColour(_ComGlDxTexture* t, float tex_left, float tex_top, float tex_right,
                                        float tex_bottom, float r, float g, float b, float a) {
  if (!t || !t->created) return;
  ComGlMiscDrawTexturePartPureWithColourFloat(t->x, t->y, t->w, t->h, tex_left, tex_top, tex_right, tex_bottom, r,
                                              g, b, a, &t->image);
}

void ComGlTextureDrawAsBackground(_ComGlDxTexture* t) {
  if (!t || !t->created) return;
  // Callers already inside a 2D bracket keep it: only the bracket entered here is left.
  char prepared_here = 0;
  ComGlMiscPrepareFor2DIfNeeded(1, &prepared_here);
  ComGlTexturePositionFloatRatioed(t, 0.0f, 0.0f, 640.0f, 480.0f);
  ComGlTextureDraw(t);
  if (prepared_here) ComGlMiscRestoreAfter2D();
}

void ComGlTexturePositionFloatRatioedAndDraw(_ComGlDxTexture* t, float x, float y, float w, float h) {
  if (!ComGlTexturePositionFloatRatioed(t, x, y, w, h)) return;
  ComGlTextureDraw(t);
}

void ComGlTextureDraw4As1(_ComGlDxTexture* tex_bottom, _ComGlDxTexture* t2, _ComGlDxTexture* t3,
                          _ComGlDxTexture* t4, float x, float y, float w, float h) {
  if (!tex_bottom || !t2 || !t3 || !t4) {
    DebugError("ComGlTextureDraw4As1", "Invalid Parameters");
    return;
  }
  const float hw = w / 2.0f;
  const float hh = h / 2.0f;
  ComGlTexturePositionFloatRatioed(tex_bottom, x, y, hw, hh);
  ComGlTexturePositionFloatRatioed(t2, x + hw, y, hw, hh);
  ComGlTexturePositionFloatRatioed(t3, x, y + hh, hw, hh);
  ComGlTexturePositionFloatRatioed(t4, x + hw, y + hh, hw, hh);
  ComGlTextureDraw(tex_bottom);
  ComGlTextureDraw(t2);
  ComGlTextureDraw(t3);
  ComGlTextureDraw(t4);
}

// ---------------------------------------------------------------- pixel operations

char ComGlTextureTransformPixels(_ComGlDxTexture* texture, int op, int x, int y, int w, int h, float kr, float kg,
                                 float kb, float ka) {
  const char* label = "ComGlTextureTransformPixels";
  if (!HasPixels(texture)) {
    DebugError(label, "Texture not ok");
    return 0;
  }
  _ComGlTextureImage* image = &texture->image;
  if (image->bpp != 24 && image->bpp != 32) {
    DebugError(label, "Unsupported bpp [%d]", image->bpp);
    return 0;
  }
  if (!ResolveRect(image->width, image->height, x, &w, y, &h)) {
    DebugError(label, "Invalid sizes");
    return 0;
  }
  const int bytes = image->bpp / 8;
  const float k[4] = {kr, kg, kb, ka};
  for (int row = image->height - y - h; row < image->height - y; row++) {
    unsigned char* p = image->pixels + ((size_t)row * (size_t)image->width + (size_t)x) * (size_t)bytes;
    for (int i = 0; i < w; i++, p += bytes) {
      for (int c = 0; c < bytes; c++) p[c] = TransformChannel(op, p[c], k[c]);
    }
  }
  return ReUpload(label, texture);
}

char ComGlTextureSetPartColour(_ComGlDxTexture* t, int x, int y, int w, int h, float kr, float kg, float kb,
                               float ka) {
  return ComGlTextureTransformPixels(t, 0, x, y, w, h, kr, kg, kb, ka);
}

char ComGlTextureInvertTexturePart(_ComGlDxTexture* t, int x, int y, int w, int h, float kr, float kg, float kb,
                                   float ka) {
  return ComGlTextureTransformPixels(t, 1, x, y, w, h, kr, kg, kb, ka);
}

char ComGlTextureMultiplyTextPartColour(_ComGlDxTexture* t, int x, int y, int w, int h, float kr, float kg,
                                        float kb, float ka) {
  return ComGlTextureTransformPixels(t, 2, x, y, w, h, kr, kg, kb, ka);
}

char ComGlTexturePowerTextPartColour(_ComGlDxTexture* t, int x, int y, int w, int h, float kr, float kg, float kb,
                                     float ka) {
  return ComGlTextureTransformPixels(t, 3, x, y, w, h, kr, kg, kb, ka);
}

char ComGlTextureClearTexturePart(_ComGlDxTexture* t, int x, int y, int w, int h) {
  return ComGlTextureTransformPixels(t, 0, x, y, w, h, 0.0f, 0.0f, 0.0f, 0.0f);
}

char ComGlTextureCopyAlphaChannelFromTexture(_ComGlDxTexture* source, _ComGlDxTexture* destination) {
  const char* label = "ComGlTextureCopyAlphaChannelFromTexture";
  if (!HasPixels(source) || !HasPixels(destination)) {
    DebugError(label, "No texture");
    return 0;
  }
  if (source->image.bpp != destination->image.bpp) {
    DebugError(label, "Texture bpps not the same");
    return 0;
  }
  if (source->width != destination->width || source->height != destination->height) {
    DebugError(label, "Texture sizes not the same");
    return 0;
  }
  if (source->width != source->image.width || source->height != source->image.height ||
      destination->width != destination->image.width || destination->height != destination->image.height) {
    DebugError(label, "Texture error");
    return 0;
  }
  if (source->image.bpp != 32) {
    DebugError(label, "Source Texture bpp %d not 32", source->image.bpp);
    return 0;
  }
  const size_t count = (size_t)source->image.width * (size_t)source->image.height;
  for (size_t i = 0; i < count; i++) destination->image.pixels[i * 4 + 3] = source->image.pixels[i * 4 + 3];
  return ReUpload(label, destination);
}

char ComGlTextureCopyPartToAnotherTexture(_ComGlDxTexture* from, _ComGlDxTexture* to, int x, int y, int w, int h,
                                          int to_x, int to_y, int to_w, int to_h, char blend) {
  const char* label = "ComGlTextureCopyPartToAnotherTexture";
  if (!HasPixels(from)) {
    DebugError(label, "From texture not ok");
    return 0;
  }
  if (!HasPixels(to)) {
    DebugError(label, "To texture not ok");
    return 0;
  }
  const _ComGlTextureImage* src = &from->image;
  _ComGlTextureImage* dst = &to->image;
  if (src->bpp != 24 && src->bpp != 32) {
    DebugError(label, "BPP %d (from) not supported", src->bpp);
    return 0;
  }
  if (dst->bpp != 24 && dst->bpp != 32) {
    DebugError(label, "BPP %d (to) not supported", dst->bpp);
    return 0;
  }
  if (!ResolveRect(src->width, src->height, x, &w, y, &h)) {
    DebugError(label, "Invalid from sizes");
    return 0;
  }
  if (!ResolveRect(dst->width, dst->height, to_x, &to_w, to_y, &to_h)) {
    DebugError(label, "Invalid to sizes");
    return 0;
  }
  if (src->bpp == 24 && dst->bpp != 24) {
    DebugError(label, "From BPP 24, To BPP %d not supported", dst->bpp);
    return 0;
  }
  const int sb = src->bpp / 8;
  const int db = dst->bpp / 8;
  const int src_lower = src->height - y - h;
  const int dst_lower = dst->height - to_y - to_h;
  for (int v = 0; v < to_h; v++) {
    const int sr = ComGlTextureScaledIndex(v, h, to_h);
    const unsigned char* in_row = src->pixels + (size_t)(src_lower + sr) * (size_t)src->width * (size_t)sb;
    unsigned char* out_row = dst->pixels + (size_t)(dst_lower + v) * (size_t)dst->width * (size_t)db;
    for (int k = 0; k < to_w; k++) {
      const int sc = ComGlTextureScaledIndex(k, w, to_w);
      const unsigned char* s = in_row + (size_t)(x + sc) * (size_t)sb;
      unsigned char* d = out_row + (size_t)(to_x + k) * (size_t)db;
      if (sb == 3) {
        memcpy(d, s, 3);
        continue;
      }
      const unsigned a = s[3];
      if (!blend || a == 255) {
        memcpy(d, s, (size_t)db);
      } else if (a != 0) {
        for (int c = 0; c < 3; c++) {
          unsigned value = d[c] * (255 - a) / 255 + s[c] * a / 255;
          d[c] = (unsigned char)(value > 255 ? 255 : value);
        }
        if (db == 4 && a > d[3]) d[3] = (unsigned char)a;
      }
    }
  }
  return ReUpload(label, to);
}

char ComGlTextureUpdateFromScreen(int x, int y, int w, int h, _ComGlDxTexture* texture) {
  const char* label = "ComGlTextureUpdateFromScreen";
  if (!HasPixels(texture)) {
    DebugError(label, "No texture");
    return 0;
  }
  _ComGlTextureImage* image = &texture->image;
  const bool whole = (w == image->width && h == image->height);
  if (!whole) DebugError(label, "Not tested for portions of textures. Check result. Continuing ...");
  if (image->bpp != 24 && image->bpp != 32) {
    DebugError(label, "BPP %d not supported", image->bpp);
    return 0;
  }
  // The grab lands in the texture's own buffer: it may not be larger than the texture.
  if (w <= 0 || h <= 0 || w > image->width || h > image->height) {
    DebugError(label, "Invalid sizes");
    return 0;
  }
  const GLenum format = image->bpp == 32 ? GL_RGBA : GL_RGB;
  glBindTexture(GL_TEXTURE_2D, image->tex_name);
  glFlush();
  if (whole)
    glCopyTexImage2D(GL_TEXTURE_2D, 0, format, x, HEIGHT - y - h, w, h, 0);
  else  // a part fills the lower left of the texture, which keeps its size
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, HEIGHT - y - h, w, h);
  GLint pack = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, image->pixels);
  glPixelStorei(GL_PACK_ALIGNMENT, pack);
  glBindTexture(GL_TEXTURE_2D, 0);
  return ComGlMiscCheckGlError(label, "glCopyTexImage2D");
}

// ---------------------------------------------------------------- pixel buffer exchange

char ComGlTgaUpdateTexCharBufferFromGlTexture(_ComGlDxTexture* texture, unsigned char* buffer, uint32_t length) {
  const char* label = "ComGlTgaUpdateTexCharBufferFromGlTexture";
  if (!buffer || length == 0) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (!HasPixels(texture) || texture->image.width <= 0 || texture->image.height <= 0) {
    DebugError(label, "Invalid texure");
    return 0;
  }
  const _ComGlTextureImage* image = &texture->image;
  if (image->bpp != 32) {
    DebugError(label, "Unsupported bpp: %d", image->bpp);
    return 0;
  }
  const uint64_t count = (uint64_t)image->width * (uint64_t)image->height;
  if (count * 4u > length) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  for (uint64_t i = 0; i < count; i++) {
    const unsigned char* p = image->pixels + i * 4u;
    unsigned char* out = buffer + i * 4u;
    out[0] = p[2];
    out[1] = p[1];
    out[2] = p[0];
    out[3] = p[3];
  }
  return 1;
}

char ComGlTgaFillTextureWithTgaData(_ComTgaData* data, _ComGlDxTexture* texture) {
  const char* label = "ComGlTgaFillTextureWithTgaData";
  if (!texture || !texture->created || !data || !data->pixels || data->size == 0) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  _ComGlTextureImage* image = &texture->image;
  if (image->width <= 0 || image->height <= 0 || !image->pixels) {
    DebugError(label, "Invalid texure");
    return 0;
  }
  if (data->width != image->width || data->height != image->height || data->bpp != image->bpp ||
      (int64_t)data->size < (int64_t)data->width * data->height * 4) {
    DebugError(label, "Incompatible texure and data");
    return 0;
  }
  if (image->bpp != 32) {
    DebugError(label, "Unsupported bpp: %d", image->bpp);
    return 0;
  }
  const size_t count = (size_t)image->width * (size_t)image->height;
  for (size_t i = 0; i < count; i++) {
    const uint32_t word = data->pixels[i];
    unsigned char* p = image->pixels + i * 4u;
    p[0] = (unsigned char)(word >> 16);
    p[1] = (unsigned char)(word >> 8);
    p[2] = (unsigned char)word;
    p[3] = (unsigned char)(word >> 24);
  }
  return ReUpload(label, texture);
}

char ComGlTgaFillDataFromTexture(int x, int y, int w, int h, _ComGlDxTexture* texture, int to_x, int to_y, int to_w,
                                 int to_h, _ComTgaData* data, char mirror_x, char mirror_y, char alpha_mode,
                                 float factor) {
  const char* label = "ComGlTgaFillDataFromTexture";
  if (!texture || !data || w <= 0 || h <= 0 || to_w <= 0 || to_h <= 0) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  const _ComGlTextureImage* image = &texture->image;
  if (image->width <= 0 || image->height <= 0 || !texture->created || !image->loaded || !image->pixels) {
    DebugError(label, "Invalid texture");
    return 0;
  }
  if (data->bpp != 32 || data->width <= 0 || data->height <= 0 || !data->pixels ||
      (int64_t)data->size < (int64_t)data->width * data->height * 4) {
    DebugError(label, "Invalid data");
    return 0;
  }
  if (x < 0 || y < 0 || to_x < 0 || to_y < 0 || (int64_t)x + w > image->width || (int64_t)y + h > image->height ||
      (int64_t)to_x + to_w > data->width || (int64_t)to_y + to_h > data->height) {
    DebugError(label, "Invalid sizes");
    return 0;
  }
  if (image->bpp != 32) {
    DebugError(label, "Unsupported bpp: %d", image->bpp);
    return 0;
  }
  const int src_lower = image->height - y - h;
  const int dst_lower = data->height - to_y - to_h;
  for (int v = 0; v < to_h; v++) {
    int row = src_lower + ComGlTextureScaledIndex(v, h, to_h);
    if (mirror_y == 1) row = image->height - 1 - row;
    uint32_t* out = data->pixels + (size_t)(dst_lower + v) * (size_t)data->width + (size_t)to_x;
    for (int k = 0; k < to_w; k++) {
      int col = x + ComGlTextureScaledIndex(k, w, to_w);
      if (mirror_x == 1) col = image->width - 1 - col;
      const unsigned char* p = image->pixels + ((size_t)row * (size_t)image->width + (size_t)col) * 4u;
      const uint32_t r = p[0], g = p[1], b = p[2], a = p[3];
      const uint32_t old = out[k];
      if (alpha_mode == 0 || alpha_mode == 1) {
        out[k] = (old & 0xFF000000u) | (r << 16) | (g << 8) | b;
        continue;
      }
      if (alpha_mode == 2) {
        out[k] = (a << 24) | (r << 16) | (g << 8) | b;
        continue;
      }
      if (alpha_mode < 0) continue;
      if (a == 0) continue;
      double n = a;
      if (alpha_mode == 7) {
        const uint32_t mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
        n = a * (double)factor * mx / 255.0;
      } else if (alpha_mode == 8) {
        const uint32_t mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
        n = a * (double)factor * (255 - mn) / 255.0;
      } else if (factor > 0.0f && factor < 1.0f) {
        n = floor(a * (double)factor + 0.5);
      } else if (factor == -1.0f) {
        n = 255 - a;
      }
      const uint32_t na = ClampByte(n);
      const uint32_t channels[3] = {r, g, b};
      uint32_t word = 0;
      for (int c = 0; c < 3; c++) {
        const int shift = 16 - c * 8;
        const uint32_t oc = (old >> shift) & 0xFFu;
        uint32_t value = oc * (255 - na) / 255 + channels[c] * na / 255;
        if (value > 255) value = 255;
        word |= value << shift;
      }
      const uint32_t oa = old >> 24;
      uint32_t alpha = oa + oa * na / 255;
      if (alpha > 255) alpha = 255;
      out[k] = word | (alpha << 24);
    }
  }
  return 1;
}
