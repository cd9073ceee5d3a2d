// The multi-selection list (box type 8): a page of rows from a fill callback, each with its own
// selected flag.
#include "MuiMulti.h"

#include <cstring>

_MuiMultisel mui_multisel[MUI_MAX_BOXES];
int multisel_display_pos{};

char MuiMultiselGetSidebarDimensions(int, _SideBarInfo*) { return 0; }
// The shared display position is left alone: only the list's own set-up moves it, so the boxes a
// popup appends do not scroll a list on the screen beneath.
void MuiMultiselReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  _MuiMultisel* m = &mui_multisel[id];
  m->num = 0;
  m->num_per_page = 10;
  m->fn = nullptr;
  memset(m->selected, 0, sizeof(m->selected));
}
void MuiMultiselSetValues(int, int, int, char* (*)(int index)) {}
void MuiMultiselResetSelection(int) {}
void MuiMultiselSelectItem(int, int, char, char, char) {}
char MuiMultiselIsItemSelected(int, int) { return 0; }
int MuiMultiselGetNumEntries(int) { return 0; }
void MuiMultiselDraw(int, char, char) {}
char MuiMultiselHandleMousePress(int, int, int) { return 0; }
void MuiMultiselHandleDragging(int, int) {}
char MuiMultiselHandleKeyPress(int, char) { return 0; }
