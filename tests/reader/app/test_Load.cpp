// The Reviews search words of a book's file name and the search address built from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Load.h"
#include "Various.h"

namespace {

std::vector<std::string> Words(const std::string& path) {
  int n = LoadFindReviewWords(path.c_str());
  std::vector<std::string> out;
  for (int i = 0; i < n; i++) out.push_back(lc_review_words[i]);
  return out;
}

using Strs = std::vector<std::string>;

TEST(LoadReviewWords, FileNameRule) {
  const std::string long_word(63, 'w'), too_long(64, 'w');
  std::string many;
  for (int i = 0; i < 25; i++) many += "w" + std::to_string(i) + "_";
  Strs first20;
  for (int i = 0; i < 20; i++) first20.push_back("w" + std::to_string(i));
  struct Case {
    std::string path;
    Strs words;
  } cases[] = {
      {"/home/u/Books/War_and_Peace.pdf", {"War", "and", "Peace"}},
      {"1984.pdf", {}},                                   // all digits
      {"A.pdf", {}},                                      // one character
      {"War and Peace.html", {"War", "and", "Peace"}},    // ".html" is still the extension
      {"Dr. Who.pdf", {"Dr.", "Who"}},                    // an earlier '.' belongs to the word
      {"Book.tar.gz", {"Book.tar"}},
      {"Smith, John - Tale.txt", {"Smith", "John", "Tale"}},  // comma dropped, "-" too short
      {"a,_bc.pdf", {"bc"}},                              // "a," is one character without its comma
      {"--_..._Tale.pdf", {"Tale"}},                      // no letter or digit
      {"C:\\Books\\Name_Two.pdf", {"Name", "Two"}},
      {"/x/NoExtension", {}},                             // the text after the last separator
      {"My Book", {"My"}},
      {"\xC3\x89t\xC3\xA9_\xC3\xA9\xC3\xA9.pdf", {"\xC3\x89t\xC3\xA9"}},
      {long_word + "_" + too_long + "_End.pdf", {long_word, "End"}},
      {many + "x.pdf", first20},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Words(c.path), c.words) << c.path;
  EXPECT_EQ(LoadFindReviewWords(nullptr), 0);
}

TEST(LoadReviewWords, SearchAddressEncodesEveryWord) {
  char url[4096];
  LoadFindReviewWords("/b/War_and_Peace.pdf");
  ASSERT_TRUE(LoadBuildReviewsUrl(url, sizeof(url)));
  EXPECT_STREQ(url, "https://www.quorvane.com/bookstore/search?keyword=War%20and%20Peace&mode=books");

  LoadFindReviewWords("/b/$(touch PWNED)_\"it's\" `x`;&y=1 #2.pdf");
  ASSERT_TRUE(LoadBuildReviewsUrl(url, sizeof(url)));
  EXPECT_STREQ(url,
               "https://www.quorvane.com/bookstore/search?keyword=%24%28touch%20PWNED%29%20"
               "%22it%27s%22%20%60x%60%3B%26y%3D1%20%232&mode=books");

  // The store lies on the maker's site, wherever that is set: the web pages' site is searched.
  VariousSetWebSite("http://127.0.0.1:9");
  LoadFindReviewWords("/b/War_and_Peace.pdf");
  ASSERT_TRUE(LoadBuildReviewsUrl(url, sizeof(url)));
  EXPECT_STREQ(url, "http://127.0.0.1:9/bookstore/search?keyword=War%20and%20Peace&mode=books");
  VariousSetWebSite(nullptr);

  // No word, nothing to search; an address that would not fit is refused whole.
  LoadFindReviewWords("1984.pdf");
  EXPECT_FALSE(LoadBuildReviewsUrl(url, sizeof(url)));
  LoadFindReviewWords("War_and_Peace.pdf");
  EXPECT_FALSE(LoadBuildReviewsUrl(url, 60));
  EXPECT_STREQ(url, "");

  // The longest search (20 words of 63 bytes, each byte encoded) fits the reader's buffer.
  std::string name;
  for (int i = 0; i < 20; i++) name += "a" + std::string(62, '%') + "_";
  LoadFindReviewWords((name + "x.pdf").c_str());
  ASSERT_EQ(lc_num_review_words, 20);
  EXPECT_TRUE(LoadBuildReviewsUrl(url, sizeof(url)));
}

}  // namespace
