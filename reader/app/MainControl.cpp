// The main menu: the reading view's settings on four pages (Font, Layout, Colors, Misc.), a live
// sample of the book font, and the buttons to the Load and Slots screens, back to reading and out.
// Every control writes its setting at once; Continue reopens the book so that the layout takes
// the new values.
#include "MainControl.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComFreeType.h"
#include "ComGlMisc3D.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Game.h"
#include "LecFont.h"
#include "MainGeometry.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiChoice.h"
#include "MuiColour.h"
#include "MuiList.h"
#include "MuiPopup.h"
#include "MuiScrollbar.h"
#include "Paper.h"
#include "Resolution.h"
#include "Screens.h"
#include "Slots.h"

int muiMainSampleBox = -1, muiMainOptions = -1, muiMainFont = -1, muiMainBlur = -1, muiMainSize = -1,
    muiMainWidth = -1, muiMainHeight = -1, muiMainYGap = -1, muiMainParSpacing = -1,
    muiMainXMargin = -1, muiMainYMargin = -1, muiMainYMarginLines = -1, muiMainRotation = -1,
    muiMainPageBreaks = -1, muiMainInvertCols = -1, muiMainTextBrightness = -1,
    muiMainBgBrightness = -1, muiMainTextColBack = -1, muiMainTextCol = -1, muiMainBgColBack = -1,
    muiMainBgCol = -1, muiMainBgPaper = -1, muiMainBgPaperSize = -1, muiMainBgPaperContrast = -1,
    muiMainResWin = -1, muiMainProgressBar = -1, muiMainProgressBarHeight = -1, muiMainBattery = -1,
    muiMainBatteryAlpha = -1, muiMainProcess = -1, muiMainProcessInfo = -1, muiMainOpen = -1,
    muiMainControls = -1, muiMainReturn = -1, muiMainAbout = -1, muiMainExit = -1,
    muiMainTitle1 = -1, muiMainTitle2 = -1, muiMainTitle3 = -1, muiMainTitle4 = -1,
    muiMainTitle = -1, muiMainSave = -1, muiMainLoad = -1;

char mc_options_strs[4][512];
int mc_where_to;
char from_main_screen;

