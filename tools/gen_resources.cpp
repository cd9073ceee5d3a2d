// Writes the reader's own pictures into the resource folder: "Misc.tga" (progress bar, message
// box, battery gauge and low-battery mark), "WinCorner.tga" (the window's resize corner) and the
// fifteen paper backgrounds "01 copy.jpg" to "15 copy.jpg" (light, seamlessly tileable squares).
// Usage: gen_resources OUTPUT_FOLDER
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gen_picture.h"

namespace {

using gen::Clamp01;
using gen::Picture;
using gen::Rgba;
using gen::RoundRectCoverage;
using gen::WriteTga;

// Fills the region [u0,u1) x [v0,v1) (fractions of the picture, v downwards) with f(fx, fy),
// where fx, fy run 0..1 across the region.
template <typename F>
void FillRegion(Picture& p, float u0, float v0, float u1, float v1, F f) {
  int x0 = int(std::floor(u0 * p.w)), x1 = int(std::ceil(u1 * p.w));
  int y0 = int(std::floor(v0 * p.h)), y1 = int(std::ceil(v1 * p.h));
  for (int y = y0; y < y1 && y < p.h; y++)
    for (int x = x0; x < x1 && x < p.w; x++) {
      float fx = (x + 0.5f - u0 * p.w) / ((u1 - u0) * p.w);
      float fy = (y + 0.5f - v0 * p.h) / ((v1 - v0) * p.h);
      p.at(x, y) = f(fx, fy);
    }
}

bool WriteJpeg(const std::string& path, Picture& p) {
  std::string tmp = path + ".tmp";
  FILE* f = fopen(tmp.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = p.w;
  cinfo.image_height = p.h;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 92, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(size_t(p.w) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    int y = cinfo.next_scanline;
    for (int x = 0; x < p.w; x++) {
      Rgba c = p.at(x, y);
      row[x * 3 + 0] = (unsigned char)std::lround(Clamp01(c.r) * 255);
      row[x * 3 + 1] = (unsigned char)std::lround(Clamp01(c.g) * 255);
      row[x * 3 + 2] = (unsigned char)std::lround(Clamp01(c.b) * 255);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  bool ok = fclose(f) == 0;
  return ok && rename(tmp.c_str(), path.c_str()) == 0;
}

// The texture regions below are those the reading view samples (fractions, v downwards).
Picture MakeMisc() {
  Picture p(512, 512);
  const float bw = 0.105f * 512, bh = 0.25f * 512;
  // Progress bar, unfilled (rows 0..0.25) and filled (0.25..0.5); light pieces for bright text on a
  // dark background (columns 0.01..0.115), dark pieces for dark text (0.135..0.24). The bar is a
  // horizontal band in the middle of its cell so it stretches cleanly.
  auto bar = [&](float lum, float alpha_fill, float alpha_edge) {
    return [=](float, float fy) {
      float d = std::fabs(fy - 0.5f) * 2;  // 0 centre, 1 edge
      float a = d < 0.7f ? alpha_fill : (d < 0.9f ? alpha_edge : 0.0f);
      return Rgba{lum, lum, lum, a};
    };
  };
  FillRegion(p, 0.01f, 0.0f, 0.115f, 0.25f, bar(1.0f, 0.22f, 0.5f));
  FillRegion(p, 0.01f, 0.25f, 0.115f, 0.5f, bar(1.0f, 0.85f, 0.95f));
  FillRegion(p, 0.135f, 0.0f, 0.24f, 0.25f, bar(0.55f, 0.35f, 0.6f));
  FillRegion(p, 0.135f, 0.25f, 0.24f, 0.5f, bar(0.25f, 0.85f, 0.95f));
  (void)bw; (void)bh;
  // Message-box background: a dark rounded panel with a light rim, split into a left cap
  // (0.26..0.365), a middle that is stretched (0.365..0.385) and a right cap (0.385..0.49), rows
  // 0.02..0.248.
  {
    float x0 = 0.26f * 512, x1 = 0.49f * 512, y0 = 0.02f * 512, y1 = 0.248f * 512;
    for (int y = 0; y < 512; y++)
      for (int x = 0; x < 512; x++) {
        float px = x + 0.5f, py = y + 0.5f;
        if (px < x0 - 1 || px > x1 + 1 || py < y0 - 1 || py > y1 + 1) continue;
        float outer = RoundRectCoverage(px, py, x0 + 1, y0 + 1, x1 - 1, y1 - 1, 40);
        float inner = RoundRectCoverage(px, py, x0 + 5, y0 + 5, x1 - 5, y1 - 5, 36);
        float lum = 0.12f * inner + 0.75f * (outer - inner);
        float a = 0.88f * inner + 0.95f * (outer - inner);
        p.at(x, y) = Rgba{outer > 0 ? lum / outer : 0, outer > 0 ? lum / outer : 0,
                          outer > 0 ? lum / outer : 0, a};
      }
  }
  // Battery gauge: cap (rows 0.25..0.27), empty body (0.27..0.372) and full body (0.375..0.5);
  // light pieces in columns 0.255..0.37, dark pieces in 0.38..0.495.
  auto battery = [&](float u0, float u1, float lum) {
    FillRegion(p, u0, 0.25f, u1, 0.27f, [=](float fx, float) {
      return Rgba{lum, lum, lum, (fx > 0.3f && fx < 0.7f) ? 1.0f : 0.0f};
    });
    FillRegion(p, u0, 0.27f, u1, 0.372f, [=](float fx, float) {
      bool rim = fx < 0.12f || fx > 0.88f;
      return Rgba{lum, lum, lum, rim ? 1.0f : 0.15f};
    });
    FillRegion(p, u0, 0.375f, u1, 0.5f, [=](float fx, float fy) {
      bool rim = fx < 0.12f || fx > 0.88f || fy > 0.94f;
      return Rgba{lum, lum, lum, rim ? 1.0f : 0.9f};
    });
  };
  battery(0.255f, 0.37f, 1.0f);
  battery(0.38f, 0.495f, 0.2f);
  // Low-battery mark (0.5..0.625 across, 0.25..0.5 down): a white exclamation mark that the view
  // tints red.
  FillRegion(p, 0.5f, 0.25f, 0.625f, 0.5f, [](float fx, float fy) {
    bool stem = std::fabs(fx - 0.5f) < 0.12f && fy > 0.08f && fy < 0.66f;
    bool dot = std::fabs(fx - 0.5f) < 0.12f && fy > 0.76f && fy < 0.92f;
    return Rgba{1, 1, 1, (stem || dot) ? 1.0f : 0.0f};
  });
  return p;
}

Picture MakeWinCorner() {
  Picture p(16, 16);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      int d = x + y;  // three diagonal ridges towards the bottom right corner
      bool ridge = d >= 17 && (d % 4 == 1 || d % 4 == 2);
      p.at(x, y) = Rgba{0.55f, 0.55f, 0.55f, ridge ? 0.9f : 0.0f};
    }
  return p;
}

// Tileable value noise: lattice values repeat with the period, interpolated smoothly.
struct Noise {
  int period;
  std::vector<float> v;
  Noise(int per, unsigned seed) : period(per), v(size_t(per) * per) {
    for (auto& x : v) {
      seed = seed * 1103515245u + 12345u;
      x = ((seed >> 8) & 0xffff) / 65535.0f;
    }
  }
  float At(int x, int y) const {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return v[size_t(y) * period + x];
  }
  float Sample(float x, float y) const {  // x, y in lattice units
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = At(ix, iy) + (At(ix + 1, iy) - At(ix, iy)) * fx;
    float b = At(ix, iy + 1) + (At(ix + 1, iy + 1) - At(ix, iy + 1)) * fx;
    return a + (b - a) * fy;
  }
};

// Paper n (1..15): a warm or cool light base, a fibre direction and grain of its own. Every term
// repeats exactly over the picture, so the paper tiles without seams.
Picture MakePaper(int n) {
  const int side = 256;
  Picture p(side, side);
  unsigned seed = 7919u * n + 17u;
  std::vector<Noise> octaves;
  for (int o = 0; o < 4; o++) octaves.emplace_back(4 << o, seed + o * 101u);
  Noise fibres(32 + 8 * (n % 3), seed ^ 0x5a5a5a5au);
  float warm = (n % 5) * 0.012f;
  float base_r = 0.93f + warm, base_g = 0.91f + warm * 0.5f, base_b = 0.86f - warm * 0.5f;
  if (n % 4 == 0) { base_r = 0.90f; base_g = 0.91f; base_b = 0.92f; }  // a few cool greys
  float grain = 0.035f + 0.008f * (n % 4);
  float stretch = 1.0f + (n % 3) * 2.0f;  // fibres elongated across
  for (int y = 0; y < side; y++)
    for (int x = 0; x < side; x++) {
      float u = float(x) / side, v = float(y) / side;
      // Mostly fine grain: broad blotches would show as a grid once the paper is repeated.
      static const float kWeights[4] = {0.1f, 0.25f, 0.35f, 0.3f};
      float cloud = 0, total = 0;
      for (size_t o = 0; o < octaves.size(); o++) {
        cloud += kWeights[o] * octaves[o].Sample(u * octaves[o].period, v * octaves[o].period);
        total += kWeights[o];
      }
      cloud /= total;
      float fib = fibres.Sample(u * fibres.period, v * fibres.period * stretch / stretch);
      float f2 = fibres.Sample(u * fibres.period + 0.5f, v * fibres.period);
      float d = (cloud - 0.5f) * grain * 2 + (fib - 0.5f) * grain * 0.6f + (f2 - 0.5f) * grain * 0.3f;
      p.at(x, y) = Rgba{Clamp01(base_r + d), Clamp01(base_g + d), Clamp01(base_b + d * 1.1f), 1};
    }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  std::string out = argv[1];
  Picture misc = MakeMisc();
  Picture corner = MakeWinCorner();
  if (!WriteTga(out + "/Misc.tga", misc) || !WriteTga(out + "/WinCorner.tga", corner)) {
    fprintf(stderr, "gen_resources: cannot write the TGA pictures into %s\n", out.c_str());
    return 1;
  }
  for (int n = 1; n <= 15; n++) {
    char name[32];
    snprintf(name, sizeof(name), "/%02d copy.jpg", n);
    Picture paper = MakePaper(n);
    if (!WriteJpeg(out + name, paper)) {
      fprintf(stderr, "gen_resources: cannot write %s\n", name);
      return 1;
    }
  }
  return 0;
}
