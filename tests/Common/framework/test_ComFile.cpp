// The file layer: the line reader's pieces and line ends, whole-file reads and writes, files
// replaced only by a clean close, the in-process copy, and the logged failures.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ComFile.h"
#include "FrameworkTestUtil.h"

using fwtest::ReadAll;
using fwtest::WriteAll;

namespace {

class ComFileTest : public fwtest::TempDirTest {
 protected:
  // Every line ComFileReadLine delivers for the file's bytes with the given max.
  std::vector<std::string> ReadLines(const std::string& bytes, uint32_t max) {
    std::string p = Path("lines.txt");
    WriteAll(p, bytes);
    void* f = ComFileOpenForReading(p.c_str());
    EXPECT_NE(f, nullptr);
    std::vector<std::string> lines;
    std::vector<char> dst(max + 16, '#');
    while (ComFileReadLine(f, dst.data(), max)) {
      lines.push_back(dst.data());
      EXPECT_EQ(dst[max + 1], '#') << "written beyond max";
      if (lines.size() > bytes.size() + 2) break;  // a reader that never ends
    }
    ComFileClose(f);
    return lines;
  }

  int TempFilesLeft() const {
    int n = 0;
    for (const std::string& name : fwtest::ListDir(dir_)) n += name.find(".tmp-") != std::string::npos;
    return n;
  }
};

using Lines = std::vector<std::string>;

TEST_F(ComFileTest, ReadLineTable) {
  const std::string l9(9, 'x'), l8(8, 'y');
  struct Case {
    const char* what;
    std::string bytes;
    uint32_t max;
    Lines want;
  } cases[] = {
      {"mixed line ends", std::string("a\r\nb\rc\n\nd"), 100, {"a", "b", "c", "", "d"}},
      {"25-byte line in pieces", std::string(25, 'q'), 10, {std::string(9, 'q'), std::string(9, 'q'), std::string(7, 'q')}},
      {"last line without line end", "one\ntwo", 100, {"one", "two"}},
      {"empty lines only", "\n\r\n\r", 100, {"", "", ""}},
      {"CR LF pair counts once", "\r\n\r\n", 100, {"", ""}},
      {"NUL ends the text, reading resumes after the line end", std::string("ab\0cd\nef", 8), 100, {"ab", "ef"}},
      // A line end right after a full piece arrives as an empty line of its own.
      {"LF right after a full piece", l9 + "\nz", 10, {l9, "", "z"}},
      {"CR LF right after a full piece", l9 + "\r\nz", 10, {l9, "", "z"}},
      // A CR that is the last byte of a piece still pairs with the LF after it.
      {"CR LF split by the piece limit", l8 + "\r\nz", 10, {l8, "z"}},
      {"CR as the last byte of the file", "end\r", 100, {"end"}},
      {"max 2 reads one byte at a time", "ab\ncd", 2, {"a", "b", "", "c", "d"}},
      {"empty file", "", 100, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLines(c.bytes, c.max), c.want) << c.what;
}

TEST_F(ComFileTest, ReadLineMaxLimits) {
  std::string p = Path("long.txt");
  WriteAll(p, std::string(12000, 'L') + "\nnext\n");
  void* f = ComFileOpenForReading(p.c_str());
  ASSERT_NE(f, nullptr);
  std::vector<char> dst(10016, '#');

  EXPECT_EQ(ComFileReadLine(f, dst.data(), 10001), 0);
  EXPECT_TRUE(Logged("ComFileReadLineMac", "Line max size too big"));
  EXPECT_EQ(ComFileReadLine(f, dst.data(), 1), 0);
  EXPECT_EQ(ComFileReadLine(f, dst.data(), 0), 0);
  EXPECT_EQ(dst[0], '#') << "max 0 and 1 must write nothing";

  ASSERT_EQ(ComFileReadLine(f, dst.data(), 10000), 1);
  EXPECT_EQ(std::string(dst.data()), std::string(9999, 'L'));
  ASSERT_EQ(ComFileReadLine(f, dst.data(), 10000), 1);
  EXPECT_EQ(std::string(dst.data()), std::string(12000 - 9999, 'L'));
  ASSERT_EQ(ComFileReadLine(f, dst.data(), 10000), 1);
  EXPECT_STREQ(dst.data(), "next");
  EXPECT_EQ(ComFileReadLine(f, dst.data(), 10000), 0);
  ComFileClose(f);
}

// Random lines, long lines and every kind of line end, across the stream's own buffer
// boundaries, against the piece rule written out on the bytes.
TEST_F(ComFileTest, ReadLineMatchesPieceRuleOnRandomText) {
  std::mt19937 rng(1234);
  std::string bytes;
  while (bytes.size() < 300000) {
    int len = (rng() % 8 == 0) ? (int)(rng() % 20000) : (int)(rng() % 120);
    for (int i = 0; i < len; i++) bytes += (char)('a' + rng() % 26);
    const char* ends[] = {"\n", "\r", "\r\n", "\n\n", "\r\r\n"};
    bytes += ends[rng() % 5];
  }
  auto model = [](const std::string& s, size_t max) {
    Lines out;
    size_t p = 0;
    while (p < s.size()) {
      std::string line;
      while (line.size() < max - 1 && p < s.size()) {
        char c = s[p++];
        if (c == '\n') break;
        if (c == '\r') {
          if (p < s.size() && s[p] == '\n') p++;
          break;
        }
        line += c;
      }
      out.push_back(line);
    }
    return out;
  };
  for (uint32_t max : {2u, 3u, 512u, 1024u, 4097u, 9999u, 10000u}) {
    EXPECT_EQ(ReadLines(bytes, max), model(bytes, max)) << "max " << max;
  }
}

// The former line reader, byte by byte through getc: the reference for the one that scans the
// stream buffer. Same pieces, same line ends, same bytes in the destination, same stream position.
char ReferenceReadLine(FILE* f, char* dst, uint32_t max) {
  static char in[COM_FILE_LINE_MAX];
  const uint32_t limit = max - 1;
  uint32_t n = 0;
  bool line_end = false;
  while (n < limit) {
    int c = getc(f);
    if (c == EOF) break;
    if (c == '\n') {
      line_end = true;
      break;
    }
    if (c == '\r') {
      int next = getc(f);
      if (next != '\n' && next != EOF) ungetc(next, f);
      line_end = true;
      break;
    }
    in[n++] = (char)c;
  }
  if (n == 0 && !line_end) return 0;
  in[n] = 0;
  memcpy(dst, in, strlen(in) + 1);
  return 1;
}

// Tricky inputs read with stream buffers of a few bytes up to the usual size (given through
// ComFileSetReadBuffer), so every line end and every piece also falls on a refill; after some
// lines a raw byte read checks the position.
TEST_F(ComFileTest, ReadLineMatchesTheByteReaderAcrossBufferRefills) {
  std::mt19937 rng(77);
  std::string random;
  while (random.size() < 40000) {
    int len = (rng() % 10 == 0) ? (int)(rng() % 3000) : (int)(rng() % 40);
    for (int i = 0; i < len; i++) random += (rng() % 30 == 0) ? '\0' : (char)('a' + rng() % 26);
    const char* ends[] = {"\n", "\r", "\r\n", "\n\r", "\r\r\n"};
    random += ends[rng() % 5];
  }
  const std::string inputs[] = {
      std::string("cr\rlf\ncrlf\r\nlast"),
      std::string("a\0b\r\nc\0\0\nd\0", 12),
      std::string(5000, 'L') + "\r\n" + std::string(3000, 'M') + "\rend",
      std::string("\r\r\n\n\r"),
      std::string("\r"),
      std::string("no line end at all"),
      random,
  };
  for (size_t k = 0; k < sizeof(inputs) / sizeof(inputs[0]); k++) {
    const std::string& bytes = inputs[k];
    std::string p = Path("tricky.txt");
    WriteAll(p, bytes);
    for (size_t bufsize : {1u, 2u, 3u, 7u, 64u, 4096u}) {
      for (uint32_t max : {2u, 3u, 9u, 100u, 10000u}) {
        FILE* a = static_cast<FILE*>(ComFileOpenForReading(p.c_str()));
        FILE* b = fopen(p.c_str(), "rb");
        ASSERT_TRUE(a && b);
        std::vector<char> abuf(bufsize), bbuf(bufsize);
        ASSERT_EQ(ComFileSetReadBuffer(a, abuf.data(), (uint32_t)bufsize), 1);
        setvbuf(b, bbuf.data(), _IOFBF, bufsize);
        std::vector<char> da(max + 8, '#'), db(max + 8, '#');
        int line = 0, checks = 0;
        for (;;) {
          char ra = ComFileReadLine(a, da.data(), max);
          char rb = ReferenceReadLine(b, db.data(), max);
          ASSERT_EQ(ra, rb) << "input " << k << " buffer " << bufsize << " max " << max << " line " << line;
          ASSERT_EQ(da, db) << "input " << k << " buffer " << bufsize << " max " << max << " line " << line;
          ASSERT_EQ(ftell(a), ftell(b)) << "input " << k << " buffer " << bufsize << " max " << max;
          if (!ra) break;
          if (++line % 7 == 0 && checks++ < 40) {
            // Another call in between sees the byte right after the line, then puts it back.
            int ca = getc(a), cb = getc(b);
            ASSERT_EQ(ca, cb);
            if (ca != EOF) {
              ungetc(ca, a);
              ungetc(cb, b);
            }
          }
        }
        fclose(a);
        fclose(b);
      }
    }
  }
}

TEST_F(ComFileTest, ReadLineKeepsStreamPositionForOtherCalls) {
  std::string p = Path("pos.txt");
  WriteAll(p, "first\r\nsecond\nthird");
  void* f = ComFileOpenForReading(p.c_str());
  ASSERT_NE(f, nullptr);
  char line[64];
  ASSERT_EQ(ComFileReadLine(f, line, sizeof(line)), 1);
  EXPECT_EQ(ComFileGetSize(f), 19);
  char raw[6] = {0};
  ASSERT_EQ(ComFileRead(f, raw, 6), 1);
  EXPECT_EQ(std::string(raw, 6), "second");
  ASSERT_EQ(ComFileRewind(f), 1);
  ASSERT_EQ(ComFileReadLine(f, line, sizeof(line)), 1);
  EXPECT_STREQ(line, "first");
  ComFileClose(f);
}

TEST_F(ComFileTest, ReadErrorIsLoggedNotTakenForEndOfFile) {
  // Reading a folder's stream fails with an error, not with end of file.
  void* f = fopen(dir_.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char line[64];
  EXPECT_EQ(ComFileReadLine(f, line, sizeof(line)), 0);
  EXPECT_TRUE(Logged("ComFileReadLineMac", "Could not read from file"));
  ComFileClose(f);
}

TEST_F(ComFileTest, ReadAndWriteCounts) {
  std::string p = Path("rw.bin");
  void* w = ComFileCreateForWriting(p.c_str());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ComFileWrite(w, "abc", 0), 0);
  EXPECT_TRUE(Logged("ComFileWrite", "Could not write to file"));
  EXPECT_EQ(ComFilePrintf(w, "%s", ""), 0);
  EXPECT_TRUE(Logged("ComFilePrintf", "Could not write to file"));
  EXPECT_EQ(ComFileWrite(w, "abc", 3), 1);
  EXPECT_EQ(ComFilePrintf(w, "%d-%s", 42, "x"), 1);
  ASSERT_EQ(ComFileClose(w), 1) << "a refused empty write must not spoil the file";
  EXPECT_EQ(ReadAll(p), "abc42-x");

  void* r = ComFileOpenForReading(p.c_str());
  ASSERT_NE(r, nullptr);
  char buf[16];
  EXPECT_EQ(ComFileRead(r, buf, 0), 0);
  EXPECT_TRUE(Logged("ComFileRead", "Could not read from file"));
  EXPECT_EQ(ComFileRead(r, buf, 10), 0);
  EXPECT_TRUE(Logged("ComFileRead", "Problem reading from file [ read 7 not 10 ]"));
  EXPECT_EQ(ComFileRead(r, buf, 1), 0);
  EXPECT_TRUE(Logged("ComFileRead", "Could not read from file"));
  ComFileClose(r);
}

TEST_F(ComFileTest, PrintfLongerThanItsBufferIsWrittenWhole) {
  std::string p = Path("long.txt");
  std::string text(12000, 'p');
  void* w = ComFileOpenForWriting(p.c_str());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ComFilePrintf(w, "<%s>", text.c_str()), 1);
  ASSERT_EQ(ComFileClose(w), 1);
  EXPECT_EQ(ReadAll(p), "<" + text + ">");
}

TEST_F(ComFileTest, WritingReplacesTheFileOnlyAtACleanClose) {
  std::string p = Path("settings.cfg");
  WriteAll(p, "old contents");
  chmod(p.c_str(), 0640);
  void* w = ComFileOpenForWriting(p.c_str());
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(ComFileWrite(w, "new", 3), 1);
  EXPECT_EQ(ReadAll(p), "old contents") << "the old file stays until the close";
  ASSERT_EQ(ComFileClose(w), 1);
  EXPECT_EQ(ReadAll(p), "new");
  struct stat st;
  ASSERT_EQ(stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file's permissions are kept";
  EXPECT_EQ(TempFilesLeft(), 0) << "no temporary file left beside it";

  ASSERT_EQ(ComFileOpenWriteAndClose(p.c_str(), "whole", 5), 1);
  EXPECT_EQ(ReadAll(p), "whole");
  EXPECT_EQ(TempFilesLeft(), 0);
}

// A write that fails (here: the file size limit) reports failure and keeps the old file.
TEST_F(ComFileTest, FailedWriteReportsFailureAndKeepsOldFile) {
  std::string p = Path("book.txt");
  WriteAll(p, "old contents");
  std::string src = Path("big source.txt");
  WriteAll(src, std::string(1000, 's'));
  int status = fwtest::RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = {64, 64};
    setrlimit(RLIMIT_FSIZE, &lim);
    std::string big(1000, 'n');
    void* w = ComFileOpenForWriting(p.c_str());
    if (!w) return 10;
    ComFilePrintf(w, "%s", big.c_str());
    if (ComFileClose(w) != 0) return 11;
    if (ComFileOpenWriteAndClose(p.c_str(), big.data(), (uint32_t)big.size()) != 0) return 12;
    if (ComFileCopyFile(src.c_str(), p.c_str(), 0) != 0) return 13;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadAll(p), "old contents");
  EXPECT_EQ(TempFilesLeft(), 0) << "the failed temporary files are removed";
}

// A file another library writes on its own stream (a JPEG) replaces the old one only when the
// writer succeeded and the flush, the sync to the disk, the close and the rename all worked.
TEST_F(ComFileTest, WriteReplacingCommitsOnlyAWholeWrite) {
  struct Writer {
    char result;
  };
  auto write = [](FILE* f, void* context) -> char {
    fputs("new picture", f);
    return ((Writer*)context)->result;
  };
  const struct {
    char result;
    int fault;  // the injected failure: 1 flush, 2 sync to the disk, 3 close, 4 rename
    char ok;
  } cases[] = {{1, 0, 1}, {0, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, 3, 0}, {1, 4, 0}};
  std::string p = Path("cover.jpg");
  for (const auto& c : cases) {
    SCOPED_TRACE("result " + std::to_string(c.result) + ", fault " + std::to_string(c.fault));
    WriteAll(p, "old picture");
    Writer writer = {c.result};
    ComFileInjectFault(c.fault);
    EXPECT_EQ(c.ok, ComFileWriteReplacing(p.c_str(), "ComJpegWriteFileFromBuffer", write, &writer));
    EXPECT_EQ(c.fault != 0, ComFileFaultFired() != 0);
    ComFileInjectFault(0);
    EXPECT_EQ(ReadAll(p), c.ok ? "new picture" : "old picture");
    EXPECT_EQ(TempFilesLeft(), 0);
    const std::string why = c.fault == 4 ? "Could not rename file to <" + p + "> [Input/output error]"
                                         : "Could not write file <" + p + "> [Input/output error]";
    if (!c.ok) {
      EXPECT_TRUE(Logged("ComJpegWriteFileFromBuffer", why));
    }
  }
  const std::string nowhere = Path("no such folder/c.jpg");
  EXPECT_EQ(0, ComFileWriteReplacing(nowhere.c_str(), "ComJpegWriteFileFromBuffer", write, nullptr));
  EXPECT_TRUE(Logged("ComJpegWriteFileFromBuffer", "Could not create file <" + nowhere + ">"));
}

// A held temporary (a book's cache as it is converted) takes its name only once its bytes reached
// the disk; a failed sync or rename keeps the old file and leaves no temporary.
TEST_F(ComFileTest, ReleasedTemporaryTakesItsNameOnlyWhenSynced) {
  const struct {
    int fault;  // 0 none, 1 the sync to the disk, 2 the rename
    const char* why;
  } cases[] = {{0, nullptr}, {1, "Could not write file <%s> [Input/output error]"},
               {2, "Could not rename file to <%s> [Input/output error]"}};
  const std::string to = Path("Book.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE("fault " + std::to_string(c.fault));
    WriteAll(to, "old text");
    char name[1024];
    ASSERT_EQ(ComFileCreateTemporary(to.c_str(), name, sizeof(name)), 1);
    void* f = ComFileOpenForWriting(name);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(ComFileWrite(f, "new text", 8), 1);
    ASSERT_EQ(ComFileClose(f), 1);
    ComFileInjectFault(c.fault);
    EXPECT_EQ(ComFileReleaseTemporary(name, to.c_str()), c.fault ? 0 : 1);
    EXPECT_EQ(ComFileFaultFired() != 0, c.fault != 0);
    ComFileInjectFault(0);
    EXPECT_EQ(ReadAll(to), c.fault ? "old text" : "new text");
    EXPECT_EQ(TempFilesLeft(), 0);
    if (c.why) {
      char line[1200];
      snprintf(line, sizeof(line), c.why, to.c_str());
      EXPECT_TRUE(Logged("ComFileReleaseTemporary", line));
    }
  }
}

TEST_F(ComFileTest, WholeFileReads) {
  std::string p = Path("record.dat");
  WriteAll(p, "0123456789");
  char buf[16] = "untouched";

  EXPECT_EQ(ComFileOpenReadAndCloseIfExists(Path("missing.dat").c_str(), buf, 10), 1);
  EXPECT_STREQ(buf, "untouched");
  EXPECT_EQ(ComFileOpenReadAndCloseIfExists(p.c_str(), buf, 9), 0);
  EXPECT_TRUE(Logged("ComFileOpenReadAndCloseIfExists", "Invalid file size in <" + p + ">"));
  EXPECT_STREQ(buf, "untouched");

  EXPECT_EQ(ComFileOpenReadAndClose(Path("missing.dat").c_str(), buf, 10), 0);
  EXPECT_TRUE(Logged("ComFileOpenReadAndClose", "Could not open file <" + Path("missing.dat") + ">"));
  EXPECT_EQ(ComFileOpenReadAndClose(p.c_str(), buf, 11), 0);
  EXPECT_TRUE(Logged("ComFileOpenReadAndClose", "Invalid file size in <" + p + ">"));
  EXPECT_STREQ(buf, "untouched");
  ASSERT_EQ(ComFileOpenReadAndClose(p.c_str(), buf, 10), 1);
  EXPECT_EQ(std::string(buf, 10), "0123456789");

  EXPECT_EQ(ComFileGetSizeFilename(p.c_str()), 10);
  EXPECT_EQ(ComFileGetSizeFilename(Path("missing.dat").c_str()), 0);
}

TEST_F(ComFileTest, CopyNeverRunsAShellOverNamesWithShellCharacters) {
  const char* names[] = {"plain.txt", "with blanks in it.txt", "quote\"d.txt", "it's.txt",
                         "$(touch pwned1).txt", "`touch pwned2`.txt", "semi;colon&amp|pipe.txt",
                         "-leading-dash.txt"};
  std::string src_bytes;
  for (int i = 0; i < 200000; i++) src_bytes += (char)(i * 7 + i / 251);
  for (const char* name : names) {
    std::string from = Path(std::string("src ") + name), to = Path(std::string("dst ") + name);
    WriteAll(from, src_bytes);
    EXPECT_EQ(ComFileCopyFile(from.c_str(), to.c_str(), 1), 1) << name;
    EXPECT_EQ(ReadAll(to), src_bytes) << name;
  }
  EXPECT_FALSE(fwtest::PathExists("pwned1") || fwtest::PathExists(Path("pwned1")));
  EXPECT_FALSE(fwtest::PathExists("pwned2") || fwtest::PathExists(Path("pwned2")));
}

TEST_F(ComFileTest, CopyResults) {
  std::string a = Path("a.txt"), b = Path("b.txt");
  WriteAll(a, "AAA");
  WriteAll(b, "BBB");
  EXPECT_EQ(ComFileCopyFile(a.c_str(), b.c_str(), 1), 0);
  EXPECT_TRUE(Logged("ComFileCopyFile", "File <" + b + "> exists"));
  EXPECT_EQ(ReadAll(b), "BBB");
  EXPECT_EQ(ComFileCopyFile(a.c_str(), b.c_str(), 0), 1);
  EXPECT_EQ(ReadAll(b), "AAA");

  EXPECT_EQ(ComFileCopyFile(Path("none.txt").c_str(), b.c_str(), 0), 0);
  EXPECT_TRUE(Logged("ComFileCopyFile", "File <" + Path("none.txt") + "> does not exist"));
  EXPECT_EQ(ComFileCopyFile("", b.c_str(), 0), 0);
  EXPECT_EQ(ComFileCopyFile(a.c_str(), nullptr, 0), 0);
  EXPECT_TRUE(Logged("ComFileCopyFile", "Invalid parameters"));

  // A destination that cannot be written is a reported failure, not a success.
  std::string bad = Path("no such folder/c.txt");
  EXPECT_EQ(ComFileCopyFile(a.c_str(), bad.c_str(), 0), 0);
  EXPECT_FALSE(fwtest::PathExists(bad));
}

// A reader starting up removes the temporaries a crashed one left, while another reader may be
// saving in the same folder: one process saves for a few seconds (held temporaries written in
// place and renamed, and whole-file writes), another removes leftovers all the while. No save
// may lose its temporary, and since nothing was left over, nothing may be removed.
TEST_F(ComFileTest, LeftoverRemovalNeverTakesALiveWritersTemporary) {
  const double kSeconds = 3.0;
  auto now = [] {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec * 1e-9;
  };
  auto start = [](auto body) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
      alarm(30);
      _exit(body());
    }
    return pid;
  };
  const std::string counts = Path("counts.txt");
  auto note = [&](const char* who, long a, long b) {
    FILE* f = fopen(counts.c_str(), "a");
    if (f) {
      fprintf(f, "%s %ld %ld\n", who, a, b);
      fclose(f);
    }
  };
  const pid_t remover = start([&] {
    long removed = 0, rounds = 0;
    for (double end = now() + kSeconds; now() < end; rounds++)
      removed += ComFileRemoveLeftoverTemporaries(dir_.c_str());
    note("removed", removed, rounds);
    return 0;
  });
  const pid_t writer = start([&] {
    long lost = 0, saves = 0;
    for (double end = now() + kSeconds; now() < end; saves++) {
      const std::string to = Path("book" + std::to_string(saves % 4) + ".txt");
      const std::string text = "save " + std::to_string(saves);
      bool ok;
      if (saves % 2) {
        ok = ComFileOpenWriteAndClose(to.c_str(), text.data(), (uint32_t)text.size()) == 1;
      } else {
        char name[1024];
        ok = ComFileCreateTemporary(to.c_str(), name, sizeof(name)) == 1;
        if (ok) {
          void* f = ComFileOpenForWriting(name);
          ok = f && ComFileWrite(f, text.data(), (uint32_t)text.size()) && ComFileClose(f);
          ok = ComFileReleaseTemporary(name, to.c_str()) == 1 && ok;
        }
      }
      if (!ok || ReadAll(to) != text) lost++;
    }
    note("lost", lost, saves);
    return 0;
  });
  int status = 0;
  ASSERT_EQ(waitpid(writer, &status, 0), writer);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(waitpid(remover, &status, 0), remover);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  long lost = -1, saves = 0, removed = -1, rounds = 0;
  std::istringstream in(ReadAll(counts));
  for (std::string who; in >> who;) (who == "lost" ? in >> lost >> saves : in >> removed >> rounds);
  EXPECT_GT(saves, 100);
  EXPECT_GT(rounds, 100);
  EXPECT_EQ(lost, 0) << "of " << saves << " saves";
  EXPECT_EQ(removed, 0) << "in " << rounds << " rounds of removal";
  EXPECT_EQ(TempFilesLeft(), 0);
}

