// Textured quads: loads by format and extension, coordinates, drawing on screen, pixel
// operations, copies, screen grabs and the exchange with 32-bit pixel buffers.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "ComGlLoad.h"
#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "ComMisc.h"
#include "ComTga.h"
#include "support_GlWindow.h"

namespace {

class ComGlTextureTest : public GlTestFixture {
 protected:
  void SetUp() override {
    GlTestFixture::SetUp();
    if (HasFatalFailure()) return;
    while (cglm_2d_prepared == 1) ComGlMiscRestoreAfter2D();
    ComGlMiscDisableBlending();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    GlTestLogMark();
  }
  void TearDown() override {
    for (_ComGlDxTexture* t : {&a_, &b_, &c_, &d_}) ComGlTextureRelease(t);
  }
  bool HasLogLine(const std::string& func, const std::string& text) const {
    return GlTestLogSince().find(GlTestErrorLine(func, text)) != std::string::npos;
  }
  // A texture of w x h with every texel set to one colour.
  void MakeSolid(_ComGlDxTexture* t, int w, int h, bool alpha, float r, float g, float b, float a = 1.0f) {
    ASSERT_TRUE(ComGlTextureCreateEmptyTexture(&w, &h, alpha, t));
    ASSERT_TRUE(ComGlTextureSetPartColour(t, 0, 0, -1, -1, r, g, b, a));
  }
  static const unsigned char* Texel(const _ComGlDxTexture* t, int x, int row) {
    return t->image.pixels + ((size_t)row * t->image.width + x) * (t->image.bpp / 8);
  }
  // The width OpenGL holds for the texture's level 0, whatever the record says.
  static GLint GlWidth(const _ComGlDxTexture* t) {
    GLint w = 0;
    glBindTexture(GL_TEXTURE_2D, t->image.tex_name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glBindTexture(GL_TEXTURE_2D, 0);
    return w;
  }
  _ComGlDxTexture a_{}, b_{}, c_{}, d_{};
};

TEST_F(ComGlTextureTest, FullCoordinatesSitHalfATexelIn) {
  int w = 256, h = 128;
  ASSERT_TRUE(ComGlTextureCreateEmptyTexture(&w, &h, 1, &a_));
  EXPECT_EQ(a_.created, 1);
  EXPECT_EQ(a_.width, 256);
  EXPECT_EQ(a_.height, 128);
  EXPECT_EQ(a_.full_coords, 1);
  EXPECT_FLOAT_EQ(a_.tex_left, 0.001953125f);
  EXPECT_FLOAT_EQ(a_.tex_top, 0.00390625f);
  EXPECT_FLOAT_EQ(a_.tex_right, 0.998046875f);
  EXPECT_FLOAT_EQ(a_.tex_bottom, 0.99609375f);
  ComGlTextureSetTextureCoordinates(&a_, 0.1f, 0.2f, 0.3f, 0.4f);
  EXPECT_EQ(a_.full_coords, 0);
  _ComGlDxTexture empty{};
  ComGlTextureUpdateFullTextureCoordinates(&empty);
  EXPECT_EQ(empty.full_coords, 0);
}

TEST_F(ComGlTextureTest, LoadsByFormatRefuseSecondLoadsAndColourKeysWithAlpha) {
  const std::string bmp = GlTestPath("t.bmp"), tga = GlTestPath("t.tga"), jpg = GlTestPath("t.jpg");
  const GlTestPicture pic = GlTestTopRedBottomBlue(8, 8);
  ASSERT_TRUE(GlTestWriteBmp24(bmp, pic));
  ASSERT_TRUE(GlTestWriteTga(tga, pic));
  ASSERT_TRUE(GlTestWriteJpeg(jpg, pic));

  int w = 0, h = 0;
  ASSERT_TRUE(ComGlTextureLoadFromTgaFileWH(tga.c_str(), 0, 0, &w, &h, &a_));
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  EXPECT_EQ(a_.full_coords, 1);
  EXPECT_FALSE(ComGlTextureLoadFromBmpFile(bmp.c_str(), 0, 0, 0, &a_));
  EXPECT_TRUE(HasLogLine("ComGlTextureLoadFromBmpFile", "Texture already created [filename:" + bmp + "]"));
  // Still drawable as before.
  ComGlTexturePositionRatioed(&a_, 0, 0, 640, 480);
  ComGlTextureDraw(&a_);
  EXPECT_NEAR(GlTestReadPixelTop(320, 60).r, 255, 2);

  struct Case {
    const char* label;
    std::string path;
    char (*load)(const char*, char, char, char, _ComGlDxTexture*);
  };
  const Case cases[] = {{"ComGlTextureLoadFromBmpFile", bmp, ComGlTextureLoadFromBmpFile},
                        {"ComGlTextureLoadFromTgaFile", tga, ComGlTextureLoadFromTgaFile},
                        {"ComGlTextureLoadFromJpegFile", jpg, ComGlTextureLoadFromJpegFile}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    GlTestLogMark();
    EXPECT_FALSE(c.load(c.path.c_str(), 1, 1, 0, &b_));
    EXPECT_FALSE(c.load(c.path.c_str(), 1, 0, 4, &b_));
    EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine(c.label, "Colour key and alpha set <" + c.path + ">")), 2);
    EXPECT_EQ(b_.created, 0);
    // The colour key itself: black becomes transparent, brightness opacity.
    ASSERT_TRUE(c.load(c.path.c_str(), 1, 0, 0, &b_));
    EXPECT_EQ(b_.image.bpp, 32);
    EXPECT_NEAR(Texel(&b_, 3, 1)[3], 255, 8);
    ComGlTextureRelease(&b_);
    EXPECT_FALSE(c.load(c.path.c_str(), 0, 0, 0, nullptr));
  }
  // A BMP asked for file alpha loads opaque.
  ASSERT_TRUE(ComGlTextureLoadFromBmpFile(bmp.c_str(), 0, 1, 2, &c_));
  EXPECT_EQ(Texel(&c_, 0, 0)[3], 255);
  EXPECT_FALSE(ComGlTextureLoadFromTgaFile(GlTestPath("absent.tga").c_str(), 0, 0, 0, &d_));
  EXPECT_TRUE(HasLogLine("ComGlTextureLoadFromTgaFileWH", "Could not load file <" + GlTestPath("absent.tga") + ">"));
}

