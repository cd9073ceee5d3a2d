// The converted text file: reuse, reconversion, PDF conversion with progress and cancel, and the
// dispatch to the HTML and OPF converters.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BookCache.h"
#include "Config.h"
#include "ComDebug.h"
#include "MainLoad.h"
#include "book_test_fixture.h"

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class BookCacheTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    if (HasFatalFailure()) return;
    config.html_paragraph_spacing = 0;
  }
  // Names the book and its cache as the reading view does.
  void UseBook(const std::string& file, const std::string& name) {
    snprintf(pdf_filename, sizeof(pdf_filename), "%s/%s", dir_.c_str(), file.c_str());
    snprintf(book_name, sizeof(book_name), "%s", name.c_str());
    snprintf(text_filename, sizeof(text_filename), "%s/%s.txt", dir_.c_str(), name.c_str());
  }
  std::string Oracle(const std::string& pdf) {
    std::string out = dir_ + "/oracle.out";
    EXPECT_TRUE(PdfFixtureRunPdftotext({"-layout", "-enc", "Latin1", pdf, out}));
    std::string text;
    EXPECT_TRUE(PdfFixtureReadFile(out, &text));
    unlink(out.c_str());
    return text;
  }
};

TEST_F(BookCacheTest, TextBookIsItsOwnTextFile) {
  const char* names[] = {"Notes.TXT", "a.txt", "Mixed.TxT"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    MainFakesReset();
    UseBook(name, "Notes");
    WriteBytes(pdf_filename, "plain\ftext\n");
    load_control_force_reconvert = 1;
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_STREQ(pdf_filename, text_filename);
    EXPECT_EQ("plain\ftext\n", Read(pdf_filename)) << "Reconvert deletes nothing";
    EXPECT_EQ(0, main_fake_calls.progress_calls);
  }
}

TEST_F(BookCacheTest, PdfIsConvertedLikeTheOracleWithProgress) {
  std::string pdf = dir_ + "/Harbour.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 5));
  UseBook("Harbour.pdf", "Harbour");

  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_STREQ((dir_ + "/Harbour.txt").c_str(), text_filename);
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_FALSE(Exists(dir_ + "/Harbour.txt.part"));

  // The box opens at 0, then shows the share of pages done after every page.
  EXPECT_EQ((std::vector<float>{0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}), main_fake_calls.fractions);
  EXPECT_EQ("Converting File - Harbour", main_fake_calls.texts.front());
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);

  // The cache is trusted from now on: no conversion, no box.
  main_fake_calls = MainFakeCalls();
  WriteBytes(text_filename, "cached\n");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ("cached\n", Read(text_filename));
  EXPECT_EQ(0, main_fake_calls.progress_calls);

  // Reconvert replaces it, and a second conversion in the same run gives the same text.
  load_control_force_reconvert = 1;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_EQ(6, main_fake_calls.progress_calls);
}

TEST_F(BookCacheTest, EmptyCacheCountsAsAbsent) {
  std::string pdf = dir_ + "/Short.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 2));
  UseBook("Short.pdf", "Short");
  WriteBytes(text_filename, "");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
}

TEST_F(BookCacheTest, OnePageBookReportsTheWholeTwice) {
  std::string pdf = dir_ + "/One.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 1));
  UseBook("One.pdf", "One");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ((std::vector<float>{0.0f, 1.0f, 1.0f}), main_fake_calls.fractions);
}

TEST_F(BookCacheTest, CancelStopsAfterThePageAndLeavesNoFile) {
  std::string pdf = dir_ + "/Long.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 8));
  UseBook("Long.pdf", "Long");
  main_fake_calls.quit_on_progress_call = 3;  // Escape seen while page 2 was reported
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  // The progress callback answered "stop" at the next page: pages 1, 2 and 3 were done.
  EXPECT_EQ(3, main_fake_calls.progress_calls);
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);
}

TEST_F(BookCacheTest, UnknownExtensionsGoToThePdfConverter) {
  std::string pdf = dir_ + "/Book.dat";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 2));
  UseBook("Book.dat", "Book");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
}

