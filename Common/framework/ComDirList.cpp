// The directory listing over opendir/readdir. A fetch reads the whole folder once when it is
// prepared, so the names can be handed out sorted; the directory stream lives only for that read
// and is closed (and forgotten) as soon as the read ends, so no path can close it twice or leave
// it open.
#include "ComDirList.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComFile.h"

namespace {

struct DirListEntry {
  std::string name;
  bool folder;
};

char dl_setup = 0;  // 0 closed, 1 folder opened, 2 fetching names
char dl_path[DIR_LIST_MAX_PATH + 1];
DirListMatchCB dl_name_match_cb = nullptr;
int dl_num_filenames_got = 0;
DIR* dl_dirp = nullptr;  // open only while a read pass runs
dirent* dl_dp = nullptr;
char dl_file_str[DIR_LIST_MAX_NAME + 1];
char dl_file_str2[DIR_LIST_MAX_PATH + 1 + DIR_LIST_MAX_NAME + 1];

std::vector<DirListEntry> dl_fetch;  // the prepared folder, sorted
size_t dl_fetch_next = 0;
char dl_current_is_dir = 0;

void CloseStream() {
  if (dl_dirp) closedir(dl_dirp);
  dl_dirp = nullptr;
  dl_dp = nullptr;
}

void DropFetch() {
  std::vector<DirListEntry>().swap(dl_fetch);
  dl_fetch_next = 0;
  dl_current_is_dir = 0;
}

// Whether an entry of the open stream is a folder. The kind the folder records is enough for
// plain entries; a link is followed and an unrecorded kind looked up.
bool EntryIsFolder(const dirent* e) {
  if (e->d_type == DT_DIR) return true;
  if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) return false;
  struct stat st;
  return fstatat(dirfd(dl_dirp), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// Reads the listed folder, "." and ".." left out, folders first, then files, each in byte
// order. false when the folder cannot be opened.
bool ReadFolder(std::vector<DirListEntry>* out) {
  out->clear();
  dl_dirp = opendir(dl_path);
  if (!dl_dirp) return false;
  while ((dl_dp = readdir(dl_dirp)) != nullptr) {
    const char* n = dl_dp->d_name;
    if (strcmp(n, ".") == 0 || strcmp(n, "..") == 0) continue;
    out->push_back(DirListEntry{n, EntryIsFolder(dl_dp)});
  }
  CloseStream();
  std::sort(out->begin(), out->end(), [](const DirListEntry& a, const DirListEntry& b) {
    if (a.folder != b.folder) return a.folder;
    return strcmp(a.name.c_str(), b.name.c_str()) < 0;  // strcmp compares bytes as unsigned
  });
  return true;
}

// Puts an entry where the match callback and the caller see it; true when it is accepted.
bool Offer(const DirListEntry& e, int index) {
  snprintf(dl_file_str, sizeof(dl_file_str), "%s", e.name.c_str());
  dl_current_is_dir = e.folder ? 1 : 0;
  return !dl_name_match_cb || dl_name_match_cb(index, dl_file_str, dl_path) != 0;
}

// The common refusals of counting and preparing; true when the folder may be read.
bool ReadyToRead(const char* func) {
  if (dl_setup == 0) {
    DebugError(func, "Directory not opened - call DirListOpenDir() first.");
    return false;
  }
  if (dl_setup == 2) {
    DebugError(func, "Error - get filenames in progress");
    return false;
  }
  return true;
}

}  // namespace

char DirListOpenDir(const char* path, DirListMatchCB match) {
  DirListCloseDir();
  if (!path || !path[0] || strlen(path) > (size_t)DIR_LIST_MAX_PATH) {
    DebugError("DirListOpenDir", "Invalid Path Passed In");
    return 0;
  }
  if (!ComFileDirectoryExists(path)) {
    DebugError("DirListOpenDir", "Directory does not exist");
    return 0;
  }
  snprintf(dl_path, sizeof(dl_path), "%s", path);
  dl_name_match_cb = match;
  dl_setup = 1;
  return 1;
}

int DirListCountMatchedFilesInDir(void) {
  if (!ReadyToRead("DirListCountMatchedFilesInDir")) return 0;
  std::vector<DirListEntry> entries;
  if (!ReadFolder(&entries)) {
    DebugError("DirListCountMatchedFilesInDir", "Could not open directory");
    return 0;
  }
  int count = 0;
  for (const DirListEntry& e : entries)
    if (Offer(e, count)) count++;
  dl_current_is_dir = 0;
  return count;
}

char DirListPrepareToGetFilenamesInDir(void) {
  if (!ReadyToRead("DirListPrepareToGetFilenamesInDir")) return 0;
  DropFetch();
  if (!ReadFolder(&dl_fetch)) {
    DebugError("DirListPrepareToGetFilenamesInDir", "Could not open directory");
    DropFetch();
    return 0;
  }
  dl_num_filenames_got = 0;
  dl_setup = 2;
  return 1;
}

const char* DirListGetNextFilenameInDir(void) {
  if (dl_setup != 2) {
    DebugError("DirListPrepareToGetFilenamesInDir", "Call DirListPrepareToGetFilenamesInDir() first.");
    return "";
  }
  while (dl_fetch_next < dl_fetch.size()) {
    if (Offer(dl_fetch[dl_fetch_next++], dl_num_filenames_got)) {
      dl_num_filenames_got++;
      return dl_file_str;
    }
  }
  // The end of the folder: nothing is left to hand out until the next preparation.
  DropFetch();
  dl_file_str[0] = 0;
  return "";
}

const char* DirListGetFilenameWithPath(const char* name) {
  if (dl_setup == 0) {
    DebugError("DirListGetFilenameWithPath", "Not setup");
    return "";
  }
  if (!name || !name[0]) {
    DebugError("DirListGetFilenameWithPath", "No filename");
    return "";
  }
  int n = snprintf(dl_file_str2, sizeof(dl_file_str2), "%s%s%s", dl_path, "/", name);
  if (n < 0 || n >= (int)sizeof(dl_file_str2)) {
    // Only a name longer than any folder can hold gets here; a cut path would name another file.
    DebugError("DirListGetFilenameWithPath", "Filename too long");
    dl_file_str2[0] = 0;
    return "";
  }
  return dl_file_str2;
}

void DirListCleanupAfterGettingFilenamesInDir(void) {
  if (dl_setup != 2) {
    DebugError("DirListCleanupAfterGettingFilenamesInDir", "Not getting files in dir");
    return;
  }
  CloseStream();
  DropFetch();
  dl_setup = 1;
}

void DirListCloseDir(void) {
  CloseStream();
  DropFetch();
  dl_setup = 0;
  dl_path[0] = 0;
  dl_name_match_cb = nullptr;
  dl_num_filenames_got = 0;
  dl_file_str[0] = 0;
  dl_file_str2[0] = 0;
}

char DirListIsCurrentADirectory(void) { return dl_current_is_dir; }
