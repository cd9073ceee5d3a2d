// The reading view: loading a book. Its globals are shared with the book conversion, which reads
// the open book's paths and load flags and calls back for its progress display and character tests.
#ifndef MAINLOAD_H
#define MAINLOAD_H

#include "BookLine.h"

extern char pdf_filename[1024];   // the open book's full path, whatever its type
extern char text_filename[1024];  // its converted text file
extern char book_name[512];       // file name without folder and last extension
extern char* buffer;              // two 10000-byte work buffers, alive during a load
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

#endif
