// Window, context, read-back, log capture and fixture writers shared by the graphics tests.
#include "support_GlWindow.h"

#include <GL/gl.h>
#include <SDL.h>
#include <jpeglib.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComMacWin.h"

namespace {
SDL_Window* gt_window = nullptr;
SDL_GLContext gt_context = nullptr;
int gt_width = 0;
int gt_height = 0;
long gt_log_mark = 0;
bool gt_log_set = false;

void PutLe16(std::vector<unsigned char>& v, size_t at, uint32_t x) {
  v[at] = (unsigned char)(x & 0xFF);
  v[at + 1] = (unsigned char)((x >> 8) & 0xFF);
}
void PutLe32(std::vector<unsigned char>& v, size_t at, uint32_t x) {
  PutLe16(v, at, x & 0xFFFF);
  PutLe16(v, at + 2, x >> 16);
}
std::vector<unsigned char> BmpHeader(int w, int h, int bits, uint32_t colours_used, size_t data_bytes,
                                     size_t palette_bytes) {
  std::vector<unsigned char> v(54, 0);
  v[0] = 'B';
  v[1] = 'M';
  PutLe32(v, 2, (uint32_t)(54 + palette_bytes + data_bytes));
  PutLe32(v, 10, (uint32_t)(54 + palette_bytes));
  PutLe32(v, 14, 40);
  PutLe32(v, 18, (uint32_t)w);
  PutLe32(v, 22, (uint32_t)h);
  PutLe16(v, 26, 1);
  PutLe16(v, 28, (uint32_t)bits);
  PutLe32(v, 34, (uint32_t)data_bytes);
  PutLe32(v, 46, colours_used);
  return v;
}
}  // namespace

bool GlTestOpenWindow(int width, int height) {
  if (gt_window && gt_width == width && gt_height == height) {
    SDL_GL_MakeCurrent(gt_window, gt_context);
  } else {
    GlTestCloseWindow();
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    gt_window = SDL_CreateWindow("graphics test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!gt_window) return false;
    gt_context = SDL_GL_CreateContext(gt_window);
    if (!gt_context) {
      SDL_DestroyWindow(gt_window);
      gt_window = nullptr;
      return false;
    }
    SDL_GL_MakeCurrent(gt_window, gt_context);
    SDL_GL_SetSwapInterval(0);
    gt_width = width;
    gt_height = height;
  }
  if (!gt_log_set) {
    DebugSetLogFilename(GlTestPath("ErrorLog.txt").c_str(), 1);
    gt_log_set = true;
  }
  WIDTH = width;
  HEIGHT = height;
  WIDTH2 = width / 2;
  HEIGHT2 = height / 2;
  x_ratio = (float)width / 640.0f;
  y_ratio = (float)height / 480.0f;
  ComGlMiscSetDefaultGraphicParamaters();
  glDrawBuffer(GL_BACK);
  glReadBuffer(GL_BACK);
  while (glGetError() != GL_NO_ERROR) {
  }
  return true;
}

void GlTestCloseWindow() {
  if (gt_context) SDL_GL_DeleteContext(gt_context);
  if (gt_window) SDL_DestroyWindow(gt_window);
  gt_context = nullptr;
  gt_window = nullptr;
  gt_width = gt_height = 0;
}

GlTestRgba GlTestReadPixel(int x, int y) {
  unsigned char p[4] = {0, 0, 0, 0};
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return GlTestRgba{p[0], p[1], p[2], p[3]};
}

GlTestRgba GlTestReadPixelTop(int x, int y_from_top) { return GlTestReadPixel(x, gt_height - 1 - y_from_top); }

const std::string& GlTestTempDir() {
  static std::string dir;
  if (dir.empty()) {
    char templ[] = "/tmp/lectrel-gfx-XXXXXX";
    const char* made = mkdtemp(templ);
    dir = made ? made : "/tmp";
  }
  return dir;
}

std::string GlTestPath(const std::string& name) { return GlTestTempDir() + "/" + name; }

void GlTestLogMark() {
  if (!gt_log_set) {
    DebugSetLogFilename(GlTestPath("ErrorLog.txt").c_str(), 1);
    gt_log_set = true;
  }
  gt_log_mark = (long)GlTestReadFile(DebugGetLogFilename()).size();
}

std::string GlTestLogSince() {
  const std::vector<unsigned char> all = GlTestReadFile(DebugGetLogFilename());
  if ((long)all.size() < gt_log_mark) return std::string(all.begin(), all.end());
  return std::string(all.begin() + gt_log_mark, all.end());
}

std::string GlTestErrorLine(const std::string& func, const std::string& text) {
  return "( " + func + " )  2  " + text;
}

int GlTestCountOccurrences(const std::string& haystack, const std::string& needle) {
  int n = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + needle.size()))
    n++;
  return n;
}

