// The Load screen. The file selector lists the user's folders; a file chosen there (double click
// or Open) is named with MainSetupFilename, and when that accepts it the menus close and the
// application opens it. A book refused at once is reported here; one whose load fails later brings
// the application back here, where the failure is reported when the screen starts.
#include "Load.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComMacWeb.h"
#include "ComMacWin.h"
#include "Config.h"
#include "Game.h"
#include "GetFile.h"
#include "MainCleanup.h"
#include "MainControl.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiCheckbox.h"
#include "MuiPopup.h"
#include "Screens.h"
#include "Various.h"

int muiLoadExit = -1, muiLoadDir = -1, muiLoadTitle = -1, muiLoadFiles = -1, muiLoadDrive = -1,
    muiLoadBack = -1, muiLoadMainTitle = -1, muiLoadHtmlP = -1, muiLoadReconvert = -1,
    muiLoadFilenames = -1, muiLoadOpen = -1, muiLoadReviews = -1, muiLoadLineBreaksInfo = -1,
    muiLoadCleanup = -1;

char save_pdf_filename[1024];
char lf_err_msg[512];
char lc_review_words[LOAD_MAX_REVIEW_WORDS][LOAD_REVIEW_WORD_SIZE];
int lc_num_review_words;

namespace {

// The bookstore's search page on the maker's site; the query keys and the "books" mode are the
// store's.
const char* const kReviewsSearchPath = "/bookstore/search";


void SetOpenAndReviewsActive(char on) {
  MuiSetActiveState(muiLoadOpen, on);
  MuiSetActiveState(muiLoadReviews, on);
}

bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Takes the word of len bytes at from when it counts: one trailing ',' dropped, then 2 to 63
// characters, an ASCII letter or digit among them and not all digits.
void TakeWord(const char* from, size_t len) {
  if (lc_num_review_words >= LOAD_MAX_REVIEW_WORDS) return;
  if (len > 0 && from[len - 1] == ',') len--;
  if (len < 2 || len >= LOAD_REVIEW_WORD_SIZE) return;
  bool alnum = false, all_digits = true;
  for (size_t i = 0; i < len; i++) {
    unsigned char c = (unsigned char)from[i];
    if (IsAsciiAlnum(c)) alnum = true;
    if (c < '0' || c > '9') all_digits = false;
  }
  if (!alnum || all_digits) return;
  memcpy(lc_review_words[lc_num_review_words], from, len);
  lc_review_words[lc_num_review_words][len] = 0;
  lc_num_review_words++;
}

bool IsUnreserved(unsigned char c) {
  return IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

// Appends text to out at *pos, percent-encoded when encode is set; false when it does not fit.
bool Append(char* out, size_t size, size_t* pos, const char* text, bool encode) {
  static const char kHex[] = "0123456789ABCDEF";
  for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
    size_t need = encode && !IsUnreserved(*p) ? 3 : 1;
    if (*pos + need >= size) return false;
    if (need == 1) {
      out[(*pos)++] = (char)*p;
    } else {
      out[(*pos)++] = '%';
      out[(*pos)++] = kHex[*p >> 4];
      out[(*pos)++] = kHex[*p & 15];
    }
  }
  out[*pos] = 0;
  return true;
}

// The reason is shown once: the popup keeps its own copy.
void ErrorLoadingFile() {
  MuiPopupSimpleMessage("Error Loading File", lf_err_msg[0] ? lf_err_msg : "(unknown error)");
  lf_err_msg[0] = 0;
}

}  // namespace

void CreateLoadMuiBoxes() {
  MuiRemoveAllBoxes();
  DoCreateLoadMuiBoxes();
}

void CreateLoadMuiBoxesNoRemove() { DoCreateLoadMuiBoxes(); }

