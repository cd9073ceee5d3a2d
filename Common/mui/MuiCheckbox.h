// The check box (box type 10): an on/off value per box shown by a standard check mark, optionally
// bound to an application variable.
#ifndef MUI_CHECKBOX_H
#define MUI_CHECKBOX_H

#include "MuiBox.h"

extern char mui_checkbox[MUI_MAX_BOXES];

// A new box starts unchecked, whatever the previous screen left at its id.
void MuiCheckboxReset(int id);
void MuiCheckboxSet(int id, char value, char notify);
char MuiCheckboxGet(int id);
char MuiCheckboxRegisterIntVariable(int id, int* variable, char notify);
char MuiCheckboxRegisterCharVariable(int id, char* variable, char notify);
char MuiCheckboxHandleMousePress(int id, int x, int y);
char MuiCheckboxHandleKeyPress(int id, char move);
void MuiCheckboxIncludeStandardButton(int id);

#endif
