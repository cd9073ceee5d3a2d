// 32-bit pixel buffers: creation, the TGA round trip, painting, halving and the blit with each
// combine mode, on buffers small enough to check every word.
#include <string>
#include <vector>

#include "ComTga.h"
#include "support_GlWindow.h"

namespace {

class ComTgaTest : public ::testing::Test {
 protected:
  void SetUp() override { GlTestLogMark(); }
  void TearDown() override {
    ComTgaFreeData(&a_);
    ComTgaFreeData(&b_);
  }
  bool HasLogLine(const std::string& func, const std::string& text) const {
    return GlTestLogSince().find(GlTestErrorLine(func, text)) != std::string::npos;
  }
  // Word at (x, y) with y counted from the top.
  static uint32_t At(const _ComTgaData& d, int x, int y) { return d.pixels[(d.height - 1 - y) * d.width + x]; }
  _ComTgaData a_{}, b_{};
};

TEST_F(ComTgaTest, CreationFillsOrZeroesAndRefusesBadSizes) {
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(2, 2, 32, 1, 0, 0, 1, &a_));
  EXPECT_EQ(a_.size, 16);
  EXPECT_EQ(a_.bpp, 32);
  for (int i = 0; i < 4; i++) EXPECT_EQ(a_.pixels[i], 0xFFFF0000u);
  EXPECT_FALSE(ComTgaCreateDataForFileWithColour(2, 2, 32, 1, 0, 0, 1, &a_));
  EXPECT_TRUE(HasLogLine("ComTgaCreateDataForFileWithColour", "Data already created"));

  // A negative channel means no fill: the buffer is zeroed, never old memory.
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(3, 1, 32, -1, 0.5f, 0.5f, 0.5f, &b_));
  for (int i = 0; i < 3; i++) EXPECT_EQ(b_.pixels[i], 0u);
  ComTgaFreeData(&b_);
  EXPECT_EQ(b_.pixels, nullptr);
  ComTgaFreeData(nullptr);

  // Values above 1 stay at 255 in their channel.
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(1, 1, 32, 2.0f, 0.5f, 0, 1, &b_));
  EXPECT_EQ(b_.pixels[0], 0xFFFF7F00u);
  ComTgaFreeData(&b_);

  _ComTgaData c{};
  EXPECT_FALSE(ComTgaCreateDataForFile(0, 4, 32, &c));
  EXPECT_FALSE(ComTgaCreateDataForFile(4, 4, 24, &c));
  EXPECT_FALSE(ComTgaCreateDataForFile(70000, 70000, 32, &c));  // byte length would overflow
  EXPECT_FALSE(ComTgaCreateDataForFile(4, 4, 32, nullptr));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComTgaCreateDataForFileWithColour", "Invalid parameters")), 4);
  EXPECT_EQ(c.pixels, nullptr);
}

