// The Load screen. Its boxes come with the menu layer's widgets; until then the screen is empty
// and Escape leaves it (Screens).
#include "Load.h"

void CreateLoadMuiBoxes() {}

void LoadControlStartingCB() {}
