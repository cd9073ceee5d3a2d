// Image loaders for BMP and TGA files, empty images and their release. Every image becomes a
// texture with power-of-two sides by nearest-sample scaling; the texels stay in memory, bottom
// row first, beside the OpenGL texture.
#include "ComGlLoad.h"

#include <GL/gl.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlMisc.h"
#include "ComMisc.h"
#include "ComTga.h"

namespace {

// Largest file side accepted before the power-of-two rounding (far above any texture limit).
const int64_t kMaxFileSide = 1 << 24;

// The BMP reader's working record: the palette and pixel-data buffers of one read.
struct _LiBmpInfo {
  unsigned char* palette;
  unsigned char* data;
  char set;
};

void ComGlLoadBmpCleanup(_LiBmpInfo* info) {
  if (info->palette) free(info->palette);
  if (info->data) free(info->data);
  info->palette = nullptr;
  info->data = nullptr;
  info->set = 0;
}

inline uint16_t Le16(const unsigned char* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const unsigned char* p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// Alpha types that are computed per texel from its colour.
inline bool AlphaTypeComputable(char type) { return type == 0 || type == 1 || (type >= 3 && type <= 6); }

// Largest texture side this context takes; 0 when it cannot say (no context).
int MaxTextureSide() {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  while (glGetError() != GL_NO_ERROR) {
  }
  return max > 0 ? (int)max : 0;
}

// A file side that may become a texture side here.
bool SideAcceptable(int64_t side) {
  if (side <= 0 || side > kMaxFileSide) return false;
  const int max = MaxTextureSide();
  if (max > 0 && ComMiscGetClosestPowerOf2((unsigned)side) > (unsigned)max) return false;
  return true;
}

// Resamples the source into a new texel buffer and uploads it, or hands it to `decoded` when that
// is given (no GL needed then).
char ResampleAndUpload(const char* label, const char* path, const _ComGlLoadSource& src, bool out32,
                       char alpha_type, bool alpha_from_file, _ComGlTextureImage* image,
                       _ComGlLoadTexels* decoded) {
  int tw = 0, th = 0;
  unsigned char* pixels = ComGlLoadImageResample(&src, out32 ? 1 : 0, alpha_type, alpha_from_file ? 1 : 0, &tw, &th);
  if (!pixels) {
    DebugError(label, "No memory [1] for loading file: <%s>", path);
    return 0;
  }
  if (decoded) {
    *decoded = _ComGlLoadTexels{pixels, tw, th, (char)(out32 ? 1 : 0)};
    return 1;
  }
  return ComGlLoadImageUploadTexels(label, pixels, tw, th, out32 ? 1 : 0, image);
}

// 8-bit indices (rows of `stride` bytes) expanded to packed R, G, B from the palette.
char ComGlLoadBmpConvert8To24(void* file, int width, int height, const unsigned char* palette,
                              _LiBmpInfo* info) {
  const uint64_t out_bytes = (uint64_t)width * (uint64_t)height * 3u;
  const uint64_t stride = ((uint64_t)width + 3u) & ~(uint64_t)3u;
  const uint64_t in_bytes = stride * (uint64_t)height;
  unsigned char* out = (unsigned char*)malloc((size_t)out_bytes);
  if (!out) {
    DebugError("ComGlLoadBmpConvert8To24", "No Memory");
    return 0;
  }
  unsigned char* idx = (unsigned char*)malloc((size_t)in_bytes);
  if (!idx) {
    free(out);
    DebugError("ComGlLoadBmpConvert8To24", "No memory (2)");
    return 0;
  }
  if (!ComFileRead(file, idx, (uint32_t)in_bytes)) {
    free(idx);
    free(out);
    DebugError("ComGlLoadBmpConvert8To24", "Could not read data");
    return 0;
  }
  for (int y = 0; y < height; y++) {
    const unsigned char* in_row = idx + (size_t)y * (size_t)stride;
    unsigned char* out_row = out + (size_t)y * (size_t)width * 3u;
    for (int x = 0; x < width; x++) {
      const unsigned char* entry = palette + (size_t)in_row[x] * 4u;  // blue, green, red, reserved
      out_row[x * 3 + 0] = entry[2];
      out_row[x * 3 + 1] = entry[1];
      out_row[x * 3 + 2] = entry[0];
    }
  }
  free(idx);
  info->data = out;
  return 1;
}

// Reads the BMP into info->data as packed R, G, B rows, bottom row first.
char ComGlLoadBmpLoadDataFromFile(const char* path, int* out_width, int* out_height, _LiBmpInfo* info) {
  const char* label = "ComGlLoadBmpLoadDataFromFile";
  void* file = ComFileOpenForReading(path);
  if (!file) {
    DebugError(label, "File <%s> not found", path);
    return 0;
  }
  info->palette = nullptr;
  info->data = nullptr;
  info->set = 1;
  char ok = 0;
  unsigned char header[54];
  do {
    const int32_t file_size = ComFileGetSize(file);
    if (!ComFileRewind(file) || file_size < 54 || !ComFileRead(file, header, sizeof(header))) {
      DebugError(label, "Could not read header <%s>", path);
      break;
    }
    if (header[0] != 66 || header[1] != 77) {
      DebugError(label, "Invalid bitmap file <%s>", path);
      break;
    }
    const int32_t width = (int32_t)Le32(header + 18);
    const int32_t height = (int32_t)Le32(header + 22);
    const int bits = Le16(header + 28);
    // Only the 40-byte uncompressed header with the data right behind it (and top-down files,
    // with a negative height, are not taken either).
    if (Le32(header + 14) != 40 || Le32(header + 30) != 0 || !SideAcceptable(width) || !SideAcceptable(height)) {
      DebugError(label, "Invalid bitmap file <%s>", path);
      break;
    }
    if (bits != 8 && bits != 24) {
      DebugError(label, "File <%s> is not 8 or 24 bits per pixel [%d]", path, bits);
      break;
    }
    if (bits == 24) {
      const uint64_t stride = ((uint64_t)width * 3u + 3u) & ~(uint64_t)3u;
      const uint64_t in_bytes = stride * (uint64_t)height;
      if (54u + in_bytes > (uint64_t)file_size) {
        DebugError(label, "Could not read data <%s>", path);
        break;
      }
      unsigned char* raw = (unsigned char*)malloc((size_t)in_bytes);
      unsigned char* rgb = raw ? (unsigned char*)malloc((size_t)width * (size_t)height * 3u) : nullptr;
      if (!rgb) {
        free(raw);
        DebugError(label, "No memory for file <%s>", path);
        break;
      }
      if (!ComFileRead(file, raw, (uint32_t)in_bytes)) {
        free(raw);
        free(rgb);
        DebugError(label, "Could not read data <%s>", path);
        break;
      }
      // Stored B, G, R in padded rows: keep the first width pixels of each row as R, G, B.
      for (int32_t y = 0; y < height; y++) {
        const unsigned char* in_row = raw + (size_t)y * (size_t)stride;
        unsigned char* out_row = rgb + (size_t)y * (size_t)width * 3u;
        for (int32_t x = 0; x < width; x++) {
          out_row[x * 3 + 0] = in_row[x * 3 + 2];
          out_row[x * 3 + 1] = in_row[x * 3 + 1];
          out_row[x * 3 + 2] = in_row[x * 3 + 0];
        }
      }
      free(raw);
      info->data = rgb;
    } else {
      uint32_t colours = Le32(header + 46);
      if (colours < 1 || colours > 256) colours = 256;
      const uint64_t stride = ((uint64_t)width + 3u) & ~(uint64_t)3u;
      if (54u + (uint64_t)colours * 4u + stride * (uint64_t)height > (uint64_t)file_size) {
        DebugError(label, "Could not read data <%s>", path);
        break;
      }
      // Indices past the colours used read a zeroed entry.
      info->palette = (unsigned char*)calloc(256, 4);
      if (!info->palette) {
        DebugError(label, "No memory for file <%s>", path);
        break;
      }
      if (!ComFileRead(file, info->palette, colours * 4u)) {
        DebugError(label, "Could not read palette <%s>", path);
        break;
      }
      if (!ComGlLoadBmpConvert8To24(file, width, height, info->palette, info)) break;
    }
    *out_width = width;
    *out_height = height;
    ok = 1;
  } while (false);
  ComFileClose(file);
  if (!ok) ComGlLoadBmpCleanup(info);
  return ok;
}

}  // namespace

unsigned char* ComGlLoadImageResample(const _ComGlLoadSource* src, char rgba, char alpha_type, char alpha_from_file,
                                      int* width, int* height) {
  const int tw = (int)ComMiscGetClosestPowerOf2((unsigned)src->width);
  const int th = (int)ComMiscGetClosestPowerOf2((unsigned)src->height);
  const int out_bpp = rgba ? 4 : 3;
  unsigned char* pixels = (unsigned char*)calloc((size_t)tw * (size_t)th, (size_t)out_bpp);
  if (!pixels) return nullptr;
  for (int j = 0; j < th; j++) {
    // Texture row j counts from the bottom. A bottom-first source is sampled from its bottom,
    // a top-first one from its top (texture row th - 1 is the picture's top row).
    const int mem_row = ComGlTextureScaledIndex(src->top_first ? th - 1 - j : j, src->height, th);
    const unsigned char* src_row = src->data + (size_t)mem_row * (size_t)src->width * (size_t)src->bytes_per_pixel;
    unsigned char* out = pixels + (size_t)j * (size_t)tw * (size_t)out_bpp;
    for (int i = 0; i < tw; i++) {
      const int col = ComGlTextureScaledIndex(i, src->width, tw);
      const unsigned char* p = src_row + (size_t)col * (size_t)src->bytes_per_pixel;
      const unsigned char r = p[src->r_off], g = p[src->g_off], b = p[src->b_off];
      out[0] = r;
      out[1] = g;
      out[2] = b;
      if (rgba) {
        out[3] = (alpha_from_file && src->a_off >= 0) ? p[src->a_off]
                                                      : ComGlMiscGetPixelAlphaFromBrightness(alpha_type, r, g, b);
      }
      out += out_bpp;
    }
  }
  *width = tw;
  *height = th;
  return pixels;
}

// ---------------------------------------------------------------- BMP

namespace {

char LoadBmp(const char* path, char force32, char alpha_type, _ComGlTextureImage* image,
             _ComGlLoadTexels* decoded) {
  const char* label = "ComGlLoadImageLoadBmp";
  if (alpha_type == 2) {
    DebugError(label, "Load alpha from file not supported <%s>", path ? path : "");
    return 0;
  }
  if (!image) return 0;
  image->loaded = 0;
  if (!path) return 0;
  // A BMP has no alpha of its own: "alpha from the file when it has one" means opaque.
  if (alpha_type == 7) alpha_type = 0;
  if (force32 && !AlphaTypeComputable(alpha_type)) {
    DebugError(label, "Unknown alpha type %d", (int)alpha_type);
    return 0;
  }
  _LiBmpInfo info = {nullptr, nullptr, 0};
  int width = 0, height = 0;
  if (!ComGlLoadBmpLoadDataFromFile(path, &width, &height, &info)) return 0;
  if (!info.data || width <= 0 || height <= 0) {
    DebugError(label, "Interal error loading file: <%s>", path);
    ComGlLoadBmpCleanup(&info);
    return 0;
  }
  const _ComGlLoadSource src = {info.data, width, height, 3, 0, 1, 2, -1, false};
  const char ok = ResampleAndUpload(label, path, src, force32 != 0, alpha_type, false, image, decoded);
  ComGlLoadBmpCleanup(&info);
  return ok;
}

// ---------------------------------------------------------------- TGA

char LoadTga(const char* path, char force32, char alpha_type, _ComGlTextureImage* image,
             _ComGlLoadTexels* decoded) {
  const char* label = "ComGlLoadImageLoadTga";
  if (!image) return 0;
  image->loaded = 0;
  if (!path) return 0;
  void* file = ComFileOpenForReading(path);
  if (!file) {
    DebugError(label, "Could not open file <%s>", path);
    return 0;
  }
  const int32_t file_size = ComFileGetSize(file);
  int width = 0, height = 0, bits = 0;
  char top_first = 0;
  if (!ComTgaReadFileHeader(file, &width, &height, &bits, &top_first)) {
    DebugError(label, "Problems [0] loading file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  if (width == 0 || height == 0 || (bits != 24 && bits != 32) || !SideAcceptable(width) || !SideAcceptable(height)) {
    DebugError(label, "Bad Format in file: <%s>", path);
    return ComFileCloseAndFail(file);
  }
  const int file_bpp = bits / 8;
  const uint64_t bytes = (uint64_t)width * (uint64_t)height * (uint64_t)file_bpp;
  if (18u + bytes > (uint64_t)(file_size > 0 ? file_size : 0)) {
    DebugError(label, "Problems loading data [2] in file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  unsigned char* data = (unsigned char*)malloc((size_t)bytes);
  if (!data) {
    DebugError(label, "No memory loading file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  if (!ComFileRead(file, data, (uint32_t)bytes)) {
    DebugError(label, "Problems loading data [2] in file <%s>", path);
    free(data);
    return ComFileCloseAndFail(file);
  }
  ComFileClose(file);

  if (alpha_type == 7) alpha_type = (bits == 32) ? 2 : 0;
  if (alpha_type == 2 && bits != 32) {
    DebugError(label, "Want to load alpha, but file BPP %d not 32 in file <%s>", bits, path);
    alpha_type = 0;
  }
  const bool out32 = force32 || bits == 32;
  if (out32 && alpha_type != 2 && !AlphaTypeComputable(alpha_type)) {
    DebugError(label, "Unknown alpha type %d", (int)alpha_type);
    free(data);
    return 0;
  }
  // A file stored top row first (descriptor bit 5) is turned the right way up by the sampling.
  const _ComGlLoadSource src = {data, width, height, file_bpp, 2, 1, 0, bits == 32 ? 3 : -1, top_first != 0};
  const char ok = ResampleAndUpload(label, path, src, out32, alpha_type, alpha_type == 2, image, decoded);
  free(data);
  return ok;
}

}  // namespace

char ComGlLoadImageLoadBmp(const char* path, char force32, char alpha_type, _ComGlTextureImage* image) {
  return LoadBmp(path, force32, alpha_type, image, nullptr);
}

char ComGlLoadImageLoadTga(const char* path, char force32, char alpha_type, _ComGlTextureImage* image) {
  return LoadTga(path, force32, alpha_type, image, nullptr);
}

char ComGlLoadImageDecodeBmp(const char* path, char force32, char alpha_type, _ComGlLoadTexels* texels) {
  _ComGlTextureImage scratch{};
  *texels = _ComGlLoadTexels{};
  return LoadBmp(path, force32, alpha_type, &scratch, texels);
}

char ComGlLoadImageDecodeTga(const char* path, char force32, char alpha_type, _ComGlLoadTexels* texels) {
  _ComGlTextureImage scratch{};
  *texels = _ComGlLoadTexels{};
  return LoadTga(path, force32, alpha_type, &scratch, texels);
}

char ComGlLoadImageCanTgaFileBeLoaded(const char* path) {
  if (!path || !path[0]) return 0;
  void* file = ComFileOpenForReadingIfExists(path);
  if (!file) return 0;
  int width = 0, height = 0, bits = 0;
  char top_first = 0;
  char ok = 0;
  if (ComTgaReadFileHeader(file, &width, &height, &bits, &top_first)) ok = (bits == 24 || bits == 32) ? 1 : 0;
  ComFileClose(file);
  return ok;
}

// ---------------------------------------------------------------- upload

char ComGlLoadImageUploadTexels(const char* label, unsigned char* pixels, int width, int height, char rgba,
                                _ComGlTextureImage* image) {
  const GLenum format = rgba ? GL_RGBA : GL_RGB;
  ComGlMiscCheckGlError(label, "error before function call");
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, (GLint)format, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (!ComGlMiscCheckGlError(label, "glTexImage2D")) {
    // A texture the context refused is not a loaded image.
    glDeleteTextures(1, &name);
    free(pixels);
    return 0;
  }
  image->pixels = pixels;
  image->bpp = rgba ? 32 : 24;
  image->width = width;
  image->height = height;
  image->tex_name = name;
  image->loaded = 1;
  return 1;
}

// ---------------------------------------------------------------- empty image and release

char ComGlLoadImageCreateEmptyTextureImage(int width, int height, int bpp, _ComGlTextureImage* image) {
  const char* label = "ComGlLoadImageCreateEmptyTextureImage";
  if (!image) return 0;
  if (bpp != 24 && bpp != 32) {
    DebugError(label, "Invalid bpp %d", bpp);
    return 0;
  }
  if (width <= 0 || height <= 0) {
    DebugError(label, "Invalid size [%d,%d]", width, height);
    return 0;
  }
  const uint64_t bytes = (uint64_t)width * (uint64_t)height * (uint64_t)(bpp / 8);
  // Zeroed, so an image nobody painted yet shows transparent black rather than old memory.
  unsigned char* pixels = (bytes <= SIZE_MAX) ? (unsigned char*)calloc(1, (size_t)bytes) : nullptr;
  if (!pixels) {
    DebugError(label, "No memory");
    return 0;
  }
  image->pixels = pixels;
  image->bpp = bpp;
  image->width = width;
  image->height = height;
  image->loaded = 0;
  image->tex_name = 0;
  const GLenum format = bpp == 32 ? GL_RGBA : GL_RGB;
  char ok = 0;
  GLuint name = 0;
  do {
    glGenTextures(1, &name);
    if (!ComGlMiscCheckGlError(label, "glGenTextures")) break;
    image->tex_name = name;
    glBindTexture(GL_TEXTURE_2D, name);
    if (!ComGlMiscCheckGlError(label, "glBindTexture")) break;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (!ComGlMiscCheckGlError(label, "glTexParameteri")) break;
    glTexImage2D(GL_TEXTURE_2D, 0, (GLint)format, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    if (!ComGlMiscCheckGlError(label, "glTexImage2D")) break;
    ok = 1;
  } while (false);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (!ok) {
    // A failed creation leaves nothing behind: no buffer, no texture name.
    if (name) glDeleteTextures(1, &name);
    free(pixels);
    memset(image, 0, sizeof(*image));
    return 0;
  }
  image->loaded = 1;
  return 1;
}

void ComGlLoadImageReleaseTextureImage(_ComGlTextureImage* image) {
  const char* label = "ComGlLoadImageReleaseTextureImage";
  if (!image) return;
  if (!image->loaded || !image->pixels) {
    // Nothing uploaded; a buffer left behind is still ours to free.
    if (image->pixels) free(image->pixels);
    image->pixels = nullptr;
    image->loaded = 0;
    image->tex_name = 0;
    return;
  }
  ComGlMiscCheckGlError(label, "error before function call");
  glDeleteTextures(1, &image->tex_name);
  ComGlMiscCheckGlError(label, "glDeleteTextures");
  free(image->pixels);
  memset(image, 0, sizeof(*image));
}