TEST_F(ComFileTest, FilesAndFolders) {
  std::string d = Path("sub");
  EXPECT_EQ(ComFileDirectoryExists(d.c_str()), 0);
  EXPECT_EQ(ComFileCreateDirectory(d.c_str()), 1);
  EXPECT_EQ(ComFileDirectoryExists(d.c_str()), 1);
  EXPECT_EQ(ComFileCreateDirectory(d.c_str()), 0);
  EXPECT_TRUE(Logged("ComFileCreateDirectory", "mkdir failed"));

  std::string f = d + "/f.txt";
  EXPECT_EQ(ComFileExists(f.c_str()), 0);
  void* a = ComFileOpenForAppending(f.c_str());
  ASSERT_NE(a, nullptr);
  ComFilePrintf(a, "one");
  ComFileClose(a);
  a = ComFileOpenForAppending(f.c_str());
  ComFilePrintf(a, "two");
  ComFileClose(a);
  EXPECT_EQ(ReadAll(f), "onetwo");
  EXPECT_EQ(ComFileExists(f.c_str()), 1);
  ComFileDeleteDirectory(d.c_str());  // not empty: stays
  EXPECT_EQ(ComFileDirectoryExists(d.c_str()), 1);
  ComFileDelete(f.c_str());
  EXPECT_EQ(ComFileExists(f.c_str()), 0);
  ComFileDeleteDirectory(d.c_str());
  EXPECT_EQ(ComFileDirectoryExists(d.c_str()), 0);

  EXPECT_EQ(ComFileOpenForReading(f.c_str()), nullptr);
  EXPECT_TRUE(Logged("ComFileOpenForReading", "Could not open file <" + f + ">"));
  EXPECT_EQ(ComFileOpenForReadingIfExists(f.c_str()), nullptr);
  EXPECT_EQ(ComFileCreateForWriting((d + "/x").c_str()), nullptr);
  EXPECT_TRUE(Logged("ComFileCreateForWriting", "Could not create file <" + d + "/x>"));
  EXPECT_EQ(ComFileClose(nullptr), 1);
}