namespace {

// The option controls share the page choice's column and these six rows.
const int kLeft = 28, kRight = 341;
const int kRowTop[6] = {214, 244, 274, 304, 334, 365};
const int kRowBottom[6] = {242, 272, 302, 332, 362, 393};
const int kPickerLeft = 237;

const char* const kSampleText =
    "SAMPLE TEXT\n\nHow mine eyes throw gazes to the east! My heart doth charge the watch; the "
    "morning rise doth cite each moving sense from idle rest. Not daring trust the office of mine "
    "eyes, while Philomela sits and sings, I sit and mark, and wish her lays were tuned like the "
    "lark.";

// ---- Creating the boxes ----


// An option control in row 1..6 of the column. The button faces are light, so the texts keep the
// toolkit's dark colour.
int AddOption(int row, void (*callback)(char), const char* text) {
  return ScreensAddBox(kLeft, kRowTop[row - 1], kRight, kRowBottom[row - 1], callback, "bmp_wbox", 14, 8, text);
}

int AddBar(int row, void (*callback)(char), const char* text) {
  int id = AddOption(row, callback, text);
  MuiSetType(id, MUI_TYPE_SCROLLBAR);
  MuiScrollbarSetValues(id, 0, 100, 10, 10);
  return id;
}

int AddMainButton(int x1, int x2, void (*callback)(char), const char* text) {
  return ScreensAddBox(x1, 417, x2, 473, callback, "bmp_main", 14, 9, text);
}

// ---- Helpers of the controls ----

void BindFloatBar(int id, float* variable, float lo, float hi, float jump, float step) {
  MuiScrollbarSetValuesFloat(id, lo, hi, jump, step);
  MuiScrollbarRegisterFloatVariable(id, variable, 1.0f, 0);
}

void BindMargins() {
  BindFloatBar(muiMainXMargin, MainSideMarginSetting(), 0, 30, 3, 0.5f);
  BindFloatBar(muiMainYMargin, MainTopMarginSetting(), 0, 30, 3, 0.5f);
}

// The text's size and shape bars move within a third to 1.666 times the value they were last
// centred on, held inside the range the settings record allows; re-centring after every drag
// lets the user walk further, but never past that range.
void SizeBar(int id, float* variable, float _Config::*field, char code) {
  if (code != 99) MainControlUpdateFontSizeAndColour();
  if (code != 0 && code != 99) return;
  float v = *variable;
  if (!(v >= 0.01f)) v = 0.01f;
  v = ConfigKeepInRange(field, v);
  float lo = v, hi = v;
  ConfigFloatRange(field, &lo, &hi);
  float min = v / 3, max = v * 1.666f;
  if (min < lo) min = lo;
  if (max > hi) max = hi;
  *variable = v;
  MuiScrollbarSetValuesFloat(id, min, max, (max - min) / 10, (max - min) / 100);
  MuiScrollbarRegisterFloatVariable(id, variable, 1.0f, 0);
  MuiSetArrowsState(id, 0, 0);
}

void SetTitleColour() {
  float t = config.dark_on_bright ? 0.0f : 1.0f;
  MuiSetTextColourFloat(muiMainTitle, t, t, t, t, t, t);
}

// A cycling button: a code of 0 or more advances the setting, any code writes the label.
template <typename T>
void Cycle(int id, T* setting, int count, const char* const* labels, char code) {
  if (*setting < 0 || *setting >= count) *setting = 0;
  if (code >= 0) *setting = (T)((*setting + 1) % count);
  MuiSetText(id, labels[(int)*setting]);
}

// ---- The controls' callbacks ----

void FontCB(char code) {
  if (code == 0) return;
  int index = MuiListGetPos(muiMainFont);
  if (index < 0 || index >= num_fonts) return;
  if (book_font->setup && index == mc_cur_font && strcmp(font_infos[index].file, mc_font_name) == 0) return;
  if (!MainControlSwitchFont(index)) DebugError("MainFontCB", "Could not load font");
  MuiListSetPos(muiMainFont, mc_cur_font);
}

void BlurCB(char code) {
  if (code != 0) return;
  // The smoothing is baked into the character textures: the font is made again.
  if (!MainControlSwitchFont(mc_cur_font)) DebugError("MainBlurCB", "Could not load font");
}

// The bar writes its setting itself; the book is laid out with it at Continue.
void SettingOnlyCB(char code) { (void)code; }

void YMarginLinesCB(char code) {
  static const char* const kLabels[] = {
      "Top / Bottom Margin Lines: Off", "Top / Bottom Margin Lines: Thin",
      "Top / Bottom Margin Lines: Medium", "Top / Bottom Margin Lines: Thick"};
  Cycle(muiMainYMarginLines, &config.margin_lines, 4, kLabels, code);
}

void RotationCB(char code) {
  static const char* const kNames[] = {"Normal  (1)", "90 Degrees  (2)", "180 Degrees  (3)", "270 Degrees  (4)"};
  if (config.rotation < 0 || config.rotation > 3) config.rotation = 0;
  if (code >= 0) {
    config.rotation = (config.rotation + 1) % 4;
    BindMargins();
  }
  MuiSetTextPrintf(muiMainRotation, "Rotation: %s", kNames[config.rotation]);
}

void PageBreaksCB(char code) {
  if (code >= 0) {
    config.page_divisions = config.page_divisions ? 0 : 1;
    if (config.page_divisions)
      MuiPopupSimpleMessage(
          "PAGE DIVISIONS",
          "Page divisions should be turned off normally, and only turned on if for some reason the "
          "program fails to join consecutive pages together correctly.\n\nFor this reason, they are "
          "turned off for each new eBook opened.\n\nIf page divisions are shown even when this option "
          "is off, this means the program was unable to join consecutive pages in this eBook.");
  }
  MuiSetText(muiMainPageBreaks, config.page_divisions ? "Page Divisions: On" : "Page Divisions: Off");
}

// Text brightness and colour: the sample takes them at once.
void TextColourCB(char code) {
  (void)code;
  MainControlUpdateFontSizeAndColour();
}

void BgBrightnessCB(char code) {
  (void)code;
  MainSetBackgroundColour();
}

void BgColCB(char code) {
  if (code == 0) MainSetBackgroundColour();
}

void BgPaperCB(char code) {
  if (config.paper < 0 || config.paper > 15) config.paper = 0;
  // A paper under bright text needs a background bright enough to show its grain.
  if (code != 0 && config.paper > 0 && !config.dark_on_bright && config.background_brightness < 0.3f) {
    config.background_brightness = 0.3f;
    MuiScrollbarUpdateFromRegisteredVariable(muiMainBgBrightness, 0);
  }
  MuiSetActiveState(muiMainBgPaperSize, config.paper > 0);
  MuiSetActiveState(muiMainBgPaperContrast, config.paper > 0);
  if (code != 2) {
    PaperReload();
    MainSetBackgroundColour();
  }
}

void BgPaperSizeCB(char code) {
  (void)code;
  PaperSetPaperSize();
}

void BgPaperContrastCB(char code) {
  if (code == 0) PaperReload();
}

void ResWinCB(char code) {
  if (code >= 0) config.show_resolution_window = config.show_resolution_window ? 0 : 1;
  MuiSetText(muiMainResWin, config.show_resolution_window ? "Resolution Window: On" : "Resolution Window: Off");
}

void ProgressBarCB(char code) {
  static const char* const kLabels[] = {
      "Progress Bar: Auto-Hide (Bottom)", "Progress Bar: Auto-Hide (Top)",
      "Progress Bar: Always On (Bottom)", "Progress Bar: Always On (Top)"};
  Cycle(muiMainProgressBar, &config.bar_mode, 4, kLabels, code);
}

void BatteryCB(char code) {
  static const char* const kLabels[] = {
      "Show Battery When Draining", "Show Battery When Draining And Less Than 50%",
      "Show Battery When Draining And Less Than 25%", "Show Battery When Draining And Less Than 10%",
      "Show Battery Always", "Never Show Battery"};
  Cycle(muiMainBattery, &config.battery_mode, 6, kLabels, code);
}

void ProcessCB(char code) {
  if (code >= 0) config.reduce_power = config.reduce_power ? 0 : 1;
  MuiSetText(muiMainProcess, config.reduce_power ? "Reduce Processing Power: On" : "Reduce Processing Power: Off");
}

void ProcessInfoCB(char code) {
  (void)code;
  MuiPopupSimpleMessage(
      "REDUCE PROCESSING POWER",
      "Controls whether processing power is reduced in text-scrolling mode.\n\nIf processing power "
      "is reduced, the smoothness of the scrolling is affected, but the program uses less of your "
      "computer processing power.\n\nProcessing power is automatically reduced when scrolling is not "
      "active.");
}

void MouseControlsPopup(char) {
  MuiPopupMessage("MOUSE CONTROLS",
                  "Left Button: Next Page\n\nRight Button: Turn Scrolling On or Off\n\nScroll Wheel: "
                  "Jump Backwards of Forwards\n(when scrolling is off)\n\nScroll Wheel: Adjust "
                  "Scrolling Speed\n(when scrolling is on)\n\nClick on Progress Bar: Move within Book\n",
                  0, nullptr);
}

void KeyControls2Popup(char) {
  MuiPopupMessage("KEY CONTROLS - PART 2",
                  "+,-: Adjust Font Size\n\nA,Z: Adjust Font Width\n\nS,X: Adjust Font Height\n\nD,C: "
                  "Adjust Line Spacing\n\nF,V: Adjust Paragraph Spacing\n\nG,B: Adjust Side "
                  "Margin\n\nH,N: Adjust Top & Bottom Margin\n\n9,0: Adjust Text Transparency\n\nO,P: "
                  "Adjust Background Brightness\n\n1,2,3,4: Adjust Screen Rotation",
                  0, MouseControlsPopup);
}

// Opens the web page once the notice has been seen, the program closed first in full screen.
void OpenAskedPage() { ResolutionGoToWebSite((char)mc_where_to); }

void CloseForBrowser(char) {
  ComWinSetAfterExitCallback(OpenAskedPage);
  ComWinCloseProgram();
}

// The font list is only needed while the screen is up.
void LeaveScreen() { MainControlCleanup(); }

void StoreReadingPlace() {
  if (pdf_filename[0]) MainUpdateBookReadPerc();
  ConfigSave(1);
}

}  // namespace

