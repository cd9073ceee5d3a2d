// The file selector over the directory listing and a panel. One selector at a time: its state is
// module state, its list one vector per listing.
#include "GetFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

#include "ComDebug.h"
#include "ComDirList.h"
#include "ComFile.h"
#include "ComMacText.h"
#include "ComMisc.h"
#include "MuiBox.h"
#include "MuiPanel.h"

namespace {

char gf_title[257] = "Select A File";
char gf_start_dir[513] = "";  // the current folder
char gf_ext_strs[GET_FILE_MAX_EXTS][10];
int gf_num_exts = 0;
int gf_title_button_id = -1, gf_dir_button_id = -1, gf_drives_button_id = -1, gf_files_button_id = -1;
int* gf_title_id_p = nullptr;
int* gf_dir_id_p = nullptr;
int* gf_drives_id_p = nullptr;
int* gf_files_id_p = nullptr;
std::vector<_GetFileEntry> gf_files;  // the listed folder
int gf_num_files = 0;
int gf_cur_file = -1;                 // the chosen file's index, -1 while none is chosen
int gf_files_y1 = 0, gf_files_y2 = 0, gf_files_lh = 1;
void (*gf_ret_func)(char) = nullptr;
void (*gf_new_dir_or_drive_sel_func)(char) = nullptr;
char gf_use_double_click = 0;
char gf_save_cd[516] = "";       // non-empty: started and not finished
char gf_fill_str[513];           // a row's text, rebuilt for every row drawn
char gf_chosen_path[GET_FILE_MAX_PATH + 1] = "";

// A name or path as the menu font shows it: UTF-8 sequences become their Windows Latin-1 byte
// ('?' for a character it lacks), other bytes of 128 and above are taken as Latin-1 already, and
// control bytes become '?'.
void ToDisplay(const char* raw, char* out, size_t size) {
  ComMacTextUtf8ToLatin1(raw, out, (int)size, COM_MAC_TEXT_KEEP_LATIN1);
  for (char* p = out; *p; p++)
    if ((unsigned char)*p < 0x20 || *p == 0x7F) *p = '?';
}

bool EndsWithNoCase(const char* name, const char* tail) {
  size_t n = strlen(name), t = strlen(tail);
  return n >= t && strcasecmp(name + n - t, tail) == 0;
}

// Folder + "/" + name into out; a folder of "/" gives "/name". false when the path would be
// longer than the selector keeps (the caller refuses it rather than cut it).
bool JoinPath(const char* folder, const char* name, char* out, size_t size) {
  const char* sep = strcmp(folder, "/") == 0 ? "" : "/";
  int n = snprintf(out, size, "%s%s%s", folder, sep, name);
  return n >= 0 && n <= GET_FILE_MAX_PATH && (size_t)n < size;
}

bool FileMatchesFilters(const char* name, bool package) {
  size_t len = strlen(name);
  if (gf_num_exts == 0) return len >= 4 && len <= 255 && name[len - 4] == '.';
  for (int i = 0; i < gf_num_exts; i++) {
    if (strcasecmp(gf_ext_strs[i], "exe") == 0) {
      if (package) return true;
      continue;
    }
    const size_t ext = strlen(gf_ext_strs[i]);
    if (len > ext && name[len - ext - 1] == '.' && EndsWithNoCase(name, gf_ext_strs[i])) return true;
  }
  return false;
}

// The folder to list when the current one cannot be: the Desktop, the home folder, the root.
void FallBackToAListableFolder() {
  char buf[1100];
  if (ComMiscGetDesktopDirectory(buf, (int)sizeof(buf)) && strlen(buf) <= GET_FILE_MAX_PATH &&
      ComFileDirectoryExists(buf)) {
    snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", buf);
    return;
  }
  const char* home = getenv("HOME");
  if (home && home[0] == '/' && strlen(home) <= GET_FILE_MAX_PATH && ComFileDirectoryExists(home)) {
    snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", home);
    return;
  }
  snprintf(gf_start_dir, sizeof(gf_start_dir), "/");
}

void ReadIdVariables() {
  if (gf_title_id_p) gf_title_button_id = *gf_title_id_p;
  if (gf_dir_id_p) gf_dir_button_id = *gf_dir_id_p;
  if (gf_drives_id_p) gf_drives_button_id = *gf_drives_id_p;
  if (gf_files_id_p) gf_files_button_id = *gf_files_id_p;
}

void FreeList() {
  std::vector<_GetFileEntry>().swap(gf_files);
  gf_num_files = 0;
  gf_cur_file = -1;
  gf_chosen_path[0] = 0;
}

// Makes entry index the chosen file; false (logged) when its path would not fit.
bool ChooseFile(int index) {
  if (!JoinPath(gf_start_dir, gf_files[index].name, gf_chosen_path, sizeof(gf_chosen_path))) {
    DebugError("GetFileDoDirOrFileSelect", "Path too long <%s> <%s>", gf_start_dir, gf_files[index].name);
    gf_chosen_path[0] = 0;
    gf_cur_file = -1;
    return false;
  }
  gf_cur_file = index;
  return true;
}

// The folder that opening entry index leads to, into out; false (logged) when it would be longer
// than a path the selector keeps.
bool FolderAfterOpening(const _GetFileEntry& e, char* out, size_t size) {
  if (e.kind == GET_FILE_KIND_FOLDER) {
    if (!JoinPath(gf_start_dir, e.name, out, size)) {
      DebugError("GetFileDoDirOrFileSelect", "Path too long <%s> <%s>", gf_start_dir, e.name);
      return false;
    }
  } else {
    // Up: a folder right below the root (or the root itself) goes to the root, any other loses
    // its last part.
    snprintf(out, size, "%s", gf_start_dir);
    const char* first = strchr(out, '/');
    if (strlen(out) < 3 || !first || strchr(first + 1, '/') == nullptr) {
      snprintf(out, size, "/");
    } else {
      *strrchr(out, '/') = 0;
    }
  }
  if (out[0] == '/' && out[1] == '/') memmove(out, out + 1, strlen(out));
  return true;
}

}  // namespace