void DoCreateLoadMuiBoxes() {
  muiLoadExit = ScreensAddBox(546, 416, 624, 472, LoadExitCB, "bmp_main", 12, 10, "Exit");
  muiLoadDir = ScreensAddBox(15, 76, 625, 103, nullptr, "bmp_wbox", 10, 7, "Unset");
  MuiSetTabstop(muiLoadDir, 0);
  muiLoadTitle = ScreensAddBox(147, 52, 494, 71, nullptr, "bmp_none", 12, 10, "Title");
  MuiSetTextColourFloat(muiLoadTitle, 0.8f, 0.8f, 0.8f, 0.8f, 0.8f, 0.8f);
  MuiSetTabstop(muiLoadTitle, 0);
  muiLoadFiles = ScreensAddBox(82, 109, 626, 410, LoadFilesCB, "bmp_wbox", 10, 7, "");
  MuiSetType(muiLoadFiles, MUI_TYPE_PANEL);
  muiLoadDrive = ScreensAddBox(15, 109, 79, 410, LoadDriveCB, "bmp_box", 10, 7, "");
  MuiSetType(muiLoadDrive, MUI_TYPE_PANEL);
  muiLoadBack = ScreensAddBox(16, 416, 94, 472, LoadBackCB, "bmp_main", 12, 10, "Back");
  // Escape leaves the screen the way Back does, whenever Back may be used.
  MuiSetEscape(muiLoadBack, 1);
  muiLoadMainTitle = ScreensAddBox(161, 11, 480, 27, nullptr, "bmp_none", 20, 14, "Quorvane Lectrel");
  MuiSetTabstop(muiLoadMainTitle, 0);
  muiLoadHtmlP = ScreensAddBox(16, 6, 126, 23, LoadHtmlPCB, "bmp_wbox", 9, 7, "Line Breaks: Auto");
  muiLoadReconvert = ScreensAddBox(111, 423, 189, 443, nullptr, "bmp_main", 9, 7, "Reconvert:");
  MuiSetType(muiLoadReconvert, MUI_TYPE_CHECKBOX);
  muiLoadFilenames = ScreensAddBox(112, 443, 190, 467, LoadFilenamesCB, "bmp_main", 9, 7, "File Names");
  muiLoadOpen = ScreensAddBox(193, 416, 271, 472, LoadOpenCB, "bmp_main", 12, 10, "Open");
  muiLoadReviews = ScreensAddBox(369, 416, 447, 472, LoadReviewsCB, "bmp_main", 12, 10, "Reviews");
  // Dark, as every text on the light button faces.
  MuiSetTextColourFloat(muiLoadReviews, 0.08f, 0.08f, 0.08f, 0.08f, 0.08f, 0.08f);
  muiLoadLineBreaksInfo = ScreensAddBox(128, 6, 142, 23, LoadLineBreaksInfoCB, "bmp_box", 9, 7, "?");
  muiLoadCleanup = ScreensAddBox(498, 6, 624, 23, LoadCleanupCB, "bmp_wbox", 9, 7, "Cleanup Files");
}

