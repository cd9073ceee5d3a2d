// The cost of loading a book, as paired ratios (see BenchPaired.h) measured in one run:
//  1. a generated 1000-page PDF converted by this program's conversion (pdftotext_main, run as
//     this benchmark started again as a command) against poppler-utils'
//     "pdftotext -layout -enc Latin1" on the same file: both sides are a program started, run
//     and ended (ours pays the start-up of a program linked with every library of the reader)
//     (goal: at most 1.1);
//  2. the layout passes after conversion (page breaks, the three paragraph passes, formatting)
//     on a generated 10 MB text book against one block read of that file, each side timed
//     inside a forked child of its own (goal: at most 15);
//  3. the peak memory of the layout (the benchmark started again to lay the book out, less it
//     started again to do nothing) against the size of the text (goal: at most 3).
// Usage: bench_BookPipeline [pdf|pipeline]; bench_BookPipeline write-book PATH, then
// bench_BookPipeline layout PATH (prints its peak memory and time) to profile the layout alone;
// bench_BookPipeline ab OTHER compares the layout of OTHER (a copy of this benchmark built before
// a change) with this build's, in paired runs.
#include <sched.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchPaired.h"
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

using bench::Now;

int RunOurs(const std::string& pdf, const std::string& out) {
  std::vector<std::string> args = {"Lectrel", "-layout", pdf, out};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  return pdftotext_main(4, argv.data());
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
  bench::Paired p;
  if (!bench::RunPaired(
          5, [&] { return bench::TimeCommand({"pdftotext", "-layout", "-enc", "Latin1", pdf, tool_out}); },
          [&] { return bench::TimeCommand({bench::Self(), "convert", pdf, ours_out}); }, &p)) {
    printf("pdf: a conversion failed\n");
    return;
  }
  std::string a, b;
  PdfFixtureReadFile(ours_out, &a);
  PdfFixtureReadFile(tool_out, &b);
  printf("pdf: output %zu bytes, %s the command's\n", a.size(), a == b ? "identical to" : "DIFFERENT from");
  bench::PrintPaired("pdf_conversion", "pdftotext -layout -enc Latin1 (command)", "pdftotext_main (command)", p,
                     "<= 1.1");
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
// a book font of proportional advances filled by hand (measuring needs no window). Everything is
// released again by MainExit, so the passes can run many times in one process.
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
  return num_formatted_lines > 0;
}

// One read of the whole file in a single block: the floor of any pass over it.
size_t BlockRead(const std::string& path, std::vector<char>* buf) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return 0;
  size_t n = fread(buf->data(), 1, buf->size(), f);
  fclose(f);
  return n;
}

void BenchPipeline(const std::string& dir) {
  std::string book = dir + "/book10mb.txt";
  const size_t size = 10u * 1024 * 1024;
  if (!WriteTextBook(book, size)) {
    printf("pipeline: could not write the text book\n");
    return;
  }
  // Each side in a forked child of its own that times itself, so every layout starts from the
  // same heap, as in a reader just started. The reference of the goal is the floor of any pass
  // over the file: a second block read in the child into a buffer whose pages are in place. Two
  // more references frame it: the child's first read (the first read of a file in a process
  // costs several times the second on this kind of machine), and a read into fresh pages
  // (paying their page faults, as the layout pays for its fresh memory).
  enum ReadKind { kTouched, kFresh, kSecond };
  auto read = [&](ReadKind kind) {
    return bench::TimeInChild([&] {
      std::vector<char> buf;
      if (kind != kFresh) buf.assign(size + 4096, 1);
      if (kind == kSecond) BlockRead(book, &buf);
      double s = Now();
      if (kind == kFresh) buf.resize(size + 4096);  // zero pages, faulted in by the read
      return BlockRead(book, &buf) >= size ? Now() - s : -1;
    });
  };
  auto layout = [&] {
    return bench::TimeInChild([&] {
      double s = Now();
      bool done = BenchRunLayout(book);
      return done ? Now() - s : -1;
    });
  };
  bench::Paired p, fresh, second;
  for (int run = 0; run < 9; run++) {
    bench::Paired one;
    bool ok = bench::RunPaired(1, [&] { return read(kTouched); }, layout, &one);
    double f = read(kFresh), r2 = read(kSecond);
    if (!ok || f < 0 || r2 < 0) {
      printf("pipeline: the layout passes failed\n");
      return;
    }
    p.Add(one.ref[0], one.cand[0]);
    fresh.Add(f, one.cand[0]);
    second.Add(r2, one.cand[0]);
  }
  bench::PrintPaired("pipeline_vs_block_read", "one block read of the 10 MB text (child)",
                     "layout passes (child)", second, "<= 15", "ms", 1e3);
  bench::PrintPaired("pipeline_vs_first_block_read", "first block read in a process (child)",
                     "layout passes (child)", p, nullptr, "ms", 1e3);
  bench::PrintPaired("pipeline_vs_fresh_block_read", "block read into fresh pages (child)",
                     "layout passes (child)", fresh, nullptr, "ms", 1e3);

  // Peak memory: this benchmark started again to lay the book out, against it started again to
  // do nothing; each reports its own peak (VmHWM).
  long kb_idle = bench::CommandNumber({bench::Self(), "idle"});
  long kb_layout = bench::CommandNumber({bench::Self(), "layout", book});
  if (kb_idle < 0 || kb_layout < 0) {
    printf("pipeline: the memory runs failed\n");
    return;
  }
  printf("pipeline: peak memory laying the book out %ld kB, idle %ld kB; text %zu kB\n", kb_layout, kb_idle,
         size / 1024);
  printf("RATIO layout_memory_vs_text %.3f goal <= 3 (peak less the idle run's, over the text size)\n",
         (double)(kb_layout - kb_idle) / (double)(size / 1024));
}

