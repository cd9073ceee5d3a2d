// Image loaders on fixture files written here: power-of-two sizes, orientation in every format,
// row padding, palettes, alpha rules, refusals with their exact log lines, hostile headers, and
// the JPEG utilities.
#include <GL/gl.h>

#include <cstring>
#include <string>
#include <vector>

#include "ComGlLoad.h"
#include "ComGlMisc.h"
#include "ComTga.h"
#include "support_GlWindow.h"

namespace {

class ComGlLoadTest : public GlTestFixture {
 protected:
  void TearDown() override { ComGlLoadImageReleaseTextureImage(&image_); }
  const unsigned char* Texel(int x, int row) const {
    return image_.pixels + ((size_t)row * image_.width + x) * (image_.bpp / 8);
  }
  bool HasLogLine(const std::string& func, const std::string& text) const {
    return GlTestLogSince().find(GlTestErrorLine(func, text)) != std::string::npos;
  }
  _ComGlTextureImage image_{};
};

std::vector<unsigned char> Bytes(const std::string& s) { return std::vector<unsigned char>(s.begin(), s.end()); }

TEST_F(ComGlLoadTest, SidesBecomeTheClosestPowerOfTwo) {
  struct Case {
    int w, h, tw, th;
  };
  for (const Case& c : {Case{767, 1, 512, 2}, Case{768, 3, 1024, 4}, Case{1, 1, 2, 2}, Case{600, 300, 512, 256},
                        Case{100, 100, 128, 128}}) {
    SCOPED_TRACE(c.w);
    GlTestPicture pic;
    pic.Resize(c.w, c.h, 3);
    const std::string path = GlTestPath("pow2.bmp");
    ASSERT_TRUE(GlTestWriteBmp24(path, pic));
    ASSERT_TRUE(ComGlLoadImageLoadBmp(path.c_str(), 0, 0, &image_));
    EXPECT_EQ(image_.width, c.tw);
    EXPECT_EQ(image_.height, c.th);
    EXPECT_EQ(image_.bpp, 24);
    EXPECT_EQ(image_.loaded, 1);
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, image_.tex_name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(w, c.tw);
    EXPECT_EQ(h, c.th);
    ComGlLoadImageReleaseTextureImage(&image_);
  }
}

TEST_F(ComGlLoadTest, FirstRowInMemoryIsThePictureBottomInEveryFormat) {
  const GlTestPicture pic3 = GlTestTopRedBottomBlue(16, 16, 3);
  const GlTestPicture pic4 = GlTestTopRedBottomBlue(16, 16, 4);
  std::vector<unsigned char> palette = {255, 0, 0, 0, 0, 255};
  std::vector<unsigned char> idx(16 * 16);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) idx[y * 16 + x] = y < 8 ? 0 : 1;
  struct Case {
    const char* name;
    int kind;
    int tolerance;
  };
  const Case cases[] = {{"o24.bmp", 0, 0}, {"o8.bmp", 1, 0},    {"o24.tga", 2, 0},
                        {"o32.tga", 3, 0}, {"top.tga", 4, 0},   {"o.jpg", 5, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = GlTestPath(c.name);
    char ok = 0;
    switch (c.kind) {
      case 0: ASSERT_TRUE(GlTestWriteBmp24(path, pic3)); ok = ComGlLoadImageLoadBmp(path.c_str(), 0, 0, &image_); break;
      case 1:
        ASSERT_TRUE(GlTestWriteBmp8(path, 16, 16, palette, idx, 2));
        ok = ComGlLoadImageLoadBmp(path.c_str(), 0, 0, &image_);
        break;
      case 2: ASSERT_TRUE(GlTestWriteTga(path, pic3)); ok = ComGlLoadImageLoadTga(path.c_str(), 0, 0, &image_); break;
      case 3: ASSERT_TRUE(GlTestWriteTga(path, pic4)); ok = ComGlLoadImageLoadTga(path.c_str(), 0, 2, &image_); break;
      // A file stored top row first is turned the right way up.
      case 4:
        ASSERT_TRUE(GlTestWriteTga(path, pic3, true));
        ok = ComGlLoadImageLoadTga(path.c_str(), 0, 0, &image_);
        break;
      case 5:
        ASSERT_TRUE(GlTestWriteJpeg(path, pic3, 100));
        ok = ComGlJpegCreateTextureFromFile(path.c_str(), 0, 0, &image_);
        break;
    }
    ASSERT_TRUE(ok);
    ASSERT_EQ(image_.width, 16);
    ASSERT_EQ(image_.height, 16);
    for (int row : {0, 1, 6}) {
      EXPECT_NEAR(Texel(5, row)[0], 0, c.tolerance) << "row " << row;
      EXPECT_NEAR(Texel(5, row)[2], 255, c.tolerance) << "row " << row;
    }
    for (int row : {9, 15}) {
      EXPECT_NEAR(Texel(5, row)[0], 255, c.tolerance) << "row " << row;
      EXPECT_NEAR(Texel(5, row)[2], 0, c.tolerance) << "row " << row;
    }
    ComGlLoadImageReleaseTextureImage(&image_);
  }
}

// The decode-only step gives exactly the texels the loaders upload.
TEST_F(ComGlLoadTest, DecodeOnlyGivesTheUploadedTexels) {
  const std::string bmp = GlTestPath("decode.bmp"), tga = GlTestPath("decode.tga");
  ASSERT_TRUE(GlTestWriteBmp24(bmp, GlTestTopRedBottomBlue(6, 4)));
  ASSERT_TRUE(GlTestWriteTga(tga, GlTestTopRedBottomBlue(6, 4, 4), true));
  for (int i = 0; i < 2; i++) {
    SCOPED_TRACE(i ? "TGA" : "BMP");
    _ComGlLoadTexels t{};
    ASSERT_TRUE(i ? ComGlLoadImageDecodeTga(tga.c_str(), 1, 7, &t) : ComGlLoadImageDecodeBmp(bmp.c_str(), 1, 0, &t));
    ASSERT_TRUE(i ? ComGlLoadImageLoadTga(tga.c_str(), 1, 7, &image_) : ComGlLoadImageLoadBmp(bmp.c_str(), 1, 0, &image_));
    EXPECT_EQ(t.width, image_.width);
    EXPECT_EQ(t.height, image_.height);
    EXPECT_EQ(t.rgba, 1);
    EXPECT_EQ(0, memcmp(t.pixels, image_.pixels, (size_t)t.width * t.height * 4));
    free(t.pixels);
    ComGlLoadImageReleaseTextureImage(&image_);
  }
  _ComGlLoadTexels none{};
  EXPECT_FALSE(ComGlLoadImageDecodeTga(GlTestPath("absent.tga").c_str(), 0, 0, &none));
  EXPECT_EQ(none.pixels, nullptr);
}

TEST_F(ComGlLoadTest, ThreePixelWideBmpRowsSkipTheirPadding) {
  GlTestPicture pic;
  pic.Resize(3, 2, 3);
  // Top row: red, green, blue; bottom row: white, grey, black. Padding bytes are 0xEE.
  pic.Set(0, 0, 255, 0, 0);
  pic.Set(1, 0, 0, 255, 0);
  pic.Set(2, 0, 0, 0, 255);
  pic.Set(0, 1, 255, 255, 255);
  pic.Set(1, 1, 128, 128, 128);
  pic.Set(2, 1, 0, 0, 0);
  const std::string path = GlTestPath("three.bmp");
  ASSERT_TRUE(GlTestWriteBmp24(path, pic));
  ASSERT_TRUE(ComGlLoadImageLoadBmp(path.c_str(), 0, 0, &image_));
  ASSERT_EQ(image_.width, 4);
  ASSERT_EQ(image_.height, 4);  // 2 rounds to 4: memory rows 0, 1 bottom, 2, 3 top
  // Column i takes source column trunc(i x 3 / 4): 0, 0, 1, 2.
  const int bottom[4][3] = {{255, 255, 255}, {255, 255, 255}, {128, 128, 128}, {0, 0, 0}};
  const int top[4][3] = {{255, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int i = 0; i < 4; i++)
    for (int c = 0; c < 3; c++) {
      EXPECT_EQ(Texel(i, 0)[c], bottom[i][c]) << i;
      EXPECT_EQ(Texel(i, 1)[c], bottom[i][c]) << i;
      EXPECT_EQ(Texel(i, 3)[c], top[i][c]) << i;
    }
}

TEST_F(ComGlLoadTest, PaletteBmpExpandsAndIndicesPastTheColoursUsedAreBlack) {
  std::vector<unsigned char> palette = {10, 20, 30, 200, 100, 50};
  // A third palette entry is in the file but not among the colours used (2).
  palette.insert(palette.end(), {7, 7, 7});
  const std::vector<unsigned char> idx = {0, 1, 5, 1, 0, 0, 2, 0};  // 4 x 2, top row first
  const std::string path = GlTestPath("pal.bmp");
  ASSERT_TRUE(GlTestWriteBmp8(path, 4, 2, palette, idx, 2));
  // colours_used 2 means the file holds 2 entries: rewrite the file without the third.
  std::vector<unsigned char> file = GlTestReadFile(path);
  file.erase(file.begin() + 54 + 8, file.begin() + 54 + 12);
  ASSERT_TRUE(GlTestWriteFile(path, file));
  ASSERT_TRUE(ComGlLoadImageLoadBmp(path.c_str(), 1, 0, &image_));
  ASSERT_EQ(image_.width, 4);
  ASSERT_EQ(image_.bpp, 32);
  // 4 x 2 becomes 4 x 4; memory row 3 is the picture's top row: 0, 1, 5, 1.
  EXPECT_EQ(Texel(0, 3)[0], 10);
  EXPECT_EQ(Texel(0, 3)[2], 30);
  EXPECT_EQ(Texel(1, 3)[0], 200);
  EXPECT_EQ(Texel(1, 3)[2], 50);
  EXPECT_EQ(Texel(2, 3)[0], 0);  // index 5: a zeroed entry
  EXPECT_EQ(Texel(2, 3)[1], 0);
  EXPECT_EQ(Texel(2, 0)[0], 0);  // index 2: not among the colours used
  EXPECT_EQ(Texel(2, 0)[3], 255);
}

TEST_F(ComGlLoadTest, BrightnessAlphaTypesAtTheirThresholds) {
  GlTestPicture pic;
  pic.Resize(4, 2, 3);
  const int greys[4] = {31, 40, 63, 64};
  for (int x = 0; x < 4; x++)
    for (int y = 0; y < 2; y++) pic.Set(x, y, greys[x], greys[x], greys[x]);
  const std::string path = GlTestPath("grey.bmp");
  ASSERT_TRUE(GlTestWriteBmp24(path, pic));
  const int type4[4] = {0, 64, 248, 255};
  ASSERT_TRUE(ComGlLoadImageLoadBmp(path.c_str(), 1, 4, &image_));
  for (int x = 0; x < 4; x++) EXPECT_EQ(Texel(x, 0)[3], type4[x]) << x;
  ComGlLoadImageReleaseTextureImage(&image_);
  const int type5[4] = {248, 255, 255, 255};
  ASSERT_TRUE(ComGlLoadImageLoadBmp(path.c_str(), 1, 5, &image_));
  for (int x = 0; x < 4; x++) EXPECT_EQ(Texel(x, 1)[3], type5[x]) << x;
  ComGlLoadImageReleaseTextureImage(&image_);

  // An unknown type is refused once, not logged per texel.
  EXPECT_FALSE(ComGlLoadImageLoadBmp(path.c_str(), 1, 9, &image_));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), "Unknown alpha type 9"), 1);
  EXPECT_EQ(image_.loaded, 0);
  // Alpha from the file is not something a BMP has.
  EXPECT_FALSE(ComGlLoadImageLoadBmp(path.c_str(), 1, 2, &image_));
  EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadBmp", "Load alpha from file not supported <" + path + ">"));
}

