// The OPF reader on any bytes: the package's spine and manifest name parts in the same folder,
// which are converted into one text file.
#include <cstdio>

#include "BookOpf.h"
#include "Config.h"
#include "FuzzSupport.h"
#include "MainLoad.h"
#include "support_MainFakes.h"

namespace {
const char* const kPackage =
    "<?xml version=\"1.0\"?>\n"
    "<package xmlns=\"http://www.idpf.org/2007/opf\" unique-identifier=\"id\">\n"
    "  <metadata><dc:title>Book</dc:title></metadata>\n"
    "  <manifest>\n"
    "    <item href=\"one.html\" id=\"chapter_one\" media-type=\"application/xhtml+xml\"/>\n"
    "    <item id=\"cover\" href=\"cover.jpg\" media-type=\"image/jpeg\"/>\n"
    "    <item id=\"two\" href=\"two.htm\" media-type=\"text/html\"/>\n"
    "    <item id=\"notes\"\n          href=\"notes.txt\" media-type=\"text/plain\"/>\n"
    "  </manifest>\n"
    "  <spine toc=\"ncx\">\n"
    "    <itemref idref=\"chapter_one\"/>\n    <itemref idref=\"cover\"/>\n"
    "    <itemref idref=\"two\" linear=\"yes\"/>\n    <itemref idref=\"notes\"/>\n"
    "  </spine>\n"
    "</package>\n";
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  MainFakesAllocBuffers();
  const std::string& d = FuzzDir();
  FuzzWriteFile(d + "/one.html", "<html><body><p>Chapter one.</p></body></html>\n", 47);
  FuzzWriteFile(d + "/two.htm", "<body><p>Chapter two.</p></body>\n", 33);
  FuzzWriteFile(d + "/notes.txt", "plain notes\n", 12);
  FuzzSeedRun([](const std::string& seeds) {
    FuzzSeed(seeds, "package.opf", kPackage);
    FuzzSeed(seeds, "compact.opf",
             "<manifest><item id='a' href='two.htm'/><item id='b' href='one.html'/></manifest>"
             "<spine><itemref idref='b'/><itemref idref='a'/><itemref idref='b'/></spine>");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MainFakesReset();
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/book.opf", FuzzDir().c_str());
  snprintf(text_filename, sizeof(text_filename), "%s/book.txt", FuzzDir().c_str());
  snprintf(book_name, sizeof(book_name), "book");
  if (!FuzzWriteFile(pdf_filename, data, size)) return 0;
  CreateTextFileFromOpfFile(pdf_filename);
  return 0;
}
