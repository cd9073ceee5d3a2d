// The reader's folders: the data folder is the program's preferences folder; the settings and
// slot files live in its "Settings" subfolder.
#include "GameFolders.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "PrefFolder.h"

char run_dir[512];

namespace {

char CopyFolder(const char* func, const char* folder, char* dst, int len) {
  if (!dst) return 0;
  if (len < 50) {
    DebugError(func, "String too short (1)");
    if (len > 0) dst[0] = 0;
    return 0;
  }
  dst[0] = 0;
  if (!folder || !folder[0]) return 0;
  int n = snprintf(dst, (size_t)len, "%s", folder);
  if (n < 0 || n >= len) {
    DebugError(func, "Folder name too long <%s>", folder);
    dst[0] = 0;
    return 0;
  }
  return 1;
}

}  // namespace

char GameGetDataDir(char* dst, int len) {
  char* folder = PrefFolderGetMainFolder();
  // The "." fallback is the resource folder: nothing of the program's data goes there.
  if (PrefFolderIsFallback()) folder = nullptr;
  return CopyFolder("GameGetDataDir", folder, dst, len);
}

char GameGetSettingsDir(char* dst, int len) {
  char* folder = PrefFolderGetSubFolder((char*)"Settings");
  if (PrefFolderIsFallback()) folder = nullptr;
  return CopyFolder("GameGetSettingsDir", folder, dst, len);
}

void GameEnsureUsingCorrectPath() {
  if (!ComFileExists("default.ttf")) DebugError("GameEnsureUsingCorrectPath", "NOT IMPLEMENTED FOR MACS");
}
