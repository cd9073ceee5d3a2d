// Colour checks and solid pictures for the tests that draw into a window and read it back.
#ifndef SUPPORT_GL_PIXELS_H
#define SUPPORT_GL_PIXELS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Common/graphics/support_GlWindow.h"

struct Rgb {
  int r, g, b;
};

// Each channel within tol of the colour (the blending and dithering of the driver stay inside 3).
inline bool Near(const GlTestRgba& p, Rgb c, int tol = 3) {
  return std::abs(p.r - c.r) <= tol && std::abs(p.g - c.g) <= tol && std::abs(p.b - c.b) <= tol;
}

// "r,g,b", for a failure's message.
inline std::string Str(const GlTestRgba& p) {
  return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b);
}

// A picture of one colour written as a 24-bit BMP in the temporary folder; answers its path.
inline std::string SolidBmp(const std::string& name, Rgb c, int width = 16, int height = 16) {
  GlTestPicture pic;
  pic.Resize(width, height, 3);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) pic.Set(x, y, c.r, c.g, c.b);
  std::string path = GlTestPath(name);
  EXPECT_TRUE(GlTestWriteBmp24(path, pic));
  return path;
}

#endif
