// The display-mode file "Resolution.dat" and the start-up display dialog.
#include "Resolution.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacGui.h"
#include "Config.h"
#include "Game.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComMacModes.h"
#include "PrefFolder.h"

_Resolution resolution;
char res_file_str[1024];
char r_start_game = 0;

namespace {

// The start-up dialog's window and controls while it is open.
EventHandlerUPP r_upp = nullptr;
WindowRef r_win = nullptr;
ControlRef r_tpic = nullptr, r_mode = nullptr, r_res = nullptr, r_freq = nullptr, r_anti = nullptr,
           r_star = nullptr, r_stgm = nullptr, r_vers = nullptr, r_show = nullptr;
MenuRef r_res_menu = nullptr, r_freq_menu = nullptr, r_anti_menu = nullptr;
PicHandle r_pic = nullptr;

// Values no display or file of ours ever holds: such a file is treated like a damaged one.
bool RecordIsSane(const _Resolution& r) {
  auto size_ok = [](int32_t v) { return v >= 2 && v <= 16384; };
  auto bpp_ok = [](int32_t v) { return v == 16 || v == 24 || v == 32; };
  return r.version == 1.0f && (r.windowed == 0 || r.windowed == 1) && size_ok(r.win_width) &&
         size_ok(r.win_height) && bpp_ok(r.win_bpp) && size_ok(r.fs_width) && size_ok(r.fs_height) &&
         bpp_ok(r.fs_bpp) && r.fs_frequency >= 0 && r.fs_frequency <= 1000 &&
         (r.anti_aliasing == 0 || r.anti_aliasing == 2 || r.anti_aliasing == 4);
}

}  // namespace

