// Keys, mouse and cursor: the program's key codes, the key-down table and the dispatch of input
// to the application's callbacks (menu layer off) or to the menu layer (menu layer on).
#ifndef COM_MAC_WIN_INPUT_H
#define COM_MAC_WIN_INPUT_H

// 2 while a key or mouse button is down, 0 when up; indexed by the program's key code.
extern unsigned char key_down[256];
extern char cmw_process_double_clicks;
extern int cmw_cursor_x, cmw_cursor_y;  // last cursor position in window pixels
extern int cmw_corner_x, cmw_corner_y;  // top-left of the window's content on the screen
extern char cmw_cursor_on;

// Program key codes of the special keys.
enum {
  COM_KEY_DELETE = 8, COM_KEY_TAB = 9, COM_KEY_RETURN = 13, COM_KEY_ESCAPE = 27,
  COM_KEY_BACKSPACE = 127, COM_KEY_SHIFT = 228, COM_KEY_CONTROL = 229, COM_KEY_OPTION = 230,
  COM_KEY_COMMAND = 231, COM_KEY_F1 = 232, COM_KEY_F12 = 243, COM_KEY_LEFT = 244,
  COM_KEY_RIGHT = 245, COM_KEY_UP = 246, COM_KEY_DOWN = 247, COM_KEY_PAGE_UP = 248,
  COM_KEY_PAGE_DOWN = 249, COM_KEY_HOME = 250, COM_KEY_END = 251, COM_KEY_HELP = 252,
  COM_KEY_MOUSE_LEFT = 253, COM_KEY_MOUSE_RIGHT = 254, COM_KEY_MOUSE_MIDDLE = 255
};

// virtual_key is the SDL key symbol (SDL_Keycode), modifiers the SDL modifier state (SDL_Keymod);
// character is the typed character (Ctrl+letter as 1 to 26), 0 for none. Answers the program's
// key code, 0 when the key has none.
unsigned char ComMacWinConvertKey(unsigned long virtual_key, char character,
                                  unsigned long modifiers);
void ComMacWinKeyDown(unsigned char code);
void ComMacWinKeyUp(unsigned char code);
// Called once a frame's tick has run: releases the keys whose release came before any tick saw them.
void ComMacWinInputTicked();
void ComMacWinKeyModifiersChanged(unsigned long modifiers);
// A typed character of 128 and above (Windows Latin-1): only the menu layer's character input.
void ComMacWinHighCharTyped(unsigned char code);
void ComMacWinMousePress(char button, char down, int click_count);
void ComMacWinMouseMove(int x, int y);
void ComMacWinMouseWheelInput(int delta);
void ComMacWinActiveStateChanged(char active);
// Forgets held keys and the activation memory (a fresh start of the shell).
void ComMacWinResetInput();

void ComWinGetCursorPos2(int* x, int* y);
void ComWinSetCursorPos(int x, int y);
// Tests may take the pointer warps (window pixels) instead of the X server: with a sink set, a warp
// goes to it and becomes the known cursor position, and the real pointer stays where it is. Null
// restores the real warp.
void ComWinSetCursorWarpSink(void (*sink)(int x, int y));
void ComWinTurnOnCursor();
void ComWinTurnOffCursor();
void ComWinProcessDoubleClicks(char on);

// Writes the key's name; nothing when buf is null or len is 13 or less.
void ComMacMiscGetKeyName(unsigned char code, char* buf, int len);

#endif
