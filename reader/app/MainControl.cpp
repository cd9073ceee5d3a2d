// The main menu's controls. The options screen's boxes come with the menu layer's widgets; what
// the reading view needs of it is here: Continue.
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

char from_main_screen;

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
