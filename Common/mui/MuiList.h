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
extern char mui_drawing_open_list;   // 1 while the open list is being drawn

// The open list's layout, in virtual-screen units (rows of the box's height h); -1 where a part
// is not shown. Recomputed at opening, at every draw and press, and after every scroll step.
extern int list_open_orig_sel_pos;  // the chosen entry when the list opened
extern int list_open_sel_pos;       // the highlighted entry
extern int list_open_scroll_amount; // rows scrolled since opening, signed
extern int list_open_start_pos;     // first entry row shown
extern int list_open_end_pos;       // one past the last entry row shown
extern char list_open_can_scroll_up, list_open_can_scroll_down;
extern int list_open_main_y, list_open_main_h;          // the entry rows
extern int list_open_top_y, list_open_top_h;            // caps where the list is not cut off
extern int list_open_bottom_y, list_open_bottom_h;
extern int list_open_scroll_up_y, list_open_scroll_up_h;  // the scroll rows
extern int list_open_scroll_down_y, list_open_scroll_down_h;
extern int list_open_sel_y;         // top of the highlight bar
extern int list_open_scroll_speed;  // ms between auto-scroll steps, 200 at opening

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
// 0 when there is nothing to show (the list may have been closed on the way).
char MuiListCalcOpenListVariables();

#endif
