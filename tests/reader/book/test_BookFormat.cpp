// Display-line formatting: wrapping at blanks and hyphens, hard cuts, justification widths,
// marks, TAB expansion, control codes, and the whole way from a text file to display lines.
#include "book_layout_fixture.h"

namespace {

// A display line as the tests compare it: text, justify flag, blank width, mark.
struct Shown {
  std::string text;
  int justify;
  float blank_width;
  int mark;
  bool operator==(const Shown& o) const {
    return text == o.text && justify == o.justify && mark == o.mark &&
           std::abs(blank_width - o.blank_width) < 1e-4f;
  }
};

std::ostream& operator<<(std::ostream& os, const Shown& s) {
  return os << "{\"" << s.text << "\", " << s.justify << ", " << s.blank_width << ", " << s.mark << "}";
}

class FormatTest : public BookLayoutTest {
 protected:
  void SetUp() override {
    BookLayoutTest::SetUp();
    max_draw_width = 100;  // ten bytes of the test font
  }
  static std::vector<Shown> Lines() {
    std::vector<Shown> out;
    for (int i = 0; i < num_formatted_lines; i++) {
      const _Line& l = formatted_line_list[i];
      EXPECT_EQ(strlen(l.text), l.length) << i;
      EXPECT_EQ(0, l.empty);
      EXPECT_EQ(0.0, l.y);
      out.push_back({l.text, l.justify, l.blank_width, l.mark});
    }
    return out;
  }
  // Formats entry 0 (empty, as in every paragraph list) and the paragraph; returns its lines.
  std::vector<Shown> Format(const std::string& paragraph) {
    SetParagraphs({{"", 0}, {paragraph, 0}});
    EXPECT_EQ(1, FormatLines());
    std::vector<Shown> lines = Lines();
    EXPECT_FALSE(lines.empty());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }
};

TEST_F(FormatTest, ParagraphsWrapAndJustify) {
  struct Case {
    const char* name;
    std::string paragraph;
    std::vector<Shown> lines;
  } cases[] = {
      // The tenth byte fills the width; the line ends after the blank there, which is then
      // trimmed: 80 units of letters leave 20 for the one blank.
      {"break at a blank", "aaaa bbbb cccc", {{"aaaa bbbb", 1, 20, 0}, {"cccc", 0, 0, 0}}},
      {"several blanks share the room", "a b c d e f g h", {{"a b c d e", 1, 12.5f, 0}, {"f g h", 0, 0, 0}}},
      {"the hyphen stays on the first line", "well-known words",
       {{"well-", 1, 0, 0}, {"known", 1, 0, 0}, {"words", 0, 0, 0}}},
      // No blank or hyphen: cut before the byte that reached the width.
      {"a word wider than the page", "abcdefghijklmnopqrstuvwxy",
       {{"abcdefghi", 1, 0, 0}, {"jklmnopqr", 1, 0, 0}, {"stuvwxy", 0, 0, 0}}},
      {"ending exactly at a break", "aaaaaaaaa ", {{"aaaaaaaaa", 1, 0, 0}}},
      {"a rest of blanks gives an empty last line", "aaaaaaaaa  ", {{"aaaaaaaaa", 1, 0, 0}, {"", 0, 0, 0}}},
      {"two blanks in a row keep two widths", "aa  bb cc dd", {{"aa  bb cc", 1, 40.0f / 3, 0}, {"dd", 0, 0, 0}}},
      {"bullets become asterisks", "\x95 item", {{"* item", 0, 0, 0}}},
      // The text before a form feed is a line of its own, then the break's empty line.
      {"a form feed inside a paragraph", "abc\fdef", {{"abc", 0, 0, 0}, {"", 0, 0, 0}, {"def", 0, 0, 0}}},
      {"a form feed first", "\fdef", {{"", 0, 0, 0}, {"def", 0, 0, 0}}},
      // A line feed and other control codes take no width and stay in the text.
      {"control codes", "ab\ncd\x02" "efghij", {{"ab\ncd\x02" "efghi", 1, 0, 0}, {"j", 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.lines, Format(c.paragraph));
    FormatLinesRelease();
  }
}

TEST_F(FormatTest, AGlyphWiderThanThePageTakesOneBytePerLine) {
  font_.advance['W'] = 150;
  EXPECT_EQ(std::vector<Shown>({{"W", 1, 0, 0}, {"W", 1, 0, 0}, {"W", 1, 0, 0}}), Format("WWW"));
  FormatLinesRelease();
  EXPECT_EQ(std::vector<Shown>({{"ab", 1, 0, 0}, {"W", 1, 0, 0}, {"cd", 0, 0, 0}}), Format("abWcd"));
}

TEST_F(FormatTest, WidthsComeFromTheScaledFont) {
  ComFreeTypeSetScale(&font_, 2.0f, 1.0f);  // 20 units a byte: five bytes fill the width
  EXPECT_EQ(std::vector<Shown>({{"a b", 1, 60, 0}, {"c", 0, 0, 0}}), Format("a b c"));
}

TEST_F(FormatTest, MarksOfDividersAndRules) {
  // A divider entry marks the next display line added; a rule entry is an empty line with mark
  // 2; the first line of the book carries no mark.
  SetParagraphs({{"", 0}, {"Before.", 0}, {"", 0}, {"", 1}, {"After the divider and more.", 0}, {"\x01", 0},
                 {"End.", 0}});
  ASSERT_EQ(1, FormatLines());
  std::vector<Shown> expected = {{"", 0, 0, 0},          {"Before.", 0, 0, 0},  {"", 0, 0, 0},
                                 {"", 0, 0, 1},          {"After the", 1, 20, 0}, {"divider", 1, 0, 0},
                                 {"and more.", 0, 0, 0}, {"", 0, 0, 2},        {"End.", 0, 0, 0}};
  EXPECT_EQ(expected, Lines());
  EXPECT_EQ(0, fl_next_line_added_is_pg_break);
}

TEST_F(FormatTest, TabsAreExpandedButNotALastOne) {
  SetParagraphs({{"", 0}, {"a\tb", 0}, {"ab\t", 0}});
  ASSERT_EQ(1, FormatLines());
  EXPECT_STREQ("a        b", line_list[1].text);
  EXPECT_EQ(10u, line_list[1].length);
  EXPECT_STREQ("ab\t", line_list[2].text);
  // "a", eight blanks and "b" fill the width exactly, so the line breaks after the blanks; the
  // last TAB counts as one blank.
  std::vector<Shown> expected = {{"", 0, 0, 0}, {"a", 1, 0, 0}, {"b", 0, 0, 0}, {"ab\t", 0, 0, 0}};
  EXPECT_EQ(expected, Lines());

  // Expansion stops once the text is longer than 9991 bytes.
  std::string big = std::string(9984, 'x') + "\t\tz";
  SetParagraphs({{"", 0}, {big, 0}});
  ASSERT_EQ(1, FormatLines());
  EXPECT_EQ(9994u, line_list[1].length);
  EXPECT_EQ('\t', line_list[1].text[9992]);
  FormatLinesRelease();
  SetParagraphs({{"", 0}, {std::string(9992, 'x') + "\tz", 0}});
  ASSERT_EQ(1, FormatLines());
  EXPECT_EQ(9994u, line_list[1].length);
}

TEST_F(FormatTest, ThePerCharacterLogIsCapped) {
  SetParagraphs({{"", 0}, {std::string(300, '\x02') + "text", 0}, {std::string(300, '\n'), 0}});
  ASSERT_EQ(1, FormatLines());
  std::string log = Log();
  EXPECT_EQ(50u, Count(log, "Unrecognised character at line num") + Count(log, "Got a line break"));
  EXPECT_NE(std::string::npos, log.find("Unrecognised character at line num 1 at pos 0 - (2 <2>)"));
}

TEST_F(FormatTest, FailuresAndCancel) {
  EXPECT_EQ(0, FormatLines());  // no paragraph list
  SetParagraphs({{"", 0}, {"text", 0}});
  free(line_list[1].text);
  line_list[1].text = nullptr;
  EXPECT_EQ(0, FormatLines());
  EXPECT_NE(std::string::npos, Log().find("No line in"));

  SetParagraphs({{"", 0}, {"text", 0}});
  book_font = nullptr;
  EXPECT_EQ(0, FormatLines());
  book_font = &font_;
  font_.setup = 0;
  EXPECT_EQ(0, FormatLines());
  font_.setup = 1;

  // The fill index is checked: a list that FormatLines did not allocate takes no line.
  _Line other[1] = {};
  formatted_line_list = other;
  num_formatted_lines = 0;
  EXPECT_EQ(0, FormatLineSetupCurrentFormattedLine(1, (unsigned char*)"x", 0, 10));
  formatted_line_list = nullptr;
  EXPECT_EQ(0, FormatLineSetupCurrentFormattedLine(1, (unsigned char*)"x", 0, 10));
  EXPECT_NE(std::string::npos, Log().find("Bad paremeters"));

  quit_loading_book = 1;
  EXPECT_EQ(1, FormatLines());
  quit_loading_book = 0;
}

TEST_F(FormatTest, ATextBookBecomesJustifiedDisplayLines) {
  // The whole way after conversion: a PDF-like text of eight pages loses its running headers
  // and page numbers, its paragraphs run over the page breaks, and every display line but a
  // paragraph's last fills the width.
  PdfLikeBook book;
  for (int p = 0; p < 8; p++)
    book.bodies.push_back({"Page " + std::to_string(p) + " has a sentence that goes on long enough to",
                           "run over to the next page where it ends, in the end, with some words."});
  WriteBook(book.Bytes());
  ASSERT_TRUE(Assemble());
  max_draw_width = 300;
  ASSERT_EQ(1, FormatLines());
  std::string all;
  for (int i = 0; i < num_formatted_lines; i++) {
    const _Line& l = formatted_line_list[i];
    all += std::string(l.text) + "|";
    EXPECT_EQ(std::string::npos, std::string(l.text).find('\f'));
    EXPECT_LE(l.length, 30u) << i;
    if (l.justify && l.blank_width > 0) {
      unsigned blanks = 0, letters = 0;
      for (unsigned k = 0; k < l.length; k++) (l.text[k] == ' ' ? blanks : letters)++;
      EXPECT_NEAR(300.0f, letters * 10 + blanks * l.blank_width, 1e-3) << l.text;
    }
  }
  EXPECT_EQ(1u, Count(all, "Chapter One"));  // page 1's header only
  EXPECT_EQ(0u, Count(all, std::string(10, ' ')));
  bool joined = false;
  for (int i = 0; i < num_lines; i++)
    if (strstr(line_list[i].text, "enough to run over to the next page")) joined = true;
  EXPECT_TRUE(joined);
  EXPECT_EQ(0, formatted_line_list[0].mark);
}

// The display lines of whole books, every field, folded into one number: the line reading and
// the formatting may get faster but never show a book differently. The numbers were taken with
// the byte-by-byte line reader and the two-walk line copy; a proportional font (advances 6 to 12)
// and three text widths exercise breaks at blanks, hyphens and hard cuts.
uint64_t Fold(uint64_t h, const void* data, size_t n) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < n; i++) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

uint64_t DisplayLinesDigest() {
  uint64_t h = 14695981039346656037ull;
  for (int i = 0; i < num_formatted_lines; i++) {
    const _Line& l = formatted_line_list[i];
    h = Fold(h, l.text, l.length + 1);
    h = Fold(h, &l.length, sizeof(l.length));
    h = Fold(h, &l.justify, sizeof(l.justify));
    h = Fold(h, &l.blank_width, sizeof(l.blank_width));
    h = Fold(h, &l.mark, sizeof(l.mark));
  }
  return h;
}

TEST_F(FormatTest, SampleBooksShowExactlyAsBefore) {
  for (int c = 32; c < 256; c++) font_.advance[c] = 6.0f + (float)(c % 7);
  font_.advance[' '] = 4.0f;
  std::string sample;
  FILE* f = fopen(LECTREL_SOURCE_DIR "/tools/samples/Sample.txt", "rb");
  ASSERT_NE(f, nullptr);
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof(chunk), f)) > 0) sample.append(chunk, got);
  fclose(f);
  // A text book with what the plain samples lack: TABs, bullets, form feeds, CR LF and CR line
  // ends, very long words and lines longer than the reading limit.
  std::string odd;
  const std::string long_word(700, 'w');
  unsigned seed = 99;
  const char* words[] = {"well-known", "\x95", "tab\tbed", "a", "quay", "caf\xe9", "\f", "x",
                         long_word.c_str(), "end.", "  ", "hyphen-", "NUL"};
  for (int line = 0; line < 4000; line++) {
    int n = (line % 37 == 0) ? 3000 : (int)(seed % 14);
    for (int w = 0; w < n; w++) {
      seed = seed * 1103515245u + 12345u;
      const char* word = words[(seed >> 16) % 13];
      if (strcmp(word, "NUL") == 0) {
        odd += '\0';
        continue;
      }
      odd += word;
      odd += ' ';
    }
    odd += (line % 5 == 0) ? "\r\n" : (line % 11 == 0) ? "\r" : "\n";
  }
  struct Book {
    const char* name;
    const std::string& bytes;
    uint64_t digest[3];
  } books[] = {
      {"Sample.txt", sample, {0xd1266610215d1b1cull, 0x5cae77a37a89fb30ull, 0x74d2a5b405a0de75ull}},
      {"odd", odd, {0x7689ca351797b5dbull, 0xe5b6d4a4bd801550ull, 0x93d792a399b89e4full}},
  };
  const float widths[3] = {560, 300, 97};
  for (const Book& b : books) {
    for (int w = 0; w < 3; w++) {
      FreeParagraphs();
      FormatLinesRelease();
      WriteBook(b.bytes);
      ASSERT_TRUE(Assemble()) << b.name;
      max_draw_width = widths[w];
      ASSERT_EQ(1, FormatLines()) << b.name;
      EXPECT_EQ(b.digest[w], DisplayLinesDigest()) << b.name << " at width " << widths[w];
    }
  }
}

}  // namespace

