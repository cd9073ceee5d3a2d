// JPEG through libjpeg's IJG 6b interface. The library's fatal errors come back here through a
// jump, so a damaged picture or a full disk fails the call with the library's text in the log
// instead of ending the program.
#include "ComGlJpeg.h"

#include <GL/gl.h>
#include <setjmp.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComGlLoad.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMisc.h"
#include "ComTga.h"

namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  const char* label;
};

void JpegLogMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  const JpegErrorManager* mgr = (const JpegErrorManager*)cinfo->err;
  DebugError(mgr->label, "%s", text);
}

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  JpegLogMessage(cinfo);
  JpegErrorManager* mgr = (JpegErrorManager*)cinfo->err;
  longjmp(mgr->jump, 1);
}

// A warning is how the library reports corrupt data (a premature end of the file, bad Huffman
// codes, extraneous bytes): it would go on and fill the picture with made-up rows. Here it ends
// the decode like an error, with the library's text in the log. Trace messages are dropped.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) JpegErrorExit(cinfo);
}

// Routes the library's messages and fatal errors of one decode or encode to the log under label
// (the caller sets the jump point); answers the manager for the codec record's err.
jpeg_error_mgr* JpegErrorsToLog(JpegErrorManager* err, const char* label) {
  jpeg_error_mgr* pub = jpeg_std_error(&err->pub);
  err->pub.error_exit = JpegErrorExit;
  err->pub.emit_message = JpegEmitMessage;
  err->pub.output_message = JpegLogMessage;
  err->label = label;
  return pub;
}

// Reads the header and, when buffer is given, the whole picture (rows top first). The decoded
// size must fit `capacity` bytes. Only plain data lives in this frame across the jump.
char JpegDecode(const char* label, FILE* fp, int* width, int* height, int* components, unsigned char* buffer,
                uint64_t capacity) {
  jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = JpegErrorsToLog(&err, label);
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_CreateDecompress(&cinfo, JPEG_LIB_VERSION, sizeof(cinfo));
  jpeg_stdio_src(&cinfo, fp);
  jpeg_read_header(&cinfo, TRUE);
  if (width) *width = (int)cinfo.image_width;
  if (height) *height = (int)cinfo.image_height;
  if (components) *components = cinfo.num_components;
  if (!buffer) {
    jpeg_destroy_decompress(&cinfo);
    return 1;
  }
  jpeg_start_decompress(&cinfo);
  const uint64_t row_bytes = (uint64_t)cinfo.output_width * (uint64_t)cinfo.output_components;
  if (row_bytes * (uint64_t)cinfo.output_height > capacity) {
    DebugError(label, "Picture larger than its buffer [%u,%u]", (unsigned)cinfo.output_width,
               (unsigned)cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE, (JDIMENSION)row_bytes, 1);
  unsigned char* out = buffer;
  while (cinfo.output_scanline < cinfo.output_height) {
    jpeg_read_scanlines(&cinfo, row, 1);
    memcpy(out, row[0], (size_t)row_bytes);
    out += row_bytes;
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return 1;
}

// Encodes width x height RGB rows (top first) into an open file.
char JpegEncode(const char* label, FILE* fp, int quality, int dpi, int width, int height, const unsigned char* rgb) {
  jpeg_compress_struct cinfo;
  JpegErrorManager err;
  cinfo.err = JpegErrorsToLog(&err, label);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    return 0;
  }
  jpeg_CreateCompress(&cinfo, JPEG_LIB_VERSION, sizeof(cinfo));
  jpeg_stdio_dest(&cinfo, fp);
  cinfo.image_width = (JDIMENSION)width;
  cinfo.image_height = (JDIMENSION)height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  if (dpi > 0) {
    cinfo.density_unit = 1;
    const UINT16 density = (UINT16)(dpi > 65535 ? 65535 : dpi);
    cinfo.X_density = density;
    cinfo.Y_density = density;
  }
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = (JSAMPROW)(rgb + (size_t)width * (size_t)cinfo.next_scanline * 3u);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return 1;
}

// Pictures here are textures and paper backgrounds: a side above 8192 or more than 16 M pixels is
// no picture the reader can show, only a header that asks for gigabytes and seconds of decoding.
const int kJpegMaxSide = 8192;
const uint64_t kJpegMaxPixels = (uint64_t)4096 * 4096;

inline bool AlphaTypeComputable(char type) { return type == 0 || type == 1 || (type >= 3 && type <= 6); }

bool JpegSideAcceptable(int side) {
  if (side <= 0 || side > kJpegMaxSide) return false;
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  while (glGetError() != GL_NO_ERROR) {
  }
  if (max > 0 && ComMiscGetClosestPowerOf2((unsigned)side) > (unsigned)max) return false;
  return true;
}

}  // namespace

