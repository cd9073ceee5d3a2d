// The choice (box type 9): one of a few strings, cycled with arrows or chosen from a row of cells.
#ifndef MUI_CHOICE_H
#define MUI_CHOICE_H

#include "MuiBox.h"

struct _MuiChoice {
  unsigned char use_arrows;         // 0 row mode, 1 arrow mode
  unsigned char text_slot;          // the box text that shows the choice in arrow mode
  int sel;
  int num;
  char* (*fn)(int index);
  char (*strings)[MUI_TEXT_LEN];
};

extern _MuiChoice mui_choice[MUI_MAX_BOXES];

void MuiChoiceReset(int id);
void MuiChoiceUseArrows(int id, char on);
char MuiChoiceIsUsingArrows(int id);
void MuiChoiceUpdateArrows(int id);
void MuiChoiceSetStrings(int id, int num, char (*strings)[MUI_TEXT_LEN]);
void MuiChoiceSetValues(int id, int num, char* (*fn)(int index));
void MuiChoiceSetSel(int id, int sel, char notify);
void MuiChoiceSetNumItems(int id, int num);
int MuiChoiceGetSel(int id);
char MuiChoiceRegisterCharVariable(int id, char* variable, char notify);
char MuiChoiceRegisterIntVariable(int id, int* variable, char notify);
void MuiChoiceDraw(int id);
void MuiChoiceDrawTexts(int id);
char MuiChoiceHandleMousePress(int id, int x, int y);
char MuiChoiceHandleKeyPress(int id, char move);

#endif