// ---- Set-up ----

void GetFileSetButtonIds(int title, int dir, int drives, int files) {
  gf_title_button_id = title;
  gf_dir_button_id = dir;
  gf_drives_button_id = drives;
  gf_files_button_id = files;
}

void GetFileSetButtonIdVars(int** title, int** dir, int** drives, int** files) {
  gf_title_id_p = title ? *title : nullptr;
  gf_dir_id_p = dir ? *dir : nullptr;
  gf_drives_id_p = drives ? *drives : nullptr;
  gf_files_id_p = files ? *files : nullptr;
}

void GetFileSetFileExtensionsToSearchFor(const char* e1, const char* e2, const char* e3, const char* e4,
                                         const char* e5, const char* e6, const char* e7, const char* e8,
                                         const char* e9, const char* e10) {
  const char* all[GET_FILE_MAX_EXTS] = {e1, e2, e3, e4, e5, e6, e7, e8, e9, e10};
  gf_num_exts = 0;
  for (const char* e : all) {
    if (!e || strlen(e) > 9) break;
    snprintf(gf_ext_strs[gf_num_exts++], sizeof(gf_ext_strs[0]), "%s", e);
  }
}

void GetFileSetTitle(const char* title) {
  if (!title) {
    snprintf(gf_title, sizeof(gf_title), "Select A File");
    return;
  }
  if (strlen(title) > 254) return;
  snprintf(gf_title, sizeof(gf_title), "%s", title);
}

void GetFileSetStartDir(const char* dir) {
  if (!dir) {
    char buf[1100];
    gf_start_dir[0] = 0;
    if (ComMiscGetDesktopDirectory(buf, (int)sizeof(buf)) && strlen(buf) <= GET_FILE_MAX_PATH)
      snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", buf);
    return;
  }
  if (strlen(dir) > GET_FILE_MAX_PATH) {
    DebugError("GetFileSetStartDir", "dir too long");
    gf_start_dir[0] = 0;
    return;
  }
  snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", dir);
  // One trailing '/' goes, but the root stays the root.
  size_t n = strlen(gf_start_dir);
  if (n > 1 && gf_start_dir[n - 1] == '/') gf_start_dir[n - 1] = 0;
}

