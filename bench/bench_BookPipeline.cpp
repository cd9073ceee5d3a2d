// The cost of loading a book, as two ratios measured in one run:
//  1. a generated 1000-page PDF converted in-process (pdftotext_main) against poppler-utils'
//     "pdftotext -layout -enc Latin1" on the same file (goal: at most 1.1);
//  2. the layout pipeline after conversion (page breaks, the three paragraph passes, formatting)
//     on a generated 10 MB text book against one plain buffered read of that file (goal: at
//     most 10).
// Peak memory (maximum resident set) of each side is printed as well.
#include <sched.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BookPdf.h"
#include "../tests/reader/book/support_PdfFixtures.cpp"

#include "BookFormat.h"
#include "BookPageBreaks.h"
#include "BookParagraphs.h"
#include "ComFreeType.h"
#include "Config.h"
#include "LecFont.h"
#include "MainLoad.h"

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs job in a child process; its wall time in seconds and its peak resident set in kB.
bool MeasureInChild(const std::function<int()>& job, double* seconds, long* peak_kb) {
  fflush(stdout);
  double start = Now();
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) _exit(job());
  int status = 0;
  struct rusage ru;
  if (wait4(pid, &status, 0, &ru) != pid) return false;
  *seconds = Now() - start;
  *peak_kb = ru.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int RunOurs(const std::string& pdf, const std::string& out) {
  std::vector<std::string> args = {"Lectrel", "-layout", pdf, out};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  return pdftotext_main(4, argv.data());
}

int RunTool(const std::string& pdf, const std::string& out) {
  std::vector<std::string> args = {"pdftotext", "-layout", "-enc", "Latin1", pdf, out};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  execvp("pdftotext", argv.data());
  return 127;
}

void BenchPdf(const std::string& dir) {
  std::string pdf = dir + "/thousand.pdf";
  double t0 = Now();
  if (!PdfFixtureWriteSampleBook(pdf, 1000)) {
    printf("pdf: could not write the 1000-page fixture\n");
    return;
  }
  printf("pdf: 1000-page fixture written in %.2f s\n", Now() - t0);
  std::string ours_out = dir + "/ours.txt", tool_out = dir + "/tool.txt";

  // Interleaved runs, best of each: the in-process call as the reader makes it, the command as
  // a child process (its start-up included, as a user of the tool would see it).
  double best_ours = 1e30, best_tool = 1e30, best_ours_child = 1e30;
  long peak_ours = 0, peak_tool = 0;
  for (int run = 0; run < 5; run++) {
    double s = Now();
    int r = RunOurs(pdf, ours_out);
    double t = Now() - s;
    if (r != 0) {
      printf("pdf: pdftotext_main failed (%d)\n", r);
      return;
    }
    if (t < best_ours) best_ours = t;
    double tc;
    long kb;
    if (!MeasureInChild([&] { return RunTool(pdf, tool_out); }, &tc, &kb)) {
      printf("pdf: the pdftotext command failed\n");
      return;
    }
    if (tc < best_tool) best_tool = tc;
    if (kb > peak_tool) peak_tool = kb;
    if (!MeasureInChild([&] { return RunOurs(pdf, ours_out); }, &tc, &kb)) return;
    if (tc < best_ours_child) best_ours_child = tc;
    if (kb > peak_ours) peak_ours = kb;
    if (getenv("BENCH_VERBOSE")) printf("pdf: run %d: in-process %.3f s, child %.3f s\n", run, t, tc);
  }
  std::string a, b;
  PdfFixtureReadFile(ours_out, &a);
  PdfFixtureReadFile(tool_out, &b);
  printf("pdf: output %zu bytes, %s the command's\n", a.size(), a == b ? "identical to" : "DIFFERENT from");
  printf("pdf: in-process %.3f s (in a child %.3f s), command %.3f s\n", best_ours, best_ours_child, best_tool);
  printf("pdf: peak memory in-process conversion %ld kB, command %ld kB\n", peak_ours, peak_tool);
  printf("RATIO pdf_conversion %.3f (goal <= 1.1)\n", best_ours / best_tool);
}

// A text book of about 10 MB: paragraphs of wrapped lines, pages ending in form feeds with a
// running header and a page number, as a converted PDF looks.
bool WriteTextBook(const std::string& path, size_t bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  static const char* words[] = {"harbour", "quiet", "the", "boats", "rocked", "gently", "against", "old",
                                "stone", "quay", "while", "fishermen", "mended", "nets", "caf\xe9", "na\xefve"};
  size_t written = 0;
  unsigned seed = 12345;
  int page = 1, line_on_page = 0;
  while (written < bytes) {
    char line[200];
    int n = 0;
    if (line_on_page == 0) {
      n = snprintf(line, sizeof(line), "%sTHE QUIET HARBOUR         A NOVEL", page > 1 ? "\f" : "");
    } else if (line_on_page == 45) {
      n = snprintf(line, sizeof(line), "                                     %d", page);
    } else if (line_on_page % 9 == 0) {
      n = 0;  // paragraph break
    } else {
      while (n < 80) {
        seed = seed * 1103515245u + 12345u;
        const char* w = words[(seed >> 16) % 16];
        int m = snprintf(line + n, sizeof(line) - n, "%s%s", n ? " " : "", w);
        if (m < 0 || n + m >= static_cast<int>(sizeof(line))) break;
        n += m;
      }
    }
    line[n++] = '\n';
    if (fwrite(line, 1, n, f) != static_cast<size_t>(n)) {
      fclose(f);
      return false;
    }
    written += n;
    if (++line_on_page > 45) {
      line_on_page = 0;
      page++;
    }
  }
  fputs("\f", f);
  return fclose(f) == 0;
}

