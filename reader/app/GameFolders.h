// The reader's folders: the working folder at start-up, the data folder (the preferences folder
// that holds the log and the converted books) and its "Settings" subfolder.
#ifndef GAMEFOLDERS_H
#define GAMEFOLDERS_H

extern char run_dir[512];

// Both write a terminated path into dst (len bytes, at least 50) and return 1, or 0 on failure.
char GameGetDataDir(char* dst, int len);
char GameGetSettingsDir(char* dst, int len);
void GameEnsureUsingCorrectPath();

#endif
