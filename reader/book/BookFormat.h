// Display-line formatting: wraps every paragraph of line_list at blanks and hyphens to the page
// width with the book font's advance widths and justifies every full line. The display-line list
// (formatted_line_list, num_formatted_lines) is the reading view's (MainLoad.h).
#ifndef BOOKFORMAT_H
#define BOOKFORMAT_H

#include "BookLine.h"

extern char fl_next_line_added_is_pg_break;  // the next display line added takes mark 1

// 1 on success or when loading was cancelled, 0 on failure.
char FormatLines();
// Frees the display-line list and its texts; the list is empty afterwards.
void FormatLinesRelease();
// With count given only counts the paragraph's display lines; with null appends them.
char FormatLine(unsigned index, _Line* paragraph, unsigned* count);
// Fills the display line at num_formatted_lines from length bytes of text.
char FormatLineSetupCurrentFormattedLine(unsigned length, unsigned char* text, char justify,
                                         float width);

#endif
