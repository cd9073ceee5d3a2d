// Prepares a user folder for the reader: a settings file whose last book is the given one and
// which does not ask for the start-up display dialog, and a display-mode file for a window.
// The settings start as the reader's fresh ones: the defaults with the preset slots copied from
// the resource folder and the first one applied.
// Runs with the HOME (or XDG_CONFIG_HOME) that the reader will run with.
// Usage: lectrel_prepare_home BOOK [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <unistd.h>

#include "ComMacMessageBox.h"
#include "Config.h"
#include "MainLoad.h"
#include "PrefFolder.h"
#include "Resolution.h"

namespace {
void PrintPopup(char* title, char* text, char) { fprintf(stderr, "%s: %s\n", title, text); }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    fprintf(stderr, "usage: %s BOOK [WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  int width = argc == 4 ? atoi(argv[2]) : 800;
  int height = argc == 4 ? atoi(argv[3]) : 600;
  if (width < 320 || height < 240 || width > 16384 || height > 16384) {
    fprintf(stderr, "lectrel_prepare_home: bad window size %dx%d\n", width, height);
    return 2;
  }
  // The reader works in its resource folder: a relative book path is made absolute first.
  char book[PATH_MAX];
  if (!realpath(argv[1], book)) snprintf(book, sizeof(book), "%s", argv[1]);
  if (strlen(book) >= sizeof(config.last_book)) {
    fprintf(stderr, "lectrel_prepare_home: book path too long\n");
    return 2;
  }
  ComWinSetPopupMessagesCallback(PrintPopup, PrintPopup);
  // Its log goes to the preferences folder (the reader starts that log afresh), not the working folder.
  if (!PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"LogFile.txt") || PrefFolderIsFallback()) {
    fprintf(stderr, "lectrel_prepare_home: no preferences folder\n");
    return 1;
  }
  // The preset slots are copied from the working folder, as the reader does from its own.
  if (chdir(LECTREL_RESOURCES) != 0)
    fprintf(stderr, "lectrel_prepare_home: no resource folder %s: no preset slots\n", LECTREL_RESOURCES);
  ConfigLoad();
  config.show_resolution_window = 0;
  pdf_filename[0] = 0;
  snprintf(config.last_book, sizeof(config.last_book), "%s", book);
  if (!ConfigSave(0)) {
    fprintf(stderr, "lectrel_prepare_home: could not write the settings file\n");
    return 1;
  }
  ResolutionSetDefaultResolution();
  resolution.windowed = 1;
  resolution.win_width = width;
  resolution.win_height = height;
  ResolutionSaveSettings();
  return 0;
}
