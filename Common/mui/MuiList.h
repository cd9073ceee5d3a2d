// The drop-down list (box type 5): a chosen entry shown in the box; a press opens the list of all
// entries over the screen, where the mouse, the wheel and the keys choose.
#ifndef MUI_LIST_H
#define MUI_LIST_H

#include "MuiBox.h"

struct _MuiList {
  int pos;                          // the chosen entry
  int num;                          // number of entries
  char* (*fn)(int index);           // value callback, or null (wins over the strings)
  char (*strings)[MUI_TEXT_LEN];    // array of strings, or null
};

extern _MuiList mui_list[MUI_MAX_BOXES];
extern int mui_list_open_id;        // -1 when no list is open
extern char mui_drawing_open_list;

void MuiListReset(int id);
void MuiListSetStrings(int id, int num, char (*strings)[MUI_TEXT_LEN]);
void MuiListSetValues(int id, int num, char* (*fn)(int index));
void MuiListSetPos(int id, int pos);
int MuiListGetPos(int id);
char* MuiListGetString(int id);
char MuiListSetPosToString(int id, const char* str);
char MuiListRegisterIntVariable(int id, int* variable);
char MuiListRegisterCharVariable(int id, char* variable);
void MuiListUpdateFromRegisteredVariable(int id);
void MuiListRefresh(int id);
int MuiListGetOpenId();
int MuiListGetOpenPos(int id);
void MuiListOpen(int id);
void MuiListClose(char choose, char notify);
void MuiListTick();
void MuiListDrawExtra(char backs, char texts);
void MuiListIncludeStandardButton(int id);
char MuiListHandleMousePress(int id, int x, int y);
char MuiListHandleMouseMove(int x, int y);
char MuiListHandleKeyPress(int id, char move);
char MuiListHandleEscape(int id);
void MuiListTraverse(int delta);
char MuiListSelectNewOpenPos(int index);
void MuiListCalcOpenListVariables();

#endif
