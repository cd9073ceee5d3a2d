// OPF packages: the spine and manifest found by text search, the parts converted in spine order,
// the failures, and the package path given back to pdf_filename whatever happens.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "BookOpf.h"
#include "ComDebug.h"
#include "Config.h"
#include "MainLoad.h"
#include "book_test_fixture.h"

namespace {

const char* const kSep = "\n\n\n\n\n\n";

class BookOpfTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    if (HasFatalFailure()) return;
    snprintf(text_filename, sizeof(text_filename), "%s/book.txt", dir_.c_str());
    snprintf(book_name, sizeof(book_name), "book");
    config.html_paragraph_spacing = 0;
    mkdir((dir_ + "/text").c_str(), 0700);
    WriteBytes(dir_ + "/text/one.html", "<html><body><p>Chapter one.</p></body></html>\n");
    WriteBytes(dir_ + "/two.htm", "<body><p>Chapter two.</p></body>\n");
    WriteBytes(dir_ + "/three.xhtml", "<body><p>Chapter three.</p></body>\n");
    WriteBytes(dir_ + "/notes.txt", "plain notes, no body\n");
  }
  // Writes the package and converts it the way the text cache calls the converter.
  char Convert(const std::string& opf, const std::string& name = "book.opf") {
    package_ = dir_ + "/" + name;
    WriteBytes(package_, opf);
    snprintf(pdf_filename, sizeof(pdf_filename), "%s", package_.c_str());
    char result = CreateTextFileFromOpfFile(pdf_filename);
    EXPECT_EQ(package_, std::string(pdf_filename)) << "the package is named again afterwards";
    return result;
  }
  std::string Text() { return Read(text_filename); }
  std::string package_;
};

const char* const kPackage =
    "<?xml version=\"1.0\"?>\n"
    "<package xmlns=\"http://www.idpf.org/2007/opf\" unique-identifier=\"id\">\n"
    "  <metadata><dc:title>Book</dc:title></metadata>\n"
    "  <manifest>\n"
    "    <item href=\"text/one.html\" id=\"chapter_one\" media-type=\"application/xhtml+xml\"/>\n"
    "    <item id=\"cover\" href=\"cover.jpg\" media-type=\"image/jpeg\"/>\n"
    "    <item id=\"two\" href=\"two.htm\" media-type=\"text/html\"/>\n"
    "    <item id=\"three\"\n"
    "          href=\"three.xhtml\" media-type=\"application/xhtml+xml\"/>\n"
    "    <item id=\"notes\" href=\"notes.txt\" media-type=\"text/plain\"/>\n"
    "    <item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>\n"
    "  </manifest>\n"
    "  <spine toc=\"ncx\">\n"
    "    <itemref idref=\"chapter_one\"/>\n"
    "    <itemref idref=\"cover\"/>\n"
    "    <itemref idref=\"two\" linear=\"yes\"/>\n"
    "    <itemref idref=\"three\"/>\n"
    "    <itemref idref=\"notes\"/>\n"
    "  </spine>\n"
    "</package>\n";

TEST_F(BookOpfTest, PartsAreConvertedInSpineOrder) {
  ASSERT_EQ(1, Convert(kPackage));
  // The text part has no body: it gives only its separator.
  EXPECT_EQ(std::string("Chapter one.\n") + kSep + "Chapter two.\n" + kSep + "Chapter three.\n" + kSep,
            Text());
  // Each part shows its quoted id, underscores as blanks.
  ASSERT_FALSE(main_fake_calls.texts.empty());
  EXPECT_EQ("Converting File - \"chapter one\"", main_fake_calls.texts.front());
  EXPECT_EQ("Converting File - \"notes\"", main_fake_calls.texts.back());
}

