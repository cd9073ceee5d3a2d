// The in-process text extraction against poppler-utils' pdftotext as the oracle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookPdf.h"
#include "Common/framework/FrameworkTestUtil.h"
#include "support_PdfFixtures.h"

namespace {

struct ProgressLog {
  std::vector<std::vector<int>> calls;
  int stop_at_call = 0;  // k > 0: the k-th call answers 0
};
ProgressLog g_progress;

char RecordProgress(int first, int last, int done) {
  g_progress.calls.push_back({first, last, done});
  return (g_progress.stop_at_call > 0 && static_cast<int>(g_progress.calls.size()) == g_progress.stop_at_call) ? 0 : 1;
}

int RunMain(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  return pdftotext_main(static_cast<int>(args.size()), argv.data());
}

int CountFormFeeds(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\f';
  return n;
}

class BookPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = PdfFixtureTempDir();
    ASSERT_FALSE(dir_.empty());
    pdf_ = dir_ + "/sample.pdf";
    ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf_, 6));
    g_progress = ProgressLog();
    pdftotext_setDisplayProgressProc(nullptr);
  }
  void TearDown() override {
    pdftotext_setDisplayProgressProc(nullptr);
    PdfFixtureRemoveTree(dir_);
  }
  std::string Oracle(std::vector<std::string> options) {
    std::string out = dir_ + "/oracle.txt";
    options.push_back("-enc");
    options.push_back("Latin1");
    options.push_back(pdf_);
    options.push_back(out);
    EXPECT_TRUE(PdfFixtureRunPdftotext(options));
    std::string text;
    EXPECT_TRUE(PdfFixtureReadFile(out, &text));
    return text;
  }
  std::string Ours(std::vector<std::string> options, int expected = 0) {
    std::string out = dir_ + "/ours.txt";
    std::vector<std::string> args = {"Lectrel"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(pdf_);
    args.push_back(out);
    EXPECT_EQ(expected, RunMain(args));
    std::string text;
    EXPECT_TRUE(PdfFixtureReadFile(out, &text));
    return text;
  }
  std::string dir_;
  std::string pdf_;
};

TEST_F(BookPdfTest, LayoutOutputMatchesOracleByteForByte) {
  std::string ours = Ours({"-layout"});
  EXPECT_EQ(Oracle({"-layout"}), ours);
  // The converted file's shape: Latin-1 bytes, one form feed per page, a lone one at the end.
  EXPECT_NE(std::string::npos, ours.find("Ren\xe9"));
  EXPECT_EQ(std::string::npos, ours.find("\xc3\xa9"));
  EXPECT_EQ(6, CountFormFeeds(ours));
  EXPECT_NE(std::string::npos, ours.find("\f\f")) << "the blank third page";
  EXPECT_EQ('\f', ours.back());
  EXPECT_NE(std::string::npos, ours.find("THE QUIET HARBOUR"));
}

TEST_F(BookPdfTest, OptionSetsMatchOracle) {
  const std::vector<std::vector<std::string>> cases = {
      {"-layout", "-nopgbrk"},
      {"-layout", "-eol", "dos"},
      {"-layout", "-eol", "mac"},
      {"-raw"},
      {},
      {"-f", "2", "-l", "4", "-layout"},
      {"-layout", "-l", "99"},
  };
  for (const auto& options : cases) {
    std::string joined;
    for (const auto& o : options) joined += o + " ";
    SCOPED_TRACE(joined);
    EXPECT_EQ(Oracle(options), Ours(options));
  }
}

TEST_F(BookPdfTest, ProgressAfterEveryPageAndStopEndsAfterThatPage) {
  pdftotext_setDisplayProgressProc(RecordProgress);
  Ours({"-layout"});
  ASSERT_EQ(6u, g_progress.calls.size());
  for (int i = 0; i < 6; i++) EXPECT_EQ((std::vector<int>{1, 6, i + 1}), g_progress.calls[i]);

  g_progress = ProgressLog();
  g_progress.stop_at_call = 2;
  std::string partial = Ours({"-layout"}, 0);  // a stop is still success
  EXPECT_EQ(2u, g_progress.calls.size());
  EXPECT_EQ(2, CountFormFeeds(partial));
  // The partial text is the oracle's first two pages.
  std::string two = Oracle({"-layout", "-l", "2"});
  EXPECT_EQ(two, partial);

}

