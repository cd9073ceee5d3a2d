// OPF e-book packages: the spine lists the book's parts in reading order by id, the manifest maps
// each id to a file. The package is read with plain line-by-line searches (no XML parser) and each
// HTML or text part is converted in spine order by the HTML converter, the first part creating the
// converted text file and each later one appended after six line feeds.
#ifndef BOOKOPF_H
#define BOOKOPF_H

// Converts the package at `path` into text_filename. 1 when at least one part was converted (also
// when quit_loading_book is set during a part), 0 on failure (logged). pdf_filename names the
// package again afterwards, whatever the outcome.
char CreateTextFileFromOpfFile(char* path);

#endif
