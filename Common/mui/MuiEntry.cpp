// The text entry (box type 1): a one-line editable text with a blinking cursor, written back to a
// bound string when editing ends.
#include "MuiEntry.h"

int box_editing = -1;

void MuiTextEntryReset(int id) {
  if (id >= 0 && id == box_editing) box_editing = -1;
}
void MuiTextEntrySetText(int, char*) {}
char* MuiTextEntryGetText(int) { return nullptr; }
char MuiTextEntryGetText2(int, char*, int) { return 0; }
void MuiTextEntrySetLength(int, int) {}
void MuiTextEntrySetNumberOnly(int, char) {}
void MuiTextEntryRegisterStringVariable(int, char (*)[512], int) {}
void MuiTextEntrySetStartEditingCB(int, void (*)()) {}
void MuiTextEntryTurnOnEditing(int) {}
void MuiTextEntryTurnOffEditing(int, char) {}
char MuiTextEntryTick(int) { return 0; }
void MuiTextEntryUpdateCursor() {}
char MuiTextEntryHandleMousePress(int, int, int) { return 0; }
char MuiTextEntryHandleMouseMove(int, int) { return 0; }
char MuiTextEntryHandleKeyDownChar(char) { return 0; }
char MuiTextEntryHandleKeyDown(int) { return 0; }
int MuiTextEntryGetEditingBox() { return box_editing; }
char MuiIsEditingText() { return box_editing >= 0; }