// ---- The screen ----

void CreateMainMuiBoxes() {
  MuiRemoveAllBoxes();
  DoCreateMainMuiBoxes();
}

void CreateMainMuiBoxesNoRemove() { DoCreateMainMuiBoxes(); }

void DoCreateMainMuiBoxes() {
  muiMainSampleBox = ScreensAddBox(370, 127, 616, 389, nullptr, "bmp_none", 14, 8, "");
  MuiSetTabstop(muiMainSampleBox, 0);
  muiMainOptions = ScreensAddBox(kLeft, 160, kRight, 201, MainOptionsCB, "bmp_wbox", 14, 8, "");
  MuiSetType(muiMainOptions, MUI_TYPE_CHOICE);

  muiMainFont = AddOption(1, FontCB, "Unset");
  MuiSetType(muiMainFont, MUI_TYPE_LIST);
  muiMainBlur = AddBar(2, BlurCB, "Font Smoothing");
  muiMainSize = AddBar(3, MainSizeCB, "Font Size  (-,+)");
  muiMainWidth = AddBar(4, MainWidthCB, "Font Width  (A,Z)");
  muiMainHeight = AddBar(5, MainHeightCB, "Font Height  (S,X)");
  muiMainYGap = AddBar(6, MainYGapCB, "Line Spacing  (D,C)");

  muiMainParSpacing = AddBar(1, SettingOnlyCB, "Paragraph Spacing  (F,V)");
  muiMainXMargin = AddBar(2, SettingOnlyCB, "Side Margin Width  (G,B)");
  muiMainYMargin = AddBar(3, SettingOnlyCB, "Top / Bottom Margin Height   (H,N)");
  muiMainYMarginLines = AddOption(4, YMarginLinesCB, "Top / Bottom Margin Lines: Unset");
  muiMainRotation = AddOption(5, RotationCB, "Rotation");
  muiMainPageBreaks = AddOption(6, PageBreaksCB, "Page Dividors: Off");

  muiMainInvertCols = AddOption(1, MainInvertColsCB, "Invert Colours");
  muiMainTextBrightness = AddBar(2, TextColourCB, "Text Transparency  (9,0)");
  muiMainBgBrightness = AddBar(4, BgBrightnessCB, "Background Brightness  (O,P)");
  muiMainTextColBack = AddOption(3, nullptr, "Text Colour");
  MuiSetTabstop(muiMainTextColBack, 0);
  MuiSetButtonDrawType(muiMainTextColBack, MUI_TEXT_LEFT);
  muiMainTextCol = ScreensAddBox(kPickerLeft, 275, 337, 301, TextColourCB, "bmp_none", 14, 8, "");
  MuiSetType(muiMainTextCol, MUI_TYPE_COLOUR);
  MuiSetArrowsState(muiMainTextCol, 1, 1);
  muiMainBgColBack = AddOption(5, nullptr, "Background Colour");
  MuiSetTabstop(muiMainBgColBack, 0);
  MuiSetButtonDrawType(muiMainBgColBack, MUI_TEXT_LEFT);
  muiMainBgCol = ScreensAddBox(kPickerLeft, 335, 337, 361, BgColCB, "bmp_none", 14, 8, "");
  MuiSetType(muiMainBgCol, MUI_TYPE_COLOUR);
  MuiSetArrowsState(muiMainBgCol, 1, 1);
  muiMainBgPaper = AddOption(6, BgPaperCB, "Unset");
  MuiSetType(muiMainBgPaper, MUI_TYPE_LIST);
  muiMainBgPaperSize = AddBar(6, BgPaperSizeCB, "Size");
  muiMainBgPaperContrast = AddBar(6, BgPaperContrastCB, "Contrast");

  muiMainResWin = AddOption(1, ResWinCB, "Unset");
  muiMainProgressBar = AddOption(2, ProgressBarCB, "Progress Bar: Unset");
  muiMainProgressBarHeight = AddBar(3, SettingOnlyCB, "Progress Bar Height");
  muiMainBattery = AddOption(4, BatteryCB, "Battery Indicator");
  muiMainBatteryAlpha = AddBar(5, SettingOnlyCB, "Battery Transparency");
  muiMainProcess = AddOption(6, ProcessCB, "Processing Power");
  muiMainProcessInfo = ScreensAddBox(kRight - 20, kRowTop[5], kRight, kRowBottom[5], ProcessInfoCB, "bmp_box", 14, 8, "?");

  muiMainOpen = AddMainButton(17, 95, MainOpenCB, "Open");
  muiMainControls = AddMainButton(125, 203, MainControlsCB, "Controls");
  muiMainReturn = AddMainButton(227, 403, MainReturnCB, "Continue");
  MuiSetBothTexts(muiMainReturn, "Continue", "Reading");
  // Escape opened the menu from the page; on this screen it goes back to reading.
  MuiSetEscape(muiMainReturn, 1);
  muiMainAbout = AddMainButton(433, 511, MainAboutCB, "About");
  muiMainExit = AddMainButton(546, 624, MainExitCB, "Exit");

  muiMainTitle1 = ScreensAddBox(4, 8, 156, 93, MainTitle1CB, "bmp_none", 14, 8, "");
  muiMainTitle2 = ScreensAddBox(164, 8, 316, 93, MainTitle2CB, "bmp_none", 14, 8, "");
  muiMainTitle3 = ScreensAddBox(324, 8, 476, 93, MainTitle3CB, "bmp_none", 14, 8, "");
  muiMainTitle4 = ScreensAddBox(484, 8, 636, 93, MainTitle4CB, "bmp_none", 14, 8, "");
  muiMainTitle = ScreensAddBox(kLeft, 115, kRight, 140, nullptr, "bmp_none", 20, 14, "Quorvane Lectrel");
  MuiSetTabstop(muiMainTitle, 0);
  muiMainSave = ScreensAddBox(344, 161, 385, 181, MainSaveCB, "bmp_main", 10, 7, "Save");
  muiMainLoad = ScreensAddBox(344, 181, 385, 201, MainLoadCB, "bmp_main", 10, 7, "Load");
}

