// The file selector: four boxes of an application screen (a title, a label showing the current
// folder, a drives box that this platform hides, and a panel listing the folder) browse the
// folders and choose a file. The list shows the parent as "[ ^ ]", folders in brackets and the
// files whose extension passes the filters, sorted (parent, folders, files, each by name bytes).
// The process's working folder is never changed; paths are kept as the folder gives them and
// shown converted to the menu font's Windows Latin-1.
#ifndef GET_FILE_H
#define GET_FILE_H

#include <cstdint>

#define GET_FILE_MAX_PATH 511   // longest folder or chosen path, NUL not counted
#define GET_FILE_MAX_EXTS 10
#define GET_FILE_MAX_ROWS 15

// Kinds of listed entry; GetFileSortCB puts the higher kind first.
enum { GET_FILE_KIND_FILE = 0, GET_FILE_KIND_FOLDER = 1, GET_FILE_KIND_PARENT = 2 };

struct _GetFileEntry {
  char name[256];   // as the folder gives it
  uint8_t kind;     // GET_FILE_KIND_...; an application package is a file
  uint8_t package;  // 1 for a folder whose name ends in ".app"
};

// Set-up by the application, before its screen starts.
void GetFileSetButtonIds(int title, int dir, int drives, int files);
void GetFileSetButtonIdVars(int** title, int** dir, int** drives, int** files);
void GetFileSetFileExtensionsToSearchFor(const char* e1, const char* e2, const char* e3, const char* e4,
                                         const char* e5, const char* e6, const char* e7, const char* e8,
                                         const char* e9, const char* e10);
void GetFileSetTitle(const char* title);
void GetFileSetStartDir(const char* dir);
void GetFileSetFinishCB(void (*finish)(char result));       // 0 cancel, 1 opened, 2 selected
void GetFileSetNewDirOrDriveSelectedCB(void (*changed)(char code));  // 0 listed, 2 selected
void GetFileUseDoubleClick(char on);

// Running.
void GetFileStartingCB(void);
void GetFileFilesCB(char part);
void GetFileDriveCB(char part);
void GetFileCancelCB(char part);
char* GetFileFilesFillCB(int index);
int GetFileSortCB(const void* a, const void* b);
void GetFileUpdateFiles(void);
void GetFileDoDirOrFileSelect(char open);
void GetFileFinish(char result);

// Results and reset.
const char* GetFileGetFilename(void);  // "" unless a file is chosen
const char* GetFileGetLastDir(void);
void GetFileRestoreCurrentDirectory(void);
void GetFileExit(void);

#endif
