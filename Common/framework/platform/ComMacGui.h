// Dialogs from interface files: one window of a GtkBuilder ".ui" file in the resource folder,
// its controls found by signature and id, its commands sent to one handler, run modally; plain
// accessors for popup lists, check boxes, texts and pictures. Texts are Windows Latin-1.
#ifndef COM_MAC_GUI_H
#define COM_MAC_GUI_H

#include <cstdint>

typedef struct _GtkBuilder* IBNibRef;
typedef struct _GtkWidget* WindowRef;
typedef struct _GtkWidget* ControlRef;
typedef struct _GtkWidget* MenuRef;  // a popup list is its own menu
typedef struct _GdkPixbuf* PicHandle;
typedef const char* CFStringRef;     // a plain NUL-terminated name
typedef int32_t OSStatus;

inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus eventNotHandledErr = -9874;

// Four characters as one number, first character in the high byte ('STAR').
inline constexpr uint32_t ComMacGuiFourCC(const char (&s)[5]) {
  return ((uint32_t)(unsigned char)s[0] << 24) | ((uint32_t)(unsigned char)s[1] << 16) |
         ((uint32_t)(unsigned char)s[2] << 8) | (uint32_t)(unsigned char)s[3];
}

// The command event a dialog's handler receives.
struct ComMacGuiCommand {
  uint32_t command;    // the control's four-character command
  ControlRef control;  // the control that sent it; null for the window's close
  WindowRef window;
};
typedef OSStatus (*EventHandlerProcPtr)(void* call_ref, ComMacGuiCommand* event, void* user_data);
typedef struct ComMacGuiProc* EventHandlerUPP;

// GTK itself, started once (the locale is left alone, so numbers always print with a point).
// Answers 1 when GTK is up.
char ComMacGuiInitGtk();

char ComMacGuiLoadNIB(CFStringRef name, IBNibRef* out);
void ComMacGuiReleaseNIB(IBNibRef nib);
char ComMacGuiLoadDialogFromNib(CFStringRef nib_name, CFStringRef window_name, EventHandlerProcPtr handler,
                                char run, EventHandlerUPP* upp, WindowRef* win);
char ComMacGuiLoadAndRunDialogFromNib(CFStringRef nib_name, CFStringRef window_name,
                                      EventHandlerProcPtr handler, WindowRef* win);
char ComMacGuiDoDialog(EventHandlerUPP* upp, WindowRef* win, char modal, char destroy);
void ComMacGuiDestroyDialog(EventHandlerUPP* upp, WindowRef* win);
char ComMacGuiLoadMenuFromNIB(CFStringRef name);
char ComMacGuiGetControl(WindowRef window, unsigned long signature, long id, ControlRef* out);
// Ends the loop that runs the dialog (called from its handler).
void ComMacGuiEndDialog(WindowRef window);
// Gives a control the keyboard focus.
void ComMacGuiSetKeyboardFocus(ControlRef control);
// Lets the dialogs draw and answer their events for ms milliseconds (a dialog's handler that
// waits, so its window does not freeze).
void ComMacGuiRunEventsFor(unsigned ms);

char ComMacGuiGetPopupButtonMenu(ControlRef control, MenuRef* out);
OSStatus ComMacGuiGetPopupButtonMenuRef(ControlRef control, MenuRef* out);
int ComMacGuiGetMenuCount(MenuRef menu);
void ComMacGuiResetMenu(MenuRef menu);
void ComMacGuiAddStringToMenu(MenuRef menu, char* text);
void ComMacGuiGetMenuItemString(MenuRef menu, char* out, int item);
void ComMacGuiGetPopupMenuCurrentText(MenuRef menu, ControlRef control, char* out);
void ComMacGuiSetPopupControlCurrentSelection(ControlRef control, int index);
int ComMacGuiGetPopupControlCurrentSelection(ControlRef control);
OSStatus ComMacGuiSyncPopupButtonToMenu(ControlRef control);
void ComMacGuiEnableMenuItemUsingCommandId(MenuRef menu, uint32_t command, char on);
void ComMacGuiCheckMenuItemUsingCommandId(MenuRef menu, uint32_t command, char on);
void ComMacGuiSetMenuTitleText(MenuRef menu, char* text);
void ComMacGuiSetMenuItemText(MenuRef menu, unsigned item, char* text);
void ComMacGuiCheckButton(ControlRef control, char on);
char ComMacGuiIsButtonChecked(ControlRef control);
void ComMacGuiSetStaticTextString(ControlRef control, char* text);
void ComMacGuiSetEditableTextString(ControlRef control, char* text);
void ComMacGuiSetEditableTextString2(ControlRef control, char* text);
int ComMacGuiGetStaticTextString(ControlRef control, char* out, int len);
int ComMacGuiGetEditableTextString(ControlRef control, char* out, int len);
void ComMacGuiSetEditableTextInt(ControlRef control, int value);
int ComMacGuiGetEditableTextInt(ControlRef control);
void ComMacGuiSetBevelButtonTextString(ControlRef control, char* text);
char ComMacGuiQtSetPictPictureFromFile(ControlRef control, char* path, PicHandle* out);
void ComMacGuiQtReleasePicture(PicHandle* picture);

// The common layer: the leading char is not used on this platform.
void ComPcMacGuiResetList(char c, MenuRef menu);
void ComPcMacGuiAddStringToList(char c, MenuRef menu, int unused, char* text);
OSStatus ComPcMacGuiSyncList(ControlRef control);
void ComPcMacGuiUpdateList(ControlRef control);
int ComPcMacGuiGetListPos(char c, ControlRef control);
void ComPcMacGuiSetListPos(char c, ControlRef control, int index);
void ComPcMacGuiGetListItemString(char c, MenuRef menu, char* out, int index);
void ComPcMacGuiSetStaticTextString(char c, ControlRef control, char* text);
void ComPcMacGuiSetButtonTextString(char c, ControlRef control, char* text);
void ComPcMacGuiEnableList(char c, MenuRef menu, char on);
void ComPcMacGuiEnableControl(char c, ControlRef control, char on);
void ComPcMacGuiShowControl(char c, ControlRef control, char on);
int ComPcMacGuiGetNumItemsInMenu(char c, MenuRef menu);

#endif
