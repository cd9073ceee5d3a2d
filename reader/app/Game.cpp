// The reader's set-up call and its callbacks into the framework.
#include "Game.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlMisc3D.h"
#include "ComGlMiscModes.h"
#include "ComGlTexture.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Load.h"
#include "MainCleanup.h"
#include "MainControl.h"
#include "MainGeometry.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "MainTick.h"
#include "GetFile.h"
#include "LecMuiTextures.h"
#include "Mui.h"
#include "MuiBox.h"
#include "MuiPopup.h"
#include "MuiText.h"
#include "MuiTextures.h"
#include "Paper.h"
#include "PrefFolder.h"
#include "Resolution.h"
#include "Screens.h"

char g_cursor_is_on = 1;
int g_last_cursor_moved_time;
float g_saved_book_read_perc = -1;
_ComGlDxTexture mac_win_corner_tex;

namespace {

const char* const kProgName = "Quorvane Lectrel";
const float kFileVersion = 1.7f;

int gm_last_xpos, gm_last_ypos;
char gm_ignore_next_move;

int Now() { return n3d_current_time; }

}  // namespace

char GameSetupAll_MAC(int argc, char** argv) {
  (void)argc;
  (void)argv;
  PrefFolderSetup((char*)kProgName, 1, (char*)"LogFile.txt");
  char dir[1024];
  if (GameGetDataDir(dir, sizeof(dir) - 50)) {
    char path[1100];
    int n = snprintf(path, sizeof(path), "%s/%s", dir, "LogFile.txt");
    if (n > 0 && (size_t)n < sizeof(path)) DebugSetLogFilename(path, 1);
  }
  MainRemoveLeftoverTemporaries();
  DebugPlainText("----------------------");
  DebugPlainText("%s", kProgName);
  DebugPlainText("----------------------");
  DebugPlainText("%s", "");
  DebugPlainText("Prog Version %0.2f", GAME_PROGRAM_VERSION);
  DebugPlainText("File Version %0.2f", kFileVersion);
  DebugPlainText("%s", "");
  if (!getcwd(run_dir, sizeof(run_dir) - 1)) run_dir[0] = 0;
  GameEnsureUsingCorrectPath();
  ComMacWinSetMainCallbacks(GamePreCreateWindowCB, GamePre3dInitCB, GamePost3dInitCB,
                            GameCreateGraphicsCB, GameDestroyGraphicsCB, GamePostResolutionChangeCB,
                            GameTickMuiOffCB, GameTickMuiOnCB, GameRenderMuiOffCB, GameRenderMuiOnPreMuiCB,
                            nullptr, GameRenderMuiOnPostMuiFullVpCB, GamePre3dExitCB, nullptr);
  ComMacWinSetInputCallbacks(GameMousePressCB, nullptr, GameMouseDoubleClickMuiOffCB,
                             GameMouseMoveCB, nullptr, GameMouseWheelInputCB, GameKeyCharMuiOffCB,
                             nullptr, nullptr, nullptr);
  ComMacWinUseTimersForMainLoop();
  ComMacWinSetMainLoopTimerFrameRate(60);
  GameMacDoExtraSetup();
  ComWinSetGameTitle((char*)kProgName);
  return 1;
}

void GameMacDoExtraSetup() {}

char GamePreCreateWindowCB(int argc, char** argv) {
  ConfigLoad();
  if (argc == 2 && argv && argv[1] && strcmp(argv[1], "SHOWRESWIN") == 0) {
    config.show_resolution_window = 1;
    use_command_line = 0;
    // Stored at once, so the settings reloaded during start-up keep the request.
    ConfigSave(0);
  }
  if (config.show_resolution_window || !ResolutionLoadSettings()) {
    char r = ResolutionDoDialog(argc, argv);
    if (r < 1) return r;
  }
  GameAddResolutionToLogfile(0);
  ComWinProcessDoubleClicks(1);
  return 1;
}

