// The HTML converter: the text lines it writes for tags, references, lists, headings, rules,
// hidden spans and the paragraph-spacing modes, and that hostile files cannot overflow it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "BookHtml.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "Config.h"
#include "MainLoad.h"
#include "book_test_fixture.h"

namespace {

class BookHtmlTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    if (HasFatalFailure()) return;
    snprintf(pdf_filename, sizeof(pdf_filename), "%s/book.html", dir_.c_str());
    snprintf(text_filename, sizeof(text_filename), "%s/book.txt", dir_.c_str());
    snprintf(book_name, sizeof(book_name), "book");
    config.html_paragraph_spacing = 0;
  }
  // Converts `html` as a book in the given paragraph-spacing mode and answers the text file.
  std::string Convert(const std::string& html, char mode = 0) {
    config.html_paragraph_spacing = mode;
    WriteBytes(pdf_filename, html);
    EXPECT_EQ(1, CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr));
    return Read(text_filename);
  }
};

TEST_F(BookHtmlTest, NothingBeforeTheBodyIsText) {
  EXPECT_EQ("", Convert("<html><head><title>Not text</title></head>\nno body here\n"));
  EXPECT_EQ("Text.\n", Convert("<html><head><title>T</title></head><BODY class=\"x\"><p>Text.</p></body></html>\n"));
}

TEST_F(BookHtmlTest, ParagraphSpacingLessAndMore) {
  const std::string html = "<body><p>One.</p><p>Two.</p></body>\n";
  EXPECT_EQ("One.\nTwo.\n", Convert(html, 0));
  EXPECT_EQ("One.\n\nTwo.\n\n", Convert(html, 1));
  // A paragraph tag with attributes, and words joined across source lines by one blank.
  EXPECT_EQ("first line and the next\n",
            Convert("<body>\n<p class=\"a\">first line\nand   the\tnext</p>\n</body>\n", 0));
}

TEST_F(BookHtmlTest, AutoChoosesFromTheParagraphsAtTheStart) {
  struct Case {
    int ending_in_punctuation;
    int empty;
    bool more;
  };
  const Case cases[] = {{70, 10, true}, {60, 10, false}, {70, 30, false}, {61, 29, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ending_in_punctuation << " done, " << c.empty << " empty");
    std::string html = "<body>\n";
    for (int i = 0; i < 100; i++) {
      if (i < c.ending_in_punctuation)
        html += "<p>Done sentence.</p>\n";
      else if (i < c.ending_in_punctuation + c.empty)
        html += "<p> </p>\n";
      else
        html += "<p>Broken off in the middle of</p>\n";
    }
    html += "</body>\n";
    std::string text = Convert(html, 2);
    EXPECT_EQ(c.more, text.find("Done sentence.\n\nDone") != std::string::npos) << text.substr(0, 80);
  }
}

