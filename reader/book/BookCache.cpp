// The converted text file of the book being loaded: reused when it is there and not older than
// the book, made otherwise. Every conversion writes a temporary file of its own beside the cache
// file and gives it the real name only when it completed, so a crash, a cancel, a full disk or a
// second reader converting the same book never leaves a cut book that would be trusted the next
// time.
#include "BookCache.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
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

// True when the book's file was modified after its cache was written.
bool BookIsNewerThanCache(const char* book, const char* cache) {
  struct stat b, c;
  if (stat(book, &b) != 0 || stat(cache, &c) != 0) return false;
  if (b.st_mtim.tv_sec != c.st_mtim.tv_sec) return b.st_mtim.tv_sec > c.st_mtim.tv_sec;
  return b.st_mtim.tv_nsec > c.st_mtim.tv_nsec;
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
  // A book replaced after its conversion is converted again.
  if (CacheIsUsable(text_filename) && !BookIsNewerThanCache(pdf_filename, text_filename)) return 1;

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
  if (!ComFileReleaseTemporary(temp_name, cache_name)) return 0;
  bc_made_text_file = 1;
  return 1;
}