void GameAddResolutionToLogfile(int n) {
  const char* dashes = "--------------------------------------------------------------------";
  DebugPlainText("%s", dashes);
  DebugPlainText("RESOLUTION%d: [Windowed: %d  W:%d  H:%d  B:%d  AA:%d]", n + 1, (int)run_windowed, WIDTH,
                 HEIGHT, BITDEPTH, (int)ANTI_ALIASING);
  DebugPlainText("%s", dashes);
}

char GamePre3dInitCB(int argc, char** argv) {
  (void)argc;
  (void)argv;
  LecMuiTexturesPre3dInit();
  MuiSetUsingAlphaTextures(MUI_ALPHA_TYPE_2);
  // The screens are light: the standard pictures (thumbs, arrows, check marks) carry masks and
  // are laid over the faces with premultiplied alpha, and the popup's buttons, which wear the
  // light main face, take dark texts.
  MuiSetStandardButtonBlendType(7);
  MuiPopupSetTextColours(1.0f, 1.0f, 1.0f, 1.0f, 0.8f, 0.2f, 0.06f, 0.08f, 0.12f);
  // The masks need the loaded pictures and a GL context: they are copied in after every load.
  MuiTexturesSetPostLoadButtonsCB(LecUpdateMuiButtonAlphaChannels);
  _MuiStandardDimensions dim;
  MuiGetStandardButtonsDimensions(&dim);
  dim.text_margin_perc = 0.05f;
  dim.sb_thumb_h = 16;
  dim.sb_margin_perc = 0.012f;
  MuiSetStandardButtonsDimensions(&dim);
  MuiAllowCursorToBeTurnedOff(0);
  MuiUseDisabledTextColour(1);
  MuiSetDisabledTextColour(0.3f, 0.3f, 0.3f);
  MuiPopupSetTextSizes(0.8f, 0.7f);
  // A remembered book that cannot be opened leaves its reason for the Load screen.
  MainSetupFilename(nullptr, lf_err_msg);
  // "SHOWRESWIN" keeps the command line from being read as a book; a book chosen later is taken.
  use_command_line = 1;
  return 1;
}

char GameLoadBookFont() {
  if (!mc_font_name[0]) {
    MainSetupFont();
    MainControlCleanup();
  }
  if (book_font->setup) ComFreeTypeRelease(book_font);
  char ok = 0;
  if (mc_font_name[0]) ok = MainControlLoadFontFromFile(mc_font_name, book_font);
  if (!ok) ok = LecFontMainCreate(book_font, 0);
  if (!ok) {
    DebugError("GameLoadBookFont", "Could not create font");
    return 0;
  }
  return 1;
}

char GameCreateGraphicsCB() {
  GameEnsureUsingCorrectPath();
  if (!mui_font->setup && !LecFontMainCreate(mui_font, 1)) {
    DebugError("GameLoadMuiFont", "Could not create font");
    return 0;
  }
  if (!GameLoadBookFont()) return 0;
  if (!MainLoadGraphics()) return 0;
  PaperCreateGraphics();
  if (run_windowed && !mac_win_corner_tex.created) {
    if (ComGlTextureLoadFromTgaFile("WinCorner.tga", 0, 1, 2, &mac_win_corner_tex)) {
      float xr = x_ratio > 0 ? x_ratio : 1, yr = y_ratio > 0 ? y_ratio : 1;
      ComGlTexturePositionFloatRatioed(&mac_win_corner_tex, 640 - 14 / xr - 1, 480 - 14 / yr, 14 / xr,
                                       14 / yr);
    }
  }
  return 1;
}

char GamePost3dInitCB(int argc, char** argv) {
  (void)argc;
  (void)argv;
  GameAddResolutionToLogfile(1);
  ScreensInit();
  GameDoPostResolutionChangeCB(0);
  return 1;
}

void GamePostResolutionChangeCB() { GameDoPostResolutionChangeCB(1); }