void GetFileSetFinishCB(void (*finish)(char)) { gf_ret_func = finish; }

void GetFileSetNewDirOrDriveSelectedCB(void (*changed)(char)) { gf_new_dir_or_drive_sel_func = changed; }

void GetFileUseDoubleClick(char on) { gf_use_double_click = on; }

// ---- Running ----

void GetFileStartingCB(void) {
  ReadIdVariables();
  if (MuiIdValid(gf_files_button_id)) {
    int x1, x2;
    MuiGetDimensions(gf_files_button_id, &x1, &gf_files_y1, &x2, &gf_files_y2);
  }
  gf_files_lh = (gf_files_y2 - gf_files_y1) / GET_FILE_MAX_ROWS;
  if (gf_files_lh < 1) gf_files_lh = 1;

  if (gf_save_cd[0]) {
    DebugError("GetFileStartingCB", "Current directory was not restored");
    gf_save_cd[0] = 0;
  }
  if (!getcwd(gf_save_cd, 513)) gf_save_cd[0] = 0;

  if (MuiIdValid(gf_title_button_id)) MuiSetText(gf_title_button_id, gf_title);

  if (!gf_start_dir[0]) {
    snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", gf_save_cd);
  } else if (gf_start_dir[0] != '/' && gf_save_cd[0]) {
    // A folder given relative to the working folder is kept absolute, so it still names the
    // same folder when the working folder changes.
    char abs[GET_FILE_MAX_PATH + 1];
    if (JoinPath(gf_save_cd, gf_start_dir, abs, sizeof(abs))) {
      snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", abs);
    } else {
      DebugError("GetFileStartingCB", "dir too long");
      gf_start_dir[0] = 0;
    }
  }

  if (MuiIdValid(gf_drives_button_id)) {
    int left;
    MuiGetDimensions(gf_drives_button_id, &left, nullptr, nullptr, nullptr);
    MuiShowButton(gf_drives_button_id, 0);
    if (MuiIdValid(gf_dir_button_id)) MuiSetDimensions(gf_dir_button_id, left, -1, -1, -1);
    if (MuiIdValid(gf_files_button_id)) MuiSetDimensions(gf_files_button_id, left, -1, -1, -1);
  }
  GetFileUpdateFiles();
}

void GetFileUpdateFiles(void) {
  if (!gf_start_dir[0] || !ComFileDirectoryExists(gf_start_dir)) {
    DebugError("GetFileUpdateFiles", "Cannot access start dir <%s>", gf_start_dir);
    FallBackToAListableFolder();
  }
  if (MuiIdValid(gf_dir_button_id)) {
    char shown[sizeof(gf_start_dir)];
    ToDisplay(gf_start_dir, shown, sizeof(shown));
    MuiSetText(gf_dir_button_id, shown);
  }
  FreeList();

  if (DirListOpenDir(gf_start_dir, nullptr) && DirListPrepareToGetFilenamesInDir()) {
    _GetFileEntry parent = {};
    snprintf(parent.name, sizeof(parent.name), "..");
    parent.kind = GET_FILE_KIND_PARENT;
    gf_files.push_back(parent);
    for (;;) {
      const char* name = DirListGetNextFilenameInDir();
      if (!name[0]) break;
      _GetFileEntry e = {};
      snprintf(e.name, sizeof(e.name), "%s", name);
      bool folder = DirListIsCurrentADirectory() != 0;
      e.package = folder && EndsWithNoCase(name, ".app");
      e.kind = folder && !e.package ? GET_FILE_KIND_FOLDER : GET_FILE_KIND_FILE;
      if (e.kind == GET_FILE_KIND_FILE && !FileMatchesFilters(name, e.package)) continue;
      gf_files.push_back(e);
    }
    DirListCloseDir();
    qsort(gf_files.data(), gf_files.size(), sizeof(_GetFileEntry), GetFileSortCB);
  } else {
    DirListCloseDir();
    DebugError("GetFileUpdateFiles", "Could not open directory");
  }
  gf_num_files = (int)gf_files.size();
  gf_cur_file = -1;

  int rows = gf_num_files;
  if (rows > GET_FILE_MAX_ROWS) rows = GET_FILE_MAX_ROWS;
  if (rows < 1) rows = 1;
  if (MuiIdValid(gf_files_button_id)) {
    MuiSetDimensions(gf_files_button_id, -1, -1, -1, gf_files_y1 + rows * gf_files_lh);
    MuiPanelSetValues(gf_files_button_id, gf_num_files, rows, GetFileFilesFillCB);
    MuiPanelSetPos(gf_files_button_id, 0, 0);
  }
}

