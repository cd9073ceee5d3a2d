// The display-mode file "Resolution.dat" (window or full screen, size, depth, rate, anti-aliasing)
// and the start-up display dialog.
#ifndef RESOLUTION_H
#define RESOLUTION_H

#include <cstdint>
#include <cstddef>

struct _Resolution {
  float version;          // 1.0
  uint8_t reserved;
  uint8_t windowed;
  uint8_t pad0[2];
  int32_t win_width;
  int32_t win_height;
  int32_t win_bpp;
  int32_t fs_width;
  int32_t fs_height;
  int32_t fs_bpp;
  int32_t fs_frequency;
  uint8_t anti_aliasing;
  uint8_t reserved2;
  uint8_t pad1[2];
};
static_assert(sizeof(_Resolution) == 40, "the display-mode file is 40 bytes");
static_assert(offsetof(_Resolution, windowed) == 5, "layout of the display-mode file");
static_assert(offsetof(_Resolution, win_width) == 8, "layout of the display-mode file");
static_assert(offsetof(_Resolution, fs_frequency) == 32, "layout of the display-mode file");
static_assert(offsetof(_Resolution, anti_aliasing) == 36, "layout of the display-mode file");

extern _Resolution resolution;
extern char res_file_str[1024];
extern char r_start_game;     // 1 when the dialog's Start was pressed
extern char r_web_str[4096];  // the last web page or request URL built

struct ComMacGuiCommand;

void ResolutionSetupFilename();
void ResolutionSetupFilenameMac();
char ResolutionLoadSettings();
void ResolutionSaveSettings();
void ResolutionSetDefaultResolution();
void ResolutionUpdateSettingsFromCurrent();
void ResolutionSetSettings();
char ResolutionDoDialog(int argc, char** argv);
char ResolutionDoDialogMac();
void ResolutionSettingsSetup();
void ResolutionResModeChanged(char keep_rate);
int32_t ResolutionMainEH(void* call_ref, ComMacGuiCommand* event, void* user_data);
void ResolutionEnsureWindowedModeNotTooBig();

// The maker's web pages (100 home page, 101 forum, 102 support, 103 version check, 0 to 7 the
// maker's other programs, anything else all of them), opened in the user's browser. They and the
// tell-a-friend script lie on the maker's web site, VariousGetWebSite().
void ResolutionGoToWebSite(char page);
// The tell-a-friend form for this reader.
void ResolutionTellAFriend();

#endif
