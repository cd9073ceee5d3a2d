// The main menu (options screen) and the book fonts of the system's font folder.
#ifndef MAINCONTROL_H
#define MAINCONTROL_H

#include "MainFonts.h"

extern char from_main_screen;

void CreateMainMuiBoxes();
void MainControlStartingCB();
void MainControlRender();
void MainReturnCB(char code);

#endif
