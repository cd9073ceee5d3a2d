// The PDF library's text-extraction tool run in-process: the text of each page in physical
// layout, Latin-1, one form feed after each page, with a progress procedure after every page.
#ifndef BOOKPDF_H
#define BOOKPDF_H

typedef char (*_PdfProgressProc)(int first_page, int last_page, int page_done);

// Handed to the next pdftotext_main call; null means none.
extern _PdfProgressProc pdftotext_displayProgressProc;

void pdftotext_setDisplayProgressProc(_PdfProgressProc proc);

// The command line of the tool: [options] <PDF-file> [<text-file>]. 0 done (also when the
// progress procedure stopped it), 1 the document cannot be opened, 2 the output cannot be
// created or could not be written whole (then no file takes the output's name), 99 bad arguments
// or no text encoding.
int pdftotext_main(int argc, char** argv);

#endif
