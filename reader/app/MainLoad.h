// The reading view: loading a book. Its globals are shared with the book conversion, which reads
// the open book's paths and load flags and calls back for its progress display and character tests.
#ifndef MAINLOAD_H
#define MAINLOAD_H

#include "BookLine.h"

struct _ComGlDxTexture;

extern char pdf_filename[1024];   // the open book's full path, whatever its type
extern char text_filename[1024];  // its converted text file
extern char book_name[512];       // file name without folder and last extension
extern char* buffer;              // two work buffers of MAIN_BUFFER_SIZE bytes, alive during a load
extern char* buffer2;
extern char main_loading_book;
extern char quit_loading_book;
extern char had_problem_loading_book;
extern char load_control_force_reconvert;
extern float max_draw_width;      // the page width that the formatter wraps to
extern double cur_book_height;
extern double total_book_height;
extern float book_read_perc;

extern _Line* formatted_line_list;
extern int num_formatted_lines;

extern char display_str[512];    // the progress box's text

char MainDisplayProgressMessage(char* text, float fraction);
void MainTurnOffBoxMessage();
char MainCharIsWhitespace(unsigned char c, char nbsp_too);
char MainCharIsAlphaNumeric(unsigned char c);
char MainStringIsWhitespace(unsigned char* s);
char MainStringIsAlphaNumeric(unsigned char* s);
char MainStringIsNumeric(unsigned char* s);

// The rest of the loading side of the reading view (used by the application and its screens).
#define MAIN_BUFFER_SIZE BOOK_WORK_BUFFER_SIZE

extern char m_render_box;            // 0 none, else the kind of the message box shown
extern float m_render_box_alpha;     // remaining life in seconds, alpha up to 1
extern char m_render_box_str[128];
extern char draw_progress_string;    // the progress box is shown
extern float display_perc;           // 0..1; -1 no percentage; -2 neither percentage nor hint
extern _ComGlDxTexture misc_tex;     // "Misc.tga": box, bar and battery pieces
extern char use_command_line;        // a path handed to MainSetupFilename is taken (1 at start)

signed char MainSetupFilename(char* path, char* error_text);
// Writes format with one path into error_text (512 bytes); a path too long for it is shortened from
// its front, so the file name at its end is still told.
void MainSetPathMessage(char* error_text, const char* format, const char* arg);
char MainInit();
void MainExit();
void MainFreeLineList();
void MainQuitLoadingBook();
void MainResetLastFileLoadedConfigEntry();
void MainDisplayBoxMessage(char kind, char* text);
void MainCalcTotalBookHeight();
void MainSnapDrawLinePosIfNeeded();
void MainUpdateDrawLinePosFromBookReadPerc();
void MainUpdateBookReadPerc();
char MainLoadGraphics();
void MainDestroyGraphics();

#endif
