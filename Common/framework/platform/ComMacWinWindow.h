// The program's one window: creation, size fitted to the desktop, corner and title, the
// graphics life cycle (context plus the application's graphics) and the rebuild on a resize.
#ifndef COM_MAC_WIN_WINDOW_H
#define COM_MAC_WIN_WINDOW_H

#include <cstddef>

struct SDL_Window;

extern SDL_Window* main_window;       // the window (also the full-screen surface)
extern char cmw_title_str[512];       // "Untitled" until the application names it
extern char cmw_screens_were_on;      // screens were on when the graphics were last deleted

// Starts SDL's video on a driver that shows a window to a person (never the offscreen or dummy
// drivers, whatever SDL_VIDEODRIVER says). False when none starts; why then holds SDL's own
// reason for each driver tried, cut to size.
char ComMacWinStartVideo(char* why, size_t size);
char ComMacWinCreateWindow();
char ComMacWinCreateGraphics();
void ComMacWinDeleteGraphics();
void ComMacWinResizeCB(int width, int height);
// The one rule for a new drawable size (start-up, window creation, resize): WIDTH x HEIGHT under
// 2 x 2 is logged under label ("Invalid window dimensions" + tag) and taken as 640 x 480, then
// the half sizes and the menu layer's ratios follow.
void ComMacWinSettleScreenSize(const char* label, const char* tag);
void ComMacWinUpdateWindowCorner();
void ComMacWinGetWindowPosition(int* x, int* y);
char ComMacMiscGetDesktopSize(int* width, int* height);
void ComMacWinSetWindowTitle(SDL_Window* window, char* text);
void ComWinSetGameTitle(char* text);
void ComMacWinRefreshWindow();
// Closes the window (end of the process, or a test's fresh start).
void ComMacWinDestroyWindow();

#endif