TEST_F(ComGlLoadTest, TgaAlphaRules) {
  GlTestPicture pic24;
  pic24.Resize(2, 2, 3);
  for (int i = 0; i < 4; i++) pic24.Set(i % 2, i / 2, 10, 20, 30);
  GlTestPicture pic32;
  pic32.Resize(2, 2, 4);
  for (int i = 0; i < 4; i++) pic32.Set(i % 2, i / 2, 10, 20, 30, 77);
  const std::string p24 = GlTestPath("a24.tga"), p32 = GlTestPath("a32.tga");
  ASSERT_TRUE(GlTestWriteTga(p24, pic24));
  ASSERT_TRUE(GlTestWriteTga(p32, pic32));

  ASSERT_TRUE(ComGlLoadImageLoadTga(p24.c_str(), 1, 2, &image_));
  EXPECT_EQ(Texel(0, 0)[3], 255);
  EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadTga", "Want to load alpha, but file BPP 24 not 32 in file <" + p24 + ">"));
  ComGlLoadImageReleaseTextureImage(&image_);

  GlTestLogMark();
  ASSERT_TRUE(ComGlLoadImageLoadTga(p24.c_str(), 1, 7, &image_));
  EXPECT_EQ(Texel(1, 1)[3], 255);
  EXPECT_EQ(GlTestLogSince(), "");
  ComGlLoadImageReleaseTextureImage(&image_);

  ASSERT_TRUE(ComGlLoadImageLoadTga(p32.c_str(), 0, 7, &image_));
  EXPECT_EQ(image_.bpp, 32);
  EXPECT_EQ(Texel(1, 1)[3], 77);
  EXPECT_EQ(Texel(1, 1)[0], 10);
  EXPECT_EQ(Texel(1, 1)[2], 30);
  ComGlLoadImageReleaseTextureImage(&image_);

  ASSERT_TRUE(ComGlLoadImageLoadTga(p32.c_str(), 0, 0, &image_));
  EXPECT_EQ(Texel(0, 0)[3], 255);
  ComGlLoadImageReleaseTextureImage(&image_);

  ASSERT_TRUE(ComGlLoadImageLoadTga(p24.c_str(), 0, 0, &image_));
  EXPECT_EQ(image_.bpp, 24);
  EXPECT_TRUE(ComGlLoadImageCanTgaFileBeLoaded(p24.c_str()));
  EXPECT_TRUE(ComGlLoadImageCanTgaFileBeLoaded(p32.c_str()));
  EXPECT_FALSE(ComGlLoadImageCanTgaFileBeLoaded(GlTestPath("missing.tga").c_str()));
}

