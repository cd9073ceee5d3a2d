// The main menu's controls and the book fonts. The options screen's boxes come with the menu
// layer's widgets; what the reading view needs of it is here: creating the book font from a font
// file with the smoothing setting, the font list's release, and Continue.
#include "MainControl.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComFreeType.h"
#include "Config.h"
#include "Game.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "Screens.h"

char mc_font_path[512];
_MainFontInfo* font_infos;
int num_fonts;
int mc_cur_font = -1;
char from_main_screen;

char MainControlGetFontPath() {
  snprintf(mc_font_path, sizeof(mc_font_path), "%s", "/usr/share/fonts");
  if (!ComFileDirectoryExists(mc_font_path)) {
    DebugError("MainControlGetFontPath", "System font path does not exist <%s>", mc_font_path);
    return 0;
  }
  return 1;
}

char MainControlGetFontDetails(char* file, char* family, char* style) {
  if (!file) return 0;
  char path[1024], fam[256] = "", sty[128] = "";
  int n = snprintf(path, sizeof(path), "%s%s%s", mc_font_path, "/", file);
  if (n < 0 || (size_t)n >= sizeof(path)) return 0;
  if (!ComFreeTypeGetFontFileDetails(path, fam, sty) || !fam[0]) return 0;
  if (family) snprintf(family, 256, "%s", fam);
  if (style) snprintf(style, 128, "%s", sty);
  return 1;
}

int MainControlSortFonts(const void* a, const void* b) {
  const _MainFontInfo* x = static_cast<const _MainFontInfo*>(a);
  const _MainFontInfo* y = static_cast<const _MainFontInfo*>(b);
  int c = strcmp(x->family, y->family);
  if (c) return c;
  if (strcmp(x->style, "Bold") == 0 && strcmp(y->style, "Bold Italic") == 0) return -1;
  if (strcmp(x->style, "Bold Italic") == 0 && strcmp(y->style, "Bold") == 0) return 1;
  return strcmp(y->style, x->style);
}

// The list of system fonts comes with the options screen; without it the chosen font file or the
// default font is used.
char MainSetupFont() {
  MainControlCleanup();
  return 0;
}

char MainControlLoadFontFromFile(char* file, _ComFreeTypeFont* font) {
  if (!file || !file[0] || !font) return 0;
  if (!MainControlGetFontPath()) return 0;
  char path[1024];
  int n = snprintf(path, sizeof(path), "%s%s%s", mc_font_path, "/", file);
  if (n < 0 || (size_t)n >= sizeof(path)) return 0;
  int32_t words[16] = {0};
  int s = config.smoothing < 0 ? 0 : (config.smoothing > 10 ? 10 : config.smoothing);
  words[0] = s > 0 ? 2 : 0;
  words[5] = s;
  words[6] = s;
  static_assert(sizeof(_ComFreeTypeCreationEffects) == sizeof(words), "sixteen 32-bit words");
  _ComFreeTypeCreationEffects effects;
  memcpy(&effects, words, sizeof(effects));
  ComFreeTypeSetCreationEffects(&effects);
  char ok = ComFreeTypeCreate(path, 144, 64, 256, 0.059057f, 0.099549f, -0.081967f, 40, 0, 0, 0, 0, 1,
                              font);
  ComFreeTypeSetCreationEffects(nullptr);
  if (!ok) {
    DebugError("MainControlLoadFontFromFile", "ComFreeTypeCreate failed");
    return 0;
  }
  return 1;
}

void MainControlUpdateFontSizeAndColour() {
  if (!book_font || !book_font->setup) return;
  MainSetBackgroundAndFontColours();
}

char MainControlLoadCurrentFont() {
  if (book_font->setup) return 1;
  if (!font_infos || num_fonts <= 0) {
    DebugError("MainControlLoadCurrentFont", "No fonts");
    if (!LecFontMainCreate(book_font, 0)) {
      DebugError("MainControlLoadCurrentFont", "Could not load default font");
      return 0;
    }
    return 1;
  }
  if (mc_cur_font < 0 || mc_cur_font >= num_fonts) {
    DebugError("MainControlLoadCurrentFont", "Invalid Parameters");
    return 0;
  }
  if (!MainControlLoadFontFromFile(font_infos[mc_cur_font].file, book_font)) return 0;
  MainControlUpdateFontSizeAndColour();
  snprintf(mc_font_name, sizeof(mc_font_name), "%s", font_infos[mc_cur_font].file);
  return 1;
}

void MainControlCleanup() {
  free(font_infos);
  font_infos = nullptr;
  num_fonts = 0;
}

void CreateMainMuiBoxes() {}

void MainControlStartingCB() { MainSetBackgroundColour(); }

void MainControlRender() {}

void MainReturnCB(char code) {
  (void)code;
  MainControlCleanup();
  ScreensEnd();
  MainDisplayBoxMessage(3, (char*)"Loading eBook");
  ConfigSave(0);
  GameDoPostResolutionChangeCB(0);
}
