// The text entry (box type 1): a one-line editable text with a blinking cursor, written back to a
// bound string when editing ends.
#ifndef MUI_ENTRY_H
#define MUI_ENTRY_H

extern int box_editing;   // the id of the entry being edited, -1 when none

void MuiTextEntryReset(int id);
void MuiTextEntrySetText(int id, char* text);
char* MuiTextEntryGetText(int id);
char MuiTextEntryGetText2(int id, char* dst, int size);
void MuiTextEntrySetLength(int id, int length);
void MuiTextEntrySetNumberOnly(int id, char on);
void MuiTextEntryRegisterStringVariable(int id, char (*variable)[512], int size);
void MuiTextEntrySetStartEditingCB(int id, void (*callback)());
void MuiTextEntryTurnOnEditing(int id);
void MuiTextEntryTurnOffEditing(int id, char accepted);
char MuiTextEntryTick(int id);
void MuiTextEntryUpdateCursor();
char MuiTextEntryHandleMousePress(int id, int x, int y);
char MuiTextEntryHandleMouseMove(int x, int y);
char MuiTextEntryHandleKeyDownChar(char c);
char MuiTextEntryHandleKeyDown(int code);
int MuiTextEntryGetEditingBox();
char MuiIsEditingText();

#endif
