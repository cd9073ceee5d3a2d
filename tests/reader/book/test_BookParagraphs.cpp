// Paragraph assembly: file lines joined into paragraphs, empty entries, page dividers, the
// treatment of form-feed lines after the page-break analysis, and the three passes' checks.
#include "book_layout_fixture.h"

namespace {

using Entries = std::vector<LayoutEntry>;

const std::string kLong1 = "This first line is long, the longest of the book by far.";    // 56
const std::string kLong2 = "And this second line is nearly as long as the first one.";     // 56
const std::string kShort = "Short end.";

class ParagraphsTest : public BookLayoutTest {};

TEST_F(ParagraphsTest, LinesBecomeParagraphs) {
  struct Case {
    const char* name;
    std::string file;
    Entries entries;
  } cases[] = {
      {"one short line", "Short line\n", {{"", 0}, {"Short line", 0}}},
      {"two long lines and a short one", kLong1 + "\n" + kLong2 + "\n" + kShort + "\n",
       {{"", 0}, {kLong1 + " " + kLong2 + " " + kShort, 0}}},
      {"an indented line starts a paragraph", kLong1 + "\n  " + kLong2 + "\n",
       {{"", 0}, {kLong1, 0}, {"   " + kLong2, 0}}},
      {"one empty line between paragraphs", kShort + "\n\n" + kShort + "\n",
       {{"", 0}, {kShort, 0}, {"", 0}, {kShort, 0}}},
      {"two empty lines", kShort + "\n\n\n" + kShort + "\n",
       {{"", 0}, {kShort, 0}, {"", 0}, {"", 0}, {kShort, 0}}},
      {"a run of ten blanks ends a paragraph",
       kLong1 + "\nName          Value of a long table row!!\n" + kLong2 + "\n",
       {{"", 0}, {kLong1 + " Name          Value of a long table row!!", 0}, {kLong2, 0}}},
      {"a rule line stands alone", kLong1 + "\n\x01\n" + kLong2 + "\n",
       {{"", 0}, {kLong1, 0}, {"\x01", 0}, {kLong2, 0}}},
      {"a TAB indent starts a paragraph", kLong1 + "\n\t" + kLong2 + "\n",
       {{"", 0}, {kLong1, 0}, {" \t" + kLong2, 0}}},
      {"CR LF and a last line without its end", kShort + "\r\n\r\n" + kShort,
       {{"", 0}, {kShort, 0}, {"", 0}, {kShort, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBook(c.file);
    ASSERT_TRUE(Assemble());
    EXPECT_EQ(c.entries, Paragraphs());
    FreeParagraphs();
  }
}

TEST_F(ParagraphsTest, MaxLineWidthCountsKeptLinesWithTheirFormFeed) {
  WriteBook("abc\n\fabcdef\nab\n");
  ASSERT_EQ(1, AnalysePageBreaks());
  ASSERT_EQ(1, GetMaxLineWidthInTextFile());
  EXPECT_EQ(7, max_line_width);
}

TEST_F(ParagraphsTest, RunningHeadersGoAndASentenceRunsOverThePageBreak) {
  PdfLikeBook book;
  for (int p = 0; p < 7; p++) {
    std::string a = "Page " + std::to_string(p) + " opens a sentence that is long enough to";
    std::string b = "run on to the next page of the book, where it goes on and on.";
    book.bodies.push_back({a, b});
  }
  book.bodies.push_back({"The last page ends the story in a line that is long and", "then short."});
  WriteBook(book.Bytes());
  ASSERT_TRUE(Assemble());
  Entries got = Paragraphs();
  // Entry 0, page 1's header and the empty line after it, then the whole body as one paragraph.
  ASSERT_EQ(4u, got.size());
  EXPECT_EQ(book.header, got[1].text);
  EXPECT_EQ("", got[2].text);
  std::string body;
  for (const auto& page : book.bodies)
    for (const std::string& l : page) body += (body.empty() ? "" : " ") + l;
  EXPECT_EQ(body, got[3].text);
  for (const LayoutEntry& e : got) EXPECT_EQ(std::string::npos, e.text.find('\f'));
}

TEST_F(ParagraphsTest, PageDivisionsGiveADividerAndANewParagraph) {
  config.page_divisions = 1;
  PdfLikeBook book;
  book.header = "Head";
  book.bodies = {{kLong1}, {kLong2}};
  WriteBook(book.Bytes());
  ASSERT_TRUE(Assemble());
  Entries expected = {
      {"", 0}, {"Head", 0}, {"", 0}, {kLong1, 0}, {"", 0}, {PdfLikeBook::PageNumber(1), 0},
      // The page number had closed its paragraph, so an empty entry is passed over.
      {"", 0}, {"", 0}, {"", 1}, {"Head", 0}, {"", 0}, {kLong2, 0}, {"", 0},
      {PdfLikeBook::PageNumber(2), 0},
      // The lone form feed at the end: a divider and an empty line.
      {"", 0}, {"", 0}, {"", 1}, {"", 0}};
  EXPECT_EQ(expected, Paragraphs());
}

TEST_F(ParagraphsTest, APageBreakLineThatIsKeptLosesOnlyItsFormFeed) {
  // Page 2 opens with a chapter title instead of the running header: the first break's class
  // keeps its form-feed line, and its text must reach the paragraph list.
  PdfLikeBook book;
  for (int p = 0; p < 8; p++) book.bodies.push_back({kLong1, kShort});
  std::string bytes = book.Bytes();
  std::string title = "Chapter Two: The Long Road Home Begins";
  size_t at = bytes.find("\f" + book.header);
  bytes.replace(at + 1, book.header.size(), title);
  WriteBook(bytes);
  ASSERT_TRUE(Assemble());
  ASSERT_EQ(1, remove_page_break_line[0]);
  bool found = false;
  for (const LayoutEntry& e : Paragraphs()) {
    EXPECT_EQ(std::string::npos, e.text.find('\f'));
    if (e.text.find(title) != std::string::npos) found = true;
  }
  EXPECT_TRUE(found);
}

TEST_F(ParagraphsTest, BlankPagesLoseAllTheirFormFeeds) {
  // A text book with a blank page: two form feeds in a row open the next page.
  WriteBook(kShort + "\n\f\f" + kShort + "\n");
  ASSERT_TRUE(Assemble());
  Entries expected = {{"", 0}, {kShort, 0}, {"", 0}, {"", 1}, {kShort, 0}};
  EXPECT_EQ(expected, Paragraphs());
}

TEST_F(ParagraphsTest, CancelDuringAPassKeepsThePassZeroCount) {
  WriteBook(kLong1 + "\n" + kShort + "\n\n" + kShort + "\n");
  ASSERT_EQ(1, AnalysePageBreaks());
  ASSERT_EQ(1, GetMaxLineWidthInTextFile());
  ASSERT_EQ(1, CountNumLinesInTextFile());
  int count = num_lines;
  EXPECT_EQ(4, count);
  ASSERT_EQ(1, CalcLineLengths());
  ASSERT_TRUE(AllocTexts());
  quit_loading_book = 1;
  EXPECT_EQ(1, ReadLinesIntoMemory());
  EXPECT_EQ(count, num_lines);
  for (int i = 0; i < num_lines; i++) EXPECT_STREQ("", line_list[i].text);
}

TEST_F(ParagraphsTest, ABookThatChangesBetweenPassesCannotOverflow) {
  // The lengths are counted on one text; before the reading pass the file grows. Every write
  // stays within the counted room, the entry count mismatch is reported, and every entry's
  // length still matches its text.
  WriteBook(kShort + "\n\n" + kShort + "\n");
  ASSERT_EQ(1, AnalysePageBreaks());
  ASSERT_EQ(1, GetMaxLineWidthInTextFile());
  ASSERT_EQ(1, CountNumLinesInTextFile());
  int count = num_lines;
  ASSERT_EQ(1, CalcLineLengths());
  ASSERT_TRUE(AllocTexts());
  std::string grown;
  for (int i = 0; i < 20; i++) grown += kLong1 + " and more and more words\n";
  WriteBook(grown + "\n\n\n" + grown);
  EXPECT_EQ(0, ReadLinesIntoMemory());
  EXPECT_EQ(count, num_lines);
  for (int i = 0; i < num_lines; i++) EXPECT_EQ(strlen(line_list[i].text), line_list[i].length) << i;
  EXPECT_NE(std::string::npos, Log().find("Len error"));
}

TEST_F(ParagraphsTest, FailuresAreLogged) {
  WriteBook("");
  EXPECT_EQ(0, GetMaxLineWidthInTextFile());
  EXPECT_NE(std::string::npos, Log().find("Empty text file <" + std::string(text_filename) + ">"));

  snprintf(text_filename, sizeof(text_filename), "%s/absent.txt", dir_.c_str());
  EXPECT_EQ(0, CountNumLinesInTextFile());
  EXPECT_NE(std::string::npos, Log().find("Could not open text file <" + std::string(text_filename) + ">"));

  EXPECT_EQ(0, ParseLinesDoLineFromFile(nullptr, 0));
  ASSERT_EQ(nullptr, line_list);
  EXPECT_EQ(0, ParseLinesDoLineFromFile((unsigned char*)"x", 1));
  EXPECT_EQ(0, ParseLinesEnd(2));
  EXPECT_EQ(0, ReadLinesIntoMemory());
  MainFakesFreeBuffers();
  EXPECT_EQ(0, CalcLineLengths());
}

TEST_F(ParagraphsTest, ALineLongerThanTheReadLimitArrivesInPieces) {
  // 12000 bytes without a line end: a piece of 9998 bytes (the longest line, left open) and the
  // rest, joined after a blank.
  std::string big(12000, 'x');
  WriteBook(big + "\n");
  ASSERT_TRUE(Assemble());
  EXPECT_EQ(9998, max_line_width);
  Entries got = Paragraphs();
  ASSERT_EQ(2u, got.size());
  EXPECT_EQ(std::string(9998, 'x') + " " + std::string(2002, 'x'), got[1].text);
}

}  // namespace