void GameDoPostResolutionChangeCB(char after_resize) {
  if (after_resize && !MuiIsOn()) {
    GameEnterMenus(screen_main, 0);
    ComWinTickAndRender(1, 1, 1, 0);
    ComWinTickAndRender(1, 1, 1, 0);
    MainReturnCB(0);
    return;
  }
  if (!ComGlMiscIs2DPrepared()) ComGlMiscPrepareFor2D(1);
  if (GameLoadConfigAndOpenCurrentBook(0)) {
    if (!MuiIsOn()) {
      GameMouseMoveCB(-10000, -1);
      GameTurnOffFullScreenCursor(1);
    }
    ComGlMiscDisableBlending();
    // The loading box's frames may have left text drawing prepared; start from a clean state.
    ComFreeTypeRestoreAfterDrawingIfNeeded();
    ComFreeTypePrepareForDrawing(1);
    ComFreeTypeRestoreAfterDrawing();
    ComGlMiscSetViewportFullScreen();
  } else if (!MuiIsOn()) {
    ScreensStartScreen(screen_load_file);
  } else if (ScreensGetCurrent() != screen_load_file) {
    ScreensGoto(screen_load_file);
  }
}

char GameLoadConfigAndOpenCurrentBook(char keep_position) {
  ConfigLoad();
  MainUpdateAfterConfigChange();
  if (pdf_filename[0]) {
    // A book that cannot be opened (gone, refused, unreadable) is closed, name and all, and its
    // reason left for the Load screen where the application goes next.
    if (!ComFileExists(pdf_filename)) {
      MainSetPathMessage(lf_err_msg, "Cannot access file (%s)", pdf_filename);
      pdf_filename[0] = 0;
      book_name[0] = 0;
      return 0;
    }
    if (MainSetupFilename(pdf_filename, lf_err_msg) <= 0) {
      pdf_filename[0] = 0;
      book_name[0] = 0;
      return 0;
    }
  } else if (MainSetupFilename(nullptr, nullptr) <= 0) {
    return 0;
  }
  if (!MainInit()) {
    MainExit();
    return 0;
  }
  if (keep_position && g_saved_book_read_perc >= 0) {
    book_read_perc = g_saved_book_read_perc;
    MainUpdateDrawLinePosFromBookReadPerc();
    g_saved_book_read_perc = -1;
  }
  MainUpdateAfterConfigChange();
  return 1;
}

void GameSaveCurrentBookConfigAndCloseBook(char keep_position) {
  // The fraction is taken from the position first: a move made since the last frame (a wheel
  // turn and a layout key in one batch of events) is kept both for the reopened book and in the
  // file, so the two never differ.
  MainUpdateBookReadPerc();
  if (keep_position) g_saved_book_read_perc = book_read_perc;
  if (pdf_filename[0]) ConfigSave(1);
  MainExit();
}

void GameEnterMenus(int screen, char show_box) {
  if (show_box) MainDisplayBoxMessage(2, (char*)"Entering Menus");
  ComFreeTypeRestoreAfterDrawingIfNeeded();
  GameSaveCurrentBookConfigAndCloseBook(0);
  ScreensStartScreen(screen);
}

namespace {

// Where a notice of the settings files is shown: the reading view's one-line box, a popup of the
// menus, the box after the window is gone.
enum { kNoticeInReading, kNoticeInMenus, kNoticeAfterExit };

// Takes the waiting notice (ConfigTakeSaveNotice) and writes its text for the place into text;
// answers its title, or null when there is nothing to tell.
const char* GameTakeNotice(int place, char* text, size_t size) {
  int kind = CONFIG_NOTICE_SAVE, slot = -1;
  const char* reason = ConfigTakeSaveNotice(&kind, &slot);
  if (!reason) return nullptr;
  if (kind == CONFIG_NOTICE_READ) {
    if (place == kNoticeInReading)
      snprintf(text, size, "Settings not read: %s", reason);
    else
      snprintf(text, size, "Could not read the settings (%s). The defaults are in use; the file is left as it is.",
               reason);
    return "Settings Not Read";
  }
  if (kind == CONFIG_NOTICE_SLOT) {
    if (place == kNoticeInReading)
      snprintf(text, size, "Slot %d not saved: %s", slot + 1, reason);
    else
      snprintf(text, size, "Could not save the settings in slot %d (%s). The slot is unchanged.", slot + 1, reason);
  } else if (place == kNoticeInReading) {
    snprintf(text, size, "Not saved: %s", reason);
  } else if (place == kNoticeInMenus) {
    snprintf(text, size, "Could not save the settings (%s). Changes are kept until you quit.", reason);
  } else {
    snprintf(text, size, "Could not save the settings (%s).", reason);
  }
  return "Settings Not Saved";
}

}  // namespace