TEST_F(ComGlLoadTest, TgaFilesOutsideTheFormatAreRefused) {
  const GlTestPicture pic = GlTestTopRedBottomBlue(4, 4, 3);
  const std::string good = GlTestPath("good.tga");
  ASSERT_TRUE(GlTestWriteTga(good, pic));
  const std::vector<unsigned char> base = GlTestReadFile(good);
  struct Case {
    const char* what;
    size_t offset;
    unsigned char value;
    const char* message;
  };
  const Case cases[] = {
      {"RLE", 2, 10, "Problems [0] loading file <%s>"},
      {"image id", 0, 5, "Problems [0] loading file <%s>"},
      {"colour map", 1, 1, "Problems [0] loading file <%s>"},
      {"16 bits", 16, 16, "Bad Format in file: <%s>"},
      {"zero width", 12, 0, "Bad Format in file: <%s>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<unsigned char> bytes = base;
    bytes[c.offset] = c.value;
    if (c.offset == 12) bytes[13] = 0;
    const std::string path = GlTestPath("bad.tga");
    ASSERT_TRUE(GlTestWriteFile(path, bytes));
    GlTestLogMark();
    EXPECT_FALSE(ComGlLoadImageLoadTga(path.c_str(), 0, 0, &image_));
    EXPECT_EQ(image_.loaded, 0);
    std::string message = c.message;
    message.replace(message.find("%s"), 2, path);
    EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadTga", message)) << GlTestLogSince();
  }
  // Short pixel data, and a header claiming far more than the file holds.
  std::vector<unsigned char> shorter(base.begin(), base.end() - 5);
  ASSERT_TRUE(GlTestWriteFile(GlTestPath("short.tga"), shorter));
  EXPECT_FALSE(ComGlLoadImageLoadTga(GlTestPath("short.tga").c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadTga", "Problems loading data [2] in file <" + GlTestPath("short.tga") + ">"));
  std::vector<unsigned char> huge = base;
  huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
  huge[16] = 32;
  ASSERT_TRUE(GlTestWriteFile(GlTestPath("huge.tga"), huge));
  EXPECT_FALSE(ComGlLoadImageLoadTga(GlTestPath("huge.tga").c_str(), 0, 0, &image_));
  EXPECT_FALSE(ComGlLoadImageLoadTga(GlTestPath("absent.tga").c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadTga", "Could not open file <" + GlTestPath("absent.tga") + ">"));
  std::vector<unsigned char> rle = base;
  rle[2] = 10;
  ASSERT_TRUE(GlTestWriteFile(GlTestPath("rle.tga"), rle));
  EXPECT_FALSE(ComGlLoadImageCanTgaFileBeLoaded(GlTestPath("rle.tga").c_str()));
}

TEST_F(ComGlLoadTest, SidesAboveTheTextureLimitAreRefused) {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  ASSERT_GT(max, 0);
  if (max >= 32768) GTEST_SKIP() << "texture limit too large for a 16-bit TGA side";
  // A side whose power of two is beyond the limit (TGA sides are 16-bit).
  GlTestPicture pic;
  pic.Resize(max + max / 2 + 1 > 65535 ? 65535 : max + max / 2 + 1, 1, 3);
  const std::string path = GlTestPath("wide.tga");
  ASSERT_TRUE(GlTestWriteTga(path, pic));
  EXPECT_FALSE(ComGlLoadImageLoadTga(path.c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlLoadImageLoadTga", "Bad Format in file: <" + path + ">"));
}

TEST_F(ComGlLoadTest, BmpFilesOutsideTheFormatAreRefused) {
  GlTestPicture pic;
  pic.Resize(4, 4, 3);
  const std::string good = GlTestPath("good.bmp");
  ASSERT_TRUE(GlTestWriteBmp24(good, pic));
  const std::vector<unsigned char> base = GlTestReadFile(good);
  const std::string label = "ComGlLoadBmpLoadDataFromFile";
  struct Case {
    const char* what;
    size_t offset;
    std::vector<unsigned char> value;
    std::string message;
  };
  const std::string p = GlTestPath("bad.bmp");
  const Case cases[] = {
      {"not BM", 0, {'X'}, "Invalid bitmap file <" + p + ">"},
      {"RLE compressed", 30, {1}, "Invalid bitmap file <" + p + ">"},
      {"larger info header", 14, {108}, "Invalid bitmap file <" + p + ">"},
      {"top-down (negative height)", 22, {0xFC, 0xFF, 0xFF, 0xFF}, "Invalid bitmap file <" + p + ">"},
      {"zero width", 18, {0}, "Invalid bitmap file <" + p + ">"},
      {"16 bits", 28, {16}, "File <" + p + "> is not 8 or 24 bits per pixel [16]"},
      {"far more rows than data", 22, {0x00, 0x10, 0x00, 0x00}, "Could not read data <" + p + ">"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<unsigned char> bytes = base;
    for (size_t i = 0; i < c.value.size(); i++) bytes[c.offset + i] = c.value[i];
    ASSERT_TRUE(GlTestWriteFile(p, bytes));
    GlTestLogMark();
    EXPECT_FALSE(ComGlLoadImageLoadBmp(p.c_str(), 0, 0, &image_));
    EXPECT_EQ(image_.loaded, 0);
    EXPECT_TRUE(HasLogLine(label, c.message)) << GlTestLogSince();
  }
  ASSERT_TRUE(GlTestWriteFile(p, Bytes("BM")));
  EXPECT_FALSE(ComGlLoadImageLoadBmp(p.c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine(label, "Could not read header <" + p + ">"));
  EXPECT_FALSE(ComGlLoadImageLoadBmp(GlTestPath("absent.bmp").c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine(label, "File <" + GlTestPath("absent.bmp") + "> not found"));
}

TEST_F(ComGlLoadTest, JpegRefusalsAndDamagedFilesFailWithoutEndingTheProgram) {
  GlTestPicture grey;
  grey.Resize(8, 8, 1);
  const std::string gpath = GlTestPath("grey.jpg");
  ASSERT_TRUE(GlTestWriteJpeg(gpath, grey));
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(gpath.c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlJpegCreateTextureFromFile", "Invalid JPEG format in <" + gpath + ">"));

  const std::string good = GlTestPath("good.jpg");
  ASSERT_TRUE(GlTestWriteJpeg(good, GlTestTopRedBottomBlue(32, 32)));
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(good.c_str(), 1, 2, &image_));
  EXPECT_TRUE(HasLogLine("ComGlJpegCreateTextureFromFile", "Load alpha from file not supported <" + good + ">"));

  // Damaged: garbage after the start marker, a cut header, and a file of no JPEG at all.
  const std::vector<unsigned char> jpeg = GlTestReadFile(good);
  std::vector<unsigned char> cut(jpeg.begin(), jpeg.begin() + 40);
  std::vector<unsigned char> garbage = {0xFF, 0xD8, 0xFF, 0x12, 0x00, 0x03, 0x00, 0x99, 0x99};
  for (const auto& bytes : {cut, garbage, Bytes("plain text, no picture")}) {
    const std::string path = GlTestPath("damaged.jpg");
    ASSERT_TRUE(GlTestWriteFile(path, bytes));
    GlTestLogMark();
    EXPECT_FALSE(ComGlJpegCreateTextureFromFile(path.c_str(), 0, 0, &image_));
    EXPECT_EQ(image_.loaded, 0);
    EXPECT_EQ(image_.pixels, nullptr);
    EXPECT_NE(GlTestLogSince(), "");  // the library's own text is logged
  }
  // A tiny file whose header claims 20000 x 20000 pixels is refused before anything is allocated.
  std::vector<unsigned char> big = jpeg;
  for (size_t i = 0; i + 8 < big.size(); i++)
    if (big[i] == 0xFF && big[i + 1] == 0xC0) {
      big[i + 5] = 0x4E;
      big[i + 6] = 0x20;
      big[i + 7] = 0x4E;
      big[i + 8] = 0x20;
      break;
    }
  const std::string bigpath = GlTestPath("claims-huge.jpg");
  ASSERT_TRUE(GlTestWriteFile(bigpath, big));
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(bigpath.c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlJpegCreateTextureFromFile", "Invalid JPEG size [20000,20000] in <" + bigpath + ">"));
  // 16384 x 16384 is a side the GL takes, but no picture of this reader: refused before decoding.
  for (size_t i = 0; i + 8 < big.size(); i++)
    if (big[i] == 0xFF && big[i + 1] == 0xC0) {
      big[i + 5] = big[i + 7] = 0x40;
      big[i + 6] = big[i + 8] = 0x00;
      break;
    }
  ASSERT_TRUE(GlTestWriteFile(bigpath, big));
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(bigpath.c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComGlJpegCreateTextureFromFile", "Invalid JPEG size [16384,16384] in <" + bigpath + ">"));

  // Cut inside the picture data: the library warns of a premature end and would invent the rest;
  // the load fails with its text instead.
  std::vector<unsigned char> truncated(jpeg.begin(), jpeg.end() - 40);
  const std::string tpath = GlTestPath("truncated.jpg");
  ASSERT_TRUE(GlTestWriteFile(tpath, truncated));
  GlTestLogMark();
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(tpath.c_str(), 0, 0, &image_));
  EXPECT_EQ(image_.pixels, nullptr);
  EXPECT_NE(GlTestLogSince().find("  2  Premature end of JPEG file"), std::string::npos) << GlTestLogSince();
  EXPECT_FALSE(ComGlJpegCreateTextureFromFile(GlTestPath("absent.jpg").c_str(), 0, 0, &image_));
  EXPECT_TRUE(HasLogLine("ComJpegGetFileInfo", "Cannot open file " + GlTestPath("absent.jpg")));

  // A good picture still loads after all that, with its sides rounded.
  ASSERT_TRUE(ComGlJpegCreateTextureFromFile(good.c_str(), 1, 0, &image_));
  EXPECT_EQ(image_.bpp, 32);
  EXPECT_EQ(Texel(3, 3)[3], 255);
  // Loading into a loaded image releases the old one first.
  ASSERT_TRUE(ComGlJpegCreateTextureFromFile(good.c_str(), 0, 0, &image_));
  EXPECT_EQ(image_.bpp, 24);
}

TEST_F(ComGlLoadTest, JpegUtilitiesWriteReadAndSaveTheRightWayUp) {
  GlTestPicture pic = GlTestTopRedBottomBlue(24, 16);
  const std::string path = GlTestPath("written.jpg");
  ASSERT_TRUE(ComJpegWriteFileFromBuffer(path.c_str(), 95, 72, 24, 16, pic.data.data()));
  int w = 0, h = 0, comps = 0;
  ASSERT_TRUE(ComJpegGetFileInfo(path.c_str(), &w, &h, &comps));
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 16);
  EXPECT_EQ(comps, 3);
  EXPECT_TRUE(ComJpegGetFileInfo(path.c_str(), nullptr, nullptr, nullptr));
  std::vector<unsigned char> buffer(24 * 16 * 3);
  ASSERT_TRUE(ComJpegReadFileToBuffer(path.c_str(), &w, &h, buffer.data()));
  EXPECT_NEAR(buffer[(2 * 24 + 5) * 3 + 0], 255, 8);   // top rows red
  EXPECT_NEAR(buffer[(13 * 24 + 5) * 3 + 2], 255, 8);  // bottom rows blue
  // The file says 72 dots per inch.
  const std::vector<unsigned char> file = GlTestReadFile(path);
  ASSERT_GT(file.size(), 20u);
  EXPECT_EQ(file[13], 1);
  EXPECT_EQ(file[14] * 256 + file[15], 72);

  // No half-written picture is left where the write failed.
  EXPECT_FALSE(ComJpegWriteFileFromBuffer(GlTestPath("no/such/dir/x.jpg").c_str(), 90, 0, 24, 16, pic.data.data()));
  EXPECT_FALSE(ComJpegWriteFileFromBuffer("", 90, 0, 24, 16, pic.data.data()));

  // A texture saved as JPEG comes back with its top at the top.
  _ComGlDxTexture texture{};
  ASSERT_TRUE(ComGlLoadImageLoadBmp(([&] {
                                      const std::string b = GlTestPath("save.bmp");
                                      GlTestWriteBmp24(b, GlTestTopRedBottomBlue(16, 16));
                                      return b;
                                    })()
                                        .c_str(),
                                    0, 0, &texture.image));
  texture.created = 1;
  const std::string saved = GlTestPath("saved.jpg");
  ASSERT_TRUE(ComJpegSaveToFileFromTexture(saved.c_str(), &texture, 100, 0));
  ASSERT_TRUE(ComGlJpegCreateTextureFromFile(saved.c_str(), 0, 0, &image_));
  EXPECT_NEAR(Texel(4, 1)[2], 255, 8);
  EXPECT_NEAR(Texel(4, 14)[0], 255, 8);
  ComGlLoadImageReleaseTextureImage(&image_);
  ComGlLoadImageReleaseTextureImage(&texture.image);
  texture.created = 0;
  EXPECT_FALSE(ComJpegSaveToFileFromTexture(saved.c_str(), &texture, 100, 0));
  EXPECT_TRUE(HasLogLine("ComJpegSaveToFileFromTexture", "Invalid Parameters"));

  // A pixel buffer: its bottom row first in memory, so its last row is the file's first.
  _ComTgaData data{};
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(8, 8, 32, 0, 0, 1, 1, &data));
  ASSERT_TRUE(ComTgaSetDataPartColour(&data, 0, 0, 8, 4, 1, 0, 0, 1));  // top half red
  ASSERT_TRUE(ComJpegSaveToFileFromTgaData(saved.c_str(), &data, 100, 0));
  std::vector<unsigned char> rgb(8 * 8 * 3);
  ASSERT_TRUE(ComJpegReadFileToBuffer(saved.c_str(), &w, &h, rgb.data()));
  EXPECT_NEAR(rgb[(1 * 8 + 3) * 3 + 0], 255, 8);
  EXPECT_NEAR(rgb[(6 * 8 + 3) * 3 + 2], 255, 8);
  data.bpp = 24;
  EXPECT_FALSE(ComJpegSaveToFileFromTgaData(saved.c_str(), &data, 100, 0));
  EXPECT_TRUE(HasLogLine("ComJpegSaveToFileFromTgaData", "Invalid data Bpp (24)"));
  data.bpp = 32;
  ComTgaFreeData(&data);
}

TEST(ComGlLoadExtensionTest, JpegExtensionsAreExactlyTheSixForms) {
  struct Case {
    const char* name;
    char expected;
  };
  const Case cases[] = {{"a.jpeg", 1}, {"a.JPEG", 1}, {"a.Jpeg", 1}, {"a.jpg", 1}, {"a.JPG", 1},
                        {"a.Jpg", 1},  {"a.jPg", 0},  {"a.png", 0},  {".jpg", 0},  {"ajpg", 0}};
  for (const Case& c : cases) EXPECT_EQ(ComJpegDoesFileHaveJpegExtension(c.name), c.expected) << c.name;
  EXPECT_EQ(ComJpegDoesFileHaveJpegExtension(nullptr), 0);
}

TEST_F(ComGlLoadTest, EmptyImagesStartZeroedAndReleaseIsHarmlessTwice) {
  ASSERT_TRUE(ComGlLoadImageCreateEmptyTextureImage(3, 5, 24, &image_));
  EXPECT_EQ(image_.width, 3);
  EXPECT_EQ(image_.height, 5);
  EXPECT_EQ(image_.loaded, 1);
  for (int i = 0; i < 3 * 5 * 3; i++) EXPECT_EQ(image_.pixels[i], 0);
  const GLuint name = image_.tex_name;
  EXPECT_TRUE(glIsTexture(name));
  ComGlLoadImageReleaseTextureImage(&image_);
  EXPECT_FALSE(glIsTexture(name));
  EXPECT_EQ(image_.pixels, nullptr);
  EXPECT_EQ(image_.loaded, 0);
  ComGlLoadImageReleaseTextureImage(&image_);
  ComGlLoadImageReleaseTextureImage(nullptr);

  EXPECT_FALSE(ComGlLoadImageCreateEmptyTextureImage(4, 4, 16, &image_));
  EXPECT_TRUE(HasLogLine("ComGlLoadImageCreateEmptyTextureImage", "Invalid bpp 16"));
  EXPECT_FALSE(ComGlLoadImageCreateEmptyTextureImage(0, 4, 32, &image_));
  EXPECT_EQ(image_.pixels, nullptr);
  // A size the context refuses fails and leaves no buffer behind.
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  EXPECT_FALSE(ComGlLoadImageCreateEmptyTextureImage(max * 2, 1, 24, &image_));
  EXPECT_EQ(image_.pixels, nullptr);
  EXPECT_EQ(image_.loaded, 0);
}

}  // namespace
