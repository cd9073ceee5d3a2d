// The main menu (options screen) and the book fonts of the system's font folder.
#ifndef MAINCONTROL_H
#define MAINCONTROL_H

struct _ComFreeTypeFont;

struct _MainFontInfo {
  char file[256];     // the name inside the font folder
  char family[256];
  char style[128];
};

extern char mc_font_path[512];
extern _MainFontInfo* font_infos;
extern int num_fonts;
extern int mc_cur_font;
extern char from_main_screen;

char MainControlGetFontPath();
char MainControlGetFontDetails(char* file, char* family, char* style);
char MainSetupFont();
int MainControlSortFonts(const void* a, const void* b);
char MainControlLoadFontFromFile(char* file, _ComFreeTypeFont* font);
char MainControlLoadCurrentFont();
void MainControlUpdateFontSizeAndColour();
void MainControlCleanup();

void CreateMainMuiBoxes();
void MainControlStartingCB();
void MainControlRender();
void MainReturnCB(char code);

#endif
