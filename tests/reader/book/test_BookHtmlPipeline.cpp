// An HTML book and an OPF package from their files to justified display lines through the text
// cache, the paragraph passes and the formatter, as the reading view loads a book.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookCache.h"
#include "BookHtml.h"
#include "BookOpf.h"
#include "book_layout_fixture.h"

namespace {

class BookHtmlPipelineTest : public BookLayoutTest {
 protected:
  void Write(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  bool Load() {
    if (!CreateTextFileIfNeeded() || quit_loading_book) return false;
    if (!Assemble()) return false;
    max_draw_width = 600;  // 60 bytes of the fixed-advance font
    return FormatLines() == 1;
  }
  static int Find(const std::vector<LayoutEntry>& entries, const std::string& needle) {
    for (size_t i = 0; i < entries.size(); i++)
      if (entries[i].text.find(needle) != std::string::npos) return static_cast<int>(i);
    return -1;
  }
  const std::string kChapter =
      "<html><head><title>Ignored</title></head><body>\n"
      "<h1>The Lantern Road</h1>\n"
      "<p>Caf&eacute; lights burned along the road while the carters argued about the price of "
      "salt, and nobody noticed the stranger.</p>\n"
      "<hr />\n"
      "<ul><li>first thing</li><li>second thing</li></ul>\n"
      "<p>Na\xC3\xAFve &amp; tired, she walked on.</p>\n"
      "</body></html>\n";
};

TEST_F(BookHtmlPipelineTest, HtmlBookBecomesDisplayLines) {
  config.html_paragraph_spacing = 1;
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/Lantern.html", dir_.c_str());
  snprintf(book_name, sizeof(book_name), "Lantern");
  snprintf(text_filename, sizeof(text_filename), "%s/Lantern.txt", dir_.c_str());
  Write(pdf_filename, kChapter);
  ASSERT_TRUE(Load()) << Log();

  std::vector<LayoutEntry> paragraphs = Paragraphs();
  EXPECT_GE(Find(paragraphs, "The Lantern Road"), 0);
  EXPECT_GE(Find(paragraphs, "Caf\xE9 lights burned along the road while the carters argued"), 0);
  EXPECT_GE(Find(paragraphs, ". first thing"), 0);
  EXPECT_GE(Find(paragraphs, "Na\xEFve & tired, she walked on."), 0);
  EXPECT_LT(Find(paragraphs, "Ignored"), 0);

  std::vector<LayoutEntry> lines = DisplayLines();
  int rules = 0, justified = 0;
  for (int i = 0; i < num_formatted_lines; i++) {
    EXPECT_LE(formatted_line_list[i].length, 60u) << formatted_line_list[i].text;
    rules += formatted_line_list[i].mark == 2;
    justified += formatted_line_list[i].justify ? 1 : 0;
  }
  EXPECT_EQ(1, rules) << "the horizontal rule";
  EXPECT_GT(justified, 0);
  EXPECT_LT(Find(lines, "The Lantern Road"), Find(lines, "first thing"));
}

TEST_F(BookHtmlPipelineTest, OpfPackageBecomesDisplayLinesInSpineOrder) {
  config.html_paragraph_spacing = 0;
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/Road.opf", dir_.c_str());
  snprintf(book_name, sizeof(book_name), "Road");
  snprintf(text_filename, sizeof(text_filename), "%s/Road.txt", dir_.c_str());
  Write(dir_ + "/b.html", "<body><p>Second part of the road.</p></body>\n");
  Write(dir_ + "/a.xhtml", kChapter);
  Write(pdf_filename,
        "<package><manifest>\n<item href=\"b.html\" id=\"part_b\"/>\n<item id=\"part_a\" href=\"a.xhtml\"/>\n"
        "</manifest>\n<spine toc=\"ncx\"><itemref idref=\"part_a\"/>\n<itemref idref=\"part_b\"/>\n</spine>\n"
        "</package>\n");
  ASSERT_TRUE(Load()) << Log();
  EXPECT_STREQ((dir_ + "/Road.opf").c_str(), pdf_filename);
  std::vector<LayoutEntry> lines = DisplayLines();
  int first = Find(lines, "The Lantern Road"), second = Find(lines, "Second part of the road.");
  EXPECT_GE(first, 0);
  EXPECT_GT(second, first);
}

}  // namespace
