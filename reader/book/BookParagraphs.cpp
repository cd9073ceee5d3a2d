// Paragraph assembly. The converted text file holds a book as lines of a fixed layout; one line
// parser turns them into the paragraph list in three passes over the file (count the entries,
// record their lengths, fill their texts), so that every text is allocated once at its size.
// Every file line goes through the page-break keep test first.
#include "BookParagraphs.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "BookPageBreaks.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "MainLoad.h"

_Line* line_list;
int num_lines;
int max_line_width;
int pl_last_line_len;
char pl_last_line_finished;

namespace {

const int64_t kMaxParagraph = 0x7fff0000;

// The number of entries that pass 0 counted, which passes 1 and 2 must reproduce.
int pl_pass0_count;
// Entries of line_list as allocated by pass 1; the parser never writes beyond them, even when
// the text file changed between passes.
int pl_list_size;
_Line* pl_list;  // the list that pass 1 allocated, to tell it from a list freed since
// Pass 2: bytes written so far into the open paragraph's text.
uint32_t pl_text_len;

bool HasEntry(int i) { return line_list && line_list == pl_list && i >= 0 && i < pl_list_size; }

// Closing the open paragraph: in pass 1 its length is recorded; in pass 2 the entry's length
// becomes what was really written, so that length and text always agree.
void CloseParagraph(char pass) {
  if (HasEntry(num_lines)) {
    if (pass == 1) line_list[num_lines].length = (uint32_t)pl_last_line_len;
    if (pass == 2 && line_list[num_lines].text) line_list[num_lines].length = pl_text_len;
  }
  num_lines++;
  pl_last_line_len = 0;
  pl_last_line_finished = 1;
  pl_text_len = 0;
}

void AddEmptyEntry(char pass, uint8_t mark) {
  if (HasEntry(num_lines)) {
    _Line* e = &line_list[num_lines];
    if (pass >= 1) {
      e->length = 0;
      e->mark = mark;
      if (e->text) e->text[0] = 0;
    }
  }
  num_lines++;
}

// Pass 2: appends n bytes to the open paragraph's text within the room counted in pass 1.
void AppendText(const unsigned char* src, uint32_t n) {
  if (!HasEntry(num_lines)) return;
  _Line* e = &line_list[num_lines];
  if (!e->text) return;
  uint32_t room = e->length > pl_text_len ? e->length - pl_text_len : 0;
  if (n > room) n = room;
  memcpy(e->text + pl_text_len, src, n);
  pl_text_len += n;
  e->text[pl_text_len] = 0;
}

// Appends the open paragraph's next piece (an optional blank and a line) and keeps its length.
void GrowParagraph(char pass, bool blank, const unsigned char* text, uint32_t len) {
  pl_last_line_len += (int)len + (blank ? 1 : 0);
  pl_last_line_finished = 0;
  if (pass != 2) return;
  if (blank) AppendText((const unsigned char*)" ", 1);
  AppendText(text, len);
  if ((int)pl_text_len != pl_last_line_len) {
    const char* shown = HasEntry(num_lines) && line_list[num_lines].text ? line_list[num_lines].text : "";
    DebugError("ParseLinesDoLineFromFile", "Line %d <%s> - Len error [last:%d != now:%d]", num_lines,
               shown, pl_last_line_len, (int)pl_text_len);
    pl_last_line_len = (int)pl_text_len;
  }
}

// One pass over the kept lines of the text file. Returns the parser's result; sets *quit when
// loading was cancelled.
char RunPass(const char* name, char pass, bool* quit) {
  *quit = false;
  void* file = BookOpenTextFileForPass(name);
  if (!file) return 0;
  ParseLinesStart();
  uint32_t index = 0;
  while (ComFileReadLine(file, buffer, BOOK_READ_LIMIT)) {
    if (PageBreaksIncludeThisLineFromFile(index++)) {
      if (!ParseLinesDoLineFromFile((unsigned char*)buffer, pass)) {
        DebugError(name, "ParseLinesDoLineFromFile() failed");
        return ComFileCloseAndFail(file);
      }
    }
    if (quit_loading_book) {
      ComFileClose(file);
      if (pass != 0) num_lines = pl_pass0_count;
      *quit = true;
      return 1;
    }
    if (pass != 0 && num_lines > pl_pass0_count) {
      DebugError(name, "Internal Error");
      num_lines = pl_pass0_count;
      return ComFileCloseAndFail(file);
    }
  }
  ComFileClose(file);
  if (!ParseLinesEnd(pass)) {
    DebugError(name, "ParseLinesEnd(%d) failed", pass);
    return 0;
  }
  if (pass != 0 && num_lines != pl_pass0_count) {
    DebugError(name, "Internal Error 2");
    num_lines = pl_pass0_count;
    return 0;
  }
  return 1;
}

// A list left from an earlier load that the reading view did not free.
void FreeOldLineList() {
  if (line_list && line_list == pl_list) {
    for (int i = 0; i < pl_list_size; i++) free(line_list[i].text);
    free(line_list);
    line_list = nullptr;
  }
  pl_list = nullptr;
  pl_list_size = 0;
}

}  // namespace

