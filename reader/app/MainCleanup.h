// Removal of the converted text files from the data folder.
#ifndef MAINCLEANUP_H
#define MAINCLEANUP_H

// Asks, as a menu popup, whether to remove the converted books; OK runs MainDoCleanupCB(1).
void MainCleanupCB();
// Code 1 (the user confirmed) or 99 (the settings file was unusable) deletes every ".txt" and
// ".txt.part" file of the data folder except the log, and the leftover temporaries (below); any
// other code does nothing. The result is shown as a popup while the menu layer is on.
void MainDoCleanupCB(char code);
// Deletes the temporaries of the file layer's write-then-rename routine that a crashed run left in
// the data folder and its Settings folder (none that a running reader is writing, nothing of
// another name); the number deleted.
int MainRemoveLeftoverTemporaries();

#endif