TEST_F(ComTgaTest, SavedBufferLoadsBackIdentical) {
  ASSERT_TRUE(ComTgaCreateDataForFile(3, 2, 32, &a_));
  for (int i = 0; i < 6; i++) a_.pixels[i] = 0x01020304u * (uint32_t)(i + 1);
  const std::string path = GlTestPath("round.tga");
  ASSERT_TRUE(ComTgaSaveToFileFromData(path.c_str(), &a_));
  const std::vector<unsigned char> file = GlTestReadFile(path);
  ASSERT_EQ(file.size(), 18u + 24u);
  const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0};
  for (int i = 0; i < 18; i++) EXPECT_EQ(file[i], header[i]) << i;
  EXPECT_EQ(file[18], 0x04);  // blue first
  EXPECT_EQ(file[21], 0x01);  // alpha last

  ASSERT_TRUE(ComTgaLoadDataFromFile(path.c_str(), &b_, 1));
  ASSERT_EQ(b_.width, 3);
  ASSERT_EQ(b_.height, 2);
  for (int i = 0; i < 6; i++) EXPECT_EQ(b_.pixels[i], a_.pixels[i]) << i;
  // Into an existing buffer of the right size.
  for (int i = 0; i < 6; i++) b_.pixels[i] = 0;
  ASSERT_TRUE(ComTgaLoadDataFromFile(path.c_str(), &b_, 0));
  EXPECT_EQ(b_.pixels[5], a_.pixels[5]);
  // Into a created buffer with create set, or a buffer of another size: refused.
  EXPECT_FALSE(ComTgaLoadDataFromFile(path.c_str(), &b_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Invalid Data [1]"));
  ComTgaFreeData(&b_);
  ASSERT_TRUE(ComTgaCreateDataForFile(2, 3, 32, &b_));
  EXPECT_FALSE(ComTgaLoadDataFromFile(path.c_str(), &b_, 0));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Invalid Data [2]"));

  EXPECT_FALSE(ComTgaSaveToFileFromData("", &a_));
  EXPECT_TRUE(HasLogLine("ComTgaSaveToFileFromData", "No filename"));
  EXPECT_FALSE(ComTgaSaveToFileFromData(GlTestPath("no/such/folder/x.tga").c_str(), &a_));
  _ComTgaData empty{};
  EXPECT_FALSE(ComTgaSaveToFileFromData(path.c_str(), &empty));
  EXPECT_TRUE(HasLogLine("ComTgaSaveToFileFromData", "Invalid data passed in (filename=" + path + ")"));
}

TEST_F(ComTgaTest, LoadRefusesOtherDepthsAndDamagedFilesAndTurnsTopFirstFilesUpright) {
  GlTestPicture pic24 = GlTestTopRedBottomBlue(2, 2, 3);
  const std::string p24 = GlTestPath("p24.tga");
  ASSERT_TRUE(GlTestWriteTga(p24, pic24));
  EXPECT_FALSE(ComTgaLoadDataFromFile(p24.c_str(), &a_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Invalid Data [2]"));
  EXPECT_EQ(a_.pixels, nullptr);  // the buffer made by the call is freed

  GlTestPicture pic32 = GlTestTopRedBottomBlue(2, 2, 4);
  const std::string top = GlTestPath("top.tga");
  ASSERT_TRUE(GlTestWriteTga(top, pic32, true));
  ASSERT_TRUE(ComTgaLoadDataFromFile(top.c_str(), &a_, 1));
  EXPECT_EQ(At(a_, 0, 0), 0xFFFF0000u);  // top row red
  EXPECT_EQ(At(a_, 1, 1), 0xFF0000FFu);  // bottom row blue
  ComTgaFreeData(&a_);

  std::vector<unsigned char> bytes = GlTestReadFile(top);
  bytes.resize(bytes.size() - 1);
  ASSERT_TRUE(GlTestWriteFile(GlTestPath("short.tga"), bytes));
  EXPECT_FALSE(ComTgaLoadDataFromFile(GlTestPath("short.tga").c_str(), &a_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Problems reading data [2] in file <" + GlTestPath("short.tga") + ">"));
  EXPECT_EQ(a_.pixels, nullptr);
  bytes[2] = 10;  // RLE
  ASSERT_TRUE(GlTestWriteFile(GlTestPath("rle.tga"), bytes));
  EXPECT_FALSE(ComTgaLoadDataFromFile(GlTestPath("rle.tga").c_str(), &a_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Problems [0] loading file <" + GlTestPath("rle.tga") + ">"));
  EXPECT_FALSE(ComTgaLoadDataFromFile(GlTestPath("absent.tga").c_str(), &a_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", "Could not open file <" + GlTestPath("absent.tga") + ">"));
}

// A bare header that declares a huge picture is refused before anything is allocated: a 32-bit
// one for its missing pixels, any other depth for its depth (either would have asked for 17 GB).
TEST_F(ComTgaTest, HeaderAloneNeverAllocatesTheDeclaredPicture) {
  for (int bits : {32, 24}) {
    std::vector<unsigned char> header(18, 0);
    header[2] = 2;
    header[12] = header[13] = header[14] = header[15] = 0xFF;  // 65535 x 65535
    header[16] = (unsigned char)bits;
    const std::string path = GlTestPath("huge.tga");
    ASSERT_TRUE(GlTestWriteFile(path, header));
    GlTestLogMark();
    EXPECT_FALSE(ComTgaLoadDataFromFile(path.c_str(), &a_, 1));
    EXPECT_EQ(a_.pixels, nullptr);
    EXPECT_TRUE(HasLogLine("ComTgaLoadDataFromFile", bits == 32 ? "Problems reading data [2] in file <" + path + ">"
                                                                : "Invalid Data [2]"));
    EXPECT_EQ(GlTestLogSince().find("Could not create data"), std::string::npos);
  }
}

TEST_F(ComTgaTest, PaintingCountsRowsFromTheTop) {
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(3, 3, 32, 0, 0, 0, 1, &a_));
  ASSERT_TRUE(ComTgaSetDataEntryToColour(&a_, 2, 0, 1, 1, 1));
  EXPECT_EQ(At(a_, 2, 0), 0x00FFFFFFu);  // alpha becomes 0
  EXPECT_FALSE(ComTgaSetDataEntryToColour(&a_, 3, 0, 1, 1, 1));
  EXPECT_TRUE(HasLogLine("ComTgaSetDataEntryToColour", "Invalid pos [3,0]"));
  ComTgaSetDataEntryToColourNoChecks(&a_, 0, 0, 0, 1, 0);  // y from the bottom
  EXPECT_EQ(At(a_, 0, 2), 0x0000FF00u);
  ComTgaSetDataEntryToColourNoChecks(&a_, 9, 9, 1, 1, 1);  // outside: nothing written

  // -1 means the whole width or height, so it only fits from the corner.
  EXPECT_FALSE(ComTgaSetDataPartColour(&a_, 1, 1, -1, -1, 0, 0, 1, 0.5f));
  ASSERT_TRUE(ComTgaSetDataPartColour(&a_, 0, 0, -1, -1, 0, 0, 0, 1));
  EXPECT_EQ(At(a_, 2, 0), 0xFF000000u);
  ASSERT_TRUE(ComTgaSetDataPartColour(&a_, 1, 0, 2, 2, 0, 0, 1, 0.5f));
  EXPECT_EQ(At(a_, 1, 0), 0x7F0000FFu);
  EXPECT_EQ(At(a_, 2, 1), 0x7F0000FFu);
  EXPECT_EQ(At(a_, 0, 0), 0xFF000000u);
  EXPECT_EQ(At(a_, 1, 2), 0xFF000000u);
  EXPECT_FALSE(ComTgaSetDataPartColour(&a_, 2, 0, 2, 1, 0, 0, 1, 1));
  EXPECT_TRUE(HasLogLine("ComTgaSetDataPartColour", "Invalid parameters"));

  a_.pixels[0] = 0x00123456u;
  a_.pixels[1] = 0xC8123456u;
  ASSERT_TRUE(ComTgaInvertAlpha(&a_));
  EXPECT_EQ(a_.pixels[0], 0xFF123456u);
  EXPECT_EQ(a_.pixels[1], 0x37123456u);  // 200 -> 55
  EXPECT_EQ(ComTgaAverageTwoPixels(0xFF00FF10u, 0x01FF0003u), 0x807F7F09u);
}

TEST_F(ComTgaTest, HalvingAveragesFourPixels) {
  ASSERT_TRUE(ComTgaCreateDataForFile(5, 3, 32, &a_));
  for (int i = 0; i < 15; i++) a_.pixels[i] = (uint32_t)(i * 10);  // blue channel only
  ASSERT_TRUE(ComTgaCopyDataToHalfResData(&a_, &b_, 1));
  ASSERT_EQ(b_.width, 2);
  ASSERT_EQ(b_.height, 1);
  // Target (0, 0): memory pixels 0, 1, 5, 6 -> ((0 + 10) / 2 + (50 + 60) / 2) / 2 = 30.
  EXPECT_EQ(b_.pixels[0], 30u);
  EXPECT_EQ(b_.pixels[1], 50u);
  EXPECT_FALSE(ComTgaCopyDataToHalfResData(&a_, &b_, 1));
  EXPECT_TRUE(HasLogLine("ComTgaCopyDataToHalfResData", "Invalid parameters [1]"));
  ASSERT_TRUE(ComTgaCopyDataToHalfResData(&a_, &b_, 0));
  _ComTgaData wrong{};
  ASSERT_TRUE(ComTgaCreateDataForFile(3, 1, 32, &wrong));
  EXPECT_FALSE(ComTgaCopyDataToHalfResData(&a_, &wrong, 0));
  EXPECT_TRUE(HasLogLine("ComTgaCopyDataToHalfResData", "Invalid parameters [2]"));
  ComTgaFreeData(&wrong);
}

TEST_F(ComTgaTest, BlitScalesMirrorsAndFlips) {
  // Source 2 x 2, top row A B, bottom row C D.
  ASSERT_TRUE(ComTgaCreateDataForFile(2, 2, 32, &a_));
  const uint32_t A = 0xFF0000A0u, B = 0xFF0000B0u, C = 0xFF0000C0u, D = 0xFF0000D0u;
  a_.pixels[2] = A;
  a_.pixels[3] = B;
  a_.pixels[0] = C;
  a_.pixels[1] = D;
  ASSERT_TRUE(ComTgaCreateDataForFile(4, 2, 32, &b_));
  // Whole widths and heights: each source column twice.
  ASSERT_TRUE(ComTgaFillDataFromData(0, 0, -1, -1, &a_, 0, 0, -1, -1, &b_, 0, 0, 0, 0));
  const uint32_t plain[2][4] = {{A, A, B, B}, {C, C, D, D}};
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 4; x++) EXPECT_EQ(At(b_, x, y), plain[y][x]) << x << "," << y;
  // Mirror: the left column receives the source's right column. Flip: upside down.
  ASSERT_TRUE(ComTgaFillDataFromData(0, 0, -1, -1, &a_, 0, 0, -1, -1, &b_, 1, 0, 0, 0));
  EXPECT_EQ(At(b_, 0, 0), B);
  EXPECT_EQ(At(b_, 3, 1), C);
  ASSERT_TRUE(ComTgaFillDataFromData(0, 0, -1, -1, &a_, 0, 0, -1, -1, &b_, 0, 1, 0, 0));
  EXPECT_EQ(At(b_, 0, 0), C);
  EXPECT_EQ(At(b_, 3, 1), B);
  // A part: the source's top-right pixel into the target's bottom-left one.
  ASSERT_TRUE(ComTgaFillDataFromData(1, 0, 1, 1, &a_, 0, 1, 1, 1, &b_, 0, 0, 0, 0));
  EXPECT_EQ(At(b_, 0, 1), B);

  EXPECT_FALSE(ComTgaFillDataFromData(1, 0, 2, 1, &a_, 0, 0, 1, 1, &b_, 0, 0, 0, 0));
  EXPECT_FALSE(ComTgaFillDataFromData(0, 0, 1, 1, &a_, -1, 0, 1, 1, &b_, 0, 0, 0, 0));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComTgaFillDataFromData", "Invalid sizes")), 2);
  EXPECT_FALSE(ComTgaFillDataFromData(0, 0, 0, 1, &a_, 0, 0, 1, 1, &b_, 0, 0, 0, 0));
  EXPECT_TRUE(HasLogLine("ComTgaFillDataFromData", "Invalid parameters"));
  _ComTgaData none{};
  EXPECT_FALSE(ComTgaFillDataFromData(0, 0, 1, 1, &none, 0, 0, 1, 1, &b_, 0, 0, 0, 0));
  EXPECT_TRUE(HasLogLine("ComTgaFillDataFromData", "Invalid source"));
  EXPECT_FALSE(ComTgaFillDataFromData(0, 0, 1, 1, &a_, 0, 0, 1, 1, &none, 0, 0, 0, 0));
  EXPECT_TRUE(HasLogLine("ComTgaFillDataFromData", "Invalid dest"));
}

TEST_F(ComTgaTest, EachCombineModeOnOnePixel) {
  struct Case {
    const char* what;
    uint32_t s, t;
    char mode, alpha_only;
    uint32_t expected;
  };
  // s = alpha 0x80 (128), colour 200, 100, 50; t = alpha 0x40, colour 0, 255, 100.
  const uint32_t s = 0x80C86432u, t = 0x4000FF64u;
  const uint32_t m3 = (0x40u << 24) | ((200u * 128 / 255 + 0u * 127 / 255) << 16) |
                      ((100u * 128 / 255 + 255u * 127 / 255) << 8) | (50u * 128 / 255 + 100u * 127 / 255);
  const uint32_t k4 = 50, k5 = 205;
  const uint32_t m4 = (0x40u << 24) | (((200 * k4 + 0 * (255 - k4)) / 255) << 16) |
                      (((100 * k4 + 255 * (255 - k4)) / 255) << 8) | ((50 * k4 + 100 * (255 - k4)) / 255);
  const uint32_t m5 = (0x40u << 24) | (((200 * k5 + 0 * (255 - k5)) / 255) << 16) |
                      (((100 * k5 + 255 * (255 - k5)) / 255) << 8) | ((50 * k5 + 100 * (255 - k5)) / 255);
  const Case cases[] = {
      {"mode 0 copies", s, t, 0, 0, s},
      {"mode 2 copies", s, t, 2, 0, s},
      {"alpha only", s, t, 0, 1, 0x8000FF64u},
      {"mode 1 colour only", s, t, 1, 0, 0x40C86432u},
      {"mode 3 over by alpha", s, t, 3, 0, m3},
      {"mode 4 by darkest channel", s, t, 4, 0, m4},
      {"mode 5 by inverse darkest", s, t, 5, 0, m5},
      {"mode 6 transparent source", 0x00C86432u, t, 6, 0, t},
      {"mode 6 opaque source", 0xFFC86432u, t, 6, 0, 0xFFC86432u},
      {"mode 6 partial: colour of mode 3, larger alpha", s, t, 6, 0, (m3 & 0x00FFFFFFu) | 0x80000000u},
      {"unknown mode copies", s, t, 9, 0, s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ComTgaFreeData(&a_);
    ComTgaFreeData(&b_);
    ASSERT_TRUE(ComTgaCreateDataForFile(1, 1, 32, &a_));
    ASSERT_TRUE(ComTgaCreateDataForFile(1, 1, 32, &b_));
    a_.pixels[0] = c.s;
    b_.pixels[0] = c.t;
    ASSERT_TRUE(ComTgaFillDataFromData(0, 0, -1, -1, &a_, 0, 0, -1, -1, &b_, 0, 0, c.mode, c.alpha_only));
    EXPECT_EQ(b_.pixels[0], c.expected) << std::hex << b_.pixels[0] << " vs " << c.expected;
  }
}

}  // namespace