void MainOptionsCB(char code) {
  (void)code;
  if (config.options_page < 0 || config.options_page > 3) config.options_page = 0;
  int x1 = kLeft, y1 = 0, x2 = kRight, y2 = 0;
  MuiGetDimensions(muiMainOptions, &x1, &y1, &x2, &y2);
  for (int id = muiMainFont; id <= muiMainProcessInfo; id++) {
    MuiShowButton(id, 0);
    int a, top, b, bottom;
    MuiGetDimensions(id, &a, &top, &b, &bottom);
    MuiSetDimensions(id, x1, top, x2, bottom);
  }
  auto narrow = [](int id, int left, int right) {
    int a, top, b, bottom;
    MuiGetDimensions(id, &a, &top, &b, &bottom);
    MuiSetDimensions(id, left, top, right, bottom);
  };
  narrow(muiMainProcess, x1, x2 - 22);
  narrow(muiMainProcessInfo, x2 - 20, x2);
  // The pickers keep the left edge they were made with, so the row's label stays readable at
  // the left of the row; they end 3 units in from its right.
  narrow(muiMainTextCol, kPickerLeft, x2 - 3);
  narrow(muiMainBgCol, kPickerLeft, x2 - 3);
  narrow(muiMainBgPaper, x1, x2 / 2 - 1);
  narrow(muiMainBgPaperSize, x2 / 2 + 1, x2 * 3 / 4 - 1);
  narrow(muiMainBgPaperContrast, x2 * 3 / 4 + 1, x2);

  int first = muiMainFont, last = muiMainYGap;
  switch (config.options_page) {
    case 1: first = muiMainParSpacing; last = muiMainPageBreaks; break;
    case 2: first = muiMainInvertCols; last = muiMainBgPaperContrast; break;
    case 3: first = muiMainResWin; last = muiMainProcessInfo; break;
    default: break;
  }
  for (int id = first; id <= last; id++) MuiShowButton(id, 1);
  // Without a font list the default font is used and there is nothing to choose.
  if (!font_infos || num_fonts <= 0) MuiShowButton(muiMainFont, 0);
}

