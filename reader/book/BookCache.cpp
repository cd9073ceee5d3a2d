// The converted text file of the book being loaded: reused only when it was made from this very
// book as it is now, made otherwise. Every conversion writes a temporary file of its own beside
// the cache file and gives it the real name only when it completed, so a crash, a cancel, a full
// disk or a second reader converting the same book never leaves a cut book that would be trusted
// the next time.
//
// Which book a cache was made from is kept in a small text record beside it, "<cache>.src": the
// book's path, size and modification time, and the cache file's own identity (device, inode and
// size) when the record was written. Books of one file name share one cache name (in two folders,
// or a ".txt" beside a ".html"), and a book can be replaced by a copy that keeps an older date: so
// the cache is used only when all of these still match, whatever the dates say.
#include "BookCache.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "BookHtml.h"
#include "BookOpf.h"
#include "BookPdf.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "ComMacText.h"
#include "MainLoad.h"

namespace {

// 1 when the last CreateTextFileIfNeeded made text_filename.
char bc_made_text_file = 0;

// Text books are read and converted in blocks of this size (a progress step each).
const size_t kTextBlock = 1 << 18;

bool CacheEndsWithNoCase(const char* s, const char* tail) {
  size_t n = strlen(s), t = strlen(tail);
  return n >= t && !strcasecmp(s + n - t, tail);
}

// A cache file with nothing in it is what a conversion that died at its start leaves.
bool CacheIsUsable(char* path) {
  if (!ComFileExists(path)) return false;
  if (ComFileGetSizeFilename(path) > 0) return true;
  ComFileDelete(path);
  return false;
}

const char kRecordMark[] = "Lectrel converted text";

std::string RecordName(const char* cache) { return std::string(cache) + ".src"; }

// What the record says of a book and its cache: the book's size and modification time to the
// nanosecond, and which file the cache was.
struct CacheSource {
  long long book_size, book_sec, book_nsec;
  unsigned long long cache_dev, cache_ino;
  long long cache_size;
};

bool StatSource(const char* book, const char* cache, CacheSource* src) {
  struct stat b, c;
  if (stat(book, &b) != 0 || (cache && stat(cache, &c) != 0)) return false;
  *src = CacheSource{(long long)b.st_size, (long long)b.st_mtim.tv_sec, (long long)b.st_mtim.tv_nsec, 0, 0, 0};
  if (cache) {
    src->cache_dev = (unsigned long long)c.st_dev;
    src->cache_ino = (unsigned long long)c.st_ino;
    src->cache_size = (long long)c.st_size;
  }
  return true;
}

bool SameBook(const CacheSource& a, const CacheSource& b) {
  return a.book_size == b.book_size && a.book_sec == b.book_sec && a.book_nsec == b.book_nsec;
}

// True when the record beside cache says it was made from book as the book is now, and the cache
// is still the file it was then (not cut, not replaced by another reader's conversion). A missing,
// foreign, cut or hostile record only means the book is converted again.
bool CacheIsOfThisBook(const char* book, const char* cache) {
  CacheSource now;
  if (!StatSource(book, cache, &now)) return false;
  void* f = ComFileOpenForReadingIfExists(RecordName(cache).c_str());
  if (!f) return false;
  std::vector<char> buf(COM_FILE_LINE_MAX);
  char* line = buf.data();
  bool ok = ComFileReadLine(f, line, COM_FILE_LINE_MAX) && !strcmp(line, kRecordMark) &&
            ComFileReadLine(f, line, COM_FILE_LINE_MAX) && !strcmp(line, book);
  CacheSource was;
  char end;
  ok = ok && ComFileReadLine(f, line, COM_FILE_LINE_MAX) &&
       sscanf(line, "%lld %lld %lld %llu %llu %lld%c", &was.book_size, &was.book_sec, &was.book_nsec, &was.cache_dev,
              &was.cache_ino, &was.cache_size, &end) == 6;
  ComFileClose(f);
  return ok && SameBook(was, now) && was.cache_dev == now.cache_dev && was.cache_ino == now.cache_ino &&
         was.cache_size == now.cache_size;
}

// Writes the record of the cache just made from book (before: the book as the conversion found
// it). A book that changed while it was converted gets no record, so it is converted again at the
// next load. 1 when the record was written.
char WriteCacheRecord(const char* book, const char* cache, const CacheSource& before) {
  CacheSource now;
  if (!StatSource(book, cache, &now) || !SameBook(before, now)) return 0;
  void* f = ComFileOpenForWriting(RecordName(cache).c_str());
  if (!f) return 0;
  char ok = ComFilePrintf(f, "%s\n", kRecordMark) && ComFileWrite(f, book, (uint32_t)strlen(book)) &&
            ComFilePrintf(f, "\n%lld %lld %lld %llu %llu %lld\n", now.book_size, now.book_sec, now.book_nsec,
                          now.cache_dev, now.cache_ino, now.cache_size);
  if (!ComFileClose(f)) ok = 0;
  return ok;
}

// The progress box of a conversion, at its start.
void ShowConvertingBox() {
  int shown = snprintf(display_str, sizeof(display_str), "Converting File - %s", book_name);
  if (shown < 0) display_str[0] = 0;  // a very long name is only cut in the progress box
  MainDisplayProgressMessage(nullptr, 0.0f);
}

// The bytes at the end of block[0, n) that begin a UTF-8 sequence the next block completes.
size_t Utf8CutTail(const unsigned char* block, size_t n) {
  for (size_t back = 1; back <= 3 && back <= n; back++) {
    const unsigned char c = block[n - back];
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: the lead is further back
    const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return need > back ? back : 0;
  }
  return 0;
}

// Reads a UTF-8 text file in blocks that never cut a sequence in two (a sequence cut at the end
// of the file stays cut): visit(bytes, n, taken) for each block, taken being the bytes it took
// from the file, until visit answers false. false when the file could not be read.
template <class Visit>
bool ReadUtf8Blocks(void* file, Visit visit) {
  uint64_t left = static_cast<uint64_t>(ComFileGetSize(file));
  std::vector<unsigned char> block(kTextBlock + 4);
  size_t carry = 0;
  while (left > 0) {
    const size_t want = left < kTextBlock ? static_cast<size_t>(left) : kTextBlock;
    if (!ComFileRead(file, block.data() + carry, static_cast<uint32_t>(want))) return false;
    left -= want;
    const size_t n = carry + want;
    const size_t end = left ? n - Utf8CutTail(block.data(), n) : n;
    if (!visit(block.data(), end, want)) return true;
    carry = n - end;
    memmove(block.data(), block.data() + end, carry);
  }
  return true;
}

// A text book that is to be converted: valid UTF-8 with at least one sequence of more than one
// byte (a byte-order mark is one). Any other text book is single-byte text already.
bool TextBookIsUtf8(const char* path) {
  void* in = ComFileOpenForReadingIfExists(path);
  if (!in) return false;
  bool multi = false, valid = true;
  const bool read = ReadUtf8Blocks(in, [&](const unsigned char* bytes, size_t n, size_t) {
    for (size_t i = 0; i < n;) {
      if (bytes[i] < 0x80) {
        i++;
        continue;
      }
      unsigned int cp;
      const int len = ComMacTextUtf8Decode(bytes + i, n - i, &cp);
      if (len == 0) return valid = false;
      multi = true;
      i += static_cast<size_t>(len);
    }
    return true;
  });
  ComFileClose(in);
  return read && valid && multi;
}

// Converts the UTF-8 text book pdf_filename into text_filename as Windows Latin-1, the
// byte-order mark dropped, line ends and form feeds kept; with progress, and cancelled (answering
// 1 at once) when quit_loading_book is set. 1 on success.
char CreateTextFileFromUtf8TextFile() {
  ShowConvertingBox();
  void* in = ComFileOpenForReading(pdf_filename);
  void* out = in ? ComFileCreateForWriting(text_filename) : nullptr;
  bool ok = out != nullptr;
  if (ok) {
    const double size = static_cast<double>(ComFileGetSize(in));
    std::vector<char> latin1(kTextBlock + 4);
    double done = 0;
    unsigned options = COM_MAC_TEXT_DROP_BOM;
    const bool read = ReadUtf8Blocks(in, [&](const unsigned char* bytes, size_t n, size_t taken) {
      const size_t len = ComMacTextUtf8ToLatin1Bytes(reinterpret_cast<const char*>(bytes), n, latin1.data(), options);
      options = 0;
      if (len && !ComFileWrite(out, latin1.data(), static_cast<uint32_t>(len))) return ok = false;
      done += static_cast<double>(taken);
      MainDisplayProgressMessage(nullptr, size > 0 ? static_cast<float>(done / size) : 1.0f);
      return !quit_loading_book;
    });
    if (!ComFileClose(out) || !read) ok = false;
  }
  ComFileClose(in);
  MainTurnOffBoxMessage();
  if (ok || quit_loading_book) return 1;
  DebugError("CreateTextFileIfNeeded", "Could not convert file <%s> to text file <%s>", pdf_filename, text_filename);
  return 0;
}

// Runs the converter of the book's type into text_filename.
char ConvertBook(const char* cache_name) {
  if (CacheEndsWithNoCase(pdf_filename, ".txt")) return CreateTextFileFromUtf8TextFile();
  if (CacheEndsWithNoCase(pdf_filename, ".htm") || CacheEndsWithNoCase(pdf_filename, ".html"))
    return CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr);
  if (CacheEndsWithNoCase(pdf_filename, ".opf")) return CreateTextFileFromOpfFile(pdf_filename);
  // Anything else is taken for a PDF.
  ShowConvertingBox();
  pdftotext_setDisplayProgressProc(DisplayProgressProc);
  char arg0[] = "Lectrel";
  char arg1[] = "-layout";
  char* argv[] = {arg0, arg1, pdf_filename, text_filename, nullptr};
  int result = pdftotext_main(4, argv);
  pdftotext_setDisplayProgressProc(nullptr);
  MainTurnOffBoxMessage();
  if (result == 0) return 1;
  DebugError("CreateTextFileIfNeeded", "Could not convert file <%s> to text file <%s>", pdf_filename, cache_name);
  return 0;
}

}  // namespace