TEST_F(BookCacheTest, FailedPdfConversionIsLoggedAndLeavesNoCache) {
  UseBook("Broken.pdf", "Broken");
  WriteBytes(pdf_filename, "%PDF-1.4 but nothing after it\n");
  EXPECT_EQ(0, CreateTextFileIfNeeded());
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));
  EXPECT_NE(std::string::npos, Log().find("CreateTextFileIfNeeded"));
  EXPECT_NE(std::string::npos, Log().find("Could not convert file <" + std::string(pdf_filename) + "> to text file <" +
                                          std::string(text_filename) + ">"));
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);

  // A cache folder that cannot be written to is a failure too.
  UseBook("Broken.pdf", "Broken");
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf_filename, 1));
  snprintf(text_filename, sizeof(text_filename), "%s/no/such/folder/Broken.txt", dir_.c_str());
  EXPECT_EQ(0, CreateTextFileIfNeeded());
}

TEST_F(BookCacheTest, HtmlAndOpfBooksGoToTheirConverters) {
  const std::string html = "<html><head><title>T</title></head><body>\n<p>Tom &amp; Jerry</p>\n</body></html>\n";
  const char* names[] = {"Story.htm", "Story.HTML"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    UseBook(name, "Story");
    unlink(text_filename);
    WriteBytes(pdf_filename, html);
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_STREQ((dir_ + "/Story.txt").c_str(), text_filename);
    std::string text = Read(text_filename);
    EXPECT_NE(std::string::npos, text.find("Tom & Jerry"));
    EXPECT_EQ(std::string::npos, text.find('<'));
    EXPECT_FALSE(Exists(dir_ + "/Story.txt.part"));
  }

  // A package of two parts: the second follows six line feeds, and the package name is kept.
  WriteBytes(dir_ + "/one.html", "<html><body><p>First part</p></body></html>\n");
  WriteBytes(dir_ + "/two.html", "<html><body><p>Second part</p></body></html>\n");
  WriteBytes(dir_ + "/Pack.opf",
            "<package>\n<manifest>\n<item id=\"a\" href=\"one.html\" media-type=\"application/xhtml+xml\"/>\n"
            "<item href=\"two.html\" id=\"b\" media-type=\"application/xhtml+xml\"/>\n</manifest>\n"
            "<spine toc=\"ncx\">\n<itemref idref=\"a\"/>\n<itemref idref=\"b\"/>\n</spine>\n</package>\n");
  UseBook("Pack.opf", "Pack");
  std::string package = pdf_filename;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(package, pdf_filename);
  std::string text = Read(text_filename);
  size_t first = text.find("First part"), second = text.find("Second part");
  ASSERT_NE(std::string::npos, first);
  ASSERT_NE(std::string::npos, second);
  EXPECT_NE(std::string::npos, text.find("\n\n\n\n\n\n", first));
  EXPECT_LT(first, second);
  EXPECT_FALSE(Exists(dir_ + "/Pack.txt.part"));
}

TEST_F(BookCacheTest, FailedOrCancelledHtmlLeavesNoCache) {
  UseBook("Missing.html", "Missing");
  EXPECT_EQ(0, CreateTextFileIfNeeded());
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));

  UseBook("Long.html", "Long");
  std::string html = "<html><body>\n";
  for (int i = 0; i < 3000; i++) html += "<p>A paragraph of the long book, number " + std::to_string(i) + ".</p>\n";
  html += "</body></html>\n";
  WriteBytes(pdf_filename, html);
  main_fake_calls = MainFakeCalls();
  main_fake_calls.quit_on_progress_call = 1;  // Escape at the first progress report
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));

  // The next load converts it whole.
  MainFakesReset();
  UseBook("Long.html", "Long");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_NE(std::string::npos, Read(text_filename).find("number 2999."));
}

TEST_F(BookCacheTest, ProgressCallbackAnswersStopOnceCancelled) {
  EXPECT_EQ(1, DisplayProgressProc(1, 4, 1));
  EXPECT_EQ(1, DisplayProgressProc(1, 1, 1));  // one page: the whole, twice
  EXPECT_EQ((std::vector<float>{0.25f, 1.0f, 1.0f}), main_fake_calls.fractions);
  quit_loading_book = 1;
  EXPECT_EQ(0, DisplayProgressProc(1, 4, 2));
  EXPECT_EQ(3, main_fake_calls.progress_calls);
}

}  // namespace
