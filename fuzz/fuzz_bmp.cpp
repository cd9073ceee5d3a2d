// The BMP loader on any bytes, through its decode-only step (no GL context needed).
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ComGlLoad.h"
#include "FuzzSupport.h"

namespace {

void Put(std::vector<unsigned char>& v, size_t at, uint32_t x, int bytes) {
  for (int i = 0; i < bytes; i++) v[at + i] = (unsigned char)(x >> (8 * i));
}

// A BMP of the given depth (8 with a grey palette of `colours` entries, or 24), rows padded.
std::vector<unsigned char> Bmp(int w, int h, int bits, int colours) {
  const size_t row = ((size_t)w * (bits / 8) + 3) & ~(size_t)3;
  const size_t palette = bits == 8 ? (size_t)colours * 4 : 0;
  std::vector<unsigned char> v(54 + palette + row * h, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put(v, 2, (uint32_t)v.size(), 4);
  Put(v, 10, (uint32_t)(54 + palette), 4);
  Put(v, 14, 40, 4);
  Put(v, 18, (uint32_t)w, 4);
  Put(v, 22, (uint32_t)h, 4);
  Put(v, 26, 1, 2);
  Put(v, 28, (uint32_t)bits, 2);
  Put(v, 34, (uint32_t)(row * h), 4);
  Put(v, 46, (uint32_t)colours, 4);
  for (size_t i = 0; i < palette; i++) v[54 + i] = (unsigned char)((i / 4) * 40);
  for (size_t i = 54 + palette; i < v.size(); i++) v[i] = (unsigned char)(i * 7);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  FuzzSeedRun([](const std::string& seeds) {
    FuzzSeed(seeds, "rgb.bmp", Bmp(3, 2, 24, 0));
    FuzzSeed(seeds, "palette.bmp", Bmp(5, 3, 8, 4));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzInputFile("in.bmp", data, size);
  if (path.empty()) return 0;
  _ComGlLoadTexels t{};
  // The depth and alpha the textures of the program ask for, chosen by the input's length.
  if (ComGlLoadImageDecodeBmp(path.c_str(), (char)(size & 1), (char)(size % 3 == 0 ? 1 : 0), &t)) free(t.pixels);
  return 0;
}
