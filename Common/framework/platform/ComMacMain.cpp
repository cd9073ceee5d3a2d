// The process entry point: working folder, display modes, the application's set-up, window,
// pre-3D set-up, graphics, the main loop and the orderly shut-down.
#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <string>

#include "ComDebug.h"
#include "ComGlFont.h"
#include "ComGlLights.h"
#include "ComMacModes.h"
#include "ComLList.h"
#include "ComMacMessageBox.h"
#include "ComMacSignals.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Mui.h"

// The application's set-up call.
char GameSetupAll_MAC(int argc, char** argv);

// The start-up rule for the set-up call and the three start-up callbacks: above 0 goes on;
// below 0 ends quietly; 0 is logged and shown. Answers 1 to go on.
static char StartupStepOk(char result, const char* log_text, const char* box_text) {
  if (result > 0) return 1;
  if (result == 0) {
    DebugError("main", "%s", log_text);
    ComWinPopupMessage("Error", box_text, 1);
  }
  DebugExit();
  ComMacMiscIORestoreMouseScaling();
  return 0;
}

static int FailStartup() {
  DebugExit();
  ComMacMiscIORestoreMouseScaling();
  return -1;
}

// No window or OpenGL context could be made: what failed and SDL's reason, on the standard error
// stream for whoever started the program, and in the log.
static int FailNoWindow(const char* prog, const char* what, const char* why) {
  DebugError("main", "%s <%s>", what, why);
  fprintf(stderr, "%s: %s: %s\n", prog && prog[0] ? prog : "lectrel", what, why);
  return FailStartup();
}

int main(int argc, char** argv) {
  // A termination signal is the quit command from the first moment on; SDL's own handlers (which
  // only cover two of the three signals and no dialog) are not wanted.
  ComMacSignalsInstall();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");

  // 1. The working folder is the resource folder beside the executable.
  char path[512];
  if (!ComMacMiscGetResourceFolder(path, 481)) {
    ComWinPopupMessage("Error", "Internal Error 0x01 [bundle]", 1);
    DebugError("main", "Could not get resource path - trying default ...");
    snprintf(path, sizeof(path), "./Resources");
  }
  snprintf(mac_resource_path, sizeof(mac_resource_path), "%s", path);
  if (chdir(mac_resource_path) != 0) {
    ComWinPopupMessage("Error", "Internal Error 0x03 [chdir] - MAC", 1);
    DebugExit();
    return -1;
  }

  // Random numbers differ from run to run.
  srand(ComWinGetTickCount());

  // The display modes, listed before anything asks for a window size. Without a display there
  // is nothing to show: the program ends once the application has named its log.
  char no_display[512];
  const bool has_display = ComMacWinStartVideo(no_display, sizeof(no_display));
  if (has_display) {
    ComGlMiscGetResolutionModes(1);
    if (ComGlResModesGetNumModes() <= 2) ComGlMiscGetResolutionModes(0);
  }

  // The application's set-up, then its settings before the window exists.
  if (!StartupStepOk(GameSetupAll_MAC(argc, argv), "GameSetupAll_MAC Failed", "Internal Error [GameSetupAll - MAC]"))
    return -1;
  const char* prog = argc > 0 ? argv[0] : nullptr;
  if (!has_display) return FailNoWindow(prog, "SDL_Init failed", no_display);
  if (cmw_main_cb.pre_create_window &&
      !StartupStepOk(cmw_main_cb.pre_create_window(argc, argv), "Pre Create Window Callback Failed",
                     "Internal Error [PreCreateWindowCb - MAC]"))
    return -1;

  // A termination signal during the application's start-up (its dialog, a box) ends the program
  // before a window is made: nothing is open that needs saving.
  if (ComMacSignalsReceived()) return FailStartup();

  // The window.
  if (!ComMacWinCreateWindow()) {
    DebugError("main", "ComMacWinCreateWindow failed");
    std::string why = SDL_GetError();
    ComWinPopupMessage("Error", "Internal Error [Create Window - MAC]", 1);
    return FailNoWindow(prog, "Could not create the window", why.c_str());
  }

  // The menu layer, screens, fonts and lights start empty, before any context exists.
  MuiTexturesPre3dInit();
  MuiPre3dInit();
  ComScreenInit();
  ComGlFontPre3dInit();
  ComGlLightsPre3dInit();

  // The application's styling before the OpenGL context.
  if (cmw_main_cb.pre_3d &&
      !StartupStepOk(cmw_main_cb.pre_3d(argc, argv), "Pre 3D Callback Failed", "Internal Error [Pre3dCb - MAC]"))
    return -1;

  // A drawable too small to draw in is taken as the virtual screen's size.
  ComMacWinSettleScreenSize("main", "");
  ComGlMiscCalcCurrentTime();

  // The OpenGL context with its default state and the application's graphics.
  if (!ComMacWinCreateGraphics()) {
    DebugError("main", "ComMacWinCreateGraphics failed");
    std::string why = SDL_GetError();
    ComMacWinDeleteGraphics();
    ComWinPopupMessage("Error", "Internal Error [Create Graphics - MAC]", 1);
    return FailNoWindow(prog, "Could not create the OpenGL context", why.c_str());
  }
  glViewport(0, 0, WIDTH, HEIGHT);

  // The application's last word before the loop: screens, the book opened.
  if (cmw_main_cb.post_3d &&
      !StartupStepOk(cmw_main_cb.post_3d(argc, argv), "Post 3D Callback Failed", "Internal Error [Post3dCb - MAC]"))
    return -1;

  // The main loop, until a quit request.
  if (cmw_main_loop_uses_timers)
    ComMacWinRunTimerLoop();
  else
    ComMacWinRunPollingLoop();

  // Shut-down, in the reverse order of the start.
  ComScreenExit();
  MuiExit();
  if (cmw_main_cb.pre_3d_exit) cmw_main_cb.pre_3d_exit();
  ComMacWinDeleteGraphics();
  if (cmw_main_cb.post_3d_exit) cmw_main_cb.post_3d_exit();
  ComMacWinDoAfterExit();
  ComLListExit();
  DebugExit();
  ComMacMiscIORestoreMouseScaling();
  return 0;
}
