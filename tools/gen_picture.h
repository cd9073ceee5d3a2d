// The drawing surface and TGA writer shared by the build-time picture generators.
#ifndef LECTREL_TOOLS_GEN_PICTURE_H
#define LECTREL_TOOLS_GEN_PICTURE_H

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace gen {

struct Rgba {
  float r, g, b, a;
};

struct Picture {
  int w, h;
  std::vector<Rgba> px;  // row 0 is the top of the picture
  Picture(int width, int height) : w(width), h(height), px(size_t(width) * height, Rgba{0, 0, 0, 0}) {}
  Rgba& at(int x, int y) { return px[size_t(y) * w + x]; }
};

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Coverage of a rounded rectangle (pixel centres), anti-aliased over one pixel.
inline float RoundRectCoverage(float px, float py, float x0, float y0, float x1, float y1, float radius) {
  float cx = px < x0 + radius ? x0 + radius : (px > x1 - radius ? x1 - radius : px);
  float cy = py < y0 + radius ? y0 + radius : (py > y1 - radius ? y1 - radius : py);
  float d = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
  if (px < x0 || px > x1 || py < y0 || py > y1) return 0;
  return Clamp01(radius - d + 0.5f);
}

inline bool WriteTga(const std::string& path, Picture& p) {
  FILE* f = fopen((path + ".tmp").c_str(), "wb");
  if (!f) return false;
  unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  header[12] = p.w & 255; header[13] = p.w >> 8;
  header[14] = p.h & 255; header[15] = p.h >> 8;
  header[16] = 32; header[17] = 8;  // 8 alpha bits, bottom row first
  bool ok = fwrite(header, 1, 18, f) == 18;
  std::vector<unsigned char> row(size_t(p.w) * 4);
  for (int y = p.h - 1; ok && y >= 0; y--) {
    for (int x = 0; x < p.w; x++) {
      Rgba c = p.at(x, y);
      row[x * 4 + 0] = (unsigned char)std::lround(Clamp01(c.b) * 255);
      row[x * 4 + 1] = (unsigned char)std::lround(Clamp01(c.g) * 255);
      row[x * 4 + 2] = (unsigned char)std::lround(Clamp01(c.r) * 255);
      row[x * 4 + 3] = (unsigned char)std::lround(Clamp01(c.a) * 255);
    }
    ok = fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  ok = (fclose(f) == 0) && ok;
  return ok && rename((path + ".tmp").c_str(), path.c_str()) == 0;
}

}  // namespace gen

#endif