char DisplayProgressProc(int first_page, int last_page, int page_done) {
  if (quit_loading_book) return 0;
  if (last_page - first_page <= 0) MainDisplayProgressMessage(nullptr, 1.0f);
  int pages = last_page - first_page + 1;
  float fraction = pages > 0 ? static_cast<float>(page_done) / static_cast<float>(pages) : 1.0f;
  MainDisplayProgressMessage(nullptr, fraction);
  return 1;
}

char CreateTextFileMadeByLastLoad() { return bc_made_text_file; }

char CreateTextFileIfNeeded() {
  bc_made_text_file = 0;
  if (strnlen(pdf_filename, sizeof(pdf_filename)) >= 5 && CacheEndsWithNoCase(pdf_filename, ".txt") &&
      (!strcmp(text_filename, pdf_filename) || !TextBookIsUtf8(pdf_filename))) {
    // A single-byte text book is its own text file: nothing is converted, deleted or cached.
    memcpy(text_filename, pdf_filename, sizeof(text_filename));
    text_filename[sizeof(text_filename) - 1] = 0;
    return 1;
  }
  if (!text_filename[0]) {
    DebugError("CreateTextFileIfNeeded", "No text file name for <%s>", pdf_filename);
    return 0;
  }
  if (load_control_force_reconvert && ComFileExists(text_filename)) ComFileDelete(text_filename);
  // A cache made from another book of the same name, or from this book before it changed (newer
  // or older), is converted again.
  if (CacheIsUsable(text_filename) && CacheIsOfThisBook(pdf_filename, text_filename)) return 1;
  CacheSource before;
  if (!StatSource(pdf_filename, nullptr, &before)) before = CacheSource{-1, -1, -1, 0, 0, 0};

  char cache_name[sizeof(text_filename)];
  memcpy(cache_name, text_filename, sizeof(cache_name));
  char temp_name[sizeof(text_filename)];
  if (!ComFileCreateTemporary(cache_name, temp_name, sizeof(temp_name))) {
    DebugError("CreateTextFileIfNeeded", "Could not convert file <%s> to text file <%s>", pdf_filename, cache_name);
    return 0;
  }
  ComFileTakeWriteError();
  // The converters write to text_filename: point it at the temporary while they run.
  memcpy(text_filename, temp_name, sizeof(text_filename));
  char ok = ConvertBook(cache_name);
  memcpy(text_filename, cache_name, sizeof(text_filename));
  const int write_error = ComFileTakeWriteError();

  if (!ok || quit_loading_book) {
    // A failed or cancelled conversion leaves nothing behind; the caller sees the cancel.
    ComFileReleaseTemporary(temp_name, nullptr);
    if (!ok && write_error)
      DebugError("CreateTextFileIfNeeded", "Could not write text file <%s> [%s]", cache_name, strerror(write_error));
    return quit_loading_book ? 1 : ok;
  }
  // The old record goes first: a crash between the rename and the new record leaves a cache with
  // no record (converted again), never a record that vouches for another book's text.
  const std::string record = RecordName(cache_name);
  ComFileDelete(record.c_str());
  if (!ComFileReleaseTemporary(temp_name, cache_name)) return 0;
  bc_made_text_file = 1;
  if (!WriteCacheRecord(pdf_filename, cache_name, before))
    DebugError("CreateTextFileIfNeeded", "The text file <%s> will be made again at the next load", cache_name);
  return 1;
}