char* GetFileFilesFillCB(int index) {
  gf_fill_str[0] = 0;
  if (index < 0 || index >= gf_num_files) return gf_fill_str;
  const _GetFileEntry& e = gf_files[index];
  if (e.kind == GET_FILE_KIND_PARENT) {
    snprintf(gf_fill_str, sizeof(gf_fill_str), "[ ^ ]");
    return gf_fill_str;
  }
  char shown[256];
  ToDisplay(e.name, shown, sizeof(shown));
  if (e.kind == GET_FILE_KIND_FOLDER) snprintf(gf_fill_str, sizeof(gf_fill_str), "[ %s ]", shown);
  else snprintf(gf_fill_str, sizeof(gf_fill_str), "%s", shown);
  return gf_fill_str;
}

int GetFileSortCB(const void* a, const void* b) {
  const _GetFileEntry* x = (const _GetFileEntry*)a;
  const _GetFileEntry* y = (const _GetFileEntry*)b;
  if (x->kind != y->kind) return x->kind > y->kind ? -1 : 1;
  return strcmp(x->name, y->name);
}

void GetFileFilesCB(char part) { GetFileDoDirOrFileSelect(gf_use_double_click && part != 1 ? 0 : 1); }

void GetFileDriveCB(char part) { (void)part; }

void GetFileCancelCB(char part) {
  (void)part;
  GetFileFinish(0);
}

void GetFileDoDirOrFileSelect(char open) {
  if (gf_num_files < 1 || !MuiIdValid(gf_files_button_id)) return;
  int index = MuiPanelGetPos(gf_files_button_id);
  if (index < 0 || index >= gf_num_files) return;
  const _GetFileEntry& e = gf_files[index];

  if (!open) {
    if (e.kind == GET_FILE_KIND_FILE) {
      if (ChooseFile(index)) GetFileFinish(2);
    } else if (gf_new_dir_or_drive_sel_func) {
      gf_new_dir_or_drive_sel_func(2);
    }
    return;
  }
  if (e.kind == GET_FILE_KIND_FILE) {
    if (ChooseFile(index)) GetFileFinish(1);
    return;
  }
  char next[sizeof(gf_start_dir)];
  if (!FolderAfterOpening(e, next, sizeof(next))) return;
  if (!next[0] || !ComFileDirectoryExists(next)) return;  // the current folder and list stay
  snprintf(gf_start_dir, sizeof(gf_start_dir), "%s", next);
  GetFileUpdateFiles();
  if (gf_new_dir_or_drive_sel_func) gf_new_dir_or_drive_sel_func(0);
}

void GetFileFinish(char result) {
  gf_save_cd[0] = 0;
  if (gf_ret_func) gf_ret_func(result);
}

// ---- Results and reset ----

const char* GetFileGetFilename(void) {
  if (gf_cur_file < 0 || gf_cur_file >= gf_num_files || gf_files[gf_cur_file].kind != GET_FILE_KIND_FILE)
    return "";
  return gf_chosen_path;
}

const char* GetFileGetLastDir(void) { return gf_start_dir; }

void GetFileRestoreCurrentDirectory(void) { gf_save_cd[0] = 0; }

void GetFileExit(void) {
  snprintf(gf_title, sizeof(gf_title), "Select File");
  GetFileSetButtonIds(-1, -1, -1, -1);
  GetFileSetButtonIdVars(nullptr, nullptr, nullptr, nullptr);
  GetFileSetStartDir(nullptr);
  gf_num_exts = 0;
  gf_ret_func = nullptr;
  gf_new_dir_or_drive_sel_func = nullptr;
  gf_save_cd[0] = 0;
  FreeList();
}