// A FIFO, a folder, a socket or a device at a file's place is refused by every call that opens a
// path, with the message a missing file gets, and at once: each kind runs in a child with a time
// limit, so a call that waits on the FIFO fails the case instead of hanging the test. A save over
// it replaces it with a file (the write goes to a temporary that is renamed over it), except over
// a folder, which a rename cannot replace.
TEST_F(ComFileTest, NonFilesAreRefusedAsMissingFilesAndNeverWaitedFor) {
  for (fwtest::NonFile kind : fwtest::kNonFiles) {
    SCOPED_TRACE(fwtest::NonFileName(kind));
    const std::string p = Path("thing.dat"), copy = Path("copy.dat");
    ASSERT_TRUE(fwtest::MakeNonFile(kind, p));
    const int status = fwtest::RunChecksInChild(
        [&] {
          char buf[4] = {'k', 'e', 'e', 'p'};
          EXPECT_EQ(ComFileExists(p.c_str()), 0);
          EXPECT_EQ(ComFileOpenForReading(p.c_str()), nullptr);
          EXPECT_TRUE(Logged("ComFileOpenForReading", "Could not open file <" + p + ">"));
          EXPECT_EQ(ComFileOpenForReadingIfExists(p.c_str()), nullptr);
          EXPECT_EQ(ComFileOpenReadAndClose(p.c_str(), buf, sizeof(buf)), 0);
          EXPECT_TRUE(Logged("ComFileOpenReadAndClose", "Could not open file <" + p + ">"));
          EXPECT_EQ(ComFileOpenReadAndCloseIfExists(p.c_str(), buf, sizeof(buf)), 1);
          EXPECT_EQ(std::string(buf, sizeof(buf)), "keep");
          EXPECT_EQ(ComFileGetSizeFilename(p.c_str()), 0);
          EXPECT_TRUE(Logged("ComFileGetSizeFilename", "Could not open file <" + p + ">"));
          EXPECT_EQ(ComFileCopyFile(p.c_str(), copy.c_str(), 0), 0);
          EXPECT_TRUE(Logged("ComFileCopyFile", "File <" + p + "> does not exist"));
          EXPECT_FALSE(fwtest::PathExists(copy));
          EXPECT_EQ(ComFileOpenForAppending(p.c_str()), nullptr);

          const char saved = ComFileOpenWriteAndClose(p.c_str(), "new", 3);
          if (kind == fwtest::NonFile::kFolder) {
            EXPECT_EQ(saved, 0);
          } else {
            EXPECT_EQ(saved, 1);
            EXPECT_EQ(ReadAll(p), "new");
            EXPECT_EQ(ComFileExists(p.c_str()), 1);
          }
        },
        5);
    EXPECT_EQ(status, 0) << "-1: the child waited past its time limit";
    fwtest::RemoveNonFile(p);
  }
}

