// Removal of the converted text files of the data folder (the cache of converted books).
#include "MainCleanup.h"

#include <dirent.h>
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacMessageBox.h"
#include "GameFolders.h"
#include "Mui.h"

void MainCleanupCB() {
  if (ComWinPopupOkCancel("Quorvane Lectrel", "Remove all previously converted files created by Lectrel ?"))
    MainDoCleanupCB(1);
}

void MainDoCleanupCB(char code) {
  if (code != 1 && code != 99) return;
  char dir[1024];
  // Never fall back on the working folder: it is the resource folder.
  if (!GameGetDataDir(dir, sizeof(dir))) {
    DebugError("MainDoCleanupCB", "No data folder");
    if (MuiIsOn()) ComWinPopupMessage("Quorvane Lectrel", "Error trying to perform cleanup.", 0);
    return;
  }
  DIR* d = opendir(dir);
  if (!d) {
    DebugError("MainDoCleanupCB", "Could not open directory <%s>", dir);
    if (MuiIsOn()) ComWinPopupMessage("Quorvane Lectrel", "Error trying to perform cleanup.", 0);
    return;
  }
  int count = 0;
  while (dirent* e = readdir(d)) {
    size_t len = strlen(e->d_name);
    if (len < 5 || len > 254) continue;
    if (strcasecmp(e->d_name + len - 4, ".txt") != 0) continue;
    // The log shares the folder; it is not a converted book.
    if (strcmp(e->d_name, "LogFile.txt") == 0) continue;
    char path[1400];
    int n = snprintf(path, sizeof(path), "%s/%s", dir, e->d_name);
    if (n < 0 || (size_t)n >= sizeof(path)) continue;
    ComFileDelete(path);
    count++;
  }
  closedir(d);
  char msg[64];
  snprintf(msg, sizeof(msg), "Deleted %d Temporary File%s", count, count == 1 ? "" : "s");
  DebugPlainText("%s", msg);
  if (MuiIsOn()) ComWinPopupMessage("Quorvane Lectrel", msg, 0);
}