TEST_F(BookHtmlTest, CharacterReferences) {
  struct Case {
    const char* html;
    const char* text;
  };
  const Case cases[] = {
      {"&eacute;&Eacute;&EACUTE;", "\xE9\xC9\xC9"},  // exact spelling wins, else the first in any case
      {"&yuml;&iexcl;", "\xFF\xA1"},
      {"&amp; &lt;&gt; &quot;&apos;", "& <> \"'"},
      {"a&nbsp;b", "a b"},
      {"&#233;&#255;&#65;", "\xE9\xFF" "A"},
      {"&#x41;&#X4a;&#xe9;", "AJ\xE9"},
      {"&#8230;", "..."},
      {"&#8212;&#8220;q&#8221;&#8364;", "-\"q\"E"},
      {"&#321;&#384;", "Lb"},  // the Latin Extended tables
      {"x&#5;y", "x y"},
      {"x&#9999;y", "x y"},
      {"x&bogus;y", "x y"},
      {"x&#99999999999999999999;y", "x y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(std::string(c.text) + "\n", Convert(std::string("<body><p>") + c.html + "</p></body>\n"));
  }
  EXPECT_NE(std::string::npos, Log().find("Unsupported special char <#5>"));
  EXPECT_NE(std::string::npos, Log().find("Unsupported number <#9999>"));
}

TEST_F(BookHtmlTest, BareAmpersandIsWrittenAsItStood) {
  struct Case {
    const char* html;
    const char* text;
  };
  const Case cases[] = {
      {"Tom & Jerry", "Tom & Jerry"},
      {"R&D<br>x", "R&D\nx"},
      {"a&&amp;b", "a&&b"},
      {"5 &# 6 &;", "5 &# 6 &;"},
      {"x&y<i>z</i>", "x&yz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(std::string(c.text) + "\n", Convert(std::string("<body><p>") + c.html + "</p></body>\n"));
  }
  // A run of letters too long for any reference, and "&" at the end of a source line.
  std::string letters(100, 'q');
  EXPECT_EQ("&" + letters + " tail & \n", Convert("<body><p>&" + letters + " tail &\n</p></body>\n"));
}

TEST_F(BookHtmlTest, HighBytesAreDecodedAsUtf8OrKeptAsLatin1) {
  struct Case {
    const char* html;
    const char* text;
  };
  const Case cases[] = {
      {"caf\xC3\xA9 na\xC3\xAFve", "caf\xE9 na\xEFve"},
      {"\xE2\x80\x94\xE2\x80\xA6\xE2\x82\xAC", "-...E"},
      {"\xC5\x81\xC3\x9F", "L\xDF"},
      {"\xE9t\xE9", "\xE9t\xE9"},        // Latin-1 text
      {"\xC3(x", "\xC3(x"},              // a broken sequence: its lead byte is Latin-1
      {"a\x85" "b", "ab"},               // a lone C1 byte has no meaning
      {"\xF0\x9F\x98\x80!", " !"},      // no single byte for it
      {"\xE0\x80\xAF", "\xE0\xAF"},      // an overlong form is not decoded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(std::string(c.text) + "\n", Convert(std::string("<body><p>") + c.html + "</p></body>\n"));
  }
  // Inside <pre> bytes are kept as they are.
  EXPECT_EQ("\xC3\xA9\n", Convert("<body><pre>\xC3\xA9</pre></body>\n"));
}

TEST_F(BookHtmlTest, AutoLooksOnlyAtTheFirst2001Lines) {
  // Past the dry run's window every paragraph ends in punctuation; the start decides.
  std::string html = "<body>\n";
  for (int i = 0; i < 2000; i++) html += "<p>no full stop here</p>\n";
  for (int i = 0; i < 6000; i++) html += "<p>Done.</p>\n";
  std::string text = Convert(html, 2);
  EXPECT_NE(std::string::npos, text.find("Done.\nDone.\n"));
  EXPECT_EQ(std::string::npos, text.find("\n\n"));
}

TEST_F(BookHtmlTest, UnexpectedBytesAreDroppedAndTheirLogIsCapped) {
  std::string html = "<body><p>a";
  for (int i = 0; i < 200; i++) html += "\x02";
  html += "b</p></body>\n";
  EXPECT_EQ("ab\n", Convert(html));
  size_t logged = Count(Log(), "Unexpected char <2>");
  EXPECT_GE(logged, 1u);
  EXPECT_LE(logged, 50u);
}

TEST_F(BookHtmlTest, ListsHeadingsRulesAndBreaks) {
  EXPECT_EQ("        . One\n        . Two\n", Convert("<body><ul><li>One</li><li>Two</li></ul></body>\n"));
  EXPECT_EQ("\n\n\nTitle\n\n\n\nx\n\x01\ny\n",
            Convert("<body><h1>Title</h1><p>x</p><hr /><p>y</p></body>\n"));
  EXPECT_EQ("\n\nSub\n\n\n\nMinor\n\n", Convert("<body><h2>Sub</h2><h3>Minor</h3></body>\n"));
  EXPECT_EQ("a\nb\n\nc\n", Convert("<body><p>a<br>b<br /><br>c</p></body>\n"));
}

TEST_F(BookHtmlTest, PreKeepsBlanksTabsAndLines) {
  EXPECT_EQ("before\n\tx  y \n  z\nafter\n",
            Convert("<body><p>before</p>\n<pre>\tx  y\n  z</pre>\n<p>after</p></body>\n"));
}

TEST_F(BookHtmlTest, HiddenSpansAreDropped) {
  EXPECT_EQ("a b c\n",
            Convert("<body><p>a <span style=\"display:none\">hidden <span>deep</span> more</span>"
                    " b <SPAN style=\"display: none\">gone</SPAN><span class=\"v\">c</span></p></body>\n"));
}

TEST_F(BookHtmlTest, ListDepthIsResetAndBounded) {
  // Thousands of items left open: indentation stops growing and nothing overflows.
  std::string html = "<body><ul>\n";
  for (int i = 0; i < 5000; i++) html += "<li>item\n";
  html += "</ul></body>\n";
  std::string text = Convert(html);
  EXPECT_EQ(5000u, Count(text, ". item"));
  size_t longest = 0, start = 0;
  for (size_t nl = text.find('\n'); nl != std::string::npos; start = nl + 1, nl = text.find('\n', start))
    longest = std::max(longest, nl - start);
  EXPECT_LT(longest, 80u);

  // The next book starts at depth 0 again.
  EXPECT_EQ("        . One\n", Convert("<body><ul><li>One</li></ul></body>\n"));
}

TEST_F(BookHtmlTest, LongSourceLinesKeepTheirBytes) {
  // One source line of 25000 letters arrives in pieces and is written out in pieces; no blank may
  // appear where it was cut.
  std::string word(25000, 'w');
  EXPECT_EQ(word + "\n", Convert("<body><p>" + word + "</p></body>\n"));
  // A line that fills a piece exactly, followed by its line end, still parts words by one blank.
  std::string html = "<body><p>";
  html += std::string(9998 - html.size(), 'a') + "\nb</p></body>\n";
  std::string text = Convert(html);
  EXPECT_EQ(std::string(9998 - 9, 'a') + " b\n", text);
}

TEST_F(BookHtmlTest, AppendAddsSixLineFeedsAndTitleBlock) {
  WriteBytes(pdf_filename, "<body><p>Chapter one</p></body>\n");
  ASSERT_EQ(1, CreateTextFileFromHtmlFile(0, nullptr, const_cast<char*>("My Title"),
                                          const_cast<char*>("Ann Author")));
  EXPECT_EQ("\n\n\x01\n\nMy Title\n\n\nBy Ann Author\n\n\x01\n\n\n\n\nChapter one\n", Read(text_filename));

  WriteBytes(pdf_filename, "<body><p>MY TITLE, again</p><p>More</p></body>\n");
  ASSERT_EQ(1, CreateTextFileFromHtmlFile(0, nullptr, const_cast<char*>("My Title"), nullptr));
  EXPECT_EQ("MY TITLE, again\nMore\n", Read(text_filename)) << "a book that opens with its title";

  WriteBytes(pdf_filename, "<body><p>Part two</p></body>\n");
  ASSERT_EQ(1, CreateTextFileFromHtmlFile(1, const_cast<char*>("\"part two\""),
                                          const_cast<char*>("ignored"), nullptr));
  EXPECT_EQ("MY TITLE, again\nMore\n\n\n\n\n\n\nPart two\n", Read(text_filename));
  EXPECT_EQ("Converting File - \"part two\"", main_fake_calls.texts.back());
}

TEST_F(BookHtmlTest, ProgressEveryHundredLinesAndCancel) {
  std::string html = "<body>\n";
  for (int i = 0; i < 250; i++) html += "<p>Line.</p>\n";
  Convert(html);
  ASSERT_EQ(3u, main_fake_calls.texts.size());
  EXPECT_EQ("Converting File - book", main_fake_calls.texts[0]);
  EXPECT_EQ("Converting File - book (Line 100)", main_fake_calls.texts[1]);
  EXPECT_EQ("Converting File - book (Line 200)", main_fake_calls.texts[2]);
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);
  for (float f : main_fake_calls.fractions) EXPECT_EQ(-1.0f, f);

  // Escape at the second report: the conversion stops there and still answers 1.
  MainFakesReset();
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/book.html", dir_.c_str());
  snprintf(text_filename, sizeof(text_filename), "%s/book.txt", dir_.c_str());
  main_fake_calls.quit_on_progress_call = 2;
  config.html_paragraph_spacing = 0;
  EXPECT_EQ(1, CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr));
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_EQ(2, main_fake_calls.progress_calls);
}