char ComJpegGetFileInfo(const char* path, int* width, int* height, int* components) {
  const char* label = "ComJpegGetFileInfo";
  if (!path) return 0;
  FILE* fp = static_cast<FILE*>(ComFileOpenForReadingIfExists(path));
  if (!fp) {
    DebugError(label, "Cannot open file %s", path);
    return 0;
  }
  const char ok = JpegDecode(label, fp, width, height, components, nullptr, 0);
  ComFileClose(fp);
  return ok;
}

char ComJpegReadFileToBuffer(const char* path, int* width, int* height, unsigned char* buffer) {
  const char* label = "ComJpegReadFileToBuffer";
  if (!path || !width || !height || !buffer) return 0;
  FILE* fp = static_cast<FILE*>(ComFileOpenForReadingIfExists(path));
  if (!fp) {
    DebugError(label, "Cannot open file %s", path);
    return 0;
  }
  // The caller sized the buffer from the header; the decoder checks nothing beyond that.
  const char ok = JpegDecode(label, fp, width, height, nullptr, buffer, UINT64_MAX);
  ComFileClose(fp);
  return ok;
}

char ComJpegWriteFileFromBuffer(const char* path, int quality, int dpi, int width, int height, unsigned char* rgb) {
  const char* label = "ComJpegWriteFileFromBuffer";
  if (!path || !path[0] || !rgb || width <= 0 || height <= 0) {
    DebugError(label, "Invalid Parameters");
    return 0;
  }
  // Written beside the target and renamed, so a failed write never leaves a broken picture.
  struct Job {
    const char* label;
    int quality, dpi, width, height;
    unsigned char* rgb;
  } job = {label, quality, dpi, width, height, rgb};
  return ComFileWriteReplacing(path, label, [](FILE* fp, void* context) -> char {
    const Job* j = (const Job*)context;
    return JpegEncode(j->label, fp, j->quality, j->dpi, j->width, j->height, j->rgb);
  }, &job);
}

char ComJpegSaveToFileFromTexture(const char* path, _ComGlDxTexture* texture, int quality, int dpi) {
  const char* label = "ComJpegSaveToFileFromTexture";
  if (!path || !path[0] || !texture || !texture->created) {
    DebugError(label, "Invalid Parameters");
    return 0;
  }
  const _ComGlTextureImage* image = &texture->image;
  if (!image->pixels || image->width <= 0 || image->height <= 0) {
    DebugError(label, "Invalid Texture");
    return 0;
  }
  if (image->bpp != 24) {
    DebugError(label, "Invalid Texture Bpp (%d)", image->bpp);
    return 0;
  }
  const size_t row = (size_t)image->width * 3u;
  unsigned char* buffer = (unsigned char*)malloc(row * (size_t)image->height);
  if (!buffer) {
    DebugError(label, "No memory");
    return 0;
  }
  // The texture's last row in memory is the picture's top: the file's first.
  for (int y = 0; y < image->height; y++)
    memcpy(buffer + (size_t)y * row, image->pixels + (size_t)(image->height - 1 - y) * row, row);
  const char ok = ComJpegWriteFileFromBuffer(path, quality, dpi, image->width, image->height, buffer);
  free(buffer);
  return ok;
}

