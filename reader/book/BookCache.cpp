// The converted text file of the book being loaded: reused when it is there, made otherwise.
// Every conversion writes under a temporary name beside the cache file and takes the real name
// only when it completed, so a crash or a cancel never leaves a truncated book that would be
// trusted the next time.
#include "BookCache.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "BookHtml.h"
#include "BookOpf.h"
#include "BookPdf.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "MainLoad.h"

namespace {

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

}  // namespace

char DisplayProgressProc(int first_page, int last_page, int page_done) {
  if (quit_loading_book) return 0;
  if (last_page - first_page <= 0) MainDisplayProgressMessage(nullptr, 1.0f);
  int pages = last_page - first_page + 1;
  float fraction = pages > 0 ? static_cast<float>(page_done) / static_cast<float>(pages) : 1.0f;
  MainDisplayProgressMessage(nullptr, fraction);
  return 1;
}

char CreateTextFileIfNeeded() {
  if (strnlen(pdf_filename, sizeof(pdf_filename)) >= 5 && CacheEndsWithNoCase(pdf_filename, ".txt")) {
    // A text book is its own text file: nothing is converted, deleted or cached.
    memcpy(text_filename, pdf_filename, sizeof(text_filename));
    text_filename[sizeof(text_filename) - 1] = 0;
    return 1;
  }
  if (!text_filename[0]) {
    DebugError("CreateTextFileIfNeeded", "No text file name for <%s>", pdf_filename);
    return 0;
  }
  if (load_control_force_reconvert && ComFileExists(text_filename)) ComFileDelete(text_filename);
  if (CacheIsUsable(text_filename)) return 1;

  char cache_name[sizeof(text_filename)];
  memcpy(cache_name, text_filename, sizeof(cache_name));
  char part_name[sizeof(text_filename)];
  int n = snprintf(part_name, sizeof(part_name), "%s.part", cache_name);
  if (n < 0 || n >= static_cast<int>(sizeof(part_name))) {
    DebugError("CreateTextFileIfNeeded", "Path too long <%s>", cache_name);
    return 0;
  }

  // The converters write to text_filename: point it at the temporary name while they run.
  memcpy(text_filename, part_name, sizeof(text_filename));
  char ok;
  if (CacheEndsWithNoCase(pdf_filename, ".htm") || CacheEndsWithNoCase(pdf_filename, ".html")) {
    ok = CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr);
  } else if (CacheEndsWithNoCase(pdf_filename, ".opf")) {
    ok = CreateTextFileFromOpfFile(pdf_filename);
  } else {
    // Anything else is taken for a PDF.
    int shown = snprintf(display_str, sizeof(display_str), "Converting File - %s", book_name);
    if (shown < 0) display_str[0] = 0;  // a very long name is only cut in the progress box
    MainDisplayProgressMessage(nullptr, 0.0f);
    pdftotext_setDisplayProgressProc(DisplayProgressProc);
    char arg0[] = "Lectrel";
    char arg1[] = "-layout";
    char* argv[] = {arg0, arg1, pdf_filename, part_name, nullptr};
    int result = pdftotext_main(4, argv);
    pdftotext_setDisplayProgressProc(nullptr);
    MainTurnOffBoxMessage();
    ok = result == 0;
    if (!ok)
      DebugError("CreateTextFileIfNeeded", "Could not convert file <%s> to text file <%s>", pdf_filename,
                 cache_name);
  }
  memcpy(text_filename, cache_name, sizeof(text_filename));

  if (!ok || quit_loading_book) {
    // A failed or cancelled conversion leaves nothing behind; the caller sees the cancel.
    ComFileDelete(part_name);
    return quit_loading_book ? 1 : ok;
  }
  if (!ComFileExists(part_name)) {
    DebugError("CreateTextFileIfNeeded", "Could not convert file <%s> to text file <%s>", pdf_filename,
               cache_name);
    return 0;
  }
  if (rename(part_name, cache_name) != 0) {
    DebugError("CreateTextFileIfNeeded", "Could not rename <%s> to <%s>", part_name, cache_name);
    ComFileDelete(part_name);
    return 0;
  }
  return 1;
}
