// The converted text file: every book is read through one plain single-byte text file, kept as a
// cache in the preferences folder. Single-byte text books are their own text file; UTF-8 text books
// are converted to Windows Latin-1, PDF books go through the PDF library's text extraction, HTML
// and OPF books through the program's own converters.
#ifndef BOOKCACHE_H
#define BOOKCACHE_H

// 1 when text_filename names a usable text file (also after a cancelled conversion: the caller
// tests quit_loading_book), 0 on failure.
char CreateTextFileIfNeeded();

// 1 when the last CreateTextFileIfNeeded converted the book into text_filename; 0 when it found
// the file there (or the book is its own text file), so a failed load leaves such a file alone.
char CreateTextFileMadeByLastLoad();

// Page progress of a PDF conversion: 1 goes on, 0 stops after the page just done.
char DisplayProgressProc(int first_page, int last_page, int page_done);

#endif