void LoadControlStartingCB() {
  MainSetBackgroundColour();
  float t = config.dark_on_bright ? 0.0f : 1.0f;
  MuiSetTextColourFloat(muiLoadTitle, t, t, t, t, t, t);
  MuiSetTextColourFloat(muiLoadMainTitle, t, t, t, t, t, t);

  snprintf(save_pdf_filename, sizeof(save_pdf_filename), "%s", pdf_filename);
  MuiSetActiveState(muiLoadBack, from_main_screen ? 1 : 0);

  LoadHtmlPCB(-1);
  load_control_force_reconvert = 0;
  MuiCheckboxRegisterCharVariable(muiLoadReconvert, &load_control_force_reconvert, 0);

  GetFileUseDoubleClick(1);
  GetFileSetTitle("Select eBook to Open");
  GetFileSetButtonIds(muiLoadTitle, muiLoadDir, muiLoadDrive, muiLoadFiles);
  config.last_folder[sizeof(config.last_folder) - 1] = 0;
  if (config.last_folder[0]) GetFileSetStartDir(config.last_folder);
  GetFileSetFileExtensionsToSearchFor("pdf", "txt", "html", "htm", "opf", nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  GetFileSetFinishCB(LoadFileSelectedCB);
  GetFileSetNewDirOrDriveSelectedCB(LoadNewDirOrDriveSelectedCB);
  GetFileStartingCB();
  SetOpenAndReviewsActive(0);

  // A book that failed while loading; or one refused before its load, whose reason is known.
  if (had_problem_loading_book && pdf_filename[0]) {
    MuiPopupSimpleMessage("Error", "Could not open eBook");
    had_problem_loading_book = 0;
    lf_err_msg[0] = 0;
  } else if (lf_err_msg[0]) {
    ErrorLoadingFile();
  }

  MuiShowButton(muiLoadFilenames, 0);
  MuiShowButton(muiLoadReconvert, 0);
}

void LoadNewDirOrDriveSelectedCB(char code) {
  (void)code;
  SetOpenAndReviewsActive(0);
}

void LoadFileSelectedCB(char code) {
  if (code == 2) {
    SetOpenAndReviewsActive(1);
    return;
  }
  if (code != 1) return;
  const char* chosen = GetFileGetFilename();
  if (!chosen[0]) return;
  char path[1024];
  snprintf(path, sizeof(path), "%s", chosen);
  // A file that is there but cannot be read is refused here like any other, with its reason:
  // opening it anyway would only end in a silent failure after the menus are gone.
  if (MainSetupFilename(path, lf_err_msg) != 1) {
    pdf_filename[0] = 0;
    book_name[0] = 0;
    ErrorLoadingFile();
    return;
  }
  from_main_screen = 0;
  snprintf(config.last_folder, sizeof(config.last_folder), "%s", GetFileGetLastDir());
  config.page_divisions = 0;
  ConfigSave(0);
  GetFileExit();
  ScreensEnd();
  GameDoPostResolutionChangeCB(0);
}

void LoadExitCB(char part) {
  (void)part;
  from_main_screen = 0;
  GetFileExit();
  ComWinCloseProgram();
}

void LoadFilesCB(char part) { GetFileFilesCB(part); }

void LoadDriveCB(char part) { GetFileDriveCB(part); }

void LoadBackCB(char part) {
  (void)part;
  if (!from_main_screen) return;
  snprintf(config.last_folder, sizeof(config.last_folder), "%s", GetFileGetLastDir());
  GetFileExit();
  snprintf(pdf_filename, sizeof(pdf_filename), "%s", save_pdf_filename);
  char from = from_main_screen;
  from_main_screen = 0;
  // From the options screen, back to it; from the reading view's own Open, back to the book.
  if (from == 1) ScreensGoBack();
  else MainReturnCB(0);
}

void LoadHtmlPCB(char code) {
  if (code >= 0) {
    config.html_paragraph_spacing = (char)((config.html_paragraph_spacing + 1) % 3);
    load_control_force_reconvert = 1;
  }
  static const char* const kNames[] = {"Less", "More", "Auto"};
  int v = config.html_paragraph_spacing;
  if (v < 0 || v > 2) v = 2;
  MuiSetTextPrintf(muiLoadHtmlP, "Paragraph Spacing: %s", kNames[v]);
}

void LoadFilenamesCB(char part) { (void)part; }

void LoadOpenCB(char part) {
  (void)part;
  LoadFileSelectedCB(1);
}

void LoadLineBreaksInfoCB(char part) {
  (void)part;
  MuiPopupSimpleMessage("PARAGRAPH SPACING",
                        "Controls whether or not extra space is\nadded after paragraphs during file\n"
                        "conversion of HTML, LIT and OPF eBooks.\n\nThe \"Auto\" setting should work "
                        "fine in most cases.");
}

void LoadCleanupCB(char part) {
  (void)part;
  MainCleanupCB();
}

int LoadFindReviewWords(const char* path) {
  lc_num_review_words = 0;
  if (!path) return 0;
  const char* name = path;
  for (const char* p = path; *p; p++)
    if (*p == '/' || *p == '\\') name = p + 1;
  size_t len = strlen(name);
  size_t start = 0;
  for (size_t i = 0; i < len; i++) {
    char c = name[i];
    bool ends = c == ' ' || c == '_' || (c == '.' && i + 5 >= len);
    if (!ends) continue;
    TakeWord(name + start, i - start);
    start = i + 1;
  }
  return lc_num_review_words;
}

char LoadBuildReviewsUrl(char* out, size_t size) {
  if (!out || size == 0) return 0;
  out[0] = 0;
  if (lc_num_review_words < 1) return 0;
  size_t pos = 0;
  bool fits = Append(out, size, &pos, VariousGetWebSite(), false) &&
              Append(out, size, &pos, kReviewsSearchPath, false) &&
              Append(out, size, &pos, "?keyword=", false);
  for (int i = 0; fits && i < lc_num_review_words; i++) {
    if (i > 0) fits = Append(out, size, &pos, "%20", false);
    fits = fits && Append(out, size, &pos, lc_review_words[i], true);
  }
  fits = fits && Append(out, size, &pos, "&mode=books", false);
  // Never a cut address: a shortened query would search for something else.
  if (!fits) out[0] = 0;
  return fits ? 1 : 0;
}

void LoadReviewsCB(char part) {
  (void)part;
  if (!run_windowed) {
    MuiPopupSimpleMessage("ONLINE REVIEWS",
                          "Please restart the program in windowed mode to access the online reviews "
                          "of this book.");
    config.show_resolution_window = 1;
    return;
  }
  if (LoadFindReviewWords(GetFileGetFilename()) < 1) return;
  char url[4096];
  if (!LoadBuildReviewsUrl(url, sizeof(url))) return;
  ComMacWebOpenURL(url);
}
