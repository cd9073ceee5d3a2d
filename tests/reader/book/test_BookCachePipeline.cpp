// A PDF book from its file to justified display lines: the converted text file made through the
// cache, then the page-break analysis, the paragraph passes and the formatter, as the reading
// view loads a book. The running header and the page numbers go; the first page's title and the
// text stay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookCache.h"
#include "book_layout_fixture.h"

namespace {

class BookCachePipelineTest : public BookLayoutTest {
 protected:
  // Converts the book named in pdf_filename and lays it out; false at the first failing step.
  bool Load() {
    if (!CreateTextFileIfNeeded() || quit_loading_book) return false;
    if (!Assemble()) return false;
    max_draw_width = 600;  // 60 bytes of the fixed-advance font
    return FormatLines() == 1;
  }
  static bool AnyContains(const std::vector<LayoutEntry>& entries, const std::string& needle) {
    for (const LayoutEntry& e : entries)
      if (e.text.find(needle) != std::string::npos) return true;
    return false;
  }
  // A page number: digits with nothing but blanks around them.
  static bool IsNumber(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    if (a == std::string::npos) return false;
    for (size_t i = a; i <= b; i++)
      if (s[i] < '0' || s[i] > '9') return false;
    return true;
  }
};

TEST_F(BookCachePipelineTest, PdfBookLosesRunningHeaderAndPageNumbersButKeepsItsText) {
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/Harbour.pdf", dir_.c_str());
  snprintf(book_name, sizeof(book_name), "Harbour");
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf_filename, 12));
  ASSERT_TRUE(Load()) << Log();

  std::string text;
  ASSERT_TRUE(PdfFixtureReadFile(text_filename, &text));
  EXPECT_EQ(12u, Count(text, "\f")) << "one form feed per page";
  EXPECT_EQ(10u, Count(text, "THE QUIET HARBOUR")) << "the converted file still has every header "
                                                      "(pages 2 and 4 to 12; page 3 is blank)";

  std::vector<LayoutEntry> paragraphs = Paragraphs();
  EXPECT_FALSE(AnyContains(paragraphs, "A NOVEL"));
  for (const LayoutEntry& p : paragraphs) EXPECT_FALSE(IsNumber(p.text)) << "page number left: " << p.text;
  EXPECT_TRUE(AnyContains(paragraphs, "The Quiet Harbour"));
  EXPECT_TRUE(AnyContains(paragraphs, "CHAPTER ONE"));
  EXPECT_TRUE(AnyContains(paragraphs, "CHAPTER TWO"));
  EXPECT_TRUE(AnyContains(paragraphs, "Ren\xe9 walked along the front"));
  EXPECT_TRUE(AnyContains(paragraphs, "lighthouse keeper \xc5sa"));

  std::vector<LayoutEntry> lines = DisplayLines();
  ASSERT_FALSE(lines.empty());
  int justified = 0;
  for (int i = 0; i < num_formatted_lines; i++) {
    const _Line& l = formatted_line_list[i];
    EXPECT_LE(l.length, 60u) << "line " << i << " wider than the page: " << l.text;
    justified += l.justify ? 1 : 0;
  }
  EXPECT_GT(justified, 0);
  EXPECT_FALSE(AnyContains(lines, "A NOVEL"));
}

TEST_F(BookCachePipelineTest, TextBookIsLaidOutInPlace) {
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/Notes.txt", dir_.c_str());
  FILE* f = fopen(pdf_filename, "wb");
  ASSERT_TRUE(f);
  fputs("A first paragraph that runs on\nover two file lines.\n\nA second one.\n", f);
  fclose(f);
  ASSERT_TRUE(Load()) << Log();
  EXPECT_STREQ(pdf_filename, text_filename);
  EXPECT_TRUE(AnyContains(Paragraphs(), "A first paragraph that runs on over two file lines."));
  EXPECT_TRUE(AnyContains(DisplayLines(), "A second one."));
}

}  // namespace
