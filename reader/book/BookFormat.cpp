// Display-line formatting. Every paragraph of line_list is wrapped at blanks and hyphens to the
// page width, measured with the book font's advance widths, and every full display line records
// the width its blanks must take so that it fills the width exactly. Two passes (count, fill), so
// that the display-line list is allocated once at its exact size.
#include "BookFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "BookParagraphs.h"
#include "ComDebug.h"
#include "ComFreeType.h"
#include "LecFont.h"
#include "MainLoad.h"

char fl_next_line_added_is_pg_break;

namespace {

const uint32_t kTabExpandLimit = 9991;  // a paragraph longer than this keeps its TABs
const int kTabBlanks = 8;
const int kCharLogLimit = 50;           // per-character log lines of one formatting run

// Advance widths of the book font for the run, taken once so the walk is a table lookup.
float fl_width[256];
float fl_blank_width;
// The list that FormatLines allocated and its size: the fill index is checked against them.
_Line* fl_list;
int fl_list_size;
int fl_char_logs;

void TakeWidths() {
  for (int c = 0; c < 256; c++) fl_width[c] = ComFreeTypeGetScaledCharWidth(book_font, (char)c);
  fl_blank_width = fl_width[' '];
}

// The width a byte takes on a display line: TABs as blanks, control codes nothing.
float Width(unsigned char c) {
  if (c == '\t') return fl_blank_width;
  if (c < 32 || c == 127) return 0.0f;
  return fl_width[c];
}

bool MayLog() { return fl_char_logs++ < kCharLogLimit; }

bool IsBreak(unsigned char c) { return c == ' ' || c == '\t' || c == '-'; }

// The display lines of one paragraph, counted or appended.
struct Emitter {
  unsigned* count;
  unsigned n = 0;
  char Add(uint32_t length, const unsigned char* text, char justify, float width) {
    n++;
    if (count) return 1;
    if (!FormatLineSetupCurrentFormattedLine(length, (unsigned char*)text, justify, width)) return 0;
    num_formatted_lines++;
    return 1;
  }
};

// Replaces the paragraph's first TABs by eight blanks each, as long as the text stays short
// enough; a TAB as the very last byte stays and counts as one blank.
char ExpandTabs(_Line* p) {
  uint32_t len = p->length;
  if (len < 2) return 1;
  uint32_t expand = 0;
  uint64_t new_len = len;
  for (uint32_t i = 0; i + 1 < len && new_len <= kTabExpandLimit; i++) {
    if (p->text[i] == '\t') {
      expand++;
      new_len += kTabBlanks - 1;
    }
  }
  if (expand == 0) return 1;
  char* text = static_cast<char*>(malloc((size_t)new_len + 1));
  if (!text) {
    DebugError("FormatLine", "No memory");
    return 0;
  }
  uint32_t o = 0;
  for (uint32_t i = 0; i < len; i++) {
    if (p->text[i] == '\t' && expand > 0 && i + 1 < len) {
      memset(text + o, ' ', kTabBlanks);
      o += kTabBlanks;
      expand--;
    } else {
      text[o++] = p->text[i];
    }
  }
  text[o] = 0;
  free(p->text);
  p->text = text;
  p->length = o;
  return 1;
}

}  // namespace

void FormatLinesRelease() {
  if (formatted_line_list) {
    for (int i = 0; i < num_formatted_lines; i++) free(formatted_line_list[i].text);
    free(formatted_line_list);
  }
  formatted_line_list = nullptr;
  num_formatted_lines = 0;
  fl_list = nullptr;
  fl_list_size = 0;
}

char FormatLineSetupCurrentFormattedLine(unsigned length, unsigned char* text, char justify,
                                         float width) {
  if (!formatted_line_list || !text) {
    DebugError("FormatLineSetupCurrentFormattedLine", "Bad paremeters");
    return 0;
  }
  if (formatted_line_list != fl_list || num_formatted_lines < 0 ||
      num_formatted_lines >= fl_list_size) {
    DebugError("FormatLineSetupCurrentFormattedLine", "Line %d beyond the list (%d)",
               num_formatted_lines, fl_list_size);
    return 0;
  }
  _Line* line = &formatted_line_list[num_formatted_lines];
  line->mark = (uint8_t)fl_next_line_added_is_pg_break;
  fl_next_line_added_is_pg_break = 0;
  line->justify = (uint8_t)justify;

  while (length > 0 && text[length - 1] == ' ') {
    length--;
    width -= fl_blank_width;
  }
  char* copy = static_cast<char*>(malloc((size_t)length + 1));
  if (!copy) {
    if (length > 0)
      DebugError("FormatLineSetupCurrentFormattedLine", "No memory B (%d)", (int)length + 1);
    else
      DebugError("FormatLineSetupCurrentFormattedLine", "No memory A (1)");
    return 0;
  }
  // One walk copies the text, counts its blanks and swaps the bullet of Windows Latin-1, which
  // has no glyph in most fonts, for "*".
  unsigned blanks = 0;
  for (unsigned i = 0; i < length; i++) {
    unsigned char c = text[i];
    blanks += c == ' ';
    copy[i] = c == 0x95 ? '*' : (char)c;
  }
  copy[length] = 0;
  line->blank_width = 0.0f;
  if (justify) {
    if (width > 0.0f) {
      if (blanks > 0)
        line->blank_width = (max_draw_width - (width - (float)blanks * fl_blank_width)) / (float)blanks;
    } else {
      line->justify = 0;
    }
  }
  free(line->text);
  line->text = copy;
  line->length = length;
  return 1;
}

