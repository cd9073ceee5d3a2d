// Pointer control on the program's own X connection: moving the cursor and switching the
// mouse acceleration off and back on.
#ifndef COM_MAC_MISC_IO_H
#define COM_MAC_MISC_IO_H

extern char cmm_mouse_scaling_disabled;

char ComMacMiscIOSetCursorPosition(int x, int y);
char ComMacMiscIODisableMouseScaling();
void ComMacMiscIORestoreMouseScaling();
// The acceleration the X server reports (numerator, denominator, threshold); 0 without X.
char ComMacMiscIOGetPointerControl(int* numerator, int* denominator, int* threshold);

#endif