void MainControlStartingCB() {
  MainSetBackgroundColour();
  if (MainSetupFont()) {
    MuiListSetValues(muiMainFont, num_fonts, MainControlFillFontListCB);
    MuiListRegisterIntVariable(muiMainFont, &mc_cur_font);
  } else {
    MuiShowButton(muiMainFont, 0);
  }
  MainSizeCB(99);
  MainWidthCB(99);
  MainHeightCB(99);
  MainYGapCB(99);

  if (config.smoothing < 0) config.smoothing = 0;
  if (config.smoothing > 10) config.smoothing = 10;
  MuiScrollbarSetValues(muiMainBlur, 0, 10, 1, 1);
  MuiScrollbarRegisterIntVariable(muiMainBlur, &config.smoothing, 1, 0);
  config.paragraph_spacing = ConfigKeepInRange(&_Config::paragraph_spacing, config.paragraph_spacing);
  BindFloatBar(muiMainParSpacing, &config.paragraph_spacing, 0, 1, 0.1f, 0.01f);
  BindMargins();
  BindFloatBar(muiMainTextBrightness, &config.text_brightness, 0, 1, 0.1f, 0.01f);
  BindFloatBar(muiMainBgBrightness, &config.background_brightness, 0, 1, 0.1f, 0.01f);
  MuiColourRegisterFloat3Variable(muiMainTextCol, (_MuiFloat3*)config.text_colour);
  MuiColourRegisterFloat3Variable(muiMainBgCol, (_MuiFloat3*)config.background_colour);
  if (config.paper < 0 || config.paper > 15) config.paper = 0;
  MuiListSetValues(muiMainBgPaper, 16, MainControlFillPaperListCB);
  MuiListRegisterIntVariable(muiMainBgPaper, &config.paper);
  BindFloatBar(muiMainBgPaperSize, &config.paper_size, 0, 1, 0.1f, 0.01f);
  BindFloatBar(muiMainBgPaperContrast, &config.paper_contrast, 0, 1, 0.1f, 0.01f);
  BindFloatBar(muiMainProgressBarHeight, &config.bar_height, 0, 30, 3, 0.5f);
  BindFloatBar(muiMainBatteryAlpha, &config.battery_transparency, 0, 1, 0.1f, 0.01f);

  const char kLabelOnly = (char)255;
  MainInvertColsCB(kLabelOnly);
  RotationCB(kLabelOnly);
  ResWinCB(kLabelOnly);
  BatteryCB(kLabelOnly);
  PageBreaksCB(kLabelOnly);
  ProgressBarCB(kLabelOnly);
  YMarginLinesCB(kLabelOnly);
  BgPaperCB(2);
  ProcessCB(kLabelOnly);

  snprintf(mc_options_strs[0], sizeof(mc_options_strs[0]), "%s", "Font");
  snprintf(mc_options_strs[1], sizeof(mc_options_strs[1]), "%s", "Layout");
  snprintf(mc_options_strs[2], sizeof(mc_options_strs[2]), "%s", "Colors");
  snprintf(mc_options_strs[3], sizeof(mc_options_strs[3]), "%s", "Misc.");
  if (config.options_page < 0 || config.options_page > 3) config.options_page = 0;
  MuiChoiceSetStrings(muiMainOptions, 4, mc_options_strs);
  MuiChoiceRegisterCharVariable(muiMainOptions, &config.options_page, 1);
  MainOptionsCB(config.options_page);

  if (!MainControlLoadCurrentFont()) DebugError("MainControlStartingCB", "Could not load font");
  MainControlUpdateFontSizeAndColour();

  MuiSetBitmap(muiMainTitle1, "bmp_title1");
  MuiSetBitmap(muiMainTitle2, "bmp_title2");
  MuiSetBitmap(muiMainTitle3, "bmp_title3");
  MuiSetBitmap(muiMainTitle4, "bmp_title4");
}

