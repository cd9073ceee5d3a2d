// The text entry (box type 1): a one-line editable text with a blinking cursor, written back to a
// bound string when editing ends.
#ifndef MUI_ENTRY_H
#define MUI_ENTRY_H

extern int box_editing;   // the id of the entry being edited, -1 when none

inline constexpr int MTE_MAX_LENGTH = 255;  // characters an entry holds at most

void MuiTextEntryReset(int id);
// Copies the text into the box, cut at the maximum length; only the box's own registered string
// is cut in place, any other string is only read.
void MuiTextEntrySetText(int id, const char* text);
char* MuiTextEntryGetText(int id);
char MuiTextEntryGetText2(int id, char* dst, int size);
void MuiTextEntrySetLength(int id, int length);
void MuiTextEntrySetNumberOnly(int id, char on);
void MuiTextEntryRegisterStringVariable(int id, char (*variable)[512], int size);
void MuiTextEntrySetStartEditingCB(int id, void (*callback)());
void MuiTextEntryTurnOnEditing(int id);
void MuiTextEntryTurnOffEditing(int id, char accepted);
// Ends the edit under way, if any, as Escape would (text kept, string written) but without the
// box's callback: for a popup starting or ending, when no callback may run in between.
void MuiTextEntryStopEditing();
char MuiTextEntryTick(int id);
void MuiTextEntryUpdateCursor();
char MuiTextEntryHandleMousePress(int id, int x, int y);
char MuiTextEntryHandleMouseMove(int x, int y);
char MuiTextEntryHandleKeyDownChar(char c);
char MuiTextEntryHandleKeyDown(int code);
int MuiTextEntryGetEditingBox();
char MuiIsEditingText();

#endif