void ResolutionSetupFilenameMac() {
  const char* folder = PrefFolderGetMainFolder();
  // Without the preferences folder the file has no place: never the resource folder.
  if (!folder || PrefFolderIsFallback()) {
    DebugError("ResolutionSetupFilename", "No preferences folder");
    res_file_str[0] = 0;
    return;
  }
  int n = snprintf(res_file_str, sizeof(res_file_str), "%s%s%s", folder, "/", "Resolution.dat");
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
      ComFileOpenReadAndClose(res_file_str, &r, sizeof(r)) && RecordIsSane(r)) {
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

// ---- The start-up dialog ----

namespace {

// "%d x %d x %d" of a mode.
void ModeText(char* out, size_t len, int w, int h, int bpp) { snprintf(out, len, "%d x %d x %d", w, h, bpp); }

// Fills the rate list for mode index i of the mode table, selecting the full-screen rate or else
// the last; answers the number of rates.
int FillRates(int i) {
  ComPcMacGuiResetList(0, r_freq_menu);
  if (i < 0 || i >= com_gl_num_res_modes) return 0;
  const _ComGlResMode& m = com_gl_res_modes[i];
  int n = m.num_rates < 0 ? 0 : (m.num_rates > COM_GL_MAX_MODE_RATES ? COM_GL_MAX_MODE_RATES : m.num_rates);
  int pick = n - 1;
  for (int k = 0; k < n; k++) {
    char t[32];
    snprintf(t, sizeof(t), "%d Hz", m.refresh_rates[k]);
    ComPcMacGuiAddStringToList(0, r_freq_menu, 0, t);
    if (m.refresh_rates[k] == resolution.fs_frequency) pick = k;
  }
  ComPcMacGuiSyncList(r_freq);
  ComPcMacGuiSetListPos(0, r_freq, pick);
  return n;
}

void ForgetDialog() {
  r_tpic = r_mode = r_res = r_freq = r_anti = r_star = r_stgm = r_vers = r_show = nullptr;
  r_res_menu = r_freq_menu = r_anti_menu = nullptr;
}

}  // namespace

void ResolutionSettingsSetup() {
  if (!r_mode || !r_res_menu || !r_freq_menu || !r_anti_menu) return;
  ComPcMacGuiEnableList(0, r_res_menu, 1);
  ComPcMacGuiEnableList(0, r_freq_menu, 1);
  ComPcMacGuiEnableControl(0, r_mode, 1);

  int aa = resolution.anti_aliasing == 4 ? 2 : (resolution.anti_aliasing == 2 ? 1 : 0);
  ComPcMacGuiSetListPos(0, r_anti, aa);
  const bool windowed = resolution.windowed != 0;
  ComPcMacGuiSetListPos(0, r_mode, windowed ? 1 : 0);
  ComPcMacGuiEnableList(0, r_res_menu, windowed ? 0 : 1);
  ComPcMacGuiEnableList(0, r_freq_menu, windowed ? 0 : 1);

  {
    // The display's closest mode replaces a full-screen size it does not offer (also while the
    // window is chosen, so the disabled list shows the mode that full screen would take).
    const int w = WIDTH, h = HEIGHT, b = BITDEPTH, f = FREQUENCY;
    const char rw = run_windowed;
    WIDTH = resolution.fs_width;
    HEIGHT = resolution.fs_height;
    BITDEPTH = resolution.fs_bpp;
    FREQUENCY = resolution.fs_frequency;
    run_windowed = 0;
    ComGlResModesEnsureCurrentResModeOk(0);
    resolution.fs_width = WIDTH;
    resolution.fs_height = HEIGHT;
    resolution.fs_bpp = BITDEPTH;
    resolution.fs_frequency = FREQUENCY;
    WIDTH = w, HEIGHT = h, BITDEPTH = b, FREQUENCY = f;
    WIDTH2 = WIDTH / 2;
    HEIGHT2 = HEIGHT / 2;
    run_windowed = rw;
  }

  char want[64];
  ModeText(want, sizeof(want), resolution.fs_width, resolution.fs_height, resolution.fs_bpp);
  int found = -1, n = ComPcMacGuiGetNumItemsInMenu(0, r_res_menu);
  for (int i = 0; i < n && found < 0; i++) {
    char item[256];
    ComPcMacGuiGetListItemString(0, r_res_menu, item, i);
    if (strcmp(item, want) == 0) found = i;
  }
  if (found < 0) {
    DebugError("ResolutionSettingsSetup", "Internal Error");
    ComPcMacGuiEnableList(0, r_freq_menu, 0);
    return;
  }
  ComPcMacGuiSetListPos(0, r_res, found);
  int rates = FillRates(found);
  if (!windowed && rates <= 1) ComPcMacGuiEnableList(0, r_freq_menu, 0);
}

void ResolutionResModeChanged(char keep_rate) {
  if (!r_res || !r_freq) return;
  int rp = ComPcMacGuiGetListPos(0, r_res);
  if (rp < 0 || rp >= com_gl_num_res_modes) return;
  if (!keep_rate) {
    int rates = FillRates(rp);
    ComPcMacGuiEnableList(0, r_freq_menu, rates > 1 ? 1 : 0);
  }
  int fp = ComPcMacGuiGetListPos(0, r_freq);
  if (fp >= 0) {
    char res_text[256], freq_text[256];
    ComMacGuiGetPopupMenuCurrentText(r_res_menu, r_res, res_text);
    ComMacGuiGetPopupMenuCurrentText(r_freq_menu, r_freq, freq_text);
    // Only texts that read back completely change the record.
    int w = 0, h = 0, b = 0, hz = 0;
    if (sscanf(res_text, "%d x %d x %d", &w, &h, &b) == 3) {
      resolution.fs_width = w;
      resolution.fs_height = h;
      resolution.fs_bpp = b;
    }
    if (sscanf(freq_text, "%d Hz", &hz) == 1) resolution.fs_frequency = hz;
  }
  ResolutionSettingsSetup();
}

int32_t ResolutionMainEH(void* call_ref, ComMacGuiCommand* event, void* user_data) {
  (void)call_ref;
  (void)user_data;
  if (!event) return eventNotHandledErr;
  switch (event->command) {
    case ComMacGuiFourCC("MODE"):
      resolution.windowed = ComPcMacGuiGetListPos(0, r_mode) == 1 ? 1 : 0;
      ResolutionResModeChanged(0);
      break;
    case ComMacGuiFourCC("RES "):
      ResolutionResModeChanged(0);
      break;
    case ComMacGuiFourCC("FREQ"):
      ResolutionResModeChanged(1);
      break;
    case ComMacGuiFourCC("ANTI"): {
      int p = ComPcMacGuiGetListPos(0, r_anti);
      resolution.anti_aliasing = p == 2 ? 4 : (p == 1 ? 2 : 0);
      break;
    }
    case ComMacGuiFourCC("AAHE"):
      ComWinPopupMessage("Anti-Aliasing",
                         "Anti-aliasing removes the jagged edges that appear when running the program in low "
                         "resolutions.\n\nNote: Anti-Aliasing is not really needed due to the internal font "
                         "blending used by the program.",
                         0);
      break;
    case ComMacGuiFourCC("STAR"):
      r_start_game = 1;
      if (r_show) {
        char show = ComMacGuiIsButtonChecked(r_show);
        if (show != (config.show_resolution_window ? 1 : 0)) {
          config.show_resolution_window = show;
          ConfigSave(0);
        }
      }
      ComMacGuiEndDialog(event->window);
      break;
    case ComMacGuiFourCC("DONE"):
      ComMacGuiEndDialog(event->window);
      break;
    case ComMacGuiFourCC("HOME"):
      ResolutionGoToWebSite(100);
      break;
    case ComMacGuiFourCC("FORU"):
      ResolutionGoToWebSite(101);
      break;
    case ComMacGuiFourCC("CHVE"):
      ResolutionGoToWebSite(103);
      break;
    case ComMacGuiFourCC("TELF"):
      ResolutionTellAFriend();
      break;
    default:
      return eventNotHandledErr;
  }
  return noErr;
}

char ResolutionDoDialogMac() {
  ResolutionLoadSettings();
  if (com_gl_num_res_modes <= 0) DebugError("ResolutionDoDialogMac", "Could not get any resolution modes");
  r_start_game = 0;
  if (!ComMacGuiLoadDialogFromNib("Resolution", "Startup", ResolutionMainEH, 0, &r_upp, &r_win)) {
    DebugError("ResolutionDoDialogMac", "Could not get create dialog");
    return 0;
  }
  bool ok = ComMacGuiGetControl(r_win, ComMacGuiFourCC("TPIC"), 10, &r_tpic) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("MODE"), 12, &r_mode) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("RES "), 13, &r_res) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("FREQ"), 14, &r_freq) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("ANTI"), 15, &r_anti) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("STAR"), 14, &r_star) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("STGM"), 28, &r_stgm) &&
            ComMacGuiGetControl(r_win, ComMacGuiFourCC("VERS"), 11, &r_vers) &&
            ComMacGuiGetPopupButtonMenu(r_res, &r_res_menu) && ComMacGuiGetPopupButtonMenu(r_freq, &r_freq_menu) &&
            ComMacGuiGetPopupButtonMenu(r_anti, &r_anti_menu);
  if (!ok) {
    ComMacGuiDestroyDialog(&r_upp, &r_win);
    ForgetDialog();
    return 0;
  }
  // The show-at-every-start option is the settings' own flag.
  ComMacGuiGetControl(r_win, ComMacGuiFourCC("SHOW"), 16, &r_show);
  if (r_show) ComMacGuiCheckButton(r_show, config.show_resolution_window ? 1 : 0);

  char text[64];
  snprintf(text, sizeof(text), "V%0.2f", GAME_PROGRAM_VERSION);
  ComPcMacGuiSetStaticTextString(0, r_vers, text);

  ComPcMacGuiResetList(0, r_res_menu);
  for (int i = 0; i < com_gl_num_res_modes; i++) {
    ModeText(text, sizeof(text), com_gl_res_modes[i].width, com_gl_res_modes[i].height,
             com_gl_res_modes[i].bits_per_pixel);
    ComPcMacGuiAddStringToList(0, r_res_menu, 0, text);
  }
  if (com_gl_num_res_modes <= 0) ComPcMacGuiAddStringToList(0, r_res_menu, 0, (char*)"No Resolution Modes");
  ComPcMacGuiSyncList(r_res);

  int aa_pos = ComPcMacGuiGetListPos(0, r_anti);
  ComPcMacGuiResetList(0, r_anti_menu);
  ComPcMacGuiAddStringToList(0, r_anti_menu, 0, (char*)"Off");
  ComPcMacGuiAddStringToList(0, r_anti_menu, 0, (char*)"Medium [2x2]");
  ComPcMacGuiAddStringToList(0, r_anti_menu, 0, (char*)"Strong [4x4]");
  ComPcMacGuiSyncList(r_anti);
  ComPcMacGuiSetListPos(0, r_anti, aa_pos);

  ComMacGuiQtSetPictPictureFromFile(r_tpic, (char*)"Title.jpg", &r_pic);

  ResolutionSettingsSetup();
  ComMacGuiSetKeyboardFocus(r_star);
  ComMacGuiDoDialog(&r_upp, &r_win, 1, 1);
  ComMacGuiQtReleasePicture(&r_pic);
  ForgetDialog();
  return r_start_game ? 1 : -1;
}

char ResolutionDoDialog(int argc, char** argv) {
  (void)argc;
  (void)argv;
  ResolutionLoadSettings();
  char r = ResolutionDoDialogMac();
  if (r == 0) {
    // A dialog that cannot be shown must not keep the reader from starting: the stored (or
    // default) display mode is used and the dialog is offered again next time.
    DebugError("ResolutionDoDialog", "Could not show the display dialog - using the stored display mode");
    ResolutionSetSettings();
    return 1;
  }
  if (r < 0) return r;
  ResolutionSetSettings();
  ResolutionSaveSettings();
  return r;
}