TEST_F(BookPdfTest, RepeatedCallsStartFromDefaultOptions) {
  std::string full = Oracle({"-layout"});
  Ours({"-f", "3", "-l", "3", "-nopgbrk", "-raw", "-eol", "dos"});
  EXPECT_EQ(full, Ours({"-layout"}));
}

TEST_F(BookPdfTest, DefaultOutputNameReplacesPdfExtension) {
  std::string upper = dir_ + "/Book.PDF";
  ASSERT_EQ(0, rename(pdf_.c_str(), upper.c_str()));
  EXPECT_EQ(0, RunMain({"Lectrel", "-layout", upper}));
  std::string text;
  EXPECT_TRUE(PdfFixtureReadFile(dir_ + "/Book.txt", &text));
  EXPECT_FALSE(text.empty());

  std::string odd = dir_ + "/Book.data";
  ASSERT_EQ(0, rename(upper.c_str(), odd.c_str()));
  EXPECT_EQ(0, RunMain({"Lectrel", odd}));
  EXPECT_TRUE(PdfFixtureReadFile(dir_ + "/Book.data.txt", &text));
}

TEST_F(BookPdfTest, FailuresGiveTheToolsResults) {
  std::string junk = dir_ + "/junk.pdf";
  FILE* f = fopen(junk.c_str(), "wb");
  ASSERT_TRUE(f);
  fputs("this is not a PDF at all\n", f);
  fclose(f);
  struct Case {
    std::vector<std::string> args;
    int result;
  };
  const std::vector<Case> cases = {
      {{"Lectrel", "-q", junk, dir_ + "/a.txt"}, 1},
      {{"Lectrel", "-q", dir_ + "/missing.pdf", dir_ + "/a.txt"}, 1},
      {{"Lectrel", pdf_, dir_ + "/no/such/folder/a.txt"}, 2},
      {{"Lectrel"}, 99},
      {{"Lectrel", pdf_, "a", "b"}, 99},
      {{"Lectrel", "-v"}, 99},
      {{"Lectrel", "-h", pdf_}, 99},
      {{"Lectrel", "--help"}, 99},
      {{"Lectrel", "-f", "x", pdf_, dir_ + "/a.txt"}, 99},
      {{"Lectrel", pdf_, dir_ + "/a.txt", "-l"}, 99},
      {{"Lectrel", "-enc", "NoSuchEncoding", pdf_, dir_ + "/a.txt"}, 99},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    SCOPED_TRACE(joined);
    EXPECT_EQ(c.result, RunMain(c.args));
  }
  // A bad -eol is reported and ignored.
  EXPECT_EQ(0, RunMain({"Lectrel", "-layout", "-eol", "vms", pdf_, dir_ + "/b.txt"}));
}

// A FIFO, a folder, a socket or a device named as the book fails as a missing book does, and at
// once: each kind in a child with a time limit, where poppler's own open of a FIFO would wait for
// a writer for good and /dev/zero would be read without end.
TEST_F(BookPdfTest, ANonFileFailsAsAMissingBookAndIsNeverWaitedFor) {
  const std::string p = dir_ + "/thing.pdf";
  for (fwtest::NonFile kind : fwtest::kNonFiles) {
    SCOPED_TRACE(fwtest::NonFileName(kind));
    ASSERT_TRUE(fwtest::MakeNonFile(kind, p));
    EXPECT_EQ(0, fwtest::RunChecksInChild([&] { EXPECT_EQ(1, RunMain({"Lectrel", "-q", p, dir_ + "/a.txt"})); }, 5));
    fwtest::RemoveNonFile(p);
  }
}

TEST_F(BookPdfTest, CallersArgumentVectorIsLeftAlone) {
  std::vector<std::string> args = {"Lectrel", "-layout", pdf_, dir_ + "/c.txt"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  std::vector<char*> before = argv;
  EXPECT_EQ(0, pdftotext_main(4, argv.data()));
  EXPECT_EQ(before, argv);
}

}  // namespace
