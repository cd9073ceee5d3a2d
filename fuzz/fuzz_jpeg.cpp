// The JPEG reader on any bytes: the header probe, then the decode into a buffer of the size the
// header gives, for pictures up to the size the texture loader takes.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ComGlJpeg.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  FuzzSeedRun([](const std::string& seeds) {
    for (int i = 0; i < 2; i++) {
      const int w = i ? 17 : 8, h = i ? 9 : 8;
      std::vector<unsigned char> rgb((size_t)w * h * 3);
      for (size_t k = 0; k < rgb.size(); k++) rgb[k] = (unsigned char)(k * 29);
      const std::string path = seeds + (i ? "/odd.jpg" : "/square.jpg");
      mkdir(seeds.c_str(), 0755);
      if (!ComJpegWriteFileFromBuffer(path.c_str(), i ? 50 : 95, 72, w, h, rgb.data())) exit(1);
    }
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzInputFile("in.jpg", data, size);
  if (path.empty()) return 0;
  int w = 0, h = 0, c = 0;
  if (!ComJpegGetFileInfo(path.c_str(), &w, &h, &c)) return 0;
  if (w <= 0 || h <= 0 || c < 1 || c > 4 || (uint64_t)w * (uint64_t)h > (uint64_t)4096 * 4096) return 0;
  std::vector<unsigned char> buffer((size_t)w * h * c);
  ComJpegReadFileToBuffer(path.c_str(), &w, &h, buffer.data());
  return 0;
}