char GameTickMuiOffCB() {
  // A frame run by an event pumped during a load would close the book under the converter.
  if (main_loading_book) return 0;
  if (key_down[27] >= 2) {
    key_down[27] = 0;
    GameEnterMenus(screen_main, 1);
    return 0;
  }
  if (!MainTick()) {
    MainExit();
    ComWinCloseProgram();
    return 0;
  }
  // After the keys, so the box of the change whose save failed does not cover the notice. The
  // box holds one short line.
  char text[64];
  if (GameTakeNotice(kNoticeInReading, text, sizeof(text))) MainDisplayBoxMessage(5, text);
  if (g_cursor_is_on && Now() - g_last_cursor_moved_time > 2500) GameTurnOffFullScreenCursor(0);
  PaperTick();
  return 1;
}

char GameTickMuiOnCB() {
  char text[256];
  if (!MuiPopupIsOn())
    if (const char* title = GameTakeNotice(kNoticeInMenus, text, sizeof(text))) MuiPopupSimpleMessage(title, text);
  return 1;
}

void GameUpdateForPageRotation() {
  const _MainRotation& r = MainGetRotation(config.rotation);
  if (r.page_radians == 0)
    ComGlMiscSetTransformMatrixIdentity();
  else
    ComGlMiscSetTransformMatrixPosRotRad(r.page_x, r.page_y, 0, 0, 0, r.page_radians);
}

void GameRestoreAfterPageRotation() { ComGlMiscSetTransformMatrixIdentity(); }

void GameRenderMuiOffCB() {
  if (PaperIsLoaded())
    PaperRenderBackground();
  else
    ComGlMiscClearScreenBuffer();
  GameUpdateForPageRotation();
  MainRender();
  GameRestoreAfterPageRotation();
  if (run_windowed) GameDrawMacWindowCorner();
}

void GameRenderMuiOnPreMuiCB() {
  if (PaperIsLoaded())
    PaperRenderBackground();
  else
    ComGlMiscClearScreenBuffer();
}

void GameRenderMuiOnPostMuiFullVpCB() {
  if (run_windowed) GameDrawMacWindowCorner();
  if (ScreensGetCurrent() == screen_main) MainControlRender();
}

void GameDrawMacWindowCorner() {
  if (!ComGlMiscIs2DPrepared() || !mac_win_corner_tex.created) return;
  if (MuiIsOn()) {
    ComGlMiscEnableBlendingType(0);
    ComGlTextureDraw(&mac_win_corner_tex);
    ComGlMiscDisableBlending();
  } else if (!ComFreeTypeIsReadyForDrawing()) {
    ComGlTextureDraw(&mac_win_corner_tex);
  } else {
    ComFreeTypeRestoreAfterDrawing();
    ComGlMiscSaveOrRestoreBlendingState(1);
    ComGlMiscEnableBlendingType(0);
    ComGlTextureDraw(&mac_win_corner_tex);
    ComGlMiscSaveOrRestoreBlendingState(0);
    ComFreeTypePrepareForDrawing(1);
  }
}

