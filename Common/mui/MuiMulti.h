// The multi-selection list (box type 8): a page of rows from a fill callback, each with its own
// selected flag.
#ifndef MUI_MULTI_H
#define MUI_MULTI_H

#include "MuiBox.h"
#include "MuiPanel.h"

#define MUI_MULTISEL_MAX_ENTRIES 10000

struct _MuiMultisel {
  int num;
  int num_per_page;
  char* (*fn)(int index);
  unsigned char selected[MUI_MULTISEL_MAX_ENTRIES];
};

extern _MuiMultisel mui_multisel[MUI_MAX_BOXES];
extern int multisel_display_pos;   // shared by every multi-selection list

char MuiMultiselGetSidebarDimensions(int id, _SideBarInfo* info);
void MuiMultiselReset(int id);
void MuiMultiselSetValues(int id, int num, int num_per_page, char* (*fn)(int index));
void MuiMultiselResetSelection(int id);
void MuiMultiselSelectItem(int id, int item, char toggle, char value, char notify);
char MuiMultiselIsItemSelected(int id, int item);
int MuiMultiselGetNumEntries(int id);
void MuiMultiselDraw(int id, char backs, char texts);
char MuiMultiselHandleMousePress(int id, int x, int y);
void MuiMultiselHandleDragging(int id, int y);
char MuiMultiselHandleKeyPress(int id, char move);

#endif