// ---- Size and shape bars ----

void MainSizeCB(char code) { SizeBar(muiMainSize, &text_size_mult, &_Config::text_size, code); }
void MainWidthCB(char code) { SizeBar(muiMainWidth, &font_orig_scale_x, &_Config::text_width, code); }
void MainHeightCB(char code) { SizeBar(muiMainHeight, &font_orig_scale_y, &_Config::text_height, code); }
void MainYGapCB(char code) { SizeBar(muiMainYGap, &line_orig_ygap, &_Config::line_spacing, code); }

// ---- Colour scheme ----

void MainInvertColsCB(char code) {
  if (code >= 0) {
    const float text = config.text_brightness, background = config.background_brightness;
    if (config.dark_on_bright) {
      config.background_brightness = 1 - text;
      config.text_brightness = background;
    } else {
      config.background_brightness = text;
      config.text_brightness = 1 - background;
    }
    config.dark_on_bright = config.dark_on_bright ? 0 : 1;
    // The colour inverted, its brightest channel kept: max + min - c, its own inverse.
    float* c = config.text_colour;
    float mx = c[0], mn = c[0];
    for (int i = 1; i < 3; i++) {
      if (c[i] > mx) mx = c[i];
      if (c[i] < mn) mn = c[i];
    }
    for (int i = 0; i < 3; i++) c[i] = (1 - c[i]) + (mx - (1 - mn));
    MuiScrollbarUpdateFromRegisteredVariable(muiMainTextBrightness, 0);
    MuiScrollbarUpdateFromRegisteredVariable(muiMainBgBrightness, 0);
    MuiColourUpdateFromFloatVar(muiMainTextCol, 0);
    BgPaperCB(1);
  }
  MuiSetText(muiMainInvertCols,
             config.dark_on_bright ? "Dark Text on Bright Background" : "Bright Text on Dark Background");
  MainControlUpdateFontSizeAndColour();
  MainSetBackgroundColour();
  SetTitleColour();
}