TEST_F(BookOpfTest, CompactPackagesOnOneLine) {
  // Items on the line of the spine tag, several to a line, and upper-case tags.
  std::string opf =
      "<PACKAGE><MANIFEST><ITEM ID=\"a\" HREF=\"two.htm\"/><item id='b' href='text/one.html'/></MANIFEST>"
      "<SPINE toc=\"ncx\"><itemref idref=\"b\"/><ITEMREF IDREF=\"a\"/></SPINE></PACKAGE>";
  ASSERT_EQ(1, Convert(opf));
  EXPECT_EQ(std::string("Chapter one.\n") + kSep + "Chapter two.\n", Text());
}

TEST_F(BookOpfTest, IdsAreMatchedAsIdsNotAsOtherAttributes) {
  std::string opf =
      "<package><manifest>\n"
      "<item id=\"x\" href=\"text/one.html\" fallback=\"two\"/>\n"
      "<item id=\"two\" href=\"two.htm\"/>\n"
      "</manifest><spine>\n<itemref idref=\"two\"/>\n</spine></package>\n";
  ASSERT_EQ(1, Convert(opf));
  EXPECT_EQ("Chapter two.\n", Text());
}

TEST_F(BookOpfTest, PackageWithoutFolderUsesBarePartNames) {
  char cwd[PATH_MAX];
  ASSERT_TRUE(getcwd(cwd, sizeof(cwd)));
  ASSERT_EQ(0, chdir(dir_.c_str()));
  WriteBytes(dir_ + "/bare.opf",
             "<manifest><item id=\"two\" href=\"two.htm\"/></manifest><spine><itemref idref=\"two\"/></spine>\n");
  snprintf(pdf_filename, sizeof(pdf_filename), "bare.opf");
  char result = CreateTextFileFromOpfFile(pdf_filename);
  EXPECT_STREQ("bare.opf", pdf_filename);
  ASSERT_EQ(0, chdir(cwd));
  EXPECT_EQ(1, result);
  EXPECT_EQ("Chapter two.\n", Text());
}

TEST_F(BookOpfTest, Failures) {
  struct Case {
    const char* opf;
    const char* logged;
  };
  const Case cases[] = {
      {"<package><manifest/></package>\n", "Could not get spines [0, 0]"},
      {"<manifest><item id=\"two\" href=\"two.htm\"/></manifest><spine>\n<itemref idref=\"two\"/>\n",
       "Could not get spines [1, 1]"},
      {"<spine></spine>\n", "Could not get spines [0, 2]"},
      {"<spine>\n<itemref linear=\"no\"/>\n</spine>\n", "Could not find idref in <<itemref linear=\"no\"/>"},
      {"<spine>\n<itemref idref=\"\"/>\n</spine>\n", "Could not find idref in"},
      {"<manifest>\n<item id=\"a\" href=\"two.htm\"/>\n</manifest>\n<spine><itemref idref=\"b_c\"/></spine>\n",
       "( LitFileParseSpine )  2  Could not fine spine file name <\"b_c\">"},
      {"<manifest>\n<item id=\"a\" media-type=\"text/html\"/>\n</manifest><spine><itemref idref=\"a\"/></spine>\n",
       "could not find href in <<item id=\"a\" media-type=\"text/html\"/"},
      {"<manifest>\n<item id=\"a\" href=\"two.htm/>\n</manifest><spine><itemref idref=\"a\"/></spine>\n",
       "could not find end of href in"},
      {"<manifest><item id=\"c\" href=\"cover.jpg\"/></manifest><spine><itemref idref=\"c\"/></spine>\n",
       "Could not find and html files to process"},
      {"<spine><itemref idref=\"a\"/></spine>\n", "Could not find and html files to process"},
      {"<manifest><item id=\"m\" href=\"missing.html\"/></manifest><spine><itemref idref=\"m\"/></spine>\n",
       "Could not convert html or text file <"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opf);
    EXPECT_EQ(0, Convert(c.opf));
    EXPECT_NE(std::string::npos, Log().find(c.logged)) << Log();
  }
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/none.opf", dir_.c_str());
  EXPECT_EQ(0, CreateTextFileFromOpfFile(pdf_filename));
  EXPECT_NE(std::string::npos, Log().find("Could not find opf file <" + dir_ + "/none.opf>"));
}

