// The names of one folder, one listing at a time: open the folder, count the names a match
// callback accepts, then fetch them one by one, and build full paths. "." and ".." are never
// listed. Names come sorted: folders first, then files, each group in byte order of the names, so
// a listing is the same on every file system. A symbolic link to a folder, and an entry whose kind
// the folder does not record, count as folders when stat() says so.
#ifndef COM_DIR_LIST_H
#define COM_DIR_LIST_H

inline constexpr int DIR_LIST_MAX_PATH = 1024;  // longest folder path, NUL not counted
inline constexpr int DIR_LIST_MAX_NAME = 255;   // longest name in a folder

// index = the number of names accepted so far; nonzero accepts the name. The name's kind can be
// asked with DirListIsCurrentADirectory while the callback runs.
typedef char (*DirListMatchCB)(int index, const char* name, const char* folder);

// 1 when the folder exists and is now the one listed (a fetch in progress is dropped).
char DirListOpenDir(const char* path, DirListMatchCB match);
int DirListCountMatchedFilesInDir(void);
char DirListPrepareToGetFilenamesInDir(void);
// The next accepted name; "" after the last one, and on every call until the next preparation.
const char* DirListGetNextFilenameInDir(void);
// Folder + "/" + name, valid until the next call.
const char* DirListGetFilenameWithPath(const char* name);
void DirListCleanupAfterGettingFilenamesInDir(void);
void DirListCloseDir(void);

// 1 when the name last handed out (to the match callback or by DirListGetNextFilenameInDir) is a
// folder; 0 for anything else or when there is none.
char DirListIsCurrentADirectory(void);

#endif
