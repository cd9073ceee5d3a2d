// The drop-down list (box type 5): a chosen entry shown in the box; a press opens the list of all
// entries over the screen, where the mouse, the wheel and the keys choose.
#include "MuiList.h"

_MuiList mui_list[MUI_MAX_BOXES];
int mui_list_open_id = -1;
char mui_drawing_open_list{};

// Only a reset of the open list's own row forgets the open list: a popup's new boxes must not close
// a list that is open elsewhere.
void MuiListReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_list[id] = _MuiList{};
  if (id == mui_list_open_id) mui_list_open_id = -1;
}
void MuiListSetStrings(int, int, char (*)[MUI_TEXT_LEN]) {}
void MuiListSetValues(int, int, char* (*)(int index)) {}
void MuiListSetPos(int, int) {}
int MuiListGetPos(int) { return 0; }
char* MuiListGetString(int) { return nullptr; }
char MuiListSetPosToString(int, const char*) { return 0; }
char MuiListRegisterIntVariable(int, int*) { return 0; }
char MuiListRegisterCharVariable(int, char*) { return 0; }
void MuiListUpdateFromRegisteredVariable(int) {}
void MuiListRefresh(int) {}
int MuiListGetOpenId() { return 0; }
int MuiListGetOpenPos(int) { return 0; }
void MuiListOpen(int) {}
void MuiListClose(char, char) {}
void MuiListTick() {}
void MuiListDrawExtra(char, char) {}
void MuiListIncludeStandardButton(int) {}
char MuiListHandleMousePress(int, int, int) { return 0; }
char MuiListHandleMouseMove(int, int) { return 0; }
char MuiListHandleKeyPress(int, char) { return 0; }
char MuiListHandleEscape(int) { return 0; }
void MuiListTraverse(int) {}
char MuiListSelectNewOpenPos(int) { return 0; }
void MuiListCalcOpenListVariables() {}
