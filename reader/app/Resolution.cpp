// The display-mode file "Resolution.dat" and the start-up display choice.
#include "Resolution.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComGlMiscModes.h"
#include "PrefFolder.h"

_Resolution resolution;
char res_file_str[1024];

void ResolutionSetupFilenameMac() {
  const char* folder = PrefFolderGetMainFolder();
  int n = snprintf(res_file_str, sizeof(res_file_str), "%s%s%s", folder ? folder : ".", "/",
                   "Resolution.dat");
  if (n < 0 || (size_t)n >= sizeof(res_file_str)) {
    DebugError("ResolutionSetupFilename", "Path too long");
    res_file_str[0] = 0;
  }
}

void ResolutionSetupFilename() { ResolutionSetupFilenameMac(); }

void ResolutionSetDefaultResolution() {
  memset(&resolution, 0, sizeof(resolution));
  int w = 0, h = 0;
  if (!ComMacMiscGetDesktopSize(&w, &h) || w < 2 || h < 2) {
    w = 1024;
    h = 768;
  }
  resolution.version = 1.0f;
  resolution.windowed = 1;
  resolution.win_width = w;
  resolution.win_height = h;
  resolution.win_bpp = 32;
  resolution.fs_width = 1024;
  resolution.fs_height = 768;
  resolution.fs_bpp = 32;
  resolution.fs_frequency = 60;
  resolution.anti_aliasing = 0;
}

void ResolutionSetSettings() {
  const _Resolution& r = resolution;
  if (r.windowed)
    ComMacWinSetInitialResolution(r.win_width, r.win_height, r.win_bpp, 0, 1, (char)r.anti_aliasing);
  else
    ComMacWinSetInitialResolution(r.fs_width, r.fs_height, r.fs_bpp, r.fs_frequency, 0,
                                  (char)r.anti_aliasing);
}

char ResolutionLoadSettings() {
  ResolutionSetupFilename();
  char ok = 0;
  _Resolution r;
  if (res_file_str[0] && ComFileExists(res_file_str) &&
      ComFileGetSizeFilename(res_file_str) == (int32_t)sizeof(_Resolution) &&
      ComFileOpenReadAndClose(res_file_str, &r, sizeof(r)) && r.version == 1.0f &&
      (r.windowed == 0 || r.windowed == 1)) {
    resolution = r;
    ok = 1;
  } else {
    ResolutionSetDefaultResolution();
  }
  ResolutionSetSettings();
  return ok;
}

void ResolutionSaveSettings() {
  ResolutionSetupFilename();
  if (!res_file_str[0]) return;
  void* f = ComFileCreateForWriting(res_file_str);
  if (!f) {
    char text[1400];
    snprintf(text, sizeof(text),
             "Could not create file  %s  . \n\n Ensure the disk is not full and has writing permission.",
             res_file_str);
    ComWinPopupMessage("Problem Creating to Resolution File", text, 1);
    return;
  }
  char ok = ComFileWrite(f, &resolution, sizeof(resolution));
  ok = ComFileClose(f) && ok;
  if (!ok) {
    char text[1200];
    snprintf(text, sizeof(text), "Could not write to file  %s  .", res_file_str);
    ComWinPopupMessage("Problem Writing to Resolution File", text, 1);
  }
}

void ResolutionUpdateSettingsFromCurrent() {
  resolution.version = 1.0f;
  resolution.windowed = run_windowed ? 1 : 0;
  if (run_windowed) {
    resolution.win_width = WIDTH;
    resolution.win_height = HEIGHT;
    resolution.win_bpp = BITDEPTH;
  } else {
    resolution.fs_width = WIDTH;
    resolution.fs_height = HEIGHT;
    resolution.fs_bpp = BITDEPTH;
    resolution.fs_frequency = FREQUENCY;
  }
  resolution.anti_aliasing = (uint8_t)ANTI_ALIASING;
}

void ResolutionEnsureWindowedModeNotTooBig() {}

// The start-up dialog comes with the interface-file dialogs; until then the program starts with
// the stored or default display mode.
char ResolutionDoDialogMac() {
  ResolutionLoadSettings();
  if (com_gl_num_res_modes <= 0) DebugError("ResolutionDoDialogMac", "Could not get any resolution modes");
  return 1;
}

char ResolutionDoDialog(int argc, char** argv) {
  (void)argc;
  (void)argv;
  ResolutionLoadSettings();
  char r = ResolutionDoDialogMac();
  if (r <= 0) return r;
  ResolutionSetSettings();
  ResolutionSaveSettings();
  return r;
}
