// The user's folders (XDG), folders inside the preferences folder, path references, the user
// name, the system version and the language-text placeholders.
#include "ComMacMisc.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ComDebug.h"
#include "ComFile.h"

static const char* HomeFolder() {
  const char* home = getenv("HOME");
  if (home && home[0] == '/') return home;
  struct passwd* pw = getpwuid(getuid());
  if (pw && pw->pw_dir && pw->pw_dir[0] == '/') return pw->pw_dir;
  return nullptr;
}

// Writes a formatted path; 0 when it does not fit (never cut silently).
static char PathPrintf(char* out, int len, const char* fmt, const char* a, const char* b = "") {
  if (!out || len <= 0) return 0;
  int n = snprintf(out, (size_t)len, fmt, a, b);
  return n >= 0 && n < len;
}

// Creates every missing folder of an absolute path.
static char MakeFolders(const char* path) {
  char tmp[1024];
  size_t n = strnlen(path, sizeof(tmp));
  if (n == 0 || n >= sizeof(tmp)) return 0;
  memcpy(tmp, path, n + 1);
  for (size_t i = 1; i <= n; i++) {
    if (tmp[i] == '/' || tmp[i] == 0) {
      char c = tmp[i];
      tmp[i] = 0;
      if (mkdir(tmp, 0700) != 0 && errno != EEXIST) return 0;
      tmp[i] = c;
    }
  }
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder name must be one level: no "/" and not "." or "..".
static bool NameOk(const char* name) {
  return name[0] && !strchr(name, '/') && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

char ComMacMiscGetPreferencesFolder(char* out, int len) {
  if (!out) return 0;
  const char* xdg = getenv("XDG_CONFIG_HOME");
  char ok;
  if (xdg && xdg[0] == '/') {
    ok = PathPrintf(out, len, "%s", xdg);
  } else {
    const char* home = HomeFolder();
    if (!home) {
      DebugError("ComMacMiscGetPreferencesFolder", "Could not get preferences folder");
      return 0;
    }
    ok = PathPrintf(out, len, "%s/.config", home);
  }
  if (!ok) {
    DebugError("ComMacMiscGetPreferencesFolder", "Could not get path");
    return 0;
  }
  return 1;
}

char ComMacMiscGetPreferencesSubFolder(char* name, char* out, int len, char create) {
  if (!name || !out) return 0;
  if (!NameOk(name)) {
    DebugError("ComMacMiscGetPreferencesSubFolder", "Could not create directory <%s>", name);
    return 0;
  }
  int room = len - (int)strlen(name) - 1;
  if (room <= 1 || !ComMacMiscGetPreferencesFolder(out, room)) {
    DebugError("ComMacMiscGetPreferencesSubFolder", "Could not get preferences folder");
    return 0;
  }
  size_t base = strlen(out);
  snprintf(out + base, (size_t)(len - (int)base), "/%s", name);
  if (create && !ComFileDirectoryExists(out)) {
    out[base] = 0;
    char parent_ok = MakeFolders(out);
    out[base] = '/';
    if (!parent_ok || !ComFileCreateDirectory(out)) {
      if (!ComFileDirectoryExists(out)) {
        DebugError("ComMacMiscGetPreferencesSubFolder", "Could not create directory <%s>", out);
        return 0;
      }
    }
  }
  if (!ComFileDirectoryExists(out)) {
    DebugError("ComMacMiscGetPreferencesSubFolder", "Directory does not exist <%s>", out);
    return 0;
  }
  return 1;
}

char ComMacMiscGetPreferencesSubSubFolder(char* main, char* sub, char* out, int len,
                                          char create_main, char create_sub) {
  if (!main || !sub || !out) return 0;
  if (!NameOk(main) || !NameOk(sub)) {
    DebugError("ComMacMiscGetPreferencesSubSubFolder", "Could not create main directory <%s/%s>", main, sub);
    return 0;
  }
  int room = len - (int)strlen(main) - (int)strlen(sub) - 2;
  if (room <= 1 || !ComMacMiscGetPreferencesFolder(out, room)) {
    DebugError("ComMacMiscGetPreferencesSubSubFolder", "Could not get preferences folder");
    return 0;
  }
  size_t base = strlen(out);
  snprintf(out + base, (size_t)(len - (int)base), "/%s", main);
  if (create_main && !ComFileDirectoryExists(out)) {
    out[base] = 0;
    char parent_ok = MakeFolders(out);  // a fresh account may have no preferences folder yet
    out[base] = '/';
    if ((!parent_ok || !ComFileCreateDirectory(out)) && !ComFileDirectoryExists(out)) {
      DebugError("ComMacMiscGetPreferencesSubSubFolder", "Could not create main directory <%s>", out);
      return 0;
    }
  }
  if (!ComFileDirectoryExists(out)) {
    DebugError("ComMacMiscGetPreferencesSubSubFolder", "Main directory does not exist <%s>", out);
    return 0;
  }
  size_t mid = strlen(out);
  snprintf(out + mid, (size_t)(len - (int)mid), "/%s", sub);
  if (create_sub && !ComFileDirectoryExists(out)) {
    if (!ComFileCreateDirectory(out) && !ComFileDirectoryExists(out)) {
      DebugError("ComMacMiscGetPreferencesSubSubFolder", "Could not create sub directory <%s>", out);
      return 0;
    }
  }
  if (!ComFileDirectoryExists(out)) {
    DebugError("ComMacMiscGetPreferencesSubSubFolder", "Sub directory does not exist <%s>", out);
    return 0;
  }
  return 1;
}

// The XDG user folder named key ("XDG_DESKTOP_DIR") from user-dirs.dirs, else $HOME/fallback
// when it exists, else $HOME.
static char UserFolder(const char* func, const char* key, const char* fallback, char* out, int len) {
  if (!out) return 0;
  const char* home = HomeFolder();
  if (!home) {
    DebugError(func, "FSFindFolder failed [%d]", -1);
    return 0;
  }
  char cfg[1024];
  const char* xdg = getenv("XDG_CONFIG_HOME");
  int n = (xdg && xdg[0] == '/') ? snprintf(cfg, sizeof(cfg), "%s/user-dirs.dirs", xdg)
                                 : snprintf(cfg, sizeof(cfg), "%s/.config/user-dirs.dirs", home);
  if (n > 0 && n < (int)sizeof(cfg)) {
    FILE* f = static_cast<FILE*>(ComFileOpenForReadingIfExists(cfg));
    if (f) {
      char line[1200];
      size_t klen = strlen(key);
      while (fgets(line, sizeof(line), f)) {
        if (strncmp(line, key, klen) != 0 || line[klen] != '=') continue;
        char* v = line + klen + 1;
        if (*v == '"') v++;
        char* end = strchr(v, '"');
        if (!end) end = v + strcspn(v, "\r\n");
        *end = 0;
        char path[1100];
        int m;
        if (strncmp(v, "$HOME", 5) == 0) m = snprintf(path, sizeof(path), "%s%s", home, v + 5);
        else if (v[0] == '/') m = snprintf(path, sizeof(path), "%s", v);
        else continue;
        if (m > 0 && m < (int)sizeof(path) && ComFileDirectoryExists(path)) {
          ComFileClose(f);
          if (!PathPrintf(out, len, "%s", path)) {
            DebugError(func, "CFURLCreateFromFSRef failed");
            return 0;
          }
          return 1;
        }
      }
      ComFileClose(f);
    }
  }
  char path[1100];
  n = snprintf(path, sizeof(path), "%s/%s", home, fallback);
  const char* pick = (n > 0 && n < (int)sizeof(path) && ComFileDirectoryExists(path)) ? path : home;
  if (!PathPrintf(out, len, "%s", pick)) {
    DebugError(func, "CFURLCreateFromFSRef failed");
    return 0;
  }
  return 1;
}

char ComMacMiscGetDesktopDirectory(char* out, int len) {
  return UserFolder("ComMacMiscGetDesktopDirectory", "XDG_DESKTOP_DIR", "Desktop", out, len);
}

char ComMacMiscGetDocumentsDirectory(char* out, int len) {
  return UserFolder("ComMacMiscGetDocumentsDirectory", "XDG_DOCUMENTS_DIR", "Documents", out, len);
}

char ComMacMiscGetApplicationsDirectory(char* out, int len) {
  if (!out) return 0;
  if (!PathPrintf(out, len, "%s", "/usr/share/applications")) {
    DebugError("ComMacMiscGetApplicationsDirectory", "CFURLCreateFromFSRef failed");
    return 0;
  }
  return 1;
}

char ComMacMiscGetTempFolder(char* out, int len, char create) {
  if (!out) return 0;
  const char* tmp = getenv("TMPDIR");
  if (!tmp || tmp[0] != '/') tmp = "/tmp";
  if (!PathPrintf(out, len, "%s", tmp)) {
    DebugError("ComMacMiscGetTempFolder", "Could not get path");
    return 0;
  }
  if (!ComFileDirectoryExists(out) && (!create || !MakeFolders(out))) {
    DebugError("ComMacMiscGetTempFolder", "Could not get temp folder");
    return 0;
  }
  return 1;
}

char ComMacMiscGetResourceFolder(char* out, int len) {
  if (!out || len <= 0) return 0;
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n <= 0) return 0;
  exe[n] = 0;
  char* slash = strrchr(exe, '/');
  if (!slash) return 0;
  *slash = 0;
  return PathPrintf(out, len, "%s/Resources", exe[0] ? exe : "/");
}

char ComMacMiscPathToFSRef(const char* path, FSRef* out) {
  if (!path || !out || !path[0] || !realpath(path, out->path)) {
    DebugError("ComMacMiscPathToFSRef", "FSPathMakeRef() failed");
    return 0;
  }
  return 1;
}

char ComMacMiscPathToFSSpec(const char* path, FSSpec* out, char quiet) {
  if (!path || !out || !path[0]) {
    DebugError("ComMacMiscPathToFSSpec", "FSPathMakeRef() failed");
    return 0;
  }
  struct stat st;
  if (stat(path, &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      if (!quiet) DebugError("ComMacMiscPathToFSSpec", "File not found: <%s>", path);
    } else {
      DebugError("ComMacMiscPathToFSSpec", "FSGetCatalogInfo() failed");
    }
    return 0;
  }
  if (!realpath(path, out->path)) {
    DebugError("ComMacMiscPathToFSSpec", "FSGetCatalogInfo() failed");
    return 0;
  }
  return 1;
}

char ComMacMiscGetUserName(char* out, int len) {
  if (!out) return 0;
  struct passwd* pw = getpwuid(getuid());
  const char* name = pw && pw->pw_name ? pw->pw_name : getenv("USER");
  if (!name) {
    DebugError("ComMacMiscGetUserName", "Unable to get session dictionary.");
    return 0;
  }
  if (!PathPrintf(out, len, "%s", name)) {
    DebugError("ComMacMiscGetUserName", "CFStringGetCString() failed.");
    return 0;
  }
  return 1;
}

// A fixed version past 10.5, so the preset slot names are the Intel ones.
long ComMacMiscGetOsxVersion() { return 0x1050; }

const char* LT(unsigned id) {
  (void)id;
  return "LT----";
}

const char* LangGetScriptTextPointer(unsigned id) {
  (void)id;
  return "LangGetScriptTextPointer----";
}
