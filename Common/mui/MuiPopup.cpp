// Popups: a modal message box over the darkened screen with a title, a wrapped message, up to
// three buttons and optionally a text entry or a "show again" check box; its eight boxes are
// appended behind the screen's and removed when it ends.
#include "MuiPopup.h"

int muiMuiPopupMain = -1, muiMuiPopupButton1 = -1, muiMuiPopupButton2 = -1, muiMuiPopupButton3 = -1;
int muiMuiPopupTitle = -1, muiMuiPopupText = -1, muiMuiPopupGetText = -1, muiMuiPopupShowAgain = -1;
int mp_max_box_width = 600;
int mp_old_num_boxes{};

void MuiPopupStart(const char*, const char*, char, float, void (*)(char)) {}
void MuiPopupMessage(const char*, const char*, float, void (*)(char)) {}
void MuiPopupSimpleMessage(const char*, const char*) {}
void MuiPopupOkCancel(const char*, const char*, float, void (*)(char)) {}
void MuiPopupYesNo(const char*, const char*, float, void (*)(char)) {}
void MuiPopupYesNoCancel(const char*, const char*, float, void (*)(char)) {}
void MuiPopupGetText(const char*, const char*, char*, int, void (*)(char)) {}
void MuiPopupNotice(const char*, const char*, float, void (*)(char)) {}
void MuiPopupCancel(const char*, const char*, float, void (*)(char)) {}
void MuiPopupMessageWithShowAgain(const char*, const char*, char*, float, void (*)(char)) {}
void MuiPopupClose(char) {}
void MuiPopupOverwriteButtonTexts(const char*, const char*, const char*, const char*) {}
void DoCreateMuiPopupMuiBoxes() {}
void CreateMuiPopupMuiBoxesNoRemove() {}
void CreateMuiPopupMuiBoxes() {}
void MuiPopupButton1CB(char) {}
void MuiPopupButton2CB(char) {}
void MuiPopupButton3CB(char) {}
void MuiPopupGetTextCB(char) {}
char MuiPopupIsOn() { return 0; }
char MuiPopupProcessButton(int) { return 1; }
void MuiPopupUpdateTexts(const char*, const char*) {}
char MuiPopupTick() { return 0; }
void MuiPopupDrawButtons() {}
void MuiPopupSetTextSizes(float, float) {}
void MuiPopupSetTextColours(float, float, float, float, float, float, float, float, float) {}
void MuiPopupSetMargins(int, int) {}
void MuiPopupSetMaxWidth(int) {}
void MuiPopupSetButtonBlend(char) {}
void MuiPopupSetButtonWidths(float) {}
void MuiPopupSetPos(int, int, int, int) {}
void MuiPopupTranslateButtons(char) {}
void MuiPopupFinished(int) {}
void MuiPopupAbandon() {}
