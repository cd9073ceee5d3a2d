// The settings file on any bytes: loaded as at start-up, its values used by the reading view's
// layout numbers, and saved again.
#include <cstdio>
#include <cstdlib>

#include "Config.h"
#include "FuzzReadingView.h"
#include "FuzzSupport.h"
#include "PrefFolder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUpProgramFolders();
  ConfigSetupFilename();
  FuzzSeedRun([](const std::string& seeds) {
    _Config rec = FuzzDefaultRecord();
    FuzzSeed(seeds, "defaults.cfg", &rec, sizeof(rec));
    rec.num_books = 2;
    snprintf(rec.books[0].name, sizeof(rec.books[0].name), "Harbour");
    rec.books[0].read_fraction = 0.25f;
    rec.rotation = 1;
    rec.bar_mode = 3;
    rec.side_margin_rotated = 12;
    snprintf(rec.last_book, sizeof(rec.last_book), "/books/Harbour.txt");
    FuzzSeed(seeds, "reading.cfg", &rec, sizeof(rec));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzWriteFile(config_filename, data, size)) return 0;
  ConfigLoad();
  FuzzExerciseReadingView();
  ConfigSave(1);
  return 0;
}
