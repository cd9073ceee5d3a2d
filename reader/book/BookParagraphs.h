// Paragraph assembly: joins the lines of the converted text file into the paragraph list, one
// entry per paragraph, empty line and page divider, in three passes (count, lengths, texts).
#ifndef BOOKPARAGRAPHS_H
#define BOOKPARAGRAPHS_H

#include "BookLine.h"

extern _Line* line_list;            // the paragraph list; owned and freed by the reading view
extern int num_lines;               // entries; during a pass the entry being filled
extern int max_line_width;          // bytes of the longest kept file line
extern int pl_last_line_len;        // length of the open paragraph so far
extern char pl_last_line_finished;  // 1 when no paragraph is open

// All return 1 on success (also when loading was cancelled), 0 on failure.
char GetMaxLineWidthInTextFile();
char CountNumLinesInTextFile();  // pass 0: num_lines
char CalcLineLengths();          // pass 1: allocates line_list, records every length
char ReadLinesIntoMemory();      // pass 2: fills the texts the caller allocated

char ParseLinesStart();
char ParseLinesDoLineFromFile(unsigned char* line, char pass);
char ParseLinesEnd(char pass);

#endif
