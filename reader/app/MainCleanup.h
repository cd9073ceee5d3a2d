// Removal of the converted text files from the data folder.
#ifndef MAINCLEANUP_H
#define MAINCLEANUP_H

void MainCleanupCB();
// Code 1 (the user confirmed) or 99 (the settings file was unusable) deletes every ".txt" file of
// the data folder except the log; any other code does nothing.
void MainDoCleanupCB(char code);

#endif
