// The one Windows Latin-1 table behind every text the shell hands to SDL and GTK or takes from
// them (typed text, window titles, dialog and message-box texts).
#include <gtest/gtest.h>

#include <string>

#include "ComMacText.h"

namespace {

TEST(ComMacText, CodePointsToBytes) {
  const struct {
    unsigned cp;
    int byte;
  } cases[] = {
      {'A', 'A'},      {0x7F, 0x7F},    {0x20AC, 0x80},  {0x201A, 0x82},  {0x0178, 0x9F},
      {0x00A0, 0xA0},  {0x00E9, 0xE9},  {0x00FF, 0xFF},
      // The five bytes Windows leaves unassigned stand for their own code points.
      {0x0081, 0x81},  {0x008D, 0x8D},  {0x008F, 0x8F},  {0x0090, 0x90},  {0x009D, 0x9D},
      // No byte: other C1 controls (their bytes are taken by the table) and everything else.
      {0x0080, -1},    {0x0099, -1},    {0x0100, -1},    {0x4E2D, -1},    {0x1F600, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.byte, ComMacTextLatin1Byte(c.cp)) << std::hex << c.cp;
}

TEST(ComMacText, EveryByteGoesToUtf8AndBack) {
  std::string all;
  for (int b = 1; b < 256; b++) all += (char)b;
  const std::string utf8 = ComMacTextLatin1ToUtf8(all.c_str(), all.size());
  EXPECT_EQ(0, utf8.compare(0, 3, "\x01\x02\x03"));
  EXPECT_NE(std::string::npos, utf8.find("\xE2\x82\xAC")) << "0x80 is the euro sign";
  char back[512];
  ASSERT_EQ(1, ComMacTextUtf8ToLatin1(utf8.c_str(), back, sizeof(back)));
  EXPECT_EQ(all, std::string(back));
}

TEST(ComMacText, Utf8WithoutALatin1ByteAndCutTexts) {
  char out[8];
  EXPECT_EQ(1, ComMacTextUtf8ToLatin1("a\xE4\xB8\xAD" "b\xFF", out, sizeof(out)));
  EXPECT_STREQ("a?b?", out);
  EXPECT_EQ(-1, ComMacTextUtf8ToLatin1("caf\xC3\xA9 au lait", out, sizeof(out)));
  EXPECT_STREQ("caf\xE9 au", out);
  EXPECT_EQ(0, ComMacTextUtf8ToLatin1(nullptr, out, sizeof(out)));
  EXPECT_EQ("ab", ComMacTextLatin1ToUtf8("abc", 2));
  EXPECT_EQ("", ComMacTextLatin1ToUtf8(nullptr, 5));
}

// The options of the callers: a file name keeps bytes that are not UTF-8 as Latin-1, a text book
// drops its byte-order mark; malformed forms are never decoded as a character.
TEST(ComMacText, ConversionOptionsAndMalformedSequences) {
  const struct {
    std::string in;
    unsigned options;
    std::string out;
  } cases[] = {
      {"caf\xC3\xA9 caf\xE9", 0, "caf\xE9 caf?"},
      {"caf\xC3\xA9 caf\xE9", COM_MAC_TEXT_KEEP_LATIN1, "caf\xE9 caf\xE9"},
      {"\xEF\xBB\xBFtext \xEF\xBB\xBF", COM_MAC_TEXT_DROP_BOM, "text ?"},
      {"\xEF\xBB\xBFtext", 0, "?text"},
      // Overlong, surrogate, beyond U+10FFFF, cut short: each byte on its own.
      {"\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82", COM_MAC_TEXT_KEEP_LATIN1,
       "\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82"},
      {"\xC0\xAF\xE2\x82", 0, "????"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    char out[64];
    ASSERT_EQ(1, ComMacTextUtf8ToLatin1(c.in.c_str(), out, sizeof(out), c.options));
    EXPECT_EQ(c.out, std::string(out));
    std::string bytes(c.in.size(), 0);
    bytes.resize(ComMacTextUtf8ToLatin1Bytes(c.in.data(), c.in.size(), &bytes[0], c.options));
    EXPECT_EQ(c.out, bytes);
  }
  unsigned cp = 0;
  EXPECT_EQ(0, ComMacTextUtf8Decode((const unsigned char*)"\xE2\x82\xAC", 2, &cp)) << "cut by the length";
  EXPECT_EQ(3, ComMacTextUtf8Decode((const unsigned char*)"\xE2\x82\xAC", 3, &cp));
  EXPECT_EQ(0x20ACu, cp);
}

}  // namespace
