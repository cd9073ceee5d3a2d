// Popups: a modal message box over the darkened screen with a title, a wrapped message, up to
// three buttons and optionally a text entry or a "show again" check box; its eight boxes are
// appended behind the screen's and removed when it ends.
#ifndef MUI_POPUP_H
#define MUI_POPUP_H

// Results handed to a popup's callback.
enum {
  MUI_POPUP_OK = 1, MUI_POPUP_YES = 1, MUI_POPUP_NO = 2, MUI_POPUP_CANCEL = 3,
  MUI_POPUP_TIMED_OUT = 4, MUI_POPUP_CLOSED = 5
};

extern int muiMuiPopupMain, muiMuiPopupButton1, muiMuiPopupButton2, muiMuiPopupButton3;
extern int muiMuiPopupTitle, muiMuiPopupText, muiMuiPopupGetText, muiMuiPopupShowAgain;
extern int mp_max_box_width;
extern int mp_old_num_boxes;

void MuiPopupStart(const char* title, const char* text, char kind, float seconds,
                   void (*callback)(char));
void MuiPopupMessage(const char* title, const char* text, float seconds, void (*callback)(char));
void MuiPopupSimpleMessage(const char* title, const char* text);
void MuiPopupOkCancel(const char* title, const char* text, float seconds, void (*callback)(char));
void MuiPopupYesNo(const char* title, const char* text, float seconds, void (*callback)(char));
void MuiPopupYesNoCancel(const char* title, const char* text, float seconds,
                         void (*callback)(char));
void MuiPopupGetText(const char* title, const char* text, char* buffer, int length,
                     void (*callback)(char));
void MuiPopupNotice(const char* title, const char* text, float seconds, void (*callback)(char));
void MuiPopupCancel(const char* title, const char* text, float seconds, void (*callback)(char));
void MuiPopupMessageWithShowAgain(const char* title, const char* text, char* show_again,
                                  float seconds, void (*callback)(char));
void MuiPopupClose(char notify);
void MuiPopupOverwriteButtonTexts(const char* ok, const char* cancel, const char* yes,
                                  const char* no);
void DoCreateMuiPopupMuiBoxes();
void CreateMuiPopupMuiBoxesNoRemove();
void CreateMuiPopupMuiBoxes();
void MuiPopupButton1CB(char part);
void MuiPopupButton2CB(char part);
void MuiPopupButton3CB(char part);
void MuiPopupGetTextCB(char accepted);
char MuiPopupIsOn();
char MuiPopupProcessButton(int id);
void MuiPopupUpdateTexts(const char* title, const char* text);
char MuiPopupTick();
void MuiPopupDrawButtons();
void MuiPopupSetTextSizes(float x, float y);
void MuiPopupSetTextColours(float text_r, float text_g, float text_b, float title_r, float title_g,
                            float title_b, float button_r, float button_g, float button_b);
void MuiPopupSetMargins(int x, int y);
void MuiPopupSetMaxWidth(int width);
void MuiPopupSetButtonBlend(char blend);
void MuiPopupSetButtonWidths(float width);
void MuiPopupSetPos(int x, int y, int w, int h);
void MuiPopupTranslateButtons(char on);
void MuiPopupFinished(int code);
// The box table is being emptied or the layer shut down under a shown popup: the popup is dropped
// as if closed by code, without its callback, so the next screen is neither dark nor dead.
void MuiPopupAbandon();

#endif