// ---- The sample ----

void MainControlRender() {
  if (!book_font || !book_font->setup) return;
  int x1 = 370, y1 = 127, x2 = 616, y2 = 389;
  if (muiMainSampleBox >= 0) MuiGetDimensions(muiMainSampleBox, &x1, &y1, &x2, &y2);
  float w = (float)(x2 - x1 - 40), h = (float)(y2 - y1 - 40);
  if (w <= 0 || h <= 0) return;
  const float cx = (x1 + x2) / 2.0f, cy = (y1 + y2) / 2.0f;
  char prepared_here = 0;
  ComFreeTypePrepareForDrawingIfNeeded(1, &prepared_here);
  // Turned like the page: a quarter turn swaps the sample's width and height.
  const _MainRotation& r = MainGetRotation(config.rotation);
  if (r.turned) {
    float t = w;
    w = h;
    h = t;
  }
  // The text space runs downwards from the top of the 480-unit screen while the transform works
  // upwards: the sample is set around the origin, then turned and moved onto the box's centre.
  ComGlMiscSetTransformMatrixPosRotRad(cx, 480 - cy, 0, 0, 0, r.page_radians);
  ComFreeTypeDrawMultilineText(book_font, 0, 480 - h / 2, w, h, 1, 0, kSampleText, 1, 0, nullptr,
                               nullptr, nullptr, nullptr);
  ComGlMiscSetTransformMatrixIdentity();
  if (prepared_here) ComFreeTypeRestoreAfterDrawing();
}

