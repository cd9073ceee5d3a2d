// The program's own folder inside the user's preferences folder, its log file, and sub-folders
// of it and of the documents and desktop folders. Answers point into static buffers.
#ifndef PREF_FOLDER_H
#define PREF_FOLDER_H

extern char pf_folder_name[128];
extern char pf_buffer[512];
extern char pf_buffer2[640];
extern char pf_buffer3[768];

char* PrefFolderSetup(char* name, char set_log, char* log_name);
char* PrefFolderGetMainFolder();
char* PrefFolderGetSubFolder(char* sub);
char* PrefFolderGetMyDocsFolder();
char* PrefFolderGetMyDocsSubFolder(char* sub);
char* PrefFolderGetDesktopSubFolder(char* sub);
char* PrefFolderGetMyDocsSubSubFolder(char* sub, char* subsub);
// 1 when the last main-folder answer was the "." fallback (so nothing deletes files there).
char PrefFolderIsFallback();

#endif
