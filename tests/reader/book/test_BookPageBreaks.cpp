// Page-break analysis: which lines around the page breaks of a converted book are dropped, the
// break classes, the consensus that stops at the first disagreement, and the keep test.
#include "book_layout_fixture.h"

#include <cstdint>
#include <set>

namespace {

using Pages = std::vector<std::vector<std::string>>;

// The file lines of pages joined as the PDF library writes them: every page followed by a form
// feed, so each later page's first line starts with "\f" and the file ends with a lone "\f".
std::vector<std::string> JoinPages(const Pages& pages) {
  std::vector<std::string> lines;
  for (size_t p = 0; p < pages.size(); p++) {
    for (size_t i = 0; i < pages[p].size(); i++)
      lines.push_back((p && i == 0 ? "\f" : "") + pages[p][i]);
    if (pages[p].empty()) lines.push_back(p ? "\f" : "");
  }
  lines.push_back("\f");
  return lines;
}

std::string Bytes(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

std::string Body(int page, int line) {
  char text[128];
  snprintf(text, sizeof(text), "Page %d line %d of the body text, long enough to be text.", page, line);
  return text;
}

// Body lines, then the footer lines given, as one page.
std::vector<std::string> Page(int page, int body_lines, std::vector<std::string> head,
                              std::vector<std::string> foot) {
  std::vector<std::string> lines = head;
  for (int i = 0; i < body_lines; i++) lines.push_back(Body(page, i));
  for (const std::string& f : foot) lines.push_back(f);
  return lines;
}

class PageBreaksTest : public BookLayoutTest {
 protected:
  // The indexes of the lines that the keep test drops, over n lines.
  static std::set<unsigned> Dropped(size_t n) {
    std::set<unsigned> out;
    for (unsigned i = 0; i < n; i++)
      if (!PageBreaksIncludeThisLineFromFile(i)) out.insert(i);
    return out;
  }
  static std::vector<int> Results(const signed char* table) { return std::vector<int>(table, table + 5); }
};

TEST_F(PageBreaksTest, LineTypes) {
  struct Case {
    const char* line;
    int type;
  } cases[] = {
      {"", 2},
      {"short", 3},
      {"nineteen characters", 3},                    // 19 bytes
      {"twenty characters!!", 3},                    // 19 again, spelled to check the boundary
      {"twenty characters!!!", 1},                   // 20 bytes
      {"Title        Author and more text", 3},      // a run of eight blanks: spaced
      {"Title       Author and more text", 1},       // seven blanks is still text
      {"\f", 3},                                     // a lone form feed counts its byte
      {"\fA line of text after the form feed", 1},
  };
  EXPECT_EQ(2, GetLineFormatType(nullptr));
  for (const Case& c : cases) EXPECT_EQ(c.type, GetLineFormatType((char*)c.line)) << '"' << c.line << '"';
}

TEST_F(PageBreaksTest, RunningHeadersFootersAndPageNumbersAreDroppedButNotTheFirstPage) {
  PdfLikeBook book;
  for (int p = 0; p < 8; p++) book.bodies.push_back({Body(p, 0), Body(p, 1), Body(p, 2), Body(p, 3), Body(p, 4)});
  std::vector<std::string> lines = book.Lines();
  WriteBook(book.Bytes());
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(8, num_page_breaks);
  for (int i = 0; i < 8; i++) EXPECT_EQ((uint32_t)(9 * (i + 1)), page_breaks[i]) << i;
  EXPECT_EQ(std::vector<int>({1, 1, 1, 1, 1}), Results(remove_page_break_line));
  EXPECT_EQ(std::vector<int>({2, 2, 2, 2, 2}), Results(lines_to_remove_before_page_break));
  EXPECT_EQ(std::vector<int>({1, 1, 1, 1, 1}), Results(lines_to_remove_after_page_break));

  // At every break: the empty line and page number before it, the header line that carries the
  // form feed and the empty line after it. Page 1's header opens the book and stays.
  std::set<unsigned> expected;
  for (unsigned f = 9; f < lines.size(); f += 9) {
    expected.insert({f - 2, f - 1, f});
    if (f + 1 < lines.size()) expected.insert(f + 1);
  }
  EXPECT_EQ(expected, Dropped(lines.size()));
  for (unsigned i = 0; i < lines.size(); i++) {
    if (lines[i].find("Page ") != std::string::npos) {
      EXPECT_TRUE(PageBreaksIncludeThisLineFromFile(i)) << i;
    }
  }
  EXPECT_TRUE(PageBreaksIncludeThisLineFromFile(0));
}

TEST_F(PageBreaksTest, NothingIsDroppedWithoutFormFeedsOrWithFourBreaksOrFewer) {
  WriteBook("A book without pages\n\n       1\nAnother line\n");
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(0, num_page_breaks);
  EXPECT_EQ(nullptr, page_breaks);
  EXPECT_TRUE(Dropped(4).empty());

  PdfLikeBook book;
  for (int p = 0; p < 4; p++) book.bodies.push_back({Body(p, 0), Body(p, 1), Body(p, 2)});
  WriteBook(book.Bytes());
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(4, num_page_breaks);
  EXPECT_EQ(std::vector<int>(5, 0), Results(remove_page_break_line));
  EXPECT_EQ(std::vector<int>(5, 0), Results(lines_to_remove_before_page_break));
  EXPECT_EQ(std::vector<int>(5, 0), Results(lines_to_remove_after_page_break));
  EXPECT_TRUE(Dropped(book.Lines().size()).empty());
}

TEST_F(PageBreaksTest, PageDivisionsKeepEveryLine) {
  PdfLikeBook book;
  for (int p = 0; p < 8; p++) book.bodies.push_back({Body(p, 0), Body(p, 1)});
  WriteBook(book.Bytes());
  ASSERT_EQ(1, AnalysePageBreaks());
  ASSERT_GT(num_page_breaks, 0);
  config.page_divisions = 1;
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(0, num_page_breaks);
  EXPECT_EQ(std::vector<int>(5, 0), Results(remove_page_break_line));
  EXPECT_EQ(std::vector<int>(5, 0), Results(lines_to_remove_before_page_break));
  EXPECT_TRUE(Dropped(book.Lines().size()).empty());
}

TEST_F(PageBreaksTest, ConsensusStopsAtTheFirstPositionWhereBreaksDisagree) {
  // Pages end in an empty line, another empty line and the page number, so three lines before a
  // break agree; on one middle page a body line stands where the others have their first empty
  // line. That position disagrees and the count stops there, though the next one agrees again.
  Pages pages;
  for (int p = 0; p < 8; p++) {
    std::vector<std::string> foot = {"", "", PdfLikeBook::PageNumber(p + 1)};
    if (p == 4) foot = {"", Body(p, 99), PdfLikeBook::PageNumber(p + 1)};
    pages.push_back(Page(p, 4, {"Header", ""}, foot));
  }
  WriteBook(Bytes(JoinPages(pages)));
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(1, lines_to_remove_before_page_break[0]);
  for (int c = 1; c < 5; c++) EXPECT_LE(lines_to_remove_before_page_break[c], 1) << c;

  // Without the odd page every break agrees on three lines.
  pages[4] = Page(4, 4, {"Header", ""}, {"", "", PdfLikeBook::PageNumber(5)});
  WriteBook(Bytes(JoinPages(pages)));
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(3, lines_to_remove_before_page_break[0]);
}

TEST_F(PageBreaksTest, ALongRunningHeaderIsTextAndStays) {
  // A header of 20 or more characters without an eight-blank gap is text: the form-feed line is
  // kept at every break, only the short lines around it go.
  PdfLikeBook book;
  book.header = "The Lectrel Tales, Chapter One";
  for (int p = 0; p < 8; p++) book.bodies.push_back({Body(p, 0), Body(p, 1), Body(p, 2)});
  WriteBook(book.Bytes());
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(std::vector<int>(5, 0), Results(remove_page_break_line));
  for (int i = 0; i < 7; i++) EXPECT_TRUE(PageBreaksIncludeThisLineFromFile(page_breaks[i])) << i;
  EXPECT_EQ(2, lines_to_remove_before_page_break[0]);
}

TEST_F(PageBreaksTest, OneMiddleBreakWithTextAtTheTopKeepsEveryBreakLine) {
  // A chapter title at the top of a middle page (a class-0 break) makes the class disagree, and
  // the first, second, last and second-to-last breaks may not drop more than class 0.
  Pages pages;
  for (int p = 0; p < 8; p++) {
    std::string head = p == 5 ? "Chapter Two: The Long Road Home" : "Header";
    pages.push_back(Page(p, 4, {head, ""}, {"", PdfLikeBook::PageNumber(p + 1)}));
  }
  WriteBook(Bytes(JoinPages(pages)));
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(std::vector<int>(5, 0), Results(remove_page_break_line));
  EXPECT_EQ(2, lines_to_remove_before_page_break[0]);
}

TEST_F(PageBreaksTest, AFormFeedSwallowedByTheLookAheadLeavesTheBookStartAlone) {
  // Page 4 holds only its header and an empty line, so page 5's form-feed line is read as a
  // look-ahead line of the break before it and is never recorded. The entry left over must not
  // be taken for a break at line 0 (which would drop the book's first lines).
  Pages pages;
  for (int p = 0; p < 9; p++) {
    if (p == 3)
      pages.push_back({"Header", ""});
    else
      pages.push_back(Page(p, 4, {"Header", ""}, {"", PdfLikeBook::PageNumber(p + 1)}));
  }
  std::vector<std::string> lines = JoinPages(pages);
  WriteBook(Bytes(lines));
  ASSERT_EQ(1, AnalysePageBreaks());
  ASSERT_EQ(9, num_page_breaks);
  EXPECT_EQ(UINT32_MAX, page_breaks[8]);
  for (int i = 1; i < 8; i++) EXPECT_LT(page_breaks[i - 1], page_breaks[i]) << i;
  ASSERT_EQ(1, remove_page_break_line[0]);
  for (unsigned i = 0; i < 6; i++) EXPECT_TRUE(PageBreaksIncludeThisLineFromFile(i)) << i;
  // The swallowed form-feed line is not a recorded break, so the keep test does not drop it
  // as one (the paragraph parser then only strips its form feed).
  unsigned swallowed = 0;
  for (unsigned i = 0, ff = 0; i < lines.size(); i++)
    if (lines[i][0] == '\f' && ++ff == 4) swallowed = i;
  ASSERT_EQ(lines[swallowed - 2], "\fHeader");
  for (int i = 0; i < 8; i++) EXPECT_NE(swallowed, page_breaks[i]);
}

TEST_F(PageBreaksTest, AnEarlierBookDoesNotVoteAtTheFirstBreak) {
  // The first page is one short line, so the first break's history is mostly lines the file
  // never had. Those count as empty whatever was analysed before.
  Pages pages;
  pages.push_back({PdfLikeBook::PageNumber(1)});
  for (int p = 1; p < 8; p++) pages.push_back(Page(p, 4, {"Header"}, {"", "", PdfLikeBook::PageNumber(p + 1)}));
  std::string book = Bytes(JoinPages(pages));
  WriteBook(book);
  ASSERT_EQ(1, AnalysePageBreaks());
  std::vector<int> fresh = Results(lines_to_remove_before_page_break);
  EXPECT_EQ(3, fresh[1]);

  std::string other;
  for (int i = 0; i < 12; i++) other += Body(0, i) + "\n";
  for (int p = 0; p < 6; p++) other += "\f" + Body(p, 0) + "\n" + Body(p, 1) + "\n";
  WriteBook(other);
  ASSERT_EQ(1, AnalysePageBreaks());
  WriteBook(book);
  ASSERT_EQ(1, AnalysePageBreaks());
  EXPECT_EQ(fresh, Results(lines_to_remove_before_page_break));
}

TEST_F(PageBreaksTest, KeepTestAroundHandMadeBreaks) {
  // Breaks at lines 10, 20, 30, 40, 50, 60: class 0 drops the form-feed line, 2 lines before and
  // 1 after; the last break (class 3) drops nothing before it.
  static const uint32_t kBreaks[] = {10, 20, 30, 40, 50, 60};
  page_breaks = static_cast<uint32_t*>(malloc(sizeof(kBreaks)));
  memcpy(page_breaks, kBreaks, sizeof(kBreaks));
  num_page_breaks = 6;
  remove_page_break_line[0] = 1;
  lines_to_remove_before_page_break[0] = 2;
  lines_to_remove_after_page_break[0] = 1;
  remove_page_break_line[3] = 1;
  lines_to_remove_after_page_break[1] = 1;
  struct Case {
    unsigned line;
    char keep;
  } cases[] = {
      {0, 1},  {9, 1},  {10, 1}, {11, 0}, {12, 1},  // first break: class 1 drops only one after
      {27, 1}, {28, 0}, {29, 0}, {30, 0}, {31, 0}, {32, 1},  // class 0
      {58, 1}, {59, 1}, {60, 0}, {61, 1}, {1000, 1},        // last break: class 3
  };
  for (const Case& c : cases) EXPECT_EQ(c.keep, PageBreaksIncludeThisLineFromFile(c.line)) << c.line;
}

TEST_F(PageBreaksTest, MissingFileOrBufferFails) {
  snprintf(text_filename, sizeof(text_filename), "%s/absent.txt", dir_.c_str());
  EXPECT_EQ(0, AnalysePageBreaks());
  EXPECT_NE(std::string::npos, Log().find("AnalysePageBreaks"));
  EXPECT_NE(std::string::npos, Log().find("Could not open text file <" + std::string(text_filename) + ">"));
  MainFakesFreeBuffers();
  EXPECT_EQ(0, AnalysePageBreaks());
  EXPECT_EQ(0, num_page_breaks);
}

}  // namespace
