// The display-mode file on any bytes: loaded as before the window is made, then the window size
// it gives kept within the desktop.
#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "PrefFolder.h"
#include "Resolution.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUpProgramFolders();
  ResolutionSetupFilename();
  if (!res_file_str[0]) exit(1);
  FuzzSeedRun([](const std::string& seeds) {
    ResolutionSetDefaultResolution();
    FuzzSeed(seeds, "window.dat", &resolution, sizeof(resolution));
    resolution.windowed = 0;
    resolution.fs_width = 1920;
    resolution.fs_height = 1080;
    resolution.anti_aliasing = 4;
    FuzzSeed(seeds, "fullscreen.dat", &resolution, sizeof(resolution));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzWriteFile(res_file_str, data, size)) return 0;
  ResolutionLoadSettings();
  ResolutionEnsureWindowedModeNotTooBig();
  return 0;
}