// ---- Buttons ----

void MainSaveCB(char code) {
  (void)code;
  ConfigSave(0);
  LeaveScreen();
  slots_is_saving = 1;
  ScreensGoto(screen_slots);
}

void MainLoadCB(char code) {
  (void)code;
  StoreReadingPlace();
  LeaveScreen();
  slots_is_saving = 0;
  ScreensGoto(screen_slots);
}

void MainOpenCB(char code) {
  (void)code;
  StoreReadingPlace();
  LeaveScreen();
  from_main_screen = 1;
  ScreensGoto(screen_load_file);
}

void MainControlsCB(char code) {
  (void)code;
  MuiPopupMessage("KEY CONTROLS - PART 1",
                  "Space Bar: Turn Scrolling On or Off\n\n\n-- When Scrolling Off --\n\nLeft,Right "
                  "Arrow: Previous or Next Page*\n\nUp,Down Arrow: Previous or Next Page*\n\n\n-- When "
                  "Scrolling On --\n\nUp,Down Arrow: Adjust Scrolling Speed*\n\nLeft,Right Arrow: Jump "
                  "Backwards or Forwards*\n\n\n*Hold down Ctrl to move faster",
                  0, KeyControls2Popup);
}

void MainReturnCB(char code) {
  (void)code;
  // The Escape that continued reading is still down: the page must not take it as a new one and
  // open the menu again.
  key_down[27] = 0;
  LeaveScreen();
  ScreensEnd();
  MainDisplayBoxMessage(3, (char*)"Loading eBook");
  ConfigSave(0);
  GameDoPostResolutionChangeCB(0);
}

void MainAboutCB(char code) {
  (void)code;
  char text[512];
  snprintf(text, sizeof(text),
           "\nVersion: %.2f\n\nAn eBook reader for PDF, HTML and text files.\n\nText drawn with "
           "FreeType, windows by SDL and GTK.\n\nCreated with the help of Xpdf",
           (double)GAME_PROGRAM_VERSION);
  MuiPopupSimpleMessage("Quorvane Lectrel", text);
}

void MainExitCB(char code) {
  (void)code;
  LeaveScreen();
  ComWinCloseProgram();
}

// The title pictures open the maker's pages; which of two pages the last two open follows the
// run counter, as their pictures do.
void MainTitle1CB(char code) {
  (void)code;
  MainControlGoOnline(0);
}

void MainTitle2CB(char code) {
  (void)code;
  MainControlGoOnline(1);
}

void MainTitle3CB(char code) {
  (void)code;
  MainControlGoOnline(config.run_counter == 1 ? 2 : 3);
}

void MainTitle4CB(char code) {
  (void)code;
  MainControlGoOnline(config.run_counter == 1 ? 7 : 6);
}

void MainWebForumsCB(char code) {
  (void)code;
  MainControlGoOnline(101);
}

void MainControlGoOnline(int page) {
  mc_where_to = page;
  if (run_windowed) {
    MuiPopupMessage("", "Launching web browser ...", 2, nullptr);
    OpenAskedPage();
  } else {
    // A browser cannot come up over a full-screen display: the program closes, then opens it.
    MuiPopupMessage("", "Exiting program and launching web browser ...", 2, CloseForBrowser);
  }
}

void MainControlGoOnline(int page, char code) {
  (void)page;
  (void)code;
}
