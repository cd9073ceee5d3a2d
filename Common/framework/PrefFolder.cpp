// The program's own folder "Quorvane/<name>" in the user's preferences folder, its log file, and
// sub-folders of it and of the documents and desktop folders. No call fails outward: each
// answers the nearest folder that exists.
#include "PrefFolder.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacMisc.h"
#include "ComMisc.h"

char pf_folder_name[128] = "";
char pf_buffer[512] = ".";
char pf_buffer2[640] = ".";
char pf_buffer3[768] = ".";

static char pf_fallback = 0;

// One folder level: not null or empty, shorter than 128, no "/", not "." or "..".
static bool NameOk(const char* name) {
  if (!name || !name[0] || strnlen(name, 128) >= 128) return false;
  if (strchr(name, '/')) return false;
  return strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

char PrefFolderIsFallback() { return pf_fallback; }

char* PrefFolderGetMainFolder() {
  if (!pf_folder_name[0]) {
    DebugError("PrefFolderGetMainFolder", "Folder name is empty");
    snprintf(pf_buffer, sizeof(pf_buffer), ".");
    pf_fallback = 1;
    return pf_buffer;
  }
  if (!ComMacMiscGetPreferencesSubSubFolder((char*)"Quorvane", pf_folder_name, pf_buffer,
                                            (int)sizeof(pf_buffer), 1, 1)) {
    // Logged as an error: callers that delete files in the folder must not do it here.
    DebugError("PrefFolderGetMainFolder", "Could not create/get directory");
    snprintf(pf_buffer, sizeof(pf_buffer), ".");
    pf_fallback = 1;
    return pf_buffer;
  }
  pf_fallback = 0;
  return pf_buffer;
}

char* PrefFolderSetup(char* name, char set_log, char* log_name) {
  if (!NameOk(name)) {
    DebugError("PrefFolderSetup", "Invalid folder name");
    pf_folder_name[0] = 0;
  } else {
    snprintf(pf_folder_name, sizeof(pf_folder_name), "%s", name);
  }
  char* main = PrefFolderGetMainFolder();
  if (set_log) {
    int n;
    const char* problem = nullptr;
    if (log_name && !NameOk(log_name)) {
      problem = "Invalid log file name";
      n = snprintf(pf_buffer2, sizeof(pf_buffer2), "%s/%s", main, "LogFile.txt");
    } else if (log_name) {
      n = snprintf(pf_buffer2, sizeof(pf_buffer2), "%s/%s.txt", main, log_name);
    } else {
      n = snprintf(pf_buffer2, sizeof(pf_buffer2), "%s/%s", main, "LogFile.txt");
    }
    if (n < 0 || n >= (int)sizeof(pf_buffer2)) {
      problem = "Log file name too long";
      snprintf(pf_buffer2, sizeof(pf_buffer2), "%s/%s", main, "LogFile.txt");
    }
    DebugSetLogFilename(pf_buffer2, 1);
    // Reported in the new log: the switch deletes the old file.
    if (problem) DebugError("PrefFolderSetup", "%s", problem);
    if (pf_fallback) DebugError("PrefFolderSetup", "No preferences folder - using <%s>", main);
  }
  return main;
}

// base + "/" + sub in out, made when missing; 0 when it can be neither found nor created.
static char MakeSub(const char* func, const char* base, const char* sub, char* out, size_t size) {
  int n = snprintf(out, size, "%s/%s", base, sub);
  if (n < 0 || n >= (int)size) {
    DebugError(func, "Could not create directory <%s/%s>", base, sub);
    return 0;
  }
  if (ComFileDirectoryExists(out)) return 1;
  if (ComFileCreateDirectory(out) || ComFileDirectoryExists(out)) return 1;
  DebugError(func, "Could not create directory <%s>", out);
  return 0;
}

char* PrefFolderGetSubFolder(char* sub) {
  char* main = PrefFolderGetMainFolder();
  if (!NameOk(sub)) {
    DebugError("PrefFolderGetSubFolder", "Invalid sub folder name");
    return main;
  }
  if (!MakeSub("PrefFolderGetSubFolder", main, sub, pf_buffer2, sizeof(pf_buffer2))) return main;
  return pf_buffer2;
}

char* PrefFolderGetMyDocsFolder() {
  if (!ComMiscGetDocumentsDirectory(pf_buffer, (int)sizeof(pf_buffer))) {
    DebugError("PrefFolderGetMyDocsFolder", "Could not get directory");
    snprintf(pf_buffer, sizeof(pf_buffer), ".");
  }
  return pf_buffer;
}

static char* UserSubFolder(const char* func, char (*folder)(char*, int), char* sub) {
  if (!folder(pf_buffer, (int)sizeof(pf_buffer))) {
    DebugError(func, "Could not get directory");
    snprintf(pf_buffer, sizeof(pf_buffer), ".");
  }
  if (!NameOk(sub)) {
    DebugError(func, "Invalid sub folder name");
    return pf_buffer;
  }
  if (!MakeSub(func, pf_buffer, sub, pf_buffer2, sizeof(pf_buffer2))) return pf_buffer;
  return pf_buffer2;
}

char* PrefFolderGetMyDocsSubFolder(char* sub) {
  return UserSubFolder("PrefFolderGetMyDocsSubFolder", ComMiscGetDocumentsDirectory, sub);
}

char* PrefFolderGetDesktopSubFolder(char* sub) {
  return UserSubFolder("PrefFolderGetDesktopSubFolder", ComMiscGetDesktopDirectory, sub);
}

char* PrefFolderGetMyDocsSubSubFolder(char* sub, char* subsub) {
  char* docsub = PrefFolderGetMyDocsSubFolder(sub);
  if (docsub != pf_buffer2) return docsub;  // the documents folder itself
  if (!NameOk(subsub)) {
    DebugError("PrefFolderGetMyDocsSubSubFolder", "Invalid sub sub folder name");
    return docsub;
  }
  if (!MakeSub("PrefFolderGetMyDocsSubSubFolder", docsub, subsub, pf_buffer3, sizeof(pf_buffer3))) return pf_buffer;
  return pf_buffer3;
}
