// The choice (box type 9): one of a few strings, cycled with arrows or chosen from a row of cells.
#include "MuiChoice.h"

_MuiChoice mui_choice[MUI_MAX_BOXES];

void MuiChoiceReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) return;
  mui_choice[id] = _MuiChoice{};
}
void MuiChoiceUseArrows(int, char) {}
char MuiChoiceIsUsingArrows(int) { return 0; }
void MuiChoiceUpdateArrows(int) {}
void MuiChoiceSetStrings(int, int, char (*)[MUI_TEXT_LEN]) {}
void MuiChoiceSetValues(int, int, char* (*)(int index)) {}
void MuiChoiceSetSel(int, int, char) {}
void MuiChoiceSetNumItems(int, int) {}
int MuiChoiceGetSel(int) { return 0; }
char MuiChoiceRegisterCharVariable(int, char*, char) { return 0; }
char MuiChoiceRegisterIntVariable(int, int*, char) { return 0; }
void MuiChoiceDraw(int) {}
void MuiChoiceDrawTexts(int) {}
char MuiChoiceHandleMousePress(int, int, int) { return 0; }
char MuiChoiceHandleKeyPress(int, char) { return 0; }
