// 32-bit pixel buffers: create, fill, load and save as uncompressed TGA, paint, blit with
// combine modes, halve, and exchange with textures.
#include "ComTga.h"

#include <stdlib.h>
#include <string.h>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlTexture.h"

namespace {

const unsigned char kTgaHeader12[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// A channel byte from a colour value 0..1 (values outside are held at the ends).
inline uint32_t ChannelByte(float v) {
  if (!(v > 0.0f)) return 0;
  const float scaled = v * 255.0f;
  if (scaled >= 255.0f) return 255;
  return (uint32_t)scaled;
}

inline uint32_t MakeWord(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

inline uint32_t WordFromColour(float a, float r, float g, float b) {
  return MakeWord(ChannelByte(a), ChannelByte(r), ChannelByte(g), ChannelByte(b));
}

inline uint32_t Ch(uint32_t word, int shift) { return (word >> shift) & 0xFFu; }

inline bool Created32(const _ComTgaData* d) {
  return d && d->pixels && d->bpp == 32 && d->width > 0 && d->height > 0 &&
         (int64_t)d->size >= (int64_t)d->width * d->height * 4;
}

// Bytes of a buffer of this size, or -1 when it does not fit the record's byte length.
int64_t BufferBytes(int width, int height) {
  const int64_t bytes = (int64_t)width * (int64_t)height * 4;
  if (width <= 0 || height <= 0 || bytes > 0x7FFFFFFF) return -1;
  return bytes;
}

void FlipRows(uint32_t* pixels, int width, int height) {
  for (int top = 0, bottom = height - 1; top < bottom; top++, bottom--) {
    uint32_t* a = pixels + (size_t)top * (size_t)width;
    uint32_t* b = pixels + (size_t)bottom * (size_t)width;
    for (int x = 0; x < width; x++) {
      const uint32_t t = a[x];
      a[x] = b[x];
      b[x] = t;
    }
  }
}

// Blend of mode 3: the source laid over the target by the source's alpha; target alpha kept.
inline uint32_t BlendByAlpha(uint32_t s, uint32_t t, uint32_t keep_alpha) {
  const uint32_t sa = Ch(s, 24);
  uint32_t out = keep_alpha << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = Ch(s, shift) * sa / 255 + Ch(t, shift) * (255 - sa) / 255;
    if (c > 255) c = 255;
    out |= c << shift;
  }
  return out;
}

inline uint32_t BlendByK(uint32_t s, uint32_t t, uint32_t k) {
  uint32_t out = t & 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = (Ch(s, shift) * k + Ch(t, shift) * (255 - k)) / 255;
    if (c > 255) c = 255;
    out |= c << shift;
  }
  return out;
}

uint32_t Combine(uint32_t s, uint32_t t, char mode, char alpha_only) {
  if (alpha_only) return (t & 0x00FFFFFFu) | (s & 0xFF000000u);
  switch (mode) {
    case 1:
      return (t & 0xFF000000u) | (s & 0x00FFFFFFu);
    case 3:
      return BlendByAlpha(s, t, Ch(t, 24));
    case 4:
    case 5: {
      uint32_t k = Ch(s, 16);
      if (Ch(s, 8) < k) k = Ch(s, 8);
      if (Ch(s, 0) < k) k = Ch(s, 0);
      if (mode == 5) k = 255 - k;
      return BlendByK(s, t, k);
    }
    case 6: {
      const uint32_t sa = Ch(s, 24);
      if (sa == 0) return t;
      if (sa == 255) return s;
      // A partly transparent source leaves the more opaque of the two alphas.
      const uint32_t ta = Ch(t, 24);
      return BlendByAlpha(s, t, sa > ta ? sa : ta);
    }
    default:
      return s;
  }
}

char WriteTgaFile(const char* label_data, const char* path, const uint32_t* pixels, int width, int height,
                  const char* data_tag) {
  void* file = ComFileCreateForWriting(path);
  if (!file) {
    DebugError(label_data, "Could not create file <%s>", path);
    return 0;
  }
  unsigned char header[18];
  memcpy(header, kTgaHeader12, 12);
  header[12] = (unsigned char)(width & 0xFF);
  header[13] = (unsigned char)((width >> 8) & 0xFF);
  header[14] = (unsigned char)(height & 0xFF);
  header[15] = (unsigned char)((height >> 8) & 0xFF);
  header[16] = 32;
  header[17] = 0;
  if (!ComFileWrite(file, header, sizeof(header))) {
    DebugError("ComTgaSaveToFileFromTexture", "Problems [0] creating file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  const uint32_t bytes = (uint32_t)width * (uint32_t)height * 4u;
  ComFileReverseWordBitsForPlatform((void*)pixels, bytes);
  const char wrote = ComFileWrite(file, pixels, bytes);
  ComFileReverseWordBitsForPlatform((void*)pixels, bytes);
  if (!wrote) {
    DebugError(label_data, "Problems creating data [%s] in file <%s>", data_tag, path);
    return ComFileCloseAndFail(file);
  }
  if (!ComFileClose(file)) {
    DebugError(label_data, "Could not create file <%s>", path);
    return 0;
  }
  return 1;
}

}  // namespace

char ComTgaCreateDataForFileWithColour(int width, int height, int bpp, float r, float g, float b, float a,
                                       _ComTgaData* data) {
  const char* label = "ComTgaCreateDataForFileWithColour";
  const int64_t bytes = BufferBytes(width, height);
  if (!data || bytes < 0 || bpp != 32) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (data->pixels) {
    DebugError(label, "Data already created");
    return 0;
  }
  // Zero-filled: a buffer made without a colour is transparent black, not old memory.
  uint32_t* pixels = (uint32_t*)calloc((size_t)width * (size_t)height, 4);
  if (!pixels) {
    DebugError(label, "No memory");
    return 0;
  }
  data->pixels = pixels;
  data->width = width;
  data->height = height;
  data->bpp = 32;
  data->size = (int)bytes;
  if (r >= 0.0f && g >= 0.0f && b >= 0.0f && a >= 0.0f) {
    const uint32_t word = WordFromColour(a, r, g, b);
    const size_t count = (size_t)width * (size_t)height;
    for (size_t i = 0; i < count; i++) pixels[i] = word;
  }
  return 1;
}

char ComTgaCreateDataForFile(int width, int height, int bpp, _ComTgaData* data) {
  return ComTgaCreateDataForFileWithColour(width, height, bpp, -1.0f, -1.0f, -1.0f, -1.0f, data);
}

void ComTgaFreeData(_ComTgaData* data) {
  if (!data) return;
  free(data->pixels);
  memset(data, 0, sizeof(*data));
}

char ComTgaReadFileHeader(void* file, int* width, int* height, int* bits, char* top_first) {
  unsigned char header[18];
  if (!ComFileRead(file, header, 12) || memcmp(header, kTgaHeader12, 12) != 0 || !ComFileRead(file, header + 12, 6))
    return 0;
  *width = header[12] | (header[13] << 8);
  *height = header[14] | (header[15] << 8);
  *bits = header[16];
  *top_first = (header[17] & 0x20) != 0 ? 1 : 0;
  return 1;
}

char ComTgaLoadDataFromFile(const char* path, _ComTgaData* data, char create) {
  const char* label = "ComTgaLoadDataFromFile";
  void* file = path ? ComFileOpenForReading(path) : nullptr;
  if (!file) {
    DebugError(label, "Could not open file <%s>", path ? path : "");
    return 0;
  }
  const int32_t file_size = ComFileGetSize(file);
  int width = 0, height = 0, bits = 0;
  char top_first = 0;
  if (!ComTgaReadFileHeader(file, &width, &height, &bits, &top_first)) {
    DebugError(label, "Problems [0] loading file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  if (width == 0 || height == 0 || (bits != 16 && bits != 24 && bits != 32)) {
    DebugError(label, "Bad Format in file: <%s>", path);
    return ComFileCloseAndFail(file);
  }
  if (!data) {
    DebugError(label, "Invalid Data [1]");
    return ComFileCloseAndFail(file);
  }
  bool created_here = false;
  if (!create) {
    if (!data->pixels) {
      DebugError(label, "Invalid Data [1]");
      return ComFileCloseAndFail(file);
    }
  } else {
    if (data->pixels) {
      DebugError(label, "Invalid Data [1]");
      return ComFileCloseAndFail(file);
    }
    // Only a 32-bit file whose pixels are all there can fill the record: both are checked
    // before the allocation, so a short file declaring a huge picture costs nothing.
    if (bits != 32) {
      DebugError(label, "Invalid Data [2]");
      return ComFileCloseAndFail(file);
    }
    if (18 + (int64_t)width * height * 4 > (int64_t)file_size) {
      DebugError(label, "Problems reading data [2] in file <%s>", path);
      return ComFileCloseAndFail(file);
    }
    if (!ComTgaCreateDataForFile(width, height, 32, data)) {
      DebugError(label, "Could not create data");
      return ComFileCloseAndFail(file);
    }
    created_here = true;
  }
  const int64_t bytes = (int64_t)width * height * 4;
  if (data->bpp != 32 || data->width != width || data->height != height || bits != 32 || data->size != bytes) {
    DebugError(label, "Invalid Data [2]");
    if (created_here) ComTgaFreeData(data);
    return ComFileCloseAndFail(file);
  }
  if (18 + bytes > (int64_t)file_size || !ComFileRead(file, data->pixels, (uint32_t)bytes)) {
    if (created_here) ComTgaFreeData(data);
    DebugError(label, "Problems reading data [2] in file <%s>", path);
    return ComFileCloseAndFail(file);
  }
  ComFileClose(file);
  ComFileReverseWordBitsForPlatform(data->pixels, (uint32_t)bytes);
  // Stored top row first: turned so the first row in memory is the bottom again.
  if (top_first) FlipRows(data->pixels, width, height);
  return 1;
}

char ComTgaSaveToFileFromData(const char* path, _ComTgaData* data) {
  const char* label = "ComTgaSaveToFileFromData";
  if (!path || !path[0]) {
    DebugError(label, "No filename");
    return 0;
  }
  if (!data) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (!Created32(data) || data->width > 0xFFFF || data->height > 0xFFFF) {
    DebugError(label, "Invalid data passed in (filename=%s)", path);
    return 0;
  }
  return WriteTgaFile(label, path, data->pixels, data->width, data->height, "DP");
}

char ComTgaSaveToFileFromTexture(const char* path, _ComGlDxTexture* texture) {
  const char* label = "ComTgaSaveToFileFromTexture";
  if (!path || !path[0]) {
    DebugError(label, "No filename");
    return 0;
  }
  if (!texture || !texture->created || texture->image.width <= 0 || texture->image.height <= 0 ||
      texture->image.width > 0xFFFF || texture->image.height > 0xFFFF) {
    DebugError(label, "Invalid texture passed in (filename=%s)", path);
    return 0;
  }
  const int w = texture->image.width;
  const int h = texture->image.height;
  const uint64_t bytes = (uint64_t)w * (uint64_t)h * 4u;
  uint32_t* buffer = (uint32_t*)malloc((size_t)bytes);
  if (!buffer) {
    DebugError(label, "No memory creating file <%s>", path);
    return 0;
  }
  if (!ComGlTgaUpdateTexCharBufferFromGlTexture(texture, (unsigned char*)buffer, (uint32_t)bytes)) {
    free(buffer);
    return 0;
  }
  const char ok = WriteTgaFile(label, path, buffer, w, h, "T");
  free(buffer);
  return ok;
}

char ComTgaSetDataEntryToColour(_ComTgaData* data, int x, int y, float r, float g, float b) {
  const char* label = "ComTgaSetDataEntryToColour";
  if (!Created32(data)) {
    DebugError(label, "Invalid data");
    return 0;
  }
  if (x < 0 || x >= data->width || y < 0 || y >= data->height) {
    DebugError(label, "Invalid pos [%d,%d]", x, y);
    return 0;
  }
  data->pixels[(size_t)x + (size_t)(data->height - 1 - y) * (size_t)data->width] = WordFromColour(0.0f, r, g, b);
  return 1;
}

void ComTgaSetDataEntryToColourNoChecks(_ComTgaData* data, int x, int y, float r, float g, float b) {
  // The fast path logs nothing, but still never writes outside the buffer.
  if (!data || !data->pixels || x < 0 || y < 0 || x >= data->width || y >= data->height) return;
  data->pixels[(size_t)x + (size_t)y * (size_t)data->width] = WordFromColour(0.0f, r, g, b);
}

char ComTgaSetDataPartColour(_ComTgaData* data, int x, int y, int w, int h, float r, float g, float b, float a) {
  const char* label = "ComTgaSetDataPartColour";
  if (!Created32(data)) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (w < 0) w = data->width;
  if (h < 0) h = data->height;
  if (x < 0 || x >= data->width || y < 0 || y >= data->height || (int64_t)x + w > data->width ||
      (int64_t)y + h > data->height) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  const uint32_t word = WordFromColour(a, r, g, b);
  for (int row = data->height - y - h; row < data->height - y; row++) {
    uint32_t* p = data->pixels + (size_t)row * (size_t)data->width + (size_t)x;
    for (int i = 0; i < w; i++) p[i] = word;
  }
  return 1;
}

char ComTgaInvertAlpha(_ComTgaData* data) {
  if (!Created32(data)) {
    DebugError("ComTgaInvertAlpha", "Invalid parameter");
    return 0;
  }
  const size_t count = (size_t)data->width * (size_t)data->height;
  for (size_t i = 0; i < count; i++) data->pixels[i] ^= 0xFF000000u;
  return 1;
}

uint32_t ComTgaAverageTwoPixels(uint32_t p, uint32_t q) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) out |= ((Ch(p, shift) + Ch(q, shift)) / 2) << shift;
  return out;
}

char ComTgaCopyDataToHalfResData(_ComTgaData* source, _ComTgaData* target, char create) {
  const char* label = "ComTgaCopyDataToHalfResData";
  if (create) {
    if (!Created32(source) || source->width < 2 || source->height < 2 || !target || target->pixels) {
      DebugError(label, "Invalid parameters [1]");
      return 0;
    }
    if (!ComTgaCreateDataForFile(source->width / 2, source->height / 2, 32, target)) return 0;
  } else if (!Created32(source) || !Created32(target) || target->width != source->width / 2 ||
             target->height != source->height / 2) {
    DebugError(label, "Invalid parameters [2]");
    return 0;
  }
  const size_t sw = (size_t)source->width;
  for (int y = 0; y < target->height; y++) {
    const uint32_t* r0 = source->pixels + (size_t)(2 * y) * sw;
    const uint32_t* r1 = r0 + sw;
    uint32_t* out = target->pixels + (size_t)y * (size_t)target->width;
    for (int x = 0; x < target->width; x++) {
      out[x] = ComTgaAverageTwoPixels(ComTgaAverageTwoPixels(r0[2 * x], r0[2 * x + 1]),
                                      ComTgaAverageTwoPixels(r1[2 * x], r1[2 * x + 1]));
    }
  }
  return 1;
}

char ComTgaFillDataFromData(int sx, int sy, int sw, int sh, _ComTgaData* source, int dx, int dy, int dw, int dh,
                            _ComTgaData* target, char mirror, char flip, char mode, char alpha_only) {
  const char* label = "ComTgaFillDataFromData";
  if (!source || !target) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (sw < 0) sw = source->width;
  if (sh < 0) sh = source->height;
  if (dw < 0) dw = target->width;
  if (dh < 0) dh = target->height;
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
    DebugError(label, "Invalid parameters");
    return 0;
  }
  if (!Created32(source)) {
    DebugError(label, "Invalid source");
    return 0;
  }
  if (!Created32(target)) {
    DebugError(label, "Invalid dest");
    return 0;
  }
  if (sx < 0 || sy < 0 || dx < 0 || dy < 0 || (int64_t)sx + sw > source->width || (int64_t)sy + sh > source->height ||
      (int64_t)dx + dw > target->width || (int64_t)dy + dh > target->height) {
    DebugError(label, "Invalid sizes");
    return 0;
  }
  const int src_bottom = source->height - sy - sh;  // memory row of the source rectangle's bottom
  const int dst_bottom = target->height - dy - dh;
  for (int j = 0; j < dh; j++) {
    int sr = (int)((int64_t)j * sh / dh);
    if (flip) sr = sh - 1 - sr;
    const uint32_t* in = source->pixels + (size_t)(src_bottom + sr) * (size_t)source->width + (size_t)sx;
    uint32_t* out = target->pixels + (size_t)(dst_bottom + j) * (size_t)target->width + (size_t)dx;
    for (int i = 0; i < dw; i++) {
      int sc = (int)((int64_t)i * sw / dw);
      if (mirror) sc = sw - 1 - sc;
      out[i] = Combine(in[sc], out[i], mode, alpha_only);
    }
  }
  return 1;
}

char ComTgaFillDataFromTexture(int x, int y, int w, int h, _ComGlDxTexture* texture, int to_x, int to_y, int to_w,
                               int to_h, _ComTgaData* data, char mirror_x, char mirror_y, char alpha_mode,
                               float factor) {
  return ComGlTgaFillDataFromTexture(x, y, w, h, texture, to_x, to_y, to_w, to_h, data, mirror_x, mirror_y,
                                     alpha_mode, factor);
}

char ComTgaFillTextureWithTgaData(_ComTgaData* data, _ComGlDxTexture* texture) {
  return ComGlTgaFillTextureWithTgaData(data, texture);
}