char ComJpegSaveToFileFromTgaData(const char* path, _ComTgaData* data, int quality, int dpi) {
  const char* label = "ComJpegSaveToFileFromTgaData";
  if (!path || !path[0] || !data || !data->pixels || data->width <= 0 || data->height <= 0 ||
      (int64_t)data->width * data->height * 4 > (int64_t)data->size) {
    DebugError(label, "Invalid Parameters");
    return 0;
  }
  if (data->bpp != 32) {
    DebugError(label, "Invalid data Bpp (%d)", data->bpp);
    return 0;
  }
  const size_t w = (size_t)data->width;
  const size_t h = (size_t)data->height;
  unsigned char* buffer = (unsigned char*)malloc(w * h * 3u);
  if (!buffer) {
    DebugError(label, "No memory");
    return 0;
  }
  for (size_t y = 0; y < h; y++) {
    const uint32_t* in = data->pixels + (h - 1 - y) * w;
    unsigned char* out = buffer + y * w * 3u;
    for (size_t x = 0; x < w; x++) {
      out[x * 3 + 0] = (unsigned char)(in[x] >> 16);
      out[x * 3 + 1] = (unsigned char)(in[x] >> 8);
      out[x * 3 + 2] = (unsigned char)in[x];
    }
  }
  const char ok = ComJpegWriteFileFromBuffer(path, quality, dpi, data->width, data->height, buffer);
  free(buffer);
  return ok;
}

char ComJpegDoesFileHaveJpegExtension(const char* path) {
  if (!path) return 0;
  const size_t len = strlen(path);
  if (len <= 4) return 0;
  static const char* const kForms[] = {".jpeg", ".JPEG", ".Jpeg", ".jpg", ".JPG", ".Jpg"};
  for (const char* form : kForms) {
    const size_t n = strlen(form);
    if (len > n && strcmp(path + len - n, form) == 0) return 1;
  }
  return 0;
}

char ComGlJpegCreateTextureFromFile(const char* path, char force32, char alpha_type, _ComGlTextureImage* image) {
  const char* label = "ComGlJpegCreateTextureFromFile";
  if (!image || !path) return 0;
  if (alpha_type == 7) alpha_type = 0;
  if (alpha_type == 2) {
    DebugError(label, "Load alpha from file not supported <%s>", path);
    return 0;
  }
  if (force32 && !AlphaTypeComputable(alpha_type)) {
    DebugError(label, "Unknown alpha type %d", (int)alpha_type);
    return 0;
  }
  if (image->pixels) {
    DebugInfo("ComGlJpegCreateTextureFromFile - Texture already created");
    ComGlLoadImageReleaseTextureImage(image);
  }
  image->loaded = 0;

  int width = 0, height = 0, components = 0;
  if (!ComJpegGetFileInfo(path, &width, &height, &components)) return 0;
  if (components != 3) {
    DebugError(label, "Invalid JPEG format in <%s>", path);
    return 0;
  }
  // A header costs a few bytes but can ask for gigabytes: the size is checked before anything
  // is allocated or decoded.
  if (!JpegSideAcceptable(width) || !JpegSideAcceptable(height) ||
      (uint64_t)width * (uint64_t)height > kJpegMaxPixels) {
    DebugError(label, "Invalid JPEG size [%d,%d] in <%s>", width, height, path);
    return 0;
  }
  const uint64_t decode_bytes = (uint64_t)width * (uint64_t)height * 3u;
  unsigned char* decoded = (unsigned char*)malloc((size_t)decode_bytes);
  if (!decoded) {
    DebugError(label, "Out of memory for <%s>", path);
    return 0;
  }
  // Decoded against the size the header gave, so a file changed in between cannot overrun.
  char ok = 0;
  int dw = 0, dh = 0;
  FILE* fp = static_cast<FILE*>(ComFileOpenForReadingIfExists(path));
  if (fp) {
    ok = JpegDecode(label, fp, &dw, &dh, nullptr, decoded, decode_bytes);
    ComFileClose(fp);
  }
  if (!ok || dw != width || dh != height) {
    free(decoded);
    DebugError(label, "Could not read picture <%s>", path);
    return 0;
  }

  // Rows come top first.
  const _ComGlLoadSource src = {decoded, width, height, 3, 0, 1, 2, -1, true};
  int tw = 0, th = 0;
  unsigned char* pixels = ComGlLoadImageResample(&src, force32 ? 1 : 0, alpha_type, 0, &tw, &th);
  free(decoded);
  if (!pixels) {
    DebugError(label, "No memory for loading file <%s>", path);
    return 0;
  }

  if (!ComGlLoadImageUploadTexels(label, pixels, tw, th, force32 ? 1 : 0, image)) {
    image->pixels = nullptr;
    return 0;
  }
  return 1;
}