// User and system CPU seconds of this process so far.
double CpuSeconds() {
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec * 1e-6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec * 1e-6;
}

// The layout's wall time and CPU time that "layout PATH" prints, run as a command; -1 on failure.
double LayoutSeconds(const std::string& program, const std::string& book, double* cpu) {
  std::string out;
  int fds[2];
  if (pipe(fds) != 0) return -1;
  fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    execl(program.c_str(), program.c_str(), "layout", book.c_str(), (char*)nullptr);
    _exit(127);
  }
  close(fds[1]);
  char buf[256];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof(buf))) > 0) out.append(buf, (size_t)n);
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  size_t at = out.find("layout "), at_cpu = out.find("cpu ");
  if (at == std::string::npos || at_cpu == std::string::npos) return -1;
  *cpu = atof(out.c_str() + at_cpu + 4);
  return atof(out.c_str() + at + 7);
}

// Two builds of the layout on the same book, in turn: OTHER (a copy of this benchmark built
// before a change) against this one.
void BenchAb(const std::string& dir, const std::string& other) {
  std::string book = dir + "/book10mb.txt";
  if (!WriteTextBook(book, 10u * 1024 * 1024)) return;
  bench::Paired p, cpu;
  double cpu_ref = 0, cpu_cand = 0;
  for (int i = 0; i < 9; i++) {
    bench::Paired one;
    if (!bench::RunPaired(
            1, [&] { return LayoutSeconds(other, book, &cpu_ref); },
            [&] { return LayoutSeconds(bench::Self(), book, &cpu_cand); }, &one)) {
      printf("ab: a layout failed\n");
      return;
    }
    p.Add(one.ref[0], one.cand[0]);
    cpu.Add(cpu_ref, cpu_cand);
  }
  bench::PrintPaired("layout_ab", other.c_str(), "this build's layout passes", p, nullptr, "ms", 1e3);
  bench::PrintPaired("layout_ab_cpu", "the same, CPU time", "this build's layout passes, CPU time", cpu, nullptr,
                     "ms", 1e3);
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
  // Started again by itself as the conversion command of a pair.
  if (argc == 4 && !strcmp(argv[1], "convert")) return RunOurs(argv[2], argv[3]);
  // Started again by itself to report a peak memory.
  if (argc == 3 && !strcmp(argv[1], "layout")) {
    double t0 = Now(), c0 = CpuSeconds();
    if (!BenchRunLayout(argv[2])) return 1;
    double t = Now() - t0, c = CpuSeconds() - c0;
    printf("%ld kB peak, layout %.4f s, cpu %.4f s\n", bench::PeakKb(), t, c);
    return 0;
  }
  // The 10 MB text book alone, for profiling the layout ("layout PATH" then lays it out).
  if (argc == 3 && !strcmp(argv[1], "write-book")) return WriteTextBook(argv[2], 10u * 1024 * 1024) ? 0 : 1;
  if (argc == 2 && !strcmp(argv[1], "idle")) {
    printf("%ld\n", bench::PeakKb());
    return 0;
  }
  printf("load before: %s\n", bench::Load().c_str());
  if (argc == 3 && !strcmp(argv[1], "ab")) {
    // Not pinned: each side is a program of its own, free to run where the machine has room.
    std::string ab_dir = PdfFixtureTempDir();
    if (ab_dir.empty()) return 1;
    BenchAb(ab_dir, argv[2]);
    PdfFixtureRemoveTree(ab_dir);
    return 0;
  }
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
