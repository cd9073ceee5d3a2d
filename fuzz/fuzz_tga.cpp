// The TGA readers on any bytes: the texture loader's decode-only step and the 32-bit pixel
// buffer loader.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ComGlLoad.h"
#include "ComTga.h"
#include "FuzzSupport.h"

namespace {

// An uncompressed true-colour TGA, bottom row first unless top_first.
std::vector<unsigned char> Tga(int w, int h, int bits, bool top_first) {
  std::vector<unsigned char> v(18 + (size_t)w * h * (bits / 8), 0);
  v[2] = 2;
  v[12] = (unsigned char)w;
  v[13] = (unsigned char)(w >> 8);
  v[14] = (unsigned char)h;
  v[15] = (unsigned char)(h >> 8);
  v[16] = (unsigned char)bits;
  v[17] = (unsigned char)((bits == 32 ? 8 : 0) | (top_first ? 0x20 : 0));
  for (size_t i = 18; i < v.size(); i++) v[i] = (unsigned char)(i * 13);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  FuzzSeedRun([](const std::string& seeds) {
    FuzzSeed(seeds, "rgb.tga", Tga(3, 2, 24, false));
    FuzzSeed(seeds, "rgba-top.tga", Tga(4, 3, 32, true));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzInputFile("in.tga", data, size);
  if (path.empty()) return 0;
  _ComGlLoadTexels t{};
  // Alpha from the file when it has one (7) or from the brightness (1), by the input's length.
  if (ComGlLoadImageDecodeTga(path.c_str(), (char)(size & 1), (char)(size % 3 == 0 ? 1 : 7), &t)) free(t.pixels);
  _ComTgaData d{};
  if (ComTgaLoadDataFromFile(path.c_str(), &d, 1)) ComTgaFreeData(&d);
  return 0;
}
