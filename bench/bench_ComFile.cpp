// ComFileReadLine over a generated ~20 MB book text, against plain buffered byte loops in the
// same process (and against the former block-read-and-seek-back way of reading a line), so the
// figure printed is a ratio and not a machine-dependent time.
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComFile.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string MakeBook(const std::string& path, size_t target_bytes) {
  std::mt19937 rng(20);
  std::string text;
  text.reserve(target_bytes + 4096);
  while (text.size() < target_bytes) {
    int len = (rng() % 50 == 0) ? 1000 + (int)(rng() % 4000) : (int)(rng() % 90);
    for (int i = 0; i < len; i++) text += (i % 7 == 6) ? ' ' : (char)('a' + rng() % 26);
    text += (rng() % 10 == 0) ? "\r\n" : "\n";
    if (rng() % 40 == 0) text += "\f\n";
  }
  FILE* f = fopen(path.c_str(), "wb");
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
  return text;
}

// Lines and bytes seen, so no loop can be optimised away and all agree on the work.
struct Count {
  long lines = 0;
  long bytes = 0;
};

Count ReadWithComFile(const char* path) {
  Count c;
  static char line[10000];
  void* f = ComFileOpenForReading(path);
  while (ComFileReadLine(f, line, 9999)) {
    c.lines++;
    c.bytes += (long)strlen(line);
  }
  ComFileClose(f);
  return c;
}

// The line splitting of the hand-written loops over bytes from `next` (EOF at the end): "\n",
// "\r" and "\r\n" each end a line, and a last line without an end still counts.
template <typename NextByte>
Count SplitLines(NextByte next) {
  Count c;
  long len = 0;
  bool pending = false, after_cr = false;
  int ch;
  while ((ch = next()) != EOF) {
    if (after_cr && ch == '\n') {
      after_cr = false;
      continue;
    }
    after_cr = false;
    if (ch == '\n' || ch == '\r') {
      after_cr = ch == '\r';
      c.lines++;
      c.bytes += len;
      len = 0;
      pending = false;
    } else {
      len++;
      pending = true;
    }
  }
  if (pending) {
    c.lines++;
    c.bytes += len;
  }
  return c;
}

// The plain loop a reader would write by hand: fgetc until a line end.
Count ReadWithFgetc(const char* path) {
  FILE* f = fopen(path, "rb");
  const Count c = SplitLines([f]() { return fgetc(f); });
  fclose(f);
  return c;
}

// A read buffer of 64 KB scanned byte by byte.
Count ReadWithBuffer(const char* path) {
  int fd = open(path, O_RDONLY);
  std::vector<char> buf(1 << 16);
  ssize_t n = 0, i = 0;
  const Count c = SplitLines([&]() -> int {
    if (i == n) {
      n = read(fd, buf.data(), buf.size());
      i = 0;
      if (n <= 0) return EOF;
    }
    return (unsigned char)buf[i++];
  });
  close(fd);
  return c;
}

// The former way: one block read of max - 1 bytes and one seek back per line.
Count ReadWithBlockAndSeek(const char* path) {
  Count c;
  static char in[10000];
  FILE* f = fopen(path, "rb");
  for (;;) {
    size_t n = fread(in, 1, 9998, f);
    if (n == 0) break;
    size_t i = 0, end_len = 0;
    for (; i < n; i++) {
      if (in[i] == '\r') {
        end_len = (i + 1 < n && in[i + 1] == '\n') ? 2 : 1;
        break;
      }
      if (in[i] == '\n') {
        end_len = 1;
        break;
      }
    }
    c.lines++;
    c.bytes += (long)i;
    if (end_len) fseek(f, (long)(i + end_len) - (long)n, SEEK_CUR);
  }
  fclose(f);
  return c;
}

template <typename F>
double BestSeconds(F read, const char* path, Count* out) {
  double best = 1e9;
  for (int run = 0; run < 5; run++) {
    auto t0 = Clock::now();
    *out = read(path);
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (s < best) best = s;
  }
  return best;
}

}  // namespace

int main() {
  char templ[] = "/tmp/lectrel-bench-XXXXXX";
  if (!mkdtemp(templ)) return 1;
  const std::string dir = templ;
  const std::string path = dir + "/book.txt";
  DebugSetLogFilename((dir + "/log.txt").c_str(), 1);
  const std::string text = MakeBook(path, 20u << 20);

  Count com, fg, buf, old;
  double t_com = BestSeconds(ReadWithComFile, path.c_str(), &com);
  double t_fgetc = BestSeconds(ReadWithFgetc, path.c_str(), &fg);
  double t_buf = BestSeconds(ReadWithBuffer, path.c_str(), &buf);
  double t_old = BestSeconds(ReadWithBlockAndSeek, path.c_str(), &old);

  printf("book: %zu bytes, %ld lines (ComFileReadLine, max 9999)\n", text.size(), com.lines);
  printf("  ComFileReadLine          %8.1f ms  %6.1f MB/s\n", t_com * 1e3, text.size() / t_com / 1e6);
  printf("  fgetc loop               %8.1f ms  (%ld lines)\n", t_fgetc * 1e3, fg.lines);
  printf("  64 KB read buffer loop   %8.1f ms  (%ld lines)\n", t_buf * 1e3, buf.lines);
  printf("  block read + seek back   %8.1f ms  (%ld lines)\n", t_old * 1e3, old.lines);
  printf("ratio ComFileReadLine / fgetc loop:             %.2f\n", t_com / t_fgetc);
  printf("ratio ComFileReadLine / read buffer loop:       %.2f\n", t_com / t_buf);
  printf("ratio block read + seek back / ComFileReadLine: %.2f\n", t_old / t_com);
  if (com.bytes != fg.bytes || com.bytes != buf.bytes)
    printf("warning: the loops saw different byte counts (%ld, %ld, %ld)\n", com.bytes, fg.bytes, buf.bytes);

  unlink(path.c_str());
  unlink((dir + "/log.txt").c_str());
  rmdir(dir.c_str());
  return 0;
}
