// Platform message boxes: a GTK message dialog while GTK is up and the program is windowed,
// else an SDL message box. A popup callback, when set, replaces every box (tests set one).
#ifndef COM_MAC_MESSAGE_BOX_H
#define COM_MAC_MESSAGE_BOX_H

typedef void (*ComWinPopupCallback)(char* title, char* text, char kind);

// The popup slots. The first replaces every ComWinPopupMessage box; the second replaces the box
// of the message shown after the program exits (the shell's shut-down reads it).
extern ComWinPopupCallback cmw_popup_messages_callback;
extern ComWinPopupCallback cmw_after_exit_popup_callback;

void ComWinSetPopupMessagesCallback(ComWinPopupCallback popup, ComWinPopupCallback after_exit_popup);

// kind 1 or 2: caution, 3: note, any other value: plain. A non-empty title is the main text and
// the text its explanation; otherwise the text is the main text. Texts are Windows Latin-1; a text
// of 255 characters or more is cut to 254 and shown.
void ComWinPopupMessage(const char* title, const char* text, char kind);

// OK (default) and Cancel; 1 when OK was pressed, else 0. A null text gives 0.
char ComWinPopupOkCancel(const char* title, const char* text);

#endif
