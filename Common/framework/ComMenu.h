// The in-window menu bar. On this platform there is none: every operation exists so callers link
// and run, does nothing, and every query answers 0 (so no space is ever kept for a menu bar).
#ifndef COM_MENU_H
#define COM_MENU_H

struct _ComGlDxTexture;

typedef void (*ComMenuCallback)(char);

void ComMenuNew(void);
void ComMenuSetupTextures(_ComGlDxTexture* t1, _ComGlDxTexture* t2, _ComGlDxTexture* t3,
                          _ComGlDxTexture* t4, _ComGlDxTexture* t5, _ComGlDxTexture* t6,
                          _ComGlDxTexture* t7, _ComGlDxTexture* t8);
void ComMenuSetSizes(int a, float b, float c, int d, int e, int f, int g, int h, int i, char j);
void ComMenuSetTextColours(float r1, float g1, float b1, float r2, float g2, float b2, float r3,
                           float g3, float b3);
void ComMenuAutoHide(char on);
void ComMenuTurnOn(void);
void ComMenuTurnOff(void);
void ComMenuStartHiding(void);
void ComMenuHide(void);
void ComMenuUnhide(void);
void ComMenuHideNow(void);
void ComMenuUnhideNow(void);
void ComMenuFree(void);
void ComMenuUpdateBoxPositions(void);
void ComMenuSetFullViewport(void);
void ComMenuSetMainScreenViewport(void);
void ComMenuRender(void);
void ComMenuExit(void);
void ComMenuCheckRow(int column, int row, char checked);
void ComMenuCheckRowUsingUserData(int column, char user_data, char checked, char exclusive);
void ComMenuCheckSubRow(int column, int row, int sub_row, char checked);
void ComMenuCheckSubRowUsingUserData(int column, int row, char user_data, char checked, char exclusive);
void ComMenuEnableRow(int column, int row, char enabled);
void ComMenuEnableSubRow(int column, int row, int sub_row, char enabled);
void ComMenuSetExtraMenuText(char which, const char* text);

int ComMenuAddCol(const char* title);
int ComMenuAddRowToCol(int column, const char* text, const char* key, ComMenuCallback callback, char user_data);
int ComMenuAddSubMenuToCol(int column, const char* text);
int ComMenuAddRowToSubMenu(int column, int sub_menu, const char* text, const char* key, ComMenuCallback callback,
                           char user_data);
int ComMenuGetNumCols(void);
int ComMenuGetNumRowsInCol(int column);
int ComMenuGetNumSubsInRow(int column, int row);
int ComMenuMouseMove(int x, int y);
int ComMenuMousePress(char button, char down);
int ComMenuIsOn(void);
int ComMenuIsShown(void);
int ComMenuIsHidden(void);
int ComMenuGetMenuBarHeight(void);
int ComMenuGetMenuBarScreenHeight(void);

#endif