char ParseLinesStart() {
  num_lines = 0;
  pl_last_line_len = 0;
  pl_last_line_finished = 1;
  pl_text_len = 0;
  if (HasEntry(0)) {
    line_list[0].length = 0;
    if (line_list[0].text) line_list[0].text[0] = 0;
  }
  num_lines = 1;
  return 1;
}

char ParseLinesDoLineFromFile(unsigned char* line, char pass) {
  if (quit_loading_book) return 1;
  if (!line) return 0;
  if ((pass == 1 || pass == 2) && !line_list) return 0;

  bool divider_line = false;
  if (line[0] == '\f') {
    // A blank page gives several form feeds in a row; none of them is text.
    while (line[0] == '\f') line++;
    if (!remove_page_break_line[0] && lines_to_remove_before_page_break[0] == 0 &&
        lines_to_remove_after_page_break[0] == 0) {
      // Nothing is dropped around the breaks: the break shows as a divider and the next page
      // starts a paragraph of its own.
      if (!pl_last_line_finished)
        CloseParagraph(pass);
      else
        AddEmptyEntry(pass, 0);  // the entry left there stays empty
      AddEmptyEntry(pass, 0);
      AddEmptyEntry(pass, 1);
      divider_line = true;
    }
    // Otherwise only the form feed goes, so a paragraph runs on across the break. The keep test
    // has already dropped the whole line where the analysis found it to be a running header.
  }

  uint32_t len = (uint32_t)strlen((const char*)line);
  if (len == 0) {
    if (!pl_last_line_finished) {
      if (pl_last_line_len == 0) {
        DebugError("ParseLinesDoLineFromFile", "Internal Error LB - Len=0 but not finished");
        return 0;
      }
      CloseParagraph(pass);
    }
    AddEmptyEntry(pass, 0);
    return 1;
  }

  // A horizontal rule is always an entry of its own.
  if (len == 1 && line[0] == 0x01) {
    if (!pl_last_line_finished) CloseParagraph(pass);
    GrowParagraph(pass, false, line, len);
    CloseParagraph(pass);
    return 1;
  }

  bool blank = false;
  if (!pl_last_line_finished) {
    // A paragraph never outgrows its 32-bit length (a huge file of unbroken lines).
    if (line[0] == ' ' || line[0] == '\t' || (int64_t)pl_last_line_len + 1 + len > kMaxParagraph)
      CloseParagraph(pass);
    blank = true;  // before the joined line, or ahead of an indented one
  }
  GrowParagraph(pass, blank, line, len);

  bool spaced = strstr((const char*)line, "          ") != nullptr;
  int full = 2 * max_line_width / 3;
  if (divider_line || spaced || (int64_t)len < (int64_t)full) CloseParagraph(pass);
  return 1;
}

char ParseLinesEnd(char pass) {
  if ((pass == 1 || pass == 2) && !line_list) return 0;
  if (!pl_last_line_finished) CloseParagraph(pass);
  return 1;
}

char GetMaxLineWidthInTextFile() {
  max_line_width = 0;
  if (!buffer) return 0;
  void* file = BookOpenTextFileForPass("GetMaxLineWidthInTextFile");
  if (!file) return 0;
  uint32_t index = 0;
  while (ComFileReadLine(file, buffer, BOOK_READ_LIMIT)) {
    if (!PageBreaksIncludeThisLineFromFile(index++)) continue;
    int len = (int)strlen(buffer);
    if (len > max_line_width) max_line_width = len;
  }
  ComFileClose(file);
  if (max_line_width == 0) {
    DebugError("GetMaxLineWidthInTextFile", "Empty text file <%s>", text_filename);
    return 0;
  }
  return 1;
}

char CountNumLinesInTextFile() {
  if (!buffer) return 0;
  pl_pass0_count = 0;
  bool quit;
  if (!RunPass("CountNumLinesInTextFile", 0, &quit)) return 0;
  if (quit) return 1;
  pl_pass0_count = num_lines;
  if (num_lines <= 1) {
    DebugError("CountNumLinesInTextFile", "Empty text file <%s>", text_filename);
    return 0;
  }
  return 1;
}

char CalcLineLengths() {
  if (!buffer) return 0;
  FreeOldLineList();
  if (pl_pass0_count <= 0) return 0;
  line_list = static_cast<_Line*>(calloc((size_t)pl_pass0_count, sizeof(_Line)));
  if (!line_list) {
    DebugError("CalcLineLengths", "No memory for line list (size: %u)", (unsigned)pl_pass0_count);
    return 0;
  }
  pl_list = line_list;
  pl_list_size = pl_pass0_count;
  num_lines = pl_pass0_count;
  bool quit;
  return RunPass("CalcLineLengths", 1, &quit);
}

char ReadLinesIntoMemory() {
  if (!buffer || !line_list) return 0;
  bool quit;
  return RunPass("ReadLinesIntoMemory", 2, &quit);
}