// The loading sequence of the reading view after the conversion, on the text book: page breaks,
// the three paragraph passes (with the texts allocated between them) and the display lines, with
// a book font of proportional advances filled by hand (measuring needs no window).
bool BenchRunLayout(const std::string& path) {
  static _ComFreeTypeFont font;
  memset(&font, 0, sizeof(font));
  font.setup = 1;
  font.letter_count = 256;
  font.scale_x = font.scale_y = 1.0f;
  for (int c = 32; c < 256; c++) font.advance[c] = 6.0f + static_cast<float>(c % 7);
  font.advance[' '] = 4.0f;
  book_font = &font;
  config.page_divisions = 0;
  quit_loading_book = 0;
  max_draw_width = 640 - 2 * 32;
  buffer = static_cast<char*>(malloc(10000));
  buffer2 = static_cast<char*>(malloc(10000));
  if (!buffer || !buffer2) return false;
  snprintf(text_filename, sizeof(text_filename), "%s", path.c_str());
  if (!AnalysePageBreaks() || !GetMaxLineWidthInTextFile() || !CountNumLinesInTextFile() || !CalcLineLengths())
    return false;
  for (int i = 0; i < num_lines; i++) {
    line_list[i].text = static_cast<char*>(malloc(line_list[i].length + 1));
    if (!line_list[i].text) return false;
    line_list[i].text[0] = 0;
  }
  if (!ReadLinesIntoMemory() || !FormatLines()) return false;
  if (getenv("BENCH_VERBOSE"))
    printf("pipeline: %d page breaks, %d paragraphs, %d display lines\n", num_page_breaks, num_lines,
           num_formatted_lines);
  fflush(stdout);
  return num_formatted_lines > 0;
}

// One plain buffered read of the whole file, byte by byte through the stream as a hand-written
// reader of lines would (the reference of the ratio).
size_t PlainReadBytes(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return 0;
  size_t total = 0, lines = 0;
  int c;
  while ((c = fgetc(f)) != EOF) {
    total++;
    lines += c == '\n';
  }
  fclose(f);
  return total + (lines > total ? 1 : 0);
}

// The same file in 64 kB blocks: the floor of any pass over it.
size_t PlainRead(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return 0;
  static char buf[1 << 16];
  size_t total = 0, n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0) total += n;
  fclose(f);
  return total;
}

void BenchPipeline(const std::string& dir) {
  std::string book = dir + "/book10mb.txt";
  if (!WriteTextBook(book, 10u * 1024 * 1024)) {
    printf("pipeline: could not write the text book\n");
    return;
  }
  double best_read = 1e30, best_block = 1e30;
  for (int run = 0; run < 5; run++) {
    double s = Now();
    size_t n = PlainReadBytes(book);
    double t = Now() - s;
    if (n == 0) return;
    if (t < best_read) best_read = t;
    s = Now();
    n = PlainRead(book);
    t = Now() - s;
    if (t < best_block) best_block = t;
  }
  printf("pipeline: plain buffered read of 10 MB: byte loop %.4f s, 64 kB blocks %.4f s\n", best_read,
         best_block);
  double best_pipe = 1e30;
  long peak = 0;
  for (int run = 0; run < 3; run++) {
    double t;
    long kb;
    if (!MeasureInChild([&] { return BenchRunLayout(book) ? 0 : 1; }, &t, &kb)) {
      printf("pipeline: the layout passes failed\n");
      return;
    }
    if (t < best_pipe) best_pipe = t;
    if (kb > peak) peak = kb;
  }
  printf("pipeline: layout passes %.3f s, peak memory %ld kB\n", best_pipe, peak);
  printf("RATIO pipeline_vs_read %.3f (goal <= 10; against the block read %.1f)\n", best_pipe / best_read,
         best_pipe / best_block);
}

}  // namespace

// The machine's cores do not all run at the same speed; both sides of a ratio run on one core.
void PinToOneCore() {
  int cpu = sched_getcpu();
  if (cpu < 0) return;
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  if (sched_setaffinity(0, sizeof(set), &set) == 0) printf("pinned to core %d\n", cpu);
}

int main(int argc, char** argv) {
  PinToOneCore();
  std::string dir = PdfFixtureTempDir();
  if (dir.empty()) return 1;
  bool pdf = true, pipe = true;
  if (argc > 1 && !strcmp(argv[1], "pdf")) pipe = false;
  if (argc > 1 && !strcmp(argv[1], "pipeline")) pdf = false;
  if (pdf) BenchPdf(dir);
  if (pipe) BenchPipeline(dir);
  PdfFixtureRemoveTree(dir);
  return 0;
}