GlTestPicture GlTestTopRedBottomBlue(int w, int h, int channels) {
  GlTestPicture pic;
  pic.Resize(w, h, channels);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      if (y < h / 2)
        pic.Set(x, y, 255, 0, 0, 255);
      else
        pic.Set(x, y, 0, 0, 255, 255);
    }
  return pic;
}

bool GlTestWriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

std::vector<unsigned char> GlTestReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool GlTestWriteBmp24(const std::string& path, const GlTestPicture& pic) {
  const size_t stride = ((size_t)pic.width * 3 + 3) & ~(size_t)3;
  std::vector<unsigned char> file = BmpHeader(pic.width, pic.height, 24, 0, stride * pic.height, 0);
  for (int row = pic.height - 1; row >= 0; row--) {
    std::vector<unsigned char> line(stride, 0xEE);  // padding bytes that must never show
    for (int x = 0; x < pic.width; x++) {
      const unsigned char* p = &pic.data[((size_t)row * pic.width + x) * pic.channels];
      line[x * 3 + 0] = p[2];
      line[x * 3 + 1] = p[1];
      line[x * 3 + 2] = p[0];
    }
    file.insert(file.end(), line.begin(), line.end());
  }
  return GlTestWriteFile(path, file);
}

bool GlTestWriteBmp8(const std::string& path, int w, int h, const std::vector<unsigned char>& rgb_palette,
                     const std::vector<unsigned char>& indices, uint32_t colours_used) {
  const size_t entries = rgb_palette.size() / 3;
  const size_t stride = ((size_t)w + 3) & ~(size_t)3;
  std::vector<unsigned char> file = BmpHeader(w, h, 8, colours_used, stride * h, entries * 4);
  for (size_t i = 0; i < entries; i++) {
    file.push_back(rgb_palette[i * 3 + 2]);
    file.push_back(rgb_palette[i * 3 + 1]);
    file.push_back(rgb_palette[i * 3 + 0]);
    file.push_back(0);
  }
  for (int row = h - 1; row >= 0; row--) {
    std::vector<unsigned char> line(stride, 0);
    for (int x = 0; x < w; x++) line[x] = indices[(size_t)row * w + x];
    file.insert(file.end(), line.begin(), line.end());
  }
  return GlTestWriteFile(path, file);
}

bool GlTestWriteTga(const std::string& path, const GlTestPicture& pic, bool top_first) {
  std::vector<unsigned char> file(18, 0);
  file[2] = 2;
  PutLe16(file, 12, (uint32_t)pic.width);
  PutLe16(file, 14, (uint32_t)pic.height);
  file[16] = (unsigned char)(pic.channels * 8);
  file[17] = top_first ? 0x20 : 0;
  for (int i = 0; i < pic.height; i++) {
    const int row = top_first ? i : pic.height - 1 - i;
    for (int x = 0; x < pic.width; x++) {
      const unsigned char* p = &pic.data[((size_t)row * pic.width + x) * pic.channels];
      file.push_back(p[2]);
      file.push_back(p[1]);
      file.push_back(p[0]);
      if (pic.channels == 4) file.push_back(p[3]);
    }
  }
  return GlTestWriteFile(path, file);
}

bool GlTestWriteJpeg(const std::string& path, const GlTestPicture& pic, int quality) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = (JDIMENSION)pic.width;
  cinfo.image_height = (JDIMENSION)pic.height;
  cinfo.input_components = pic.channels;
  cinfo.in_color_space = pic.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = (JSAMPROW)&pic.data[(size_t)cinfo.next_scanline * pic.width * pic.channels];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return fclose(f) == 0;
}