void GamePre3dExitCB() {
  // Only 1 is the second run of the pair; any other value counts as 0.
  config.run_counter = config.run_counter == 1 ? 0 : 1;
  if (main_loading_book) {
    quit_loading_book = 1;
    MainQuitLoadingBook();
  }
  // A page turned since the last frame is where the book is: save that, not the last frame's.
  MainUpdateBookReadPerc();
  ConfigSave(1);
  // A failure not told yet (the first of the run came at exit) is told once the window is gone.
  if (!cmw_after_exit_popup_on) {
    char text[256];
    if (const char* title = GameTakeNotice(kNoticeAfterExit, text, sizeof(text)))
      ComWinSetAfterExitPopupMessage(const_cast<char*>(title), text, 1);
  }
  MainExit();
  MainControlCleanup();
  ResolutionUpdateSettingsFromCurrent();
  ResolutionSaveSettings();
  DebugPlainText("------------");
  DebugPlainText("Program Exit");
  DebugPlainText("------------");
}

void GameDestroyGraphicsCB() {
  GetFileRestoreCurrentDirectory();
  if (mac_win_corner_tex.created) ComGlTextureRelease(&mac_win_corner_tex);
  MainDestroyGraphics();
  PaperDestroyGraphics();
  GameReleaseBookFont();
  LecFontMainDestroy(mui_font, 1);
  GameSaveCurrentBookConfigAndCloseBook(0);
  ComFreeTypeRestoreAfterDrawingIfNeeded();
  if (ComGlMiscIs2DPrepared() == 1) ComGlMiscRestoreAfter2D();
}

void GameReleaseMuiFont() {
  if (mui_font->setup) LecFontMainDestroy(mui_font, 1);
}

void GameReleaseBookFont() {
  if (book_font->setup) ComFreeTypeRelease(book_font);
}

char GameIsDepthBufferRequiredCB() { return 0; }

void GameMouseEnteringOrLeavingWindowCB() { GameMouseMoveCB(-1, -1); }

void GameMouseMoveCB(int x, int y) {
  if (x == -10000) {
    gm_ignore_next_move = 1;
    return;
  }
  int dx = abs(x - gm_last_xpos), dy = abs(y - gm_last_ypos);
  char outside = x < 0 && y < 0;
  if (outside) dx = dy = 10;
  gm_last_xpos = x;
  gm_last_ypos = y;
  if (gm_ignore_next_move) {
    gm_ignore_next_move = 0;
    return;
  }
  if (MuiIsOn()) return;
  if (g_cursor_is_on) {
    int w = WIDTH > 0 ? WIDTH : 1, h = HEIGHT > 0 ? HEIGHT : 1;
    if (outside)
      MainProcessMouseMove(-1, -1);
    else
      MainProcessMouseMove(x * 640 / w, y * 480 / h);
    if (dx > 4 || dy > 4) g_last_cursor_moved_time = Now();
  } else if ((dx > 4 || dy > 4) && !outside) {
    g_last_cursor_moved_time = Now();
    GameTurnOnFullScreenCursor(0);
  }
}

void GameTurnOnFullScreenCursor(char flag) {
  ComWinTurnOnCursor();
  g_cursor_is_on = 1;
  MainTurnOnMenu(flag);
  MainUpdateAfterScrollingOrMuiChange();
}

void GameTurnOffFullScreenCursor(char flag) {
  ComWinTurnOffCursor();
  g_cursor_is_on = 0;
  MainTurnOffMenu(flag);
  g_last_cursor_moved_time = Now();
  MainUpdateAfterScrollingOrMuiChange();
}

void GameResetTurnOffCursorTime() { g_last_cursor_moved_time = Now(); }

char GameMousePressCB(char button, char down) { return MainProcessMousePress(button, down) ? 1 : 0; }

void GameMouseWheelInputCB(int delta) { MainProcessMouseWheelInput(delta); }

void GameMouseDoubleClickMuiOffCB(char button) { MainProcessMouseDoubleClick(button); }

char GameKeyCharMuiOffCB(int key) {
  if (key >= 'A' && key <= 'Z') key = key - 'A' + 'a';
  MainProcessCharKey((char)key);
  return 0;
}