TEST_F(BookHtmlTest, FileFailures) {
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/missing.html", dir_.c_str());
  EXPECT_EQ(0, CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr));
  EXPECT_NE(std::string::npos, Log().find("Could not open file <" + dir_ + "/missing.html>"));

  snprintf(pdf_filename, sizeof(pdf_filename), "%s/book.html", dir_.c_str());
  WriteBytes(pdf_filename, "<body>x</body>\n");
  snprintf(text_filename, sizeof(text_filename), "%s/no/such/folder.txt", dir_.c_str());
  EXPECT_EQ(0, CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr));
  EXPECT_NE(std::string::npos, Log().find("Could not create file <" + dir_ + "/no/such/folder.txt>"));
  EXPECT_EQ(0, CreateTextFileFromHtmlFile(1, nullptr, nullptr, nullptr));
  EXPECT_NE(std::string::npos, Log().find("Could not open file for appending <"));

  MainFakesFreeBuffers();
  EXPECT_EQ(0, CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr));
  EXPECT_NE(std::string::npos, Log().find("Internal Error"));
}

TEST_F(BookHtmlTest, ClosingTagsNeverGoBelowZero) {
  EXPECT_EQ("\na\nb\n", Convert("<body></p></li></ul></pre></span><p>a</p>>><p>b</p></body>\n"));
  EXPECT_NE(std::string::npos, Log().find("Paragraph count < 0"));
  EXPECT_NE(std::string::npos, Log().find("Bracket Mismatch"));
}