TEST_F(ComGlTextureTest, FileTypeByExtension) {
  struct Case {
    const char* name;
    int dat_type;
    int expected;
  };
  const Case cases[] = {{"picture.JPEG", 0, 3}, {"picture.jpeg", 0, 3}, {"picture.jpg", 0, 3}, {"picture.Jpg", 0, 3},
                        {"a.bmp", 0, 1},        {"a.BMP", 0, 1},        {"a.tga", 0, 2},       {"a.dat", 2, 2},
                        {"a.dat", 0, 0},        {"x.png", 0, 0},        {"bmp", 0, 0},         {"abmp", 0, 0},
                        {"a.tga.png", 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(ComGlTextureGetFileExt(c.name, c.dat_type), c.expected) << c.name;
  EXPECT_EQ(ComGlTextureGetFileExt(nullptr, 3), 0);
  EXPECT_FALSE(ComGlTextureLoadFromFileUsingExt("x.png", 0, 0, 0, 0, &a_));
  EXPECT_TRUE(HasLogLine("ComGlTextureLoadFromFileUsingExt", "Unknown extension in file <x.png>"));
  // ".dat" taken as TGA when the caller says so.
  const std::string dat = GlTestPath("pic.dat");
  ASSERT_TRUE(GlTestWriteTga(dat, GlTestTopRedBottomBlue(4, 4)));
  EXPECT_TRUE(ComGlTextureLoadFromFileUsingExt(dat.c_str(), 0, 0, 0, 2, &a_));
}

TEST_F(ComGlTextureTest, PixelOperationsOnTheirRectangleCountedFromTheTop) {
  MakeSolid(&a_, 4, 4, true, 0.4f, 0.6f, 0.8f, 0.5f);
  const unsigned char base[4] = {102, 153, 204, 127};
  // Invert with (1, 1, 1, 0.5): colour inverted, alpha kept.
  ASSERT_TRUE(ComGlTextureInvertTexturePart(&a_, 0, 0, -1, -1, 1, 1, 1, 0.5f));
  EXPECT_EQ(Texel(&a_, 0, 0)[0], 255 - base[0]);
  EXPECT_EQ(Texel(&a_, 0, 0)[2], 255 - base[2]);
  EXPECT_EQ(Texel(&a_, 0, 0)[3], base[3]);
  ASSERT_TRUE(ComGlTextureInvertTexturePart(&a_, 0, 0, -1, -1, 1, 1, 1, 0.5f));

  // Multiply: factors above 1 are held at 255; a negative factor leaves the channel.
  ASSERT_TRUE(ComGlTextureMultiplyTextPartColour(&a_, 0, 0, -1, -1, 2.0f, 0.5f, -1.0f, 1.0f));
  EXPECT_EQ(Texel(&a_, 1, 1)[0], 204);
  EXPECT_EQ(Texel(&a_, 1, 1)[1], 76);
  EXPECT_EQ(Texel(&a_, 1, 1)[2], 204);
  ASSERT_TRUE(ComGlTextureMultiplyTextPartColour(&a_, 0, 0, -1, -1, 3.0f, 1, 1, 1));
  EXPECT_EQ(Texel(&a_, 1, 1)[0], 255);
  ASSERT_TRUE(ComGlTextureSetPartColour(&a_, 0, 0, -1, -1, 1.5f, -1, -1, -1));
  EXPECT_EQ(Texel(&a_, 2, 2)[0], 255);

  // Power: 255 x (c / 255) ^ 2.
  ASSERT_TRUE(ComGlTexturePowerTextPartColour(&a_, 0, 0, -1, -1, -1, 2.0f, -1, -1));
  EXPECT_EQ(Texel(&a_, 0, 0)[1], (int)(255.0 * (76 / 255.0) * (76 / 255.0)));

  // Clear the top-left 2 x 1: memory row 3 (the top), columns 0 and 1, transparent black.
  ASSERT_TRUE(ComGlTextureClearTexturePart(&a_, 0, 0, 2, 1));
  for (int x = 0; x < 2; x++)
    for (int c = 0; c < 4; c++) EXPECT_EQ(Texel(&a_, x, 3)[c], 0);
  EXPECT_NE(Texel(&a_, 2, 3)[3], 0);
  EXPECT_NE(Texel(&a_, 0, 2)[3], 0);

  // Refusals leave the texture as it was.
  std::vector<unsigned char> before(a_.image.pixels, a_.image.pixels + 4 * 4 * 4);
  EXPECT_FALSE(ComGlTextureSetPartColour(&a_, 3, 0, 2, 1, 0, 0, 0, 0));
  EXPECT_FALSE(ComGlTextureSetPartColour(&a_, -1, 0, 1, 1, 0, 0, 0, 0));
  EXPECT_FALSE(ComGlTextureSetPartColour(&a_, 0, 0, 0, 1, 0, 0, 0, 0));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComGlTextureTransformPixels", "Invalid sizes")), 3);
  EXPECT_EQ(std::vector<unsigned char>(a_.image.pixels, a_.image.pixels + 64), before);
  _ComGlDxTexture none{};
  EXPECT_FALSE(ComGlTextureSetPartColour(&none, 0, 0, 1, 1, 0, 0, 0, 0));
  EXPECT_TRUE(HasLogLine("ComGlTextureTransformPixels", "Texture not ok"));

  // The change reaches the screen: a cleared red texture draws nothing over a grey background.
  MakeSolid(&b_, 8, 8, true, 1, 0, 0, 1);
  ASSERT_TRUE(ComGlTextureClearTexturePart(&b_, 0, 0, 8, 4));  // top half transparent
  glClearColor(0.5f, 0.5f, 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ComGlMiscEnableBlendingType(0);
  ComGlTexturePositionFloatRatioedAndDraw(&b_, 0, 0, 640, 480);
  ComGlMiscDisableBlending();
  const GlTestRgba top = GlTestReadPixelTop(320, 60), bottom = GlTestReadPixelTop(320, 420);
  EXPECT_NEAR(top.r, 128, 2);
  EXPECT_NEAR(top.g, 128, 2);
  EXPECT_NEAR(bottom.r, 255, 2);
  EXPECT_NEAR(bottom.g, 0, 2);
  glClearColor(0, 0, 0, 1);
}

TEST_F(ComGlTextureTest, ReleaseDeletesTheTextureNameAndZeroesTheRecord) {
  MakeSolid(&a_, 4, 4, false, 1, 1, 1);
  const GLuint name = a_.image.tex_name;
  ASSERT_TRUE(glIsTexture(name));
  ComGlTexturePositionRatioed(&a_, 10, 10, 20, 20);
  ComGlTextureRelease(&a_);
  EXPECT_FALSE(glIsTexture(name));
  const _ComGlDxTexture zero{};
  EXPECT_EQ(memcmp(&a_, &zero, sizeof(zero)), 0);
  ComGlTextureRelease(&a_);
  ComGlTextureRelease(nullptr);

  // Reloading a paper many times leaves no names behind.
  const std::string path = GlTestPath("paper.bmp");
  ASSERT_TRUE(GlTestWriteBmp24(path, GlTestTopRedBottomBlue(4, 4)));
  for (int i = 0; i < 5; i++) {
    ASSERT_TRUE(ComGlTextureLoadFromBmpFile(path.c_str(), 0, 0, 0, &a_));
    const GLuint loaded = a_.image.tex_name;
    EXPECT_TRUE(glIsTexture(loaded));
    ComGlTextureRelease(&a_);
    EXPECT_FALSE(glIsTexture(loaded)) << "reload " << i;
  }
}

TEST_F(ComGlTextureTest, PositionsAndFourQuarterTiles) {
  MakeSolid(&a_, 4, 4, false, 1, 0, 0);
  MakeSolid(&b_, 4, 4, false, 0, 1, 0);
  MakeSolid(&c_, 4, 4, false, 0, 0, 1);
  MakeSolid(&d_, 4, 4, false, 1, 1, 1);
  ComGlTexturePositionRatioed(&a_, 1, 2, 3, 4);
  EXPECT_FALSE(ComGlTexturePositionRatioed(&a_, 5, 5, 0, 9));
  EXPECT_TRUE(HasLogLine("ComGlTexturePosition", "Invalid sizes"));
  EXPECT_FLOAT_EQ(a_.w, 3.0f);

  ComGlTextureDraw4As1(&a_, &b_, &c_, &d_, 0, 0, 640, 480);
  EXPECT_FLOAT_EQ(b_.x, 320.0f);
  EXPECT_FLOAT_EQ(c_.y, 240.0f);
  EXPECT_FLOAT_EQ(d_.w, 320.0f);
  EXPECT_FLOAT_EQ(d_.h, 240.0f);
  const GlTestRgba tl = GlTestReadPixelTop(160, 120), tr = GlTestReadPixelTop(480, 120);
  const GlTestRgba bl = GlTestReadPixelTop(160, 360), br = GlTestReadPixelTop(480, 360);
  EXPECT_EQ(tl.r, 255);
  EXPECT_EQ(tl.g, 0);
  EXPECT_EQ(tr.g, 255);
  EXPECT_EQ(tr.r, 0);
  EXPECT_EQ(bl.b, 255);
  EXPECT_EQ(bl.r, 0);
  EXPECT_EQ(br.r, 255);
  EXPECT_EQ(br.b, 255);
  ComGlTextureDraw4As1(&a_, nullptr, &c_, &d_, 0, 0, 10, 10);
  EXPECT_TRUE(HasLogLine("ComGlTextureDraw4As1", "Invalid Parameters"));
  EXPECT_FLOAT_EQ(a_.w, 320.0f);
}

TEST_F(ComGlTextureTest, BackgroundDrawKeepsAnOpenBracket) {
  MakeSolid(&a_, 4, 4, false, 0, 1, 0);
  ComGlMiscPrepareFor2D(1);
  ComGlTextureDrawAsBackground(&a_);
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 1);
  ComGlMiscRestoreAfter2D();
  EXPECT_EQ(GlTestLogSince(), "");
  EXPECT_EQ(GlTestReadPixelTop(5, 5).g, 255);
  EXPECT_EQ(GlTestReadPixelTop(634, 474).g, 255);
  glClear(GL_COLOR_BUFFER_BIT);
  ComGlTextureDrawAsBackground(&a_);
  EXPECT_EQ(ComGlMiscIs2DPrepared(), 0);
  EXPECT_EQ(GlTestReadPixelTop(320, 240).g, 255);
}

TEST_F(ComGlTextureTest, TintedAndPartDraws) {
  ASSERT_TRUE(GlTestWriteBmp24(GlTestPath("bands.bmp"), GlTestTopRedBottomBlue(16, 16)));
  ASSERT_TRUE(ComGlTextureLoadFromBmpFile(GlTestPath("bands.bmp").c_str(), 0, 0, 0, &a_));
  ComGlTexturePositionFloatRatioed(&a_, 0, 0, 640, 480);
  ComGlTextureDrawPart(&a_, 0, 0.5f, 1, 1);  // the bottom half of the picture only
  EXPECT_NEAR(GlTestReadPixelTop(320, 60).b, 255, 2);
  EXPECT_NEAR(GlTestReadPixelTop(320, 60).r, 0, 2);
  ComGlTextureDrawPartWithColour(&a_, 0, 0, 1, 0.5f, 0.5f, 1, 1, 1);  // top half, red halved
  EXPECT_NEAR(GlTestReadPixelTop(320, 420).r, 128, 2);
  ComGlTextureDrawWithColour(&a_, 1, 1, 1, 1);
  EXPECT_NEAR(GlTestReadPixelTop(320, 60).r, 255, 2);
  EXPECT_NEAR(GlTestReadPixelTop(320, 420).b, 255, 2);
  // Not created: nothing.
  glClear(GL_COLOR_BUFFER_BIT);
  _ComGlDxTexture none{};
  ComGlTextureDraw(&none);
  ComGlTextureDrawWithColour(&none, 1, 1, 1, 1);
  ComGlTextureDraw(nullptr);
  EXPECT_EQ(GlTestReadPixelTop(320, 240).r, 0);
}

TEST_F(ComGlTextureTest, PlacedIn3DDrawsBetweenItsCornersWithANormal) {
  ASSERT_TRUE(GlTestWriteBmp24(GlTestPath("bands3d.bmp"), GlTestTopRedBottomBlue(16, 16)));
  ASSERT_TRUE(ComGlTextureLoadFromBmpFile(GlTestPath("bands3d.bmp").c_str(), 0, 0, 0, &a_));
  // Corner B (tex_left, tex_top) at the lower left of a quad over the left half of the device
  // square, corner A at its upper right; the coordinates go to OpenGL as they are.
  _Vector3d corner_a{0.0f, 1.0f, 0.5f}, corner_b{-1.0f, -1.0f, 0.5f};
  ASSERT_TRUE(ComGlTexturePosition3dVec3(&a_, 0, &corner_a, &corner_b));
  ComGlTextureSetNormal(&a_, 0, 1, 0);
  ComGlMiscPrepareFor2D(1);
  ComGlTextureDraw(&a_);
  GLfloat normal[3];
  glGetFloatv(GL_CURRENT_NORMAL, normal);
  EXPECT_FLOAT_EQ(normal[2], 1.0f);  // back to (0, 0, 1) after the draw
  ComGlMiscRestoreAfter2D();
  EXPECT_NEAR(GlTestReadPixelTop(160, 60).r, 255, 2);   // v = tex_bottom at the top edge
  EXPECT_NEAR(GlTestReadPixelTop(160, 420).b, 255, 2);
  EXPECT_EQ(GlTestReadPixelTop(480, 240).r, 0);         // right half untouched
  EXPECT_EQ(GlTestReadPixelTop(480, 240).b, 0);
  // An orientation outside 0..2 draws nothing.
  glClear(GL_COLOR_BUFFER_BIT);
  a_.orientation = 3;
  ComGlMiscPrepareFor2D(1);
  ComGlTextureDraw(&a_);
  ComGlMiscRestoreAfter2D();
  EXPECT_EQ(GlTestReadPixelTop(160, 240).r, 0);
  EXPECT_EQ(GlTestReadPixelTop(160, 240).b, 0);
}

TEST_F(ComGlTextureTest, CopyAlphaAndScaledPartCopies) {
  MakeSolid(&a_, 4, 4, true, 1, 0, 0, 0.2f);
  MakeSolid(&b_, 4, 4, true, 0, 1, 0, 1.0f);
  ASSERT_TRUE(ComGlTextureCopyAlphaChannelFromTexture(&a_, &b_));
  EXPECT_EQ(Texel(&b_, 2, 2)[3], 51);
  EXPECT_EQ(Texel(&b_, 2, 2)[1], 255);
  MakeSolid(&c_, 4, 4, false, 0, 0, 1);
  EXPECT_FALSE(ComGlTextureCopyAlphaChannelFromTexture(&c_, &b_));
  EXPECT_TRUE(HasLogLine("ComGlTextureCopyAlphaChannelFromTexture", "Texture bpps not the same"));

  // From 24 to 32 bits is refused before any texel is written.
  std::vector<unsigned char> before(b_.image.pixels, b_.image.pixels + 64);
  EXPECT_FALSE(ComGlTextureCopyPartToAnotherTexture(&c_, &b_, 0, 0, -1, -1, 0, 0, -1, -1, 0));
  EXPECT_TRUE(HasLogLine("ComGlTextureCopyPartToAnotherTexture", "From BPP 24, To BPP 32 not supported"));
  EXPECT_EQ(std::vector<unsigned char>(b_.image.pixels, b_.image.pixels + 64), before);
  EXPECT_FALSE(ComGlTextureCopyPartToAnotherTexture(&a_, &b_, 0, 0, 5, 1, 0, 0, 1, 1, 0));
  EXPECT_TRUE(HasLogLine("ComGlTextureCopyPartToAnotherTexture", "Invalid from sizes"));
  EXPECT_FALSE(ComGlTextureCopyPartToAnotherTexture(&a_, &b_, 0, 0, 1, 1, 3, 3, 2, 2, 0));
  EXPECT_TRUE(HasLogLine("ComGlTextureCopyPartToAnotherTexture", "Invalid to sizes"));

  // A 2 x 2 top-left part of a (alpha 51 red) blended into the bottom-right 2 x 2 of d (blue, alpha 100).
  MakeSolid(&d_, 4, 4, true, 0, 0, 1, 100 / 255.0f);
  ASSERT_TRUE(ComGlTextureCopyPartToAnotherTexture(&a_, &d_, 0, 0, 2, 2, 2, 2, 2, 2, 1));
  const unsigned char* mixed = Texel(&d_, 3, 0);  // bottom-right texel
  EXPECT_EQ(mixed[0], 255 * 51 / 255);
  EXPECT_EQ(mixed[2], 255 * (255 - 51) / 255);
  EXPECT_EQ(mixed[3], 100);  // max of the two alphas
  EXPECT_EQ(Texel(&d_, 0, 3)[2], 255);  // top-left untouched
  EXPECT_EQ(Texel(&d_, 0, 3)[0], 0);
  // Without blending, 32 to 24 bits copies colour.
  ASSERT_TRUE(ComGlTextureCopyPartToAnotherTexture(&a_, &c_, 0, 0, -1, -1, 0, 0, -1, -1, 0));
  EXPECT_EQ(Texel(&c_, 1, 1)[0], 255);
  EXPECT_EQ(Texel(&c_, 1, 1)[2], 0);
}

TEST_F(ComGlTextureTest, ScreenGrabsFillTheTextureAndRefuseLargerAreas) {
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 1);
  MakeSolid(&a_, 32, 16, false, 1, 0, 0);
  ASSERT_TRUE(ComGlTextureUpdateFromScreen(0, 0, 32, 16, &a_));
  EXPECT_EQ(Texel(&a_, 5, 5)[0], 0);
  EXPECT_EQ(Texel(&a_, 5, 5)[1], 255);
  EXPECT_EQ(GlWidth(&a_), 32);
  // Larger than the texture's buffer: refused.
  EXPECT_FALSE(ComGlTextureUpdateFromScreen(0, 0, 64, 16, &a_));
  EXPECT_FALSE(ComGlTextureUpdateFromScreen(0, 0, 32, 17, &a_));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComGlTextureUpdateFromScreen", "Invalid sizes")), 2);
  // A smaller part is taken with the warning and keeps the texture's size.
  ASSERT_TRUE(ComGlTextureUpdateFromScreen(0, 0, 8, 8, &a_));
  EXPECT_TRUE(HasLogLine("ComGlTextureUpdateFromScreen", "Not tested for portions of textures. Check result. Continuing ..."));
  EXPECT_EQ(GlWidth(&a_), 32);
}

TEST_F(ComGlTextureTest, PixelBufferExchangeBothWays) {
  MakeSolid(&a_, 4, 2, true, 0, 0, 0, 0);
  _ComTgaData data{};
  ASSERT_TRUE(ComTgaCreateDataForFile(4, 2, 32, &data));
  for (int i = 0; i < 8; i++) data.pixels[i] = 0x10203040u + (uint32_t)i;  // A R G B
  ASSERT_TRUE(ComGlTgaFillTextureWithTgaData(&data, &a_));
  EXPECT_EQ(Texel(&a_, 1, 0)[0], 0x20);
  EXPECT_EQ(Texel(&a_, 1, 0)[1], 0x30);
  EXPECT_EQ(Texel(&a_, 1, 0)[2], 0x41);
  EXPECT_EQ(Texel(&a_, 1, 0)[3], 0x10);
  std::vector<uint32_t> back(8, 0);
  ASSERT_TRUE(ComGlTgaUpdateTexCharBufferFromGlTexture(&a_, (unsigned char*)back.data(), 32));
  for (int i = 0; i < 8; i++) EXPECT_EQ(back[i], data.pixels[i]) << i;
  // A buffer too small, and sizes that do not match, are refused.
  EXPECT_FALSE(ComGlTgaUpdateTexCharBufferFromGlTexture(&a_, (unsigned char*)back.data(), 31));
  _ComTgaData other{};
  ASSERT_TRUE(ComTgaCreateDataForFile(2, 4, 32, &other));
  EXPECT_FALSE(ComGlTgaFillTextureWithTgaData(&other, &a_));
  EXPECT_TRUE(HasLogLine("ComGlTgaFillTextureWithTgaData", "Incompatible texure and data"));
  ComTgaFreeData(&other);

  // Texture to buffer: mode 0 keeps the buffer's alpha, mode 2 takes the texel's.
  MakeSolid(&b_, 4, 4, true, 1, 0.5f, 0, 0.5f);  // 255, 127, 0, 127
  ComTgaFreeData(&data);
  ASSERT_TRUE(ComTgaCreateDataForFileWithColour(4, 4, 32, 0, 0, 1, 1, &data));
  ASSERT_TRUE(ComTgaFillDataFromTexture(0, 0, 2, 2, &b_, 0, 0, 2, 2, &data, 0, 0, 0, 0));
  EXPECT_EQ(data.pixels[3 * 4 + 0], 0xFFFF7F00u);  // top-left of the buffer
  EXPECT_EQ(data.pixels[0], 0xFF0000FFu);         // bottom row untouched
  ASSERT_TRUE(ComTgaFillDataFromTexture(0, 0, 1, 1, &b_, 3, 3, 1, 1, &data, 0, 0, 2, 0));
  EXPECT_EQ(data.pixels[3], 0x7FFF7F00u);  // the bottom-right word
  // Mode 3: laid over by the texel's alpha (127).
  ASSERT_TRUE(ComTgaFillDataFromTexture(0, 0, 1, 1, &b_, 0, 3, 1, 1, &data, 0, 0, 3, 1.0f));
  const uint32_t over = data.pixels[0];
  EXPECT_EQ((over >> 16) & 0xFF, 255u * 127 / 255);
  EXPECT_EQ(over & 0xFF, 255u * 128 / 255);
  EXPECT_EQ(over >> 24, 255u);
  EXPECT_FALSE(ComTgaFillDataFromTexture(0, 0, 5, 1, &b_, 0, 0, 1, 1, &data, 0, 0, 0, 0));
  EXPECT_FALSE(ComTgaFillDataFromTexture(-1, 0, 1, 1, &b_, 0, 0, 1, 1, &data, 0, 0, 0, 0));
  EXPECT_EQ(GlTestCountOccurrences(GlTestLogSince(), GlTestErrorLine("ComGlTgaFillDataFromTexture", "Invalid sizes")), 2);
  ComTgaFreeData(&data);

  // Saving a texture as a TGA file goes through the same read-back.
  const std::string path = GlTestPath("tex.tga");
  ASSERT_TRUE(ComTgaSaveToFileFromTexture(path.c_str(), &b_));
  _ComTgaData loaded{};
  ASSERT_TRUE(ComTgaLoadDataFromFile(path.c_str(), &loaded, 1));
  EXPECT_EQ(loaded.width, 4);
  EXPECT_EQ(loaded.pixels[5], 0x7FFF7F00u);
  ComTgaFreeData(&loaded);
}

}  // namespace