TEST_F(BookOpfTest, TooLongPartPathIsRefused) {
  // A package path near the limit, and a part name that takes the whole past it.
  std::string deep = dir_;
  for (int i = 0; i < 4; i++) {
    deep += "/" + std::string(200, 'd');
    ASSERT_EQ(0, mkdir(deep.c_str(), 0700));
  }
  std::string name = std::string(300, 'p') + ".html";
  std::string opf = "<manifest><item id=\"a\" href=\"" + name + "\"/></manifest><spine><itemref idref=\"a\"/></spine>";
  EXPECT_EQ(0, Convert(opf, deep.substr(dir_.size() + 1) + "/book.opf"));
  EXPECT_NE(std::string::npos, Log().find("Path too long <"));
}

TEST_F(BookOpfTest, CancelDuringAPartStopsAtOnce) {
  main_fake_calls.quit_on_progress_call = 1;  // Escape while the first part starts
  ASSERT_EQ(1, Convert(kPackage));
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_EQ(1, main_fake_calls.progress_calls) << "no later part is started";
}

TEST_F(BookOpfTest, RepeatedItemsAreConvertedOnceAndTheTextIsBounded) {
  // One item named 2100 times by the spine is one part of the book.
  std::string opf = "<manifest><item id=\"two\" href=\"two.htm\"/></manifest>\n<spine>";
  for (int i = 0; i < 2100; i++) opf += "<itemref idref=\"two\"/>";
  opf += "</spine>\n";
  ASSERT_EQ(1, Convert(opf));
  EXPECT_EQ("Chapter two.\n", Text());

  // Forty items of one 1 MB part: parts stop being added past 32 MB and the book is refused.
  std::string part = "<body>";
  while (part.size() < 1024 * 1024) part += "<p>" + std::string(200, 'w') + " words</p>\n";
  WriteBytes(dir_ + "/big.html", part + "</body>\n");
  opf = "<manifest>";
  for (int i = 0; i < 40; i++) opf += "<item id=\"b" + std::to_string(i) + "\" href=\"big.html\"/>";
  opf += "</manifest>\n<spine>";
  for (int i = 0; i < 40; i++) opf += "<itemref idref=\"b" + std::to_string(i) + "\"/>";
  opf += "</spine>\n";
  EXPECT_EQ(0, Convert(opf));
  EXPECT_NE(std::string::npos, Log().find("Converted text too large <" + package_ + ">"));
  struct stat st;
  if (stat(text_filename, &st) == 0) {
    EXPECT_LT(st.st_size, 34 * 1024 * 1024);
  }
}

TEST_F(BookOpfTest, HostilePackagesDoNotOverflow) {
  // Thousands of items, ids far longer than a line piece, and lines of tens of thousands of bytes.
  std::string opf = "<manifest>\n";
  for (int i = 0; i < 3000; i++) opf += "<item id=\"p" + std::to_string(i) + "\" href=\"two.htm\"/>";
  std::string long_id(5000, 'i');
  opf += "\n<item id=\"" + long_id + "\" href=\"" + std::string(3000, 'h') + ".html\"/>\n</manifest>\n<spine>";
  for (int i = 0; i < 3000; i++) opf += "<itemref idref=\"p" + std::to_string(i) + "\"/>";
  opf += "<itemref idref=\"" + long_id + "\"/></spine>\n";
  EXPECT_EQ(0, Convert(opf)) << "the last part's path is too long";
  EXPECT_NE(std::string::npos, Log().find("Path too long <"));
  EXPECT_EQ(3000u * strlen("Chapter two.\n") + 2999u * strlen(kSep), Text().size());

  std::string junk;
  for (int i = 0; i < 20000; i++) junk += "<spine <itemref idref=\"<manifest \"\"/ >>\n";
  Convert(junk);
  Convert(std::string(50000, '<') + "\n");
}

}  // namespace
