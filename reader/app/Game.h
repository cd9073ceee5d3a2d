// The reader's set-up call and the callbacks it hands to the framework: settings and display mode
// before the window, fonts and textures on every context, the last book opened after start-up,
// the reading view's tick, render and input while the menu layer is off, the pointer and its
// time-out, and the orderly save at shut-down.
#ifndef GAME_H
#define GAME_H

#include "GameFolders.h"
#include "LecFont.h"

struct _ComGlDxTexture;

// The program's version, written to the log and shown by About and the start-up dialog.
const float GAME_PROGRAM_VERSION = 1.81f;

extern char g_cursor_is_on;
extern int g_last_cursor_moved_time;
extern float g_saved_book_read_perc;
extern _ComGlDxTexture mac_win_corner_tex;

char GameSetupAll_MAC(int argc, char** argv);
char GamePreCreateWindowCB(int argc, char** argv);
char GamePre3dInitCB(int argc, char** argv);
char GamePost3dInitCB(int argc, char** argv);
char GameCreateGraphicsCB();
void GameDestroyGraphicsCB();
void GamePostResolutionChangeCB();
void GameDoPostResolutionChangeCB(char after_resize);
char GameTickMuiOffCB();
// The menus' tick: tells a failed settings save in a popup.
char GameTickMuiOnCB();
void GameRenderMuiOffCB();
void GameRenderMuiOnPreMuiCB();
void GameRenderMuiOnPostMuiFullVpCB();
void GamePre3dExitCB();
void GameAddResolutionToLogfile(int n);
void GameMacDoExtraSetup();
char GameLoadBookFont();
char GameLoadConfigAndOpenCurrentBook(char keep_position);
void GameSaveCurrentBookConfigAndCloseBook(char keep_position);
void GameEnterMenus(int screen, char show_box);
void GameUpdateForPageRotation();
void GameRestoreAfterPageRotation();
void GameDrawMacWindowCorner();

char GameMousePressCB(char button, char down);
void GameMouseDoubleClickMuiOffCB(char button);
void GameMouseMoveCB(int x, int y);
void GameMouseWheelInputCB(int delta);
char GameKeyCharMuiOffCB(int key);
void GameMouseEnteringOrLeavingWindowCB();
char GameIsDepthBufferRequiredCB();
void GameReleaseMuiFont();
void GameReleaseBookFont();

void GameTurnOnFullScreenCursor(char flag);
void GameTurnOffFullScreenCursor(char flag);
void GameResetTurnOffCursorTime();

#endif
