// The panel (box type 6): a page of rows from a list of strings or a fill callback, one selected,
// with a side bar when the entries do not fit; a double click or Enter confirms.
#ifndef MUI_PANEL_H
#define MUI_PANEL_H

#include <cstdint>

#include "MuiBox.h"

struct _MuiPanel {
  int pos;                          // the selected entry
  int num;
  int num_per_page;
  unsigned char show_sel;
  char* (*fn)(int index);
  char (*strings)[MUI_TEXT_LEN];
  int display_pos;                  // the entry shown in the top row
};

struct _SideBarInfo {
  int32_t row_area_w;
  int32_t sb_x, sb_w, sb_y, sb_h;
  int32_t sb_x2, sb_y2;
  int32_t thumb_x, thumb_w, thumb_y, thumb_y2, thumb_h;
  int32_t track_top, track_bottom, track_len;
};

extern _MuiPanel mui_panel[MUI_MAX_BOXES];
extern unsigned char mui_highlight_texts;   // dim the texts of the rows not selected

void MuiPanelReset(int id);
void MuiPanelSetStrings(int id, int num, int num_per_page, char (*strings)[MUI_TEXT_LEN]);
void MuiPanelSetValues(int id, int num, int num_per_page, char* (*fn)(int index));
void MuiPanelSetPos(int id, int pos, char notify);
int MuiPanelGetPos(int id);
void MuiPanelSetDisplayPos(int id, int pos);
int MuiPanelGetDisplayPos(int id);
char* MuiPanelGetSelString(int id);
char MuiPanelSetPosToString(int id, const char* str);
void MuiPanelShowSel(int id, char on);
void MuiPanelCenterToPosIfPossible(int id);
char MuiPanelRegisterIntVariable(int id, int* variable, char notify);
char MuiPanelRegisterCharVariable(int id, char* variable, char notify);
void MuiPanelUpdateFromRegisteredVariable(int id, char notify);
void MuiPanelRefresh(int id);
char MuiPanelGetSidebarDimensions(int id, _SideBarInfo* info);
int MuiPanelGetScreenYPos(int id, _SideBarInfo info);
int MuiPanelGetYPosFromScreen(int id, int y, _SideBarInfo info);
void MuiPanelDraw(int id, char backs, char texts);
char MuiPanelHandleMousePress(int id, int x, int y);
char MuiPanelHandleDoubleClick(int id);
void MuiPanelHandleDragging(int id, int y);
char MuiPanelHandleKeyPress(int id, char move);
char MuiPanelHandleMouseWheel(int id, int delta);

// The side bar's place in a list box (a panel or a multi-selection list) of num entries shown
// num_per_page rows at a time: the row area's width and the bar's rectangle, whole rows high.
// 0, with the row area the whole box, when the entries fit one page or the id is not valid.
char MuiSideBarPlace(int id, int num, int num_per_page, _SideBarInfo* info);
// The thumb of a side bar (a panel's or a multi-selection list's), drawn and dragged with one
// mapping: its top for a display position, from the track's top (first page) to where the thumb
// ends on the track's bottom (last page); and back, the display position whose thumb lies nearest
// to a thumb centred at y (the current display while the thumb has not moved).
int MuiSideBarThumbY(const _SideBarInfo* info, int display, int num, int num_per_page);
int MuiSideBarDisplayFromThumbY(const _SideBarInfo* info, int y, int display, int num, int num_per_page);

#endif
