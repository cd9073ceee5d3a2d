// The check box (box type 10): an on/off value per box shown by a standard check mark, optionally
// bound to an application variable.
#include "MuiCheckbox.h"

char mui_checkbox[MUI_MAX_BOXES];

void MuiCheckboxReset(int id) {
  if (id >= 0 && id < MUI_MAX_BOXES) mui_checkbox[id] = 0;
}
void MuiCheckboxSet(int, char, char) {}
char MuiCheckboxGet(int) { return 0; }
char MuiCheckboxRegisterIntVariable(int, int*, char) { return 0; }
char MuiCheckboxRegisterCharVariable(int, char*, char) { return 0; }
char MuiCheckboxHandleMousePress(int, int, int) { return 0; }
char MuiCheckboxHandleKeyPress(int, char) { return 0; }
void MuiCheckboxIncludeStandardButton(int) {}