TEST_F(ComFileTest, EmptyPathsAreRefusedWithTheirMessages) {
  char buf[4];
  EXPECT_EQ(ComFileOpenForReading(""), nullptr);
  EXPECT_EQ(ComFileOpenForReadingIfExists(""), nullptr);
  EXPECT_EQ(ComFileCreateForWriting(""), nullptr);
  EXPECT_EQ(ComFileOpenForWriting(nullptr), nullptr);
  EXPECT_EQ(ComFileOpenForAppending(""), nullptr);
  EXPECT_EQ(ComFileOpenReadAndClose("", buf, 4), 0);
  EXPECT_EQ(ComFileOpenReadAndCloseIfExists("", buf, 4), 1);
  EXPECT_EQ(ComFileOpenWriteAndClose("", buf, 4), 0);
  EXPECT_EQ(ComFileGetSizeFilename(""), 0);
  ComFileDelete("");
  EXPECT_EQ(ComFileExists(""), 0);
  EXPECT_EQ(ComFileCreateDirectory(""), 0);
  ComFileDeleteDirectory("");
  EXPECT_EQ(ComFileDirectoryExists(""), 0);
  ComFileOutputLastError("Caller");
  ComFileOutputLastError(nullptr);

  const std::string want = ErrorLine("ComFileOpenForReading", "No filename specified") +
                           ErrorLine("ComFileCreateForWriting", "No filename specified") +
                           ErrorLine("ComFileOpenForWriting", "No filename specified") +
                           ErrorLine("ComFileOpenForAppending", "No filename specified") +
                           ErrorLine("ComFileOpenReadAndClose", "No filename specified") +
                           ErrorLine("ComFileOpenWriteAndClose", "No filename specified") +
                           ErrorLine("ComFileGetSizeFilename", "No filename specified") +
                           ErrorLine("ComFileDelete", "No filename specified") +
                           ErrorLine("ComFileExists", "No filename specified") +
                           ErrorLine("ComFileCreateDirectory", "No filename specified") +
                           ErrorLine("ComFileDeleteDirectory", "No name specified") +
                           ErrorLine("ComFileDirectoryExists", "No filename specified") +
                           ErrorLine("ComFileOutputLastError", "Not supported on Mac (called by Caller)") +
                           ErrorLine("ComFileOutputLastError", "Not supported on Mac");
  EXPECT_EQ(Log(), want);
}

TEST_F(ComFileTest, SizeKeepsPositionAndSeeksWork) {
  std::string p = Path("s.bin");
  WriteAll(p, "0123456789");
  void* f = ComFileOpenForReading(p.c_str());
  ASSERT_NE(f, nullptr);
  char c;
  ASSERT_EQ(ComFileRead(f, &c, 1), 1);
  EXPECT_EQ(ComFileGetSize(f), 10);
  ASSERT_EQ(ComFileRead(f, &c, 1), 1);
  EXPECT_EQ(c, '1');
  ASSERT_EQ(ComFileMoveToEnd(f), 1);
  EXPECT_EQ(ComFileRead(f, &c, 1), 0);
  ComFileClose(f);
  EXPECT_EQ(ComFileRewind(nullptr), 0);
  EXPECT_TRUE(Logged("ComFileRewind", "Error rewinding file"));
}

}  // namespace
