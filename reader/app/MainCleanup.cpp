// Removal of the converted text files of the data folder (the cache of converted books).
#include "MainCleanup.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "GameFolders.h"
#include "Mui.h"
#include "MuiPopup.h"

static const char* const kTitle = "Quorvane Lectrel";

static void ShowResult(const char* text) {
  if (MuiIsOn()) MuiPopupMessage(kTitle, text, 0, nullptr);
}

int MainRemoveLeftoverTemporaries() {
  int count = 0;
  char dir[1024];
  if (!GameGetDataDir(dir, sizeof(dir))) return 0;
  count += ComFileRemoveLeftoverTemporaries(dir);
  // The Settings folder as it stands (asking GameGetSettingsDir for it would create it).
  char settings[1100];
  int n = snprintf(settings, sizeof(settings), "%s/%s", dir, "Settings");
  if (n > 0 && (size_t)n < sizeof(settings)) count += ComFileRemoveLeftoverTemporaries(settings);
  if (count > 0) DebugPlainText("Removed %d leftover temporary file%s", count, count == 1 ? "" : "s");
  return count;
}

void MainCleanupCB() {
  MuiPopupOkCancel(kTitle, "Remove all previously converted files created by Lectrel ?", 0,
                   MainDoCleanupCB);
}

void MainDoCleanupCB(char code) {
  if (code != 1 && code != 99) return;
  char dir[1024];
  // Never fall back on the working folder: it is the resource folder.
  if (!GameGetDataDir(dir, sizeof(dir))) {
    DebugError("MainDoCleanupCB", "No data folder");
    ShowResult("Error trying to perform cleanup.");
    return;
  }
  DIR* d = opendir(dir);
  if (!d) {
    DebugError("MainDoCleanupCB", "Could not open directory <%s>", dir);
    ShowResult("Error trying to perform cleanup.");
    return;
  }
  int count = 0;
  while (dirent* e = readdir(d)) {
    size_t len = strlen(e->d_name);
    if (len < 5 || len > 254) continue;
    // A converted book, or what an interrupted conversion left of one.
    bool txt = strcasecmp(e->d_name + len - 4, ".txt") == 0;
    bool part = len >= 9 && strcasecmp(e->d_name + len - 9, ".txt.part") == 0;
    // The record of which book a converted file was made from goes with it, uncounted.
    bool record = len >= 8 && strcmp(e->d_name + len - 8, ".txt.src") == 0;
    if (!txt && !part && !record) continue;
    // The log shares the folder; it is not a converted book.
    if (strcmp(e->d_name, "LogFile.txt") == 0) continue;
    char path[1400];
    int n = snprintf(path, sizeof(path), "%s/%s", dir, e->d_name);
    if (n < 0 || (size_t)n >= sizeof(path)) continue;
    // Only files are books; the count says what really went.
    struct stat st;
    if (lstat(path, &st) != 0 || S_ISDIR(st.st_mode)) continue;
    if (unlink(path) == 0 && !record) count++;
  }
  closedir(d);
  count += MainRemoveLeftoverTemporaries();
  char msg[64];
  snprintf(msg, sizeof(msg), "Deleted %d Temporary File%s", count, count == 1 ? "" : "s");
  DebugPlainText("%s", msg);
  ShowResult(msg);
}
