// HTML books (and the HTML and text parts of OPF packages) become the converted text file through
// a small character-by-character converter: everything before the body is skipped, a fixed set of
// tags is recognised by the characters just before their closing ">", character references become
// single bytes, spans styled "display:none" are hidden, and one text line is written per
// paragraph, line break, list item or heading. The paragraph spacing (config's
// html_paragraph_spacing: 0 Less, 1 More, 2 Auto) decides the empty lines between paragraphs;
// Auto decides from a dry run over the start of the file.
#ifndef BOOKHTML_H
#define BOOKHTML_H

// Converts the file named by pdf_filename into text_filename. `append` 0 creates the text file,
// otherwise it is appended to after six line feeds (the later parts of an OPF package).
// `display_name` null shows book_name in the progress box. `title` and `author` are used only
// when `append` is 0. 1 on success and when quit_loading_book is set, 0 on failure (logged).
char CreateTextFileFromHtmlFile(char append, char* display_name, char* title, char* author);

// One run over the source file (`in`, a ComFile handle); `out` null writes nothing. A dry run
// gathers the paragraph statistics of Auto and stops after the 2001st source line. Always 1.
char DoConvertHtmlToText(void* in, void* out, char dry_run);

// One source byte through the converter. Always 1.
char DoConvertHtmlToTextParseChar(char c, void* out, char dry_run);

// 1 when the characters just processed end with `pattern` (a lower-case letter of the pattern
// also matches its upper case). An empty pattern matches; one of 20 characters or more never does.
char HtmlCheckLastCharsContainString(const char* pattern);

// Ends the pending line; 1 when a line was written. With mode 1, or mode 0 inside <pre>, the next
// line starts with the blanks of the current list indent.
char HtmlConvertFinishCurrentLineIfNeeded(void* out, char mode);

// 1 when the letters and digits of `prefix` begin the letters and digits of `text`, compared
// without regard to case; every other character is skipped on both sides.
char HtmlConvertStrIStr(const char* text, const char* prefix);

#endif
