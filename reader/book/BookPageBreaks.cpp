// Page-break analysis. A book converted from PDF carries, at every page break, the page's
// running footer, its page number and the next page's running header as ordinary lines. The scan
// classifies the lines around every break and keeps, per class of break, the positions where
// every break agrees on an empty, short or spaced line: those lines are dropped by line index.
#include "BookPageBreaks.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "Config.h"
#include "MainLoad.h"

uint32_t* page_breaks;
int num_page_breaks;
signed char remove_page_break_line[5];
signed char lines_to_remove_before_page_break[5];
signed char lines_to_remove_after_page_break[5];

static_assert(BOOK_READ_LIMIT <= COM_FILE_LINE_MAX,
              "the readers' lines are within the file reader's limit");

namespace {

const int kHistory = 6;            // lines before a form-feed line that are examined
const int kLookAhead = 3;          // lines after it
const int kClasses = 5;

// An entry of page_breaks that no form-feed line filled (one swallowed by the look-ahead of the
// break before it). It lies above every line index, so the table stays sorted and the keep test
// never takes it for a neighbour.
const uint32_t kNoBreak = UINT32_MAX;

enum LineType : signed char {
  kTypeText = 1,
  kTypeEmpty = 2,
  kTypeShort = 3,
  kTypeMissing = 4,
};

// Consensus over the breaks of one class: 0 nothing seen yet, a line type while every break
// agreed, -1 once two breaks disagreed.
signed char pb_ff_consensus[kClasses];
signed char pb_pre_consensus[kHistory][kClasses];
signed char pb_post_consensus[kLookAhead][kClasses];

// The types of the six lines most recently read by the main scan, newest at pb_history_head.
// Only their types take part in the consensus, so the lines themselves are not kept.
signed char pb_history[kHistory];
int pb_history_head;

int BreakClass(int i, int n) {
  if (i == 0) return 1;
  if (i == 1) return 2;
  if (i == n - 1) return 3;
  if (i == n - 2) return 4;
  return 0;
}

void Agree(signed char* value, signed char type) {
  if (*value == 0)
    *value = type;
  else if (*value != type)
    *value = -1;
}

// After the scan: text at every break (1) must stay; empty, short, spaced or missing (2, 3, 4)
// may go.
signed char Settle(signed char value) {
  if (value == kTypeText) return -1;
  if (value == kTypeShort || value == kTypeMissing) return kTypeEmpty;
  return value;
}

void HistoryClear() {
  for (int p = 0; p < kHistory; p++) pb_history[p] = kTypeEmpty;
  pb_history_head = 0;
}

signed char HistoryAt(int p) { return pb_history[(pb_history_head + p) % kHistory]; }

void HistoryPush(signed char type) {
  pb_history_head = (pb_history_head + kHistory - 1) % kHistory;
  pb_history[pb_history_head] = type;
}

// The class of the break stored at position i of page_breaks.
int ClassAt(int i) { return BreakClass(i, num_page_breaks); }

}  // namespace

void PageBreaksRelease() {
  num_page_breaks = 0;
  free(page_breaks);
  page_breaks = nullptr;
  for (int c = 0; c < kClasses; c++) {
    remove_page_break_line[c] = 0;
    lines_to_remove_before_page_break[c] = 0;
    lines_to_remove_after_page_break[c] = 0;
  }
}

char GetLineFormatType(char* line) {
  if (!line || !line[0]) return kTypeEmpty;
  if (strlen(line) >= 20 && !strstr(line, "        ")) return kTypeText;
  return kTypeShort;
}

void* BookOpenTextFileForPass(const char* caller) {
  // The layout reads the whole file six times; with the stream's own few kilobytes every pass
  // would cost thousands of reads.
  static char pass_buffer[256 * 1024];
  void* file = ComFileOpenForReading(text_filename);
  if (!file) {
    DebugError(caller, "Could not open text file <%s>", text_filename);
    return nullptr;
  }
  ComFileSetReadBuffer(file, pass_buffer, sizeof(pass_buffer));
  return file;
}

