// The book fonts: the list of the system's font files for the main menu's font list, the default
// choice when the settings name none, and the book font made from a font file.
#ifndef MAINFONTS_H
#define MAINFONTS_H

#include <vector>

struct _ComFreeTypeFont;

struct _MainFontInfo {
  char file[256];     // the path inside the font folder
  char family[256];
  char style[128];
};

extern char mc_font_path[512];
extern _MainFontInfo* font_infos;  // the sorted list, num_fonts entries, null without a list
extern int num_fonts;
extern int mc_cur_font;            // index in font_infos, -1 none
extern char m_font_str[512];       // the font list's label buffer
extern char m_paper_str[512];      // the paper list's label buffer

// Folders nested deeper than this below the font folder are not listed.
const int MAIN_FONTS_MAX_DEPTH = 8;

// The font folder; null restores the system's "/usr/share/fonts" (tests point it elsewhere).
void MainFontsSetRoot(const char* root);

// Every font file below root (at most MAIN_FONTS_MAX_DEPTH folders deep, each folder once however
// it is linked) that FreeType opens and that names a family, sorted. Returns 0 when root cannot be
// opened.
char MainFontsList(const char* root, std::vector<_MainFontInfo>* out);
// The list's order: family ascending, style descending with "Bold" right before "Bold Italic",
// then file name; a strict weak order.
bool MainFontsLess(const _MainFontInfo& a, const _MainFontInfo& b);

// The font taken when the settings name none, with the layout values that suit it.
struct MainFontChoice {
  int index;          // -1 for an empty list
  char set_layout;    // 1: size, width, height and spacing below replace the settings
  float size, width, height, spacing;
};
MainFontChoice MainFontsChooseDefault(const _MainFontInfo* fonts, int n);

char MainControlGetFontPath();
char MainControlGetFontDetails(char* file, char* family, char* style);
char MainSetupFont();
int MainControlSortFonts(const void* a, const void* b);
char* MainControlFillFontListCB(int i);
char* MainControlFillPaperListCB(int i);
char MainControlLoadFontFromFile(char* file, _ComFreeTypeFont* font);
char MainControlLoadCurrentFont();
// Makes the book font anew from entry `index` (the current one again after a smoothing change).
// When that fails the previous font comes back, else the default font: the book font is never
// left released. Returns 1 when the asked font was made.
char MainControlSwitchFont(int index);
void MainControlUpdateFontSizeAndColour();
void MainControlCleanup();

#endif