TEST(BookHtmlPatterns, LastCharsAndPrefixes) {
  MainFakesAllocBuffers();
  for (char c : std::string("junk<BoDy")) DoConvertHtmlToTextParseChar(c, nullptr, 1);
  EXPECT_EQ(1, HtmlCheckLastCharsContainString(""));
  EXPECT_EQ(1, HtmlCheckLastCharsContainString("<body"));
  EXPECT_EQ(1, HtmlCheckLastCharsContainString("oDy"));
  EXPECT_EQ(0, HtmlCheckLastCharsContainString("<BODY")) << "only lower-case pattern letters match both";
  EXPECT_EQ(0, HtmlCheckLastCharsContainString("<head"));
  EXPECT_EQ(0, HtmlCheckLastCharsContainString("01234567890123456789"));

  EXPECT_EQ(1, HtmlConvertStrIStr("The Big-Book, part 1", "the big book"));
  EXPECT_EQ(1, HtmlConvertStrIStr("  -- Ann Author", "ANN AUTHOR"));
  EXPECT_EQ(0, HtmlConvertStrIStr("Big", "Bigger"));
  EXPECT_EQ(0, HtmlConvertStrIStr("Other text", "The"));
  EXPECT_EQ(1, HtmlConvertStrIStr("anything", ""));
  MainFakesFreeBuffers();
}

TEST_F(BookHtmlTest, HostileFilesConvertWithoutHarm) {
  std::mt19937 rng(12345);
  const char* pieces[] = {"<", ">", "&", ";", "#", "x", "<p>", "</p>", "<li>", "<ul>", "</ul>", "<pre>",
                          "</pre>", "<span style=\"display:none\">", "</span>", "<br>", "<h1>", "<hr />",
                          "&#", "&eacute", " ", "\t", "\n", "\n\n", "\r", "\xC3", "\xA9", "\xE2\x80",
                          "\x01", "\x0C", "word", "&#x"};
  std::string html = "<body>";
  for (int i = 0; i < 200000; i++) html += pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))];
  html += std::string(30000, '&') + std::string(30000, '<') + std::string(30000, 'a') + "\n";
  for (char mode = 0; mode < 3; mode++) {
    SCOPED_TRACE(static_cast<int>(mode));
    std::string text = Convert(html, mode);
    EXPECT_FALSE(text.empty());
  }
  // Thousands of nested hidden spans and references that never end.
  std::string deep = "<body>";
  for (int i = 0; i < 3000; i++) deep += "<span style=\"display:none\">x";
  for (int i = 0; i < 3000; i++) deep += "</span>";
  deep += "<p>seen</p>" + std::string(20000, '#') + "\n";
  EXPECT_NE(std::string::npos, Convert(deep).find("seen\n"));
}

}  // namespace