char AnalysePageBreaks() {
  PageBreaksRelease();
  if (config.page_divisions) return 1;
  if (!buffer) return 0;

  void* file = BookOpenTextFileForPass("AnalysePageBreaks");
  if (!file) return 0;

  // Pass 1: count the form-feed lines.
  uint64_t count = 0;
  while (ComFileReadLine(file, buffer, BOOK_READ_LIMIT)) {
    if (buffer[0] == '\f') count++;
  }
  if (count == 0) {
    ComFileClose(file);
    return 1;
  }
  if (count > (uint64_t)INT32_MAX / sizeof(uint32_t)) {
    DebugError("AnalysePageBreaks", "No memory");
    return ComFileCloseAndFail(file);
  }
  page_breaks = static_cast<uint32_t*>(malloc((size_t)count * sizeof(uint32_t)));
  if (!page_breaks) {
    DebugError("AnalysePageBreaks", "No memory");
    return ComFileCloseAndFail(file);
  }
  num_page_breaks = (int)count;
  for (int i = 0; i < num_page_breaks; i++) page_breaks[i] = kNoBreak;
  memset(pb_ff_consensus, 0, sizeof(pb_ff_consensus));
  memset(pb_pre_consensus, 0, sizeof(pb_pre_consensus));
  memset(pb_post_consensus, 0, sizeof(pb_post_consensus));
  // Lines of an earlier book must not vote at this book's first break.
  HistoryClear();

  // Pass 2: classify the lines around every break.
  if (!ComFileRewind(file)) {
    ComFileClose(file);
    PageBreaksRelease();
    return 0;
  }
  uint32_t index = 0;
  int examined = 0;
  bool at_end = false;
  while (!at_end && ComFileReadLine(file, buffer, BOOK_READ_LIMIT)) {
    uint32_t this_index = index++;
    signed char type = GetLineFormatType(buffer);
    if (buffer[0] == '\f' && examined < num_page_breaks) {
      int c = BreakClass(examined, num_page_breaks);
      page_breaks[examined++] = this_index;
      Agree(&pb_ff_consensus[c], type);
      for (int p = 0; p < kHistory; p++) Agree(&pb_pre_consensus[p][c], HistoryAt(p));
      HistoryPush(type);
      // The look-ahead lines count for the line index but are not tested for a form feed. They
      // do enter the history: its positions must be the file lines just before the next break,
      // the lines that the keep test drops, also when a page is shorter than the look-ahead
      // and the history together.
      for (int p = 0; p < kLookAhead; p++) {
        signed char ahead = kTypeMissing;
        if (!at_end) {
          if (ComFileReadLine(file, buffer, BOOK_READ_LIMIT)) {
            index++;
            ahead = GetLineFormatType(buffer);
            HistoryPush(ahead);
          } else {
            at_end = true;
          }
        }
        Agree(&pb_post_consensus[p][c], ahead);
      }
      continue;
    }
    HistoryPush(type);
  }
  ComFileClose(file);

  for (int c = 0; c < kClasses; c++) {
    pb_ff_consensus[c] = Settle(pb_ff_consensus[c]);
    for (int p = 0; p < kHistory; p++) pb_pre_consensus[p][c] = Settle(pb_pre_consensus[p][c]);
    for (int p = 0; p < kLookAhead; p++) pb_post_consensus[p][c] = Settle(pb_post_consensus[p][c]);
  }
  for (int c = 0; c < kClasses; c++) {
    remove_page_break_line[c] = pb_ff_consensus[c] == kTypeEmpty ? 1 : 0;
    int before = 0;
    while (before < kHistory && pb_pre_consensus[before][c] == kTypeEmpty) before++;
    lines_to_remove_before_page_break[c] = (signed char)before;
    int after = 0;
    while (after < kLookAhead && pb_post_consensus[after][c] == kTypeEmpty) after++;
    lines_to_remove_after_page_break[c] = (signed char)after;
  }
  // The first, second, last and second to last breaks may not drop more than the others.
  for (int c = 1; c < kClasses; c++) {
    if (!remove_page_break_line[0]) remove_page_break_line[c] = 0;
    if (lines_to_remove_before_page_break[c] > lines_to_remove_before_page_break[0])
      lines_to_remove_before_page_break[c] = lines_to_remove_before_page_break[0];
    if (lines_to_remove_after_page_break[c] > lines_to_remove_after_page_break[0])
      lines_to_remove_after_page_break[c] = lines_to_remove_after_page_break[0];
  }
  return 1;
}

char PageBreaksIncludeThisLineFromFile(unsigned line_index) {
  if (!page_breaks || num_page_breaks <= 0) return 1;
  uint32_t n = line_index;
  // First break whose line index is not below n (the table is sorted; unfilled entries last).
  // The passes ask for the lines in order, so the answer for the line before nearly always still
  // holds; it is checked against the table before it is taken, else looked for afresh.
  static int last = 0;
  int lo = last;
  if (lo < 0 || lo > num_page_breaks || (lo > 0 && page_breaks[lo - 1] >= n) ||
      (lo < num_page_breaks && page_breaks[lo] < n)) {
    lo = 0;
    int hi = num_page_breaks;
    while (lo < hi) {
      int mid = lo + (hi - lo) / 2;
      if (page_breaks[mid] < n)
        lo = mid + 1;
      else
        hi = mid;
    }
  }
  last = lo;
  int prev = lo - 1;
  int next = lo;
  if (next < num_page_breaks && page_breaks[next] == n) {
    if (remove_page_break_line[ClassAt(next)]) return 0;
    next++;
  }
  if (next < num_page_breaks && page_breaks[next] != kNoBreak) {
    int k = lines_to_remove_before_page_break[ClassAt(next)];
    if (k > 0 && (uint64_t)n + (uint64_t)k >= page_breaks[next]) return 0;
  }
  if (prev >= 0) {
    int k = lines_to_remove_after_page_break[ClassAt(prev)];
    if (k > 0 && (uint64_t)n <= (uint64_t)page_breaks[prev] + (uint64_t)k) return 0;
  }
  return 1;
}
