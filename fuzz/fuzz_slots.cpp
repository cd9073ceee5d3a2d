// A slot file on any bytes: read as the slots screen reads it, its display settings applied to
// the settings in use and used by the reading view's layout numbers.
#include <cstdio>
#include <cstdlib>

#include "Config.h"
#include "FuzzReadingView.h"
#include "FuzzSupport.h"
#include "GameFolders.h"
#include "PrefFolder.h"
#include "Slots.h"

namespace {
std::string fz_slot_path;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUpProgramFolders();
  char dir[1024];
  if (!GameGetSettingsDir(dir, sizeof(dir))) exit(1);
  fz_slot_path = std::string(dir) + "/Slot07.lcs";
  FuzzSeedRun([](const std::string& seeds) {
    _Config rec = FuzzDefaultRecord();
    snprintf(rec.last_folder, sizeof(rec.last_folder), "Evening");
    FuzzSeed(seeds, "evening.lcs", &rec, sizeof(rec));
    rec.dark_on_bright = 1;
    rec.paper = 3;
    rec.text_size = 2.5f;
    snprintf(rec.font_file, sizeof(rec.font_file), "serif.ttf");
    FuzzSeed(seeds, "dark.lcs", &rec, sizeof(rec));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzWriteFile(fz_slot_path, data, size)) return 0;
  if (SlotsReadSlot(6)) {
    SlotsUpdateFromLoadedTempConfig();
    FuzzExerciseReadingView();
  }
  return 0;
}
