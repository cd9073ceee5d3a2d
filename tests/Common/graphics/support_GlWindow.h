// Shared helpers for the graphics tests: a window with an OpenGL context under Xvfb, pixel
// read-back, log capture, a temporary folder, and small BMP/TGA/JPEG writers for fixtures.
#ifndef SUPPORT_GL_WINDOW_H
#define SUPPORT_GL_WINDOW_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Opens (or re-opens at a new size) a hidden window with a compatibility context, sets the
// shell's WIDTH/HEIGHT and x_ratio/y_ratio, and applies the default graphic state. False when
// no display or context could be had. Textures do not survive a re-open.
bool GlTestOpenWindow(int width, int height);
void GlTestCloseWindow();

struct GlTestRgba {
  int r, g, b, a;
};
// One pixel of the back buffer; y counts from the bottom (OpenGL's rows).
GlTestRgba GlTestReadPixel(int x, int y);
// Same with y counted from the top of the window.
GlTestRgba GlTestReadPixelTop(int x, int y_from_top);

// A fresh temporary folder (made once per process) and a path inside it.
const std::string& GlTestTempDir();
std::string GlTestPath(const std::string& name);

// The log goes to a file in the temporary folder; Mark remembers its end, Since returns what
// was written after the mark.
void GlTestLogMark();
std::string GlTestLogSince();
// "( func )  2  text": the shape of one DebugError line.
std::string GlTestErrorLine(const std::string& func, const std::string& text);
int GlTestCountOccurrences(const std::string& haystack, const std::string& needle);

// Pixels for the writers: rows top first, R, G, B (, A) bytes.
struct GlTestPicture {
  int width = 0;
  int height = 0;
  int channels = 3;                 // 3 or 4
  std::vector<unsigned char> data;  // width x height x channels, top row first
  void Resize(int w, int h, int c) {
    width = w;
    height = h;
    channels = c;
    data.assign((size_t)w * h * c, 0);
  }
  unsigned char* At(int x, int y_from_top) { return &data[((size_t)y_from_top * width + x) * channels]; }
  void Set(int x, int y_from_top, int r, int g, int b, int a = 255) {
    unsigned char* p = At(x, y_from_top);
    p[0] = (unsigned char)r;
    if (channels == 1) return;
    p[1] = (unsigned char)g;
    p[2] = (unsigned char)b;
    if (channels == 4) p[3] = (unsigned char)a;
  }
};
// Top half red, bottom half blue (an even height keeps the halves exact).
GlTestPicture GlTestTopRedBottomBlue(int w, int h, int channels = 3);

// 24-bit BMP, 40-byte header, bottom-up rows padded to 4 bytes.
bool GlTestWriteBmp24(const std::string& path, const GlTestPicture& pic);
// 8-bit BMP with the given palette (B, G, R, 0 entries written from R, G, B triples) and indices
// (top row first); colours_used is written as given.
bool GlTestWriteBmp8(const std::string& path, int w, int h, const std::vector<unsigned char>& rgb_palette,
                     const std::vector<unsigned char>& indices, uint32_t colours_used);
// Uncompressed TGA of 24 or 32 bits; top_first writes rows top first and sets descriptor bit 5.
bool GlTestWriteTga(const std::string& path, const GlTestPicture& pic, bool top_first = false);
// Raw bytes.
bool GlTestWriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> GlTestReadFile(const std::string& path);
// JPEG through libjpeg: 3 channels as RGB, 1 channel as greyscale (data holds width x height).
bool GlTestWriteJpeg(const std::string& path, const GlTestPicture& pic, int quality = 100);

// A fixture that opens a 640 x 480 window and marks the log for each test.
class GlTestFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(GlTestOpenWindow(640, 480)) << "no OpenGL context (is DISPLAY set?)";
    GlTestLogMark();
  }
};

#endif
