// ComFileReadLine over a generated ~20 MB book text, in paired runs in this process (see
// BenchPaired.h), against a 64 KB read-buffer loop splitting the same lines (the floor), an fgetc
// loop, the former byte reader (getc under the stream lock, the line staged and copied again) and
// the block-read-and-seek-back way of reading a line, so the figures are ratios, not
// machine-dependent times.
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

#include "BenchPaired.h"
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

// The former line reader: getc under the stream lock, the line staged, then measured and copied.
Count ReadWithFormerReader(const char* path) {
  Count c;
  static char in[10000], line[10000];
  FILE* f = fopen(path, "rb");
  for (;;) {
    uint32_t n = 0;
    bool end = false;
    flockfile(f);
    while (n < 9998) {
      int ch = getc_unlocked(f);
      if (ch == EOF) break;
      if (ch == '\n') {
        end = true;
        break;
      }
      if (ch == '\r') {
        int next = getc_unlocked(f);
        if (next != '\n' && next != EOF) ungetc(next, f);
        end = true;
        break;
      }
      in[n++] = (char)ch;
    }
    bool error = ferror(f) != 0;
    funlockfile(f);
    if (error || (n == 0 && !end)) break;
    in[n] = 0;
    memcpy(line, in, strlen(in) + 1);
    c.lines++;
    c.bytes += (long)strlen(line);
  }
  fclose(f);
  return c;
}

template <typename F>
double Seconds(F read, const char* path, Count* out) {
  auto t0 = Clock::now();
  *out = read(path);
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

int main() {
  char templ[] = "/tmp/lectrel-bench-XXXXXX";
  if (!mkdtemp(templ)) return 1;
  const std::string dir = templ;
  const std::string path = dir + "/book.txt";
  DebugSetLogFilename((dir + "/log.txt").c_str(), 1);
  const std::string text = MakeBook(path, 20u << 20);

  printf("book: %zu bytes\n", text.size());
  Count com, ref;
  auto pair = [&](const char* key, const char* name, Count (*reference)(const char*), int pairs) {
    bench::Paired p;
    bench::RunPaired(
        pairs, [&] { return Seconds(reference, path.c_str(), &ref); },
        [&] { return Seconds(ReadWithComFile, path.c_str(), &com); }, &p);
    bench::PrintPaired(key, name, "ComFileReadLine (max 9999)", p, nullptr, "ms", 1e3);
    if (com.bytes != ref.bytes || com.lines != ref.lines)
      printf("  note: the reference saw %ld lines and %ld bytes, ComFileReadLine %ld and %ld\n", ref.lines, ref.bytes,
             com.lines, com.bytes);
  };
  pair("readline_vs_buffer_loop", "64 KB read buffer loop", ReadWithBuffer, 7);
  pair("readline_vs_fgetc_loop", "fgetc loop", ReadWithFgetc, 7);
  pair("readline_vs_former_reader", "former byte reader (getc under the lock)", ReadWithFormerReader, 7);
  pair("readline_vs_block_and_seek", "block read + seek back per line", ReadWithBlockAndSeek, 3);

  unlink(path.c_str());
  unlink((dir + "/log.txt").c_str());
  rmdir(dir.c_str());
  return 0;
}
