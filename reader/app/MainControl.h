// The main menu (options screen): the settings of the reading view on four pages, a live sample
// of the book font, and the buttons that lead to the other screens, back to reading or out.
#ifndef MAINCONTROL_H
#define MAINCONTROL_H

#include "MainFonts.h"

// The screen's boxes, created in this order: the controls of one page have consecutive ids.
extern int muiMainSampleBox, muiMainOptions, muiMainFont, muiMainBlur, muiMainSize, muiMainWidth,
    muiMainHeight, muiMainYGap, muiMainParSpacing, muiMainXMargin, muiMainYMargin,
    muiMainYMarginLines, muiMainRotation, muiMainPageBreaks, muiMainInvertCols,
    muiMainTextBrightness, muiMainBgBrightness, muiMainTextColBack, muiMainTextCol,
    muiMainBgColBack, muiMainBgCol, muiMainBgPaper, muiMainBgPaperSize, muiMainBgPaperContrast,
    muiMainResWin, muiMainProgressBar, muiMainProgressBarHeight, muiMainBattery,
    muiMainBatteryAlpha, muiMainProcess, muiMainProcessInfo, muiMainOpen, muiMainControls,
    muiMainReturn, muiMainAbout, muiMainExit, muiMainTitle1, muiMainTitle2, muiMainTitle3,
    muiMainTitle4, muiMainTitle, muiMainSave, muiMainLoad;

extern char mc_options_strs[4][512];  // the page names of the page choice
extern int mc_where_to;               // the web page last asked for
extern char from_main_screen;         // 1: the Load screen was opened from here

void CreateMainMuiBoxes();
void DoCreateMainMuiBoxes();
void CreateMainMuiBoxesNoRemove();
void MainControlStartingCB();
void MainOptionsCB(char code);
void MainControlRender();

// The bars of the text's size and shape. Code 99 only sets the bar up; 0 (a drag or click has
// ended) also re-centres its range on the new value; any other code updates the sample.
void MainSizeCB(char code);
void MainWidthCB(char code);
void MainHeightCB(char code);
void MainYGapCB(char code);
// A code of 0 or more swaps the colour scheme; a negative one only writes the label.
void MainInvertColsCB(char code);

void MainSaveCB(char code);
void MainLoadCB(char code);
void MainOpenCB(char code);
void MainControlsCB(char code);
void MainReturnCB(char code);
void MainAboutCB(char code);
void MainExitCB(char code);
void MainTitle1CB(char code);
void MainTitle2CB(char code);
void MainTitle3CB(char code);
void MainTitle4CB(char code);
void MainControlGoOnline(int page);
void MainControlGoOnline(int page, char code);
void MainWebForumsCB(char code);

#endif
