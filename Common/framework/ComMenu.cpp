// The in-window menu bar does not exist on this platform: every operation is empty and every
// query answers 0.
#include "ComMenu.h"

void ComMenuNew(void) {}
void ComMenuSetupTextures(_ComGlDxTexture*, _ComGlDxTexture*, _ComGlDxTexture*, _ComGlDxTexture*,
                          _ComGlDxTexture*, _ComGlDxTexture*, _ComGlDxTexture*, _ComGlDxTexture*) {}
void ComMenuSetSizes(int, float, float, int, int, int, int, int, int, char) {}
void ComMenuSetTextColours(float, float, float, float, float, float, float, float, float) {}
void ComMenuAutoHide(char) {}
void ComMenuTurnOn(void) {}
void ComMenuTurnOff(void) {}
void ComMenuStartHiding(void) {}
void ComMenuHide(void) {}
void ComMenuUnhide(void) {}
void ComMenuHideNow(void) {}
void ComMenuUnhideNow(void) {}
void ComMenuFree(void) {}
void ComMenuUpdateBoxPositions(void) {}
void ComMenuSetFullViewport(void) {}
void ComMenuSetMainScreenViewport(void) {}
void ComMenuRender(void) {}
void ComMenuExit(void) {}
void ComMenuCheckRow(int, int, char) {}
void ComMenuCheckRowUsingUserData(int, char, char, char) {}
void ComMenuCheckSubRow(int, int, int, char) {}
void ComMenuCheckSubRowUsingUserData(int, int, char, char, char) {}
void ComMenuEnableRow(int, int, char) {}
void ComMenuEnableSubRow(int, int, int, char) {}
void ComMenuSetExtraMenuText(char, const char*) {}

int ComMenuAddCol(const char*) { return 0; }
int ComMenuAddRowToCol(int, const char*, const char*, ComMenuCallback, char) { return 0; }
int ComMenuAddSubMenuToCol(int, const char*) { return 0; }
int ComMenuAddRowToSubMenu(int, int, const char*, const char*, ComMenuCallback, char) { return 0; }
int ComMenuGetNumCols(void) { return 0; }
int ComMenuGetNumRowsInCol(int) { return 0; }
int ComMenuGetNumSubsInRow(int, int) { return 0; }
int ComMenuMouseMove(int, int) { return 0; }
int ComMenuMousePress(char, char) { return 0; }
int ComMenuIsOn(void) { return 0; }
int ComMenuIsShown(void) { return 0; }
int ComMenuIsHidden(void) { return 0; }
int ComMenuGetMenuBarHeight(void) { return 0; }
int ComMenuGetMenuBarScreenHeight(void) { return 0; }
