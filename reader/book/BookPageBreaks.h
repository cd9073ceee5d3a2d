// Page-break analysis: finds the running headers, footers and page numbers that stand at every
// page break of a converted book and tells the later passes which file lines to drop.
#ifndef BOOKPAGEBREAKS_H
#define BOOKPAGEBREAKS_H

#include <cstdint>

// Results of the last analysis; the reading view resets them when a book is closed.
extern uint32_t* page_breaks;       // file line index of every form-feed line, in file order
extern int num_page_breaks;         // lines of the file that begin with a form feed
// Per break class (0 other, 1 first, 2 second, 3 last, 4 second to last):
extern signed char remove_page_break_line[5];             // 1: the form-feed line itself goes
extern signed char lines_to_remove_before_page_break[5];  // 0 to 6 lines before it go
extern signed char lines_to_remove_after_page_break[5];   // 0 to 3 lines after it go

// 1 when the analysis is done or not needed, 0 on failure. Needs buffer and text_filename.
char AnalysePageBreaks();
// Frees the break table and clears the per-class results.
void PageBreaksRelease();
// 1 keeps the file line of that 0-based index, 0 drops it.
char PageBreaksIncludeThisLineFromFile(unsigned line_index);
// 2 empty (or null), 1 text (20 bytes or more without a run of eight blanks), 3 short or spaced.
char GetLineFormatType(char* line);

// Opens the cached text file (text_filename) for one pass of line reads, with a large read buffer
// shared by the passes (they run one after the other); logs "Could not open text file <%s>"
// under the caller's name on failure.
void* BookOpenTextFileForPass(const char* caller);

#endif
