// The reader's own sample books, as the build puts them in the resource folder, laid out the way
// the reading view loads them: they open the way a printed book does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookCache.h"
#include "book_layout_fixture.h"

namespace {

class SampleBooksTest : public BookLayoutTest {
 protected:
  bool Load(const char* name) {
    snprintf(pdf_filename, sizeof(pdf_filename), "%s/Samples/%s", LECTREL_RESOURCES, name);
    snprintf(book_name, sizeof(book_name), "Sample");
    if (!CreateTextFileIfNeeded() || quit_loading_book) return false;
    if (!Assemble()) return false;
    max_draw_width = 600;  // 60 bytes of the fixed-advance font
    return FormatLines() == 1;
  }
};

// The title page has no running head: the book opens on its title, which stands once, and the
// running heads of the later pages are dropped.
TEST_F(SampleBooksTest, PdfOpensOnItsTitleWithoutARunningHead) {
  ASSERT_TRUE(Load("Sample.pdf")) << Log();
  std::vector<LayoutEntry> lines = DisplayLines();
  size_t first = 0;
  while (first < lines.size() && lines[first].text.find_first_not_of(' ') == std::string::npos) first++;
  ASSERT_LT(first, lines.size());
  EXPECT_EQ("THE KEEPER OF NORTH POINT", lines[first].text);
  int titles = 0;
  for (const LayoutEntry& l : lines) titles += l.text.find("KEEPER OF NORTH POINT") != std::string::npos;
  EXPECT_EQ(1, titles);
}

// Both rules of the HTML sample reach the page as rule lines.
TEST_F(SampleBooksTest, HtmlRulesAreDrawn) {
  config.html_paragraph_spacing = 1;
  ASSERT_TRUE(Load("Sample.html")) << Log();
  int rules = 0;
  for (const LayoutEntry& l : DisplayLines()) rules += l.mark == 2;
  EXPECT_EQ(2, rules);
}

}  // namespace