#include "BookCache.h"

// Cairo's text drawing, which writes the PDF fixture, leaves fontconfig's caches allocated at
// exit; that is the library's, not the program's, so the leak checker of the sanitizer build
// is told to pass over it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

TEST_F(FormatTest, APdfBookLosesItsRunningHeadersAndPageNumbers) {
  // The cairo sample book through the PDF conversion, the page-break analysis, the paragraph
  // passes and the formatter.
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/harbour.pdf", dir_.c_str());
  snprintf(book_name, sizeof(book_name), "harbour");
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf_filename, 9));
  ASSERT_EQ(1, CreateTextFileIfNeeded());
  ASSERT_TRUE(Assemble());
  max_draw_width = 560;
  ASSERT_EQ(1, FormatLines());

  std::string paragraphs;
  for (int i = 0; i < num_lines; i++) paragraphs += std::string(line_list[i].text) + "\n";
  if (getenv("LECTREL_DUMP")) fputs(paragraphs.c_str(), stderr);
  EXPECT_EQ(std::string::npos, paragraphs.find("THE QUIET HARBOUR")) << paragraphs;
  EXPECT_EQ(std::string::npos, paragraphs.find('\f'));
  EXPECT_NE(std::string::npos, paragraphs.find("The Quiet Harbour"));  // page 1's title
  EXPECT_NE(std::string::npos, paragraphs.find("CHAPTER ONE"));
  EXPECT_NE(std::string::npos, paragraphs.find("CHAPTER TWO"));
  bool accented = false;
  for (int i = 0; i < num_formatted_lines; i++) {
    const _Line& l = formatted_line_list[i];
    std::string text(l.text);
    // No display line is a page number.
    bool digits = !text.empty() && text.find_first_not_of(" 0123456789") == std::string::npos;
    EXPECT_FALSE(digits) << i << " <" << text << ">";
    for (unsigned char c : text)
      if (c >= 0xC0) accented = true;
  }
  EXPECT_TRUE(accented);
}

}  // namespace
