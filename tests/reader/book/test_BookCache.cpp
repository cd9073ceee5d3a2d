// The converted text file: reuse, reconversion, PDF conversion with progress and cancel, and the
// dispatch to the HTML and OPF converters.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BookCache.h"
#include "ComDebug.h"
#include "MainLoad.h"
#include "support_MainFakes.h"
#include "support_PdfFixtures.h"

// Stand-ins for the HTML and OPF converters, for this program only (weak: the real ones win
// when they are linked). They record what they were asked and write a small text.
namespace {
struct ConverterCalls {
  int html = 0;
  int opf = 0;
  std::string source;       // pdf_filename at the call
  std::string target;       // text_filename at the call
  char result = 1;
  bool cancel = false;      // set quit_loading_book, as Escape would
};
ConverterCalls g_conv;

char FakeConvert() {
  g_conv.source = pdf_filename;
  g_conv.target = text_filename;
  FILE* f = fopen(text_filename, "wb");
  if (f) {
    fputs("Converted text\n", f);
    fclose(f);
  }
  if (g_conv.cancel) quit_loading_book = 1;
  return g_conv.result;
}
}  // namespace

__attribute__((weak)) char CreateTextFileFromHtmlFile(char, char*, char*, char*) {
  g_conv.html++;
  return FakeConvert();
}

__attribute__((weak)) char CreateTextFileFromOpfFile(char*) {
  g_conv.opf++;
  return FakeConvert();
}

namespace {

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class BookCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = PdfFixtureTempDir();
    ASSERT_FALSE(dir_.empty());
    MainFakesReset();
    MainFakesAllocBuffers();
    g_conv = ConverterCalls();
    DebugSetLogFilename((dir_ + "/log.txt").c_str(), 1);
  }
  void TearDown() override {
    MainFakesFreeBuffers();
    PdfFixtureRemoveTree(dir_);
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
  std::string Read(const std::string& path) {
    std::string text;
    PdfFixtureReadFile(path, &text);
    return text;
  }
  std::string Log() { return Read(dir_ + "/log.txt"); }
  std::string dir_;
};

TEST_F(BookCacheTest, TextBookIsItsOwnTextFile) {
  const char* names[] = {"Notes.TXT", "a.txt", "Mixed.TxT"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    MainFakesReset();
    UseBook(name, "Notes");
    WriteText(pdf_filename, "plain\ftext\n");
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
  WriteText(text_filename, "cached\n");
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
  WriteText(text_filename, "");
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
  WriteText(pdf_filename, "%PDF-1.4 but nothing after it\n");
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
  struct Case {
    const char* file;
    int html;
    int opf;
  };
  const Case cases[] = {{"Story.htm", 1, 0}, {"Story.HTML", 1, 0}, {"Story.opf", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    g_conv = ConverterCalls();
    UseBook(c.file, "Story");
    unlink(text_filename);
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_EQ(c.html, g_conv.html);
    EXPECT_EQ(c.opf, g_conv.opf);
    EXPECT_EQ(std::string(pdf_filename), g_conv.source);
    // The converter wrote beside the cache; the cache took the text once it was complete.
    EXPECT_NE(std::string(text_filename), g_conv.target);
    EXPECT_STREQ((dir_ + "/Story.txt").c_str(), text_filename);
    EXPECT_EQ("Converted text\n", Read(text_filename));
    EXPECT_FALSE(Exists(g_conv.target));
  }

  // A failed or cancelled conversion leaves no cache file.
  UseBook("Bad.html", "Bad");
  g_conv = ConverterCalls();
  g_conv.result = 0;
  EXPECT_EQ(0, CreateTextFileIfNeeded());
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(g_conv.target));

  g_conv = ConverterCalls();
  g_conv.cancel = true;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(g_conv.target));
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
