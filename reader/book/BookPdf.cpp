// The PDF library's text-extraction tool as a function. The library's document class cannot gain
// a member here, so the page loop lives in pdftotext_main: one page at a time into the text
// device, with the progress procedure after each page.
#include "BookPdf.h"

#include <fcntl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <poppler/Error.h>
#include <poppler/GlobalParams.h>
#include <poppler/PDFDoc.h>
#include <poppler/Stream.h>
#include <poppler/TextOutputDev.h>
#include <poppler/goo/GooString.h>
#include <poppler/goo/gfile.h>

#include "ComFile.h"

_PdfProgressProc pdftotext_displayProgressProc = nullptr;

void pdftotext_setDisplayProgressProc(_PdfProgressProc proc) { pdftotext_displayProgressProc = proc; }

namespace {

// The tool's option globals; reset before every parse so that repeated calls start clean.
int pt_first_page;
int pt_last_page;
bool pt_phys_layout;
bool pt_raw_order;
bool pt_html_meta;
char pt_text_enc_name[128];
char pt_text_eol[16];
bool pt_no_page_breaks;
char pt_owner_password[33];
char pt_user_password[33];
bool pt_quiet;
char pt_cfg_file_name[256];
bool pt_print_version;
bool pt_print_help;

const char kNotGiven[] = "\001";

void PdfResetOptions() {
  pt_first_page = 1;
  pt_last_page = 0;
  pt_phys_layout = false;
  pt_raw_order = false;
  pt_html_meta = false;
  pt_text_enc_name[0] = 0;
  pt_text_eol[0] = 0;
  pt_no_page_breaks = false;
  memcpy(pt_owner_password, kNotGiven, sizeof(kNotGiven));
  memcpy(pt_user_password, kNotGiven, sizeof(kNotGiven));
  pt_quiet = false;
  pt_cfg_file_name[0] = 0;
  pt_print_version = false;
  pt_print_help = false;
}

enum PdfArgKind { kArgFlag, kArgInt, kArgString };

struct PdfArgDesc {
  const char* name;
  PdfArgKind kind;
  void* val;
  size_t size;  // strings: buffer size, NUL included
  const char* usage;
};

const PdfArgDesc kArgs[] = {
    {"-f", kArgInt, &pt_first_page, 0, "first page to convert"},
    {"-l", kArgInt, &pt_last_page, 0, "last page to convert"},
    {"-layout", kArgFlag, &pt_phys_layout, 0, "maintain original physical layout"},
    {"-raw", kArgFlag, &pt_raw_order, 0, "keep strings in content stream order"},
    {"-htmlmeta", kArgFlag, &pt_html_meta, 0, "generate a simple HTML file, including the meta information"},
    {"-enc", kArgString, pt_text_enc_name, sizeof(pt_text_enc_name), "output text encoding name"},
    {"-eol", kArgString, pt_text_eol, sizeof(pt_text_eol), "output end-of-line convention (unix, dos, or mac)"},
    {"-nopgbrk", kArgFlag, &pt_no_page_breaks, 0, "don't insert page breaks between pages"},
    {"-opw", kArgString, pt_owner_password, sizeof(pt_owner_password), "owner password (for encrypted files)"},
    {"-upw", kArgString, pt_user_password, sizeof(pt_user_password), "user password (for encrypted files)"},
    {"-q", kArgFlag, &pt_quiet, 0, "don't print any messages or errors"},
    {"-cfg", kArgString, pt_cfg_file_name, sizeof(pt_cfg_file_name), "configuration file to use in place of .xpdfrc"},
    {"-v", kArgFlag, &pt_print_version, 0, "print copyright and version info"},
    {"-h", kArgFlag, &pt_print_help, 0, "print usage information"},
    {"-help", kArgFlag, &pt_print_help, 0, "print usage information"},
    {"--help", kArgFlag, &pt_print_help, 0, "print usage information"},
    {"-?", kArgFlag, &pt_print_help, 0, "print usage information"},
};

bool PdfIsInt(const char* s) {
  if (*s == '-' || *s == '+') s++;
  if (!*s) return false;
  for (; *s; s++)
    if (*s < '0' || *s > '9') return false;
  return true;
}

// Removes n entries at index i from the argument vector.
void PdfRemoveArgs(int* argc, char** argv, int i, int n) {
  for (int j = i; j + n < *argc; j++) argv[j] = argv[j + n];
  *argc -= n;
  argv[*argc] = nullptr;
}

// The tool's argument parser: options are taken out of the vector wherever they stand (up to a
// "--"), anything else stays as a positional argument. false when an option lacks its value or
// an integer option gets something else.
bool PdfParseArgs(int* argc, char** argv) {
  bool ok = true;
  int i = 1;
  while (i < *argc) {
    if (!argv[i]) break;
    if (!strcmp(argv[i], "--")) {
      PdfRemoveArgs(argc, argv, i, 1);
      break;
    }
    const PdfArgDesc* arg = nullptr;
    for (const PdfArgDesc& a : kArgs)
      if (!strcmp(argv[i], a.name)) {
        arg = &a;
        break;
      }
    if (!arg) {
      i++;
      continue;
    }
    if (arg->kind == kArgFlag) {
      *static_cast<bool*>(arg->val) = true;
      PdfRemoveArgs(argc, argv, i, 1);
      continue;
    }
    if (i + 1 >= *argc || !argv[i + 1]) {
      ok = false;
      PdfRemoveArgs(argc, argv, i, 1);
      continue;
    }
    const char* value = argv[i + 1];
    if (arg->kind == kArgInt) {
      if (PdfIsInt(value)) {
        long v = strtol(value, nullptr, 10);
        if (v > 2147483647L) v = 2147483647L;
        if (v < -2147483647L) v = -2147483647L;
        *static_cast<int*>(arg->val) = static_cast<int>(v);
      } else {
        ok = false;
      }
    } else {
      // Over-long values are cut to the option's buffer, as the tool does.
      char* dst = static_cast<char*>(arg->val);
      size_t n = strnlen(value, arg->size - 1);
      memcpy(dst, value, n);
      dst[n] = 0;
    }
    PdfRemoveArgs(argc, argv, i, 2);
  }
  return ok;
}

void PdfPrintUsage() {
  fprintf(stderr, "Usage: pdftotext [options] <PDF-file> [<text-file>]\n");
  for (const PdfArgDesc& a : kArgs) {
    const char* kind = a.kind == kArgInt ? " <int>   " : a.kind == kArgString ? " <string>" : "         ";
    fprintf(stderr, "  %-9s%s: %s\n", a.name, kind, a.usage);
  }
}

// The output name when none is given: the PDF name with ".pdf" or ".PDF" replaced.
std::string PdfDefaultOutputName(const char* pdf) {
  std::string name(pdf);
  size_t n = name.size();
  if (n >= 4 && (!name.compare(n - 4, 4, ".pdf") || !name.compare(n - 4, 4, ".PDF"))) name.resize(n - 4);
  name += pt_html_meta ? ".html" : ".txt";
  return name;
}

// The text file as the library's text device writes it: through the file layer, every write
// checked, so a text that could not be written whole (a full disk, a file-size limit, an I/O
// error) is a failed conversion and never passes for the book.
struct PdfTextFile {
  void* file;
  bool failed;
};

void PdfWriteText(void* stream, const char* text, int len) {
  PdfTextFile* out = static_cast<PdfTextFile*>(stream);
  if (out->failed || len <= 0) return;
  if (!ComFileWrite(out->file, text, static_cast<uint32_t>(len))) out->failed = true;
}

void PdfWriteStr(PdfTextFile* out, const char* text) { PdfWriteText(out, text, static_cast<int>(strlen(text))); }

// Everything after the library's set-up; the caller owns the parameters object.
int PdfConvert(const char* pdf_name, const char* out_name) {
  // The converted text file is single-byte: Latin-1 unless the caller names another encoding.
  globalParams->setTextEncoding(pt_text_enc_name[0] ? pt_text_enc_name : "Latin1");
  EndOfLineKind eol = TextOutputDev::defaultEndOfLine();
  if (pt_text_eol[0]) {
    if (!strcmp(pt_text_eol, "unix"))
      eol = eolUnix;
    else if (!strcmp(pt_text_eol, "dos"))
      eol = eolDOS;
    else if (!strcmp(pt_text_eol, "mac"))
      eol = eolMac;
    else
      fprintf(stderr, "Bad '-eol' value on command line\n");
  }
  if (pt_quiet) globalParams->setErrQuiet(true);
  if (!globalParams->getTextEncoding()) {
    error(errCommandLine, -1, "Couldn't get text encoding");
    return 99;
  }

  std::optional<GooString> owner_pw, user_pw;
  if (pt_owner_password[0] != '\001') owner_pw = GooString(pt_owner_password);
  if (pt_user_password[0] != '\001') user_pw = GooString(pt_user_password);
  // Opened as a local file: a book path is never taken for a URL to fetch. Poppler reads the
  // descriptor the file layer opened, so a FIFO or a device named as the book is refused as a
  // missing book is, where poppler's own open would wait on it. The file outlives the document.
  std::unique_ptr<GooFile> pdf_file;
  if (FILE* in = static_cast<FILE*>(ComFileOpenForReadingIfExists(pdf_name))) {
    const int fd = fcntl(fileno(in), F_DUPFD_CLOEXEC, 0);
    ComFileClose(in);
    if (fd >= 0) pdf_file = GooFile::open(fd);
  }
  if (!pdf_file) return 1;
  auto* stream = new FileStream(pdf_file.get(), 0, false, pdf_file->size(), Object(objNull));
  std::unique_ptr<PDFDoc> doc = std::make_unique<PDFDoc>(stream, owner_pw, user_pw);
  if (!doc || !doc->isOk()) return 1;

  std::string text_name = out_name ? std::string(out_name) : PdfDefaultOutputName(pdf_name);

  int num_pages = doc->getNumPages();
  int first = pt_first_page < 1 ? 1 : pt_first_page;
  int last = (pt_last_page < 1 || pt_last_page > num_pages) ? num_pages : pt_last_page;

  PdfTextFile out = {ComFileCreateForWriting(text_name.c_str()), false};
  if (!out.file) return 2;
  if (pt_html_meta) PdfWriteStr(&out, "<html>\n<head>\n</head>\n<body>\n<pre>\n");

  std::unique_ptr<TextOutputDev> text_out =
      std::make_unique<TextOutputDev>(PdfWriteText, &out, pt_phys_layout, 0.0, pt_raw_order);
  if (!text_out->isOk()) {
    ComFileClose(out.file);
    return 2;
  }
  text_out->setTextEOL(eol);
  if (pt_no_page_breaks) text_out->setTextPageBreaks(false);

  _PdfProgressProc proc = pdftotext_displayProgressProc;
  for (int page = first; page <= last && !out.failed; page++) {
    doc->displayPage(text_out.get(), page, 72, 72, 0, false, true, false);
    if (proc && !static_cast<unsigned char>(proc(first, last, page))) break;
  }
  text_out.reset();

  if (pt_html_meta) PdfWriteStr(&out, "</pre>\n</body>\n</html>\n");
  // The file takes its name only when every byte of it was written.
  if (!ComFileClose(out.file) || out.failed) return 2;
  return 0;
}

}  // namespace

int pdftotext_main(int argc, char** argv) {
  PdfResetOptions();
  if (argc < 1 || !argv) return 99;

  // Parse a copy of the vector so the caller's stays as it was.
  std::unique_ptr<char*[]> args(new char*[argc + 1]);
  for (int i = 0; i < argc; i++) args[i] = argv[i];
  args[argc] = nullptr;
  int n = argc;
  bool ok = PdfParseArgs(&n, args.get());
  if (!ok || n < 2 || n > 3 || pt_print_version || pt_print_help) {
    fprintf(stderr, "pdftotext version %s\n", "3.02");
    if (!pt_print_version) PdfPrintUsage();
    return 99;
  }

  // The library keeps its parameters in one global; keep whatever was there and put it back.
  std::unique_ptr<GlobalParams> saved = std::move(globalParams);
  int result = 1;
  try {
    globalParams = std::make_unique<GlobalParams>(pt_cfg_file_name[0] ? pt_cfg_file_name : nullptr);
    result = PdfConvert(args[1], n == 3 ? args[2] : nullptr);
  } catch (...) {
    result = 1;
  }
  globalParams = std::move(saved);
  return result;
}