char FormatLine(unsigned index, _Line* paragraph, unsigned* count) {
  if (quit_loading_book) return 1;
  if (!paragraph || !paragraph->text) {
    DebugError("FormatLine", "No line in");
    return 0;
  }
  Emitter out{count};
  bool filling = count == nullptr;
  if (paragraph->mark != 0 && filling) fl_next_line_added_is_pg_break = 1;

  static const unsigned char kEmpty[1] = {0};
  if (paragraph->length == 0) {
    if (!out.Add(0, kEmpty, 0, 0.0f)) return 0;
  } else if (paragraph->length == 1 && (unsigned char)paragraph->text[0] == 0x01) {
    if (!out.Add(0, kEmpty, 0, 0.0f)) return 0;
    if (filling) formatted_line_list[num_formatted_lines - 1].mark = 2;
  } else {
    if (!ExpandTabs(paragraph)) return 0;
    const unsigned char* text = (const unsigned char*)paragraph->text;
    uint32_t len = paragraph->length;
    float sum = 0.0f;
    uint32_t start = 0;
    uint32_t i = 0;
    while (i < len) {
      unsigned char c = text[i];
      if (c >= 32 && c != 127) {
        // The common case first: a printable byte.
        sum += fl_width[c];
      } else if (c == '\t') {
        sum += fl_blank_width;
      } else if (c == '\f') {
        // The text before a form feed is a line of its own, then the break's empty line.
        if (sum != 0.0f && !out.Add(i - start, text + start, 0, sum)) return 0;
        if (!out.Add(0, kEmpty, 0, 0.0f)) return 0;
        if (i != 0 && filling && MayLog())
          DebugError("FormatLine", "Got a page break at column %d", (int)i);
        start = i + 1;
        sum = 0.0f;
        i++;
        continue;
      } else {
        // A line feed or another control code: no width, the byte stays in the text.
        if (c == '\n') {
          if (filling && MayLog()) DebugError("FormatLine", "Got a line break");
        } else if (filling && MayLog()) {
          DebugError("FormatLine", "Unrecognised character at line num %d at pos %d - (%d <%d>)",
                     (int)index, (int)i, (int)c, (int)c);
        }
        i++;
        continue;
      }
      if (sum < max_draw_width) {
        i++;
        continue;
      }
      // Full: break after the last blank, TAB or hyphen of the line.
      float s = sum;
      uint32_t j = i;
      bool found = false;
      while (true) {
        if (IsBreak(text[j])) {
          found = true;
          break;
        }
        if (j == start) break;
        s -= Width(text[j]);
        j--;
      }
      if (found) {
        if (!out.Add(j - start + 1, text + start, 1, s)) return 0;
        start = j + 1;
        i = j + 1;
      } else if (i == start) {
        // A glyph wider than the page still takes a line of its own.
        if (!out.Add(1, text + start, 1, Width(c))) return 0;
        start = i + 1;
        i = i + 1;
      } else {
        // A word wider than the page is cut hard at the width.
        if (!out.Add(i - start, text + start, 1, sum - Width(c))) return 0;
        start = i;
      }
      sum = 0.0f;
    }
    if (sum != 0.0f && !out.Add(len - start, text + start, 0, sum)) return 0;
  }
  if (count) *count = out.n;
  return 1;
}

char FormatLines() {
  if (!line_list || num_lines <= 0) return 0;
  if (!book_font || !book_font->setup) {
    DebugError("FormatLines", "No book font");
    return 0;
  }
  TakeWidths();
  fl_char_logs = 0;
  fl_next_line_added_is_pg_break = 0;

  uint64_t total = 0;
  for (int i = 0; i < num_lines; i++) {
    unsigned n = 0;
    if (!FormatLine((unsigned)i, &line_list[i], &n)) return 0;
    if (quit_loading_book) return 1;
    total += n;
    if (total > (uint64_t)INT32_MAX / sizeof(_Line)) {
      DebugError("FormatLines", "No memory for formatted line list (size: %u)", (unsigned)total);
      return 0;
    }
  }
  fl_next_line_added_is_pg_break = 0;

  FormatLinesRelease();
  formatted_line_list = static_cast<_Line*>(calloc(total > 0 ? (size_t)total : 1, sizeof(_Line)));
  if (!formatted_line_list) {
    DebugError("FormatLines", "No memory for formatted line list (size: %u)", (unsigned)total);
    return 0;
  }
  fl_list = formatted_line_list;
  fl_list_size = (int)total;

  num_formatted_lines = 0;
  for (int i = 0; i < num_lines; i++) {
    if (!FormatLine((unsigned)i, &line_list[i], nullptr)) return 0;
    if (quit_loading_book) return 1;
  }
  if ((uint64_t)num_formatted_lines != total) {
    DebugError("FormatLines", "Internal Error (%u != %u)", (unsigned)num_formatted_lines,
               (unsigned)total);
    return 0;
  }
  return 1;
}
