// The Load screen, where a book is chosen: the file selector over the user's folders with the
// program's own buttons around it (paragraph spacing, Cleanup Files, Reviews, Open, Back, Exit).
#ifndef LOAD_H
#define LOAD_H

#include <cstddef>

#define LOAD_MAX_REVIEW_WORDS 20
#define LOAD_REVIEW_WORD_SIZE 64  // 63 characters and the terminator

extern int muiLoadExit, muiLoadDir, muiLoadTitle, muiLoadFiles, muiLoadDrive, muiLoadBack,
    muiLoadMainTitle, muiLoadHtmlP, muiLoadReconvert, muiLoadFilenames, muiLoadOpen, muiLoadReviews,
    muiLoadLineBreaksInfo, muiLoadCleanup;

extern char save_pdf_filename[1024];  // the open book when the screen started; Back puts it back
extern char lf_err_msg[512];          // why the last chosen book could not be opened
extern char lc_review_words[LOAD_MAX_REVIEW_WORDS][LOAD_REVIEW_WORD_SIZE];
extern int lc_num_review_words;

void CreateLoadMuiBoxes();
void DoCreateLoadMuiBoxes();
void CreateLoadMuiBoxesNoRemove();
void LoadControlStartingCB();

void LoadNewDirOrDriveSelectedCB(char code);
void LoadFileSelectedCB(char code);
void LoadExitCB(char part);
void LoadFilesCB(char part);
void LoadDriveCB(char part);
void LoadBackCB(char part);
void LoadHtmlPCB(char code);
void LoadFilenamesCB(char part);
void LoadOpenCB(char part);
void LoadReviewsCB(char part);
void LoadLineBreaksInfoCB(char part);
void LoadCleanupCB(char part);

// The search words of a book's file name (folders and extension left out) into lc_review_words;
// answers their number.
int LoadFindReviewWords(const char* path);
// The bookstore search address for lc_review_words, each word percent-encoded; 0 when there is
// no word or the address would not fit in size bytes.
char LoadBuildReviewsUrl(char* out, size_t size);

#endif
