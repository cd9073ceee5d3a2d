// Shared by the layout tests (page breaks, paragraphs, formatting): the converted text file in
// the test's book folder, the book font as a hand-filled record, and the loading sequence of the
// reading view from the text file to the display lines.
#ifndef BOOK_LAYOUT_FIXTURE_H
#define BOOK_LAYOUT_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BookFormat.h"
#include "BookPageBreaks.h"
#include "BookParagraphs.h"
#include "ComDebug.h"
#include "ComFreeType.h"
#include "Config.h"
#include "LecFont.h"
#include "MainLoad.h"
#include "book_test_fixture.h"

// One paragraph-list or display-line entry as the tests compare it.
struct LayoutEntry {
  std::string text;
  int mark;
  bool operator==(const LayoutEntry& o) const { return text == o.text && mark == o.mark; }
};

inline std::ostream& operator<<(std::ostream& os, const LayoutEntry& e) {
  return os << "{\"" << e.text << "\", " << e.mark << "}";
}

class BookLayoutTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    if (HasFatalFailure()) return;
    config.page_divisions = 0;
    snprintf(text_filename, sizeof(text_filename), "%s/book.txt", dir_.c_str());
    // A font of fixed advances: 10 units per printable code, so 10 bytes fill a width of 100.
    memset(&font_, 0, sizeof(font_));
    font_.setup = 1;
    font_.letter_count = 256;
    font_.scale_x = font_.scale_y = 1.0f;
    for (int c = 32; c < 256; c++) font_.advance[c] = 10.0f;
    font_.advance[127] = 0.0f;
    saved_font_ = book_font;
    book_font = &font_;
  }
  void TearDown() override {
    FreeParagraphs();
    FormatLinesRelease();
    PageBreaksRelease();
    quit_loading_book = 0;
    config.page_divisions = 0;
    book_font = saved_font_;
    BookFolderTest::TearDown();
  }

  static void WriteBook(const std::string& bytes) { WriteBytes(text_filename, bytes); }

  // The texts that the reading view gives every entry between the length and reading passes.
  static bool AllocTexts() {
    for (int i = 0; i < num_lines; i++) {
      line_list[i].text = static_cast<char*>(malloc(line_list[i].length + 1));
      if (!line_list[i].text) return false;
      line_list[i].text[0] = 0;
    }
    return true;
  }
  // Page breaks and the three paragraph passes over the text file, as MainInit runs them.
  bool Assemble() {
    if (!AnalysePageBreaks()) return false;
    if (!GetMaxLineWidthInTextFile()) return false;
    if (!CountNumLinesInTextFile()) return false;
    if (!CalcLineLengths()) return false;
    if (!AllocTexts()) return false;
    return ReadLinesIntoMemory() == 1;
  }
  static std::vector<LayoutEntry> Paragraphs() {
    std::vector<LayoutEntry> out;
    for (int i = 0; i < num_lines; i++) {
      EXPECT_EQ(strlen(line_list[i].text), line_list[i].length) << "entry " << i;
      out.push_back({line_list[i].text, line_list[i].mark});
    }
    return out;
  }
  static std::vector<LayoutEntry> DisplayLines() {
    std::vector<LayoutEntry> out;
    for (int i = 0; i < num_formatted_lines; i++) {
      EXPECT_EQ(strlen(formatted_line_list[i].text), formatted_line_list[i].length) << "line " << i;
      out.push_back({formatted_line_list[i].text, formatted_line_list[i].mark});
    }
    return out;
  }
  // The paragraph list built by hand from texts (each entry owns a malloc'd copy).
  static void SetParagraphs(const std::vector<LayoutEntry>& entries) {
    FreeParagraphs();
    num_lines = (int)entries.size();
    line_list = static_cast<_Line*>(calloc(entries.size(), sizeof(_Line)));
    for (size_t i = 0; i < entries.size(); i++) {
      line_list[i].text = static_cast<char*>(malloc(entries[i].text.size() + 1));
      memcpy(line_list[i].text, entries[i].text.data(), entries[i].text.size());
      line_list[i].text[entries[i].text.size()] = 0;
      line_list[i].length = (uint32_t)entries[i].text.size();
      line_list[i].mark = (uint8_t)entries[i].mark;
    }
  }
  static void FreeParagraphs() {
    if (line_list) {
      for (int i = 0; i < num_lines; i++) free(line_list[i].text);
      free(line_list);
    }
    line_list = nullptr;
    num_lines = 0;
  }

  _ComFreeTypeFont font_;
  _ComFreeTypeFont* saved_font_ = nullptr;
};

// A converted PDF book in the layout of the PDF library: every page opens with a running header
// whose two halves stand apart (a spaced line), then an empty line, the body, an empty line and
// the centred page number; every page is followed by a form feed, so each page after the first
// begins with "\f" + its header and the file ends with a lone "\f".
struct PdfLikeBook {
  std::vector<std::vector<std::string>> bodies;  // the body lines of every page
  std::string header = "The Lectrel Tales              Chapter One";

  static std::string PageNumber(int page) {
    return std::string(30, ' ') + std::to_string(page);
  }
  // All file lines, in order, without their line ends.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (size_t p = 0; p < bodies.size(); p++) {
      lines.push_back((p ? "\f" : "") + header);
      lines.push_back("");
      for (const std::string& b : bodies[p]) lines.push_back(b);
      lines.push_back("");
      lines.push_back(PageNumber((int)p + 1));
    }
    lines.push_back("\f");
    return lines;
  }
  std::string Bytes() const {
    std::string out;
    for (const std::string& l : Lines()) out += l + "\n";
    return out;
  }
};

#endif
